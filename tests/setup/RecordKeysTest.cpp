// The recording page's keys in config.ini: what is read and how, what is written and what deleted, and
// that every other byte of the file stays as the recorder sent it.
#include "setup/RecordSettings.h"

#include "platform/core/Classes.h"
#include "platform/core/IniFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

// Reads the file as the setup menu does: section names, then the last section's keys and lines.
RecordPageSettings LoadFrom(const std::string& path) {
    TIniFile ini(path);
    TStringList sections;
    TStringList keys;
    TStringList values;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        ini.ReadSection(sections.Strings(i), &keys);
        ini.ReadSectionValues(sections.Strings(i), &values);
    }
    RecordPageSettings s;
    LoadRecordKeys(sections, keys, values, s);
    return s;
}

class RecordKeysTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text) {
        WriteFileBytes(path_, text);
        return path_;
    }
    TempDir dir_;
    std::string path_ = dir_.File("config.ini");
};

struct LoadCase {
    const char* name;
    const char* lines;
    std::function<void(RecordPageSettings&)> expect; // turns the defaults into what should load
};

const LoadCase kLoadCases[] = {
    {"empty", "", [](RecordPageSettings&) {}},
    {"quality_out_of_range_keeps_default", "8_1_1=7\r\n12_1_1=-1\r\n", [](RecordPageSettings&) {}},
    {"quality_in_range", "8_1_1=0\r\n12_5_4=1\r\n",
     [](RecordPageSettings& s) {
         s.Groups[0].ManualQuality[0] = 0;
         s.Groups[4].EventQuality[3] = 1;
     }},
    {"rate_kept_unchecked", "55_1_1=99\r\n56_2_2=-4\r\n69_3_3=0\r\n70_4_4=15\r\n",
     [](RecordPageSettings& s) {
         s.Groups[0].ManualHddRate[0] = 99;
         s.Groups[1].EventHddRate[1] = -4;
         s.Groups[2].ManualCfRate[2] = 0;
         s.Groups[3].EventCfRate[3] = 15;
     }},
    {"flags_any_number_is_on", "41_3_2=0\r\n42_3_2=5\r\n43_1_4=-1\r\n15_2_1=2\r\n19_5_4=1\r\n",
     [](RecordPageSettings& s) {
         s.Groups[2].ManualRecord[1] = 0;
         s.Groups[2].ManualNetwork[1] = 1;
         s.Groups[0].EventRecord[3] = 1;
         s.Groups[1].Motion[0] = 1;
         s.Groups[4].AlarmInAlarmOut[3] = 1;
     }},
    {"group_keys_take_channel_one_only", "6_2_1=0\r\n6_3_2=0\r\n10_2_1=0\r\n9_4_1=1\r\n38_4_3=1\r\n",
     [](RecordPageSettings& s) {
         s.Groups[1].Resolution = 0;
         s.Groups[1].EventResolution = 0;
         s.Groups[3].ManualVoice = 1;
     }},
    {"pre_record_from_any_channel", "13_2_3=4\r\n", [](RecordPageSettings& s) { s.Groups[1].PreRecord = 4; }},
    {"pre_record_last_in_key_order", "13_2_4=2\r\n13_2_1=5\r\n",
     [](RecordPageSettings& s) { s.Groups[1].PreRecord = 5; }},
    {"page_switches", "5_1_1=1\r\n2_1_1=0\r\n57_1_1=3\r\n60_1_1=2\r\n",
     [](RecordPageSettings& s) {
         s.ScheduleOn = 1;
         s.Overwrite = 0;
         s.Storage = 1;
         s.AutoBackup = 2;
     }},
    {"duration_kept", "14_1_2=4\r\n14_1_3=9\r\n",
     [](RecordPageSettings& s) {
         s.Groups[0].Duration[1] = 4;
         s.Groups[0].Duration[2] = 9;
     }},
    {"not_numbers_skipped", "55_1_1=fast\r\n41_1_1=\r\n8_1_1=2x\r\n14_1_1=3\r\n",
     [](RecordPageSettings& s) { s.Groups[0].Duration[0] = 3; }},
    {"names_compare_exactly", "55_01_1=9\r\n55_6_1=9\r\n55_1_5=9\r\n56_1_0=9\r\n",
     [](RecordPageSettings&) {}},
};

class RecordKeysLoadTest : public RecordKeysTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(RecordKeysLoadTest, StoresWhatTheKeysSay) {
    const LoadCase& c = GetParam();
    RecordPageSettings expected;
    c.expect(expected);
    EXPECT_EQ(LoadFrom(Write(std::string("[config]\r\n1_1_1=2\r\n27_1_1=BUS 7\r\n") + c.lines)), expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, RecordKeysLoadTest, ::testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordKeysTest, OnlyASectionNamedExactlyConfigCounts) {
    EXPECT_EQ(LoadFrom(Write("[Config]\r\n55_1_1=9\r\n")), RecordPageSettings{});
    EXPECT_EQ(LoadFrom(Write("[other]\r\n55_1_1=9\r\n")), RecordPageSettings{});
    // A second section after "config" leaves its own keys in the lists.
    EXPECT_EQ(LoadFrom(Write("[config]\r\n55_1_1=9\r\n[more]\r\n56_1_1=1\r\n")).Groups[0].ManualHddRate[0],
              3);
}

TEST_F(RecordKeysTest, DefaultsLeaveNoPageKeyAndOtherBytesUntouched) {
    const std::string before = "[config]\r\n1_1_1=3\r\n27_1_1=BUS 7\r\n55_1_1=3\r\n6_2_1=1\r\n13_3_2=0\r\n"
                               "99_9_9=keep me\r\n43_1_1=0\r\n; a remark\r\n[net]\r\n55_1_1=3\r\n";
    Write(before);
    TIniFile ini(path_);
    SaveRecordKeys(ini, "config", RecordPageSettings{}, 0);
    EXPECT_EQ(ReadFileBytes(path_),
              "[config]\r\n27_1_1=BUS 7\r\n99_9_9=keep me\r\n; a remark\r\n[net]\r\n55_1_1=3\r\n");
}

TEST_F(RecordKeysTest, WritesOnlyWhatDiffersFromTheDefault) {
    Write("[config]\r\n27_1_1=BUS 7\r\n");
    RecordPageSettings s;
    s.Groups[1].EventRecord[2] = 0;
    s.Groups[1].Motion[2] = 1; // EVENT RECORD off with MOTION on: written as "0"
    s.Groups[3].PreRecord = 3;
    s.AutoBackup = 2;
    s.Overwrite = 0;
    s.Groups[4].ManualHddRate[3] = 12;
    s.Groups[0].Resolution = 0;
    TIniFile ini(path_);
    SaveRecordKeys(ini, "config", s, 4);
    EXPECT_EQ(ReadFileBytes(path_),
              "[config]\r\n27_1_1=BUS 7\r\n1_1_1=5\r\n2_1_1=0\r\n60_1_1=2\r\n6_1_1=0\r\n"
              "43_2_3=0\r\n15_2_3=1\r\n13_4_1=3\r\n55_5_4=12\r\n");
}

TEST_F(RecordKeysTest, EventRecordKeyFollowsTheTriggers) {
    struct Row {
        BYTE record, motion, alarmIn;
        const char* value; // nullptr: no key
    };
    const Row rows[] = {{1, 0, 0, "1"}, {1, 1, 0, "1"}, {0, 1, 0, "0"},
                        {0, 0, 1, "0"}, {0, 1, 1, "0"}, {0, 0, 0, nullptr}};
    for (const Row& r : rows) {
        Write("[config]\r\n43_2_3=1\r\n");
        RecordPageSettings s;
        s.Groups[1].EventRecord[2] = r.record;
        s.Groups[1].Motion[2] = r.motion;
        s.Groups[1].AlarmIn[2] = r.alarmIn;
        TIniFile ini(path_);
        SaveRecordKeys(ini, "config", s, 0);
        EXPECT_EQ(ini.ValueExists("config", "43_2_3"), r.value != nullptr) << int(r.record) << int(r.motion);
        if (r.value != nullptr) {
            EXPECT_EQ(ini.ReadString("config", "43_2_3", ""), r.value);
        }
    }
}

TEST_F(RecordKeysTest, ZeroPreRecordDeletesEveryChannelsKey) {
    Write("[config]\r\n13_4_1=3\r\n13_4_2=3\r\n13_4_3=1\r\n13_4_4=5\r\n13_3_1=2\r\n");
    RecordPageSettings s;
    s.Groups[2].PreRecord = 2;
    TIniFile ini(path_);
    SaveRecordKeys(ini, "config", s, 0);
    EXPECT_EQ(ReadFileBytes(path_), "[config]\r\n13_3_1=2\r\n");
}

TEST_F(RecordKeysTest, KeysGoIntoTheGivenSectionOnly) {
    Write("[first]\r\na=1\r\n[config]\r\n55_1_1=9\r\n");
    RecordPageSettings s;
    s.Groups[0].ManualHddRate[0] = 7;
    TIniFile ini(path_);
    SaveRecordKeys(ini, "first", s, 0);
    EXPECT_EQ(ReadFileBytes(path_), "[first]\r\na=1\r\n55_1_1=7\r\n[config]\r\n55_1_1=9\r\n");
}

// Whatever the page holds comes back the same after a save and a load.
TEST_F(RecordKeysTest, SaveThenLoadGivesTheSameTable) {
    unsigned seed = 7;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    for (int round = 0; round < 4; ++round) {
        RecordPageSettings s;
        s.Overwrite = static_cast<BYTE>(next(2));
        s.Storage = static_cast<BYTE>(next(2));
        s.AutoBackup = static_cast<DWORD>(next(3));
        s.ScheduleOn = static_cast<BYTE>(next(2));
        for (auto& g : s.Groups) {
            g.Resolution = static_cast<BYTE>(next(2));
            g.EventResolution = static_cast<BYTE>(next(2));
            g.ManualVoice = static_cast<BYTE>(next(2));
            g.EventVoice = static_cast<BYTE>(next(2));
            g.PreRecord = next(6);
            for (std::size_t c = 0; c < 4; ++c) {
                g.ManualHddRate[c] = next(31);
                g.ManualCfRate[c] = next(16);
                g.EventHddRate[c] = next(31);
                g.EventCfRate[c] = next(16);
                g.ManualRecord[c] = static_cast<BYTE>(next(2));
                g.ManualNetwork[c] = static_cast<BYTE>(next(2));
                g.EventRecord[c] = static_cast<BYTE>(next(2));
                g.EventNetwork[c] = static_cast<BYTE>(next(2));
                g.ManualQuality[c] = next(4);
                g.EventQuality[c] = next(4);
                g.Motion[c] = static_cast<BYTE>(next(2));
                g.MotionAlarmOut[c] = static_cast<BYTE>(next(2));
                g.AlarmIn[c] = static_cast<BYTE>(next(2));
                g.AlarmInAlarmOut[c] = static_cast<BYTE>(next(2));
                g.Duration[c] = next(5);
            }
        }
        Write("[config]\r\n27_1_1=BUS\r\n");
        {
            TIniFile ini(path_);
            SaveRecordKeys(ini, "config", s, next(5));
        }
        EXPECT_EQ(LoadFrom(path_), s) << "round " << round;
    }
}

TEST(RecordKeyTest, DecimalWithoutLeadingZeros) {
    EXPECT_EQ(RecordKey(55, 2, 3), "55_2_3");
    EXPECT_EQ(RecordKey(1, 1, 1), "1_1_1");
    EXPECT_EQ(RecordKey(70, 5, 4), "70_5_4");
}

} // namespace
