#include "setup/Device.h"

TfrmDevice* frmDevice = nullptr;

TfrmDevice::TfrmDevice(TComponent* owner) : TForm(owner) {
    LoadDefinition("Device", Bindings());
}

const TFormBindings& TfrmDevice::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnCamera", &TfrmDevice::btnCamera)
                                              .AddField("btnAlarm", &TfrmDevice::btnAlarm)
                                              .AddField("btnPrev", &TfrmDevice::btnPrev)
                                              .AddField("btnCancel", &TfrmDevice::btnCancel);
    return bindings;
}
