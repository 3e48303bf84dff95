// The text the SQLite 2 shell's .dump prints for a database: the schema statements, each table followed
// by an INSERT per row in rowid order, inside one transaction.
#pragma once

#include "sqlite2/Sqlite2File.h"

#include <ostream>

namespace sqlite2 {

// Throws ESqlite2Error when the file is damaged; what was written before stays written.
void DumpDatabase(const Sqlite2File& file, std::ostream& out);

} // namespace sqlite2
