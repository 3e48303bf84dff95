#include "setup/CreateFolder.h"

TfrmCreateFolder* frmCreateFolder = nullptr;

TfrmCreateFolder::TfrmCreateFolder(TComponent* owner) : TForm(owner) {
    LoadDefinition("CreateFolder", Bindings());
}

const TFormBindings& TfrmCreateFolder::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmCreateFolder::Label1)
                                              .AddField("edtFolder", &TfrmCreateFolder::edtFolder)
                                              .AddField("btnOk", &TfrmCreateFolder::btnOk)
                                              .AddField("btnCancel", &TfrmCreateFolder::btnCancel);
    return bindings;
}
