// The connect dialog: its address book, its checks of address and port, and the hand-over to the log-in.
#include "tests/client/LoginRig.h"

#include "client/formlog.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/WinUser.h"
#include "tests/support/TestSupport.h"

namespace client_tests {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class ConnectDialog : public LoginRig {
protected:
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < FrmLog->lbIPAddress->Items()->Count(); ++i)
            out.push_back(FrmLog->lbIPAddress->Items()->Strings(i));
        return out;
    }
    void Select(int index) {
        FrmLog->lbIPAddress->SetItemIndex(index);
        FrmLog->lbIPAddressClick(FrmLog->lbIPAddress);
    }
};

TEST_F(ConnectDialog, ShowingLoadsTheBookAndStartsAtTheUserLevel) {
    WriteFileBytes(HomeFile("ipaddress.lst"), "10.1.2.3:5000\r\nrecorder:6000\r\n");
    FrmLog->UserLevel = 1;
    FrmLog->rbtAdmin->SetChecked(true);
    FrmLog->mePassword->SetText("left over");
    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    EXPECT_TRUE(FrmLog->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"10.1.2.3:5000", "recorder:6000"}));
    EXPECT_EQ(FrmLog->UserLevel, 2);
    EXPECT_TRUE(FrmLog->rbtUser->Checked());
    EXPECT_EQ(FrmLog->GetUserLevel(), 2);
    EXPECT_EQ(FrmLog->mePassword->Text(), "");
    EXPECT_EQ(FrmLog->mePassword->MaxLength(), 10);
    EXPECT_EQ(FrmLog->LabelIP->Caption(), FrmMain->LoadLangString(59972));
    EXPECT_EQ(FrmLog->LabelPort->Caption(), FrmMain->LoadLangString(59971));
    EXPECT_EQ(FrmLog->LabelPassword->Caption(), FrmMain->LoadLangString(59970));
    EXPECT_EQ(FrmLog->rbtAdmin->Caption(), FrmMain->LoadLangString(59969));
    EXPECT_EQ(FrmLog->rbtUser->Caption(), FrmMain->LoadLangString(59968));
    EXPECT_EQ(FrmLog->ClientWidth(), FrmLog->ImgBackground->Width());
    EXPECT_TRUE(FrmLog->Topmost());
    FrmLog->rbtAdmin->SetChecked(true);
    EXPECT_EQ(FrmLog->GetUserLevel(), 1);
}

TEST_F(ConnectDialog, AddRemovePickAndTheBookSurvivesClosing) {
    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    FrmLog->ebIP->SetText("10.1.2.3");
    FrmLog->ebPort->SetText("5000");
    FrmLog->BtnAddClick(FrmLog->BtnAdd);
    FrmLog->BtnAddClick(FrmLog->BtnAdd);
    FrmLog->ebIP->SetText("10.9.9.9");
    FrmLog->BtnAddClick(FrmLog->BtnAdd);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"10.9.9.9:5000", "10.1.2.3:5000"}));

    Select(1);
    EXPECT_EQ(FrmLog->ebIP->Text(), "10.1.2.3");
    EXPECT_EQ(FrmLog->ebPort->Text(), "5000");
    FrmLog->lbIPAddress->Items()->Add("hand-edited");
    FrmLog->ebPort->SetText("7000");
    Select(2);
    EXPECT_EQ(FrmLog->ebIP->Text(), "hand-edited");
    EXPECT_EQ(FrmLog->ebPort->Text(), "7000");
    FrmLog->BtnRemoveClick(FrmLog->BtnRemove);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"10.9.9.9:5000", "10.1.2.3:5000"}));

    FrmLog->BtnCancelClick(FrmLog->BtnCancel);
    EXPECT_FALSE(FrmLog->Visible());
    EXPECT_EQ(FrmLog->ebIP->Text(), "");
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_EQ(ReadFileBytes(HomeFile("ipaddress.lst")), "10.9.9.9:5000\n10.1.2.3:5000\n");

    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"10.9.9.9:5000", "10.1.2.3:5000"}));
    // Reload throws away what was not saved; save keeps what is there now.
    FrmLog->lbIPAddress->Items()->Clear();
    FrmLog->Button2Click(FrmLog->Button2);
    EXPECT_EQ(Lines().size(), 2u);
    FrmLog->lbIPAddress->Items()->Delete(0);
    FrmLog->Button1Click(FrmLog->Button1);
    EXPECT_EQ(ReadFileBytes(HomeFile("ipaddress.lst")), "10.1.2.3:5000\n");
}

TEST_F(ConnectDialog, BadPortsAndUnknownHostsAreRefusedAndTheDialogStays) {
    recsim::RecSim& sim = StartSim();
    const std::string port = std::to_string(sim.CommandPort());
    struct Case {
        const char* address;
        std::string port;
    };
    const Case cases[] = {{"127.0.0.1", "abc"},   {"127.0.0.1", "65535"}, {"127.0.0.1", "0"},
                          {"127.0.0.1", ""},      {"127.0.0.1", "50 00"}, {"no-such-recorder.invalid", port},
                          {"192.168.0.300", port}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.port);
        seen_.clear();
        FrmMain->BtnConnectClick(FrmMain->BtnConnect);
        FrmLog->ebIP->SetText(c.address);
        FrmLog->ebPort->SetText(c.port);
        FrmLog->BtnOkClick(FrmLog->BtnOk);
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
        EXPECT_TRUE(FrmLog->Visible());
        EXPECT_FALSE(LinkUp());
    }
    EXPECT_TRUE(sim.Log().Packets().empty());
    EXPECT_FALSE(sim.CommandConnected());
}

TEST_F(ConnectDialog, EmptyAddressDoesNothing) {
    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    FrmLog->ebIP->SetText("");
    FrmLog->BtnOkClick(FrmLog->BtnOk);
    EXPECT_TRUE(FrmLog->Visible());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConnectDialog, EnterInThePasswordBoxConnectsWithAHostName) {
    recsim::RecSim& sim = StartSim();
    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    FrmLog->ebIP->SetText("localhost");
    FrmLog->ebPort->SetText(std::to_string(sim.CommandPort()));
    FrmLog->mePassword->SetText("1234");
    FrmLog->rbtAdmin->SetChecked(true);
    WORD other = 'A';
    FrmLog->mePasswordKeyUp(FrmLog->mePassword, other, TShiftState());
    EXPECT_TRUE(sim.Log().Packets().empty());
    form_testing::PressKey(FrmLog->mePassword, VK_RETURN);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(FrmLog->ResolvedAddress.rfind("127.", 0), 0u);
    EXPECT_EQ(FrmMain->Label3->Caption(), "localhost");
    EXPECT_FALSE(FrmLog->Visible());
    EXPECT_FALSE(FrmMain->BtnRecStart->Visible());
    EXPECT_FALSE(FrmMain->BtnRecStop->Visible());
    EXPECT_TRUE(Idle());
}

} // namespace
} // namespace client_tests
