#include "formats/QelAvFrame.h"

#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <algorithm>

namespace {

const char* HeaderProblem(const BYTE* p) {
    if (GetU32(p) != kQelAvMagic) return "magic";
    for (std::size_t off : {4, 8, 20, 24, 28})
        if (GetU32(p + off) != 0) return "reserved word";
    const DWORD size = GetU32(p + 12);
    if (size == 0) return "size 0";
    if (size > kQelAvMaxFrameSize) return "size above the limit";
    if (size < kQelFrameInfoSize) return "size below the info block";
    if (size % 32 != 0) return "size not a multiple of 32";
    if (GetU32(p + 16) == 0) return "kind 0";
    return nullptr;
}

} // namespace

void QelAvFrameHeader::Encode(BYTE* out) const {
    std::fill_n(out, kQelAvHeaderSize, 0);
    PutU32(out, kQelAvMagic);
    PutU32(out + 12, frameSize);
    PutU32(out + 16, streamKind);
}

QelAvFrameHeader QelAvFrameHeader::Decode(const BYTE* data, std::size_t length) {
    if (data == nullptr || length < kQelAvHeaderSize) throw EQelFormatError("A/V header: too short");
    if (const char* problem = HeaderProblem(data)) throw EQelFormatError(Format("A/V header: %s", problem));
    return QelAvFrameHeader{GetU32(data + 12), GetU32(data + 16)};
}

bool QelAvFrameHeader::IsValid(const BYTE* data32) {
    return HeaderProblem(data32) == nullptr;
}

std::uint64_t QelFrameInfo::PaddedPayloadSize() const {
    return Pad32(payloadLen1) + Pad32(payloadLen2);
}

void QelFrameInfo::Encode(BYTE* out) const {
    std::copy(raw.begin(), raw.end(), out);
    out[0] = kind;
    out[1] = standard;
    PutU32(out + 8, payloadLen1);
    PutU32(out + 12, payloadLen2);
    PutU32(out + 32, channel);
    PutU32(out + 40, width);
    PutU32(out + 44, height);
    PutU32(out + 48, eventState);
    PutU32(out + 52, frameTime);
    PutU32(out + 56, subSecond);
}

QelFrameInfo QelFrameInfo::Decode(const BYTE* data, std::size_t length) {
    if (data == nullptr || length < kQelFrameInfoSize) throw EQelFormatError("frame info: too short");
    QelFrameInfo info;
    std::copy_n(data, kQelFrameInfoSize, info.raw.begin());
    info.kind = data[0];
    info.standard = data[1];
    info.payloadLen1 = GetU32(data + 8);
    info.payloadLen2 = GetU32(data + 12);
    info.channel = GetU32(data + 32);
    info.width = GetU32(data + 40);
    info.height = GetU32(data + 44);
    info.eventState = GetU32(data + 48);
    info.frameTime = GetU32(data + 52);
    info.subSecond = GetU32(data + 56);
    if (info.payloadLen1 > kQelAvMaxFrameSize || info.payloadLen2 > kQelAvMaxFrameSize)
        throw EQelFormatError(Format("frame info: payload lengths %u and %u", unsigned(info.payloadLen1),
                                     unsigned(info.payloadLen2)));
    return info;
}

std::span<const BYTE> QelAvFrame::Payload1() const {
    const std::size_t n = std::min<std::size_t>(info.payloadLen1, payload.size());
    return {payload.data(), n};
}

std::span<const BYTE> QelAvFrame::Payload2() const {
    const std::uint64_t start = Pad32(info.payloadLen1);
    if (start >= payload.size()) return {};
    const std::size_t n = std::min<std::uint64_t>(info.payloadLen2, payload.size() - start);
    return {payload.data() + start, n};
}

QelAvFrame QelAvFrame::Make(const QelFrameInfo& info, std::span<const BYTE> payload1,
                            std::span<const BYTE> payload2) {
    const std::uint64_t area = Pad32(payload1.size()) + Pad32(payload2.size());
    if (kQelFrameInfoSize + area > kQelAvMaxFrameSize)
        throw EQelFormatError(Format("frame of %llu payload bytes", static_cast<unsigned long long>(area)));
    QelAvFrame frame;
    frame.info = info;
    frame.info.payloadLen1 = static_cast<DWORD>(payload1.size());
    frame.info.payloadLen2 = static_cast<DWORD>(payload2.size());
    frame.payload.assign(area, 0);
    std::copy(payload1.begin(), payload1.end(), frame.payload.begin());
    std::copy(payload2.begin(), payload2.end(), frame.payload.begin() + Pad32(payload1.size()));
    return frame;
}

std::vector<BYTE> QelAvFrame::Encode(DWORD streamKind) const {
    std::vector<BYTE> out(kQelAvHeaderSize + kQelFrameInfoSize + payload.size());
    QelAvFrameHeader{FrameSize(), streamKind}.Encode(out.data());
    info.Encode(out.data() + kQelAvHeaderSize);
    std::copy(payload.begin(), payload.end(), out.begin() + kQelAvHeaderSize + kQelFrameInfoSize);
    return out;
}

QelAvFrame QelAvFrame::DecodeBody(const BYTE* data, std::size_t frameSize) {
    if (frameSize < kQelFrameInfoSize || frameSize > kQelAvMaxFrameSize)
        throw EQelFormatError(Format("frame of %zu bytes", frameSize));
    QelAvFrame frame;
    frame.info = QelFrameInfo::Decode(data, frameSize);
    const std::size_t area = frameSize - kQelFrameInfoSize;
    if (frame.info.PaddedPayloadSize() > area)
        throw EQelFormatError(Format("frame: payloads %u + %u do not fit in %zu bytes",
                                     unsigned(frame.info.payloadLen1), unsigned(frame.info.payloadLen2),
                                     area));
    frame.payload.assign(data + kQelFrameInfoSize, data + frameSize);
    return frame;
}

QelAvFrame QelAvFrame::Decode(const BYTE* data, std::size_t length) {
    const QelAvFrameHeader header = QelAvFrameHeader::Decode(data, length);
    if (length - kQelAvHeaderSize < header.frameSize)
        throw EQelFormatError(
            Format("frame: %zu of %u bytes", length - kQelAvHeaderSize, unsigned(header.frameSize)));
    return DecodeBody(data + kQelAvHeaderSize, header.frameSize);
}
