// The class library's graphics: pens, brushes, fonts, the canvas, and the graphic classes (bitmap,
// icon, picture). JPEG pictures are in Jpeg.h, printing in Printers.h, the GDI calls underneath in
// DeviceContext.h.
//
// Properties are read by a method of their name and written by Set plus the name:
//     Canvas->Brush()->SetColor(clAqua);
//     Canvas->FillRect(Rect(0, 0, Width(), Height()));
//
// Canvases and controls. A TCanvas draws through its Handle, an HDC. A control that paints binds its
// canvas to the paint in progress for the duration of its Paint (platform-internal, GraphicsQt.h):
//     vcl_qt::TPaintCanvasBinding bind(*Canvas, painter, size);   // SetHandle(dc) ... SetHandle(nullptr)
//     Paint();
// A drawing call on a canvas without a handle calls the virtual CreateHandle() first; a canvas class
// that can draw outside a paint (into a backing image, say) overrides it and calls SetHandle. The
// base class raises EInvalidOperation ("Canvas does not allow drawing") when there is still none.
//
// Bitmaps are 32 bits per pixel in memory whatever their PixelFormat, which only decides how they
// are saved and whether their alpha byte counts (pf32bit) or is taken as opaque. ScanLine(y) is a row
// of Width() 32-bit pixels $AARRGGBB. Bitmaps, icons and JPEG images share their pixels when copied
// (Assign, TPicture) and copy them only when one of them is written to.
//
// Text is UTF-8 everywhere. Errors raise EInvalidGraphic and friends (GraphicsErrors.h).
#pragma once

#include "platform/core/Types.h"
#include "platform/vcl/Colors.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/DeviceContext.h"
#include "platform/vcl/Events.h"
#include "platform/vcl/GraphicsErrors.h"
#include "platform/vcl/Sets.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TStream;
class TCanvas;
class TGraphic;
class TBitmap;
class TIcon;

namespace vcl_internal {
struct TImageData;
class TBitmapFile;
} // namespace vcl_internal

// ---- fonts, pens and brushes ------------------------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;
using TFontName = std::string;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

struct CRITICAL_SECTION;

// Base of pens, brushes and fonts: change notification.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    // A lock the owner shares (none at first). A font holds it while it changes, OnChange included,
    // and while it makes its handle, so that the owner's lock keeps other threads from changing it.
    CRITICAL_SECTION* OwnerCriticalSection() const { return ownerLock_; }
    void SetOwnerCriticalSection(CRITICAL_SECTION* lock) { ownerLock_ = lock; }

protected:
    void Changed();

private:
    CRITICAL_SECTION* ownerLock_ = nullptr;
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width); // below 1 is 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // An 8 x 8 pattern: the top-left 8 x 8 pixels of the bitmap (a copy is kept) repeat over every
    // fill, aligned to the surface's origin. nullptr removes it.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* pattern);
    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    std::unique_ptr<TBitmap> bitmap_;
};

class TFont : public TGraphicsObject {
public:
    // The screen resolution the class library converts points with.
    static constexpr int PixelsPerInch = 96;

    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    // The name as asked for; the face drawn is MappedName() (FontMap.h).
    const TFontName& Name() const { return name_; }
    void SetName(const TFontName& name);
    // Points; Height is -Size * 96 / 72 rounded. A positive Height is a cell height, which has no exact
    // point size: Size then reads the rounded equivalent.
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // The installed family this font draws with.
    std::string MappedName() const;
    // A font object of this description, owned by the font and replaced after every change; select it
    // into contexts freely (DeviceContext.h: it outlives its replacement while selected).
    HFONT Handle();
    void SetHandle(HFONT font); // takes the description of `font`; the font stays the caller's
    void Assign(const TPersistent* source) override;
    LOGFONT LogFont() const;

private:
    void Modified();

    TFontName name_ = "MS Sans Serif";
    int height_ = -11; // 8 points
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    HFONT handle_ = nullptr;
};

// ---- canvas -----------------------------------------------------------------------------------------

using TCopyMode = DWORD;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    TFont* Font() { return &font_; }
    void SetPen(const TPen* pen) { pen_.Assign(pen); }
    void SetBrush(const TBrush* brush) { brush_.Assign(brush); }
    void SetFont(const TFont* font) { font_.Assign(font); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { penPos_ = p; }

    // The context drawn on, created on demand (CreateHandle); nullptr when the canvas cannot draw.
    HDC Handle();
    // Attaches a context the caller keeps (and deletes); nullptr detaches.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    // Surface intersected with the context's clipping; empty without a handle.
    TRect ClipRect();

    void MoveTo(int x, int y);
    void LineTo(int x, int y); // the end point itself is not drawn
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);  // brush only, no outline
    void FrameRect(const TRect& r); // one pixel wide, in the brush colour
    void Polygon(const TPoint* points, int count);
    void Polygon(std::initializer_list<TPoint> points) {
        Polygon(points.begin(), static_cast<int>(points.size()));
    }
    void Polygon(const std::vector<TPoint>& points) {
        Polygon(points.data(), static_cast<int>(points.size()));
    }
    void Polyline(const TPoint* points, int count);
    void Polyline(std::initializer_list<TPoint> points) {
        Polyline(points.begin(), static_cast<int>(points.size()));
    }
    void Polyline(const std::vector<TPoint>& points) {
        Polyline(points.data(), static_cast<int>(points.size()));
    }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // (x, y) is the top-left of the text; the background is filled with the brush unless it is bsClear.
    void TextOut(int x, int y, const std::string& text);
    // Text at (x, y) clipped to r, whose area is filled with the brush first unless it is bsClear.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    SIZE TextExtent(const std::string& text);
    void Draw(int x, int y, const TGraphic* graphic);
    void StretchDraw(const TRect& r, const TGraphic* graphic);
    // Copies (stretching) source's sourceRect into destRect with CopyMode.
    void CopyRect(const TRect& destRect, TCanvas* source, const TRect& sourceRect);
    TColor Pixels(int x, int y); // -1 where it cannot be read
    void SetPixels(int x, int y, TColor color);
    void DrawFocusRect(const TRect& r);
    void Refresh();

    // Guards the canvas against use from another thread; re-entrant.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called by every drawing call and by Handle() before the context is used.
    virtual void PrepareHandle() {}
    // Called by drawing calls that find no handle; may call SetHandle.
    virtual void CreateHandle();
    void Changing();
    void Changed();

private:
    HDC RequireHandle();

    TPen pen_;
    TBrush brush_;
    TFont font_;
    TCopyMode copyMode_ = cmSrcCopy;
    TPoint penPos_;
    HDC dc_ = nullptr;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
};

// ---- graphics ---------------------------------------------------------------------------------------

// The pictures TPicture and the canvas know. Pixel-backed graphics keep their pixels in a shared
// TImageData; Draw copies or stretches them onto a context.
class TGraphic : public TPersistent {
public:
    ~TGraphic() override;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;

    // Drawn with TransparentColor left out (TBitmap) or with the image's own mask (TIcon).
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The whole file: LoadFromFile raises EFOpenError for a missing file and EInvalidGraphic for one
    // this class cannot read; the graphic is then empty.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    // From the stream's position to its end.
    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) const = 0;

    // nullptr empties; a graphic of another class converts through its pixels; anything else raises
    // EConvertError ("Cannot assign a X to a Y").
    void Assign(const TPersistent* source) override;
    // A new graphic of the same class holding the same picture.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Platform-internal: the pixels (nullptr when empty), shared, not to be written.
    virtual std::shared_ptr<const vcl_internal::TImageData> ImageData() const = 0;
    // The colour drawn as transparent when Transparent() (clNone: use the alpha channel).
    virtual TColor DrawTransparentColor() const { return clNone; }
    // Platform-internal: Draw covers its whole rectangle with opaque pixels, so what lies under the
    // graphic need not be painted. False unless the graphic knows every pixel's alpha is full.
    virtual bool Opaque() const { return false; }

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas* canvas, const TRect& rect) const;
    void Changed();

private:
    bool transparent_ = false;
    bool modified_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    // Drawn as stored, every pixel counts; a 32-bit picture may carry an alpha channel.
    bool Opaque() const override { return !Empty() && !Transparent() && pixelFormat_ != pf32bit; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Keeps the overlapping pixels; new ones are 0 (black, alpha 0). Negative sizes are 0. Raises
    // EOutOfResources beyond 32768 pixels a side or 64 M pixels.
    void SetSize(int width, int height);

    // The canvas draws straight into the pixels.
    TCanvas* Canvas();
    // A row of Width() pixels; raises ERangeError ("Scan line index out of range") outside 0..Height-1.
    void* ScanLine(int row);
    const void* ScanLine(int row) const;

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    // pf32bit keeps alpha; pf24bit and the others are opaque (pf8bit saves with a palette).
    void SetPixelFormat(TPixelFormat format);
    TBitmapHandleType HandleType() const { return bmDIB; }
    void SetHandleType(TBitmapHandleType) {}
    bool Monochrome() const { return false; }
    HPALETTE Palette() const { return nullptr; }

    // tmAuto: the bottom-left pixel's colour; tmFixed: the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

    // BMP files of 1, 4, 8, 16, 24 and 32 bits (uncompressed or with colour masks); PixelFormat
    // follows the file. The same bytes loaded again share the pixels decoded the first time. Saving writes 8
    // bits (pf8bit, with the loaded palette when there is one), 32 bits (pf32bit) or 24 bits (everything
    // else).
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    // The program's own large skins are read when first drawn: those of windows never shown never are.
    void LoadFromFile(const std::string& fileName) override;
    void LoadFromMemory(const void* data, std::size_t size);
    std::string SaveToMemory() const;
    // A bitmap resource of the program (Resources.h); raises EResNotFound for a missing one.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    std::shared_ptr<const vcl_internal::TImageData> ImageData() const override;
    TColor DrawTransparentColor() const override;
    // Frees the pixels, same as SetSize(0, 0).
    void FreeImage();
    void Dormant() {}

    // Platform-internal: takes `data` as this bitmap's pixels (shared, copied on the next write).
    void SetImageData(std::shared_ptr<const vcl_internal::TImageData> data, TPixelFormat format);

private:
    friend class TBitmapCanvas;
    void Unshare(); // makes the pixels this bitmap's own before a write
    void TakeFile(std::shared_ptr<const vcl_internal::TBitmapFile> file);
    void TakeFilePixels() const; // decodes a loaded file's pixels at their first use
    void LoadBytes(const std::uint8_t* data, std::size_t size, std::unique_ptr<std::uint8_t[]> owned);
    void DropCanvasHandle();

    int width_ = 0;
    int height_ = 0;
    mutable std::shared_ptr<vcl_internal::TImageData> data_;
    mutable std::shared_ptr<const vcl_internal::TBitmapFile> file_; // loaded, not decoded yet
    TPixelFormat pixelFormat_ = pfDevice;
    std::vector<std::uint32_t> palette_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    std::unique_ptr<TCanvas> canvas_;
    HDC canvasDc_ = nullptr;
};

// Icon files (.ico): the largest image of the file, drawn with its own transparency.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    bool Empty() const override { return !data_; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override; // raises EInvalidGraphicOperation: an icon's size is its file's
    void SetHeight(int) override;
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override; // writes the file as loaded
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    std::shared_ptr<const vcl_internal::TImageData> ImageData() const override { return data_; }

private:
    std::shared_ptr<const vcl_internal::TImageData> data_;
    std::string file_;
};

// Holds one graphic of any class; what image controls and strip controls keep their picture in.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Keeps a copy (Clone) of `graphic`; nullptr empties.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap: an empty picture or one of another class is replaced by a TBitmap
    // (holding the old picture's pixels).
    TBitmap* Bitmap();
    void SetBitmap(const TBitmap* bitmap) { SetGraphic(bitmap); }
    TIcon* Icon();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By extension: .bmp, .jpg/.jpeg/.jpe/.jfif, .ico (case-insensitive); any other raises
    // EInvalidGraphic ("Unknown picture file extension (.xyz)"). On any failure the picture is empty.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    // TPicture (copies its graphic), TGraphic (copies it), nullptr (empties); otherwise EConvertError.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();
    void Attach(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
};
