// The faces of the styles.
#include "tools/skingen/SkinIcons.h"
#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinPalette.h"

#include <algorithm>
#include <cmath>

using namespace skin_palette;

namespace {

SkinRgb AccentOr(const SkinBitmap& b, SkinRgb fallback) {
    return b.hasAccent ? b.accent : fallback;
}

// The icon and label of a face, laid out in the box, nudged by (dx, dy).
void PaintContent(SkinRaster& r, const SkinBitmap& b, int x, int y, int w, int h, SkinRgb colour, int dx,
                  int dy) {
    const int side = std::min(w, h);
    const int pad = std::max(2, side / 5);
    int iconSize = std::clamp(side - 2 * pad, 4, 48);
    int textX = x + pad, textW = w - 2 * pad;
    if (!b.icon.empty()) {
        int ix = x + (w - iconSize) / 2;
        if (!b.label.empty()) {
            const int tw = r.TextWidth(b.label, b.fontPx, b.fontBold);
            const int total = iconSize + 4 + tw;
            ix = x + std::max(pad, (w - total) / 2);
            textX = ix + iconSize + 4;
            textW = x + w - pad - textX;
        }
        const int iy = y + (h - iconSize) / 2;
        r.Shape(IconShape(b.icon).Transformed(iconSize / 16.0, ix + dx, iy + dy), colour);
    }
    if (!b.label.empty()) {
        const SkinAlign align = b.icon.empty() ? SkinAlign::Centre : SkinAlign::Left;
        r.Text(textX + dx, y + dy, textW, h, b.label, b.fontPx, b.fontBold, colour, align);
    }
}

void PaintPlate(SkinRaster& r, const SkinBitmap& b, unsigned state, bool tab) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    const SkinRgb accent = AccentOr(b, Cyan);
    const bool hover = state & sfHover, pressed = state & sfPressed, disabled = state & sfDisabled;
    const bool on = state & sfOn;
    r.Fill(0, 0, w, h, Face);
    const double radius = std::clamp(std::min(w, h) / 6.0, 1.5, 5.0);

    SkinRgb top = 0x3C424A, bottom = 0x2B3036;
    if (hover) top = 0x4A525C, bottom = 0x363C43;
    if (pressed) top = 0x1E2226, bottom = 0x2A2F35;
    if (on) top = Mix(top, accent, 0.22), bottom = Mix(bottom, accent, 0.14);
    if (disabled) top = bottom = 0x2C3035;
    SkinRgb rim = RimDark;
    if (hover && !disabled) rim = Mix(RimDark, accent, 0.75);
    if (pressed && !disabled) rim = Mix(RimDark, accent, 0.45);

    auto outline = [&](double inset) {
        SkinShape s;
        if (tab) {
            s.Box(inset, inset, w - inset, h, radius).Box(inset, h / 2.0, w - inset, h);
        } else {
            s.Box(inset, inset, w - inset, h - inset, radius);
        }
        return s;
    };
    r.Shape(outline(0), rim);
    r.Shape(outline(1), top, bottom, 1, h - 1);
    if (!pressed && !disabled)
        r.Fill(static_cast<int>(radius), 1, w - 2 * static_cast<int>(radius), 1, Mix(top, White, 0.18));
    if (pressed) r.Fill(static_cast<int>(radius), 1, w - 2 * static_cast<int>(radius), 1, PanelShadow);
    if (tab && on) r.Fill(1, h - 2, w - 2, 2, accent);

    SkinRgb content = Text;
    if (hover) content = White;
    if (on) content = Mix(accent, White, 0.35);
    if (disabled) content = TextOff;
    const int shift = pressed ? 1 : 0;
    PaintContent(r, b, 0, 0, w, h, content, shift, shift);
}

void PaintFlat(SkinRaster& r, const SkinBitmap& b, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    const SkinRgb accent = AccentOr(b, Cyan);
    r.Fill(0, 0, w, h, Face);
    SkinRgb content = TextDim;
    if (state & sfHover) content = White;
    if (state & sfOn) content = accent;
    if (state & sfPressed) content = Mix(accent, White, 0.2);
    if (state & sfDisabled) content = TextOff;
    const int shift = (state & sfPressed) ? 1 : 0;
    PaintContent(r, b, 0, 0, w, h, content, shift, shift);
}

void PaintLamp(SkinRaster& r, const SkinBitmap& b, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    const SkinRgb accent = AccentOr(b, Green);
    r.Fill(0, 0, w, h, Face);
    const double cx = w / 2.0, cy = h / 2.0, R = std::min(w, h) / 2.0 - 0.5;
    r.Shape(SkinShape().Disc(cx, cy, R), RimDark);
    if (state & sfOn) {
        const SkinRgb core = (state & sfSelected) ? Mix(accent, White, 0.3) : accent;
        r.Shape(SkinShape().Disc(cx, cy, R - 1), Lighter(core, 0.25), Darker(core, 0.25), cy - R, cy + R);
        r.Shape(SkinShape().Disc(cx - R * 0.3, cy - R * 0.35, R * 0.3), White, 0.55);
    } else {
        r.Shape(SkinShape().Disc(cx, cy, R - 1), 0x353B42, 0x1C1F23, cy - R, cy + R);
        r.Shape(SkinShape().Disc(cx - R * 0.3, cy - R * 0.35, R * 0.25), White, 0.12);
    }
    PaintContent(r, b, 0, 0, w, h, (state & sfOn) ? RimDark : TextDim, 0, 0);
}

void PaintCell(SkinRaster& r, const SkinBitmap& b, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    SkinRgb fill = 0x202428;
    if (state & sfRecord) fill = 0xB03A32;
    if (state & sfEvent) fill = 0xD09030;
    if (state & sfSelected) fill = Lighter(fill, 0.2);
    r.Fill(0, 0, w, h, fill);
    r.Fill(0, h - 1, w, 1, RimDark); // cells sit in rows and columns: one grid line each
    r.Fill(w - 1, 0, 1, h, RimDark);
    if (state & sfSelected) {
        const SkinRgb rim = AccentOr(b, White);
        r.Frame(0, 0, w - 1, h - 1, rim);
    }
    SkinRgb content = (state & (sfRecord | sfEvent)) ? White : Text;
    if (state & sfEvent) content = 0x1A1D21;
    PaintContent(r, b, 0, 0, w - 1, h - 1, content, 0, 0);
}

void PaintGroove(SkinRaster& r, const SkinBitmap& b, bool lit) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    r.Fill(0, 0, w, h, Face);
    const bool horizontal = w >= h;
    const int across = horizontal ? h : w;
    const int thick = std::clamp(across / 3, 3, 8);
    const int off = (across - thick) / 2;
    const int x = horizontal ? 0 : off, y = horizontal ? off : 0;
    const int gw = horizontal ? w : thick, gh = horizontal ? thick : h;
    r.Fill(x, y, gw, gh, Panel);
    r.Bevel(x, y, gw, gh, PanelShadow, PanelLight);
    if (lit) {
        const SkinRgb accent = AccentOr(b, Cyan);
        if (horizontal)
            r.Ramp(x + 1, y + 1, gw - 2, gh - 2, Lighter(accent, 0.15), Darker(accent, 0.3));
        else
            r.Fill(x + 1, y + 1, gw - 2, gh - 2, accent);
    }
}

void PaintKnob(SkinRaster& r, const SkinBitmap& b, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    r.Fill(0, 0, w, h, Face);
    const SkinRgb accent = AccentOr(b, Cyan);
    SkinRgb top = 0x6A737E, bottom = 0x444B54;
    if (state & sfHover) top = 0x7C8692, bottom = 0x505862;
    if (state & sfPressed) top = Mix(0x444B54, accent, 0.4), bottom = Mix(0x6A737E, accent, 0.4);
    if (state & sfDisabled) top = bottom = 0x3A3F45;
    if (std::abs(w - h) <= 2) {
        const double cx = w / 2.0, cy = h / 2.0, R = std::min(w, h) / 2.0 - 0.5;
        r.Shape(SkinShape().Disc(cx, cy, R), RimDark);
        r.Shape(SkinShape().Disc(cx, cy, R - 1), top, bottom, 0, h);
        r.Shape(SkinShape().Disc(cx, cy, std::max(1.0, R / 3)), accent, (state & sfDisabled) ? 0.2 : 0.9);
        return;
    }
    const double radius = std::clamp(std::min(w, h) / 4.0, 1.0, 3.0);
    r.Shape(SkinShape().Box(0, 0, w, h, radius), RimDark);
    r.Shape(SkinShape().Box(1, 1, w - 1, h - 1, radius - 0.5), top, bottom, 1, h - 1);
    // A grip line across the travel.
    const SkinRgb grip = (state & sfDisabled) ? 0x2C3035 : accent;
    if (w < h)
        r.Fill(w / 2, 3, 1 + (w > 8), h - 6, grip);
    else
        r.Fill(3, h / 2, w - 6, 1 + (h > 8), grip);
}

void PaintGauge(SkinRaster& r, const SkinBitmap& b, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    r.Fill(0, 0, w, h, Panel);
    r.Bevel(0, 0, w, h, PanelShadow, PanelLight);
    if (!(state & sfOn)) return;
    const SkinRgb accent = AccentOr(b, Cyan);
    if (w >= h)
        r.Ramp(1, 1, w - 2, h - 2, Lighter(accent, 0.2), Darker(accent, 0.25));
    else
        r.Fill(1, 1, w - 2, h - 2, accent);
    // Scale marks, quiet.
    const int step = std::max(8, (w >= h ? h : w));
    if (w >= h)
        for (int x = step; x < w - 1; x += step)
            r.Fill(x, 1, 1, h - 2, Darker(accent, 0.35));
    else
        for (int y = step; y < h - 1; y += step)
            r.Fill(1, y, w - 2, 1, Darker(accent, 0.35));
}

void PaintActivity(SkinRaster& r, const SkinBitmap& b, int frame) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    r.Fill(0, 0, w, h, Panel);
    r.Bevel(0, 0, w, h, PanelShadow, PanelLight);
    const SkinRgb accent = AccentOr(b, Cyan);
    const int n = std::max(1, b.frames);
    const int blocks = std::max(n, 4);
    const double bw = (w - 2) / static_cast<double>(blocks);
    for (int i = 0; i < blocks; ++i) {
        const int lead = frame * blocks / n;
        const int behind = lead - i;
        double level = 0.08;
        if (behind == 0) level = 1.0;
        if (behind == 1) level = 0.5;
        if (behind == 2) level = 0.25;
        const int x0 = 1 + static_cast<int>(std::lround(i * bw)) + 1;
        const int x1 = 1 + static_cast<int>(std::lround((i + 1) * bw)) - 1;
        r.Fill(x0, 2, std::max(1, x1 - x0), h - 4, Mix(Panel, accent, level));
    }
}

void PaintSpinner(SkinRaster& r, const SkinBitmap& b, int frame) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    r.Fill(0, 0, w, h, Face);
    const SkinRgb accent = AccentOr(b, Cyan);
    const int dots = 8;
    const double cx = w / 2.0, cy = h / 2.0, R = std::min(w, h) / 2.0;
    const int lead = frame * dots / std::max(1, b.frames);
    for (int i = 0; i < dots; ++i) {
        const double a = i * 2 * M_PI / dots;
        const int behind = ((lead - i) % dots + dots) % dots;
        const double level = behind == 0 ? 1.0 : behind == 1 ? 0.55 : behind == 2 ? 0.3 : 0.12;
        r.Shape(SkinShape().Disc(cx + std::sin(a) * R * 0.68, cy - std::cos(a) * R * 0.68,
                                 std::max(1.0, R * 0.16)),
                Mix(Face, accent, level));
    }
}

} // namespace

void PaintStyleFrame(SkinRaster& r, const SkinBitmap& b, int frame, unsigned state) {
    const int w = r.FrameWidth(), h = r.FrameHeight();
    switch (b.style) {
    case SkinStyle::Background:
        r.Ramp(0, 0, w, h, FaceTop, FaceBottom);
        r.Frame(0, 0, w, h, RimDark);
        r.Bevel(1, 1, w - 2, h - 2, RimLight, 0x1A1D20);
        PaintContent(r, b, 0, 0, w, h, Text, 0, 0);
        break;
    case SkinStyle::Button:
        PaintPlate(r, b, state, false);
        break;
    case SkinStyle::Tab:
        PaintPlate(r, b, state, true);
        break;
    case SkinStyle::Flat:
        PaintFlat(r, b, state);
        break;
    case SkinStyle::Lamp:
        PaintLamp(r, b, state);
        break;
    case SkinStyle::Cell:
        PaintCell(r, b, state);
        break;
    case SkinStyle::Track:
        PaintGroove(r, b, false);
        break;
    case SkinStyle::Pass:
        PaintGroove(r, b, true);
        break;
    case SkinStyle::Knob:
        PaintKnob(r, b, state);
        break;
    case SkinStyle::Gauge:
        PaintGauge(r, b, state);
        break;
    case SkinStyle::Activity:
        PaintActivity(r, b, frame);
        break;
    case SkinStyle::Spinner:
        PaintSpinner(r, b, frame);
        break;
    case SkinStyle::Fill:
        r.Fill(0, 0, w, h, AccentOr(b, 0x000000));
        PaintContent(r, b, 0, 0, w, h, TextDim, 0, 0);
        break;
    }
}
