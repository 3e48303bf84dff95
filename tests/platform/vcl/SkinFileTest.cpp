// Skins under the program's resource folder are read when they are loaded: a skin rewritten in place
// while windows use it (the skin generator writing the folder a running program came from, an update
// copied over an installation) changes none of them, and windows made afterwards show the file as it
// is then. Their decoding thread ends with the program.
#include "platform/vcl/FormReader.h"
#include "tests/platform/vcl/VclTestSupport.h"
#include "tests/support/Display.h"

#include <string>
#include <utility>

namespace {

using namespace vcl_test;

// A 24-bit skin of 40 x `height` pixels, `left` and `right` halves (the rows a window shows are those
// of a small skin).
std::string Skin(int height, TColor left, TColor right) {
    TBitmap b(40, height);
    b.SetPixelFormat(pf24bit);
    b.Canvas()->Brush()->SetColor(left);
    b.Canvas()->FillRect(Rect(0, 0, 20, height));
    b.Canvas()->Brush()->SetColor(right);
    b.Canvas()->FillRect(Rect(20, 0, 40, height));
    return b.SaveToMemory();
}

class SkinFileTest : public VclTest {
protected:
    testing_support::TempDir dir;
    std::string previousRoot = FormResourceRoot();

    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "skins");
        SetFormResourceRoot(dir.Path().string());
    }
    void TearDown() override {
        SetFormResourceRoot(previousRoot);
        VclTest::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes) {
        testing_support::WriteFileBytes(ResolveResourceFile("skins/" + name), bytes); // in place
    }
    // A window with an image of the skin, made and not drawn yet.
    TForm* Window(const std::string& name) {
        auto* form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 40, 16);
        form->SetColor(clWhite);
        auto* image = new TImage(form);
        image->SetParent(form);
        image->SetBounds(0, 0, 40, 16);
        image->Picture()->LoadFromFile(ResolveResourceFile("skins/" + name));
        return form;
    }
    // The window's left and right halves as drawn now.
    static std::pair<TColor, TColor> Drawn(TForm* form) {
        const form_testing::TSnapshot s = form_testing::TakeSnapshot(form);
        return {s.At(5, 4), s.At(35, 4)};
    }
};

TEST_F(SkinFileTest, ASkinRewrittenInPlaceLeavesTheWindowsAsTheyReadIt) {
    // Small skins are read at once, large ones (background pictures) at their first drawing; a large
    // one rewritten before then shows as it is then when its header is the same, else black.
    using Halves = std::pair<TColor, TColor>;
    const Halves black{clBlack, clBlack}, raises{clNone, clNone};
    struct TStep {
        const char* name;
        int height;        // of the skin and the other picture of its size: 8 small, 3000 large
        Halves before;     // the skin's picture until the step
        std::string after; // written over it in place
        Halves drawn;      // the window made before, drawn first after the step
        Halves made;       // a window made afterwards
    };
    const std::string small = Skin(8, clNavy, clOlive), large = Skin(3000, clNavy, clOlive);
    const TStep steps[] = {
        {"truncated", 8, {clRed, clBlue}, "", {clRed, clBlue}, raises},
        {"the same bytes copied over it", 8, {clNavy, clOlive}, small, {clNavy, clOlive}, {clNavy, clOlive}},
        {"another header",
         8,
         {clMaroon, clTeal},
         Skin(16, clAqua, clFuchsia),
         {clMaroon, clTeal},
         {clAqua, clFuchsia}},
        {"large, truncated", 3000, {clRed, clBlue}, "", black, raises},
        {"large, the same bytes copied over it",
         3000,
         {clNavy, clOlive},
         large,
         {clNavy, clOlive},
         {clNavy, clOlive}},
        {"large, another header",
         3000,
         {clMaroon, clTeal},
         Skin(16, clAqua, clFuchsia),
         black,
         {clAqua, clFuchsia}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.name);
        const Halves other{clLime, clYellow};
        Write("other.bmp", Skin(s.height, other.first, other.second));
        Write("skin.bmp", Skin(s.height, s.before.first, s.before.second));
        TForm* window = Window("skin.bmp"); // decoded at its first drawing, after the rewrite
        Write("skin.bmp", s.after);
        EXPECT_EQ(Drawn(window), s.drawn);
        EXPECT_EQ(Drawn(Window("other.bmp")), other);
        if (s.made == raises)
            EXPECT_THROW(Window("skin.bmp"), EInvalidGraphic);
        else
            EXPECT_EQ(Drawn(Window("skin.bmp")), s.made);
    }
}

TEST(DecodeAhead, TheDecodingThreadEndsWithTheProgram) {
    // The program exits 0 only when no thread but its own is left once its static objects are gone,
    // having ended while pictures were still being decoded.
    for (int run = 0; run < 3; ++run) {
        std::string output;
        EXPECT_EQ(testing_support::RunProgram({DECODE_AHEAD_EXIT_PROGRAM}, {}, &output), 0) << output;
    }
}

} // namespace
