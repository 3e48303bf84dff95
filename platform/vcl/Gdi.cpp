// Device contexts and drawing objects: creation, selection, handle checks and the context state.
#include "platform/vcl/DcInternal.h"
#include "platform/vcl/FontMap.h"
#include "platform/vcl/GraphicsQt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace vcl_internal {

namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}
std::unordered_set<const void*>& Objects() {
    static std::unordered_set<const void*> s;
    return s;
}
std::unordered_set<const void*>& Contexts() {
    static std::unordered_set<const void*> s;
    return s;
}

void Unregister(const void* p, bool context) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    (context ? Contexts() : Objects()).erase(p);
}

void RegisterDC(HDC dc) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    Contexts().insert(dc);
}

constexpr int DefaultEmPixels = 11;

TGdiBitmap& StockBitmap() {
    static TGdiBitmap* stock = [] {
        auto* b = new TGdiBitmap;
        b->Width = 1;
        b->Height = 1;
        b->Stock = true;
        RegisterObject(b);
        return b;
    }();
    return *stock;
}

HGDIOBJ StockBrushOrPen(int index) {
    static HGDIOBJ objects[9] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        const COLORREF brushColours[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
        for (int i = 0; i <= NULL_BRUSH; ++i) {
            auto* b = new TGdiBrush;
            b->Color = i < 5 ? brushColours[i] : 0;
            b->Null = i == NULL_BRUSH;
            b->Stock = true;
            objects[i] = b;
            RegisterObject(b);
        }
        for (int i = WHITE_PEN; i <= NULL_PEN; ++i) {
            auto* p = new TGdiPen;
            p->Color = i == WHITE_PEN ? 0xFFFFFF : 0;
            p->Null = i == NULL_PEN;
            p->Stock = true;
            objects[i] = p;
            RegisterObject(p);
        }
    });
    return index >= 0 && index <= NULL_PEN ? objects[index] : nullptr;
}

LOGFONT StockLogFont(int index) {
    LOGFONT lf;
    switch (index) {
    case SYSTEM_FONT:
        lf.lfHeight = 16;
        lf.lfWeight = FW_BOLD;
        std::strcpy(lf.lfFaceName, "System");
        break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
        lf.lfHeight = 12;
        lf.lfPitchAndFamily = FIXED_PITCH;
        std::strcpy(lf.lfFaceName, "Courier New");
        break;
    default: // ANSI_VAR_FONT, DEFAULT_GUI_FONT
        lf.lfHeight = -DefaultEmPixels;
        std::strcpy(lf.lfFaceName, "MS Sans Serif");
        break;
    }
    return lf;
}

std::mutex& StockFontMutex() {
    static std::mutex m;
    return m;
}

// A context's font before any is selected is named far more often than drawn with: the face is found
// at the first drawing (FontDataOf), not here.
HGDIOBJ StockFont(int index) {
    static HGDIOBJ fonts[DEFAULT_GUI_FONT + 1] = {};
    std::lock_guard<std::mutex> lock(StockFontMutex());
    if (!fonts[index]) {
        auto* f = new TGdiFont(nullptr);
        f->Stock = true;
        f->StockIndex = index;
        fonts[index] = f;
        RegisterObject(f);
    }
    return fonts[index];
}

} // namespace

void RegisterObject(HGDIOBJ object) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    Objects().insert(object);
}

bool IsLiveObject(HGDIOBJ object) {
    if (!object) return false;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    return Objects().count(object) != 0;
}

bool IsLiveDC(HDC dc) {
    if (!dc) return false;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    return Contexts().count(dc) != 0;
}

std::shared_ptr<const TFontData> MakeFontData(const LOGFONT& log) {
    vcl_qt::EnsureGuiApplication();
    auto data = std::make_shared<TFontData>();
    data->Log = log;
    data->Log.lfFaceName[LF_FACESIZE - 1] = '\0';
    data->Font = vcl_qt::ToQFont(data->Log);
    return data;
}

std::shared_ptr<const TFontData> FontDataOf(HGDIOBJ font) {
    auto* f = static_cast<TGdiFont*>(font ? font : StockFont(SYSTEM_FONT));
    if (f->StockIndex < 0) return f->Data;
    std::lock_guard<std::mutex> lock(StockFontMutex());
    if (!f->Data) f->Data = MakeFontData(StockLogFont(f->StockIndex));
    return f->Data;
}

QColor ToColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

void ReleasePainter(HDC dc) {
    if (dc->OwnPainter) {
        dc->OwnPainter->end();
        dc->OwnPainter.reset();
    }
    dc->View.reset();
}

TDcPaint::TDcPaint(HDC dc) {
    if (!IsLiveDC(dc)) return;
    vcl_qt::EnsureGuiApplication();
    if (dc->Kind == HDC__::Painter) {
        if (!dc->External || !dc->External->isActive()) return;
        painter_ = dc->External;
    } else {
        TGdiBitmap* b = dc->Bitmap;
        if (!b || !b->Bits) return;
        if (!dc->OwnPainter) {
            dc->View.emplace(reinterpret_cast<uchar*>(b->Bits), b->Width, b->Height, b->Width * 4,
                             QImage::Format_RGB32);
            dc->OwnPainter = std::make_unique<QPainter>(&*dc->View);
        }
        painter_ = dc->OwnPainter.get();
    }
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setBrushOrigin(0, 0);
    if (dc->Clip) painter_->setClipRect(*dc->Clip, Qt::IntersectClip);
}

TDcPaint::~TDcPaint() {
    if (painter_) painter_->restore();
}

} // namespace vcl_internal

using namespace vcl_internal;

QSize HDC__::Size() const {
    if (Kind == Painter) return DeviceSize;
    if (Bitmap && Bitmap->Bits) return QSize(Bitmap->Width, Bitmap->Height);
    return QSize(1, 1);
}

QRect HDC__::ClipBox() const {
    return Clip ? Clip->intersected(Bounds()) : Bounds();
}

std::uint32_t* HDC__::Row(int y) const {
    if (Kind != Memory || !Bitmap || !Bitmap->Bits || y < 0 || y >= Bitmap->Height) return nullptr;
    return Bitmap->Bits + static_cast<std::size_t>(y) * Bitmap->Width;
}

namespace vcl_qt {

HDC CreatePainterDC(QPainter* painter, QSize size) {
    auto* dc = new HDC__;
    dc->Kind = HDC__::Painter;
    dc->External = painter;
    dc->DeviceSize = size;
    RegisterDC(dc);
    return dc;
}

} // namespace vcl_qt

HDC CreateCompatibleDC(HDC) {
    auto* dc = new HDC__;
    dc->Bitmap = &StockBitmap();
    RegisterDC(dc);
    return dc;
}

BOOL DeleteDC(HDC dc) {
    if (!IsLiveDC(dc)) return FALSE;
    Unregister(dc, true);
    ReleasePainter(dc);
    if (dc->Bitmap && !dc->Bitmap->Stock) dc->Bitmap->SelectedIn = nullptr;
    if (dc->OwnedBitmap) {
        Unregister(dc->OwnedBitmap, false);
        delete dc->OwnedBitmap;
    }
    delete dc;
    return TRUE;
}

HDC CreateMemoryDC(void* bits, int width, int height) {
    HBITMAP bitmap = CreateBitmapOnBits(bits, width, height);
    if (!bitmap) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    dc->OwnedBitmap = static_cast<TGdiBitmap*>(bitmap);
    return dc;
}

void* GetDCBits(HDC dc, int* width, int* height) {
    if (!IsLiveDC(dc) || dc->Kind != HDC__::Memory || !dc->Bitmap || !dc->Bitmap->Bits) return nullptr;
    if (width) *width = dc->Bitmap->Width;
    if (height) *height = dc->Bitmap->Height;
    return dc->Bitmap->Bits;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section != nullptr) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight >= 0 ||
        h.biHeight == INT32_MIN)
        return nullptr;
    const std::int64_t w = h.biWidth, rows = -static_cast<std::int64_t>(h.biHeight);
    if (w > 32768 || rows > 32768 || w * rows > (std::int64_t(1) << 26)) return nullptr;
    auto* b = new TGdiBitmap;
    b->Owned.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(w * rows)]());
    if (!b->Owned) {
        delete b;
        return nullptr;
    }
    b->Bits = b->Owned.get();
    b->Width = static_cast<int>(w);
    b->Height = static_cast<int>(rows);
    RegisterObject(b);
    if (bits) *bits = b->Bits;
    return b;
}

HBITMAP CreateBitmapOnBits(void* bits, int width, int height) {
    if (!bits || width <= 0 || height <= 0) return nullptr;
    auto* b = new TGdiBitmap;
    b->Bits = static_cast<std::uint32_t*>(bits);
    b->Width = width;
    b->Height = height;
    RegisterObject(b);
    return b;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!IsLiveDC(dc) || !IsLiveObject(object)) return nullptr;
    switch (object->Type) {
    case OBJ_FONT: {
        HGDIOBJ previous = dc->Font ? dc->Font : StockFont(SYSTEM_FONT);
        auto* f = static_cast<TGdiFont*>(object);
        dc->Font = object;
        dc->FontData = f->StockIndex < 0 ? f->Data : nullptr; // a stock font's at the first drawing
        return previous;
    }
    case OBJ_BRUSH: {
        HGDIOBJ previous = dc->Brush ? dc->Brush : StockBrushOrPen(WHITE_BRUSH);
        dc->Brush = object;
        return previous;
    }
    case OBJ_PEN: {
        HGDIOBJ previous = dc->Pen ? dc->Pen : StockBrushOrPen(BLACK_PEN);
        dc->Pen = object;
        return previous;
    }
    case OBJ_BITMAP: {
        if (dc->Kind != HDC__::Memory) return nullptr;
        auto* b = static_cast<TGdiBitmap*>(object);
        if (!b->Stock && b->SelectedIn && b->SelectedIn != dc)
            return nullptr; // one context at a time, as on the platform
        HGDIOBJ previous = dc->Bitmap;
        ReleasePainter(dc);
        if (dc->Bitmap && !dc->Bitmap->Stock) dc->Bitmap->SelectedIn = nullptr;
        dc->Bitmap = b;
        if (!b->Stock) b->SelectedIn = dc;
        if (dc->OwnedBitmap && dc->OwnedBitmap != b) {
            // The context no longer draws on the memory it was made for; that bitmap is now the caller's.
            dc->OwnedBitmap = nullptr;
        }
        return previous;
    }
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!IsLiveObject(object)) return FALSE;
    if (object->Stock) return TRUE;
    if (object->Type == OBJ_BITMAP && static_cast<TGdiBitmap*>(object)->SelectedIn) return FALSE;
    Unregister(object, false);
    // Contexts that still have this font keep its data; they only lose the handle.
    delete object;
    return TRUE;
}

HGDIOBJ GetStockObject(int index) {
    if (index >= WHITE_BRUSH && index <= NULL_PEN) return StockBrushOrPen(index);
    if (index == OEM_FIXED_FONT || index == ANSI_FIXED_FONT || index == ANSI_VAR_FONT ||
        index == SYSTEM_FONT || index == DEFAULT_GUI_FONT)
        return StockFont(index);
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    if (!IsLiveDC(dc)) return nullptr;
    switch (type) {
    case OBJ_FONT:
        return dc->Font && IsLiveObject(dc->Font) ? dc->Font : StockFont(SYSTEM_FONT);
    case OBJ_BRUSH:
        return dc->Brush ? dc->Brush : StockBrushOrPen(WHITE_BRUSH);
    case OBJ_PEN:
        return dc->Pen ? dc->Pen : StockBrushOrPen(BLACK_PEN);
    case OBJ_BITMAP:
        return dc->Kind == HDC__::Memory ? dc->Bitmap : nullptr;
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (!font) return nullptr;
    auto* f = new TGdiFont(MakeFontData(*font));
    RegisterObject(f);
    return f;
}

int GetObject(HGDIOBJ object, int size, void* buffer) {
    if (!IsLiveObject(object) || object->Type != OBJ_FONT || !buffer ||
        size < static_cast<int>(sizeof(LOGFONT)))
        return 0;
    std::memcpy(buffer, &FontDataOf(object)->Log, sizeof(LOGFONT));
    return static_cast<int>(sizeof(LOGFONT));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto* b = new TGdiBrush;
    b->Color = colour & 0xFFFFFF;
    RegisterObject(b);
    return b;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    auto* p = new TGdiPen;
    p->Color = colour & 0xFFFFFF;
    p->Width = std::max(1, width);
    p->Null = style == PS_NULL;
    RegisterObject(p);
    return p;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    if (!IsLiveDC(dc)) return CLR_INVALID;
    const COLORREF old = dc->TextColor;
    dc->TextColor = colour & 0xFFFFFF;
    return old;
}

COLORREF GetTextColor(HDC dc) {
    return IsLiveDC(dc) ? dc->TextColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    if (!IsLiveDC(dc)) return CLR_INVALID;
    const COLORREF old = dc->BkColor;
    dc->BkColor = colour & 0xFFFFFF;
    return old;
}

COLORREF GetBkColor(HDC dc) {
    return IsLiveDC(dc) ? dc->BkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    if (!IsLiveDC(dc) || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int old = dc->BkMode;
    dc->BkMode = mode;
    return old;
}

int GetBkMode(HDC dc) {
    return IsLiveDC(dc) ? dc->BkMode : 0;
}

int SetStretchBltMode(HDC dc, int mode) {
    if (!IsLiveDC(dc) || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int old = dc->StretchMode;
    dc->StretchMode = mode;
    return old;
}

int GetStretchBltMode(HDC dc) {
    return IsLiveDC(dc) ? dc->StretchMode : 0;
}

BOOL GdiFlush() {
    return TRUE;
}

int GetClipBox(HDC dc, TRect* rect) {
    if (!IsLiveDC(dc) || !rect) return 0;
    const QRect r = dc->ClipBox();
    if (r.isEmpty()) {
        *rect = TRect{};
        return NULLREGION;
    }
    *rect = TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return SIMPLEREGION;
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!IsLiveDC(dc)) return 0;
    const QRect r = right > left && bottom > top ? QRect(left, top, right - left, bottom - top) : QRect();
    dc->Clip = dc->Clip ? dc->Clip->intersected(r) : r;
    return dc->ClipBox().isEmpty() ? NULLREGION : SIMPLEREGION;
}

int SelectClipRgn(HDC dc, HRGN region) {
    if (!IsLiveDC(dc) || region != nullptr) return 0;
    dc->Clip.reset();
    return SIMPLEREGION;
}

int GetDeviceCaps(HDC dc, int index) {
    if (!IsLiveDC(dc)) return 0;
    switch (index) {
    case HORZRES:
        return dc->Size().width();
    case VERTRES:
        return dc->Size().height();
    case BITSPIXEL:
        return 32;
    case LOGPIXELSX:
    case LOGPIXELSY:
        if (dc->Kind == HDC__::Painter && dc->External && dc->External->device())
            return index == LOGPIXELSX ? dc->External->device()->logicalDpiX()
                                       : dc->External->device()->logicalDpiY();
        return 96;
    default:
        return 0;
    }
}

HPALETTE SelectPalette(HDC, HPALETTE, BOOL) {
    return nullptr;
}
UINT RealizePalette(HDC) {
    return 0;
}
