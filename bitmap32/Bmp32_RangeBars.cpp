// TArrowBar: properties, geometry, the mouse and the press-and-hold timer.
#include "bitmap32/Bmp32_RangeBars.h"

#include "platform/vcl/WinUser.h"

#include <algorithm>

namespace Bmp32_RangeBars {

namespace {
const bool registered = (RegisterRangeBars(), true);

// Stores Value in Field and repaints when it changed.
template <class T>
void SetAndInvalidate(TArrowBar* Bar, T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Bar->Invalidate();
}
} // namespace

TArrowBar::TArrowBar(TComponent* owner) : TCustomControl(owner) {
    SetBounds(Left(), Top(), 100, 16);
    SetParentColor(false);
    SetColor(clScrollBar);
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = TNotifyEvent(this, &TArrowBar::TimerHandler);
}

TArrowBar::~TArrowBar() {
    FTimer->OnTimer = nullptr;
    FTimer->SetEnabled(false);
}

void TArrowBar::SetBackgnd(TRBBackgnd Value) {
    SetAndInvalidate(this, FBackgnd, Value);
}
void TArrowBar::SetButtonSize(int Value) {
    SetAndInvalidate(this, FButtonSize, Value);
}
void TArrowBar::SetHandleColor(TColor Value) {
    SetAndInvalidate(this, FHandleColor, Value);
}
void TArrowBar::SetButtonColor(TColor Value) {
    SetAndInvalidate(this, FButtonColor, Value);
}
void TArrowBar::SetHighLightColor(TColor Value) {
    SetAndInvalidate(this, FHighLightColor, Value);
}
void TArrowBar::SetShadowColor(TColor Value) {
    SetAndInvalidate(this, FShadowColor, Value);
}
void TArrowBar::SetBorderColor(TColor Value) {
    SetAndInvalidate(this, FBorderColor, Value);
}
void TArrowBar::SetShowArrows(bool Value) {
    SetAndInvalidate(this, FShowArrows, Value);
}
void TArrowBar::SetShowHandleGrip(bool Value) {
    SetAndInvalidate(this, FShowHandleGrip, Value);
}

void TArrowBar::SetBorderStyle(TBorderStyle Value) {
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    // The client area moves: children and the bar's own layout follow it.
    UpdateChildGeometry();
    Resize();
    Invalidate();
}

void TArrowBar::SetStyle(TRBStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TArrowBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    // Turning a bar in the designer also turns its shape; a loaded form and a program keep the sizes.
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

TRect TArrowBar::ClientRect() const {
    const int b = GetBorderSize();
    return Rect(0, 0, std::max(Width() - 2 * b, 0), std::max(Height() - 2 * b, 0));
}

TPoint TArrowBar::ClientOffset() const {
    const int b = GetBorderSize();
    return Point(b, b);
}

int TArrowBar::GetButtonSize() const {
    if (!FShowArrows) return 0;
    int b = FButtonSize;
    const int l = ClientLength(), t = ClientThickness();
    if (b == 0) b = std::min(t, 32);
    if (2 * b >= l) b = l / 2;
    if (FStyle == rbsMac) --b;
    return b >= 2 ? b : 0;
}

TRect TArrowBar::GetTrackBoundary() const {
    TRect r = ClientRect();
    const int b = GetButtonSize();
    if (FKind == sbHorizontal) {
        r.Left += b;
        r.Right -= b;
    } else {
        r.Top += b;
        r.Bottom -= b;
    }
    return r;
}

TRBZone TArrowBar::GetZone(int X, int Y) const {
    const TRect client = ClientRect();
    if (X < client.Left || Y < client.Top || X >= client.Right || Y >= client.Bottom) return zNone;
    const int b = GetButtonSize(), a = Along(X, Y), l = ClientLength();
    if (a < b) return zBtnPrev;
    if (a >= l - b) return zBtnNext;
    TRect h = GetHandleRect();
    if (X >= h.Left && X < h.Right && Y >= h.Top && Y < h.Bottom) return zHandle;
    // Without a handle the track splits at its centre, as it is drawn.
    if (IsRectEmpty(h)) h = GetZoneRect(zHandle);
    const int start = FKind == sbHorizontal ? h.Left : h.Top;
    const int end = FKind == sbHorizontal ? h.Right : h.Bottom;
    if (a > 0 && a < start) return zTrackPrev;
    if (a >= end && a < l - 1) return zTrackNext;
    return zNone;
}

TRect TArrowBar::GetZoneRect(TRBZone Zone) const {
    const TRect client = ClientRect();
    const int b = GetButtonSize();
    const bool horz = FKind == sbHorizontal;
    switch (Zone) {
    case zNone:
        return TRect{};
    case zBtnPrev:
        return horz ? Rect(client.Left, client.Top, client.Left + b, client.Bottom)
                    : Rect(client.Left, client.Top, client.Right, client.Top + b);
    case zBtnNext:
        return horz ? Rect(client.Right - b, client.Top, client.Right, client.Bottom)
                    : Rect(client.Left, client.Bottom - b, client.Right, client.Bottom);
    default:
        break;
    }
    const TRect t = GetTrackBoundary();
    TRect h = GetHandleRect();
    if (!DrawEnabled() || IsRectEmpty(h)) {
        const int cx = (t.Left + t.Right) / 2, cy = (t.Top + t.Bottom) / 2;
        h = Rect(cx, cy, cx, cy);
    }
    TRect r = t;
    if (Zone == zHandle) return h;
    if (Zone == zTrackPrev)
        (horz ? r.Right : r.Bottom) = horz ? h.Left : h.Top;
    else
        (horz ? r.Left : r.Top) = horz ? h.Right : h.Bottom;
    return r;
}

void TArrowBar::DoChange() {
    OnChange(this);
    if (FGenChange) OnUserChange(this);
}

TPoint TArrowBar::CursorInClient() const {
    TPoint p;
    GetCursorPos(&p);
    return ScreenToClient(p);
}

bool TArrowBar::CursorOverZone(TRBZone A, TRBZone B) const {
    TPoint p = CursorInClient();
    p.X = std::clamp(p.X, 0, std::max(ClientWidth() - 1, 0));
    p.Y = std::clamp(p.Y, 0, std::max(ClientHeight() - 1, 0));
    const TRBZone zone = GetZone(p.X, p.Y);
    return zone == A || zone == B;
}

int TArrowBar::TrackLength() const {
    const TRect t = GetTrackBoundary();
    return FKind == sbHorizontal ? t.Width() : t.Height();
}

void TArrowBar::StartDragTracking() {
    FTimer->SetInterval(600);
    FTimerMode = tmRepeat;
    TimerHandler(this);
    FTimerMode = tmInitialDelay;
    FTimer->SetEnabled(true);
}

void TArrowBar::StartHotTracking() {
    FTimer->SetInterval(150);
    FTimerMode = tmHotTrack;
    FTimer->SetEnabled(true);
}

void TArrowBar::StopHotTracking() {
    FTimer->SetEnabled(false);
    FHotZone = zNone;
    Invalidate();
}

void TArrowBar::MouseLeft() {
    StopHotTracking();
}

void TArrowBar::TimerHandler(TObject*) {
    if (FTimerMode == tmInitialDelay) {
        FTimer->SetInterval(100);
        FTimerMode = tmRepeat;
    } else if (FTimerMode == tmHotTrack) {
        const TPoint p = CursorInClient();
        const TRect client = ClientRect();
        if (p.X < client.Left || p.Y < client.Top || p.X >= client.Right || p.Y >= client.Bottom) {
            StopHotTracking();
            Invalidate();
        }
    }
}

void TArrowBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FDragZone = GetZone(X, Y);
        Invalidate();
        FMouseDownPoint = Point(X, Y);
        StartDragTracking();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TArrowBar::MouseMove(TShiftState Shift, int X, int Y) {
    if (FDragZone == zNone && DrawEnabled()) {
        const TRBZone zone = GetZone(X, Y);
        if (zone != FHotZone) {
            FHotZone = zone;
            if (FHotZone != zNone) StartHotTracking();
            Invalidate();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TArrowBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FDragZone = zNone;
    Invalidate();
    StopDragTracking();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TArrowBar::EnabledChanged() {
    TCustomControl::EnabledChanged();
    Invalidate();
}

void TArrowBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSELEAVE:
        MouseLeft();
        break;
    case WM_ERASEBKGND:
        // Paint covers the whole control.
        Message.Result = 1;
        return;
    case WM_MOUSEWHEEL: {
        TShiftState shift;
        if (Message.WParam & MK_SHIFT) shift << ssShift;
        if (Message.WParam & MK_CONTROL) shift << ssCtrl;
        const int delta = static_cast<short>(Message.WParamHi());
        const TPoint at = ScreenToClient(
            Point(static_cast<short>(Message.LParamLo()), static_cast<short>(Message.LParamHi())));
        Message.Result = DoMouseWheel(shift, delta, at) ? 1 : 0;
        return;
    }
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

} // namespace Bmp32_RangeBars
