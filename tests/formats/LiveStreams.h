// Streams of the A/V connection for the receiver tests: frames as the recorder builds them, faults
// put between them, and a reader that hands them to the receiver in reads of a chosen size.
#pragma once

#include "formats/AvStreamReceiver.h"
#include "formats/ByteOrder.h"
#include "formats/QelSideData.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace live_test {

inline QelAvFrame MakeFrame(int channel, bool video, DWORD time, DWORD stamp, std::size_t len1,
                            std::vector<BYTE> side = {}, BYTE seed = 0) {
    QelFrameInfo info;
    info.kind = video ? 0 : 1;
    info.standard = QELSTD_NTSC;
    info.channel = static_cast<DWORD>(channel);
    info.width = 352;
    info.height = 240;
    info.eventState = static_cast<DWORD>(channel) % 4;
    info.frameTime = time;
    info.subSecond = stamp;
    std::vector<BYTE> p1(len1);
    for (std::size_t i = 0; i < len1; ++i)
        p1[i] = static_cast<BYTE>(seed + i * 131 + (i >> 8));
    return QelAvFrame::Make(info, p1, side);
}

// About fifty frames: video of every camera with side data, audio, sizes from nothing to several
// reads long and lengths that are not multiples of 32.
inline std::vector<QelAvFrame> MixedFrames(std::size_t count = 50) {
    std::mt19937 rng(20080101);
    std::vector<QelAvFrame> frames;
    for (std::size_t i = 0; i < count; ++i) {
        const int channel = static_cast<int>(i % 4) + 1;
        const bool video = i % 7 != 3;
        std::size_t len1 = video ? 100 + rng() % 40000 : 4000;
        if (i == 5) len1 = 0;
        if (i == 9) len1 = 15360 - 64; // a frame that is one full read
        std::vector<BYTE> side;
        if (video && i % 3 != 0) {
            QelSideDataBuilder b;
            b.AddLamps(static_cast<DWORD>(i) & 15);
            if (channel % 2)
                b.AddGps(QelGpsFix{.latDegrees = 37, .latMinutes = 33, .latSeconds = static_cast<BYTE>(i)});
            else
                b.AddTacho({static_cast<DWORD>(i), 900});
            b.SetText("CAMERA " + std::to_string(channel));
            side = b.Bytes();
        }
        frames.push_back(MakeFrame(channel, video, 1199188800 + static_cast<DWORD>(i / 4),
                                   static_cast<DWORD>(i % 4), len1, side, static_cast<BYTE>(i)));
    }
    return frames;
}

inline std::vector<BYTE> Encode(const std::vector<QelAvFrame>& frames) {
    std::vector<BYTE> out;
    for (const auto& f : frames) {
        const auto bytes = f.Encode();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

inline std::vector<BYTE> Header(DWORD size, DWORD kind = 1) {
    std::vector<BYTE> h(kQelAvHeaderSize, 0);
    PutU32(h.data(), kQelAvMagic);
    PutU32(h.data() + 12, size);
    PutU32(h.data() + 16, kind);
    return h;
}

inline void Append(std::vector<BYTE>& to, const std::vector<BYTE>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// How much one read returns: given the read size asked and the bytes delivered so far.
using ReadPolicy = std::function<int(int asked, std::size_t offset)>;

// The socket side: reads as the receiver asks, each cut by the policy; the receiver must never ask for
// nothing or more than its buffer.
struct StreamReader {
    CAvStreamReceiver receiver;
    std::vector<QelAvFrame> frames;
    std::vector<int> asked;

    StreamReader() : receiver([this](const CAvReceivedFrame& f) { frames.push_back(f.Copy()); }) {}

    void Deliver(const std::vector<BYTE>& bytes, const ReadPolicy& policy) {
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const int ask = receiver.ReadSize();
            ASSERT_GT(ask, 0) << "at " << offset;
            ASSERT_LE(ask, CAvStreamReceiver::kReadBufferSize);
            asked.push_back(ask);
            int n = std::min(policy(ask, offset), ask);
            n = static_cast<int>(
                std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 1)), bytes.size() - offset));
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, receiver.ReadBuffer());
            receiver.Consume(receiver.ReadBuffer(), n);
            offset += static_cast<std::size_t>(n);
        }
    }
};

inline ReadPolicy WholeReads() {
    return [](int asked, std::size_t) { return asked; };
}
inline ReadPolicy ByteReads() {
    return [](int, std::size_t) { return 1; };
}
inline ReadPolicy RandomReads(unsigned seed) {
    auto rng = std::make_shared<std::mt19937>(seed);
    return [rng](int asked, std::size_t) {
        return 1 + static_cast<int>((*rng)() % static_cast<unsigned>(asked));
    };
}

inline void ExpectSameFrames(const std::vector<QelAvFrame>& got, const std::vector<QelAvFrame>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        BYTE a[kQelFrameInfoSize], b[kQelFrameInfoSize];
        got[i].info.Encode(a);
        want[i].info.Encode(b);
        EXPECT_TRUE(std::equal(a, a + sizeof a, b)) << "info of frame " << i;
        EXPECT_TRUE(got[i].payload == want[i].payload) << "frame " << i;
    }
}

} // namespace live_test
