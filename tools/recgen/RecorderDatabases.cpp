#include "tools/recgen/RecorderDatabases.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "sqlite2/Sqlite2Writer.h"

#include <filesystem>
#include <map>
#include <set>

namespace recgen {

namespace schema = sqlite2::recorder_schema;

namespace {

std::string DateText(DWORD time) {
    const SYSTEMTIME t = UnixToUtc(time);
    return Format("%04d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

struct HourMarks {
    std::array<DWORD, 4> events{};
    std::array<DWORD, 4> counts{};
};

sqlite2::Sqlite2Writer RecordingsDatabase(const std::vector<StoreRecording>& recordings,
                                          const std::string& systemId) {
    sqlite2::Sqlite2Writer w;
    w.CreateTable(schema::DaylistSql());
    w.CreateTable(schema::AvfileSql());
    // Day key yyyymmdd -> hour -> marks; day key -> any event that day.
    std::map<std::string, std::map<int, HourMarks>> days;
    std::map<std::string, bool> dayEvents;
    for (const auto& r : recordings) {
        const SYSTEMTIME t = UnixToUtc(r.startTime);
        const std::string key = Format("%04d%02d%02d", t.wYear, t.wMonth, t.wDay);
        HourMarks& h = days[key][t.wHour];
        for (int c = 0; c < 4; ++c) {
            h.counts[c] += r.counts[c];
            h.events[c] = h.events[c] || r.eventTypes[c] ? 1 : 0;
        }
        dayEvents[key] = dayEvents[key] || r.HasEvent();
        sqlite2::Row row(schema::AvColumnCount);
        row[schema::AvSeq] = r.seq;
        row[schema::AvFileName] = r.fileName;
        row[schema::AvYear] = t.wYear;
        row[schema::AvMonth] = t.wMonth;
        row[schema::AvDay] = t.wDay;
        row[schema::AvHour] = t.wHour;
        row[schema::AvStartDate] = DateText(r.startTime);
        row[schema::AvEndDate] = DateText(r.endTime);
        row[schema::AvStartTime] = r.startTime;
        row[schema::AvEndTime] = r.endTime;
        row[schema::AvUpdateTime] = r.endTime + 1;
        row[schema::AvSystemId] = systemId;
        for (int c = 0; c < 4; ++c) {
            row[schema::AvEventType1 + c] = r.eventTypes[c] ? 1 : 0;
            row[schema::AvCount1 + c] = r.counts[c];
        }
        w.Insert("avfile", row);
    }
    for (const auto& [key, hours] : days) {
        const int year = std::stoi(key.substr(0, 4)), month = std::stoi(key.substr(4, 2)),
                  day = std::stoi(key.substr(6, 2));
        w.Insert("daylist", {year, month, day, dayEvents[key] ? 1 : 0});
        w.CreateTable(schema::DayTableSql(key));
        const std::string table = schema::DayTableName(year, month, day);
        for (const auto& [hour, m] : hours)
            w.Insert(table, {hour, m.events[0], m.events[1], m.events[2], m.events[3], m.counts[0],
                             m.counts[1], m.counts[2], m.counts[3]});
    }
    return w;
}

sqlite2::Sqlite2Writer LogDatabase(const std::vector<LogEntry>& entries) {
    sqlite2::Sqlite2Writer w;
    w.CreateTable(schema::LogSql());
    for (const auto& e : entries)
        w.Insert("log", {e.seq, e.desc, e.updateTime});
    return w;
}

} // namespace

std::string RecordingsDatabaseImage(const std::vector<StoreRecording>& recordings,
                                    const std::string& systemId) {
    return RecordingsDatabase(recordings, systemId).Image();
}

std::string LogDatabaseImage(const std::vector<LogEntry>& entries) {
    return LogDatabase(entries).Image();
}

std::vector<LogEntry> LogEntriesFor(const std::vector<StoreRecording>& recordings) {
    std::vector<LogEntry> out;
    auto add = [&](const std::string& desc, DWORD time) {
        out.push_back({static_cast<DWORD>(out.size() + 1), desc, time});
    };
    if (!recordings.empty()) add("SYSTEM START", recordings.front().startTime - 60);
    for (const auto& r : recordings) {
        add("RECORD START", r.startTime);
        if (r.HasEvent()) add("EVENT RECORD", r.startTime + (r.endTime - r.startTime) / 3);
        add("RECORD STOP", r.endTime);
    }
    return out;
}

void WriteRecorderDatabases(const std::string& folder, const std::vector<StoreRecording>& recordings,
                            const std::string& systemId) {
    std::vector<StoreRecording> firstDay, lastDay;
    if (!recordings.empty()) {
        const SYSTEMTIME first = UnixToUtc(recordings.front().startTime);
        const SYSTEMTIME last = UnixToUtc(recordings.back().startTime);
        for (const auto& r : recordings) {
            const SYSTEMTIME t = UnixToUtc(r.startTime);
            if (t.wYear == first.wYear && t.wMonth == first.wMonth && t.wDay == first.wDay)
                firstDay.push_back(r);
            if (t.wYear == last.wYear && t.wMonth == last.wMonth && t.wDay == last.wDay) lastDay.push_back(r);
        }
    }
    std::filesystem::create_directories(folder + "/infofiles");
    const sqlite2::Sqlite2Writer all = RecordingsDatabase(recordings, systemId);
    all.WriteFile(folder + "/qeldbfile_hdd.db");
    all.WriteFile(folder + "/infofiles/pyrdb");
    RecordingsDatabase(lastDay, systemId).WriteFile(folder + "/qeldbfile_cf.db");
    RecordingsDatabase(firstDay, systemId).WriteFile(folder + "/qeldbfile_sd.db");
    LogDatabase(LogEntriesFor(recordings)).WriteFile(folder + "/loglist.db");
}

} // namespace recgen
