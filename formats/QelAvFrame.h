// Frames of the A/V connection: the 32-byte header, the 64-byte frame info block that also heads every
// recorded frame, and the two padded payloads.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr DWORD kQelAvMagic = 0xAAAA;
inline constexpr std::size_t kQelAvHeaderSize = 32;
inline constexpr std::size_t kQelFrameInfoSize = 64;
// The largest frame (info and payloads) a receiver keeps.
inline constexpr DWORD kQelAvMaxFrameSize = 0x20000;

enum QelVideoStandard : BYTE { QELSTD_NTSC = 1, QELSTD_PAL = 2 };
// Event state bits of the info word at 48.
inline constexpr DWORD kQelEventAlarm = 1;
inline constexpr DWORD kQelEventMotion = 2;

struct QelAvFrameHeader {
    DWORD frameSize = 0;
    DWORD streamKind = 1;

    void Encode(BYTE* out) const; // 32 bytes
    // Raises EQelFormatError unless all of: magic, the five zero words, a kind above 0, and a size that
    // is a multiple of 32 from 64 (the info block) to kQelAvMaxFrameSize.
    static QelAvFrameHeader Decode(const BYTE* data, std::size_t length);
    // The same test without raising, for hunting the next header in a stream.
    static bool IsValid(const BYTE* data32);
};

struct QelFrameInfo {
    BYTE kind = 0; // 0 video (payload 1 is a JPEG picture), anything else audio (G.726)
    BYTE standard = QELSTD_NTSC;
    DWORD payloadLen1 = 0;
    DWORD payloadLen2 = 0; // side data, 0 = none
    DWORD channel = 1;
    DWORD width = 0;
    DWORD height = 0;
    DWORD eventState = 0;
    DWORD frameTime = 0; // seconds since 1970, the recorder's wall clock counted as UTC
    DWORD subSecond = 0;
    // The block as received; the fields above are written over it, so unused bytes survive a round trip.
    std::array<BYTE, kQelFrameInfoSize> raw{};

    bool IsVideo() const { return kind == 0; }
    // pad32(payload 1) + pad32(payload 2).
    std::uint64_t PaddedPayloadSize() const;
    void Encode(BYTE* out) const; // 64 bytes
    // Raises EQelFormatError when fewer than 64 bytes are given or a payload is longer than any frame.
    static QelFrameInfo Decode(const BYTE* data, std::size_t length);
};

// One frame: the info block and the payload area (payload 1 padded to 32, then payload 2 padded to 32),
// padding bytes carried as they came.
struct QelAvFrame {
    QelFrameInfo info;
    std::vector<BYTE> payload;

    std::span<const BYTE> Payload1() const;
    std::span<const BYTE> Payload2() const;
    DWORD FrameSize() const { return static_cast<DWORD>(kQelFrameInfoSize + payload.size()); }

    // Builds a frame from unpadded payloads, padding with zeros and setting both lengths.
    static QelAvFrame Make(const QelFrameInfo& info, std::span<const BYTE> payload1,
                           std::span<const BYTE> payload2 = {});
    // Header, info and payload area as sent on the A/V connection.
    std::vector<BYTE> Encode(DWORD streamKind = 1) const;
    // Decodes the frame that follows an already checked header of `frameSize` bytes. Raises
    // EQelFormatError when the info block is bad or the padded payloads do not fit in the frame.
    static QelAvFrame DecodeBody(const BYTE* data, std::size_t frameSize);
    // Header and body; `length` must hold at least the whole frame.
    static QelAvFrame Decode(const BYTE* data, std::size_t length);
};
