#include "recdb/SqliteDb.h"

#include "sqlite2/Sqlite2Api.h"

#include <algorithm>
#include <cstring>

namespace {

// Takes the error text SQLite handed out and releases it.
std::string TakeError(char* error, const char* fallback) {
    std::string message = error ? error : fallback;
    if (error) sqlite_freemem(error);
    return message;
}

} // namespace

sqlite_exception::sqlite_exception(const std::string& message) : Exception(std::string()) {
    std::size_t n = std::min<std::size_t>(message.size(), sizeof text_ - 1);
    // Never cut inside a UTF-8 sequence: step back over continuation bytes.
    if (n < message.size())
        while (n > 0 && (static_cast<unsigned char>(message[n]) & 0xC0) == 0x80)
            --n;
    std::memcpy(text_, message.data(), n);
    text_[n] = '\0';
    Message.assign(text_, n);
}

sqlite_db::~sqlite_db() {
    close();
}

void sqlite_db::open(const std::string& path) {
    close();
    char* error = nullptr;
    handle_ = sqlite_open(path.c_str(), 0, &error);
    if (!handle_) throw sqlite_exception(TakeError(error, "unable to open database file"));
    if (error) sqlite_freemem(error);
}

int sqlite_db::try_open(const std::string& path) {
    close();
    char* error = nullptr;
    handle_ = sqlite_open(path.c_str(), 0, &error);
    if (error) sqlite_freemem(error);
    return handle_ ? 1 : -1;
}

void sqlite_db::close() {
    if (!handle_) return;
    sqlite_close(handle_);
    handle_ = nullptr;
}

sqlite_result sqlite_db::query(const std::string& sql) {
    if (!handle_) throw sqlite_exception("No opened database");
    sqlite_result result;
    char* error = nullptr;
    const int rc = sqlite_exec(handle_, sql.c_str(), &sqlite_db::row_callback, &result, &error);
    if (rc != SQLITE_OK) throw sqlite_exception(TakeError(error, sqlite_error_string(rc)));
    if (error) sqlite_freemem(error);
    return result;
}

int sqlite_db::row_callback(void* result, int count, char** values, char** names) {
    sqlite_fields row;
    for (int i = 0; i < count; ++i)
        row[names[i] ? names[i] : ""] = values[i] ? values[i] : "";
    static_cast<sqlite_result*>(result)->push_back(std::move(row));
    return 0;
}
