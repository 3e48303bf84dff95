// The program's icon: filled shapes on a 256 x 256 canvas, read from a text description and drawn
// into the icon theme's sizes as PNG with transparency, and as SVG from the same shapes.
//
//     # a comment
//     box     FILL X Y W H RADIUS
//     disc    FILL CX CY R
//     ring    FILL CX CY INNER OUTER
//     segment FILL X0 Y0 X1 Y1 WIDTH     (round ends)
//     polygon FILL X1 Y1 X2 Y2 X3 Y3 ...
//
// FILL is #RRGGBB or #RRGGBBAA, or two of them joined by '/' for a grade from the shape's top to its
// bottom. Shapes are drawn in order, each over the ones before.
#pragma once

#include "tools/skingen/SkinRaster.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kIconCanvas = 256;
// The hicolor theme's sizes the build draws.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct IconLayer {
    std::string kind;
    std::vector<double> values;
    std::uint32_t top = 0; // $AARRGGBB
    std::uint32_t bottom = 0;
    SkinShape shape;
};

// Errors raise ESkinError with "file:line: what".
std::vector<IconLayer> ParseIconText(std::string_view text, const std::string& fileName);
std::vector<IconLayer> ParseIconFile(const std::string& fileName);

// The icon at size x size pixels, row by row, as $AARRGGBB (not premultiplied).
std::vector<std::uint32_t> PaintIcon(const std::vector<IconLayer>& layers, int size);
std::string IconSvg(const std::vector<IconLayer>& layers);

// Writes OUTDIR/hicolor/NxN/apps/NAME.png for every size and OUTDIR/hicolor/scalable/apps/NAME.svg, NAME
// being the description's file name without its extension. Nothing is written when it is wrong.
void WriteIconTheme(const std::string& description, const std::string& outDir);
