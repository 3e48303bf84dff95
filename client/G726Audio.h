// The decoder object of the built-in audio library "g726lib.dll": G.726 at 32 kbit/s (four bits a
// sample at 8000 Hz, the first codeword in the low nibble of each byte) decoded and played on the
// wave-out device. The main window reaches it only through the library's two entry points and these
// operations, as it would an outside library's object.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TWaveOut;

inline constexpr std::size_t kG726BlockBytes = 160;
inline constexpr unsigned kG726SampleRate = 8000;

// The decoding alone: bytes in, samples out, two samples a byte; the state runs on across calls.
class CG726Decoder {
public:
    CG726Decoder();
    ~CG726Decoder();
    CG726Decoder(const CG726Decoder&) = delete;
    CG726Decoder& operator=(const CG726Decoder&) = delete;

    std::vector<std::int16_t> Decode(const BYTE* data, std::size_t length);
    // Back to the state of a new stream.
    void Reset();

private:
    struct State;
    std::unique_ptr<State> state_;
};

class CG726Audio {
public:
    CG726Audio();
    virtual ~CG726Audio();
    CG726Audio(const CG726Audio&) = delete;
    CG726Audio& operator=(const CG726Audio&) = delete;

    // The size of the blocks PlayBlock takes.
    virtual void Init(int blockBytes);
    // Forward play at normal speed begins: a fresh stream.
    virtual void AudioStart();
    // Anything else: what is queued is dropped and nothing plays until the next block.
    virtual void AudioStop();
    // Decodes one block of the size given to Init and plays it.
    virtual void PlayBlock(const BYTE* block);

    int BlockBytes() const { return blockBytes_; }

private:
    int blockBytes_ = static_cast<int>(kG726BlockBytes);
    CG726Decoder decoder_;
    std::unique_ptr<TWaveOut> out_;
};

// The library's entry points.
extern "C" void G726Struct_Create(CG726Audio** object);
extern "C" void G726Struct_Destroy(CG726Audio* object);
