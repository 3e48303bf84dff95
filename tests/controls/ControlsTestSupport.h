// What the control tests share: a shown borderless form to put controls on, strips whose frames are
// told apart by colour, and counting of direct paints.
#pragma once

#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace controls_test {

inline const bool kOffscreen = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();

// Frame k of a strip is filled with FrameColour(k).
inline TColor FrameColour(int k) {
    static const TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua, clWhite, clMaroon};
    return colours[k % 8];
}

inline std::unique_ptr<TBitmap> Strip(int frameWidth, int frameHeight, int frames, bool horizontal) {
    auto bitmap = std::make_unique<TBitmap>(horizontal ? frameWidth * frames : frameWidth,
                                            horizontal ? frameHeight : frameHeight * frames);
    bitmap->SetPixelFormat(pf24bit);
    for (int k = 0; k < frames; ++k) {
        bitmap->Canvas()->Brush()->SetColor(FrameColour(k));
        bitmap->Canvas()->FillRect(horizontal ? Rect(k * frameWidth, 0, (k + 1) * frameWidth, frameHeight)
                                              : Rect(0, k * frameHeight, frameWidth, (k + 1) * frameHeight));
    }
    return bitmap;
}

class ControlsTest : public ::testing::Test {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 700, 480);
        form->Show();
    }
    void TearDown() override { form_testing::ResetApplication(); }
    template <class T>
    T* Place(int left, int top) {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetLeft(left);
        control->SetTop(top);
        return control;
    }
    TColor At(int x, int y) { return form_testing::TakeSnapshot(form).At(x, y); }
};

// Counts the paints of a strip control that its setters make at once.
template <class Base>
class Counting : public Base {
public:
    using Base::Base;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Base::Paint();
    }
};

} // namespace controls_test
