// The recording page's table and its keys in config.ini: five groups of four channels, each with
// MANUAL and EVENT settings, and the page-wide switches. A key whose value is the item's default is
// deleted rather than written, so a missing key always reads back as the default.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TIniFile;
class TStrings;

inline constexpr int kRecordGroups = 5;
inline constexpr int kRecordChannels = 4;

struct RecordGroupSettings {
    BYTE Resolution = 1; // 0 = 320 wide, 1 = 720 wide
    std::array<int, 4> ManualHddRate{3, 3, 3, 3};
    std::array<int, 4> ManualCfRate{3, 3, 3, 3};
    std::array<BYTE, 4> ManualRecord{1, 1, 1, 1};
    std::array<int, 4> ManualQuality{2, 2, 2, 2}; // 0 LOW, 1 MEDIUM, 2 HIGH, 3 SUPER
    std::array<BYTE, 4> ManualNetwork{};
    BYTE ManualVoice = 0;
    BYTE EventResolution = 1;
    std::array<int, 4> EventHddRate{5, 5, 5, 5};
    std::array<int, 4> EventCfRate{3, 3, 3, 3};
    std::array<BYTE, 4> EventRecord{};
    std::array<int, 4> EventQuality{3, 3, 3, 3};
    std::array<BYTE, 4> EventNetwork{};
    BYTE EventVoice = 0;
    std::array<BYTE, 4> Motion{};
    std::array<BYTE, 4> MotionAlarmOut{};
    std::array<BYTE, 4> AlarmIn{};
    std::array<BYTE, 4> AlarmInAlarmOut{};
    int PreRecord = 0;                       // list index 0..5 = 0..5 seconds
    std::array<int, 4> Duration{1, 1, 1, 1}; // list index 0..4 = 30, 60, 120, 180, 240 seconds

    bool operator==(const RecordGroupSettings&) const = default;
};

// Everything the page reads from and writes to config.ini, at the defaults when constructed.
struct RecordPageSettings {
    std::array<RecordGroupSettings, kRecordGroups> Groups{};
    BYTE Overwrite = 1;
    BYTE Storage = 0;     // 0 HDD, 1 CF
    DWORD AutoBackup = 0; // 0 OFF, 1 ON, 2 EVENT
    BYTE ScheduleOn = 0;

    bool operator==(const RecordPageSettings&) const = default;
};

// "item_group_channel".
std::string RecordKey(int item, int group, int channel);

// Takes the page's keys from the lists the setup menu read (section names, the key names of the last
// section read, its "key=value" lines). Nothing is taken unless a section is named exactly "config".
// Keys compare exactly; on/off items become 1 for any number but 0, qualities take 0..3 only, rates,
// pre-record, duration and auto backup are kept as read. A value that is not a decimal number leaves
// the item as it was. The four pre-record keys of a group fill one field; the last in key order wins.
void LoadRecordKeys(const TStrings& sections, const TStrings& keys, const TStrings& values,
                    RecordPageSettings& settings);

// One key of the page with the text OK gives it (nothing: the key is deleted), in the recorder's order.
// Keys of one unit go together: a group's four pre-record keys. currentGroup is 0..4 (below 0, no
// choice, counts as the first). EVENT RECORD off is "0" while MOTION or ALARM IN is on.
struct RecordKeyText {
    std::string key;
    std::optional<std::string> text;
    std::string unit;
};
std::vector<RecordKeyText> RecordKeyTexts(const RecordPageSettings& settings, int currentGroup);

// Writes every key of the page into the section, deleting every key at its default.
void SaveRecordKeys(TIniFile& ini, const std::string& section, const RecordPageSettings& settings,
                    int currentGroup);
// Writes only the keys whose text differs between the table as loaded and as it is now: a line the user
// did not change keeps its bytes, a value the page could not read included.
void SaveRecordChanges(TIniFile& ini, const std::string& section, const RecordPageSettings& loaded,
                       int loadedGroup, const RecordPageSettings& now, int currentGroup);
