#include "playback/SearchDevice.h"

TFrmSerDevice* FrmSerDevice = nullptr;

TFrmSerDevice::TFrmSerDevice(TComponent* owner) : TForm(owner) {
    LoadDefinition("SearchDevice", Bindings());
}

const TFormBindings& TFrmSerDevice::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnHDD", &TFrmSerDevice::btnHDD)
                                              .AddField("btnCF", &TFrmSerDevice::btnCF)
                                              .AddField("btnSD", &TFrmSerDevice::btnSD)
                                              .AddField("btnCancel", &TFrmSerDevice::btnCancel);
    return bindings;
}
