// Text on TBitmap32 through the platform's font engine: measuring, plain output, and antialiased
// output blended with the bitmap's combine mode.
#include "bitmap32/Bmp32.h"

#include "platform/vcl/Colors.h"

namespace Bmp32 {

namespace {

std::string Utf8(const std::u16string& Text) {
    std::string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        char32_t c = Text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 &&
            Text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (Text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // an unpaired surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The 8 x 8 bitmap whose canvas measures text for bitmaps without a context of their own. It lives
// until the process ends, so it never outlives the font engine's teardown order.
TBitmap& StockBitmap() {
    static TBitmap* bitmap = new TBitmap(8, 8);
    return *bitmap;
}

// Builds the font's handle again from its description with another quality.
void RebuildFont(TFont& Font, BYTE Quality) {
    LOGFONT lf = Font.LogFont();
    lf.lfQuality = Quality;
    HFONT handle = CreateFontIndirect(&lf);
    Font.SetHandle(handle);
    DeleteObject(handle);
}

} // namespace

SIZE TBitmap32::TextExtent(const std::string& Text) {
    SIZE size;
    const int length = static_cast<int>(Text.size());
    if (FHDC) {
        UpdateFont();
        GetTextExtentPoint32(FHDC, Text.data(), length, &size);
        return size;
    }
    TCanvas* canvas = StockBitmap().Canvas();
    canvas->Lock();
    ::HDC dc = canvas->Handle();
    HGDIOBJ previous = SelectObject(dc, FFont->Handle());
    GetTextExtentPoint32(dc, Text.data(), length, &size);
    if (previous) SelectObject(dc, previous);
    canvas->Unlock();
    return size;
}

void TBitmap32::Textout(int X, int Y, const std::string& Text) {
    UpdateFont();
    if (!FMeasuringMode) {
        if (FClipping)
            ExtTextOut(FHDC, X, Y, ETO_CLIPPED, &FClipRect, Text.data(), static_cast<UINT>(Text.size()),
                       nullptr);
        else
            ExtTextOut(FHDC, X, Y, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()), nullptr);
    }
    const SIZE extent = TextExtent(Text);
    Changed(TRect{X, Y, X + extent.cx + 1, Y + extent.cy + 1}, AREAINFO_RECT);
}

void TBitmap32::Textout(int X, int Y, const TRect& ClipRect, const std::string& Text) {
    UpdateFont();
    if (!FMeasuringMode)
        ExtTextOut(FHDC, X, Y, ETO_CLIPPED, &ClipRect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
    const SIZE extent = TextExtent(Text);
    Changed(TRect{X, Y, X + extent.cx + 1, Y + extent.cy + 1}, AREAINFO_RECT);
}

void TBitmap32::Textout(const TRect& DstRect, UINT Flags, const std::string& Text) {
    UpdateFont();
    // The call may update the rectangle it is given: the area reported is the one it leaves.
    TRect r = DstRect;
    if (!FMeasuringMode) DrawText(FHDC, Text.data(), static_cast<int>(Text.size()), &r, Flags);
    Changed(r, AREAINFO_RECT);
}

void TBitmap32::RenderText(int X, int Y, const std::string& Text, int AALevel, TColor32 Color) {
    if (Empty()) return;
    const TColor32 alpha = Color >> 24, rgb = Color & 0x00FFFFFFu;
    AALevel = Constrain(AALevel, -1, 4);
    const std::string text = Text + " ";
    RebuildFont(*FFont, AALevel == -1 ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY);

    TBitmap32 glyph;
    if (AALevel <= 0) {
        const SIZE extent = TextExtent(text);
        glyph.SetSize(extent.cx, extent.cy);
        glyph.SetFont(FFont.get());
        glyph.Clear(0);
        glyph.Font()->SetColor(clWhite);
        glyph.Textout(0, 0, text);
        if (!glyph.Empty()) {
            TColor32* p = glyph.Bits();
            const std::size_t count = static_cast<std::size_t>(glyph.Width()) * glyph.Height();
            // The blue channel of the white text becomes the alpha of the colour.
            for (std::size_t i = 0; i < count; ++i)
                if (p[i] != 0) p[i] = (p[i] << 24) + rgb;
        }
    } else {
        const int s = AALevel;
        TCanvas* canvas = StockBitmap().Canvas();
        canvas->Lock();
        canvas->Font()->Assign(FFont.get());
        canvas->Font()->SetHeight(FFont->Height() << s);
        SIZE extent = canvas->TextExtent(text);
        extent.cx = ((extent.cx >> s) + 1) << s;
        extent.cy = ((extent.cy >> s) + 1) << s;
        TBitmap32 large;
        large.SetSize(extent.cx, extent.cy);
        large.Clear(0);
        large.SetFont(canvas->Font());
        large.Font()->SetColor(clWhite);
        large.Textout(0, 0, text);
        glyph.SetSize(extent.cx >> s, extent.cy >> s);
        const int block = 1 << s;
        for (int y = 0; y < glyph.Height(); ++y)
            for (int x = 0; x < glyph.Width(); ++x) {
                unsigned sum = 0;
                for (int j = 0; j < block; ++j) {
                    const TColor32* row = large.GetPixelPtr(x * block, y * block + j);
                    for (int i = 0; i < block; ++i)
                        sum += row[i] & 0xFF;
                }
                glyph.SetPixel(x, y, ((sum >> (2 * s)) << 24) + rgb);
            }
        canvas->Unlock();
    }
    glyph.SetDrawMode(dmBlend);
    glyph.SetMasterAlpha(alpha);
    glyph.SetCombineMode(FCombineMode);
    glyph.DrawTo(this, X, Y);
    RebuildFont(*FFont, DEFAULT_QUALITY);
}

SIZE TBitmap32::TextExtentW(const std::u16string& Text) {
    return TextExtent(Utf8(Text));
}

void TBitmap32::TextoutW(int X, int Y, const std::u16string& Text) {
    Textout(X, Y, Utf8(Text));
}

void TBitmap32::TextoutW(int X, int Y, const TRect& ClipRect, const std::u16string& Text) {
    Textout(X, Y, ClipRect, Utf8(Text));
}

void TBitmap32::TextoutW(const TRect& DstRect, UINT Flags, const std::u16string& Text) {
    Textout(DstRect, Flags, Utf8(Text));
}

void TBitmap32::RenderTextW(int X, int Y, const std::u16string& Text, int AALevel, TColor32 Color) {
    RenderText(X, Y, Utf8(Text), AALevel, Color);
}

} // namespace Bmp32
