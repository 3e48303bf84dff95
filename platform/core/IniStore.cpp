#include "platform/core/IniStore.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long long Nanoseconds(const timespec& ts) {
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

bool ReadWhole(int fd, std::string& out) {
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteWhole(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a rename must replace: a symbolic link is followed, so the link itself stays.
std::string ReplaceTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

} // namespace

// False when the file exists but cannot be looked at.
bool IniStore::TakeStamp(Stamp& stamp, bool& isFolder) const {
    struct stat st {};
    stamp = Stamp();
    isFolder = false;
    if (::stat(path_.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR;
    stamp.exists = true;
    stamp.dev = st.st_dev;
    stamp.ino = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtimeNs = Nanoseconds(st.st_mtim);
    stamp.ctimeNs = Nanoseconds(st.st_ctim);
    isFolder = S_ISDIR(st.st_mode);
    return true;
}

bool IniStore::Refresh(bool forEdit) {
    Stamp now;
    bool isFolder = false;
    if (!TakeStamp(now, isFolder)) {
        loaded_ = false;
        doc_ = IniDocument();
        return !forEdit;
    }
    if (loaded_ && now == stamp_) return true;
    std::string bytes;
    if (now.exists) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && ReadWhole(fd, bytes);
        if (fd >= 0) ::close(fd);
        if (!ok || isFolder) {
            loaded_ = false;
            doc_ = IniDocument();
            return false;
        }
    }
    doc_ = IniDocument::Parse(bytes);
    stamp_ = now;
    loaded_ = true;
    return true;
}

bool IniStore::WriteReplacing(const std::string& bytes) {
    const std::string target = ReplaceTarget(path_);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + "." + base + Format(".%08x.tmp", static_cast<unsigned>(random()));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return false;
    if (replacing) {
        // The new file takes the old one's permissions and, where allowed, its owner.
        (void)::fchmod(fd, old.st_mode & 07777);
        (void)::fchown(fd, old.st_uid, old.st_gid);
    }
    bool ok = WriteWhole(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = error;
    }
    return ok;
}

void IniStore::Edit(const std::function<bool(IniDocument&)>& editor) {
    std::lock_guard lock(mutex_);
    if (!Refresh(true)) {
        SetLastErrorFromErrno(errno);
        throw EIniFileException(Format("Unable to write to %s", path_.c_str()));
    }
    IniDocument edited = doc_;
    if (!editor(edited)) return;
    const std::string bytes = edited.Serialize();
    if (!WriteReplacing(bytes)) {
        SetLastErrorFromErrno(errno);
        loaded_ = false;
        throw EIniFileException(Format("Unable to write to %s", path_.c_str()));
    }
    doc_ = std::move(edited);
    bool isFolder = false;
    loaded_ = TakeStamp(stamp_, isFolder);
}
