#include "setup/Config.h"

TfrmConfig* frmConfig = nullptr;

TfrmConfig::TfrmConfig(TComponent* owner) : TForm(owner) {
    LoadDefinition("Config", Bindings());
}

const TFormBindings& TfrmConfig::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ImgBackground", &TfrmConfig::ImgBackground)
                                              .AddField("BtnClose", &TfrmConfig::BtnClose)
                                              .AddField("ebIPAD", &TfrmConfig::ebIPAD)
                                              .AddField("Button1", &TfrmConfig::Button1)
                                              .AddField("Edit1", &TfrmConfig::Edit1)
                                              .AddField("ebPort", &TfrmConfig::ebPort)
                                              .AddField("Edit2", &TfrmConfig::Edit2)
                                              .AddField("BtnCancel", &TfrmConfig::BtnCancel);
    return bindings;
}
