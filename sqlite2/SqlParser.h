// Recursive-descent parser of the SQLite 2 dialect. Errors throw ESqlite2Error with SQLite 2's texts
// (`near "X": syntax error`).
#pragma once

#include "sqlite2/SqlAst.h"
#include "sqlite2/SqlToken.h"

#include <string_view>
#include <variant>
#include <vector>

namespace sqlite2::sql {

// A statement the reader will not run: anything that writes or changes the database.
struct WriteStatement {
    std::string verb;
};

using Statement = std::variant<std::unique_ptr<Select>, WriteStatement>;

// Splits a text of several statements separated by ';'; empty statements are dropped.
std::vector<Statement> ParseStatements(std::string_view sql);

std::unique_ptr<Select> ParseSelect(std::string_view sql);
CreateTable ParseCreateTable(std::string_view sql);
CreateView ParseCreateView(std::string_view sql);

} // namespace sqlite2::sql
