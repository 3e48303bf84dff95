#include "client/ProgramStart.h"

#include "client/LanguageDll.h"

#include "platform/core/AppPaths.h"
#include "platform/vcl/CommandLine.h"
#include "platform/win/Modules.h"

#ifndef HARBEK_VERSION
#error "HARBEK_VERSION comes from the project's version in CMake"
#endif

std::string StartupLangString(int id) {
    RegisterLanguageModules();
    const HMODULE module = LoadLibrary(LanguageTablePath(LanguageCodeFor(GetSystemDefaultLangID())).c_str());
    if (module == nullptr) return std::string();
    const std::shared_ptr<const LanguageTable> table = LanguageModuleTable(module);
    std::string text = table ? table->Find(id) : std::string();
    FreeLibrary(module);
    return text;
}

int ReadHarbekOptions() {
    TProgramAbout about;
    about.Name = "harbek";
    about.Version = HARBEK_VERSION;
    about.Help = StartupLangString(60402);
    about.NoDisplay = StartupLangString(60403);
    about.UnknownArgument = StartupLangString(60404);
    return ReadProgramOptions(about);
}
