#include "tools/skingen/SkinPainter.h"

#include "tools/skingen/SkinIcons.h"
#include "tools/skingen/SkinPalette.h"

#include <algorithm>

using namespace skin_palette;

void PaintElements(SkinRaster& r, const SkinBitmap& b, int frame) {
    for (const SkinElement& e : b.elements) {
        if (!e.frames.empty() && std::find(e.frames.begin(), e.frames.end(), frame) == e.frames.end())
            continue;
        const std::vector<int>& v = e.values;
        const auto colour = [&e](SkinRgb fallback) { return e.hasColour ? e.colour : fallback; };
        switch (e.kind) {
        case SkinElement::Panel:
            r.Fill(v[0], v[1], v[2], v[3], Panel);
            r.Bevel(v[0], v[1], v[2], v[3], PanelShadow, PanelLight);
            break;
        case SkinElement::Raised:
            r.Ramp(v[0], v[1], v[2], v[3], 0x394048, 0x2C3137);
            r.Bevel(v[0], v[1], v[2], v[3], RimLight, RimDark);
            break;
        case SkinElement::Screen:
            r.Fill(v[0], v[1], v[2], v[3], 0x000000);
            r.Bevel(v[0], v[1], v[2], v[3], PanelShadow, PanelLight);
            break;
        case SkinElement::TitleBar:
            r.Ramp(v[0], v[1], v[2], v[3], 0x3A4048, 0x2E3339);
            r.Fill(v[0], v[1] + v[3] - 1, v[2], 1, Mix(RimDark, colour(Cyan), 0.6));
            r.Text(v[0] + 8, v[1], v[2] - 16, v[3] - 1, e.text, b.fontPx, true, Text, SkinAlign::Left);
            break;
        case SkinElement::Text:
            r.Text(v[0], v[1], v[2], v[3], e.text, b.fontPx, e.bold || b.fontBold, colour(Text), e.align);
            break;
        case SkinElement::Line:
            if (v[1] == v[3]) {
                const int x0 = std::min(v[0], v[2]), len = std::abs(v[2] - v[0]) + 1;
                r.Fill(x0, v[1], len, 1, PanelShadow);
                r.Fill(x0, v[1] + 1, len, 1, PanelLight);
            } else {
                const int y0 = std::min(v[1], v[3]), len = std::abs(v[3] - v[1]) + 1;
                r.Fill(v[0], y0, 1, len, PanelShadow);
                r.Fill(v[0] + 1, y0, 1, len, PanelLight);
            }
            break;
        case SkinElement::Grid: {
            const SkinRgb c = colour(GridLine);
            for (int i = 0; i <= v[4]; ++i)
                r.Fill(v[0] + i * v[2], v[1], 1, v[3] * v[5] + 1, c);
            for (int j = 0; j <= v[5]; ++j)
                r.Fill(v[0], v[1] + j * v[3], v[2] * v[4] + 1, 1, c);
            break;
        }
        case SkinElement::Numbers: {
            const int step = v.size() > 6 ? v[6] : 1;
            for (int i = 0; i < v[4]; ++i)
                r.Text(v[0] + i * v[2], v[1], v[2], v[3], std::to_string(v[5] + i * step), b.fontPx, e.bold,
                       colour(TextDim), SkinAlign::Centre);
            break;
        }
        case SkinElement::IconAt:
            r.Shape(IconShape(e.text).Transformed(v[2] / 16.0, v[0], v[1]), colour(Text));
            break;
        case SkinElement::Fill:
            r.Fill(v[0], v[1], v[2], v[3], e.colour);
            break;
        case SkinElement::LampAt: {
            const double rad = v[2] / 2.0;
            const SkinRgb c = colour(Green);
            r.Shape(SkinShape().Disc(v[0] + rad, v[1] + rad, rad), RimDark);
            r.Shape(SkinShape().Disc(v[0] + rad, v[1] + rad, rad - 1), Lighter(c, 0.2), Darker(c, 0.2), v[1],
                    v[1] + v[2]);
            break;
        }
        }
    }
}

void PaintSkin(const SkinBitmap& b, TBitmap& out) {
    out.SetSize(b.StripWidth(), b.StripHeight());
    SkinRaster raster(out);
    for (int k = 0; k < b.frames; ++k) {
        raster.SetFrame(b.vertical ? 0 : k * b.width, b.vertical ? k * b.height : 0, b.width, b.height);
        const unsigned state =
            k < static_cast<int>(b.states.size()) ? b.states[static_cast<std::size_t>(k)] : 0;
        PaintStyleFrame(raster, b, k, state);
        PaintElements(raster, b, k);
    }
}
