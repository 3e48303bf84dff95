// The A/V stream through the receiver, in reads as a socket gives them and in pieces fed at once, and
// single frames and recorded frames through their decoders.
#include "formats/AvStreamReceiver.h"
#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "formats/QelAvFile.h"
#include "formats/QelSideData.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// What a frame handed out must hold: its payloads inside its data, its data inside the largest frame.
void CheckFrame(const CAvReceivedFrame& f) {
    if (f.frameSize < kQelFrameInfoSize || f.frameSize > kQelAvMaxFrameSize) std::abort();
    if (f.data.size() != f.frameSize - kQelFrameInfoSize) std::abort();
    if (Pad32(f.info.payloadLen1) + Pad32(f.info.payloadLen2) > f.data.size()) std::abort();
    if (f.Payload1().size() != f.info.payloadLen1 || f.Payload2().size() != f.info.payloadLen2) std::abort();
    QelFrameSideData side(f.Payload2());
    QelSideBlock b;
    try {
        while (side.Next(b)) {
        }
    } catch (const EQelFormatError&) {
    }
    const QelAvFrame copy = f.Copy();
    const std::vector<BYTE> bytes = copy.Encode();
    // What the receiver hands out decodes as a frame again, unless its size is not of 32 bytes.
    if (f.frameSize % 32 == 0) {
        const QelAvFrame back = QelAvFrame::Decode(bytes.data(), bytes.size());
        if (back.payload != copy.payload) std::abort();
    }
    (void)EncodeRecordedFrame(copy, copy.info.frameTime);
}

void CheckReadSize(const CAvStreamReceiver& r) {
    if (r.ReadSize() < 1 || r.ReadSize() > CAvStreamReceiver::kReadBufferSize) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte chooses how the rest is cut.
    const std::size_t piece = 1 + data[0] * 61;
    ++data;
    --size;

    // The receivers live for the whole run, as on a connection, and start each input afresh: making
    // their frame buffers anew for every input would cost more than the input itself.
    static CAvStreamReceiver reads(CheckFrame);
    static CAvStreamReceiver fed(CheckFrame);
    reads.Reset();
    fed.Reset();

    // Reads of at most what the receiver asks for, each also cut at `piece`.
    for (std::size_t at = 0; at < size;) {
        CheckReadSize(reads);
        const std::size_t n = std::min({static_cast<std::size_t>(reads.ReadSize()), piece, size - at});
        std::memcpy(reads.ReadBuffer(), data + at, n);
        reads.Consume(reads.ReadBuffer(), static_cast<int>(n));
        at += n;
    }
    CheckReadSize(reads);

    // The same bytes fed in pieces, taken as the reads the receiver would ask for.
    for (std::size_t at = 0; at < size; at += piece)
        fed.Feed(data + at, std::min(piece, size - at));
    CheckReadSize(fed);

    try {
        (void)QelAvFrame::Decode(data, size);
    } catch (const EQelFormatError&) {
    }
    try {
        const FrmHdr h = FrmHdr::Decode(data, size);
        if (size - kFrmHdrSize >= h.length) (void)QelAvFrame::DecodeBody(data + kFrmHdrSize, h.length);
    } catch (const EQelFormatError&) {
    }
    return 0;
}
