#include "client/VersionInfo.h"

std::string ReadVersionValue(const std::string& name) {
    return name == "FileVersion" ? std::string(kHarbekFileVersion) : std::string();
}

std::string FormatVersionLine(const std::string& fileVersion) {
    const std::string major = fileVersion.substr(0, 5);
    const std::string build = fileVersion.size() > 6 ? fileVersion.substr(6, 15) : std::string();
    return "Version " + major + ".B1 (Build " + build + ")"; // untranslated: the version line's fixed form
}
