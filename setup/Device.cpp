#include "setup/Device.h"

#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"

using namespace setup_pages;

TFormVar<TfrmDevice> frmDevice;

TfrmDevice::TfrmDevice(TComponent* owner) : TForm(owner) {
    LoadDefinition("Device", Bindings());
}

const TFormBindings& TfrmDevice::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnCamera", &TfrmDevice::btnCamera)
                                              .AddField("btnAlarm", &TfrmDevice::btnAlarm)
                                              .AddField("btnPrev", &TfrmDevice::btnPrev)
                                              .AddField("btnCancel", &TfrmDevice::btnCancel)
                                              .AddMethod("FormShow", &TfrmDevice::FormShow)
                                              .AddMethod("btnCameraClick", &TfrmDevice::btnCameraClick)
                                              .AddMethod("btnAlarmClick", &TfrmDevice::btnAlarmClick)
                                              .AddMethod("btnPrevClick", &TfrmDevice::btnPrevClick)
                                              .AddMethod("btnCancelClick", &TfrmDevice::btnCancelClick);
    return bindings;
}

void TfrmDevice::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59945);
    SetLangCaption(btnCamera, 59944);
    SetLangCaption(btnAlarm, 59943);
    SetLangCaption(btnPrev, 59978);
    SetLangCaption(btnCancel, 59980);
}

void TfrmDevice::btnCameraClick(TObject*) {
    frmCamera->InitCameraTable();
    Hide();
    frmCamera->Show();
}

void TfrmDevice::btnAlarmClick(TObject*) {
    frmAlarm->Prepare();
    Hide();
    frmAlarm->Show();
}

void TfrmDevice::btnPrevClick(TObject*) {
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}

void TfrmDevice::btnCancelClick(TObject*) {
    // The main window stays disabled until the pass ends, so the menu must come back or nothing could
    // be reached.
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}
