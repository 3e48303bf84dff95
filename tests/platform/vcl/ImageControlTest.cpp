// Image controls on a panel, as the live screens are: what the screen shows after each repaint and
// whether the panel under the image is painted again. A picture that covers the control with opaque
// pixels hides its panel; every other picture lets it show through.
#include "platform/vcl/Jpeg.h"
#include "tests/platform/vcl/VclTestSupport.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vcl_test;

// A decoded JPEG of one colour, or of two halves (left, right).
std::unique_ptr<TJPEGImage> Jpeg(int w, int h, TColor left, TColor right) {
    TBitmap b(w, h);
    b.SetPixelFormat(pf24bit);
    b.Canvas()->Brush()->SetColor(left);
    b.Canvas()->FillRect(Rect(0, 0, w / 2, h));
    b.Canvas()->Brush()->SetColor(right);
    b.Canvas()->FillRect(Rect(w / 2, 0, w, h));
    TJPEGImage encoder;
    encoder.Assign(&b);
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

} // namespace
