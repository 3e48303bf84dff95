// Bitmap files through TBitmap: loaded from any bytes, saved and loaded again to the same pixels, and
// drawn scaled onto a canvas. Qt runs headless.
#include "fuzz/FuzzSupport.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsErrors.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
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

    // Formats saved as they are (24 and 32 bits, and the smaller ones widened) come back pixel for pixel;
    // 8-bit pictures go through their palette and keep only their size.
    const std::string saved = bitmap.SaveToMemory();
    TBitmap again;
    again.LoadFromMemory(saved.data(), saved.size());
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) fuzz::Fail("size changed");
    if (bitmap.PixelFormat() != pf8bit)
        for (int y = 0; y < bitmap.Height(); ++y)
            if (std::memcmp(again.ScanLine(y), bitmap.ScanLine(y),
                            4 * static_cast<std::size_t>(bitmap.Width())))
                fuzz::Fail("pixels changed in a save and load");

    TBitmap target(23, 17);
    target.Canvas()->StretchDraw(Rect(0, 0, 23, 17), &bitmap);
    target.Canvas()->Draw(-3, -5, &bitmap);
    return 0;
}
