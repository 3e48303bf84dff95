#include "recdb/QelDbResults.h"

#include "platform/core/StrUtils.h"
#include "recdb/KeyTime.h"

#include <cstdio>

namespace {

int Plain(const sqlite_fields& row, const std::string& name) {
    return StrToIntLenient(FieldOf(row, name));
}

DayMarkState ChannelState(const sqlite_fields& row, int c, const char* eventFormat, const char* countFormat) {
    char event[32], count[32];
    std::snprintf(event, sizeof event, eventFormat, c + 1);
    std::snprintf(count, sizeof count, countFormat, c + 1);
    if (Plain(row, count) == 0) return dmsNone;
    return Plain(row, event) != 0 ? dmsEvent : dmsRecording;
}

bool ChannelWanted(int searchChannel, int c) {
    return searchChannel == -1 || c == searchChannel - 1;
}

// Characters 11 and 12 of a date text, strictly as a minute.
std::optional<int> MinuteOf(const std::string& date) {
    if (date.size() < 12) return std::nullopt;
    int minute = 0;
    if (!TryStrToInt(date.substr(10, 2), minute) || minute < 0 || minute > 59) return std::nullopt;
    return minute;
}

std::optional<std::int64_t> StrictInt64(const std::string& text) {
    try {
        return StrToInt64(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

} // namespace

const std::string& FieldOf(const sqlite_fields& row, const std::string& name) {
    static const std::string empty;
    auto it = row.find(name);
    return it == row.end() ? empty : it->second;
}

bool HasRecordings(const sqlite_result& rows) {
    bool has = false;
    for (const sqlite_fields& row : rows)
        for (const auto& [name, value] : row)
            has = !value.empty();
    return has;
}

std::optional<YearMonth> MonthOf(const sqlite_result& rows) {
    if (rows.empty()) return std::nullopt;
    const sqlite_fields& row = rows.back();
    if (FieldOf(row, "year").empty() || FieldOf(row, "month").empty()) return std::nullopt;
    YearMonth ym{Plain(row, "year"), Plain(row, "month")};
    if (ym.month < 1 || ym.month > 12) return std::nullopt;
    return ym;
}

std::map<int, DayMarkState> DayMarks(const sqlite_result& rows, int daysInMonth) {
    std::map<int, DayMarkState> marks;
    for (const sqlite_fields& row : rows) {
        const int day = Plain(row, "day");
        if (day < 1 || day > daysInMonth) continue;
        const DayMarkState state = Plain(row, "event_type") != 0 ? dmsEvent : dmsRecording;
        DayMarkState& mark = marks[day];
        if (state > mark) mark = state;
    }
    return marks;
}

std::vector<CellMark> HourMarks(const sqlite_result& rows, int searchChannel) {
    std::vector<CellMark> marks;
    for (const sqlite_fields& row : rows) {
        const int hour = Plain(row, "hour");
        if (hour < 0 || hour > 23) continue;
        for (int c = 0; c < 4; ++c)
            if (ChannelWanted(searchChannel, c))
                marks.push_back(CellMark{c, hour, ChannelState(row, c, "event_type%d", "count%d")});
    }
    return marks;
}

std::vector<MinuteRange> MinuteRanges(const sqlite_result& rows, const std::string& hourKey,
                                      int searchChannel) {
    std::vector<MinuteRange> ranges;
    for (const sqlite_fields& row : rows) {
        const std::string& startDate = FieldOf(row, "min(start_date)");
        const std::string& endDate = FieldOf(row, "max(end_date)");
        const std::optional<int> first = MinuteOf(startDate);
        std::optional<int> last = MinuteOf(endDate);
        if (!first || !last) continue;
        // A group that runs on into the next hour covers the rest of this one.
        if (endDate.compare(0, 10, hourKey) > 0) last = 59;
        if (*last < *first) continue;
        for (int c = 0; c < 4; ++c)
            if (ChannelWanted(searchChannel, c))
                ranges.push_back(
                    MinuteRange{c, *first, *last, ChannelState(row, c, "max(event_type%d)", "max(count%d)")});
    }
    return ranges;
}

std::vector<FileTableRow> FileTableRows(const sqlite_result& rows) {
    std::vector<FileTableRow> out;
    for (const sqlite_fields& row : rows) {
        bool event = false;
        for (int c = 1; c <= 4; ++c)
            event = event || Plain(row, "event_type" + std::to_string(c)) > 0;
        const UtcFields start = BreakDownUtc(StrToInt64Lenient(FieldOf(row, "start_time")));
        const UtcFields update = BreakDownUtc(StrToInt64Lenient(FieldOf(row, "update_time")));
        const std::string& id = FieldOf(row, "system_id");
        char startText[64], updateText[64];
        std::snprintf(startText, sizeof startText, " %d/%02d/%02d %02d:%02d:%02d  ", start.year, start.month,
                      start.day, start.hour, start.minute, start.second);
        std::snprintf(updateText, sizeof updateText, " %02d/%02d %02d:%02d:%02d ", update.month, update.day,
                      update.hour, update.minute, update.second);
        FileTableRow r;
        r.caption = std::string(event ? "! " : "  ") + updateText + startText +
                    id.substr(id.size() > 6 ? id.size() - 6 : 0);
        r.seq = Plain(row, "seq");
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::string> LogLines(const sqlite_result& rows) {
    std::vector<std::string> lines;
    for (const sqlite_fields& row : rows) {
        std::int64_t seconds = 0;
        try {
            seconds = StrToInt64(FieldOf(row, "update_time"));
        } catch (const EConvertError&) {
            seconds = 0; // a missing time must not end the whole list
        }
        const UtcFields t = BreakDownUtc(seconds);
        char text[96];
        std::snprintf(text, sizeof text, "   %d/%02d/%02d    %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
        lines.push_back(std::string(text) + "       " + FieldOf(row, "desc"));
    }
    return lines;
}

std::optional<PlayStart> PlayStartOf(const sqlite_result& rows) {
    if (rows.empty()) return std::nullopt;
    const sqlite_fields& row = rows.front();
    PlayStart p;
    p.fileName = FieldOf(row, "file_name");
    // The max(...) column is named after the number asked for; find it by its beginning.
    std::optional<std::int64_t> start;
    for (const auto& [name, value] : row)
        if (name.rfind("max(", 0) == 0) start = StrictInt64(value);
    const std::optional<std::int64_t> seq = StrictInt64(FieldOf(row, "seq"));
    if (!start || !seq) return std::nullopt;
    p.start = *start;
    p.seq = *seq;
    return p;
}

SeqRange SeqRangeOf(const sqlite_result& rows) {
    SeqRange r;
    if (rows.empty()) return r;
    r.min = StrToInt64Lenient(FieldOf(rows.front(), "MIN(seq)"));
    r.max = StrToInt64Lenient(FieldOf(rows.front(), "MAX(seq)"));
    return r;
}

std::vector<BackupSpanNode> BackupSpan(const sqlite_result& rows) {
    std::vector<BackupSpanNode> nodes;
    for (const sqlite_fields& row : rows)
        nodes.push_back(
            BackupSpanNode{static_cast<std::uint32_t>(StrToInt64Lenient(FieldOf(row, "start_time"))),
                           static_cast<std::uint32_t>(StrToInt64Lenient(FieldOf(row, "end_time"))),
                           static_cast<std::uint32_t>(StrToInt64Lenient(FieldOf(row, "seq")))});
    return nodes;
}
