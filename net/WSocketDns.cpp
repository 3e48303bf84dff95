// Name and address lookups of the socket component: asynchronous through the hidden window, or blocking.
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"

#include <cstring>

using namespace winsock;

namespace {

constexpr std::size_t kMaxLookupText = 256;

// The platform lays a host entry out inside the lookup buffer; everything it points to must lie in it.
class TEntryView {
public:
    TEntryView(const char* base, std::size_t size) : base_(base), size_(size) {}

    bool Holds(const void* p, std::size_t len) const {
        const auto* c = static_cast<const char*>(p);
        return c >= base_ && len <= size_ && static_cast<std::size_t>(c - base_) <= size_ - len;
    }
    // A NUL-terminated text inside the buffer, or nothing.
    bool Text(const char* p, std::string& out) const {
        if (!Holds(p, 1)) return false;
        const std::size_t room = size_ - static_cast<std::size_t>(p - base_);
        const std::size_t len = strnlen(p, room);
        if (len == room) return false;
        out.assign(p, len);
        return true;
    }

private:
    const char* base_;
    std::size_t size_;
};

// The address a reverse lookup asks for: a text that is no address would silently ask for
// 255.255.255.255.
bool ReverseLookupAddr(const std::string& hostAddr, winsock::u_long& addr) {
    if (hostAddr.empty() || hostAddr.size() > kMaxLookupText) return false;
    const std::string trimmed = Trim(hostAddr);
    addr = WSocket_inet_addr(trimmed.c_str());
    return addr != INADDR_NONE || trimmed == "255.255.255.255";
}

} // namespace

// A new lookup drops the one under way and the last results.
void TCustomWSocket::ForgetLookup() {
    if (FDnsLookupHandle != nullptr) {
        WSocket_WSACancelAsyncRequest(FDnsLookupHandle);
        FDnsLookupHandle = nullptr;
    }
    FDnsResult.clear();
    FDnsResultList.Clear();
}

// A reverse lookup's address, with the lookup under way dropped; false, reported, for a text that is no
// address.
bool TCustomWSocket::StartReverseLookup(const std::string& hostAddr, winsock::u_long& addr) {
    if (!ReverseLookupAddr(hostAddr, addr)) {
        RaiseException("ReverseDnsLookup: Invalid host name.");
        TriggerDNSLookupDone(WSAEINVAL);
        return false;
    }
    ForgetLookup();
    return true;
}

// DnsResult is the entry's name; DnsResultList the name and the aliases.
void TCustomWSocket::FillHostNames(const hostent* entry) {
    FDnsResult.clear();
    FDnsResultList.Clear();
    if (entry == nullptr) return;
    if (entry->h_name != nullptr) FDnsResult = entry->h_name;
    FDnsResultList.Add(FDnsResult);
    for (char** alias = entry->h_aliases; alias != nullptr && *alias != nullptr; ++alias)
        if (**alias != '\0') FDnsResultList.Add(*alias);
}

void TCustomWSocket::DnsLookup(const std::string& hostName) {
    if (hostName.empty()) {
        RaiseException("DNS lookup: invalid host name.");
        TriggerDNSLookupDone(WSAEINVAL);
        return;
    }
    ForgetLookup();
    const std::string trimmed = Trim(hostName);
    if (WSocketIsDottedIP(trimmed)) {
        const winsock::u_long addr = WSocket_inet_addr(trimmed.c_str());
        if (addr != INADDR_NONE || trimmed == "255.255.255.255") {
            FDnsResult = WSocketDottedAddr(addr);
            FDnsResultList.Add(FDnsResult);
            TriggerDNSLookupDone(0);
            return;
        }
    }
    if (FWindowHandle == nullptr) {
        RaiseException("DnsLookup: Window not assigned");
        return;
    }
    FDnsLookupEarly = false;
    HANDLE handle = WSocket_WSAAsyncGetHostByName(FWindowHandle, WM_SOCKET_NAME_RESOLVED, hostName.c_str(),
                                                  FDnsLookupBuffer, sizeof FDnsLookupBuffer);
    if (handle == nullptr) {
        RaiseExceptionFmt("%s: can't start DNS lookup, error #%d", hostName.c_str(),
                          WSocket_WSAGetLastError());
        return;
    }
    FDnsLookupHandle = handle;
    if (FDnsLookupEarly) {
        FDnsLookupEarly = false;
        WMGetHostByName(FDnsLookupSavedMsg);
    }
}

void TCustomWSocket::WMGetHostByName(TMessage& msg) {
    if (FDnsLookupHandle == nullptr) {
        // The answer may come before the handle was stored.
        FDnsLookupSavedMsg = msg;
        FDnsLookupEarly = true;
        return;
    }
    if (reinterpret_cast<HANDLE>(msg.WParam) != FDnsLookupHandle) return;
    FDnsLookupHandle = nullptr;
    const WORD error = WSAGETASYNCERROR(msg.LParam);
    if (error == 0) {
        FDnsResult.clear();
        FDnsResultList.Clear();
        const TEntryView view(FDnsLookupBuffer, sizeof FDnsLookupBuffer);
        hostent entry{};
        std::memcpy(&entry, FDnsLookupBuffer, sizeof entry);
        if (entry.h_length == 4 && view.Holds(entry.h_addr_list, sizeof(char*))) {
            for (char** a = entry.h_addr_list; view.Holds(a, sizeof(char*)) && *a != nullptr; ++a) {
                if (!view.Holds(*a, 4)) break;
                winsock::u_long addr = 0;
                std::memcpy(&addr, *a, 4);
                FDnsResultList.Add(WSocketDottedAddr(addr));
            }
        }
        if (FDnsResultList.Count() > 0) FDnsResult = FDnsResultList[0];
    }
    TriggerDNSLookupDone(error);
}

void TCustomWSocket::ReverseDnsLookup(const std::string& hostAddr) {
    winsock::u_long addr = INADDR_NONE;
    if (!StartReverseLookup(hostAddr, addr)) return;
    if (FWindowHandle == nullptr) {
        RaiseException("ReverseDnsLookup: Window not assigned");
        return;
    }
    HANDLE handle = WSocket_WSAAsyncGetHostByAddr(FWindowHandle, WM_SOCKET_ADDR_RESOLVED,
                                                  reinterpret_cast<const char*>(&addr), 4, AF_INET,
                                                  FDnsLookupBuffer, sizeof FDnsLookupBuffer);
    if (handle == nullptr) {
        RaiseExceptionFmt("%s: can't start DNS lookup, error #%d", hostAddr.c_str(),
                          WSocket_WSAGetLastError());
        return;
    }
    FDnsLookupHandle = handle;
}

void TCustomWSocket::WMGetHostByAddr(TMessage& msg) {
    if (FDnsLookupHandle == nullptr || reinterpret_cast<HANDLE>(msg.WParam) != FDnsLookupHandle) return;
    FDnsLookupHandle = nullptr;
    const WORD error = WSAGETASYNCERROR(msg.LParam);
    if (error == 0) {
        FDnsResult.clear();
        FDnsResultList.Clear();
        const TEntryView view(FDnsLookupBuffer, sizeof FDnsLookupBuffer);
        hostent entry{};
        std::memcpy(&entry, FDnsLookupBuffer, sizeof entry);
        view.Text(entry.h_name, FDnsResult);
        FDnsResultList.Add(FDnsResult);
        if (view.Holds(entry.h_aliases, sizeof(char*))) {
            for (char** alias = entry.h_aliases; view.Holds(alias, sizeof(char*)) && *alias != nullptr;
                 ++alias) {
                std::string text;
                if (view.Text(*alias, text) && !text.empty()) FDnsResultList.Add(text);
            }
        }
    }
    TriggerDNSLookupDone(error);
}

void TCustomWSocket::ReverseDnsLookupSync(const std::string& hostAddr) {
    winsock::u_long addr = INADDR_NONE;
    if (!StartReverseLookup(hostAddr, addr)) return;
    const hostent* entry = WSocket_gethostbyaddr(reinterpret_cast<const char*>(&addr), 4, AF_INET);
    if (entry == nullptr) {
        TriggerDNSLookupDone(static_cast<WORD>(WSocket_WSAGetLastError()));
        return;
    }
    FillHostNames(entry);
    TriggerDNSLookupDone(0);
}

void TCustomWSocket::CancelDnsLookup() {
    if (FDnsLookupHandle == nullptr) return;
    if (WSocket_WSACancelAsyncRequest(FDnsLookupHandle) != 0) {
        FDnsLookupHandle = nullptr;
        // Already answered: the answer waits in the queue and is ignored now, as a cancel would be.
        if (WSocket_WSAGetLastError() != WSAEALREADY) {
            SocketError("WSACancelAsyncRequest");
            return;
        }
    }
    FDnsLookupHandle = nullptr;
    if (!ComponentState().Contains(csDestroying)) TriggerDNSLookupDone(WSAEINTR);
}
