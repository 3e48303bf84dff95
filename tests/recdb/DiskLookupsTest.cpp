// Lookups in the recorder disk's pyrdb: file of the current seq, and the next or previous recording.
#include "recdb/DiskLookups.h"
#include "recdb/QelDbTypes.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace schema = sqlite2::recorder_schema;

// pyrdb with seq 9, 10 and 100: seq 10 recorded only channel 4, seq 100 has an event on channel 1.
class DiskLookups : public ::testing::Test {
protected:
    void SetUp() override {
        sqlite2::Sqlite2Writer w;
        w.CreateTable(schema::AvfileSql());
        Add(w, 9, {5, 5, 5, 0}, {0, 0, 0, 0});
        Add(w, 10, {0, 0, 0, 7}, {0, 0, 0, 0});
        Add(w, 100, {5, 5, 5, 5}, {1, 0, 0, 0});
        w.WriteFile(PyrDbPath(dbRoot));
    }

    static void Add(sqlite2::Sqlite2Writer& w, int seq, std::array<int, 4> counts,
                    std::array<int, 4> events) {
        sqlite2::Row row(schema::AvColumnCount);
        row[schema::AvSeq] = seq;
        row[schema::AvFileName] = "2008/03/20/" + std::to_string(seq) + ".avr";
        for (int c = 0; c < 4; ++c) {
            row[schema::AvCount1 + c] = counts[c];
            row[schema::AvEventType1 + c] = events[c];
        }
        w.Insert("avfile", row);
    }

    NextFileRequest Request(const std::string& entry0, bool next, int mode = smAll, int channel = -1,
                            int camera = 4) {
        NextFileRequest r;
        r.dbRoot = dbRoot;
        r.entry0 = entry0;
        r.next = next;
        r.searchMode = mode;
        r.searchChannel = channel;
        r.selectedCamera = camera;
        return r;
    }

    testing_support::TempDir dir;
    std::string dbRoot = dir.Str();
    std::string avRoot = "/media/avfiles/";
};

TEST_F(DiskLookups, FileOfTheCurrentSeq) {
    EXPECT_EQ(GetDbFilePath(dbRoot, avRoot, "10"), "/media/avfiles/2008/03/20/10.avr");
    EXPECT_EQ(GetDbFilePath(dbRoot, avRoot, "11"), "") << "no row: nothing to play, not the root folder";
    for (const char* hostile : {"", "abc", "10 OR 1=1", "10; DROP TABLE avfile", "1e3"})
        EXPECT_EQ(GetDbFilePath(dbRoot, avRoot, hostile), "") << hostile;
    EXPECT_EQ(GetDbFilePath(dir.File("missing") + "/", avRoot, "10"), "");
}

TEST_F(DiskLookups, SeqsOrderAsNumbers) {
    struct Case {
        const char* entry0;
        bool next;
        int mode, channel, camera;
        bool found;
        std::int64_t seq;
    };
    const Case cases[] = {
        {"9", true, smAll, -1, 4, true, 10},    {"10", true, smAll, -1, 4, true, 100},
        {"100", false, smAll, -1, 4, true, 10}, {"9", false, smAll, -1, 4, false, 0},
        {"9", true, smAll, 1, 3, true, 100}, // channel 1 overrides camera 3 and skips seq 10
        {"9", true, smAll, -1, 3, true, 10}, // camera 3 alone: seq 10 recorded channel 4
        {"9", true, smEvent, -1, 4, true, 100}, {"100", false, smEvent, -1, 4, false, 0},
        {"9", true, smBack, -1, 4, false, 0},   {"9", true, smAll, -1, 9, true, 10}, // camera 9 counts as all
        {"x9", true, smAll, -1, 4, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entry0) + (c.next ? " next" : " previous"));
        const NextFileResult r = FindNextFileInDb(Request(c.entry0, c.next, c.mode, c.channel, c.camera));
        EXPECT_EQ(r.found, c.found);
        if (c.found) {
            EXPECT_EQ(r.seq, c.seq);
        }
    }
}

TEST_F(DiskLookups, NothingFoundMovesTheKnobOnlyForAllChannels) {
    NextFileRequest r = Request("100", true);
    r.forwardPlayback = true;
    EXPECT_EQ(FindNextFileInDb(r).knobPos, 1000);
    r.forwardPlayback = false;
    EXPECT_EQ(FindNextFileInDb(r).knobPos, 0);
    r.searchChannel = 2;
    EXPECT_FALSE(FindNextFileInDb(r).found);
    EXPECT_FALSE(FindNextFileInDb(r).knobPos.has_value());
    EXPECT_FALSE(FindNextFileInDb(Request("9", true)).knobPos.has_value()) << "found: knob untouched";
}

TEST_F(DiskLookups, MissingOrDamagedDatabaseIsNoNextFile) {
    std::filesystem::remove(PyrDbPath(dbRoot));
    EXPECT_FALSE(FindNextFileInDb(Request("9", true)).found);
    EXPECT_FALSE(std::filesystem::exists(PyrDbPath(dbRoot))) << "pyrdb must not be created";
    testing_support::WriteFileBytes(PyrDbPath(dbRoot), std::string(4096, 'x'));
    EXPECT_FALSE(FindNextFileInDb(Request("9", true)).found);
    EXPECT_EQ(GetDbFilePath(dbRoot, avRoot, "9"), "");
}

TEST(ChannelIndex, SearchChannelBeforeCamera) {
    EXPECT_EQ(ChannelIndex(-1, 3), 3);
    EXPECT_EQ(ChannelIndex(1, 3), 0);
    EXPECT_EQ(ChannelIndex(4, 0), 3);
    EXPECT_EQ(ChannelIndex(-1, 4), 4);
    EXPECT_EQ(ChannelIndex(-1, 7), 4);
    EXPECT_EQ(ChannelIndex(9, 1), 4);
}

} // namespace
