// Keeping the link alive and losing it: the heartbeat over minutes of ticks, a silent recorder, a
// recorder that hangs up, and the user's own disconnect.
#include "tests/client/LoginRig.h"

#include "platform/core/FileUtils.h"

#include "tests/support/TestSupport.h"
#include <filesystem>

namespace client_tests {
namespace {

using testing_support::FakeTick;

class LinkLoss : public LoginRig {
protected:
    recsim::RecSim& LoggedIn(recsim::RecSimOptions options = QuickSimOptions()) {
        recsim::RecSim& sim = StartSim(options);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        EXPECT_TRUE(Idle());
        sim.Log().Clear();
        seen_.clear();
        return sim;
    }
    // One second of the timer and of the clock.
    void Second(FakeTick& tick) {
        tick.Advance(1000);
        HeartbeatTick();
    }
};

TEST_F(LinkLoss, HeartbeatKeepsTheLinkForMinutes) {
    recsim::RecSim& sim = LoggedIn();
    FakeTick tick(1000, 0);
    // Ten minutes: a beat every 30 ticks.
    for (int second = 0; second < 600; ++second)
        Second(tick);
    const auto beats = sim.Log().Commands(NETCMD_HEARTBEAT);
    EXPECT_GE(beats.size(), 20u);
    EXPECT_LE(beats.size(), 21u);
    for (const auto& b : beats)
        EXPECT_EQ(b.problem, "");
    EXPECT_TRUE(LinkUp());
    EXPECT_EQ(FrmMain->HeartbeatMisses, 0);
    EXPECT_EQ(FrmMain->LoggedIn, 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FrmMain->TimerHeartBeat->Enabled());
}

TEST_F(LinkLoss, SilentRecorderIsGivenUpAfterThreeMissedBeatsWithOneBox) {
    recsim::RecSim& sim = LoggedIn();
    sim.SetReplyFault(NETCMD_HEARTBEAT, SilentReply());
    // Each unanswered beat waits its 5 s on the tick.
    FakeTick tick(1000, 25);
    for (int second = 0; second < 200 && LinkUp(); ++second)
        HeartbeatTick();
    EXPECT_FALSE(LinkUp());
    EXPECT_EQ(sim.Log().Commands(NETCMD_HEARTBEAT).size(), 3u);
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59878, 59879)}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_EQ(FrmMain->HeartbeatMisses, 0);
    EXPECT_EQ(FrmMain->LoggedIn, 0);
    EXPECT_FALSE(FrmMain->TimerHeartBeat->Enabled());
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(LinkLoss, TwoMissesThenAnAnswerKeepTheLink) {
    recsim::RecSim& sim = LoggedIn();
    sim.SetReplyFault(NETCMD_HEARTBEAT, SilentReply());
    FakeTick tick(1000, 25);
    for (int second = 0; second < 100 && sim.Log().Commands(NETCMD_HEARTBEAT).size() < 2; ++second)
        HeartbeatTick();
    EXPECT_EQ(FrmMain->HeartbeatMisses, 2);
    sim.ClearFaults();
    for (int second = 0; second < 100 && sim.Log().Commands(NETCMD_HEARTBEAT).size() < 3; ++second)
        HeartbeatTick();
    ASSERT_EQ(sim.Log().Commands(NETCMD_HEARTBEAT).size(), 3u);
    EXPECT_EQ(FrmMain->HeartbeatMisses, 0);
    EXPECT_TRUE(LinkUp());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LinkLoss, RecorderHangingUpShowsTheLinkLostBoxOnce) {
    recsim::RecSim& sim = LoggedIn();
    sim.CloseCommandConnection();
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59878, 59879)}));
    EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
    EXPECT_EQ(FrmMain->LoggedIn, 0);
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_FALSE(FrmMain->BtnDisconnect->Visible());
    EXPECT_EQ(FrmMain->ImgPoint->CurrentFrame(), 0);
    EXPECT_TRUE(Idle());
    // The beats stop with the link.
    FakeTick tick(1000, 25);
    for (int second = 0; second < 100; ++second)
        HeartbeatTick();
    EXPECT_TRUE(sim.Log().Commands(NETCMD_HEARTBEAT).empty());
}

TEST_F(LinkLoss, UserDisconnectTakesFourSecondsAndShowsNoBox) {
    recsim::RecSim& sim = LoggedIn();
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    bool waitUp = false;
    form_testing::RunLater([&] { waitUp = FrmWait->Visible() && !FrmMain->Enabled(); });
    FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    EXPECT_GE(TickDistance(start, tick.Now()), 4000u);
    EXPECT_TRUE(waitUp);
    EXPECT_FALSE(LinkUp());
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    form_testing::ProcessEvents();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FrmMain->LoggedIn, 0);
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(LinkLoss, TheApplicationEndingDuringThePowerOffPauseEndsTheShutDownThere) {
    LoggedIn();
    std::filesystem::create_directories(Home() + "Temporary");
    FakeTick tick(1000, 1);
    form_testing::RunLater([] { Application->Terminate(); });
    FrmMain->BtnPowerClick(FrmMain->BtnPower);
    // Steps after the pause did not run.
    EXPECT_TRUE(std::filesystem::exists(Home() + "Temporary"));
    EXPECT_NE(FrmMain->AudioLibrary, nullptr);
}

TEST_F(LinkLoss, LinkLostMidFileLeavesNoPartialFileAndTheNextLogInWorks) {
    recsim::RecSim& sim = LoggedIn();
    testing_support::WriteFileBytes(HomeFile("holiday.ini"), "kept");
    recsim::SimFaults f;
    f.closeMidFile = 30;
    sim.SetFaults(f);
    FrmMain->FileReceived = 0;
    FrmMain->SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_HOLIDAY, kReplyLimitMs);
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    EXPECT_EQ(FrmMain->FileReceived, 0);
    EXPECT_EQ(FrmMain->Receiver.ReceiveMode(), 0);
    EXPECT_FALSE(FileExists(HomeFile("holiday.ini.part")));
    EXPECT_EQ(testing_support::ReadFileBytes(HomeFile("holiday.ini")), "kept");

    sim.ClearFaults();
    ASSERT_TRUE(sim.WaitForCommandConnection(false, 2000));
    seen_.clear();
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    EXPECT_TRUE(Idle());
}

} // namespace
} // namespace client_tests
