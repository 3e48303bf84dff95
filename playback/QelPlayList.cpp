// The play list and the chaining of recordings through the recorder disk's database.
#include "playback/Qelvidfile.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "recdb/DiskLookups.h"
#include "recdb/QelDbSql.h"
#include "recdb/SqliteDb.h"

#include <optional>

namespace {

bool InList(int index) {
    return index >= 0 && index < kPlayListSize;
}

// The first column of the first row, "" when there is none (an aggregate over no rows is NULL).
std::string FirstValue(const sqlite_result& rows) {
    if (rows.empty() || rows.front().empty()) return {};
    return rows.front().begin()->second;
}

} // namespace

void CQelVideoFile::SetListItem(const std::string& name, int index) {
    if (InList(index)) playList[static_cast<std::size_t>(index)] = name;
}

std::string CQelVideoFile::GetListItem(int index) {
    if (!InList(index)) return {};
    listPos = index;
    return playList[static_cast<std::size_t>(index)];
}

void CQelVideoFile::ClearList() {
    for (std::string& entry : playList)
        entry.clear();
}

void CQelVideoFile::SetDbChaining(int mode, const std::string& dbFolder, const std::string& avFolder,
                                  int seq) {
    chainMode = mode;
    dbRoot = dbFolder;
    avRoot = avFolder;
    chainSeq = seq;
}

void CQelVideoFile::TakePlayListFrom(const CQelVideoFile& other) {
    // In database chaining entry 1 is the other reader's thread's to write: it stays behind.
    for (std::size_t i = 0; i < playList.size() && i < other.playList.size(); ++i)
        if (other.chainMode != 1 || i != 1) playList[i] = other.playList[i];
    listPos = other.listPos.load();
    listEnd = other.listEnd.load();
    listStart = other.listStart.load();
    chainMode = other.chainMode;
    dbRoot = other.dbRoot;
    avRoot = other.avRoot;
    chainSeq = other.chainSeq.load();
    searchFilterSource = other.searchFilterSource;
}

QelSearchFilter CQelVideoFile::SearchFilter() const {
    return searchFilterSource ? searchFilterSource() : QelSearchFilter{};
}

void CQelVideoFile::FindNextFileInDb() {
    // Whatever goes wrong, the reader thread sees "no next file" and stops after the current one.
    std::string found;
    std::string fileName;
    const bool forward = direction != 0;
    try {
        const std::string path = PyrDbPath(dbRoot);
        if (FileExists(path)) {
            sqlite_db db;
            db.open(path);
            const QelSearchFilter filter = SearchFilter();
            const int channel = ChannelIndex(filter.searchChannel, filter.selectedCamera);
            found =
                FirstValue(db.query(QelDbSql::AdjacentFile(forward, filter.searchMode, chainSeq, channel)));
            if (!found.empty()) {
                const std::int64_t seq = StrToInt64(found);
                if (seq < INT32_MIN || seq > INT32_MAX) throw EConvertError(found);
                chainSeq = static_cast<int>(seq);
                fileName = FirstValue(db.query(QelDbSql::FileNameOfSeq(seq)));
            }
        }
    } catch (const Exception&) {
        found.clear();
        fileName.clear();
    }
    // A row without a name counts as the end: playing entry 1 again would loop on the same file.
    if (found.empty() || fileName.empty()) {
        SetListItem(std::string(), 1);
        return;
    }
    SetListItem(avRoot + fileName, 1);
    listEnd = 3;
    listStart = -1;
}
