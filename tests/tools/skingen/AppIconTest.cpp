// The program's icon: its description read and refused, the shapes painted with their transparency, the
// SVG of the same shapes, and the icon theme's files the build installs, read back by ImageMagick.
#include "tools/skingen/AppIcon.h"

#include "tests/support/Display.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunProgram;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

std::string Error(const std::string& text) {
    try {
        ParseIconText(text, "app.icon");
    } catch (const ESkinError& e) {
        return e.what();
    }
    return "no error";
}

TEST(AppIcon, WrongDescriptionsAreRefusedNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"# nothing\n", "app.icon: no shape is described"},
        {"star #FF0000 1 2 3\n", "app.icon:1: unknown shape 'star'"},
        {"\nbox #FF000 0 0 8 8 0\n", "app.icon:2: '#FF000' is not a colour"},
        {"box #GG0000 0 0 8 8 0\n", "app.icon:1: '#GG0000' is not a colour"},
        {"box FF0000 0 0 8 8 0\n", "app.icon:1: 'FF0000' is not a colour"},
        {"box #FF0000/ 0 0 8 8 0\n", "app.icon:1: '' is not a colour"},
        {"box #FF0000\n", "app.icon:1: box takes X Y W H RADIUS"},
        {"box #FF0000 0 0 8 8 5\n", "app.icon:1: a box needs a positive size and a radius of at most half"},
        {"box #FF0000 0 0 0 8 0\n", "app.icon:1: a box needs a positive size"},
        {"disc #FF0000 8 8 0\n", "app.icon:1: a disc needs a positive radius"},
        {"ring #FF0000 8 8 6 6\n", "app.icon:1: a ring's inner radius must be below its outer one"},
        {"segment #FF0000 0 0 8 8 0\n", "app.icon:1: a segment needs a positive width"},
        {"polygon #FF0000 0 0 8 8 0\n", "app.icon:1: a polygon takes 3 to 256 points"},
        {"polygon #FF0000 0 0 8 8\n", "app.icon:1: a polygon takes 3 to 256 points"},
        {"disc #FF0000 8 8 1e9\n", "app.icon:1: 1e9 is outside -1024..1024"},
        {"disc #FF0000 8 8 nan\n", "app.icon:1: 'nan' is not a number"},
        {"disc #FF0000 8 8 4px\n", "app.icon:1: '4px' is not a number"},
        {"disc\n", "app.icon:1: disc needs a fill and its numbers"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(Error(text).starts_with(expected)) << Error(text);
    }
}

TEST(AppIcon, LayersCompositeWithTheirTransparencyAndGrades) {
    // Comments at the start of a line and after the values; a colour is no comment.
    const auto ground = ParseIconText("# a grey ramp under half a white disc\n"
                                      "box #000000/#FFFFFF 0 0 256 256 0  # the ground\n"
                                      "disc #FFFFFF80 64 64 16\n",
                                      "app.icon");
    ASSERT_EQ(ground.size(), 2u);
    std::vector<std::uint32_t> p = PaintIcon(ground, 256);
    const auto at = [&p](int size, int x, int y) { return p[static_cast<std::size_t>(y * size + x)]; };
    EXPECT_EQ(at(256, 10, 0), 0xFF000000u);   // the ramp's top row
    EXPECT_EQ(at(256, 10, 128), 0xFF808080u); // its middle
    EXPECT_EQ(at(256, 64, 40), 0xFF282828u);  // row 40, beside the disc
    // Half white over row 64 (0x40): 0x40 + (0xFF - 0x40) * 128 / 255 = 0xA0.
    EXPECT_EQ(at(256, 64, 64), 0xFFA0A0A0u);

    // Over nothing, a half-transparent red stays half transparent and red.
    p = PaintIcon(ParseIconText("disc #FF000080 128 128 64\n", "app.icon"), 256);
    EXPECT_EQ(at(256, 128, 128), 0x80FF0000u);
    EXPECT_EQ(at(256, 0, 0), 0u);

    // The canvas scales to the size: the box spans pixels 4 to 11 of 16.
    p = PaintIcon(ParseIconText("box #FF0000 64 64 128 128 0\n", "app.icon"), 16);
    EXPECT_EQ(at(16, 3, 8), 0u);
    EXPECT_EQ(at(16, 4, 8), 0xFFFF0000u);
    EXPECT_EQ(at(16, 11, 8), 0xFFFF0000u);
    EXPECT_EQ(at(16, 12, 8), 0u);
}

TEST(AppIcon, TheSvgDrawsTheSameShapes) {
    const std::string svg = IconSvg(ParseIconText("disc #00FF0080 128 128 32\n"
                                                  "ring #0000FF 128 128 10 20\n"
                                                  "box #000000/#FFFFFF 0 16 256 64 0\n"
                                                  "segment #FFFFFF 0 0 10 10 4\n"
                                                  "polygon #123456 0 0 10 0 5 8\n",
                                                  "app.icon"));
    for (const char* part :
         {"<circle cx=\"128\" cy=\"128\" r=\"32\" fill=\"#00ff00\" fill-opacity=\"0.502\"/>",
          // The ring: its outer circle with the inner one cut out.
          "<path fill-rule=\"evenodd\" d=\"M108 128a20 20 0 1 0 40 0a20 20 0 1 0 -40 0Z"
          "M118 128a10 10 0 1 0 20 0a10 10 0 1 0 -20 0Z\" fill=\"#0000ff\"/>",
          // The grade runs over the shape's own height, as the pixels do.
          "<linearGradient id=\"g3\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"80\">",
          "<rect x=\"0\" y=\"16\" width=\"256\" height=\"64\" rx=\"0\" fill=\"url(#g3)\"/>",
          "<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"10\" stroke-width=\"4\" stroke-linecap=\"round\" "
          "stroke=\"#ffffff\"/>",
          "<polygon points=\"0,0 10,0 5,8\" fill=\"#123456\"/>"})
        EXPECT_NE(svg.find(part), std::string::npos) << part << "\n" << svg;
}

// ImageMagick's reading of a PNG: "x,y" to its RGBA in hexadecimal.
std::map<std::string, std::string> Pixels(const std::string& png) {
    std::string text;
    EXPECT_EQ(RunProgram({"convert", png, "txt:-"}, {}, &text), 0) << text;
    std::map<std::string, std::string> out;
    const std::regex row(R"((\d+,\d+): \([^)]*\)\s+#([0-9A-F]{8}))");
    for (std::sregex_iterator it(text.begin(), text.end(), row), end; it != end; ++it)
        out[(*it)[1]] = (*it)[2];
    return out;
}

TEST(AppIcon, TheProgramWritesTheIconThemeOrNothing) {
    if (!testing_support::HaveProgram("convert")) GTEST_SKIP() << "ImageMagick is not installed (make deps)";
    TempDir dir;
    WriteFileBytes(dir.File("app.icon"), "box #FF0000 64 64 128 128 0\n");
    std::string out;
    ASSERT_EQ(RunProgram({SKINGEN_PROGRAM, "--icon", dir.File("app.icon"), "-o", dir.File("out"), "--stamp",
                          dir.File("stamp")},
                         {}, &out),
              0)
        << out;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size);
        SCOPED_TRACE(side);
        const auto pixels = Pixels(dir.File("out/hicolor/" + side + "x" + side + "/apps/app.png"));
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
        const std::string q = std::to_string(size / 4 - 1), h = std::to_string(size / 2);
        EXPECT_EQ(pixels.at(q + "," + h), "00000000");
        EXPECT_EQ(pixels.at(h + "," + h), "FF0000FF");
    }
    EXPECT_TRUE(ReadFileBytes(dir.File("out/hicolor/scalable/apps/app.svg")).starts_with("<svg "));
    EXPECT_TRUE(std::filesystem::exists(dir.File("stamp")));

    WriteFileBytes(dir.File("bad.icon"), "box #FF0000 64 64 128 128 0\ndisc #FF0000 1 2\n");
    EXPECT_EQ(RunProgram({SKINGEN_PROGRAM, "--icon", dir.File("bad.icon"), "-o", dir.File("bad")}, {}, &out),
              1);
    EXPECT_NE(out.find(dir.File("bad.icon") + ":2: disc takes CX CY R"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad")));
}

} // namespace
