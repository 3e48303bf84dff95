#include "sqlite2/Sqlite2Api.h"

#include "sqlite2/Sqlite2Database.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

struct sqlite {
    std::shared_ptr<sqlite2::Sqlite2Database> db;
};

namespace {

void SetError(char** errmsg, const std::string& text) {
    if (!errmsg) return;
    *errmsg = static_cast<char*>(std::malloc(text.size() + 1));
    if (*errmsg) std::memcpy(*errmsg, text.c_str(), text.size() + 1);
}

} // namespace

sqlite* sqlite_open(const char* filename, int, char** errmsg) {
    if (errmsg) *errmsg = nullptr;
    try {
        if (!filename) throw ESqlite2Error(sqlite2::ErrCantOpen, "unable to open database file");
        auto handle = std::make_unique<sqlite>();
        handle->db = sqlite2::Sqlite2Database::Open(filename);
        return handle.release();
    } catch (const ESqlite2Error& e) {
        SetError(errmsg, e.Message);
    } catch (const std::bad_alloc&) {
        SetError(errmsg, sqlite_error_string(SQLITE_NOMEM));
    } catch (const std::exception& e) {
        SetError(errmsg, e.what());
    }
    return nullptr;
}

int sqlite_exec(sqlite* db, const char* sql, sqlite_callback callback, void* arg, char** errmsg) {
    if (errmsg) *errmsg = nullptr;
    if (!db || !db->db) {
        SetError(errmsg, sqlite_error_string(SQLITE_MISUSE));
        return SQLITE_MISUSE;
    }
    try {
        db->db->Exec(sql ? sql : "", [&](int n, char** values, char** names) {
            return !callback || callback(arg, n, values, names) == 0;
        });
        return SQLITE_OK;
    } catch (const ESqlite2Error& e) {
        SetError(errmsg, e.Message);
        return e.Code;
    } catch (const std::bad_alloc&) {
        SetError(errmsg, sqlite_error_string(SQLITE_NOMEM));
        return SQLITE_NOMEM;
    } catch (const std::exception& e) {
        SetError(errmsg, e.what());
        return SQLITE_ERROR;
    }
}

void sqlite_close(sqlite* db) {
    delete db;
}

void sqlite_freemem(void* p) {
    std::free(p);
}

const char* sqlite_error_string(int code) {
    switch (code) {
    case SQLITE_OK:
        return "not an error";
    case SQLITE_ERROR:
        return "SQL logic error or missing database";
    case SQLITE_ABORT:
        return "callback requested query abort";
    case SQLITE_NOMEM:
        return "out of memory";
    case SQLITE_READONLY:
        return "attempt to write a readonly database";
    case SQLITE_INTERRUPT:
        return "interrupted";
    case SQLITE_CORRUPT:
        return "database disk image is malformed";
    case SQLITE_CANTOPEN:
        return "unable to open database file";
    case SQLITE_MISUSE:
        return "library routine called out of sequence";
    case SQLITE_FORMAT:
        return "unsupported file format";
    case SQLITE_NOTADB:
        return "file is encrypted or is not a database";
    default:
        return "unknown error";
    }
}
