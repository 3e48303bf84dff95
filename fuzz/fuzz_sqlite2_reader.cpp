// Arbitrary bytes as a database file, alone or with a rollback journal beside it: every failure must be
// an ESqlite2Error, never a crash, a leak, a hang or an allocation far beyond the input's size.
// An input that starts with "JRNL" and a little-endian length holds that many journal bytes, then the
// database file.
#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Database.h"

#include <algorithm>
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
    std::string image(reinterpret_cast<const char*>(data), size);
    std::string journal;
    if (image.size() >= 8 && image.compare(0, 4, "JRNL") == 0) {
        const std::size_t length = std::min<std::size_t>(
            image.size() - 8, data[4] | data[5] << 8 | data[6] << 16 | std::uint32_t(data[7]) << 24);
        journal = image.substr(8, length);
        image.erase(0, 8 + length);
    }
    try {
        auto db = sqlite2::Sqlite2Database::FromImage(std::move(image), journal);
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
