// The range bar's float position within a range and a window, and the gauge bar's integer position
// between Min and Max: the position <-> pixel arithmetic, dragging and the repeat steps.
#include "bitmap32/Bmp32_RangeBars.h"

#include <algorithm>
#include <cstdint>

namespace Bmp32_RangeBars {

namespace {

// Raises the change-by-user flag for one step, also when the step throws.
class TUserChange {
public:
    explicit TUserChange(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TUserChange() { FFlag = false; }
    TUserChange(const TUserChange&) = delete;
    TUserChange& operator=(const TUserChange&) = delete;

private:
    bool& FFlag;
};

// The handle at Offset along the track, Size long, as a rectangle across the whole track.
TRect HandleAt(TRect Track, bool Horz, int Offset, int Size) {
    if (Horz) {
        Track.Left += Offset;
        Track.Right = Track.Left + Size;
    } else {
        Track.Top += Offset;
        Track.Bottom = Track.Top + Size;
    }
    return Track;
}

// A + B held to the integers, so a step at either end of the int range cannot wrap.
int Sum(int A, int B) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{A} + B, INT32_MIN, INT32_MAX));
}

} // namespace

// ---- range bar ----

TCustomRangeBar::TCustomRangeBar(TComponent* owner) : TArrowBar(owner) {
    UpdateEffectiveWindow();
}

void TCustomRangeBar::UpdateEffectiveWindow() {
    FEffectiveWindow = FWindow > 0 ? FWindow : (Kind() == sbHorizontal ? Width() : Height());
}

void TCustomRangeBar::AdjustPosition() {
    FPosition = std::min(FPosition, static_cast<float>(FRange - FEffectiveWindow));
    FPosition = std::max(FPosition, 0.0f);
}

void TCustomRangeBar::SetPosition(float Value) {
    if (Value == FPosition) return;
    const float old = FPosition;
    FPosition = Value;
    AdjustPosition();
    if (FPosition != old) {
        Invalidate();
        DoChange();
    }
}

void TCustomRangeBar::SetParams(int NewRange, int NewWindow) {
    NewRange = std::max(NewRange, 0);
    NewWindow = std::max(NewWindow, 0);
    if (NewRange == FRange && NewWindow == FEffectiveWindow) return;
    const int oldRange = FRange, oldWindow = FEffectiveWindow;
    FRange = NewRange;
    FWindow = NewWindow;
    UpdateEffectiveWindow();
    if (FCentered && FRange > FEffectiveWindow) {
        const float c =
            (oldRange > oldWindow && oldRange != 0) ? (oldWindow * 0.5f + FPosition) / oldRange : 0.5f;
        FPosition = FRange * c - FEffectiveWindow * 0.5f;
    }
    AdjustPosition();
    Invalidate();
}

void TCustomRangeBar::Resize() {
    const int oldWindow = FEffectiveWindow;
    // The window follows the bar's length whether or not the bar keeps its centre.
    UpdateEffectiveWindow();
    if (FCentered && FRange > FEffectiveWindow) {
        const float c = FRange > oldWindow ? (oldWindow * 0.5f + FPosition) / FRange : 0.5f;
        FPosition = FRange * c - FEffectiveWindow * 0.5f;
    }
    AdjustPosition();
    TArrowBar::Resize();
}

bool TCustomRangeBar::DrawEnabled() const {
    return Enabled() && FRange > FEffectiveWindow;
}

TRect TCustomRangeBar::GetHandleRect() const {
    const TRect track = GetTrackBoundary();
    const bool horz = Kind() == sbHorizontal;
    const int s = horz ? track.Width() : track.Height();
    if (s < 18) return TRect{};
    if (FRange <= FEffectiveWindow) return track;
    int size = RoundToInt(double(s) * FEffectiveWindow / FRange);
    int offset;
    if (size < 17) {
        size = 17;
        offset = RoundToInt(double(s - 17) * FPosition / (FRange - FEffectiveWindow));
    } else {
        offset = RoundToInt(double(s) * FPosition / FRange);
    }
    return HandleAt(track, horz, offset, size);
}

void TCustomRangeBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FRange <= FEffectiveWindow) {
        FDragZone = zNone;
        return;
    }
    TArrowBar::MouseDown(Button, Shift, X, Y);
    if (FDragZone == zHandle) {
        StopDragTracking();
        FPosBeforeDrag = FPosition;
    }
}

void TCustomRangeBar::MouseMove(TShiftState Shift, int X, int Y) {
    TArrowBar::MouseMove(Shift, X, Y);
    if (FDragZone != zHandle || FRange <= FEffectiveWindow) return;
    const int d = Along(X, Y) - Along(FMouseDownPoint.X, FMouseDownPoint.Y);
    const int s = TrackLength();
    if (s < 18) return;
    float change;
    if (RoundToInt(double(s) * FEffectiveWindow / FRange) < 17)
        change = static_cast<float>(RoundToInt(double(FRange - FEffectiveWindow) * d / (s - 17)));
    else
        change = static_cast<float>(double(FRange) * d / s);
    TUserChange user(FGenChange);
    SetPosition(FPosBeforeDrag + change);
}

void TCustomRangeBar::TimerHandler(TObject* Sender) {
    TArrowBar::TimerHandler(Sender);
    TUserChange user(FGenChange);
    const float old = FPosition;
    switch (FDragZone) {
    case zBtnPrev:
        SetPosition(FPosition - FIncrement);
        if (FPosition == old) StopDragTracking();
        break;
    case zBtnNext:
        SetPosition(FPosition + FIncrement);
        if (FPosition == old) StopDragTracking();
        break;
    case zTrackPrev:
        if (CursorOverZone(zBtnPrev, zTrackPrev)) SetPosition(FPosition - FEffectiveWindow);
        break;
    case zTrackNext:
        if (CursorOverZone(zTrackNext, zBtnNext)) SetPosition(FPosition + FEffectiveWindow);
        break;
    default:
        break;
    }
}

bool TCustomRangeBar::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    SetPosition(FPosition + FIncrement * WheelDelta / 120.0f);
    return true;
}

// ---- gauge bar ----

TCustomGaugeBar::TCustomGaugeBar(TComponent* owner) : TArrowBar(owner) {}

void TCustomGaugeBar::SetMax(int Value) {
    if (Value <= FMin && FMin < INT32_MAX && !ComponentState().Contains(csLoading)) Value = FMin + 1;
    if (Value == FMax) return;
    FMax = Value;
    AdjustPosition();
    Invalidate();
}

void TCustomGaugeBar::SetMin(int Value) {
    if (Value >= FMax && FMax > INT32_MIN && !ComponentState().Contains(csLoading)) Value = FMax - 1;
    if (Value == FMin) return;
    FMin = Value;
    AdjustPosition();
    Invalidate();
}

void TCustomGaugeBar::SetHandleSize(int Value) {
    if (Value == FHandleSize) return;
    FHandleSize = Value;
    Invalidate();
}

void TCustomGaugeBar::SetPosition(int Value) {
    // While a form is read Max may not exceed Min yet; Min wins then.
    Value = std::max(std::min(Value, FMax), FMin);
    if (Value == FPosition) return;
    FPosition = Value;
    Invalidate();
    DoChange();
}

void TCustomGaugeBar::AdjustPosition() {
    SetPosition(FPosition);
}

int TCustomGaugeBar::GetHandleSize() const {
    const int size = FHandleSize != 0 ? FHandleSize : ClientThickness();
    return std::max(std::min(size, TrackLength() - 1), 0);
}

TRect TCustomGaugeBar::GetHandleRect() const {
    const int size = GetHandleSize();
    const int free = TrackLength() - size;
    // Max equals Min only while a form is read: the handle then rests at the start.
    const int offset =
        FMax == FMin ? 0 : RoundToInt(double(free) * (double(FPosition) - FMin) / (double(FMax) - FMin));
    return HandleAt(GetTrackBoundary(), Kind() == sbHorizontal, offset, size);
}

void TCustomGaugeBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TArrowBar::MouseDown(Button, Shift, X, Y);
    if (FDragZone == zHandle) {
        StopDragTracking();
        FPosBeforeDrag = static_cast<float>(FPosition);
    }
}

void TCustomGaugeBar::MouseMove(TShiftState Shift, int X, int Y) {
    TArrowBar::MouseMove(Shift, X, Y);
    if (FDragZone != zHandle) return;
    const int free = TrackLength() - GetHandleSize();
    if (free <= 0) return;
    const int d = Along(X, Y) - Along(FMouseDownPoint.X, FMouseDownPoint.Y);
    TUserChange user(FGenChange);
    SetPosition(RoundToInt(FPosBeforeDrag + (double(FMax) - FMin) * d / free));
}

void TCustomGaugeBar::TimerHandler(TObject* Sender) {
    TArrowBar::TimerHandler(Sender);
    TUserChange user(FGenChange);
    const int old = FPosition;
    switch (FDragZone) {
    case zBtnPrev:
        SetPosition(Sum(FPosition, -FSmallChange));
        if (FPosition == old) StopDragTracking();
        break;
    case zBtnNext:
        SetPosition(Sum(FPosition, FSmallChange));
        if (FPosition == old) StopDragTracking();
        break;
    case zTrackPrev:
        if (CursorOverZone(zBtnPrev, zTrackPrev)) SetPosition(Sum(FPosition, -FLargeChange));
        break;
    case zTrackNext:
        if (CursorOverZone(zTrackNext, zBtnNext)) SetPosition(Sum(FPosition, FLargeChange));
        break;
    default:
        break;
    }
}

bool TCustomGaugeBar::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    SetPosition(Sum(FPosition, static_cast<int>(std::clamp<std::int64_t>(
                                   std::int64_t{FSmallChange} * WheelDelta / 120, INT32_MIN, INT32_MAX))));
    return true;
}

} // namespace Bmp32_RangeBars
