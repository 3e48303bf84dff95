#include "setup/Menu.h"

#include "client/LinkNumbers.h"
#include "client/LinkWait.h"
#include "client/Wait.h"
#include "client/main.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Network.h"
#include "setup/PageSupport.h"
#include "setup/Record2.h"
#include "setup/SaveFolder.h"
#include "setup/System.h"
#include "setup/Unapplied.h"
#include "setup/Vidstd.h"

#include "controls/BmButton.h"
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysError.h"

using namespace setup_pages;

TFormVar<TfrmMenu> frmMenu;

namespace {

// While the pass's own wait pumps, a second press would run inside it.
bool PressRefused() {
    return FrmMain != nullptr && FrmMain->Activities.RefusesPresses();
}

constexpr DWORD kApplyReplyLimitMs = 30000;

// The recording page's modified word goes into the apply command with bit 4.
int RecordModifiedWord() {
    return frmRecord2 != nullptr ? static_cast<int>(frmRecord2->IsModified()) : 0;
}

// Whose edits a pass holds: the recorder as the user reached it.
std::string Recorder() {
    if (FrmMain == nullptr) return std::string();
    return setup_unapplied::RecorderId(FrmMain->CliSocket->Addr(), FrmMain->CliSocket->Port());
}

} // namespace

TfrmMenu::TfrmMenu(TComponent* owner) : TForm(owner) {
    LoadDefinition("Menu", Bindings());
}

const TFormBindings& TfrmMenu::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnDevice", &TfrmMenu::btnDevice)
                                              .AddField("btnRecord", &TfrmMenu::btnRecord)
                                              .AddField("btnSystem", &TfrmMenu::btnSystem)
                                              .AddField("btnLoglist", &TfrmMenu::btnLoglist)
                                              .AddField("btnInfo", &TfrmMenu::btnInfo)
                                              .AddField("btnOk", &TfrmMenu::btnOk)
                                              .AddField("btnCancel", &TfrmMenu::btnCancel)
                                              .AddField("btnSave", &TfrmMenu::btnSave)
                                              .AddField("btnNetwork", &TfrmMenu::btnNetwork)
                                              .AddMethod("FormShow", &TfrmMenu::FormShow)
                                              .AddMethod("btnDeviceClick", &TfrmMenu::btnDeviceClick)
                                              .AddMethod("btnRecordClick", &TfrmMenu::btnRecordClick)
                                              .AddMethod("btnNetworkClick", &TfrmMenu::btnNetworkClick)
                                              .AddMethod("btnSystemClick", &TfrmMenu::btnSystemClick)
                                              .AddMethod("btnLoglistClick", &TfrmMenu::btnLoglistClick)
                                              .AddMethod("btnInfoClick", &TfrmMenu::btnInfoClick)
                                              .AddMethod("btnSaveClick", &TfrmMenu::btnSaveClick)
                                              .AddMethod("btnCancelClick", &TfrmMenu::btnCancelClick)
                                              .AddMethod("btnOkClick", &TfrmMenu::btnOkClick);
    return bindings;
}

// ---- The configuration file ----

void TfrmMenu::LoadConfigIni() {
    const TConfigAccess access = LoadConfigAccess(SetupFolder() + "config.ini", "config");
    ConfigIni = access.Ini;
    ConfigSections = access.Sections;
    ConfigKeys = access.Keys;
    ConfigValues = access.Values;
}

std::string TfrmMenu::ReadConfigItem111() {
    const TConfigAccess access = Config();
    const std::optional<std::string> value = access.Loaded() ? access.ConfigValue("1_1_1") : std::nullopt;
    ConfigItem111 = value.value_or(std::string(1, '1'));
    return ConfigItem111;
}

void TfrmMenu::SyncCameraInfo() {
    if (FrmMain == nullptr || FrmMain->MaxCamera == 0) return;
    MaxCamera = FrmMain->MaxCamera;
    VideoStandard = FrmMain->VideoStandard;
}

// ---- Showing ----

void TfrmMenu::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59931);
    SetLangCaption(btnDevice, 59930);
    SetLangCaption(btnRecord, 59929);
    SetLangCaption(btnSystem, 59928);
    SetLangCaption(btnLoglist, 59927);
    SetLangCaption(btnInfo, 59926);
    SetLangCaption(btnOk, 59974);
    SetLangCaption(btnCancel, 59980);
    btnOk->Font()->SetName(Font()->Name());
    btnCancel->Font()->SetName(Font()->Name());
}

// ---- The pages ----

void TfrmMenu::btnDeviceClick(TObject*) {
    if (FrmMain != nullptr) FrmMain->RequestMaxCamera();
    SyncCameraInfo();
    LoadConfigIni();
    Hide();
    frmDevice->Show();
}

void TfrmMenu::btnRecordClick(TObject* sender) {
    SyncCameraInfo();
    if (VideoStandard == 1)
        frmVidstd->btnNTSCClick(sender);
    else if (VideoStandard == 2)
        frmVidstd->btnPALClick(sender);
    else
        frmVidstd->Show();
    if (FrmMain != nullptr) FrmMain->RequestMaxCamera();
    Hide();
}

void TfrmMenu::btnNetworkClick(TObject*) {
    LoadConfigIni();
    frmNetwork->LoadSettings();
    frmNetwork->Show();
}

void TfrmMenu::btnSystemClick(TObject*) {
    LoadConfigIni();
    frmSystem->LoadSettings();
    EnableMainWindow(false);
    Hide();
    frmSystem->Show();
}

void TfrmMenu::btnLoglistClick(TObject*) {
    if (PressRefused()) return;
    Hide();
    if (FrmMain != nullptr) FrmMain->ShowDeviceLog();
}

void TfrmMenu::btnInfoClick(TObject*) {
    frmInfo->LoadInfoIni();
    frmInfo->ShowSysInfo();
    Hide();
    frmInfo->Show();
}

void TfrmMenu::btnSaveClick(TObject*) {
    frmSaveFolder->SaveConfigFile();
    frmSaveFolder->Show();
}

// ---- CANCEL and APPLY ----

void TfrmMenu::btnCancelClick(TObject*) {
    const std::string folder = SetupFolder();
    const std::string config = folder + "config.ini", copy = folder + "temp_config.ini";
    // Without the saved copy there is nothing to restore; the edited file is kept rather than lost.
    if (FileExists(copy)) {
        if (CopyFile(copy, config, FALSE)) {
            DeleteFile(copy);
        } else {
            // The cancelled edits must never pass for the recorder's settings: the next pass fetches
            // them again.
            const std::string why = SysErrorMessage(GetLastError());
            DeleteFile(config);
            RefetchConfig = true;
            SetupBoxOver(this, LangText(60500) + "\n" + config + "\n" + why + "\n" + LangText(60501),
                         LangText(59863), 0);
        }
    }
    setup_unapplied::Forget(folder, Recorder());
    EnableMainWindow(true);
    if (FrmMain != nullptr) FrmMain->Activities.End(TActivity::SetupPass);
    Close();
}

void TfrmMenu::btnOkClick(TObject* sender) {
    if (PressRefused()) return;
    if (!SetupLinkUp()) {
        SetupBoxOver(this, LangText(59869), LangText(59872), 0);
        return;
    }
    if (SetupBoxOver(this, LangText(50484), LangText(59931), 4) != mrYes) return;
    const std::string folder = SetupFolder();
    if (!FileExists(folder + "config.ini")) {
        SetupBoxOver(this, LangText(60121), LangText(59872), 0);
        return;
    }
    // Until the recorder has applied them, the edits outlive the pass and the link, and so does what
    // the recording page's OKs already sent.
    if (!setup_unapplied::Keep(folder, Recorder(), static_cast<DWORD>(RecordModifiedWord())))
        DebugTrace("TfrmMenu::btnOkClick", "cannot keep config.ini");
    Close();
    if (FrmWait != nullptr) FrmWait->Show();
    const DWORD applyWord = static_cast<DWORD>(RecordModifiedWord() | 4);
    TUploadEnd end = SendSetupFile("config.ini", QELFILE_CONFIG, kApplyReplyLimitMs);
    // Ended: the road that ended the pass has told the user and closed its windows.
    if (end == TUploadEnd::Terminated || end == TUploadEnd::Ended) return;
    bool applied = false;
    if (end == TUploadEnd::Accepted) {
        FrmMain->ApplyResult = 0;
        FrmMain->SendNetPacketCommand(NETCMD_APPLY, applyWord);
        const TWaitEnd wait = PumpUntil(
            TActivity::SetupPass, FrmMain->Activities,
            [] { return FrmMain->ApplyResult != 0 || !SetupLinkUp(); }, kApplyReplyLimitMs);
        if (wait == TWaitEnd::Terminated || wait == TWaitEnd::Ended) return;
        // A link that closed as the wait saw it: its closing ends the pass and tells the user.
        if (!FrmMain->Activities.Running(TActivity::SetupPass)) return;
        applied = FrmMain->ApplyResult == 1;
        if (!applied)
            end = !SetupLinkUp()              ? TUploadEnd::LinkLost
                  : FrmMain->ApplyResult == 0 ? TUploadEnd::Unanswered
                                              : TUploadEnd::Refused;
    }
    FinishApply(sender, applied, end);
}

void TfrmMenu::FinishApply(TObject* sender, bool applied, TUploadEnd end) {
    // The main window names the cameras as the recorder does: only an applied file changes that.
    if (applied && !FrmMain->BtnLive->Visible()) FrmMain->RefreshCameraTitles();
    // Asked again by the next page that needs it (the camera page's reload just took it).
    MaxCamera = 0;
    // A file that went out and was not heard applied may be on the recorder, whatever CANCEL puts back.
    if (end != TUploadEnd::NoFile) RefetchConfig = !applied;
    if (!FrmMain->BtnLive->Visible()) {
        if (FrmMain->GetScreenCount() == 4)
            FrmMain->MenuItemQuadClick(sender);
        else if (FrmMain->GetScreenCount() == 1)
            FrmMain->ShowSelectedCamera();
    }
    if (FrmWait != nullptr) FrmWait->Close();
    const std::string folder = SetupFolder();
    if (applied) {
        DeleteFile(folder + "temp_config.ini");
        DeleteFile(folder + "holiday.ini");
        DeleteFile(folder + "schedule.dat");
        setup_unapplied::Forget(folder, Recorder());
    } else {
        // Nothing is deleted: the working copy and the received one stay, and so do the kept edits.
        if (end == TUploadEnd::NoFile)
            SetupBoxOver(this, LangText(60121), LangText(59872), 0);
        else
            ReportUploadEnd(this, end, LangText(60112));
        if (SetupLinkUp()) {
            // The pass goes on: APPLY again or CANCEL.
            Show();
            return;
        }
    }
    EnableMainWindow(true);
    FrmMain->Activities.End(TActivity::SetupPass);
}
