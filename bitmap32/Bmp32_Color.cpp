#include "bitmap32/Bmp32_Color.h"

#include "platform/vcl/Colors.h"

#include <cmath>

namespace Bmp32 {

namespace {

int RoundByte(float v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

TColor32 Color32(TWinColor WinColor) {
    if (WinColor < 0) WinColor = static_cast<TWinColor>(GetSysColor(WinColor & 0xFF));
    return ColorSwap(static_cast<std::uint32_t>(WinColor));
}

TColor32 Color32(std::uint8_t Index, const TColor32 (&Palette)[256]) {
    return Palette[Index];
}

TArrayOfColor32 ArrayOfColor32(std::initializer_list<TColor32> Colors) {
    return TArrayOfColor32(Colors);
}

HPALETTE WinPalette(const TColor32 (&Palette)[256]) {
    LOGPALETTE log;
    log.palVersion = 0x300;
    log.palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        const TColor32 c = Palette[i];
        log.palPalEntry[i] =
            PALETTEENTRY{static_cast<BYTE>(RedComponent(c)), static_cast<BYTE>(GreenComponent(c)),
                         static_cast<BYTE>(BlueComponent(c)), 0};
    }
    return CreatePalette(&log);
}

TColor32 HSLtoRGB(float H, float S, float L) {
    if (S == 0) {
        int v = RoundByte(255 * L);
        return Color32(v, v, v, 255);
    }
    const float m2 = L <= 0.5f ? L * (1 + S) : L + S - L * S;
    const float m1 = 2 * L - m2;
    auto hue = [m1, m2](float x) {
        x -= std::floor(x);
        float v;
        if (6 * x < 1)
            v = m1 + (m2 - m1) * x * 6;
        else if (2 * x < 1)
            v = m2;
        else if (3 * x < 2)
            v = m1 + (m2 - m1) * (2.0f / 3 - x) * 6;
        else
            v = m1;
        return static_cast<std::uint8_t>(RoundByte(255 * v));
    };
    return Color32(hue(H + 1.0f / 3), hue(H), hue(H - 1.0f / 3), 255);
}

void RGBtoHSL(TColor32 RGB, float& H, float& S, float& L) {
    const float r = RedComponent(RGB) / 255.0f;
    const float g = GreenComponent(RGB) / 255.0f;
    const float b = BlueComponent(RGB) / 255.0f;
    const float mx = std::max(r, std::max(g, b));
    const float mn = std::min(r, std::min(g, b));
    L = (mx + mn) / 2;
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    const float d = mx - mn;
    S = L < 0.5f ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
        H = (g - b) / d;
    else if (g == mx)
        H = 2 + (b - r) / d;
    else
        H = 4 + (r - g) / d;
    H /= 6;
    if (H < 0) H += 1;
}

TColor32 HSLtoRGB(int H, int S, int L) {
    int v = L <= 127 ? (L * (S + 256)) >> 8 : L + S - (L * S) / 255;
    if (v <= 0) return Color32(0, 0, 0, 0);
    const int m = 2 * L - v;
    const int h6 = H * 6;
    const int sextant = h6 >> 8;
    const int fraction = h6 & 255;
    const int vsf = ((v - m) * fraction) >> 8;
    const int mid1 = m + vsf;
    const int mid2 = v - vsf;
    int r, g, b;
    switch (sextant) {
    case 0:
        r = v;
        g = mid1;
        b = m;
        break;
    case 1:
        r = mid2;
        g = v;
        b = m;
        break;
    case 2:
        r = m;
        g = v;
        b = mid1;
        break;
    case 3:
        r = m;
        g = mid2;
        b = v;
        break;
    case 4:
        r = mid1;
        g = m;
        b = v;
        break;
    case 5:
        r = v;
        g = m;
        b = mid2;
        break;
    default:
        r = g = b = 0;
        break;
    }
    return Color32(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b),
                   0);
}

void RGBtoHSL(TColor32 RGB, std::uint8_t& H, std::uint8_t& S, std::uint8_t& L) {
    const int r = RedComponent(RGB), g = GreenComponent(RGB), b = BlueComponent(RGB);
    const int mx = std::max(r, std::max(g, b));
    const int mn = std::min(r, std::min(g, b));
    L = static_cast<std::uint8_t>((mx + mn) / 2);
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    int d = mx + mn;
    if (L > 127) d = 510 - mx - mn;
    S = static_cast<std::uint8_t>((mx - mn) * 255 / d);
    const int delta = (mx - mn) * 1530;
    int h;
    if (r == mx)
        h = (g - b) * 65025 / delta;
    else if (g == mx)
        h = (b - r) * 65025 / delta + 85;
    else
        h = (r - g) * 65025 / delta + 170;
    // One turn of this hue circle is 255 units.
    if (h < 0) h += 255;
    H = static_cast<std::uint8_t>(h);
}

std::uint8_t GAMMA_TABLE[256];

void SetGamma(float Gamma) {
    for (int i = 0; i < 256; ++i)
        GAMMA_TABLE[i] = static_cast<std::uint8_t>(
            std::nearbyint(255.0 * std::pow(i / 255.0, static_cast<double>(Gamma))));
}

namespace {
struct StartUp {
    StartUp() { SetGamma(0.7f); }
} startUp;
} // namespace

} // namespace Bmp32
