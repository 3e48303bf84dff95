#include "setup/SaveFolder.h"

TfrmSaveFolder* frmSaveFolder = nullptr;

TfrmSaveFolder::TfrmSaveFolder(TComponent* owner) : TForm(owner) {
    LoadDefinition("SaveFolder", Bindings());
}

const TFormBindings& TfrmSaveFolder::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmSaveFolder::Label1)
                                              .AddField("edtPath", &TfrmSaveFolder::edtPath)
                                              .AddField("btnBrowse", &TfrmSaveFolder::btnBrowse)
                                              .AddField("btnCreateFolder", &TfrmSaveFolder::btnCreateFolder)
                                              .AddField("btnOk", &TfrmSaveFolder::btnOk)
                                              .AddField("btnCancel", &TfrmSaveFolder::btnCancel)
                                              .AddField("ListBox1", &TfrmSaveFolder::ListBox1);
    return bindings;
}
