// What an image control shows: its bitmap placed by alignment and scale over the background colour,
// as the back buffer holds it and as the window shows it; what each repaint mode repaints after a
// change of the bitmap; the paint box's own buffer paint and PaintTo. A picture of a few controls is
// written to <build>/snapshots/image_controls.png for a person to look at.
#include "bitmap32/Bmp32_Image.h"
#include "platform/vcl/FormTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr TColor32 kBack = 0xFF2040C0;     // the control's colour (clBlue-ish, as Color32 gives it)
constexpr TWinColor kBackWin = 0x00C04020; // the same as a platform colour

// A bitmap whose pixel (x, y) is a colour of its own, opaque.
void FillPattern(TBitmap32& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y,
                       0xFF000000u | (static_cast<TColor32>(x * 37 % 256) << 16) |
                           (static_cast<TColor32>(y * 53 % 256) << 8) |
                           static_cast<TColor32>((x + y) % 7 * 30));
}

TColor Rgb(TColor32 c) {
    return static_cast<TColor>(WinColor(c) & 0xFFFFFF);
}

class ImagePaint : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 420, 300);
        form->SetColor(clBlack);
    }
    void TearDown() override { form_testing::ResetApplication(); }

    TImage32* AddImage(int left, int top, int w, int h) {
        auto* image = new TImage32(form);
        image->SetParent(form);
        image->SetBounds(left, top, w, h);
        image->SetColor(kBackWin);
        return image;
    }
    // The window's pixel at a point of the control.
    TColor Shown(const form_testing::TSnapshot& picture, TControl* control, int x, int y) {
        const TPoint origin = form->ClientOrigin();
        return picture.At(origin.X - form->Left() + control->Left() + x,
                          origin.Y - form->Top() + control->Top() + y);
    }

    TForm* form = nullptr;
};

TEST_F(ImagePaint, BitmapOverBackgroundByAlignment) {
    struct Row {
        const char* what;
        TBitmapAlign align;
        float offsetX, offsetY;
        int controlW, controlH, bitmapW, bitmapH;
    } const rows[] = {
        {"top left, smaller", baTopLeft, 0, 0, 40, 30, 13, 7},
        {"centre, odd", baCenter, 0, 0, 41, 30, 13, 8},
        {"centre, larger than the control", baCenter, 0, 0, 20, 15, 31, 27},
        {"custom offset", baCustom, -3, 5.5f, 40, 30, 13, 7},
        {"tile", baTile, 0, 0, 40, 30, 13, 7},
        {"1x1", baCenter, 0, 0, 5, 5, 1, 1},
        {"empty bitmap", baTopLeft, 0, 0, 9, 9, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TImage32* image = AddImage(0, 0, row.controlW, row.controlH);
        FillPattern(*image->Bitmap(), row.bitmapW, row.bitmapH);
        image->SetBitmapAlign(row.align);
        image->SetOffsetHorz(row.offsetX);
        image->SetOffsetVert(row.offsetY);
        form->Show();
        form_testing::ProcessEvents();
        const auto picture = form_testing::TakeSnapshot(form);
        const TRect r = image->GetBitmapRect();
        for (int y = 0; y < row.controlH; ++y)
            for (int x = 0; x < row.controlW; ++x) {
                TColor32 want = kBack;
                if (!image->Bitmap()->Empty()) {
                    int bx = x - r.Left, by = y - r.Top;
                    if (row.align == baTile) {
                        bx %= row.bitmapW;
                        by %= row.bitmapH;
                    }
                    if (bx >= 0 && by >= 0 && bx < row.bitmapW && by < row.bitmapH)
                        want = image->Bitmap()->GetPixel(bx, by);
                }
                ASSERT_EQ(image->Buffer()->GetPixel(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y;
                ASSERT_EQ(Shown(picture, image, x, y), Rgb(want)) << x << "," << y;
            }
        delete image;
    }
}

TEST_F(ImagePaint, StretchedAndScaledBitmapsFillTheirRectangles) {
    // A 2 x 2 bitmap of four colours: each quarter of the bitmap rectangle takes one.
    const TColor32 quad[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    struct Row {
        const char* what;
        TScaleMode mode;
        float scale;
        TRect want;
    } const rows[] = {
        {"stretch", smStretch, 1, {0, 0, 60, 40}},
        {"scale 7.5", smScale, 7.5f, {0, 0, 15, 15}},
        {"resize keeps proportions", smResize, 1, {0, 0, 40, 40}},
        {"optimal grows nothing", smOptimal, 1, {0, 0, 2, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TImage32* image = AddImage(0, 0, 60, 40);
        image->Bitmap()->SetSize(2, 2);
        for (int i = 0; i < 4; ++i)
            image->Bitmap()->SetPixel(i % 2, i / 2, quad[i]);
        image->SetScaleMode(row.mode);
        image->SetScale(row.scale);
        form->Show();
        form_testing::ProcessEvents();
        ASSERT_EQ(image->GetBitmapRect(), row.want);
        const auto picture = form_testing::TakeSnapshot(form);
        const TRect& r = row.want;
        // Quarter points stay clear of the middle, where an odd size leaves the choice to rounding.
        const int x1 = r.Left + r.Width() / 4, x3 = r.Left + r.Width() * 3 / 4;
        const int y1 = r.Top + r.Height() / 4, y3 = r.Top + r.Height() * 3 / 4;
        const struct {
            int x, y;
            TColor32 c;
        } probes[] = {{r.Left, r.Top, quad[0]},
                      {r.Right - 1, r.Top, quad[1]},
                      {r.Left, r.Bottom - 1, quad[2]},
                      {r.Right - 1, r.Bottom - 1, quad[3]},
                      {x1, y1, quad[0]},
                      {x3, y3, quad[3]},
                      {x3, y1, quad[1]},
                      {x1, y3, quad[2]}};
        for (const auto& p : probes) {
            EXPECT_EQ(Shown(picture, image, p.x, p.y), Rgb(p.c)) << p.x << "," << p.y;
        }
        if (r.Right < 60) {
            EXPECT_EQ(Shown(picture, image, r.Right, 0), Rgb(kBack));
        }
        if (r.Bottom < 40) {
            EXPECT_EQ(Shown(picture, image, 0, r.Bottom), Rgb(kBack));
        }
        delete image;
    }
}

// Records the clip rectangle of every buffer paint through a custom stage.
struct ClipRecorder {
    std::vector<TRect> clips;
    void Attach(TImage32* image) {
        TPaintStage* stage = image->PaintStages()->Add();
        stage->Stage = PST_CUSTOM;
        image->OnPaintStage = [this](TObject*, TBitmap32* dest, unsigned) {
            clips.push_back(dest->ClipRect());
        };
    }
};

TEST_F(ImagePaint, EachRepaintModeRepaintsWhatChanged) {
    struct Row {
        const char* what;
        TRepaintMode mode;
        std::vector<TRect> want;
        bool posted; // the change asked for its repaint with a paint message of its own
    } const rows[] = {
        {"full repaints everything", rmFull, {{0, 0, 200, 100}}, false},
        // The change grown by the nearest resampler's reach (1 + 1) on every side.
        {"direct repaints the area", rmDirect, {{8, 8, 22, 22}}, false},
        {"optimizer repaints the area", rmOptimizer, {{8, 8, 22, 22}}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TImage32* image = AddImage(0, 0, 200, 100);
        FillPattern(*image->Bitmap(), 200, 100);
        image->SetRepaintMode(row.mode);
        // Level 0 of the optimizer keeps exact rectangles; its timing would otherwise decide.
        static_cast<TMicroTilesRepaintOptimizer*>(image->RepaintOptimizer())->SetAdaptiveMode(false);
        ClipRecorder recorder;
        recorder.Attach(image);
        form->Show();
        form_testing::ProcessEvents();
        ASSERT_FALSE(recorder.clips.empty()) << "never painted";
        EXPECT_EQ(recorder.clips.back(), Rect(0, 0, 200, 100)) << "the first paint is a full one";
        // The optimizer's first incremental paint still carries the full reset of its start.
        image->Bitmap()->FillRectS(150, 50, 160, 60, 0xFF000000);
        form_testing::ProcessEvents();
        recorder.clips.clear();

        image->Bitmap()->FillRectS(10, 10, 20, 20, 0xFFFFFFFF);
        if (row.posted) image->Invalidate(); // asks again before the paint came
        MSG paint;
        EXPECT_EQ(PeekMessage(&paint, image->Handle(), WM_PAINT, WM_PAINT, PM_REMOVE) != FALSE, row.posted);
        EXPECT_FALSE(PeekMessage(&paint, image->Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE))
            << "one is enough";
        if (row.posted) PostMessage(image->Handle(), WM_PAINT, 0, 0); // put back
        form_testing::ProcessEvents();
        EXPECT_EQ(recorder.clips, row.want);
        const auto picture = form_testing::TakeSnapshot(form);
        EXPECT_EQ(Shown(picture, image, 15, 15), Rgb(0xFFFFFFFF));
        EXPECT_EQ(Shown(picture, image, 25, 25), Rgb(image->Bitmap()->GetPixel(25, 25)));
        delete image;
    }
}

TEST_F(ImagePaint, ResizeAfterCollectedAreasRepaintsTheWholeBuffer) {
    TImage32* image = AddImage(0, 0, 100, 60);
    FillPattern(*image->Bitmap(), 300, 200);
    image->SetRepaintMode(rmDirect);
    form->Show();
    form_testing::ProcessEvents();
    image->BeginUpdate(); // areas collect without a repaint
    image->Bitmap()->FillRectS(0, 0, 5, 5, 0xFFFFFFFF);
    image->EndUpdate();
    image->SetBounds(0, 0, 250, 150); // the buffer grows past its oversize
    form_testing::ProcessEvents();
    const auto picture = form_testing::TakeSnapshot(form);
    for (const TPoint p : {Point(2, 2), Point(120, 90), Point(249, 149), Point(200, 10)})
        EXPECT_EQ(Shown(picture, image, p.X, p.Y), Rgb(image->Bitmap()->GetPixel(p.X, p.Y)))
            << p.X << "," << p.Y;
}

TEST_F(ImagePaint, PaintToDrawsTheRunTimeStagesIntoAnyRectangle) {
    TImage32* image = AddImage(0, 0, 50, 40);
    FillPattern(*image->Bitmap(), 4, 2);
    TBitmap32 dest;
    dest.SetSize(60, 50);
    dest.Clear(0xFF000000);
    image->PaintTo(&dest, Rect(10, 20, 18, 24)); // 2x scale into a rectangle of the destination
    EXPECT_FALSE(image->PaintToMode());
    EXPECT_EQ(dest.GetPixel(10, 20), image->Bitmap()->GetPixel(0, 0));
    EXPECT_EQ(dest.GetPixel(17, 23), image->Bitmap()->GetPixel(3, 1));
    EXPECT_EQ(dest.GetPixel(13, 21), image->Bitmap()->GetPixel(1, 0));
    // The background stage fills the control's area around the rectangle, not the destination's.
    EXPECT_EQ(dest.GetPixel(0, 0), kBack);
    EXPECT_EQ(dest.GetPixel(49, 39), kBack);
    EXPECT_EQ(dest.GetPixel(55, 45), 0xFF000000u);
    // The control's own cache is not left with the rectangle.
    EXPECT_FALSE(image->CacheValid());
    EXPECT_EQ(image->GetBitmapRect(), Rect(0, 0, 4, 2));
}

TEST_F(ImagePaint, PaintBoxShowsWhatItsBufferPaintDraws) {
    auto* box = new TPaintBox32(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 30, 20);
    int paints = 0;
    std::vector<TRect> seen;
    // A full paint draws everything; a paint for some rectangles leaves the buffer as it is.
    box->OnPaintBuffer = [&](TObject*) {
        ++paints;
        for (int i = 0; i < box->InvalidRects()->Count(); ++i)
            seen.push_back(*box->InvalidRects()->Items(i));
        if (box->InvalidRects()->Count() > 0) return;
        box->Buffer()->Clear(0xFF00FF00);
        box->Buffer()->FillRectS(5, 5, 10, 10, 0xFFFF0000);
    };
    form->Show();
    form_testing::ProcessEvents();
    EXPECT_GE(paints, 1);
    EXPECT_TRUE(box->BufferValid());
    EXPECT_FALSE(box->ForceFullRepaint());
    auto picture = form_testing::TakeSnapshot(form);
    EXPECT_EQ(Shown(picture, box, 0, 0), Rgb(0xFF00FF00));
    EXPECT_EQ(Shown(picture, box, 7, 7), Rgb(0xFFFF0000));
    EXPECT_EQ(Shown(picture, box, 29, 19), Rgb(0xFF00FF00));

    // Direct mode: a drawing on the buffer outside the paint is repainted and copied by its area.
    box->SetRepaintMode(rmDirect);
    form_testing::ProcessEvents();
    seen.clear();
    box->Buffer()->FillRectS(20, 2, 25, 6, 0xFF0000FF);
    form_testing::ProcessEvents();
    EXPECT_EQ(seen, (std::vector<TRect>{Rect(20, 2, 25, 6)}));
    EXPECT_EQ(box->InvalidRects()->Count(), 0);
    picture = form_testing::TakeSnapshot(form);
    EXPECT_EQ(Shown(picture, box, 22, 4), Rgb(0xFF0000FF));
    EXPECT_EQ(Shown(picture, box, 7, 7), Rgb(0xFFFF0000));
    EXPECT_EQ(Shown(picture, box, 0, 0), Rgb(0xFF00FF00));
}

TEST_F(ImagePaint, MouseEventsCarryControlCoordinatesAndTheLayer) {
    TImage32* image = AddImage(20, 10, 100, 80);
    FillPattern(*image->Bitmap(), 50, 40);
    image->SetScaleMode(smStretch);
    auto* layer = image->Layers()->Add<TPositionedLayer>();
    layer->SetLocation(FloatRect(60, 40, 90, 70));
    struct Event {
        char kind;
        int x, y;
        TCustomLayer* layer;
    };
    std::vector<Event> events;
    image->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y, TCustomLayer* l) {
        events.push_back({'d', x, y, l});
    };
    image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y, TCustomLayer* l) {
        events.push_back({'u', x, y, l});
    };
    image->OnMouseMove = [&](TObject*, TShiftState, int x, int y, TCustomLayer* l) {
        events.push_back({'m', x, y, l});
    };
    form->Show();
    form_testing::ProcessEvents();
    form_testing::Click(image, Point(10, 20));
    form_testing::Click(image, Point(70, 50));
    std::vector<Event> downs;
    for (const Event& e : events)
        if (e.kind != 'm') downs.push_back(e);
    ASSERT_EQ(downs.size(), 4u);
    EXPECT_EQ(downs[0].x, 10);
    EXPECT_EQ(downs[0].y, 20);
    EXPECT_EQ(downs[0].layer, nullptr);
    EXPECT_EQ(downs[2].kind, 'd');
    EXPECT_EQ(downs[2].layer, layer);
    EXPECT_EQ(downs[3].layer, layer);
    EXPECT_EQ(image->ControlToBitmap(Point(downs[2].x, downs[2].y)), Point(35, 25));
    EXPECT_EQ(image->Layers()->MouseListener(), nullptr) << "released with the button";
}

TEST_F(ImagePaint, StagesRunInListOrderAndUnknownCodesAreSkipped) {
    TImage32* image = AddImage(0, 0, 40, 30);
    image->Bitmap()->SetSize(10, 10);
    image->Bitmap()->Clear(0xFF00FF00);
    TPaintStages* stages = image->PaintStages();
    stages->Clear();
    const std::uint32_t codes[] = {PST_CLEAR_BUFFER,  99,        PST_CUSTOM, PST_BITMAP_FRAME,
                                   PST_CONTROL_FRAME, PST_CUSTOM};
    for (std::uint32_t code : codes)
        stages->Add()->Stage = code;
    stages->Items(5).RunTime = false; // a designer-only stage
    std::vector<unsigned> custom;
    image->OnPaintStage = [&](TObject*, TBitmap32*, unsigned stageNum) { custom.push_back(stageNum); };
    TBitmap32 dest;
    dest.SetSize(50, 40);
    dest.Clear(0xFF000000);
    image->PaintTo(&dest, Rect(5, 5, 15, 15));
    EXPECT_EQ(custom, (std::vector<unsigned>{2}));
    // The buffer clear fills everything with the control's colour; the focus frames mark the bitmap's
    // rectangle and the control's edge.
    EXPECT_EQ(dest.GetPixel(20, 20), kBack);
    EXPECT_EQ(dest.GetPixel(45, 35), kBack);
    int frameBitmap = 0, frameControl = 0;
    for (int x = 5; x < 15; ++x)
        frameBitmap += (dest.GetPixel(x, 5) & 0xFFFFFF) != (kBack & 0xFFFFFF);
    for (int x = 0; x < 40; ++x)
        frameControl += (dest.GetPixel(x, 0) & 0xFFFFFF) != (kBack & 0xFFFFFF);
    EXPECT_GT(frameBitmap, 0);
    EXPECT_GT(frameControl, 0);
    EXPECT_EQ(dest.GetPixel(10, 10), kBack) << "no bitmap stage in this list";
}

// A layer that draws on the control's canvas after the buffer is shown.
class CanvasLayer : public TCustomLayer {
public:
    using TCustomLayer::TCustomLayer;
    int paints = 0;
    void PaintGDI(TCanvas* Canvas) override {
        ++paints;
        Canvas->Brush()->SetColor(clYellow);
        Canvas->FillRect(Rect(2, 2, 6, 6));
    }
};

TEST_F(ImagePaint, OverlayLayersDrawOnTheCanvasAfterTheBlit) {
    TImage32* image = AddImage(0, 0, 30, 20);
    FillPattern(*image->Bitmap(), 30, 20);
    int overlays = 0;
    image->OnGDIOverlay = [&](TObject*) { ++overlays; };
    auto* layer = static_cast<CanvasLayer*>(image->Layers()->Add(LayerClassOf<CanvasLayer>()));
    layer->SetLayerOptions(LOB_GDI_OVERLAY);
    form->Show();
    form_testing::ProcessEvents();
    EXPECT_GE(layer->paints, 1);
    EXPECT_EQ(overlays, layer->paints);
    auto picture = form_testing::TakeSnapshot(form);
    EXPECT_EQ(Shown(picture, image, 3, 3), clYellow);
    EXPECT_EQ(Shown(picture, image, 10, 10), Rgb(image->Bitmap()->GetPixel(10, 10)));
    // A change of an overlay-only layer paints the overlay again without repainting the buffer.
    const int before = layer->paints;
    layer->Changed();
    EXPECT_EQ(layer->paints, before + 1);
    EXPECT_TRUE(image->BufferValid());
}

TEST_F(ImagePaint, CroppedBitmapLayerStaysInsideTheImagesBitmap) {
    TImage32* image = AddImage(0, 0, 100, 80);
    image->Bitmap()->SetSize(40, 30);
    image->Bitmap()->Clear(0xFF00FF00);
    auto* layer = image->Layers()->Add<TBitmapLayer>();
    layer->Bitmap()->SetSize(20, 20);
    layer->Bitmap()->Clear(0xFFFF0000);
    layer->SetLocation(FloatRect(30, 20, 50, 40));
    form->Show();
    const struct {
        bool cropped;
        TColor32 inside, outside;
    } rows[] = {{false, 0xFFFF0000, 0xFFFF0000}, {true, 0xFFFF0000, kBack}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cropped);
        layer->SetCropped(row.cropped);
        form_testing::ProcessEvents();
        const auto picture = form_testing::TakeSnapshot(form);
        EXPECT_EQ(Shown(picture, image, 35, 25), Rgb(row.inside));
        EXPECT_EQ(Shown(picture, image, 45, 35), Rgb(row.outside));
        EXPECT_EQ(Shown(picture, image, 10, 10), Rgb(0xFF00FF00));
    }
    // PaintTo draws the whole layer even when cropped.
    TBitmap32 dest;
    dest.SetSize(100, 80);
    image->PaintTo(&dest, image->GetBitmapRect());
    EXPECT_EQ(dest.GetPixel(45, 35), 0xFFFF0000u);
}

TEST_F(ImagePaint, PictureOfSeveralControls) {
    TImage32* tiled = AddImage(10, 10, 190, 130);
    FillPattern(*tiled->Bitmap(), 23, 17);
    tiled->SetBitmapAlign(baTile);
    TImage32* centred = AddImage(210, 10, 190, 130);
    FillPattern(*centred->Bitmap(), 90, 60);
    centred->SetScaleMode(smScale);
    centred->SetScale(1.5f);
    centred->SetBitmapAlign(baCenter);
    auto* overlay = centred->Layers()->Add<TBitmapLayer>();
    overlay->Bitmap()->SetSize(20, 20);
    overlay->Bitmap()->Clear(0xFFFFFFFF);
    overlay->Bitmap()->FillRectS(4, 4, 16, 16, 0xFFE00000);
    overlay->SetLocation(FloatRect(10, 10, 50, 50));
    TImage32* stretched = AddImage(10, 150, 390, 140);
    FillPattern(*stretched->Bitmap(), 12, 6);
    stretched->SetScaleMode(smStretch);
    form->Show();
    form_testing::ProcessEvents();
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::filesystem::path folder = std::filesystem::path(binary ? binary : ".") / "snapshots";
    std::filesystem::create_directories(folder);
    form_testing::SaveFormSnapshot(form, (folder / "image_controls.png").string());
    const auto picture = form_testing::TakeSnapshot(form);
    EXPECT_EQ(Shown(picture, centred, 20, 20), Rgb(0xFFE00000)) << "the layer lies over the bitmap";
    EXPECT_EQ(Shown(picture, centred, 11, 11), Rgb(0xFFFFFFFF));
    EXPECT_EQ(Shown(picture, tiled, 23 + 5, 17 * 2 + 3), Rgb(tiled->Bitmap()->GetPixel(5, 3)));
}

} // namespace
