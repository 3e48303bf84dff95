// Which installed font family draws a font the system asks for by name. The system's windows ask
// for faces of another desktop ("MS PGothic", "Gulim", "Arial", "MS Sans Serif", ...); each maps to
// the first installed family of a list of look-alikes, found through fontconfig, and to DejaVu Sans
// (DejaVu Sans Mono for fixed-pitch requests) when none of them is installed. Names that are
// installed themselves are used as they are. Thread-safe; results are cached.
#pragma once

#include "platform/core/Types.h"

#include <string>

// charset: the LOGFONT character set; SHIFTJIS_CHARSET and HANGEUL_CHARSET prefer families that
// cover Japanese or Korean when the name itself is unknown.
std::string MapFontFamily(const std::string& requested, BYTE charset = 1, bool fixedPitch = false);

// Whether fontconfig knows a family of exactly this name (case-insensitive).
bool FontFamilyInstalled(const std::string& family);
