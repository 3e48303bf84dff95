// The program's own options, read from the command line (SetCommandLine) before any window: --help
// and --version, and whether there is a display to show windows on. The toolkit's options (-platform,
// -style, -reverse, -display ...) are left for the application object.
#pragma once

#include <string>

// What the program says about itself, in the user's language.
struct TProgramAbout {
    std::string Name;            // the command's name, "harbek"
    std::string Version;         // "0.1.0"
    std::string Help;            // what --help prints
    std::string NoDisplay;       // the error without a display
    std::string UnknownArgument; // the error for an argument nobody takes; "%s" stands for it
};

// -1: the program goes on, and the application object exists with the toolkit's options applied.
// Otherwise the exit code of a program that ends at once: 0 after --help or --version (printed on
// standard output); 1 for an argument that neither the program nor the toolkit takes, or when there
// is no display (said on standard error).
int ReadProgramOptions(const TProgramAbout& about);
