#include "setup/Config.h"

#include "setup/SetupRules.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"

TFormVar<TfrmConfig> frmConfig;

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
                                              .AddField("BtnCancel", &TfrmConfig::BtnCancel)
                                              .AddMethod("FormShow", &TfrmConfig::FormShow)
                                              .AddMethod("Button1Click", &TfrmConfig::Button1Click)
                                              .AddMethod("BtnCloseClick", &TfrmConfig::BtnCloseClick)
                                              .AddMethod("BtnCancelClick", &TfrmConfig::BtnCancelClick);
    return bindings;
}

void TfrmConfig::FormShow(TObject*) {
    SetClientWidth(ImgBackground->Width());
    SetClientHeight(ImgBackground->Height());
}

void TfrmConfig::Button1Click(TObject*) {
    const DWORD address = PackAddressParts(
        static_cast<BYTE>(ebIPAD->GetValueParts(0)), static_cast<BYTE>(ebIPAD->GetValueParts(1)),
        static_cast<BYTE>(ebIPAD->GetValueParts(2)), static_cast<BYTE>(ebIPAD->GetValueParts(3)));
    Edit1->SetText(Format("%u", address));
    DebugTrace("TfrmConfig::Button1Click", Format("ipaddress 0x%X", address));
}

void TfrmConfig::BtnCloseClick(TObject*) {
    Close();
}

void TfrmConfig::BtnCancelClick(TObject*) {
    Close();
}
