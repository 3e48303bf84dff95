// TRubberbandLayer: the stippled frame with sizing handles, its drag states and the drag itself.
#include "bitmap32/Bmp32_Layers.h"

#include "platform/vcl/Forms.h"

#include <cstdlib>

namespace Bmp32_Layers {

namespace {

// A left or top edge moved to Value, its opposite edge fixed.
float MoveLowEdge(float Value, float Opposite, float Min, float Max) {
    float edge = Value;
    if (Opposite - edge < Min) edge = Opposite - Min;
    if (Max >= Min && Opposite - edge > Max) edge = Opposite - Max;
    return edge;
}

// A right or bottom edge moved to Value, its opposite edge fixed.
float MoveHighEdge(float Value, float Opposite, float Min, float Max) {
    float edge = Value;
    if (edge - Opposite < Min) edge = Opposite + Min;
    if (Max >= Min && edge - Opposite > Max) edge = Opposite + Max;
    return edge;
}

TCursor SizingCursor(TDragState State) {
    switch (State) {
    case dsSizeL:
    case dsSizeR:
        return crSizeWE;
    case dsSizeT:
    case dsSizeB:
        return crSizeNS;
    case dsSizeTL:
    case dsSizeBR:
        return crSizeNWSE;
    case dsSizeTR:
    case dsSizeBL:
        return crSizeNESW;
    default:
        return crDefault;
    }
}

} // namespace

TRubberbandLayer::TRubberbandLayer(TLayerCollection* ALayerCollection) : TPositionedLayer(ALayerCollection) {}

TRubberbandLayer::~TRubberbandLayer() {
    if (FChildLayer) FChildLayer->RemoveNotification(this);
}

void TRubberbandLayer::SetChildLayer(TPositionedLayer* Value) {
    if (FChildLayer) FChildLayer->RemoveNotification(this);
    FChildLayer = Value;
    if (!Value) return;
    SetLocation(Value->Location());
    SetScaled(Value->Scaled());
    Value->AddNotification(this);
}

void TRubberbandLayer::Notification(TCustomLayer* ALayer) {
    if (ALayer == FChildLayer) FChildLayer = nullptr;
}

void TRubberbandLayer::DoSetLocation(const TFloatRect& NewLocation) {
    TPositionedLayer::DoSetLocation(NewLocation);
    if (FChildLayer) FChildLayer->SetLocation(NewLocation);
}

void TRubberbandLayer::DoSetLayerOptions(std::uint32_t Value) {
    TPositionedLayer::DoSetLayerOptions(Value & ~LOB_NO_UPDATE);
}

void TRubberbandLayer::HandlesChanged() {
    if (LayerCollection()) LayerCollection()->GDIUpdate();
}

void TRubberbandLayer::SetHandles(TRBHandles Value) {
    if (Value == FHandles) return;
    FHandles = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetHandleSize(int Value) {
    if (Value < 1) Value = 1;
    if (Value == FHandleSize) return;
    FHandleSize = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetHandleFill(TColor32 Value) {
    if (Value == FHandleFill) return;
    FHandleFill = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetHandleFrame(TColor32 Value) {
    if (Value == FHandleFrame) return;
    FHandleFrame = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetFrameStippleStep(float Value) {
    if (Value == FFrameStippleStep) return;
    FFrameStippleStep = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetFrameStippleCounter(float Value) {
    if (Value == FFrameStippleCounter) return;
    FFrameStippleCounter = Value;
    HandlesChanged();
}

void TRubberbandLayer::SetFrameStipple(const TArrayOfColor32& Value) {
    FFrameStipplePattern = Value;
    HandlesChanged();
}

TDragState TRubberbandLayer::GetDragState(int X, int Y) {
    TRect a = MakeRect(GetAdjustedLocation(), rrClosest);
    --a.Right;
    --a.Bottom;
    const int d = FHandleSize + 1;
    const auto near = [d](int difference) { return std::abs(difference) <= d; };
    const bool l = near(a.Left - X), r = near(a.Right - X), cx = near((a.Left + a.Right) / 2 - X);
    const bool t = near(a.Top - Y), b = near(a.Bottom - Y), cy = near((a.Top + a.Bottom) / 2 - Y);
    const bool corners = FHandles.Contains(rhCorners), sides = FHandles.Contains(rhSides);
    if (r && b && corners && !FHandles.Contains(rhNotBRCorner)) return dsSizeBR;
    if (l && b && corners && !FHandles.Contains(rhNotBLCorner)) return dsSizeBL;
    if (r && t && corners && !FHandles.Contains(rhNotTRCorner)) return dsSizeTR;
    if (l && t && corners && !FHandles.Contains(rhNotTLCorner)) return dsSizeTL;
    if (r && cy && sides && !FHandles.Contains(rhNotRightSide)) return dsSizeR;
    if (b && cx && sides && !FHandles.Contains(rhNotBottomSide)) return dsSizeB;
    if (l && cy && sides && !FHandles.Contains(rhNotLeftSide)) return dsSizeL;
    if (t && cx && sides && !FHandles.Contains(rhNotTopSide)) return dsSizeT;
    if (FHandles.Contains(rhCenter) && PtInRect(a, Point(X, Y))) return dsMove;
    return dsNone;
}

bool TRubberbandLayer::DoHitTest(int X, int Y) {
    return GetDragState(X, Y) != dsNone;
}

void TRubberbandLayer::DoResizing(const TFloatRect& OldLocation, TFloatRect& NewLocation,
                                  TDragState DragState, TShiftState Shift) {
    OnResizing(this, OldLocation, NewLocation, DragState, Shift);
}

void TRubberbandLayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!FIsDragging) {
        FDragState = GetDragState(X, Y);
        FIsDragging = FDragState != dsNone;
        if (FIsDragging) {
            FOldLocation = FLocation;
            if (FDragState == dsMove) {
                const TFloatRect a = GetAdjustedLocation();
                FMouseShift = TFloatPoint{X - a.Left, Y - a.Top};
            } else {
                FMouseShift = TFloatPoint{};
            }
        }
    }
    TPositionedLayer::MouseDown(Button, Shift, X, Y);
}

void TRubberbandLayer::MouseMove(TShiftState Shift, int X, int Y) {
    if (!FIsDragging) {
        FDragState = GetDragState(X, Y);
        Screen->SetCursor(FDragState == dsMove ? Cursor() : SizingCursor(FDragState));
        OnMouseMove(this, Shift, X, Y);
        return;
    }
    float mx = X - FMouseShift.X, my = Y - FMouseShift.Y;
    if (FScaled) {
        const TFloatRect a = GetAdjustedLocation();
        const float aw = a.Right - a.Left, ah = a.Bottom - a.Top;
        if (aw > 0 && ah > 0) {
            mx = (mx - a.Left) / aw * (FLocation.Right - FLocation.Left) + FLocation.Left;
            my = (my - a.Top) / ah * (FLocation.Bottom - FLocation.Top) + FLocation.Top;
        }
    }
    const TFloatRect& old = FOldLocation;
    TFloatRect next = old;
    if (FDragState == dsMove) {
        next = TFloatRect{mx, my, mx + (old.Right - old.Left), my + (old.Bottom - old.Top)};
    } else {
        if (FDragState == dsSizeL || FDragState == dsSizeTL || FDragState == dsSizeBL)
            next.Left = MoveLowEdge(mx, old.Right, FMinWidth, FMaxWidth);
        if (FDragState == dsSizeR || FDragState == dsSizeTR || FDragState == dsSizeBR)
            next.Right = MoveHighEdge(mx, old.Left, FMinWidth, FMaxWidth);
        if (FDragState == dsSizeT || FDragState == dsSizeTL || FDragState == dsSizeTR)
            next.Top = MoveLowEdge(my, old.Bottom, FMinHeight, FMaxHeight);
        if (FDragState == dsSizeB || FDragState == dsSizeBL || FDragState == dsSizeBR)
            next.Bottom = MoveHighEdge(my, old.Top, FMinHeight, FMaxHeight);
    }
    DoResizing(old, next, FDragState, Shift);
    if (!(next == FLocation)) SetLocation(next);
    OnMouseMove(this, Shift, X, Y);
}

void TRubberbandLayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FIsDragging = false;
    TPositionedLayer::MouseUp(Button, Shift, X, Y);
}

void TRubberbandLayer::Paint(TBitmap32* Buffer) {
    const TRect a = MakeRect(GetAdjustedLocation(), rrClosest);
    if (FHandles.Contains(rhFrame)) {
        Buffer->SetStipple(FFrameStipplePattern);
        Buffer->SetStippleStep(FFrameStippleStep);
        Buffer->SetStippleCounter(FFrameStippleCounter);
        Buffer->FrameRectTSP(a.Left, a.Top, a.Right, a.Bottom);
    }
    const auto handle = [&](int X, int Y) {
        const int s = FHandleSize;
        Buffer->FillRectTS(X - s, Y - s, X + s, Y + s, FHandleFill);
        Buffer->FrameRectTS(X - s, Y - s, X + s, Y + s, FHandleFrame);
    };
    if (FHandles.Contains(rhCorners)) {
        if (!FHandles.Contains(rhNotTLCorner)) handle(a.Left, a.Top);
        if (!FHandles.Contains(rhNotTRCorner)) handle(a.Right, a.Top);
        if (!FHandles.Contains(rhNotBLCorner)) handle(a.Left, a.Bottom);
        if (!FHandles.Contains(rhNotBRCorner)) handle(a.Right, a.Bottom);
    }
    if (FHandles.Contains(rhSides)) {
        const int cx = (a.Left + a.Right) / 2, cy = (a.Top + a.Bottom) / 2;
        if (!FHandles.Contains(rhNotTopSide)) handle(cx, a.Top);
        if (!FHandles.Contains(rhNotLeftSide)) handle(a.Left, cy);
        if (!FHandles.Contains(rhNotRightSide)) handle(a.Right, cy);
        if (!FHandles.Contains(rhNotBottomSide)) handle(cx, a.Bottom);
    }
}

} // namespace Bmp32_Layers
