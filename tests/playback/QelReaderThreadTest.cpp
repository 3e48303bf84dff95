// The reader thread and its rings against hand-made recordings: every frame exactly once and in order
// across files in both directions, the per-wake-up and half-full limits, sound repeats, the channel
// filter, the flags, the ends of the play list, broken and missing files, and starting and stopping.
#include "playback/Qelvidfile.h"

#include "tests/playback/ReaderRig.h"
#include "tests/playback/RecordingMaker.h"
#include "tests/support/TestSupport.h"

#include "platform/core/Registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using readerrig::Taken;
using recmaker::FrameSpec;
using testing_support::ScopedEnv;
using testing_support::TempDir;

class ReaderThread : public ::testing::Test {
protected:
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", dir_.File("registry.ini").c_str());
        home_ = std::make_unique<ScopedEnv>("HARBEK_HOME", dir_.File("home").c_str());
        reader_ = std::make_unique<CQelVideoFile>();
    }
    void TearDown() override {
        reader_->StopReader();
        reader_.reset();
    }
    // Files with tags 1, 2, ... in play-list entries 0, 1, ...; the list spans them all.
    void MakeList(const std::vector<std::vector<FrameSpec>>& files) {
        made_.clear();
        for (std::size_t i = 0; i < files.size(); ++i) {
            made_.push_back(recmaker::Write(dir_.File("rec" + std::to_string(i)), files[i], DWORD(i + 1)));
            reader_->SetListItem(made_.back().path, static_cast<int>(i));
        }
        reader_->SetListStart(0);
        reader_->SetListEnd(static_cast<int>(files.size()));
    }
    // Opens play-list entry `entry` at its first (forward) or last frame and starts reading.
    void StartAt(int entry, bool forward, int skip = 1) {
        ASSERT_TRUE(reader_->Open(reader_->GetListItem(entry)));
        ASSERT_TRUE(forward ? reader_->SeekFirstFrame() : reader_->SeekLastFrame());
        reader_->StartReader(skip, forward ? 1 : 0, 0);
    }
    void Drain() { readerrig::DrainToTheEnd(*reader_, video_, audio_); }

    TempDir dir_;
    std::unique_ptr<ScopedEnv> registry_;
    std::unique_ptr<ScopedEnv> home_;
    std::unique_ptr<CQelVideoFile> reader_;
    std::vector<recmaker::Made> made_;
    std::vector<Taken> video_;
    std::vector<Taken> audio_;
};

// (tag, number) of every frame of a kind, in play order, leaving out the frame the reader starts on.
std::vector<std::pair<DWORD, DWORD>> Expected(const std::vector<recmaker::Made>& made, bool video,
                                              bool forward) {
    std::vector<std::pair<DWORD, DWORD>> out;
    for (std::size_t f = 0; f < made.size(); ++f)
        for (std::size_t n = 0; n < made[f].frames.size(); ++n)
            if ((made[f].frames[n].kind == 0) == video) out.push_back({DWORD(f + 1), DWORD(n)});
    if (!forward) std::reverse(out.begin(), out.end());
    return out;
}

std::vector<std::pair<DWORD, DWORD>> Got(const std::vector<Taken>& taken) {
    std::vector<std::pair<DWORD, DWORD>> out;
    for (const Taken& t : taken)
        out.push_back({t.tag, t.number});
    return out;
}

TEST_F(ReaderThread, ThousandsOfFramesForwardAcrossFilesEachExactlyOnce) {
    // Files 1 and 2 follow each other; 3 and 4 come after gaps.
    MakeList({recmaker::Stream(1000, 30, 12, 4, true), recmaker::Stream(1030, 30, 12, 4, true),
              recmaker::Stream(1100, 30, 12, 4, true), recmaker::Stream(5000, 30, 12, 4, true)});
    StartAt(0, true);
    Drain();
    auto video = Expected(made_, true, true);
    auto audio = Expected(made_, false, true);
    audio.erase(audio.begin()); // the frame the reader stood on when it started
    ASSERT_EQ(video.size(), 4u * 30 * 48);
    EXPECT_EQ(Got(video_), video);
    EXPECT_EQ(Got(audio_), audio);
    EXPECT_FALSE(reader_->IsReaderRunning());
    // The last picture of each file carries the end; the first frame of a file after a gap the jump.
    std::vector<DWORD> ends;
    for (const Taken& t : video_)
        if (t.lastOfFile) {
            ends.push_back(t.tag);
            EXPECT_EQ(t.indexPos + 1, t.indexCount);
        }
    EXPECT_EQ(ends, (std::vector<DWORD>{1, 2, 3, 4}));
    std::vector<DWORD> jumps;
    for (const Taken& t : audio_)
        if (t.timeJump) {
            jumps.push_back(t.tag);
            EXPECT_EQ(t.number, 0u);
        }
    for (const Taken& t : video_)
        EXPECT_EQ(t.timeJump, 0) << t.tag << "/" << t.number;
    EXPECT_EQ(jumps, (std::vector<DWORD>{3, 4}));
    for (const Taken& t : video_)
        ASSERT_EQ(t.payload1, recmaker::Payload(t.tag, t.number, 100));
}

TEST_F(ReaderThread, BackwardAcrossFilesEveryPictureAndOnlyTheNewestSound) {
    MakeList({recmaker::Stream(1000, 10, 6, 4, true), recmaker::Stream(1010, 10, 6, 4, true),
              recmaker::Stream(1020, 10, 6, 4, true)});
    StartAt(2, false);
    Drain();
    auto video = Expected(made_, true, false);
    video.erase(video.begin()); // the last picture of the last file, where the reader stood
    EXPECT_EQ(Got(video_), video);
    // Going back, each sound frame is older than the one queued before, so only the first is kept.
    ASSERT_EQ(audio_.size(), 1u);
    EXPECT_EQ(audio_[0].tag, 3u);
    EXPECT_EQ(audio_[0].time, 1029u);
    // Every file's start is seen once, though the frame that starts each file is a sound frame: on the
    // next picture taken, and for the first file on the last picture queued (unless already taken).
    int ends = 0;
    for (const Taken& t : video_)
        ends += t.lastOfFile;
    EXPECT_LE(ends, 3);
    EXPECT_GE(ends, 2);
    for (std::size_t i = 1; i + 1 < video_.size(); ++i)
        if (video_[i].lastOfFile) EXPECT_NE(video_[i].tag, video_[i - 1].tag) << i;
    EXPECT_EQ(reader_->GetListPos(), 0);
}

TEST_F(ReaderThread, EachWakeUpAddsAtMostARoundAndNoneOnceHalfFull) {
    MakeList({recmaker::Stream(1000, 20, 10, 1, false)});
    StartAt(0, true);
    QelRingHead& head = reader_->VideoHead();
    // A time-out alone never reads.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(head.count.load(), 0);
    const struct {
        int consume;
        int expected;
    } steps[] = {{0, 16}, {0, 32}, {0, 32}, {3, 45}, {0, 45}, {20, 41}, {12, 45}};
    std::vector<Taken> video, audio;
    for (const auto& step : steps) {
        for (int i = 0; i < step.consume; ++i) {
            video.push_back(readerrig::Take(*reader_->OldestRecord(head, reader_->VideoRing()), true));
            reader_->ReleaseOldest(head, reader_->VideoRing());
        }
        reader_->WakeReader();
        EXPECT_EQ(readerrig::WaitForCount(head, step.expected), step.expected);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(head.count.load(), step.expected);
        EXPECT_LE(head.count.load(), 3 * reader_->GetFramesPerRound());
    }
    readerrig::TakeQueued(*reader_, video, audio);
    for (std::size_t i = 0; i < video.size(); ++i)
        EXPECT_EQ(video[i].number, i + 1);
    EXPECT_TRUE(audio.empty());
}

TEST_F(ReaderThread, TuningReadAgainLaterDoesNotOutgrowTheRings) {
    // The main window reads the tuning again after the rings were made at construction.
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
        registry.WriteInteger("READ_SEC", 4);
        registry.CloseKey();
    }
    reader_->LoadRegistrySettings();
    EXPECT_EQ(reader_->GetFramesPerRound(), 60);
    EXPECT_EQ(reader_->GetRingCapacity(), 60);
    MakeList({recmaker::Stream(1000, 20, 10, 1, false)});
    StartAt(0, true);
    QelRingHead& head = reader_->VideoHead();
    for (int expected : {16, 32}) {
        reader_->WakeReader();
        EXPECT_EQ(readerrig::WaitForCount(head, expected), expected);
    }
    for (int i = 0; i < 5; ++i) {
        reader_->WakeReader();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(head.count.load(), 32);
}

TEST_F(ReaderThread, SoundAtTheSameTimeIsKeptOnlyWhileShort) {
    const std::vector<FrameSpec> frames = {
        {0, 1, 10},                 // where the reader stands
        {1, 1, 10, 0, 100},         // queued
        {1, 1, 10, 0, 3839},        // same second, short: queued
        {1, 1, 10, 0, 3840},        // same second, a whole block: dropped
        {1, 1, 9, 0, 100},          // older: dropped
        {0, 1, 10},                 // a picture is never dropped by its time
        {1, 1, 11, 0, 3840},        // newer: queued
        {1, 1, 11, 0, 5000},        // same again: dropped
        {1, 1, 0xFFFFFFFF, 0, 100}, // a negative time is older than any
        {0, 1, 12},
    };
    MakeList({frames});
    StartAt(0, true);
    Drain();
    std::vector<DWORD> numbers;
    for (const Taken& t : audio_)
        numbers.push_back(t.number);
    EXPECT_EQ(numbers, (std::vector<DWORD>{1, 2, 6}));
    ASSERT_EQ(video_.size(), 2u);
    EXPECT_EQ(video_[0].number, 5u);
    EXPECT_EQ(video_[1].number, 9u);
}

TEST_F(ReaderThread, AChannelFilterKeepsOneChannelOfPicturesAndSound) {
    std::vector<FrameSpec> frames = recmaker::Stream(1000, 5, 4, 4, true);
    for (int s = 0; s < 5; ++s)
        frames.push_back({1, 2, DWORD(1005 + s), 0, 160});
    struct Case {
        int searchChannel;
        std::map<DWORD, int> pictures; // per channel
        int sounds;
    };
    const Case cases[] = {
        {2, {{2, 20}}, 5},
        {-1, {{1, 20}, {2, 20}, {3, 20}, {4, 20}}, 9}, // sound: the first frame is where the reader stands
        {7, {{1, 20}, {2, 20}, {3, 20}, {4, 20}}, 9},  // no such channel: all of them
    };
    MakeList({frames});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.searchChannel);
        reader_->SetSearchFilterSource([&c] { return QelSearchFilter{1, c.searchChannel, 4}; });
        video_.clear();
        audio_.clear();
        StartAt(0, true);
        Drain();
        std::map<DWORD, int> pictures;
        for (const Taken& t : video_)
            ++pictures[t.channel];
        EXPECT_EQ(pictures, c.pictures);
        EXPECT_EQ(static_cast<int>(audio_.size()), c.sounds);
        for (const Taken& t : audio_)
            if (c.searchChannel == 2) EXPECT_EQ(t.channel, 2u);
    }
}

TEST_F(ReaderThread, TheListBoundsEndPlayback) {
    MakeList({recmaker::Stream(1000, 2, 2, 1, false), recmaker::Stream(1002, 2, 2, 1, false),
              recmaker::Stream(1004, 2, 2, 1, false), recmaker::Stream(1006, 2, 2, 1, false)});
    struct Case {
        const char* what;
        int start, end, from;
        bool forward;
        std::vector<DWORD> files;
        int listPos;
    };
    const Case cases[] = {
        {"forward stops at the end bound, which is exclusive", 0, 2, 0, true, {1, 2}, 1},
        {"forward from the middle", 0, 4, 2, true, {3, 4}, 3},
        {"backward stops at the start bound, which is inclusive", 1, 4, 3, false, {4, 3, 2}, 1},
        {"a list of one file", 0, 1, 0, true, {1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reader_->SetListStart(c.start);
        reader_->SetListEnd(c.end);
        video_.clear();
        StartAt(c.from, c.forward);
        Drain();
        std::vector<DWORD> files;
        for (const Taken& t : video_)
            if (files.empty() || files.back() != t.tag) files.push_back(t.tag);
        EXPECT_EQ(files, c.files);
        EXPECT_EQ(reader_->GetListPos(), c.listPos);
    }
}

TEST_F(ReaderThread, AMissingOrBrokenNextFileStopsAfterTheCurrentOne) {
    MakeList({recmaker::Stream(1000, 3, 2, 1, false), recmaker::Stream(1003, 3, 2, 1, false)});
    const std::string noIndex = dir_.File("noindex");
    testing_support::WriteFileBytes(noIndex, testing_support::ReadFileBytes(made_[1].path));
    const std::string unreadable = dir_.File("folder");
    std::filesystem::create_directories(unreadable);
    for (const std::string& next : {std::string(), dir_.File("gone"), noIndex, unreadable}) {
        SCOPED_TRACE(next);
        reader_->SetListItem(next, 1);
        video_.clear();
        StartAt(0, true);
        Drain();
        ASSERT_EQ(video_.size(), 5u);
        EXPECT_EQ(video_.back().number, 5u);
        EXPECT_EQ(video_.back().lastOfFile, 1);
    }
}

TEST_F(ReaderThread, ANextFileWithABrokenFirstFrameIsReadFromItsSecond) {
    MakeList({recmaker::Stream(1000, 3, 2, 1, false), recmaker::Stream(1003, 3, 2, 1, false)});
    std::string bytes = testing_support::ReadFileBytes(made_[1].path);
    PutU32(reinterpret_cast<BYTE*>(bytes.data()), 0);
    testing_support::WriteFileBytes(made_[1].path, bytes);
    StartAt(0, true);
    Drain();
    std::vector<std::pair<DWORD, DWORD>> expected;
    for (DWORD n = 1; n < 6; ++n)
        expected.push_back({1, n});
    for (DWORD n = 1; n < 6; ++n)
        expected.push_back({2, n});
    EXPECT_EQ(Got(video_), expected);
}

TEST_F(ReaderThread, NothingToReadStopsAtOnce) {
    // No file at all, an empty list, and a file whose every frame is broken.
    reader_->StartReader(1, 1, 0);
    Drain();
    EXPECT_TRUE(video_.empty());
    std::vector<DWORD> offsets;
    std::string bytes = recmaker::Encode(recmaker::Stream(1000, 2, 5, 1, false), 1, offsets);
    for (DWORD o : offsets)
        PutU32(reinterpret_cast<BYTE*>(bytes.data()) + o, 0xDEADBEEF);
    testing_support::WriteFileBytes(dir_.File("broken"), bytes);
    recmaker::WriteIndex(dir_.File("broken.fdx"), offsets);
    // Its index holds no frame of it, and none is found in it.
    EXPECT_FALSE(reader_->Open(dir_.File("broken")));
    reader_->SetListEnd(1);
    reader_->StartReader(1, 1, 0);
    Drain();
    reader_->StartReader(1, 0, 0);
    Drain();
    EXPECT_TRUE(video_.empty());
    EXPECT_TRUE(audio_.empty());
}

TEST_F(ReaderThread, SpeedsSkipPicturesInsideEachSecond) {
    MakeList({recmaker::Stream(1000, 6, 30, 1, true)});
    for (int skip : {1, 2, 4, 8}) {
        SCOPED_TRACE(skip);
        video_.clear();
        audio_.clear();
        StartAt(0, true, skip);
        EXPECT_EQ(reader_->GetSkipFactor(), skip);
        Drain();
        std::map<DWORD, int> perSecond;
        for (const Taken& t : video_)
            ++perSecond[t.time];
        // Whole seconds in the middle: 30 pictures, the first and every skip-th after it.
        for (DWORD second = 1001; second < 1005; ++second)
            EXPECT_EQ(perSecond[second], (30 + skip - 1) / skip);
        EXPECT_EQ(audio_.size(), 5u); // the first is where the reader stood
        EXPECT_EQ(video_.back().number, made_[0].frames.size() - 1);
    }
}

TEST_F(ReaderThread, StartAndStopOverAndOverLeaveNothingBehind) {
    MakeList({recmaker::Stream(1000, 60, 10, 4, true)});
    ASSERT_TRUE(reader_->Open(made_[0].path));
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(reader_->SeekIndex(static_cast<int>(random() % 2000)));
        reader_->StartReader(1 << (random() % 4), static_cast<int>(random() % 2), i);
        EXPECT_EQ(reader_->GetStartParam(), i);
        for (int w = static_cast<int>(random() % 4); w > 0; --w) {
            reader_->WakeReader();
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
        }
        if (i % 3 == 0) reader_->StartReader(1, 1, i); // a start on a running reader
        reader_->StopReader();
        EXPECT_FALSE(reader_->IsReaderRunning());
        for (QelRingHead* head : {&reader_->VideoHead(), &reader_->AudioHead()}) {
            EXPECT_EQ(head->count.load(), 0);
            EXPECT_EQ(head->writeIndex, 0);
            EXPECT_EQ(head->readIndex, 0);
        }
        for (auto* ring : {&reader_->VideoRing(), &reader_->AudioRing()})
            for (const QelFrameRecord& r : *ring)
                ASSERT_EQ(r.payload1, nullptr);
    }
}

TEST_F(ReaderThread, StopWhileTheReaderWaitsOnFullRings) {
    MakeList({recmaker::Stream(1000, 60, 10, 1, false)});
    StartAt(0, true);
    for (int i = 1; i <= 2; ++i) {
        reader_->WakeReader();
        EXPECT_EQ(readerrig::WaitForCount(reader_->VideoHead(), 16 * i), 16 * i);
    }
    reader_->WakeReader();
    EXPECT_TRUE(reader_->IsRingHalfFull(reader_->VideoHead()));
    EXPECT_TRUE(reader_->IsReaderRunning());
    reader_->StopReader();
    EXPECT_FALSE(reader_->IsReaderRunning());
    EXPECT_EQ(reader_->VideoHead().count.load(), 0);
    // The consumer's wake-ups after a stop go nowhere.
    reader_->WakeReader();
}

TEST_F(ReaderThread, AConsumerOnItsOwnThreadGetsEveryFrameOnce) {
    // The frame clock's pattern: wake, take what is there, now and then nothing for a while.
    MakeList({recmaker::Stream(1000, 40, 15, 4, true), recmaker::Stream(1040, 40, 15, 4, true)});
    StartAt(0, true);
    std::vector<Taken> video, audio;
    std::thread consumer([&] {
        std::mt19937 random(3);
        for (int i = 0; i < 200000; ++i) {
            const bool stopped = !reader_->IsReaderRunning();
            readerrig::TakeQueued(*reader_, video, audio);
            if (stopped) return;
            reader_->WakeReader();
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 50));
        }
    });
    consumer.join();
    EXPECT_FALSE(reader_->IsReaderRunning());
    EXPECT_EQ(Got(video), Expected(made_, true, true));
    auto expectedAudio = Expected(made_, false, true);
    expectedAudio.erase(expectedAudio.begin());
    EXPECT_EQ(Got(audio), expectedAudio);
}

} // namespace
