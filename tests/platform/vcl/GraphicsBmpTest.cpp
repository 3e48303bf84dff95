// Bitmap files: the formats skins use, round trips, and hostile headers.
#include "platform/core/Streams.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

// A bitmap file written field by field. `rows` are the stored rows in file order, unpadded.
struct TBmpFile {
    std::int32_t width = 0, height = 0;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint32_t> masks;   // after the header, for BI_BITFIELDS
    std::vector<std::string> rows;
    std::int64_t offBitsDelta = 0; // added to the correct offset
    std::uint32_t headerSize = 40;
    std::uint32_t colorsUsed = UINT32_MAX; // default: palette size

    std::string Bytes() const {
        std::string pixels;
        for (const std::string& r : rows) {
            pixels += r;
            while (pixels.size() % 4)
                pixels.push_back('\0');
        }
        const std::uint32_t offBits = static_cast<std::uint32_t>(14 + headerSize + 4 * masks.size() +
                                                                 4 * palette.size() + offBitsDelta);
        std::string s = "BM";
        Put32(s, static_cast<std::uint32_t>(offBits + pixels.size()));
        Put32(s, 0);
        Put32(s, offBits);
        Put32(s, headerSize);
        Put32(s, static_cast<std::uint32_t>(width));
        Put32(s, static_cast<std::uint32_t>(height));
        Put16(s, 1);
        Put16(s, static_cast<std::uint32_t>(bitCount));
        Put32(s, compression);
        Put32(s, static_cast<std::uint32_t>(pixels.size()));
        Put32(s, 2835);
        Put32(s, 2835);
        Put32(s, colorsUsed == UINT32_MAX ? static_cast<std::uint32_t>(palette.size()) : colorsUsed);
        Put32(s, 0);
        while (s.size() < 14 + headerSize)
            s.push_back('\0');
        for (std::uint32_t m : masks)
            Put32(s, m);
        for (std::uint32_t c : palette)
            Put32(s, c);
        return s + pixels;
    }
};

std::string Row(std::initializer_list<int> bytes) {
    std::string r;
    for (int b : bytes)
        r.push_back(static_cast<char>(b));
    return r;
}

std::uint32_t At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x];
}

TBmpFile EightBit() {
    TBmpFile f;
    f.width = 3;
    f.height = 2;
    f.bitCount = 8;
    f.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    f.rows = {Row({0, 1, 2}), Row({3, 2, 1})}; // bottom row first
    return f;
}

TBmpFile TwentyFourBit() {
    TBmpFile f;
    f.width = 3;
    f.height = 2;
    f.bitCount = 24;
    f.rows = {Row({1, 2, 3, 4, 5, 6, 7, 8, 9}), Row({10, 11, 12, 13, 14, 15, 16, 17, 18})};
    return f;
}

TBmpFile ThirtyTwoBitTopDown() {
    TBmpFile f;
    f.width = 2;
    f.height = -2;
    f.bitCount = 32;
    f.rows = {Row({1, 2, 3, 0x80, 4, 5, 6, 0}), Row({7, 8, 9, 0xFF, 10, 11, 12, 0x01})};
    return f;
}

TEST(BitmapFile, LoadsTheFormatsSkinsUse) {
    TBitmap b;
    b.LoadFromMemory(EightBit().Bytes().data(), EightBit().Bytes().size());
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(At(b, 0, 0), 0xFF0000FFu); // top row is the second stored row
    EXPECT_EQ(At(b, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(At(b, 0, 1), 0xFF000000u);
    EXPECT_EQ(At(b, 1, 1), 0xFFFF0000u);

    const std::string rgb = TwentyFourBit().Bytes();
    b.LoadFromMemory(rgb.data(), rgb.size());
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(At(b, 0, 0), 0xFF0C0B0Au);
    EXPECT_EQ(At(b, 2, 1), 0xFF090807u);

    const std::string argb = ThirtyTwoBitTopDown().Bytes();
    b.LoadFromMemory(argb.data(), argb.size());
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(At(b, 0, 0), 0x80030201u); // the alpha byte is kept
    EXPECT_EQ(At(b, 1, 0), 0x00060504u);
    EXPECT_EQ(At(b, 1, 1), 0x010C0B0Au);
}

TEST(BitmapFile, LoadsMaskedAndPaletteVariants) {
    TBmpFile rgb565;
    rgb565.width = 2;
    rgb565.height = 1;
    rgb565.bitCount = 16;
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.rows = {Row({0x00, 0xF8, 0x1F, 0x00})};
    TBitmap b;
    const std::string a = rgb565.Bytes();
    b.LoadFromMemory(a.data(), a.size());
    EXPECT_EQ(At(b, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(b, 1, 0), 0xFF0000FFu);

    TBmpFile mono;
    mono.width = 10;
    mono.height = 1;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.rows = {Row({0xA0, 0x40})};
    const std::string m = mono.Bytes();
    b.LoadFromMemory(m.data(), m.size());
    EXPECT_EQ(At(b, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(At(b, 1, 0), 0xFF000000u);
    EXPECT_EQ(At(b, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(At(b, 9, 0), 0xFFFFFFFFu);

    // An index past a short colour table draws black instead of reading past it.
    TBmpFile shortTable = EightBit();
    shortTable.palette = {0x112233, 0x445566};
    const std::string s = shortTable.Bytes();
    b.LoadFromMemory(s.data(), s.size());
    EXPECT_EQ(At(b, 0, 0), 0xFF000000u);
    EXPECT_EQ(At(b, 2, 0), 0xFF445566u);
}

TEST(BitmapFile, RoundTripsKeepPixelsAndDepth) {
    struct TCase {
        const char* name;
        TBmpFile file;
        int savedBits;
    };
    const TCase cases[] = {
        {"8 bits", EightBit(), 8}, {"24 bits", TwentyFourBit(), 24}, {"32 bits", ThirtyTwoBitTopDown(), 32}};
    testing_support::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = c.file.Bytes();
        TBitmap first;
        first.LoadFromMemory(bytes.data(), bytes.size());
        const std::string path = dir.File("round.bmp");
        first.SaveToFile(path);
        const std::string saved = testing_support::ReadFileBytes(path);
        ASSERT_GE(saved.size(), 54u);
        EXPECT_EQ(static_cast<unsigned char>(saved[28]), c.savedBits);
        TBitmap second;
        second.LoadFromFile(path);
        ASSERT_EQ(second.Width(), first.Width());
        ASSERT_EQ(second.Height(), first.Height());
        EXPECT_EQ(second.PixelFormat(), first.PixelFormat());
        for (int y = 0; y < first.Height(); ++y)
            for (int x = 0; x < first.Width(); ++x)
                EXPECT_EQ(At(second, x, y), At(first, x, y)) << x << "," << y;
        // Streams start at their position and the picture takes the rest.
        TMemoryStream stream;
        stream.WriteBuffer("junk", 4);
        first.SaveToStream(&stream);
        stream.SetPosition(4);
        TBitmap third;
        third.LoadFromStream(&stream);
        EXPECT_EQ(third.Width(), first.Width());
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

TEST(BitmapFile, DrawnBitmapSavesWhatWasDrawn) {
    TBitmap b(5, 3);
    b.SetPixelFormat(pf24bit);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect{1, 0, 4, 2});
    TMemoryStream stream;
    b.SaveToStream(&stream);
    stream.SetPosition(0);
    TPicture picture;
    picture.Bitmap()->LoadFromStream(&stream);
    EXPECT_EQ(At(*picture.Bitmap(), 2, 1), 0xFFFF0000u);
    EXPECT_EQ(At(*picture.Bitmap(), 0, 2), 0xFF000000u);
}

TEST(BitmapFile, HostileFilesRaiseAndLeaveTheBitmapEmpty) {
    struct TCase {
        const char* name;
        std::string bytes;
    };
    auto with = [](auto change) {
        TBmpFile f = TwentyFourBit();
        change(f);
        return f.Bytes();
    };
    const std::string good = TwentyFourBit().Bytes();
    const TCase cases[] = {
        {"empty", ""},
        {"signature only", "BM"},
        {"not a bitmap", "GIF89a" + std::string(60, '\0')},
        {"cut in the header", good.substr(0, 30)},
        {"cut in the pixels", good.substr(0, good.size() - 1)},
        {"zero width", with([](TBmpFile& f) { f.width = 0; })},
        {"negative width", with([](TBmpFile& f) { f.width = -3; })},
        {"zero height", with([](TBmpFile& f) { f.height = 0; })},
        {"smallest height", with([](TBmpFile& f) { f.height = INT_MIN; })},
        {"too wide", with([](TBmpFile& f) { f.width = 40000; })},
        {"too many pixels", with([](TBmpFile& f) {
             f.width = 20000;
             f.height = 20000;
         })},
        {"width that overflows the row size", with([](TBmpFile& f) { f.width = INT_MAX; })},
        {"7 bits per pixel", with([](TBmpFile& f) { f.bitCount = 7; })},
        {"run-length compressed", with([](TBmpFile& f) { f.compression = 1; })},
        {"unknown compression", with([](TBmpFile& f) { f.compression = 99; })},
        {"unknown header size", with([](TBmpFile& f) { f.headerSize = 20; })},
        {"pixel offset past the end", with([](TBmpFile& f) { f.offBitsDelta = 1000; })},
        {"pixel offset inside the header", with([](TBmpFile& f) { f.offBitsDelta = -20; })},
        {"split colour mask", with([](TBmpFile& f) {
             f.bitCount = 16;
             f.compression = 3;
             f.masks = {0xF00F, 0x07E0, 0x001F};
         })},
        {"palette file without a palette", with([](TBmpFile& f) {
             f.bitCount = 8;
             f.offBitsDelta = 0;
         })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b(2, 2);
        EXPECT_THROW(b.LoadFromMemory(c.bytes.data(), c.bytes.size()), EInvalidGraphic);
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Width(), 0);
    }
}

TEST(BitmapFile, PictureLoadsByExtension) {
    testing_support::TempDir dir;
    const std::string bytes = EightBit().Bytes();
    testing_support::WriteFileBytes(dir.File("skin.BMP"), bytes);
    testing_support::WriteFileBytes(dir.File("skin.gif"), bytes);
    TPicture picture;
    int changes = 0;
    picture.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    picture.LoadFromFile(dir.File("skin.BMP"));
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_GE(changes, 1);
    EXPECT_THROW(picture.LoadFromFile(dir.File("skin.gif")), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_THROW(picture.LoadFromFile(dir.File("missing.bmp")), EFOpenError);
    EXPECT_EQ(picture.Graphic(), nullptr);

    TBitmap empty;
    EXPECT_THROW(empty.SaveToFile(dir.File("empty.bmp")), EInvalidGraphicOperation);
    EXPECT_THROW(empty.ScanLine(0), ERangeError);
}

TEST(BitmapFile, TwentyFourBitRowsWithoutPaddingReadToTheirLastByte) {
    TBmpFile f; // 4 pixels of 3 bytes fill each row exactly; the file ends with the top row's last pixel
    f.width = 4;
    f.height = 2;
    f.bitCount = 24;
    f.rows = {Row({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
              Row({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24})};
    const std::string bytes = f.Bytes();
    TBitmap b;
    b.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(b.Width(), 4);
    const std::uint32_t top[] = {0xFF0F0E0Du, 0xFF121110u, 0xFF151413u, 0xFF181716u};
    const std::uint32_t bottom[] = {0xFF030201u, 0xFF060504u, 0xFF090807u, 0xFF0C0B0Au};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(At(b, x, 0), top[x]) << x;
        EXPECT_EQ(At(b, x, 1), bottom[x]) << x;
    }
}

TEST(BitmapFile, TheSameBytesLoadedAgainKeepTheirOwnPixels) {
    const std::string bytes = TwentyFourBit().Bytes();
    TBitmap first;
    first.LoadFromMemory(bytes.data(), bytes.size());
    static_cast<std::uint32_t*>(first.ScanLine(0))[0] = 0xFF123456u; // its only holder writes
    first.Canvas()->SetPixels(1, 1, clRed);
    TBitmap second;
    second.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(At(first, 0, 0), 0xFF123456u);
    EXPECT_NE(At(first, 1, 1), 0xFF060504u);
    EXPECT_EQ(At(second, 0, 0), 0xFF0C0B0Au);
    EXPECT_EQ(At(second, 1, 1), 0xFF060504u);
    static_cast<std::uint32_t*>(second.ScanLine(1))[1] = 0; // and a later holder too
    TBitmap third;
    third.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(At(third, 0, 0), 0xFF0C0B0Au);
    EXPECT_EQ(At(third, 1, 1), 0xFF060504u);
}

TEST(BitmapFile, AFileRewrittenInPlaceLoadsItsNewPixels) {
    testing_support::TempDir dir;
    const std::string path = dir.File("skin.bmp");
    TBmpFile f = TwentyFourBit();
    testing_support::WriteFileBytes(path, f.Bytes());
    TBitmap before;
    before.LoadFromFile(path);
    f.rows[1][0] = 0x42; // same size, written again at once
    testing_support::WriteFileBytes(path, f.Bytes());
    TBitmap after;
    after.LoadFromFile(path);
    EXPECT_EQ(At(before, 0, 0), 0xFF0C0B0Au);
    EXPECT_EQ(At(after, 0, 0), 0xFF0C0B42u);
}

TEST(BitmapFile, FilesUnderTheResourceRootLoadAsAnyOther) {
    // The program's skins are mapped, not read: what they give and what they raise stays the same.
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "skins");
    const std::string previous = FormResourceRoot();
    SetFormResourceRoot(dir.Path().string());
    struct TCase {
        const char* name;
        const char* bytes; // nullptr: no such file
        int width;         // 0: the load raises
    };
    const std::string good = TwentyFourBit().Bytes();
    const std::string cut = good.substr(0, good.size() - 1);
    const std::string files[] = {good, cut, ""};
    const TCase cases[] = {
        {"skins/good.bmp", files[0].c_str(), 3},
        {"skins/cut.bmp", files[1].c_str(), 0},
        {"skins/empty.bmp", files[2].c_str(), 0},
        {"skins/missing.bmp", nullptr, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const TCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string path = ResolveResourceFile(c.name);
        if (c.bytes) testing_support::WriteFileBytes(path, files[i]);
        TBitmap b(2, 2);
        if (c.width == 0) {
            if (c.bytes)
                EXPECT_THROW(b.LoadFromFile(path), EInvalidGraphic);
            else
                EXPECT_THROW(b.LoadFromFile(path), EFOpenError);
            EXPECT_TRUE(c.bytes ? b.Empty() : b.Width() == 2);
            continue;
        }
        b.LoadFromFile(path);
        std::filesystem::remove(path); // the pixels do not depend on the file staying
        ASSERT_EQ(b.Width(), c.width);
        EXPECT_EQ(b.Height(), 2);
        EXPECT_EQ(At(b, 0, 0), 0xFF0C0B0Au);
        EXPECT_EQ(At(b, 1, 1), 0xFF060504u);
    }
    SetFormResourceRoot(previous);
}

TEST(BitmapFile, PixelsReadLateAreThePixelsLoaded) {
    // The caller's bytes change after the load, and copies are made before any pixel is read.
    TBmpFile f = TwentyFourBit();
    f.rows[0][0] = 0x77; // bytes no other test loads
    std::string bytes = f.Bytes();
    TBitmap loaded;
    loaded.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Height(), 2);
    EXPECT_EQ(loaded.PixelFormat(), pf24bit);
    bytes.assign(bytes.size(), '\0');
    TBitmap copy;
    copy.Assign(&loaded);
    loaded.FreeImage();
    EXPECT_TRUE(loaded.Empty());
    ASSERT_EQ(copy.Width(), 3);
    EXPECT_EQ(At(copy, 0, 0), 0xFF0C0B0Au);
    EXPECT_EQ(At(copy, 1, 1), 0xFF060504u);
    EXPECT_EQ(copy.TransparentColor(), static_cast<TColor>(0x770203));
}

} // namespace
