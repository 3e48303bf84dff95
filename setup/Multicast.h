// The multicast sub-page of the network page: scope, bandwidth and port.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmMulticast : public TForm {
public:
    explicit TfrmMulticast(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* rdtLine = nullptr;
    TRadioButton* rdtSite = nullptr;
    TRadioButton* rdtOrgan = nullptr;
    TRadioButton* rdtGlobal = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TRadioButton* rdtFull = nullptr;
    TRadioButton* rdt384 = nullptr;
    TRadioButton* rdt768 = nullptr;
    TRadioButton* rdt1_5 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* edtPort = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    // The choices the page shows, as the network page keeps them.
    int Port = 5000;
    int Scope = 1;
    int Bandwidth = 1;

    // Takes the network page's choices and shows them.
    void ShowChoices(int port, int scope, int bandwidth);

    void FormShow(TObject* sender);
    void rdtLineClick(TObject* sender);
    void rdtSiteClick(TObject* sender);
    void rdtOrganClick(TObject* sender);
    void rdtGlobalClick(TObject* sender);
    void rdtFullClick(TObject* sender);
    void rdt384Click(TObject* sender);
    void rdt768Click(TObject* sender);
    void rdt1_5Click(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmMulticast> frmMulticast;
