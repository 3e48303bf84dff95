#include "platform/vcl/PropertyReaders.h"

#include "platform/core/StrUtils.h"

#include <utility>

namespace {

const std::pair<const char*, TCursor> kCursors[] = {
    {"crDefault", crDefault},     {"crNone", crNone},
    {"crArrow", crArrow},         {"crCross", crCross},
    {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
    {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},
    {"crSizeWE", crSizeWE},       {"crUpArrow", crUpArrow},
    {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
    {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},
    {"crVSplit", crVSplit},       {"crNo", crNo},
    {"crAppStart", crAppStart},   {"crHelp", crHelp},
    {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll},
    {"crSize", crSizeAll},
};

const std::pair<const char*, int> kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

const char* const kDesignOnly[] = {
    "ExplicitLeft",
    "ExplicitTop",
    "ExplicitWidth",
    "ExplicitHeight",
    "DesignSize",
    "HelpContext",
    "HelpKeyword",
    "HelpType",
    "DragCursor",
    "DragKind",
    "DragMode",
    "ParentBiDiMode",
    "BiDiMode",
    "Ctl3D",
    "ParentCtl3D",
    "ImeMode",
    "ImeName",
    "PixelsPerInch",
    "TextHeight",
    "OldCreateOrder",
    "Scaled",
    "DockSite",
    "UseDockManager",
    "ParentBackground",
    "ParentDoubleBuffered",
    "DoubleBuffered",
    "Touch.InteractiveGestures",
    "Touch.InteractiveGestureOptions",
    "Touch.ParentTabletOptions",
    "Touch.TabletOptions",
};

} // namespace

bool IdentToCursor(std::string_view ident, TCursor& cursor) {
    for (const auto& [name, value] : kCursors)
        if (SameText(ident, name)) {
            cursor = value;
            return true;
        }
    return false;
}

TColor ReadColorValue(const TPropertyReader& reader) {
    if (reader.Value().kind == TDfmValue::Ident) {
        TColor color = clBlack;
        if (!IdentToColor(reader.Ident(), color)) reader.Fail("'" + reader.Ident() + "' is not a colour");
        return color;
    }
    return static_cast<TColor>(reader.Integer());
}

TCursor ReadCursorValue(const TPropertyReader& reader) {
    if (reader.Value().kind == TDfmValue::Ident) {
        TCursor cursor = crDefault;
        if (!IdentToCursor(reader.Ident(), cursor)) reader.Fail("'" + reader.Ident() + "' is not a cursor");
        return cursor;
    }
    return reader.Integer();
}

TAlignment ReadAlignmentValue(const TPropertyReader& reader) {
    return reader.Enum<TAlignment>(
        {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}});
}

bool ReadFontProperty(TFont* font, const std::string& prefix, TPropertyReader& reader) {
    std::string sub;
    if (!reader.HasPrefix(prefix, &sub)) return false;
    if (SameText(sub, "Name")) {
        font->SetName(reader.String());
    } else if (SameText(sub, "Height")) {
        font->SetHeight(reader.Integer());
    } else if (SameText(sub, "Size")) {
        font->SetSize(reader.Integer());
    } else if (SameText(sub, "Color")) {
        font->SetColor(ReadColorValue(reader));
    } else if (SameText(sub, "Style")) {
        TFontStyles styles;
        for (const std::string& ident : reader.SetIdents()) {
            if (SameText(ident, "fsBold"))
                styles << fsBold;
            else if (SameText(ident, "fsItalic"))
                styles << fsItalic;
            else if (SameText(ident, "fsUnderline"))
                styles << fsUnderline;
            else if (SameText(ident, "fsStrikeOut"))
                styles << fsStrikeOut;
            else
                reader.Fail("'" + ident + "' is not a font style");
        }
        font->SetStyle(styles);
    } else if (SameText(sub, "Charset")) {
        if (reader.Value().kind == TDfmValue::Ident) {
            const std::string ident = reader.Ident();
            bool found = false;
            for (const auto& [name, value] : kCharsets)
                if (SameText(ident, name)) {
                    font->SetCharset(static_cast<TFontCharset>(value));
                    found = true;
                }
            if (!found) reader.Fail("'" + ident + "' is not a character set");
        } else {
            const int value = reader.Integer();
            if (value < 0 || value > 255) reader.Fail("character set out of range");
            font->SetCharset(static_cast<TFontCharset>(value));
        }
    } else if (SameText(sub, "Pitch")) {
        font->SetPitch(reader.Enum<TFontPitch>(
            {{"fpDefault", fpDefault}, {"fpVariable", fpVariable}, {"fpFixed", fpFixed}}));
    } else {
        reader.Fail("unknown font property");
    }
    return true;
}

bool IsDesignOnlyProperty(const TPropertyReader& reader) {
    for (const char* name : kDesignOnly)
        if (reader.Is(name)) return true;
    return false;
}
