// Test helper: a query's rows as the shell prints them, for comparing with expected texts.
#pragma once

#include "sqlite2/Sqlite2Database.h"

#include <string>
#include <vector>

namespace sqlite2_test {

// Rows as "a|b" lines, NULL as <NULL>; the first line holds the names when there is a row.
inline std::vector<std::string> Rows(sqlite2::Sqlite2Database& db, const std::string& sql) {
    std::vector<std::string> out;
    db.Exec(sql, [&](int n, char** values, char** names) {
        std::string line;
        if (out.empty()) {
            for (int i = 0; i < n; ++i)
                line += (i ? "|" : "") + std::string(names[i]);
            out.push_back(line);
            line.clear();
        }
        for (int i = 0; i < n; ++i)
            line += (i ? "|" : "") + std::string(values[i] ? values[i] : "<NULL>");
        out.push_back(line);
        return true;
    });
    return out;
}

} // namespace sqlite2_test
