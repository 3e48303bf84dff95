// The bitmap's Data stream as a form would hold it: read, written back, and the pixels put through a
// stretch and a blend, so that whatever size the header claims is exercised end to end.
#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "platform/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TStringStream in(std::string(reinterpret_cast<const char*>(data), size));
    TBitmap32 bmp;
    try {
        bmp.ReadData(&in);
    } catch (const Exception&) {
        return 0;
    }
    TStringStream out;
    bmp.WriteData(&out);
    if (out.DataString().size() > size ||
        out.DataString().compare(0, out.DataString().size(), reinterpret_cast<const char*>(data),
                                 out.DataString().size()) != 0)
        std::abort();
    if (bmp.Empty()) return 0;
    TBitmap32 dst;
    dst.SetSize(7, 5);
    bmp.SetDrawMode(dmBlend);
    bmp.SetMasterAlpha(bmp.GetPixel(0, 0) >> 24);
    bmp.SetCombineMode((bmp.GetPixel(0, 0) & 1) ? cmMerge : cmBlend);
    bmp.DrawTo(&dst, dst.BoundsRect());
    bmp.DrawTo(&dst, -1, -2);
    BlockTransferX(&dst, static_cast<TFixed>(bmp.GetPixel(0, 0) & 0x3FFFF), 0x18000, &bmp, bmp.BoundsRect(),
                   dmBlend);
    return 0;
}
