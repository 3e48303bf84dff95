// Test helper: the queries of expected.txt with what the real SQLite 2 printed for them.
#pragma once

#include "sqlite2/Sqlite2Database.h"

#include <string>
#include <vector>

namespace sqlite2_test {

struct Expected {
    std::string id;
    std::string db; // the fixture file it was run on
    std::string sql;
    std::vector<std::string> lines; // header (when there are rows) and rows
};

std::vector<Expected> ReadExpected();

// Runs the query on `db`; a different answer or an error is reported as a test failure.
bool Matches(sqlite2::Sqlite2Database& db, const Expected& e);

} // namespace sqlite2_test
