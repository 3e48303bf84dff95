// Platform-internal: bitmap files already read, found again by the file's bytes, so that a skin
// shown by many controls is decoded once, and only when it is first drawn or read.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vcl_internal {

// A checked bitmap file: its size, format and colour table at once, its pixels at their first use.
class TBitmapFile {
public:
    // Raises EInvalidGraphic as the decoder does, before anything is kept. `owned`, when given, holds
    // `bytes` and is taken over instead of copied. Either way the bytes are this object's own: a file
    // rewritten on disk afterwards changes nothing here.
    TBitmapFile(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<std::uint8_t[]> owned);
    // A file read again at its first decoding: `head`, its first `headSize` of `size` bytes, holds the
    // header and colour table. A file no longer of that size or with another head then gives a black
    // picture of the size read now.
    TBitmapFile(std::string path, std::size_t size, std::unique_ptr<std::uint8_t[]> head,
                std::size_t headSize);

    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pf24bit; // as the file was stored
    std::vector<std::uint32_t> Palette;

    // Never written: holders copy before a write. Width x Height. Thread-safe.
    std::shared_ptr<const TImageData> Pixels() const;
    bool Holds(const std::uint8_t* bytes, std::size_t size) const;
    std::size_t Size() const { return size_; }

private:
    std::shared_ptr<const TImageData> ReadAndDecode() const;

    mutable std::mutex lock_;
    // The file's bytes (its head only while path_ is set), let go once decoded unless kept for comparing.
    mutable std::unique_ptr<std::uint8_t[]> bytes_;
    std::string path_;
    std::size_t headSize_ = 0;
    mutable std::shared_ptr<const TImageData> pixels_;
    std::size_t size_ = 0;
    bool kept_ = false;
    friend std::shared_ptr<const TBitmapFile> LoadBitmapFile(const std::uint8_t*, std::size_t,
                                                             std::unique_ptr<std::uint8_t[]>);
};

// While on, every bitmap file loaded has its pixels decoded on a thread of their own, so that its first
// drawing finds them ready: for the pictures of the main window, which is shown next. The thread ends
// with the program: it is stopped and joined when the program's static objects are destroyed.
void SetDecodeAhead(bool on);

// The file at `path`: read now when the same-bytes cache keeps files of its size, else read when it is
// first decoded, so that the large skins of windows never shown are never read. nullptr when it cannot
// be read so (the caller reads it as a stream and raises what that raises). Raises as the decoder does
// for a header it refuses.
std::shared_ptr<const TBitmapFile> LoadBitmapFileAt(const std::string& path);

// The file read before with the same bytes, or a new one (kept for the next load when small).
std::shared_ptr<const TBitmapFile> LoadBitmapFile(const std::uint8_t* bytes, std::size_t size,
                                                  std::unique_ptr<std::uint8_t[]> owned = nullptr);

} // namespace vcl_internal
