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

private:
    static const TFormBindings& Bindings();
};

extern TfrmMulticast* frmMulticast;
