// The thin wrapper through which every read of a recorder database goes: one open file, one SQL text at
// a time, all result rows at once as maps from column name to value text.
#pragma once

#include "platform/core/Exceptions.h"

#include <map>
#include <string>
#include <vector>

struct sqlite;

// One row: column name -> value, names in byte order (so "month" comes before "year"); NULL is "".
// Callers read values by name.
using sqlite_fields = std::map<std::string, std::string>;
// The rows in delivery order.
using sqlite_result = std::vector<sqlite_fields>;

// A database failure. The message is kept in a fixed buffer of 256 bytes: at most 255 bytes, cut at a
// character boundary of UTF-8 text.
class sqlite_exception : public Exception {
public:
    explicit sqlite_exception(const std::string& message);
    const char* what() const noexcept override { return text_; }

private:
    char text_[256];
};

class sqlite_db {
public:
    sqlite_db() = default;
    virtual ~sqlite_db();
    sqlite_db(const sqlite_db&) = delete;
    sqlite_db& operator=(const sqlite_db&) = delete;

    // Opens the file (closing an open one first). A missing file is an error; nothing is ever created.
    void open(const std::string& path);
    // As open, but 1 on success and -1 on failure instead of an exception.
    int try_open(const std::string& path);
    void close();
    bool is_open() const { return handle_ != nullptr; }
    // Runs the whole text; throws "No opened database" when closed, or SQLite's text.
    sqlite_result query(const std::string& sql);

    static int row_callback(void* result, int count, char** values, char** names);

private:
    sqlite* handle_ = nullptr;
};
