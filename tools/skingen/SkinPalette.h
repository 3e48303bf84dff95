// The colours of the one look every window shares: a dark, quiet instrument panel.
#pragma once

#include "tools/skingen/SkinModel.h"

namespace skin_palette {
inline constexpr SkinRgb FaceTop = 0x30353C;
inline constexpr SkinRgb FaceBottom = 0x24282D;
inline constexpr SkinRgb Face = 0x2A2E33;
inline constexpr SkinRgb RimLight = 0x454C55;
inline constexpr SkinRgb RimDark = 0x0E1012;
inline constexpr SkinRgb Panel = 0x181B1F;
inline constexpr SkinRgb PanelShadow = 0x0B0C0E;
inline constexpr SkinRgb PanelLight = 0x3A4047;
inline constexpr SkinRgb Text = 0xCDD2D8;
inline constexpr SkinRgb TextDim = 0x8A929B;
inline constexpr SkinRgb TextOff = 0x555B62;
inline constexpr SkinRgb GridLine = 0x3A4047;
inline constexpr SkinRgb Cyan = 0x4FB3D9;
inline constexpr SkinRgb Green = 0x4CC46A;
inline constexpr SkinRgb Red = 0xD9453B;
inline constexpr SkinRgb Amber = 0xE8A33A;
inline constexpr SkinRgb White = 0xE6EAEE;
} // namespace skin_palette
