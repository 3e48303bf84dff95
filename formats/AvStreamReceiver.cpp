#include "formats/AvStreamReceiver.h"

#include "formats/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE kMagicBytes[4] = {0xAA, 0xAA, 0x00, 0x00};

// Whether `len` bytes could be the first bytes of a header: the magic, then zero words except the size
// and the kind.
bool IsHeaderPrefix(const BYTE* p, int len) {
    for (int j = 0; j < len; ++j) {
        if (j < 4) {
            if (p[j] != kMagicBytes[j]) return false;
        } else if ((j < 12 || j >= 20) && p[j] != 0) {
            return false;
        }
    }
    return true;
}

// Bytes read through ReadBuffer() are already in place. Others may lie further on in the same buffer
// (a read that went on past a frame's end), hence a move.
void PutInPlace(BYTE* to, const BYTE* from, std::size_t n) {
    if (to != from) std::memmove(to, from, n);
}

} // namespace

std::span<const BYTE> CAvReceivedFrame::Payload2() const {
    const std::uint64_t start = Pad32(info.payloadLen1);
    if (start >= data.size()) return {};
    const std::size_t n = std::min<std::uint64_t>(info.payloadLen2, data.size() - start);
    return data.subspan(static_cast<std::size_t>(start), n);
}

QelAvFrame CAvReceivedFrame::Copy() const {
    QelAvFrame frame;
    frame.info = info;
    frame.payload.assign(data.begin(), data.end());
    return frame;
}

// A frame of the largest size, and a whole read buffer past it for a read that asks for too much.
CAvStreamReceiver::CAvStreamReceiver(FrameSink sink)
    : sink_(std::move(sink)), readBuffer_(kReadBufferSize), body_(kQelAvMaxFrameSize + kReadBufferSize) {}

bool CAvStreamReceiver::IsStreamHeader(const BYTE* p) {
    if (GetU32(p) != kQelAvMagic) return false;
    for (std::size_t off : {4, 8, 20, 24, 28})
        if (GetU32(p + off) != 0) return false;
    return GetU32(p + 12) >= kQelFrameInfoSize && GetU32(p + 16) != 0;
}

void CAvStreamReceiver::Reset() {
    partialFill_ = 0;
    ToBetweenFrames();
}

void CAvStreamReceiver::ToBetweenFrames() {
    frameSize_ = 0;
    received_ = 0;
    dataFill_ = 0;
    infoFill_ = 0;
    infoPending_ = false;
    misfit_ = false;
    readSize_ = kHeaderReadSize - partialFill_;
}

void CAvStreamReceiver::SetInFrameReadSize() {
    readSize_ = static_cast<int>(std::min<DWORD>(frameSize_ - received_, kReadBufferSize));
}

void CAvStreamReceiver::StartFrame(const BYTE* header) {
    frameSize_ = GetU32(header + 12);
    partialFill_ = 0;
    received_ = 0;
    dataFill_ = 0;
    infoFill_ = 0;
    infoPending_ = true;
    misfit_ = false;
    SetInFrameReadSize();
}

void CAvStreamReceiver::Slide() {
    int k = 1;
    while (k < partialFill_ && !IsHeaderPrefix(partial_ + k, partialFill_ - k))
        ++k;
    std::memmove(partial_, partial_ + k, static_cast<std::size_t>(partialFill_ - k));
    partialFill_ -= k;
    stats_.bytesSkipped += static_cast<std::uint64_t>(k);
    readSize_ = kHeaderReadSize - partialFill_;
}

void CAvStreamReceiver::FinishInfo() {
    infoPending_ = false;
    if (frameSize_ > kQelAvMaxFrameSize) {
        ++stats_.oversized;
        ToBetweenFrames();
        return;
    }
    const DWORD len1 = GetU32(body_.data() + 8);
    const DWORD len2 = GetU32(body_.data() + 12);
    misfit_ = kQelFrameInfoSize + Pad32(len1) + Pad32(len2) > frameSize_;
    // Both lengths fit in a frame of at most the largest size, so the decode cannot refuse them.
    if (!misfit_) frameInfo_ = QelFrameInfo::Decode(body_.data(), kQelFrameInfoSize);
    SetInFrameReadSize();
}

void CAvStreamReceiver::CompleteFrame() {
    if (misfit_) {
        ++stats_.misfit;
        ToBetweenFrames();
        return;
    }
    ++stats_.frames;
    CAvReceivedFrame frame;
    frame.info = frameInfo_;
    frame.frameSize = frameSize_;
    frame.data = std::span<const BYTE>(body_.data() + kQelFrameInfoSize, dataFill_);
    // Between frames before the sink runs, so that whatever the sink does finds the receiver in step.
    ToBetweenFrames();
    if (sink_) sink_(frame);
}

void CAvStreamReceiver::Consume(const BYTE* data, int n) {
    if (n > 0) Feed(data, static_cast<std::size_t>(n));
}

void CAvStreamReceiver::Feed(const BYTE* data, std::size_t n) {
    bool firstOfRead = true;
    std::size_t readLeft = 0; // bytes left of the read being taken
    while (n > 0) {
        if (readLeft == 0) {
            readLeft = std::min<std::size_t>(n, static_cast<std::size_t>(readSize_));
            firstOfRead = true;
            if (readLeft < kQelAvHeaderSize) ++stats_.shortReads;
        }
        if (firstOfRead) {
            firstOfRead = false;
            if (frameSize_ != 0 && readLeft >= kQelAvHeaderSize && IsStreamHeader(data)) {
                ++stats_.restarted;
                StartFrame(data);
                data += kQelAvHeaderSize;
                n -= kQelAvHeaderSize;
                readLeft -= kQelAvHeaderSize;
                continue;
            }
        }
        std::size_t take;
        if (frameSize_ == 0) {
            if (partialFill_ == 0 && readLeft >= kQelAvHeaderSize && IsStreamHeader(data)) {
                StartFrame(data);
                take = kQelAvHeaderSize;
            } else {
                take = std::min<std::size_t>(readLeft,
                                             kQelAvHeaderSize - static_cast<std::size_t>(partialFill_));
                std::memcpy(partial_ + partialFill_, data, take);
                partialFill_ += static_cast<int>(take);
                if (partialFill_ < static_cast<int>(kQelAvHeaderSize))
                    readSize_ = kHeaderReadSize - partialFill_;
                else if (IsStreamHeader(partial_))
                    StartFrame(partial_);
                else
                    Slide();
            }
        } else if (infoPending_) {
            take = std::min<std::size_t>(readLeft, kQelFrameInfoSize - static_cast<std::size_t>(infoFill_));
            PutInPlace(body_.data() + infoFill_, data, take);
            infoFill_ += static_cast<int>(take);
            received_ += static_cast<DWORD>(take);
            if (infoFill_ < static_cast<int>(kQelFrameInfoSize))
                SetInFrameReadSize();
            else
                FinishInfo();
            if (frameSize_ != 0 && !infoPending_ && received_ == frameSize_) CompleteFrame();
        } else {
            // received_ >= 64 here and frameSize_ <= the largest frame, so the data stays in body_.
            take = std::min<std::size_t>(readLeft, frameSize_ - received_);
            PutInPlace(body_.data() + kQelFrameInfoSize + dataFill_, data, take);
            dataFill_ += static_cast<DWORD>(take);
            received_ += static_cast<DWORD>(take);
            if (received_ == frameSize_)
                CompleteFrame();
            else
                SetInFrameReadSize();
        }
        data += take;
        n -= take;
        readLeft -= take;
    }
}
