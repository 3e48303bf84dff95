// SQL text of the SQLite 2 dialect against a fixed small database made at start-up: the recorder's
// tables with a few rows, and a table of values that are numbers to one reading and text to another.
// Every statement either runs, ending within its work limit, or fails with an ESqlite2Error; a result
// row always has as many values as names.
#include "sqlite2/RecorderSchema.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Error.h"
#include "sqlite2/Sqlite2Writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

std::string DatabaseImage() {
    namespace rs = sqlite2::recorder_schema;
    sqlite2::Sqlite2Writer w;
    w.CreateTable(rs::DaylistSql());
    w.Insert("daylist", {2008, 1, 2, 0});
    w.Insert("daylist", {2008, 1, 2, 1});
    w.Insert("daylist", {2007, 12, 31, 0});
    w.CreateTable(rs::DayTableSql("20080102"));
    w.Insert("H_20080102", {7, 0, 1, 0, 0, 16, 16, 0, 0});
    w.Insert("H_20080102", {8, 0, 0, 0, 0, 0, 3, 0, 0});
    w.CreateTable(rs::AvfileSql());
    w.Insert("avfile", {nullptr,
                        "2008010207/20080102071400",
                        2008,
                        1,
                        2,
                        7,
                        "20080102071400",
                        "20080102071900",
                        1199258040,
                        1199258340,
                        1199258341,
                        "SYSTEM-0001",
                        0,
                        1,
                        0,
                        0,
                        16,
                        16,
                        0,
                        0});
    w.Insert("avfile", {nullptr,
                        "2008010208/20080102080000",
                        2008,
                        1,
                        2,
                        8,
                        "20080102080000",
                        nullptr,
                        1199260800,
                        nullptr,
                        "x",
                        "",
                        0,
                        0,
                        0,
                        0,
                        3,
                        0,
                        0,
                        0});
    w.CreateTable(rs::LogSql());
    w.Insert("log", {1, "POWER ON", 1199257940});
    w.Insert("log", {2, "DISK FULL \xEC\x9D\xB4", "not a time"});
    w.CreateTable("CREATE TABLE vals (id INTEGER PRIMARY KEY, n INTEGER, t VARCHAR(10), u)");
    for (const char* v : {"1", "01", "+1", "1.0", "1e0", "-5", "2147483648", "99999999999999999999", ".5",
                          " 7", "abc", "", "0x10", "-0", "12abc", "9223372036854775808", "1e308", "-1e400"})
        w.Insert("vals", {nullptr, v, v, v});
    w.Insert("vals", {nullptr, nullptr, nullptr, nullptr});
    return w.Image();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::shared_ptr<sqlite2::Sqlite2Database> db = [] {
        auto opened = sqlite2::Sqlite2Database::FromImage(DatabaseImage());
        opened->SetStepLimit(2000000);
        return opened;
    }();
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    std::size_t rows = 0;
    try {
        db->Exec(sql, [&](int columns, char** values, char** names) {
            if (columns < 1 || values == nullptr || names == nullptr) std::abort();
            for (int i = 0; i < columns; ++i)
                if (names[i] == nullptr) std::abort();
            // Enough rows to see a result; a cross join of every table need not be read to its end.
            return ++rows < 5000;
        });
    } catch (const ESqlite2Error&) {
    }
    return 0;
}
