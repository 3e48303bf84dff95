// Platform-internal: what device contexts and drawing objects are made of, and how the GDI calls and
// the canvas reach a QPainter for one drawing operation.
#pragma once

#include "platform/vcl/DeviceContext.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct HGDIOBJ__ {
    explicit HGDIOBJ__(UINT type) : Type(type) {}
    virtual ~HGDIOBJ__() = default;
    const UINT Type;
    bool Stock = false;
};

namespace vcl_internal {

// A font's description and the Qt font made from it. Shared between the font object and every
// context it is selected into, so that deleting the object never pulls it from under a context.
struct TFontData {
    LOGFONT Log;
    QFont Font;
};
std::shared_ptr<const TFontData> MakeFontData(const LOGFONT& log);

struct TGdiFont : HGDIOBJ__ {
    explicit TGdiFont(std::shared_ptr<const TFontData> data) : HGDIOBJ__(OBJ_FONT), Data(std::move(data)) {}
    std::shared_ptr<const TFontData> Data; // a stock font's is made at its first use (FontDataOf)
    int StockIndex = -1;
};
// The font's data; a context with no font of its own draws with the system font's.
std::shared_ptr<const TFontData> FontDataOf(HGDIOBJ font);

struct TGdiBitmap : HGDIOBJ__ {
    TGdiBitmap() : HGDIOBJ__(OBJ_BITMAP) {}
    std::uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    std::unique_ptr<std::uint32_t[]> Owned; // CreateDIBSection's memory; empty for wrapped memory
    HDC SelectedIn = nullptr;
};

struct TGdiBrush : HGDIOBJ__ {
    TGdiBrush() : HGDIOBJ__(OBJ_BRUSH) {}
    COLORREF Color = 0;
    bool Null = false;
};

struct TGdiPen : HGDIOBJ__ {
    TGdiPen() : HGDIOBJ__(OBJ_PEN) {}
    COLORREF Color = 0;
    int Width = 1;
    bool Null = false;
};

// Handle checks: every object and context is registered while it lives.
bool IsLiveObject(HGDIOBJ object);
bool IsLiveDC(HDC dc);
void RegisterObject(HGDIOBJ object);

} // namespace vcl_internal

struct HDC__ {
    enum TKind { Memory, Painter };

    TKind Kind = Memory;
    // Memory: the selected bitmap (the 1 x 1 stock bitmap at first) and, while drawing, a painter on
    // an RGB32 view of its pixels.
    vcl_internal::TGdiBitmap* Bitmap = nullptr;
    vcl_internal::TGdiBitmap* OwnedBitmap = nullptr; // made by CreateMemoryDC, deleted with the context
    std::optional<QImage> View;
    std::unique_ptr<QPainter> OwnPainter;
    // Painter: the caller's painter and its device size.
    QPainter* External = nullptr;
    QSize DeviceSize;

    HGDIOBJ Font = nullptr;
    std::shared_ptr<const vcl_internal::TFontData> FontData;
    HGDIOBJ Brush = nullptr;
    HGDIOBJ Pen = nullptr;
    COLORREF TextColor = 0;
    COLORREF BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    int StretchMode = BLACKONWHITE;
    std::optional<QRect> Clip; // device pixels; none: the whole surface

    QSize Size() const;
    QRect Bounds() const { return QRect(QPoint(0, 0), Size()); }
    // The surface intersected with the clip.
    QRect ClipBox() const;
    // A 32-bit pixel row of a memory context, or nullptr.
    std::uint32_t* Row(int y) const;
};

namespace vcl_internal {

// One drawing operation on a context: a painter with the context's clip, restored afterwards.
// Null (operator bool false) when the context cannot draw.
class TDcPaint {
public:
    explicit TDcPaint(HDC dc);
    ~TDcPaint();
    TDcPaint(const TDcPaint&) = delete;
    TDcPaint& operator=(const TDcPaint&) = delete;

    explicit operator bool() const { return painter_ != nullptr; }
    QPainter* operator->() const { return painter_; }
    QPainter& operator*() const { return *painter_; }

private:
    QPainter* painter_ = nullptr;
};

// Ends the painter a memory context keeps between operations (before its pixels go away).
void ReleasePainter(HDC dc);

QColor ToColor(COLORREF colour);

// Raw pixel transfer between memory contexts, and drawing an image through a painter; both with the
// destination's clip. Rectangles may have negative sizes (mirroring).
bool RawStretch(HDC dst, int x, int y, int w, int h, const std::uint32_t* src, int srcStride, int srcW,
                int srcH, int sx, int sy, int sw, int sh, DWORD rop);
bool PaintStretch(HDC dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh,
                  DWORD rop);

// Solid fills and single pixels, exact on memory contexts.
bool FillSolid(HDC dc, const TRect& rect, COLORREF colour);
void PlotPoints(HDC dc, const std::vector<QPoint>& points, COLORREF colour);

// Draws pixels of a graphic into `rect` of a context: opaque, with a colour key (colour $00BBGGRR,
// pixels of that RGB are left out), or blended by their alpha.
enum class TDrawAlpha { Opaque, ColourKey, Blend };
void DrawPixels(HDC dst, const QRect& rect, const std::uint32_t* pixels, int width, int height,
                TDrawAlpha mode, COLORREF key);

} // namespace vcl_internal
