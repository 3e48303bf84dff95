// Command-connection bytes cut into packets as the receiver does, each parsed and inspected.
#include "formats/FormatError.h"
#include "formats/NetPacket.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + kNetMsgPacketSize <= size; at += kNetMsgPacketSize) {
        try {
            const NetMsgPacket p = DecodeNetPacket(data + at, size - at);
            (void)NetPacketPaddingProblem(p);
            (void)p.Password();
            (void)p.MsgText();
            for (int i = 1; i <= 5; ++i)
                (void)p.Param(i);
            (void)QelFileName(p.Arg0(), p.Arg1());
            (void)RecordStateLogText(p.Type() == QELMSG, p.Arg1());
        } catch (const EQelFormatError&) {
        }
    }
    try {
        (void)DecodeNetPacket(data, size);
    } catch (const EQelFormatError&) {
    }
    return 0;
}
