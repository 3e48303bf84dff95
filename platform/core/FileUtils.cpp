#include "platform/core/FileUtils.h"

#include "platform/core/FileCopy.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

bool Fail(int error) {
    SetLastErrorFromErrno(error);
    return false;
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return Fail(errno);
    if (S_ISDIR(st.st_mode)) return Fail(EACCES);
    return ::unlink(path.c_str()) == 0 || Fail(errno);
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    if (::renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return Fail(errno == EEXIST ? EEXIST : errno);
    // File systems without the no-replace rename: look first, accepting the small race.
    struct stat st {};
    if (::lstat(newName.c_str(), &st) == 0) return Fail(EEXIST);
    return ::rename(oldName.c_str(), newName.c_str()) == 0 || Fail(errno);
}

BOOL CopyFile(const std::string& source, const std::string& destination, BOOL failIfExists) {
    int error = 0;
    if (!CopyRegularFile(source, destination, failIfExists == FALSE, error)) {
        if (error == EEXIST && failIfExists != FALSE)
            SetLastError(ERROR_FILE_EXISTS);
        else
            SetLastErrorFromErrno(error);
        return FALSE;
    }
    return TRUE;
}

bool CreateDir(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || Fail(errno);
}

bool ForceDirectories(const std::string& path) {
    const std::string folder = ExcludeTrailingPathDelimiter(path);
    if (folder.empty()) return Fail(ENOENT);
    if (DirectoryExists(folder)) return true;
    const std::string parent = ExtractFileDir(folder);
    if (!parent.empty() && parent != folder && !ForceDirectories(parent)) return false;
    if (::mkdir(folder.c_str(), 0777) == 0) return true;
    const int error = errno;
    return DirectoryExists(folder) || Fail(error);
}

bool RemoveDir(const std::string& path) {
    return ::rmdir(path.c_str()) == 0 || Fail(errno);
}

std::int64_t FileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) return false;
    in.seekg(0, std::ios::beg);
    bytes.assign(static_cast<std::size_t>(size), '\0');
    if (size > 0 && (!in.read(bytes.data(), size) || in.gcount() != size)) {
        bytes.clear();
        return false;
    }
    return true;
}

std::int64_t FileAge(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(st.st_mtim.tv_sec);
}

int FileSetAttr(const std::string& path, int attributes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        SetLastErrorFromErrno(errno);
        return static_cast<int>(WinErrorFromErrno(errno));
    }
    mode_t mode = st.st_mode & 07777;
    if ((attributes & faReadOnly) != 0)
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    else
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && ::chmod(path.c_str(), mode) != 0) {
        SetLastErrorFromErrno(errno);
        return static_cast<int>(WinErrorFromErrno(errno));
    }
    return 0;
}

std::int64_t DiskFree(const std::string& path) {
    struct statvfs fs {};
    if (::statvfs(path.c_str(), &fs) != 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(fs.f_bavail) * static_cast<std::int64_t>(fs.f_frsize);
}

std::int64_t DiskSize(const std::string& path) {
    struct statvfs fs {};
    if (::statvfs(path.c_str(), &fs) != 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(fs.f_blocks) * static_cast<std::int64_t>(fs.f_frsize);
}

std::string GetCurrentDir() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            SetLastErrorFromErrno(errno);
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool SetCurrentDir(const std::string& path) {
    return ::chdir(path.c_str()) == 0 || Fail(errno);
}
