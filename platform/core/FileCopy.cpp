#include "platform/core/FileCopy.h"

#include "platform/core/FilePaths.h"
#include "platform/core/StrUtils.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports a failure of the close itself (a delayed write error).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool CopyBytes(int in, int out) {
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                if (w == 0) errno = ENOSPC;
                return false;
            }
            done += w;
        }
    }
}

bool RenameInto(const std::string& temp, const std::string& destination, bool replace) {
    if (replace) return ::rename(temp.c_str(), destination.c_str()) == 0;
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // No no-replace rename here: a hard link fails on an existing name just the same.
    if (::link(temp.c_str(), destination.c_str()) != 0) return false;
    ::unlink(temp.c_str());
    return true;
}

} // namespace

bool CopyRegularFile(const std::string& source, const std::string& destination, bool replace, int& error) {
    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat src {};
    if (in.Get() < 0 || ::fstat(in.Get(), &src) != 0) {
        error = errno;
        return false;
    }
    if (!S_ISREG(src.st_mode)) {
        error = EACCES;
        return false;
    }
    struct stat dst {};
    if (::stat(destination.c_str(), &dst) == 0) {
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
            error = ETXTBSY;
            return false;
        }
        if (S_ISDIR(dst.st_mode)) {
            error = EISDIR;
            return false;
        }
        if (!replace) {
            error = EEXIST;
            return false;
        }
    }
    const std::string folder = ExtractFilePath(destination);
    const std::string name = ExtractFileName(destination);
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + "." + name + Format(".%08x.part", static_cast<unsigned>(random()));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = errno;
        return false;
    }
    Fd out(fd);
    const timespec times[2] = {src.st_atim, src.st_mtim};
    bool ok = CopyBytes(in.Get(), out.Get()) && ::fchmod(out.Get(), src.st_mode & 07777) == 0 &&
              ::futimens(out.Get(), times) == 0;
    error = ok ? 0 : errno;
    if (!out.Close() && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !RenameInto(temp, destination, replace)) {
        ok = false;
        error = errno;
    }
    if (!ok) ::unlink(temp.c_str());
    return ok;
}
