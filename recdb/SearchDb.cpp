#include "recdb/SearchDb.h"

#include "platform/core/FileUtils.h"
#include "recdb/KeyTime.h"

#include <cstdio>

std::string SearchDbPath(int searchSource, const std::string& programFolder, int localDbMode,
                         const std::string& dbRoot) {
    if (searchSource != 0) return programFolder + "qeldbfile_hdd.db";
    if (localDbMode == 1 && FileExists(dbRoot + "pyrdb")) return dbRoot + "pyrdb";
    return {};
}

void OpenSearchDb(sqlite_db& db, const std::string& path) {
    if (!path.empty() && FileExists(path)) db.open(path);
}

std::string KeyDateText(const std::string& key) {
    if (key.size() != 8 && key.size() != 10 && key.size() != 12) return {};
    const std::string hour = key.size() >= 10 ? key.substr(8, 2) : "00";
    const std::string minute = key.size() == 12 ? key.substr(10, 2) : "00";
    return key.substr(0, 4) + "/" + key.substr(4, 2) + "/" + key.substr(6, 2) + "  " + hour + ":" + minute +
           ":00";
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string NextKey(const std::string& key) {
    const std::optional<std::int64_t> t = KeyToUtcSeconds(key);
    if (!t) return {};
    const std::int64_t step = key.size() == 8 ? 86400 : key.size() == 10 ? 3600 : 60;
    const UtcFields f = BreakDownUtc(*t + step);
    std::string next = std::to_string(f.year) + TwoDigits(f.month) + TwoDigits(f.day);
    if (key.size() >= 10) next += TwoDigits(f.hour);
    if (key.size() == 12) next += TwoDigits(f.minute);
    return next;
}
