// Sound through the main window: the built-in library at start-up, recorded sound by speed and
// direction, the volume slider and its software gain, and the stream's sound from the simulated
// recorder with live sound on and off.
#include "tests/client/LoginRig.h"

#include "client/AudioLibrary.h"
#include "client/G726Audio.h"

#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "playback/Qelvidfile.h"
#include "tools/recgen/SynthAudio.h"

#include "platform/audio/Mixer.h"
#include "platform/audio/WaveOut.h"

#include <mutex>

namespace client_tests {
namespace {

class Sound : public LoginRig {
protected:
    static void SetUpTestSuite() { UseBuiltInSoundWithoutDevice(true); }
    static void TearDownTestSuite() { UseBuiltInSoundWithoutDevice(false); }

    void SetUp() override {
        mixer_testing::SetMixerCard("harbek_no_such_card");
        wave_out_testing::SetCapture([this](const std::int16_t* s, std::size_t n) {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.insert(seen_.end(), s, s + n);
        });
        LoginRig::SetUp();
    }
    void TearDown() override {
        LoginRig::TearDown();
        wave_out_testing::SetCapture(nullptr);
        mixer_testing::SetMixerCard("");
    }
    std::size_t Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_.size();
    }
    std::vector<std::int16_t> Samples() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

    std::mutex mutex_;
    std::vector<std::int16_t> seen_;
};

TEST_F(Sound, StartUpMakesTheDecoderForBlocksOf160Bytes) {
    ASSERT_NE(FrmMain->AudioLibrary, nullptr);
    ASSERT_NE(FrmMain->G726Audio, nullptr);
    EXPECT_EQ(FrmMain->G726Audio->BlockBytes(), 160);
}

TEST_F(Sound, RecordedSoundPlaysWholeBlocksOnlyForwardAtNormalSpeed) {
    struct Case {
        std::size_t bytes;
        BYTE forward;
        int speed;
        std::size_t samples;
    };
    const Case cases[] = {{800, 1, 1, 1600}, {850, 1, 1, 1600}, {159, 1, 1, 0}, {160, 1, 1, 320},
                          {800, 1, 2, 0},    {800, 0, 1, 0},    {800, 0, 4, 0}};
    recgen::SynthAudio tone;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.bytes << " bytes, forward " << int(c.forward) << ", X" << c.speed);
        const std::vector<BYTE> data = tone.Next(c.bytes);
        FrmMain->PlayForward = c.forward;
        FrmMain->PlaySpeed = c.speed;
        seen_.clear();
        FrmMain->PlayAudioData(data.data(), data.size());
        EXPECT_EQ(Seen(), c.samples);
    }
}

TEST_F(Sound, AnAudioRecordIsPlayedAndLeavesTheRing) {
    CQelVideoFile& reader = *FrmMain->VideoReader;
    std::vector<QelFrameRecord>& ring = reader.AudioRing();
    ASSERT_GE(ring.size(), 2u);
    QelRingHead& head = reader.AudioHead();
    head.readIndex = static_cast<int>(ring.size()) - 1;
    head.writeIndex = 0;
    head.count = 1;
    recgen::SynthAudio tone;
    const std::vector<BYTE> data = tone.Next(4000);
    QelFrameRecord& record = ring.back();
    record.payloadLen1 = 4000;
    record.payload1 = std::make_unique<BYTE[]>(4000);
    std::copy(data.begin(), data.end(), record.payload1.get());
    FrmMain->PlayForward = 1;
    FrmMain->PlaySpeed = 1;
    FrmMain->PlayAudioRecord(head.readIndex);
    EXPECT_EQ(Seen(), 8000u);
    EXPECT_EQ(record.payload1, nullptr);
    EXPECT_EQ(head.readIndex, 0);
    EXPECT_EQ(head.count.load(), 0);
    // Out of the ring: nothing.
    FrmMain->PlayAudioRecord(-1);
    FrmMain->PlayAudioRecord(static_cast<int>(ring.size()));
    EXPECT_EQ(Seen(), 8000u);
}

TEST_F(Sound, TheVolumeSliderMapsToTheGain) {
    struct Case {
        int knob;
        double percent;
        int speakerFrame;
    };
    const Case cases[] = {{0, 0, 1}, {500, 50, 0}, {1000, 100, 0}, {371, 37.1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.knob);
        FrmMain->SliderVolume->SetKnobPos(c.knob);
        FrmMain->SliderVolumeMouseUp(FrmMain->SliderVolume, mbLeft, TShiftState(), 0, 0);
        EXPECT_NEAR(FrmMain->GetVolume(), c.percent, 0.01);
        EXPECT_NEAR(WaveOutGain(), c.percent / 100, 0.0001);
        EXPECT_EQ(FrmMain->ImgFrame4->CurrentFrame(), c.speakerFrame);
    }
}

TEST_F(Sound, TheKnobFollowsTheVolumeWithAMarkForAFraction) {
    struct Case {
        float percent;
        int knob;
    };
    for (const Case c : {Case{37.5F, 371}, Case{40, 400}, Case{0, 0}, Case{100, 1000}, Case{99.9F, 991}}) {
        SCOPED_TRACE(c.percent);
        FrmMain->SetVolume(c.percent);
        FrmMain->TimerVolumeTimer(FrmMain->TimerVolume);
        EXPECT_EQ(FrmMain->SliderVolume->KnobPos(), c.knob);
    }
}

TEST_F(Sound, WhileLoggedInReleasingTheSliderChangesNothing) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    FrmMain->SetVolume(60);
    FrmMain->SliderVolume->SetKnobPos(100);
    FrmMain->SliderVolumeMouseUp(FrmMain->SliderVolume, mbLeft, TShiftState(), 0, 0);
    EXPECT_NEAR(FrmMain->GetVolume(), 60, 0.01);
}

TEST_F(Sound, TheStreamsSoundReachesTheOutputInOrderOnlyWithLiveSoundOn) {
    for (BYTE live : {BYTE{1}, BYTE{0}}) {
        SCOPED_TRACE(int(live));
        recsim::RecSimOptions o = QuickSimOptions();
        o.recordAvFrames = true;
        o.cameras = 1;
        o.liveFps = 5;
        recsim::RecSim& sim = StartSim(o);
        LogIn(sim);
        ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        ASSERT_TRUE(sim.WaitForAvConnection(true, 2000));
        seen_.clear();
        FrmMain->LiveSound = live;
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
        ASSERT_TRUE(FrmMain->LiveActive());
        auto audioSent = [&] {
            std::size_t n = 0;
            for (const auto& s : sim.SentAvFrames())
                n += s.kind != 0;
            return n;
        };
        ASSERT_TRUE(PumpReal([&] { return audioSent() >= 4; }, 20000));
        ASSERT_EQ(FrmMain->SendCommandAndWait(NETCMD_LIVE_STOP, 0, kReplyLimitMs), 1);
        ASSERT_TRUE(PumpReal([&] { return sim.StreamMode() == recsim::AvStreamer::Mode::Idle; }));
        const std::size_t sent = sim.SentAvFrames().size();
        ASSERT_TRUE(PumpReal([&] { return FrmMain->AvReceiver.Stats().frames >= sent; }, 20000));
        const std::size_t audioFrames = audioSent();
        if (live == 0) {
            EXPECT_EQ(Seen(), 0u);
            continue;
        }
        // The recorder's tone from its start, decoded as one stream: every block, none twice.
        recgen::SynthAudio tone;
        const std::vector<BYTE> coded = tone.Next(audioFrames * recgen::kG726BytesPerSecond);
        CG726Decoder decoder;
        const std::vector<std::int16_t> expected = decoder.Decode(coded.data(), coded.size());
        const std::vector<std::int16_t> got = Samples();
        EXPECT_EQ(got.size(), expected.size());
        EXPECT_TRUE(got == expected);
    }
}

} // namespace
} // namespace client_tests
