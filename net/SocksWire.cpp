#include "net/SocksWire.h"

#include <string_view>

namespace {

constexpr std::uint8_t kSocks5Version = 5;
constexpr std::uint8_t kSocks4Version = 4;
constexpr std::uint8_t kAuthVersion = 1;
constexpr std::uint8_t kCmdConnect = 1;
constexpr std::uint8_t kAddrIpv4 = 1;
constexpr std::uint8_t kAddrName = 3;
constexpr std::uint8_t kSocks4Granted = 90;

TSocksReply Failed(int code, std::string msg) {
    TSocksReply reply;
    reply.Status = TSocksReplyStatus::Failed;
    reply.ErrCode = code;
    reply.ErrMsg = std::move(msg);
    return reply;
}

TSocksReply Done(int length) {
    TSocksReply reply;
    reply.Status = TSocksReplyStatus::Done;
    reply.Length = length;
    return reply;
}

void PutPort(std::vector<std::uint8_t>& out, std::uint16_t port) {
    out.push_back(static_cast<std::uint8_t>(port >> 8));
    out.push_back(static_cast<std::uint8_t>(port & 0xFF));
}

void PutText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::string PortText(const std::uint8_t* p) {
    return std::to_string((static_cast<unsigned>(p[0]) << 8) | p[1]);
}

} // namespace

int Socks5ReplyError(int replyCode, std::string& msg) {
    static const char* const texts[] = {"general SOCKS server failure", "connection not allowed by ruleset",
                                        "network unreachable",          "host unreachable",
                                        "connection refused",           "time to live expired",
                                        "command not supported",        "address type not supported"};
    if (replyCode >= 1 && replyCode <= 8) {
        msg = texts[replyCode - 1];
        return 20003 + replyCode;
    }
    msg = "unassigned error #" + std::to_string(replyCode);
    return kSocksUnassignedError;
}

TSocksReply SocksMethodReply(const std::uint8_t* data, int count) {
    if (count < 2) return {};
    if (data[0] != kSocks5Version) return Failed(kSocksVersionError, "socks version error");
    TSocksReply reply = Done(2);
    reply.Method = data[1];
    return reply;
}

TSocksReply SocksAuthReply(const std::uint8_t* data, int count) {
    if (count < 1) return {};
    if (data[0] != kAuthVersion) return Failed(kSocksVersionError, "socks version error");
    if (count > 2) return Failed(kSocksLogicError, "too much data availaible");
    if (count < 2) return {};
    if (data[1] != 0) return Failed(kSocksAuthFailed, "socks authentication failed");
    return Done(2);
}

TSocksReply Socks5ConnectReply(const std::uint8_t* data, int count) {
    if (count < 1) return {};
    if (data[0] != kSocks5Version) return Failed(kSocksVersionError, "socks version error");
    if (count < 2) return {};
    if (data[1] != 0) {
        std::string msg;
        const int code = Socks5ReplyError(data[1], msg);
        return Failed(code, msg);
    }
    if (count < 5) return {};
    int needed = 5;
    if (data[3] == kAddrIpv4)
        needed = 10;
    else if (data[3] == kAddrName)
        needed = data[4] + 7;
    // A reply longer than the area could never complete: waiting for it would hang the connection.
    if (needed > kSocksReplyReadable) return Failed(kSocksAddrTypeError, "socks reply too long");
    if (count < needed) return {};
    TSocksReply reply = Done(needed);
    if (data[3] == kAddrIpv4) {
        reply.BoundAddr = std::to_string(data[4]) + "." + std::to_string(data[5]) + "." +
                          std::to_string(data[6]) + "." + std::to_string(data[7]);
        reply.BoundPort = PortText(data + 8);
    } else if (data[3] == kAddrName) {
        reply.BoundAddr.assign(reinterpret_cast<const char*>(data + 5), data[4]);
        reply.BoundPort = PortText(data + 5 + data[4]);
    } else {
        return Failed(kSocksAddrTypeError, "address type not supported");
    }
    return reply;
}

TSocksReply Socks4ConnectReply(const std::uint8_t* data, int count) {
    if (count < kSocks4ReplyLength) return {};
    if (data[0] != 0) return Failed(kSocksVersionError, "socks version error");
    switch (data[1]) {
    case kSocks4Granted:
        return Done(kSocks4ReplyLength);
    case 91:
        return Failed(kSocksRejected, "request rejected or failed");
    case 92:
        return Failed(kSocksRefused, "connection refused");
    case 93:
        return Failed(kSocksAuthFailed, "authentification failed");
    default:
        return Failed(kSocksUnassignedError, "unassigned error #" + std::to_string(data[1]));
    }
}

std::vector<std::uint8_t> Socks5Greeting(std::uint8_t method) {
    return {kSocks5Version, 1, method};
}

bool Socks5AuthRequest(const std::string& usercode, const std::string& password,
                       std::vector<std::uint8_t>& out) {
    out.clear();
    if (usercode.size() > kSocksMaxField || password.size() > kSocksMaxField) return false;
    out.push_back(kAuthVersion);
    out.push_back(static_cast<std::uint8_t>(usercode.size()));
    PutText(out, usercode);
    out.push_back(static_cast<std::uint8_t>(password.size()));
    PutText(out, password);
    return true;
}

bool Socks5ConnectRequest(const std::string& addr, std::uint16_t port, std::vector<std::uint8_t>& out) {
    out.clear();
    if (addr.size() > kSocksMaxField) return false;
    out = {kSocks5Version, kCmdConnect, 0, kAddrName, static_cast<std::uint8_t>(addr.size())};
    PutText(out, addr);
    PutPort(out, port);
    return true;
}

bool Socks4ConnectRequest(std::uint16_t port, std::uint32_t addr, const std::string& usercode,
                          const std::string* name4A, std::vector<std::uint8_t>& out) {
    out.clear();
    if (usercode.size() > kSocksMaxField || (name4A != nullptr && name4A->size() > kSocksMaxField))
        return false;
    out = {kSocks4Version, kCmdConnect};
    PutPort(out, port);
    const auto* a = reinterpret_cast<const std::uint8_t*>(&addr);
    out.insert(out.end(), a, a + 4);
    PutText(out, usercode);
    out.push_back(0);
    if (name4A != nullptr) {
        PutText(out, *name4A);
        out.push_back(0);
    }
    return true;
}
