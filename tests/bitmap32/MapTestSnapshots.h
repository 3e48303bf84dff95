// Where the map tests leave their window pictures: under the build folder, to be looked at by hand.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string MapTestSnapshot(const std::string& name) {
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::filesystem::path folder = std::filesystem::path(binary ? binary : ".") / "tests" / "bitmap32";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}
