// Blits, fills and single pixels on device contexts. Memory to memory moves bytes; anything that ends
// on a paint goes through its painter.
#include "platform/vcl/Colors.h"
#include "platform/vcl/DcInternal.h"

#include <QPaintDevice>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

using namespace vcl_internal;

namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;

std::uint32_t ToPixel(COLORREF c) {
    return Opaque | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
COLORREF FromPixel(std::uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

COLORREF BrushColour(HDC dc, HBRUSH brush) {
    // (HBRUSH)(COLOR_xxx + 1) names a system colour, as the platform allows.
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31) return GetSysColor(static_cast<int>(value - 1));
    if (brush && IsLiveObject(brush) && brush->Type == OBJ_BRUSH)
        return static_cast<TGdiBrush*>(brush)->Color;
    (void)dc;
    return 0xFFFFFF;
}

bool NullBrush(HBRUSH brush) {
    return brush && IsLiveObject(brush) && brush->Type == OBJ_BRUSH && static_cast<TGdiBrush*>(brush)->Null;
}

std::uint32_t ApplyRop(std::uint32_t s, std::uint32_t d, std::uint32_t pattern, DWORD rop) {
    switch (rop) {
    case SRCPAINT:
        return s | d;
    case SRCAND:
        return s & d;
    case SRCINVERT:
        return s ^ d;
    case SRCERASE:
        return s & ~d;
    case NOTSRCCOPY:
        return ~s;
    case NOTSRCERASE:
        return ~(s | d);
    case MERGECOPY:
        return s & pattern;
    case MERGEPAINT:
        return ~s | d;
    default:
        return s;
    }
}

bool SourceLess(DWORD rop) {
    return rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT || rop == PATCOPY || rop == PATINVERT;
}

struct TSpan {
    int pos, size;
    bool flip;
};

// Normalises a possibly negative extent to a positive one, remembering the mirror.
TSpan Normal(int pos, int size) {
    return size < 0 ? TSpan{pos + size, -size, true} : TSpan{pos, size, false};
}

// Source pixels of a context: memory, or the image a painter draws on.
struct TSource {
    const std::uint32_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
};

bool SourceOf(HDC src, TSource& out) {
    if (src->Kind == HDC__::Memory) {
        if (!src->Bitmap || !src->Bitmap->Bits) return false;
        out = {src->Bitmap->Bits, src->Bitmap->Width, src->Bitmap->Width, src->Bitmap->Height};
        return true;
    }
    QPaintDevice* device = src->External ? src->External->device() : nullptr;
    if (!device || device->devType() != QInternal::Image) return false;
    auto* image = static_cast<QImage*>(device);
    if (image->depth() != 32) return false;
    out = {reinterpret_cast<const std::uint32_t*>(image->constBits()), image->bytesPerLine() / 4,
           image->width(), image->height()};
    return true;
}

QImage View(const TSource& s, bool alpha) {
    return QImage(reinterpret_cast<const uchar*>(s.bits), s.width, s.height, s.stride * 4,
                  alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QPainter::CompositionMode Composition(DWORD rop) {
    switch (rop) {
    case SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    default:
        return QPainter::CompositionMode_Source;
    }
}

bool Stretch(HDC dst, int x, int y, int w, int h, const TSource& s, int sx, int sy, int sw, int sh,
             DWORD rop) {
    const bool scaled = std::abs(w) != std::abs(sw) || std::abs(h) != std::abs(sh);
    if (dst->Kind == HDC__::Memory && !(scaled && dst->StretchMode == HALFTONE))
        return RawStretch(dst, x, y, w, h, s.bits, s.stride, s.width, s.height, sx, sy, sw, sh, rop);
    return PaintStretch(dst, x, y, w, h, View(s, false), sx, sy, sw, sh, rop);
}

} // namespace

namespace vcl_internal {

bool RawStretch(HDC dst, int x, int y, int w, int h, const std::uint32_t* src, int srcStride, int srcW,
                int srcH, int sx, int sy, int sw, int sh, DWORD rop) {
    if (dst->Kind != HDC__::Memory || !dst->Bitmap || !dst->Bitmap->Bits || !src) return false;
    const TSpan dx = Normal(x, w), dy = Normal(y, h), gx = Normal(sx, sw), gy = Normal(sy, sh);
    const bool flipX = dx.flip != gx.flip, flipY = dy.flip != gy.flip;
    if (dx.size == 0 || dy.size == 0 || gx.size == 0 || gy.size == 0) return true;
    const QRect area = dst->ClipBox().intersected(QRect(dx.pos, dy.pos, dx.size, dy.size));
    if (area.isEmpty()) return true;

    // A source that is the destination's own memory is read from a copy, so overlapping moves work.
    std::vector<std::uint32_t> copy;
    const std::uint32_t* dstBits = dst->Bitmap->Bits;
    const std::uint32_t* dstEnd =
        dstBits + static_cast<std::size_t>(dst->Bitmap->Width) * dst->Bitmap->Height;
    if (src >= dstBits && src < dstEnd) {
        copy.assign(dstBits, dstEnd);
        src = copy.data() + (src - dstBits);
    }
    const std::uint32_t pattern = ToPixel(BrushColour(dst, dst->Brush));

    std::vector<int> columns(static_cast<std::size_t>(area.width()));
    for (int col = area.left(); col <= area.right(); ++col) {
        const int j = col - dx.pos;
        const int s = static_cast<int>((2LL * j + 1) * gx.size / (2LL * dx.size));
        columns[col - area.left()] = flipX ? gx.pos + gx.size - 1 - s : gx.pos + s;
    }
    // The source columns run one way, so those inside the source are one run of the area.
    int first = 0, last = area.width() - 1;
    while (first <= last && (columns[first] < 0 || columns[first] >= srcW))
        ++first;
    while (last >= first && (columns[last] < 0 || columns[last] >= srcW))
        --last;
    if (first > last) return true;
    const int* map = columns.data();
    const bool plainRows = rop == SRCCOPY && !flipX && gx.size == dx.size;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        const int i = row - dy.pos;
        const int s = static_cast<int>((2LL * i + 1) * gy.size / (2LL * dy.size));
        const int srow = flipY ? gy.pos + gy.size - 1 - s : gy.pos + s;
        if (srow < 0 || srow >= srcH) continue;
        const std::uint32_t* from = src + static_cast<std::ptrdiff_t>(srow) * srcStride;
        std::uint32_t* to = dst->Row(row) + area.left();
        if (plainRows) {
            std::memcpy(to + first, from + map[first], static_cast<std::size_t>(last - first + 1) * 4);
        } else if (rop == SRCCOPY) {
            for (int k = first; k <= last; ++k)
                to[k] = from[map[k]];
        } else {
            for (int k = first; k <= last; ++k)
                to[k] = ApplyRop(from[map[k]], to[k], pattern, rop);
        }
    }
    return true;
}

bool PaintStretch(HDC dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh,
                  DWORD rop) {
    const TSpan dx = Normal(x, w), dy = Normal(y, h), gx = Normal(sx, sw), gy = Normal(sy, sh);
    if (dx.size == 0 || dy.size == 0 || gx.size == 0 || gy.size == 0) return true;
    TDcPaint p(dst);
    if (!p || src.isNull()) return false;
    const bool flipX = dx.flip != gx.flip, flipY = dy.flip != gy.flip;
    QRect source(gx.pos, gy.pos, gx.size, gy.size);
    QImage image = src;
    if (flipX || flipY) {
        image = src.copy(source).mirrored(flipX, flipY);
        source = image.rect();
    }
    if (dst->StretchMode == HALFTONE) p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->setCompositionMode(Composition(rop));
    p->drawImage(QRect(dx.pos, dy.pos, dx.size, dy.size), image, source);
    return true;
}

void DrawPixels(HDC dst, const QRect& rect, const std::uint32_t* pixels, int width, int height,
                TDrawAlpha mode, COLORREF key) {
    if (!pixels || width <= 0 || height <= 0 || rect.isEmpty()) return;
    if (mode == TDrawAlpha::Opaque) {
        TSource s{pixels, width, width, height};
        Stretch(dst, rect.x(), rect.y(), rect.width(), rect.height(), s, 0, 0, width, height, SRCCOPY);
        return;
    }
    const std::uint32_t keyRgb = ToPixel(key) & 0x00FFFFFFu;
    if (dst->Kind == HDC__::Memory && dst->Bitmap && dst->Bitmap->Bits) {
        const QRect area = dst->ClipBox().intersected(rect);
        for (int row = area.top(); row <= area.bottom(); ++row) {
            const int sy = static_cast<int>((2LL * (row - rect.y()) + 1) * height / (2LL * rect.height()));
            const std::uint32_t* from = pixels + static_cast<std::size_t>(sy) * width;
            std::uint32_t* to = dst->Row(row);
            for (int col = area.left(); col <= area.right(); ++col) {
                const int sx = static_cast<int>((2LL * (col - rect.x()) + 1) * width / (2LL * rect.width()));
                const std::uint32_t s = from[sx];
                if (mode == TDrawAlpha::ColourKey) {
                    if ((s & 0x00FFFFFFu) != keyRgb) to[col] = s | Opaque;
                    continue;
                }
                const std::uint32_t a = s >> 24;
                if (a == 0) continue;
                if (a == 255) {
                    to[col] = s;
                    continue;
                }
                const std::uint32_t d = to[col];
                std::uint32_t out = Opaque;
                for (int shift = 0; shift < 24; shift += 8) {
                    const std::uint32_t cs = (s >> shift) & 0xFF, cd = (d >> shift) & 0xFF;
                    out |= ((cs * a + cd * (255 - a) + 127) / 255) << shift;
                }
                to[col] = out;
            }
        }
        return;
    }
    QImage image;
    if (mode == TDrawAlpha::ColourKey) {
        image = QImage(width, height, QImage::Format_ARGB32);
        for (int row = 0; row < height; ++row) {
            const std::uint32_t* from = pixels + static_cast<std::size_t>(row) * width;
            auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(row));
            for (int col = 0; col < width; ++col)
                to[col] = (from[col] & 0x00FFFFFFu) == keyRgb ? 0 : (from[col] | Opaque);
        }
    } else {
        image = QImage(reinterpret_cast<const uchar*>(pixels), width, height,
                       static_cast<qsizetype>(width) * 4, QImage::Format_ARGB32);
    }
    TDcPaint p(dst);
    if (!p) return;
    if (dst->StretchMode == HALFTONE) p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->drawImage(rect, image);
}

} // namespace vcl_internal

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
    if (!IsLiveDC(dst)) return FALSE;
    if (SourceLess(rop)) return PatBlt(dst, x, y, width, height, rop);
    TSource s;
    if (!IsLiveDC(src) || !SourceOf(src, s)) return FALSE;
    return Stretch(dst, x, y, width, height, s, srcX, srcY, srcWidth, srcHeight, rop) ? TRUE : FALSE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    return StretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!IsLiveDC(dst) || !bits || !info || usage != DIB_RGB_COLORS) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT32_MIN)
        return 0;
    const int w = h.biWidth;
    const bool topDown = h.biHeight < 0;
    const int rows = topDown ? -h.biHeight : h.biHeight;
    TSource s{static_cast<const std::uint32_t*>(bits), w, w, rows};
    if (!topDown) {
        // Rows are stored bottom first and the source origin counts from the bottom.
        s.bits += static_cast<std::size_t>(rows - 1) * w;
        s.stride = -w;
        srcY = rows - srcY - srcHeight;
    }
    bool ok;
    const bool scaled = std::abs(width) != std::abs(srcWidth) || std::abs(height) != std::abs(srcHeight);
    if (dst->Kind == HDC__::Memory && !(scaled && dst->StretchMode == HALFTONE)) {
        ok = RawStretch(dst, x, y, width, height, s.bits, static_cast<int>(s.stride), s.width, s.height, srcX,
                        srcY, srcWidth, srcHeight, rop);
    } else {
        QImage image = topDown ? View(s, false)
                               : QImage(static_cast<const uchar*>(bits), w, rows,
                                        static_cast<qsizetype>(w) * 4, QImage::Format_RGB32)
                                     .mirrored(false, true);
        ok = PaintStretch(dst, x, y, width, height, image, srcX, srcY, srcWidth, srcHeight, rop);
    }
    return ok ? std::abs(height) : 0;
}

namespace vcl_internal {

bool FillSolid(HDC dc, const TRect& r, COLORREF colour) {
    const QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    if (rect.isEmpty()) return true;
    if (dc->Kind == HDC__::Memory) {
        if (!dc->Bitmap || !dc->Bitmap->Bits) return false;
        const QRect area = dc->ClipBox().intersected(rect);
        const std::uint32_t pixel = ToPixel(colour);
        for (int row = area.top(); row <= area.bottom(); ++row)
            std::fill_n(dc->Row(row) + area.left(), area.width(), pixel);
        return true;
    }
    TDcPaint p(dc);
    if (!p) return false;
    p->fillRect(rect, ToColor(colour));
    return true;
}

void PlotPoints(HDC dc, const std::vector<QPoint>& points, COLORREF colour) {
    if (dc->Kind == HDC__::Memory) {
        if (!dc->Bitmap || !dc->Bitmap->Bits) return;
        const QRect clip = dc->ClipBox();
        const std::uint32_t pixel = ToPixel(colour);
        for (const QPoint& pt : points)
            if (clip.contains(pt)) dc->Row(pt.y())[pt.x()] = pixel;
        return;
    }
    TDcPaint p(dc);
    if (!p) return;
    p->setPen(ToColor(colour));
    p->drawPoints(points.data(), static_cast<int>(points.size()));
}

} // namespace vcl_internal

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (!IsLiveDC(dc)) return FALSE;
    const TSpan sx = Normal(x, width), sy = Normal(y, height);
    const QRect rect(sx.pos, sy.pos, sx.size, sy.size);
    if (rect.isEmpty()) return TRUE;
    const COLORREF brush = BrushColour(dc, dc->Brush);
    if (rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS)
        return FillSolid(dc, TRect{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1},
                         rop == BLACKNESS   ? 0
                         : rop == WHITENESS ? 0xFFFFFF
                                            : brush)
                   ? TRUE
                   : FALSE;
    if (dc->Kind == HDC__::Memory) {
        if (!dc->Bitmap || !dc->Bitmap->Bits) return FALSE;
        const QRect area = dc->ClipBox().intersected(rect);
        for (int row = area.top(); row <= area.bottom(); ++row) {
            std::uint32_t* to = dc->Row(row);
            for (int col = area.left(); col <= area.right(); ++col) {
                std::uint32_t& d = to[col];
                switch (rop) {
                case BLACKNESS:
                    d = Opaque;
                    break;
                case WHITENESS:
                    d = 0xFFFFFFFFu;
                    break;
                case DSTINVERT:
                    d ^= 0x00FFFFFFu;
                    break;
                case PATINVERT:
                    d ^= ToPixel(brush) & 0x00FFFFFFu;
                    break;
                default:
                    d = ToPixel(brush);
                    break;
                }
            }
        }
        return TRUE;
    }
    TDcPaint p(dc);
    if (!p) return FALSE;
    switch (rop) {
    case BLACKNESS:
        p->fillRect(rect, Qt::black);
        break;
    case WHITENESS:
        p->fillRect(rect, Qt::white);
        break;
    case DSTINVERT:
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p->fillRect(rect, Qt::white);
        break;
    case PATINVERT:
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p->fillRect(rect, ToColor(brush));
        break;
    default:
        p->fillRect(rect, ToColor(brush));
        break;
    }
    return TRUE;
}

int FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    if (!IsLiveDC(dc) || !rect) return 0;
    if (NullBrush(brush)) return 1;
    return FillSolid(dc, *rect, BrushColour(dc, brush)) ? 1 : 0;
}

namespace {

void ForFrame(const TRect& r, const std::function<void(const TRect&)>& fill) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    fill(TRect{r.Left, r.Top, r.Right, r.Top + 1});
    if (r.Bottom - r.Top > 1) fill(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
    if (r.Bottom - r.Top > 2) {
        fill(TRect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
        if (r.Right - r.Left > 1) fill(TRect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
    }
}

} // namespace

int FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    if (!IsLiveDC(dc) || !rect) return 0;
    int ok = 1;
    ForFrame(*rect, [&](const TRect& part) { ok &= FillRect(dc, &part, brush); });
    return ok;
}

BOOL DrawFocusRect(HDC dc, const TRect* rect) {
    if (!IsLiveDC(dc) || !rect) return FALSE;
    // Every other pixel of the outline is inverted, so a second call restores the picture.
    std::vector<QPoint> dots;
    const TRect& r = *rect;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0) dots.emplace_back(x, y);
    };
    ForFrame(r, [&](const TRect& part) {
        for (int y = part.Top; y < part.Bottom; ++y)
            for (int x = part.Left; x < part.Right; ++x)
                add(x, y);
    });
    if (dc->Kind == HDC__::Memory) {
        const QRect clip = dc->ClipBox();
        for (const QPoint& pt : dots)
            if (clip.contains(pt)) dc->Row(pt.y())[pt.x()] ^= 0x00FFFFFFu;
        return TRUE;
    }
    TDcPaint p(dc);
    if (!p) return FALSE;
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(Qt::white);
    p->drawPoints(dots.data(), static_cast<int>(dots.size()));
    return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    if (!IsLiveDC(dc) || !dc->ClipBox().contains(x, y)) return CLR_INVALID;
    if (dc->Kind == HDC__::Memory) {
        if (!dc->Bitmap || !dc->Bitmap->Bits) return CLR_INVALID;
        dc->Row(y)[x] = ToPixel(colour);
        return colour & 0xFFFFFF;
    }
    TDcPaint p(dc);
    if (!p) return CLR_INVALID;
    p->fillRect(QRect(x, y, 1, 1), ToColor(colour));
    return colour & 0xFFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    if (!IsLiveDC(dc)) return CLR_INVALID;
    TSource s;
    if (!SourceOf(dc, s) || x < 0 || y < 0 || x >= s.width || y >= s.height || !dc->ClipBox().contains(x, y))
        return CLR_INVALID;
    return FromPixel(s.bits[static_cast<std::ptrdiff_t>(y) * s.stride + x]);
}
