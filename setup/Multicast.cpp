#include "setup/Multicast.h"

#include "setup/Network.h"
#include "setup/PageSupport.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmMulticast> frmMulticast;

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
                                              .AddField("btnCancel", &TfrmMulticast::btnCancel)
                                              .AddMethod("FormShow", &TfrmMulticast::FormShow)
                                              .AddMethod("rdtLineClick", &TfrmMulticast::rdtLineClick)
                                              .AddMethod("rdtSiteClick", &TfrmMulticast::rdtSiteClick)
                                              .AddMethod("rdtOrganClick", &TfrmMulticast::rdtOrganClick)
                                              .AddMethod("rdtGlobalClick", &TfrmMulticast::rdtGlobalClick)
                                              .AddMethod("rdtFullClick", &TfrmMulticast::rdtFullClick)
                                              .AddMethod("rdt384Click", &TfrmMulticast::rdt384Click)
                                              .AddMethod("rdt768Click", &TfrmMulticast::rdt768Click)
                                              .AddMethod("rdt1_5Click", &TfrmMulticast::rdt1_5Click)
                                              .AddMethod("btnOkClick", &TfrmMulticast::btnOkClick)
                                              .AddMethod("btnCancelClick", &TfrmMulticast::btnCancelClick);
    return bindings;
}

void TfrmMulticast::ShowChoices(int port, int scope, int bandwidth) {
    Port = port;
    Scope = scope;
    Bandwidth = bandwidth;
    TRadioButton* const scopes[] = {rdtLine, rdtSite, rdtOrgan, rdtGlobal};
    TRadioButton* const bandwidths[] = {rdtFull, rdt384, rdt768, rdt1_5};
    // A code outside 1..4 checks nothing.
    for (int i = 0; i < 4; ++i) {
        scopes[i]->SetChecked(scope == i + 1);
        bandwidths[i]->SetChecked(bandwidth == i + 1);
    }
    edtPort->SetText(IntToStr(port));
}

void TfrmMulticast::FormShow(TObject*) {
    PreparePage(this);
}

void TfrmMulticast::rdtLineClick(TObject*) {
    Scope = 1;
    rdtLine->SetChecked(true);
}

void TfrmMulticast::rdtSiteClick(TObject*) {
    Scope = 2;
    rdtSite->SetChecked(true);
}

void TfrmMulticast::rdtOrganClick(TObject*) {
    Scope = 3;
    rdtOrgan->SetChecked(true);
}

void TfrmMulticast::rdtGlobalClick(TObject*) {
    Scope = 4;
    rdtGlobal->SetChecked(true);
}

void TfrmMulticast::rdtFullClick(TObject*) {
    Bandwidth = 1;
    rdtFull->SetChecked(true);
}

void TfrmMulticast::rdt384Click(TObject*) {
    Bandwidth = 2;
    rdt384->SetChecked(true);
}

void TfrmMulticast::rdt768Click(TObject*) {
    Bandwidth = 3;
    rdt768->SetChecked(true);
}

void TfrmMulticast::rdt1_5Click(TObject*) {
    Bandwidth = 4;
    rdt1_5->SetChecked(true);
}

void TfrmMulticast::btnOkClick(TObject*) {
    int port = 0;
    // A port the recorder could not use is refused; the page stays for a correction.
    if (!TryStrToInt(Trim(edtPort->Text()), port) || port < 1 || port > 65535) {
        SetupBox(LangText(60116), Caption(), 0);
        return;
    }
    if (frmNetwork != nullptr) {
        frmNetwork->MulticastPort = port;
        if (rdtLine->Checked())
            frmNetwork->MulticastScope = 1;
        else if (rdtSite->Checked())
            frmNetwork->MulticastScope = 2;
        else if (rdtOrgan->Checked())
            frmNetwork->MulticastScope = 3;
        else if (rdtGlobal->Checked())
            frmNetwork->MulticastScope = 4;
        if (rdtFull->Checked())
            frmNetwork->MulticastBandwidth = 1;
        else if (rdt768->Checked())
            frmNetwork->MulticastBandwidth = 3;
        else if (rdt384->Checked())
            frmNetwork->MulticastBandwidth = 2;
        else if (rdt1_5->Checked())
            frmNetwork->MulticastBandwidth = 4;
        frmNetwork->SetEnabled(true);
    }
    Close();
}

void TfrmMulticast::btnCancelClick(TObject*) {
    if (frmNetwork != nullptr) frmNetwork->SetEnabled(true);
    Close();
}
