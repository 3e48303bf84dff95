#include "sqlite2/Sqlite2Database.h"

#include "sqlite2/Record.h"
#include "sqlite2/Sq2Values.h"
#include "sqlite2/Sq3Functions.h"
#include "sqlite2/SqlParser.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <list>
#include <sys/stat.h>

namespace sqlite2 {

namespace {

constexpr std::int64_t kExactDouble = 9007199254740992; // 2^53
constexpr std::size_t kCachedFiles = 4;
constexpr int kStepsPerCheck = 1000;

std::string LowerName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// What tells a file apart from its earlier versions; a missing file has an empty stamp.
struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, st.st_dev, st.st_ino, st.st_size,
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

struct CacheEntry {
    std::string path;
    FileStamp file, journal;
    std::shared_ptr<Sqlite2Database> db;
};

std::mutex cacheMutex;
std::list<CacheEntry> cache; // most recently used first

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
            throw ESqlite2Error(ErrGeneric, sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

std::shared_ptr<Sqlite2Database> Sqlite2Database::Open(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw ESqlite2Error(ErrCantOpen, "unable to open database file: " + path);
    char* resolved = ::realpath(path.c_str(), nullptr);
    const std::string key = resolved ? resolved : path;
    std::free(resolved);
    // A journal that appears, changes or goes away changes what the file reads as.
    const FileStamp file = StampOf(path), journal = StampOf(path + "-journal");
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->path != key) continue;
            if (it->file == file && it->journal == journal) {
                cache.splice(cache.begin(), cache, it);
                return cache.front().db;
            }
            cache.erase(it);
            break;
        }
    }
    std::shared_ptr<Sqlite2Database> db(new Sqlite2Database(Sqlite2File::Load(path)));
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.push_front(CacheEntry{key, file, journal, db});
    if (cache.size() > kCachedFiles) cache.pop_back();
    return db;
}

std::shared_ptr<Sqlite2Database> Sqlite2Database::FromImage(std::string image, std::string_view journal) {
    return std::shared_ptr<Sqlite2Database>(
        new Sqlite2Database(Sqlite2File::FromImage(std::move(image), journal)));
}

void Sqlite2Database::ClearCache() {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.clear();
}

Sqlite2Database::Sqlite2Database(Sqlite2File file) : file_(std::move(file)), schema_(Schema::Read(file_)) {
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK ||
        !RegisterSq2Functions(db_)) {
        sqlite3_close(db_);
        throw ESqlite2Error(ErrNoMem, "cannot create the in-memory database");
    }
    sqlite3_progress_handler(
        db_, kStepsPerCheck,
        [](void* self) -> int {
            auto* db = static_cast<Sqlite2Database*>(self);
            if (!db->running_) return 0;
            db->steps_ += kStepsPerCheck;
            return db->steps_ > db->stepLimit_ ? 1 : 0;
        },
        this);
}

Sqlite2Database::~Sqlite2Database() {
    sqlite3_close(db_);
}

void Sqlite2Database::Sql3(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "SQLite 3 error";
        sqlite3_free(error);
        throw ESqlite2Error(ErrGeneric, message);
    }
}

const ImportedTable& Sqlite2Database::Import(const TableInfo& table, const std::vector<bool>& columns) {
    const std::string key = LowerName(table.name);
    const std::size_t n = table.columns.size();
    std::vector<bool> wanted(n, false);
    for (std::size_t i = 0; i < n && i < columns.size(); ++i)
        wanted[i] = columns[i];
    if (auto it = imported_.find(key); it != imported_.end()) {
        bool covered = true;
        for (std::size_t i = 0; i < n; ++i)
            covered = covered && (!wanted[i] || it->second.present[i]);
        if (covered) return it->second;
        // A statement reads more columns than were copied: copy the table again with all of them.
        for (std::size_t i = 0; i < n; ++i)
            wanted[i] = wanted[i] || it->second.present[i];
        Sql3("DROP TABLE " + it->second.name);
        imported_.erase(it);
    }

    ImportedTable imported;
    imported.name = "t" + std::to_string(tableNames_++);
    imported.present = wanted;
    imported.plain.assign(n, true);
    const int key0 = table.integerPrimaryKey;
    std::vector<std::size_t> copied; // columns bound after the rowid, in order
    std::string create = "CREATE TABLE " + imported.name + " (";
    std::string insert = "INSERT INTO " + imported.name + " (rowid";
    std::string params = ") VALUES (?";
    bool first = true;
    for (std::size_t i = 0; i < n; ++i) {
        const bool rowidColumn = static_cast<int>(i) == key0;
        if (!wanted[i] && !rowidColumn) continue;
        const std::string col = "c" + std::to_string(i);
        create += (first ? "" : ", ") + col;
        first = false;
        if (rowidColumn) {
            create += " INTEGER PRIMARY KEY";
            continue;
        }
        if (table.columns[i].textTyped) create += " TEXT";
        insert += ", " + col;
        params += ", ?";
        copied.push_back(i);
    }
    if (first) create += "c_none";
    create += ")";
    insert += params + ")";

    Sql3(create);
    try {
        Sql3("BEGIN");
        Statement stmt(db_, insert);
        sqlite3_stmt* s = stmt.get();
        std::vector<FieldView> fields;
        auto add = [&](std::int32_t rowid, const std::vector<FieldView>& values) {
            sqlite3_reset(s);
            sqlite3_bind_int64(s, 1, rowid);
            int slot = 2;
            for (std::size_t i : copied) {
                const FieldView& f = values[i];
                if (!f) {
                    sqlite3_bind_null(s, slot++);
                    continue;
                }
                if (!table.columns[i].textTyped) {
                    // Numbers as numbers, so that SQLite 3 compares them as SQLite 2 does; a spelling
                    // SQLite 3 would print differently stays text and the column is compared with help.
                    std::int64_t iv = 0;
                    double dv = 0;
                    if (CanonicalInteger(*f, iv)) {
                        sqlite3_bind_int64(s, slot++, iv);
                        if (iv < -kExactDouble || iv > kExactDouble) imported.plain[i] = false;
                        continue;
                    }
                    if (CanonicalReal(*f, dv)) {
                        sqlite3_bind_double(s, slot++, dv);
                        imported.plain[i] = false;
                        continue;
                    }
                    if (LooksLikeNumber(*f)) imported.plain[i] = false;
                }
                sqlite3_bind_text(s, slot++, f->data(), static_cast<int>(f->size()), SQLITE_STATIC);
            }
            if (sqlite3_step(s) != SQLITE_DONE) throw ESqlite2Error(ErrCorrupt, sqlite3_errmsg(db_));
            ++rowsImported_;
        };
        if (&table == &Schema::MasterTable()) {
            for (const MasterRow& r : schema_.Rows()) {
                const std::optional<std::string>* cols[] = {&r.type, &r.name, &r.tblName, &r.rootpage,
                                                            &r.sql};
                fields.clear();
                for (auto* c : cols)
                    fields.push_back(*c ? FieldView(**c) : FieldView());
                add(r.rowid, fields);
            }
        } else if (table.root != 0) {
            file_.WalkTable(table.root, [&](std::int32_t rowid, std::string_view record) {
                DecodeRecord(record, n, fields);
                add(rowid, fields);
                return true;
            });
        }
        Sql3("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, ("DROP TABLE " + imported.name).c_str(), nullptr, nullptr, nullptr);
        throw;
    }
    return imported_.emplace(key, std::move(imported)).first->second;
}

void Sqlite2Database::RunSelect(const CompiledSelect& compiled, const RowFn& row) {
    steps_ = 0;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(running_);
    Statement stmt(db_, compiled.sql);
    sqlite3_stmt* s = stmt.get();
    const int columns = sqlite3_column_count(s);
    std::vector<char*> names;
    for (const std::string& name : compiled.names)
        names.push_back(const_cast<char*>(name.c_str()));
    std::vector<std::string> texts(static_cast<std::size_t>(columns));
    std::vector<char*> values(static_cast<std::size_t>(columns));
    for (;;) {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE) return;
        if (rc == SQLITE_INTERRUPT)
            throw ESqlite2Error(ErrInterrupt, "interrupted: the statement ran too long");
        if (rc != SQLITE_ROW) throw ESqlite2Error(ErrGeneric, sqlite3_errmsg(db_));
        for (int i = 0; i < columns; ++i) {
            std::string& t = texts[static_cast<std::size_t>(i)];
            char*& v = values[static_cast<std::size_t>(i)];
            switch (sqlite3_column_type(s, i)) {
            case SQLITE_NULL:
                v = nullptr;
                continue;
            case SQLITE_INTEGER:
                t = std::to_string(sqlite3_column_int64(s, i));
                break;
            case SQLITE_FLOAT:
                t = FormatReal(sqlite3_column_double(s, i));
                break;
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
                t.assign(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
            }
            }
            v = t.data();
        }
        if (!row(columns, values.data(), names.data()))
            throw ESqlite2Error(ErrAbort, "callback requested query abort");
    }
}

void Sqlite2Database::Exec(std::string_view sql, const RowFn& row) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const sql::Statement& statement : sql::ParseStatements(sql)) {
        if (const auto* other = std::get_if<sql::WriteStatement>(&statement)) {
            const std::string& verb = other->verb;
            if (verb == "BEGIN" || verb == "COMMIT" || verb == "END" || verb == "ROLLBACK") continue;
            if (verb == "PRAGMA" || verb == "EXPLAIN" || verb == "ATTACH" || verb == "DETACH")
                throw ESqlite2Error(ErrGeneric, verb + " is not supported by this read-only reader");
            throw ESqlite2Error(ErrReadOnly, "attempt to write a readonly database");
        }
        const auto& select = *std::get<std::unique_ptr<sql::Select>>(statement);
        steps_ = 0;
        RunSelect(CompileSelect(select, sql, schema_, *this), row);
    }
}

} // namespace sqlite2
