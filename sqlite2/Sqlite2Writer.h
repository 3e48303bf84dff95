// Writes SQLite 2.8 database files (1024-byte pages, either byte order) that the real SQLite 2 library
// reads and can modify: the recorder's databases for the simulated recorder, and files for tests.
//
//     sqlite2::Sqlite2Writer w;                              // little-endian, as an x86 recorder
//     w.CreateTable(sqlite2::recorder_schema::DaylistSql());
//     w.Insert("daylist", {2008, 1, 2, 1});
//     w.CreateTable(sqlite2::recorder_schema::DayTableSql("20080102"));
//     w.Insert("H_20080102", {7, 0, 0, 0, 0, 16, 16, 16, 0});
//     w.Insert("avfile", {nullptr, "20080102/07/20080102071400.avr", ...});   // seq from the rowid
//     w.WriteFile(path);                                     // or w.Image() for the bytes
//
// Tables only: no indexes, views or triggers. CREATE TABLE texts with UNIQUE or with a PRIMARY KEY
// other than one INTEGER PRIMARY KEY column are refused, because SQLite 2 would expect index rows for
// them. Every value is stored as text, exactly as given; integers as their decimal text.
#pragma once

#include "sqlite2/RecorderSchema.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sqlite2 {

enum class ByteOrder { Little, Big };

// One field of a row: NULL, or a text (numbers become their decimal text).
class Field {
public:
    Field() = default; // NULL
    Field(std::nullptr_t) {}
    Field(const char* text) : null_(text == nullptr), text_(text ? text : "") {}
    Field(std::string text) : null_(false), text_(std::move(text)) {}
    Field(std::string_view text) : null_(false), text_(text) {}
    Field(int value) : Field(static_cast<long long>(value)) {}
    Field(long value) : Field(static_cast<long long>(value)) {}
    Field(unsigned value) : Field(static_cast<long long>(value)) {}
    Field(long long value) : null_(false), text_(std::to_string(value)) {}
    Field(unsigned long value) : null_(false), text_(std::to_string(value)) {}
    Field(unsigned long long value) : null_(false), text_(std::to_string(value)) {}

    static Field Null() { return Field(); }
    bool IsNull() const { return null_; }
    const std::string& Text() const { return text_; }
    bool operator==(const Field&) const = default;

private:
    bool null_ = true;
    std::string text_;
};

using Row = std::vector<Field>;

class Sqlite2Writer {
public:
    explicit Sqlite2Writer(ByteOrder order = ByteOrder::Little);
    ~Sqlite2Writer();
    Sqlite2Writer(Sqlite2Writer&&) noexcept;
    Sqlite2Writer& operator=(Sqlite2Writer&&) noexcept;
    Sqlite2Writer(const Sqlite2Writer&) = delete;
    Sqlite2Writer& operator=(const Sqlite2Writer&) = delete;

    // Adds a table; the text is kept in the schema exactly as given (no trailing ';'). Throws
    // ESqlite2Error for a text that is not one CREATE TABLE statement, a name already taken (names
    // compare without letter case), UNIQUE, or a PRIMARY KEY other than an INTEGER PRIMARY KEY.
    void CreateTable(const std::string& createSql);
    bool HasTable(std::string_view name) const;
    std::vector<std::string> ColumnNames(std::string_view table) const;

    // Appends a row; it must have one field per column. The rowid is the largest so far + 1 (1 in an
    // empty table), unless the table has an INTEGER PRIMARY KEY column whose field is an integer text:
    // that value is the rowid, as in SQLite. Returns the rowid. Throws ESqlite2Error for an unknown
    // table, a wrong field count, a rowid already used or out of 32-bit range, a record over 1 MiB.
    std::int32_t Insert(std::string_view table, const Row& row);
    void InsertWithRowid(std::string_view table, std::int32_t rowid, const Row& row);
    std::size_t RowCount(std::string_view table) const;

    // The complete file. Can be called any number of times; later inserts show in later images.
    std::string Image() const;
    // Writes the image to a temporary file beside `path` and renames it over `path`, so a reader never
    // sees half a file. Throws ESqlite2Error when the file cannot be written.
    void WriteFile(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace sqlite2
