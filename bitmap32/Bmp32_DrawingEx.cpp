#include "bitmap32/Bmp32_DrawingEx.h"

#include "bitmap32/Bmp32_Math.h"

namespace Bmp32_DrawingEx {

namespace {

int OutCode(int X, int Y, int MinX, int MinY, int MaxX, int MaxY) {
    int code = 0;
    if (X < MinX)
        code = 1;
    else if (X > MaxX)
        code = 2;
    if (Y < MinY)
        code |= 4;
    else if (Y > MaxY)
        code |= 8;
    return code;
}

int XCode(int X, int MinX, int MaxX) {
    return X < MinX ? 1 : (X > MaxX ? 2 : 0);
}

// Two's-complement arithmetic as the 32-bit registers do it, without overflow traps.
int Sub(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}
int Add(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}

} // namespace

bool ClipLine(int& X1, int& Y1, int& X2, int& Y2, int MinX, int MinY, int MaxX, int MaxY) {
    int c1 = OutCode(X1, Y1, MinX, MinY, MaxX, MaxY);
    int c2 = OutCode(X2, Y2, MinX, MinY, MaxX, MaxY);
    if (c1 & c2) return false;
    if ((c1 | c2) == 0) return true;

    if (c1 & 12) {
        int y = c1 < 8 ? MinY : MaxY;
        X1 = Add(X1, MulDiv(Sub(y, Y1), Sub(X2, X1), Sub(Y2, Y1)));
        Y1 = y;
        c1 = XCode(X1, MinX, MaxX);
    }
    if (c2 & 12) {
        int y = c2 < 8 ? MinY : MaxY;
        X2 = Add(X2, MulDiv(Sub(y, Y2), Sub(X2, X1), Sub(Y2, Y1)));
        Y2 = y;
        c2 = XCode(X2, MinX, MaxX);
    }

    if ((c1 & c2) == 0 && (c1 | c2) != 0) {
        if (c1 != 0) {
            int x = c1 == 1 ? MinX : MaxX;
            Y1 = Add(Y1, MulDiv(Sub(x, X1), Sub(Y2, Y1), Sub(X2, X1)));
            X1 = x;
            c1 = 0;
        }
        if (c2 != 0) {
            int x = c2 == 1 ? MinX : MaxX;
            Y2 = Add(Y2, MulDiv(Sub(x, X2), Sub(Y2, Y1), Sub(X2, X1)));
            X2 = x;
            c2 = 0;
        }
    }
    return (c1 | c2) == 0;
}

} // namespace Bmp32_DrawingEx
