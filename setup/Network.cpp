#include "setup/Network.h"

#include "setup/Menu.h"
#include "setup/Multicast.h"
#include "setup/PageSupport.h"
#include "setup/SetupRules.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/Colors.h"

using namespace setup_pages;

TFormVar<TfrmNetwork> frmNetwork;

namespace {

std::string DottedDecimal(const BYTE (&octets)[4]) {
    return Format("%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
}

void SetOctets(BYTE (&octets)[4], BYTE a, BYTE b, BYTE c, BYTE d) {
    octets[0] = a;
    octets[1] = b;
    octets[2] = c;
    octets[3] = d;
}

} // namespace

TfrmNetwork::TfrmNetwork(TComponent* owner) : TForm(owner) {
    LoadDefinition("Network", Bindings());
}

const TFormBindings& TfrmNetwork::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
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
            .AddField("btnMulticast", &TfrmNetwork::btnMulticast)
            .AddMethod("FormShow", &TfrmNetwork::FormShow)
            .AddMethod("btnOkClick", &TfrmNetwork::btnOkClick)
            .AddMethod("btnCancelClick", &TfrmNetwork::btnCancelClick)
            .AddMethod("btnMulticastClick", &TfrmNetwork::btnMulticastClick);
    return bindings;
}

void TfrmNetwork::LoadSettings() {
    Dhcp = 0;
    Port = 5000;
    SetOctets(IpAddress, 192, 168, 0, 1);
    SetOctets(SubnetMask, 255, 255, 255, 0);
    SetOctets(Gateway, 192, 168, 0, 254);
    MulticastBandwidth = 1;
    MulticastPort = 5000;
    MulticastScope = 1;
    if (frmMenu != nullptr) Config = frmMenu->Config();
    ShowSettings();
}

void TfrmNetwork::ShowSettings() {
    lbDhcp->SetCaption(Dhcp != 0 ? "ON" : "OFF"); // untranslated: the recorder's setup words
    for (TLabel* label : {lb2, lb3, lb4, lbAddr, lbSub, lbGate})
        label->Font()->SetColor(clWindowText);
    lbAddr->SetCaption(DottedDecimal(IpAddress));
    lbSub->SetCaption(DottedDecimal(SubnetMask));
    lbGate->SetCaption(DottedDecimal(Gateway));
    lbPort->SetCaption(IntToStr(Port));
    MulticastScope = 1;
    MulticastPort = 5000;
    MulticastBandwidth = 1;
    if (!Config.Loaded() || Config.FindSection("config") < 0) return;
    for (int i = 0; i < Config.Keys->Count(); ++i) {
        const std::string key = Config.Keys->Strings(i);
        const std::optional<std::string> value = Config.Value(key);
        if (!value) continue;
        if (key == "28_1_1") {
            // Present means on, whatever it holds.
            lbDhcp->SetCaption("ON"); // untranslated: the recorder's setup words
            for (TLabel* label : {lb2, lb3, lb4, lbAddr, lbSub, lbGate})
                label->Font()->SetColor(clBtnShadow);
        } else if (key == "29_1_1") {
            lbAddr->SetCaption(ConfigAddressText(*value));
        } else if (key == "30_1_1") {
            lbSub->SetCaption(ConfigAddressText(*value));
        } else if (key == "31_1_1") {
            lbGate->SetCaption(ConfigAddressText(*value));
        } else if (key == "40_1_1") {
            lbPort->SetCaption(IntToStr(StrToInt(*value)));
        } else if (key == "45_1_1") {
            MulticastScope = StrToInt(*value);
        } else if (key == "47_1_1") {
            MulticastBandwidth = StrToInt(*value);
        } else if (key == "52_1_1") {
            MulticastPort = StrToInt(*value);
        }
    }
}

void TfrmNetwork::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59924);
    SetLangCaption(lb2, 59923);
    SetLangCaption(btnOk, 59981);
    SetLangCaption(btnCancel, 59980);
}

void TfrmNetwork::btnOkClick(TObject*) {
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
    Close();
}

void TfrmNetwork::btnCancelClick(TObject*) {
    ShowSettings();
    if (frmMulticast != nullptr) frmMulticast->ShowChoices(MulticastPort, MulticastScope, MulticastBandwidth);
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
    Close();
}

void TfrmNetwork::btnMulticastClick(TObject*) {
    if (frmMulticast == nullptr) return;
    frmMulticast->ShowChoices(MulticastPort, MulticastScope, MulticastBandwidth);
    frmMulticast->Show();
    SetEnabled(false);
}
