// The schema of a database as SQLite 2 keeps it in `sqlite_master`: tables with their columns and
// column classes, and views. Indexes and triggers are listed but play no part in reading.
#pragma once

#include "sqlite2/SqlAst.h"
#include "sqlite2/Sqlite2File.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sqlite2 {

struct ColumnInfo {
    std::string name;
    std::string type;
    bool textTyped = false; // compares, sorts and groups as text; numeric-typed otherwise
};

struct TableInfo {
    std::string name;
    std::uint32_t root = 0; // 0: no B-tree (an empty table)
    std::vector<ColumnInfo> columns;
    int integerPrimaryKey = -1; // the column that holds the rowid, or -1
    std::string error;          // why the table cannot be read, when its schema row is faulty
};

struct ViewInfo {
    std::string name;
    std::shared_ptr<const sql::CreateView> view;
    std::string error;
};

struct MasterRow {
    std::int32_t rowid = 0;
    std::optional<std::string> type, name, tblName, rootpage, sql;
};

// Column classes and the rowid column of a CREATE TABLE, by SQLite 2's rules. Throws ESqlite2Error for
// a table of no columns or with two columns of one name.
TableInfo DescribeTable(const sql::CreateTable& create);
bool IsTextTypedDeclaration(const std::string& type, const std::string& collate);

class Schema {
public:
    // Reads `sqlite_master`. A file without tables gives an empty schema.
    static Schema Read(const Sqlite2File& file);

    const std::vector<MasterRow>& Rows() const { return rows_; }
    // Tables and views by name, ASCII letters compared without case; null when there is none.
    const TableInfo* FindTable(std::string_view name) const;
    const ViewInfo* FindView(std::string_view name) const;
    // The schema table itself, readable as a table named sqlite_master.
    static const TableInfo& MasterTable();
    static const TableInfo& TempMasterTable();

private:
    std::vector<MasterRow> rows_;
    std::vector<TableInfo> tables_;
    std::vector<ViewInfo> views_;
    // Positions in tables_ and views_ by folded name: the schema of a large file is read in linear time.
    std::unordered_map<std::string, std::size_t> tableIndex_, viewIndex_;
};

} // namespace sqlite2
