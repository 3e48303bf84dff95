// Which installed font family draws a font the system asks for by name. The system's windows ask
// for faces of another desktop ("MS PGothic", "Gulim", "Arial", "MS Sans Serif", ...); each maps to
// the first installed family of a list of look-alikes that starts with the family the build installs,
// so the choice does not depend on what else a machine has; then to the face itself when installed,
// to fontconfig's family for the face's script, and to DejaVu Sans (DejaVu Sans Mono for fixed-pitch
// requests). Every font falls back to the installed Japanese and Korean families for the characters
// its own family lacks. Thread-safe; results are cached.
#pragma once

#include "platform/core/Types.h"

#include <functional>
#include <string>
#include <vector>

// Starts reading the font configuration (some milliseconds of parsing) on a thread of its own, so that
// it is ready by the time the first text is measured; everything below waits for it, and so does the
// end of the program (a program may end before it has measured any text).
void StartFontConfiguration();

// charset: the LOGFONT character set; SHIFTJIS_CHARSET and HANGEUL_CHARSET prefer families that
// cover Japanese or Korean when the name itself is unknown.
std::string MapFontFamily(const std::string& requested, BYTE charset = 1, bool fixedPitch = false);

// The families after the mapped one, for the characters it lacks: installed CJK families, the
// Korean ones first for HANGEUL_CHARSET, else the Japanese ones first.
std::vector<std::string> FallbackFontFamilies(BYTE charset);

// The two choices on a given set of installed families; `scriptFamily` names a family for a script
// ("ja", "ko", ...) or gives "" (platform-internal, tested).
std::string ChooseFontFamily(const std::string& requested, BYTE charset, bool fixedPitch,
                             const std::function<bool(const std::string&)>& installed,
                             const std::function<std::string(const char* lang)>& scriptFamily);
std::vector<std::string> ChooseFallbackFamilies(BYTE charset,
                                                const std::function<bool(const std::string&)>& installed);

// Whether fontconfig knows a family of exactly this name (case-insensitive).
bool FontFamilyInstalled(const std::string& family);
