// Device contexts and drawing objects with the platform's GDI calls: what the bitmap library and the
// canvas draw and blit through.
//
// A device context (HDC) draws on one of three targets:
// - pixel memory: a memory context (CreateCompatibleDC) with a bitmap selected into it. A bitmap is
//   either made by CreateDIBSection (memory owned by the bitmap) or wraps memory the caller owns
//   (CreateBitmapOnBits, CreateMemoryDC): 32-bit pixels $AARRGGBB (bytes B, G, R, A), top row first,
//   rows of exactly Width pixels. Nothing is copied: drawing writes straight into that memory and the
//   caller sees every change at once. Drawing calls leave every pixel they do not draw alone; fills,
//   lines and text without antialiasing write the colour with alpha 255; blits between memory
//   contexts copy all four bytes.
// - a paint in progress on a control or a page (platform-internal, see GraphicsQt.h);
// - nothing: a memory context without a bitmap has a 1 x 1 surface, as the platform's does.
//
// Handles are checked: a call with a handle that was never made or is already deleted fails (FALSE,
// 0 or nullptr) instead of touching freed memory. A font stays usable by every context it is selected
// into even after DeleteObject; it is released with the last of them.
//
// Text is UTF-8. Coordinates are device pixels; TRect right and bottom are excluded.
// A context is used by one thread at a time; different contexts may be used on different threads.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>

struct HDC__;
using HDC = HDC__*;
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HPEN = HGDIOBJ;
using HPALETTE = HGDIOBJ;
using HRGN = HGDIOBJ;

// $00BBGGRR, the colour value of the GDI calls (same layout as TColor).
using COLORREF = DWORD;
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// Raster operations of BitBlt, StretchBlt, StretchDIBits and PatBlt.
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stretch modes: COLORONCOLOR picks the nearest source pixel, HALFTONE averages.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// ExtTextOut options.
inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats.
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_EXPANDTABS = 0x0040;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_CALCRECT = 0x0400;
inline constexpr UINT DT_NOPREFIX = 0x0800;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int OEM_FIXED_FONT = 10;
inline constexpr int ANSI_FIXED_FONT = 11;
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Font description.
inline constexpr int LF_FACESIZE = 32;
inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE DRAFT_QUALITY = 1;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr BYTE NONANTIALIASED_QUALITY = 3;
inline constexpr BYTE ANTIALIASED_QUALITY = 4;
inline constexpr BYTE DEFAULT_PITCH = 0;
inline constexpr BYTE FIXED_PITCH = 1;
inline constexpr BYTE VARIABLE_PITCH = 2;
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SYMBOL_CHARSET = 2;
inline constexpr BYTE SHIFTJIS_CHARSET = 128;
inline constexpr BYTE HANGEUL_CHARSET = 129;
inline constexpr BYTE GB2312_CHARSET = 134;
inline constexpr BYTE CHINESEBIG5_CHARSET = 136;
inline constexpr BYTE OEM_CHARSET = 255;

// lfHeight < 0: the character height in pixels; > 0: the cell height (ascent + descent); 0: default.
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    char lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTA = LOGFONT;

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};

struct TEXTMETRIC {
    LONG tmHeight = 0; // ascent + descent
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
};

// Bitmap descriptions of CreateDIBSection and StretchDIBits: only 32 bits per pixel, BI_RGB.
inline constexpr DWORD BI_RGB = 0;
inline constexpr UINT DIB_RGB_COLORS = 0;
struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0; // negative: top row first
    WORD biPlanes = 1;
    WORD biBitCount = 32;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// GetDeviceCaps indexes.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// Contexts. CreateCompatibleDC ignores its argument: every memory context is 32 bits per pixel.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);
// A memory context with caller-owned pixels already selected (CreateBitmapOnBits + SelectObject);
// DeleteDC also deletes that bitmap, never the memory.
HDC CreateMemoryDC(void* bits, int width, int height);
// The pixels and size of what a context draws on: memory contexts give their bitmap, others nullptr.
void* GetDCBits(HDC dc, int* width, int* height);

// Bitmaps. CreateDIBSection accepts a top-down (negative height) 32-bit BI_RGB description, fills
// *bits with zeroed pixel memory that lives until DeleteObject, and returns nullptr otherwise.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// Wraps width x height pixels at `bits` that the caller owns and keeps alive until DeleteObject.
HBITMAP CreateBitmapOnBits(void* bits, int width, int height);

// Objects. SelectObject returns the object it replaced (the stock one at first), nullptr on failure.
// Deleting a bitmap that is selected into a context fails, as it does on the platform.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
inline constexpr UINT OBJ_PEN = 1;
inline constexpr UINT OBJ_BRUSH = 2;
inline constexpr UINT OBJ_FONT = 6;
inline constexpr UINT OBJ_BITMAP = 7;
HFONT CreateFontIndirect(const LOGFONT* font);
// Fills *font from a font object; returns the bytes written or 0.
int GetObject(HGDIOBJ object, int size, void* buffer);
HBRUSH CreateSolidBrush(COLORREF colour);
HPEN CreatePen(int style, int width, COLORREF colour);
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;

// Text state and output. (x, y) is the top-left corner of the text cell.
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
BOOL TextOut(HDC dc, int x, int y, const char* text, int length);
// ETO_CLIPPED clips to *rect, ETO_OPAQUE fills *rect with the background colour first; `dx` (per-
// character advances) is accepted and ignored.
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const char* text, UINT length,
                const INT* dx);
// Returns the height of the text drawn; with DT_CALCRECT measures only and updates *rect.
int DrawText(HDC dc, const char* text, int length, TRect* rect, UINT format);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

// Blits. Source and destination rectangles are clipped to their surfaces; a stretch with a negative
// width or height mirrors. Pixel memory to pixel memory copies bytes; anything drawn to a paint goes
// through the painter.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
// Draws from pixel memory described by `info` (32 bits, either row order). Returns the rows drawn.
int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
BOOL DrawFocusRect(HDC dc, const TRect* rect);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// CLR_INVALID outside the surface or on contexts that cannot be read back.
COLORREF GetPixel(HDC dc, int x, int y);
// Outstanding drawing is always finished when a call returns; kept for callers that flush.
BOOL GdiFlush();

// Clipping: the clip box is the surface intersected with every IntersectClipRect since the last
// SelectClipRgn(dc, nullptr). Return values: NULLREGION 1, SIMPLEREGION 2, ERROR 0.
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
int GetClipBox(HDC dc, TRect* rect);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC dc, HRGN region);

int GetDeviceCaps(HDC dc, int index);

// Palettes do not exist on a 32-bit surface; kept so that callers that realise one still work.
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
