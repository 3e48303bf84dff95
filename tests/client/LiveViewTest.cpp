// Live view through the main window against the simulated recorder: starting and stopping it, every
// refusal, cameras and the four-screen layout, the recorder's titles over frames whose side data is not
// drawn, the event marks, the wait window, the queue of the step-wise playback, damaged pictures and a
// lost A/V connection.
#include "tests/client/LoginRig.h"

#include "client/AvFrameRoute.h"
#include "playback/Print.h"
#include "setup/Camera.h"
#include "setup/Menu.h"
#include "setup/Syslog.h"
#include "tools/recgen/SetupFiles.h"

#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "tests/support/TestSupport.h"
#include "tools/recgen/SynthStream.h"

#include <algorithm>
#include <map>
#include <set>

namespace client_tests {
namespace {

using testing_support::FakeTick;

class LiveView : public LoginRig {
protected:
    // A recorder with a record of what it sent, logged in to.
    recsim::RecSim& Recorder(recsim::RecSimOptions o = QuickSimOptions()) {
        o.recordAvFrames = true;
        recsim::RecSim& sim = StartSim(o);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        EXPECT_TRUE(sim.WaitForAvConnection(true, 2000));
        loginCommands_ = Commands(sim).size();
        return sim;
    }
    // What the recorder received since the log-in.
    std::vector<DWORD> CommandsSinceLogin(recsim::RecSim& sim) {
        const std::vector<DWORD> all = Commands(sim);
        return {all.begin() + static_cast<std::ptrdiff_t>(loginCommands_), all.end()};
    }
    bool FramesShown(std::uint64_t n, int ms = 10000) {
        const std::uint64_t start = FrmMain->AvReceiver.Stats().frames;
        return PumpReal([&] { return FrmMain->AvReceiver.Stats().frames >= start + n; }, ms);
    }
    // The stream stopped without touching the screens, and everything sent taken in.
    std::vector<recsim::SentAvFrame> Drain(recsim::RecSim& sim) {
        EXPECT_EQ(FrmMain->SendCommandAndWait(NETCMD_LIVE_STOP, 0, kReplyLimitMs), 1);
        EXPECT_TRUE(PumpReal([&] { return sim.StreamMode() == recsim::AvStreamer::Mode::Idle; }));
        const auto sent = sim.SentAvFrames();
        std::size_t arriving = 0;
        for (const auto& s : sent)
            arriving +=
                s.fault != recsim::AvFrameFault::Oversized && s.fault != recsim::AvFrameFault::BadHeader;
        EXPECT_TRUE(PumpFast([&] { return FrmMain->AvReceiver.Stats().frames >= arriving; }, 20000))
            << FrmMain->AvReceiver.Stats().frames << " of " << arriving;
        return sent;
    }
    // Stops the stream (queueing, paused) right after the next picture.
    bool HoldOnAPicture() {
        FrmMain->Activities.AvFrameQueue.Clear();
        FrmMain->Activities.QueueAvFrames = 0;
        FrmMain->AVDataCliSocket->Resume();
        if (!FramesShown(8)) return false;
        FrmMain->Activities.QueueAvFrames = 1;
        if (!PumpReal([&] { return FrmMain->Activities.AvFrameQueue.Size() == 1; })) return false;
        form_testing::ProcessEvents();
        return true;
    }
    // The debug list's command outcomes, without the record-state lines.
    std::vector<std::string> Outcomes() const {
        std::vector<std::string> out;
        for (const std::string& line : DebugLines())
            if (line.rfind("SUCCESS:", 0) == 0 || line.rfind("FAILED:", 0) == 0 ||
                line.rfind("TIME OUT:", 0) == 0)
                out.push_back(line);
        return out;
    }
    // Pumps without pausing between rounds, so that a stream of small pieces is read as fast as it comes.
    static bool PumpFast(const std::function<bool()>& done, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            Application->ProcessMessages();
            Sleep(0);
        }
        return true;
    }
    static bool Showing(TControl* c) {
        return c->Visible() && c->Parent() != nullptr && c->Parent()->Visible();
    }

    std::size_t loginCommands_ = 0;
};

TEST_F(LiveView, StartsWithStatusCameraCountAndStartAndShowsEveryCamera) {
    struct Case {
        const char* name;
        BYTE standard;
        int height;
        DWORD rate;
    };
    const Case cases[] = {{"NTSC", 1, 240, 30}, {"PAL", 2, 288, 25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickSimOptions();
        o.standard = c.standard;
        recsim::RecSim& sim = Recorder(o);
        FrmMain->lbDebug->Items()->Clear();
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
        EXPECT_EQ(CommandsSinceLogin(sim), (std::vector<DWORD>{109, 107, 112}));
        EXPECT_EQ(Outcomes(), (std::vector<std::string>{"SUCCESS:109", "SUCCESS:107", "SUCCESS:112"}));
        EXPECT_TRUE(FrmMain->LiveActive());
        EXPECT_TRUE(FrmMain->BtnDislive->Visible());
        EXPECT_FALSE(FrmMain->BtnLive->Visible());
        EXPECT_TRUE(FrmMain->ImgAniState->Visible());
        ASSERT_TRUE(FramesShown(4 * c.rate * 2 + 10));
        const auto sent = Drain(sim);
        EXPECT_EQ(FrmMain->AvReceiver.Stats().frames, sent.size());
        EXPECT_EQ(FrmMain->PictureErrors, 0u);
        // Each second of the stream holds the standard's frames of every camera, and all were taken in.
        std::map<std::pair<DWORD, DWORD>, std::set<DWORD>> stamps;
        for (const auto& s : sent)
            if (s.kind == 0) stamps[{s.channel, s.frameTime}].insert(s.subSecond);
        const DWORD first = sent.front().frameTime;
        for (DWORD channel = 1; channel <= 4; ++channel)
            EXPECT_EQ((stamps[{channel, first + 1}].size()), c.rate) << channel;
        for (TImage* screen : FrmMain->VidScreen) {
            EXPECT_EQ(screen->Picture()->Width(), 352);
            EXPECT_EQ(screen->Picture()->Height(), c.height);
        }
        EXPECT_EQ(FrmMain->VideoStandard, c.standard);
        EXPECT_EQ(FrmMain->LastWidth, 352);
        EXPECT_EQ(FrmMain->lbState->Caption(), "LIVE");
        const std::string last = FrameTimeToText(sent.back().frameTime);
        EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), last);
        EXPECT_EQ(FrmMain->LabelFullSearchTime2->Caption(), "  " + last);
        EXPECT_EQ(FrmMain->ChannelTimeTexts[sent.back().channel - 1], last);
        EXPECT_TRUE(FrmMain->ImgAniState->Play());
        EXPECT_TRUE(Idle());
        EXPECT_TRUE(Boxes().empty());
        TearDown();
        SetUp();
    }
}

TEST_F(LiveView, RefusalsAndFailuresLeaveLiveViewOff) {
    struct Case {
        const char* name;
        DWORD status;
        DWORD command; // whose reply is spoilt
        recsim::ReplyFault fault;
        std::vector<DWORD> sent;
        std::string debug;
        int refusal; // caption of the box, 0 for none
        int mode;    // 0: not looked at
    };
    const Case cases[] = {
        {"109 silent", 1, 109, SilentReply(), {109}, "TIME OUT:109", 0, kModeLocal},
        {"109 failed", 1, 109, ReplyResult(2), {109}, "FAILED:109", 0, kModeLive},
        {"107 silent", 1, 107, SilentReply(), {109, 107}, "TIME OUT:107", 0, kModeLocal},
        {"112 failed", 1, 112, ReplyResult(2), {109, 107, 112}, "FAILED:112", 0, kModeLive},
        {"status 2", 2, 0, {}, {109}, "SUCCESS:109", 59862, 0},
        {"status 3", 3, 0, {}, {109}, "SUCCESS:109", 59859, 0},
        {"status 4", 4, 0, {}, {109}, "SUCCESS:109", 59861, 0},
        {"status 5", 5, 0, {}, {109}, "SUCCESS:109", 59860, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickSimOptions();
        o.status = c.status;
        recsim::RecSim& sim = Recorder(o);
        seen_.clear();
        if (c.command != 0) sim.SetReplyFault(c.command, c.fault);
        FrmMain->CurrentMode = kModeLive;
        {
            FakeTick tick(1000, 1);
            FrmMain->BtnLiveClick(FrmMain->BtnLive);
        }
        EXPECT_EQ(CommandsSinceLogin(sim), c.sent);
        EXPECT_EQ(Outcomes().back(), c.debug);
        EXPECT_FALSE(FrmMain->LiveActive());
        EXPECT_FALSE(FrmMain->BtnDislive->Visible());
        const std::vector<TSeenBox> boxes =
            c.refusal != 0 ? std::vector<TSeenBox>{Box(c.refusal, 59868)} : std::vector<TSeenBox>{};
        EXPECT_EQ(Boxes(), boxes);
        if (c.mode > 0) {
            EXPECT_EQ(FrmMain->CurrentMode, c.mode);
        }
        EXPECT_TRUE(Idle());
        TearDown();
        SetUp();
    }
    // Without a recorder: the box, and nothing sent.
    seen_.clear();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59857, 59869)}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(Idle());
}

TEST_F(LiveView, StoppingBlanksTheScreensAlsoWhenTheRecorderIsSilent) {
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "113 silent" : "113 answered");
        recsim::RecSim& sim = Recorder();
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
        ASSERT_TRUE(FramesShown(50));
        if (silent) sim.SetReplyFault(NETCMD_LIVE_STOP, SilentReply());
        // Texts an earlier stream might have left go with this one.
        FrmMain->LabelGPSdata1->SetCaption("of before");
        FrmMain->LabelTACHOdata3->SetCaption("of before");
        {
            FakeTick tick(1000, 1);
            FrmMain->BtnDisliveClick(FrmMain->BtnDislive);
        }
        EXPECT_EQ(CommandsSinceLogin(sim).back(), 113u);
        EXPECT_EQ(Outcomes().back(), silent ? "TIME OUT:113" : "SUCCESS:113");
        EXPECT_FALSE(FrmMain->LiveActive());
        // Without an answer the local tab shows, with its own button where LIVE ON would be.
        EXPECT_EQ(FrmMain->CurrentMode, silent ? kModeLocal : kModeLive);
        EXPECT_EQ(FrmMain->BtnLive->Visible(), !silent);
        EXPECT_EQ(FrmMain->BtnDisconnect->Visible(), silent);
        EXPECT_FALSE(FrmMain->BtnDislive->Visible());
        for (TLabel* l : {FrmMain->LabelCamera1, FrmMain->LabelCamera4, FrmMain->LabelA2, FrmMain->LabelM3,
                          FrmMain->lbRed, FrmMain->lbGreen})
            EXPECT_FALSE(l->Visible()) << l->Name();
        EXPECT_EQ(FrmMain->lbState->Caption(), "");
        EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "");
        EXPECT_EQ(FrmMain->LabelFullSearchTime4->Caption(), "");
        EXPECT_EQ(FrmMain->LabelGPSdata1->Caption(), "");
        EXPECT_EQ(FrmMain->LabelTACHOdata3->Caption(), "");
        EXPECT_EQ(FrmMain->CameraTitles[0], "");
        for (TImage* screen : FrmMain->VidScreen)
            EXPECT_EQ(screen->Picture()->Width(), FrmMain->ImageEmpty->Picture()->Width());
        EXPECT_FALSE(FrmMain->ImgAniState->Visible());
        EXPECT_FALSE(FrmMain->ImgAniState->Play());
        // Frames still on their way are not drawn any more.
        const std::uint64_t drawnBefore = FrmMain->AvReceiver.Stats().frames;
        PumpReal([] { return false; }, 200);
        for (TImage* screen : FrmMain->VidScreen)
            EXPECT_EQ(screen->Picture()->Width(), FrmMain->ImageEmpty->Picture()->Width());
        EXPECT_GE(FrmMain->AvReceiver.Stats().frames, drawnBefore);
        EXPECT_TRUE(Idle());
        TearDown();
        SetUp();
    }
}

TEST_F(LiveView, CamerasAndTheFourScreenLayoutWhileLive) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(40));
    ASSERT_EQ(FrmMain->LastWidth, 352);

    FrmMain->BtnCamera2Click(FrmMain->BtnCamera2);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 1);
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
    EXPECT_TRUE(FrmMain->MenuItemCam2->Checked());
    EXPECT_EQ(FrmMain->Panel2->BoundsRect(), Rect(1, 1, 690, 472));
    EXPECT_EQ(FrmMain->VidScreen[1]->BoundsRect(), Rect(-8, -6, 696, 474));
    for (int k : {0, 2, 3})
        EXPECT_FALSE(FrmMain->VidScreen[static_cast<std::size_t>(k)]->Visible()) << k;
    EXPECT_EQ(FrmMain->LabelA2->Left(), 524);
    // Its screen goes on taking pictures, decoded at the full size for the large screen.
    // Counted through the picture's change event: a freed picture's address may come back.
    TPicture* picture = FrmMain->VidScreen[1]->Picture();
    const TNotifyEvent previous = picture->OnChange;
    int pictures = 0;
    picture->OnChange = [&](TObject* sender) {
        ++pictures;
        previous(sender);
    };
    ASSERT_TRUE(FramesShown(20));
    picture->OnChange = previous;
    EXPECT_GT(pictures, 0);
    EXPECT_EQ(FrmMain->VidScreen[1]->Picture()->Width(), 352);

    FrmMain->BtnQuadClick(FrmMain->BtnQuad);
    EXPECT_EQ(FrmMain->GetScreenCount(), 4);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 4);
    EXPECT_TRUE(FrmMain->MenuItemQuad->Checked());
    EXPECT_EQ(FrmMain->Panel4->BoundsRect(), Rect(346, 237, 690, 472));
    EXPECT_EQ(FrmMain->VidScreen[3]->BoundsRect(), Rect(-4, -3, 348, 237));
    for (TImage* screen : FrmMain->VidScreen)
        EXPECT_TRUE(Showing(screen));

    // A covert camera stays hidden in the four-screen layout.
    FrmMain->CameraCovert[2] = 1;
    FrmMain->BtnQuadClick(FrmMain->BtnQuad);
    EXPECT_FALSE(FrmMain->Panel3->Visible());
    EXPECT_FALSE(FrmMain->VidScreen[2]->Visible());
    EXPECT_TRUE(FrmMain->Panel4->Visible());
    FrmMain->CameraCovert[2] = 0;

    // Copying the played stream refuses the camera buttons and changes nothing.
    FrmMain->StreamCopying = 1;
    FrmMain->BtnCamera3Click(FrmMain->BtnCamera3);
    FrmMain->StreamCopying = 0;
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(50991, 50393)}));
    EXPECT_EQ(FrmMain->GetScreenCount(), 4);
    Drain(sim);
}

TEST_F(LiveView, EventMarksFollowEachCamerasLastFrame) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    TLabel* const a[] = {FrmMain->LabelA1, FrmMain->LabelA2, FrmMain->LabelA3, FrmMain->LabelA4};
    TLabel* const m[] = {FrmMain->LabelM1, FrmMain->LabelM2, FrmMain->LabelM3, FrmMain->LabelM4};
    // The cameras' cycles are offset by one step each, so the four screens together show every mark at once;
    // a slow (sanitized) run need not wait for one camera's whole cycle.
    std::set<std::pair<bool, bool>> seen;
    PumpReal(
        [&] {
            for (int k = 0; k < 4; ++k)
                seen.insert({a[k]->Visible(), m[k]->Visible()});
            return seen.size() == 4;
        },
        20000);
    EXPECT_EQ(seen.size(), 4u) << "none, alarm, motion and both";
    const auto sent = Drain(sim);
    std::map<DWORD, DWORD> lastEvent;
    for (const auto& s : sent)
        lastEvent[s.channel] = s.kind == 0 ? recgen::SynthEventState({.events = {{0, 0xFFFFFFFF}}},
                                                                     static_cast<int>(s.channel), s.frameTime)
                                           : 0;
    for (DWORD k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const DWORD e = lastEvent[k];
        EXPECT_EQ(a[k - 1]->Visible(), e == 1 || e == 3);
        EXPECT_EQ(m[k - 1]->Visible(), e == 2 || e == 3);
    }
}

TEST_F(LiveView, OnlyTheFirstPictureAfterAStartEndsTheWait) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(20));
    // Some other wait while pictures keep coming: they leave it alone.
    FrmWait->Show();
    FrmMain->SetEnabled(false);
    ASSERT_TRUE(FramesShown(40));
    EXPECT_TRUE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    // A start's wait ends with the next picture.
    FrmMain->ExpectFirstPicture();
    ASSERT_TRUE(FramesShown(8));
    EXPECT_TRUE(Idle());
    Drain(sim);
}

TEST_F(LiveView, QueuedFramesAndTheSingleStep) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(10));
    FrmMain->Activities.QueueAvFrames = 1;
    ASSERT_TRUE(PumpReal([&] { return FrmMain->Activities.AvFrameQueue.Size() == 1; }));
    const DWORD errors = FrmMain->PictureErrors;
    const std::string time = FrmMain->LabelSearchTime->Caption();
    for (std::size_t n = 1; n <= 3; ++n) {
        EXPECT_TRUE(FrmMain->AVDataCliSocket->Paused());
        PumpReal([] { return false; }, 100);
        EXPECT_EQ(FrmMain->Activities.AvFrameQueue.Size(), n);
        FrmMain->AVDataCliSocket->Resume();
        ASSERT_TRUE(PumpReal([&] { return FrmMain->Activities.AvFrameQueue.Size() == n + 1; }));
    }
    // Queued frames draw nothing.
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), time);
    EXPECT_EQ(FrmMain->PictureErrors, errors);

    // Single step: one picture, then queueing and paused again.
    FrmMain->Activities.AvFrameQueue.Clear();
    FrmMain->Activities.QueueAvFrames = 0;
    FrmMain->Activities.RemotePlayState = 2;
    const std::uint64_t frames = FrmMain->AvReceiver.Stats().frames;
    FrmMain->AVDataCliSocket->Resume();
    ASSERT_TRUE(PumpReal([&] { return FrmMain->Activities.QueueAvFrames == 1; }));
    EXPECT_TRUE(FrmMain->AVDataCliSocket->Paused());
    PumpReal([] { return false; }, 100);
    EXPECT_TRUE(FrmMain->Activities.AvFrameQueue.Empty());
    EXPECT_LE(FrmMain->AvReceiver.Stats().frames, frames + 2) << "an audio frame at most, then one picture";
    FrmMain->Activities.RemotePlayState = 0;
    FrmMain->Activities.QueueAvFrames = 0;
    FrmMain->AVDataCliSocket->Resume();
    Drain(sim);
}

TEST_F(LiveView, TenThousandFramesWithFaultsThroughTheWindow) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.faults.garbageEvery = 97;
    o.faults.zeroSizeFrameEvery = 89;
    o.faults.oversizedFrameEvery = 211;
    o.faults.badHeaderEvery = 53;
    o.faults.truncatedJpegEvery = 61;
    o.faults.badSideDataEvery = 13;
    o.faults.avWriteSizes = {1, 20, 12, 10, 54, 40000};
    Application->CreateForm(frmSysLog);
    recsim::RecSim& sim = Recorder(o);
    const int logLines = frmSysLog->lbLog->Items()->Count();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(PumpFast([&] { return sim.AvFramesSent() >= 10000; }, 400000)) << sim.AvFramesSent();
    const auto sent = Drain(sim);
    std::size_t arriving = 0, cut = 0, oversized = 0;
    for (const auto& s : sent) {
        arriving += s.fault != recsim::AvFrameFault::Oversized && s.fault != recsim::AvFrameFault::BadHeader;
        cut += s.fault == recsim::AvFrameFault::TruncatedJpeg;
        oversized += s.fault == recsim::AvFrameFault::Oversized;
    }
    EXPECT_EQ(FrmMain->AvReceiver.Stats().frames, arriving);
    EXPECT_EQ(FrmMain->PictureErrors, cut);
    EXPECT_EQ(FrmMain->AvReceiver.Stats().oversized, oversized);
    // More short reads than the client log takes lines for.
    EXPECT_GT(FrmMain->AvReceiver.Stats().shortReads, 16u);
    EXPECT_LE(frmSysLog->lbLog->Items()->Count() - logLines, 16);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), FrameTimeToText(sent.back().frameTime));
    EXPECT_TRUE(LinkUp());
}

TEST_F(LiveView, LosingTheAvConnectionEndsTheLinkAndSaysSoOnce) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(10));
    sim.CloseAvConnection();
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    PumpReal([] { return false; }, 200);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59878, 59879)}));
    EXPECT_EQ(FrmMain->AVDataCliSocket->State(), wsClosed);
    EXPECT_FALSE(FrmMain->LiveActive());
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    EXPECT_TRUE(FrmMain->AvReceiver.BetweenFrames());
}

TEST_F(LiveView, DisconnectingWhileLiveShowsNoLossBox) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(10));
    {
        // Fast steps: the stop command's reply still comes well inside its wait.
        FakeTick tick(1000, 10);
        FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    }
    EXPECT_EQ(sim.Log().Commands(NETCMD_LIVE_STOP).size(), 1u);
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    PumpReal([] { return false; }, 200);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FrmMain->AVDataCliSocket->State(), wsClosed);
}

TEST_F(LiveView, PowerOffWhileLiveReportsNoLostLink) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(10));
    {
        FakeTick tick(1000, 100);
        FrmMain->BtnPowerClick(FrmMain->BtnPower);
    }
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
}

TEST_F(LiveView, PrintItemsShowTheirScreenAndTheLogButtonTheClientLog) {
    Application->CreateForm(frmPrint);
    Application->CreateForm(frmSysLog);
    Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(40));
    // Held right after a picture: a sound frame last would leave no picture width to print by.
    ASSERT_TRUE(HoldOnAPicture());
    TMenuItem* const items[] = {FrmMain->MenuItemPrintCam1, FrmMain->MenuItemPrintCam2,
                                FrmMain->MenuItemPrintCam3, FrmMain->MenuItemPrintCam4};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k + 1);
        FrmMain->CameraTitles[static_cast<std::size_t>(k)] = "CAM" + std::to_string(k + 1);
        // Through the menu item's own event, as the form binds it.
        ASSERT_TRUE(items[k]->OnClick.Assigned());
        items[k]->OnClick(items[k]);
        EXPECT_TRUE(frmPrint->Visible());
        EXPECT_EQ(frmPrint->GetCameraNumber(), k + 1);
        const TImage* screen = FrmMain->VidScreen[static_cast<std::size_t>(k)];
        ASSERT_NE(frmPrint->FrameImage(), nullptr);
        EXPECT_EQ(frmPrint->FrameImage()->Picture()->Width(), screen->Picture()->Width());
        EXPECT_EQ(frmPrint->FrameImage()->Picture()->Height(), screen->Picture()->Height());
        // 352-pixel pictures are shown 704 wide, NTSC 480 high.
        EXPECT_EQ(frmPrint->FrameImage()->Width(), 704);
        EXPECT_EQ(frmPrint->FrameImage()->Height(), 480);
        EXPECT_EQ(frmPrint->Label1->Caption(), "CAM" + std::to_string(k + 1));
        EXPECT_EQ(frmPrint->Label2->Caption(), FrmMain->ChannelTimeTexts[static_cast<std::size_t>(k)]);
        EXPECT_NE(frmPrint->Label2->Caption(), "");
        frmPrint->btnCloseClick(frmPrint->btnClose);
    }
    ASSERT_TRUE(FrmMain->BtnLoglist->OnClick.Assigned());
    FrmMain->BtnLoglist->OnClick(FrmMain->BtnLoglist);
    EXPECT_TRUE(frmSysLog->Visible());
    EXPECT_EQ(FrmMain->SysLogShown, 1);
}

// The frames' side data (GPS, lamps, a text block "CAMERA n" in every frame) is not drawn: the titles stay
// those of config.ini, no GPS or tacho text or lamp comes, the stored position stays.
TEST_F(LiveView, LiveViewShowsTheRecordersTitlesAndNoSideData) {
    Application->CreateForm(frmMenu);
    Application->CreateForm(frmCamera);
    testing_support::TempDir store;
    std::string config = recgen::DefaultConfigIni(recgen::RecorderIdentity{});
    config.replace(config.find("CAMERA 2"), 8, "DOCK");
    testing_support::WriteFileBytes(store.File("config.ini"), config + "23_1_3=1\r\n");
    recsim::RecSimOptions o = QuickSimOptions();
    o.store = store.Str();
    Recorder(o);
    const double latitude = FrmMain->LastLatitude, longitude = FrmMain->LastLongitude;
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->MenuItemGPSONClick(FrmMain->MenuItemGPSON);
    FrmMain->MenuItemTACHOONClick(FrmMain->MenuItemTACHOON);
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FrmMain->LiveActive());
    EXPECT_EQ(FrmMain->CameraTitles[0], "CAMERA 1");
    EXPECT_EQ(FrmMain->CameraTitles[1], "DOCK");
    EXPECT_EQ(FrmMain->LabelCamera2->Caption(), "DOCK");
    EXPECT_TRUE(FrmMain->LabelCamera2->Visible());
    EXPECT_EQ(FrmMain->CameraCovert, (std::array<BYTE, 4>{0, 0, 1, 0}));
    // The covert camera's screen leaves the four-screen layout; the others stay.
    EXPECT_EQ(FrmMain->GetScreenCount(), 4);
    EXPECT_FALSE(FrmMain->Panel3->Visible());
    EXPECT_TRUE(FrmMain->Panel1->Visible());
    EXPECT_TRUE(FrmMain->Panel4->Visible());

    TLabel* const drawnFromSideData[] = {FrmMain->LabelGPSdata1,   FrmMain->LabelGPSdata2,
                                         FrmMain->LabelGPSdata3,   FrmMain->LabelGPSdata4,
                                         FrmMain->LabelTACHOdata1, FrmMain->LabelTACHOdata2,
                                         FrmMain->LabelTACHOdata3, FrmMain->LabelTACHOdata4};
    const std::uint64_t start = FrmMain->AvReceiver.Stats().frames;
    int rounds = 0;
    std::vector<std::string> wrong;
    PumpReal(
        [&] {
            ++rounds;
            for (TLabel* l : drawnFromSideData)
                if (!l->Caption().empty()) wrong.push_back(l->Name() + " " + l->Caption());
            for (TLabel* l : {FrmMain->lbRed, FrmMain->lbYellow, FrmMain->lbLeft, FrmMain->lbGreen})
                if (l->Visible()) wrong.push_back(l->Name() + " shown");
            if (FrmMain->LabelCamera1->Caption() != "CAMERA 1" || FrmMain->LabelCamera2->Caption() != "DOCK")
                wrong.push_back("titles " + FrmMain->LabelCamera1->Caption() + ", " +
                                FrmMain->LabelCamera2->Caption());
            return !wrong.empty() || FrmMain->AvReceiver.Stats().frames >= start + 120;
        },
        20000);
    EXPECT_GE(FrmMain->AvReceiver.Stats().frames, start + 120) << rounds << " rounds";
    EXPECT_TRUE(wrong.empty()) << wrong.front();
    // Pictures, marks and times are drawn.
    EXPECT_EQ(FrmMain->lbState->Caption(), "LIVE");
    EXPECT_FALSE(FrmMain->LabelSearchTime->Caption().empty());
    EXPECT_EQ(FrmMain->VidScreen[1]->Picture()->Width(), 352);
    EXPECT_DOUBLE_EQ(FrmMain->LastLatitude, latitude);
    EXPECT_DOUBLE_EQ(FrmMain->LastLongitude, longitude);
}

TEST_F(LiveView, ActivityPictureIdleTitlesAndPlaybackButtons) {
    // The activity picture stops when no new frame came since the last tick.
    FrmMain->ImgAniState->SetPlay(true);
    FrmMain->AvShow.lastDisplayedTime = 1199188800;
    FrmMain->TimerAVDataTimer(FrmMain->TimerAVData);
    EXPECT_EQ(FrmMain->Label6->Caption(), "1199188800");
    EXPECT_EQ(FrmMain->Label5->Caption(), "0");
    EXPECT_TRUE(FrmMain->ImgAniState->Play());
    FrmMain->TimerAVDataTimer(FrmMain->TimerAVData);
    EXPECT_EQ(FrmMain->Label5->Caption(), "1199188800");
    EXPECT_FALSE(FrmMain->ImgAniState->Play());

    // Titles are emptied only while live view can be started, not while it runs.
    FrmMain->LabelCamera2->SetCaption("REAR");
    FrmMain->BtnLive->SetVisible(false);
    FrmMain->TimerPlayStateTimer(FrmMain->TimerPlayState);
    EXPECT_EQ(FrmMain->LabelCamera2->Caption(), "REAR");
    FrmMain->BtnLive->SetVisible(true);
    FrmMain->TimerPlayStateTimer(FrmMain->TimerPlayState);
    EXPECT_EQ(FrmMain->LabelCamera2->Caption(), "");

    struct Case {
        bool local;
        int playLeft, nextLeft;
    };
    for (const Case c : {Case{true, 240, 364}, Case{false, 116, 209}}) {
        SCOPED_TRACE(c.local);
        FrmMain->ShowPlaybackControls(c.local);
        EXPECT_EQ(FrmMain->BtnFirst->Visible(), c.local);
        EXPECT_EQ(FrmMain->Label1->Visible(), c.local);
        EXPECT_EQ(FrmMain->BtnPlay->Enabled(), !c.local);
        EXPECT_EQ(FrmMain->BtnBack5->Visible(), !c.local);
        EXPECT_EQ(FrmMain->BtnPlay->Left(), c.playLeft);
        EXPECT_EQ(FrmMain->BtnNext->Left(), c.nextLeft);
    }
}

TEST_F(LiveView, FullModeFillsTheDisplayAndSkinModeComesBack) {
    recsim::RecSim& sim = Recorder();
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(10));
    const TRect skin = FrmMain->BoundsRect();
    const int skinWidth = FrmMain->ClientWidth(), skinHeight = FrmMain->ClientHeight();
    FrmMain->MenuItemFullModeClick(FrmMain->MenuItemFullMode);
    EXPECT_EQ(FrmMain->FullMode, 1);
    EXPECT_TRUE(FrmMain->MenuItemFullMode->Checked());
    EXPECT_EQ(FrmMain->Left(), 0);
    EXPECT_EQ(FrmMain->ClientWidth(), 1920);
    EXPECT_EQ(FrmMain->ClientHeight(), 1080);
    EXPECT_EQ(FrmMain->PanelScreen->BoundsRect(), Rect(0, 0, 1920, 1080));
    // Over every other control of the window: no button, tab or slider floats over the video.
    EXPECT_EQ(FrmMain->Controls(FrmMain->ControlCount() - 1), FrmMain->PanelScreen);
    EXPECT_EQ(FrmMain->Panel2->BoundsRect(), Rect(961, 1, 961 + 958, 1 + 538));
    EXPECT_EQ(FrmMain->VidScreen[1]->BoundsRect(), Rect(-15, -10, -15 + 990, -10 + 560));
    EXPECT_EQ(FrmMain->Panel8->BoundsRect(), Rect(960, 540, 1920, 1080));
    EXPECT_TRUE(FrmMain->LabelFullSearchTime3->Visible());
    EXPECT_EQ(FrmMain->LabelFullSearchTime3->Top(), 470);
    EXPECT_FALSE(FrmMain->LabelFullSearchTime1->Visible());
    ASSERT_TRUE(FramesShown(10));
    // Camera 2 alone over the whole display, with its time text.
    FrmMain->MenuItemCam2Click(FrmMain->MenuItemCam2);
    EXPECT_EQ(FrmMain->Panel2->BoundsRect(), Rect(1, 1, 1919, 1079));
    EXPECT_TRUE(FrmMain->LabelFullSearchTime2->Visible());
    EXPECT_EQ(FrmMain->LabelFullSearchTime2->Top(), 1010);
    FrmMain->MenuItemSkinModeClick(FrmMain->MenuItemSkinMode);
    EXPECT_EQ(FrmMain->FullMode, 0);
    EXPECT_EQ(FrmMain->BoundsRect().Left, skin.Left);
    EXPECT_EQ(FrmMain->BoundsRect().Top, skin.Top);
    EXPECT_EQ(FrmMain->ClientWidth(), skinWidth);
    EXPECT_EQ(FrmMain->ClientHeight(), skinHeight);
    EXPECT_EQ(FrmMain->Panel8->BoundsRect(), Rect(0, 0, 0, 0));
    EXPECT_FALSE(FrmMain->LabelFullSearchTime2->Visible());
    EXPECT_EQ(FrmMain->Panel2->BoundsRect(), Rect(1, 1, 690, 472));
    EXPECT_NE(FrmMain->Controls(FrmMain->ControlCount() - 1), FrmMain->PanelScreen);
    Drain(sim);
}

TEST_F(LiveView, SnapshotsOfOneAndFourScreensWithTitlesMarksAndTimes) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.large = true;
    recsim::RecSim& sim = Recorder(o);
    FrmMain->MenuItemGPSONClick(FrmMain->MenuItemGPSON);
    FrmMain->MenuItemTACHOONClick(FrmMain->MenuItemTACHOON);
    FrmMain->MenuItemCOLORYELLOWClick(FrmMain->MenuItemCOLORYELLOW);
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FramesShown(60));
    ASSERT_TRUE(HoldOnAPicture());
    form_testing::SaveFormSnapshot(FrmMain, SnapshotPath("live_quad"));
    EXPECT_EQ(FrmMain->VidScreen[0]->Picture()->Width(), 352) << "half of 704 for a quarter screen";

    FrmMain->BtnCamera1Click(FrmMain->BtnCamera1);
    FrmMain->Activities.AvFrameQueue.Clear();
    FrmMain->Activities.QueueAvFrames = 0;
    FrmMain->AVDataCliSocket->Resume();
    ASSERT_TRUE(FramesShown(60));
    ASSERT_TRUE(HoldOnAPicture());
    form_testing::SaveFormSnapshot(FrmMain, SnapshotPath("live_single"));
    EXPECT_EQ(FrmMain->VidScreen[0]->Picture()->Width(), 704);
    FrmMain->Activities.QueueAvFrames = 0;
    FrmMain->AVDataCliSocket->Resume();
    Drain(sim);
}

} // namespace
} // namespace client_tests
