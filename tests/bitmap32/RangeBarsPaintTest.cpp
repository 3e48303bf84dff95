// What the bars draw: the flat style to the pixel where it is fixed (open frames, arrow, track edge,
// handle bevel and grip), the classic pushed track, the colour arithmetic, and loading by class name.
#include "bitmap32/Bmp32_RangeBars.h"

#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "tests/bitmap32/MapTestSnapshots.h"

#include <gtest/gtest.h>

namespace {

class TPaintedRangeBar : public TRangeBar {
public:
    using TArrowBar::PaintTo;
    using TRangeBar::TRangeBar;
};

class RangeBarsPaintTest : public ::testing::Test {
protected:
    TForm* form = nullptr;
    TPaintedRangeBar* bar = nullptr;
    TBitmap32 picture;
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 100);
        form->SetColor(clWhite);
        form->Show();
        bar = new TPaintedRangeBar(form);
        bar->SetParent(form);
        bar->SetBorderStyle(bsNone);
        bar->SetBounds(10, 10, 100, 16);
        bar->SetRange(1000);
    }
    void TearDown() override { form_testing::ResetApplication(); }
    void Flat() {
        bar->SetStyle(rbsMac);
        bar->SetBorderColor(clBlack);
        bar->SetButtonColor(clSilver);
        bar->SetHighLightColor(clWhite);
        bar->SetShadowColor(clGray);
        bar->SetHandleColor(clBlue);
        bar->SetColor(clYellow);
    }
    TColor32 At(int x, int y) {
        picture.SetSize(bar->Width(), bar->Height());
        picture.Clear(0);
        bar->PaintTo(&picture);
        return picture.GetPixel(x, y);
    }
};

TEST_F(RangeBarsPaintTest, FlatStyleToThePixel) {
    Flat();
    // Buttons of 15; a track of 70 from 15; a handle of 17 at its start.
    struct Case {
        int x, y;
        TColor32 colour;
        const char* what;
    };
    const Case cases[] = {
        {0, 0, 0xFF000000, "button frame corner"},
        {14, 0, 0xFF000000, "button frame top"},
        {1, 5, 0xFFFFFFFF, "button bevel left"},
        {14, 5, 0xFF808080, "button bevel right, where the open side is"},
        {8, 8, 0xFF000000, "arrow base"},
        {4, 8, 0xFF000000, "arrow tip"},
        {3, 8, 0xFFC0C0C0, "beyond the tip"},
        {50, 0, 0xFF000000, "track frame top"},
        {50, 1, 0xFFDDDD6D, "track leading edge"},
        {40, 5, 0xFFFFFF00, "track pattern, odd"},
        {41, 5, 0xFFFFFFFF, "track pattern, even"},
        {15, 0, 0xFF000000, "handle frame"},
        {31, 8, 0xFF000000, "handle frame right"},
        {16, 1, 0xFF1818FF, "handle bevel, lightened"},
        {16, 14, 0xFF00009E, "handle bevel, blended"},
        {20, 5, 0xFF0000FF, "handle face"},
        {21, 5, 0xFF1818FF, "grip ridge, light"},
        {22, 5, 0xFF0000E7, "grip ridge, dark"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(At(c.x, c.y), c.colour) << c.what;
    bar->SetBackgnd(bgSolid);
    EXPECT_EQ(At(41, 5), 0xFFFFFF00u);
}

TEST_F(RangeBarsPaintTest, FlatStyleNotDrawnEnabled) {
    Flat();
    bar->SetRange(50);                 // fits the window
    EXPECT_EQ(At(0, 0), 0xFF808080u);  // frames in the shadow colour
    EXPECT_EQ(At(50, 5), 0xFFC0C0C0u); // tracks in the button colour, no handle
    EXPECT_EQ(At(9, 9), 0xFFFFFFFFu);  // the arrow's highlight, one pixel down and right
    EXPECT_EQ(At(4, 8), 0xFF808080u);  // the arrow itself in the shadow colour
}

TEST_F(RangeBarsPaintTest, ClassicPushedTrackAndScreen) {
    form_testing::MouseDown(bar, mbLeft, Point(70, 8));
    EXPECT_EQ(bar->DragZone(), zTrackNext);
    EXPECT_EQ(At(80, 8), Color32(clWindowFrame));
    form_testing::MouseUp(bar, mbLeft, Point(80, 8));
    bar->Repaint();
    const form_testing::TSnapshot shot = form_testing::TakeSnapshot(form);
    // The button's face, one pixel inside its raised edges, on the screen.
    EXPECT_EQ(shot.At(10 + 3, 10 + 2), ColorToRGB(clBtnFace));
    form_testing::SaveFormSnapshot(form, MapTestSnapshot("range_bar_classic.png"));
}

TEST(RangeBarColours, BlendAndLighten) {
    struct Case {
        TColor c1, c2;
        int w;
        TColor expected;
    };
    const Case cases[] = {
        {clWhite, clBlack, 255, 0x00FEFEFE}, // (255 * 255) >> 8
        {clWhite, clBlack, 0, 0x00000000},
        {clBlack, clWhite, 0, 0x00FEFEFE},
        {0x00804020, 0x00000000, 128, 0x00402010},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendColors(c.c1, c.c2, c.w), c.expected) << c.w;
    EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 255),
              BlendColors(ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), 255));
    try {
        BlendColors(clWhite, clBlack, 256);
        FAIL() << "no error";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Assertion failure");
    }
    EXPECT_EQ(LightenColor(0x00F01008, 24), 0x00FF2820);
    EXPECT_EQ(LightenColor(0x00F01008, -24), 0x00D80000);
}

TEST(RangeBarForms, LoadByClassNameWithTheirProperties) {
    RegisterRangeBars();
    auto* form = new TForm(Application);
    const std::string text = "object Form1: TForm\n"
                             "  object Bar: TRangeBar\n"
                             "    Left = 4\n    Top = 5\n    Width = 150\n    Height = 18\n"
                             "    Kind = sbHorizontal\n    Style = rbsMac\n    Backgnd = bgSolid\n"
                             "    BorderStyle = bsNone\n    HandleColor = clRed\n    ShowHandleGrip = False\n"
                             "    Increment = 20\n    Range = 600\n    Window = 100\n    Position = 250.5\n"
                             "  end\n"
                             "  object Gauge: TGaugeBar\n"
                             "    Min = 10\n    Max = 5\n    Position = 7\n    LargeChange = 4\n"
                             "    SmallChange = 0\n    HandleSize = 12\n    Kind = sbVertical\n"
                             "  end\n"
                             "end\n";
    LoadComponentDefinition(form, ParseFormDefinition(text, "bars.dfm"), "bars.dfm", nullptr);
    auto* bar = dynamic_cast<TRangeBar*>(form->FindComponent("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Width(), 150);
    EXPECT_EQ(bar->Style(), rbsMac);
    EXPECT_EQ(bar->Backgnd(), bgSolid);
    EXPECT_EQ(bar->HandleColor(), clRed);
    EXPECT_FALSE(bar->ShowHandleGrip());
    EXPECT_EQ(bar->Increment(), 20);
    EXPECT_EQ(bar->Range(), 600);
    EXPECT_EQ(bar->Window(), 100);
    EXPECT_EQ(bar->Position(), 250.5f);
    auto* gauge = dynamic_cast<TGaugeBar*>(form->FindComponent("Gauge"));
    ASSERT_NE(gauge, nullptr);
    // Read in stored order while loading: Max below Min is kept as it stands.
    EXPECT_EQ(gauge->Min(), 10);
    EXPECT_EQ(gauge->Max(), 5);
    EXPECT_EQ(gauge->SmallChange(), 1);
    EXPECT_EQ(gauge->HandleSize(), 12);
    EXPECT_EQ(gauge->Kind(), sbVertical);
    EXPECT_EQ(gauge->Width(), 100); // the loaded shape stays
    const std::string bad = "object Form2: TForm\n  object B: TRangeBar\n    Style = rbsRound\n  end\nend\n";
    auto* other = new TForm(Application);
    EXPECT_THROW(LoadComponentDefinition(other, ParseFormDefinition(bad, "bad.dfm"), "bad.dfm", nullptr),
                 Exception);
    form_testing::ResetApplication();
}

} // namespace
