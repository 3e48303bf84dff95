// Connecting and logging in to the simulated recorder through the connect dialog, every way it can go.
#include "tests/client/LoginRig.h"

#include "client/formlog.h"
#include "setup/Syslog.h"

#include "platform/core/FileUtils.h"
#include "tests/support/TestSupport.h"

#include <algorithm>

namespace client_tests {
namespace {

using testing_support::FakeTick;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class LoginFlow : public LoginRig {};

TEST_F(LoginFlow, FullLogInWalksEveryStepAndLaysOutTheRecordersCameras) {
    recsim::RecSim& sim = StartSim();
    Application->CreateForm(frmSysLog);
    testing_support::WriteFileBytes(HomeFile("config.ini"), "[config]\n");
    // The wait window and the disabled main window while the recorder is being waited for.
    bool waitUp = false, mainDisabled = false;
    form_testing::RunLater([&] {
        waitUp = FrmWait->Visible();
        mainDisabled = !FrmMain->Enabled();
    });
    LogIn(sim, "1234", 1);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_TRUE(waitUp);
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(Commands(sim), (std::vector<DWORD>{101, 119, 107, 109, 102}));
    const auto pw = sim.Log().LastCommand(NETCMD_PASSWORD);
    EXPECT_EQ(pw->packet.Arg0(), 1u);
    EXPECT_EQ(pw->packet.Password(), "1234");
    EXPECT_EQ(pw->problem, "");
    EXPECT_TRUE(sim.WaitForAvConnection(true, 2000))
        << "the pictures come from the port after the command port";
    EXPECT_EQ(FrmMain->AVDataCliSocket->Port(), std::to_string(sim.CommandPort() + 1));
    EXPECT_EQ(FrmMain->HeartbeatArmed, 1);
    EXPECT_EQ(FrmMain->MaxCamera, 4);
    EXPECT_EQ(FrmMain->GetScreenCount(), 4);
    EXPECT_EQ(FrmMain->VideoStandard, 1);
    const auto lines = DebugLines();
    for (const char* line : {"SUCCESS:119", "SUCCESS:107", "SUCCESS:109"})
        EXPECT_TRUE(Contains(lines, line)) << line;
    EXPECT_FALSE(FileExists(HomeFile("config.ini")));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(FrmLog->Visible());
    EXPECT_TRUE(FrmMain->BtnDisconnect->Visible());
    EXPECT_FALSE(FrmMain->BtnConnect->Visible());
    EXPECT_EQ(FrmMain->Label3->Caption(), "127.0.0.1");
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(LinkUp());
    // The client log: the connection's address, then the accepted log-in, selected.
    TStrings* log = frmSysLog->lbLog->Items();
    ASSERT_GE(log->Count(), 2);
    EXPECT_EQ(log->Strings(log->Count() - 2), "127.0.0.1");
    EXPECT_EQ(log->Strings(log->Count() - 1), FrmMain->LoadLangString(59832));
    EXPECT_EQ(frmSysLog->lbLog->ItemIndex(), log->Count() - 1);
}

TEST_F(LoginFlow, PasswordOnlyLogInSendsNothingButThePasswordAndTellsTheUserOnce) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.sysinfoResult = 1;
    o.userPassword = "guest";
    recsim::RecSim& sim = StartSim(o);
    LogIn(sim, "guest", 2);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(Commands(sim), (std::vector<DWORD>{101, 102}));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_PASSWORD)->packet.Arg0(), 2u);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59870, 59871)}));
    EXPECT_EQ(FrmMain->PasswordOnlyLogin, 0);
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_FALSE(sim.AvConnected());
    EXPECT_TRUE(Idle());
}

TEST_F(LoginFlow, LogInOptionTwoEndsAfterThePasswordAndIsNotInheritedByTheNextRecorder) {
    recsim::RecSimOptions two = QuickSimOptions();
    two.loginArg0 = 1;
    two.loginArg1 = 2;
    recsim::RecSim& first = StartSim(two);
    LogIn(first, "1234", 1);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(Commands(first), (std::vector<DWORD>{101, 119, 102}));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59874, 59875)}));
    EXPECT_TRUE(Idle());

    FakeTick tick(1000, 0);
    form_testing::RunLater([&] { tick.Advance(4001); });
    FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    recsim::RecSimOptions one = QuickSimOptions();
    one.loginArg0 = 1;
    one.loginArg1 = 1;
    one.cameras = 1;
    recsim::RecSim& second = StartSim(one);
    seen_.clear();
    LogIn(second, "1234", 1);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(Commands(second), (std::vector<DWORD>{101, 119, 107, 109, 102}));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
}

TEST_F(LoginFlow, SysinfoWithoutTheHeartbeatLogsInUnarmed) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.heartbeat = 0;
    recsim::RecSim& sim = StartSim(o);
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    for (int i = 0; i < 100; ++i)
        HeartbeatTick();
    EXPECT_TRUE(sim.Log().Commands(NETCMD_HEARTBEAT).empty());
}

TEST_F(LoginFlow, RefusedPasswordClosesBothConnectionsWithItsBox) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim, "wrong", 1);
    ASSERT_TRUE(PumpReal([&] { return !Boxes().empty(); }));
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59884, 59885)}));
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
    EXPECT_EQ(FrmMain->LoggedIn, 0);
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_FALSE(FrmLog->Visible());
    EXPECT_TRUE(Idle());
}

struct FailureCase {
    const char* name;
    DWORD command;
    recsim::ReplyFault fault;
    const char* line;
    bool timeOutBox; // the log-in time-out box, else none
};

TEST_F(LoginFlow, FailedStepsEndWithTheirLineAndNoLinkLostBox) {
    const FailureCase cases[] = {
        {"no reply to 101", 101, SilentReply(), "FAILED:101", true},
        {"no reply to 119", 119, SilentReply(), "FAILED:119", true},
        {"107 refused", 107, ReplyResult(2), "FAILED:107", false},
        {"no reply to 107", 107, SilentReply(), "TIME OUT:107", true},
        {"109 refused", 109, ReplyResult(2), "FAILED:109", false},
        {"no reply to 109", 109, SilentReply(), "TIME OUT:109", true},
        {"no reply to the password", 102, SilentReply(), "TIME OUT:102", true},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSim& sim = StartSim();
        sim.SetReplyFault(c.command, c.fault);
        seen_.clear();
        FrmMain->lbDebug->Items()->Clear();
        FakeTick tick(1000, 20);
        LogIn(sim);
        EXPECT_TRUE(Contains(DebugLines(), c.line));
        EXPECT_FALSE(LinkUp());
        EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
        EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
        form_testing::ProcessEvents();
        // A recorder that stays silent is named so; a refusal is not, and no link-lost box comes.
        EXPECT_EQ(Boxes(), c.timeOutBox ? std::vector<TSeenBox>{Box(59884, 60200)} : std::vector<TSeenBox>{});
        EXPECT_EQ(FrmMain->LoggedIn, 0);
        EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
        EXPECT_FALSE(FrmMain->TimerHeartBeat->Enabled());
        EXPECT_TRUE(Idle());
    }
}

TEST_F(LoginFlow, RecorderNotListeningFailsAtOnceWithOneBox) {
    recsim::RecSim& sim = StartSim();
    const int port = sim.CommandPort();
    sim.Stop();
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    LogIn("127.0.0.1", std::to_string(port), "1234", 1);
    EXPECT_LT(TickDistance(start, tick.Now()), 20000u) << "waited out the connect limit";
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
    EXPECT_FALSE(LinkUp());
    EXPECT_TRUE(Idle());
}

TEST_F(LoginFlow, ConnectThatNeverCompletesGivesUpAfterTwentySecondsOfTicks) {
    StalledListener stalled;
    ASSERT_TRUE(stalled.Full());
    testing_support::DebugCapture trace;
    FakeTick tick(1000, 0);
    form_testing::RunLater([&] { tick.Advance(20001); });
    LogIn("127.0.0.1", std::to_string(stalled.Port()), "1234", 1);
    EXPECT_TRUE(trace.Contains("Connect time out"));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
    EXPECT_FALSE(LinkUp());
    EXPECT_TRUE(Idle());
}

TEST_F(LoginFlow, AvPortClosedStillLogsInWithoutWaitingOutTheLimit) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.faults.noAvPort = true;
    recsim::RecSim& sim = StartSim(o);
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_LT(TickDistance(start, tick.Now()), 20000u);
    EXPECT_EQ(Commands(sim), (std::vector<DWORD>{101, 119, 107, 109, 102}));
    EXPECT_TRUE(Idle());
}

TEST_F(LoginFlow, ReconnectToASecondRecorderTakesItsCameraCount) {
    recsim::RecSim& first = StartSim();
    LogIn(first);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(FrmMain->GetScreenCount(), 4);
    {
        FakeTick tick(1000, 0);
        form_testing::RunLater([&] { tick.Advance(4001); });
        FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    }
    ASSERT_TRUE(first.WaitForCommandConnection(false, 2000));
    recsim::RecSimOptions o = QuickSimOptions();
    o.cameras = 1;
    o.standard = 2;
    recsim::RecSim& second = StartSim(o);
    LogIn(second);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_EQ(FrmMain->MaxCamera, 1);
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 0);
    EXPECT_EQ(FrmMain->VideoStandard, 2);
    EXPECT_TRUE(second.WaitForAvConnection(true, 2000));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LoginFlow, ConnectingWhileConnectedEndsTheOldLinkQuietly) {
    recsim::RecSim& first = StartSim();
    LogIn(first);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    recsim::RecSim& second = StartSim();
    bool waitUp = false;
    form_testing::RunLater([&] { waitUp = FrmWait->Visible() && !FrmMain->Enabled(); });
    LogIn(second);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_TRUE(waitUp);
    EXPECT_TRUE(first.WaitForCommandConnection(false, 2000));
    EXPECT_TRUE(second.WaitForAvConnection(true, 2000));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Idle());
}

} // namespace
} // namespace client_tests
