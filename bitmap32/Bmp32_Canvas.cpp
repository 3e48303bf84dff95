// TBitmap32 and the platform's graphics: the canvas and font on the bitmap's device context, blits to
// and from other contexts, and assignment from and to platform pictures.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Resamplers.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Colors.h"
#include "platform/vcl/Metafile.h"

#include <algorithm>
#include <cstring>

namespace Bmp32 {

TCanvas* TBitmap32::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FHDC);
        FCanvas->OnChange = TNotifyEvent(this, &TBitmap32::CanvasChanged);
    }
    return FCanvas.get();
}

void TBitmap32::DeleteCanvas() {
    if (FCanvas) {
        FCanvas->SetHandle(nullptr);
        FCanvas.reset();
    }
}

void TBitmap32::CanvasChanged(TObject*) {
    Changed();
}

void TBitmap32::SetFont(const TFont* Value) {
    FFont->Assign(Value);
    FontChanged(FFont.get());
}

void TBitmap32::FontChanged(TObject*) {
    if (FFontHandle) {
        if (FHDC) SelectObject(FHDC, GetStockObject(SYSTEM_FONT));
        FFontHandle = nullptr;
    }
}

void TBitmap32::UpdateFont() {
    if (!FFontHandle) FFontHandle = FFont->Handle();
    if (FHDC) {
        SelectObject(FHDC, FFontHandle);
        SetTextColor(FHDC, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
        SetBkMode(FHDC, TRANSPARENT);
    }
}

void TBitmap32::DrawTo(::HDC hDst, int DstX, int DstY) {
    if (Empty()) return;
    StretchDIBits(hDst, DstX, DstY, FWidth, FHeight, 0, 0, FWidth, FHeight, FBits, &FBitmapInfo,
                  DIB_RGB_COLORS, SRCCOPY);
}

void TBitmap32::DrawTo(::HDC hDst, const TRect& DstRect, const TRect& SrcRect) {
    if (Empty()) return;
    StretchBlt(hDst, DstRect.Left, DstRect.Top, DstRect.Right - DstRect.Left, DstRect.Bottom - DstRect.Top,
               FHDC, SrcRect.Left, SrcRect.Top, SrcRect.Right - SrcRect.Left, SrcRect.Bottom - SrcRect.Top,
               SRCCOPY);
}

void TBitmap32::Draw(const TRect& DstRect, const TRect& SrcRect, ::HDC hSrc) {
    if (Empty()) return;
    if (!FMeasuringMode)
        StretchBlt(FHDC, DstRect.Left, DstRect.Top, DstRect.Right - DstRect.Left,
                   DstRect.Bottom - DstRect.Top, hSrc, SrcRect.Left, SrcRect.Top,
                   SrcRect.Right - SrcRect.Left, SrcRect.Bottom - SrcRect.Top, SRCCOPY);
    Changed(DstRect, AREAINFO_RECT);
}

void TBitmap32::TileTo(::HDC hDst, const TRect& DstRect, const TRect& SrcRect) {
    constexpr int tileSize = 1024;
    const int dstW = DstRect.Right - DstRect.Left, dstH = DstRect.Bottom - DstRect.Top;
    if (dstW <= 0 || dstH <= 0) return;
    const int columns = (dstW + tileSize - 1) / tileSize, rows = (dstH + tileSize - 1) / tileSize;
    TBitmap32 buffer;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            TRect tile{column * tileSize, row * tileSize, std::min((column + 1) * tileSize, dstW),
                       std::min((row + 1) * tileSize, dstH)};
            const int left = tile.Left, top = tile.Top;
            OffsetRect(tile, -left, -top);
            buffer.SetSize(tile.Right, tile.Bottom);
            // A blending draw mode would otherwise mix the tile into what the previous tile left there.
            if (FDrawMode != dmOpaque) buffer.Clear(0);
            TRect target = DstRect;
            OffsetRect(target, -(left + DstRect.Left), -(top + DstRect.Top));
            StretchTransfer(&buffer, target, buffer.BoundsRect(), this, SrcRect, FResampler, FDrawMode,
                            OnPixelCombine);
            StretchDIBits(hDst, DstRect.Left + left, DstRect.Top + top, tile.Right, tile.Bottom, 0, 0,
                          tile.Right, tile.Bottom, buffer.Bits(), &buffer.BitmapInfo(), DIB_RGB_COLORS,
                          SRCCOPY);
        }
}

void TBitmap32::AssignPlatformBitmap(const TBitmap* Bitmap) {
    SetSize(Bitmap->Width(), Bitmap->Height());
    if (Empty()) return;
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(GetScanLine(y), Bitmap->ScanLine(y), static_cast<std::size_t>(FWidth) * 4);
    // Only a 32-bit bitmap has an alpha channel of its own.
    if (Bitmap->PixelFormat() != pf32bit) ResetAlpha();
    if (Bitmap->Transparent()) {
        const TColor32 key = Color32(Bitmap->TransparentColor()) & 0x00FFFFFFu;
        const std::size_t count = static_cast<std::size_t>(FWidth) * FHeight;
        for (std::size_t i = 0; i < count; ++i)
            if ((FBits[i] & 0x00FFFFFFu) == key) FBits[i] &= 0x00FFFFFFu;
    }
}

void TBitmap32::AssignGraphic(const TGraphic* Graphic, bool FromPicture) {
    if (auto* bitmap = dynamic_cast<const TBitmap*>(Graphic)) {
        AssignPlatformBitmap(bitmap);
        return;
    }
    SetSize(Graphic->Width(), Graphic->Height());
    if (Empty()) return;
    if (FromPicture && (dynamic_cast<const TIcon*>(Graphic) || dynamic_cast<const TMetafile*>(Graphic))) {
        // Drawn over white here and over red in a second bitmap: where both agree the picture is
        // opaque.
        Clear(0xFFFFFFFF);
        Canvas()->Draw(0, 0, Graphic);
        TBitmap32 probe;
        probe.SetSize(FWidth, FHeight);
        probe.Clear(0xFFFF0000);
        probe.Canvas()->Draw(0, 0, Graphic);
        const std::size_t count = static_cast<std::size_t>(FWidth) * FHeight;
        for (std::size_t i = 0; i < count; ++i) {
            const bool opaque = ((FBits[i] ^ probe.Bits()[i]) & 0x00FFFFFFu) == 0;
            FBits[i] = (FBits[i] & 0x00FFFFFFu) | (opaque ? 0xFF000000u : 0u);
        }
        return;
    }
    TCanvas canvas;
    canvas.SetHandle(FHDC);
    canvas.StretchDraw(BoundsRect(), Graphic);
    canvas.SetHandle(nullptr);
    ResetAlpha();
}

void TBitmap32::FillPlatformBitmap(TBitmap* Bitmap) const {
    Bitmap->SetHandleType(bmDIB);
    Bitmap->SetPixelFormat(pf32bit);
    Bitmap->Canvas()->Font()->Assign(FFont.get());
    Bitmap->SetSize(FWidth, FHeight);
    if (!Empty())
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(Bitmap->ScanLine(y), GetScanLine(y), static_cast<std::size_t>(FWidth) * 4);
}

void TBitmap32::AssignTo(TPersistent* Dest) const {
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
        TBitmap bitmap;
        FillPlatformBitmap(&bitmap);
        picture->SetGraphic(&bitmap);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        FillPlatformBitmap(bitmap);
    } else if (auto* clipboard = dynamic_cast<TClipboard*>(Dest)) {
        TBitmap copy;
        FillPlatformBitmap(&copy);
        clipboard->Assign(&copy);
    } else {
        TCustomMap::AssignTo(Dest);
    }
}

void TBitmap32::LoadFromStream(TStream* Stream) {
    TBitmap bitmap;
    bitmap.LoadFromStream(Stream);
    Assign(&bitmap);
}

void TBitmap32::SaveToStream(TStream* Stream) const {
    TBitmap bitmap;
    AssignTo(&bitmap);
    bitmap.SaveToStream(Stream);
}

void TBitmap32::LoadFromFile(const std::string& FileName) {
    TPicture picture;
    picture.LoadFromFile(FileName);
    Assign(&picture);
}

void TBitmap32::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    TBitmap bitmap;
    bitmap.LoadFromResourceID(Instance, ResID);
    Assign(&bitmap);
}

void TBitmap32::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(Instance, ResName);
    Assign(&bitmap);
}

void TBitmap32::AssignClipboard(const TClipboard* Clipboard) {
    TPicture picture;
    picture.Assign(Clipboard);
    // The clipboard's picture is taken as opaque, whatever alpha it carries.
    AssignGraphic(picture.Graphic(), false);
    ResetAlpha();
}

void TBitmap32::SaveToFile(const std::string& FileName) const {
    TBitmap bitmap;
    AssignTo(&bitmap);
    bitmap.SaveToFile(FileName);
}

} // namespace Bmp32
