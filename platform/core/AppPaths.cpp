#include "platform/core/AppPaths.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

std::mutex gCommandLineMutex;
std::vector<std::string> gArguments;

// An environment value, or empty text when unset.
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : std::string();
}

// The XDG base folders count only when absolute.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
    std::string base = Env(variable);
    if (base.empty() || base[0] != '/') base = IncludeTrailingPathDelimiter(HomeFolder()) + fallbackUnderHome;
    return IncludeTrailingPathDelimiter(base) + "harbek/";
}

// Where the install rules put the resources and the modules, relative to the executable's folder; the
// build sets them from its install folders, so an install under any prefix or DESTDIR finds them.
#ifndef HARBEK_DATA_FROM_BIN
#define HARBEK_DATA_FROM_BIN "../share/harbek"
#endif
#ifndef HARBEK_MODULES_FROM_BIN
#define HARBEK_MODULES_FROM_BIN "../lib/harbek"
#endif

// "/usr/bin/../share/harbek" as "/usr/share/harbek", so messages and prefix comparisons see one name.
std::string Normalised(const std::string& path) {
    std::string out = std::filesystem::path(path).lexically_normal().string();
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

} // namespace

bool IsBuildTreeFolder(const std::string& folder) {
    if (folder.empty()) return false;
    const std::string path = IncludeTrailingPathDelimiter(folder);
    return FileExists(path + kBuildTreeMarker) && ::access(path.c_str(), W_OK) == 0;
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr)
        return result->pw_dir;
    return "/tmp";
}

std::string ExecutablePath() {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size() - 1) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::string ProgramFolder() {
    std::string folder = Env("HARBEK_HOME");
    if (folder.empty()) {
        const std::string exeFolder = ExtractFilePath(ExecutablePath());
        folder = IsBuildTreeFolder(exeFolder) ? exeFolder : XdgFolder("XDG_DATA_HOME", ".local/share");
    }
    folder = IncludeTrailingPathDelimiter(folder);
    ForceDirectories(folder);
    return folder;
}

std::string ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

void SetCommandLine(int argc, char** argv) {
    std::lock_guard lock(gCommandLineMutex);
    gArguments.clear();
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i)
        gArguments.emplace_back(argv[i]);
}

int ParamCount() {
    std::lock_guard lock(gCommandLineMutex);
    return gArguments.empty() ? 0 : static_cast<int>(gArguments.size()) - 1;
}

std::string ParamStr(int index) {
    if (index == 0) return ExecutablePath();
    std::lock_guard lock(gCommandLineMutex);
    if (index < 0 || static_cast<std::size_t>(index) >= gArguments.size()) return std::string();
    return gArguments[static_cast<std::size_t>(index)];
}

LANGID LangIdFromLocaleName(std::string_view locale) {
    const std::size_t end = locale.find_first_of("_.@-");
    const std::string language = LowerCase(locale.substr(0, end));
    if (language == "ja") return 1041;
    if (language == "ko") return 1042;
    if (language == "es") return 3082;
    return 1033;
}

LANGID GetUserDefaultLangID() {
    int overridden = 0;
    if (TryStrToInt(Trim(Env("HARBEK_LANGID")), overridden) && overridden > 0 && overridden <= 0xFFFF)
        return static_cast<LANGID>(overridden);
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = Env(variable);
        if (!value.empty()) return LangIdFromLocaleName(value);
    }
    return 1033;
}

LANGID GetSystemDefaultLangID() {
    return GetUserDefaultLangID();
}

std::string ResourceFolder() {
    const std::string exeFolder = ExtractFilePath(ExecutablePath());
    const std::string installed = exeFolder + HARBEK_DATA_FROM_BIN;
    std::vector<std::string> candidates = {exeFolder + "resources", installed};
    std::string dirs = Env("XDG_DATA_DIRS");
    if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string dir = dirs.substr(start, end - start);
        // Only absolute folders count, as for the other XDG variables.
        if (!dir.empty() && dir[0] == '/') candidates.push_back(IncludeTrailingPathDelimiter(dir) + "harbek");
        start = end + 1;
    }
    for (const std::string& folder : candidates)
        if (DirectoryExists(folder + "/forms")) return Normalised(folder);
    return Normalised(installed);
}

std::string ProgramModuleFile(const std::string& fileName) {
    const std::string exeFolder = ExtractFilePath(ExecutablePath());
    for (const std::string& path : {exeFolder + fileName, exeFolder + HARBEK_MODULES_FROM_BIN "/" + fileName})
        if (FileExists(path)) return Normalised(path);
    return fileName;
}
