// The main window's debug buttons through their bound events: what reaches the simulated recorder (the
// config.ini upload, the multicast join again, the heartbeat on and off, a connection to the A/V server
// socket) and what they do to the client's own windows.
#include "tests/client/LoginRig.h"

#include "setup/Syslog.h"
#include "setup/Upload.h"

#include "platform/vcl/WinUser.h"

namespace client_tests {
namespace {

class DebugButtons : public LoginRig {
protected:
    void SetUp() override {
        LoginRig::SetUp();
        Application->CreateForm(frmUpload);
        Application->CreateForm(frmSysLog);
    }
    recsim::RecSim& LoggedIn() {
        recsim::RecSim& sim = StartSim();
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        return sim;
    }
    static void Press(TButton* button) {
        ASSERT_TRUE(button->OnClick.Assigned()) << button->Name();
        button->OnClick(button);
    }
    static std::size_t Heartbeats(recsim::RecSim& sim) {
        std::size_t n = 0;
        for (const auto& p : sim.Log().Packets())
            n += p.packet.Type() == NETMSG && p.packet.Command() == NETCMD_HEARTBEAT;
        return n;
    }
};

TEST_F(DebugButtons, ConfigUploadAndMulticastJoinReachTheRecorder) {
    const std::string config = "[config]\r\n1_1_1=2\r\n27_1_1=BUS 7\r\n";
    testing_support::WriteFileBytes(HomeFile("config.ini"), config);
    // Without a link nothing is sent and nothing is joined.
    Press(FrmMain->Button1);
    Press(FrmMain->Button2);
    EXPECT_NE(FrmMain->SocketMcast->State(), wsConnected);

    recsim::RecSim& sim = LoggedIn();
    // The log-in removed the program folder's copy.
    testing_support::WriteFileBytes(HomeFile("config.ini"), config);
    ASSERT_NE(sim.ServedFile(QELFILE_CONFIG), config);
    Press(FrmMain->Button1);
    ASSERT_TRUE(PumpReal([&] { return sim.ServedFile(QELFILE_CONFIG) == config; }));
    const auto announce = sim.Log().LastCommand(NETCMD_FILE);
    ASSERT_TRUE(announce.has_value());
    EXPECT_EQ(announce->packet.Arg0(), config.size());
    EXPECT_EQ(announce->packet.Arg1(), QELFILE_CONFIG);

    // No group announced yet: there is none to join again.
    Press(FrmMain->Button2);
    EXPECT_NE(FrmMain->SocketMcast->State(), wsConnected);
    sim.SendMulticastGroup(MulticastGroupParam(239, 255, 1, 9), 46010);
    ASSERT_TRUE(PumpReal([] { return FrmMain->SocketMcast->State() == wsConnected; }));
    EXPECT_EQ(FrmMain->SocketMcast->BufSize(), 0x100000);
    Press(FrmMain->Button2);
    EXPECT_EQ(FrmMain->SocketMcast->State(), wsConnected);
    EXPECT_EQ(FrmMain->SocketMcast->MultiCastAddrStr(), "239.255.1.9 : 46010");
    EXPECT_EQ(FrmMain->SocketMcast->Port(), "46010");
    EXPECT_EQ(FrmMain->SocketMcast->BufSize(), 512000);
}

TEST_F(DebugButtons, HeartbeatOffAndOn) {
    recsim::RecSim& sim = LoggedIn();
    Press(FrmMain->Button12);
    EXPECT_FALSE(FrmMain->TimerHeartBeat->Enabled());
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    const std::size_t before = Heartbeats(sim);
    for (int i = 0; i < kHeartbeatTicks + 1; ++i)
        HeartbeatTick();
    EXPECT_EQ(Heartbeats(sim), before);

    Press(FrmMain->Button11);
    EXPECT_TRUE(FrmMain->TimerHeartBeat->Enabled());
    EXPECT_EQ(FrmMain->HeartbeatArmed, 1);
    // Thirty seconds have passed unarmed: the first tick beats.
    HeartbeatTick();
    EXPECT_EQ(Heartbeats(sim), before + 1);
    EXPECT_TRUE(LinkUp());
}

TEST_F(DebugButtons, AConnectionToTheAvServerSocketIsTakenOverByTheClientSocket) {
    recsim::RecSim& sim = StartSim();
    TWSocket* server = FrmMain->SocketAVDataServer;
    server->SetProto("tcp");
    server->SetAddr("127.0.0.1");
    server->SetPort("0");
    server->Listen();
    ASSERT_EQ(server->State(), wsListening);
    ASSERT_TRUE(sim.ConnectBack(std::stoi(server->GetXPort())));
    ASSERT_TRUE(PumpReal([] { return FrmMain->SocketSClient->State() == wsConnected; }));
    EXPECT_EQ(server->State(), wsListening);
    EXPECT_EQ(FrmMain->SocketSClient->GetPeerAddr(), "127.0.0.1");
}

TEST_F(DebugButtons, WindowsAndThePlayStateLine) {
    Press(FrmMain->Button3);
    EXPECT_TRUE(frmUpload->Visible());

    FrmMain->PlayState = kPlayFastForward;
    Press(FrmMain->Button5);
    TStrings* log = frmSysLog->lbLog->Items();
    ASSERT_GT(log->Count(), 0);
    EXPECT_EQ(log->Strings(log->Count() - 1), "4");

    Press(FrmMain->Button6);
    EXPECT_TRUE(frmSysLog->Visible());
    frmSysLog->SetWindowState(wsMinimized);
    Press(FrmMain->Button6);
    EXPECT_EQ(frmSysLog->WindowState(), wsNormal);

    // The window in front and the log move topmost to (300, 500); the one in front is closed.
    SetForegroundWindow(frmUpload->Handle());
    form_testing::ProcessEvents();
    ASSERT_EQ(GetForegroundWindow(), frmUpload->Handle());
    Press(FrmMain->Button7);
    form_testing::ProcessEvents();
    for (TForm* form : {static_cast<TForm*>(frmSysLog), static_cast<TForm*>(frmUpload)}) {
        EXPECT_EQ(form->Left(), 300) << form->Name();
        EXPECT_EQ(form->Top(), 500) << form->Name();
        EXPECT_TRUE(form->Topmost()) << form->Name();
    }
    EXPECT_FALSE(frmUpload->Visible());
    EXPECT_TRUE(frmSysLog->Visible());

    // The main window in front is never closed: it ends through its power button.
    SetForegroundWindow(FrmMain->Handle());
    form_testing::ProcessEvents();
    ASSERT_EQ(GetForegroundWindow(), FrmMain->Handle());
    Press(FrmMain->Button7);
    form_testing::ProcessEvents();
    EXPECT_TRUE(FrmMain->Visible());
}

} // namespace
} // namespace client_tests
