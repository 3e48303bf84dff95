// Platform-internal: bitmap files already read, found again by the file's bytes, so that a skin
// shown by many controls is decoded once, and only when it is first drawn or read.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vcl_internal {

// A checked bitmap file: its size, format and colour table at once, its pixels at their first use.
class TBitmapFile {
public:
    // Raises EInvalidGraphic as the decoder does, before anything is kept. `owned`, when given, holds
    // `bytes` and is taken over instead of copied. Either way the bytes are this object's own: a file
    // rewritten on disk afterwards changes nothing here.
    TBitmapFile(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<std::uint8_t[]> owned);

    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pf24bit; // as the file was stored
    std::vector<std::uint32_t> Palette;

    // Never written: holders copy before a write. Width x Height. Thread-safe.
    std::shared_ptr<const TImageData> Pixels() const;
    bool Holds(const std::uint8_t* bytes, std::size_t size) const;
    std::size_t Size() const { return size_; }

private:
    mutable std::mutex lock_;
    // The file's bytes, let go once decoded unless kept for comparing.
    mutable std::unique_ptr<std::uint8_t[]> bytes_;
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

// The file read before with the same bytes, or a new one (kept for the next load when small).
std::shared_ptr<const TBitmapFile> LoadBitmapFile(const std::uint8_t* bytes, std::size_t size,
                                                  std::unique_ptr<std::uint8_t[]> owned = nullptr);

} // namespace vcl_internal
