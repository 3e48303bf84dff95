#include "platform/core/Registry.h"
#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/CoreTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using coretest::MessageOf;
using testing_support::ReadFileBytes;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

const char* const kReaderKey = "SOFTWARE\\DvrHarbek\\Harbek";

class RegistryTest : public testing::Test {
protected:
    TempDir dir_;
    std::string path_ = dir_.File("conf/registry.ini");
    ScopedEnv env_{"HARBEK_REGISTRY", path_.c_str()};
};

TEST_F(RegistryTest, ReadOnlyOpenOfAMissingMachineKeyFailsAndCreatesNothing) {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey(kReaderKey, false));
    EXPECT_FALSE(reg.OpenKeyReadOnly(kReaderKey));
    EXPECT_FALSE(reg.KeyExists(kReaderKey));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger("1SEC"); }), "Failed to get data for '1SEC'");
    EXPECT_EQ(reg.ReadString("anything"), "");
    EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(RegistryTest, ReaderTuningRoundTripsThroughTheFile) {
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(kReaderKey, true));
        reg.WriteInteger("1SEC", 30);
        reg.WriteInteger("FILEBUFSIZE", 0x80000);
        reg.WriteInteger("REPEAT", -1);
        reg.WriteString("Label", "front camera");
        reg.CloseKey();
    }
    EXPECT_EQ(ReadFileBytes(path_), "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DvrHarbek\\Harbek]\r\n"
                                    "1SEC=dword:30\r\n"
                                    "FILEBUFSIZE=dword:524288\r\n"
                                    "REPEAT=dword:-1\r\n"
                                    "Label=sz:front camera\r\n");
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly("software\\dvrharbek\\HARBEK"));
    EXPECT_EQ(reg.ReadInteger("1sec"), 30);
    EXPECT_EQ(reg.ReadInteger("FILEBUFSIZE"), 0x80000);
    EXPECT_EQ(reg.ReadInteger("REPEAT"), -1);
    EXPECT_TRUE(reg.ReadBool("REPEAT"));
    EXPECT_EQ(reg.ReadString("label"), "front camera");
    EXPECT_EQ(reg.GetDataType("1SEC"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Label"), rdString);
    EXPECT_EQ(reg.GetDataType("none"), rdUnknown);
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger("Label"); }), "Invalid data type for 'Label'");
    EXPECT_EQ(MessageOf([&] { reg.ReadString("1SEC"); }), "Invalid data type for '1SEC'");
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger("READ_SEC"); }), "Failed to get data for 'READ_SEC'");
}

TEST_F(RegistryTest, HandEditedValuesAreCheckedBeforeUse) {
    std::filesystem::create_directories(dir_.Path() / "conf");
    WriteFileBytes(path_, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DvrHarbek\\Harbek]\n"
                          "1SEC=dword:0x1E\n"
                          "READ_SEC=dword:4294967295\n"
                          "FILEBUFSIZE=dword:4294967296\n"
                          "REPEAT=15\n"
                          "Bad=dword:12abc\n");
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(kReaderKey, false));
    EXPECT_EQ(reg.ReadInteger("1SEC"), 30);
    EXPECT_EQ(reg.ReadInteger("READ_SEC"), -1); // a 32-bit value written unsigned
    const char* const invalid[] = {"FILEBUFSIZE", "REPEAT", "Bad"};
    for (const char* name : invalid) {
        SCOPED_TRACE(name);
        EXPECT_THROW(reg.ReadInteger(name), ERegistryException);
    }
    EXPECT_EQ(reg.GetDataType("REPEAT"), rdUnknown);
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites) {
    TRegistry writer;
    writer.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(writer.OpenKey("Software\\Test", true));
    writer.WriteInteger("v", 1);
    TRegistry reader;
    reader.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reader.OpenKeyReadOnly("Software\\Test"));
    EXPECT_EQ(MessageOf([&] { reader.WriteInteger("v", 2); }), "Failed to set data for 'v'");
    EXPECT_FALSE(reader.DeleteValue("v"));
    TRegistry closed;
    EXPECT_THROW(closed.WriteString("v", "x"), ERegistryException);
    EXPECT_EQ(writer.ReadInteger("v"), 1);
}

TEST_F(RegistryTest, KeysAreRelativeToTheOpenKeyUnlessRooted) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software", true));
    ASSERT_TRUE(reg.OpenKey("Vendor\\App", true)); // relative: Software\Vendor\App
    EXPECT_EQ(reg.CurrentPath(), "Software\\Vendor\\App");
    ASSERT_TRUE(reg.OpenKey("\\Other", true)); // rooted
    EXPECT_EQ(reg.CurrentPath(), "Other");
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("software\\VENDOR")); // a parent exists through its sub-keys
    EXPECT_TRUE(reg.KeyExists("Software\\Vendor\\App\\"));
    EXPECT_FALSE(reg.KeyExists("Software\\Vend"));
    ASSERT_TRUE(reg.OpenKey("Software", false));
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(names.CommaText(), "Vendor");
    EXPECT_TRUE(reg.HasSubKeys());
    reg.SetRootKey(HKEY_LOCAL_MACHINE); // another root closes the key and sees other keys
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_FALSE(reg.KeyExists("Software"));
}

TEST_F(RegistryTest, ValuesDeleteAndKeysDeleteWithTheirSubKeys) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("A\\B", true));
    reg.WriteString("one", "1");
    reg.WriteString("two", "2");
    EXPECT_TRUE(reg.ValueExists("ONE"));
    EXPECT_TRUE(reg.DeleteValue("one"));
    EXPECT_FALSE(reg.DeleteValue("one"));
    EXPECT_FALSE(reg.ValueExists("one"));
    TStringList values;
    reg.GetValueNames(&values);
    EXPECT_EQ(values.CommaText(), "two");
    ASSERT_TRUE(reg.OpenKey("\\A\\B\\C", true));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("A"));
    EXPECT_FALSE(reg.KeyExists("A\\B\\C"));
    EXPECT_FALSE(reg.KeyExists("A"));
    EXPECT_FALSE(reg.DeleteKey("A"));
}

TEST_F(RegistryTest, AwkwardNamesAndTextsSurviveTheFile) {
    const std::pair<std::string, std::string> values[] = {
        {"", "default value"},
        {"a=b", "x"},
        {";semi", "y"},
        {"[bracket", "z"},
        {" padded ", "  spaces  "},
        {"multi", "line1\r\nline2"},
        {"percent%41", "100%"},
        {"@", "at"},
        {"tab", "\tx\t"},
    };
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Odd", true));
        for (const auto& [name, text] : values)
            reg.WriteString(name, text);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Odd", false));
    for (const auto& [name, text] : values) {
        SCOPED_TRACE(name);
        EXPECT_EQ(reg.ReadString(name), text);
    }
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), static_cast<int>(std::size(values)));
    EXPECT_EQ(names[0], "");
}

TEST(RegistryPath, ComesFromTheOverrideOrTheConfigFolder) {
    TempDir dir;
    {
        ScopedEnv reg("HARBEK_REGISTRY", dir.File("x.ini").c_str());
        EXPECT_EQ(RegistryFilePath(), dir.File("x.ini"));
    }
    ScopedEnv reg("HARBEK_REGISTRY", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.Path().c_str());
    EXPECT_EQ(RegistryFilePath(), dir.Str() + "harbek/registry.ini");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
    ScopedEnv home("HOME", dir.Path().c_str());
    EXPECT_EQ(RegistryFilePath(), dir.Str() + ".config/harbek/registry.ini");
}

} // namespace
