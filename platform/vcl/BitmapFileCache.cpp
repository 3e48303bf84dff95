#include "platform/vcl/BitmapFileCache.h"

#include "platform/vcl/BmpCodec.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <list>
#include <thread>

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

TBitmapFile::TBitmapFile(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<std::uint8_t[]> owned,
                         std::shared_ptr<const void> mapping) {
    TBmpImage header = ReadBmpHeader(bytes, size);
    Width = header.Width;
    Height = header.Height;
    Format = FormatOfBitCount(header.BitCount);
    Palette = std::move(header.Palette);
    if (owned) {
        bytes_ = std::move(owned);
        data_ = bytes_.get();
    } else if (mapping) {
        mapping_ = std::move(mapping);
        data_ = bytes;
    } else {
        bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        std::memcpy(bytes_.get(), bytes, size);
        data_ = bytes_.get();
    }
    size_ = size;
}

std::shared_ptr<const TImageData> TBitmapFile::Pixels() const {
    std::lock_guard<std::mutex> lock(lock_);
    if (!pixels_) {
        pixels_ = DecodeBmpPixels(data_, size_);
        if (!kept_) {
            data_ = nullptr;
            bytes_.reset();
            mapping_.reset();
        }
    }
    return pixels_;
}

bool TBitmapFile::Holds(const std::uint8_t* bytes, std::size_t size) const {
    // Compared in full, which costs less than hashing them.
    return kept_ && size_ == size && std::memcmp(data_, bytes, size) == 0;
}

namespace {

std::atomic<bool> decodeAhead{false};

// One thread that decodes the files given to it; it never ends, and its queue is never destroyed, so
// that it may still be decoding while the program ends.
struct TDecoder {
    std::mutex Lock;
    std::condition_variable Given;
    std::deque<std::shared_ptr<const TBitmapFile>> Files;
};

void DecodeAhead(std::shared_ptr<const TBitmapFile> file) {
    static TDecoder* decoder = [] {
        auto* d = new TDecoder;
        std::thread([d] {
            for (;;) {
                std::shared_ptr<const TBitmapFile> next;
                {
                    std::unique_lock<std::mutex> lock(d->Lock);
                    d->Given.wait(lock, [d] { return !d->Files.empty(); });
                    next = std::move(d->Files.front());
                    d->Files.pop_front();
                }
                try {
                    next->Pixels();
                } catch (...) {
                    // The drawing decodes it again and meets the same fault where it can report it.
                }
            }
        }).detach();
        return d;
    }();
    {
        std::lock_guard<std::mutex> lock(decoder->Lock);
        decoder->Files.push_back(std::move(file));
    }
    decoder->Given.notify_one();
}

} // namespace

void SetDecodeAhead(bool on) {
    decodeAhead = on;
}

std::shared_ptr<const TBitmapFile> LoadBitmapFile(const std::uint8_t* bytes, std::size_t size,
                                                  std::unique_ptr<std::uint8_t[]> owned,
                                                  std::shared_ptr<const void> mapping) {
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
    auto file = std::make_shared<TBitmapFile>(bytes, size, std::move(owned), std::move(mapping));
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
