#include "setup/RecordSettings.h"

#include "platform/core/Classes.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"

#include <set>
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

std::vector<RecordKeyText> RecordKeyTexts(const RecordPageSettings& s, int currentGroup) {
    std::vector<RecordKeyText> out;
    const RecordGroupSettings defaults;
    auto add = [&out](std::string key, long long value, long long def) {
        std::string unit = key;
        out.push_back(
            {std::move(key), value == def ? std::nullopt : std::optional(IntToStr(value)), std::move(unit)});
    };
    add("1_1_1", currentGroup <= 0 ? 1 : currentGroup + 1, 1);
    add("5_1_1", s.ScheduleOn != 0, 0);
    add("2_1_1", s.Overwrite != 0, 1);
    add("57_1_1", s.Storage != 0, 0);
    add("60_1_1", s.AutoBackup, 0);
    for (int gi = 0; gi < kRecordGroups; ++gi) {
        const RecordGroupSettings& g = s.Groups[static_cast<std::size_t>(gi)];
        const int gn = gi + 1;
        for (int ci = 0; ci < kRecordChannels; ++ci) {
            const auto c = static_cast<std::size_t>(ci);
            const int cn = ci + 1;
            auto key = [&](int item) { return RecordKey(item, gn, cn); };
            // Group keys are named by channel 1 and listed once.
            auto groupKey = [&](int item, long long value, long long def) {
                if (ci == 0) add(RecordKey(item, gn, 1), value, def);
            };
            groupKey(6, g.Resolution, defaults.Resolution);
            groupKey(10, g.EventResolution, defaults.EventResolution);
            add(key(55), g.ManualHddRate[c], defaults.ManualHddRate[c]);
            add(key(69), g.ManualCfRate[c], defaults.ManualCfRate[c]);
            add(key(56), g.EventHddRate[c], defaults.EventHddRate[c]);
            add(key(70), g.EventCfRate[c], defaults.EventCfRate[c]);
            add(key(41), g.ManualRecord[c], defaults.ManualRecord[c]);
            // The recorder reads a missing EVENT RECORD as "on" while an event trigger is set.
            const bool trigger = g.Motion[c] != 0 || g.AlarmIn[c] != 0;
            out.push_back({key(43),
                           g.EventRecord[c] != 0 ? std::optional<std::string>("1")
                           : trigger             ? std::optional<std::string>("0")
                                                 : std::nullopt,
                           key(43)});
            add(key(8), g.ManualQuality[c], defaults.ManualQuality[c]);
            add(key(12), g.EventQuality[c], defaults.EventQuality[c]);
            add(key(42), g.ManualNetwork[c], defaults.ManualNetwork[c]);
            add(key(44), g.EventNetwork[c], defaults.EventNetwork[c]);
            groupKey(9, g.ManualVoice, defaults.ManualVoice);
            groupKey(38, g.EventVoice, defaults.EventVoice);
            add(key(15), g.Motion[c], 0);
            add(key(18), g.MotionAlarmOut[c], 0);
            add(key(16), g.AlarmIn[c], 0);
            add(key(19), g.AlarmInAlarmOut[c], 0);
            // A group has one pre-record: it lives under channel 1, and keys under the other channels
            // (which would win on reading) go with it.
            out.push_back({key(13),
                           ci == 0 && g.PreRecord != 0 ? std::optional(IntToStr(g.PreRecord)) : std::nullopt,
                           RecordKey(13, gn, 0)});
            add(key(14), g.Duration[c], defaults.Duration[c]);
        }
    }
    return out;
}

namespace {

void Write(TIniFile& ini, const std::string& section, const RecordKeyText& entry) {
    if (entry.text)
        ini.WriteString(section, entry.key, *entry.text);
    else
        ini.DeleteKey(section, entry.key);
}

} // namespace

void SaveRecordKeys(TIniFile& ini, const std::string& section, const RecordPageSettings& s,
                    int currentGroup) {
    for (const RecordKeyText& entry : RecordKeyTexts(s, currentGroup))
        Write(ini, section, entry);
}

void SaveRecordChanges(TIniFile& ini, const std::string& section, const RecordPageSettings& loaded,
                       int loadedGroup, const RecordPageSettings& now, int currentGroup) {
    const std::vector<RecordKeyText> before = RecordKeyTexts(loaded, loadedGroup);
    const std::vector<RecordKeyText> after = RecordKeyTexts(now, currentGroup);
    std::set<std::string> changed;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i].text != before[i].text) changed.insert(after[i].unit);
    for (const RecordKeyText& entry : after)
        if (changed.count(entry.unit) != 0) Write(ini, section, entry);
}
