// The sound output without a sound card: the silent sink, the capture of what is written, and the
// software gain that stands in for a mixer.
#include "platform/audio/WaveOut.h"
#include "platform/audio/Mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class WaveOutTest : public ::testing::Test {
protected:
    void SetUp() override {
        wave_out_testing::SetDeviceName("harbek_no_such_device");
        mixer_testing::SetMixerCard("harbek_no_such_card");
        wave_out_testing::SetCapture(
            [this](const std::int16_t* s, std::size_t n) { seen_.insert(seen_.end(), s, s + n); });
    }
    void TearDown() override {
        wave_out_testing::SetCapture(nullptr);
        wave_out_testing::SetDeviceName("");
        mixer_testing::SetMixerCard("");
    }
    std::vector<std::int16_t> seen_;
};

TEST_F(WaveOutTest, ADeviceThatCannotBeOpenedGivesASilentSinkThatTakesEverything) {
    TWaveOut out(8000);
    EXPECT_TRUE(out.Silent());
    const std::vector<std::int16_t> a{1, -2, 3, 32767, -32768};
    const std::vector<std::int16_t> b{7, 8};
    out.Write(a.data(), a.size());
    out.Write(nullptr, 4);
    out.Write(b.data(), 0);
    out.Reset();
    out.Write(b.data(), b.size());
    EXPECT_EQ(seen_, (std::vector<std::int16_t>{1, -2, 3, 32767, -32768, 7, 8}));
}

TEST_F(WaveOutTest, TheDefaultDeviceTakesWritesAndStopsWhetherOrNotItExists) {
    wave_out_testing::SetDeviceName("");
    std::vector<std::int16_t> second(8000);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<std::int16_t>((i % 40) * 100 - 2000);
    {
        TWaveOut out(8000);
        // A device that falls behind loses its oldest sound, never the writer's time or the order.
        for (int k = 0; k < 6; ++k)
            out.Write(second.data(), second.size());
        out.Reset();
        out.Write(second.data(), 80);
    }
    ASSERT_EQ(seen_.size(), 6 * second.size() + 80);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), seen_.begin() + 5 * 8000));
}

TEST_F(WaveOutTest, WithoutAMixerTheVolumeIsAGainOnTheSamples) {
    ASSERT_FALSE(WaveOutVolumeIsMixer());
    struct Case {
        double set;
        double read;
        std::vector<std::int16_t> out;
    };
    const Case cases[] = {
        {100, 100, {1000, -1000, 32767, -32768}},
        {50, 50, {500, -500, 16384, -16384}},
        {0, 0, {0, 0, 0, 0}},
        {37.5, 37.5, {375, -375, 12288, -12288}},
        {-5, 0, {0, 0, 0, 0}},
        {250, 100, {1000, -1000, 32767, -32768}},
    };
    TWaveOut out;
    const std::vector<std::int16_t> in{1000, -1000, 32767, -32768};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        seen_.clear();
        SetWaveOutVolume(c.set);
        EXPECT_DOUBLE_EQ(GetWaveOutVolume(), c.read);
        EXPECT_DOUBLE_EQ(WaveOutGain(), c.read / 100);
        out.Write(in.data(), in.size());
        EXPECT_EQ(seen_, c.out);
    }
}

TEST_F(WaveOutTest, ChoosingAnotherCardStartsAtFullVolume) {
    SetWaveOutVolume(20);
    mixer_testing::SetMixerCard("harbek_other_missing_card");
    EXPECT_DOUBLE_EQ(GetWaveOutVolume(), 100);
}

} // namespace
