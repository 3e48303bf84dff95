#include "tools/skingen/SkinPreview.h"

#include "tools/skingen/PngWriter.h"
#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinPalette.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kSheetWidth = 1280;
constexpr int kGap = 12;
constexpr int kLabel = 16;

struct Placed {
    const SkinBitmap* bitmap;
    int scale;
    int x, y;
};

} // namespace

void WritePreviewSheet(const std::vector<SkinBitmap>& bitmaps, const std::string& pngFile) {
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const SkinBitmap& b : bitmaps) {
        const int scale = (b.StripWidth() * 2 <= kSheetWidth - 2 * kGap && b.StripHeight() <= 60) ? 2 : 1;
        const int w = std::min(b.StripWidth() * scale, kSheetWidth - 2 * kGap);
        const int h = b.StripHeight() * scale + kLabel;
        if (x + w > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&b, scale, x, y});
        x += std::max(w, 120) + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    TBitmap sheet;
    sheet.SetSize(kSheetWidth, y + rowHeight + kGap);
    SkinRaster raster(sheet);
    raster.Fill(0, 0, sheet.Width(), sheet.Height(), 0x101214);
    for (const Placed& p : placed) {
        raster.Text(p.x, p.y, 400, kLabel - 2, p.bitmap->name, 11, false, skin_palette::TextDim,
                    SkinAlign::Left);
        TBitmap one;
        PaintSkin(*p.bitmap, one);
        for (int yy = 0; yy < one.Height() * p.scale; ++yy) {
            const auto* src = static_cast<const std::uint32_t*>(std::as_const(one).ScanLine(yy / p.scale));
            const int ty = p.y + kLabel + yy;
            if (ty >= sheet.Height()) break;
            auto* dst = static_cast<std::uint32_t*>(sheet.ScanLine(ty));
            for (int xx = 0; xx < one.Width() * p.scale && p.x + xx < kSheetWidth; ++xx)
                dst[p.x + xx] = src[xx / p.scale];
        }
    }
    SaveBitmapAsPng(sheet, pngFile);
}
