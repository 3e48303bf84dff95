// The functions the compiled statements call inside SQLite 3 to behave as SQLite 2: conversions to
// the number and text forms, SQLite 2's arithmetic, and aggregates that keep the stored spelling.
#pragma once

struct sqlite3;

namespace sqlite2 {

// Returns false when SQLite 3 refused a registration.
bool RegisterSq2Functions(sqlite3* db);

} // namespace sqlite2
