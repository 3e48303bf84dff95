// Logical palettes: a table of colours as a drawing object. Every surface here is 32 bits per pixel,
// so a palette changes no colour where it is selected; it keeps its table for whoever reads it back.
//     LOGPALETTE log;                       // version $300
//     log.palNumEntries = 2;
//     log.palPalEntry[1] = {255, 0, 0, 0};  // red, green, blue, flags
//     HPALETTE palette = CreatePalette(&log);
//     ...
//     DeleteObject(palette);
#pragma once

#include "platform/vcl/DeviceContext.h"

inline constexpr UINT OBJ_PAL = 5;

struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
};

// Room for the 256 colours an 8-bit picture can index; palNumEntries of them are used.
struct LOGPALETTE {
    WORD palVersion = 0x300;
    WORD palNumEntries = 0;
    PALETTEENTRY palPalEntry[256];
};

// nullptr for a version other than $300 or a count outside 1..256.
HPALETTE CreatePalette(const LOGPALETTE* palette);
// Copies the entries from `start` on, at most `count` of them, and returns how many it copied; with
// no `entries`, returns the palette's size. 0 for anything that is not a live palette.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
