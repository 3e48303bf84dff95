// The recorder's SQLite 2 databases for a set of recordings: `daylist`, one "H_" table per recorded day
// and `avfile`; and the log database with its `log` table.
#pragma once

#include "tools/recgen/RecordingStore.h"

#include <string>
#include <vector>

namespace recgen {

struct LogEntry {
    DWORD seq = 0;
    std::string desc;
    DWORD updateTime = 0;
};

// One database file's bytes.
std::string RecordingsDatabaseImage(const std::vector<StoreRecording>& recordings,
                                    const std::string& systemId);
std::string LogDatabaseImage(const std::vector<LogEntry>& entries);
// What a recorder logs around its recordings.
std::vector<LogEntry> LogEntriesFor(const std::vector<StoreRecording>& recordings);

// `folder`/qeldbfile_hdd.db and `folder`/infofiles/pyrdb with every recording, qeldbfile_cf.db with
// those of the last day, qeldbfile_sd.db with those of the first day, and `folder`/loglist.db.
void WriteRecorderDatabases(const std::string& folder, const std::vector<StoreRecording>& recordings,
                            const std::string& systemId);

} // namespace recgen
