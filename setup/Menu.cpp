#include "setup/Menu.h"

TfrmMenu* frmMenu = nullptr;

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
                                              .AddField("btnNetwork", &TfrmMenu::btnNetwork);
    return bindings;
}
