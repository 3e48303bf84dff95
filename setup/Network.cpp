#include "setup/Network.h"

TfrmNetwork* frmNetwork = nullptr;

TfrmNetwork::TfrmNetwork(TComponent* owner) : TForm(owner) {
    LoadDefinition("Network", Bindings());
}

const TFormBindings& TfrmNetwork::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("lb1", &TfrmNetwork::lb1)
                                              .AddField("lbDhcp", &TfrmNetwork::lbDhcp)
                                              .AddField("lb2", &TfrmNetwork::lb2)
                                              .AddField("lbAddr", &TfrmNetwork::lbAddr)
                                              .AddField("lb3", &TfrmNetwork::lb3)
                                              .AddField("lbSub", &TfrmNetwork::lbSub)
                                              .AddField("lb4", &TfrmNetwork::lb4)
                                              .AddField("lbGate", &TfrmNetwork::lbGate)
                                              .AddField("lb5", &TfrmNetwork::lb5)
                                              .AddField("lbPort", &TfrmNetwork::lbPort)
                                              .AddField("btnOk", &TfrmNetwork::btnOk)
                                              .AddField("btnCancel", &TfrmNetwork::btnCancel)
                                              .AddField("btnMulticast", &TfrmNetwork::btnMulticast);
    return bindings;
}
