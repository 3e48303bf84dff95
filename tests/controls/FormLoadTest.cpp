// Windows place the controls by class name: every class loads from a definition, in the order the
// definitions store their properties, and a wrong value names its line.
#include "controls/BmAni.h"
#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "controls/IPEdit.h"
#include "controls/ImgAnimation.h"
#include "controls/MMTimer.h"
#include "controls/SkinControls.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "tests/controls/ControlsTestSupport.h"

#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"

#include <filesystem>

namespace {

using namespace controls_test;

class FormLoadTest : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    std::string previousRoot;
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "skins");
        Strip(20, 10, 4, true)->SaveToFile(dir.File("skins/strip4.bmp"));
        Strip(30, 8, 2, false)->SaveToFile(dir.File("skins/gauge.bmp"));
        Strip(100, 10, 1, true)->SaveToFile(dir.File("skins/track.bmp"));
        Strip(6, 10, 1, true)->SaveToFile(dir.File("skins/knob.bmp"));
        testing_support::WriteFileBytes(dir.File("skins/broken.bmp"), "BM not a bitmap");
        previousRoot = FormResourceRoot();
        SetFormResourceRoot(dir.Path().string());
        RegisterSkinControls();
    }
    void TearDown() override {
        SetFormResourceRoot(previousRoot);
        form_testing::ResetApplication();
    }
    TForm* Load(const std::string& objects) {
        auto* form = new TForm(Application);
        const std::string text = "object Form1: TForm\n  Left = 0\n  Top = 0\n" + objects + "end\n";
        LoadComponentDefinition(form, ParseFormDefinition(text, "test.dfm"), "test.dfm", nullptr);
        return form;
    }
    template <class T>
    T* Find(TForm* form, const char* name) {
        return dynamic_cast<T*>(form->FindComponent(name));
    }
};

TEST_F(FormLoadTest, EveryClassLoadsByNameInStoredOrder) {
    TForm* form = Load("  object ImgAni: TImgAnimation\n"
                       "    Picture.FileName = 'skins/strip4.bmp'\n"
                       "    TotalFrames = 4\n"
                       "    Direction = HORIZONTAL\n"
                       "    StartFrame = 1\n"
                       "    StopFrame = 2\n"
                       "    Interval = 250\n"
                       "  end\n"
                       "  object Btn: TBmButton\n"
                       "    Bitmap.FileName = 'skins/strip4.bmp'\n"
                       "    Direction = _Horizontal\n"
                       "    TotalFrames = 4\n"
                       "    CurrentFrame = 3\n"
                       "    RepeatInterval = 100\n"
                       "    Cursor = crHandPoint\n"
                       "  end\n"
                       "  object Gauge: TBmGauge\n"
                       "    Bitmap.FileName = 'skins/gauge.bmp'\n"
                       "    MaximumLevel = 200\n"
                       "  end\n"
                       "  object Frame: TBmFrame\n"
                       "    Bitmap.FileName = 'skins/strip4.bmp'\n"
                       "    TotalFrames = 4\n"
                       "    Direction = _Horizontal\n"
                       "  end\n"
                       "  object Ani: TBmAnimation\n"
                       "    Repeated = True\n"
                       "  end\n"
                       "  object SliderSearch: TBitSlider\n"
                       "    BkgndBitmap.FileName = 'skins/track.bmp'\n"
                       "    KnobBitmap.FileName = 'skins/knob.bmp'\n"
                       "    KnobPos = 500\n"
                       "    MarkColor = clBlue\n"
                       "    MarkWidth = 2\n"
                       "    NewPos = -1\n"
                       "  end\n"
                       "  object MMTimerPlayback: TMMTimer\n"
                       "    Enabled = False\n"
                       "    Interval = 33\n"
                       "  end\n"
                       "  object ebIPAD: jIPEdit\n"
                       "    Width = 150\n"
                       "    Text = '0.0.0.0'\n"
                       "    Value = 0\n"
                       "  end\n");
    auto* ani = Find<TImgAnimation>(form, "ImgAni");
    ASSERT_NE(ani, nullptr);
    EXPECT_EQ(ani->TotalFrames(), 4);
    EXPECT_EQ(ani->Width(), 20);
    EXPECT_EQ(ani->StartFrame(), 1);
    EXPECT_EQ(ani->StopFrame(), 2);
    EXPECT_EQ(ani->Interval(), 250);
    auto* btn = Find<TBmButton>(form, "Btn");
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(btn->Width(), 20);
    EXPECT_EQ(btn->ShownFrame(), 3);
    auto* gauge = Find<TBmGauge>(form, "Gauge");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->Width(), 30);
    EXPECT_EQ(gauge->Height(), 8);
    EXPECT_EQ(gauge->CurrentLevel(), 50); // a stored 0 cannot be written: the constructor's value
    EXPECT_EQ(gauge->MaximumLevel(), 200);
    EXPECT_EQ(Find<TBmFrame>(form, "Frame")->Width(), 20);
    EXPECT_TRUE(Find<TBmAnimation>(form, "Ani")->Repeated());
    auto* slider = Find<TBitSlider>(form, "SliderSearch");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->Width(), 100);
    EXPECT_EQ(slider->KnobPos(), 500);
    EXPECT_EQ(slider->NewPos(), -1);
    auto* timer = Find<TMMTimer>(form, "MMTimerPlayback");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 33u);
    EXPECT_EQ(timer->TimerId(), 0u);
    auto* ip = Find<jIPEdit>(form, "ebIPAD");
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(ip->Text(), "..."); // streamed text, then value 0: four empty boxes
}

TEST_F(FormLoadTest, MistakesNameTheLine) {
    struct Case {
        const char* objects;
        const char* fragment;
    };
    const Case cases[] = {
        {"  object A: TImgFrame\n    Direction = SIDEWAYS\n  end\n", "test.dfm"},
        {"  object A: TBmButton\n    Bitmap.FileName = 'skins/missing.bmp'\n  end\n", "not found"},
        {"  object A: TBmGauge\n    Bitmap.FileName = 'skins/broken.bmp'\n  end\n", "test.dfm"},
        {"  object A: TImgFrame\n    Picture.FileName = 'skins/broken.bmp'\n  end\n", "test.dfm"},
        {"  object A: TMMTimer\n    Interval = -1\n  end\n", "interval out of range"},
        {"  object A: jIPEdit\n    Value = 4294967296\n  end\n", "value out of range"},
        {"  object A: TBitSlider\n    KnobBitmap.Data = {00}\n  end\n", "by file name"},
    };
    for (const Case& c : cases) {
        try {
            Load(c.objects);
            ADD_FAILURE() << "accepted: " << c.objects;
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("test.dfm(5)", 0), 0u) << e.what(); // the property's line
        }
    }
}

} // namespace
