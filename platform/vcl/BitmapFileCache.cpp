#include "platform/vcl/BitmapFileCache.h"

#include <cstring>
#include <list>
#include <mutex>

namespace vcl_internal {

namespace {

struct TEntry {
    std::vector<std::uint8_t> Bytes; // compared in full, which costs less than hashing them
    TDecodedBitmap Bitmap;
};

// Holding the pixels keeps every loaded copy shared, so none is written in place. The pixels held are
// bounded, and only small files are kept: a picture loaded once gains nothing.
constexpr std::size_t MaxHeldPixels = 4u << 20;
constexpr std::size_t MaxFileBytes = 256u << 10;

struct TCache {
    std::mutex Lock;
    std::list<TEntry> Entries; // most recently used first
    std::size_t HeldPixels = 0;
};

TCache& Cache() {
    static TCache cache;
    return cache;
}

bool Matches(const TEntry& e, const std::uint8_t* bytes, std::size_t size) {
    return e.Bytes.size() == size && std::memcmp(e.Bytes.data(), bytes, size) == 0;
}

} // namespace

std::optional<TDecodedBitmap> FindDecodedBitmap(const std::uint8_t* bytes, std::size_t size) {
    if (!bytes || size == 0 || size > MaxFileBytes) return std::nullopt;
    TCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock);
    for (auto it = cache.Entries.begin(); it != cache.Entries.end(); ++it) {
        if (!Matches(*it, bytes, size)) continue;
        cache.Entries.splice(cache.Entries.begin(), cache.Entries, it);
        return it->Bitmap;
    }
    return std::nullopt;
}

void KeepDecodedBitmap(const std::uint8_t* bytes, std::size_t size, const TDecodedBitmap& bitmap) {
    if (!bytes || size == 0 || size > MaxFileBytes || !bitmap.Pixels) return;
    TEntry entry{std::vector<std::uint8_t>(bytes, bytes + size), bitmap};
    TCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock);
    cache.HeldPixels += bitmap.Pixels->Count();
    cache.Entries.push_front(std::move(entry));
    while (cache.HeldPixels > MaxHeldPixels) {
        cache.HeldPixels -= cache.Entries.back().Bitmap.Pixels->Count();
        cache.Entries.pop_back();
    }
}

} // namespace vcl_internal
