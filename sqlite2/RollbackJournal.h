// The rollback journal a writer leaves beside the database (its name plus "-journal") while a
// transaction runs, and after a crash inside one: the database's size before the transaction and the
// original content of every page the transaction changed. Laying those pages over the file gives the
// database as it was before; the journal itself is only read.
#pragma once

#include "sqlite2/Sqlite2File.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sqlite2 {

struct JournalPage {
    std::uint32_t page;
    std::string_view bytes; // kPageSize bytes inside the journal text
};

struct JournalRollback {
    bool hot = false;               // false: nothing to play back (no journal, or one cut inside its header)
    std::uint32_t pageCount = 0;    // the database's size in pages before the transaction
    std::vector<JournalPage> pages; // in journal order; a later record of a page replaces an earlier one
};

// The records to play back, as the writer's own recovery picks them: the synced records up to the first
// torn one. `dbOrder` is the byte order of the database, taken for the integers of the oldest journal
// format, which wrote them in its machine's order. Throws ESqlite2Error (ErrCorrupt) for a journal of an
// unknown format or one that names a database larger than the reader loads.
JournalRollback ReadJournal(std::string_view journal, FileByteOrder dbOrder);

} // namespace sqlite2
