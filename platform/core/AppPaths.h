// Where the program lives and keeps its files, its command line, and the user's language.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <string_view>

// The folder of the settings and received files, always ending in '/': $HARBEK_HOME when set; else the
// executable's folder when it is a build tree's (IsBuildTreeFolder); else the per-user data folder
// $XDG_DATA_HOME/harbek/ (~/.local/share/harbek/ without it), whoever runs it, root too. Created when
// missing.
std::string ProgramFolder();
// The file a build writes beside the executable, which an installation never copies.
inline constexpr char kBuildTreeMarker[] = "harbek-build-tree";
// The folder holds the build's marker and may be written: a build tree, where the program keeps its
// files beside itself for development and the tests.
bool IsBuildTreeFolder(const std::string& folder);
// $XDG_CONFIG_HOME/harbek/ (~/.config/harbek/ without it), ending in '/'; not created here.
std::string ConfigFolder();
// $HOME, or the account's home folder.
std::string HomeFolder();
// The running executable's full path.
std::string ExecutablePath();

// The folder of the program's resources (forms, skins, language tables, the map page), without a
// trailing '/': the first that holds forms/ of resources/ beside the executable (a build tree or a
// portable copy), the installed data folder relative to it (../share/harbek from bin/), and harbek/ in
// each $XDG_DATA_DIRS folder; the installed one when none does.
std::string ResourceFolder();
// Where a module the program loads at run time lies (the map's browser engine): beside the executable,
// else in the installed modules folder relative to it (../lib/harbek from bin/); else the bare name,
// which leaves the search to the dynamic loader.
std::string ProgramModuleFile(const std::string& fileName);

// The command line as main received it; ParamStr(0) is the executable's full path.
void SetCommandLine(int argc, char** argv);
int ParamCount();
std::string ParamStr(int index);

// Language ids from the locale (LC_ALL, else LC_MESSAGES, else LANG): Japanese 1041, Korean 1042,
// Spanish 3082, anything else 1033. HARBEK_LANGID (decimal or hexadecimal) overrides the locale.
LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();
// The id for one locale name such as "ja_JP.UTF-8".
LANGID LangIdFromLocaleName(std::string_view locale);
