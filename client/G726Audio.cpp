#include "client/G726Audio.h"

#include "platform/audio/WaveOut.h"
#include "platform/core/Exceptions.h"

#include <spandsp.h>

struct CG726Decoder::State {
    g726_state_t* coder = nullptr;
};

CG726Decoder::CG726Decoder() : state_(std::make_unique<State>()) {
    Reset();
}

CG726Decoder::~CG726Decoder() {
    if (state_->coder != nullptr) g726_free(state_->coder);
}

void CG726Decoder::Reset() {
    if (state_->coder != nullptr) g726_free(state_->coder);
    state_->coder = g726_init(nullptr, 32000, G726_ENCODING_LINEAR, G726_PACKING_RIGHT);
    if (state_->coder == nullptr) throw EOutOfResources("G.726 decoder");
}

std::vector<std::int16_t> CG726Decoder::Decode(const BYTE* data, std::size_t length) {
    std::vector<std::int16_t> samples;
    if (data == nullptr || length == 0) return samples;
    // Decoded in pieces so that the count handed to the library always fits its int.
    constexpr std::size_t kPiece = 4096;
    std::vector<std::int16_t> piece(kPiece * 2);
    for (std::size_t at = 0; at < length; at += kPiece) {
        const std::size_t n = std::min(kPiece, length - at);
        const int made = g726_decode(state_->coder, piece.data(), data + at, static_cast<int>(n));
        if (made > 0)
            samples.insert(samples.end(), piece.begin(),
                           piece.begin() + std::min(made, static_cast<int>(n * 2)));
    }
    return samples;
}

CG726Audio::CG726Audio() : out_(std::make_unique<TWaveOut>(kG726SampleRate)) {}

CG726Audio::~CG726Audio() = default;

void CG726Audio::Init(int blockBytes) {
    if (blockBytes > 0) blockBytes_ = blockBytes;
}

void CG726Audio::AudioStart() {
    decoder_.Reset();
}

void CG726Audio::AudioStop() {
    out_->Reset();
    decoder_.Reset();
}

void CG726Audio::PlayBlock(const BYTE* block) {
    if (block == nullptr) return;
    const std::vector<std::int16_t> samples = decoder_.Decode(block, static_cast<std::size_t>(blockBytes_));
    out_->Write(samples.data(), samples.size());
}

extern "C" void G726Struct_Create(CG726Audio** object) {
    if (object == nullptr) return;
    try {
        *object = new CG726Audio();
    } catch (...) {
        *object = nullptr;
    }
}

extern "C" void G726Struct_Destroy(CG726Audio* object) {
    delete object;
}
