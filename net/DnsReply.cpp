#include "net/DnsReply.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Real names need a handful of pointers; a chain this long is a loop.
constexpr int kMaxPointerJumps = 64;
constexpr std::int64_t kLocEquator = std::int64_t{1} << 31;
constexpr std::int64_t kLocAltitudeBase = 10000000;

int U16(const std::uint8_t* p) {
    return (p[0] << 8) | p[1];
}

std::uint32_t U32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

void Put16(std::uint8_t* p, int value) {
    p[0] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    p[1] = static_cast<std::uint8_t>(value & 0xFF);
}

// The question name and type of the first question; the others are only stepped over.
bool DecodeQuestions(const std::uint8_t* data, int len, int& p, TDnsReply& reply) {
    for (int q = 0; q < reply.ResponseQDCount; ++q) {
        std::string name;
        if (!DnsDecodeName(data, len, p, name) || len - p < 4) return false;
        if (q == 0) {
            reply.QuestionName = std::move(name);
            reply.QuestionType = U16(data + p);
            reply.QuestionClass = U16(data + p + 2);
        }
        p += 4;
    }
    return true;
}

// A name inside RDATA: compression may point anywhere before, but what stands in place must end
// within the record.
bool DecodeRdataName(const std::uint8_t* data, int len, int pos, int rdEnd, std::string& name) {
    return DnsDecodeName(data, len, pos, name) && pos <= rdEnd;
}

void DecodeAnswerData(const std::uint8_t* data, int len, int rdata, int rdLength, int type, int index,
                      TDnsReply& reply) {
    const int rdEnd = rdata + rdLength;
    int& tag = reply.AnswerTag[static_cast<std::size_t>(index)];
    switch (type) {
    case DnsQueryA:
        if (rdLength == 4 && reply.ARecordCount < kDnsMaxA) {
            std::uint32_t addr;
            std::memcpy(&addr, data + rdata, 4);
            tag = reply.ARecordCount++;
            reply.Address[static_cast<std::size_t>(tag)] = addr;
        }
        break;
    case DnsQueryPTR:
        if (reply.PTRRecordCount < kDnsMaxPTR) {
            std::string host;
            if (DecodeRdataName(data, len, rdata, rdEnd, host)) {
                tag = reply.PTRRecordCount++;
                reply.Hostname[static_cast<std::size_t>(tag)] = std::move(host);
            }
        }
        break;
    case DnsQueryMX:
        if (rdLength >= 3 && reply.MXRecordCount < kDnsMaxMX) {
            std::string exchange;
            if (DecodeRdataName(data, len, rdata + 2, rdEnd, exchange)) {
                tag = reply.MXRecordCount++;
                reply.MXPreference[static_cast<std::size_t>(tag)] = U16(data + rdata);
                reply.MXExchange[static_cast<std::size_t>(tag)] = std::move(exchange);
            }
        }
        break;
    case DnsQueryLOC:
        if (rdLength == kDnsLocSize)
            std::memcpy(reply.LocRecord.data(), data + rdata, kDnsLocSize);
        else
            reply.LocRecord.fill(0);
        break;
    default:
        break;
    }
}

} // namespace

bool DnsDecodeName(const std::uint8_t* data, int len, int& pos, std::string& name) {
    name.clear();
    int p = pos;
    int end = -1;
    int jumps = 0;
    for (;;) {
        if (p < 0 || p >= len) return false;
        const int b = data[p];
        if ((b & 0xC0) == 0xC0) {
            if (len - p < 2) return false;
            const int target = ((b & 0x3F) << 8) | data[p + 1];
            // Only backwards, and only so often: loops and pointers past the data end here.
            if (target >= p || ++jumps > kMaxPointerJumps) return false;
            if (end < 0) end = p + 2;
            p = target;
            continue;
        }
        if ((b & 0xC0) != 0) return false;
        if (b == 0) {
            if (end < 0) end = p + 1;
            break;
        }
        if (b > len - p - 1) return false;
        if (!name.empty()) name += '.';
        name.append(reinterpret_cast<const char*>(data + p + 1), static_cast<std::size_t>(b));
        if (name.size() > static_cast<std::size_t>(kDnsMaxName)) return false;
        p += 1 + b;
    }
    pos = end;
    return true;
}

bool DnsDecodeReply(const std::uint8_t* data, int len, TDnsReply& out) {
    if (data == nullptr || len < kDnsHeaderSize) return false;
    const int flags = U16(data + 2);
    if ((flags & 0x8000) == 0) return false;
    auto reply = std::make_unique<TDnsReply>();
    reply->ResponseLen = len;
    reply->ResponseID = U16(data);
    reply->ResponseCode = flags & 15;
    reply->ResponseOpCode = (flags >> 11) & 15;
    reply->ResponseAuthoritative = (flags & 0x0400) != 0;
    reply->ResponseTruncation = (flags & 0x0200) != 0;
    reply->ResponseRecursionAvailable = (flags & 0x0080) != 0;
    reply->ResponseQDCount = U16(data + 4);
    reply->ResponseANCount = U16(data + 6);
    reply->ResponseNSCount = U16(data + 8);
    reply->ResponseARCount = U16(data + 10);

    int p = kDnsHeaderSize;
    if (DecodeQuestions(data, len, p, *reply)) {
        // Stops at the end of the data, at the first answer that runs past it, and when the arrays are
        // full.
        while (reply->AnswerRecordCount < reply->ResponseANCount &&
               reply->AnswerRecordCount < kDnsMaxAnswers) {
            std::string name;
            if (!DnsDecodeName(data, len, p, name) || len - p < 10) break;
            const int type = U16(data + p);
            const int cls = U16(data + p + 2);
            const std::uint32_t ttl = U32(data + p + 4);
            const int rdLength = U16(data + p + 8);
            p += 10;
            if (rdLength > len - p) break;
            const int index = reply->AnswerRecordCount++;
            const auto i = static_cast<std::size_t>(index);
            reply->AnswerName[i] = std::move(name);
            reply->AnswerType[i] = type;
            reply->AnswerClass[i] = cls;
            reply->AnswerTTL[i] = ttl;
            reply->AnswerTag[i] = -1;
            DecodeAnswerData(data, len, p, rdLength, type, index, *reply);
            p += rdLength;
        }
    }
    out = std::move(*reply);
    return true;
}

void DnsBuildRequestHeader(std::uint8_t* dst, std::uint16_t id, int opCode, bool recursionDesired) {
    std::memset(dst, 0, kDnsHeaderSize);
    Put16(dst, id);
    Put16(dst + 2, ((opCode & 15) << 11) | (recursionDesired ? 1 << 8 : 0));
    Put16(dst + 4, 1);
}

int DnsBuildQuestionSection(std::uint8_t* dst, int room, const std::string& name, int qType, int qClass) {
    std::string text = name;
    // One trailing dot names the root explicitly.
    if (!text.empty() && text.back() == '.') text.pop_back();
    std::vector<std::string> labels;
    if (!text.empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t dot = text.find('.', start);
            labels.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
            if (dot == std::string::npos) break;
            start = dot + 1;
        }
    }
    int wire = 1;
    for (const std::string& label : labels) {
        if (label.empty() || label.size() > static_cast<std::size_t>(kDnsMaxLabel)) return -1;
        wire += 1 + static_cast<int>(label.size());
    }
    if (wire > kDnsMaxName || wire + 4 > room) return -1;
    int p = 0;
    for (const std::string& label : labels) {
        dst[p++] = static_cast<std::uint8_t>(label.size());
        std::memcpy(dst + p, label.data(), label.size());
        p += static_cast<int>(label.size());
    }
    dst[p++] = 0;
    Put16(dst + p, qType);
    Put16(dst + p + 2, qClass);
    return p + 4;
}

std::string DnsReverseIP(const std::string& ip) {
    std::string result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = ip.find('.', start);
        const std::string part = ip.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        result = "." + part + result;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return result.substr(1);
}

TDnsGeoPart DnsGeoPart(std::uint32_t value, const char* hemis) {
    const std::int64_t raw = value;
    std::int64_t rest = raw >= kLocEquator ? raw - kLocEquator : kLocEquator - raw;
    TDnsGeoPart part;
    part.Degrees = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    part.Minutes = static_cast<int>(rest / 60000);
    rest %= 60000;
    part.Seconds = static_cast<int>(rest / 1000);
    part.Milliseconds = static_cast<int>(rest % 1000);
    part.Hemisphere = raw > kLocEquator ? hemis[0] : hemis[1];
    return part;
}

std::string LongLatToDMS(std::uint32_t value, const char* hemis) {
    const TDnsGeoPart part = DnsGeoPart(value, hemis);
    char text[48];
    std::snprintf(text, sizeof text, "%d %02d %02d.%03d %c", part.Degrees, part.Minutes, part.Seconds,
                  part.Milliseconds, part.Hemisphere);
    return text;
}

TLOCInfo Loc2Geo(const std::array<std::uint8_t, kDnsLocSize>& loc) {
    TLOCInfo info;
    info.Version = loc[0];
    info.Size = loc[1];
    info.HorizPre = loc[2];
    info.VertPre = loc[3];
    info.Latitude = DnsGeoPart(U32(loc.data() + 4), "NS");
    info.Longitude = DnsGeoPart(U32(loc.data() + 8), "EW");
    const std::int64_t altitude = static_cast<std::int64_t>(U32(loc.data() + 12)) - kLocAltitudeBase;
    info.Altitude = static_cast<int>(std::lround(static_cast<double>(altitude) / 100.0));
    return info;
}
