#include "setup/Camera.h"

#include "setup/Device.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmCamera> frmCamera;

TfrmCamera::TfrmCamera(TComponent* owner) : TForm(owner) {
    LoadDefinition("Camera", Bindings());
}

const TFormBindings& TfrmCamera::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmCamera::GroupBox1)
                                              .AddField("cmbCam", &TfrmCamera::cmbCam)
                                              .AddField("GroupBox2", &TfrmCamera::GroupBox2)
                                              .AddField("edtTitle", &TfrmCamera::edtTitle)
                                              .AddField("GroupBox5", &TfrmCamera::GroupBox5)
                                              .AddField("GroupBox3", &TfrmCamera::GroupBox3)
                                              .AddField("scbBri", &TfrmCamera::scbBri)
                                              .AddField("GroupBox6", &TfrmCamera::GroupBox6)
                                              .AddField("scbCon", &TfrmCamera::scbCon)
                                              .AddField("GroupBox4", &TfrmCamera::GroupBox4)
                                              .AddField("rbtCovertOn", &TfrmCamera::rbtCovertOn)
                                              .AddField("rbtCovertOff", &TfrmCamera::rbtCovertOff)
                                              .AddField("GroupBox7", &TfrmCamera::GroupBox7)
                                              .AddField("cmbSeq", &TfrmCamera::cmbSeq)
                                              .AddField("btnPrev", &TfrmCamera::btnPrev)
                                              .AddField("btnCancel", &TfrmCamera::btnCancel)
                                              .AddMethod("FormShow", &TfrmCamera::FormShow)
                                              .AddMethod("cmbCamChange", &TfrmCamera::cmbCamChange)
                                              .AddMethod("btnPrevClick", &TfrmCamera::btnPrevClick)
                                              .AddMethod("btnCancelClick", &TfrmCamera::btnCancelClick)
                                              .AddMethod("edtTitleKeyDown", &TfrmCamera::edtTitleKeyDown)
                                              .AddMethod("edtTitleKeyPress", &TfrmCamera::edtTitleKeyPress)
                                              .AddMethod("edtTitleKeyUp", &TfrmCamera::edtTitleKeyUp);
    return bindings;
}

namespace {

std::string CameraKey(int item, int camera) {
    return Format("%d_1_%d", item, camera);
}

} // namespace

void TfrmCamera::InitCameraTable() {
    CurrentCamera = 1;
    CurrentIndex = 0;
    CameraTable = {};
    cmbCam->Items()->Clear();
    for (int camera = 1; camera <= 4; ++camera)
        cmbCam->Items()->Add(Format("CAMERA %d", camera)); // untranslated: the recorder's setup words
    cmbCam->SetItemIndex(0);
    cmbSeq->Items()->Clear();
    cmbSeq->Items()->Add("OFF"); // untranslated: the recorder's setup words
    for (int seconds = 1; seconds <= 10; ++seconds)
        cmbSeq->Items()->Add(Format("%d Sec", seconds)); // untranslated: the recorder's setup words
    LoadSettings(1);
}

void TfrmCamera::ReloadAllCameras() {
    InitCameraTable();
    for (int camera = 4; camera >= 2; --camera)
        LoadSettings(camera);
}

CameraRecord TfrmCamera::ControlsRecord() const {
    CameraRecord shown;
    shown.title = edtTitle->Text();
    shown.brightness = scbBri->Position();
    shown.contrast = scbCon->Position();
    shown.covert = rbtCovertOn->Checked() ? 1 : 0;
    shown.sequence = cmbSeq->ItemIndex();
    return shown;
}

void TfrmCamera::LoadSettings(int camera) {
    if (camera < 1 || camera > 4) return;
    const int index = camera - 1;
    // The file as it is now: what an earlier leave of this camera wrote shows again.
    if (frmMenu != nullptr) {
        frmMenu->LoadConfigIni();
        Config = frmMenu->Config();
    }
    CameraRecord& record = CameraTable[static_cast<std::size_t>(index)];
    // The record follows the file, a removed title or covert flag included: the main window takes the
    // table once the recorder has the file.
    auto showTitle = [&](const std::string& title) {
        record.title = title;
        ShowTitle(edtTitle, title);
        TitleFilter.LengthBefore = static_cast<int>(title.size());
    };
    showTitle(record.title);
    record.covert = 0;
    rbtCovertOff->SetChecked(true);
    scbBri->SetPosition(record.brightness);
    scbCon->SetPosition(record.contrast);
    cmbSeq->SetItemIndex(record.sequence);
    if (frmMenu != nullptr) {
        frmMenu->SyncCameraInfo();
        const int cameras = frmMenu->MaxCamera;
        if (cameras == 1 || cameras == 4) {
            cmbCam->SetEnabled(cameras == 4);
            GroupBox7->SetEnabled(cameras == 4);
            cmbSeq->SetEnabled(cameras == 4);
        }
    }
    if (Config.Loaded() && Config.FindSection(kConfigSection) >= 0) {
        if (const std::optional<std::string> title = Config.Value(CameraKey(34, camera))) showTitle(*title);
        if (const std::optional<std::string> value = Config.Value(CameraKey(25, camera)))
            scbBri->SetPosition(StrToInt(*value));
        if (const std::optional<std::string> value = Config.Value(CameraKey(26, camera)))
            scbCon->SetPosition(StrToInt(*value));
        if (const std::optional<std::string> value = Config.Value(CameraKey(23, camera))) {
            record.covert = StrToInt(*value) != 0 ? 1 : 0;
            if (record.covert != 0) rbtCovertOn->SetChecked(true);
        }
        if (const std::optional<std::string> value = Config.Value(CameraKey(24, camera))) {
            // An index past the list keeps the one shown.
            const int sequence = StrToInt(*value);
            if (sequence >= 0 && sequence < cmbSeq->Items()->Count()) cmbSeq->SetItemIndex(sequence);
        }
    }
    Shown[static_cast<std::size_t>(index)] = ControlsRecord();
}

void TfrmCamera::SaveSettings(int index) {
    if (index < 0 || index > 3) return;
    if (frmMenu != nullptr) Config = frmMenu->Config();
    CameraRecord& record = CameraTable[static_cast<std::size_t>(index)];
    const CameraRecord now = ControlsRecord();
    const CameraRecord& shown = Shown[static_cast<std::size_t>(index)];
    record.title = now.title;
    record.brightness = now.brightness;
    record.contrast = now.contrast;
    if (rbtCovertOn->Checked())
        record.covert = 1;
    else if (rbtCovertOff->Checked())
        record.covert = 0;
    if (now.sequence >= 0) record.sequence = now.sequence;
    const int camera = index + 1;
    Config.StoreEdited(CameraKey(34, camera), shown.title, now.title, now.title.empty());
    Config.StoreEdited(CameraKey(25, camera), IntToStr(shown.brightness), IntToStr(now.brightness),
                       now.brightness == 50);
    Config.StoreEdited(CameraKey(26, camera), IntToStr(shown.contrast), IntToStr(now.contrast),
                       now.contrast == 50);
    Config.StoreEdited(CameraKey(23, camera), IntToStr(shown.covert), IntToStr(record.covert),
                       record.covert == 0);
    if (now.sequence >= 0)
        Config.StoreEdited(CameraKey(24, camera), IntToStr(shown.sequence), IntToStr(now.sequence),
                           now.sequence == 3);
    Shown[static_cast<std::size_t>(index)] = now;
}

void TfrmCamera::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59953);
    SetLangCaption(GroupBox1, 59952);
    SetLangCaption(GroupBox2, 59951);
    SetLangCaption(GroupBox5, 59950);
    SetLangCaption(GroupBox3, 59949);
    SetLangCaption(GroupBox6, 59948);
    SetLangCaption(GroupBox4, 59947);
    SetLangCaption(GroupBox7, 59946);
    SetLangCaption(btnPrev, 59978);
    SetLangCaption(btnCancel, 59980);
}

void TfrmCamera::cmbCamChange(TObject*) {
    const int chosen = cmbCam->ItemIndex();
    if (chosen < 0 || chosen > 3 || chosen == CurrentIndex) return;
    SaveSettings(CurrentIndex);
    CurrentIndex = chosen;
    CurrentCamera = chosen + 1;
    LoadSettings(CurrentCamera);
}

void TfrmCamera::btnPrevClick(TObject*) {
    if (TitleFilter.InvalidKey != 0) {
        SetupBox(LangText(59829), LangText(59953), 0);
        edtTitle->SetText("");
        TitleFilter.InvalidKey = 0;
        return;
    }
    SaveSettings(CurrentIndex);
    if (frmDevice != nullptr) {
        frmDevice->SetEnabled(true);
        frmDevice->Show();
    }
    Close();
}

void TfrmCamera::btnCancelClick(TObject*) {
    if (frmDevice != nullptr) {
        frmDevice->SetEnabled(true);
        frmDevice->Show();
    }
    Close();
}

void TfrmCamera::edtTitleKeyDown(TObject*, WORD&, TShiftState) {
    TitleFilter.KeyDown(edtTitle);
}

void TfrmCamera::edtTitleKeyPress(TObject*, char& key) {
    TitleFilter.KeyPress(key);
}

void TfrmCamera::edtTitleKeyUp(TObject*, WORD&, TShiftState) {
    TitleFilter.KeyUp(59953);
}
