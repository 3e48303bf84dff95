#include "client/LanguageDll.h"

#include "tests/support/TestSupport.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/DeviceContext.h"
#include "platform/vcl/FormReader.h"
#include "platform/win/Modules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using testing_support::TempDir;
using testing_support::WriteFileBytes;

struct LanguageCase {
    int id;
    const char* code;
    int codePage;
    const char* font;
    BYTE charset;
};

TEST(LanguageIds, CodeCodePageAndFontFollowTheLanguageId) {
    const LanguageCase cases[] = {
        {1041, "jpn", 932, "MS PGothic", SHIFTJIS_CHARSET},
        {1042, "kor", 949, "\xEA\xB5\xB4\xEB\xA6\xBC", HANGEUL_CHARSET},
        {3082, "esp", 1252, "Arial", DEFAULT_CHARSET},
        {2057, "eng", 1252, "MS Sans Serif", DEFAULT_CHARSET},
        {1033, "eng", 1252, "MS Sans Serif", DEFAULT_CHARSET},
        {1034, "eng", 1252, "MS Sans Serif", DEFAULT_CHARSET},
        {0, "eng", 1252, "MS Sans Serif", DEFAULT_CHARSET},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(LanguageCodeFor(c.id), c.code);
        EXPECT_EQ(CodePageFor(c.id), c.codePage);
        EXPECT_EQ(LanguageFontName(c.id), c.font);
        EXPECT_EQ(LanguageFontCharset(c.id), c.charset);
    }
    EXPECT_EQ(LanguageTableName("kor"), "dllkor.txt");
}

TEST(LanguageTable, ReadsIdsTextsAndEscapes) {
    const LanguageTable table = LanguageTable::Parse("# heading\n"
                                                     "\n"
                                                     "50297\tMap\n"
                                                     "59825\tPrint && Save\r\n"
                                                     "59900\tline one\\nline two\\tend \\\\ done\n"
                                                     "60000\t\xE7\xB5\x82\xE4\xBA\x86\n"
                                                     "60001\t\n",
                                                     "dlltest.txt");
    EXPECT_EQ(table.Count(), 5u);
    EXPECT_EQ(table.Find(50297), "Map");
    EXPECT_EQ(table.Find(59825), "Print && Save");
    EXPECT_EQ(table.Find(59900), "line one\nline two\tend \\ done");
    EXPECT_EQ(table.Find(60000), "\xE7\xB5\x82\xE4\xBA\x86");
    EXPECT_TRUE(table.Contains(60001));
    EXPECT_EQ(table.Find(60001), "");
    // A missing id reads as empty text.
    EXPECT_FALSE(table.Contains(50298));
    EXPECT_EQ(table.Find(50298), "");
    EXPECT_EQ(LanguageTable::Parse("", "empty.txt").Count(), 0u);
}

TEST(LanguageTable, RefusesWhatIsNotATable) {
    const char* const bad[] = {
        "50297 Map\n",               // blank instead of a tab
        "\tMap\n",                   // no id
        "0\tZero\n",                 // id 0
        "050297\tLeading zero\n",    // leading zero
        "65536\tToo large\n",        // past the last id
        "5a297\tLetter\n",           // not a number
        "50297\tOne\n50297\tTwo\n",  // repeated id
        "50297\tBad \\q escape\n",   // unknown escape
        "50297\tLone backslash\\\n", // lone backslash
        "50297\tTab\tinside\n",      // tab in the text
        "50297\tBell\x07\n",         // control character
        "50297\t\xC0\xAF\n",         // overlong UTF-8
        "50297\t\xE7\xB5\n",         // cut UTF-8 sequence
        "50297\t\xED\xA0\x80\n",     // surrogate
        "50297\t\xFF\n",             // not UTF-8 at all
        "just words\n",              // neither comment nor entry
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_THROW(LanguageTable::Parse(text, "dllbad.txt"), ELanguageTableError);
    }
}

TEST(LanguageTable, ErrorsNameTheFileAndLine) {
    try {
        LanguageTable::Parse("# c\n50297\tok\n50298 broken\n", "dlleng.txt");
        FAIL() << "no error";
    } catch (const ELanguageTableError& e) {
        EXPECT_NE(e.Message.find("dlleng.txt:3"), std::string::npos) << e.Message;
    }
}

TEST(LanguageTable, ModulesLoadFromALanguageFolderOnly) {
    RegisterLanguageModules();
    RegisterLanguageModules(); // a second registration changes nothing
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "LANGUAGE");
    std::filesystem::create_directories(dir.Path() / "other");
    const std::string good = dir.File("LANGUAGE/dllxyz.txt");
    WriteFileBytes(good, "59967\tAbout\n");
    WriteFileBytes(dir.File("other/dllxzz.txt"), "59967\tAbout\n");
    WriteFileBytes(dir.File("LANGUAGE/dllbad.txt"), "59967\tAbout\n59967\tAgain\n");

    HMODULE module = LoadLibrary(good.c_str());
    ASSERT_NE(module, nullptr);
    std::shared_ptr<const LanguageTable> table = LanguageModuleTable(module);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Find(59967), "About");
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(LanguageModuleTable(module), nullptr);

    EXPECT_EQ(LoadLibrary(dir.File("other/dllxzz.txt").c_str()), nullptr);
    EXPECT_EQ(LoadLibrary(dir.File("LANGUAGE/dllbad.txt").c_str()), nullptr);
    EXPECT_EQ(LoadLibrary(dir.File("LANGUAGE/dllmissing.txt").c_str()), nullptr);
    EXPECT_EQ(LanguageModuleTable(nullptr), nullptr);
}

TEST(LanguageTable, TheShippedTablesLoadWithTheSameIds) {
    const std::string folder = std::string(std::getenv("HARBEK_SOURCE")) + "/resources/LANGUAGE/";
    const LanguageTable english =
        LanguageTable::Parse(testing_support::ReadFileBytes(folder + "dlleng.txt"), "dlleng.txt");
    EXPECT_GT(english.Count(), 100u);
    for (const char* code : {"jpn", "kor", "esp"}) {
        SCOPED_TRACE(code);
        const std::string name = LanguageTableName(code);
        const LanguageTable table = LanguageTable::Parse(testing_support::ReadFileBytes(folder + name), name);
        EXPECT_EQ(table.Count(), english.Count());
        EXPECT_EQ(table.Find(59967).empty(), false);
    }
}

TEST(LanguageTable, PathFollowsTheResourceRoot) {
    const std::string saved = FormResourceRoot();
    SetFormResourceRoot("/opt/harbek/resources");
    EXPECT_EQ(LanguageTablePath("esp"), "/opt/harbek/resources/LANGUAGE/dllesp.txt");
    SetFormResourceRoot(saved);
}

} // namespace
