// The built-in audio library: G.726 as made by spandsp's encoder decoded to the same samples as
// spandsp's own decoder, a tone that keeps its pitch and level, and the object behind the library's
// entry points playing blocks into the wave-out.
#include "client/G726Audio.h"
#include "client/AudioLibrary.h"

#include "platform/audio/Mixer.h"
#include "platform/audio/WaveOut.h"
#include "platform/win/Modules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <spandsp.h>
#include <vector>

namespace {

std::vector<std::int16_t> Tone(double hz, double amplitude, std::size_t samples) {
    std::vector<std::int16_t> pcm(samples);
    for (std::size_t i = 0; i < samples; ++i)
        pcm[i] =
            static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / 8000.0));
    return pcm;
}

std::vector<BYTE> Encode(const std::vector<std::int16_t>& pcm) {
    g726_state_t* coder = g726_init(nullptr, 32000, G726_ENCODING_LINEAR, G726_PACKING_RIGHT);
    std::vector<BYTE> out(pcm.size() / 2 + 8);
    const int n = g726_encode(coder, out.data(), pcm.data(), static_cast<int>(pcm.size()));
    g726_free(coder);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::vector<std::int16_t> ReferenceDecode(const std::vector<BYTE>& data) {
    g726_state_t* coder = g726_init(nullptr, 32000, G726_ENCODING_LINEAR, G726_PACKING_RIGHT);
    std::vector<std::int16_t> out(data.size() * 2 + 8);
    const int n = g726_decode(coder, out.data(), data.data(), static_cast<int>(data.size()));
    g726_free(coder);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

double Rms(const std::vector<std::int16_t>& s, std::size_t from) {
    double sum = 0;
    for (std::size_t i = from; i < s.size(); ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / static_cast<double>(s.size() - from));
}

// Upward zero crossings per second.
double Frequency(const std::vector<std::int16_t>& s, std::size_t from) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < s.size(); ++i)
        crossings += s[i - 1] < 0 && s[i] >= 0;
    return crossings * 8000.0 / static_cast<double>(s.size() - from);
}

TEST(G726Decoder, DecodesWhatTheEncoderMadeAsItsOwnDecoderDoes) {
    std::vector<std::int16_t> pcm = Tone(440, 12000, 8000);
    // Noise-like content as well, so every codeword is exercised.
    for (std::size_t i = 0; i < pcm.size(); i += 7)
        pcm[i] = static_cast<std::int16_t>(pcm[i] ^ static_cast<std::int16_t>((i * 2654435761u) >> 20));
    const std::vector<BYTE> coded = Encode(pcm);
    ASSERT_EQ(coded.size(), 4000u);
    const std::vector<std::int16_t> expected = ReferenceDecode(coded);
    CG726Decoder whole;
    EXPECT_EQ(whole.Decode(coded.data(), coded.size()), expected);
    // In blocks, the state runs on from one block to the next.
    CG726Decoder blocks;
    std::vector<std::int16_t> joined;
    for (std::size_t at = 0; at < coded.size(); at += kG726BlockBytes) {
        const auto part = blocks.Decode(coded.data() + at, kG726BlockBytes);
        ASSERT_EQ(part.size(), 2 * kG726BlockBytes);
        joined.insert(joined.end(), part.begin(), part.end());
    }
    EXPECT_EQ(joined, expected);
    // After a reset it is a new stream again.
    blocks.Reset();
    EXPECT_EQ(blocks.Decode(coded.data(), coded.size()), expected);
    EXPECT_TRUE(blocks.Decode(nullptr, 10).empty());
    EXPECT_TRUE(blocks.Decode(coded.data(), 0).empty());
}

TEST(G726Decoder, ATonesPitchAndLevelSurviveARoundTrip) {
    struct Case {
        double hz, amplitude;
    };
    for (const Case c : {Case{300, 4000}, Case{1000, 8000}, Case{2500, 16000}}) {
        SCOPED_TRACE(c.hz);
        const std::vector<std::int16_t> pcm = Tone(c.hz, c.amplitude, 16000);
        CG726Decoder decoder;
        const std::vector<BYTE> coded = Encode(pcm);
        const std::vector<std::int16_t> back = decoder.Decode(coded.data(), coded.size());
        ASSERT_EQ(back.size(), pcm.size());
        // The adaptive quantiser settles within the first few hundred samples.
        EXPECT_NEAR(Frequency(back, 800), c.hz, c.hz * 0.02);
        const double db = 20 * std::log10(Rms(back, 800) / Rms(pcm, 800));
        EXPECT_NEAR(db, 0.0, 1.0);
    }
}

class G726Library : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterAudioLibrary();
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

TEST_F(G726Library, TheEntryPointsMakeAnObjectThatPlaysBlocks) {
    const HMODULE library = LoadLibrary("G726LIB.DLL");
    ASSERT_NE(library, nullptr);
    const auto create =
        reinterpret_cast<void (*)(CG726Audio**)>(GetProcAddress(library, "G726Struct_Create"));
    const auto destroy =
        reinterpret_cast<void (*)(CG726Audio*)>(GetProcAddress(library, "G726Struct_Destroy"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);
    CG726Audio* audio = nullptr;
    create(&audio);
    ASSERT_NE(audio, nullptr);
    audio->Init(160);

    const std::vector<BYTE> coded = Encode(Tone(700, 9000, 960));
    ASSERT_EQ(coded.size(), 480u);
    for (std::size_t at = 0; at < coded.size(); at += 160)
        audio->PlayBlock(coded.data() + at);
    EXPECT_EQ(seen_, ReferenceDecode(coded));

    // Stopping starts the next block as a fresh stream.
    seen_.clear();
    audio->AudioStop();
    audio->PlayBlock(coded.data() + 160);
    EXPECT_EQ(seen_, ReferenceDecode({coded.begin() + 160, coded.begin() + 320}));
    // A block size that is not positive keeps the last one.
    audio->Init(0);
    EXPECT_EQ(audio->BlockBytes(), 160);
    audio->PlayBlock(nullptr);
    destroy(audio);
    EXPECT_TRUE(FreeLibrary(library));
}

} // namespace
