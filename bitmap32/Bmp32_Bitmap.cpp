// TBitmap32: pixel memory, size, clipping, modes, resampler, change notification, assignment and the
// Data stream.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "platform/core/Streams.h"
#include "platform/vcl/Clipbrd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

namespace Bmp32 {

TBitmap32::TBitmap32() : FFont(std::make_unique<TFont>()) {
    FFont->OnChange = TNotifyEvent(this, &TBitmap32::FontChanged);
    // Whoever holds the bitmap's lock keeps the font from changing under its text.
    FFont->SetOwnerCriticalSection(&FLock);
    // The resampler installs itself through SetResampler.
    new TNearestResampler(this);
}

TBitmap32::~TBitmap32() {
    BeginUpdate();
    Lock();
    DeleteCanvas();
    try {
        SetSize(0, 0);
    } catch (...) {
    }
    FFont.reset();
    delete FResampler;
    FResampler = nullptr;
    Unlock();
}

void TBitmap32::FreePixels() {
    std::free(FBits);
    FBits = nullptr;
}

void TBitmap32::DeleteHandles() {
    // The context first: a bitmap still selected into one cannot be deleted.
    if (FHDC) DeleteDC(FHDC);
    FHDC = nullptr;
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FreePixels();
}

void TBitmap32::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) {
    FontChanged(this);
    DeleteCanvas();
    DeleteHandles();
    Width = 0;
    Height = 0;
    FBitmapInfo.bmiHeader.biWidth = NewWidth;
    FBitmapInfo.bmiHeader.biHeight = -NewHeight;
    if (NewWidth >= 1 && NewHeight >= 1) {
        const std::int64_t pixels = std::int64_t{NewWidth} * NewHeight;
        // Zeroed, so that nothing ever reads pixels the bitmap did not write.
        void* bits =
            pixels <= MaxBitmapBytes / 4 ? std::calloc(static_cast<std::size_t>(pixels), 4) : nullptr;
        if (!bits) throw EBitmapException("Can't allocate the DIB handle");
        FBits = static_cast<TColor32*>(bits);
        FHandle = CreateBitmapOnBits(FBits, NewWidth, NewHeight);
        if (!FHandle) {
            DeleteHandles();
            throw EBitmapException("Can't allocate the DIB handle");
        }
        FHDC = CreateCompatibleDC(nullptr);
        if (!FHDC) {
            DeleteHandles();
            throw EBitmapException("Can't create compatible DC");
        }
        if (!SelectObject(FHDC, FHandle)) {
            DeleteHandles();
            throw EBitmapException("Can't select an object into DC");
        }
    }
    Width = NewWidth;
    Height = NewHeight;
    ResetClipRect();
    HandleChanged();
}

void TBitmap32::HandleChanged() {
    if (FCanvas) FCanvas->SetHandle(FHDC);
    if (OnHandleChanged) OnHandleChanged(this);
}

void TBitmap32::SetClipRect(const TRect& Value) {
    IntersectRect(FClipRect, Value, BoundsRect());
    FFixedClipRect = FixedRect(FClipRect);
    // 24.8 covers 2^23 pixels; wider bitmaps saturate there.
    auto x256 = [](int v) {
        return static_cast<int>(std::min<std::int64_t>(std::int64_t{v} * 256, 0x7FFFFFFF));
    };
    FClipRect256 =
        TRect{x256(FClipRect.Left), x256(FClipRect.Top), x256(FClipRect.Right), x256(FClipRect.Bottom)};
    FClipping = !EqualRect(FClipRect, BoundsRect());
}

void TBitmap32::SetDrawMode(TDrawMode Value) {
    if (FDrawMode != Value) {
        FDrawMode = Value;
        Changed();
    }
}

void TBitmap32::SetCombineMode(TCombineMode Value) {
    if (FCombineMode != Value) {
        FCombineMode = Value;
        Changed();
    }
}

void TBitmap32::SetWrapMode(TWrapMode Value) {
    if (FWrapMode != Value) {
        FWrapMode = Value;
        Changed();
    }
}

void TBitmap32::SetMasterAlpha(std::uint32_t Value) {
    if (FMasterAlpha != Value) {
        FMasterAlpha = Value;
        Changed();
    }
}

void TBitmap32::SetResampler(TCustomResampler* Resampler) {
    if (!Resampler || Resampler == FResampler) return;
    delete FResampler;
    FResampler = Resampler;
    Changed();
}

std::string TBitmap32::ResamplerClassName() const {
    return FResampler ? FResampler->ClassName() : std::string();
}

void TBitmap32::SetResamplerClassName(const std::string& Value) {
    if (Value.empty() || Value == ResamplerClassName() || !ResamplerList()) return;
    if (auto* cls = dynamic_cast<const TBitmap32ResamplerClass*>(ResamplerList()->Find(Value)))
        cls->Create(this);
}

void TBitmap32::Clear(TColor32 FillColor) {
    if (Empty()) return;
    if (!FMeasuringMode) {
        if (FClipping)
            FillRows(FClipRect, FillColor);
        else
            FillLongword(FBits, FWidth * FHeight, FillColor);
    }
    Changed();
}

void TBitmap32::FillRows(const TRect& R, TColor32 Value) {
    for (int y = R.Top; y < R.Bottom; ++y)
        FillLongword(GetPixelPtr(R.Left, y), R.Right - R.Left, Value);
}

void TBitmap32::CopyMapTo(TBitmap32* Dst) const {
    Dst->SetSize(FWidth, FHeight);
    if (!Empty()) MoveLongword(FBits, Dst->FBits, FWidth * FHeight);
}

void TBitmap32::CopyPropertiesTo(TBitmap32* Dst) const {
    Dst->SetDrawMode(FDrawMode);
    Dst->SetCombineMode(FCombineMode);
    Dst->SetWrapMode(FWrapMode);
    Dst->SetMasterAlpha(FMasterAlpha);
    Dst->SetOuterColor(FOuterColor);
    Dst->SetResamplerClassName(ResamplerClassName());
    if (Dst->FResampler && FResampler) Dst->FResampler->Assign(FResampler);
    Dst->SetFont(FFont.get());
}

void TBitmap32::Assign(const TPersistent* Source) {
    BeginUpdate();
    try {
        if (!Source) {
            SetSize(0, 0);
        } else if (auto* src = dynamic_cast<const TBitmap32*>(Source)) {
            if (src != this) {
                src->CopyMapTo(this);
                src->CopyPropertiesTo(this);
            }
        } else if (auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
            AssignGraphic(graphic, false);
        } else if (auto* picture = dynamic_cast<const TPicture*>(Source)) {
            if (picture->Graphic())
                AssignGraphic(picture->Graphic(), true);
            else
                SetSize(0, 0);
        } else if (auto* clipboard = dynamic_cast<const TClipboard*>(Source)) {
            AssignClipboard(clipboard);
        } else {
            TCustomMap::Assign(Source);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Changed();
}

bool TBitmap32::Equal(const TBitmap32* Bmp) const {
    if (Empty() && Bmp->Empty()) return true;
    if (Empty() || Bmp->Empty()) return false;
    if (typeid(*this) != typeid(*Bmp) || FWidth != Bmp->FWidth || FHeight != Bmp->FHeight) return false;
    return std::memcmp(FBits, Bmp->FBits, static_cast<std::size_t>(FWidth) * FHeight * 4) == 0;
}

void TBitmap32::ResetAlpha(std::uint8_t AlphaValue) {
    if (!FMeasuringMode && FBits) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(FBits);
        const std::size_t count = static_cast<std::size_t>(FWidth) * FHeight;
        for (std::size_t i = 0; i < count; ++i)
            bytes[i * 4 + 3] = AlphaValue;
    }
    Changed();
}

void TBitmap32::ReadData(TStream* Stream) {
    std::int32_t header[2];
    Stream->ReadBuffer(header, sizeof header);
    const std::int32_t w = header[0], h = header[1];
    if (w < 0 || h < 0) throw EReadError("Invalid bitmap data size");
    // Both factors are below 2^31, so the 64-bit product cannot overflow.
    const std::int64_t pixels = std::int64_t{w} * h;
    const std::int64_t remaining = Stream->Size() - Stream->Position();
    if (pixels > MaxBitmapBytes / 4 || pixels * 4 > remaining) throw EReadError("Invalid bitmap data size");
    const std::int64_t bytes = pixels * 4;
    SetSize(w, h);
    if (bytes > 0 && FBits) {
        try {
            Stream->ReadBuffer(FBits, bytes);
        } catch (...) {
            SetSize(0, 0);
            throw;
        }
    }
    Changed();
}

void TBitmap32::WriteData(TStream* Stream) const {
    const std::int32_t header[2] = {FWidth, FHeight};
    Stream->WriteBuffer(header, sizeof header);
    if (FBits) Stream->WriteBuffer(FBits, std::int64_t{FWidth} * FHeight * 4);
}

void TBitmap32::Changed() {
    if (FUpdateCount > 0 && !FMeasuringMode) return;
    if (OnAreaChanged) OnAreaChanged(this, BoundsRect(), AREAINFO_RECT);
    if (!FMeasuringMode) TCustomMap::Changed();
}

void TBitmap32::Changed(const TRect& Area, std::uint32_t Info) {
    if (FUpdateCount > 0 && !FMeasuringMode) return;
    if (OnAreaChanged) OnAreaChanged(this, Area, Info);
    if (!FMeasuringMode) TCustomMap::Changed();
}

void TBitmap32::BeginMeasuring(const TAreaChangedEvent& Callback) {
    FMeasuringMode = true;
    FOldOnAreaChanged = OnAreaChanged;
    OnAreaChanged = Callback;
}

void TBitmap32::EndMeasuring() {
    FMeasuringMode = false;
    OnAreaChanged = FOldOnAreaChanged;
}

void TBitmap32::Draw(int DstX, int DstY, TBitmap32* Src) {
    if (Src) Src->DrawTo(this, DstX, DstY);
}

void TBitmap32::Draw(int DstX, int DstY, const TRect& SrcRect, TBitmap32* Src) {
    if (Src) Src->DrawTo(this, DstX, DstY, SrcRect);
}

void TBitmap32::Draw(const TRect& DstRect, const TRect& SrcRect, TBitmap32* Src) {
    if (Src) Src->DrawTo(this, DstRect, SrcRect);
}

void TBitmap32::DrawTo(TBitmap32* Dst) {
    DrawTo(Dst, 0, 0);
}

void TBitmap32::DrawTo(TBitmap32* Dst, int DstX, int DstY) {
    BlockTransfer(Dst, DstX, DstY, Dst ? Dst->ClipRect() : TRect{}, this, BoundsRect(), FDrawMode,
                  OnPixelCombine);
}

void TBitmap32::DrawTo(TBitmap32* Dst, int DstX, int DstY, const TRect& SrcRect) {
    BlockTransfer(Dst, DstX, DstY, Dst ? Dst->ClipRect() : TRect{}, this, SrcRect, FDrawMode, OnPixelCombine);
}

void TBitmap32::DrawTo(TBitmap32* Dst, const TRect& DstRect) {
    StretchTransfer(Dst, DstRect, Dst ? Dst->ClipRect() : TRect{}, this, BoundsRect(), FResampler, FDrawMode,
                    OnPixelCombine);
}

void TBitmap32::DrawTo(TBitmap32* Dst, const TRect& DstRect, const TRect& SrcRect) {
    StretchTransfer(Dst, DstRect, Dst ? Dst->ClipRect() : TRect{}, this, SrcRect, FResampler, FDrawMode,
                    OnPixelCombine);
}

TColor32 TBitmap32::GetPixelR(float X, float Y) const {
    return FResampler->GetSampleFloat(X, Y);
}

} // namespace Bmp32
