#include "setup/Alarm.h"

#include "setup/Device.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmAlarm> frmAlarm;

TfrmAlarm::TfrmAlarm(TComponent* owner) : TForm(owner) {
    LoadDefinition("Alarm", Bindings());
}

const TFormBindings& TfrmAlarm::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmAlarm::GroupBox1)
                                              .AddField("cmbCam", &TfrmAlarm::cmbCam)
                                              .AddField("GroupBox2", &TfrmAlarm::GroupBox2)
                                              .AddField("rbtOpen", &TfrmAlarm::rbtOpen)
                                              .AddField("rbtClose", &TfrmAlarm::rbtClose)
                                              .AddField("btnPrev", &TfrmAlarm::btnPrev)
                                              .AddField("btnCancel", &TfrmAlarm::btnCancel)
                                              .AddMethod("FormShow", &TfrmAlarm::FormShow)
                                              .AddMethod("cmbCamChange", &TfrmAlarm::cmbCamChange)
                                              .AddMethod("btnPrevClick", &TfrmAlarm::btnPrevClick)
                                              .AddMethod("btnCancelClick", &TfrmAlarm::btnCancelClick);
    return bindings;
}

void TfrmAlarm::Prepare() {
    cmbCam->Items()->Clear();
    for (int camera = 1; camera <= 4; ++camera)
        cmbCam->Items()->Add(Format("CAMERA %d", camera)); // untranslated: the recorder's setup words
    cmbCam->SetItemIndex(0);
    CurrentIndex = 0;
    LoadCamera(1);
}

void TfrmAlarm::LoadCamera(int camera) {
    // The file as it is now: what an earlier leave of this camera wrote shows again.
    if (frmMenu != nullptr) {
        frmMenu->LoadConfigIni();
        Config = frmMenu->Config();
    }
    rbtOpen->SetChecked(true);
    ShownClose = false;
    if (frmMenu != nullptr) {
        frmMenu->SyncCameraInfo();
        if (frmMenu->MaxCamera == 1 || frmMenu->MaxCamera == 4) cmbCam->SetEnabled(frmMenu->MaxCamera == 4);
    }
    if (!Config.Loaded() || Config.FindSection(kConfigSection) < 0) return;
    if (const std::optional<std::string> value = Config.Value(Format("21_1_%d", camera)))
        if (StrToInt(*value) != 0) rbtClose->SetChecked(true);
    ShownClose = rbtClose->Checked();
}

void TfrmAlarm::SaveCamera(int index) {
    if (index < 0 || index > 3) return;
    const bool close = rbtClose->Checked();
    if (!close && !rbtOpen->Checked()) return;
    Config.StoreEdited(Format("21_1_%d", index + 1), ShownClose ? "1" : "", close ? "1" : "", !close);
}

void TfrmAlarm::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59966);
    SetLangCaption(GroupBox1, 59965);
    SetLangCaption(GroupBox2, 59964);
    SetLangCaption(rbtOpen, 59963);
    SetLangCaption(rbtClose, 59962);
    SetLangCaption(btnPrev, 59978);
    SetLangCaption(btnCancel, 59980);
}

void TfrmAlarm::cmbCamChange(TObject*) {
    const int chosen = cmbCam->ItemIndex();
    if (chosen < 0 || chosen > 3 || chosen == CurrentIndex) return;
    SaveCamera(CurrentIndex);
    CurrentIndex = chosen;
    LoadCamera(chosen + 1);
}

void TfrmAlarm::btnPrevClick(TObject*) {
    SaveCamera(CurrentIndex);
    if (frmDevice != nullptr) {
        frmDevice->SetEnabled(true);
        frmDevice->Show();
    }
    Close();
}

void TfrmAlarm::btnCancelClick(TObject*) {
    // Shown again: with the menu hidden and the main window disabled nothing else could be reached.
    if (frmDevice != nullptr) {
        frmDevice->SetEnabled(true);
        frmDevice->Show();
    }
    Close();
}
