// What the calendar, hour table and minute table share without a window: which database they read and
// the date texts of their keys.
#pragma once

#include "recdb/SqliteDb.h"

#include <string>

// The database of the search under way: the downloaded hard-disk database for a remote search, the disk
// database of a recorder disk on this computer in database mode, else none (empty).
std::string SearchDbPath(int searchSource, const std::string& programFolder, int localDbMode,
                         const std::string& dbRoot);

// Opens `path` when it names a file; otherwise the wrapper stays closed and the first query raises
// "No opened database".
void OpenSearchDb(sqlite_db& db, const std::string& path);

// "yyyy/mm/dd  hh:mi:00" of a key yyyymmdd, yyyymmddhh or yyyymmddhhmi (hour and minute 00 when left
// out); empty for a key of another length.
std::string KeyDateText(const std::string& key);

// A day, hour or minute as two digits, for keys.
std::string TwoDigits(int value);

// The key of the next day (yyyymmdd), hour (yyyymmddhh) or minute (yyyymmddhhmi), across month and year
// ends; empty for a key that names no valid time.
std::string NextKey(const std::string& key);
