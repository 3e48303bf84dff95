#include "platform/core/AppPaths.h"
#include "platform/core/FileUtils.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

TEST(LanguageId, FromTheLocaleName) {
    const std::pair<const char*, LANGID> cases[] = {
        {"ja_JP.UTF-8", 1041}, {"ja", 1041},
        {"JA_jp", 1041},       {"ko_KR.eucKR", 1042},
        {"es_ES@euro", 3082},  {"es_MX.UTF-8", 3082},
        {"en_GB.UTF-8", 1033}, {"C", 1033},
        {"POSIX", 1033},       {"", 1033},
        {"jav_ID", 1033},      {"de_DE", 1033},
    };
    for (const auto& [locale, id] : cases) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(LangIdFromLocaleName(locale), id);
    }
}

TEST(LanguageId, VariablesInTheirOrderAndTheOverride) {
    struct Case {
        const char* override;
        const char* all;
        const char* messages;
        const char* lang;
        LANGID expected;
    };
    const Case cases[] = {
        {nullptr, "ko_KR.UTF-8", "ja_JP.UTF-8", "es_ES.UTF-8", 1042},
        {nullptr, nullptr, "ja_JP.UTF-8", "es_ES.UTF-8", 1041},
        {nullptr, "", "", "es_ES.UTF-8", 3082},
        {nullptr, nullptr, nullptr, nullptr, 1033},
        {"1042", "ja_JP.UTF-8", nullptr, nullptr, 1042},
        {"0x0411", nullptr, nullptr, "C", 1041},
        {"2057", nullptr, nullptr, "ja_JP", 2057},
        {"not a number", nullptr, nullptr, "ja_JP", 1041},
        {"70000", nullptr, nullptr, "ko", 1042},
        {"0", nullptr, nullptr, "es", 3082},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.override ? c.override : "-") << " " << (c.all ? c.all : "-") << " "
                     << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-"));
        ScopedEnv o("HARBEK_LANGID", c.override);
        ScopedEnv a("LC_ALL", c.all);
        ScopedEnv m("LC_MESSAGES", c.messages);
        ScopedEnv l("LANG", c.lang);
        EXPECT_EQ(GetUserDefaultLangID(), c.expected);
        EXPECT_EQ(GetSystemDefaultLangID(), c.expected);
    }
}

TEST(ProgramFolder, HarbekHomeWinsAndIsCreated) {
    TempDir dir;
    const std::string home = dir.File("portable/harbek");
    ScopedEnv env("HARBEK_HOME", home.c_str());
    EXPECT_EQ(ProgramFolder(), home + "/");
    EXPECT_TRUE(DirectoryExists(home));
}

TEST(ProgramFolder, OnlyABuildTreeKeepsItsFilesBesideTheProgram) {
    TempDir tree, install, portable;
    WriteFileBytes(tree.File(kBuildTreeMarker), "");
    // Resources beside the program make no build tree: an installed or copied program has them too.
    std::filesystem::create_directories(install.Path() / "resources");
    const std::pair<std::string, bool> cases[] = {
        {tree.Str(), true},
        {tree.Path().string(), true},
        {install.Str(), false},
        {portable.File("missing/"), false},
        {"", false},
    };
    for (const auto& [folder, expected] : cases) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(IsBuildTreeFolder(folder), expected);
    }
}

TEST(ProgramFolder, FallsBackToTheDataFolder) {
    // The test executable's folder is no build tree of the program, so the per-user folder is used.
    ASSERT_FALSE(IsBuildTreeFolder(ExtractFilePath(ExecutablePath())));
    TempDir dir;
    ScopedEnv unsetHome("HARBEK_HOME", nullptr);
    {
        ScopedEnv xdg("XDG_DATA_HOME", dir.Path().c_str());
        EXPECT_EQ(ProgramFolder(), dir.Str() + "harbek/");
        EXPECT_TRUE(DirectoryExists(dir.Str() + "harbek"));
    }
    ScopedEnv relative("XDG_DATA_HOME", "not/absolute");
    ScopedEnv home("HOME", dir.Path().c_str());
    EXPECT_EQ(ProgramFolder(), dir.Str() + ".local/share/harbek/");
}

TEST(ProgramFolder, ConfigFolderFollowsXdg) {
    TempDir dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.Path().c_str());
    EXPECT_EQ(ConfigFolder(), dir.Str() + "harbek/");
    ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(ConfigFolder(), "/home/someone/.config/harbek/");
}

TEST(CommandLine, ParamStrAndCount) {
    char arg0[] = "harbek";
    char arg1[] = "--demo";
    char* argv[] = {arg0, arg1, nullptr};
    SetCommandLine(2, argv);
    EXPECT_EQ(ParamCount(), 1);
    EXPECT_EQ(ParamStr(1), "--demo");
    EXPECT_EQ(ParamStr(2), "");
    EXPECT_EQ(ParamStr(-1), "");
    EXPECT_EQ(ParamStr(0), ExecutablePath());
    EXPECT_TRUE(std::filesystem::path(ParamStr(0)).is_absolute());
    EXPECT_TRUE(FileExists(ParamStr(0)));
}

} // namespace
