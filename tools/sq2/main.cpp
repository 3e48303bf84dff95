// sq2: looks into a recorder's SQLite 2 database from the command line.
//   sq2 dump FILE         the file as SQL text, as the SQLite 2 shell's .dump prints it
//   sq2 query FILE 'SQL'  column names (with the first row only), then one line per row, values
//                         joined by '|', NULL as <NULL>
// Errors go to stderr with exit status 1.
#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Api.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

struct QueryOutput {
    std::string text;
    bool headerDone = false;
};

int PrintRow(void* arg, int columns, char** values, char** names) {
    auto* out = static_cast<QueryOutput*>(arg);
    if (!out->headerDone) {
        for (int i = 0; i < columns; ++i) {
            if (i) out->text += '|';
            out->text += names[i];
        }
        out->text += '\n';
        out->headerDone = true;
    }
    for (int i = 0; i < columns; ++i) {
        if (i) out->text += '|';
        out->text += values[i] ? values[i] : "<NULL>";
    }
    out->text += '\n';
    if (out->text.size() > (1u << 16)) {
        std::fwrite(out->text.data(), 1, out->text.size(), stdout);
        out->text.clear();
    }
    return 0;
}

int Query(const char* file, const char* sql) {
    char* error = nullptr;
    sqlite* db = sqlite_open(file, 0, &error);
    if (!db) {
        std::fprintf(stderr, "sq2: %s\n", error ? error : "cannot open the database");
        sqlite_freemem(error);
        return 1;
    }
    QueryOutput out;
    const int rc = sqlite_exec(db, sql, PrintRow, &out, &error);
    std::fwrite(out.text.data(), 1, out.text.size(), stdout);
    sqlite_close(db);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "sq2: %s\n", error ? error : sqlite_error_string(rc));
        sqlite_freemem(error);
        return 1;
    }
    return 0;
}

int Dump(const char* file) {
    try {
        sqlite2::DumpDatabase(sqlite2::Sqlite2File::Load(file), std::cout);
        std::cout.flush();
    } catch (const std::exception& e) {
        std::cout.flush();
        std::fprintf(stderr, "sq2: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return Dump(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "query") == 0) return Query(argv[2], argv[3]);
    std::fprintf(stderr, "usage: sq2 dump FILE\n       sq2 query FILE 'SQL'\n");
    return 1;
}
