// Line clipping shared by the line routines.
#pragma once

namespace Bmp32_DrawingEx {

// Cohen-Sutherland against the inclusive bounds MinX..MaxX, MinY..MaxY, one pass per axis. Moves the
// ends onto the edges; false when no part of the line lies inside.
bool ClipLine(int& X1, int& Y1, int& X2, int& Y2, int MinX, int MinY, int MaxX, int MaxY);

} // namespace Bmp32_DrawingEx

using namespace Bmp32_DrawingEx;
