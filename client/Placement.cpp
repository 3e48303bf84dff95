#include "client/Placement.h"

TPoint CentredPlacement(int areaLeft, int areaTop, int areaWidth, int areaHeight, int width, int height,
                        const TRect& workArea) {
    int x = areaLeft + (areaWidth - width) / 2;
    int y = areaTop + (areaHeight - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x + width > workArea.Right) x = workArea.Right - width;
    if (y + height > workArea.Bottom) y = workArea.Bottom - height;
    return Point(x, y);
}
