#include "platform/core/IniFiles.h"
#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/CoreTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using coretest::Lines;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

// A recorder file with keys the client never touches, comments and odd spacing.
const char* const kConfig = "; recorder settings\r\n"
                            "[config]\r\n"
                            "1_1_1=5\r\n"
                            "  2_1_3 = keep me  \r\n"
                            "unknown_key=\"quoted\"\r\n"
                            "\r\n"
                            "[network]\r\n"
                            "ip=10.0.0.5\r\n";

struct EditCase {
    const char* what;
    std::string before;
    std::function<void(TIniFile&)> edit;
    std::string after;
};

TEST(IniFile, EditsChangeOnlyTheLinesTheyMust) {
    const std::string lf = "[a]\nx=1\ny=2\n\n[b]\nz=3\n";
    const EditCase cases[] = {
        {"rewrite in place keeps the rest byte for byte", kConfig,
         [](TIniFile& ini) { ini.WriteString("config", "1_1_1", "7"); },
         "; recorder settings\r\n[config]\r\n1_1_1=7\r\n  2_1_3 = keep me  \r\nunknown_key=\"quoted\"\r\n\r\n"
         "[network]\r\nip=10.0.0.5\r\n"},
        {"rewrite keeps the key's spelling and spacing", kConfig,
         [](TIniFile& ini) { ini.WriteString("CONFIG", "2_1_3", "new"); },
         "; recorder settings\r\n[config]\r\n1_1_1=5\r\n  2_1_3 = new\r\nunknown_key=\"quoted\"\r\n\r\n"
         "[network]\r\nip=10.0.0.5\r\n"},
        {"new key after the last key line, before the blank line", kConfig,
         [](TIniFile& ini) { ini.WriteString("config", "9_9_9", "1"); },
         "; recorder settings\r\n[config]\r\n1_1_1=5\r\n  2_1_3 = keep me  "
         "\r\nunknown_key=\"quoted\"\r\n9_9_9=1\r\n"
         "\r\n[network]\r\nip=10.0.0.5\r\n"},
        {"new section at the end in the file's line ending", lf,
         [](TIniFile& ini) { ini.WriteString("c", "k", "v"); }, lf + "[c]\nk=v\n"},
        {"new key in a section without keys goes under its header", "[empty]\n[b]\nz=3\n",
         [](TIniFile& ini) { ini.WriteString("empty", "k", "v"); }, "[empty]\nk=v\n[b]\nz=3\n"},
        {"a last line without a line ending gets one first", "[a]\nx=1",
         [](TIniFile& ini) { ini.WriteString("a", "y", "2"); }, "[a]\nx=1\ny=2\n"},
        {"empty value writes key=", lf, [](TIniFile& ini) { ini.WriteString("b", "z", ""); },
         "[a]\nx=1\ny=2\n\n[b]\nz=\n"},
        {"the same value writes nothing", "[a]\nx = 1 ; odd\n",
         [](TIniFile& ini) { ini.WriteString("a", "X", "1 ; odd"); }, "[a]\nx = 1 ; odd\n"},
        {"DeleteKey removes every duplicate", "[a]\nx=1\ny=2\nX=3\n[A]\nx=4\n[b]\nx=5\n",
         [](TIniFile& ini) { ini.DeleteKey("a", "x"); }, "[a]\ny=2\n[A]\n[b]\nx=5\n"},
        {"DeleteKey of a missing key leaves the file alone", lf,
         [](TIniFile& ini) { ini.DeleteKey("a", "nope"); }, lf},
        {"EraseSection removes the section and its lines", "[a]\nx=1\n; note\n[b]\nz=3\n[A]\nq=1\n",
         [](TIniFile& ini) { ini.EraseSection("A"); }, "[b]\nz=3\n"},
        {"a new key in a file with a byte order mark", "\xEF\xBB\xBF[a]\r\nx=1\r\n",
         [](TIniFile& ini) { ini.WriteString("a", "y", "2"); }, "\xEF\xBB\xBF[a]\r\nx=1\r\ny=2\r\n"},
        {"first write to an empty file uses CR LF", "",
         [](TIniFile& ini) {
             ini.WriteString("setup", "standard", "PAL");
             ini.WriteString("setup", "color", "Blue");
         },
         "[setup]\r\nstandard=PAL\r\ncolor=Blue\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.File("t.ini");
        WriteFileBytes(path, c.before);
        TIniFile ini(path);
        c.edit(ini);
        EXPECT_EQ(ReadFileBytes(path), c.after);
    }
}

TEST(IniFile, ReadsTrimFirstOccurrenceWinsAndCaseIsIgnored) {
    TempDir dir;
    const std::string path = dir.File("r.ini");
    WriteFileBytes(path, "top=ignored\n"
                         "[Main]\n"
                         "  Name  =  first value  \n"
                         "name=second\n"
                         "plain line\n"
                         ";comment=not a key\n"
                         "=no key\n"
                         "empty=\n"
                         "url=http://x/?a=b\n"
                         "[other]\n"
                         "q=\"kept quotes\"\n"
                         "[MAIN]\n"
                         "late=hidden by the first section\n");
    TIniFile ini(path);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"main", "NAME", "first value"},     {"Main", "empty", ""},
        {"Main", "url", "http://x/?a=b"},    {"other", "q", "\"kept quotes\""},
        {"Main", "plain line", "<default>"}, {"Main", ";comment", "<default>"},
        {"Main", "late", "<default>"},       {"", "top", "<default>"},
        {"missing", "x", "<default>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected);
    }
    EXPECT_TRUE(ini.ValueExists("main", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("main", "plain line"));

    TStringList keys;
    TStringList values;
    TStringList sections;
    ini.ReadSection("MAIN", &keys);
    ini.ReadSectionValues("main", &values);
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(keys), (std::vector<std::string>{"Name", "empty", "url"}));
    EXPECT_EQ(Lines(values), (std::vector<std::string>{"Name=first value", "empty=", "url=http://x/?a=b"}));
    EXPECT_EQ(Lines(sections), (std::vector<std::string>{"Main", "other"}));
    for (int i = 0; i < keys.Count(); ++i)
        EXPECT_EQ(values.Names(i), keys[i]);
}

TEST(IniFile, TypedReadsAndWrites) {
    TempDir dir;
    const std::string path = dir.File("typed.ini");
    WriteFileBytes(path, "[t]\nhex=0x1F\ndollar=$10\nbad=12x\nneg=-5\nf=37.411339\nbadf=1,5\nb0=0\nb2=2\n");
    TIniFile ini(path);
    const std::pair<const char*, int> ints[] = {
        {"hex", 31}, {"dollar", 16}, {"bad", -1}, {"neg", -5}, {"none", -1}};
    for (const auto& [key, value] : ints) {
        SCOPED_TRACE(key);
        EXPECT_EQ(ini.ReadInteger("t", key, -1), value);
    }
    EXPECT_FALSE(ini.ReadBool("t", "b0", true));
    EXPECT_TRUE(ini.ReadBool("t", "b2", false));
    EXPECT_TRUE(ini.ReadBool("t", "none", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("t", "f", 0), 37.411339);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("t", "none", 1.5), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("t", "badf", 2.5), 2.5);
    ini.WriteInteger("t", "neg", -2147483647 - 1);
    ini.WriteBool("t", "b0", true);
    ini.WriteFloat("t", "f", 127.128686);
    EXPECT_EQ(ini.ReadInteger("t", "neg", 0), -2147483647 - 1);
    EXPECT_EQ(ini.ReadString("t", "b0", ""), "1");
    EXPECT_EQ(ini.ReadString("t", "f", ""), "127.128686");
}

TEST(IniFile, MissingFileReadsEmptyAndTheFirstWriteCreatesIt) {
    TempDir dir;
    const std::string path = dir.File("new.ini");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    TStringList sections;
    sections.Add("stale");
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
    EXPECT_FALSE(ini.SectionExists("s"));
    ini.DeleteKey("s", "k"); // nothing to delete: no file appears
    ini.EraseSection("s");
    EXPECT_FALSE(std::filesystem::exists(path));
    ini.WriteString("s", "k", "v");
    EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=v\r\n");
    EXPECT_TRUE(ini.SectionExists("S"));
}

TEST(IniFile, WritingTheSameValueLeavesTheFileUntouched) {
    TempDir dir;
    const std::string path = dir.File("same.ini");
    WriteFileBytes(path, "[a]\nx = 1\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    TIniFile ini(path);
    ini.WriteString("A", "X", "1");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "the file was replaced";
    ini.WriteString("A", "X", "2");
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadFileBytes(path), "[a]\nx = 2\n");
}

TEST(IniFile, SectionExistsNeedsAKey) {
    TempDir dir;
    const std::string path = dir.File("s.ini");
    WriteFileBytes(path, "[headeronly]\n; comment\n[full]\nk=\n");
    TIniFile ini(path);
    EXPECT_FALSE(ini.SectionExists("headeronly"));
    EXPECT_TRUE(ini.SectionExists("FULL"));
}

// A recorder that sends a settings file of many sections, or one section of many keys, must not stall the
// setup menu, which reads every section in turn; found by fuzzing, where 64 KiB of such text took
// seconds. Each read names the right section and each edit goes through the whole file once.
TEST(IniFile, AFileOfManySectionsOrKeysReadsSectionBySection) {
    constexpr int kCount = 20000;
    std::string text;
    for (int i = 0; i < kCount; ++i)
        text += "[s" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    text += "[many]\n";
    for (int i = 0; i < kCount; ++i)
        text +=
            "k" + std::to_string(i % 100000) + "=" + std::to_string(i) + "\nDUP=" + std::to_string(i) + "\n";
    TempDir dir;
    const std::string path = dir.File("large.ini");
    WriteFileBytes(path, text);
    TIniFile ini(path);

    TStringList sections;
    ini.ReadSections(&sections);
    ASSERT_EQ(sections.Count(), kCount + 1);
    TStringList keys;
    for (int i = 0; i < kCount; ++i) {
        ini.ReadSectionValues(sections.Strings(i), &keys);
        ASSERT_EQ(Lines(keys), std::vector<std::string>{"k=" + std::to_string(i)}) << sections.Strings(i);
    }
    ini.ReadSection("MANY", &keys);
    ASSERT_EQ(keys.Count(), kCount + 1);
    EXPECT_EQ(keys.Strings(1), "DUP");
    EXPECT_EQ(ini.ReadString("many", "dup", ""), "0");

    ini.DeleteKey("many", "dup");
    ini.ReadSection("many", &keys);
    EXPECT_EQ(keys.Count(), kCount);
    ini.EraseSection("many");
    ini.EraseSection("s0");
    EXPECT_EQ(ReadFileBytes(path), text.substr(text.find("[s1]"), text.find("[many]") - text.find("[s1]")));
    EXPECT_EQ(ini.ReadString("s1", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("S19999", "K", ""), "19999");
}

TEST(IniFile, RefusesWhatCouldNotBeReadBack) {
    TempDir dir;
    const std::string path = dir.File("refuse.ini");
    WriteFileBytes(path, "[a]\nx=1\n");
    TIniFile ini(path);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a", "x", "two\nlines"}, {"a", "x", "cr\r"}, {"a", "k=v", "1"},  {"a", "", "1"},
        {"a", "line\nkey", "1"},  {"a]", "x", "1"},   {"a\nb", "x", "1"}, {"a", ";x", "1"},
        {"a", " padded ", "1"},   {"a", "[x", "1"},
    };
    for (const auto& [section, key, value] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(section) + "|" + key + "|" + value));
        EXPECT_THROW(ini.WriteString(section, key, value), EIniFileException);
    }
    EXPECT_EQ(ReadFileBytes(path), "[a]\nx=1\n");
}

TEST(IniFile, SeesChangesMadeBehindItsBack) {
    TempDir dir;
    const std::string path = dir.File("shared.ini");
    TIniFile first(path);
    TIniFile second(path);
    first.WriteString("s", "a", "1");
    EXPECT_EQ(second.ReadString("s", "a", ""), "1");
    second.WriteString("s", "b", "2");
    first.WriteString("s", "a", "3"); // must not lose b
    EXPECT_EQ(ReadFileBytes(path), "[s]\r\na=3\r\nb=2\r\n");
    WriteFileBytes(path, "[s]\r\na=replaced\r\n"); // same size class of edit, by another program
    EXPECT_EQ(first.ReadString("s", "a", ""), "replaced");
}

TEST(IniFile, WritesKeepTheFilesPermissionsAndFollowLinks) {
    TempDir dir;
    const std::string real = dir.File("real.ini");
    WriteFileBytes(real, "[s]\nk=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const std::string link = dir.File("link.ini");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    TIniFile ini(link);
    ini.WriteString("s", "k", "2");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(ReadFileBytes(real), "[s]\nk=2\n");
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Runs an edit while writes larger than limit bytes fail, as on a full disk.
void WithFileSizeLimit(rlim_t limit, const std::function<void()>& body) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    body();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

TEST(IniFile, AFailedWriteLeavesTheOldFileWholeAndNoLitter) {
    TempDir dir;
    const std::string path = dir.File("atomic.ini");
    std::string original = "[s]\r\nk=1\r\n";
    for (int i = 0; i < 20; ++i)
        original += "other" + std::to_string(i) + "=value\r\n";
    WriteFileBytes(path, original);
    TIniFile ini(path);
    WithFileSizeLimit(64, [&] {
        EXPECT_THROW(ini.WriteString("s", "k", "2"), EIniFileException);
        try {
            ini.WriteString("s", "k", "2");
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message, "Unable to write to " + path);
        }
    });
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(ini.ReadString("s", "k", ""), "1") << "the failed edit must not linger in memory";
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
}

TEST(IniFile, AReadOnlyFolderRefusesTheWriteAndKeepsTheFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the size-limit test covers the failure";
    TempDir dir;
    const std::string path = dir.File("ro.ini");
    WriteFileBytes(path, "[s]\nk=1\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    TIniFile ini(path);
    EXPECT_THROW(ini.WriteString("s", "k", "2"), EIniFileException);
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ReadFileBytes(path), "[s]\nk=1\n");
}

TEST(IniFile, AnUnreadableFileIsNeverOverwritten) {
    TempDir dir;
    const std::string path = dir.File("folder.ini");
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0); // a folder where the file should be
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    EXPECT_THROW(ini.WriteString("s", "k", "v"), EIniFileException);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

} // namespace
