// The recorded-file reader: its registry tuning, its rings, and reading recordings made by the store
// generator and by hand, forwards, backwards, with skipping, by index and by time, and broken ones.
#include "playback/Qelvidfile.h"

#include "tests/playback/RecordingMaker.h"
#include "tests/support/TestSupport.h"

#include "formats/QelAvFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Registry.h"
#include "tools/recgen/StoreGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

// A registry of its own for each test, written through the class library's registry object.
class ReaderTuning : public ::testing::Test {
protected:
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", dir_.File("registry.ini").c_str());
    }
    void Write(const std::function<void(TRegistry&)>& write) {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
        write(registry);
        registry.CloseKey();
    }

    TempDir dir_;
    std::unique_ptr<ScopedEnv> registry_;
};

TEST_F(ReaderTuning, WithoutAKeyTheDefaultsApply) {
    CQelVideoFile reader;
    EXPECT_EQ(reader.GetFramesPerRound(), 15);
    EXPECT_EQ(reader.GetRingCapacity(), 60);
    EXPECT_EQ(reader.GetFileBufSize(), 0x80000);
    EXPECT_EQ(reader.GetRepeat(), 0);
    EXPECT_EQ(reader.VideoRing().size(), 60u);
    EXPECT_EQ(reader.AudioRing().size(), 60u);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.IsReaderRunning());
}

TEST_F(ReaderTuning, ValuesReadOneByOne) {
    struct Case {
        const char* what;
        std::function<void(TRegistry&)> write;
        int framesPerRound;
        int fileBufSize;
        int repeat;
    };
    const Case cases[] = {
        {"READ_SEC alone", [](TRegistry& r) { r.WriteInteger("READ_SEC", 2); }, 30, 0x80000, 0},
        {"all four",
         [](TRegistry& r) {
             r.WriteInteger("1SEC", 30);
             r.WriteInteger("READ_SEC", 2);
             r.WriteInteger("FILEBUFSIZE", 4096);
             r.WriteInteger("REPEAT", 1);
         },
         60, 4096, 1},
        {"a text where a number belongs keeps the default, the rest still reads",
         [](TRegistry& r) {
             r.WriteString("1SEC", "fast");
             r.WriteInteger("REPEAT", 1);
         },
         15, 0x80000, 1},
        {"zero frames would leave the rings without a slot", [](TRegistry& r) { r.WriteInteger("1SEC", 0); },
         15, 0x80000, 0},
        {"negative counts", [](TRegistry& r) { r.WriteInteger("READ_SEC", -3); }, 15, 0x80000, 0},
        {"rings larger than any reader needs",
         [](TRegistry& r) {
             r.WriteInteger("1SEC", 1000);
             r.WriteInteger("READ_SEC", 1000);
         },
         1000, 0x80000, 0},
        {"a buffer of nothing", [](TRegistry& r) { r.WriteInteger("FILEBUFSIZE", 0); }, 15, 0x80000, 0},
        {"a buffer of gigabytes", [](TRegistry& r) { r.WriteInteger("FILEBUFSIZE", 0x7FFFFFFF); }, 15,
         0x80000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            TRegistry registry;
            registry.SetRootKey(HKEY_LOCAL_MACHINE);
            registry.DeleteKey(kReaderRegistryKey);
        }
        Write(c.write);
        CQelVideoFile reader;
        EXPECT_EQ(reader.GetFramesPerRound(), c.framesPerRound);
        EXPECT_EQ(reader.GetRingCapacity(), 4 * c.framesPerRound);
        EXPECT_EQ(reader.VideoRing().size(), static_cast<std::size_t>(4 * c.framesPerRound));
        EXPECT_EQ(reader.GetFileBufSize(), c.fileBufSize);
        EXPECT_EQ(reader.GetRepeat(), c.repeat);
    }
}

TEST_F(ReaderTuning, AKeyOfAnotherRootIsNotTheReaders) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
    registry.WriteInteger("READ_SEC", 4);
    registry.CloseKey();
    CQelVideoFile reader;
    EXPECT_EQ(reader.GetFramesPerRound(), 15);
}

TEST(ReaderRings, StopReaderEmptiesBothRingsAndCloseForgetsTheFile) {
    TempDir dir;
    ScopedEnv registry("HARBEK_REGISTRY", dir.File("registry.ini").c_str());
    CQelVideoFile reader;
    for (auto* ring : {&reader.VideoRing(), &reader.AudioRing()}) {
        for (int i = 0; i < 3; ++i) {
            (*ring)[static_cast<std::size_t>(i)].payload1 = std::make_unique<BYTE[]>(64);
            (*ring)[static_cast<std::size_t>(i)].payload2 = std::make_unique<BYTE[]>(32);
        }
    }
    reader.VideoHead().writeIndex = 3;
    reader.VideoHead().count = 3;
    reader.AudioHead().readIndex = 1;
    reader.AudioHead().writeIndex = 3;
    reader.AudioHead().count = 2;
    EXPECT_FALSE(reader.IsRingHalfFull(reader.VideoHead()));
    reader.VideoHead().count = 30;
    EXPECT_TRUE(reader.IsRingHalfFull(reader.VideoHead()));
    reader.VideoHead().count = 3;

    reader.StopReader();
    for (auto* ring : {&reader.VideoRing(), &reader.AudioRing()})
        for (const QelFrameRecord& record : *ring) {
            EXPECT_EQ(record.payload1, nullptr);
            EXPECT_EQ(record.payload2, nullptr);
        }
    for (QelRingHead* head : {&reader.VideoHead(), &reader.AudioHead()}) {
        EXPECT_EQ(head->writeIndex, 0);
        EXPECT_EQ(head->readIndex, 0);
        EXPECT_EQ(head->count.load(), 0);
    }
    EXPECT_FALSE(reader.IsReaderRunning());
    // Stopping a stopped reader and closing without a file are harmless.
    reader.StopReader();
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.GetIndexCount(), 0);
}

} // namespace

namespace {

using recmaker::FrameSpec;

// One generated store for the whole program: three four-camera recordings with sound and side data,
// and one single-camera recording at the full 30 pictures a second.
class GeneratedStore : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        recgen::StoreOptions options;
        options.days = 1;
        options.hours = {8, 12, 17};
        options.secondsPerRecording = 6;
        options.stream.framesPerSecond = 3;
        recordings_ = new std::vector<recgen::StoreRecording>(
            recgen::GenerateStore(dir_->Path().string(), options, recgen::RecorderIdentity{}));
        recgen::StoreOptions full;
        full.day = 5;
        full.days = 1;
        full.hours = {9};
        full.secondsPerRecording = 3;
        full.stream.cameras = 1;
        full.stream.framesPerSecond = 0;
        full.stream.quality = 20;
        const auto made = recgen::GenerateRecordings(dir_->File("full"), full);
        fullRate_ = new std::string(dir_->File("full/avfiles/" + made.front().fileName));
    }
    static void TearDownTestSuite() {
        delete recordings_;
        delete fullRate_;
        delete dir_;
    }
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", home_.File("registry.ini").c_str());
        homeEnv_ = std::make_unique<ScopedEnv>("HARBEK_HOME", home_.Str().c_str());
    }
    static std::string Recording(std::size_t i) {
        return dir_->File("avfiles/" + (*recordings_)[i].fileName);
    }
    // Every frame of a file as the format library reads it, front to back.
    static std::vector<QelRecordedFrame> Frames(const std::string& path) {
        QelAvFileReader reader(path);
        std::vector<QelRecordedFrame> out;
        QelRecordedFrame frame;
        while (reader.Next(frame))
            out.push_back(frame);
        return out;
    }
    // The current frame of the reader against a frame read by the format library, payloads included.
    static void ExpectCurrentIs(CQelVideoFile& reader, const QelRecordedFrame& expected) {
        EXPECT_EQ(reader.GetFileOffset(), expected.offset);
        EXPECT_EQ(reader.GetFrameTime(), expected.header.frameTime);
        EXPECT_EQ(reader.GetFrameKind(), expected.frame.info.kind);
        EXPECT_EQ(reader.GetFrameChannel(), expected.frame.info.channel);
        EXPECT_EQ(reader.GetFrameAttr(), expected.frame.info.subSecond);
        ASSERT_EQ(reader.GetPayloadLen1(), expected.frame.info.payloadLen1);
        ASSERT_EQ(reader.GetPayloadLen2(), expected.frame.info.payloadLen2);
        const std::size_t padded = expected.frame.payload.size();
        std::vector<BYTE> payload(padded);
        ASSERT_TRUE(reader.ReadPayload(payload.data(), static_cast<int>(padded)));
        EXPECT_EQ(payload, expected.frame.payload);
    }

    static TempDir* dir_;
    static std::vector<recgen::StoreRecording>* recordings_;
    static std::string* fullRate_;
    TempDir home_;
    std::unique_ptr<ScopedEnv> registry_;
    std::unique_ptr<ScopedEnv> homeEnv_;
};

TempDir* GeneratedStore::dir_ = nullptr;
std::vector<recgen::StoreRecording>* GeneratedStore::recordings_ = nullptr;
std::string* GeneratedStore::fullRate_ = nullptr;

TEST_F(GeneratedStore, ForwardStepsGiveEveryFrameInOrderAndHoldAtTheLast) {
    const auto frames = Frames(Recording(0));
    ASSERT_GT(frames.size(), 50u);
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(Recording(0)));
    ASSERT_EQ(reader.GetIndexCount(), static_cast<int>(frames.size()));
    ASSERT_TRUE(reader.SeekFirstFrame());
    ExpectCurrentIs(reader, frames[0]);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.StepNext());
        EXPECT_EQ(reader.GetIndexPos(), static_cast<int>(i));
        EXPECT_EQ(reader.GetStepSign(), 1);
        ExpectCurrentIs(reader, frames[i]);
    }
    ASSERT_TRUE(reader.StepNext());
    EXPECT_EQ(reader.GetIndexPos(), static_cast<int>(frames.size()) - 1);
    ExpectCurrentIs(reader, frames.back());
}

TEST_F(GeneratedStore, BackwardStepsGiveEveryFrameInReverseAndHoldAtTheFirst) {
    const auto frames = Frames(Recording(1));
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(Recording(1)));
    ASSERT_TRUE(reader.SeekLastFrame());
    EXPECT_EQ(reader.GetIndexPos(), static_cast<int>(frames.size()) - 1);
    ExpectCurrentIs(reader, frames.back());
    for (std::size_t i = frames.size() - 1; i-- > 0;) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.StepPrev());
        EXPECT_EQ(reader.GetStepSign(), -1);
        ExpectCurrentIs(reader, frames[i]);
    }
    ASSERT_TRUE(reader.StepPrev());
    EXPECT_EQ(reader.GetIndexPos(), 0);
    ExpectCurrentIs(reader, frames.front());
}

TEST_F(GeneratedStore, EveryFileBufferSizeReadsTheSameFrames) {
    // Too small to hold two frames (straight reads), just large enough, a little more, the default,
    // and larger than the file.
    const auto frames = Frames(Recording(2));
    ASSERT_GT(std::filesystem::file_size(Recording(2)), 300000u) << "the windows must move";
    for (int size : {4096, 0x40040, 0x40041, 300000, 0x80000, 0x2000000}) {
        SCOPED_TRACE(size);
        {
            TRegistry registry;
            registry.SetRootKey(HKEY_LOCAL_MACHINE);
            ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
            registry.WriteInteger("FILEBUFSIZE", size);
            registry.CloseKey();
        }
        CQelVideoFile reader;
        ASSERT_EQ(reader.GetFileBufSize(), size);
        ASSERT_TRUE(reader.Open(Recording(2)));
        ASSERT_TRUE(reader.SeekFirstFrame());
        ExpectCurrentIs(reader, frames.front());
        for (std::size_t i = 1; i < frames.size(); ++i) {
            ASSERT_TRUE(reader.StepNext());
            ExpectCurrentIs(reader, frames[i]);
        }
        for (std::size_t i = frames.size() - 1; i-- > 0;) {
            ASSERT_TRUE(reader.StepPrev());
            ExpectCurrentIs(reader, frames[i]);
        }
        // Jumps both ways across the file.
        for (int n : {static_cast<int>(frames.size()) - 1, 3, static_cast<int>(frames.size()) / 2, 0}) {
            ASSERT_TRUE(reader.SeekIndex(n));
            ExpectCurrentIs(reader, frames[static_cast<std::size_t>(n)]);
        }
    }
}

TEST_F(GeneratedStore, SkippingTakesTheFirstPictureOfEachSecondThenEveryNthAndAllSound) {
    const auto frames = Frames(*fullRate_);
    // Within every whole second after the first: the k-th picture (0-based) is taken when k % skip is 0.
    for (int skip : {1, 2, 4, 8}) {
        for (bool forward : {true, false}) {
            SCOPED_TRACE(testing::Message() << "skip " << skip << (forward ? " forward" : " backward"));
            CQelVideoFile reader;
            ASSERT_TRUE(reader.Open(*fullRate_));
            ASSERT_TRUE(forward ? reader.SeekFirstFrame() : reader.SeekLastFrame());
            const DWORD firstSecond = reader.GetFrameTime();
            std::vector<int> taken;
            for (int guard = 0; guard < 1000; ++guard) {
                const int before = reader.GetIndexPos();
                ASSERT_TRUE(forward ? reader.StepNextSkipping(skip) : reader.StepPrevSkipping(skip));
                if (reader.GetIndexPos() == before) break; // held at the end
                taken.push_back(reader.GetIndexPos());
                if (reader.GetIndexPos() == (forward ? reader.GetIndexCount() - 1 : 0)) break;
            }
            std::vector<int> expected;
            std::map<DWORD, int> ordinal;
            std::vector<int> order(frames.size());
            for (std::size_t i = 0; i < frames.size(); ++i)
                order[i] = static_cast<int>(i);
            if (!forward) std::reverse(order.begin(), order.end());
            for (int i : order) {
                const auto& info = frames[static_cast<std::size_t>(i)].frame.info;
                if (!info.IsVideo()) {
                    if (info.frameTime != firstSecond) expected.push_back(i);
                    continue;
                }
                if (info.frameTime == firstSecond) continue;
                if (ordinal[info.frameTime]++ % skip == 0) expected.push_back(i);
            }
            // Held at the end, the skipping takes the file's last frame whatever its place in its second.
            const int end = forward ? static_cast<int>(frames.size()) - 1 : 0;
            if (expected.empty() || expected.back() != end) expected.push_back(end);
            std::vector<int> takenLater;
            for (int i : taken)
                if (frames[static_cast<std::size_t>(i)].frame.info.frameTime != firstSecond)
                    takenLater.push_back(i);
            EXPECT_EQ(takenLater, expected);
            EXPECT_EQ(ordinal.size(), 2u); // two whole seconds after the first
        }
    }
}

TEST_F(GeneratedStore, SeekIndexClampsToTheFile) {
    const auto frames = Frames(Recording(2));
    const int last = static_cast<int>(frames.size()) - 1;
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(Recording(2)));
    const struct {
        int asked;
        int landed;
    } cases[] = {{-5, 0},      {0, 0},           {1, 1},         {last / 2, last / 2},
                 {last, last}, {last + 1, last}, {1 << 30, last}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        ASSERT_TRUE(reader.SeekIndex(c.asked));
        EXPECT_EQ(reader.GetIndexPos(), c.landed);
        ExpectCurrentIs(reader, frames[static_cast<std::size_t>(c.landed)]);
    }
}

TEST_F(GeneratedStore, SeekByTimeThroughTheTimeIndex) {
    const auto frames = Frames(Recording(0));
    const std::string tdx = Recording(0) + ".tdx";
    const DWORD first = frames.front().header.frameTime;
    const DWORD last = frames.back().header.frameTime;
    int firstOfLastSecond = 0;
    while (frames[static_cast<std::size_t>(firstOfLastSecond)].header.frameTime != last)
        ++firstOfLastSecond;
    CQelVideoFile reader;
    const struct {
        const char* what;
        DWORD time;
        int pos;
    } cases[] = {
        {"the first frame", first, 0},
        {"a second inside", first + 2, -1},
        {"the last second starts at its first frame", last, firstOfLastSecond},
        {"before the start: the start", first - 1, 0},
        {"after the end: the start", last + 1, 0},
        {"far away", 0xFFFFFFFF, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int expected = c.pos;
        if (expected < 0)
            for (expected = 0; frames[static_cast<std::size_t>(expected)].header.frameTime != c.time;)
                ++expected;
        const int pos = reader.FindInIndexFile(tdx, c.time);
        EXPECT_EQ(pos, expected);
        ASSERT_TRUE(reader.Open(Recording(0)));
        ASSERT_TRUE(reader.SeekIndex(pos));
        ExpectCurrentIs(reader, frames[static_cast<std::size_t>(expected)]);
    }
    EXPECT_EQ(reader.FindInIndexFile(dir_->File("no such.tdx"), first), 0);
}

TEST_F(GeneratedStore, WithoutAnIndexOnlyTheEndsCanBeFound) {
    const auto frames = Frames(Recording(0));
    const std::string copy = home_.File("20080101080000");
    std::filesystem::copy_file(Recording(0), copy);
    CQelVideoFile reader;
    EXPECT_FALSE(reader.Open(copy));
    EXPECT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.GetIndexCount(), 0);
    EXPECT_FALSE(reader.SeekIndex(0));
    EXPECT_FALSE(reader.StepNext());
    EXPECT_FALSE(reader.StepPrev());
    EXPECT_FALSE(reader.StepNextSkipping(1));
    ASSERT_TRUE(reader.SeekFirstFrame());
    ExpectCurrentIs(reader, frames.front());
    ASSERT_TRUE(reader.SeekLastFrame());
    ExpectCurrentIs(reader, frames.back());
}

// --- Files made by hand ---

class HandMade : public ::testing::Test {
protected:
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", dir_.File("registry.ini").c_str());
        home_ = std::make_unique<ScopedEnv>("HARBEK_HOME", dir_.File("home").c_str());
    }
    std::string Path(const std::string& name) const { return dir_.File(name); }

    TempDir dir_;
    std::unique_ptr<ScopedEnv> registry_;
    std::unique_ptr<ScopedEnv> home_;
};

TEST_F(HandMade, AMissingOrEmptyIndexFallsBackToItsCopyInTemporary) {
    const auto made = recmaker::Write(Path("20090102030405"), recmaker::Stream(1000, 2, 2, 1, false), 7);
    const std::string copyFolder = dir_.File("home/Temporary");
    std::filesystem::create_directories(copyFolder);
    std::filesystem::rename(made.path + ".fdx", copyFolder + "/20090102030405.fdx");
    for (const bool emptyIndex : {false, true}) {
        SCOPED_TRACE(emptyIndex ? "empty .fdx" : "no .fdx");
        if (emptyIndex) testing_support::WriteFileBytes(made.path + ".fdx", "");
        CQelVideoFile reader;
        ASSERT_TRUE(reader.Open(made.path));
        EXPECT_EQ(reader.GetIndexCount(), 4);
        ASSERT_TRUE(reader.SeekIndex(3));
        EXPECT_EQ(reader.GetFileOffset(), made.offsets[3]);
    }
    std::filesystem::remove(copyFolder + "/20090102030405.fdx");
    CQelVideoFile reader;
    EXPECT_FALSE(reader.Open(made.path));
    EXPECT_TRUE(reader.SeekFirstFrame());
}

TEST_F(HandMade, IndexFilesOfOddSizes) {
    const auto made = recmaker::Write(Path("rec"), recmaker::Stream(1000, 1, 3, 1, false), 1);
    struct Case {
        const char* what;
        std::vector<DWORD> entries;
        std::size_t extra;
        bool loads;
        int count;
    };
    const Case cases[] = {
        {"trailing bytes past whole entries are ignored", made.offsets, 3, true, 3},
        {"the most a recording holds", std::vector<DWORD>(kQelFileMaxFrames, 0), 0, true, 7200},
        {"one entry more than any recording", std::vector<DWORD>(kQelFileMaxFrames + 1, 0), 0, false, 0},
        {"over 512 bytes, read in pieces", std::vector<DWORD>(300, made.offsets[1]), 2, true, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recmaker::WriteIndex(made.path + ".fdx", c.entries, c.extra);
        CQelVideoFile reader;
        reader.Open(made.path);
        // The loader itself: Open would pass over the entries that are not this recording's.
        EXPECT_EQ(reader.LoadIndex(made.path + ".fdx"), c.loads);
        EXPECT_EQ(reader.GetIndexCount(), c.count);
        if (c.loads) {
            ASSERT_TRUE(reader.SeekIndex(c.count - 1));
            EXPECT_EQ(reader.GetFileOffset(), c.entries.back());
        }
    }
}

TEST_F(HandMade, TimesInAGapOrOutsideTheRecordingSeekToItsStart) {
    const std::vector<FrameSpec> frames = {{0, 1, 1000}, {0, 2, 1000}, {1, 1, 1001}, {0, 1, 1001},
                                           {0, 1, 1005}, {0, 2, 1005}, {0, 1, 1006}};
    const auto made = recmaker::Write(Path("gap"), frames, 4);
    CQelVideoFile reader;
    const struct {
        DWORD time;
        int pos;
    } cases[] = {{1000, 0}, {1001, 2}, {1003, 0}, {1004, 0}, {1005, 4},
                 {1006, 6}, {999, 0},  {1007, 0}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(reader.FindInIndexFile(made.path + ".tdx", c.time), c.pos);
    }
    // Only the named file counts: no copy in Temporary/ stands in for a time index.
    std::filesystem::create_directories(dir_.File("home/Temporary"));
    std::filesystem::rename(made.path + ".tdx", dir_.File("home/Temporary/gap.tdx"));
    EXPECT_EQ(reader.FindInIndexFile(made.path + ".tdx", 1005), 0);
}

// Without an index the last frame is searched backwards for its start code. A damaged or hostile file
// can hold start codes in every word after its frames; each must cost its own test, not a read of the
// file around it, or stopping playback would wait for minutes behind the reader thread. Found by fuzzing.
TEST_F(HandMade, AFileFullOfFalseStartCodesFindsItsLastFrameInOnePass) {
    const auto made = recmaker::Write(Path("20090102030405"), recmaker::Stream(1000, 1, 2, 1, false), 5);
    std::filesystem::remove(made.path + ".fdx");
    std::string bytes = testing_support::ReadFileBytes(made.path);
    const std::size_t frames = bytes.size();
    for (int i = 0; i < (1 << 18); ++i)
        bytes += "\x78\x56\x34\x12";
    testing_support::WriteFileBytes(made.path, bytes);

    CQelVideoFile reader;
    EXPECT_FALSE(reader.Open(made.path));
    ASSERT_TRUE(reader.SeekLastFrame());
    EXPECT_EQ(reader.GetFileOffset(), made.offsets[1]);
    EXPECT_EQ(reader.GetFrameTime(), 1000u);
    std::vector<BYTE> payload(Pad32(reader.GetPayloadLen1()));
    ASSERT_TRUE(reader.ReadPayload(payload.data(), static_cast<int>(payload.size())));
    EXPECT_EQ(recmaker::NumberOf(payload.data()), 1u);
    EXPECT_LT(reader.GetFileOffset(), frames);
}

TEST_F(HandMade, AFileThatCannotBeOpenedRaises) {
    CQelVideoFile reader;
    EXPECT_THROW(reader.Open(Path("missing")), EFOpenError);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.SeekFirstFrame());
    EXPECT_FALSE(reader.SeekLastFrame());
    EXPECT_FALSE(reader.ReadFrameHeaders());
}

TEST_F(HandMade, BrokenFramesFailTheirSeekWithoutReadingPastTheFile) {
    // Frame 0 good, frame 1 changed per case, frame 2 good; all payloads 100 bytes (128 padded).
    const auto frames = recmaker::Stream(1000, 1, 3, 1, false);
    struct Case {
        const char* what;
        std::function<void(std::string& bytes, std::vector<DWORD>& offsets)> damage;
        bool frame1Valid;
        bool frame2Valid;
    };
    auto word = [](std::string& bytes, std::size_t at, DWORD value) {
        PutU32(reinterpret_cast<BYTE*>(bytes.data()) + at, value);
    };
    const Case cases[] = {
        {"untouched", [](std::string&, std::vector<DWORD>&) {}, true, true},
        {"wrong start code", [&](std::string& b, std::vector<DWORD>& o) { word(b, o[1], 0x12345679); }, false,
         true},
        {"payload 1 of 112640 bytes fits a frame",
         [&](std::string& b, std::vector<DWORD>& o) {
             word(b, o[1] + 32 + 8, 112640);
             b.resize(o[1] + 96 + 112640 + 128);
         },
         true, true},
        {"payload 1 of 112641 bytes",
         [&](std::string& b, std::vector<DWORD>& o) {
             word(b, o[1] + 32 + 8, 112641);
             b.resize(o[1] + 96 + 112672 + 128);
         },
         false, true},
        {"payload 2 that wraps 32 bits when padded",
         [&](std::string& b, std::vector<DWORD>& o) { word(b, o[1] + 32 + 12, 0xFFFFFFF0); }, false, true},
        {"payloads together larger than a frame",
         [&](std::string& b, std::vector<DWORD>& o) {
             word(b, o[1] + 32 + 8, 100000);
             word(b, o[1] + 32 + 12, 40000);
             b.resize(o[1] + 96 + 150000);
         },
         false, true},
        {"last frame cut inside its payload",
         [&](std::string& b, std::vector<DWORD>& o) { b.resize(o[2] + 96 + 50); }, true, false},
        {"last frame cut inside its header",
         [&](std::string& b, std::vector<DWORD>& o) { b.resize(o[2] + 20); }, true, false},
        {"index pointing past the end",
         [](std::string& b, std::vector<DWORD>& o) { o[2] = static_cast<DWORD>(b.size() + 4096); }, true,
         false},
        {"index pointing inside a payload", [](std::string&, std::vector<DWORD>& o) { o[2] = o[1] + 100; },
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<DWORD> offsets;
        std::string bytes = recmaker::Encode(frames, 3, offsets);
        c.damage(bytes, offsets);
        testing_support::WriteFileBytes(Path("broken"), bytes);
        recmaker::WriteIndex(Path("broken.fdx"), offsets);
        CQelVideoFile reader;
        reader.Open(Path("broken"));
        // The index as it was written, even where it disagrees with the file (Open would build another).
        ASSERT_TRUE(reader.LoadIndex(Path("broken.fdx")));
        ASSERT_TRUE(reader.SeekFirstFrame());
        EXPECT_EQ(reader.StepNext(), c.frame1Valid);
        EXPECT_EQ(reader.GetIndexPos(), 1);
        EXPECT_EQ(reader.StepNext(), c.frame2Valid);
        EXPECT_EQ(reader.GetIndexPos(), 2);
        EXPECT_EQ(reader.SeekLastFrame(), c.frame2Valid);
        EXPECT_EQ(reader.SeekIndex(1), c.frame1Valid);
        if (c.frame1Valid) {
            const auto padded =
                static_cast<int>(Pad32(reader.GetPayloadLen1()) + Pad32(reader.GetPayloadLen2()));
            std::vector<BYTE> payload(static_cast<std::size_t>(padded));
            EXPECT_TRUE(reader.ReadPayload(payload.data(), padded));
        }
    }
}

TEST_F(HandMade, PayloadReadsRefuseBadLengths) {
    const auto made = recmaker::Write(Path("rec"), recmaker::Stream(1000, 1, 2, 1, false), 5);
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(made.path));
    ASSERT_TRUE(reader.SeekLastFrame());
    std::vector<BYTE> buffer(0x20000 + 64);
    for (int length : {0, -1, -0x7FFFFFFF, 0x20001, 128 + 160 + 1}) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(reader.ReadPayload(buffer.data(), length));
    }
    EXPECT_FALSE(reader.ReadPayload(nullptr, 32));
    // The exact rest of the file reads, and holds the frame's stamp.
    ASSERT_TRUE(reader.ReadPayload(buffer.data(), 128 + 64));
    EXPECT_EQ(recmaker::TagOf(buffer.data()), 5u);
    EXPECT_EQ(recmaker::NumberOf(buffer.data()), 1u);
}

TEST_F(HandMade, ScanBackPassesStartCodesInsidePictures) {
    // The last picture carries the start code at an aligned place, followed by nonsense lengths.
    std::vector<DWORD> offsets;
    std::string bytes = recmaker::Encode(recmaker::Stream(1000, 1, 3, 1, false), 9, offsets);
    const std::size_t fake = offsets[2] + 96 + 32;
    PutU32(reinterpret_cast<BYTE*>(bytes.data()) + fake, kFrmHdrStartCode);
    PutU32(reinterpret_cast<BYTE*>(bytes.data()) + fake + 32 + 8, 0x7FFFFFFF);
    testing_support::WriteFileBytes(Path("fake"), bytes);
    CQelVideoFile reader;
    EXPECT_FALSE(reader.Open(Path("fake")));
    ASSERT_TRUE(reader.SeekLastFrame());
    EXPECT_EQ(reader.GetFileOffset(), offsets[2]);
    EXPECT_EQ(reader.GetFrameAttr(), 3u);

    testing_support::WriteFileBytes(Path("nothing"), std::string(5000, '\0'));
    EXPECT_FALSE(reader.Open(Path("nothing")));
    EXPECT_FALSE(reader.SeekLastFrame());
    testing_support::WriteFileBytes(Path("empty"), "");
    EXPECT_FALSE(reader.Open(Path("empty")));
    EXPECT_FALSE(reader.SeekFirstFrame());
    EXPECT_FALSE(reader.SeekLastFrame());
}

TEST_F(HandMade, SkippingFailsOnAChannelOutsideOneToFourButPassesSound) {
    std::vector<FrameSpec> frames = {{0, 1, 1000}, {0, 5, 1000}, {1, 9, 1000}, {0, 0, 1000}, {0, 2, 1000}};
    const auto made = recmaker::Write(Path("rec"), frames, 2);
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(made.path));
    ASSERT_TRUE(reader.SeekFirstFrame());
    EXPECT_FALSE(reader.StepNextSkipping(1)); // channel 5
    EXPECT_EQ(reader.GetIndexPos(), 1);
    EXPECT_TRUE(reader.StepNextSkipping(1)); // sound, whatever its channel
    EXPECT_EQ(reader.GetIndexPos(), 2);
    EXPECT_FALSE(reader.StepNextSkipping(1)); // channel 0
    EXPECT_TRUE(reader.StepNextSkipping(1));
    EXPECT_EQ(reader.GetIndexPos(), 4);
}

TEST_F(HandMade, IndexAccessorsStayInsideTheLoadedEntries) {
    const auto made = recmaker::Write(Path("rec"), recmaker::Stream(1000, 1, 4, 1, false), 2);
    CQelVideoFile reader;
    ASSERT_TRUE(reader.Open(made.path));
    reader.SetIndexCount(100);
    EXPECT_EQ(reader.GetIndexCount(), 4);
    reader.SetIndexCount(-3);
    EXPECT_EQ(reader.GetIndexCount(), 0);
    reader.SetIndexCount(2);
    reader.SetIndexPos(1);
    EXPECT_TRUE(reader.StepNext());
    EXPECT_TRUE(reader.StepNext());
    EXPECT_EQ(reader.GetIndexPos(), 1);
    reader.SetIndexPos(7);
    EXPECT_FALSE(reader.StepNext());
    EXPECT_FALSE(reader.StepPrev());
    reader.SetIndexPos(-4);
    EXPECT_TRUE(reader.StepPrev());
    EXPECT_EQ(reader.GetIndexPos(), 0);
}

} // namespace
