#include "setup/Multicast.h"

TfrmMulticast* frmMulticast = nullptr;

TfrmMulticast::TfrmMulticast(TComponent* owner) : TForm(owner) {
    LoadDefinition("Multicast", Bindings());
}

const TFormBindings& TfrmMulticast::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmMulticast::GroupBox1)
                                              .AddField("rdtLine", &TfrmMulticast::rdtLine)
                                              .AddField("rdtSite", &TfrmMulticast::rdtSite)
                                              .AddField("rdtOrgan", &TfrmMulticast::rdtOrgan)
                                              .AddField("rdtGlobal", &TfrmMulticast::rdtGlobal)
                                              .AddField("GroupBox2", &TfrmMulticast::GroupBox2)
                                              .AddField("rdtFull", &TfrmMulticast::rdtFull)
                                              .AddField("rdt384", &TfrmMulticast::rdt384)
                                              .AddField("rdt768", &TfrmMulticast::rdt768)
                                              .AddField("rdt1_5", &TfrmMulticast::rdt1_5)
                                              .AddField("Label1", &TfrmMulticast::Label1)
                                              .AddField("edtPort", &TfrmMulticast::edtPort)
                                              .AddField("btnOk", &TfrmMulticast::btnOk)
                                              .AddField("btnCancel", &TfrmMulticast::btnCancel);
    return bindings;
}
