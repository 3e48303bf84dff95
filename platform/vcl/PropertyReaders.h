// Readers of the property kinds that many classes share: colours, fonts, cursors and the names that
// form definitions carry for the designer only.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/FormReader.h"

// A colour: a name (clBtnFace) or a number.
TColor ReadColorValue(const TPropertyReader& reader);
// A cursor: a name (crHandPoint) or a number.
TCursor ReadCursorValue(const TPropertyReader& reader);
// "Font.Name" and the other Font.* properties, with prefix the part before the sub-name ("Font.").
// False when the name does not start with prefix.
bool ReadFontProperty(TFont* font, const std::string& prefix, TPropertyReader& reader);
TAlignment ReadAlignmentValue(const TPropertyReader& reader);
// Names the designer writes that have no effect at run time (ExplicitLeft, DesignSize, ...).
bool IsDesignOnlyProperty(const TPropertyReader& reader);

bool IdentToCursor(std::string_view ident, TCursor& cursor);
