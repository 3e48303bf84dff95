// Every language string id the windows' code uses exists in every language table.
#include "client/LanguageDll.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;

bool IsStringId(int id) {
    return (id >= 50297 && id <= 51000) || (id >= 59825 && id <= 60999);
}

// Ids in the string ranges written in files that load language strings, with where they were seen.
std::map<int, std::string> UsedStringIds(const fs::path& source) {
    static const std::regex number(R"(\b(5[09][0-9]{3}|60[0-9]{3})\b)");
    std::map<int, std::string> used;
    for (const char* folder : {"client", "setup", "recdb", "playback"}) {
        if (!fs::exists(source / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            const std::string text = testing_support::ReadFileBytes(entry.path().string());
            if (text.find("LoadLangString") == std::string::npos &&
                text.find("LangText") == std::string::npos)
                continue;
            for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) {
                const int id = std::stoi((*it)[1].str());
                if (IsStringId(id)) used.emplace(id, entry.path().lexically_relative(source).string());
            }
        }
    }
    return used;
}

TEST(StringIds, EveryIdTheCodeUsesIsInEveryTable) {
    const fs::path source = std::getenv("HARBEK_SOURCE");
    const std::map<int, std::string> used = UsedStringIds(source);
    // The scan sees the main window's own texts, so it is looking at the right files.
    for (int id : {60000, 59982, 59952, 50397, 50393, 50991, 59967, 60100, 60116})
        EXPECT_EQ(used.count(id), 1u) << id;

    for (const char* code : {"eng", "jpn", "kor", "esp"}) {
        const std::string name = LanguageTableName(code);
        const LanguageTable table = LanguageTable::Parse(
            testing_support::ReadFileBytes((source / "resources/LANGUAGE" / name).string()), name);
        for (const auto& [id, where] : used)
            EXPECT_TRUE(table.Contains(id))
                << "id " << id << " used in " << where << " is missing from " << name;
    }
}

} // namespace
