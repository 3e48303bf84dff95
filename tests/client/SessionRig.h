// A session of the whole program against a simulated recorder with a small store: log in, search,
// live view, and what the user sees afterwards. Shared by the tables that end the client's work.
#pragma once

#include "tests/client/LoginRig.h"
#include "tests/playback/RecordingMaker.h"
#include "tests/recdb/SearchRig.h"

#include "client/HarbekWindows.h"
#include "controls/BmButton.h"
#include "playback/Qelvidfile.h"
#include "playback/SearchDevice.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "tools/recgen/StoreGenerator.h"
#include "tools/recgen/SynthCamera.h"

#include <set>
#include <string>

namespace client_tests {

// What the cells search and back up: 1 January 2008, one recording from 9:00. Each cell is a program
// of its own, so a store no larger than that keeps the table quick.
struct TableStore {
    testing_support::TempDir dir;
    TableStore() {
        recgen::StoreOptions s;
        s.days = 1;
        s.hours = {9};
        s.secondsPerRecording = 90;
        s.stream.framesPerSecond = 1;
        s.stream.cameras = 4;
        recgen::GenerateStore(dir.Path().string(), s, recgen::RecorderIdentity{});
    }
};

inline const std::string& StorePath() {
    static const TableStore store;
    static const std::string path = store.dir.Path().string();
    return path;
}

class SessionRig : public LoginRig {
protected:
    static void SetUpTestSuite() { UseBuiltInSoundWithoutDevice(true); }
    static void TearDownTestSuite() { UseBuiltInSoundWithoutDevice(false); }

    void TearDown() override {
        if (FrmMain != nullptr) FrmMain->VideoReader->StopReader();
        LoginRig::TearDown();
    }
    // Every window of the program, as its entry makes them.
    void CreateWindows() override { CreateHarbekWindows(); }

    // After the power button the program runs anew, as the user starts it again.
    void RestartProgram() {
        form_testing::ResetApplication();
        ForgetHarbekWindows();
        Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
        CreateWindows();
        StartMain();
        FrmMain->TimerHeartBeat->SetInterval(0x7FFFFFFF);
    }

    // `receiveBuffer`: the recorder's command receive buffer, 0 for the system's.
    recsim::RecSim& Recorder(int receiveBuffer = 0) {
        recsim::RecSimOptions o = QuickSimOptions();
        o.commandReceiveBuffer = receiveBuffer;
        o.store = StorePath();
        // A recorder with the remote transport: the search shows the remote playback panel.
        o.sysinfoResult = 3;
        o.realtime = true;
        o.liveFps = 5;
        // Frames already on the way when the recorder pauses: a step has something to show and queue.
        o.faults.framesAfterPause = 8;
        // Ten seconds of installing: on a loaded machine the cell's way out still comes while it runs.
        o.firmwareSteps = 100;
        o.firmwareStepMs = 100;
        return StartSim(o);
    }

    void LogInTo(recsim::RecSim& sim) {
        LogIn(sim);
        ASSERT_TRUE(PumpReal([] { return FrmMain->LoggedIn == 1; }));
        ASSERT_TRUE(sim.WaitForAvConnection(true, 2000));
        ASSERT_TRUE(Idle());
    }

    // The disconnect button, its four seconds on the tick source passing in a few turns.
    static void Disconnect() {
        testing_support::FakeTick tick(1000, 200);
        FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    }

    // Everything the client and the recorders have sent each other so far has been handled at the other
    // end, whatever the recorder still has queued (a file sent slowly). With the link up, a heartbeat goes
    // to the recorder and its answer comes back behind everything queued before it, twice (what the first
    // round's arrivals made the client send is in before the second's heartbeat); without the link, each
    // recorder has read to the end of its connection. This replaces a fixed pause: a test that checks
    // that nothing more is sent or shown checks it once everything has had its turn.
    ::testing::AssertionResult Settled(recsim::RecSim& sim, recsim::RecSim* other = nullptr) const {
        for (int round = 0; round < 2 && LinkUp(); ++round) {
            const std::uint64_t before = FrmMain->Replies().Endings(NETCMD_HEARTBEAT);
            FrmMain->SendNetPacketCommand(NETCMD_HEARTBEAT, 0);
            if (!PumpReal([before] { return FrmMain->Replies().Endings(NETCMD_HEARTBEAT) > before; }, 20000))
                return ::testing::AssertionFailure() << "no answer to a heartbeat sent behind the rest";
        }
        for (recsim::RecSim* recorder : {&sim, other}) {
            if (recorder == nullptr || (recorder == &sim && LinkUp())) continue;
            if (!PumpReal([recorder] { return !recorder->CommandConnected(); }, 5000))
                return ::testing::AssertionFailure() << "a recorder still holds a connection the client left";
        }
        // A first picture the client waits for comes on the A/V connection, or the client gives up on it.
        if (!PumpReal([] { return !FrmMain->AvShow.awaitingFirstPicture; }, 10000))
            return ::testing::AssertionFailure() << "the client still waits for a first picture";
        form_testing::ProcessEvents();
        return ::testing::AssertionSuccess();
    }

    void Answer(TModalResult answer) {
        whileBoxUp = [answer](TForm& box) { box.SetModalResult(answer); };
    }

    // Search tab, search button, the hard disk, all recordings, 1 January 9:00, and the minute table's
    // OK: the recorder plays the recording from 9:00.
    void StartRemoteSearch(recsim::RecSim& sim) {
        Answer(mrYes);
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
        ASSERT_EQ(FrmMain->CurrentMode, kModeSearch);
        FrmMain->BtnSerClick(FrmMain->BtnSer);
        FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
        ASSERT_TRUE(frmSearch->Visible());
        frmSearch->btnAllClick(frmSearch->btnAll);
        ASSERT_TRUE(frmCalendar->Visible());
        frmCalendar->DayCellClick(TfrmCalendar::FirstWeekday(2008, 1));
        frmCalendar->btnOkClick(frmCalendar->btnOk);
        ASSERT_TRUE(frmHourTable->Visible());
        frmHourTable->HourCellClick(0, 9);
        frmHourTable->btnOk2Click(frmHourTable->btnOk);
        ASSERT_TRUE(frmMinTable->Visible());
        frmMinTable->MinuteCellClick(0, 0);
        const DWORD shownBefore = FrmMain->AvShow.lastDisplayedTime;
        frmMinTable->btnOk2Click(frmMinTable->btnOk);
        ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH, 2000));
        ASSERT_TRUE(PumpReal([&] {
            return FrmMain->lbState->Caption() == "SEARCH" &&
                   FrmMain->AvShow.lastDisplayedTime != shownBefore && !FrmWait->Visible();
        }));
        whileBoxUp = nullptr;
        // The remote transport: without the local-only buttons, with five seconds back.
        EXPECT_TRUE(RemoteTransportLook());
    }

    static ::testing::AssertionResult RemoteTransportLook() {
        for (TControl* button : {FrmMain->BtnFirst, FrmMain->BtnFastReverse, FrmMain->BtnReverse})
            if (button->Visible()) return ::testing::AssertionFailure() << button->Name() << " shows";
        if (!FrmMain->BtnBack5->Visible()) return ::testing::AssertionFailure() << "BtnBack5 hidden";
        return ::testing::AssertionSuccess();
    }

    void StartLive() {
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
        // The tab offers to start live view; no stop button stands for a stream not running.
        EXPECT_TRUE(FrmMain->BtnLive->Visible());
        EXPECT_FALSE(FrmMain->BtnDislive->Visible());
        for (std::string& text : FrmMain->ChannelTimeTexts)
            text.clear();
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
        ASSERT_TRUE(FrmMain->LiveActive());
    }

    // Pictures of the recorder's size on all four screens.
    static bool PicturesOnEveryScreen() {
        for (std::size_t k = 0; k < 4; ++k)
            if (FrmMain->ChannelTimeTexts[k].empty() || FrmMain->VidScreen[k]->Picture()->Width() != 352)
                return false;
        return true;
    }

    // Screens that show a picture or the time of a frame.
    static int ScreensInUse() {
        const TPicture* empty = FrmMain->ImageEmpty->Picture();
        const TLabel* times[] = {FrmMain->LabelCamera1, FrmMain->LabelCamera2, FrmMain->LabelCamera3,
                                 FrmMain->LabelCamera4};
        int used = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const TPicture* picture = FrmMain->VidScreen[k]->Picture();
            used += picture->Width() != empty->Width() || picture->Height() != empty->Height() ||
                    !times[k]->Caption().empty();
        }
        return used;
    }

    // A recording of 40 seconds (or as many as asked) of four cameras with a sound frame each second,
    // opened from this computer, not yet playing.
    void OpenLocalRecording(int seconds = 40) {
        CQelVideoFile& reader = *FrmMain->VideoReader;
        const recmaker::Made made =
            recmaker::Write(HomeFile("rec0"), recmaker::Stream(1199178000, seconds, 30, 4, true), 1);
        reader.SetListItem(made.path, 0);
        reader.SetListStart(0);
        reader.SetListEnd(1);
        FrmMain->PlayListPos = 0;
        FrmMain->LastTransportKey = kKeyFirst;
        FrmMain->OpenPlaybackFile(made.path);
        ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    }

    // The same recording playing.
    void StartLocalPlayback(bool withSound, int seconds = 40) {
        ASSERT_NO_FATAL_FAILURE(OpenLocalRecording(seconds));
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        ASSERT_EQ(FrmMain->PlayState, kPlayForward);
        // Twice the speed: the clock runs on and the sound is off.
        if (!withSound) FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
        ASSERT_TRUE(FrmMain->MMTimerPlayback->Enabled());
        ASSERT_TRUE(FrmMain->VideoReader->IsReaderRunning());
        ASSERT_EQ(FrmMain->Activities.Running(TActivity::Sound), withSound);
        // The generated frames carry no pictures: the first screen shows a real one, as a played frame would.
        const std::vector<BYTE> jpeg = recgen::SynthCamera(1, 352, 240).Picture(1199178000, 0);
        ASSERT_EQ(FrmMain->ShowJpegFrame(jpeg.data(), jpeg.size(), FrmMain->JpegImage, FrmMain->VidScreen[0]),
                  1);
        ASSERT_GE(ScreensInUse(), 1);
    }

    // The windows that show, by class.
    static std::set<std::string> ShowingWindows() {
        std::set<std::string> out;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->Visible()) out.insert(Screen->Forms(i)->ClassName());
        return out;
    }

    void ExpectTheLocalLook() {
        EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
        EXPECT_EQ(FrmMain->ImgFrame2->CurrentFrame(), 0);
        EXPECT_TRUE(FrmMain->BtnFirst->Visible());
        EXPECT_TRUE(FrmMain->BtnFastReverse->Visible());
        EXPECT_FALSE(FrmMain->BtnBack5->Visible());
        for (TControl* button :
             {FrmMain->BtnLive, FrmMain->BtnDislive, FrmMain->BtnSer, FrmMain->BtnDisser, FrmMain->BtnBackup,
              FrmMain->BtnBackup_on, FrmMain->BtnSetup, FrmMain->BtnRemote_rec, FrmMain->BtnRemote_stop})
            EXPECT_FALSE(button->Visible()) << button->Name();
        const bool linkUp = FrmMain->CliSocket->State() == wsConnected;
        EXPECT_EQ(FrmMain->BtnDisconnect->Visible(), linkUp);
        EXPECT_EQ(FrmMain->BtnConnect->Visible(), !linkUp);
        EXPECT_TRUE(FrmMain->Enabled());
        EXPECT_FALSE(FrmWait->Visible());
    }
};

} // namespace client_tests
