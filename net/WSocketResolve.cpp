// Blocking resolvers, the dotted-address test and the error texts of the socket unit.
#include "net/WSocketLib.h"

#include "platform/core/StrUtils.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kMaxHostText = 256;
constexpr std::size_t kMaxPortText = 32;
constexpr unsigned kMaxPort = 65535;
constexpr unsigned kMaxProto = 255;
constexpr unsigned kMaxAddrPart = 255;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Leading blanks, then the decimal digits up to the first non-digit (anything after is ignored).
// False when there is no digit or the value passes `limit`: accumulating further would overflow.
bool DecimalValue(std::string_view text, unsigned limit, unsigned& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i >= text.size() || !IsDigit(text[i])) return false;
    value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > limit) return false;
    }
    return true;
}

} // namespace

bool WSocketIsDottedIP(const std::string& text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    if (i < n && text[i] == '.') return false;
    int dots = 0;
    unsigned part = 0;
    bool tooBig = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            if (!tooBig) {
                part = part * 10 + static_cast<unsigned>(c - '0');
                tooBig = part > kMaxAddrPart;
            }
        } else if (c == '.') {
            if (++dots > 3 || tooBig || i + 1 == n || !IsDigit(text[i + 1])) return false;
            part = 0;
        } else {
            break;
        }
    }
    while (i < n && text[i] == ' ')
        ++i;
    return i == n && dots == 3 && !tooBig;
}

std::string WSocketDottedAddr(winsock::u_long addr) {
    const winsock::u_long host = winsock::ntohl(addr);
    return Format("%u.%u.%u.%u", (host >> 24) & 0xFF, (host >> 16) & 0xFF, (host >> 8) & 0xFF, host & 0xFF);
}

winsock::u_long WSocketResolveHost(const std::string& host) {
    if (host.empty() || host.size() > kMaxHostText)
        throw ESocketException("WSocketResolveHost: '" + host + "' Invalid Hostname.");
    TWinsockHold hold;
    const std::string name = Trim(host);
    if (!WSocketIsDottedIP(name)) {
        PHostEnt entry = WSocket_gethostbyname(name.c_str());
        if (entry == nullptr || entry->h_length != 4 || entry->h_addr_list == nullptr ||
            entry->h_addr_list[0] == nullptr) {
            const int error = entry == nullptr ? WSocket_WSAGetLastError() : winsock::WSANO_DATA;
            throw ESocketException(Format("WSocketResolveHost: Cannot convert host address '%s', Error #%d",
                                          host.c_str(), error));
        }
        winsock::u_long addr = 0;
        std::memcpy(&addr, entry->h_addr_list[0], 4);
        return addr;
    }
    const winsock::u_long addr = WSocket_inet_addr(name.c_str());
    if (addr == winsock::INADDR_NONE && name != "255.255.255.255")
        throw ESocketException("WSocketResolveHost: '" + host + "' Invalid IP address.");
    return addr;
}

winsock::u_short WSocketResolvePort(const std::string& port, const std::string& proto) {
    if (port.empty() || port.size() >= kMaxPortText)
        throw ESocketException("WSocketResolvePort: Invalid Port.");
    if (proto.empty() || proto.size() >= kMaxPortText)
        throw ESocketException("WSocketResolvePort: Invalid Proto.");
    if (IsDigit(port[0])) {
        unsigned value = 0;
        // A port above 65535 would silently wrap to another one ("70000" to 4464).
        if (!DecimalValue(port, kMaxPort, value)) throw ESocketException("WSocketResolvePort: Invalid Port.");
        return static_cast<winsock::u_short>(value);
    }
    TWinsockHold hold;
    const std::string service = Trim(port);
    const std::string protocol = Trim(proto);
    winsock::servent* entry =
        WSocket_getservbyname(service.c_str(), protocol.empty() ? nullptr : protocol.c_str());
    if (entry == nullptr)
        throw ESocketException(Format("WSocketResolvePort: Cannot convert port '%s', Error #%d", port.c_str(),
                                      WSocket_WSAGetLastError()));
    return WSocket_ntohs(static_cast<winsock::u_short>(entry->s_port));
}

int WSocketResolveProto(const std::string& proto) {
    if (proto.empty() || proto.size() >= kMaxPortText)
        throw ESocketException("WSocketResolveProto: Invalid Protocol.");
    if (IsDigit(proto[0])) {
        unsigned value = 0;
        // The protocol field of an IP header has 8 bits; longer digit runs would overflow.
        if (!DecimalValue(proto, kMaxProto, value))
            throw ESocketException("WSocketResolveProto: Invalid Protocol.");
        return static_cast<int>(value);
    }
    const std::string name = LowerCase(Trim(proto));
    if (name == "tcp") return winsock::IPPROTO_TCP;
    if (name == "udp") return winsock::IPPROTO_UDP;
    if (name == "raw") return winsock::IPPROTO_RAW;
    TWinsockHold hold;
    winsock::protoent* entry = WSocket_getprotobyname(name.c_str());
    if (entry == nullptr)
        throw ESocketException(Format("WSocketResolveProto: Cannot convert protocol '%s', Error #%d",
                                      proto.c_str(), WSocket_WSAGetLastError()));
    return static_cast<winsock::u_short>(entry->p_proto);
}

PHostEnt WSocketGetHostByName(const std::string& name) {
    if (name.empty() || name.size() > kMaxHostText)
        throw ESocketException("WSocketGetHostByName: Invalid Hostname.");
    TWinsockHold hold;
    return WSocket_gethostbyname(name.c_str());
}

PHostEnt WSocketGetHostByAddr(const std::string& addr) {
    if (addr.empty() || addr.size() > kMaxHostText)
        throw ESocketException("WSocketGetHostByAddr: Invalid address.");
    TWinsockHold hold;
    const winsock::u_long a = WSocket_inet_addr(addr.c_str());
    return WSocket_gethostbyaddr(reinterpret_cast<const char*>(&a), 4, winsock::AF_INET);
}

std::string WSocketResolveIp(const std::string& ipAddr) {
    PHostEnt entry = WSocketGetHostByAddr(ipAddr);
    return entry != nullptr && entry->h_name != nullptr ? std::string(entry->h_name) : std::string();
}

std::string LocalHostName() {
    TWinsockHold hold;
    char buffer[64] = {};
    if (WSocket_gethostname(buffer, sizeof buffer) != 0) throw ESocketException("Winsock.GetHostName failed");
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

std::string WSocketErrorDesc(int errCode) {
    switch (errCode) {
    case 0:
        return "No Error";
    case 10004:
        return "Interrupted system call";
    case 10009:
        return "Bad file number";
    case 10013:
        return "Permission denied";
    case 10014:
        return "Bad address";
    case 10022:
        return "Invalid argument";
    case 10024:
        return "Too many open files";
    case 10035:
        return "Operation would block";
    case 10036:
        return "Operation now in progress";
    case 10037:
        return "Operation already in progress";
    case 10038:
        return "Socket operation on non-socket";
    case 10039:
        return "Destination address required";
    case 10040:
        return "Message too long";
    case 10041:
        return "Protocol wrong type for socket";
    case 10042:
        return "Protocol not available";
    case 10043:
        return "Protocol not supported";
    case 10044:
        return "Socket type not supported";
    case 10045:
        return "Operation not supported on socket";
    case 10046:
        return "Protocol family not supported";
    case 10047:
        return "Address family not supported by protocol family";
    case 10048:
        return "Address already in use";
    case 10049:
        return "Address not available";
    case 10050:
        return "Network is down";
    case 10051:
        return "Network is unreachable";
    case 10052:
        return "Network dropped connection on reset";
    case 10053:
        return "Connection aborted";
    case 10054:
        return "Connection reset by peer";
    case 10055:
        return "No buffer space available";
    case 10056:
        return "Socket is already connected";
    case 10057:
        return "Socket is not connected";
    case 10058:
        return "Can't send after socket shutdown";
    case 10059:
        return "Too many references: can't splice";
    case 10060:
        return "Connection timed out";
    case 10061:
        return "Connection refused";
    case 10062:
        return "Too many levels of symbolic links";
    case 10063:
        return "File name too long";
    case 10064:
        return "Host is down";
    case 10065:
        return "No route to host";
    case 10066:
        return "Directory not empty";
    case 10067:
        return "Too many processes";
    case 10068:
        return "Too many users";
    case 10069:
        return "Disc quota exceeded";
    case 10070:
        return "Stale NFS file handle";
    case 10071:
        return "Too many levels of remote in path";
    case 10091:
        return "Network sub-system is unusable";
    case 10092:
        return "WinSock DLL cannot support this application";
    case 10093:
        return "WinSock not initialized";
    case 11001:
        return "Host not found";
    case 11002:
        return "Non-authoritative host not found";
    case 11003:
        return "Non-recoverable error";
    case 11004:
        return "No Data";
    default:
        return "Not a WinSock error";
    }
}
