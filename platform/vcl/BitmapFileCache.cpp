#include "platform/vcl/BitmapFileCache.h"

#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/GraphicsErrors.h"
#include "platform/vcl/StreamBytes.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <list>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vcl_internal {

namespace {

// Holding a file keeps every loaded copy of its pixels shared, so none is written in place. The
// pixels held are bounded, and only small files are kept: a picture loaded once gains nothing.
constexpr std::size_t MaxHeldPixels = 4u << 20;
constexpr std::size_t MaxFileBytes = 256u << 10;

struct TCache {
    std::mutex Lock;
    std::list<std::shared_ptr<TBitmapFile>> Entries; // most recently used first
    std::size_t HeldPixels = 0;
};

TCache& Cache() {
    static TCache cache;
    return cache;
}

std::size_t PixelCount(const TBitmapFile& f) {
    return static_cast<std::size_t>(f.Width) * static_cast<std::size_t>(f.Height);
}

TPixelFormat FormatOfBitCount(int bitCount) {
    switch (bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return pf16bit;
    case 32:
        return pf32bit;
    default:
        return pf24bit;
    }
}

} // namespace

TBitmapFile::TBitmapFile(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<std::uint8_t[]> owned) {
    TBmpImage header = ReadBmpHeader(bytes, size);
    Width = header.Width;
    Height = header.Height;
    Format = FormatOfBitCount(header.BitCount);
    Palette = std::move(header.Palette);
    if (owned) {
        bytes_ = std::move(owned);
    } else {
        bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        std::memcpy(bytes_.get(), bytes, size);
    }
    size_ = size;
}

TBitmapFile::TBitmapFile(std::string path, std::size_t size, std::unique_ptr<std::uint8_t[]> head,
                         std::size_t headSize)
    : bytes_(std::move(head)), path_(std::move(path)), headSize_(headSize) {
    TBmpImage header = ReadBmpHeader(bytes_.get(), size); // reads no further than the head (see the caller)
    Width = header.Width;
    Height = header.Height;
    Format = FormatOfBitCount(header.BitCount);
    Palette = std::move(header.Palette);
    size_ = size;
}

namespace {

// Reads up to `size` bytes; how many it read.
std::size_t ReadUpTo(int fd, std::uint8_t* to, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, to + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// The whole file when it is still a regular file of `size` bytes.
std::unique_ptr<std::uint8_t[]> ReadWhole(const std::string& path, std::size_t size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    std::unique_ptr<std::uint8_t[]> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) == size) {
        bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        if (ReadUpTo(fd, bytes.get(), size) != size) bytes.reset();
    }
    ::close(fd);
    return bytes;
}

} // namespace

std::shared_ptr<const TImageData> TBitmapFile::ReadAndDecode() const {
    if (path_.empty()) return DecodeBmpPixels(bytes_.get(), size_);
    std::unique_ptr<std::uint8_t[]> whole = ReadWhole(path_, size_);
    // Rewritten since its header was read: the picture has nothing left to show.
    if (!whole || std::memcmp(whole.get(), bytes_.get(), headSize_) != 0)
        return TImageData::Create(Width, Height, true);
    return DecodeBmpPixels(whole.get(), size_);
}

std::shared_ptr<const TImageData> TBitmapFile::Pixels() const {
    std::lock_guard<std::mutex> lock(lock_);
    if (!pixels_) {
        std::shared_ptr<const TImageData> pixels = ReadAndDecode();
        // Bitmaps index the pixels by the size read at load.
        if (pixels->Width != Width || pixels->Height != Height)
            throw EInvalidGraphic("Bitmap image is not valid: its pixels do not match its header");
        pixels_ = std::move(pixels);
        if (!kept_) bytes_.reset();
    }
    return pixels_;
}

bool TBitmapFile::Holds(const std::uint8_t* bytes, std::size_t size) const {
    // Compared in full, which costs less than hashing them.
    return kept_ && size_ == size && std::memcmp(bytes_.get(), bytes, size) == 0;
}

namespace {

std::atomic<bool> decodeAhead{false};

// One thread that decodes the files given to it, started with the first. It touches no object but
// this one and the files it holds (DecodeBmpPixels uses no toolkit and no static object), and it is
// stopped and joined when this object, a static, is destroyed at the program's end.
class TDecoder {
public:
    ~TDecoder() {
        {
            std::lock_guard<std::mutex> hold(lock_);
            stopping_ = true;
            files_.clear();
        }
        given_.notify_one();
        if (!thread_.joinable()) return;
        // A child made by fork has this object but not its thread.
        if (::getpid() == owner_)
            thread_.join();
        else
            thread_.detach();
    }

    void Give(std::shared_ptr<const TBitmapFile> file) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (stopping_) return;
            files_.push_back(std::move(file));
            if (!thread_.joinable()) {
                owner_ = ::getpid();
                thread_ = std::thread([this] { Run(); });
            }
        }
        given_.notify_one();
    }

private:
    void Run() {
        for (;;) {
            std::shared_ptr<const TBitmapFile> next;
            {
                std::unique_lock<std::mutex> hold(lock_);
                given_.wait(hold, [this] { return stopping_ || !files_.empty(); });
                if (stopping_) return;
                next = std::move(files_.front());
                files_.pop_front();
            }
            try {
                next->Pixels();
            } catch (...) {
                // The drawing decodes it again and meets the same fault where it can report it.
            }
        }
    }

    std::mutex lock_;
    std::condition_variable given_;
    std::deque<std::shared_ptr<const TBitmapFile>> files_;
    bool stopping_ = false;
    std::thread thread_;
    pid_t owner_ = 0;
};

void DecodeAhead(std::shared_ptr<const TBitmapFile> file) {
    static TDecoder decoder;
    decoder.Give(std::move(file));
}

} // namespace

void SetDecodeAhead(bool on) {
    decodeAhead = on;
}

std::shared_ptr<const TBitmapFile> LoadBitmapFileAt(const std::string& path) {
    constexpr std::size_t HeadBytes = 64u << 10;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    const std::size_t size = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxPictureFileBytes
                                 ? static_cast<std::size_t>(st.st_size)
                                 : 0;
    if (size > 0 && size <= MaxFileBytes) {
        // Read into one buffer kept for it: most loads are of skins loaded before, found by their
        // bytes, and need no memory of their own.
        thread_local std::vector<std::uint8_t> buffer;
        if (buffer.size() < size) buffer.resize(size);
        const std::size_t got = ReadUpTo(fd, buffer.data(), size);
        ::close(fd);
        return got == size ? LoadBitmapFile(buffer.data(), size) : nullptr;
    }
    std::unique_ptr<std::uint8_t[]> head;
    std::size_t got = 0;
    if (size > MaxFileBytes) {
        head = std::make_unique_for_overwrite<std::uint8_t[]>(HeadBytes);
        got = ReadUpTo(fd, head.get(), HeadBytes);
    }
    ::close(fd);
    // The header reads up to where the pixels start (0: right after the colour table).
    if (got < HeadBytes || head[0] != 'B' || head[1] != 'M') return nullptr;
    const std::uint32_t offBits =
        head[10] | (head[11] << 8) | (head[12] << 16) | (std::uint32_t(head[13]) << 24);
    if (offBits > HeadBytes) return nullptr;
    auto file = std::make_shared<TBitmapFile>(path, size, std::move(head), HeadBytes);
    if (decodeAhead) DecodeAhead(file);
    return file;
}

std::shared_ptr<const TBitmapFile> LoadBitmapFile(const std::uint8_t* bytes, std::size_t size,
                                                  std::unique_ptr<std::uint8_t[]> owned) {
    const bool keep = bytes && size > 0 && size <= MaxFileBytes;
    TCache& cache = Cache();
    if (keep) {
        std::lock_guard<std::mutex> lock(cache.Lock);
        for (auto it = cache.Entries.begin(); it != cache.Entries.end(); ++it) {
            if (!(*it)->Holds(bytes, size)) continue;
            cache.Entries.splice(cache.Entries.begin(), cache.Entries, it);
            if (decodeAhead) DecodeAhead(*it);
            return *it;
        }
    }
    auto file = std::make_shared<TBitmapFile>(bytes, size, std::move(owned));
    if (keep) {
        file->kept_ = true;
        std::lock_guard<std::mutex> lock(cache.Lock);
        cache.HeldPixels += PixelCount(*file);
        cache.Entries.push_front(file);
        while (cache.HeldPixels > MaxHeldPixels) {
            cache.HeldPixels -= PixelCount(*cache.Entries.back());
            cache.Entries.pop_back();
        }
    }
    if (decodeAhead) DecodeAhead(file);
    return file;
}

} // namespace vcl_internal
