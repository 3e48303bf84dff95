// TCustomImage32: the bitmap, its placement and scale, the cached transform between control and
// bitmap coordinates, change handling by repaint mode, mouse routing through the layers, and the
// image's properties in form definitions.
#include "bitmap32/Bmp32_Image.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace Bmp32_Image {

namespace {
// Whichever image control a program holds, the form reader knows them all.
const bool registered = (RegisterImageControls(), true);

// A * B / C with a 64-bit product; truncated toward zero like the 32-bit original, without its overflow.
int MulDivTrunc(int A, int B, int C) {
    return static_cast<int>(static_cast<std::int64_t>(A) * B / C);
}
} // namespace

void RegisterImageControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterComponentClass<TPaintBox32>("TPaintBox32");
        RegisterComponentClass<TImage32>("TImage32");
        RegisterComponentClass<TBitmap32List>("TBitmap32List");
    });
}

TCustomImage32::TCustomImage32(TComponent* AOwner) : TCustomPaintBox32(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                                  csReplicatable});
    FBitmap = std::make_unique<TBitmap32>();
    FBitmap->OnResize = TNotifyEvent(this, &TCustomImage32::BitmapResizeHandler);
    FLayers = std::make_unique<TLayerCollection>(this);
    FLayers->OnChange = TNotifyEvent(this, &TCustomImage32::LayerCollectionChangeHandler);
    FLayers->OnGDIUpdate = TNotifyEvent(this, &TCustomImage32::LayerCollectionGDIUpdateHandler);
    FLayers->OnGetViewportScale =
        TGetScaleEvent(this, &TCustomImage32::LayerCollectionGetViewportScaleHandler);
    FLayers->OnGetViewportShift =
        TGetShiftEvent(this, &TCustomImage32::LayerCollectionGetViewportShiftHandler);
    FRepaintOptimizer->RegisterLayerCollection(FLayers.get());
    SetRepaintMode(rmFull);
    FPaintStages = std::make_unique<TPaintStages>();
    FScaleX = 1.0f;
    FScaleY = 1.0f;
    InitDefaultStages();
}

TCustomImage32::~TCustomImage32() {
    BeginUpdate();
    FPaintStages.reset();
    FRepaintOptimizer->UnregisterLayerCollection(FLayers.get());
    FLayers.reset();
    FBitmap->OnResize = nullptr;
    FBitmap->OnChange = nullptr;
    FBitmap->OnAreaChanged = nullptr;
    FBitmap.reset();
}

// ---- updates ----

void TCustomImage32::BeginUpdate() {
    ++FUpdateCount;
}

void TCustomImage32::EndUpdate() {
    if (FUpdateCount <= 0) throw EAssertionFailed("Unpaired EndUpdate call");
    --FUpdateCount;
}

void TCustomImage32::Changed() {
    if (FUpdateCount != 0) return;
    Invalidate();
    OnChange(this);
}

void TCustomImage32::BitmapChanged(const TRect&) {
    Changed();
}

void TCustomImage32::Invalidate() {
    FBufferValid = false;
    FCacheValid = false;
    TCustomPaintBox32::Invalidate();
}

void TCustomImage32::InvalidateCache() {
    if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->Reset();
    FCacheValid = false;
}

void TCustomImage32::Loaded() {
    TCustomPaintBox32::Loaded();
    DoInitStages();
}

void TCustomImage32::DoInitStages() {
    OnInitStages(this);
}

void TCustomImage32::DoScaleChange() {
    OnScaleChange(this);
}

void TCustomImage32::Resize() {
    InvalidateCache();
    TCustomPaintBox32::Resize();
}

// ---- properties ----

void TCustomImage32::SetBitmap(TBitmap32* Value) {
    InvalidateCache();
    FBitmap->Assign(Value);
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign Value) {
    if (Value == FBitmapAlign) return;
    InvalidateCache();
    FBitmapAlign = Value;
    Changed();
}

void TCustomImage32::SetLayers(TLayerCollection* Value) {
    if (Value) FLayers->Assign(Value);
}

void TCustomImage32::SetOffsetHorz(float Value) {
    if (Value == FOffsetHorz) return;
    InvalidateCache();
    FOffsetHorz = Value;
    Changed();
}

void TCustomImage32::SetOffsetVert(float Value) {
    if (Value == FOffsetVert) return;
    InvalidateCache();
    FOffsetVert = Value;
    Changed();
}

void TCustomImage32::SetScale(float Value) {
    if (!(Value >= 0.001f)) Value = 0.001f;
    if (Value == FScaleX && Value == FScaleY) return;
    InvalidateCache();
    FScaleX = Value;
    FScaleY = Value;
    ApplyAutoSize();
    Changed();
    DoScaleChange();
}

void TCustomImage32::SetScaleX(float Value) {
    if (!(Value >= 0.001f)) Value = 0.001f;
    if (Value == FScaleX) return;
    InvalidateCache();
    FScaleX = Value;
    ApplyAutoSize();
    Changed();
    DoScaleChange();
}

void TCustomImage32::SetScaleY(float Value) {
    if (!(Value >= 0.001f)) Value = 0.001f;
    if (Value == FScaleY) return;
    InvalidateCache();
    FScaleY = Value;
    ApplyAutoSize();
    Changed();
    DoScaleChange();
}

void TCustomImage32::DoSetScaleMode(TScaleMode Value) {
    if (Value == FScaleMode) return;
    InvalidateCache();
    FScaleMode = Value;
    ApplyAutoSize();
    Changed();
}

void TCustomImage32::SetOnPixelCombine(const TPixelCombineEvent& Value) {
    FBitmap->OnPixelCombine = Value;
    Changed();
}

void TCustomImage32::ApplyAutoSize() {
    if (!FAutoSize) return;
    int w = FBitmap->Width(), h = FBitmap->Height();
    if (FScaleMode == smScale) {
        w = RoundToInt(w * double(FScaleX));
        h = RoundToInt(h * double(FScaleY));
    }
    if (w >= 1 && h >= 1) SetBounds(Left(), Top(), w, h);
}

void TCustomImage32::BitmapResizeHandler(TObject*) {
    BitmapResized();
}

void TCustomImage32::BitmapResized() {
    ApplyAutoSize();
    if (FUpdateCount == 0) OnBitmapResize(this);
    InvalidateCache();
    ForceFullInvalidate();
}

bool TCustomImage32::CanAutoSize(int& NewWidth, int& NewHeight) {
    InvalidateCache();
    int w = FBitmap->Width(), h = FBitmap->Height();
    if (FScaleMode == smScale) {
        w = RoundToInt(w * double(FScaleX));
        h = RoundToInt(h * double(FScaleY));
    }
    if (InDesignMode() && (w < 1 || h < 1)) return true;
    switch (Align()) {
    case alNone:
        NewWidth = w;
        NewHeight = h;
        break;
    case alTop:
    case alBottom:
        NewHeight = h;
        break;
    case alLeft:
    case alRight:
        NewWidth = w;
        break;
    default:
        break;
    }
    return true;
}

// ---- geometry ----

TSize TCustomImage32::GetBitmapSize() {
    if (FBitmap->Empty() || Width() == 0 || Height() == 0) return TSize{};
    const TRect viewport = GetViewportRect();
    const int vw = viewport.Right - viewport.Left, vh = viewport.Bottom - viewport.Top;
    const int bw = FBitmap->Width(), bh = FBitmap->Height();
    TScaleMode mode = FScaleMode;
    if (mode == smOptimal)
        mode = bw <= vw && bh <= vh ? smNormal : smResize;
    else if (mode == smOptimalScaled)
        mode = RoundToInt(bw * double(FScaleX)) <= vw && RoundToInt(bh * double(FScaleY)) <= vh ? smScale
                                                                                                : smResize;
    TSize size;
    switch (mode) {
    case smNormal:
        size = TSize{bw, bh};
        break;
    case smStretch:
        size = TSize{vw, vh};
        break;
    case smScale:
        size = TSize{RoundToInt(bw * double(FScaleX)), RoundToInt(bh * double(FScaleY))};
        break;
    default: {
        const double fx = double(vw) / bw, fy = double(vh) / bh;
        size = fx >= fy ? TSize{RoundToInt(bw * fy), vh} : TSize{vw, RoundToInt(bh * fx)};
        break;
    }
    }
    if (size.cx < 1) size.cx = 0;
    if (size.cy < 1) size.cy = 0;
    return size;
}

TRect TCustomImage32::GetBitmapRect() {
    if (FBitmap->Empty()) return TRect{};
    const TSize size = GetBitmapSize();
    TRect r{0, 0, size.cx, size.cy};
    switch (FBitmapAlign) {
    case baCenter:
        OffsetRect(r, (Width() - size.cx) / 2, (Height() - size.cy) / 2);
        break;
    case baCustom:
        OffsetRect(r, RoundToInt(FOffsetHorz), RoundToInt(FOffsetVert));
        break;
    default:
        break;
    }
    return r;
}

void TCustomImage32::UpdateCache() {
    if (FCacheValid) return;
    FCachedBitmapRect = GetBitmapRect();
    const TRect& r = FCachedBitmapRect;
    if (FBitmap->Empty()) {
        FCachedXForm = TXForm{};
    } else {
        FCachedXForm.ShiftX = r.Left;
        FCachedXForm.ShiftY = r.Top;
        FCachedXForm.ScaleX = MulDiv(r.Right - r.Left, 0x10000, FBitmap->Width());
        FCachedXForm.ScaleY = MulDiv(r.Bottom - r.Top, 0x10000, FBitmap->Height());
        FCachedXForm.RevScaleX = MulDiv(FBitmap->Width(), 0x10000, r.Right - r.Left);
        FCachedXForm.RevScaleY = MulDiv(FBitmap->Height(), 0x10000, r.Bottom - r.Top);
    }
    FCacheValid = true;
}

TPoint TCustomImage32::BitmapToControl(const TPoint& APoint) {
    UpdateCache();
    return TPoint{MulDivTrunc(APoint.X, FCachedXForm.ScaleX, 0x10000) + FCachedXForm.ShiftX,
                  MulDivTrunc(APoint.Y, FCachedXForm.ScaleY, 0x10000) + FCachedXForm.ShiftY};
}

TPoint TCustomImage32::ControlToBitmap(const TPoint& APoint) {
    UpdateCache();
    return TPoint{MulDivTrunc(APoint.X - FCachedXForm.ShiftX, FCachedXForm.RevScaleX, 0x10000),
                  MulDivTrunc(APoint.Y - FCachedXForm.ShiftY, FCachedXForm.RevScaleY, 0x10000)};
}

void TCustomImage32::SetupBitmap(bool DoClear, TColor32 ClearColor) {
    FBitmap->BeginUpdate();
    const TRect viewport = GetViewportRect();
    FBitmap->SetSize(viewport.Right - viewport.Left, viewport.Bottom - viewport.Top);
    if (DoClear) FBitmap->Clear(ClearColor);
    FBitmap->EndUpdate();
    InvalidateCache();
    Changed();
}

// ---- change handlers by repaint mode ----

void TCustomImage32::DoSetRepaintMode(TRepaintMode Value) {
    TCustomPaintBox32::DoSetRepaintMode(Value);
    switch (Value) {
    case rmDirect:
        FBitmap->OnAreaChanged = TAreaChangedEvent(this, &TCustomImage32::BitmapDirectAreaChangeHandler);
        FBitmap->OnChange = nullptr;
        break;
    case rmOptimizer:
        FBitmap->OnAreaChanged = TAreaChangedEvent(this, &TCustomImage32::BitmapAreaChangeHandler);
        FBitmap->OnChange = nullptr;
        break;
    default:
        FBitmap->OnAreaChanged = nullptr;
        FBitmap->OnChange = TNotifyEvent(this, &TCustomImage32::BitmapFullChangeHandler);
        break;
    }
}

void TCustomImage32::BitmapFullChangeHandler(TObject*) {
    // A disabled optimizer keeps no areas to reset.
    if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->Reset();
    BitmapChanged(FBitmap->BoundsRect());
}

std::vector<TRect> TCustomImage32::MapBitmapArea(const TRect& Area) {
    TCustomResampler* resampler = FBitmap->Resampler();
    const int reach = (resampler ? static_cast<int>(std::trunc(resampler->GetWidth())) : 0) + 1;
    TRect t = Area;
    InflateArea(t, reach, reach);
    const TPoint topLeft = BitmapToControl(TPoint{t.Left, t.Top});
    const TPoint bottomRight = BitmapToControl(TPoint{t.Right, t.Bottom});
    t = TRect{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
    std::vector<TRect> rects;
    const TRect& cached = FCachedBitmapRect;
    if (FBitmapAlign == baTile && cached.Right > 0 && cached.Bottom > 0 && !IsRectEmpty(cached)) {
        const int tilesX = FBuffer->Width() / cached.Right, tilesY = FBuffer->Height() / cached.Bottom;
        for (int j = 0; j <= tilesY; ++j)
            for (int i = 0; i <= tilesX; ++i) {
                TRect copy = t;
                OffsetRect(copy, cached.Right * i, cached.Bottom * j);
                rects.push_back(copy);
            }
    } else {
        rects.push_back(t);
    }
    return rects;
}

void TCustomImage32::BitmapAreaChangeHandler(TObject* Sender, const TRect& Area, std::uint32_t) {
    if (Sender != FBitmap.get()) return;
    for (const TRect& r : MapBitmapArea(Area))
        FRepaintOptimizer->AreaUpdateHandler(this, r, AREAINFO_RECT);
    BitmapChanged(Area);
}

void TCustomImage32::BitmapDirectAreaChangeHandler(TObject* Sender, const TRect& Area, std::uint32_t) {
    if (Sender != FBitmap.get()) return;
    for (const TRect& r : MapBitmapArea(Area))
        FInvalidRects->Add(r);
    if (FUpdateCount != 0) return;
    if (!FCustomPaint) Repaint();
    OnChange(this);
}

// ---- the layer collection's notifications ----

void TCustomImage32::LayerCollectionChangeHandler(TObject*) {
    Changed();
}

void TCustomImage32::LayerCollectionGDIUpdateHandler(TObject*) {
    Paint();
}

void TCustomImage32::LayerCollectionGetViewportScaleHandler(TObject*, float& ScaleX, float& ScaleY) {
    UpdateCache();
    ScaleX = FCachedXForm.ScaleX / 65536.0f;
    ScaleY = FCachedXForm.ScaleY / 65536.0f;
}

void TCustomImage32::LayerCollectionGetViewportShiftHandler(TObject*, float& ShiftX, float& ShiftY) {
    UpdateCache();
    ShiftX = static_cast<float>(FCachedXForm.ShiftX);
    ShiftY = static_cast<float>(FCachedXForm.ShiftY);
}

// ---- mouse ----

void TCustomImage32::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPaintBox32::MouseDown(Button, Shift, X, Y);
    if (TabStop() && CanFocus()) SetFocus();
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseDown(Button, Shift, X, Y) : nullptr;
    if (Button == mbLeft || FLayers->MouseListener()) SetMouseCapture(true);
    MouseDown(Button, Shift, X, Y, layer);
}

void TCustomImage32::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomPaintBox32::MouseMove(Shift, X, Y);
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseMove(Shift, X, Y) : nullptr;
    MouseMove(Shift, X, Y, layer);
}

void TCustomImage32::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseUp(Button, Shift, X, Y) : nullptr;
    if (Button == mbLeft && !FLayers->MouseListener()) SetMouseCapture(false);
    MouseUp(Button, Shift, X, Y, layer);
}

void TCustomImage32::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TCustomLayer* Layer) {
    OnMouseDown(this, Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseMove(TShiftState Shift, int X, int Y, TCustomLayer* Layer) {
    OnMouseMove(this, Shift, X, Y, Layer);
}

void TCustomImage32::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y, TCustomLayer* Layer) {
    OnMouseUp(this, Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseLeave() {
    if (FLayers->MouseEvents() && !FLayers->MouseListener()) Screen->SetCursor(crDefault);
    TCustomPaintBox32::MouseLeave();
}

// ---- form definitions ----

bool TCustomImage32::ReadProperty(TPropertyReader& Reader) {
    std::string sub;
    if (Reader.HasPrefix("Bitmap.", &sub)) {
        // The stored picture may also come from a picture file under the resource root.
        if (SameText(sub, "FileName")) {
            const std::string file = Reader.FileName();
            try {
                if (file.empty())
                    FBitmap->Delete();
                else
                    FBitmap->LoadFromFile(file);
            } catch (const Exception& e) {
                Reader.Fail(e.Message);
            }
            return true;
        }
        if (FBitmap->ReadProperty(Reader, sub)) return true;
        Reader.Fail("unknown bitmap property '" + sub + "'");
    }
    if (Reader.Is("BitmapAlign")) {
        SetBitmapAlign(Reader.Enum<TBitmapAlign>(
            {{"baTopLeft", baTopLeft}, {"baCenter", baCenter}, {"baTile", baTile}, {"baCustom", baCustom}}));
    } else if (Reader.Is("Scale")) {
        SetScale(static_cast<float>(Reader.Float()));
    } else if (Reader.Is("ScaleMode")) {
        SetScaleMode(Reader.Enum<TScaleMode>({{"smNormal", smNormal},
                                              {"smStretch", smStretch},
                                              {"smScale", smScale},
                                              {"smResize", smResize},
                                              {"smOptimal", smOptimal},
                                              {"smOptimalScaled", smOptimalScaled}}));
    } else if (Reader.Is("OnBitmapResize")) {
        OnBitmapResize = Reader.Event<TNotifyEvent>();
    } else if (Reader.Is("OnChange")) {
        OnChange = Reader.Event<TNotifyEvent>();
    } else if (Reader.Is("OnInitStages")) {
        OnInitStages = Reader.Event<TNotifyEvent>();
    } else if (Reader.Is("OnMouseDown")) {
        OnMouseDown = Reader.Event<TImgMouseEvent>();
    } else if (Reader.Is("OnMouseMove")) {
        OnMouseMove = Reader.Event<TImgMouseMoveEvent>();
    } else if (Reader.Is("OnMouseUp")) {
        OnMouseUp = Reader.Event<TImgMouseEvent>();
    } else if (Reader.Is("OnPaintStage")) {
        OnPaintStage = Reader.Event<TPaintStageEvent>();
    } else if (Reader.Is("OnScaleChange")) {
        OnScaleChange = Reader.Event<TNotifyEvent>();
    } else {
        return TCustomPaintBox32::ReadProperty(Reader);
    }
    return true;
}

} // namespace Bmp32_Image
