#include "sqlite2/Dump.h"

#include "sqlite2/Record.h"
#include "sqlite2/Schema.h"
#include "sqlite2/Sq2Values.h"

#include <algorithm>
#include <cctype>

namespace sqlite2 {

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string TableNameForInsert(const std::string& name) {
    bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') plain = false;
    return plain ? name : Quoted(name);
}

void DumpRows(const Sqlite2File& file, const TableInfo& table, std::ostream& out) {
    if (!table.error.empty()) throw ESqlite2Error(ErrCorrupt, table.error);
    if (table.root == 0) return;
    const std::string prefix = "INSERT INTO " + TableNameForInsert(table.name) + " VALUES(";
    std::vector<FieldView> fields;
    std::string line;
    file.WalkTable(table.root, [&](std::int32_t rowid, std::string_view record) {
        DecodeRecord(record, table.columns.size(), fields);
        line = prefix;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) line += ',';
            if (static_cast<int>(i) == table.integerPrimaryKey)
                line += std::to_string(rowid);
            else if (!fields[i])
                line += "NULL";
            else if (LooksLikeNumber(*fields[i]))
                line += *fields[i];
            else
                line += Quoted(*fields[i]);
        }
        line += ");\n";
        out << line;
        return true;
    });
}

} // namespace

void DumpDatabase(const Sqlite2File& file, std::ostream& out) {
    const Schema schema = Schema::Read(file);
    std::vector<const MasterRow*> rows;
    for (const MasterRow& row : schema.Rows())
        if (row.type && *row.type != "meta" && row.sql) rows.push_back(&row);
    // Tables, then views, indexes and triggers (ordered by the second letter of the type), each in
    // creation order.
    auto kind = [](const MasterRow* r) {
        return r->type->size() >= 2 ? static_cast<unsigned char>((*r->type)[1]) : -1;
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const MasterRow* a, const MasterRow* b) { return kind(a) < kind(b); });
    out << "BEGIN TRANSACTION;\n";
    for (const MasterRow* row : rows) {
        out << *row->sql << ";\n";
        if (*row->type == "table" && row->name) {
            const TableInfo* table = schema.FindTable(*row->name);
            if (table) DumpRows(file, *table, out);
        }
    }
    out << "COMMIT;\n";
}

} // namespace sqlite2
