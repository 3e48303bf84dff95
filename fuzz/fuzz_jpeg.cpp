// JPEG pictures through TJPEGImage over libjpeg: loaded from any bytes at the scale, colour and speed
// the first byte chooses, kept as they came, decoded again at another scale, and drawn through a
// bitmap. Every failure must be an EJPEG that leaves the image empty. Qt runs headless.
#include "fuzz/FuzzSupport.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsErrors.h"
#include "platform/vcl/Jpeg.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseHeadlessQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t options = data[0];
    ++data;
    --size;
    TJPEGImage jpeg;
    jpeg.SetScale(static_cast<TJPEGScale>(options & 3));
    jpeg.SetGrayscale((options & 4) != 0);
    jpeg.SetPerformance((options & 8) != 0 ? jpBestSpeed : jpBestQuality);
    try {
        jpeg.LoadFromMemory(data, size);
    } catch (const EJPEG&) {
        if (!jpeg.Empty()) fuzz::Fail("a refused picture left pixels");
        return 0;
    }
    if (jpeg.Empty() || jpeg.Width() < 1 || jpeg.Height() < 1) fuzz::Fail("a loaded picture is empty");
    if (jpeg.SaveToMemory() != std::string(reinterpret_cast<const char*>(data), size))
        fuzz::Fail("the picture's data did not stay as loaded");

    // A bigger scale decodes again from the kept data and gives at least as many pixels.
    const int width = jpeg.Width();
    try {
        jpeg.SetScale(jsFullSize);
    } catch (const EJPEG&) {
        // Decoding at full size can reach the bitmap limits a smaller scale stayed within.
        return 0;
    }
    if (jpeg.Width() < width) fuzz::Fail("full size is smaller than a scaled decode");

    TBitmap bitmap;
    bitmap.Assign(&jpeg);
    TBitmap target(19, 13);
    target.Canvas()->StretchDraw(Rect(0, 0, 19, 13), &jpeg);
    return 0;
}
