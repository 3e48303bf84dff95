// What the user gets from whichever source the screens show, in one run of the program: the snapshot
// print of each camera carries the time of the very frame it prints (live, a remote search, a file on
// this computer, a recorder disk), never the time an earlier source left behind; and a connect that
// fails leaves the copy buttons of a recorder-disk playback as they were.
#include "tests/client/SessionRig.h"
#include "tests/playback/FakeVolumes.h"

#include "playback/LocalSearch.h"
#include "playback/Print.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FormTesting.h"

#include <array>
#include <functional>

namespace client_tests {
namespace {

constexpr DWORD kLiveStart = 1199188800; // 2008-01-01 12:00:00
// Frames of a stream before the recorder holds it: three whole seconds of sound and four cameras, then
// the sound and cameras 1 and 2 of the fourth.
constexpr std::uint64_t kHeldAfter = 18;

class PlayedSources : public SessionRig {
protected:
    void SetUp() override {
        SessionRig::SetUp();
        // A recorder disk of its own: 1 January 2008 from 17:00, 30 seconds of four cameras.
        recgen::StoreOptions s;
        s.days = 1;
        s.hours = {17};
        s.secondsPerRecording = 30;
        s.stream.framesPerSecond = 1;
        s.stream.cameras = 4;
        recgen::GenerateStore(disk_.Path().string(), s, recgen::RecorderIdentity{});
        // The computer's own disk, where the recordings of this computer lie.
        volumes_.Add("/dev/sda1", "ext4", "", "/");
    }

    // The recorder of the session: its store, live pictures from 12:00:00, streams held after
    // kHeldAfter frames, paced by their times as a recorder sends them.
    recsim::RecSim& PacedRecorder() {
        recsim::RecSimOptions o = QuickSimOptions();
        o.store = StorePath();
        o.sysinfoResult = 3;
        o.realtime = true;
        o.liveFps = 1;
        o.liveStart = kLiveStart;
        o.faults.holdStreamAfterFrames = kHeldAfter;
        return StartSim(o);
    }

    // Until the recorder holds the stream and the client has taken in every frame it sent.
    static bool TookTheHeldStream(recsim::RecSim& sim, std::uint64_t sentBefore, std::uint64_t takenBefore) {
        return PumpReal(
            [&] {
                return sim.AvFramesSent() - sentBefore == kHeldAfter &&
                       FrmMain->AvReceiver.Stats().frames - takenBefore == kHeldAfter;
            },
            15000);
    }

    // The local search's FILE on a folder of recordings.
    void OpenFolder(const std::string& folder) {
        FrmMain->BtnSearchClick(FrmMain->BtnSearch);
        ASSERT_TRUE(frmLocalSearch->Visible());
        form_testing::ScopedFolderAnswer answer(folder);
        form_testing::Click(frmLocalSearch->btnFile);
        ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    }

    // The recorder disk's search down to 17:00 and its first minute, played as the minute table plays it.
    void PlayTheRecorderDisk() {
        form_testing::Click(FrmMain->BtnSearch);
        ASSERT_TRUE(frmLocalSearch->btnCalendar->Enabled());
        form_testing::Click(frmLocalSearch->btnCalendar);
        form_testing::Click(frmSearch->btnAll);
        ASSERT_TRUE(frmCalendar->Visible());
        form_testing::Click(frmCalendar->DayBox(TfrmCalendar::FirstWeekday(2008, 1)));
        form_testing::Click(frmCalendar->btnOk);
        ASSERT_TRUE(frmHourTable->Visible());
        form_testing::Click(frmHourTable->Cell(0, 17));
        form_testing::Click(frmHourTable->btnOk->Visible() ? frmHourTable->btnOk : frmHourTable->btnOk2);
        ASSERT_TRUE(frmMinTable->Visible());
        form_testing::Click(frmMinTable->Cell(0, 0));
        form_testing::Click(frmMinTable->btnOk->Visible() ? frmMinTable->btnOk : frmMinTable->btnOk2);
        ASSERT_TRUE(FrmMain->PlaybackFileOpen());
        ASSERT_EQ(FrmMain->GetLocalDbMode(), 1);
        ASSERT_EQ(FrmMain->PlayState, kPlayForward);
    }

    // The recorder disk's two volumes, mounted where the generated disk lies.
    void AttachTheDisk() {
        volumes_.Add("/dev/sdb1", "ext2", "infofiles", disk_.File("infofiles"));
        volumes_.Add("/dev/sdb2", "ext2", "avfiles", disk_.File("avfiles"));
    }

    testing_support::TempDir disk_;
    FakeVolumes volumes_;
};

TEST_F(PlayedSources, EachPrintCarriesTheTimeOfTheFrameItShows) {
    // A recording whose pictures do not decode, an hour after the disk's.
    testing_support::TempDir damaged;
    ForceDirectories(damaged.File("2008010118"));
    recmaker::Write(damaged.File("2008010118/20080101180000"), recmaker::Stream(1199210400, 3, 1, 4, false),
                    1);
    recsim::RecSim& sim = PacedRecorder();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    std::uint64_t sent = 0, taken = 0;
    const auto mark = [&] {
        sent = sim.AvFramesSent();
        taken = FrmMain->AvReceiver.Stats().frames;
    };

    using Times = std::array<const char*, 4>;
    const struct {
        const char* source;
        std::function<void()> bring;
        Times times; // what camera 1..4 prints
        int width;   // of the printed picture
    } rows[] = {
        {"live",
         [&] {
             mark();
             ASSERT_NO_FATAL_FAILURE(StartLive());
             ASSERT_TRUE(TookTheHeldStream(sim, sent, taken));
         },
         {"Tue Jan 01 12:00:03 2008\n", "Tue Jan 01 12:00:03 2008\n", "Tue Jan 01 12:00:02 2008\n",
          "Tue Jan 01 12:00:02 2008\n"},
         704},
        {"remote search from 9:00",
         [&] {
             mark();
             ASSERT_NO_FATAL_FAILURE(StartRemoteSearch(sim));
             ASSERT_TRUE(TookTheHeldStream(sim, sent, taken));
         },
         {"Tue Jan 01 09:00:03 2008\n", "Tue Jan 01 09:00:03 2008\n", "Tue Jan 01 09:00:02 2008\n",
          "Tue Jan 01 09:00:02 2008\n"},
         704},
        {"a file of this computer at its last frame, after the recorder",
         [&] {
             FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
             ASSERT_FALSE(LinkUp());
             ASSERT_NO_FATAL_FAILURE(OpenFolder(StorePath() + "/avfiles/2008010109"));
             form_testing::Click(FrmMain->BtnLast);
         },
         {"Tue Jan 01 09:01:29 2008\n", "Tue Jan 01 09:01:29 2008\n", "Tue Jan 01 09:01:29 2008\n",
          "Tue Jan 01 09:01:29 2008\n"},
         704},
        {"a file whose pictures do not decode: blank screens, no time",
         [&] {
             ASSERT_NO_FATAL_FAILURE(OpenFolder(damaged.File("2008010118")));
             form_testing::Click(FrmMain->BtnLast);
         },
         {"", "", "", ""},
         720},
        {"the recorder disk, stopped at the start of its recording",
         [&] {
             AttachTheDisk();
             ASSERT_NO_FATAL_FAILURE(PlayTheRecorderDisk());
             form_testing::Click(FrmMain->BtnStop);
             ASSERT_EQ(FrmMain->PlayState, kPlayStopped);
         },
         {"Tue Jan 01 17:00:00 2008\n", "Tue Jan 01 17:00:00 2008\n", "Tue Jan 01 17:00:00 2008\n",
          "Tue Jan 01 17:00:00 2008\n"},
         704},
    };
    TMenuItem* const items[] = {FrmMain->MenuItemPrintCam1, FrmMain->MenuItemPrintCam2,
                                FrmMain->MenuItemPrintCam3, FrmMain->MenuItemPrintCam4};
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        ASSERT_NO_FATAL_FAILURE(row.bring());
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k + 1);
            items[k]->OnClick(items[k]);
            ASSERT_TRUE(frmPrint->Visible());
            EXPECT_EQ(frmPrint->Label2->Caption(), row.times[static_cast<std::size_t>(k)]);
            ASSERT_NE(frmPrint->FrameImage(), nullptr);
            EXPECT_EQ(frmPrint->FrameImage()->Width(), row.width);
            EXPECT_EQ(frmPrint->FrameImage()->Height(), 480);
            if (k == 0)
                form_testing::SaveFormSnapshot(frmPrint, SnapshotPath("print_source_" + std::to_string(++n)));
            frmPrint->btnCloseClick(frmPrint->btnClose);
        }
    }
}

// A connect that reaches no recorder leaves the recorder-disk playback running, and with it the copy
// buttons the minute table gave it; one that reaches a recorder ends the playback and hides them.
TEST_F(PlayedSources, AFailedConnectLeavesTheCopyButtonsOfADiskPlayback) {
    AttachTheDisk();
    ASSERT_NO_FATAL_FAILURE(PlayTheRecorderDisk());
    ASSERT_TRUE(FrmMain->BtnRecStart->Visible());
    ASSERT_TRUE(FrmMain->BtnRecStop->Visible());
    recsim::RecSim& gone = StartSim();
    const int port = gone.CommandPort();
    gone.Stop();
    seen_.clear();
    LogIn("127.0.0.1", std::to_string(port), "1234", 1);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    ASSERT_TRUE(FrmMain->BtnRecStart->Visible());
    ASSERT_TRUE(FrmMain->BtnRecStop->Visible());

    // And they work: the copy of what plays lands in the folder chosen at its stop.
    // The two share one place; START is the one the hand meets.
    form_testing::Click(FrmMain->BtnRecStart);
    ASSERT_EQ(FrmMain->StreamCopying, 1);
    EXPECT_TRUE(PumpReal([] { return DirectoryExists(FrmMain->ProgramFolder + "Backup/2008010117"); }));
    testing_support::TempDir chosen;
    {
        form_testing::ScopedFolderAnswer answer(chosen.Str());
        form_testing::Click(FrmMain->BtnRecStop);
    }
    EXPECT_EQ(FrmMain->StreamCopying, 0);
    EXPECT_TRUE(DirectoryExists(chosen.File("2008010117")));

    recsim::RecSim& sim = Recorder();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_FALSE(FrmMain->BtnRecStart->Visible());
    EXPECT_FALSE(FrmMain->BtnRecStop->Visible());
}

} // namespace
} // namespace client_tests
