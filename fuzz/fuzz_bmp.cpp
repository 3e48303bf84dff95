// Bitmap files through TBitmap: loaded from any bytes, saved and loaded again to the same pixels, and
// drawn scaled onto a canvas. Qt runs headless.
#include "fuzz/FuzzSupport.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsErrors.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseHeadlessQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromMemory(data, size);
    } catch (const EInvalidGraphic&) {
        if (!bitmap.Empty()) fuzz::Fail("a refused file left a picture");
        return 0;
    }
    if (bitmap.Empty()) fuzz::Fail("a loaded bitmap is empty");

    // Formats saved as they are (24 and 32 bits, and the smaller ones widened) come back pixel for pixel,
    // alpha only where it counts (32 bits); 8-bit pictures go through their palette and keep their size.
    const std::string saved = bitmap.SaveToMemory();
    TBitmap again;
    again.LoadFromMemory(saved.data(), saved.size());
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) fuzz::Fail("size changed");
    const std::uint32_t counted = bitmap.PixelFormat() == pf32bit ? 0xFFFFFFFFu : 0x00FFFFFFu;
    if (bitmap.PixelFormat() != pf8bit)
        for (int y = 0; y < bitmap.Height(); ++y) {
            const auto* a = static_cast<const std::uint32_t*>(bitmap.ScanLine(y));
            const auto* b = static_cast<const std::uint32_t*>(again.ScanLine(y));
            for (int x = 0; x < bitmap.Width(); ++x)
                if ((a[x] ^ b[x]) & counted) fuzz::Fail("pixels changed in a save and load");
        }

    TBitmap target(23, 17);
    target.Canvas()->StretchDraw(Rect(0, 0, 23, 17), &bitmap);
    target.Canvas()->Draw(-3, -5, &bitmap);
    return 0;
}
