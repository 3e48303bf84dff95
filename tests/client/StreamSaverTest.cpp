// The stream saver alone: which frames the span gate lets through, the files and index files written,
// the limits that roll to a new file, the filler of a finished backup, and a disk that fills up.
#include "client/StreamSaver.h"

#include "formats/QelAvFile.h"
#include "formats/QelNames.h"
#include "platform/core/SysTime.h"
#include "tests/client/SavedFrames.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace {

using Outcome = CStreamSaver::Outcome;
using testing_support::TempDir;

const DWORD kT0 = static_cast<DWORD>(UtcToUnix(2008, 1, 1, 12, 0, 0));

QelAvFrame MakeFrame(DWORD time, std::size_t pictureBytes = 100, DWORD channel = 1, BYTE kind = 0,
                     DWORD eventState = 0, DWORD stamp = 0) {
    QelFrameInfo info;
    info.kind = kind;
    info.channel = channel;
    info.frameTime = time;
    info.subSecond = stamp;
    info.eventState = eventState;
    info.width = 352;
    info.height = 240;
    std::vector<BYTE> picture(pictureBytes);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<BYTE>(i * 7 + time + stamp);
    const std::vector<BYTE> side = {1, 2, 3, 4, 5};
    return QelAvFrame::Make(info, picture, side);
}

using client_tests::ReadAll;

// ---- The span gate ----

struct GateCase {
    const char* name;
    DWORD lowest, highest, endTime;
    BackupSpanList spans;
    std::vector<DWORD> times; // offsets from kT0
    int endsAt;               // index of the first frame refused; -1 none
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.name;
}

class GateTest : public ::testing::TestWithParam<GateCase> {};

TEST_P(GateTest, EndsWhereTheSpanEnds) {
    const GateCase& c = GetParam();
    CBackupGate gate;
    BackupSpanList spans = c.spans;
    for (auto& n : spans) {
        if (n.seq == 0) continue;
        n.start_time += kT0;
        n.end_time += kT0;
    }
    gate.SetRange(c.lowest, c.highest, spans);
    gate.SetEndTime(c.endTime ? kT0 + c.endTime : 0);
    int refused = -1;
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        if (!gate.Pass(kT0 + c.times[i])) {
            refused = static_cast<int>(i);
            break;
        }
    }
    EXPECT_EQ(refused, c.endsAt);
}

std::vector<DWORD> Seconds(DWORD from, DWORD to, int perSecond = 1) {
    std::vector<DWORD> out;
    for (DWORD t = from; t <= to; ++t)
        for (int k = 0; k < perSecond; ++k)
            out.push_back(t);
    return out;
}

std::vector<DWORD> Join(std::vector<DWORD> a, const std::vector<DWORD>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Spans, GateTest,
    ::testing::Values(
        // One recording 0..60, the chosen end at 30: the first frame after second 30 ends it.
        GateCase{"EndBeforeRecordingEnd", 5, 5, 30, {{0, 60, 5}, {}}, Seconds(0, 40, 2), 62},
        // The chosen end after the recording's end: the recording's own end counts.
        GateCase{"RecordingEndsFirst", 5, 5, 100, {{0, 20, 5}, {}}, Seconds(0, 40, 2), 42},
        // No frame falls on the limit: the first frame past it still ends the span.
        GateCase{"GapOverTheLimit", 5, 5, 30, {{0, 60, 5}}, Join(Seconds(0, 29), Seconds(35, 40)), 30},
        // Two recordings: the gate moves on after the first one's last second and ends after the second.
        GateCase{"TwoRecordings",
                 1,
                 2,
                 0,
                 {{0, 10, 1}, {20, 30, 2}, {}},
                 Join(Seconds(0, 10, 3), Seconds(20, 35, 3)),
                 33 + 33},
        // The first recording's end second never comes: 43 frames after the near second move on.
        GateCase{"NearThenMoveOn",
                 1,
                 2,
                 0,
                 {{0, 10, 1}, {20, 30, 2}},
                 Join(Join(Seconds(0, 9), std::vector<DWORD>(43, 20)), Seconds(21, 31)),
                 10 + 43 + 10},
        // Without the move the second recording would never be reached and the span never end.
        GateCase{"NoRangePassesAll", 0, 0, 0, {}, Seconds(0, 100), -1},
        // The list holds only the terminating node: nothing is known, nothing is cut.
        GateCase{"OnlyTerminator", 0, 0, 0, {{}}, Seconds(0, 50), -1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Files ----

class SaverTest : public ::testing::Test {
protected:
    TempDir dir_;
    std::string folder_ = dir_.Path().string();
};

TEST_F(SaverTest, FramesReadBackAsSentWithTheirIndexes) {
    CStreamSaver saver;
    saver.Arm(folder_, 0, 0);
    std::vector<QelAvFrame> sent;
    for (DWORD i = 0; i < 20; ++i)
        sent.push_back(MakeFrame(kT0 + i / 4, 100 + 37 * i, i % 4 + 1, i % 5 == 4 ? 1 : 0, i % 4, i));
    for (const auto& f : sent)
        ASSERT_EQ(saver.Save(f), Outcome::Saved);
    ASSERT_TRUE(saver.Finish(false));

    const std::string path = QelRecordingPath(folder_, kT0);
    ASSERT_EQ(saver.Files(), std::vector<std::string>{path});
    const auto frames = ReadAll(path);
    ASSERT_EQ(frames.size(), sent.size());
    const auto times = ReadQelIndexFile(path + ".tdx");
    const auto offsets = ReadQelIndexFile(path + ".fdx");
    const auto marks = ReadQelIndexFile(path + ".mdx");
    ASSERT_EQ(times.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i].header.fileStartTime, kT0);
        EXPECT_EQ(frames[i].header.frameTime, sent[i].info.frameTime);
        EXPECT_EQ(frames[i].frame.payload, sent[i].payload);
        std::array<BYTE, kQelFrameInfoSize> info{};
        sent[i].info.Encode(info.data());
        EXPECT_EQ(frames[i].frame.info.raw, info);
        EXPECT_EQ(times[i], sent[i].info.frameTime);
        EXPECT_EQ(offsets[i], frames[i].offset);
        EXPECT_EQ(marks[i], QelMarksWord(sent[i].info.kind, sent[i].info.eventState, sent[i].info.channel));
    }
}

TEST_F(SaverTest, MarksWordsOfOddChannels) {
    CStreamSaver saver;
    saver.Arm(folder_, 0, 0);
    ASSERT_EQ(saver.Save(MakeFrame(kT0, 50, 0)), Outcome::Saved);
    ASSERT_EQ(saver.Save(MakeFrame(kT0, 50, 7)), Outcome::Saved);
    ASSERT_EQ(saver.Save(MakeFrame(kT0, 50, 2, 1, 3)), Outcome::Saved);
    ASSERT_TRUE(saver.Finish(false));
    EXPECT_EQ(ReadQelIndexFile(QelRecordingPath(folder_, kT0) + ".mdx"),
              (std::vector<DWORD>{0x00000001, 0x00000001, 0x00010302}));
}

TEST_F(SaverTest, The7200thFrameClosesTheFile) {
    CStreamSaver saver;
    saver.Arm(folder_, 0, 0);
    for (DWORD i = 0; i < kQelFileMaxFrames; ++i)
        ASSERT_EQ(saver.Save(MakeFrame(kT0 + i / 120, 32)), Outcome::Saved);
    EXPECT_FALSE(saver.FileOpen());
    ASSERT_EQ(saver.Files().size(), 1u);
    EXPECT_EQ(ReadQelIndexFile(saver.Files()[0] + ".fdx").size(), kQelFileMaxFrames);

    const DWORD next = kT0 + 61;
    ASSERT_EQ(saver.Save(MakeFrame(next, 32)), Outcome::Saved);
    EXPECT_EQ(saver.FramesInFile(), 1u);
    // Finishing right after a file closed at its limit writes nothing more for it.
    ASSERT_TRUE(saver.Finish(false));
    ASSERT_EQ(saver.Files().size(), 2u);
    EXPECT_EQ(saver.Files()[1], QelRecordingPath(folder_, next));
    EXPECT_EQ(ReadAll(saver.Files()[1]).size(), 1u);
    EXPECT_EQ(ReadAll(saver.Files()[0]).size(), kQelFileMaxFrames);
}

TEST_F(SaverTest, TheFrameThatReachesTheByteLimitIsTheFilesLast) {
    CStreamSaver saver;
    saver.Arm(folder_, 0, 0);
    const QelAvFrame big = MakeFrame(kT0, 100000);
    const DWORD record = static_cast<DWORD>(kFrmHdrSize + big.FrameSize());
    const DWORD needed = (kQelFileMaxBytes + record - 1) / record;
    for (DWORD i = 0; i + 1 < needed; ++i) {
        ASSERT_EQ(saver.Save(MakeFrame(kT0 + i / 30, 100000)), Outcome::Saved);
        ASSERT_TRUE(saver.FileOpen()) << i;
    }
    ASSERT_EQ(saver.Save(MakeFrame(kT0 + 100, 100000)), Outcome::Saved);
    EXPECT_FALSE(saver.FileOpen());
    ASSERT_EQ(saver.Files().size(), 1u);
    EXPECT_GE(std::filesystem::file_size(saver.Files()[0]), kQelFileMaxBytes);
    EXPECT_EQ(ReadQelIndexFile(saver.Files()[0] + ".tdx").size(), needed);
}

TEST_F(SaverTest, FinishWithPadFillsTo2MiBAndReadersStopAtTheFiller) {
    CStreamSaver saver;
    saver.Arm(folder_, 0, 1000);
    // Frames of 1000 bytes each until the file holds exactly 100,000 bytes is not possible with padding;
    // the arithmetic of the filler is checked from wherever the frames end.
    for (DWORD i = 0; i < 30; ++i)
        ASSERT_EQ(saver.Save(MakeFrame(kT0 + i, 3000)), Outcome::Saved);
    const DWORD frameBytes = saver.FileOffset();
    std::vector<int> progress;
    ASSERT_TRUE(saver.Finish(true, [&](int p) { progress.push_back(p); }));
    const std::string path = QelRecordingPath(folder_, kT0);
    const DWORD blocks = (kQelBackupPadBytes - frameBytes + 511) / 512;
    EXPECT_EQ(std::filesystem::file_size(path), frameBytes + blocks * 512u);
    EXPECT_EQ(progress.size(), blocks);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(ReadAll(path).size(), 30u);
    EXPECT_EQ(ReadQelIndexFile(path + ".fdx").size(), 30u);
}

TEST_F(SaverTest, TheGateEndsSavingWithoutAnEmptyFile) {
    CStreamSaver saver;
    saver.Arm(folder_, kT0 + 2, 0);
    saver.SetRange(9, 9, {{kT0, kT0 + 60, 9}, {}});
    for (DWORD t = 0; t <= 2; ++t)
        ASSERT_EQ(saver.Save(MakeFrame(kT0 + t)), Outcome::Saved);
    EXPECT_EQ(saver.Save(MakeFrame(kT0 + 3)), Outcome::SpanEnded);
    ASSERT_TRUE(saver.Finish(true));
    ASSERT_EQ(saver.Files().size(), 1u);
    EXPECT_EQ(ReadQelIndexFile(saver.Files()[0] + ".tdx"), (std::vector<DWORD>{kT0, kT0 + 1, kT0 + 2}));
}

TEST_F(SaverTest, ProgressFollowsTheSavedKilobytes) {
    struct Case {
        DWORD sizeKB;
        int frames;
        int percent;
    };
    // Each frame of 8000 picture bytes is 8,128 bytes stored: 7 KB counted.
    for (const Case c : {Case{0, 3, 0}, Case{70, 5, 50}, Case{70, 10, 100}, Case{70, 20, 100}}) {
        CStreamSaver saver;
        saver.Arm(folder_, 0, c.sizeKB);
        for (int i = 0; i < c.frames; ++i)
            ASSERT_EQ(saver.Save(MakeFrame(kT0, 8000)), Outcome::Saved);
        EXPECT_EQ(saver.Percent(), c.percent) << c.sizeKB << " " << c.frames;
        saver.Finish(false);
    }
}

TEST_F(SaverTest, AFolderThatCannotBeMadeFailsTheSave) {
    const std::string notAFolder = dir_.File("plain");
    std::ofstream(notAFolder) << "x";
    CStreamSaver saver;
    saver.Arm(notAFolder, 0, 0);
    EXPECT_EQ(saver.Save(MakeFrame(kT0)), Outcome::Failed);
    EXPECT_EQ(saver.Failure().step, TSaverFailure::Step::CreateFolder) << saver.Error();
    EXPECT_EQ(saver.Failure().path.rfind(notAFolder + "/", 0), 0u) << saver.Failure().path;
    EXPECT_FALSE(saver.FileOpen());
    EXPECT_TRUE(saver.Finish(false));
    EXPECT_TRUE(saver.Files().empty());
}

// A disk that fills up: the file keeps its whole frames only, and its index names exactly those.
TEST_F(SaverTest, AFullDiskLeavesWholeFramesAndAMatchingIndex) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 50000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CStreamSaver saver;
    saver.Arm(folder_, 0, 0);
    int saved = 0;
    Outcome last = Outcome::Saved;
    for (int i = 0; i < 100 && last == Outcome::Saved; ++i) {
        last = saver.Save(MakeFrame(kT0 + i, 3000));
        if (last == Outcome::Saved) ++saved;
    }
    EXPECT_EQ(last, Outcome::Failed);
    EXPECT_EQ(saver.Failure().step, TSaverFailure::Step::Write) << saver.Error();
    EXPECT_EQ(saver.Failure().path, QelRecordingPath(folder_, kT0));
    EXPECT_EQ(saver.Failure().detail, std::strerror(EFBIG));
    const bool finished = saver.Finish(false);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(finished) << saver.Error();
    const std::string path = QelRecordingPath(folder_, kT0);
    EXPECT_GT(saved, 0);
    EXPECT_EQ(ReadAll(path).size(), static_cast<std::size_t>(saved));
    EXPECT_EQ(ReadQelIndexFile(path + ".fdx").size(), static_cast<std::size_t>(saved));
    EXPECT_LE(std::filesystem::file_size(path), 50000u);
}

} // namespace
