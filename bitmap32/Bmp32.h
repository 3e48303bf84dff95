// TBitmap32: a top-down 32-bit ARGB bitmap whose pixels are addressed directly, with change
// notification, clipping, drawing modes, its own resampler, and the drawing primitives.
//
// Name suffixes of the pixel and line operations: S clipped to ClipRect, T blended with the bitmap's
// CombineMode, P coloured from the stipple pattern, W wrapped into ClipRect by WrapMode, X and F at 16.16
// and float positions (antialiased over 2 x 2 pixels), B clamped to the bitmap, R through the resampler.
// Operations without S assume the coordinates are inside the bitmap.
#pragma once

#include "bitmap32/Bmp32_Color.h"
#include "bitmap32/Bmp32_Geometry.h"
#include "bitmap32/Bmp32_Persistent.h"
#include "bitmap32/Bmp32_Sampler.h"
#include "platform/vcl/DeviceContext.h"
#include "platform/vcl/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TStream;
class TClipboard;
class TPropertyReader;

namespace Bmp32 {

HARBEK_DECLARE_EXCEPTION(EBitmapException, Exception);

// The pixel interpolation of the antialiased reads: WX weighs the left column, WY the top row; C11
// points at the top-left pixel (and its right neighbour), C21 at the pixel below it.
using TInterpolator = TColor32 (*)(unsigned WX, unsigned WY, const TColor32* C11, const TColor32* C21);
extern TInterpolator Interpolator;
TColor32 Interpolator_Pas(unsigned WX, unsigned WY, const TColor32* C11, const TColor32* C21);

class TBitmap32 : public TCustomMap {
public:
    TNotifyEvent OnHandleChanged;
    TPixelCombineEvent OnPixelCombine;
    TAreaChangedEvent OnAreaChanged;

    TBitmap32();
    ~TBitmap32() override;

    void Assign(const TPersistent* Source) override;

    // -- pixels and geometry
    TColor32* Bits() { return FBits; }
    const TColor32* Bits() const { return FBits; }
    TColor32* GetPixelPtr(int X, int Y) { return FBits + static_cast<std::ptrdiff_t>(Y) * FWidth + X; }
    TColor32* GetScanLine(int Y) { return FBits + static_cast<std::ptrdiff_t>(Y) * FWidth; }
    const TColor32* GetScanLine(int Y) const { return FBits + static_cast<std::ptrdiff_t>(Y) * FWidth; }
    TRect BoundsRect() const { return TRect{0, 0, FWidth, FHeight}; }
    // No pixels, or a zero width or height.
    bool Empty() const override { return FBits == nullptr || TCustomMap::Empty(); }

    const TRect& ClipRect() const { return FClipRect; }
    const TFixedRect& FixedClipRect() const { return FFixedClipRect; }
    const TRect& ClipRect256() const { return FClipRect256; }
    // Value intersected with BoundsRect.
    void SetClipRect(const TRect& Value);
    void ResetClipRect() { SetClipRect(BoundsRect()); }
    bool Clipping() const { return FClipping; }

    // -- modes and colours: the setters report a change only when the value differs
    TDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode Value);
    TCombineMode CombineMode() const { return FCombineMode; }
    void SetCombineMode(TCombineMode Value);
    TWrapMode WrapMode() const { return FWrapMode; }
    void SetWrapMode(TWrapMode Value);
    std::uint32_t MasterAlpha() const { return FMasterAlpha; }
    void SetMasterAlpha(std::uint32_t Value);
    TColor32 OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor32 Value) { FOuterColor = Value; }
    TColor32 PenColor() const { return FPenColor; }
    void SetPenColor(TColor32 Value) { FPenColor = Value; }

    TCustomResampler* Resampler() const { return FResampler; }
    // Takes ownership; nullptr or the current resampler is ignored.
    void SetResampler(TCustomResampler* Resampler);
    std::string ResamplerClassName() const;
    // A registered resampler class by name; empty or unknown names change nothing.
    void SetResamplerClassName(const std::string& Value);

    // -- whole bitmap
    void Clear() { Clear(clBlack32); }
    void Clear(TColor32 FillColor);
    void Delete() override { SetSize(0, 0); }
    virtual void CopyMapTo(TBitmap32* Dst) const;
    virtual void CopyPropertiesTo(TBitmap32* Dst) const;
    // Same class, size and pixels; two empty bitmaps are equal.
    bool Equal(const TBitmap32* Bmp) const;
    void ResetAlpha() { ResetAlpha(0xFF); }
    void ResetAlpha(std::uint8_t AlphaValue);

    // The Data stream: i32 Width, i32 Height, then Width x Height pixels, top row first. A negative or
    // oversized header, or one promising more pixels than the stream holds, raises EReadError before
    // anything changes; a short read raises and leaves the bitmap empty.
    virtual void ReadData(TStream* Stream);
    virtual void WriteData(TStream* Stream) const;
    // Whether a form writer stores Data: with an ancestor, when it is another class or a bitmap this
    // one is not Equal to; without one, when this bitmap is not empty.
    bool DataStored(const TPersistent* Ancestor) const;
    // One property of a form definition, named relative to the bitmap: Data (binary), DrawMode,
    // CombineMode, WrapMode, MasterAlpha, OuterColor, ResamplerClassName. False for other names; a
    // value of the wrong form, or Data that does not read, raises the reader's error.
    bool ReadProperty(const TPropertyReader& Reader, std::string_view Name);

    // -- the device context over the pixels: text, canvas and blits to and from other contexts
    // The memory context (none while the bitmap has no pixels) and the bitmap selected into it.
    ::HDC Handle() const { return FHDC; }
    HBITMAP BitmapHandle() const { return FHandle; }
    const BITMAPINFO& BitmapInfo() const { return FBitmapInfo; }
    // Made on first use and bound to Handle(); its changes report a change of the bitmap.
    TCanvas* Canvas();
    bool CanvasAllocated() const { return FCanvas != nullptr; }
    void DeleteCanvas();
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    // Selects the font into the context, with its colour and a transparent background.
    void UpdateFont();
    HFONT FontHandle() const { return FFontHandle; }

    SIZE TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
    void Textout(int X, int Y, const std::string& Text);
    void Textout(int X, int Y, const TRect& ClipRect, const std::string& Text);
    void Textout(const TRect& DstRect, UINT Flags, const std::string& Text);
    // Antialiased text blended onto the bitmap: AALevel -1 and 0 use the font engine's own edges
    // (antialiased and not), 1..4 render at 2^AALevel times the size and average the blocks.
    void RenderText(int X, int Y, const std::string& Text, int AALevel, TColor32 Color);
    SIZE TextExtentW(const std::u16string& Text);
    int TextWidthW(const std::u16string& Text) { return TextExtentW(Text).cx; }
    int TextHeightW(const std::u16string& Text) { return TextExtentW(Text).cy; }
    void TextoutW(int X, int Y, const std::u16string& Text);
    void TextoutW(int X, int Y, const TRect& ClipRect, const std::u16string& Text);
    void TextoutW(const TRect& DstRect, UINT Flags, const std::u16string& Text);
    void RenderTextW(int X, int Y, const std::u16string& Text, int AALevel, TColor32 Color);

    // All pixels 1:1 onto a context at (DstX, DstY); SrcRect of this bitmap stretched onto DstRect.
    void DrawTo(::HDC hDst, int DstX, int DstY);
    void DrawTo(::HDC hDst, const TRect& DstRect, const TRect& SrcRect);
    // SrcRect of a context stretched onto DstRect of this bitmap.
    void Draw(const TRect& DstRect, const TRect& SrcRect, ::HDC hSrc);
    // Stretches SrcRect onto DstRect of a context through a buffer of at most 1024 x 1024 pixels.
    void TileTo(::HDC hDst, const TRect& DstRect, const TRect& SrcRect);

    // Platform pictures: BMP streams, and files of any picture format the platform reads.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;
    // The program's bitmap resources (platform/vcl/Resources.h); a missing one raises EResNotFound.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

    // -- change notification
    void Changed() override;
    virtual void Changed(const TRect& Area, std::uint32_t Info = AREAINFO_RECT);
    // The inherited notification only (OnChange, no area).
    void PropertyChanged() { TCustomMap::Changed(); }
    // Drawing operations skip their pixel writes and report their areas to Callback instead.
    void BeginMeasuring(const TAreaChangedEvent& Callback);
    void EndMeasuring();
    bool MeasuringMode() const { return FMeasuringMode; }

    // -- transfers onto another bitmap (block at a position, or stretched into a rectangle)
    void Draw(int DstX, int DstY, TBitmap32* Src);
    void Draw(int DstX, int DstY, const TRect& SrcRect, TBitmap32* Src);
    void Draw(const TRect& DstRect, const TRect& SrcRect, TBitmap32* Src);
    void DrawTo(TBitmap32* Dst);
    void DrawTo(TBitmap32* Dst, int DstX, int DstY);
    void DrawTo(TBitmap32* Dst, int DstX, int DstY, const TRect& SrcRect);
    void DrawTo(TBitmap32* Dst, const TRect& DstRect);
    void DrawTo(TBitmap32* Dst, const TRect& DstRect, const TRect& SrcRect);

    // -- pixel access
    TColor32 GetPixel(int X, int Y) const { return FBits[static_cast<std::ptrdiff_t>(Y) * FWidth + X]; }
    void SetPixel(int X, int Y, TColor32 Value) {
        FBits[static_cast<std::ptrdiff_t>(Y) * FWidth + X] = Value;
    }
    TColor32 GetPixelS(int X, int Y) const;
    void SetPixelS(int X, int Y, TColor32 Value);
    TColor32 GetPixelB(int X, int Y) const;
    TColor32 GetPixelW(int X, int Y) const;
    void SetPixelW(int X, int Y, TColor32 Value);
    void SetPixelT(int X, int Y, TColor32 Value);
    void SetPixelT(TColor32*& Ptr, TColor32 Value);
    void SetPixelTS(int X, int Y, TColor32 Value);
    // 24.8 positions: GAMMA_TABLE-weighted 2 x 2 reads and writes.
    TColor32 GET_T256(int X, int Y) const;
    TColor32 GET_TS256(int X, int Y) const;
    void SET_T256(int X, int Y, TColor32 Value);
    void SET_TS256(int X, int Y, TColor32 Value);
    TColor32 GetPixelX(TFixed X, TFixed Y) const;
    TColor32 GetPixelXS(TFixed X, TFixed Y) const;
    void SetPixelX(TFixed X, TFixed Y, TColor32 Value);
    void SetPixelXS(TFixed X, TFixed Y, TColor32 Value);
    TColor32 GetPixelF(float X, float Y) const;
    TColor32 GetPixelFS(float X, float Y) const;
    void SetPixelF(float X, float Y, TColor32 Value);
    void SetPixelFS(float X, float Y, TColor32 Value);
    TColor32 GetPixelXW(TFixed X, TFixed Y) const;
    void SetPixelXW(TFixed X, TFixed Y, TColor32 Value);
    TColor32 GetPixelFW(float X, float Y) const;
    void SetPixelFW(float X, float Y, TColor32 Value);
    TColor32 GetPixelR(float X, float Y) const;

    // -- stipple pattern
    const TArrayOfColor32& StipplePattern() const { return FStipplePattern; }
    void SetStipple(const TArrayOfColor32& NewStipple);
    float StippleCounter() const { return FStippleCounter; }
    void SetStippleCounter(float Value) { FStippleCounter = Value; }
    float StippleStep() const { return FStippleStep; }
    void SetStippleStep(float Value) { FStippleStep = Value; }
    void AdvanceStippleCounter(float LengthPixels);
    TColor32 GetStippleColor();

    // -- lines: both ends included for Horz/Vert; L tells whether the last point of Line* is drawn
    void HorzLine(int X1, int Y, int X2, TColor32 Value);
    void HorzLineS(int X1, int Y, int X2, TColor32 Value);
    void HorzLineT(int X1, int Y, int X2, TColor32 Value);
    void HorzLineTS(int X1, int Y, int X2, TColor32 Value);
    void HorzLineTSP(int X1, int Y, int X2);
    void VertLine(int X, int Y1, int Y2, TColor32 Value);
    void VertLineS(int X, int Y1, int Y2, TColor32 Value);
    void VertLineT(int X, int Y1, int Y2, TColor32 Value);
    void VertLineTS(int X, int Y1, int Y2, TColor32 Value);
    void VertLineTSP(int X, int Y1, int Y2);
    void Line(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineT(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineTS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineA(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineAS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void LineX(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L = false);
    void LineXS(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L = false);
    void LineF(float X1, float Y1, float X2, float Y2, TColor32 Value, bool L = false);
    void LineFS(float X1, float Y1, float X2, float Y2, TColor32 Value, bool L = false);
    void LineXP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L = false);
    void LineXSP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L = false);
    void LineFP(float X1, float Y1, float X2, float Y2, bool L = false);
    void LineFSP(float X1, float Y1, float X2, float Y2, bool L = false);

    // -- the pen: the LineTo forms draw with PenColor and leave out the last point
    const TPoint& PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& Value) { FPenPos = Value; }
    const TFixedPoint& PenPosF() const { return FPenPosF; }
    void SetPenPosF(const TFixedPoint& Value) { FPenPosF = Value; }
    void MoveTo(int X, int Y) { FPenPos = TPoint{X, Y}; }
    void LineToS(int X, int Y);
    void LineToTS(int X, int Y);
    void LineToAS(int X, int Y);
    void MoveToX(TFixed X, TFixed Y) { FPenPosF = TFixedPoint{X, Y}; }
    void MoveToF(float X, float Y) { FPenPosF = TFixedPoint{Fixed(X), Fixed(Y)}; }
    void LineToXS(TFixed X, TFixed Y);
    void LineToFS(float X, float Y);
    void LineToXSP(TFixed X, TFixed Y);
    void LineToFSP(float X, float Y);

    // -- rectangles: right and bottom excluded
    void FillRect(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectS(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectS(const TRect& ARect, TColor32 Value);
    void FillRectT(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectTS(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectTS(const TRect& ARect, TColor32 Value);
    void FrameRectS(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FrameRectS(const TRect& ARect, TColor32 Value);
    void FrameRectTS(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FrameRectTS(const TRect& ARect, TColor32 Value);
    void FrameRectTSP(int X1, int Y1, int X2, int Y2);
    void RaiseRectTS(int X1, int Y1, int X2, int Y2, int Contrast);
    void RaiseRectTS(const TRect& ARect, int Contrast);

    // -- whole-bitmap moves; Dst nullptr (or this bitmap) works in place
    void Roll(int Dx, int Dy, bool FillBack, TColor32 FillColor);
    void FlipHorz(TBitmap32* Dst = nullptr);
    void FlipVert(TBitmap32* Dst = nullptr);
    void Rotate90(TBitmap32* Dst = nullptr);
    void Rotate180(TBitmap32* Dst = nullptr);
    void Rotate270(TBitmap32* Dst = nullptr);

protected:
    void AssignTo(TPersistent* Dest) const override;
    void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) override;
    virtual void HandleChanged();
    void FontChanged(TObject* Sender);
    void CanvasChanged(TObject* Sender);

private:
    void AssignGraphic(const TGraphic* Graphic, bool FromPicture);
    void AssignPlatformBitmap(const TBitmap* Bitmap);
    void AssignClipboard(const TClipboard* Clipboard);
    void FillPlatformBitmap(TBitmap* Bitmap) const;
    void DeleteHandles();
    bool InClip(int X, int Y) const {
        return X >= FClipRect.Left && X < FClipRect.Right && Y >= FClipRect.Top && Y < FClipRect.Bottom;
    }
    void FreePixels();
    void FillRows(const TRect& R, TColor32 Value);
    void BlendRect(const TRect& R, TColor32 Value);
    void LineXSteps(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L, bool Clipped,
                    bool Stippled);

    TColor32* FBits = nullptr;
    HBITMAP FHandle = nullptr;
    ::HDC FHDC = nullptr;
    BITMAPINFO FBitmapInfo;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TFont> FFont;
    HFONT FFontHandle = nullptr;
    TRect FClipRect;
    TFixedRect FFixedClipRect;
    TRect FClipRect256;
    bool FClipping = false;
    TDrawMode FDrawMode = dmOpaque;
    TCombineMode FCombineMode = cmBlend;
    TWrapMode FWrapMode = wmClamp;
    std::uint32_t FMasterAlpha = 0xFF;
    TColor32 FOuterColor = 0;
    TColor32 FPenColor = clWhite32;
    float FStippleCounter = 0;
    TArrayOfColor32 FStipplePattern;
    float FStippleStep = 1.0f;
    TAreaChangedEvent FOldOnAreaChanged;
    bool FMeasuringMode = false;
    TCustomResampler* FResampler = nullptr;
    TPoint FPenPos;
    TFixedPoint FPenPosF;
};

// Bitmaps larger than this many bytes of pixels are refused ("Can't allocate the DIB handle").
inline constexpr std::int64_t MaxBitmapBytes = 0x7FFFFFFF;

} // namespace Bmp32
