#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "platform/core/Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <vector>

namespace {

std::string DataBytes(std::int32_t w, std::int32_t h, std::size_t pixelBytes) {
    std::string s(8 + pixelBytes, '\0');
    std::memcpy(&s[0], &w, 4);
    std::memcpy(&s[4], &h, 4);
    for (std::size_t i = 0; i < pixelBytes; ++i)
        s[8 + i] = static_cast<char>(i * 7 + 1);
    return s;
}

// Counts OnChange, OnResize and area reports of one bitmap.
struct Counters {
    int changes = 0, resizes = 0;
    std::vector<std::pair<TRect, std::uint32_t>> areas;
    void Attach(TBitmap32& b) {
        b.OnChange = [this](TObject*) { ++changes; };
        b.OnResize = [this](TObject*) { ++resizes; };
    }
    TAreaChangedEvent AreaSink() {
        return [this](TObject*, const TRect& r, std::uint32_t info) { areas.emplace_back(r, info); };
    }
};

TEST(Bitmap, DataStreamLayoutAndRoundTrip) {
    TStringStream in(DataBytes(336, 315, 336 * 315 * 4));
    TBitmap32 bmp;
    bmp.ReadData(&in);
    ASSERT_EQ(bmp.Width(), 336);
    ASSERT_EQ(bmp.Height(), 315);
    const std::string& bytes = in.DataString();
    EXPECT_EQ(bytes.size(), 423368u);
    TColor32 first, secondRow;
    std::memcpy(&first, &bytes[8], 4);
    std::memcpy(&secondRow, &bytes[8 + 336 * 4], 4);
    EXPECT_EQ(bmp.GetPixel(0, 0), first);
    EXPECT_EQ(bmp.GetPixel(0, 1), secondRow);
    TStringStream out;
    bmp.WriteData(&out);
    EXPECT_EQ(out.DataString(), bytes);
}

TEST(Bitmap, DataStreamRejectsBadHeadersBeforeChangingAnything) {
    struct {
        const char* what;
        std::string bytes;
    } const cases[] = {
        {"negative width", DataBytes(-1, 4, 64)},
        {"negative height", DataBytes(4, -4, 64)},
        {"more pixels than the stream holds", DataBytes(4, 4, 63)},
        {"size overflowing 32 bits", DataBytes(0x10000, 0x10000, 16)},
        {"huge", DataBytes(0x7FFFFFFF, 0x7FFFFFFF, 0)},
        {"short header", std::string("\x04\x00\x00\x00\x04", 5)},
    };
    for (const auto& c : cases) {
        TBitmap32 bmp;
        bmp.SetSize(3, 2);
        bmp.Clear(0xFF112233);
        Counters n;
        n.Attach(bmp);
        TStringStream in(c.bytes);
        EXPECT_THROW(bmp.ReadData(&in), EReadError) << c.what;
        EXPECT_EQ(bmp.Width(), 3) << c.what;
        EXPECT_EQ(bmp.GetPixel(2, 1), 0xFF112233u) << c.what;
        EXPECT_EQ(n.changes, 0) << c.what;
    }
    // A zero-width bitmap keeps its height and has no pixels.
    TStringStream zero(DataBytes(0, 5, 0));
    TBitmap32 bmp;
    bmp.ReadData(&zero);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 5);
    EXPECT_TRUE(bmp.Empty());
}

// A stream that fails half way although its size promised enough.
class BrokenStream : public TStringStream {
public:
    using TStringStream::TStringStream;
    int Read(void* buffer, int count) override {
        if (Position() >= 8) count = std::min(count, 10);
        int n = TStringStream::Read(buffer, count);
        if (Position() > 8) return 0;
        return n;
    }
};

TEST(Bitmap, ShortReadLeavesTheBitmapEmpty) {
    BrokenStream in(DataBytes(8, 8, 256));
    TBitmap32 bmp;
    bmp.SetSize(2, 2);
    EXPECT_THROW(bmp.ReadData(&in), EReadError);
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Bits(), nullptr);
}

TEST(Bitmap, SizeAndAllocation) {
    TBitmap32 bmp;
    Counters n;
    n.Attach(bmp);
    EXPECT_TRUE(bmp.SetSize(-3, 10));
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 10);
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.Bits(), nullptr);
    const int before = n.changes;
    bmp.Clear(0xFFFFFFFF);
    EXPECT_EQ(n.changes, before); // nothing to clear, nothing reported
    EXPECT_FALSE(bmp.SetSize(0, 10));
    EXPECT_TRUE(bmp.SetSize(4, 3));
    EXPECT_EQ(n.resizes, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(bmp.GetPixel(x, y), 0u); // new pixels are zeroed
    EXPECT_EQ(bmp.ClipRect(), (TRect{0, 0, 4, 3}));
    EXPECT_THROW(bmp.SetSize(0x10000, 0x8000), EBitmapException);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 0);
    EXPECT_EQ(bmp.Bits(), nullptr);
    EXPECT_TRUE(bmp.SetSize(2, 2));
}

TEST(Bitmap, ChangeNotificationCounting) {
    TBitmap32 bmp;
    bmp.SetSize(4, 4);
    Counters n;
    n.Attach(bmp);
    bmp.BeginUpdate();
    bmp.Changed();
    bmp.Clear();
    bmp.EndUpdate();
    EXPECT_EQ(n.changes, 0);
    EXPECT_THROW(bmp.EndUpdate(), EAssertionFailed);
    EXPECT_EQ(bmp.UpdateCount(), 0);

    TBitmap32 src;
    src.SetSize(3, 3);
    src.SetMasterAlpha(100);
    bmp.Assign(&src);
    EXPECT_EQ(n.changes, 1);
    EXPECT_EQ(bmp.MasterAlpha(), 100u);
    bmp.SetMasterAlpha(100);
    EXPECT_EQ(n.changes, 1);
    bmp.SetDrawMode(dmBlend);
    bmp.SetDrawMode(dmBlend);
    EXPECT_EQ(n.changes, 2);

    // Measuring: areas reach the callback, no pixel is written, OnChange stays quiet.
    bmp.Clear(0xFF000000);
    const int changes = n.changes;
    bmp.BeginMeasuring(n.AreaSink());
    bmp.FillRectTS(0, 0, 2, 2, 0xFFFFFFFF);
    bmp.Clear(0xFFFFFFFF);
    bmp.LineS(0, 0, 2, 2, 0xFFFFFFFF);
    bmp.EndMeasuring();
    EXPECT_EQ(n.changes, changes);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0xFF000000u);
    ASSERT_EQ(n.areas.size(), 3u);
    EXPECT_EQ(n.areas[0], std::make_pair(TRect{0, 0, 2, 2}, AREAINFO_RECT));
    EXPECT_EQ(n.areas[1], std::make_pair(TRect{0, 0, 3, 3}, AREAINFO_RECT));
    EXPECT_EQ(n.areas[2], std::make_pair(TRect{0, 0, 2, 2}, AREAINFO_LINE));
    EXPECT_FALSE(bmp.OnAreaChanged);
}

TEST(Bitmap, AssignCopiesPixelsAndPropertiesOrRefuses) {
    TBitmap32 a;
    a.SetSize(2, 2);
    a.SetPixel(1, 1, 0x12345678);
    a.SetCombineMode(cmMerge);
    a.SetOuterColor(0x55);
    a.SetWrapMode(wmMirror);
    a.Font()->SetName("DejaVu Serif");
    a.Font()->SetHeight(-20);
    TBitmap32 b;
    b.Assign(&a);
    EXPECT_EQ(b.Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(b.Font()->Height(), -20);
    EXPECT_TRUE(b.Equal(&a));
    EXPECT_EQ(b.CombineMode(), cmMerge);
    EXPECT_EQ(b.OuterColor(), 0x55u);
    EXPECT_EQ(b.WrapMode(), wmMirror);
    b.SetPixel(0, 0, 1);
    EXPECT_FALSE(b.Equal(&a));
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    TBitmap32 empty;
    empty.SetSize(0, 7);
    EXPECT_TRUE(b.Equal(&empty));
    EXPECT_FALSE(a.Equal(&empty));
    TPersistent other;
    EXPECT_THROW(b.Assign(&other), EConvertError);
    EXPECT_EQ(b.UpdateCount(), 0);
    TCustomMap& map = b;
    EXPECT_TRUE(map.SetSizeFrom(&a));
    EXPECT_EQ(b.Width(), 2);
    try {
        b.SetSizeFrom(&other);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Can't set size from 'TPersistent'");
    }
    b.SetSizeFrom(nullptr);
    EXPECT_EQ(b.Width(), 0);
}

TEST(Bitmap, ClearResetAlphaAndClipRect) {
    TBitmap32 bmp;
    bmp.SetSize(4, 3);
    bmp.Clear(0x80102030);
    bmp.SetClipRect(TRect{1, 1, 9, 9});
    EXPECT_EQ(bmp.ClipRect(), (TRect{1, 1, 4, 3}));
    EXPECT_TRUE(bmp.Clipping());
    EXPECT_EQ(bmp.FixedClipRect(), (TFixedRect{65536, 65536, 4 * 65536, 3 * 65536}));
    EXPECT_EQ(bmp.ClipRect256(), (TRect{256, 256, 1024, 768}));
    bmp.Clear(0xFF0000FF);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x80102030u);
    EXPECT_EQ(bmp.GetPixel(3, 2), 0xFF0000FFu);
    bmp.ResetClipRect();
    EXPECT_FALSE(bmp.Clipping());
    bmp.ResetAlpha(0x11);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x11102030u);
    EXPECT_EQ(bmp.GetPixel(3, 2), 0x110000FFu);
}

class TTestResampler : public TBitmap32Resampler {
public:
    using TBitmap32Resampler::TBitmap32Resampler;
    float GetWidth() override { return 2; }
    TColor32 GetSampleFloat(float, float) override { return 7; }
    void Resample(TBitmap32*, const TRect&, TRect, TBitmap32*, TRect, TDrawMode,
                  const TPixelCombineEvent&) override {}
    static const TResamplerClassOf<TTestResampler> ClassRef;
};
const TResamplerClassOf<TTestResampler> TTestResampler::ClassRef{"TTestResampler"};

TEST(Bitmap, ResamplerByClassName) {
    TBitmap32 bmp;
    EXPECT_EQ(bmp.ResamplerClassName(), "TNearestResampler");
    TCustomResampler* nearest = bmp.Resampler();
    bmp.SetResamplerClassName("");
    bmp.SetResamplerClassName("TNoSuchResampler"); // not registered
    bmp.SetResamplerClassName("tnearestresampler");
    EXPECT_EQ(bmp.Resampler(), nearest);
    RegisterResampler(&TTestResampler::ClassRef);
    bmp.SetResamplerClassName("TTestResampler");
    EXPECT_EQ(bmp.ResamplerClassName(), "TTestResampler");
    EXPECT_EQ(bmp.GetPixelR(3, 3), 7u);
    ResamplerList()->Remove(&TTestResampler::ClassRef);
    bmp.SetResamplerClassName("TNearestResampler");
    EXPECT_EQ(bmp.ResamplerClassName(), "TNearestResampler");
    bmp.SetResampler(nullptr);
    EXPECT_EQ(bmp.ResamplerClassName(), "TNearestResampler");
}

TEST(Bitmap, NearestSamplingRoundsHalfToEven) {
    TBitmap32 bmp;
    bmp.SetSize(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            bmp.SetPixel(x, y, static_cast<TColor32>(y * 10 + x));
    bmp.SetOuterColor(0xDEAD);
    TCustomResampler* r = bmp.Resampler();
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFloat(2.5f, 3.5f), 42u);
    EXPECT_EQ(r->GetSampleFixed(2 * 65536 + 32768, 3 * 65536 + 32769), 42u);
    EXPECT_EQ(r->GetSampleInt(-1, 0), 0xDEADu);
    auto* nearest = static_cast<TNearestResampler*>(r);
    nearest->SetPixelAccessMode(pamWrap);
    bmp.SetWrapMode(wmRepeat);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleInt(-1, 7), 15u);
    r->FinalizeSampling();
    EXPECT_EQ(r->GetSampleBounds(), (TRect{0, 0, 6, 6}));
}

TEST(Bitmap, FontSharesTheBitmapsLock) {
    TBitmap32 b;
    CRITICAL_SECTION* lock = b.Font()->OwnerCriticalSection();
    ASSERT_NE(lock, nullptr);
    // Whether a thread other than this one could take the lock now.
    const auto freeForOthers = [lock] {
        return std::async(std::launch::async,
                          [lock] {
                              if (!TryEnterCriticalSection(lock)) return false;
                              LeaveCriticalSection(lock);
                              return true;
                          })
            .get();
    };
    EXPECT_TRUE(freeForOthers());
    b.Lock();
    EXPECT_FALSE(freeForOthers());
    b.Unlock();

    // A change of the font holds it until the bitmap has heard of the change.
    bool heldWhileChanging = false;
    const TNotifyEvent fontChanged = b.Font()->OnChange;
    b.Font()->OnChange = [&](TObject* sender) {
        heldWhileChanging = !freeForOthers();
        fontChanged(sender);
    };
    b.Font()->SetSize(20);
    EXPECT_TRUE(heldWhileChanging);
    EXPECT_TRUE(freeForOthers());
}

// A sampler overriding neither the fixed nor the float sampler raises instead of recursing.
class TNoSampler : public TCustomSampler {};
class TFloatOnly : public TCustomSampler {
public:
    TColor32 GetSampleFloat(float X, float Y) override { return static_cast<TColor32>(X * 10 + Y); }
};

TEST(Sampler, DefaultsNeedOneOverride) {
    TNoSampler none;
    EXPECT_THROW(none.GetSampleInt(1, 2), EAbstractSampler);
    EXPECT_THROW(none.GetSampleFloat(1, 2), EAbstractSampler);
    TFloatOnly f;
    EXPECT_EQ(f.GetSampleInt(3, 2), 32u);
    EXPECT_EQ(f.GetSampleFixed(65536 * 4, 32768), 40u);
    EXPECT_EQ(none.GetSampleBounds(), (TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
}

} // namespace
