// The image view: bars laid along the edges, a small bitmap kept centred, a large one scrolled by
// its bars, the automatic bars, extra scroll room, the size grip and loading by class name.
#include "bitmap32/Bmp32_ImageView.h"

#include "platform/vcl/ControlCursor.h"
#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "tests/bitmap32/MapTestSnapshots.h"

#include <gtest/gtest.h>

namespace {

// Records the non-client presses the size grip sends.
class TGripForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> ncPresses;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_NCLBUTTONDOWN) ncPresses.push_back(Message.WParam);
        TForm::Dispatch(Message);
    }
};

class ImageViewTest : public ::testing::Test {
protected:
    TGripForm* form = nullptr;
    TImgView32* view = nullptr;
    void SetUp() override {
        form = new TGripForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        form->Show();
        view = new TImgView32(form);
        view->SetParent(form);
        view->SetBounds(0, 0, 200, 150);
        form_testing::ProcessEvents();
    }
    void TearDown() override { form_testing::ResetApplication(); }
    void Picture(int w, int h) {
        view->Bitmap()->SetSize(w, h);
        view->Bitmap()->Clear(0xFF336699);
    }
};

TEST_F(ImageViewTest, FreshViewLaysItsBarsAlongTheEdges) {
    EXPECT_TRUE(view->Centered());
    EXPECT_EQ(view->ScaleMode(), smScale);
    EXPECT_EQ(view->BitmapAlign(), baCustom);
    EXPECT_EQ(view->GetScrollBarSize(), DefaultScrollBarSize);
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 184, 134));
    EXPECT_EQ(view->HScroll()->BoundsRect(), Rect(0, 134, 184, 150));
    EXPECT_EQ(view->VScroll()->BoundsRect(), Rect(184, 0, 200, 134));
    EXPECT_EQ(view->VScroll()->Kind(), sbVertical);
    EXPECT_EQ(view->HScroll()->Parent(), view);
    EXPECT_TRUE(view->HScroll()->Centered());
    EXPECT_EQ(view->HScroll()->BorderStyle(), bsNone);
}

TEST_F(ImageViewTest, SmallBitmapStaysCentredWhateverTheBars) {
    Picture(50, 40);
    EXPECT_EQ(view->OffsetHorz(), 67.0f); // (184 - 50) / 2
    EXPECT_EQ(view->OffsetVert(), 47.0f);
    view->Scroll(30, 30);
    view->HScroll()->SetPosition(10);
    EXPECT_EQ(view->OffsetHorz(), 67.0f);
    EXPECT_EQ(view->OffsetVert(), 47.0f);
    Picture(51, 41); // half pixels stay
    EXPECT_EQ(view->OffsetHorz(), 66.5f);
}

TEST_F(ImageViewTest, LargeBitmapScrollsWithItsBars) {
    int scrolls = 0;
    view->OnScroll = [&](TObject*) { ++scrolls; };
    Picture(400, 300);
    EXPECT_EQ(view->HScroll()->Range(), 400);
    EXPECT_EQ(view->VScroll()->Range(), 300);
    // Centred on the bitmap's middle: 200 - 184 / 2 and 150 - 134 / 2.
    EXPECT_EQ(view->HScroll()->Position(), 108);
    EXPECT_EQ(view->VScroll()->Position(), 83);
    EXPECT_EQ(view->OffsetHorz(), -108.0f);
    EXPECT_EQ(view->OffsetVert(), -83.0f);
    EXPECT_EQ(scrolls, 0);
    view->Scroll(10, -500); // the bars clamp
    EXPECT_EQ(view->OffsetHorz(), -118.0f);
    EXPECT_EQ(view->OffsetVert(), 0.0f);
    EXPECT_EQ(scrolls, 0);
    view->HScroll()->SetPosition(1000); // as a drag would: the view follows and reports
    EXPECT_EQ(view->OffsetHorz(), -216.0f);
    EXPECT_EQ(scrolls, 1);
    view->ScrollToCenter(0, 0);
    EXPECT_EQ(view->OffsetHorz(), 0.0f);
    EXPECT_EQ(view->OffsetVert(), 0.0f);
    // The bitmap point under a control point follows the offsets.
    view->ScrollToCenter(300, 200);
    EXPECT_EQ(view->ControlToBitmap(Point(92, 67)), Point(300, 200));
}

TEST_F(ImageViewTest, NotCentredStartsAtTheTopLeft) {
    Picture(50, 40);
    view->SetCentered(false);
    EXPECT_FALSE(view->HScroll()->Centered());
    EXPECT_EQ(view->OffsetHorz(), 0.0f);
    EXPECT_EQ(view->OffsetVert(), 0.0f);
    Picture(400, 300);
    EXPECT_EQ(view->HScroll()->Position(), 0);
    EXPECT_EQ(view->OffsetHorz(), 0.0f);
}

TEST_F(ImageViewTest, AutomaticBarsComeAndGoWithTheBitmap) {
    view->ScrollBars()->SetVisibility(svAuto);
    Picture(50, 40);
    EXPECT_EQ(view->GetScrollBarSize(), 0);
    EXPECT_FALSE(view->HScroll()->Visible());
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 200, 150)); // the viewport takes the bars' room
    EXPECT_EQ(view->OffsetHorz(), 75.0f);
    Picture(400, 40); // too wide: both bars return
    EXPECT_EQ(view->GetScrollBarSize(), 16);
    EXPECT_TRUE(view->VScroll()->Visible());
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 184, 134));
    view->ScrollBars()->SetVisibility(svHidden);
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 200, 150));
    EXPECT_FALSE(view->HScroll()->Visible());
}

TEST_F(ImageViewTest, BitmapOfTheViewportSizeNeedsNoScrolling) {
    Picture(184, 134);
    EXPECT_FALSE(view->HScroll()->DrawEnabled());
    EXPECT_FALSE(view->VScroll()->DrawEnabled());
    EXPECT_EQ(view->OffsetHorz(), 0.0f);
    EXPECT_EQ(view->OffsetVert(), 0.0f);
}

TEST_F(ImageViewTest, OverSizeAddsRoomOnEachSide) {
    Picture(400, 300);
    view->SetOverSize(10);
    EXPECT_EQ(view->HScroll()->Range(), 420);
    EXPECT_EQ(view->HScroll()->Position(), 118);
    EXPECT_EQ(view->OffsetHorz(), -108.0f); // the same centre
    view->HScroll()->SetPosition(0);
    EXPECT_EQ(view->OffsetHorz(), 10.0f);
    // A small bitmap with its room still fits: centred.
    Picture(100, 60);
    EXPECT_EQ(view->OffsetHorz(), 42.0f);
}

TEST_F(ImageViewTest, ScaleChangesTheRanges) {
    Picture(100, 100);
    int scaleChanges = 0;
    view->OnScaleChange = [&](TObject*) { ++scaleChanges; };
    view->SetScale(2.0f);
    EXPECT_EQ(scaleChanges, 1);
    EXPECT_EQ(view->HScroll()->Range(), 200);
    EXPECT_EQ(view->VScroll()->Range(), 200);
    EXPECT_EQ(view->OffsetHorz(), -8.0f); // centred: 200 wide in 184
}

TEST_F(ImageViewTest, ScrollPropertiesReachBothBars) {
    TIVScrollProperties* bars = view->ScrollBars();
    bars->SetIncrement(24);
    EXPECT_EQ(view->VScroll()->Increment(), 24);
    EXPECT_EQ(bars->Increment(), 24);
    bars->SetStyle(rbsMac);
    EXPECT_EQ(view->VScroll()->Style(), rbsMac);
    bars->SetSize(20);
    EXPECT_EQ(bars->Size(), 20);
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 180, 130));
    EXPECT_EQ(view->VScroll()->BoundsRect(), Rect(180, 0, 200, 130));
}

TEST_F(ImageViewTest, SizeGripVisibilityAndPress) {
    struct Case {
        TSizeGripStyle style;
        TAlign align;
        bool visible;
    };
    const Case cases[] = {{sgAlways, alNone, true},
                          {sgNone, alClient, false},
                          {sgAuto, alNone, false},
                          {sgAuto, alClient, true}};
    for (const Case& c : cases) {
        view->SetSizeGrip(c.style);
        view->SetAlign(c.align);
        EXPECT_EQ(view->IsSizeGripVisible(), c.visible) << int(c.style) << " " << int(c.align);
    }
    view->SetAlign(alNone);
    view->SetBounds(0, 0, 200, 150);
    view->SetSizeGrip(sgAlways);
    EXPECT_EQ(view->GetSizeGripRect(), Rect(184, 134, 200, 150));
    // The sizing cursor over the grip only; the cursor the program gave the view stays its own.
    view->SetCursor(crHandPoint);
    form_testing::MouseMove(view, Point(190, 140));
    EXPECT_EQ(ShownCursor(view), crSizeNWSE);
    form_testing::MouseMove(view, Point(50, 50));
    EXPECT_EQ(ShownCursor(view), crHandPoint);
    EXPECT_EQ(view->Cursor(), crHandPoint);
    // A press on the grip asks the form to size itself; one that does not move sizes nothing.
    form_testing::Drag(view, Point(190, 140), Point(190, 140), 1);
    EXPECT_EQ(form->ncPresses, std::vector<WPARAM>{HTBOTTOMRIGHT});
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 300, 200));
    EXPECT_FALSE(form->Sizing());
    form_testing::Drag(view, Point(50, 50), Point(90, 90)); // not on the grip
    EXPECT_EQ(form->ncPresses.size(), 1u);
    view->SetSizeGrip(sgNone);
    form_testing::Drag(view, Point(190, 140), Point(230, 170));
    EXPECT_EQ(form->ncPresses.size(), 1u);
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 300, 200));
}

TEST_F(ImageViewTest, DraggingTheGripSizesTheFormTheViewAndItsBars) {
    view->SetAlign(alClient); // fills its form: the grip shows
    Picture(400, 300);
    form_testing::SaveFormSnapshot(form, MapTestSnapshot("image_view_grip_before.png"));
    form_testing::Drag(view, Point(292, 192), Point(332, 222));
    EXPECT_EQ(form->ncPresses, std::vector<WPARAM>{HTBOTTOMRIGHT});
    EXPECT_FALSE(form->Sizing());
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 340, 230));
    EXPECT_EQ(view->BoundsRect(), Rect(0, 0, 340, 230));
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 324, 214));
    EXPECT_EQ(view->HScroll()->BoundsRect(), Rect(0, 214, 324, 230));
    EXPECT_EQ(view->VScroll()->BoundsRect(), Rect(324, 0, 340, 214));
    EXPECT_EQ(view->GetSizeGripRect(), Rect(324, 214, 340, 230));
    form_testing::ProcessEvents();
    const form_testing::TSnapshot shot = form_testing::TakeSnapshot(form);
    EXPECT_EQ(shot.At(320, 210), WinColor(0xFF336699));  // the picture reaches the new viewport's corner
    EXPECT_EQ(shot.At(325, 215), ColorToRGB(clBtnFace)); // the grip moved with the corner
    form_testing::SaveFormSnapshot(form, MapTestSnapshot("image_view_grip_after.png"));
    // However far it is dragged in, the window keeps a little of itself.
    form_testing::Drag(view, Point(332, 222), Point(-100, -100));
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 32, 32));
    EXPECT_EQ(view->GetViewportRect(), Rect(0, 0, 16, 16));
}

TEST_F(ImageViewTest, PaintsTheBitmapAndTheCorner) {
    Picture(50, 40);
    view->Repaint();
    const form_testing::TSnapshot shot = form_testing::TakeSnapshot(form);
    EXPECT_EQ(shot.At(100, 70), WinColor(0xFF336699));
    EXPECT_EQ(shot.At(195, 145), ColorToRGB(clBtnFace)); // the corner between the bars
    form_testing::SaveFormSnapshot(form, MapTestSnapshot("image_view.png"));
}

TEST_F(ImageViewTest, LoadsByClassName) {
    RegisterImageView();
    auto* loaded = new TForm(Application);
    const std::string text = "object Form1: TForm\n"
                             "  object View: TImgView32\n"
                             "    Left = 0\n    Top = 0\n    Width = 120\n    Height = 90\n"
                             "    Centered = False\n    OverSize = 4\n    SizeGrip = sgNone\n"
                             "    ScrollBars.Size = 12\n    ScrollBars.Visibility = svAlways\n"
                             "    ScrollBars.Style = rbsMac\n    ScrollBars.Increment = 5\n"
                             "  end\n"
                             "end\n";
    LoadComponentDefinition(loaded, ParseFormDefinition(text, "view.dfm"), "view.dfm", nullptr);
    auto* v = dynamic_cast<TImgView32*>(loaded->FindComponent("View"));
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(v->Centered());
    EXPECT_EQ(v->OverSize(), 4);
    EXPECT_EQ(v->SizeGrip(), sgNone);
    EXPECT_EQ(v->GetViewportRect(), Rect(0, 0, 108, 78));
    EXPECT_EQ(v->HScroll()->Style(), rbsMac);
    EXPECT_EQ(v->VScroll()->Increment(), 5);
    for (const char* property : {"ScrollBars.Colour = 3", "ScaleMode = smNormal", "BitmapAlign = baTile"}) {
        const std::string bad =
            std::string("object Form2: TForm\n  object V: TImgView32\n    ") + property + "\n  end\nend\n";
        auto* other = new TForm(Application);
        EXPECT_THROW(LoadComponentDefinition(other, ParseFormDefinition(bad, "bad.dfm"), "bad.dfm", nullptr),
                     Exception)
            << property;
    }
}

} // namespace
