// Skin descriptions as skingen reads them: any text parsed into bitmaps or refused with an ESkinError,
// the names checked, and each small enough bitmap painted with all its frames and elements. Qt runs
// headless (labels and numbers are drawn with fonts).
#include "fuzz/FuzzSupport.h"
#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinParser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseHeadlessQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<SkinBitmap> bitmaps;
    try {
        bitmaps = ParseSkinText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.skin");
        CheckUniqueNames(bitmaps);
    } catch (const ESkinError&) {
        return 0;
    }
    for (const SkinBitmap& b : bitmaps) {
        if (b.states.size() != static_cast<std::size_t>(b.frames)) fuzz::Fail("a state per frame");
        // The parser's limits make any bitmap drawable; these keep a run quick.
        if (static_cast<long long>(b.StripWidth()) * b.StripHeight() > (1 << 16)) continue;
        TBitmap out;
        PaintSkin(b, out);
        if (out.Width() != b.StripWidth() || out.Height() != b.StripHeight()) fuzz::Fail("strip size");
    }
    return 0;
}
