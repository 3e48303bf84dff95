// Image controls on a panel, as the live screens are: what the screen shows after each repaint and
// whether the panel under the image is painted again. A picture that covers the control with opaque
// pixels is painted on the screen and hides its panel; every other picture lets it show through. A
// control drawing a picture, or a fill of its whole surface, keeps what is drawn over it later, and the
// picture stays as it was.
#include "platform/vcl/Jpeg.h"
#include "tests/platform/vcl/VclTestSupport.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace vcl_test;

// A 24-bit bitmap of two halves (left, right).
std::unique_ptr<TBitmap> Bitmap(int w, int h, TColor left, TColor right) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(left);
    b->Canvas()->FillRect(Rect(0, 0, w / 2, h));
    b->Canvas()->Brush()->SetColor(right);
    b->Canvas()->FillRect(Rect(w / 2, 0, w, h));
    return b;
}

// A decoded JPEG of one colour, or of two halves (left, right).
std::unique_ptr<TJPEGImage> Jpeg(int w, int h, TColor left, TColor right) {
    TJPEGImage encoder;
    encoder.Assign(Bitmap(w, h, left, right).get());
    const std::string file = encoder.SaveToMemory();
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromMemory(file.data(), file.size());
    return jpeg;
}

std::unique_ptr<TJPEGImage> Jpeg(int w, int h, TColor colour) {
    return Jpeg(w, h, colour, colour);
}

// JPEG colours come back within a few steps.
bool Near(TColor a, TColor b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 12) return false;
    return true;
}

class ImageControlTest : public VclTest {
protected:
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TImage* image = nullptr;

    // A white form with a red panel at (20, 20, 80 x 60) holding the image.
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 140, 110);
        form->SetColor(clWhite);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBevelOuter(bvNone);
        panel->SetCaption("");
        panel->SetColor(clRed);
        panel->SetBounds(20, 20, 80, 60);
        image = new TImage(form);
        image->SetParent(panel);
        image->SetBounds(0, 0, 80, 60);
        form->Show();
    }

    // Repaints the image alone and reports whether its panel was painted again on the screen.
    bool RepaintPaintsThePanel() {
        form_testing::ProcessEvents();
        const int before = form_testing::PaintEvents(panel);
        const int own = form_testing::PaintEvents(image);
        image->Repaint();
        form_testing::ProcessEvents();
        EXPECT_GT(form_testing::PaintEvents(image), own);
        return form_testing::PaintEvents(panel) != before;
    }
};

struct TSpot {
    int x, y; // form client coordinates
    TColor colour;
};

void ExpectSpots(const form_testing::TSnapshot& picture, const std::vector<TSpot>& spots, const char* what) {
    for (const TSpot& s : spots)
        EXPECT_TRUE(Near(picture.At(s.x, s.y), s.colour))
            << what << " at (" << s.x << ", " << s.y << "): " << std::hex << picture.At(s.x, s.y)
            << " instead of " << s.colour;
}

TEST_F(ImageControlTest, AnOpaqueStretchedPictureStaysInsideItsPanel) {
    // Larger than its panel on every side, as the live screens are.
    image->SetBounds(-10, -8, 100, 76);
    image->SetStretch(true);
    image->Picture()->Assign(Jpeg(32, 24, clBlue).get());
    const std::vector<TSpot> blue = {{20, 20, clBlue},
                                     {99, 79, clBlue},
                                     {60, 50, clBlue},
                                     // Where the image reaches past the panel the form shows.
                                     {15, 15, clWhite},
                                     {104, 84, clWhite},
                                     {60, 15, clWhite},
                                     {15, 50, clWhite}};
    ExpectSpots(form_testing::TakeScreenPicture(form), blue, "screen");
    ExpectSpots(form_testing::TakeSnapshot(form), blue, "snapshot");

    // The next picture is drawn over the last one; the panel and the form are left alone.
    image->Picture()->Assign(Jpeg(32, 24, clYellow, clBlue).get());
    const int form0 = form_testing::PaintEvents(form);
    EXPECT_FALSE(RepaintPaintsThePanel());
    EXPECT_EQ(form_testing::PaintEvents(form), form0);
    const std::vector<TSpot> halves = {
        {21, 21, clYellow}, {50, 70, clYellow}, {70, 30, clBlue}, {99, 79, clBlue}, {15, 15, clWhite}};
    ExpectSpots(form_testing::TakeScreenPicture(form), halves, "screen");
    ExpectSpots(form_testing::TakeSnapshot(form), halves, "snapshot");
}

TEST_F(ImageControlTest, PicturesThatLeaveGapsLetThePanelShow) {
    struct TCase {
        const char* name;
        std::function<void()> arrange;
        std::vector<TSpot> spots;
    };
    const TCase cases[] = {
        {"small picture, not stretched",
         [&] { image->Picture()->Assign(Jpeg(32, 24, clBlue).get()); },
         {{30, 30, clBlue}, {70, 30, clRed}, {30, 70, clRed}}},
        {"proportional, wider control",
         [&] {
             image->SetBounds(0, 0, 80, 30);
             image->SetStretch(true);
             image->SetProportional(true);
             image->Picture()->Assign(Jpeg(32, 24, clBlue).get());
         },
         {{30, 30, clBlue}, {80, 30, clRed}, {30, 60, clRed}}},
        {"transparent colour",
         [&] {
             TBitmap b(80, 60);
             b.SetPixelFormat(pf24bit);
             b.Canvas()->Brush()->SetColor(clBlue);
             b.Canvas()->FillRect(Rect(0, 0, 80, 60));
             b.Canvas()->Brush()->SetColor(clLime);
             b.Canvas()->FillRect(Rect(20, 20, 60, 60));
             b.SetTransparentColor(clLime);
             b.SetTransparentMode(tmFixed);
             image->SetTransparent(true);
             image->Picture()->Assign(&b);
         },
         {{25, 25, clBlue}, {60, 60, clRed}}},
        {"JPEG holding a bitmap's clear pixels",
         [&] {
             TBitmap b(80, 60);
             b.SetPixelFormat(pf32bit);
             b.Canvas()->Brush()->SetColor(clBlue);
             b.Canvas()->FillRect(Rect(0, 0, 40, 60));
             TJPEGImage jpeg;
             jpeg.Assign(&b);
             image->SetStretch(true);
             image->Picture()->Assign(&jpeg);
         },
         {{30, 30, clBlue}, {80, 50, clRed}}},
        {"transparent image of a JPEG",
         [&] {
             image->SetStretch(true);
             image->SetTransparent(true);
             image->Picture()->Assign(Jpeg(32, 24, clBlue).get());
         },
         {{30, 30, clBlue}, {80, 50, clBlue}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.arrange();
        ExpectSpots(form_testing::TakeScreenPicture(form), c.spots, "screen");
        ExpectSpots(form_testing::TakeSnapshot(form), c.spots, "snapshot");
        EXPECT_TRUE(RepaintPaintsThePanel());
        ExpectSpots(form_testing::TakeScreenPicture(form), c.spots, "screen after a repaint");
    }
}

TEST_F(ImageControlTest, APictureThatStopsCoveringUncoversThePanelAtOnce) {
    // Each step changes what covers the panel's (20..99, 20..79); the screen must never keep the last
    // picture where nothing is drawn now.
    struct TStep {
        const char* name;
        std::function<void()> change;
        bool covers;
        std::vector<TSpot> spots;
    };
    const TStep steps[] = {
        {"stretched",
         [&] {
             image->SetStretch(true);
             image->Picture()->Assign(Jpeg(32, 24, clBlue).get());
         },
         true,
         {{30, 30, clBlue}, {95, 75, clBlue}}},
        {"not stretched", [&] { image->SetStretch(false); }, false, {{30, 30, clBlue}, {95, 75, clRed}}},
        {"larger, centred",
         [&] {
             image->SetCenter(true);
             image->Picture()->Assign(Jpeg(128, 96, clYellow).get());
         },
         true,
         {{21, 21, clYellow}, {95, 75, clYellow}}},
        {"grown past the picture",
         [&] { image->SetBounds(0, 0, 140, 100); },
         false,
         {{59, 49, clYellow}, {21, 21, clRed}}},
        {"shrunk again",
         [&] { image->SetBounds(0, 0, 80, 60); },
         true,
         {{21, 21, clYellow}, {95, 75, clYellow}}},
        {"emptied", [&] { image->Picture()->Assign(nullptr); }, false, {{21, 21, clRed}, {60, 50, clRed}}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.name);
        s.change();
        ExpectSpots(form_testing::TakeScreenPicture(form), s.spots, "screen");
        ExpectSpots(form_testing::TakeSnapshot(form), s.spots, "snapshot");
        EXPECT_EQ(RepaintPaintsThePanel(), !s.covers);
        ExpectSpots(form_testing::TakeScreenPicture(form), s.spots, "screen after a repaint");
    }
}

TEST_F(ImageControlTest, APictureDrawnWholeStaysItsOwnWhenTheControlDrawsOverIt) {
    // A picture of the control's size drawn at its origin: what the control draws over it afterwards, in
    // a paint or outside one, never reaches the picture.
    const std::unique_ptr<TBitmap> owned = Bitmap(80, 60, clBlue, clBlue);
    TBitmap& picture = *owned;
    auto* box = new TPaintBox(form);
    box->SetParent(panel);
    box->SetBounds(0, 0, 80, 60);
    bool line = false;
    box->OnPaint = TNotifyEvent([&](TObject*) {
        box->Canvas()->Draw(0, 0, &picture);
        if (!line) return;
        box->Canvas()->Brush()->SetColor(clYellow);
        box->Canvas()->FillRect(Rect(0, 28, 80, 32));
    });
    ExpectSpots(form_testing::TakeScreenPicture(form), {{60, 50, clBlue}, {21, 21, clBlue}}, "picture");

    line = true;
    box->Repaint();
    ExpectSpots(form_testing::TakeScreenPicture(form), {{60, 50, clYellow}, {21, 21, clBlue}},
                "line in a paint");
    box->Canvas()->Brush()->SetColor(clLime);
    box->Canvas()->FillRect(Rect(0, 0, 10, 10));
    ExpectSpots(form_testing::TakeScreenPicture(form),
                {{25, 25, clLime}, {60, 50, clYellow}, {95, 75, clBlue}}, "drawn outside a paint");
    for (const auto& [x, y] : {std::pair{40, 30}, std::pair{5, 5}, std::pair{79, 59}})
        EXPECT_EQ(picture.Canvas()->Pixels(x, y), clBlue) << "the picture at (" << x << ", " << y << ")";

    // The picture drawn on afterwards changes only the picture until the control draws it again.
    line = false;
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 80, 60));
    ExpectSpots(form_testing::TakeScreenPicture(form), {{95, 75, clBlue}}, "before the next paint");
    box->Repaint();
    ExpectSpots(form_testing::TakeScreenPicture(form), {{60, 50, clRed}, {25, 25, clRed}}, "the next paint");
}

TEST_F(ImageControlTest, AControlFilledWholeShowsItsColourAndKeepsItUnderLaterDrawing) {
    // Whatever is drawn after a fill of the whole control, in a paint or outside one, lands on its
    // colour, and a fill of part of the control is drawn as it is.
    const auto fill = [](TCanvas* c, TColor colour, TRect r) {
        c->Brush()->SetColor(colour);
        c->FillRect(r);
    };
    // Pictures of 4 x 4 pixels: one colour, and a blue left half beside a yellow one.
    const std::unique_ptr<TBitmap> red = Bitmap(4, 4, clRed, clRed), halves = Bitmap(4, 4, clBlue, clYellow);
    struct TCase {
        const char* name;
        std::function<void(TCanvas*)> paint;
        std::function<void(TCanvas*)> after; // outside the paint
        std::vector<TSpot> spots;            // inside the control
    };
    const TCase cases[] = {
        {"whole",
         [&](TCanvas* c) { fill(c, clGreen, Rect(0, 0, 80, 60)); },
         nullptr,
         {{21, 21, clGreen}, {99, 79, clGreen}}},
        {"larger than the control",
         [&](TCanvas* c) { fill(c, clBlue, Rect(-5, -5, 200, 200)); },
         nullptr,
         {{21, 21, clBlue}, {99, 79, clBlue}}},
        {"whole, then a corner in the paint",
         [&](TCanvas* c) {
             fill(c, clGreen, Rect(0, 0, 80, 60));
             fill(c, clYellow, Rect(0, 0, 10, 10));
         },
         nullptr,
         {{25, 25, clYellow}, {35, 35, clGreen}, {99, 79, clGreen}}},
        {"whole, then a corner after the paint",
         [&](TCanvas* c) { fill(c, clGreen, Rect(0, 0, 80, 60)); },
         [&](TCanvas* c) { fill(c, clLime, Rect(70, 50, 80, 60)); },
         {{21, 21, clGreen}, {95, 75, clLime}, {85, 65, clGreen}}},
        {"a picture of one colour stretched over it",
         [&](TCanvas* c) { c->StretchDraw(Rect(0, 0, 80, 60), red.get()); },
         [&](TCanvas* c) { fill(c, clLime, Rect(0, 0, 10, 10)); },
         {{30, 30, clRed}, {25, 25, clLime}, {99, 79, clRed}}},
        {"a picture of two colours stretched over it",
         [&](TCanvas* c) { c->StretchDraw(Rect(0, 0, 80, 60), halves.get()); },
         nullptr,
         {{30, 30, clBlue}, {90, 70, clYellow}}},
        {"two halves",
         [&](TCanvas* c) {
             fill(c, clBlue, Rect(0, 0, 40, 60));
             fill(c, clYellow, Rect(40, 0, 80, 60));
         },
         nullptr,
         {{30, 30, clBlue}, {90, 70, clYellow}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto box = std::make_unique<TPaintBox>(form);
        box->SetParent(panel);
        box->SetBounds(0, 0, 80, 60);
        box->OnPaint = TNotifyEvent([&](TObject*) { c.paint(box->Canvas()); });
        form_testing::ProcessEvents();
        if (c.after) c.after(box->Canvas());
        std::vector<TSpot> all = c.spots;
        all.push_back({15, 15, clWhite}); // the form beside the panel
        ExpectSpots(form_testing::TakeScreenPicture(form), all, "screen");
        for (const TSpot& s : c.spots)
            EXPECT_TRUE(Near(box->Canvas()->Pixels(s.x - 20, s.y - 20), s.colour))
                << "the control's own pixel at (" << s.x - 20 << ", " << s.y - 20 << ")";
    }
}

} // namespace
