// A bitmap and the platform's other picture sources: the clipboard, the program's bitmap resources,
// metafiles and a control's size.
#include "bitmap32/Bmp32.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Resources.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

std::vector<std::uint32_t> PlatformPixels(const TBitmap& b) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < b.Height(); ++y) {
        const auto* row = static_cast<const std::uint32_t*>(b.ScanLine(y));
        pixels.insert(pixels.end(), row, row + b.Width());
    }
    return pixels;
}

TEST(PlatformPictures, ClipboardRoundTripOfABitmapWithAlpha) {
    // Every alpha a picture meets, with colours that premultiplying or a channel swap would change.
    const std::vector<TColor32> pixels = {0x00123456, 0x01FEDCBA, 0x80C08040,
                                          0xFF0A0B0C, 0x7F00FF00, 0xFE804020};
    TBitmap32 copied;
    copied.SetSize(3, 2);
    for (int i = 0; i < 6; ++i)
        copied.SetPixel(i % 3, i / 3, pixels[static_cast<std::size_t>(i)]);
    Clipboard()->Assign(&copied);
    ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

    // The clipboard holds the picture as it was, alpha and all.
    TBitmap platform;
    platform.Assign(Clipboard());
    EXPECT_EQ(platform.PixelFormat(), pf32bit);
    EXPECT_EQ(PlatformPixels(platform), pixels);

    // Pasted into a bitmap: the colours come back exactly, taken as opaque; one change reported.
    TBitmap32 pasted;
    pasted.SetSize(9, 9);
    int changes = 0;
    pasted.OnChange = [&](TObject*) { ++changes; };
    pasted.Assign(Clipboard());
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(pasted.Width(), 3);
    ASSERT_EQ(pasted.Height(), 2);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pasted.GetPixel(i % 3, i / 3), pixels[static_cast<std::size_t>(i)] | 0xFF000000u) << i;

    // Nothing to paste: the bitmap stays as it was.
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_THROW(pasted.Assign(Clipboard()), EInvalidGraphic);
    EXPECT_EQ(pasted.Width(), 3);
    EXPECT_EQ(pasted.GetPixel(2, 1), 0xFF804020u);
    EXPECT_EQ(pasted.UpdateCount(), 0);
}

class ResourceRoot {
public:
    explicit ResourceRoot(const std::string& folder) : previous_(FormResourceRoot()) {
        SetFormResourceRoot(folder);
    }
    ~ResourceRoot() { SetFormResourceRoot(previous_); }

private:
    std::string previous_;
};

TEST(PlatformPictures, BitmapResourcesByNameAndByNumber) {
    testing_support::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "bitmaps");
    const auto save = [&](const std::string& file, TColor colour, int width) {
        TBitmap b(width, 2);
        b.Canvas()->Brush()->SetColor(colour);
        b.Canvas()->FillRect(Rect(0, 0, width, 2));
        b.SaveToFile(dir.File("bitmaps/" + file));
    };
    save("Grip.bmp", clRed, 3);
    save("12.bmp", clBlue, 5);
    save("Ghost.txt", clLime, 1);
    ResourceRoot root(dir.Path().string());

    TBitmap32 b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.LoadFromResourceName(MainInstance(), "GRIP"); // names match whatever their case
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.GetPixel(2, 1), 0xFFFF0000u);
    b.LoadFromResourceID(MainInstance(), 12);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.GetPixel(4, 1), 0xFF0000FFu);
    b.LoadFromResourceName(MainInstance(), "grip");
    b.LoadFromResourceName(MainInstance(), "#012"); // the number's name
    EXPECT_EQ(b.Width(), 5);

    struct Missing {
        std::function<void()> load;
        const char* message;
    } const missing[] = {
        {[&] { b.LoadFromResourceName(MainInstance(), "Ghost"); }, "Resource Ghost not found"},
        {[&] { b.LoadFromResourceName(MainInstance(), "../bitmaps/Grip"); },
         "Resource ../bitmaps/Grip not found"},
        {[&] { b.LoadFromResourceName(MainInstance(), ""); }, "Resource  not found"},
        {[&] { b.LoadFromResourceID(MainInstance(), 13); }, "Resource 13 not found"},
        {[&] { b.LoadFromResourceID(MainInstance(), 12 + 65536); }, "Resource 65548 not found"},
        {[&] { b.LoadFromResourceName(MainInstance(), "#1x"); }, "Resource #1x not found"},
    };
    for (const Missing& m : missing) {
        try {
            m.load();
            ADD_FAILURE() << m.message;
        } catch (const EResNotFound& e) {
            EXPECT_STREQ(e.what(), m.message);
        }
    }
    // A failed load leaves the bitmap as it was.
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF0000FFu);
}

TEST(PlatformPictures, MetafileAlphaFromWhereItDraws) {
    // 3 x 2: red over the top left two pixels, white at the top right, one blue pixel at the bottom
    // right, the rest never touched.
    TMetafile metafile;
    metafile.SetWidth(3);
    metafile.SetHeight(2);
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 2, 1));
        canvas.Brush()->SetColor(clWhite);
        canvas.FillRect(Rect(2, 0, 3, 1));
        canvas.SetPixels(2, 1, clBlue);
    }
    TPicture picture;
    picture.SetGraphic(&metafile);

    struct {
        const char* source;
        const TPersistent* from;
        std::vector<TColor32> pixels; // top row first
    } const cases[] = {
        // Held by a picture: opaque where the drawing is, transparent white elsewhere.
        {"picture", &picture, {0xFFFF0000, 0xFFFF0000, 0xFFFFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0xFF0000FF}},
        // On its own, like any graphic: drawn over what the bitmap held, then all opaque.
        {"metafile", &metafile, {0xFFFF0000, 0xFFFF0000, 0xFFFFFFFF, 0xFF00FF00, 0xFF00FF00, 0xFF0000FF}},
    };
    for (const auto& c : cases) {
        TBitmap32 b;
        b.SetSize(3, 2);
        b.Clear(0x8000FF00);
        int changes = 0;
        b.OnChange = [&](TObject*) { ++changes; };
        b.Assign(c.from);
        EXPECT_EQ(changes, 1) << c.source;
        ASSERT_EQ(b.Width(), 3) << c.source;
        ASSERT_EQ(b.Height(), 2) << c.source;
        EXPECT_EQ(std::vector<TColor32>(b.Bits(), b.Bits() + 6), c.pixels) << c.source;
    }
}

TEST(PlatformPictures, SizeFromAControl) {
    auto* form = new TForm(Application);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(4, 5, 40, 30);
    TBitmap32 b;
    EXPECT_TRUE(b.SetSizeFrom(panel));
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 30);
    EXPECT_FALSE(b.SetSizeFrom(panel));
    form_testing::ResetApplication();
}

} // namespace
