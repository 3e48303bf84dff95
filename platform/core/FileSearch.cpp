#include "platform/core/FileSearch.h"

#include "platform/core/FilePaths.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct FindState {
    std::string folder; // with a trailing '/'
    std::string mask;
    std::vector<std::string> names;
    std::size_t next = 0;
};

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match with one backtracking point per '*': linear in practice, no recursion.
bool Wildcard(std::string_view name, std::string_view mask) {
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

// Looks at one entry without following a link, then at what a link points to. False when it is gone.
bool Describe(const std::string& full, const std::string& name, struct stat& st, int& attr) {
    struct stat entry {};
    if (::lstat(full.c_str(), &entry) != 0) return false;
    st = entry;
    if (S_ISLNK(entry.st_mode)) {
        struct stat target {};
        if (::stat(full.c_str(), &target) == 0) st = target;
    }
    attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
    if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") attr |= faHidden;
    if (S_ISLNK(entry.st_mode)) attr |= faSymLink;
    return true;
}

// Fills rec from the next entry that passes the mask and the attribute filter.
int Advance(TSearchRec& rec) {
    FindState* state = rec.FindHandle.get();
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<int>(ERROR_INVALID_HANDLE);
    }
    while (state->next < state->names.size()) {
        const std::string& name = state->names[state->next++];
        const std::string full = state->folder + name;
        struct stat st {};
        int attr = 0;
        if (!Describe(full, name, st, attr) || (attr & rec.ExcludeAttr) != 0) continue;
        rec.Name = name;
        rec.Attr = attr;
        rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
        rec.Time = static_cast<std::int64_t>(st.st_mtim.tv_sec);
        return 0;
    }
    return static_cast<int>(ERROR_NO_MORE_FILES);
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (Wildcard(name, mask)) return true;
    // "name.*" also stands for "name" without any extension.
    return mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
           name.find('.') == std::string_view::npos && Wildcard(name, mask.substr(0, mask.size() - 2));
}

int FileGetAttr(const std::string& path) {
    struct stat st {};
    int attr = 0;
    if (!Describe(path, ExtractFileName(ExcludeTrailingPathDelimiter(path)), st, attr)) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return attr;
}

int FindFirst(const std::string& path, int attributes, TSearchRec& rec) {
    FindClose(rec);
    rec.ExcludeAttr = ~attributes & (faHidden | faSysFile | faVolumeID | faDirectory);
    auto state = std::make_shared<FindState>();
    state->folder = ExtractFilePath(path);
    state->mask = ExtractFileName(path);
    const std::string folder = state->folder.empty() ? std::string(".") : state->folder;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        const DWORD error =
            errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : WinErrorFromErrno(errno);
        SetLastError(error);
        return static_cast<int>(error);
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (MatchesMask(entry->d_name, state->mask)) state->names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(state->names.begin(), state->names.end(), [](const std::string& a, const std::string& b) {
        const int c = CompareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    rec.FindHandle = std::move(state);
    const int result = Advance(rec);
    if (result != 0) {
        FindClose(rec);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return static_cast<int>(ERROR_FILE_NOT_FOUND);
    }
    return 0;
}

int FindNext(TSearchRec& rec) {
    const int result = Advance(rec);
    if (result != 0) SetLastError(static_cast<DWORD>(result));
    return result;
}

void FindClose(TSearchRec& rec) {
    rec.FindHandle.reset();
}
