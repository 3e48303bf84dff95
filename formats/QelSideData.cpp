#include "formats/QelSideData.h"

#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kTypedHead = 20;
constexpr std::size_t kTypedTrailer = 4;
constexpr DWORD kLengthBias = 12; // the length word counts the two unused words and a third one

constexpr std::size_t kLampsData = 4;
constexpr std::size_t kGpsData = 36;
constexpr std::size_t kTachoData = 8;

std::size_t NeededData(DWORD kind) {
    switch (kind) {
    case QELSIDE_LAMPS:
        return kLampsData;
    case QELSIDE_GPS:
        return kGpsData;
    case QELSIDE_TACHO:
        return kTachoData;
    default:
        return 0;
    }
}

} // namespace

std::string QelSideBlock::Text() const {
    const auto end = std::find(data.begin(), data.end(), BYTE{0});
    return std::string(data.begin(), end);
}

bool QelFrameSideData::Next(QelSideBlock& block) {
    block = QelSideBlock{};
    if (done_ || length_ - cursor_ < 4) {
        done_ = true;
        return false;
    }
    const BYTE* p = data_ + cursor_;
    const std::size_t left = length_ - cursor_;
    const DWORD code = GetU32(p);
    if (code == kQelSideTextCode) {
        // The title takes what is left of the payload, wherever the block starts.
        block.kind = QELSIDE_TEXT;
        block.data = {p + 4, left - 4};
        cursor_ = length_;
        done_ = true;
        return true;
    }
    if (code != kQelSideTypedCode) {
        done_ = true;
        return false;
    }
    if (left < kTypedHead) throw EQelFormatError(Format("side data: block head at %zu cut short", cursor_));
    const DWORD kind = GetU32(p + 4);
    const DWORD length = GetU32(p + 8);
    if (length < kLengthBias) throw EQelFormatError(Format("side data: block length %u", unsigned(length)));
    const std::uint64_t dataLen = length - kLengthBias;
    if (dataLen > left - kTypedHead)
        throw EQelFormatError(Format("side data: block of %llu bytes at %zu past the end",
                                     static_cast<unsigned long long>(dataLen), cursor_));
    if (dataLen < NeededData(kind))
        throw EQelFormatError(Format("side data: kind %u with %llu bytes", unsigned(kind),
                                     static_cast<unsigned long long>(dataLen)));
    const BYTE* d = p + kTypedHead;
    block.kind = static_cast<int>(kind <= 0x7FFFFFFF ? kind : 0x7FFFFFFF);
    block.data = {d, static_cast<std::size_t>(dataLen)};
    switch (kind) {
    case QELSIDE_LAMPS:
        block.lamps = GetU32(d);
        break;
    case QELSIDE_GPS:
        block.gps.south = d[8] != 0;
        block.gps.latDegrees = d[9];
        block.gps.latMinutes = d[10];
        block.gps.latSeconds = d[11];
        block.gps.latThousandths = GetU16(d + 12);
        block.gps.west = d[16] != 0;
        block.gps.lonDegrees = d[17];
        block.gps.lonMinutes = d[18];
        block.gps.lonSeconds = d[19];
        block.gps.lonThousandths = GetU16(d + 20);
        block.gps.speed = GetU16(d + 32);
        block.gps.mph = d[35] != 0;
        break;
    case QELSIDE_TACHO:
        block.tacho.speed = GetU32(d);
        block.tacho.engineRpm = GetU32(d + 4);
        break;
    default:
        break;
    }
    // Always forward: the next block starts after the data, rounded to 4, and the trailer.
    const std::uint64_t next = cursor_ + kTypedHead + Pad4(dataLen) + kTypedTrailer;
    if (next >= length_) {
        cursor_ = length_;
        done_ = true;
    } else {
        cursor_ = static_cast<std::size_t>(next);
    }
    return true;
}

QelSideDataBuilder& QelSideDataBuilder::AddTyped(DWORD kind, std::span<const BYTE> data) {
    const std::size_t start = typed_.size();
    typed_.resize(start + kTypedHead + Pad4(data.size()) + kTypedTrailer, 0);
    BYTE* p = typed_.data() + start;
    PutU32(p, kQelSideTypedCode);
    PutU32(p + 4, kind);
    PutU32(p + 8, static_cast<DWORD>(data.size() + kLengthBias));
    std::copy(data.begin(), data.end(), p + kTypedHead);
    return *this;
}

QelSideDataBuilder& QelSideDataBuilder::AddLamps(DWORD lamps) {
    BYTE d[kLampsData];
    PutU32(d, lamps);
    return AddTyped(QELSIDE_LAMPS, d);
}

QelSideDataBuilder& QelSideDataBuilder::AddGps(const QelGpsFix& fix) {
    BYTE d[kGpsData] = {};
    d[8] = fix.south ? 1 : 0;
    d[9] = fix.latDegrees;
    d[10] = fix.latMinutes;
    d[11] = fix.latSeconds;
    PutU16(d + 12, fix.latThousandths);
    d[16] = fix.west ? 1 : 0;
    d[17] = fix.lonDegrees;
    d[18] = fix.lonMinutes;
    d[19] = fix.lonSeconds;
    PutU16(d + 20, fix.lonThousandths);
    PutU16(d + 32, fix.speed);
    d[35] = fix.mph ? 1 : 0;
    return AddTyped(QELSIDE_GPS, d);
}

QelSideDataBuilder& QelSideDataBuilder::AddTacho(const QelTacho& tacho) {
    BYTE d[kTachoData];
    PutU32(d, tacho.speed);
    PutU32(d + 4, tacho.engineRpm);
    return AddTyped(QELSIDE_TACHO, d);
}

QelSideDataBuilder& QelSideDataBuilder::SetText(std::string_view text) {
    text_ = std::string(text);
    hasText_ = true;
    return *this;
}

std::vector<BYTE> QelSideDataBuilder::Bytes() const {
    std::vector<BYTE> out = typed_;
    if (hasText_) {
        const std::size_t start = out.size();
        out.resize(start + 4 + text_.size());
        PutU32(out.data() + start, kQelSideTextCode);
        std::copy(text_.begin(), text_.end(), out.begin() + start + 4);
    }
    return out;
}
