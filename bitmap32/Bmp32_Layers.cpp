#include "bitmap32/Bmp32_Layers.h"

#include "bitmap32/Bmp32_Image.h"
#include "bitmap32/Bmp32_MicroTiles.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Forms.h"

#include <algorithm>
#include <cmath>

namespace Bmp32_Layers {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EListError(Format("List index out of bounds (%d)", Index));
}

TLayerState StateOf(TMouseButton Button) {
    switch (Button) {
    case mbRight:
        return lsMouseRight;
    case mbMiddle:
        return lsMouseMiddle;
    default:
        return lsMouseLeft;
    }
}

const TLayerStates kMouseStates{lsMouseLeft, lsMouseRight, lsMouseMiddle};

// How far a resampler reaches past the pixels it is asked for.
int KernelReach(TBitmap32* Bitmap) {
    TCustomResampler* resampler = Bitmap ? Bitmap->Resampler() : nullptr;
    return (resampler ? static_cast<int>(std::trunc(resampler->GetWidth())) : 0) + 1;
}

} // namespace

// ---- TLayerCollection ----

TLayerCollection::TLayerCollection(TPersistent* AOwner) : FOwner(AOwner) {}

TLayerCollection::~TLayerCollection() {
    // No change events from here on.
    FUpdateCount = 1;
    OnListNotify = nullptr;
    Clear();
}

TCustomLayer* TLayerCollection::Add(TLayerClass LayerClass) {
    // The layer's constructor joins this collection, which reports it added.
    return LayerClass(this);
}

TCustomLayer* TLayerCollection::Insert(int Index, TLayerClass LayerClass) {
    BeginUpdate();
    TCustomLayer* layer = nullptr;
    try {
        layer = Add(LayerClass);
        layer->SetIndex(Index);
        Notify(lnLayerInserted, layer, Index);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return layer;
}

void TLayerCollection::Delete(int Index) {
    delete Items(Index);
}

void TLayerCollection::Clear() {
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    Notify(lnCleared, nullptr, 0);
    EndUpdate();
}

TCustomLayer* TLayerCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

int TLayerCollection::IndexOf(const TCustomLayer* Layer) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Layer);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TLayerCollection::BeginUpdate() {
    if (FUpdateCount == 0) Changing();
    ++FUpdateCount;
}

void TLayerCollection::EndUpdate() {
    if (FUpdateCount <= 0) throw EAssertionFailed("Unpaired EndUpdate");
    --FUpdateCount;
    if (FUpdateCount == 0) Changed();
}

void TLayerCollection::Changed() {
    OnChange(this);
}

void TLayerCollection::Changing() {
    OnChanging(this);
}

void TLayerCollection::GDIUpdate() {
    if (FUpdateCount == 0) OnGDIUpdate(this);
}

void TLayerCollection::Notify(TLayerListNotification Action, TCustomLayer* Layer, int Index) {
    OnListNotify(this, Action, Layer, Index);
}

void TLayerCollection::InsertItem(TCustomLayer* Item) {
    BeginUpdate();
    FItems.push_back(Item);
    Item->FLayerCollection = this;
    Notify(lnLayerAdded, Item, Count() - 1);
    EndUpdate();
}

void TLayerCollection::RemoveItem(TCustomLayer* Item) {
    BeginUpdate();
    const int index = IndexOf(Item);
    if (index >= 0) {
        FItems.erase(FItems.begin() + index);
        Item->FLayerCollection = nullptr;
        Notify(lnLayerDeleted, Item, index);
    }
    EndUpdate();
}

TCustomLayer* TLayerCollection::FindLayerAtPos(int X, int Y, std::uint32_t OptionsMask) {
    for (int i = Count() - 1; i >= 0; --i) {
        TCustomLayer* layer = FItems[static_cast<std::size_t>(i)];
        if ((layer->LayerOptions() & OptionsMask) != 0 && layer->HitTest(X, Y)) return layer;
    }
    return nullptr;
}

void TLayerCollection::GetViewportScale(float& ScaleX, float& ScaleY) {
    if (OnGetViewportScale) {
        OnGetViewportScale(this, ScaleX, ScaleY);
        return;
    }
    ScaleX = 1;
    ScaleY = 1;
}

void TLayerCollection::GetViewportShift(float& ShiftX, float& ShiftY) {
    if (OnGetViewportShift) {
        OnGetViewportShift(this, ShiftX, ShiftY);
        return;
    }
    ShiftX = 0;
    ShiftY = 0;
}

TFloatPoint TLayerCollection::LocalToViewport(const TFloatPoint& APoint, bool AScaled) {
    if (!AScaled) return APoint;
    float sx, sy, tx, ty;
    GetViewportScale(sx, sy);
    GetViewportShift(tx, ty);
    return TFloatPoint{APoint.X * sx + tx, APoint.Y * sy + ty};
}

TFloatPoint TLayerCollection::ViewportToLocal(const TFloatPoint& APoint, bool AScaled) {
    if (!AScaled) return APoint;
    float sx, sy, tx, ty;
    GetViewportScale(sx, sy);
    GetViewportShift(tx, ty);
    return TFloatPoint{(APoint.X - tx) / sx, (APoint.Y - ty) / sy};
}

TCustomLayer* TLayerCollection::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (layer != FMouseListener && !(layer && (layer->LayerOptions() & LOB_NO_CAPTURE)))
        SetMouseListener(layer);
    if (FMouseListener) {
        FMouseListener->FLayerStates << StateOf(Button);
        FMouseListener->MouseDown(Button, Shift, X, Y);
    }
    return layer;
}

TCustomLayer* TLayerCollection::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (layer)
        layer->MouseMove(Shift, X, Y);
    else if (auto* control = dynamic_cast<TControl*>(FOwner))
        Screen->SetCursor(control->Cursor());
    return layer;
}

TCustomLayer* TLayerCollection::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (layer) {
        layer->FLayerStates >> StateOf(Button);
        layer->MouseUp(Button, Shift, X, Y);
    }
    if (FMouseListener && (FMouseListener->FLayerStates * kMouseStates).Empty()) SetMouseListener(nullptr);
    return layer;
}

void TLayerCollection::SetMouseEvents(bool Value) {
    FMouseEvents = Value;
    SetMouseListener(nullptr);
}

void TLayerCollection::SetMouseListener(TCustomLayer* Value) {
    if (Value == FMouseListener) return;
    if (FMouseListener) FMouseListener->FLayerStates = FMouseListener->FLayerStates - kMouseStates;
    FMouseListener = Value;
}

void TLayerCollection::DoUpdateArea(const TRect& Rect) {
    OnAreaUpdated(this, Rect, AREAINFO_RECT);
    Changed();
}

void TLayerCollection::DoUpdateLayer(TCustomLayer* Layer) {
    OnLayerUpdated(this, Layer);
    Changed();
}

void TLayerCollection::Assign(const TPersistent* Source) {
    auto* source = dynamic_cast<const TLayerCollection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
        for (TCustomLayer* layer : source->FItems)
            Add(layer->ClassType())->Assign(layer);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- TCustomLayer ----

TCustomLayer::TCustomLayer(TLayerCollection* ALayerCollection) {
    SetLayerCollection(ALayerCollection);
}

TCustomLayer::~TCustomLayer() {
    OnDestroy(this);
    if (FFreeNotifies) {
        // A notified layer may remove itself from the list, so the list is walked by index.
        for (int i = static_cast<int>(FFreeNotifies->size()) - 1; i >= 0; --i) {
            if (!FFreeNotifies || i >= static_cast<int>(FFreeNotifies->size())) continue;
            (*FFreeNotifies)[static_cast<std::size_t>(i)]->Notification(this);
        }
        FFreeNotifies.reset();
    }
    TCustomLayer::DoSetLayerCollection(nullptr);
}

void TCustomLayer::Changing() {
    if (FUpdateCount == 0 && Visible() && FLayerCollection && !(FLayerOptions & LOB_NO_UPDATE))
        FLayerCollection->Changing();
}

void TCustomLayer::Changed() {
    if (FUpdateCount == 0 && FLayerCollection && !(FLayerOptions & LOB_NO_UPDATE)) {
        Update();
        if (Visible())
            FLayerCollection->Changed();
        else if (FLayerOptions & LOB_GDI_OVERLAY)
            FLayerCollection->GDIUpdate();
    }
    TNotifiablePersistent::Changed();
}

void TCustomLayer::Changed(const TRect& Rect) {
    if (FUpdateCount == 0 && FLayerCollection && !(FLayerOptions & LOB_NO_UPDATE)) {
        Update(Rect);
        if (Visible())
            FLayerCollection->Changed();
        else if (FLayerOptions & LOB_GDI_OVERLAY)
            FLayerCollection->GDIUpdate();
    }
    TNotifiablePersistent::Changed();
}

void TCustomLayer::Update() {
    if (FLayerCollection && (FLayerOptions & (LOB_VISIBLE | LOB_FORCE_UPDATE)))
        FLayerCollection->DoUpdateLayer(this);
}

void TCustomLayer::Update(const TRect& Rect) {
    if (FLayerCollection) FLayerCollection->DoUpdateArea(Rect);
}

void TCustomLayer::BringToFront() {
    SetIndex(FLayerCollection ? FLayerCollection->Count() : 0);
}

void TCustomLayer::SendToBack() {
    SetIndex(0);
}

int TCustomLayer::Index() const {
    return FLayerCollection ? FLayerCollection->IndexOf(this) : -1;
}

void TCustomLayer::DoSetIndex(int Value) {
    if (!FLayerCollection) return;
    const int current = Index();
    if (Value == current) return;
    Value = std::clamp(Value, 0, FLayerCollection->Count() - 1);
    if (Value == current) return;
    const bool visible = Visible();
    if (visible) FLayerCollection->BeginUpdate();
    auto& items = FLayerCollection->FItems;
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
    if (visible) FLayerCollection->EndUpdate();
}

void TCustomLayer::SetVisible(bool Value) {
    if (Value) {
        SetLayerOptions(FLayerOptions | LOB_VISIBLE);
        return;
    }
    // The optimizer still hears of the change and repaints the area the layer leaves.
    SetForceUpdate(true);
    SetLayerOptions(FLayerOptions & ~LOB_VISIBLE);
    SetForceUpdate(false);
}

void TCustomLayer::SetMouseEvents(bool Value) {
    SetLayerOptions(Value ? FLayerOptions | LOB_MOUSE_EVENTS : FLayerOptions & ~LOB_MOUSE_EVENTS);
}

// The optimizer's own marks change no picture: no change reports.
void TCustomLayer::SetInvalid(bool Value) {
    FLayerOptions = Value ? FLayerOptions | LOB_INVALID : FLayerOptions & ~LOB_INVALID;
}

void TCustomLayer::SetForceUpdate(bool Value) {
    FLayerOptions = Value ? FLayerOptions | LOB_FORCE_UPDATE : FLayerOptions & ~LOB_FORCE_UPDATE;
}

void TCustomLayer::DoSetLayerOptions(std::uint32_t Value) {
    Changing();
    FLayerOptions = Value;
    Changed();
}

void TCustomLayer::DoSetLayerCollection(TLayerCollection* Value) {
    if (Value == FLayerCollection) return;
    if (FLayerCollection) {
        if (FLayerCollection->MouseListener() == this) FLayerCollection->SetMouseListener(nullptr);
        FLayerCollection->RemoveItem(this);
    }
    if (Value) Value->InsertItem(this);
}

void TCustomLayer::DoSetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    if (FLayerCollection && FLayerCollection->MouseListener() == this) Screen->SetCursor(Value);
}

bool TCustomLayer::DoHitTest(int, int) {
    return true;
}

bool TCustomLayer::HitTest(int X, int Y) {
    bool passed = DoHitTest(X, Y);
    OnHitTest(this, X, Y, passed);
    return passed;
}

void TCustomLayer::DoPaint(TBitmap32* Buffer) {
    Paint(Buffer);
    OnPaint(this, Buffer);
}

void TCustomLayer::PaintGDI(TCanvas*) {}

void TCustomLayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomLayer::MouseMove(TShiftState Shift, int X, int Y) {
    Screen->SetCursor(FCursor);
    OnMouseMove(this, Shift, X, Y);
}

void TCustomLayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Screen->SetCursor(crDefault);
    OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomLayer::SetAsMouseListener() {
    if (!FLayerCollection) return;
    FLayerCollection->SetMouseListener(this);
    Screen->SetCursor(FCursor);
}

void TCustomLayer::AddNotification(TCustomLayer* ALayer) {
    if (!ALayer) return;
    if (!FFreeNotifies) FFreeNotifies = std::make_unique<std::vector<TCustomLayer*>>();
    if (std::find(FFreeNotifies->begin(), FFreeNotifies->end(), ALayer) == FFreeNotifies->end())
        FFreeNotifies->push_back(ALayer);
}

void TCustomLayer::RemoveNotification(TCustomLayer* ALayer) {
    if (!FFreeNotifies) return;
    FFreeNotifies->erase(std::remove(FFreeNotifies->begin(), FFreeNotifies->end(), ALayer),
                         FFreeNotifies->end());
    if (FFreeNotifies->empty()) FFreeNotifies.reset();
}

void TCustomLayer::Notification(TCustomLayer*) {}

void TCustomLayer::AssignTo(TPersistent* Dest) const {
    auto* layer = dynamic_cast<TCustomLayer*>(Dest);
    if (!layer) {
        TNotifiablePersistent::AssignTo(Dest);
        return;
    }
    layer->FCursor = FCursor;
    layer->OnHitTest = OnHitTest;
    layer->OnMouseDown = OnMouseDown;
    layer->OnMouseMove = OnMouseMove;
    layer->OnMouseUp = OnMouseUp;
    layer->OnPaint = OnPaint;
    layer->SetLayerOptions(FLayerOptions & ~LOB_INVALID);
}

// ---- TPositionedLayer ----

TPositionedLayer::TPositionedLayer(TLayerCollection* ALayerCollection) : TCustomLayer(ALayerCollection) {
    FLayerOptions = LOB_VISIBLE | LOB_MOUSE_EVENTS;
}

TFloatRect TPositionedLayer::GetAdjustedRect(const TFloatRect& R) const {
    if (!FScaled || !LayerCollection()) return R;
    float sx, sy, tx, ty;
    LayerCollection()->GetViewportShift(tx, ty);
    LayerCollection()->GetViewportScale(sx, sy);
    return TFloatRect{R.Left * sx + tx, R.Top * sy + ty, R.Right * sx + tx, R.Bottom * sy + ty};
}

bool TPositionedLayer::DoHitTest(int X, int Y) {
    const TFloatRect a = GetAdjustedLocation();
    return a.Left <= X && X < a.Right && a.Top <= Y && Y < a.Bottom;
}

void TPositionedLayer::SetLocation(const TFloatRect& Value) {
    Changing();
    DoSetLocation(Value);
    Changed();
}

void TPositionedLayer::DoSetLocation(const TFloatRect& NewLocation) {
    FLocation = NewLocation;
}

void TPositionedLayer::SetScaled(bool Value) {
    if (Value == FScaled) return;
    Changing();
    FScaled = Value;
    Changed();
}

void TPositionedLayer::AssignTo(TPersistent* Dest) const {
    TCustomLayer::AssignTo(Dest);
    if (auto* layer = dynamic_cast<TPositionedLayer*>(Dest)) {
        layer->FLocation = FLocation;
        layer->FScaled = FScaled;
        layer->Changed();
    }
}

// ---- TBitmapLayer ----

TBitmapLayer::TBitmapLayer(TLayerCollection* ALayerCollection)
    : TPositionedLayer(ALayerCollection), FBitmap(std::make_unique<TBitmap32>()) {
    FBitmap->OnAreaChanged = TAreaChangedEvent(this, &TBitmapLayer::BitmapAreaChanged);
}

TBitmapLayer::~TBitmapLayer() {
    FBitmap->OnAreaChanged = nullptr;
}

void TBitmapLayer::SetBitmap(TBitmap32* Value) {
    FBitmap->Assign(Value);
}

void TBitmapLayer::SetCropped(bool Value) {
    if (Value == FCropped) return;
    FCropped = Value;
    Changed();
}

void TBitmapLayer::BitmapAreaChanged(TObject*, const TRect& Area, std::uint32_t) {
    if (FBitmap->Empty() || !LayerCollection() || (FLayerOptions & LOB_NO_UPDATE)) return;
    const TFloatRect t = GetAdjustedLocation();
    const double sx = (double(t.Right) - t.Left) / FBitmap->Width();
    const double sy = (double(t.Bottom) - t.Top) / FBitmap->Height();
    TRect r{FloorToInt(Area.Left * sx + t.Left), FloorToInt(Area.Top * sy + t.Top),
            CeilToInt(Area.Right * sx + t.Left), CeilToInt(Area.Bottom * sy + t.Top)};
    const int reach = KernelReach(FBitmap.get());
    InflateArea(r, reach, reach);
    Changed(r);
}

void TBitmapLayer::Paint(TBitmap32* Buffer) {
    if (FBitmap->Empty()) return;
    const TRect dst = MakeRect(GetAdjustedLocation());
    TRect clip = Buffer->ClipRect();
    TRect meet;
    if (!Bmp32::IntersectRect(meet, clip, dst) || IsRectEmpty(meet)) return;
    const TRect src{0, 0, FBitmap->Width(), FBitmap->Height()};
    if (FCropped && LayerCollection()) {
        auto* image = dynamic_cast<TCustomImage32*>(LayerCollection()->Owner());
        if (image && !image->PaintToMode()) {
            const TFloatRect a = GetAdjustedLocation();
            if (a.Right - a.Left < 0.5f || a.Bottom - a.Top < 0.5f) return;
            TRect cropped;
            Bmp32::IntersectRect(cropped, clip, image->GetBitmapRect());
            clip = cropped;
        }
    }
    StretchTransfer(Buffer, dst, clip, FBitmap.get(), src, FBitmap->Resampler(), FBitmap->DrawMode(),
                    FBitmap->OnPixelCombine);
}

bool TBitmapLayer::DoHitTest(int X, int Y) {
    if (!TPositionedLayer::DoHitTest(X, Y)) return false;
    if (!FAlphaHit) return true;
    const TFloatRect a = GetAdjustedLocation();
    const int w = RoundToInt(double(a.Right) - a.Left), h = RoundToInt(double(a.Bottom) - a.Top);
    if (w < 1 || h < 1 || FBitmap->Empty()) return false;
    // Rounding reaches one past the last pixel near the right and bottom edges: that is the last pixel.
    const int bx = std::min(RoundToInt((X - double(a.Left)) * FBitmap->Width() / w), FBitmap->Width() - 1);
    const int by = std::min(RoundToInt((Y - double(a.Top)) * FBitmap->Height() / h), FBitmap->Height() - 1);
    return (FBitmap->GetPixelS(bx, by) & 0xFF000000u) != 0;
}

void TBitmapLayer::AssignTo(TPersistent* Dest) const {
    TPositionedLayer::AssignTo(Dest);
    if (auto* layer = dynamic_cast<TBitmapLayer*>(Dest)) {
        layer->FBitmap->Assign(FBitmap.get());
        layer->FAlphaHit = FAlphaHit;
        layer->FCropped = FCropped;
    }
}

} // namespace Bmp32_Layers
