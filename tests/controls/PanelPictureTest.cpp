// A panel of every control in every state, drawn with skins made by skingen, written as a PNG file
// (controls_panel.png in the test's build folder) for a person to look at.
#include "controls/BmButton.h"
#include "controls/BmFrame.h"
#include "controls/BmGauge.h"
#include "controls/IPEdit.h"
#include "controls/ImgAnimation.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinParser.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <filesystem>
#include <map>

namespace {

using namespace controls_test;

class PanelPicture : public ::testing::Test {
protected:
    void TearDown() override { form_testing::ResetApplication(); }
};

TEST_F(PanelPicture, EveryControlInEveryState) {
    std::map<std::string, std::unique_ptr<TBitmap>> skins;
    for (const SkinBitmap& b :
         ParseSkinFile(std::string(HARBEK_SOURCE_DIR_FOR_TESTS) + "/tests/controls/panel.skin")) {
        auto bitmap = std::make_unique<TBitmap>();
        PaintSkin(b, *bitmap);
        skins[b.name] = std::move(bitmap);
    }
    auto skin = [&](const char* name) { return skins.at(name).get(); };

    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 760, 470);
    form->Show();
    auto* back = new TImage(form);
    back->SetParent(form);
    back->SetBounds(0, 0, 760, 470);
    back->Picture()->SetBitmap(skin("p_back"));
    auto caption = [&](int x, int y, const char* text) {
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetTransparent(true);
        label->Font()->SetColor(static_cast<TColor>(0x9B928A));
        label->SetCaption(text);
        label->SetLeft(x);
        label->SetTop(y);
    };

    // Buttons: idle, hover, pressed, the fourth frame; then held and dragged out.
    caption(12, 30, "TBmButton: idle, hover, pressed, frame 3, pressed and dragged out");
    std::vector<TBmButton*> buttons;
    for (int i = 0; i < 5; ++i) {
        auto* b = new TBmButton(form);
        b->SetParent(form);
        b->SetLeft(12 + i * 92);
        b->SetTop(48);
        b->SetDirection(Bmframe::_Horizontal);
        b->SetTotalFrames(4);
        b->SetBitmap(skin("p_button"));
        buttons.push_back(b);
    }
    form_testing::MouseMove(buttons[1], Point(20, 10));
    buttons[3]->SetCurrentFrame(3);
    form_testing::MouseMove(buttons[2], Point(20, 10));
    form_testing::MouseDown(buttons[2], mbLeft, Point(20, 10));
    const int pressedFrame = buttons[2]->ShownFrame();
    form_testing::MouseUp(buttons[2], mbLeft, Point(20, 10));
    buttons[2]->SetCurrentFrame(2); // keep the pressed look in the picture
    form_testing::MouseMove(buttons[4], Point(20, 10));
    form_testing::MouseDown(buttons[4], mbLeft, Point(20, 10));
    form_testing::MouseMove(buttons[4], Point(120, 10), TShiftState{ssLeft});
    const int draggedOut = buttons[4]->ShownFrame();
    form_testing::MouseUp(buttons[4], mbLeft, Point(120, 10));
    form_testing::MouseMove(buttons[1], Point(20, 10));
    EXPECT_EQ(pressedFrame, 2);
    EXPECT_EQ(draggedOut, 0);

    // Mode tabs: active (base 0) and inactive (base 3), each idle, hover and pressed.
    caption(12, 82, "TBmButton mode tabs: base 0 and base 3, with their hover and pressed looks; arrows");
    for (int i = 0; i < 6; ++i) {
        auto* t = new TBmButton(form);
        t->SetParent(form);
        t->SetLeft(12 + i * 76);
        t->SetTop(100);
        t->SetDirection(Bmframe::_Horizontal);
        t->SetTotalFrames(6);
        t->SetBitmap(skin("p_tab"));
        t->SetCurrentFrame(i);
    }
    for (int i = 0; i < 2; ++i) {
        auto* a = new TBmButton(form);
        a->SetParent(form);
        a->SetLeft(480 + i * 24);
        a->SetTop(104);
        a->SetTotalFrames(2);
        a->SetBitmap(skin("p_arrow"));
        a->SetCurrentFrame(i);
    }

    // Strip frames: lamps, calendar cells, the wait animation at three points.
    caption(12, 132, "TImgFrame: lamp off/on, cells none/record/event and selected; TImgAnimation; TBmFrame");
    auto frame = [&](const char* name, int frames, int x, int y, int shown) {
        auto* f = new TImgFrame(form);
        f->SetParent(form);
        f->SetLeft(x);
        f->SetTop(y);
        TPicture picture;
        picture.SetBitmap(skin(name));
        f->SetPicture(&picture);
        f->SetTotalFrames(frames);
        f->SetDirection(Imgframe::HORIZONTAL);
        f->SetCurrentFrame(shown);
        return f;
    };
    frame("p_lamp", 2, 12, 152, 0);
    frame("p_lamp", 2, 32, 152, 1);
    for (int i = 0; i < 6; ++i)
        frame("p_cell", 6, 60 + i * 18, 150, i);
    for (int i = 0; i < 3; ++i) {
        auto* ani = new TImgAnimation(form);
        ani->SetParent(form);
        ani->SetLeft(190 + i * 186);
        ani->SetTop(153);
        TPicture picture;
        picture.SetBitmap(skin("p_wait"));
        ani->SetPicture(&picture);
        ani->SetTotalFrames(8);
        ani->SetDirection(Imgframe::HORIZONTAL);
        ani->SetCurrentFrame(i * 3);
    }
    auto* bmFrame = new TBmFrame(form);
    bmFrame->SetParent(form);
    bmFrame->SetBounds(12, 180, 30, 20); // empty: the placeholder
    auto* imgEmpty = new TImgFrame(form);
    imgEmpty->SetParent(form);
    imgEmpty->SetBounds(50, 180, 40, 20);

    // Gauges at 0, half, full, and with no maximum; a vertical one.
    caption(12, 208, "TBmGauge: 0, 50 of 200, full, maximum 0; vertical 60 %; empty bitmap");
    const int levels[][2] = {{0, 200}, {50, 200}, {200, 200}, {100, 0}};
    std::vector<TBmGauge*> gauges;
    for (int i = 0; i < 4; ++i) {
        auto* g = new TBmGauge(form);
        g->SetParent(form);
        g->SetLeft(12 + (i % 2) * 210);
        g->SetTop(228 + (i / 2) * 20);
        g->SetBitmap(skin("p_gauge"));
        g->SetMaximumLevel(levels[i][1]);
        g->SetCurrentLevel(levels[i][0]);
        gauges.push_back(g);
    }
    auto* vg = new TBmGauge(form);
    vg->SetParent(form);
    vg->SetLeft(440);
    vg->SetTop(222);
    vg->SetDirection(Bmframe::_Vertical);
    vg->SetBitmap(skin("p_vgauge"));
    vg->SetCurrentLevel(60);
    auto* emptyGauge = new TBmGauge(form);
    emptyGauge->SetParent(form);
    emptyGauge->SetBounds(470, 228, 80, 14);

    // Sliders: at 0, at 500 with marks, at 1000, disabled.
    caption(12, 290, "TBitSlider: 0; 500 with start and end marks; 1000; disabled at 700");
    const int values[] = {0, 500, 1000, 700};
    for (int i = 0; i < 4; ++i) {
        auto* s = new TBitSlider(form);
        s->SetParent(form);
        s->SetLeft(12 + (i % 2) * 260);
        s->SetTop(310 + (i / 2) * 30);
        s->SetBitmapBk(skin("p_track"));
        s->SetBitmapBkPass(skin("p_pass"));
        s->SetBitmapKnob(skin("p_knob"));
        s->SetVal(values[i]);
        if (i == 1) {
            s->SetMarkColor(static_cast<TColor>(0x3AA3E8));
            s->SetMark(Slider::mtStart, 250);
            s->SetMark(Slider::mtEnd, 750);
        }
        if (i == 3) s->SetEnable(false);
    }

    // The address edit, with an address, empty, and disabled.
    caption(12, 376, "jIPEdit: an address, four empty boxes, disabled");
    const char* texts[] = {"192.168.0.1", "0.0.0.0", "10.0.44.7"};
    for (int i = 0; i < 3; ++i) {
        auto* ip = new jIPEdit(form);
        ip->SetParent(form);
        ip->SetBounds(12 + i * 180, 396, 160, 22);
        ip->SetText(texts[i]);
        if (i == 1) ip->SetValue(0);
        if (i == 2) ip->SetEnabled(false);
    }
    form_testing::ProcessEvents();

    const std::string out = std::string(std::getenv("HARBEK_BINARY") ? std::getenv("HARBEK_BINARY") : ".") +
                            "/tests/controls/controls_panel.png";
    std::filesystem::create_directories(std::filesystem::path(out).parent_path());
    form_testing::SaveFormSnapshot(form, out);
    EXPECT_TRUE(std::filesystem::exists(out));

    // What the picture must show: the hover and idle looks differ, the half gauge is half lit.
    const form_testing::TSnapshot shot = form_testing::TakeSnapshot(form);
    EXPECT_NE(shot.At(12 + 92 + 40, 48 + 1), shot.At(12 + 40, 48 + 1));
    EXPECT_NE(shot.At(12 + 210 + 20, 230), shot.At(12 + 210 + 100, 230));
    EXPECT_EQ(shot.At(12 + 210 + 100, 230), shot.At(12 + 20, 230)); // 50 of 200 ends before 100 px
    EXPECT_EQ(shot.At(15, 185), clAqua);
}

} // namespace
