// Path texts: splitting, extensions, trailing delimiters, and the system's Windows-style paths.
//
// Paths on this platform use '/'. The splitting helpers also accept '\', so a name built the system's
// way still splits where it should; only WinPathToNative rewrites a path.
#pragma once

#include <string>
#include <string_view>

inline constexpr char PathDelim = '/';

bool IsPathDelimiter(char c);

// "dir/sub/name.ext" -> "dir/sub/", "dir/sub", "name.ext", ".ext".
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileDir(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);
// Replaces the extension (the dot included), or appends one when the name has none.
std::string ChangeFileExt(std::string_view path, std::string_view extension);
// An empty path stays empty, so that appending a name keeps it relative instead of rooting it.
std::string IncludeTrailingPathDelimiter(std::string_view path);
// The root "/" keeps its delimiter.
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// The system writes its own paths the Windows way ("Temporary\", "LANGUAGE\dll%s.dll"): every '\'
// becomes '/'. Apply it to those texts, not to names that came from the user or the disk.
std::string WinPathToNative(std::string_view path);
