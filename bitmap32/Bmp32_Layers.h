// Layers: independent objects an image control draws over its bitmap, in collection order (the last
// one on top), with hit tests, mouse routing and change reports for the repaint optimizer.
#pragma once

#include "bitmap32/Bmp32.h"
#include "platform/vcl/Controls.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Bmp32_Layers {

// Bits of a layer's option word; the low bits are free for users.
inline constexpr std::uint32_t LOB_VISIBLE = 0x80000000u;
inline constexpr std::uint32_t LOB_GDI_OVERLAY = 0x40000000u;
inline constexpr std::uint32_t LOB_MOUSE_EVENTS = 0x20000000u;
inline constexpr std::uint32_t LOB_NO_UPDATE = 0x10000000u;
inline constexpr std::uint32_t LOB_NO_CAPTURE = 0x08000000u;
inline constexpr std::uint32_t LOB_INVALID = 0x04000000u;
inline constexpr std::uint32_t LOB_FORCE_UPDATE = 0x02000000u;
inline constexpr std::uint32_t LOB_RESERVED_24 = 0x01000000u;
inline constexpr std::uint32_t LOB_RESERVED_MASK = 0xFF000000u;

enum TLayerListNotification { lnLayerAdded, lnLayerInserted, lnLayerDeleted, lnCleared };
enum TLayerState { lsMouseLeft, lsMouseRight, lsMouseMiddle };
using TLayerStates = TSet<TLayerState>;
enum TDragState {
    dsNone,
    dsMove,
    dsSizeL,
    dsSizeT,
    dsSizeR,
    dsSizeB,
    dsSizeTL,
    dsSizeTR,
    dsSizeBL,
    dsSizeBR
};
enum TRBHandle {
    rhCenter,
    rhSides,
    rhCorners,
    rhFrame,
    rhNotLeftSide,
    rhNotRightSide,
    rhNotTopSide,
    rhNotBottomSide,
    rhNotTLCorner,
    rhNotTRCorner,
    rhNotBLCorner,
    rhNotBRCorner
};
using TRBHandles = TSet<TRBHandle>;

class TCustomLayer;
class TLayerCollection;

// A layer class: makes a layer of that class in a collection (which it joins).
using TLayerClass = TCustomLayer* (*)(TLayerCollection* LayerCollection);
template <class T>
TLayerClass LayerClassOf() {
    return [](TLayerCollection* LayerCollection) -> TCustomLayer* { return new T(LayerCollection); };
}

using TLayerUpdateEvent = TEvent<TObject*, TCustomLayer*>;
using TLayerListNotifyEvent = TEvent<TLayerCollection*, TLayerListNotification, TCustomLayer*, int>;
using TGetScaleEvent = TEvent<TObject*, float&, float&>;
using TGetShiftEvent = TEvent<TObject*, float&, float&>;
using TPaintLayerEvent = TEvent<TObject*, TBitmap32*>;
using THitTestEvent = TEvent<TObject*, int, int, bool&>;
using TRBResizingEvent = TEvent<TObject*, const TFloatRect&, TFloatRect&, TDragState, TShiftState>;

class TLayerCollection : public TPersistent {
public:
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    TNotifyEvent OnGDIUpdate;
    TLayerListNotifyEvent OnListNotify;
    TLayerUpdateEvent OnLayerUpdated;
    TAreaChangedEvent OnAreaUpdated;
    TGetScaleEvent OnGetViewportScale;
    TGetShiftEvent OnGetViewportShift;

    explicit TLayerCollection(TPersistent* AOwner);
    ~TLayerCollection() override;
    TLayerCollection(const TLayerCollection&) = delete;
    TLayerCollection& operator=(const TLayerCollection&) = delete;

    TCustomLayer* Add(TLayerClass LayerClass);
    template <class T>
    T* Add() {
        return static_cast<T*>(Add(LayerClassOf<T>()));
    }
    TCustomLayer* Insert(int Index, TLayerClass LayerClass);
    // Frees the layer; raises EListError outside 0..Count-1.
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0..Count-1.
    TCustomLayer* Items(int Index) const;
    int IndexOf(const TCustomLayer* Layer) const;
    TPersistent* Owner() const { return FOwner; }

    void BeginUpdate();
    // Raises EAssertionFailed "Unpaired EndUpdate" below zero.
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void Changed();
    void Changing();
    void GDIUpdate();

    // The topmost layer whose options share a bit with OptionsMask and whose hit test passes.
    TCustomLayer* FindLayerAtPos(int X, int Y, std::uint32_t OptionsMask);
    TFloatPoint LocalToViewport(const TFloatPoint& APoint, bool AScaled);
    TFloatPoint ViewportToLocal(const TFloatPoint& APoint, bool AScaled);
    virtual void GetViewportScale(float& ScaleX, float& ScaleY);
    virtual void GetViewportShift(float& ShiftX, float& ShiftY);

    // X, Y in control coordinates; the answer is the layer the event went to.
    TCustomLayer* MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    TCustomLayer* MouseMove(TShiftState Shift, int X, int Y);
    TCustomLayer* MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    bool MouseEvents() const { return FMouseEvents; }
    void SetMouseEvents(bool Value);
    TCustomLayer* MouseListener() const { return FMouseListener; }
    void SetMouseListener(TCustomLayer* Value);

    void DoUpdateArea(const TRect& Rect);
    void DoUpdateLayer(TCustomLayer* Layer);

    void Assign(const TPersistent* Source) override;

private:
    friend class TCustomLayer;
    void InsertItem(TCustomLayer* Item);
    void RemoveItem(TCustomLayer* Item);
    void Notify(TLayerListNotification Action, TCustomLayer* Layer, int Index);

    std::vector<TCustomLayer*> FItems;
    bool FMouseEvents = true;
    TCustomLayer* FMouseListener = nullptr;
    int FUpdateCount = 0;
    TPersistent* FOwner;
};

class TCustomLayer : public TNotifiablePersistent {
public:
    THitTestEvent OnHitTest;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TPaintLayerEvent OnPaint;
    TNotifyEvent OnDestroy;

    explicit TCustomLayer(TLayerCollection* ALayerCollection);
    ~TCustomLayer() override;
    TCustomLayer(const TCustomLayer&) = delete;
    TCustomLayer& operator=(const TCustomLayer&) = delete;

    // The class of this layer, to make another like it.
    virtual TLayerClass ClassType() const { return LayerClassOf<TCustomLayer>(); }

    void Changed() override;
    void Changed(const TRect& Rect);
    void Changing();
    void Update();
    void Update(const TRect& Rect);

    void BringToFront();
    void SendToBack();
    int Index() const;
    void SetIndex(int Value) { DoSetIndex(Value); }

    std::uint32_t LayerOptions() const { return FLayerOptions; }
    void SetLayerOptions(std::uint32_t Value) { DoSetLayerOptions(Value); }
    bool Visible() const { return (FLayerOptions & LOB_VISIBLE) != 0; }
    void SetVisible(bool Value);
    bool MouseEvents() const { return (FLayerOptions & LOB_MOUSE_EVENTS) != 0; }
    void SetMouseEvents(bool Value);
    bool Invalid() const { return (FLayerOptions & LOB_INVALID) != 0; }
    void SetInvalid(bool Value);
    bool ForceUpdate() const { return (FLayerOptions & LOB_FORCE_UPDATE) != 0; }
    void SetForceUpdate(bool Value);
    TLayerStates LayerStates() const { return FLayerStates; }
    TLayerCollection* LayerCollection() const { return FLayerCollection; }
    void SetLayerCollection(TLayerCollection* Value) { DoSetLayerCollection(Value); }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { DoSetCursor(Value); }

    bool HitTest(int X, int Y);
    void DoPaint(TBitmap32* Buffer);
    void SetAsMouseListener();
    void AddNotification(TCustomLayer* ALayer);
    void RemoveNotification(TCustomLayer* ALayer);

    // Painting with the control's canvas after the blit (layers with the GDI-overlay bit).
    virtual void PaintGDI(TCanvas* Canvas);

protected:
    friend class TLayerCollection;
    virtual bool DoHitTest(int X, int Y);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Notification(TCustomLayer* ALayer);
    virtual void Paint(TBitmap32*) {}
    virtual void DoSetIndex(int Value);
    virtual void DoSetCursor(TCursor Value);
    virtual void DoSetLayerCollection(TLayerCollection* Value);
    virtual void DoSetLayerOptions(std::uint32_t Value);
    void AssignTo(TPersistent* Dest) const override;

    std::uint32_t FLayerOptions = LOB_VISIBLE;

private:
    TCursor FCursor = crDefault;
    std::unique_ptr<std::vector<TCustomLayer*>> FFreeNotifies;
    TLayerCollection* FLayerCollection = nullptr;
    TLayerStates FLayerStates;
};

class TPositionedLayer : public TCustomLayer {
public:
    explicit TPositionedLayer(TLayerCollection* ALayerCollection);
    TLayerClass ClassType() const override { return LayerClassOf<TPositionedLayer>(); }

    TFloatRect GetAdjustedRect(const TFloatRect& R) const;
    TFloatRect GetAdjustedLocation() const { return GetAdjustedRect(FLocation); }
    const TFloatRect& Location() const { return FLocation; }
    void SetLocation(const TFloatRect& Value);
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value);

protected:
    bool DoHitTest(int X, int Y) override;
    virtual void DoSetLocation(const TFloatRect& NewLocation);
    void AssignTo(TPersistent* Dest) const override;

    TFloatRect FLocation{0, 0, 64, 64};
    bool FScaled = false;
};

class TBitmapLayer : public TPositionedLayer {
public:
    explicit TBitmapLayer(TLayerCollection* ALayerCollection);
    ~TBitmapLayer() override;
    TLayerClass ClassType() const override { return LayerClassOf<TBitmapLayer>(); }

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    // Copies into the owned bitmap.
    void SetBitmap(TBitmap32* Value);
    bool AlphaHit() const { return FAlphaHit; }
    void SetAlphaHit(bool Value) { FAlphaHit = Value; }
    bool Cropped() const { return FCropped; }
    void SetCropped(bool Value);

protected:
    bool DoHitTest(int X, int Y) override;
    void Paint(TBitmap32* Buffer) override;
    void AssignTo(TPersistent* Dest) const override;

private:
    void BitmapAreaChanged(TObject* Sender, const TRect& Area, std::uint32_t Info);

    std::unique_ptr<TBitmap32> FBitmap;
    bool FAlphaHit = false;
    bool FCropped = false;
};

// A frame with sizing handles that the user drags to move or resize it, and a child layer with it.
class TRubberbandLayer : public TPositionedLayer {
public:
    TRBResizingEvent OnResizing;

    explicit TRubberbandLayer(TLayerCollection* ALayerCollection);
    ~TRubberbandLayer() override;
    TLayerClass ClassType() const override { return LayerClassOf<TRubberbandLayer>(); }

    // Not owned; the rubberband takes its place and moves it along.
    TPositionedLayer* ChildLayer() const { return FChildLayer; }
    void SetChildLayer(TPositionedLayer* Value);
    TRBHandles Handles() const { return FHandles; }
    void SetHandles(TRBHandles Value);
    int HandleSize() const { return FHandleSize; }
    // Values below 1 store 1.
    void SetHandleSize(int Value);
    TColor32 HandleFill() const { return FHandleFill; }
    void SetHandleFill(TColor32 Value);
    TColor32 HandleFrame() const { return FHandleFrame; }
    void SetHandleFrame(TColor32 Value);
    float FrameStippleStep() const { return FFrameStippleStep; }
    void SetFrameStippleStep(float Value);
    float FrameStippleCounter() const { return FFrameStippleCounter; }
    void SetFrameStippleCounter(float Value);
    const TArrayOfColor32& FrameStipple() const { return FFrameStipplePattern; }
    void SetFrameStipple(const TArrayOfColor32& Value);
    // A maximum below its minimum is not applied.
    float MinWidth() const { return FMinWidth; }
    void SetMinWidth(float Value) { FMinWidth = Value; }
    float MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(float Value) { FMaxWidth = Value; }
    float MinHeight() const { return FMinHeight; }
    void SetMinHeight(float Value) { FMinHeight = Value; }
    float MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(float Value) { FMaxHeight = Value; }

    bool IsDragging() const { return FIsDragging; }
    TDragState DragState() const { return FDragState; }
    // What a press at (X, Y), in control coordinates, would drag.
    virtual TDragState GetDragState(int X, int Y);

protected:
    bool DoHitTest(int X, int Y) override;
    void DoSetLayerOptions(std::uint32_t Value) override;
    void DoSetLocation(const TFloatRect& NewLocation) override;
    virtual void DoResizing(const TFloatRect& OldLocation, TFloatRect& NewLocation, TDragState DragState,
                            TShiftState Shift);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TCustomLayer* ALayer) override;
    void Paint(TBitmap32* Buffer) override;

private:
    void HandlesChanged();

    TPositionedLayer* FChildLayer = nullptr;
    TArrayOfColor32 FFrameStipplePattern{0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000};
    float FFrameStippleStep = 1.0f;
    float FFrameStippleCounter = 0;
    TColor32 FHandleFrame = 0xFF000000;
    TColor32 FHandleFill = 0xFFFFFFFF;
    TRBHandles FHandles{rhCenter, rhSides, rhCorners, rhFrame};
    int FHandleSize = 3;
    float FMinWidth = 10.0f;
    float FMaxHeight = 0;
    float FMinHeight = 10.0f;
    float FMaxWidth = 0;
    bool FIsDragging = false;
    TDragState FDragState = dsNone;
    TFloatRect FOldLocation;
    TFloatPoint FMouseShift;
};

} // namespace Bmp32_Layers

using namespace Bmp32_Layers;
