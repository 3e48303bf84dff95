#include "sqlite2/Schema.h"

#include "sqlite2/Record.h"
#include "sqlite2/SqlParser.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace sqlite2 {

namespace {

std::string LowerNoBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> ToString(const FieldView& f) {
    if (!f) return std::nullopt;
    return std::string(*f);
}

bool ParseRoot(const std::optional<std::string>& text, std::uint32_t pageCount, std::uint32_t& root) {
    if (!text || text->empty() || text->size() > 10) return false;
    std::uint64_t v = 0;
    for (char c : *text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (v < 2 || v > pageCount) return false;
    root = static_cast<std::uint32_t>(v);
    return true;
}

TableInfo MakeMaster(std::string name, std::uint32_t root) {
    TableInfo t;
    t.name = std::move(name);
    t.root = root;
    t.columns = {{"type", "text", true},
                 {"name", "text", true},
                 {"tbl_name", "text", true},
                 {"rootpage", "integer", false},
                 {"sql", "text", true}};
    return t;
}

} // namespace

bool IsTextTypedDeclaration(const std::string& type, const std::string& collate) {
    if (sql::SameName(collate, "TEXT")) return true;
    if (sql::SameName(collate, "NUMERIC")) return false;
    const std::string t = LowerNoBlanks(type);
    return t.find("blob") != std::string::npos || t.find("clob") != std::string::npos ||
           t.find("char") != std::string::npos || t.find("text") != std::string::npos;
}

TableInfo DescribeTable(const sql::CreateTable& create) {
    TableInfo info;
    info.name = create.name;
    if (create.columns.empty()) throw ESqlite2Error(ErrGeneric, "table " + create.name + " has no columns");
    std::unordered_set<std::string> names;
    for (const sql::ColumnDef& c : create.columns) {
        if (!names.insert(sql::FoldName(c.name)).second)
            throw ESqlite2Error(ErrGeneric, "duplicate column name: " + c.name);
        info.columns.push_back({c.name, c.type, IsTextTypedDeclaration(c.type, c.collate)});
    }
    // The rowid column: one column declared exactly INTEGER that is the table's only primary key.
    int key = -1;
    int keys = 0;
    for (std::size_t i = 0; i < create.columns.size(); ++i)
        if (create.columns[i].primaryKey) {
            key = static_cast<int>(i);
            ++keys;
        }
    if (!create.tablePrimaryKey.empty()) {
        keys += 1;
        if (create.tablePrimaryKey.size() == 1)
            for (std::size_t i = 0; i < create.columns.size(); ++i)
                if (sql::SameName(create.columns[i].name, create.tablePrimaryKey[0]))
                    key = static_cast<int>(i);
        if (create.tablePrimaryKey.size() != 1) keys += 1;
    }
    if (keys == 1 && key >= 0 && LowerNoBlanks(create.columns[key].type) == "integer")
        info.integerPrimaryKey = key;
    return info;
}

const TableInfo& Schema::MasterTable() {
    static const TableInfo master = MakeMaster("sqlite_master", kMasterRoot);
    return master;
}

const TableInfo& Schema::TempMasterTable() {
    static const TableInfo temp = MakeMaster("sqlite_temp_master", 0);
    return temp;
}

Schema Schema::Read(const Sqlite2File& file) {
    Schema s;
    if (!file.HasMaster()) return s;
    std::vector<FieldView> fields;
    file.WalkTable(kMasterRoot, [&](std::int32_t rowid, std::string_view record) {
        DecodeRecord(record, 5, fields);
        s.rows_.push_back(MasterRow{rowid, ToString(fields[0]), ToString(fields[1]), ToString(fields[2]),
                                    ToString(fields[3]), ToString(fields[4])});
        return true;
    });
    for (const MasterRow& row : s.rows_) {
        if (!row.type || !row.name) continue;
        if (*row.type == "table") {
            // A second row for one name cannot be reached.
            if (!s.tableIndex_.emplace(sql::FoldName(*row.name), s.tables_.size()).second) continue;
            TableInfo info;
            try {
                if (!row.sql) throw ESqlite2Error(ErrCorrupt, "no CREATE statement");
                info = DescribeTable(sql::ParseCreateTable(*row.sql));
                if (!ParseRoot(row.rootpage, file.PageCount(), info.root))
                    throw ESqlite2Error(ErrCorrupt, "root page outside the file");
            } catch (const ESqlite2Error& e) {
                info.columns.clear();
                info.error = "malformed database schema - table " + *row.name + ": " + e.Message;
            }
            info.name = *row.name;
            s.tables_.push_back(std::move(info));
        } else if (*row.type == "view") {
            if (!s.viewIndex_.emplace(sql::FoldName(*row.name), s.views_.size()).second) continue;
            ViewInfo view;
            view.name = *row.name;
            try {
                if (!row.sql) throw ESqlite2Error(ErrCorrupt, "no CREATE statement");
                view.view = std::make_shared<const sql::CreateView>(sql::ParseCreateView(*row.sql));
            } catch (const ESqlite2Error& e) {
                view.error = "malformed database schema - view " + *row.name + ": " + e.Message;
            }
            s.views_.push_back(std::move(view));
        }
    }
    return s;
}

const TableInfo* Schema::FindTable(std::string_view name) const {
    if (sql::SameName(name, "sqlite_master")) return &MasterTable();
    if (sql::SameName(name, "sqlite_temp_master")) return &TempMasterTable();
    const auto it = tableIndex_.find(sql::FoldName(name));
    return it == tableIndex_.end() ? nullptr : &tables_[it->second];
}

const ViewInfo* Schema::FindView(std::string_view name) const {
    const auto it = viewIndex_.find(sql::FoldName(name));
    return it == viewIndex_.end() ? nullptr : &views_[it->second];
}

} // namespace sqlite2
