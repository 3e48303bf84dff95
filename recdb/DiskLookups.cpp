#include "recdb/DiskLookups.h"

#include "platform/core/StrUtils.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/SqliteDb.h"

#include <sys/stat.h>

namespace {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::int64_t> SeqOf(const std::string& text) {
    try {
        return StrToInt64(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// The value of the last row's only column, "" when there is no row.
std::string LastValue(const sqlite_result& rows, const std::string& column) {
    return rows.empty() ? std::string() : FieldOf(rows.back(), column);
}

} // namespace

std::string PyrDbPath(const std::string& dbRoot) {
    return dbRoot + "pyrdb";
}

std::string GetDbFilePath(const std::string& dbRoot, const std::string& avRoot, const std::string& entry0) {
    // The SQL is built from a checked number only, never from the play-list text itself.
    const std::optional<std::int64_t> seq = SeqOf(entry0);
    if (!seq || !FileExists(PyrDbPath(dbRoot))) return {};
    try {
        sqlite_db db;
        db.open(PyrDbPath(dbRoot));
        const std::string name = LastValue(db.query(QelDbSql::FileNameOfSeq(*seq)), "file_name");
        return name.empty() ? std::string() : avRoot + name;
    } catch (const sqlite_exception&) {
        return {};
    }
}

int ChannelIndex(int searchChannel, int selectedCamera) {
    const int index = searchChannel == -1 ? selectedCamera : searchChannel - 1;
    return index >= 0 && index <= 4 ? index : 4;
}

NextFileResult FindNextFileInDb(const NextFileRequest& request) {
    NextFileResult result;
    std::string found;
    const std::optional<std::int64_t> current = SeqOf(request.entry0);
    if (current && FileExists(PyrDbPath(request.dbRoot))) {
        try {
            sqlite_db db;
            db.open(PyrDbPath(request.dbRoot));
            const int channel = ChannelIndex(request.searchChannel, request.selectedCamera);
            const sqlite_result rows =
                db.query(QelDbSql::AdjacentFile(request.next, request.searchMode, *current, channel));
            found = LastValue(rows, request.next ? "min(seq)" : "max(seq)");
        } catch (const sqlite_exception&) {
            found.clear();
        }
    }
    if (const std::optional<std::int64_t> seq = found.empty() ? std::nullopt : SeqOf(found)) {
        result.found = true;
        result.seq = *seq;
        return result;
    }
    if (request.searchChannel == -1) result.knobPos = request.forwardPlayback ? 1000 : 0;
    return result;
}
