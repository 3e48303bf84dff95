// Local playback through the main window's transport and frame clock, on hand-made recordings: the
// pace of each speed counted in clock ticks, order forwards and backwards, pause, stop and steps, the
// state rules of the buttons, and the refusals while the played stream is copied.
#include "tests/playback/EngineRig.h"

#include "playback/Qelvidfile.h"

#include <algorithm>

namespace engine_tests {
namespace {

using client_tests::TSeenBox;
using recmaker::FrameSpec;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00

class Transport : public EngineRig {};

bool Increasing(const std::vector<DWORD>& numbers) {
    return std::adjacent_find(numbers.begin(), numbers.end(), std::greater_equal<DWORD>()) == numbers.end();
}

bool Decreasing(const std::vector<DWORD>& numbers) {
    return std::adjacent_find(numbers.begin(), numbers.end(), std::less_equal<DWORD>()) == numbers.end();
}

TEST_F(Transport, OpeningShowsTheFirstFrameTimeAndEnablesTheSlider) {
    MakeList({OneCamera(kStart, 3)});
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
    EXPECT_EQ(FrmMain->CurrentIndexCount, 90);
    EXPECT_EQ(FrmMain->ClockSecond, static_cast<int>(kStart));
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:00 2008\n");
    EXPECT_EQ(FrmMain->LabelFullSearchTime1->Caption(), "X1  Tue Jan 01 09:00:00 2008\n");
    EXPECT_TRUE(FrmMain->SliderSearch->Enabled());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
}

TEST_F(Transport, PlayShowsOneCameraOneFrameATickInOrder) {
    MakeList({OneCamera(kStart, 4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->MMTimerReverse->Enabled());
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPlay);
    Ticks(60);
    const std::vector<DWORD> numbers = NumbersOf(1);
    // 30 pictures a second on 30 ticks a second: one a tick, none skipped, none twice.
    ASSERT_GE(numbers.size(), 58u);
    ASSERT_LE(numbers.size(), 60u);
    EXPECT_EQ(numbers.front(), 1u);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], i + 1);
    EXPECT_EQ(FrmMain->CurrentIndexPos, static_cast<int>(numbers.back()));
    EXPECT_EQ(FrmMain->ClockSecond, static_cast<int>(kStart + 2));
}

TEST_F(Transport, FourCamerasPlayAtTheirOwnPace) {
    MakeList({recmaker::Stream(kStart, 3, 30, 4, false)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(30);
    // A second of four cameras is 120 pictures; the clock shows all it has reached.
    EXPECT_GE(shown.size(), 112u);
    EXPECT_LE(shown.size(), 124u);
    std::vector<DWORD> numbers = NumbersOf(1);
    EXPECT_TRUE(Increasing(numbers));
    for (DWORD channel = 1; channel <= 4; ++channel)
        EXPECT_GE(
            std::count_if(shown.begin(), shown.end(), [&](const Shown& s) { return s.channel == channel; }),
            28);
}

struct SpeedCase {
    int clicks; // FastPlay clicks from Play
    int speed;
    const char* label;
    double seconds; // recording seconds covered in 120 ticks
};

TEST_F(Transport, EachSpeedCoversTheRecordingAtItsPace) {
    // Ticks per clock second: 30 at X1, 16 at X2, 8 at X4, 4 at X8.
    const SpeedCase cases[] = {{0, 1, "X1", 4.0}, {1, 2, "X2", 7.5}, {2, 4, "X4", 15.0}, {3, 8, "X8", 30.0}};
    MakeList({OneCamera(kStart, 60)});
    for (const SpeedCase& c : cases) {
        SCOPED_TRACE(c.label);
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        for (int i = 0; i < c.clicks; ++i)
            FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
        ASSERT_EQ(FrmMain->PlaySpeed, c.speed);
        EXPECT_EQ(FrmMain->Label1->Caption(), c.label);
        EXPECT_EQ(FrmMain->PlayState, c.speed == 1 ? kPlayForward : kPlayFastForward);
        EXPECT_EQ(FrmMain->VideoReader->GetSkipFactor(), c.speed);
        shown.clear();
        Ticks(120);
        ASSERT_FALSE(shown.empty());
        std::vector<DWORD> numbers = NumbersOf(1);
        EXPECT_TRUE(Increasing(numbers));
        // The first clock second still runs at the speed latched before the click.
        const double covered = static_cast<double>(shown.back().time) - kStart;
        EXPECT_GE(covered, c.seconds - 2.5);
        EXPECT_LE(covered, c.seconds + 1.5);
    }
}

TEST_F(Transport, FourFastClicksReturnToNormalForwardPlay) {
    MakeList({OneCamera(kStart, 10)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    const int speeds[] = {2, 4, 8, 1};
    for (int speed : speeds) {
        FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
        EXPECT_EQ(FrmMain->PlaySpeed, speed);
    }
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyFastPlay);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
}

TEST_F(Transport, ClicksThatDoNothingInTheirState) {
    MakeList({OneCamera(kStart, 10)});
    // Stopped: the fast buttons are ignored.
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    FrmMain->BtnFastReverseClick(FrmMain->BtnFastReverse);
    EXPECT_EQ(FrmMain->PlaySpeed, 1);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());

    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(10);
    const std::size_t before = shown.size();
    // Play while playing forward at X1 restarts nothing: the next tick goes on from the last frame.
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Tick();
    ASSERT_GT(shown.size(), before);
    EXPECT_EQ(shown[before].number, shown[before - 1].number + 1);
    // Forward: fast reverse is ignored.
    FrmMain->BtnFastReverseClick(FrmMain->BtnFastReverse);
    EXPECT_EQ(FrmMain->PlaySpeed, 1);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);

    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    EXPECT_EQ(FrmMain->PlaySpeed, 1);
}

TEST_F(Transport, PlayDuringFastForwardDropsToNormalSpeed) {
    MakeList({OneCamera(kStart, 20)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    Ticks(20);
    ASSERT_EQ(FrmMain->PlaySpeed, 4);
    const int at = FrmMain->CurrentIndexPos;
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlaySpeed, 1);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_EQ(FrmMain->Label1->Caption(), "X1");
    EXPECT_EQ(FrmMain->VideoReader->GetSkipFactor(), 1);
    shown.clear();
    Ticks(5);
    ASSERT_FALSE(shown.empty());
    // The reader starts again from the frame on screen.
    EXPECT_EQ(static_cast<int>(shown.front().number), at + 1);
}

TEST_F(Transport, ReversePlaysBackwardsFromTheFrameOnScreen) {
    MakeList({OneCamera(kStart, 4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(70);
    const int at = FrmMain->CurrentIndexPos;
    ASSERT_GT(at, 60);
    shown.clear();
    FrmMain->BtnReverseClick(FrmMain->BtnReverse);
    EXPECT_EQ(FrmMain->PlayState, kPlayReverse);
    EXPECT_TRUE(FrmMain->MMTimerReverse->Enabled());
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_EQ(FrmMain->PlayForward, 0);
    // Reverse starts at the top slot of the second: the frames of the second on screen come as the
    // clock counts down to them, then one a tick.
    Ticks(60, false);
    const std::vector<DWORD> numbers = NumbersOf(1);
    ASSERT_GE(numbers.size(), 35u);
    EXPECT_EQ(static_cast<int>(numbers.front()), at - 1);
    EXPECT_TRUE(Decreasing(numbers));
    EXPECT_EQ(numbers.back() + numbers.size() - 1, numbers.front());
}

TEST_F(Transport, PauseKeepsTheRingsAndStepsGoOneFrameEachWay) {
    MakeList({OneCamera(kStart, 4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(20);
    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(FrmMain->PlayPaused, 1);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPause);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_TRUE(FrmMain->VideoReader->IsReaderRunning());
    const int at = FrmMain->CurrentIndexPos;

    shown.clear();
    FrmMain->BtnNextClick(FrmMain->BtnNext);
    FrmMain->BtnNextClick(FrmMain->BtnNext);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(static_cast<int>(shown[0].number), at + 1);
    EXPECT_EQ(static_cast<int>(shown[1].number), at + 2);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyNext);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), (at + 2) * 1000 / 120);

    shown.clear();
    FrmMain->BtnPrevClick(FrmMain->BtnPrev);
    FrmMain->BtnPrevClick(FrmMain->BtnPrev);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(static_cast<int>(shown[0].number), at + 1);
    EXPECT_EQ(static_cast<int>(shown[1].number), at);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPrev);
    EXPECT_EQ(FrmMain->PlayForward, 0);
}

TEST_F(Transport, StopGoesToTheFirstFrameAndASecondStopDoesNothing) {
    MakeList({OneCamera(kStart, 4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    Ticks(40);
    ASSERT_GT(FrmMain->CurrentIndexPos, 0);
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
    EXPECT_EQ(FrmMain->PlaySpeed, 1);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyStop);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:00 2008\n");
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());

    // Moved by a step, the second Stop still does nothing: it is the last action that counts.
    FrmMain->CurrentIndexPos = 7;
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 7);

    // Play from the start.
    shown.clear();
    FrmMain->CurrentIndexPos = 0;
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(3);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().number, 1u);
}

TEST_F(Transport, EveryButtonRefusesWhileTheStreamIsCopied) {
    MakeList({OneCamera(kStart, 4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(5);
    FrmMain->StreamCopying = 1;
    const auto state = [] {
        return std::vector<int>{FrmMain->PlayState,
                                FrmMain->PlaySpeed,
                                FrmMain->PlayForward,
                                FrmMain->LastTransportKey,
                                FrmMain->CurrentIndexPos,
                                FrmMain->PlayListPos,
                                FrmMain->MMTimerPlayback->Enabled(),
                                FrmMain->SliderSearch->KnobPos()};
    };
    const std::vector<int> before = state();
    using Handler = void (TFrmMain::*)(TObject*);
    const Handler handlers[] = {&TFrmMain::BtnPlayClick,     &TFrmMain::BtnReverseClick,
                                &TFrmMain::BtnPauseClick,    &TFrmMain::BtnStopClick,
                                &TFrmMain::BtnFastPlayClick, &TFrmMain::BtnFastReverseClick,
                                &TFrmMain::BtnNextClick,     &TFrmMain::BtnPrevClick,
                                &TFrmMain::BtnFirstClick,    &TFrmMain::BtnLastClick};
    for (Handler h : handlers)
        (FrmMain->*h)(nullptr);
    FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 300, 5);
    EXPECT_EQ(FrmMain->SliderDragging, 0);
    FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 300, 5);
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(FrmMain->VideoReader->IsReaderRunning());
    const TSeenBox refusal = Box(50991, 50393);
    ASSERT_EQ(Boxes().size(), 11u);
    for (const TSeenBox& box : Boxes())
        EXPECT_EQ(box, refusal);
    FrmMain->StreamCopying = 0;
}

TEST_F(Transport, PalRecordingsTickAt40MsAndNtscAt33) {
    std::vector<FrameSpec> pal = recmaker::Stream(kStart, 3, 25, 1, false);
    for (FrameSpec& f : pal)
        f.standard = QELSTD_PAL;
    MakeList({pal, OneCamera(kStart + 3, 3)});
    EXPECT_EQ(FrmMain->FileStandard, QELSTD_PAL);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(5);
    EXPECT_EQ(FrmMain->MMTimerPlayback->Interval(), 40u);
    // 25 pictures a second on 25 slots: one a tick.
    const std::size_t before = shown.size();
    Ticks(25);
    EXPECT_GE(shown.size() - before, 24u);
    EXPECT_LE(shown.size() - before, 26u);
    TicksUntilPaused(200);
    ASSERT_FALSE(NumbersOf(2).empty());
    EXPECT_EQ(FrmMain->MMTimerPlayback->Interval(), 33u);
}

TEST_F(Transport, ACameraThatStopsIsBlankedAfterFiveClockSeconds) {
    // Camera 2 records only the first second; camera 1 goes on for ten.
    std::vector<FrameSpec> frames;
    for (int s = 0; s < 10; ++s)
        for (int k = 0; k < 30; ++k) {
            frames.push_back({0, 1, kStart + s, DWORD(k + 1), 100, 0, 0, QELSTD_NTSC});
            if (s == 0) frames.push_back({0, 2, kStart + s, DWORD(k + 1), 100, 0, 0, QELSTD_NTSC});
        }
    MakeList({frames});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(40);
    EXPECT_GT(FrmMain->ScreenIdleCountdown[1], 0);
    EXPECT_EQ(FrmMain->ScreenIdleCountdown[0], 5);
    Ticks(30 * 5);
    EXPECT_EQ(FrmMain->ScreenIdleCountdown[1], 0);
    EXPECT_GT(FrmMain->ScreenIdleCountdown[0], 0);
}

TEST_F(Transport, AGapInTheRecordingIsJumpedNotWaitedFor) {
    // Three seconds, seven seconds of nothing, three seconds.
    std::vector<FrameSpec> frames = OneCamera(kStart, 3);
    const std::vector<FrameSpec> later = OneCamera(kStart + 10, 3);
    frames.insert(frames.end(), later.begin(), later.end());
    const SpeedCase speeds[] = {{0, 1, "X1", 0}, {2, 4, "X4", 0}};
    MakeList({frames});
    for (const SpeedCase& c : speeds) {
        SCOPED_TRACE(c.label);
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        for (int i = 0; i < c.clicks; ++i)
            FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
        shown.clear();
        const int ticks = TicksUntilPaused(2000);
        // Six seconds of pictures take about six clock seconds, not thirteen.
        EXPECT_LT(ticks, 7 * 31 / c.speed + 40);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().time, kStart + 12);
        EXPECT_TRUE(Increasing(NumbersOf(1)));
    }
}

TEST_F(Transport, ASoundOnlyStretchIsPlayedThroughNotWaitedOn) {
    // Two seconds of pictures, four of sound alone (25 blocks a second, more than half the sound ring
    // holds), two of pictures again.
    std::vector<FrameSpec> frames = OneCamera(kStart, 2);
    for (int s = 2; s < 6; ++s)
        for (int k = 0; k < 25; ++k)
            frames.push_back({1, 1, kStart + s, DWORD(k + 1), 160, 0, 0, QELSTD_NTSC});
    const std::vector<FrameSpec> later = OneCamera(kStart + 6, 2);
    frames.insert(frames.end(), later.begin(), later.end());
    MakeList({frames});
    const SpeedCase speeds[] = {{0, 1, "X1", 0}, {2, 4, "X4", 0}};
    for (const SpeedCase& c : speeds) {
        SCOPED_TRACE(c.label);
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        for (int i = 0; i < c.clicks; ++i)
            FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
        shown.clear();
        // Eight seconds at 30 ticks a second, a quarter of that at X4.
        EXPECT_LT(TicksUntilPaused(2000), 8 * 31 / c.speed + 40);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().time, kStart + 7);
        EXPECT_TRUE(Increasing(NumbersOf(1)));
    }

    // Backwards from the end, where the reader queues no sound to wait on.
    shown.clear();
    FrmMain->BtnReverseClick(FrmMain->BtnReverse);
    EXPECT_LT(TicksUntilPaused(2000, false), 8 * 31 + 40);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().time, kStart);
    EXPECT_TRUE(Decreasing(NumbersOf(1)));
}

TEST_F(Transport, TheTimerItselfDrivesPlayback) {
    MakeList({OneCamera(kStart, 2)});
    FrmMain->MMTimerPlayback->OnTimer = TNotifyEvent(FrmMain, &TFrmMain::MMTimerPlaybackTimer);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_TRUE(PumpReal([] { return FrmMain->PlayState == kPlayStopped; }, 20000));
    EXPECT_EQ(NumbersOf(1).size(), 59u);
    EXPECT_TRUE(Increasing(NumbersOf(1)));
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
}

TEST_F(Transport, ClicksWhileTheReaderFillsItsRingsAreNotTaken) {
    // The click must come while Play waits for the rings; a reader quick enough to fill them before the
    // first pump is tried again.
    bool duringFill = false;
    for (int attempt = 0; attempt < 20 && !duringFill; ++attempt) {
        MakeList({OneCamera(kStart, 60)});
        form_testing::RunLater([&] {
            duringFill = !FrmMain->MMTimerPlayback->Enabled();
            FrmMain->BtnReverseClick(FrmMain->BtnReverse);
            FrmMain->BtnFastReverseClick(FrmMain->BtnFastReverse);
            FrmMain->BtnStopClick(FrmMain->BtnStop);
        });
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        form_testing::ProcessEvents();
    }
    ASSERT_TRUE(duringFill);
    // One clock runs, the one of the click that was waiting.
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->MMTimerReverse->Enabled());
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPlay);
}

TEST_F(Transport, AFrameWithoutSideDataEmptiesTheGpsAndTachoTexts) {
    std::vector<FrameSpec> frames = OneCamera(kStart, 2);
    for (FrameSpec& f : frames)
        f.len2 = 0;
    MakeList({frames});
    TLabel* const texts[] = {FrmMain->LabelGPSdata1, FrmMain->LabelGPSdata4, FrmMain->LabelTACHOdata1,
                             FrmMain->LabelTACHOdata3};
    for (TLabel* text : texts)
        text->SetCaption("of the frame before");
    FrmMain->CameraTitles[0] = "DOCK";
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    for (int tick = 0; tick < 30 && shown.empty(); ++tick)
        Tick();
    ASSERT_FALSE(shown.empty());
    for (TLabel* text : texts)
        EXPECT_EQ(text->Caption(), "") << text->Name();
    // The titles stay as they were.
    EXPECT_EQ(FrmMain->CameraTitles[0], "DOCK");
}

} // namespace
} // namespace engine_tests
