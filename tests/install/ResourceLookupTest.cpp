// Where a program with no resources beside it looks for them and for its modules: the installed folders
// relative to its own, and the XDG data folders. This test program lies in the build, in tests/install/,
// with neither resources/ nor the installed folders beside it.
#include "platform/core/AppPaths.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(ResourceFolder, TheFirstDataFolderHoldingFormsElseTheInstalledOne) {
    TempDir dir;
    for (const char* folder : {"empty/harbek", "b/harbek/forms", "c/harbek/forms"})
        fs::create_directories(dir.Path() / folder);
    const std::string d = dir.Path().string();
    // bin/../share/harbek for this program's tests/install/.
    const std::string installed =
        fs::path(ExecutablePath()).parent_path().parent_path().string() + "/share/harbek";
    const std::pair<std::string, std::string> cases[] = {
        {d + "/empty:" + d + "/b:" + d + "/c", d + "/b/harbek"},
        {"b:" + d + "/c/", d + "/c/harbek"},
        {":" + d + "/c::", d + "/c/harbek"},
        {d + "/empty:" + d + "/missing", installed},
    };
    // From inside the folder, "b" would name b/harbek/forms were relative entries taken.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    for (const auto& [dirs, expected] : cases) {
        SCOPED_TRACE(dirs);
        ScopedEnv env("XDG_DATA_DIRS", dirs.c_str());
        EXPECT_EQ(ResourceFolder(), expected);
    }
    fs::current_path(cwd);
}

TEST(ProgramModuleFile, LeftToTheLoaderWhenNeitherBesideNorInstalled) {
    EXPECT_EQ(ProgramModuleFile("harbek_webengine.so"), "harbek_webengine.so");
}

} // namespace
