// Waits whose work ends meanwhile, against the simulated recorder: the waiting caller stops quietly
// (no second box, no window reopened, no clock restarted, no mode changed), and presses that come during
// a wait are refused rather than run inside it.
#include "tests/client/SessionRig.h"

#include "client/HarbekWindows.h"
#include "playback/Qelvidfile.h"
#include "playback/SearchDevice.h"
#include "recdb/Search.h"

#include "platform/core/FileUtils.h"

namespace client_tests {
namespace {

using testing_support::FakeTick;

class WaitEnds : public SessionRig {
protected:
    recsim::RecSim& LoggedInRecorder() {
        recsim::RecSim& sim = StartSim();
        LogIn(sim);
        EXPECT_TRUE(PumpReal([] { return FrmMain->LoggedIn == 1; }));
        seen_.clear();
        return sim;
    }
};

// The medium chooser's database download, ended by the link or by the recorder: the way's own box
// only, no chooser over the local look, and the local tab.
TEST_F(WaitEnds, TheDatabaseDownloadStopsQuietlyWhenItsSearchEnds) {
    const struct {
        const char* name;
        bool closeOnRequest;  // else the recorder never answers and ends remote work meanwhile
        std::vector<int> box; // caption, text
    } rows[] = {
        {"link lost", true, {59878, 59879}},
        {"event 4", false, {59878, 59868}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        recsim::RecSim& sim = LoggedInRecorder();
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
        ASSERT_EQ(FrmMain->CurrentMode, kModeSearch);
        FrmMain->BtnSerClick(FrmMain->BtnSer);
        ASSERT_TRUE(FrmSerDevice->Visible());
        if (row.closeOnRequest) {
            recsim::SimFaults f = sim.Faults();
            f.closeOnCommand = NETCMD_FILE_REQUEST;
            sim.SetFaults(f);
        } else {
            sim.SetReplyFault(NETCMD_FILE_REQUEST, SilentReply());
            form_testing::RunLater([&sim] { sim.SendDeviceEvent(DEVEVENT_REMOTE_WORK, 1); });
        }
        bool refusedInside = false;
        form_testing::RunLater([&] { refusedInside = FrmMain->Activities.RefusesPresses(); });
        {
            // The 300 s limit is never reached: the end comes first.
            FakeTick tick(1000, 1);
            FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
        }
        form_testing::ProcessEvents();
        EXPECT_TRUE(refusedInside);
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(row.box[0], row.box[1])}));
        EXPECT_FALSE(FrmSerDevice->Visible());
        EXPECT_FALSE(frmSearch->Visible());
        EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
        EXPECT_FALSE(FrmMain->Activities.Running(TActivity::SearchDownload));
        EXPECT_TRUE(Idle());
        seen_.clear();
    }
}

// Play waits for the reader's rings, and a teardown that ends the playback meanwhile leaves no clock or
// sound running after it. The rings fill within milliseconds: the table has the presses inside the wait,
// and only a teardown run from inside it can surely reach it.
TEST_F(WaitEnds, PlayWaitingForTheRingsStopsWhenThePlaybackEnds) {
    OpenLocalRecording();
    bool ranInside = false;
    form_testing::RunLater([&] {
        ranInside = FrmMain->Activities.Waited(TActivity::LocalPlayback);
        FrmMain->EndActivities(TWayOut::CommandLinkLost);
    });
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_TRUE(ranInside) << "the rings were full before the teardown could come";
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::Sound));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_TRUE(Boxes().empty());
}

// Inside the disconnect's own pause an unasked busy status and a heartbeat turn neither give the window
// back nor say the connection was lost.
TEST_F(WaitEnds, TheDisconnectPauseKeepsTheWindowAndTellsNothing) {
    recsim::RecSim& sim = LoggedInRecorder();
    // A heartbeat inside the pause would go unanswered for the third time.
    sim.SetReplyFault(NETCMD_HEARTBEAT, SilentReply());
    FrmMain->HeartbeatMisses = 2;
    bool enabledInside = false;
    int turnsInside = 0;
    std::function<void()> watch = [&] {
        if (!FrmMain->Activities.Ending()) return;
        ++turnsInside;
        enabledInside = enabledInside || FrmMain->Enabled();
        form_testing::RunLater(watch);
    };
    form_testing::RunLater([&] {
        sim.SetStatus(2, true);
        HeartbeatTick();
        watch();
    });
    {
        FakeTick tick(1000, 1);
        FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    }
    form_testing::ProcessEvents();
    EXPECT_GT(turnsInside, 1);
    EXPECT_EQ(FrmMain->RecorderStatus, 2) << "the busy status came inside the pause";
    EXPECT_FALSE(enabledInside);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(LinkUp());
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(Idle());
}

} // namespace
} // namespace client_tests
