#include "setup/RecordSettings.h"

#include "platform/core/Classes.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"

#include <unordered_map>

namespace {

enum class Kind { Flag, Quality, Raw };

// Where one key's value goes: a group field, a channel field or a page field.
struct KeyTarget {
    int item = 0;
    int group = -1; // 0-based, -1 for a page key
    int channel = 0;
};

// Every key the page knows, by its exact name.
const std::unordered_map<std::string, KeyTarget>& KeyTable() {
    static const auto table = [] {
        std::unordered_map<std::string, KeyTarget> t;
        for (int item : {5, 2, 57, 60})
            t[RecordKey(item, 1, 1)] = {item, -1, 0};
        for (int g = 0; g < kRecordGroups; ++g) {
            for (int item : {6, 10, 9, 38})
                t[RecordKey(item, g + 1, 1)] = {item, g, 0};
            for (int c = 0; c < kRecordChannels; ++c)
                for (int item : {55, 69, 56, 70, 41, 8, 42, 43, 12, 44, 15, 18, 16, 19, 13, 14})
                    t[RecordKey(item, g + 1, c + 1)] = {item, g, c};
        }
        return t;
    }();
    return table;
}

Kind KindOf(int item) {
    switch (item) {
    case 8:
    case 12:
        return Kind::Quality;
    case 55:
    case 69:
    case 56:
    case 70:
    case 13:
    case 14:
    case 60:
        return Kind::Raw;
    default:
        return Kind::Flag;
    }
}

void StoreValue(const KeyTarget& k, int v, RecordPageSettings& s) {
    const auto flag = static_cast<BYTE>(v != 0 ? 1 : 0);
    if (k.group < 0) {
        switch (k.item) {
        case 5:
            s.ScheduleOn = flag;
            break;
        case 2:
            s.Overwrite = flag;
            break;
        case 57:
            s.Storage = flag;
            break;
        case 60:
            s.AutoBackup = static_cast<DWORD>(v);
            break;
        }
        return;
    }
    RecordGroupSettings& g = s.Groups[static_cast<std::size_t>(k.group)];
    const auto c = static_cast<std::size_t>(k.channel);
    switch (k.item) {
    case 6:
        g.Resolution = flag;
        break;
    case 10:
        g.EventResolution = flag;
        break;
    case 9:
        g.ManualVoice = flag;
        break;
    case 38:
        g.EventVoice = flag;
        break;
    case 55:
        g.ManualHddRate[c] = v;
        break;
    case 69:
        g.ManualCfRate[c] = v;
        break;
    case 56:
        g.EventHddRate[c] = v;
        break;
    case 70:
        g.EventCfRate[c] = v;
        break;
    case 41:
        g.ManualRecord[c] = flag;
        break;
    case 8:
        g.ManualQuality[c] = v;
        break;
    case 42:
        g.ManualNetwork[c] = flag;
        break;
    case 43:
        g.EventRecord[c] = flag;
        break;
    case 12:
        g.EventQuality[c] = v;
        break;
    case 44:
        g.EventNetwork[c] = flag;
        break;
    case 15:
        g.Motion[c] = flag;
        break;
    case 18:
        g.MotionAlarmOut[c] = flag;
        break;
    case 16:
        g.AlarmIn[c] = flag;
        break;
    case 19:
        g.AlarmInAlarmOut[c] = flag;
        break;
    case 13:
        g.PreRecord = v;
        break;
    case 14:
        g.Duration[c] = v;
        break;
    }
}

// Deletes the key at its default, else writes the number.
void Put(TIniFile& ini, const std::string& section, const std::string& key, long long value, long long def) {
    if (value == def)
        ini.DeleteKey(section, key);
    else
        ini.WriteString(section, key, IntToStr(value));
}

} // namespace

std::string RecordKey(int item, int group, int channel) {
    return Format("%d_%d_%d", item, group, channel);
}

void LoadRecordKeys(const TStrings& sections, const TStrings& keys, const TStrings& values,
                    RecordPageSettings& settings) {
    bool hasConfig = false;
    for (int i = 0; i < sections.Count() && !hasConfig; ++i)
        hasConfig = sections.Strings(i) == "config";
    if (!hasConfig) return;
    const auto& table = KeyTable();
    for (int i = 0; i < keys.Count(); ++i) {
        const auto found = table.find(keys.Strings(i));
        if (found == table.end() || i >= values.Count()) continue;
        const std::string line = values.Strings(i);
        const std::size_t eq = line.find('=');
        int v = 0;
        if (eq == std::string::npos || !TryStrToInt(std::string_view(line).substr(eq + 1), v)) continue;
        const KeyTarget& k = found->second;
        if (KindOf(k.item) == Kind::Quality && (v < 0 || v > 3)) continue;
        StoreValue(k, v, settings);
    }
}

void SaveRecordKeys(TIniFile& ini, const std::string& section, const RecordPageSettings& s,
                    int currentGroup) {
    const RecordGroupSettings defaults;
    if (currentGroup <= 0)
        ini.DeleteKey(section, "1_1_1");
    else
        ini.WriteString(section, "1_1_1", IntToStr(currentGroup + 1));
    Put(ini, section, "5_1_1", s.ScheduleOn != 0, 0);
    Put(ini, section, "2_1_1", s.Overwrite != 0, 1);
    Put(ini, section, "57_1_1", s.Storage != 0, 0);
    Put(ini, section, "60_1_1", s.AutoBackup, 0);
    for (int gi = 0; gi < kRecordGroups; ++gi) {
        const RecordGroupSettings& g = s.Groups[static_cast<std::size_t>(gi)];
        const int gn = gi + 1;
        for (int ci = 0; ci < kRecordChannels; ++ci) {
            const auto c = static_cast<std::size_t>(ci);
            const int cn = ci + 1;
            auto key = [&](int item) { return RecordKey(item, gn, cn); };
            Put(ini, section, RecordKey(6, gn, 1), g.Resolution, defaults.Resolution);
            Put(ini, section, RecordKey(10, gn, 1), g.EventResolution, defaults.EventResolution);
            Put(ini, section, key(55), g.ManualHddRate[c], defaults.ManualHddRate[c]);
            Put(ini, section, key(69), g.ManualCfRate[c], defaults.ManualCfRate[c]);
            Put(ini, section, key(56), g.EventHddRate[c], defaults.EventHddRate[c]);
            Put(ini, section, key(70), g.EventCfRate[c], defaults.EventCfRate[c]);
            Put(ini, section, key(41), g.ManualRecord[c], defaults.ManualRecord[c]);
            // The recorder reads a missing EVENT RECORD as "on" while an event trigger is set.
            if (g.EventRecord[c] != 0)
                ini.WriteString(section, key(43), "1");
            else if (g.Motion[c] != 0 || g.AlarmIn[c] != 0)
                ini.WriteString(section, key(43), "0");
            else
                ini.DeleteKey(section, key(43));
            Put(ini, section, key(8), g.ManualQuality[c], defaults.ManualQuality[c]);
            Put(ini, section, key(12), g.EventQuality[c], defaults.EventQuality[c]);
            Put(ini, section, key(42), g.ManualNetwork[c], defaults.ManualNetwork[c]);
            Put(ini, section, key(44), g.EventNetwork[c], defaults.EventNetwork[c]);
            Put(ini, section, RecordKey(9, gn, 1), g.ManualVoice, defaults.ManualVoice);
            Put(ini, section, RecordKey(38, gn, 1), g.EventVoice, defaults.EventVoice);
            Put(ini, section, key(15), g.Motion[c], 0);
            Put(ini, section, key(18), g.MotionAlarmOut[c], 0);
            Put(ini, section, key(16), g.AlarmIn[c], 0);
            Put(ini, section, key(19), g.AlarmInAlarmOut[c], 0);
            if (g.PreRecord != 0)
                ini.WriteString(section, RecordKey(13, gn, 1), IntToStr(g.PreRecord));
            else
                ini.DeleteKey(section, key(13));
            Put(ini, section, key(14), g.Duration[c], defaults.Duration[c]);
        }
    }
}
