// Playback across the files of a play list: the end of a file in both directions, the end of the list
// with and without repeat, missing and broken files, an empty list, First and Last, the slider, and the
// clock's plain rules.
#include "tests/playback/EngineRig.h"

#include "client/PlaybackClock.h"
#include "controls/BmButton.h"
#include "playback/Qelvidfile.h"
#include "tools/recgen/StoreGenerator.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FormTesting.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace engine_tests {
namespace {

using client_tests::TSeenBox;
using recmaker::FrameSpec;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00

class Files : public EngineRig {};

// The tags of the files shown, each once in the order they came.
std::vector<DWORD> TagRuns(const std::vector<Shown>& shown) {
    std::vector<DWORD> tags;
    for (const Shown& s : shown)
        if (tags.empty() || tags.back() != s.tag) tags.push_back(s.tag);
    return tags;
}

TEST_F(Files, ForwardPlayFollowsTheListAndRestsAtItsEnd) {
    MakeList({OneCamera(kStart, 2), OneCamera(kStart + 2, 2), OneCamera(kStart + 4, 2)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    const int ticks = TicksUntilPaused(1000);
    ASSERT_LT(ticks, 1000) << "playback never ended";
    EXPECT_EQ(TagRuns(shown), (std::vector<DWORD>{1, 2, 3}));
    // Every frame of the later files; the first file from its second frame (the reader steps first).
    EXPECT_EQ(NumbersOf(1).size(), 59u);
    EXPECT_EQ(NumbersOf(2).size(), 60u);
    EXPECT_EQ(NumbersOf(3).size(), 60u);
    EXPECT_EQ(FrmMain->PlayListPos, 2);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyPause);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_EQ(frmFileList->lbFileList->ItemIndex(), -1); // the panel lists nothing here
    // The transport stays usable: Stop returns to the first frame of the last file.
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:04 2008\n");
}

TEST_F(Files, ReversePlayFollowsTheListBackToItsStart) {
    MakeList({OneCamera(kStart, 2), OneCamera(kStart + 2, 2)});
    FrmMain->PlayListPos = 1;
    FrmMain->OpenPlaybackFile(made[1].path);
    FrmMain->CurrentIndexPos = 59;
    FrmMain->BtnReverseClick(FrmMain->BtnReverse);
    const int ticks = TicksUntilPaused(1000, false);
    ASSERT_LT(ticks, 1000) << "playback never ended";
    EXPECT_EQ(TagRuns(shown), (std::vector<DWORD>{2, 1}));
    EXPECT_EQ(NumbersOf(1).size(), 60u);
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
}

TEST_F(Files, RepeatStartsTheListAgain) {
    MakeList({OneCamera(kStart, 1), OneCamera(kStart + 1, 1)});
    FrmMain->RepeatPlay = 1;
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(200);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    const std::vector<DWORD> runs = TagRuns(shown);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(std::vector<DWORD>(runs.begin(), runs.begin() + 4), (std::vector<DWORD>{1, 2, 1, 2}));
    FrmMain->RepeatPlay = 0;
}

TEST_F(Files, AMissingNextFileEndsPlaybackOnTheFileBefore) {
    MakeList({OneCamera(kStart, 1), OneCamera(kStart + 1, 1), OneCamera(kStart + 2, 1)});
    DeleteFile(made[1].path);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    const int ticks = TicksUntilPaused(500);
    ASSERT_LT(ticks, 500) << "playback never ended";
    EXPECT_EQ(TagRuns(shown), (std::vector<DWORD>{1}));
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], (TSeenBox{FrmMain->LoadLangString(59886),
                                    FrmMain->LoadLangString(59880) + "\n" + made[1].path}));
}

TEST_F(Files, BrokenFramesArePassedOverAndAFileThatCannotBeOpenedIsRefused) {
    MakeList({OneCamera(kStart, 2), OneCamera(kStart + 2, 1)});
    // Frames 10 to 19 of the first file lose their start code.
    {
        std::string bytes = testing_support::ReadFileBytes(made[0].path);
        for (int n = 10; n < 20; ++n)
            bytes[made[0].offsets[static_cast<std::size_t>(n)]] = 0;
        testing_support::WriteFileBytes(made[0].path, bytes);
    }
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(1000), 1000);
    const std::vector<DWORD> first = NumbersOf(1);
    EXPECT_EQ(first.size(), 49u);
    EXPECT_TRUE(std::none_of(first.begin(), first.end(), [](DWORD n) { return n >= 10 && n < 20; }));
    EXPECT_EQ(NumbersOf(2).size(), 30u);

    // A name that is no file: the box, nothing open, the slider off.
    FrmMain->OpenPlaybackFile(HomeFile("nothing-here"));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->CurrentIndexCount, 1);
    EXPECT_FALSE(FrmMain->SliderSearch->Enabled());
    EXPECT_EQ(Boxes().back(), (TSeenBox{FrmMain->LoadLangString(59886), FrmMain->LoadLangString(59866)}));
    const std::size_t boxes = Boxes().size();
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(Boxes().size(), boxes);

    // Garbage without an index opens, but there is nothing to position on.
    testing_support::WriteFileBytes(HomeFile("garbage"), std::string(5000, '\x42'));
    FrmMain->OpenPlaybackFile(HomeFile("garbage"));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_FALSE(FrmMain->SliderSearch->Enabled());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
}

TEST_F(Files, AListFileRemovedBeforePlayIsReportedAndPlaybackStaysUsable) {
    MakeList({OneCamera(kStart, 1)});
    DeleteFile(made[0].path);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], (TSeenBox{FrmMain->LoadLangString(59886), FrmMain->LoadLangString(59866)}));
    // Written again, the same button plays it.
    made[0] = recmaker::Write(made[0].path, OneCamera(kStart, 1), 1);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    Ticks(10);
    EXPECT_FALSE(shown.empty());
}

TEST_F(Files, AnEmptyListPlaysNothingAndHangsNothing) {
    // Nothing opened: every button returns at once.
    using Handler = void (TFrmMain::*)(TObject*);
    const Handler handlers[] = {&TFrmMain::BtnPlayClick,  &TFrmMain::BtnReverseClick,
                                &TFrmMain::BtnPauseClick, &TFrmMain::BtnStopClick,
                                &TFrmMain::BtnNextClick,  &TFrmMain::BtnPrevClick,
                                &TFrmMain::BtnFirstClick, &TFrmMain::BtnLastClick};
    for (Handler h : handlers)
        (FrmMain->*h)(nullptr);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000); // Last came last
    EXPECT_TRUE(shown.empty());

    // A file open but the list emptied: the handlers end quietly and leave the transport stopped.
    MakeList({OneCamera(kStart, 1)});
    FrmMain->VideoReader->SetListEnd(0);
    for (Handler h : handlers)
        (FrmMain->*h)(nullptr);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->MMTimerReverse->Enabled());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Files, NextAtTheLastFrameCrossesIntoTheNextFile) {
    MakeList({OneCamera(kStart, 1), OneCamera(kStart + 1, 1)});
    // Paused: Last moves without starting the reader.
    FrmMain->PlayPaused = 1;
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 29);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    shown.clear();
    FrmMain->BtnNextClick(FrmMain->BtnNext);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().tag, 2u);
    EXPECT_EQ(shown.back().number, 0u);
    Tick();
    EXPECT_EQ(FrmMain->PlayListPos, 1);
}

TEST_F(Files, LastTwiceWhilePausedReachesTheEndOfTheNextFile) {
    MakeList({OneCamera(kStart, 1), OneCamera(kStart + 1, 2), OneCamera(kStart + 3, 1)});
    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 29);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:00 2008\n");
    FrmMain->PlayPaused = 1;
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->PlayListPos, 1);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 59);
    EXPECT_EQ(FrmMain->CurrentIndexCount, 60);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:02 2008\n");
    EXPECT_EQ(FrmMain->LastTransportKey, kKeyLast);
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());

    // First twice: the start of this file, then the start of the one before.
    FrmMain->BtnFirstClick(FrmMain->BtnFirst);
    EXPECT_EQ(FrmMain->PlayListPos, 1);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    FrmMain->BtnFirstClick(FrmMain->BtnFirst);
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:00 2008\n");
    // Before the first file there is nothing: it stays.
    FrmMain->BtnFirstClick(FrmMain->BtnFirst);
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
}

TEST_F(Files, LastDuringForwardPlayGoesOnPlaying) {
    MakeList({OneCamera(kStart, 2), OneCamera(kStart + 2, 2)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(5);
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    // The last frame comes once more when the clock reaches its slot, then the next file.
    shown.clear();
    Ticks(70);
    EXPECT_EQ(TagRuns(shown), (std::vector<DWORD>{1, 2}));
}

struct KnobCase {
    int knob;
    int index; // of 120 frames
};

TEST_F(Files, SliderReleaseMovesToTheFrameOfTheKnob) {
    const KnobCase cases[] = {{0, 0}, {500, 59}, {1000, 119}, {999, 118}};
    testing_support::FakeTick tick(1000, 50);
    MakeList({OneCamera(kStart, 4)});
    for (const KnobCase& c : cases) {
        SCOPED_TRACE(c.knob);
        FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
        EXPECT_EQ(FrmMain->SliderDragging, 1);
        FrmMain->SliderSearch->SetKnobPos(c.knob);
        FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
        EXPECT_EQ(FrmMain->SliderDragging, 0);
        EXPECT_TRUE(FrmMain->Enabled());
        EXPECT_EQ(FrmMain->CurrentIndexPos, c.index);
        EXPECT_EQ(FrmMain->VideoReader->GetIndexPos(), c.index);
        EXPECT_EQ(FrmMain->ClockSecond, static_cast<int>(kStart + c.index / 30));
        EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    }
}

TEST_F(Files, SliderDragFollowsTheMouseWithinTheTrack) {
    MakeList({OneCamera(kStart, 4)});
    const int width = FrmMain->SliderSearch->Width();
    FrmMain->SliderSearchMouseMove(FrmMain->SliderSearch, {}, width / 2, 5);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0); // not pressed
    FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    const std::pair<int, int> moves[] = {{width / 2, width / 2 * 1000 / width}, {-40, 0}, {width + 40, 1000}};
    for (const auto& [x, knob] : moves) {
        FrmMain->SliderSearchMouseMove(FrmMain->SliderSearch, {}, x, 5);
        EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), knob) << x;
    }
}

TEST_F(Files, SliderReleaseDuringFastForwardRestartsThereAtTheSameSpeed) {
    // Small steps: the release's moment passes soon, the rings' limit only after thousands of looks.
    testing_support::FakeTick tick(1000, 5);
    MakeList({OneCamera(kStart, 10)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay);
    Ticks(5);
    FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    FrmMain->SliderSearch->SetKnobPos(500);
    FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    EXPECT_EQ(FrmMain->PlaySpeed, 2);
    EXPECT_EQ(FrmMain->PlayState, kPlayFastForward);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_EQ(FrmMain->VideoReader->GetSkipFactor(), 2);
    shown.clear();
    Ticks(20);
    ASSERT_FALSE(shown.empty());
    EXPECT_GE(shown.front().time, kStart + 4);
    EXPECT_LE(shown.front().time, kStart + 5);
}

TEST_F(Files, SliderOfARecordingWithoutIndexIsOff) {
    MakeList({OneCamera(kStart, 1)});
    for (const char* ext : {".fdx", ".tdx", ".mdx"})
        DeleteFile(made[0].path + ext);
    FrmMain->OpenPlaybackFile(made[0].path);
    EXPECT_FALSE(FrmMain->SliderSearch->Enabled());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 5);
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_EQ(FrmMain->SliderDragging, 0);
}

TEST_F(Files, AChosenFolderBecomesThePlayListAndPlaysThrough) {
    const std::string folder = HomeFile("2008010109");
    ForceDirectories(folder);
    const char* names[] = {"20080101090000", "20080101090002", "20080101090004"};
    for (int i = 0; i < 3; ++i)
        recmaker::Write(folder + "/" + names[i], OneCamera(kStart + 2 * i, 2), DWORD(i + 1));
    testing_support::WriteFileBytes(folder + "/notes.txt", "not a recording");
    form_testing::ScopedFolderAnswer answer(folder);
    // The local look that a link's end leaves: the four buttons the recorder's transport shares are off.
    FrmMain->ShowPlaybackControls(true);
    FrmMain->OpenLocalPlayback();
    for (TBmButton* button : {FrmMain->BtnPlay, FrmMain->BtnPause, FrmMain->BtnStop, FrmMain->BtnNext})
        EXPECT_TRUE(button->Enabled()) << button->Name();
    ASSERT_EQ(answer.Asked().size(), 1u);
    // Backups are played here: the chooser starts where they go (no videos folder named: home), never
    // in the hidden program folder.
    EXPECT_EQ(answer.Asked()[0].Directory, std::string(std::getenv("HOME")));
    EXPECT_EQ(FrmMain->FileListCount, 3);
    EXPECT_EQ(FrmMain->VideoReader->GetListEnd(), 3);
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_EQ(frmFileList->lbFileList->ItemIndex(), 0);
    EXPECT_EQ(FrmMain->FileListShown, 1);
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:00:00 2008\n");
    EXPECT_TRUE(FrmMain->Enabled());
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(1000), 1000);
    EXPECT_EQ(TagRuns(shown), (std::vector<DWORD>{1, 2, 3}));
    EXPECT_EQ(frmFileList->lbFileList->ItemIndex(), 2);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Files, AFolderWithoutRecordingsOrACancelledChoicePlaysNothing) {
    const std::string empty = HomeFile("empty");
    ForceDirectories(empty);
    {
        form_testing::ScopedFolderAnswer answer(empty);
        FrmMain->OpenLocalPlayback();
    }
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, 59841)}));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_TRUE(FrmMain->Enabled());
    seen_.clear();
    FrmMain->SetEnabled(false);
    {
        form_testing::ScopedFolderAnswer cancel("");
        FrmMain->OpenLocalPlayback();
        EXPECT_EQ(cancel.Asked().size(), 1u);
        // The chooser starts where the last choice was made.
        EXPECT_EQ(cancel.Asked()[0].Directory, empty);
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(Files, DatabaseModeChainsThroughTheDiskDatabaseToItsEnd) {
    recgen::StoreOptions options;
    options.days = 1;
    options.hours = {8, 12, 17};
    options.secondsPerRecording = 3;
    options.stream.framesPerSecond = 5;
    options.stream.cameras = 1;
    testing_support::TempDir disk;
    const std::vector<recgen::StoreRecording> recordings =
        recgen::GenerateStore(disk.Path().string(), options, recgen::RecorderIdentity{});
    ASSERT_EQ(recordings.size(), 3u);
    FrmMain->DiskDbRoot = disk.File("infofiles") + "/";
    FrmMain->DiskAvRoot = disk.File("avfiles") + "/";
    FrmMain->SetLocalDbMode(1);
    // As the minute table leaves it: the first recording's seq in entry 0, the bounds of chaining.
    CQelVideoFile& reader = *FrmMain->VideoReader;
    reader.SetListItem(std::to_string(recordings[0].seq), 0);
    reader.SetListEnd(3);
    reader.SetListStart(-1);
    FrmMain->PlayListPos = 0;
    const std::string first = FrmMain->GetDbFilePath();
    EXPECT_EQ(first, FrmMain->DiskAvRoot + recordings[0].fileName);
    FrmMain->OpenPlaybackFile(first);
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    EXPECT_EQ(reader.GetChainMode(), 1);
    {
        // A wait pumps meanwhile (a connect, the map's check): the end of the database is the program's
        // own, not a press, and is taken.
        const CActivities::TWaiting waiting(FrmMain->Activities, TActivity::LocalTask);
        ASSERT_LT(TicksUntilPaused(3000), 3000) << "playback never ended";
    }
    // Pictures of every recording, in order, each within its own span.
    std::vector<DWORD> visited;
    for (const Shown& shownFrame : shown) {
        const auto it =
            std::find_if(recordings.begin(), recordings.end(), [&](const recgen::StoreRecording& r) {
                return shownFrame.time >= r.startTime && shownFrame.time <= r.endTime;
            });
        ASSERT_NE(it, recordings.end()) << shownFrame.time;
        if (visited.empty() || visited.back() != it->seq) visited.push_back(it->seq);
    }
    EXPECT_EQ(visited, (std::vector<DWORD>{recordings[0].seq, recordings[1].seq, recordings[2].seq}));
    EXPECT_EQ(FrmMain->DbPlayEntry, std::to_string(recordings[2].seq));
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    // Stop opens the recording of entry 0 again: the last one.
    FrmMain->BtnStopClick(FrmMain->BtnStop);
    EXPECT_EQ(FrmMain->CurrentIndexPos, 0);
    std::string text;
    FrmMain->FrameTimeToText(recordings[2].startTime, text);
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), text);
    FrmMain->SetLocalDbMode(0);
}

// ---- The clock's plain rules ----

TEST(PlaybackClock, FastSpeedsCycle) {
    const std::pair<int, int> steps[] = {{1, 2}, {2, 4}, {4, 8}, {8, 1}, {3, 3}, {0, 0}, {16, 16}};
    for (const auto& [from, to] : steps)
        EXPECT_EQ(NextPlaySpeed(from), to) << from;
}

struct SecondCase {
    bool forward;
    int latch, fps, slot;
    bool changes;
    int newSlot, newSecond;
};

TEST(PlaybackClock, SlotsTurnIntoSeconds) {
    const SecondCase cases[] = {
        {true, 1, 30, 30, false, 30, 100}, {true, 1, 30, 31, true, 1, 101},  {true, 2, 30, 32, true, 0, 101},
        {true, 4, 25, 29, false, 29, 100}, {true, 4, 25, 30, true, 0, 101},  {true, 8, 25, 26, true, 0, 101},
        {true, 8, 25, 25, false, 25, 100}, {false, 1, 30, 1, false, 1, 100}, {false, 1, 30, 0, true, 30, 99},
        {false, 2, 30, 0, false, 0, 100},  {false, 2, 30, -2, true, 30, 99}, {false, 4, 25, -1, true, 29, 99},
        {false, 8, 25, -8, true, 25, 99},
    };
    for (const SecondCase& c : cases) {
        ClockPosition clock{100, c.slot};
        int latch = c.latch;
        const bool changed = c.forward ? ForwardSecondChange(clock, latch, c.fps, 8)
                                       : ReverseSecondChange(clock, latch, c.fps, 8);
        SCOPED_TRACE(testing::Message() << c.forward << " latch " << c.latch << " slot " << c.slot);
        EXPECT_EQ(changed, c.changes);
        EXPECT_EQ(clock.slot, c.newSlot);
        EXPECT_EQ(clock.second, c.newSecond);
        EXPECT_EQ(latch, c.changes ? 8 : c.latch);
    }
}

TEST(PlaybackClock, KnobAndIndexPositions) {
    const std::tuple<int, int, int> knobs[] = {{0, 100, 0},       {50, 100, 500}, {99, 100, 990},
                                               {100, 100, 1000},  {5, 0, 0},      {-3, 10, 0},
                                               {7200, 7200, 1000}};
    for (const auto& [pos, count, knob] : knobs)
        EXPECT_EQ(KnobOfIndex(pos, count), knob) << pos << "/" << count;
    const std::tuple<int, int, int> indexes[] = {{0, 120, 0},  {1000, 120, 119}, {500, 120, 59},
                                                 {1000, 1, 0}, {1000, 0, 0},     {2000, 120, 119},
                                                 {-5, 120, 0}, {999, 7200, 7191}};
    for (const auto& [knob, count, index] : indexes)
        EXPECT_EQ(IndexOfKnob(knob, count), index) << knob << "/" << count;
}

} // namespace
} // namespace engine_tests
