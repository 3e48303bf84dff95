// The program before its windows: its command line, and the texts it needs before the main window
// has loaded the language table.
#pragma once

#include <string>

// The text of that id in the table of the user's language; empty when the table or the id is missing.
std::string StartupLangString(int id);
// --help, --version, the display and the arguments (SetCommandLine first): -1 when the program goes
// on, else the exit code it ends with at once.
int ReadHarbekOptions();
