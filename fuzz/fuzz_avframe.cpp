// The A/V stream in arbitrary pieces through the assembler, and single frames and recorded frames
// through their decoders.
#include "client/FormatError.h"
#include "client/QelAvAssembler.h"
#include "client/QelAvFile.h"
#include "client/QelSideData.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte chooses how the rest is cut into reads.
    const std::size_t piece = 1 + data[0] * 61;
    ++data;
    --size;
    QelAvFrameAssembler assembler([](const QelAvFrame& f) {
        (void)f.Payload1();
        QelFrameSideData side(f.Payload2());
        QelSideBlock b;
        try {
            while (side.Next(b)) {
            }
        } catch (const EQelFormatError&) {
        }
        (void)f.Encode();
        (void)EncodeRecordedFrame(f, f.info.frameTime);
    });
    for (std::size_t at = 0; at < size; at += piece)
        assembler.Feed(data + at, std::min(piece, size - at));
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
