#include "setup/Camera.h"

TfrmCamera* frmCamera = nullptr;

TfrmCamera::TfrmCamera(TComponent* owner) : TForm(owner) {
    LoadDefinition("Camera", Bindings());
}

const TFormBindings& TfrmCamera::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmCamera::GroupBox1)
                                              .AddField("cmbCam", &TfrmCamera::cmbCam)
                                              .AddField("GroupBox2", &TfrmCamera::GroupBox2)
                                              .AddField("edtTitle", &TfrmCamera::edtTitle)
                                              .AddField("GroupBox5", &TfrmCamera::GroupBox5)
                                              .AddField("GroupBox3", &TfrmCamera::GroupBox3)
                                              .AddField("scbBri", &TfrmCamera::scbBri)
                                              .AddField("GroupBox6", &TfrmCamera::GroupBox6)
                                              .AddField("scbCon", &TfrmCamera::scbCon)
                                              .AddField("GroupBox4", &TfrmCamera::GroupBox4)
                                              .AddField("rbtCovertOn", &TfrmCamera::rbtCovertOn)
                                              .AddField("rbtCovertOff", &TfrmCamera::rbtCovertOff)
                                              .AddField("GroupBox7", &TfrmCamera::GroupBox7)
                                              .AddField("cmbSeq", &TfrmCamera::cmbSeq)
                                              .AddField("btnPrev", &TfrmCamera::btnPrev)
                                              .AddField("btnCancel", &TfrmCamera::btnCancel);
    return bindings;
}
