// Arbitrary bytes as a database file: every failure must be an ESqlite2Error, never a crash, a leak, a
// hang or an allocation far beyond the input's size.
#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Database.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::string Quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (4u << 20)) return 0;
    const std::string image(reinterpret_cast<const char*>(data), size);
    try {
        auto db = sqlite2::Sqlite2Database::FromImage(image);
        db->SetStepLimit(2000000);
        auto ignore = [](int, char**, char**) { return true; };
        for (const sqlite2::MasterRow& row : db->GetSchema().Rows()) {
            if (!row.type || !row.name || (*row.type != "table" && *row.type != "view")) continue;
            try {
                db->Exec("SELECT * FROM " + Quoted(*row.name), ignore);
                db->Exec("SELECT count(*), max(rowid) FROM " + Quoted(*row.name), ignore);
            } catch (const ESqlite2Error&) {
            }
        }
        try {
            db->Exec(
                "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM "
                "daylist) GROUP BY year, month",
                ignore);
        } catch (const ESqlite2Error&) {
        }
        NullBuffer buffer;
        std::ostream sink(&buffer);
        sqlite2::DumpDatabase(db->File(), sink);
    } catch (const ESqlite2Error&) {
    }
    return 0;
}
