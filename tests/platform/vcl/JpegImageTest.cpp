// JPEG pictures: encode and decode round trips, options, and damaged data that must raise cleanly.
#include "platform/core/Streams.h"
#include "platform/vcl/Jpeg.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::uint32_t At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x];
}

// A smooth picture JPEG keeps well: a red ramp across, a blue ramp down, green constant.
std::unique_ptr<TBitmap> Gradient(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint32_t*>(b->ScanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] =
                0xFF000000u | (std::uint32_t(x * 255 / (w - 1)) << 16) | (0x60u << 8) | (y * 255 / (h - 1));
    }
    return b;
}

std::string Encode(const TBitmap& b, int quality = 90) {
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(quality);
    jpeg.Assign(&b);
    return jpeg.SaveToMemory();
}

int MaxChannelError(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

TEST(Jpeg, EncodeDecodeRoundTripWithinTolerance) {
    const auto source = Gradient(64, 48);
    const std::string file = Encode(*source);
    ASSERT_GT(file.size(), 100u);
    EXPECT_EQ(static_cast<unsigned char>(file[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(file[1]), 0xD8);

    TJPEGImage jpeg;
    jpeg.LoadFromMemory(file.data(), file.size());
    ASSERT_EQ(jpeg.Width(), 64);
    ASSERT_EQ(jpeg.Height(), 48);
    TBitmap decoded;
    decoded.Assign(&jpeg);
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            EXPECT_EQ(At(decoded, x, y) >> 24, 0xFFu);
            worst = std::max(worst, MaxChannelError(At(decoded, x, y), At(*source, x, y)));
        }
    EXPECT_LE(worst, 12);
    // Saving a loaded picture writes the loaded bytes, not a second generation.
    EXPECT_EQ(jpeg.SaveToMemory(), file);
}

TEST(Jpeg, QualityScaleGrayscaleAndPerformance) {
    const auto source = Gradient(64, 48);
    EXPECT_LT(Encode(*source, 10).size(), Encode(*source, 95).size());

    const std::string file = Encode(*source);
    struct TCase {
        TJPEGScale scale;
        int width, height;
    };
    for (const TCase& c : {TCase{jsFullSize, 64, 48}, TCase{jsHalf, 32, 24}, TCase{jsQuarter, 16, 12},
                           TCase{jsEighth, 8, 6}}) {
        TJPEGImage jpeg;
        jpeg.SetScale(c.scale);
        jpeg.LoadFromMemory(file.data(), file.size());
        EXPECT_EQ(jpeg.Width(), c.width);
        EXPECT_EQ(jpeg.Height(), c.height);
    }
    // Changing the scale of a loaded picture decodes it again.
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(file.data(), file.size());
    jpeg.SetScale(jsHalf);
    EXPECT_EQ(jpeg.Width(), 32);

    jpeg.SetGrayscale(true);
    TBitmap gray;
    gray.Assign(&jpeg);
    for (int y = 0; y < gray.Height(); ++y)
        for (int x = 0; x < gray.Width(); ++x) {
            const std::uint32_t p = At(gray, x, y);
            ASSERT_EQ((p >> 16) & 0xFF, p & 0xFF);
            ASSERT_EQ((p >> 8) & 0xFF, p & 0xFF);
        }

    TJPEGImage fast;
    fast.SetPerformance(jpBestSpeed);
    fast.LoadFromMemory(file.data(), file.size());
    TBitmap quick;
    quick.Assign(&fast);
    EXPECT_LE(MaxChannelError(At(quick, 30, 20), At(*source, 30, 20)), 16);

    // A grey encoding decodes to grey pixels too.
    TJPEGImage grayOut;
    grayOut.SetGrayscale(true);
    grayOut.Assign(source.get());
    const std::string grayFile = grayOut.SaveToMemory();
    TJPEGImage back;
    back.LoadFromMemory(grayFile.data(), grayFile.size());
    TBitmap g;
    g.Assign(&back);
    EXPECT_EQ((At(g, 10, 10) >> 8) & 0xFF, At(g, 10, 10) & 0xFF);
}

TEST(Jpeg, DamagedDataRaisesAndLeavesTheImageEmpty) {
    const std::string good = Encode(*Gradient(256, 192));
    const std::size_t scan = good.find("\xFF\xDA", 2); // the picture data follows the scan header
    ASSERT_NE(scan, std::string::npos);
    ASSERT_GT(good.size(), scan + 200);
    std::string flipped = good;
    for (std::size_t i = scan + 100; i < scan + 140; ++i)
        flipped[i] = static_cast<char>(0xFF); // a run of markers in the middle of the picture data
    std::string badHeader = good;
    badHeader[good.find("\xFF\xC0", 2) + 5] = 0; // height 0 in the frame header
    badHeader[good.find("\xFF\xC0", 2) + 6] = 0;
    std::string huge = good;
    const std::size_t sof = huge.find("\xFF\xC0", 2);
    huge[sof + 5] = static_cast<char>(0xFF); // 65535 x 65535 pixels announced
    huge[sof + 6] = static_cast<char>(0xFF);
    huge[sof + 7] = static_cast<char>(0xFF);
    huge[sof + 8] = static_cast<char>(0xFF);
    struct TCase {
        const char* name;
        std::string bytes;
    };
    const TCase cases[] = {
        {"zero length", ""},
        {"garbage", std::string(500, 'x')},
        {"start marker only", good.substr(0, 2)},
        {"truncated in the header", good.substr(0, 100)},
        {"truncated in the data", good.substr(0, good.size() * 2 / 3)},
        {"last byte missing", good.substr(0, good.size() - 2)},
        {"damaged data", flipped},
        {"zero height", badHeader},
        {"too large", huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGImage jpeg;
        jpeg.LoadFromMemory(good.data(), good.size()); // a previous picture must not survive
        EXPECT_THROW(jpeg.LoadFromMemory(c.bytes.data(), c.bytes.size()), EJPEG);
        EXPECT_TRUE(jpeg.Empty());
        EXPECT_EQ(jpeg.Width(), 0);
        EXPECT_EQ(jpeg.ImageData(), nullptr);
        // The same through a stream, as the live view loads frames.
        TMemoryStream stream;
        stream.WriteBuffer(c.bytes.data(), static_cast<std::int64_t>(c.bytes.size()));
        stream.SetPosition(0);
        EXPECT_THROW(jpeg.LoadFromStream(&stream), EJPEG);
        EXPECT_TRUE(jpeg.Empty());
    }
}

TEST(Jpeg, SurvivesAThousandCorruptDecodes) {
    const std::string good = Encode(*Gradient(48, 32));
    std::srand(7);
    int raised = 0;
    TJPEGImage jpeg;
    for (int i = 0; i < 1000; ++i) {
        std::string bad = good;
        switch (i % 3) {
        case 0:
            bad.resize(static_cast<std::size_t>(std::rand()) % good.size());
            break;
        case 1:
            for (int k = 0; k < 8; ++k)
                bad[static_cast<std::size_t>(std::rand()) % bad.size()] = static_cast<char>(std::rand());
            break;
        default:
            for (char& ch : bad)
                ch = static_cast<char>(std::rand());
            break;
        }
        try {
            jpeg.LoadFromMemory(bad.data(), bad.size());
            EXPECT_FALSE(jpeg.Empty()); // a few random changes leave a decodable picture
        } catch (const EJPEG&) {
            ++raised;
            EXPECT_TRUE(jpeg.Empty());
        }
    }
    EXPECT_GT(raised, 600);
    jpeg.LoadFromMemory(good.data(), good.size());
    EXPECT_EQ(jpeg.Width(), 48);
}

TEST(Jpeg, PicturesShareDecodedPixels) {
    const std::string file = Encode(*Gradient(32, 16));
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
    stream.SetPosition(0);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(&stream);
    TPicture picture;
    picture.Assign(&jpeg);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Graphic()->ImageData(), jpeg.ImageData()); // no copy of the pixels
    // The next frame does not disturb the picture that is shown.
    const auto shown = picture.Graphic()->ImageData();
    const std::string other = Encode(*Gradient(16, 8));
    jpeg.LoadFromMemory(other.data(), other.size());
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_EQ(picture.Graphic()->ImageData(), shown);
    EXPECT_EQ(jpeg.Width(), 16);

    EXPECT_THROW(jpeg.SetWidth(3), EInvalidGraphicOperation);
    TJPEGImage empty;
    EXPECT_THROW(empty.SaveToMemory(), EInvalidGraphicOperation);
}

TEST(Jpeg, FilesAndPictureExtensions) {
    testing_support::TempDir dir;
    const auto source = Gradient(40, 30);
    TJPEGImage jpeg;
    jpeg.Assign(source.get());
    jpeg.SaveToFile(dir.File("shot_2.jpg"));
    TPicture picture;
    picture.LoadFromFile(dir.File("shot_2.jpg"));
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 40);
    // A JPEG-named file that is not a JPEG leaves the picture empty.
    testing_support::WriteFileBytes(dir.File("bad.jpeg"), "not a picture");
    EXPECT_THROW(picture.LoadFromFile(dir.File("bad.jpeg")), EJPEG);
    EXPECT_EQ(picture.Graphic(), nullptr);
    // A picture drawn on a canvas shows the decoded pixels.
    TBitmap canvas(40, 30);
    TJPEGImage loaded;
    loaded.LoadFromFile(dir.File("shot_2.jpg"));
    canvas.Canvas()->Draw(0, 0, &loaded);
    EXPECT_LE(MaxChannelError(At(canvas, 20, 15), At(*source, 20, 15)), 12);
}

} // namespace
