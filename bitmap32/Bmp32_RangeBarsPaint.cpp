// Painting of the arrow bars: the whole control is drawn into a 32-bit bitmap and copied to the
// canvas in one blit. The theme service never runs here, so the default style draws the classic
// frame-control look; rbsMac is the library's own flat style.
#include "bitmap32/Bmp32_RangeBars.h"

#include <algorithm>

namespace Bmp32_RangeBars {

namespace {

TColor32 C32(TColor C) {
    return Color32(C);
}

void Fill(TBitmap32* Dst, const TRect& R, TColor C) {
    Dst->FillRectS(R, C32(C));
}

// Two colours alternating pixel by pixel, aligned to the control's origin.
void Halftone(TBitmap32* Dst, TRect R, TColor C1, TColor C2) {
    const TColor32 a = C32(C1), b = C32(C2);
    if (a == b) {
        Dst->FillRectS(R, a);
        return;
    }
    IntersectRect(R, R, Dst->ClipRect());
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            Dst->SetPixel(x, y, ((x + y) & 1) ? b : a);
}

// Top and left in one colour, bottom and right in another, one pixel wide; R shrinks by it.
void Bevel(TBitmap32* Dst, TRect& R, TColor TopLeft, TColor BottomRight) {
    if (IsRectEmpty(R)) return;
    Dst->HorzLineS(R.Left, R.Top, R.Right - 1, C32(TopLeft));
    Dst->VertLineS(R.Left, R.Top, R.Bottom - 1, C32(TopLeft));
    Dst->HorzLineS(R.Left, R.Bottom - 1, R.Right - 1, C32(BottomRight));
    Dst->VertLineS(R.Right - 1, R.Top, R.Bottom - 1, C32(BottomRight));
    InflateRect(R, -1, -1);
}

// The side of a button or track part that faces the next part along the bar carries no frame.
void OpenFrame(TBitmap32* Dst, TRect& R, TRBDirection Direction, TColor C) {
    const TColor32 c = C32(C);
    if (Direction != drDown) Dst->HorzLineS(R.Left, R.Top, R.Right - 1, c);
    if (Direction != drRight) Dst->VertLineS(R.Left, R.Top, R.Bottom - 1, c);
    if (Direction != drUp) Dst->HorzLineS(R.Left, R.Bottom - 1, R.Right - 1, c);
    if (Direction != drLeft) Dst->VertLineS(R.Right - 1, R.Top, R.Bottom - 1, c);
    if (Direction != drDown) ++R.Top;
    if (Direction != drRight) ++R.Left;
    if (Direction != drUp) --R.Bottom;
    if (Direction != drLeft) --R.Right;
}

// A filled triangle pointing in Direction inside R, moved by (Dx, Dy).
void Arrow(TBitmap32* Dst, const TRect& R, TRBDirection Direction, TColor C, int Dx, int Dy) {
    int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
    int s = std::min(cx - R.Left, cy - R.Top) * 3 / 4 - 1;
    if (s < 1) s = 1;
    const TColor32 c = C32(C);
    cx += Dx;
    cy += Dy;
    switch (Direction) {
    case drLeft:
        cx += (s + 1) / 3;
        for (int i = 0; i <= s; ++i)
            Dst->VertLineS(cx - i, cy - (s - i), cy + (s - i), c);
        break;
    case drRight:
        cx -= s / 3;
        for (int i = 0; i <= s; ++i)
            Dst->VertLineS(cx + i, cy - (s - i), cy + (s - i), c);
        break;
    case drUp:
        cy += (s + 1) / 3;
        for (int i = 0; i <= s; ++i)
            Dst->HorzLineS(cx - (s - i), cy - i, cx + (s - i), c);
        break;
    case drDown:
        cy -= s / 3;
        for (int i = 0; i <= s; ++i)
            Dst->HorzLineS(cx - (s - i), cy + i, cx + (s - i), c);
        break;
    }
}

} // namespace

TColor BlendColors(TColor C1, TColor C2, int W) {
    if (W > 255) throw EAssertionFailed("Assertion failure");
    W = std::max(W, 0);
    const auto a = static_cast<std::uint32_t>(ColorToRGB(C1)), b = static_cast<std::uint32_t>(ColorToRGB(C2));
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        result |= (((ca * W + cb * (255 - W)) >> 8) & 0xFF) << shift;
    }
    return static_cast<TColor>(result);
}

TColor LightenColor(TColor C, int Amount) {
    const auto c = static_cast<std::uint32_t>(ColorToRGB(C));
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int v = std::clamp(static_cast<int>((c >> shift) & 0xFF) + Amount, 0, 255);
        result |= static_cast<std::uint32_t>(v) << shift;
    }
    return static_cast<TColor>(result);
}

void TArrowBar::Paint() {
    TBitmap32 buffer;
    buffer.SetSize(Width(), Height());
    if (buffer.Empty()) return;
    PaintTo(&buffer);
    buffer.DrawTo(Canvas()->Handle(), 0, 0);
}

void TArrowBar::DrawNCArea(TBitmap32* Dst) {
    if (GetBorderSize() == 0) return;
    TRect r = Rect(0, 0, Width(), Height());
    Bevel(Dst, r, clBtnShadow, clBtnHighlight);
}

void TArrowBar::PaintTo(TBitmap32* Dst) {
    DrawNCArea(Dst);
    const TPoint o = ClientOffset();
    auto zone = [&](TRBZone z) {
        TRect r = GetZoneRect(z);
        OffsetRect(r, o.X, o.Y);
        return r;
    };
    const bool horz = FKind == sbHorizontal;
    const bool enabled = DrawEnabled();
    const TRBDirection prev = horz ? drLeft : drUp, next = horz ? drRight : drDown;
    Dst->FillRectS(o.X, o.Y, o.X + ClientWidth(), o.Y + ClientHeight(), C32(Color()));
    if (FShowArrows) {
        DoDrawButton(Dst, zone(zBtnPrev), prev, FDragZone == zBtnPrev, enabled, FHotZone == zBtnPrev);
        DoDrawButton(Dst, zone(zBtnNext), next, FDragZone == zBtnNext, enabled, FHotZone == zBtnNext);
    }
    DoDrawTrack(Dst, zone(zTrackPrev), prev, FDragZone == zTrackPrev, enabled, FHotZone == zTrackPrev);
    DoDrawTrack(Dst, zone(zTrackNext), next, FDragZone == zTrackNext, enabled, FHotZone == zTrackNext);
    const TRect handle = zone(zHandle);
    if (!IsRectEmpty(handle)) DoDrawHandle(Dst, handle, horz, FDragZone == zHandle, FHotZone == zHandle);
}

void TArrowBar::DoDrawButton(TBitmap32* Dst, TRect R, TRBDirection Direction, bool Pushed, bool Enabled,
                             bool) {
    if (IsRectEmpty(R)) return;
    const TRect whole = R;
    if (FStyle == rbsMac) {
        OpenFrame(Dst, R, Direction, Enabled ? FBorderColor : FShadowColor);
        Fill(Dst, R, FButtonColor);
        if (!Pushed && Enabled) Bevel(Dst, R, FHighLightColor, FShadowColor);
        if (!Enabled) {
            Arrow(Dst, whole, Direction, FHighLightColor, 1, 1);
            Arrow(Dst, whole, Direction, FShadowColor, 0, 0);
        } else {
            Arrow(Dst, whole, Direction, FBorderColor, Pushed, Pushed);
        }
        return;
    }
    // The classic scroll arrow: raised twice, or flat in the shadow colour while pushed.
    Fill(Dst, R, clBtnFace);
    if (Pushed) {
        Bevel(Dst, R, clBtnShadow, clBtnShadow);
    } else {
        Bevel(Dst, R, clBtnFace, cl3DDkShadow);
        Bevel(Dst, R, clBtnHighlight, clBtnShadow);
    }
    if (Enabled) {
        Arrow(Dst, whole, Direction, clBtnText, Pushed, Pushed);
    } else {
        Arrow(Dst, whole, Direction, clBtnHighlight, 1, 1);
        Arrow(Dst, whole, Direction, clBtnShadow, 0, 0);
    }
}

void TArrowBar::DoDrawTrack(TBitmap32* Dst, TRect R, TRBDirection Direction, bool Pushed, bool Enabled,
                            bool) {
    if (IsRectEmpty(R)) return;
    if (FStyle == rbsMac) {
        OpenFrame(Dst, R, Direction, Enabled ? FBorderColor : FShadowColor);
        if (IsRectEmpty(R)) return;
        if (Pushed) {
            Fill(Dst, R, FBorderColor);
            return;
        }
        if (!Enabled) {
            Fill(Dst, R, FButtonColor);
            return;
        }
        const TColor32 edge = C32(BlendColors(FBorderColor, BlendColors(FHighLightColor, Color(), 127), 32));
        if (Direction != drDown) {
            Dst->HorzLineS(R.Left, R.Top, R.Right - 1, edge);
            ++R.Top;
        }
        if (Direction != drRight) {
            Dst->VertLineS(R.Left, R.Top, R.Bottom - 1, edge);
            ++R.Left;
        }
        if (FBackgnd == bgPattern)
            Halftone(Dst, R, FHighLightColor, Color());
        else
            Fill(Dst, R, Color());
        return;
    }
    if (Pushed)
        Fill(Dst, R, clWindowFrame);
    else
        Halftone(Dst, R, clBtnHighlight, Color());
}

void TArrowBar::DoDrawHandle(TBitmap32* Dst, TRect R, bool Horz, bool Pushed, bool) {
    if (IsRectEmpty(R)) return;
    if (FStyle != rbsMac) {
        Fill(Dst, R, clBtnFace);
        Bevel(Dst, R, clBtnFace, cl3DDkShadow);
        Bevel(Dst, R, clBtnHighlight, clBtnShadow);
        return;
    }
    const TColor light = LightenColor(FHandleColor, 24), dark = LightenColor(FHandleColor, -24);
    const TRect outer = R;
    Bevel(Dst, R, FBorderColor, FBorderColor);
    if (Pushed)
        Bevel(Dst, R, dark, FHandleColor);
    else
        Bevel(Dst, R, light, BlendColors(FBorderColor, FHandleColor, 96));
    Fill(Dst, R, FHandleColor);
    if (!FShowHandleGrip || IsRectEmpty(R)) return;
    const int length = Horz ? outer.Width() : outer.Height();
    const int centre = Horz ? (outer.Left + outer.Right) / 2 : (outer.Top + outer.Bottom) / 2;
    const int push = Pushed ? 1 : 0;
    auto ridge = [&](int at) {
        at += centre + push;
        // A short handle keeps its ridges inside.
        if (at < (Horz ? R.Left : R.Top) || at + 1 >= (Horz ? R.Right : R.Bottom)) return;
        if (Horz) {
            Dst->VertLineS(at, R.Top + 1 + push, R.Bottom - 2 + push, C32(light));
            Dst->VertLineS(at + 1, R.Top + 1 + push, R.Bottom - 2 + push, C32(dark));
        } else {
            Dst->HorzLineS(R.Left + 1 + push, at, R.Right - 2 + push, C32(light));
            Dst->HorzLineS(R.Left + 1 + push, at + 1, R.Right - 2 + push, C32(dark));
        }
    };
    ridge(-2);
    ridge(1);
    if (length > 10) {
        ridge(-5);
        ridge(4);
    }
}

} // namespace Bmp32_RangeBars
