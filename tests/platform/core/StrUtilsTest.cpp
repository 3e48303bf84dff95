#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <gtest/gtest.h>

#include <clocale>
#include <climits>

namespace {

struct StrictCase {
    const char* text;
    bool valid;
    int value;
};

TEST(StrToInt, StrictGrammar) {
    const StrictCase cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"  42", true, 42},
        {"-17", true, -17},
        {"+5", true, 5},
        {"$1F", true, 31},
        {"0x1f", true, 31},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"42 ", false, 0},
        {"4 2", false, 0},
        {"12abc", false, 0},
        {"0x", false, 0},
        {"1.5", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.valid) {
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            EXPECT_THROW(StrToInt(c.text), EConvertError);
            EXPECT_EQ(StrToIntDef(c.text, -99), -99);
        }
    }
}

TEST(StrToInt, MessageNamesTheText) {
    try {
        StrToInt("12x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'12x' is not a valid integer value");
    }
}

TEST(StrToInt64, Range) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(StrToIntLenient, BehavesLikeTheCRuntime) {
    const std::pair<const char*, int> cases[] = {
        {"42abc", 42},   {"  -7", -7},   {"abc", 0},           {"", 0},
        {"\t+3 ", 3},    {"1.9", 1},     {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
        {"0x10", 0},     {"- 5", 0},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrToIntLenient(text), value);
    }
}

TEST(Format, UsesTheCLocaleEvenUnderACommaLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    const char* comma = nullptr;
    for (const char* name : {"es_ES.UTF-8", "es_ES.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale does not use a comma, the test proves nothing";
    EXPECT_EQ(Format("%.6f", 37.5), "37.500000");
    EXPECT_EQ(FloatToStr(2.25), "2.25");
    EXPECT_DOUBLE_EQ(StrToFloat("2.5"), 2.5);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Format, LongOutputIsNotCut) {
    const std::string long_text(1000, 'x');
    EXPECT_EQ(Format("<%s>", long_text.c_str()).size(), 1002u);
}

TEST(Text, TrimAndCase) {
    EXPECT_EQ(Trim("  a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("\t x "), "x ");
    EXPECT_EQ(TrimRight(" x \t"), " x");
    EXPECT_EQ(UpperCase("abcXYZ1"), "ABCXYZ1");
    EXPECT_TRUE(SameText("Config", "CONFIG"));
    EXPECT_FALSE(SameText("Config", "Configs"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_TRUE(StartsText("ht", "HTML"));
    EXPECT_TRUE(EndsText(".BIN", "image.bin"));
    EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(Text, StrLCopyAlwaysTerminates) {
    char buf[5];
    StrLCopy(buf, "password", sizeof buf);
    EXPECT_STREQ(buf, "pass");
    StrLCopy(buf, "ab", sizeof buf);
    EXPECT_STREQ(buf, "ab");
}

} // namespace
