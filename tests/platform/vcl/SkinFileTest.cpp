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

// A 24-bit skin of 40 x `height` pixels, `left` and `right` halves.
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
    using Halves = std::pair<TColor, TColor>;
    const Halves other{clLime, clYellow};
    Write("other.bmp", Skin(8, other.first, other.second)); // the same size as each skin below
    struct TStep {
        const char* name;
        Halves before;     // the skin's picture until the step
        std::string after; // written over it in place
        Halves made;       // a window made afterwards; {clNone, clNone}: its load raises
    };
    const std::string same = Skin(8, clNavy, clOlive);
    const TStep steps[] = {
        {"truncated", {clRed, clBlue}, "", {clNone, clNone}},
        {"the same bytes copied over it", {clNavy, clOlive}, same, {clNavy, clOlive}},
        {"another header", {clMaroon, clTeal}, Skin(16, clAqua, clFuchsia), {clAqua, clFuchsia}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.name);
        Write("skin.bmp", Skin(8, s.before.first, s.before.second));
        TForm* window = Window("skin.bmp"); // decoded at its first drawing, after the rewrite
        Write("skin.bmp", s.after);
        EXPECT_EQ(Drawn(window), s.before);
        EXPECT_EQ(Drawn(Window("other.bmp")), other);
        if (s.made.first == clNone)
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
