// schedule.dat and holiday.ini without windows: sizes the editor takes and refuses, mode bytes, saves
// that keep the header, the mode cycles, holiday keys and the days a month has.
#include "setup/ScheduleFile.h"
#include "setup/HolidayFile.h"

#include "platform/core/Classes.h"
#include "platform/core/FileUtils.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

std::string RecorderSchedule() {
    std::string s(kScheduleFileSize, '\0');
    s[0] = 2;
    s[1] = 7;
    s[2] = '\xAA';
    s[3] = 1;
    for (std::size_t i = 0; i < 192; ++i)
        s[4 + i] = static_cast<char>(i % 6);
    return s;
}

TEST(ScheduleParseTest, SizesTakenAndRefused) {
    struct Row {
        std::size_t size;
        bool taken;
    };
    const Row rows[] = {{0, true},   {1, true},    {2, false},   {4, false},   {195, false},
                        {196, true}, {197, false}, {392, false}, {4096, false}};
    for (const Row& r : rows) {
        const std::string bytes(r.size, '\x01');
        if (r.taken)
            EXPECT_NO_THROW(ParseScheduleModes(bytes)) << r.size;
        else
            EXPECT_THROW(ParseScheduleModes(bytes), EScheduleFileError) << r.size;
    }
    EXPECT_EQ(ParseScheduleModes(std::string(1, '\x02')), FreshScheduleModes());
}

TEST(ScheduleParseTest, ModeBytesByRowAndHour) {
    std::string s(kScheduleFileSize, '\0');
    s[4 + 0] = 1;           // Monday 0:00
    s[4 + 23] = 5;          // Monday 23:00
    s[4 + 24 * 6 + 12] = 3; // Sunday 12:00
    s[4 + 24 * 7 + 23] = 4; // holiday 23:00, the last byte
    s[4 + 24 * 2 + 5] = 6;  // out of range
    s[4 + 24 * 3 + 5] = '\xFF';
    s[4 + 24 * 4 + 5] = '\x85';
    const ScheduleModes m = ParseScheduleModes(s);
    EXPECT_EQ(m[0][0], 1);
    EXPECT_EQ(m[0][23], 5);
    EXPECT_EQ(m[6][12], 3);
    EXPECT_EQ(m[7][23], 4);
    EXPECT_EQ(m[2][5], 0);
    EXPECT_EQ(m[3][5], 0);
    EXPECT_EQ(m[4][5], 0);
    EXPECT_EQ(m[1][1], 0);
}

class ScheduleFileTest : public ::testing::Test {
protected:
    TempDir dir_;
    std::string path_ = dir_.File("schedule.dat");
};

TEST_F(ScheduleFileTest, MissingFileIsCreatedAsOneByte) {
    ScheduleModes m{};
    std::string error;
    EXPECT_EQ(LoadScheduleFile(path_, m, error), ScheduleLoad::Created);
    EXPECT_EQ(m, FreshScheduleModes());
    EXPECT_EQ(ReadFileBytes(path_), std::string(1, '\x02'));
    // The first save puts the modes after a zero-filled header.
    m[7][0] = 3;
    ASSERT_TRUE(SaveScheduleModes(path_, m));
    const std::string saved = ReadFileBytes(path_);
    ASSERT_EQ(saved.size(), kScheduleFileSize);
    EXPECT_EQ(saved.substr(0, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(saved[4 + 24 * 7], 3);
    EXPECT_EQ(saved[5], 1);
    EXPECT_EQ(LoadScheduleFile(path_, m, error), ScheduleLoad::Loaded);
}

TEST_F(ScheduleFileTest, RoundTripIsByteForByte) {
    const std::string original = RecorderSchedule();
    WriteFileBytes(path_, original);
    ScheduleModes m{};
    std::string error;
    ASSERT_EQ(LoadScheduleFile(path_, m, error), ScheduleLoad::Loaded);
    ASSERT_TRUE(SaveScheduleModes(path_, m));
    EXPECT_EQ(ReadFileBytes(path_), original);
}

TEST_F(ScheduleFileTest, SaveKeepsTheHeaderAndStoresBadModesAsZero) {
    WriteFileBytes(path_, RecorderSchedule());
    ScheduleModes m = FreshScheduleModes();
    m[0][0] = 9;
    m[0][1] = -1;
    m[0][2] = 5;
    ASSERT_TRUE(SaveScheduleModes(path_, m));
    const std::string saved = ReadFileBytes(path_);
    EXPECT_EQ(saved.substr(0, 4), RecorderSchedule().substr(0, 4));
    EXPECT_EQ(saved.substr(4, 4), std::string("\0\0\x05\x01", 4));
}

TEST_F(ScheduleFileTest, WrongSizesAreRefusedAndLeftAlone) {
    for (std::size_t size :
         {std::size_t{3}, std::size_t{100}, std::size_t{195}, std::size_t{197}, std::size_t{100000}}) {
        const std::string bytes(size, '\x02');
        WriteFileBytes(path_, bytes);
        ScheduleModes m{};
        std::string error;
        EXPECT_EQ(LoadScheduleFile(path_, m, error), ScheduleLoad::Refused) << size;
        EXPECT_NE(error.find("schedule.dat"), std::string::npos) << error;
        EXPECT_EQ(m, FreshScheduleModes());
        EXPECT_EQ(ReadFileBytes(path_), bytes);
    }
}

TEST_F(ScheduleFileTest, SavingWithoutAFileWritesNothing) {
    EXPECT_FALSE(SaveScheduleModes(path_, FreshScheduleModes()));
    EXPECT_FALSE(FileExists(path_));
    EXPECT_FALSE(SaveScheduleModes(dir_.File("no/such/schedule.dat"), FreshScheduleModes()));
}

TEST(ScheduleModeTest, TextsAndSteps) {
    struct Text {
        const char* text;
        int mode;
    };
    for (const Text& t : {Text{" ", 0}, Text{"0", 0}, Text{"1", 1}, Text{"5", 5}, Text{"6", 0}, Text{"-1", 0},
                          Text{"", 0}, Text{"x", 0}, Text{"12", 0}})
        EXPECT_EQ(ModeFromText(t.text), t.mode) << t.text;
    EXPECT_EQ(ModeText(0), " ");
    EXPECT_EQ(ModeText(3), "3");
    EXPECT_EQ(ModeText(7), " ");
    // Left button: " ", 5, 4, 3, 2, 1, " ".
    const int down[] = {0, 5, 4, 3, 2, 1, 0};
    for (int i = 0; i + 1 < 7; ++i)
        EXPECT_EQ(StepModeDown(down[i]), down[i + 1]);
    const int up[] = {0, 1, 2, 3, 4, 5, 0};
    for (int i = 0; i + 1 < 7; ++i)
        EXPECT_EQ(StepModeUp(up[i]), up[i + 1]);
}

TEST(HolidayKeyTest, ParsesMonthAndDay) {
    struct Row {
        const char* key;
        bool ok;
        int month;
        int day;
    };
    const Row rows[] = {
        {"54_12_5", true, 12, 5},   {"54_1_25", true, 1, 25}, {"54_5_3", true, 5, 3},
        {"54_12_31", true, 12, 31}, {"54_2_29", true, 2, 29}, {"54_13_1", false, 0, 0},
        {"54_0_1", false, 0, 0},    {"54_1_32", false, 0, 0}, {"54_1_0", false, 0, 0},
        {"53_1_1", false, 0, 0},    {"54_1", false, 0, 0},    {"54_a_1", false, 0, 0},
        {"54_1_1x", false, 0, 0},   {"54__1", false, 0, 0},   {"54_1_", false, 0, 0},
        {"54_1_123", false, 0, 0},  {"", false, 0, 0},        {"54_", false, 0, 0},
        {"54_-1_3", false, 0, 0},
    };
    for (const Row& r : rows) {
        int month = 0;
        int day = 0;
        EXPECT_EQ(ParseHolidayKey(r.key, month, day), r.ok) << r.key;
        if (r.ok) {
            EXPECT_EQ(month, r.month) << r.key;
            EXPECT_EQ(day, r.day) << r.key;
        }
    }
    EXPECT_EQ(HolidayKey(5, 3), "54_5_3");
    EXPECT_EQ(HolidayKey(12, 25), "54_12_25");
}

TEST(HolidayMarksTest, OneMonthsDaysFromTheLists) {
    TStringList sections;
    TStringList keys;
    TStringList values;
    sections.Add("holiday");
    const char* lines[] = {"54_2_29=1", "54_2_28=1", "54_2_30=1", "54_12_31=1", "54_1_1=1",
                           "54_2_3=x",  "54_2_4=2",  "55_2_5=1",  "54_12_5=1"};
    for (const char* line : lines) {
        const std::string l = line;
        keys.Add(l.substr(0, l.find('=')));
        values.Add(l);
    }
    using Marks = std::vector<std::pair<int, int>>;
    EXPECT_EQ(HolidayMarks(sections, keys, values, 2024, 2), (Marks{{29, 1}, {28, 1}, {4, 2}}));
    EXPECT_EQ(HolidayMarks(sections, keys, values, 2023, 2), (Marks{{28, 1}, {4, 2}}));
    EXPECT_EQ(HolidayMarks(sections, keys, values, 1900, 2), (Marks{{28, 1}, {4, 2}}));
    EXPECT_EQ(HolidayMarks(sections, keys, values, 2000, 2), (Marks{{29, 1}, {28, 1}, {4, 2}}));
    EXPECT_EQ(HolidayMarks(sections, keys, values, 2026, 12), (Marks{{31, 1}, {5, 1}}));
    EXPECT_EQ(HolidayMarks(sections, keys, values, 2027, 1), (Marks{{1, 1}}));
    EXPECT_TRUE(HolidayMarks(sections, keys, values, 2024, 3).empty());
    TStringList other;
    other.Add("Holiday");
    EXPECT_TRUE(HolidayMarks(other, keys, values, 2024, 2).empty());
    // Fewer lines than keys: the keys without a line are left out.
    TStringList shortValues;
    shortValues.Add("54_2_29=1");
    EXPECT_EQ(HolidayMarks(sections, keys, shortValues, 2024, 2), (Marks{{29, 1}}));
}

} // namespace
