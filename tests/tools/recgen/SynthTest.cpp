#include "formats/QelSideData.h"
#include "platform/core/Exceptions.h"
#include "tools/recgen/SynthAudio.h"
#include "tools/recgen/SynthCamera.h"
#include "tools/recgen/SynthStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <spandsp.h>

namespace {

TEST(SynthAudio, DecodesToTheTone) {
    recgen::SynthAudio audio(500.0);
    const std::vector<BYTE> coded = audio.Next(recgen::kG726BytesPerSecond);
    ASSERT_EQ(coded.size(), 4000u);
    g726_state_t* dec = g726_init(nullptr, 32000, G726_ENCODING_LINEAR, G726_PACKING_RIGHT);
    std::vector<int16_t> pcm(8000);
    const int n = g726_decode(dec, pcm.data(), coded.data(), static_cast<int>(coded.size()));
    g726_free(dec);
    ASSERT_EQ(n, 8000);
    // Skip the coder's start-up, then count sign changes: a 500 Hz tone crosses zero 1000 times a second.
    int crossings = 0;
    double energy = 0;
    for (int i = 801; i < 8000; ++i) {
        if ((pcm[i - 1] < 0) != (pcm[i] < 0)) ++crossings;
        energy += double(pcm[i]) * pcm[i];
    }
    EXPECT_NEAR(crossings, 900, 30);
    EXPECT_GT(std::sqrt(energy / 7199), 1500.0);
}

TEST(SynthCamera, RefusesImpossibleCameras) {
    EXPECT_THROW(recgen::SynthCamera(0, 352, 240), EInvalidArgument);
    EXPECT_THROW(recgen::SynthCamera(5, 352, 240), EInvalidArgument);
    EXPECT_THROW(recgen::SynthCamera(1, 8, 240), EInvalidArgument);
    EXPECT_THROW(recgen::SynthCamera(1, 352, 5000), EInvalidArgument);
    recgen::SynthCamera cam(2, 352, 240);
    const auto a = cam.Picture(100, 0), b = cam.Picture(100, 1);
    EXPECT_NE(a, b); // the pattern moves
    ASSERT_GT(a.size(), 4u);
    EXPECT_EQ(a[0], 0xFF);
    EXPECT_EQ(a[1], 0xD8);
}

TEST(SynthStream, OrderRatesAndEvents) {
    recgen::SynthStreamOptions o;
    o.standard = QELSTD_PAL;
    o.framesPerSecond = 3;
    o.events = {{1002, 1010}};
    recgen::SynthStream s(o, 1000);
    EXPECT_EQ(s.Rate(), 3);
    DWORD last = 0;
    int audio = 0, video = 0, events = 0;
    while (s.Time() < 1012) {
        const QelAvFrame f = s.Next();
        EXPECT_GE(f.info.frameTime, last);
        last = f.info.frameTime;
        EXPECT_EQ(f.info.standard, QELSTD_PAL);
        if (!f.info.IsVideo()) {
            ++audio;
            continue;
        }
        ++video;
        EXPECT_EQ(f.info.width, 352u);
        EXPECT_EQ(f.info.height, 288u);
        EXPECT_LT(f.info.subSecond, 3u);
        if (f.info.eventState) {
            ++events;
            EXPECT_GE(f.info.frameTime, 1002u);
            EXPECT_LT(f.info.frameTime, 1010u);
        }
    }
    EXPECT_EQ(audio, 12);
    EXPECT_EQ(video, 12 * 3 * 4);
    EXPECT_GT(events, 0);
    s.Seek(5000);
    EXPECT_FALSE(s.Next().info.IsVideo());
    EXPECT_EQ(s.Next().info.frameTime, 5000u);
}

TEST(SynthSideData, PatternsOfTheVehicle) {
    using P = recgen::SideDataPattern;
    constexpr int L = QELSIDE_LAMPS, G = QELSIDE_GPS, T = QELSIDE_TACHO, X = QELSIDE_TEXT;
    struct Case {
        const char* name;
        P pattern;
        std::vector<int> kinds[4]; // cameras 1..4
    };
    const Case cases[] = {
        {"gps", P::Gps, {{L, G, X}, {L, G, X}, {L, G, X}, {L, G, X}}},
        {"tacho", P::Tacho, {{L, T, X}, {L, T, X}, {L, T, X}, {L, T, X}}},
        {"mixed", P::Mixed, {{L, G, X}, {L, T, X}, {L, G, X}, {L, T, X}}},
        {"none", P::None, {{}, {}, {}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(recgen::SideDataPatternNamed(c.name), c.pattern);
        // One moment of the vehicle: the cameras' frames differ only in their titles, the last block
        // (its code and "CAMERA n").
        constexpr std::ptrdiff_t kTitleBlock = 4 + 8;
        std::vector<BYTE> first;
        for (int channel = 1; channel <= 4; ++channel) {
            const auto bytes = recgen::SynthSideData(c.pattern, channel, 1000, 7);
            QelFrameSideData side(bytes);
            QelSideBlock b;
            std::vector<int> kinds;
            while (side.Next(b)) {
                kinds.push_back(b.kind);
                if (b.kind == X) EXPECT_EQ(b.Text(), "CAMERA " + std::to_string(channel));
            }
            EXPECT_EQ(kinds, c.kinds[channel - 1]) << channel;
            if (channel == 1) first = bytes;
            if ((c.pattern == P::Gps || c.pattern == P::Tacho) && channel > 1) {
                ASSERT_EQ(bytes.size(), first.size());
                EXPECT_TRUE(std::equal(bytes.begin(), bytes.end() - kTitleBlock, first.begin())) << channel;
            }
        }
    }
    EXPECT_EQ(recgen::SideDataPatternNamed("TACHO"), P::Tacho);
    EXPECT_FALSE(recgen::SideDataPatternNamed("gps,tacho"));
    EXPECT_FALSE(recgen::SideDataPatternNamed(""));
    const QelGpsFix a = recgen::SynthGpsFix(0, 0), b = recgen::SynthGpsFix(60, 0);
    EXPECT_EQ(a.latDegrees, 37);
    EXPECT_EQ(a.lonDegrees, 126);
    EXPECT_NE(a, b);
}

} // namespace
