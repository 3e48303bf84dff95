// Icon files: the image and its transparency reach the canvas; broken files raise.
#include "platform/vcl/Graphics.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

// A 2 x 2 icon of 32-bit pixels, top row first in `pixels`.
std::string IconFile(const std::uint32_t (&pixels)[4]) {
    std::string image;
    Put32(image, 40);
    Put32(image, 2);
    Put32(image, 4); // colour and mask halves
    Put16(image, 1);
    Put16(image, 32);
    for (int i = 0; i < 6; ++i)
        Put32(image, 0);
    for (int row = 1; row >= 0; --row)
        for (int col = 0; col < 2; ++col)
            Put32(image, pixels[row * 2 + col]);
    for (int row = 0; row < 2; ++row)
        Put32(image, 0); // mask: everything shown, the alpha channel decides
    std::string file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.push_back(2);
    file.push_back(2);
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(image.size()));
    Put32(file, 22);
    return file + image;
}

std::uint32_t At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x];
}

TEST(Icon, LoadsAndDrawsWithItsAlpha) {
    testing_support::TempDir dir;
    const std::uint32_t pixels[4] = {0xFFFF0000u, 0x00000000u, 0xFF00FF00u, 0xFF0000FFu};
    testing_support::WriteFileBytes(dir.File("lamp.ico"), IconFile(pixels));
    TPicture picture;
    picture.LoadFromFile(dir.File("lamp.ico"));
    TIcon* icon = dynamic_cast<TIcon*>(picture.Graphic());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 2);
    EXPECT_EQ(icon->Height(), 2);
    EXPECT_TRUE(icon->Transparent());
    EXPECT_THROW(icon->SetWidth(4), EInvalidGraphicOperation);

    TBitmap target(2, 2);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect{0, 0, 2, 2});
    target.Canvas()->Draw(0, 0, icon);
    EXPECT_EQ(At(target, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(target, 1, 0), 0xFFFFFFFFu); // fully transparent: the background stays
    EXPECT_EQ(At(target, 0, 1), 0xFF00FF00u);
    EXPECT_EQ(At(target, 1, 1), 0xFF0000FFu);

    // Saving writes the file as it was loaded.
    picture.SaveToFile(dir.File("copy.ico"));
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("copy.ico")), IconFile(pixels));
}

TEST(Icon, BrokenFilesRaiseAndLeaveThePictureEmpty) {
    testing_support::TempDir dir;
    const std::uint32_t pixels[4] = {};
    std::string cut = IconFile(pixels);
    cut.resize(30);
    const std::string cases[] = {"", "not an icon at all", cut};
    for (const std::string& bytes : cases) {
        testing_support::WriteFileBytes(dir.File("bad.ico"), bytes);
        TPicture picture;
        EXPECT_THROW(picture.LoadFromFile(dir.File("bad.ico")), EInvalidGraphic) << bytes.size();
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
}

} // namespace
