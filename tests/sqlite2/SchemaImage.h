// Test helper: a database whose sqlite_master rows are given as they are, valid or not, for hostile
// schemas (also used by the benchmarks). Page 3 is an empty table B-tree for rows that name it.
#pragma once

#include "sqlite2/BTreeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sqlite2_test {

struct SchemaRow {
    std::string type, name, rootpage, sql;
};

// A record of texts, offsets as wide as its size needs.
inline std::string TextRecord(const std::vector<std::string>& fields) {
    std::size_t body = 0;
    for (const std::string& f : fields)
        body += f.size() + 1;
    std::size_t width = 1;
    while ((fields.size() + 1) * width + body >= (width == 1 ? 256u : 65536u) && width < 3)
        ++width;
    std::string out;
    std::size_t offset = (fields.size() + 1) * width;
    auto put = [&](std::size_t v) {
        for (std::size_t b = 0; b < width; ++b)
            out += static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    for (const std::string& f : fields) {
        put(offset);
        offset += f.size() + 1;
    }
    put(offset);
    for (const std::string& f : fields)
        out += f + '\0';
    return out;
}

inline std::string SchemaImage(const std::vector<SchemaRow>& rows) {
    sqlite2::BTreeImage image(false);
    const std::uint32_t master = image.AllocatePage();
    image.WriteTable(image.AllocatePage(), {});
    std::vector<std::string> records;
    records.reserve(rows.size());
    for (const SchemaRow& r : rows)
        records.push_back(TextRecord({r.type, r.name, r.name, r.rootpage, r.sql}));
    std::vector<sqlite2::BTreeImage::Entry> entries;
    for (std::size_t i = 0; i < records.size(); ++i)
        entries.push_back({static_cast<std::int32_t>(i + 1), &records[i]});
    image.WriteTable(master, entries);
    return image.Finish(1);
}

// N tables named t0, t1, ... of one column, all on the empty page 3.
inline std::string ManyTablesImage(int tables) {
    std::vector<SchemaRow> rows;
    for (int i = 0; i < tables; ++i) {
        const std::string name = "t" + std::to_string(i);
        rows.push_back({"table", name, "3", "CREATE TABLE " + name + " (a INTEGER)"});
    }
    return SchemaImage(rows);
}

// Views v1..vN over table t, each joining the one before with itself: expanded in full, vN reads 2^N
// copies of t.
inline std::vector<SchemaRow> ViewChainRows(int views) {
    std::vector<SchemaRow> rows = {{"table", "t", "3", "CREATE TABLE t (x)"},
                                   {"view", "v0", "0", "CREATE VIEW v0 AS SELECT x FROM t"}};
    for (int i = 1; i <= views; ++i) {
        const std::string name = "v" + std::to_string(i), prev = "v" + std::to_string(i - 1);
        rows.push_back({"view", name, "0",
                        "CREATE VIEW " + name + " AS SELECT a.x AS x FROM " + prev + " a, " + prev + " b"});
    }
    return rows;
}

} // namespace sqlite2_test
