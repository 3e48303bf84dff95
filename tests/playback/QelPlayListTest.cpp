// The play list and the chaining of recordings through the disk database pyrdb of a generated store:
// the next and previous file under each search mode and channel, and the reader thread playing a whole
// store through the database, forwards and backwards.
#include "playback/Qelvidfile.h"

#include "tests/playback/ReaderRig.h"
#include "tests/support/TestSupport.h"

#include "formats/QelAvFile.h"
#include "tools/recgen/StoreGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using readerrig::Taken;
using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(PlayList, EntriesAndPositions) {
    TempDir dir;
    ScopedEnv registry("HARBEK_REGISTRY", dir.File("registry.ini").c_str());
    CQelVideoFile reader;
    for (int i : {0, 1, 1999})
        EXPECT_EQ(reader.GetListItem(i), "");
    reader.SetListItem("a", 0);
    reader.SetListItem("b", 1999);
    reader.SetListPos(5);
    EXPECT_EQ(reader.GetListItem(1999), "b");
    EXPECT_EQ(reader.GetListPos(), 1999);
    EXPECT_EQ(reader.GetListItem(0), "a");
    EXPECT_EQ(reader.GetListPos(), 0);
    // Outside the list nothing is written, nothing is read and the position stays.
    reader.SetListItem("x", 2000);
    reader.SetListItem("y", -1);
    EXPECT_EQ(reader.GetListItem(2000), "");
    EXPECT_EQ(reader.GetListItem(-1), "");
    EXPECT_EQ(reader.GetListPos(), 0);
    reader.SetListStart(-1);
    reader.SetListEnd(3);
    reader.ClearList();
    EXPECT_EQ(reader.GetListItem(0), "");
    EXPECT_EQ(reader.GetListItem(1999), "");
    EXPECT_EQ(reader.GetListStart(), -1);
    EXPECT_EQ(reader.GetListEnd(), 3);
}

// Two days of recordings at 8, 12 and 17 o'clock; the 12 o'clock ones carry events: seq 2 and 5.
class DiskDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        recgen::StoreOptions options;
        options.days = 2;
        options.hours = {8, 12, 17};
        options.secondsPerRecording = 4;
        options.stream.framesPerSecond = 2;
        recordings_ = new std::vector<recgen::StoreRecording>(
            recgen::GenerateStore(dir_->Path().string(), options, recgen::RecorderIdentity{}));
    }
    static void TearDownTestSuite() {
        delete recordings_;
        delete dir_;
    }
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", home_.File("registry.ini").c_str());
        homeEnv_ = std::make_unique<ScopedEnv>("HARBEK_HOME", home_.Str().c_str());
        reader_ = std::make_unique<CQelVideoFile>();
    }
    void TearDown() override { reader_->StopReader(); }

    static std::string DbRoot() { return dir_->File("infofiles") + "/"; }
    static std::string AvRoot() { return dir_->File("avfiles") + "/"; }
    static std::string PathOf(int seq) {
        if (seq < 1 || seq > static_cast<int>(recordings_->size())) return {};
        return AvRoot() + (*recordings_)[static_cast<std::size_t>(seq - 1)].fileName;
    }
    // Chaining from `seq` as the minute table sets it up.
    void ChainFrom(int seq, const std::string& dbRoot = DbRoot()) {
        reader_->SetListItem(PathOf(seq), 0);
        reader_->SetListPos(0);
        reader_->SetListEnd(3);
        reader_->SetListStart(-1);
        reader_->SetDbChaining(1, dbRoot, AvRoot(), seq);
    }
    void Filter(int mode, int channel, int camera) {
        reader_->SetSearchFilterSource([=] { return QelSearchFilter{mode, channel, camera}; });
    }

    static TempDir* dir_;
    static std::vector<recgen::StoreRecording>* recordings_;
    TempDir home_;
    std::unique_ptr<ScopedEnv> registry_;
    std::unique_ptr<ScopedEnv> homeEnv_;
    std::unique_ptr<CQelVideoFile> reader_;
};

TempDir* DiskDatabase::dir_ = nullptr;
std::vector<recgen::StoreRecording>* DiskDatabase::recordings_ = nullptr;

TEST_F(DiskDatabase, NextAndPreviousFileUnderEachModeAndChannel) {
    ASSERT_EQ(recordings_->size(), 6u);
    ASSERT_TRUE((*recordings_)[1].HasEvent());
    ASSERT_TRUE((*recordings_)[4].HasEvent());
    ASSERT_NE((*recordings_)[1].eventTypes[1], 0u);
    ASSERT_NE((*recordings_)[4].eventTypes[2], 0u);
    struct Case {
        const char* what;
        bool forward;
        int mode, channel, camera;
        int from;
        int found; // 0: none
    };
    const Case cases[] = {
        {"all, all cameras, forward", true, 1, -1, 4, 1, 2},
        {"all, backward", false, 1, -1, 4, 4, 3},
        {"all, the last has no next", true, 1, -1, 4, 6, 0},
        {"all, the first has no previous", false, 1, -1, 4, 1, 0},
        {"events, forward skips plain files", true, 2, -1, 4, 2, 5},
        {"events, backward skips plain files", false, 2, 2, 4, 5, 2},
        {"events, none after the last", true, 2, -1, 4, 5, 0},
        {"the selected camera when no search channel", true, 1, -1, 2, 3, 4},
        {"back-up mode never chains", true, 3, -1, 4, 1, 0},
        {"an unknown mode never chains", true, 9, -1, 4, 1, 0},
        {"a seq far outside the table", true, 1, -1, 4, 1000000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reader_->StopReader();
        reader_->StartReader(1, c.forward ? 1 : 0, 0); // sets the direction; nothing is open to read
        reader_->StopReader();
        ChainFrom(c.from);
        reader_->SetListItem("previous", 1);
        Filter(c.mode, c.channel, c.camera);
        reader_->SetListEnd(2);
        reader_->SetListStart(0);
        reader_->FindNextFileInDb();
        if (c.found == 0) {
            EXPECT_EQ(reader_->GetListItem(1), "");
            EXPECT_EQ(reader_->GetChainSeq(), c.from);
            EXPECT_EQ(reader_->GetListEnd(), 2);
        } else {
            EXPECT_EQ(reader_->GetListItem(1), PathOf(c.found));
            EXPECT_EQ(reader_->GetChainSeq(), c.found);
            EXPECT_EQ(reader_->GetListEnd(), 3);
            EXPECT_EQ(reader_->GetListStart(), -1);
        }
    }
}

TEST_F(DiskDatabase, NoDatabaseOrABrokenOneMeansNoNextFile) {
    TempDir other;
    testing_support::WriteFileBytes(other.File("pyrdb"), std::string(3000, 'x'));
    for (const std::string& root : {home_.Str(), other.Str(), std::string()}) {
        SCOPED_TRACE(root);
        ChainFrom(1, root);
        reader_->SetListItem("previous", 1);
        reader_->FindNextFileInDb();
        EXPECT_EQ(reader_->GetListItem(1), "");
    }
}

// The pictures of the given recordings, in file order, as the format library reads them.
std::vector<QelRecordedFrame> StoreFrames(const std::vector<std::string>& paths) {
    std::vector<QelRecordedFrame> out;
    for (const std::string& path : paths) {
        QelAvFileReader reader(path);
        QelRecordedFrame frame;
        while (reader.Next(frame))
            if (frame.frame.info.IsVideo()) out.push_back(frame);
    }
    return out;
}

TEST_F(DiskDatabase, TheReaderPlaysTheWholeStoreThroughTheDatabase) {
    struct Case {
        const char* what;
        bool forward;
        int mode, channel;
        int from;
        std::vector<int> files;
    };
    const Case cases[] = {
        {"all files forward", true, 1, -1, 1, {1, 2, 3, 4, 5, 6}},
        {"all files backward", false, 1, -1, 6, {6, 5, 4, 3, 2, 1}},
        {"event files forward", true, 2, -1, 2, {2, 5}},
        {"event files of channel 3 backward", false, 2, 3, 5, {5, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChainFrom(c.from);
        Filter(c.mode, c.channel, 4);
        ASSERT_TRUE(reader_->Open(reader_->GetListItem(0)));
        ASSERT_TRUE(c.forward ? reader_->SeekFirstFrame() : reader_->SeekLastFrame());
        reader_->StartReader(1, c.forward ? 1 : 0, 0);
        std::vector<Taken> video, audio;
        readerrig::DrainToTheEnd(*reader_, video, audio);

        std::vector<std::string> paths;
        for (int seq : c.files)
            paths.push_back(PathOf(seq));
        std::vector<QelRecordedFrame> expected = StoreFrames(paths);
        if (!c.forward) {
            // Backwards each file is read from its end.
            expected.clear();
            for (const std::string& path : paths) {
                auto frames = StoreFrames({path});
                expected.insert(expected.end(), frames.rbegin(), frames.rend());
            }
        }
        std::vector<QelRecordedFrame> wanted;
        for (const auto& f : expected)
            if (c.channel == -1 || f.frame.info.channel == static_cast<DWORD>(c.channel)) wanted.push_back(f);
        // Only the frame the reader stood on when it started is not queued.
        ASSERT_FALSE(video.empty());
        ASSERT_LE(video.size(), wanted.size());
        const std::size_t first = wanted.size() - video.size();
        ASSERT_LE(first, 1u);
        for (std::size_t i = 0; i < video.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& want = wanted[first + i];
            ASSERT_EQ(video[i].time, want.header.frameTime);
            ASSERT_EQ(video[i].channel, want.frame.info.channel);
            const auto p1 = want.frame.Payload1();
            ASSERT_EQ(video[i].payload1, std::vector<BYTE>(p1.begin(), p1.end()));
        }
        EXPECT_EQ(reader_->GetChainSeq(), c.files.back());
        EXPECT_FALSE(reader_->IsReaderRunning());
        int ends = 0;
        for (const Taken& t : video)
            ends += t.lastOfFile;
        // Each file's end reaches the consumer once; only the very last may be lost, when the reader
        // found it after the consumer had taken the last picture.
        EXPECT_LE(ends, static_cast<int>(c.files.size()));
        EXPECT_GE(ends, static_cast<int>(c.files.size()) - 1);
    }
}

TEST_F(DiskDatabase, WithoutTheDatabaseTheReaderStopsAfterTheCurrentFile) {
    TempDir empty;
    ChainFrom(1, empty.Str());
    ASSERT_TRUE(reader_->Open(reader_->GetListItem(0)));
    ASSERT_TRUE(reader_->SeekFirstFrame());
    reader_->StartReader(1, 1, 0);
    std::vector<Taken> video, audio;
    readerrig::DrainToTheEnd(*reader_, video, audio);
    ASSERT_FALSE(video.empty());
    EXPECT_EQ(video.size(), (*recordings_)[0].counts[0] * 4);
    EXPECT_EQ(video.back().lastOfFile, 1);
    EXPECT_EQ(reader_->GetListItem(1), "");
}

} // namespace
