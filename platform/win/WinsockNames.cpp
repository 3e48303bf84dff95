// Host, service and protocol lookups, address texts, and the asynchronous lookups.
#include "platform/win/Winsock.h"

#include "platform/win/Messages.h"
#include "platform/win/SocketSys.h"
#include "platform/win/SocketTable.h"

#include "platform/core/StrUtils.h"

#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace winsock {

namespace {

using sockdetail::HostInfo;

// Lays a host entry out in `base` (pointers into the same block) and returns the size it needs; writes
// only when it fits.
std::size_t PackHost(const HostInfo& info, char* base, std::size_t capacity) {
    const std::size_t pointer = sizeof(char*);
    std::size_t size = sizeof(hostent);
    const std::size_t aliasesAt = size;
    size += (info.Aliases.size() + 1) * pointer;
    const std::size_t addressListAt = size;
    size += (info.Addresses.size() + 1) * pointer;
    const std::size_t addressesAt = size;
    size += info.Addresses.size() * 4;
    const std::size_t namesAt = size;
    size += info.Name.size() + 1;
    for (const auto& alias : info.Aliases)
        size += alias.size() + 1;
    if (base == nullptr || size > capacity) return size;

    std::memset(base, 0, size);
    hostent entry{};
    auto** aliases = reinterpret_cast<char**>(base + aliasesAt);
    auto** addressList = reinterpret_cast<char**>(base + addressListAt);
    char* text = base + namesAt;
    entry.h_name = text;
    std::memcpy(text, info.Name.c_str(), info.Name.size() + 1);
    text += info.Name.size() + 1;
    for (std::size_t i = 0; i < info.Aliases.size(); ++i) {
        aliases[i] = text;
        std::memcpy(text, info.Aliases[i].c_str(), info.Aliases[i].size() + 1);
        text += info.Aliases[i].size() + 1;
    }
    for (std::size_t i = 0; i < info.Addresses.size(); ++i) {
        char* slot = base + addressesAt + i * 4;
        std::memcpy(slot, &info.Addresses[i], 4);
        addressList[i] = slot;
    }
    entry.h_aliases = aliases;
    entry.h_addrtype = AF_INET;
    entry.h_length = 4;
    entry.h_addr_list = addressList;
    std::memcpy(base, &entry, sizeof entry);
    return size;
}

// Per-thread result storage, as the platform keeps it: valid until the thread's next call.
struct ThreadResults {
    std::vector<std::uint64_t> Host;
    servent Service{};
    sockdetail::ServiceInfo ServiceData;
    std::vector<char*> ServiceAliases;
    protoent Protocol{};
    sockdetail::ProtocolInfo ProtocolData;
    std::vector<char*> ProtocolAliases;
    char Dotted[16] = {};
};

thread_local ThreadResults tResults;

hostent* StoreHost(const HostInfo& info) {
    const std::size_t size = PackHost(info, nullptr, 0);
    tResults.Host.assign((size + 7) / 8, 0);
    char* base = reinterpret_cast<char*>(tResults.Host.data());
    PackHost(info, base, tResults.Host.size() * 8);
    return reinterpret_cast<hostent*>(base);
}

std::vector<char*> PointerList(std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (auto& t : texts)
        list.push_back(t.data());
    list.push_back(nullptr);
    return list;
}

struct AsyncTask {
    std::mutex Mutex;
    bool Cancelled = false;
    bool Done = false;
};

std::mutex gTasksMutex;
std::map<std::uintptr_t, std::shared_ptr<AsyncTask>>& Tasks() {
    static auto* tasks = new std::map<std::uintptr_t, std::shared_ptr<AsyncTask>>;
    return *tasks;
}
std::uintptr_t gNextTask = 1;

HANDLE StartLookup(HWND window, u_int message, char* buffer, int bufferLength,
                   std::function<int(HostInfo&)> lookup) {
    if (!sockdetail::WinsockStarted()) {
        WSASetLastError(WSANOTINITIALISED);
        return nullptr;
    }
    if (buffer == nullptr || bufferLength < 0) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    if (!IsWindow(window)) {
        WSASetLastError(WSAEINVAL);
        return nullptr;
    }
    auto task = std::make_shared<AsyncTask>();
    std::uintptr_t id;
    {
        std::lock_guard lock(gTasksMutex);
        id = gNextTask++;
        Tasks()[id] = task;
    }
    std::thread([=] {
        HostInfo info;
        int error = lookup(info);
        std::lock_guard lock(task->Mutex);
        {
            std::lock_guard tasksLock(gTasksMutex);
            Tasks().erase(id);
        }
        if (task->Cancelled) return;
        task->Done = true;
        std::size_t length = 0;
        if (error == 0) {
            length = PackHost(info, nullptr, 0);
            if (length > static_cast<std::size_t>(bufferLength))
                error = WSAENOBUFS;
            else
                PackHost(info, buffer, static_cast<std::size_t>(bufferLength));
        }
        PostMessage(window, message, static_cast<WPARAM>(id),
                    WSAMAKEASYNCREPLY(static_cast<int>(std::min<std::size_t>(length, 0xFFFF)), error));
    }).detach();
    return reinterpret_cast<HANDLE>(id);
}

bool StartedOrFail() {
    if (sockdetail::WinsockStarted()) return true;
    WSASetLastError(WSANOTINITIALISED);
    return false;
}

// The IPv4 address a lookup by address names; false, with the error set, for anything else.
bool LookupAddress(const char* address, int length, int type, std::uint32_t& value) {
    if (address == nullptr || length < 4) {
        WSASetLastError(WSAEFAULT);
        return false;
    }
    if (type != AF_INET) {
        WSASetLastError(WSAEAFNOSUPPORT);
        return false;
    }
    std::memcpy(&value, address, 4);
    return true;
}

int DigitValue(char c, int base) {
    int v;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    else
        return -1;
    return v < base ? v : -1;
}

} // namespace

HANDLE WSAAsyncGetHostByName(HWND window, u_int message, const char* name, char* buffer, int bufferLength) {
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    const std::string text = name;
    return StartLookup(window, message, buffer, bufferLength,
                       [text](HostInfo& info) { return sockdetail::LookupHostName(text, info); });
}

HANDLE WSAAsyncGetHostByAddr(HWND window, u_int message, const char* address, int length, int type,
                             char* buffer, int bufferLength) {
    std::uint32_t value = 0;
    if (!LookupAddress(address, length, type, value)) return nullptr;
    return StartLookup(window, message, buffer, bufferLength,
                       [value](HostInfo& info) { return sockdetail::LookupHostAddress(value, info); });
}

int WSACancelAsyncRequest(HANDLE task) {
    std::shared_ptr<AsyncTask> found;
    bool handedOut = false;
    {
        std::lock_guard lock(gTasksMutex);
        const auto id = reinterpret_cast<std::uintptr_t>(task);
        auto it = Tasks().find(id);
        if (it != Tasks().end()) found = it->second;
        handedOut = id != 0 && id < gNextTask;
    }
    if (!found) {
        // A finished task leaves the table as it answers; its handle is still one we gave out.
        WSASetLastError(handedOut ? WSAEALREADY : WSAEINVAL);
        return SOCKET_ERROR;
    }
    std::lock_guard lock(found->Mutex);
    if (found->Done) {
        WSASetLastError(WSAEALREADY);
        return SOCKET_ERROR;
    }
    found->Cancelled = true;
    return 0;
}

int gethostname(char* name, int nameLength) {
    if (name == nullptr || nameLength <= 0) {
        WSASetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    if (!StartedOrFail()) return SOCKET_ERROR;
    std::string local;
    int error = 0;
    if (!sockdetail::LocalHostName(local, error)) {
        WSASetLastError(error);
        return SOCKET_ERROR;
    }
    if (local.size() + 1 > static_cast<std::size_t>(nameLength)) {
        WSASetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    std::memcpy(name, local.c_str(), local.size() + 1);
    return 0;
}

hostent* gethostbyname(const char* name) {
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    if (!StartedOrFail()) return nullptr;
    HostInfo info;
    if (const int error = sockdetail::LookupHostName(name, info); error != 0) {
        WSASetLastError(error);
        return nullptr;
    }
    return StoreHost(info);
}

hostent* gethostbyaddr(const char* address, int length, int type) {
    std::uint32_t value = 0;
    if (!LookupAddress(address, length, type, value) || !StartedOrFail()) return nullptr;
    HostInfo info;
    if (const int error = sockdetail::LookupHostAddress(value, info); error != 0) {
        WSASetLastError(error);
        return nullptr;
    }
    return StoreHost(info);
}

servent* getservbyname(const char* name, const char* protocol) {
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    if (!StartedOrFail()) return nullptr;
    auto& r = tResults;
    if (!sockdetail::LookupService(name, protocol != nullptr ? protocol : "", r.ServiceData)) {
        WSASetLastError(WSANO_DATA);
        return nullptr;
    }
    r.ServiceAliases = PointerList(r.ServiceData.Aliases);
    r.Service.s_name = r.ServiceData.Name.data();
    r.Service.s_aliases = r.ServiceAliases.data();
    r.Service.s_port = static_cast<short>(r.ServiceData.Port);
    r.Service.s_proto = r.ServiceData.Protocol.data();
    return &r.Service;
}

protoent* getprotobyname(const char* name) {
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    if (!StartedOrFail()) return nullptr;
    auto& r = tResults;
    if (!sockdetail::LookupProtocol(name, r.ProtocolData)) {
        WSASetLastError(WSANO_DATA);
        return nullptr;
    }
    r.ProtocolAliases = PointerList(r.ProtocolData.Aliases);
    r.Protocol.p_name = r.ProtocolData.Name.data();
    r.Protocol.p_aliases = r.ProtocolAliases.data();
    r.Protocol.p_proto = static_cast<short>(r.ProtocolData.Number);
    return &r.Protocol;
}

u_long inet_addr(const char* text) {
    if (text == nullptr) return INADDR_NONE;
    std::uint64_t parts[4] = {};
    int count = 0;
    const char* p = text;
    for (;;) {
        if (!std::isdigit(static_cast<unsigned char>(*p))) return INADDR_NONE;
        int base = 10;
        if (*p == '0') {
            base = 8;
            if (p[1] == 'x' || p[1] == 'X') {
                base = 16;
                p += 2;
                if (DigitValue(*p, 16) < 0) return INADDR_NONE;
            }
        }
        std::uint64_t value = 0;
        for (int d; (d = DigitValue(*p, base)) >= 0; ++p) {
            value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFu) return INADDR_NONE;
        }
        parts[count++] = value;
        if (*p != '.') break;
        if (count == 4) return INADDR_NONE;
        ++p;
    }
    // The text ends at the first blank: "239.1.2.3 : 5000" is the address 239.1.2.3.
    if (*p != '\0' && *p != ' ' && *p != '\t') return INADDR_NONE;
    std::uint64_t host = 0;
    switch (count) {
    case 1:
        host = parts[0];
        break;
    case 2:
        if (parts[0] > 0xFF || parts[1] > 0xFFFFFF) return INADDR_NONE;
        host = (parts[0] << 24) | parts[1];
        break;
    case 3:
        if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF) return INADDR_NONE;
        host = (parts[0] << 24) | (parts[1] << 16) | parts[2];
        break;
    default:
        if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFF || parts[3] > 0xFF) return INADDR_NONE;
        host = (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
        break;
    }
    return htonl(static_cast<u_long>(host));
}

char* inet_ntoa(in_addr address) {
    const u_long host = ntohl(address.s_addr);
    std::snprintf(tResults.Dotted, sizeof tResults.Dotted, "%u.%u.%u.%u", (host >> 24) & 0xFF,
                  (host >> 16) & 0xFF, (host >> 8) & 0xFF, host & 0xFF);
    return tResults.Dotted;
}

} // namespace winsock
