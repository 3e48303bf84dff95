#include "setup/Upload.h"

TfrmUpload* frmUpload = nullptr;

TfrmUpload::TfrmUpload(TComponent* owner) : TForm(owner) {
    LoadDefinition("Upload", Bindings());
}

const TFormBindings& TfrmUpload::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmUpload::Label1)
                                              .AddField("lbIPAddress", &TfrmUpload::lbIPAddress)
                                              .AddField("btnRight", &TfrmUpload::btnRight)
                                              .AddField("btnRightAll", &TfrmUpload::btnRightAll)
                                              .AddField("btnLeft", &TfrmUpload::btnLeft)
                                              .AddField("btnLeftAll", &TfrmUpload::btnLeftAll)
                                              .AddField("Label2", &TfrmUpload::Label2)
                                              .AddField("lbDestAddress", &TfrmUpload::lbDestAddress)
                                              .AddField("Label3", &TfrmUpload::Label3)
                                              .AddField("edtPath", &TfrmUpload::edtPath)
                                              .AddField("btnBrowse", &TfrmUpload::btnBrowse)
                                              .AddField("btnOk", &TfrmUpload::btnOk)
                                              .AddField("BtnCancel", &TfrmUpload::BtnCancel)
                                              .AddField("ListBox1", &TfrmUpload::ListBox1);
    return bindings;
}
