// DNS messages as bytes (RFC 1035, LOC from RFC 1876): the query the client sends and the decoding of a
// reply into fixed result arrays. Replies come from the network: every length, pointer and count is
// checked against the received bytes, and what does not fit the arrays is left out. No sockets here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kDnsBufferSize = 512;
inline constexpr int kDnsHeaderSize = 12;
inline constexpr int kDnsMaxAnswers = 50;
inline constexpr int kDnsMaxMX = 50;
inline constexpr int kDnsMaxA = 50;
inline constexpr int kDnsMaxPTR = 10;
inline constexpr int kDnsLocSize = 16;
// A decoded name is at most this long; a label at most 63 bytes.
inline constexpr int kDnsMaxName = 255;
inline constexpr int kDnsMaxLabel = 63;

inline constexpr int DnsQueryA = 1;
inline constexpr int DnsQueryPTR = 12;
inline constexpr int DnsQueryMX = 15;
inline constexpr int DnsQueryLOC = 29;
inline constexpr int DnsClassIN = 1;

struct TDnsReply {
    int ResponseLen = 0;
    int ResponseID = 0;
    int ResponseCode = 0;
    int ResponseOpCode = 0;
    bool ResponseAuthoritative = false;
    bool ResponseTruncation = false;
    bool ResponseRecursionAvailable = false;
    int ResponseQDCount = 0;
    int ResponseANCount = 0;
    int ResponseNSCount = 0;
    int ResponseARCount = 0;

    int QuestionType = 0;
    int QuestionClass = 0;
    std::string QuestionName;

    // The answers decoded, at most kDnsMaxAnswers; fewer than ANCOUNT when the data ends early.
    int AnswerRecordCount = 0;
    std::array<std::string, kDnsMaxAnswers> AnswerName;
    std::array<int, kDnsMaxAnswers> AnswerType{};
    std::array<int, kDnsMaxAnswers> AnswerClass{};
    std::array<std::uint32_t, kDnsMaxAnswers> AnswerTTL{};
    // Index into the typed array that holds the answer's data, -1 when none does.
    std::array<int, kDnsMaxAnswers> AnswerTag{};

    int MXRecordCount = 0;
    std::array<int, kDnsMaxMX> MXPreference{};
    std::array<std::string, kDnsMaxMX> MXExchange;
    int ARecordCount = 0;
    // In network order, as received.
    std::array<std::uint32_t, kDnsMaxA> Address{};
    int PTRRecordCount = 0;
    std::array<std::string, kDnsMaxPTR> Hostname;
    // Raw data of the last LOC answer; zeros when its length was not 16.
    std::array<std::uint8_t, kDnsLocSize> LocRecord{};
};

// False, with `reply` untouched, for fewer than 12 bytes or a message that is not a response.
bool DnsDecodeReply(const std::uint8_t* data, int len, TDnsReply& reply);

// Decodes the name at `pos`, following compression pointers; `pos` moves past the name as it stands in
// place. False for a name that runs past `len`, a pointer that does not point back, too many pointers,
// a reserved label type or a name longer than kDnsMaxName.
bool DnsDecodeName(const std::uint8_t* data, int len, int& pos, std::string& name);

// The 12-byte header of a query: id, opcode, recursion desired, one question.
void DnsBuildRequestHeader(std::uint8_t* dst, std::uint16_t id, int opCode, bool recursionDesired);
// The question (name as labels, QTYPE, QCLASS) at dst; its length, or -1 for a name that cannot be
// sent (an empty or over-long label, a name over 255 bytes, or more than `room` bytes in all).
int DnsBuildQuestionSection(std::uint8_t* dst, int room, const std::string& name, int qType, int qClass);

// "1.2.3.4" -> "4.3.2.1".
std::string DnsReverseIP(const std::string& ip);

struct TDnsGeoPart {
    int Degrees = 0;
    int Minutes = 0;
    int Seconds = 0;
    int Milliseconds = 0;
    char Hemisphere = ' ';
};

struct TLOCInfo {
    int Version = 0;
    // Size and precisions as stored: a base in the high nibble, a power of ten in the low one.
    int Size = 0;
    int HorizPre = 0;
    int VertPre = 0;
    TDnsGeoPart Latitude;
    TDnsGeoPart Longitude;
    int Altitude = 0; // metres
};

// A raw LOC latitude or longitude; `hemis` holds the letter for values above 2^31 first ("NS", "EW").
TDnsGeoPart DnsGeoPart(std::uint32_t value, const char* hemis);
// "%d %02d %02d.%03d" and the hemisphere letter.
std::string LongLatToDMS(std::uint32_t value, const char* hemis);
TLOCInfo Loc2Geo(const std::array<std::uint8_t, kDnsLocSize>& loc);
