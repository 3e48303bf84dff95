// The C-style calls through which the database wrapper reaches SQLite 2 files. A handle reads one file;
// nothing is ever written, and opening a missing file fails instead of creating it.
#pragma once

struct sqlite;

// Per result row: the argument, the column count, the values (null for NULL) and the column names.
// A non-zero return stops the statement with SQLITE_ABORT.
typedef int (*sqlite_callback)(void*, int, char**, char**);

// Result codes; the numbers are those of SQLite's own headers.
#define SQLITE_OK 0
#define SQLITE_ERROR 1
#define SQLITE_ABORT 4
#define SQLITE_NOMEM 7
#define SQLITE_READONLY 8
#define SQLITE_INTERRUPT 9
#define SQLITE_CORRUPT 11
#define SQLITE_CANTOPEN 14
#define SQLITE_MISUSE 21
#define SQLITE_FORMAT 24
#define SQLITE_NOTADB 26

// Returns null on failure with *errmsg set to a text to release with sqlite_freemem (errmsg may be
// null). The mode is unused.
sqlite* sqlite_open(const char* filename, int mode, char** errmsg);
// Runs every statement of the text; returns SQLITE_OK or an error code with *errmsg set.
int sqlite_exec(sqlite* db, const char* sql, sqlite_callback callback, void* arg, char** errmsg);
void sqlite_close(sqlite* db);
void sqlite_freemem(void* p);
// The text for a result code.
const char* sqlite_error_string(int code);
