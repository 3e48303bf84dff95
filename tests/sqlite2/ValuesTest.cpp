// SQLite 2's view of texts as numbers.
#include "sqlite2/Sq2Values.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace sqlite2;

TEST(Values, NumberTest) {
    for (const char* yes :
         {"1", "01", "+1", "-0", "1.0", "1e0", "1E+5", "2147483648", "99999999999999999999", "-5.25e-3"})
        EXPECT_TRUE(LooksLikeNumber(yes)) << yes;
    for (const char* no :
         {".5", "5.", " 7", "7 ", "0x10", "12abc", "abc", "", "+", "-", "1e", "1e+", "1.", "1..2"})
        EXPECT_FALSE(LooksLikeNumber(no)) << no;
}

TEST(Values, LeadingNumberOfArithmetic) {
    const std::pair<const char*, double> cases[] = {
        {" 7", 0},   {"7 ", 7},  {"12abc", 12}, {"abc", 0},     {"", 0},   {".5", 0.5},   {"5.", 5},
        {"0x10", 0}, {"1e0", 1}, {"-5", -5},    {"+2.5x", 2.5}, {"1e", 1}, {"-.5", -0.5}, {"1e400", HUGE_VAL},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadingNumber(text), value) << text;
}

TEST(Values, PrintedReals) {
    const std::pair<double, const char*> cases[] = {{1.0, "1"},        {-0.0, "0"},
                                                    {0.5, "0.5"},      {1e20, "1e+20"},
                                                    {-1e20, "-1e+20"}, {2147483648.0, "2147483648"},
                                                    {1.5, "1.5"},      {0.1 + 0.2, "0.3"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatReal(value), text) << text;
}

TEST(Values, CanonicalSpellings) {
    std::int64_t i = 0;
    EXPECT_TRUE(CanonicalInteger("9223372036854775807", i));
    EXPECT_EQ(i, INT64_MAX);
    EXPECT_TRUE(CanonicalInteger("-9223372036854775808", i));
    EXPECT_EQ(i, INT64_MIN);
    EXPECT_TRUE(CanonicalInteger("0", i));
    for (const char* no :
         {"9223372036854775808", "-9223372036854775809", "01", "-0", "+1", "1.0", "", "-", "1 "})
        EXPECT_FALSE(CanonicalInteger(no, i)) << no;
    double d = 0;
    EXPECT_TRUE(CanonicalReal("1.5", d));
    EXPECT_TRUE(CanonicalReal("1e+20", d));
    for (const char* no : {"1.50", "1e20", "1.0", ".5", "abc"})
        EXPECT_FALSE(CanonicalReal(no, d)) << no;
}

} // namespace
