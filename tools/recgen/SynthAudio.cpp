#include "tools/recgen/SynthAudio.h"

#include "platform/core/Exceptions.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <spandsp.h>

namespace recgen {

struct SynthAudio::State {
    g726_state_t* coder = nullptr;
    double phase = 0;
    double step = 0;
    std::uint64_t samples = 0;
    // A tone that swells and fades once a second, so gaps and repeats can be heard.
    std::array<double, 8000> envelope{};
};

SynthAudio::SynthAudio(double toneHz) : state_(std::make_unique<State>()) {
    state_->coder = g726_init(nullptr, 32000, G726_ENCODING_LINEAR, G726_PACKING_RIGHT);
    if (!state_->coder) throw EOutOfResources("G.726 coder");
    state_->step = 2 * M_PI * toneHz / 8000.0;
    for (std::size_t i = 0; i < state_->envelope.size(); ++i)
        state_->envelope[i] = 0.35 + 0.3 * std::sin(2 * M_PI * static_cast<double>(i) / 8000.0);
}

SynthAudio::~SynthAudio() {
    if (state_->coder) g726_free(state_->coder);
}

std::vector<BYTE> SynthAudio::Next(std::size_t bytes) {
    std::vector<std::int16_t> pcm(bytes * 2);
    for (auto& s : pcm) {
        const double envelope = state_->envelope[state_->samples % 8000];
        s = static_cast<std::int16_t>(12000 * envelope * std::sin(state_->phase));
        state_->phase = std::fmod(state_->phase + state_->step, 2 * M_PI);
        ++state_->samples;
    }
    std::vector<BYTE> out(bytes + 8);
    const int n = g726_encode(state_->coder, out.data(), pcm.data(), static_cast<int>(pcm.size()));
    out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    out.resize(bytes, 0);
    return out;
}

} // namespace recgen
