// The recorder's log database as the log list shows it: rows of any bytes (seq, desc, update_time;
// a lone NUL byte stands for NULL) written as loglist.db, read back through the database wrapper with
// the log list's query, and formatted into its lines: one line per row, each ending in the row's text.
#include "fuzz/FuzzSupport.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/SqliteDb.h"
#include "sqlite2/RecorderSchema.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Error.h"
#include "sqlite2/Sqlite2Writer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

sqlite2::Field FieldOfText(std::string_view text) {
    if (text == std::string_view("\0", 1)) return sqlite2::Field::Null();
    return sqlite2::Field(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::ScratchFolder() + "loglist.db";
    sqlite2::Sqlite2Writer writer;
    writer.CreateTable(sqlite2::recorder_schema::LogSql());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::string_view line : Split(text, '\n')) {
        if (line.empty()) continue;
        std::vector<std::string_view> fields = Split(line, '\t');
        fields.resize(3, std::string_view("\0", 1));
        try {
            writer.Insert("log", {FieldOfText(fields[0]), FieldOfText(fields[1]), FieldOfText(fields[2])});
        } catch (const ESqlite2Error&) {
            // SQLite 2 stores no zero byte inside a text and no record over 1 MiB: no file holds such a row.
        }
    }
    writer.WriteFile(path);
    sqlite2::Sqlite2Database::ClearCache();

    sqlite_db db;
    db.open(path);
    const sqlite_result rows = db.query(QelDbSql::LogList());
    db.close();
    if (rows.size() != writer.RowCount("log")) fuzz::Fail("rows lost between the file and the query");
    const std::vector<std::string> lines = LogLines(rows);
    if (lines.size() != rows.size()) fuzz::Fail("a line per row");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& desc = FieldOf(rows[i], "desc");
        if (lines[i].size() < desc.size() ||
            lines[i].compare(lines[i].size() - desc.size(), desc.size(), desc))
            fuzz::Fail("a line does not end in its row's text");
    }
    return 0;
}
