// The receiver of the A/V connection: cuts the byte stream into frames with reads sized never to cross
// the end of a frame (32 bytes for a header, then the rest of the frame in pieces of at most 15,360
// bytes). It keeps fixed buffers for one frame and hands each complete frame to its sink. Inside a frame
// the reads go straight to their place in the frame, so that a picture's bytes are copied once.
//
// Whatever arrives, it stays in step: bytes that are not a header are passed over, sliding to the next
// possible header start rather than in fixed 32-byte steps; an oversized frame is dropped once its info
// block is in; a frame whose payloads do not fit its size is read to its end and dropped.
#pragma once

#include "formats/QelAvFrame.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// One complete frame as the receiver holds it; valid only inside the sink call.
struct CAvReceivedFrame {
    QelFrameInfo info;
    DWORD frameSize = 0;
    // The bytes after the info block: payload 1 padded to 32, then payload 2 padded to 32.
    std::span<const BYTE> data;

    std::span<const BYTE> Payload1() const { return data.first(info.payloadLen1); }
    std::span<const BYTE> Payload2() const;
    // The frame as a value of its own, kept after the sink returns.
    QelAvFrame Copy() const;
};

class CAvStreamReceiver {
public:
    using FrameSink = std::function<void(const CAvReceivedFrame&)>;

    static constexpr int kHeaderReadSize = 32;
    static constexpr int kReadBufferSize = 0x3C00;

    explicit CAvStreamReceiver(FrameSink sink = {});

    void SetSink(FrameSink sink) { sink_ = std::move(sink); }

    // What the next read should ask for, and where to put it: room for kReadBufferSize bytes, valid
    // until the next Consume, Feed or Reset.
    int ReadSize() const { return readSize_; }
    BYTE* ReadBuffer() { return frameSize_ != 0 ? body_.data() + received_ : readBuffer_.data(); }

    // Takes the bytes of one read (normally at most ReadSize(); more are taken as several reads in a
    // row). A read of 32 bytes or more that starts with a valid header starts a new frame, also in the
    // middle of one. n <= 0 changes nothing.
    void Consume(const BYTE* data, int n);
    // Any split of a stream into reads gives the same frames: the bytes are taken as the reads the
    // receiver would ask for.
    void Feed(const BYTE* data, std::size_t n);

    // Back to between frames, dropping a frame in progress.
    void Reset();

    bool BetweenFrames() const { return frameSize_ == 0; }
    // Payload bytes of the current frame received so far.
    DWORD Received() const { return received_; }

    struct Statistics {
        std::uint64_t frames = 0;       // complete frames handed to the sink
        std::uint64_t oversized = 0;    // dropped after the info block: above the largest frame
        std::uint64_t misfit = 0;       // dropped: payload lengths larger than the frame
        std::uint64_t restarted = 0;    // dropped: a new header arrived in the middle
        std::uint64_t bytesSkipped = 0; // bytes passed over between frames
        std::uint64_t shortReads = 0;   // reads of fewer than 32 bytes
    };
    const Statistics& Stats() const { return stats_; }

    // A valid header: magic, the five zero words, a kind above 0 and a size that holds at least the
    // info block. Sizes above the largest frame are accepted; such a frame is dropped after its info.
    static bool IsStreamHeader(const BYTE* p);

private:
    void StartFrame(const BYTE* header);
    void ToBetweenFrames();
    // The gathered candidate is not a header: keep its longest tail that may still begin one.
    void Slide();
    void FinishInfo();
    void CompleteFrame();
    void SetInFrameReadSize();

    FrameSink sink_;
    // Header reads between frames.
    std::vector<BYTE> readBuffer_;
    // The frame after its header: the info block, then the payloads; read into in place.
    std::vector<BYTE> body_;
    BYTE partial_[kQelAvHeaderSize] = {};
    int partialFill_ = 0;
    int readSize_ = kHeaderReadSize;

    DWORD frameSize_ = 0; // 0 between frames
    DWORD received_ = 0;  // payload bytes of this frame so far (info and data)
    DWORD dataFill_ = 0;
    int infoFill_ = 0;
    bool infoPending_ = false;
    bool misfit_ = false;
    QelFrameInfo frameInfo_;

    Statistics stats_;
};
