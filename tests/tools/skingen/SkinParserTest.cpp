// Skin descriptions: what they mean, and the clear refusal (file and line) of what is wrong.
#include "tools/skingen/SkinParser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ErrorOf(const std::string& text) {
    try {
        ParseSkinText(text, "t.skin");
    } catch (const ESkinError& e) {
        return e.what();
    }
    return "";
}

const char* const kButton = "bitmap b\n size 10 12\n frames 4 horizontal\n style button\nend\n";

TEST(SkinParser, ABlockGivesSizesStatesAndElements) {
    const auto bitmaps = ParseSkinText("# heading\n"
                                       "bitmap tab_live   # trailing comment\n"
                                       "    size 60 22\n"
                                       "    frames 6 vertical\n"
                                       "    style tab\n"
                                       "    label \"LIVE # 1\"\n"
                                       "    accent #10A0FF\n"
                                       "    font 10 bold\n"
                                       "    @1,3 fill 0 0 4 4 #FF00FF\n"
                                       "    text 1 2 30 10 \"x\" right bold red\n"
                                       "end\n",
                                       "t.skin");
    ASSERT_EQ(bitmaps.size(), 1u);
    const SkinBitmap& b = bitmaps[0];
    EXPECT_EQ(b.name, "tab_live");
    EXPECT_EQ(b.StripWidth(), 60);
    EXPECT_EQ(b.StripHeight(), 132);
    EXPECT_EQ(b.label, "LIVE # 1");
    EXPECT_EQ(b.accent, 0x10A0FFu);
    EXPECT_TRUE(b.fontBold);
    // Six frames of a tab: the active look first, then the inactive one.
    EXPECT_EQ(b.states,
              (std::vector<unsigned>{sfOn, sfOn | sfHover, sfOn | sfPressed, 0, sfHover, sfPressed}));
    ASSERT_EQ(b.elements.size(), 2u);
    EXPECT_EQ(b.elements[0].frames, (std::vector<int>{1, 3}));
    EXPECT_EQ(b.elements[0].colour, 0xFF00FFu);
    EXPECT_EQ(b.elements[1].align, SkinAlign::Right);
    EXPECT_TRUE(b.elements[1].bold);
    EXPECT_EQ(b.elements[1].line, 10);
}

TEST(SkinParser, DefaultStatesFollowTheFrameCount) {
    struct Case {
        SkinStyle style;
        int frames;
        std::vector<unsigned> states;
    };
    const Case cases[] = {
        {SkinStyle::Button, 1, {0}},
        {SkinStyle::Button, 2, {0, sfHover}},
        {SkinStyle::Button, 4, {0, sfHover, sfPressed, sfDisabled}},
        {SkinStyle::Lamp, 2, {0, sfOn}},
        {SkinStyle::Cell, 6, {0, sfRecord, sfEvent, sfSelected, sfRecord | sfSelected, sfEvent | sfSelected}},
        {SkinStyle::Gauge, 2, {0, sfOn}},
        {SkinStyle::Activity, 3, {0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultStates(c.style, c.frames), c.states) << c.frames;
}

TEST(SkinParser, StatesGivenOverrideTheDefaults) {
    const auto b = ParseSkinText(
        "bitmap k\n size 4 4\n frames 2\n style knob\n states normal pressed+disabled\nend\n", "t.skin");
    EXPECT_EQ(b[0].states, (std::vector<unsigned>{0, sfPressed | sfDisabled}));
}

TEST(SkinParser, MistakesAreRefusedWithFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"size 1 1\n", "t.skin:1: expected 'bitmap NAME'"},
        {"bitmap Big\n", "t.skin:1: bitmap name 'Big'"},
        {"bitmap a\n size 10 10\n style button\n", "t.skin:3: bitmap 'a' has no 'end'"},
        {"bitmap a\n style button\nend\n", "t.skin:1: bitmap 'a' has no size"},
        {"bitmap a\n size 0 10\nend\n", "t.skin:2: width 0 is outside 1..4096"},
        {"bitmap a\n size 10 4097\nend\n", "t.skin:2: height 4097 is outside 1..4096"},
        {"bitmap a\n size 10 x10\nend\n", "t.skin:2: height 'x10' is not a whole number"},
        {"bitmap a\n size 10 10 10\nend\n", "t.skin:2: wrong number of values for 'size'"},
        {"bitmap a\n size 10 10\n frames 65\nend\n", "t.skin:3: frame count 65 is outside 1..64"},
        {"bitmap a\n size 10 10\n frames 2 diagonal\nend\n",
         "t.skin:3: orientation is horizontal or vertical"},
        {"bitmap a\n size 4000 10\n frames 8\nend\n", "t.skin:1: bitmap 'a' is too large as a strip"},
        {"bitmap a\n size 10 10\n style shiny\nend\n", "t.skin:3: unknown style 'shiny'"},
        {"bitmap a\n size 10 10\n frames 2\n states normal\nend\n",
         "t.skin:4: states lists 1 looks for 2 frames"},
        {"bitmap a\n size 10 10\n states glowing\nend\n", "t.skin:3: 'glowing' is not a state"},
        {"bitmap a\n size 10 10\n icon rocket\nend\n", "t.skin:3: unknown icon 'rocket'"},
        {"bitmap a\n size 10 10\n label OK\nend\n", "t.skin:3: label needs a quoted text"},
        {"bitmap a\n size 10 10\n label \"OK\nend\n", "t.skin:3: text without its closing quote"},
        {"bitmap a\n size 10 10\n accent mauve\nend\n", "t.skin:3: 'mauve' is not a colour"},
        {"bitmap a\n size 10 10\n accent #12345\nend\n", "t.skin:3: '#12345' is not a colour"},
        {"bitmap a\n size 10 10\n size 10 10\nend\n", "t.skin:3: 'size' given twice"},
        {"bitmap a\n size 10 10\n panel 0 0 4\nend\n", "t.skin:3: panel needs 4 numbers"},
        {"bitmap a\n size 10 10\n panel 0 0 4 -4\nend\n", "t.skin:3: width and height must not be negative"},
        {"bitmap a\n size 10 10\n panel 0 0 4 4 5\nend\n", "t.skin:3: unexpected '5' after panel"},
        {"bitmap a\n size 10 10\n panel 0 0 4 4\n style button\nend\n",
         "t.skin:4: 'style' must come before the elements"},
        {"bitmap a\n size 10 10\n line 0 0 5 5\nend\n", "t.skin:3: a line is horizontal or vertical"},
        {"bitmap a\n size 10 10\n grid 0 0 0 4 2 2\nend\n", "t.skin:3: cell size must be at least 1 x 1"},
        {"bitmap a\n size 10 10\n numbers 0 0 4 4 1001 0\nend\n", "t.skin:3: count must be 1..1000"},
        {"bitmap a\n size 10 10\n fill 0 0 4 4\nend\n", "t.skin:3: fill needs a colour"},
        {"bitmap a\n size 10 10\n @1 panel 0 0 4 4\nend\n", "t.skin:3: frame 1 is outside 0..0"},
        {"bitmap a\n size 10 10\n @0\nend\n", "t.skin:3: a frame selection needs an element after it"},
        {"bitmap a\n size 10 10\n sparkle 1\nend\n", "t.skin:3: unknown key or element 'sparkle'"},
        {"bitmap a\n size 10 10\n text 0 0 4 4 \"x\" sideways\nend\n",
         "t.skin:3: unexpected 'sideways' after text"},
        {"bitmap a\n size 10 10\n iconat 0 0 16 rocket\nend\n", "t.skin:3: unknown icon 'rocket'"},
        {"bitmap a\n size 10 10\n panel 0 0 99999 4\nend\n", "t.skin:3: number 99999 is outside"},
        {"bitmap a\n size 10 10\nbitmap b\n", "t.skin:3: 'bitmap' inside the block of 'a'"},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf(c.text);
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "text: " << c.text << "\nerror: " << error;
    }
}

TEST(SkinParser, BinaryContentIsRefused) {
    const std::string text = std::string("bitmap a\n size 1") + '\0' + "0 10\nend\n";
    EXPECT_EQ(ErrorOf(text).rfind("t.skin:2: the file is not text", 0), 0u) << ErrorOf(text);
}

TEST(SkinParser, ALongTextIsRefused) {
    const std::string text = "bitmap a\n size 10 10\n label \"" + std::string(201, 'x') + "\"\nend\n";
    EXPECT_EQ(ErrorOf(text).rfind("t.skin:3: text longer than 200 characters", 0), 0u);
}

TEST(SkinParser, NamesAreUniqueAcrossFiles) {
    std::vector<SkinBitmap> all = ParseSkinText(kButton, "one.skin");
    const auto more = ParseSkinText(std::string("\n\n") + kButton, "two.skin");
    all.insert(all.end(), more.begin(), more.end());
    try {
        CheckUniqueNames(all);
        FAIL() << "a name given twice was accepted";
    } catch (const ESkinError& e) {
        EXPECT_STREQ(e.what(), "two.skin:3: bitmap 'b' is already defined at one.skin:1");
    }
}

TEST(SkinParser, MissingAndOversizedFilesAreRefused) {
    EXPECT_THROW(ParseSkinFile("/nonexistent/x.skin"), ESkinError);
    EXPECT_THROW(ParseSkinFile("/"), ESkinError);
}

} // namespace
