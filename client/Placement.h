// Where the client's windows and boxes go: centred on a rectangle (usually the main window's), never
// left of or above the screen's origin, and pulled back inside the desktop work area on the right and
// at the bottom.
#pragma once

#include "platform/core/Types.h"

class TForm;

// Top-left corner for a window of width x height centred on the area of areaWidth x areaHeight whose
// top-left corner is (areaLeft, areaTop). Halves round toward zero.
TPoint CentredPlacement(int areaLeft, int areaTop, int areaWidth, int areaHeight, int width, int height,
                        const TRect& workArea);

// Moves the form (keeping its size) centred on the main window's rectangle and client size and makes it
// topmost. width and height are the size to centre (the callers pass the form's own or its client's).
void PlaceOnMainWindow(TForm* form, int width, int height);
// The same centred on a rectangle the caller gives.
void PlaceOnArea(TForm* form, int areaLeft, int areaTop, int areaWidth, int areaHeight, int width,
                 int height);
