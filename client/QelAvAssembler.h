// Cuts the A/V byte stream into frames. Bytes that do not start with a valid header are passed over in
// 32-byte steps until one does; a frame whose info block is malformed is dropped whole. Memory is bounded
// by the largest frame.
#pragma once

#include "client/QelAvFrame.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QelAvFrameAssembler {
public:
    using FrameSink = std::function<void(const QelAvFrame&)>;

    explicit QelAvFrameAssembler(FrameSink sink) : sink_(std::move(sink)) {}

    // Any split of the stream gives the same frames.
    void Feed(const BYTE* data, std::size_t length);
    void Reset();

    bool InsideFrame() const { return bodyNeed_ != 0; }
    std::uint64_t FramesDecoded() const { return framesDecoded_; }
    std::uint64_t FramesDropped() const { return framesDropped_; }
    std::uint64_t BytesSkipped() const { return bytesSkipped_; }

private:
    FrameSink sink_;
    std::array<BYTE, kQelAvHeaderSize> header_{};
    std::size_t headerFill_ = 0;
    std::vector<BYTE> body_;
    std::size_t bodyNeed_ = 0;
    std::uint64_t framesDecoded_ = 0;
    std::uint64_t framesDropped_ = 0;
    std::uint64_t bytesSkipped_ = 0;
};
