// The transport standing still: the pictures of the position First, Last, Stop and the slider move to,
// each step's next picture, the ends of playback the program reaches by itself while a wait pumps, and
// a disk that gives the reader nothing.
#include "tests/playback/EngineRig.h"

#include "client/LinkWait.h"
#include "playback/Qelvidfile.h"

#include "platform/vcl/FormTesting.h"

#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace engine_tests {
namespace {

namespace fs = std::filesystem;
using client_tests::TSeenBox;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00

// Four cameras at 30 pictures a second for `seconds`, no sound: frame n is camera n % 4 + 1 of second
// n / 120.
std::vector<recmaker::FrameSpec> FourCameras(int seconds) {
    return recmaker::Stream(kStart, seconds, 30, 4, false);
}

class Standing : public EngineRig {
protected:
    // The picture each camera's screen got last, by frame number; -1 for none yet.
    std::array<long, 4> OnScreens() const {
        std::array<long, 4> numbers{-1, -1, -1, -1};
        for (const Shown& s : shown)
            numbers[s.channel - 1] = s.number;
        return numbers;
    }

    // Runs `fire` from the message loop, inside whatever waits then, once `ready` holds.
    static void WhenReady(std::function<bool()> ready, std::function<void()> fire) {
        form_testing::RunLater([ready, fire] {
            if (ready())
                fire();
            else
                WhenReady(ready, fire);
        });
    }
};

struct MoveCase {
    const char* control;
    std::function<void()> press;
    std::array<DWORD, 4> numbers; // cameras 1 to 4
    const char* time;
};

TEST_F(Standing, AMoveWhilePausedShowsEveryCameraAtTheNewPosition) {
    const auto slider = [](int knob) {
        return [knob] {
            // The release waits a moment on the tick.
            testing_support::FakeTick tick(1000, 5);
            FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
            FrmMain->SliderSearch->SetKnobPos(knob);
            FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
        };
    };
    const MoveCase cases[] = {
        {"First",
         [] { FrmMain->BtnFirstClick(FrmMain->BtnFirst); },
         {0, 1, 2, 3},
         "Tue Jan 01 09:00:00 2008\n"},
        {"Last",
         [] { FrmMain->BtnLastClick(FrmMain->BtnLast); },
         {476, 477, 478, 479},
         "Tue Jan 01 09:00:03 2008\n"},
        {"Stop", [] { FrmMain->BtnStopClick(FrmMain->BtnStop); }, {0, 1, 2, 3}, "Tue Jan 01 09:00:00 2008\n"},
        // The knob's 500 is frame 239, camera 4's last of the second second.
        {"slider", slider(500), {236, 237, 238, 239}, "Tue Jan 01 09:00:01 2008\n"},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.control);
        MakeList({FourCameras(4)});
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        Ticks(40);
        FrmMain->BtnPauseClick(FrmMain->BtnPause);
        shown.clear();
        c.press();
        ASSERT_EQ(shown.size(), 4u);
        for (const Shown& s : shown)
            EXPECT_EQ(s.number, c.numbers[s.channel - 1]) << "camera " << s.channel;
        EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), c.time);
        EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    }
}

TEST_F(Standing, EveryStepShowsAPictureNotOnItsScreenYet) {
    MakeList({FourCameras(4)});
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    ASSERT_EQ(OnScreens(), (std::array<long, 4>{0, 1, 2, 3}));
    const struct {
        bool next;
        DWORD number;
    } steps[] = {{true, 4}, {true, 5},  {true, 6},  {true, 7},  {true, 8},
                 {true, 9}, {false, 5}, {false, 4}, {false, 3}, {true, 7}};
    for (const auto& step : steps) {
        const std::size_t before = shown.size();
        step.next ? FrmMain->BtnNextClick(FrmMain->BtnNext) : FrmMain->BtnPrevClick(FrmMain->BtnPrev);
        ASSERT_EQ(shown.size(), before + 1) << (step.next ? "NEXT" : "PREV");
        EXPECT_EQ(shown.back().number, step.number) << (step.next ? "NEXT" : "PREV");
    }
}

TEST_F(Standing, TheEndsPlaybackComesToAreTakenWhileAWaitPumps) {
    for (const bool copying : {false, true}) {
        SCOPED_TRACE(copying ? "a copy running into the end" : "the end of the play list");
        MakeList({OneCamera(kStart, 1)});
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        testing_support::TempDir target;
        form_testing::ScopedFolderAnswer answer(target.Path().string());
        if (copying) FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
        ASSERT_EQ(FrmMain->StreamCopying, copying ? 1 : 0);
        {
            // A wait pumps meanwhile, as a connect to a recorder that does not answer does.
            const CActivities::TWaiting waiting(FrmMain->Activities, TActivity::LocalTask);
            // Pressed inside it, REC STOP would run its folder chooser nested there: refused.
            FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
            EXPECT_EQ(FrmMain->StreamCopying, copying ? 1 : 0);
            ASSERT_LT(TicksUntilPaused(200), 200) << "the end was not taken";
            // A press is.
            FrmMain->BtnPlayClick(FrmMain->BtnPlay);
            EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
        }
        EXPECT_EQ(FrmMain->LastTransportKey, kKeyPause);
        EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
        EXPECT_FALSE(FrmMain->Activities.Running(TActivity::Sound));
        EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
        EXPECT_EQ(FrmMain->StreamCopying, 0);
        std::size_t moved = 0;
        for (const auto& e : fs::recursive_directory_iterator(target.Path()))
            moved += e.is_regular_file() && !e.path().has_extension();
        EXPECT_EQ(moved, copying ? 1u : 0u) << "the copy's recording in the chosen folder";
    }
}

TEST_F(Standing, ASliderReleasedInsideAWaitEndsTheDragPausedAtTheKnob) {
    MakeList({FourCameras(4)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(10);
    FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    FrmMain->SliderSearch->SetKnobPos(1000);
    shown.clear();
    {
        const CActivities::TWaiting waiting(FrmMain->Activities, TActivity::LocalTask);
        FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    }
    EXPECT_EQ(FrmMain->SliderDragging, 0);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPause);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 479);
    EXPECT_EQ(OnScreens(), (std::array<long, 4>{476, 477, 478, 479}));
    // Play goes on from there.
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
}

// A thread of this process waits inside open(): the reader's, on a pipe nobody writes to.
bool AThreadWaitsToOpen() {
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/self/task", ec)) {
        std::ifstream call(task.path() / "syscall");
        long number = -1;
        if (call >> number && number == SYS_openat) return true;
    }
    return false;
}

// Lets the reader's open of the pipe return: a writer comes and goes.
void LetThePipeOpen(const std::string& pipe) {
    const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
}

TEST_F(Standing, APlayWaitingOnADiskThatGivesNothingStopsAndSaysSo) {
    // The second recording's disk gives nothing: its open waits, as on a disk that does not answer.
    MakeList({recmaker::Stream(kStart, 1, 20, 1, false), OneCamera(kStart + 1, 1)});
    const std::string pipe = made[1].path;
    for (const char* ext : {"", ".fdx", ".tdx", ".mdx"})
        fs::remove(pipe + ext);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    testing_support::FakeTick tick(1000, 0);
    bool held = false;
    // Not held within ten seconds: the time passes anyway, and the test fails rather than hang.
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto heldOrLate = [&] { return AThreadWaitsToOpen() || std::chrono::steady_clock::now() > giveUp; };
    WhenReady(heldOrLate, [&] {
        held = AThreadWaitsToOpen();
        tick.Advance(60000);
    });
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_TRUE(held);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59886, 60600)}));
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::Sound));
    // The held reader is left to its thread; a new one has the play list.
    ASSERT_EQ(FrmMain->RetiredReaders.size(), 1u);
    EXPECT_EQ(FrmMain->VideoReader->GetListEnd(), 2);
    EXPECT_EQ(FrmMain->VideoReader->GetListItem(1), pipe);
    LetThePipeOpen(pipe);
    CQelVideoFile& left = *FrmMain->RetiredReaders.front();
    EXPECT_TRUE(PumpReal([&] { return left.StopReader(0); })) << "the left reader's thread never ended";

    // The power button while Play waits on the pipe again: the program ends within the reader's limit.
    seen_.clear();
    std::chrono::steady_clock::duration took{};
    giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    WhenReady(heldOrLate, [&] {
        const auto start = std::chrono::steady_clock::now();
        FrmMain->BtnPowerClick(FrmMain->BtnPower);
        took = std::chrono::steady_clock::now() - start;
    });
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_LT(took, std::chrono::seconds(5));
    ASSERT_EQ(FrmMain->RetiredReaders.size(), 2u);
    LetThePipeOpen(pipe);
    CQelVideoFile& second = *FrmMain->RetiredReaders.back();
    EXPECT_TRUE(PumpReal([&] { return second.StopReader(0); })) << "the left reader's thread never ended";
}

} // namespace
} // namespace engine_tests
