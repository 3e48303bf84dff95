// The program's version: the file version compiled in, and the line the about box shows for it.
#pragma once

#include <string>

// The "FileVersion" of the program file.
inline constexpr const char kHarbekFileVersion[] = "2.2.4.454";

// The named value of the program's version information ("FileVersion"; empty for any other name).
std::string ReadVersionValue(const std::string& name);
// "Version " + the first 5 characters + ".B1 (Build " + the characters from the 7th on (at most 15) +
// ")": "2.2.4.454" gives "Version 2.2.4.B1 (Build 454)".
std::string FormatVersionLine(const std::string& fileVersion);
