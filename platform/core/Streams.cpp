#include "platform/core/Streams.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Clamps a 64-bit remainder to what one Read or Write call can count.
int ChunkOf(std::int64_t remaining) {
    return static_cast<int>(std::min<std::int64_t>(remaining, std::numeric_limits<int>::max()));
}

// The new position of a seek, or -1 when it would fall before the start or overflow.
std::int64_t Target(std::int64_t base, std::int64_t offset) {
    if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) || base + offset < 0)
        return -1;
    return base + offset;
}

[[noreturn]] void ThrowExpandFailure() {
    throw EOutOfMemory("Out of memory while expanding memory stream");
}

// No memory stream can usefully outgrow the machine's memory; asking the allocator for more would end
// the process under some allocators instead of failing.
std::int64_t PhysicalMemory() {
    static const std::int64_t bytes = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && pageSize > 0 ? static_cast<std::int64_t>(pages) * pageSize
                                         : std::numeric_limits<std::int64_t>::max();
    }();
    return bytes;
}

template <typename Bytes>
void ResizeOrThrow(Bytes& bytes, std::int64_t size) {
    if (size < 0 || size > PhysicalMemory() || static_cast<std::uint64_t>(size) > bytes.max_size())
        ThrowExpandFailure();
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        ThrowExpandFailure();
    } catch (const std::length_error&) {
        ThrowExpandFailure();
    }
}

// Shared by the in-memory streams: copy out from position, never past the end.
template <typename Bytes>
int ReadFrom(const Bytes& bytes, std::int64_t& position, void* buffer, int count) {
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (count <= 0 || buffer == nullptr || position >= size) return 0;
    const int n = static_cast<int>(std::min<std::int64_t>(count, size - position));
    std::memcpy(buffer, bytes.data() + position, static_cast<std::size_t>(n));
    position += n;
    return n;
}

template <typename Bytes>
int WriteTo(Bytes& bytes, std::int64_t& position, const void* buffer, int count) {
    if (count <= 0 || buffer == nullptr) return 0;
    if (position > std::numeric_limits<std::int64_t>::max() - count) ThrowExpandFailure();
    const std::int64_t end = position + count;
    if (end > static_cast<std::int64_t>(bytes.size())) ResizeOrThrow(bytes, end);
    std::memcpy(bytes.data() + position, buffer, static_cast<std::size_t>(count));
    position = end;
    return count;
}

std::int64_t SeekIn(std::int64_t size, std::int64_t& position, std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    switch (origin) {
    case soBeginning:
        base = 0;
        break;
    case soCurrent:
        base = position;
        break;
    case soEnd:
        base = size;
        break;
    default:
        return -1;
    }
    const std::int64_t target = Target(base, offset);
    if (target >= 0) position = target;
    return target;
}

} // namespace

// ---- TStream ----

std::int64_t TStream::Seek(std::int64_t offset, int origin) {
    switch (origin) {
    case soFromBeginning:
        return Seek(offset, soBeginning);
    case soFromCurrent:
        return Seek(offset, soCurrent);
    case soFromEnd:
        return Seek(offset, soEnd);
    default:
        return -1;
    }
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    auto* p = static_cast<unsigned char*>(buffer);
    if (count < 0) throw EReadError("Stream read error");
    while (count > 0) {
        const int n = Read(p, ChunkOf(count));
        if (n <= 0) throw EReadError("Stream read error");
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    const auto* p = static_cast<const unsigned char*>(buffer);
    if (count < 0) throw EWriteError("Stream write error");
    while (count > 0) {
        const int n = Write(p, ChunkOf(count));
        if (n <= 0) throw EWriteError("Stream write error");
        p += n;
        count -= n;
    }
}

std::int64_t TStream::Position() {
    return Seek(std::int64_t{0}, soCurrent);
}

void TStream::SetPosition(std::int64_t position) {
    Seek(position, soBeginning);
}

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(std::int64_t{0}, soCurrent);
    const std::int64_t size = Seek(std::int64_t{0}, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError("Stream size cannot be changed");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count) {
    if (source == nullptr) throw EReadError("Stream read error");
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    if (count < 0) throw EReadError("Stream read error");
    const std::int64_t total = count;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)));
    while (count > 0) {
        const int n =
            static_cast<int>(std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size())));
        source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

// ---- TFileStream ----

TFileStream::TFileStream(const std::string& fileName, WORD mode) : TFileStream(fileName, mode, 0) {}

TFileStream::TFileStream(const std::string& fileName, WORD mode, DWORD) : fileName_(fileName) {
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            flags |= O_RDONLY;
            break;
        }
    }
    do
        fd_ = ::open(fileName.c_str(), flags, 0666);
    while (fd_ < 0 && errno == EINTR);
    int error = fd_ < 0 ? errno : 0;
    if (fd_ >= 0) {
        // A folder opens read-only on this platform; the class library's callers expect a failure.
        struct stat st {};
        if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            error = EACCES;
        }
    }
    if (fd_ < 0) {
        SetLastErrorFromErrno(error);
        const std::string reason = SysErrorMessage(WinErrorFromErrno(error));
        if (create)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), reason.c_str()));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str()));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int TFileStream::Read(void* buffer, int count) {
    if (count <= 0 || buffer == nullptr) return 0;
    auto* p = static_cast<char*>(buffer);
    int done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, p + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SetLastErrorFromErrno(errno);
            break;
        }
        if (n == 0) break;
        done += static_cast<int>(n);
    }
    return done;
}

int TFileStream::Write(const void* buffer, int count) {
    if (count <= 0 || buffer == nullptr) return 0;
    const auto* p = static_cast<const char*>(buffer);
    int done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, p + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            SetLastErrorFromErrno(n < 0 ? errno : ENOSPC);
            break;
        }
        done += static_cast<int>(n);
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    int whence = SEEK_SET;
    if (origin == soCurrent)
        whence = SEEK_CUR;
    else if (origin == soEnd)
        whence = SEEK_END;
    else if (origin != soBeginning)
        return -1;
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (result < 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(result);
}

void TFileStream::SetSize(std::int64_t size) {
    const std::int64_t position = Position();
    if (size < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        SetLastErrorFromErrno(size < 0 ? EINVAL : errno);
        throw EStreamError(Format("Cannot change the size of \"%s\"", fileName_.c_str()));
    }
    if (position > size) SetPosition(size);
}

// ---- TMemoryStream ----

int TMemoryStream::Read(void* buffer, int count) {
    return ReadFrom(data_, position_, buffer, count);
}
int TMemoryStream::Write(const void* buffer, int count) {
    return WriteTo(data_, position_, buffer, count);
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    return SeekIn(Size(), position_, offset, origin);
}

void TMemoryStream::SetSize(std::int64_t size) {
    ResizeOrThrow(data_, size);
    if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* source) {
    if (source == nullptr) throw EReadError("Stream read error");
    source->SetPosition(0);
    const std::int64_t size = source->Size();
    if (size < 0) throw EReadError("Stream read error");
    SetSize(size);
    position_ = 0;
    try {
        if (size > 0) source->ReadBuffer(data_.data(), size);
    } catch (...) {
        Clear();
        throw;
    }
}

void TMemoryStream::SaveToStream(TStream* destination) {
    if (destination == nullptr) throw EWriteError("Stream write error");
    if (!data_.empty()) destination->WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

// ---- TStringStream ----

int TStringStream::Read(void* buffer, int count) {
    return ReadFrom(data_, position_, buffer, count);
}
int TStringStream::Write(const void* buffer, int count) {
    return WriteTo(data_, position_, buffer, count);
}

std::int64_t TStringStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    return SeekIn(Size(), position_, offset, origin);
}

void TStringStream::SetSize(std::int64_t size) {
    ResizeOrThrow(data_, size);
    if (position_ > size) position_ = size;
}

std::string TStringStream::ReadString(int count) {
    if (count <= 0 || position_ >= Size()) return std::string();
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, Size() - position_));
    std::string text = data_.substr(static_cast<std::size_t>(position_), n);
    position_ += static_cast<std::int64_t>(n);
    return text;
}

void TStringStream::WriteString(const std::string& text) {
    WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}
