// The transport during a remote search against the simulated recorder: pause, single steps through the
// frames that arrive while paused, play, stop with its waited reply, and five seconds back.
#include "tests/recdb/SearchRig.h"

#include "client/Wait.h"
#include "playback/Qelvidfile.h"

#include "platform/core/FileUtils.h"

#include <algorithm>

namespace engine_tests {
namespace {

using client_tests::ReplyResult;
using client_tests::SilentReply;

class RemoteTransport : public search_tests::SearchRig {
protected:
    // The last recording of the shared store: the search streams it and ends.
    static const recgen::StoreRecording& LastRecording() {
        const auto& all = search_tests::Store().recordings;
        return *std::max_element(all.begin(), all.end(),
                                 [](const recgen::StoreRecording& a, const recgen::StoreRecording& b) {
                                     return a.startTime < b.startTime;
                                 });
    }

    // Logged in, the database of the hard disk downloaded, and the search started as the minute table
    // starts it; returns once the searched pictures are on screen.
    recsim::RecSim& Searching() {
        recsim::RecSim& sim = LoggedIn(StoreOptions());
        ChooseHardDisk();
        frmSearch->btnAllClick(frmSearch->btnAll);
        frmCalendar->Hide();
        // As the minute table leaves it before the search starts.
        FrmMain->SetEnabled(true);
        FrmMain->ExpectFirstPicture();
        SearchLastRecording();
        FrmMain->Activities.Begin(TActivity::RemoteSearch);
        FrmMain->BtnBack5->SetEnabled(true);
        FrmMain->ShowPlaybackControls(false);
        EXPECT_TRUE(PumpReal([] { return FrmMain->lbState->Caption() == "SEARCH" && !FrmWait->Visible(); }));
        EXPECT_TRUE(Idle());
        seen_.clear();
        FrmMain->lbDebug->Items()->Clear();
        from_ = Commands(sim).size();
        return sim;
    }

    std::vector<DWORD> Sent(recsim::RecSim& sim) { return CommandsFrom(sim, from_); }

    static void SearchLastRecording() {
        TNetCommandArgs args;
        args.arg0 = LastRecording().startTime;
        args.word20 = LastRecording().seq;
        FrmMain->SendNetPacketCommand3(NETCMD_SEARCH, args);
    }

    // The simulated recorder streams to the end of its store at full speed; once it has and the last
    // frame is shown, no frame can move the time a test sets.
    static void WaitForStreamEnd(recsim::RecSim& sim) {
        ASSERT_TRUE(PumpReal([&] { return sim.StreamMode() == recsim::AvStreamer::Mode::Idle; }, 60000));
        DWORD last = 0;
        for (int quiet = 0; quiet < 4;) {
            PumpReal([] { return false; }, 50);
            quiet = FrmMain->AvShow.lastDisplayedTime == last ? quiet + 1 : 0;
            last = FrmMain->AvShow.lastDisplayedTime;
        }
    }

    std::size_t from_ = 0;
};

TEST_F(RemoteTransport, PauseStepsAndPlayDriveTheRecorder) {
    recsim::RecSim& sim = Searching();
    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PAUSE, 2000));
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 1);
    EXPECT_TRUE(FrmMain->AVDataCliSocket->Paused());
    EXPECT_FALSE(FrmMain->BtnBack5->Enabled());
    // Paused twice: the recorder hears it once.
    FrmMain->BtnPauseClick(FrmMain->BtnPause);

    // Each step shows one frame: the next to arrive, or the oldest queued one.
    for (int step = 0; step < 6; ++step) {
        SCOPED_TRACE(step);
        const std::size_t queued = FrmMain->Activities.AvFrameQueue.Size();
        FrmMain->BtnNextClick(FrmMain->BtnNext);
        if (queued == 0) {
            EXPECT_EQ(FrmMain->Activities.RemotePlayState, 2);
            EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
            // The receiver shows one frame, then queues again.
            ASSERT_TRUE(PumpReal([] { return FrmMain->Activities.QueueAvFrames == 1; }));
            EXPECT_TRUE(FrmMain->AVDataCliSocket->Paused());
        } else {
            EXPECT_EQ(FrmMain->Activities.AvFrameQueue.Size(), queued - 1);
            EXPECT_EQ(FrmMain->AVDataCliSocket->Paused(), queued > 1);
        }
        EXPECT_FALSE(FrmMain->BtnBack5->Enabled());
    }

    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PLAY, 2000));
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 0);
    EXPECT_EQ(FrmMain->Activities.QueueAvFrames, 0);
    EXPECT_TRUE(FrmMain->Activities.AvFrameQueue.Empty());
    EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
    EXPECT_TRUE(FrmMain->BtnBack5->Enabled());
    const DWORD shownBefore = FrmMain->AvShow.lastDisplayedTime;
    EXPECT_TRUE(PumpReal([&] { return FrmMain->AvShow.lastDisplayedTime != shownBefore; }));
    EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_PAUSE, NETCMD_PLAY}));
    // Playing already: no second 124.
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    PumpReal([] { return false; }, 100);
    EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_PAUSE, NETCMD_PLAY}));
}

TEST_F(RemoteTransport, ThePlainButtonsLeaveBackFiveAlone) {
    recsim::RecSim& sim = Searching();
    FrmMain->PauseClick(nullptr);
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 1);
    EXPECT_TRUE(FrmMain->BtnBack5->Enabled());
    FrmMain->StepClick(nullptr);
    FrmMain->PlayClick(nullptr);
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 0);
    EXPECT_TRUE(FrmMain->BtnBack5->Enabled());
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PLAY, 2000));
    EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_PAUSE, NETCMD_PLAY}));
}

struct StopCase {
    const char* name;
    bool silent;
    std::optional<DWORD> result;
    const char* debugLine;
};

TEST_F(RemoteTransport, StopWaitsForTheReplyAndReturnsToTheMinuteTable) {
    const StopCase cases[] = {
        {"answered", false, std::nullopt, "SUCCESS:115"},
        {"refused", false, 2u, "FAILED:115"},
        {"silent", true, std::nullopt, "TIME OUT:115"},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSim& sim = Searching();
        // Stopped while paused with frames queued: nothing of them stays.
        FrmMain->BtnPauseClick(FrmMain->BtnPause);
        FrmMain->BtnNextClick(FrmMain->BtnNext);
        PumpReal([] { return FrmMain->Activities.QueueAvFrames == 1; });
        if (c.silent) sim.SetReplyFault(NETCMD_SEARCH_STOP, SilentReply());
        if (c.result) sim.SetReplyFault(NETCMD_SEARCH_STOP, ReplyResult(*c.result));
        std::unique_ptr<testing_support::FakeTick> tick;
        if (c.silent) tick = std::make_unique<testing_support::FakeTick>(1000, 500);
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        tick.reset();
        EXPECT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH_STOP, 2000));
        EXPECT_TRUE(DebugHas(c.debugLine));
        EXPECT_FALSE(FrmMain->RemoteSearchActive());
        EXPECT_EQ(FrmMain->Activities.RemotePlayState, 0);
        EXPECT_EQ(FrmMain->Activities.QueueAvFrames, 0);
        EXPECT_TRUE(FrmMain->Activities.AvFrameQueue.Empty());
        EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
        EXPECT_FALSE(FrmWait->Visible());
        if (c.silent) {
            EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
        } else {
            EXPECT_EQ(FrmMain->lbState->Caption(), "");
            EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "");
            EXPECT_EQ(FrmMain->LabelFullSearchTime3->Caption(), "") << "full mode's time text";
            EXPECT_EQ(FrmMain->AvShow.lastShownTime, 0u);
        }
        // Back to the minute table, which takes input while the main window waits for it.
        EXPECT_TRUE(frmMinTable->Visible());
        EXPECT_TRUE(frmMinTable->Enabled());
        EXPECT_FALSE(FrmMain->Enabled());
        EXPECT_TRUE(FrmMain->BtnFirst->Visible()); // the local transport is back
        frmMinTable->Hide();
        FrmMain->SetEnabled(true);
        FrmMain->AVDataCliSocket->Close();
        FrmMain->CliSocket->Close();
        PumpReal([] { return false; }, 50);
    }
}

TEST_F(RemoteTransport, StopWithTheLinkClosedSendsNothing) {
    recsim::RecSim& sim = Searching();
    FrmMain->CliSocket->Close();
    PumpReal([] { return false; }, 50);
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    EXPECT_TRUE(Sent(sim).empty());
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_TRUE(frmMinTable->Visible());
    EXPECT_FALSE(FrmWait->Visible());
}

struct BackCase {
    DWORD lastSecond; // seconds into the recording of the last frame shown
    DWORD start;      // seconds into the recording where the search starts again
};

TEST_F(RemoteTransport, FiveSecondsBackRestartsTheSearchEarlier) {
    const BackCase cases[] = {{40, 35}, {5, 0}, {3, 0}, {89, 84}};
    recsim::RecSim& sim = Searching();
    const recgen::StoreRecording& r = LastRecording();
    for (const BackCase& c : cases) {
        SCOPED_TRACE(c.lastSecond);
        WaitForStreamEnd(sim);
        from_ = Commands(sim).size();
        FrmMain->AvShow.lastShownTime = r.startTime + c.lastSecond;
        FrmMain->BtnBack5Click(FrmMain->BtnBack5);
        ASSERT_TRUE(PumpReal([&] { return Sent(sim).size() >= 2; }));
        EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_SEARCH_STOP, NETCMD_SEARCH}));
        EXPECT_TRUE(DebugHas("SUCCESS:115"));
        const auto search = sim.Log().LastCommand(NETCMD_SEARCH);
        ASSERT_TRUE(search.has_value());
        EXPECT_EQ(search->packet.Arg0(), r.startTime + c.start);
        EXPECT_EQ(search->packet.Result(), r.seq);
        EXPECT_EQ(search->packet.Arg1(), 0u);
        EXPECT_EQ(search->packet.Arg2(), 0u);
        EXPECT_EQ(search->packet.BackupFlag(), false);
        // The restarted stream ends the wait.
        EXPECT_TRUE(PumpReal([] { return !FrmWait->Visible() && FrmMain->Enabled(); }));
        EXPECT_TRUE(frmCalendar->Enabled());
        EXPECT_TRUE(frmMinTable->Enabled());
    }
}

TEST_F(RemoteTransport, FiveSecondsBackWaitsForAFirstFrameAndRefusesWhilePaused) {
    recsim::RecSim& sim = Searching();
    // Paused or stepping: nothing happens.
    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    from_ = Commands(sim).size();
    FrmMain->BtnBack5Click(FrmMain->BtnBack5);
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PLAY, 2000));

    // Before any frame: the wait stays up until one comes.
    WaitForStreamEnd(sim);
    from_ = Commands(sim).size();
    FrmMain->AvShow.lastShownTime = 0;
    FrmMain->BtnBack5Click(FrmMain->BtnBack5);
    EXPECT_TRUE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    PumpReal([] { return false; }, 200);
    EXPECT_TRUE(FrmWait->Visible());
    EXPECT_TRUE(Sent(sim).empty());
    SearchLastRecording();
    EXPECT_TRUE(PumpReal([] { return !FrmWait->Visible() && FrmMain->Enabled(); }));

    // No frame at all: the A/V clock gives the window back once five seconds have passed.
    WaitForStreamEnd(sim);
    FrmMain->AvShow.lastShownTime = 0;
    testing_support::FakeTick tick(1000, 0);
    FrmMain->BtnBack5Click(FrmMain->BtnBack5);
    tick.Advance(5000);
    FrmMain->TimerAVDataTimer(FrmMain->TimerAVData);
    EXPECT_TRUE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    tick.Advance(1);
    FrmMain->TimerAVDataTimer(FrmMain->TimerAVData);
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_FALSE(FrmMain->AvShow.awaitingFirstPicture);
}

TEST_F(RemoteTransport, FiveSecondsBackWithoutTheDatabaseSaysSo) {
    recsim::RecSim& sim = Searching();
    WaitForStreamEnd(sim);
    from_ = Commands(sim).size();
    DeleteFile(HomeFile("qeldbfile_hdd.db"));
    FrmMain->AvShow.lastShownTime = LastRecording().startTime + 30;
    FrmMain->BtnBack5Click(FrmMain->BtnBack5);
    EXPECT_EQ(Boxes(), (std::vector<client_tests::TSeenBox>{Box(59849, 59881)}));
    EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_SEARCH_STOP}));
    EXPECT_TRUE(Idle());
}

TEST_F(RemoteTransport, FiveSecondsBackWhereNoRecordingLiesStaysStopped) {
    recsim::RecSim& sim = Searching();
    WaitForStreamEnd(sim);
    from_ = Commands(sim).size();
    // Midnight between two recording days.
    FrmMain->AvShow.lastShownTime = 1199145600u + 3 * 3600;
    FrmMain->BtnBack5Click(FrmMain->BtnBack5);
    EXPECT_EQ(Sent(sim), (std::vector<DWORD>{NETCMD_SEARCH_STOP}));
    EXPECT_TRUE(DebugHas("FAILED:114"));
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_TRUE(Idle());
}

} // namespace
} // namespace engine_tests
