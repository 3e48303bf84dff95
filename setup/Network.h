// The network page: the recorder's network settings, shown read-only.
#pragma once

#include "setup/ConfigAccess.h"

#include "platform/core/Types.h"
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

    // Shown only: DHCP, addresses and port as config.ini holds them.
    BYTE Dhcp = 0;
    int Port = 5000;
    BYTE IpAddress[4] = {192, 168, 0, 1};
    BYTE SubnetMask[4] = {255, 255, 255, 0};
    BYTE Gateway[4] = {192, 168, 0, 254};
    // 1 FULL, 2 384 kbit/s, 3 768 kbit/s, 4 1.5 Mbit/s.
    int MulticastBandwidth = 1;
    int MulticastPort = 5000;
    // 1 LINE, 2 SITE, 3 ORGANIZATION, 4 GLOBAL.
    int MulticastScope = 1;
    TConfigAccess Config;

    // Defaults, the menu's view of config.ini, then the display.
    void LoadSettings();
    // Raises EConvertError for a value that is not a number; what was shown before it stays.
    void ShowSettings();

    void FormShow(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void btnMulticastClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmNetwork> frmNetwork;
