#include "platform/core/FileTree.h"

#include "platform/core/FileCopy.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileSearch.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Names in a folder other than "." and "..". The folder descriptor stays open for the caller.
bool ListFolder(int folderFd, std::vector<std::string>& names) {
    const int copy = ::dup(folderFd);
    if (copy < 0) return false;
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        ::close(copy);
        return false;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return true;
}

int OpenFolderAt(int parentFd, const char* name) {
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Empties the folder open at folderFd. Works on descriptors only, so a link swapped in for a folder
// along the way is never followed.
bool EmptyFolder(int folderFd, int& error) {
    std::vector<std::string> names;
    if (!ListFolder(folderFd, names)) {
        error = errno;
        return false;
    }
    bool ok = true;
    for (const std::string& name : names) {
        struct stat st {};
        if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            int sub = OpenFolderAt(folderFd, name.c_str());
            if (sub < 0 && errno == EACCES && st.st_uid == ::geteuid()) {
                // A folder without read or search permission is opened up before it is emptied.
                ::fchmodat(folderFd, name.c_str(), (st.st_mode & 07777) | S_IRWXU, 0);
                sub = OpenFolderAt(folderFd, name.c_str());
            }
            if (sub < 0) {
                error = errno;
                ok = false;
                continue;
            }
            if ((st.st_mode & S_IWUSR) == 0) ::fchmod(sub, (st.st_mode & 07777) | S_IRWXU);
            const bool emptied = EmptyFolder(sub, error);
            ::close(sub);
            if (!emptied || ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) != 0) {
                if (emptied) error = errno;
                ok = false;
            }
        } else if (::unlinkat(folderFd, name.c_str(), 0) != 0) {
            error = errno;
            ok = false;
        }
    }
    return ok;
}

bool HasMask(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// The absolute form of a path whose last parts may not exist yet; links in the existing part resolved.
std::string Canonical(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    const std::string trimmed = ExcludeTrailingPathDelimiter(path);
    const std::string parent = ExtractFileDir(trimmed);
    const std::string name = ExtractFileName(trimmed);
    if (name.empty() || name == "." || name == "..") return trimmed;
    if (parent.empty() || parent == trimmed) return IncludeTrailingPathDelimiter(Canonical(".")) + name;
    return IncludeTrailingPathDelimiter(Canonical(parent)) + name;
}

bool Inside(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '/');
}

// Copies a tree onto a destination that does not exist yet; links are copied as links.
bool CopyTree(const std::string& source, const std::string& destination, int& error) {
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) {
        error = errno;
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        // One byte more than the link claims, so that a link that grew meanwhile shows as cut short.
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 2);
        const ssize_t n = ::readlink(source.c_str(), target.data(), target.size() - 1);
        if (n < 0 || static_cast<std::size_t>(n) >= target.size() - 1) {
            error = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        target[static_cast<std::size_t>(n)] = '\0';
        if (::symlink(target.data(), destination.c_str()) != 0) {
            error = errno;
            return false;
        }
        return true;
    }
    if (S_ISREG(st.st_mode)) return CopyRegularFile(source, destination, false, error);
    if (!S_ISDIR(st.st_mode)) {
        error = EINVAL; // devices, pipes and sockets do not travel
        return false;
    }
    if (::mkdir(destination.c_str(), (st.st_mode & 07777) | S_IRWXU) != 0) {
        error = errno;
        return false;
    }
    TSearchRec rec;
    bool ok = true;
    for (int r = FindFirst(IncludeTrailingPathDelimiter(source) + "*", faAnyFile, rec); r == 0 && ok;
         r = FindNext(rec)) {
        if (rec.Name == "." || rec.Name == "..") continue;
        ok = CopyTree(IncludeTrailingPathDelimiter(source) + rec.Name,
                      IncludeTrailingPathDelimiter(destination) + rec.Name, error);
    }
    FindClose(rec);
    ::chmod(destination.c_str(), st.st_mode & 07777);
    return ok;
}

bool MoveOne(const std::string& source, const std::string& destination, int& error);

// Moves one entry of a group; the group's error is that of its first failure.
bool MoveKeepingFirstError(const std::string& source, const std::string& destination, bool okSoFar,
                           int& error) {
    int itemError = 0;
    if (MoveOne(source, destination, itemError)) return okSoFar;
    if (okSoFar) error = itemError;
    return false;
}

bool MergeInto(const std::string& source, const std::string& destination, int& error) {
    TSearchRec rec;
    std::vector<std::string> names;
    for (int r = FindFirst(IncludeTrailingPathDelimiter(source) + "*", faAnyFile, rec); r == 0;
         r = FindNext(rec))
        if (rec.Name != "." && rec.Name != "..") names.push_back(rec.Name);
    FindClose(rec);
    bool ok = true;
    for (const std::string& name : names)
        ok = MoveKeepingFirstError(IncludeTrailingPathDelimiter(source) + name,
                                   IncludeTrailingPathDelimiter(destination) + name, ok, error);
    if (ok && ::rmdir(source.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    return ok;
}

bool MoveOne(const std::string& source, const std::string& destination, int& error) {
    struct stat src {};
    if (::lstat(source.c_str(), &src) != 0) {
        error = errno;
        return false;
    }
    const bool sourceIsFolder = S_ISDIR(src.st_mode);
    if (sourceIsFolder && Inside(Canonical(destination), Canonical(source))) {
        error = EINVAL;
        return false;
    }
    struct stat dst {};
    const bool exists = ::lstat(destination.c_str(), &dst) == 0;
    if (exists && S_ISDIR(dst.st_mode) != sourceIsFolder) {
        error = S_ISDIR(dst.st_mode) ? EISDIR : ENOTDIR;
        return false;
    }
    if (exists && sourceIsFolder) return MergeInto(source, destination, error);
    if (::rename(source.c_str(), destination.c_str()) == 0) return true;
    if (errno != EXDEV) {
        error = errno;
        return false;
    }
    // Another file system: copy, then remove the source only when the copy is whole.
    if (S_ISREG(src.st_mode)) {
        if (!CopyRegularFile(source, destination, true, error)) return false;
    } else {
        if (exists && ::unlink(destination.c_str()) != 0) {
            error = errno;
            return false;
        }
        if (!CopyTree(source, destination, error)) {
            const int saved = error;
            DeleteTree(destination);
            error = saved;
            return false;
        }
    }
    if (!DeleteTree(source)) {
        error = EBUSY;
        return false;
    }
    return true;
}

} // namespace

bool DeleteTree(const std::string& path) {
    const std::string target = ExcludeTrailingPathDelimiter(path);
    if (target.empty() || target == "/") {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) {
        if (::unlink(target.c_str()) == 0) return true;
        SetLastErrorFromErrno(errno);
        return false;
    }
    int folder = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0 && errno == EACCES && st.st_uid == ::geteuid()) {
        ::chmod(target.c_str(), (st.st_mode & 07777) | S_IRWXU);
        folder = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (folder < 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    if ((st.st_mode & S_IWUSR) == 0) ::fchmod(folder, (st.st_mode & 07777) | S_IRWXU);
    int error = 0;
    const bool emptied = EmptyFolder(folder, error);
    ::close(folder);
    if (emptied && ::rmdir(target.c_str()) == 0) return true;
    SetLastErrorFromErrno(emptied ? errno : error);
    return false;
}

bool MoveTree(const std::string& source, const std::string& destination) {
    int error = 0;
    bool ok = true;
    const std::string name = ExtractFileName(source);
    if (HasMask(name)) {
        const std::string folder = ExtractFilePath(source);
        const std::string target = ExcludeTrailingPathDelimiter(destination);
        if (!ForceDirectories(target)) return false;
        TSearchRec rec;
        std::vector<std::string> names;
        for (int r = FindFirst(source, faAnyFile, rec); r == 0; r = FindNext(rec))
            if (rec.Name != "." && rec.Name != "..") names.push_back(rec.Name);
        FindClose(rec);
        for (const std::string& entry : names)
            ok = MoveKeepingFirstError(folder + entry, IncludeTrailingPathDelimiter(target) + entry, ok,
                                       error);
    } else {
        struct stat st {};
        if (::lstat(ExcludeTrailingPathDelimiter(source).c_str(), &st) != 0) {
            SetLastErrorFromErrno(errno);
            return false;
        }
        const std::string target = ExcludeTrailingPathDelimiter(destination);
        const std::string parent = ExtractFileDir(target);
        if (!parent.empty() && !ForceDirectories(parent)) return false;
        ok = MoveOne(ExcludeTrailingPathDelimiter(source), target, error);
    }
    if (!ok) SetLastErrorFromErrno(error);
    return ok;
}
