// SOCKS 4, 4A and 5 as bytes: the requests the client sends and the judgement of the replies it gets.
// Nothing here touches a socket, so every reply can be judged (and fuzzed) on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Negotiation failures, as OnSocksError and OnSessionConnected report them.
inline constexpr int kSocksLogicError = 20001;
inline constexpr int kSocksVersionError = 20002;
inline constexpr int kSocksMethodError = 20003;
inline constexpr int kSocksHostUnreachable = 20007;
inline constexpr int kSocksRefused = 20008;
inline constexpr int kSocksAddrTypeError = 20011;
inline constexpr int kSocksUnassignedError = 20012;
inline constexpr int kSocksInternalError = 20013;
inline constexpr int kSocksAuthFailed = 20015;
inline constexpr int kSocksRejected = 20016;

// Methods of the SOCKS 5 greeting.
inline constexpr std::uint8_t kSocksMethodNone = 0;
inline constexpr std::uint8_t kSocksMethodUsercode = 2;

// Every field of a request travels with a one-byte length (or, in SOCKS 4, as a short text): longer
// ones are refused before anything is sent.
inline constexpr std::size_t kSocksMaxField = 255;

// The area that collects a reply; one byte is kept spare, so a reply must fit in the rest.
inline constexpr int kSocksReplyArea = 128;
inline constexpr int kSocksReplyReadable = kSocksReplyArea - 1;
inline constexpr int kSocks4ReplyLength = 8;

enum class TSocksReplyStatus { NeedMore, Done, Failed };

struct TSocksReply {
    TSocksReplyStatus Status = TSocksReplyStatus::NeedMore;
    int ErrCode = 0;
    std::string ErrMsg;
    // Done: the bytes the reply takes at the start of the area.
    int Length = 0;
    // Method reply: the method the server chose.
    int Method = -1;
    // SOCKS 5 connect reply: the address and port the server bound.
    std::string BoundAddr;
    std::string BoundPort;
};

// Each judges the `count` bytes received so far; NeedMore until a whole reply is there.
TSocksReply SocksMethodReply(const std::uint8_t* data, int count);
TSocksReply SocksAuthReply(const std::uint8_t* data, int count);
TSocksReply Socks5ConnectReply(const std::uint8_t* data, int count);
TSocksReply Socks4ConnectReply(const std::uint8_t* data, int count);

// The text of a SOCKS 5 reply code other than 0, with its error number.
int Socks5ReplyError(int replyCode, std::string& msg);

std::vector<std::uint8_t> Socks5Greeting(std::uint8_t method);
// False (and `out` empty) when a field is longer than kSocksMaxField.
bool Socks5AuthRequest(const std::string& usercode, const std::string& password,
                       std::vector<std::uint8_t>& out);
// The destination always travels as a name.
bool Socks5ConnectRequest(const std::string& addr, std::uint16_t port, std::vector<std::uint8_t>& out);
// `addr` in network order; `name4A` is sent after the user code for level 4A (nullptr for level 4).
bool Socks4ConnectRequest(std::uint16_t port, std::uint32_t addr, const std::string& usercode,
                          const std::string* name4A, std::vector<std::uint8_t>& out);
