// An SQLite 2 database opened for reading: the file is read once, its tables are copied into an
// in-memory SQLite 3 database when a statement first reads them, and statements run there with SQLite 2's
// results. Opening the same unchanged file again (same path, size, modification time) reuses all of it.
#pragma once

#include "sqlite2/Schema.h"
#include "sqlite2/SqlCompiler.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

struct sqlite3;

namespace sqlite2 {

class Sqlite2Database : public TableProvider {
public:
    // Throws ESqlite2Error: ErrCantOpen for a missing file (never created), ErrNotADb, ErrCorrupt.
    static std::shared_ptr<Sqlite2Database> Open(const std::string& path);
    // A database from bytes in memory, with its rollback journal's bytes when it has one; not cached.
    static std::shared_ptr<Sqlite2Database> FromImage(std::string image, std::string_view journal = {});
    // Forgets every cached database (tests).
    static void ClearCache();

    ~Sqlite2Database() override;
    Sqlite2Database(const Sqlite2Database&) = delete;
    Sqlite2Database& operator=(const Sqlite2Database&) = delete;

    // Runs every statement of the text. `row` gets each result row: values (null for NULL) and column
    // names; returning false stops with ErrAbort. Statements that would write fail with ErrReadOnly.
    using RowFn = std::function<bool(int columns, char** values, char** names)>;
    void Exec(std::string_view sql, const RowFn& row);

    // Work limit of one statement in SQLite 3 steps, so that a hostile schema (a view joining a table
    // with itself many times) ends in an error instead of holding the window. Copying a table in does
    // not count: it is bounded by the file's size.
    void SetStepLimit(std::uint64_t steps) { stepLimit_ = steps; }
    // Steps the last statement ran, counted in blocks of a thousand.
    std::uint64_t LastStatementSteps() const { return steps_; }

    const Schema& GetSchema() const { return schema_; }
    const Sqlite2File& File() const { return file_; }
    // How many rows were copied into SQLite 3 so far (benchmarks).
    std::size_t RowsImported() const { return rowsImported_; }

private:
    explicit Sqlite2Database(Sqlite2File file);
    const ImportedTable& Import(const TableInfo& table, const std::vector<bool>& columns) override;
    void RunSelect(const CompiledSelect& compiled, const RowFn& row);
    void Sql3(const std::string& sql);

    Sqlite2File file_;
    Schema schema_;
    sqlite3* db_ = nullptr;
    std::map<std::string, ImportedTable> imported_; // by the table's name in SQLite 2, lower case
    std::recursive_mutex mutex_;
    std::size_t rowsImported_ = 0;
    int tableNames_ = 0;
    // The recorder's heaviest queries on a database of 50,000 recordings take under 1.5 million steps;
    // a statement that runs to the limit is refused after about one second.
    std::uint64_t stepLimit_ = 50000000ull;
    std::uint64_t steps_ = 0;
    bool running_ = false;
};

} // namespace sqlite2
