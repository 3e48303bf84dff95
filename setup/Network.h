// The network page: the recorder's network settings, shown read-only.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmNetwork : public TForm {
public:
    explicit TfrmNetwork(TComponent* owner);

    TLabel* lb1 = nullptr;
    TLabel* lbDhcp = nullptr;
    TLabel* lb2 = nullptr;
    TLabel* lbAddr = nullptr;
    TLabel* lb3 = nullptr;
    TLabel* lbSub = nullptr;
    TLabel* lb4 = nullptr;
    TLabel* lbGate = nullptr;
    TLabel* lb5 = nullptr;
    TLabel* lbPort = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    // Below the client area and disabled: the multicast page is not reached from here.
    TButton* btnMulticast = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmNetwork* frmNetwork;
