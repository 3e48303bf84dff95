// Turns a SELECT of the SQLite 2 dialect into an SQLite 3 SELECT over the imported tables that gives
// SQLite 2's results: its comparison kinds (numeric or text by the declared column classes), its
// arithmetic, aggregates, sort order and column names. Values keep the spelling stored in the file.
#pragma once

#include "sqlite2/Schema.h"
#include "sqlite2/SqlAst.h"

#include <string>
#include <string_view>
#include <vector>

namespace sqlite2 {

// A table as it lies in the SQLite 3 database: its name there, which columns were copied, and for each
// column whether every value is a plain integer or a non-number (so SQLite 3 may compare it without help).
struct ImportedTable {
    std::string name;
    std::vector<bool> present;
    std::vector<bool> plain;
};

class TableProvider {
public:
    virtual ~TableProvider() = default;
    // Makes at least the given columns of the table readable, importing it on first use. Throws
    // ESqlite2Error for a damaged table.
    virtual const ImportedTable& Import(const TableInfo& table, const std::vector<bool>& columns) = 0;
};

struct CompiledSelect {
    std::string sql;                // for SQLite 3, result columns r0, r1, ...
    std::vector<std::string> names; // as SQLite 2 names them
};

// `text` is the statement text the select was parsed from (result column names come from it).
CompiledSelect CompileSelect(const sql::Select& select, std::string_view text, const Schema& schema,
                             TableProvider& tables);

} // namespace sqlite2
