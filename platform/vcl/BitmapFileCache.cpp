#include "platform/vcl/BitmapFileCache.h"

#include <sys/stat.h>

#include <list>
#include <mutex>
#include <unordered_map>

namespace vcl_internal {

namespace {

struct TEntry {
    std::string FileName;
    TFileStamp Stamp;
    TDecodedBitmap Bitmap;
};

// Holding the pixels keeps every loaded copy shared, so none is written in place. The pixels held are
// bounded; the least recently used entries go first.
constexpr std::size_t MaxHeldPixels = 8u << 20;

struct TCache {
    std::mutex Lock;
    std::list<TEntry> Entries; // most recently used first
    std::unordered_map<std::string, std::list<TEntry>::iterator> ByName;
    std::size_t HeldPixels = 0;

    void Erase(std::list<TEntry>::iterator it) {
        HeldPixels -= it->Bitmap.Pixels->Count();
        ByName.erase(it->FileName);
        Entries.erase(it);
    }
};

TCache& Cache() {
    static TCache cache;
    return cache;
}

} // namespace

std::optional<TFileStamp> StampOfFile(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return TFileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                      static_cast<std::int64_t>(st.st_size),
                      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::optional<TDecodedBitmap> FindDecodedBitmap(const std::string& fileName, const TFileStamp& stamp) {
    TCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock);
    auto found = cache.ByName.find(fileName);
    if (found == cache.ByName.end()) return std::nullopt;
    auto it = found->second;
    if (!(it->Stamp == stamp)) {
        cache.Erase(it);
        return std::nullopt;
    }
    cache.Entries.splice(cache.Entries.begin(), cache.Entries, it);
    return it->Bitmap;
}

void KeepDecodedBitmap(const std::string& fileName, const TFileStamp& stamp, const TDecodedBitmap& bitmap) {
    if (!bitmap.Pixels || bitmap.Pixels->Count() > MaxHeldPixels / 4) return;
    TCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock);
    if (auto found = cache.ByName.find(fileName); found != cache.ByName.end()) cache.Erase(found->second);
    cache.Entries.push_front(TEntry{fileName, stamp, bitmap});
    cache.ByName.emplace(fileName, cache.Entries.begin());
    cache.HeldPixels += bitmap.Pixels->Count();
    while (cache.HeldPixels > MaxHeldPixels)
        cache.Erase(std::prev(cache.Entries.end()));
}

} // namespace vcl_internal
