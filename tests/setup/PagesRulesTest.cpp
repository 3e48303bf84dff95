// The setup pages' plain rules: the view of config.ini, stored addresses, the keys the fields take, the
// address parts and the temp.ini rewrite.
#include "setup/ConfigAccess.h"
#include "setup/SetupRules.h"

#include "platform/core/Exceptions.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ConfigAddress, ShowsTheDigitPairsFromTheLowestByte) {
    const struct {
        const char* value;
        const char* shown;
    } cases[] = {{"16820416", "192.168.0.1"},
                 {"0", "0.0.0.0"},
                 {"4294967295", "255.255.255.255"},
                 {"-1", "255.255.255.255"},
                 {"4261456064", "192.168.0.254"},
                 {"-33511232", "192.168.0.254"},
                 {" 1", "1.0.0.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(ConfigAddressText(c.value), c.shown) << c.value;
}

TEST(ConfigAddress, RefusesWhatIsNoThirtyTwoBitNumber) {
    for (const char* bad : {"", "192.168.0.1", "4294967296", "-2147483649", "12a", "0x", " "})
        EXPECT_THROW(ConfigAddressText(bad), EConvertError) << "'" << bad << "'";
}

TEST(SetupKeys, TitleAndFolderKeys) {
    for (char c : std::string("AZaz09.-_ \r\b"))
        EXPECT_TRUE(TitleKeyAllowed(c)) << int(c);
    for (char c : std::string("#=/\\:*?\"<>|,;\t\n\x7f\x80\xc3"))
        EXPECT_FALSE(TitleKeyAllowed(c)) << int(c);
    for (char c : std::string("\\/:*?\"<>|"))
        EXPECT_TRUE(FolderKeyRefused(c)) << c;
    for (char c : std::string("aZ09 ._-#"))
        EXPECT_FALSE(FolderKeyRefused(c)) << c;
}

TEST(SetupKeys, AddressPartsHighToLow) {
    EXPECT_EQ(PackAddressParts(192, 168, 0, 1), 0xC0A80001u);
    EXPECT_EQ(PackAddressParts(0, 0, 0, 0), 0u);
    EXPECT_EQ(PackAddressParts(255, 255, 255, 255), 0xFFFFFFFFu);
}

TEST(TempIni, ColonsBecomeEqualsInPlace) {
    testing_support::TempDir dir;
    const std::string path = dir.File("temp.ini");
    EXPECT_FALSE(ReplaceColonsInFile(path)) << "missing";
    const struct {
        std::string before;
        std::string after;
    } cases[] = {{"", ""},
                 {"[s]\r\na:1\r\n", "[s]\r\na=1\r\n"},
                 {"::", "=="},
                 {std::string(10000, ':') + "x", std::string(10000, '=') + "x"},
                 {std::string("a\0:b", 4), std::string("a\0=b", 4)}};
    for (const auto& c : cases) {
        WriteAll(path, c.before);
        EXPECT_TRUE(ReplaceColonsInFile(path));
        EXPECT_EQ(ReadAll(path), c.after);
    }
}

class ConfigView : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    std::string path = dir.File("config.ini");
};

TEST_F(ConfigView, ListsHoldTheFilesOwnSectionWhereverItStands) {
    const struct {
        const char* ini;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"[config]\r\n1_1_1=2\r\n[tail]\r\nz=9\r\n", "1_1_1", "2"},
        {"[config]\r\n1_1_1=2\r\n[tail]\r\nz=9\r\n", "z", std::nullopt},
        {"[head]\r\nz=9\r\n[config]\r\n1_1_1=2\r\n", "1_1_1", "2"},
        // Without its own section the lists hold the last one, as a walk through the sections leaves them.
        {"[head]\r\nz=8\r\n[tail]\r\nz=9\r\n", "z", "9"},
        {"[Config]\r\n1_1_1=2\r\n", "1_1_1", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteAll(path, c.ini);
        const TConfigAccess view = LoadConfigAccess(path, "config");
        ASSERT_TRUE(view.Loaded());
        EXPECT_EQ(view.Value(c.key), c.value);
    }
    const TConfigAccess view = LoadConfigAccess(path, "config");
    EXPECT_EQ(view.FindSection("config"), -1) << "section names compare exactly";
    EXPECT_EQ(view.ConfigValue("1_1_1"), std::nullopt);
    EXPECT_EQ(view.SectionName(5), "");
}

TEST_F(ConfigView, ValuesKeepEverythingAfterTheFirstEquals) {
    WriteAll(path, "[config]\r\n27_1_1=A=B\r\n34_1_1=\r\n");
    const TConfigAccess view = LoadConfigAccess(path, "config");
    EXPECT_EQ(view.ConfigValue("27_1_1"), "A=B");
    EXPECT_EQ(view.ConfigValue("34_1_1"), "");
    EXPECT_EQ(view.ConfigValue("34_1_2"), std::nullopt);
}

TEST_F(ConfigView, StoreWritesOrDeletesAndKeepsTheRest) {
    const std::string original = "; note\r\n[config]\r\n1_1_1=2\r\n25_1_1=70\r\nunknown = x y\r\n";
    WriteAll(path, original);
    const TConfigAccess view = LoadConfigAccess(path, "config");
    view.Store("config", "25_1_1", "50", true);
    view.Store("config", "26_1_1", "10", false);
    view.Store("config", "1_1_1", "3", false);
    view.Store("", "9_9_9", "1", false);
    // A page's item is written only when the user changed it from what was shown.
    view.StoreEdited("26_1_1", "10", "10", false);
    view.StoreEdited("2_1_1", "1", "1", true);
    view.StoreEdited("unknown", "x y", "", true);
    EXPECT_EQ(ReadAll(path), "; note\r\n[config]\r\n1_1_1=3\r\n26_1_1=10\r\n");
    WriteAll(path, "; no section\r\n");
    view.StoreEdited("27_1_1", "", "BUS", false);
    EXPECT_EQ(ReadAll(path), "; no section\r\n[config]\r\n27_1_1=BUS\r\n") << "the section is made";
    WriteAll(path, original);
    view.Store("config", "25_1_1", "50", true);
    // The lists are a snapshot: writes show only after a re-read.
    EXPECT_EQ(view.ConfigValue("25_1_1"), "70");
    EXPECT_EQ(LoadConfigAccess(path, "config").ConfigValue("25_1_1"), std::nullopt);
}

TEST_F(ConfigView, MissingFileIsEmpty) {
    const TConfigAccess view = LoadConfigAccess(path, "config");
    ASSERT_TRUE(view.Loaded());
    EXPECT_EQ(view.Sections->Count(), 0);
    EXPECT_EQ(view.ConfigValue("1_1_1"), std::nullopt);
}

} // namespace
