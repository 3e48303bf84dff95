// Colour helpers of TColor32: construction, components, intensity, HSL, platform palettes and the gamma
// table.
#pragma once

#include "bitmap32/Bmp32_Types.h"
#include "platform/vcl/Colors.h"
#include "platform/vcl/Palette.h"

#include <initializer_list>

namespace Bmp32 {

// A platform colour $00BBGGRR; negative values name a system colour by their low byte.
using TWinColor = TColor;

TColor32 Color32(TWinColor WinColor);
inline constexpr TColor32 Color32(std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A = 0xFF) {
    return (TColor32{A} << 24) | (TColor32{R} << 16) | (TColor32{G} << 8) | B;
}
TColor32 Color32(std::uint8_t Index, const TColor32 (&Palette)[256]);
inline constexpr TColor32 Gray32(std::uint8_t Intensity, std::uint8_t Alpha = 0xFF) {
    return (TColor32{Alpha} << 24) | (TColor32{Intensity} * 0x010101u);
}
inline constexpr TWinColor WinColor(TColor32 Color32) {
    return static_cast<TWinColor>(((Color32 >> 16) & 0xFF) | (Color32 & 0xFF00) | ((Color32 & 0xFF) << 16));
}
TArrayOfColor32 ArrayOfColor32(std::initializer_list<TColor32> Colors);
// A platform logical palette of the 256 colours, alpha dropped; the caller deletes it (DeleteObject).
HPALETTE WinPalette(const TColor32 (&Palette)[256]);

inline void Color32ToRGB(TColor32 Color32, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
    R = (Color32 >> 16) & 0xFF;
    G = (Color32 >> 8) & 0xFF;
    B = Color32 & 0xFF;
}
inline void Color32ToRGBA(TColor32 Color32, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B,
                          std::uint8_t& A) {
    Color32ToRGB(Color32, R, G, B);
    A = Color32 >> 24;
}
inline constexpr int RedComponent(TColor32 Color32) {
    return (Color32 >> 16) & 0xFF;
}
inline constexpr int GreenComponent(TColor32 Color32) {
    return (Color32 >> 8) & 0xFF;
}
inline constexpr int BlueComponent(TColor32 Color32) {
    return Color32 & 0xFF;
}
inline constexpr int AlphaComponent(TColor32 Color32) {
    return Color32 >> 24;
}
inline constexpr int Intensity(TColor32 Color32) {
    return static_cast<int>(
        (RedComponent(Color32) * 61 + GreenComponent(Color32) * 174 + BlueComponent(Color32) * 21) >> 8);
}
inline constexpr TColor32 SetAlpha(TColor32 Color32, int NewAlpha) {
    NewAlpha = NewAlpha < 0 ? 0 : (NewAlpha > 255 ? 255 : NewAlpha);
    return (Color32 & 0x00FFFFFFu) | (static_cast<TColor32>(NewAlpha) << 24);
}

// Float HSL in 0..1 (alpha 255).
TColor32 HSLtoRGB(float H, float S, float L);
void RGBtoHSL(TColor32 RGB, float& H, float& S, float& L);
// Integer HSL in 0..255. HSLtoRGB gives alpha 0 in this variant.
TColor32 HSLtoRGB(int H, int S, int L);
void RGBtoHSL(TColor32 RGB, std::uint8_t& H, std::uint8_t& S, std::uint8_t& L);

// GAMMA_TABLE[i] = round(255 * (i / 255) ^ Gamma); 0.7 at start-up.
extern std::uint8_t GAMMA_TABLE[256];
void SetGamma(float Gamma = 0.7f);

} // namespace Bmp32
