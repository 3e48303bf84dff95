#include "formats/QelAvFile.h"
#include "formats/QelNames.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysTime.h"
#include "tools/recgen/StoreGenerator.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

recgen::StoreOptions Small() {
    recgen::StoreOptions s;
    s.year = 2008;
    s.month = 2;
    s.day = 28; // across the leap day
    s.days = 3;
    s.hours = {23, 7};
    s.secondsPerRecording = 9;
    s.stream.framesPerSecond = 2;
    return s;
}

TEST(RecordingStore, GeneratesRecordingsWithTheirIndexFiles) {
    testing_support::TempDir dir;
    const auto recs = recgen::GenerateStore(dir.Path().string(), Small(), recgen::RecorderIdentity{});
    ASSERT_EQ(recs.size(), 6u);
    const char* names[] = {"2008022807/20080228070000", "2008022823/20080228230000",
                           "2008022907/20080229070000", "2008022923/20080229230000",
                           "2008030107/20080301070000", "2008030123/20080301230000"};
    for (std::size_t i = 0; i < recs.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const auto& r = recs[i];
        EXPECT_EQ(r.seq, i + 1);
        EXPECT_EQ(r.fileName, names[i]);
        EXPECT_EQ(QelRecordingName(r.startTime), std::string(names[i]).substr(11));
        EXPECT_EQ(r.endTime, r.startTime + 8);
        // Nine seconds of two pictures a second on four cameras.
        EXPECT_EQ(r.counts, (std::array<DWORD, 4>{18, 18, 18, 18}));
        EXPECT_EQ(r.HasEvent(), i % 2 == 1); // the later hour of each day

        const std::string path = dir.File("avfiles/" + r.fileName);
        EXPECT_EQ(r.bytes, fs::file_size(path));
        const auto fdx = ReadQelIndexFile(path + ".fdx");
        const auto tdx = ReadQelIndexFile(path + ".tdx");
        const auto mdx = ReadQelIndexFile(path + ".mdx");
        QelAvFileReader reader(path);
        QelRecordedFrame rec;
        std::size_t n = 0;
        std::array<DWORD, 4> events{};
        while (reader.Next(rec)) {
            ASSERT_LT(n, fdx.size());
            EXPECT_EQ(fdx[n], rec.offset);
            EXPECT_EQ(tdx[n], rec.frame.info.frameTime);
            EXPECT_EQ(mdx[n],
                      QelMarksWord(rec.frame.info.kind, rec.frame.info.eventState, rec.frame.info.channel));
            EXPECT_EQ(rec.header.fileStartTime, r.startTime);
            if (rec.frame.info.IsVideo() && rec.frame.info.eventState) ++events[rec.frame.info.channel - 1];
            ++n;
        }
        EXPECT_EQ(n, fdx.size());
        EXPECT_EQ(n, 72u + 9u); // and one sound frame a second
        EXPECT_EQ(events, r.eventTypes);
    }
    for (const char* f : {"config.ini", "schedule.dat", "holiday.ini", "info.ini", "qeldbfile_hdd.db",
                          "qeldbfile_cf.db", "qeldbfile_sd.db", "loglist.db", "infofiles/pyrdb"})
        EXPECT_TRUE(fs::is_regular_file(dir.File(f))) << f;
}

TEST(RecordingStore, ScanFindsWhatWasGenerated) {
    testing_support::TempDir dir;
    const auto made = recgen::GenerateRecordings(dir.Path().string(), Small());
    // Things a scan must pass over: a stray file, a recording whose index is gone, a file named like
    // no time.
    testing_support::WriteFileBytes(dir.File("avfiles/2008022807/notes.txt"), "x");
    testing_support::WriteFileBytes(dir.File("avfiles/2008022807/20080228079999"), "x");
    fs::create_directories(dir.File("avfiles/2008030200"));
    testing_support::WriteFileBytes(dir.File("avfiles/2008030200/20080302000000"), "no index");
    const auto scanned = recgen::ScanRecordings(dir.Path().string());
    ASSERT_EQ(scanned.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(scanned[i].seq, made[i].seq);
        EXPECT_EQ(scanned[i].fileName, made[i].fileName);
        EXPECT_EQ(scanned[i].startTime, made[i].startTime);
        EXPECT_EQ(scanned[i].endTime, made[i].endTime);
        EXPECT_EQ(scanned[i].counts, made[i].counts);
        EXPECT_EQ(scanned[i].eventTypes, made[i].eventTypes);
        EXPECT_EQ(scanned[i].bytes, made[i].bytes);
    }
    EXPECT_TRUE(recgen::ScanRecordings(dir.File("nothing-here")).empty());
}

TEST(RecordingStore, RefusesImpossibleSpans) {
    testing_support::TempDir dir;
    recgen::StoreOptions s = Small();
    s.days = 0;
    EXPECT_THROW(recgen::GenerateRecordings(dir.Path().string(), s), EInvalidArgument);
    s = Small();
    s.hours = {24};
    EXPECT_THROW(recgen::GenerateRecordings(dir.Path().string(), s), EInvalidArgument);
    s = Small();
    s.secondsPerRecording = 0;
    EXPECT_THROW(recgen::GenerateRecordings(dir.Path().string(), s), EInvalidArgument);
    s = Small();
    s.stream.cameras = 2;
    EXPECT_THROW(recgen::GenerateRecordings(dir.Path().string(), s), EInvalidArgument);
}

} // namespace
