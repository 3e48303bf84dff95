// The icons of the skins, drawn in a 16 x 16 box.
#pragma once

#include "tools/skingen/SkinRaster.h"

#include <string_view>

// An empty shape for an unknown name (the parser refuses those first).
SkinShape IconShape(std::string_view name);
// A seven-segment digit (0..9) in the box; stroke is the bar thickness.
SkinShape DigitShape(int digit, double x0, double y0, double x1, double y1, double stroke);
// Whether an icon of that name exists.
bool IsKnownIcon(std::string_view name);
