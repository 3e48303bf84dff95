#include "platform/vcl/Colors.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <iterator>

namespace {

// A light desktop scheme; the button face matches the skins' background.
constexpr DWORD SystemColours[] = {
    0xC8D0D4, // scroll bar
    0x984E00, // desktop
    0xE35400, // active caption
    0xDF967A, // inactive caption
    0xFFFFFF, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC8D0D4, // active border
    0xC8D0D4, // inactive border
    0x808080, // application workspace
    0xC56A31, // highlight
    0xFFFFFF, // highlight text
    0xD8E9EC, // button face
    0x99A8AC, // button shadow
    0x99A8AC, // grey text
    0x000000, // button text
    0xF8E4D8, // inactive caption text
    0xFFFFFF, // button highlight
    0x646F71, // 3D dark shadow
    0xE2EFF1, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
    0x000000, // (unused)
    0x800000, // hot-tracked item
    0xFF953D, // active caption gradient
    0xEBB99D, // inactive caption gradient
    0xC56A31, // menu highlight
    0xD8E9EC, // menu bar
};

struct TColorName {
    TColor value;
    const char* name;
};

constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

} // namespace

DWORD GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(SystemColours))) return 0;
    return SystemColours[index];
}

TColor ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault) return clBlack;
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) == 0xFF000000u)
        return static_cast<TColor>(GetSysColor(color & 0xFF));
    return color & 0xFFFFFF;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const TColorName& c : ColorNames)
        if (SameText(ident, c.name)) {
            color = c.value;
            return true;
        }
    return false;
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const TColorName& c : ColorNames)
        if (c.value == color) {
            ident = c.name;
            return true;
        }
    return false;
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (IdentToColor(Trim(text), color)) return color;
    const std::int64_t value = StrToInt64(text);
    if (value < INT32_MIN || value > static_cast<std::int64_t>(UINT32_MAX))
        throw EConvertError("'" + std::string(text) + "' is not a valid colour value");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    return "$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}
