// TCustomPaintBox32 and TPaintBox32: the back buffer, its repaint and its copy to the control.
#include "bitmap32/Bmp32_Image.h"

#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"

#include <algorithm>

namespace Bmp32_Image {

namespace {

TCustomRepaintOptimizer* NewMicroTilesOptimizer(TBitmap32* Buffer, TRectList* InvalidRects) {
    return new TMicroTilesRepaintOptimizer(Buffer, InvalidRects);
}

// Holds a bitmap's lock for a scope.
class TBitmapLock {
public:
    explicit TBitmapLock(TBitmap32* Bitmap) : FBitmap(Bitmap) { FBitmap->Lock(); }
    ~TBitmapLock() { FBitmap->Unlock(); }
    TBitmapLock(const TBitmapLock&) = delete;
    TBitmapLock& operator=(const TBitmapLock&) = delete;

private:
    TBitmap32* FBitmap;
};

// Sets a flag for a scope and restores what it was.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

} // namespace

TCustomRepaintOptimizerClass DefaultRepaintOptimizerClass = &NewMicroTilesOptimizer;

TCustomPaintBox32::TCustomPaintBox32(TComponent* AOwner)
    : TCustomControl(AOwner), FBuffer(std::make_unique<TBitmap32>()),
      FInvalidRects(std::make_unique<TRectList>()) {
    FRepaintOptimizer.reset(DefaultRepaintOptimizerClass(FBuffer.get(), FInvalidRects.get()));
    // Every paint copies the buffer over the whole control: nothing under it shows through, and the
    // buffer's alpha is not a transparency.
    SetPaintSurface(TPaintSurface::OpaquePicture);
    SetBounds(Left(), Top(), 192, 192);
}

TCustomPaintBox32::~TCustomPaintBox32() {
    if (FBuffer) FBuffer->OnAreaChanged = nullptr;
    FRepaintOptimizer.reset();
}

void TCustomPaintBox32::SetBufferOversize(int Value) {
    FBufferOversize = std::max(Value, 0);
}

void TCustomPaintBox32::SetAutoSize(bool Value) {
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    if (Value) SetBounds(Left(), Top(), Width(), Height());
}

bool TCustomPaintBox32::CanAutoSize(int&, int&) {
    return true;
}

TRect TCustomPaintBox32::GetViewportRect() {
    return TRect{0, 0, Width(), Height()};
}

void TCustomPaintBox32::ResizeBuffer() {
    const TRect viewport = GetViewportRect();
    const int newWidth = std::max(viewport.Right - viewport.Left, 0);
    const int newHeight = std::max(viewport.Bottom - viewport.Top, 0);
    const auto grow = [this](int current, int wanted) {
        int size = current;
        if (wanted > size)
            size = wanted + FBufferOversize;
        else if (size - FBufferOversize > wanted)
            size = wanted;
        return std::max(size, 1);
    };
    const int w = grow(FBuffer->Width(), newWidth);
    const int h = grow(FBuffer->Height(), newHeight);
    if (w == FBuffer->Width() && h == FBuffer->Height()) return;
    const int oldWidth = FBuffer->Width(), oldHeight = FBuffer->Height();
    {
        TBitmapLock lock(FBuffer.get());
        FBuffer->SetSize(w, h);
    }
    DoBufferResized(oldWidth, oldHeight);
    ForceFullInvalidate();
}

void TCustomPaintBox32::DoBufferResized(int, int) {
    if (FRepaintOptimizer->Enabled())
        FRepaintOptimizer->BufferResizedHandler(FBuffer->Width(), FBuffer->Height());
}

void TCustomPaintBox32::ForceFullInvalidate() {
    if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->Reset();
    FForceFullRepaint = true;
    Invalidate();
}

void TCustomPaintBox32::Invalidate() {
    FBufferValid = false;
    Perform(CM_INVALIDATE, 0, 0);
}

void TCustomPaintBox32::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FAutoSize && !ComponentState().Contains(csLoading)) CanAutoSize(AWidth, AHeight);
    if (InDesignMode()) ResizeBuffer();
    FBufferValid = false;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomPaintBox32::Resize() {
    ResizeBuffer();
    FBufferValid = false;
    TCustomControl::Resize();
}

void TCustomPaintBox32::Loaded() {
    FBufferValid = false;
    TCustomControl::Loaded();
}

bool TCustomPaintBox32::CustomRepaint() {
    return FRepaintOptimizer->Enabled() && !FForceFullRepaint && FRepaintOptimizer->UpdatesAvailable();
}

bool TCustomPaintBox32::InvalidRectsAvailable() {
    return true;
}

void TCustomPaintBox32::DoPrepareInvalidRects() {
    if (FRepaintOptimizer->Enabled() && !FForceFullRepaint) FRepaintOptimizer->PerformOptimization();
}

void TCustomPaintBox32::DoPaintBuffer() {
    if (FForceFullRepaint) {
        FForceFullRepaint = false;
        FInvalidRects->Clear();
    } else {
        DoPrepareInvalidRects();
    }
    FBufferValid = true;
}

void TCustomPaintBox32::DoPaintGDIOverlay() {
    OnGDIOverlay(this);
}

void TCustomPaintBox32::Paint() {
    TFlagScope customPaint(FCustomPaint);
    const bool optimizing = FRepaintOptimizer->Enabled();
    if (optimizing) FRepaintOptimizer->BeginPaint();
    if (!FBufferValid) DoPaintBuffer();
    {
        TBitmapLock lock(FBuffer.get());
        ::HDC target = Canvas()->Handle();
        ::HDC source = FBuffer->Handle();
        if (target && source) {
            if (FInvalidRects->Count() == 0) {
                const TRect r = GetViewportRect();
                BitBlt(target, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, source, r.Left, r.Top,
                       SRCCOPY);
            } else {
                for (int i = 0; i < FInvalidRects->Count(); ++i) {
                    const TRect& r = *FInvalidRects->Items(i);
                    BitBlt(target, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, source, r.Left, r.Top,
                           SRCCOPY);
                }
            }
        }
    }
    DoPaintGDIOverlay();
    if (optimizing) FRepaintOptimizer->EndPaint();
    FInvalidRects->Clear();
    FForceFullRepaint = false;
}

void TCustomPaintBox32::Flush() {
    ::HDC target = Canvas()->Handle();
    if (!target || !FBuffer->Handle()) return;
    Canvas()->Lock();
    {
        TBitmapLock lock(FBuffer.get());
        const TRect r = GetViewportRect();
        BitBlt(target, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, FBuffer->Handle(), 0, 0, SRCCOPY);
    }
    Canvas()->Unlock();
}

void TCustomPaintBox32::Flush(const TRect& SrcRect) {
    ::HDC target = Canvas()->Handle();
    if (!target || !FBuffer->Handle()) return;
    Canvas()->Lock();
    {
        TBitmapLock lock(FBuffer.get());
        const TRect r = GetViewportRect();
        BitBlt(target, SrcRect.Left + r.Left, SrcRect.Top + r.Top, SrcRect.Right - SrcRect.Left,
               SrcRect.Bottom - SrcRect.Top, FBuffer->Handle(), SrcRect.Left, SrcRect.Top, SRCCOPY);
    }
    Canvas()->Unlock();
}

void TCustomPaintBox32::DirectAreaUpdateHandler(TObject*, const TRect& Area, std::uint32_t) {
    FInvalidRects->Add(Area);
    if (!FCustomPaint) Repaint();
}

void TCustomPaintBox32::DoSetRepaintMode(TRepaintMode Value) {
    if (!FRepaintOptimizer) return;
    const bool image = dynamic_cast<TCustomImage32*>(this) != nullptr;
    if (Value == rmOptimizer && !image)
        FBuffer->OnAreaChanged =
            TAreaChangedEvent(FRepaintOptimizer.get(), &TCustomRepaintOptimizer::AreaUpdateHandler);
    else if (Value == rmDirect)
        FBuffer->OnAreaChanged = TAreaChangedEvent(this, &TCustomPaintBox32::DirectAreaUpdateHandler);
    else
        FBuffer->OnAreaChanged = nullptr;
    FRepaintOptimizer->SetEnabled(Value == rmOptimizer);
    FRepaintMode = Value;
    Invalidate();
}

void TCustomPaintBox32::MouseEnter() {
    FMouseInControl = true;
    TControl::OnMouseEnter(this);
}

void TCustomPaintBox32::MouseLeave() {
    FMouseInControl = false;
    TControl::OnMouseLeave(this);
}

void TCustomPaintBox32::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FOptions.Contains(pboAutoFocus) && CanFocus()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomPaintBox32::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT: {
        TFlagScope customPaint(FCustomPaint);
        // Rectangles to repaint: only those are painted and copied; the rest of the picture stands.
        if (CustomRepaint() && InvalidRectsAvailable()) {
            Paint();
            Message.Result = 0;
            return;
        }
        TCustomControl::Dispatch(Message);
        return;
    }
    case WM_ERASEBKGND:
        // The buffer covers the whole control; erasing would only flicker.
        Message.Result = 1;
        return;
    case WM_GETDLGCODE:
        TCustomControl::Dispatch(Message);
        if (FOptions.Contains(pboWantArrowKeys)) Message.Result |= DLGC_WANTARROWS;
        return;
    case CM_INVALIDATE:
        // With rectangles to repaint, a paint message of our own paints just those; invalidating the
        // window would repaint all of it.
        if (CustomRepaint() && Showing()) {
            MSG pending;
            if (!PeekMessage(&pending, Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE))
                PostMessage(Handle(), WM_PAINT, 0, 0);
        } else {
            TCustomControl::Invalidate();
        }
        Message.Result = 0;
        return;
    case CM_MOUSEENTER:
        if (Message.LParam == 0) MouseEnter();
        return;
    case CM_MOUSELEAVE:
        if (Message.LParam == 0) MouseLeave();
        return;
    default:
        TCustomControl::Dispatch(Message);
        return;
    }
}

bool TCustomPaintBox32::ReadProperty(TPropertyReader& Reader) {
    if (Reader.Is("RepaintMode")) {
        SetRepaintMode(Reader.Enum<TRepaintMode>(
            {{"rmFull", rmFull}, {"rmDirect", rmDirect}, {"rmOptimizer", rmOptimizer}}));
    } else if (Reader.Is("Options")) {
        SetOptions(Reader.EnumSet<TPaintBoxOption>(
            {{"pboWantArrowKeys", pboWantArrowKeys}, {"pboAutoFocus", pboAutoFocus}}));
    } else if (Reader.Is("AutoSize")) {
        SetAutoSize(Reader.Boolean());
    } else if (Reader.Is("OnGDIOverlay")) {
        OnGDIOverlay = Reader.Event<TNotifyEvent>();
    } else {
        return TCustomControl::ReadProperty(Reader);
    }
    return true;
}

// ---- TPaintBox32 ----

void TPaintBox32::DoPaintBuffer() {
    OnPaintBuffer(this);
    TCustomPaintBox32::DoPaintBuffer();
}

bool TPaintBox32::ReadProperty(TPropertyReader& Reader) {
    if (Reader.Is("OnPaintBuffer")) {
        OnPaintBuffer = Reader.Event<TNotifyEvent>();
        return true;
    }
    return TCustomPaintBox32::ReadProperty(Reader);
}

} // namespace Bmp32_Image
