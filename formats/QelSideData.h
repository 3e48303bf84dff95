// Side data of a video frame (payload 2): a run of typed blocks (lamps, GPS, tacho) and a camera-title
// text block that takes the rest of the payload.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr DWORD kQelSideTextCode = 0x01000000;
inline constexpr DWORD kQelSideTypedCode = 0x12345678;

enum QelSideKind : int {
    QELSIDE_END = -1,
    QELSIDE_TEXT = 0,
    QELSIDE_LAMPS = 1,
    QELSIDE_GPS = 2,
    QELSIDE_TACHO = 3
};

// Lamp bits of a lamps block.
inline constexpr DWORD kQelLampRed = 1;
inline constexpr DWORD kQelLampYellow = 2;
inline constexpr DWORD kQelLampLeftTurn = 4;
inline constexpr DWORD kQelLampGreen = 8;

struct QelGpsFix {
    bool south = false;
    BYTE latDegrees = 0, latMinutes = 0, latSeconds = 0;
    WORD latThousandths = 0;
    bool west = false;
    BYTE lonDegrees = 0, lonMinutes = 0, lonSeconds = 0;
    WORD lonThousandths = 0;
    WORD speed = 0;
    bool mph = false;
    bool operator==(const QelGpsFix&) const = default;
};

struct QelTacho {
    DWORD speed = 0; // km/h
    DWORD engineRpm = 0;
    bool operator==(const QelTacho&) const = default;
};

struct QelSideBlock {
    int kind = QELSIDE_END;     // QelSideKind, or any other kind of a typed block
    std::span<const BYTE> data; // text bytes of a text block, block data of a typed block
    DWORD lamps = 0;
    QelGpsFix gps;
    QelTacho tacho;
    // The title text up to its first NUL.
    std::string Text() const;
};

// Walks the blocks of payload 2. Next() returns false at the end of the side data (a block code that is
// neither text nor typed, or fewer than 4 bytes left); it raises EQelFormatError for a block that would
// read past the payload or whose length word is too small for its kind.
class QelFrameSideData {
public:
    QelFrameSideData(const BYTE* data, std::size_t length) : data_(data), length_(data ? length : 0) {}
    explicit QelFrameSideData(std::span<const BYTE> bytes) : QelFrameSideData(bytes.data(), bytes.size()) {}

    bool Next(QelSideBlock& block);
    std::size_t Cursor() const { return cursor_; }

private:
    const BYTE* data_;
    std::size_t length_;
    std::size_t cursor_ = 0;
    bool done_ = false;
};

// Builds payload 2: typed blocks in the order added, the title text last.
class QelSideDataBuilder {
public:
    QelSideDataBuilder& AddLamps(DWORD lamps);
    QelSideDataBuilder& AddGps(const QelGpsFix& fix);
    QelSideDataBuilder& AddTacho(const QelTacho& tacho);
    QelSideDataBuilder& AddTyped(DWORD kind, std::span<const BYTE> data);
    QelSideDataBuilder& SetText(std::string_view text);
    std::vector<BYTE> Bytes() const;

private:
    std::vector<BYTE> typed_;
    std::string text_;
    bool hasText_ = false;
};
