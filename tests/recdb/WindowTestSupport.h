// What the window tests of the search and playback windows share: the program folder's resources
// (definitions, generated skins), tables of expected controls, snapshots under the build folder and
// the pixels of the skin bitmaps the snapshots are compared with.
#pragma once

#include "controls/SkinControls.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace window_test {

inline std::string BinaryDir() {
    const char* binary = std::getenv("HARBEK_BINARY");
    return binary ? binary : ".";
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSkinControls();
        previousRoot_ = FormResourceRoot();
        SetFormResourceRoot(BinaryDir() + "/client/resources");
    }
    void TearDown() override {
        form_testing::ResetApplication();
        SetFormResourceRoot(previousRoot_);
    }

private:
    std::string previousRoot_;
};

// One control of a window as its definition places it (parent client coordinates).
struct ControlPlace {
    const char* name;
    const char* className;
    int left, top, width, height;
    bool visible;
};

inline void ExpectControls(TForm* form, const std::vector<ControlPlace>& places) {
    for (const ControlPlace& place : places) {
        SCOPED_TRACE(form->Name() + "." + place.name);
        TControl* control = form_testing::FindControlByName(form, place.name);
        EXPECT_EQ(control->ClassName(), place.className);
        EXPECT_EQ(control->BoundsRect(),
                  Rect(place.left, place.top, place.left + place.width, place.top + place.height));
        EXPECT_EQ(control->Visible(), place.visible);
    }
}

// The window's picture, written to <build>/snapshots/<unit>.png for people to look at.
inline form_testing::TSnapshot Snapshot(TForm* form, const std::string& unit) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "snapshots";
    std::filesystem::create_directories(folder);
    form_testing::SaveFormSnapshot(form, (folder / (unit + ".png")).string());
    return form_testing::TakeSnapshot(form);
}

// A pixel of the client area in a snapshot.
inline TColor ClientPixel(const form_testing::TSnapshot& picture, TForm* form, int x, int y) {
    const TPoint origin = form->ClientOrigin();
    return picture.At(origin.X - form->Left() + x, origin.Y - form->Top() + y);
}

// A pixel of a generated skin bitmap.
inline TColor SkinPixel(const std::string& name, int x, int y) {
    TBitmap bitmap;
    bitmap.LoadFromFile(FormResourceRoot() + "/skins/" + name + ".bmp");
    return bitmap.Canvas()->Pixels(x, y);
}

} // namespace window_test
