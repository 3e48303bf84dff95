// Synthetic sound: a tone encoded as G.726 at 32 kbit/s, 8000 Hz, four bits per sample, first codeword
// in the low nibble. One second is 4000 bytes, 25 blocks of 160.
#pragma once

#include "platform/core/Types.h"

#include <memory>
#include <vector>

namespace recgen {

inline constexpr std::size_t kG726BlockBytes = 160;
inline constexpr std::size_t kG726BytesPerSecond = 4000;

class SynthAudio {
public:
    explicit SynthAudio(double toneHz = 440.0);
    ~SynthAudio();
    SynthAudio(const SynthAudio&) = delete;
    SynthAudio& operator=(const SynthAudio&) = delete;

    // The next `bytes` of coded sound (two samples a byte).
    std::vector<BYTE> Next(std::size_t bytes);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace recgen
