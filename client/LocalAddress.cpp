#include "client/LocalAddress.h"

#include "platform/core/StrUtils.h"
#include "platform/win/Winsock.h"

std::string FormatDottedAddress(const BYTE address[4]) {
    return Format("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

std::string FindLocalAddress() {
    winsock::WSADATA data{};
    if (winsock::WSAStartup(0x0101, &data) != 0) return std::string();
    std::string result;
    char name[256] = {};
    if (winsock::gethostname(name, sizeof(name) - 1) == 0) {
        const winsock::hostent* host = winsock::gethostbyname(name);
        if (host != nullptr && host->h_length == 4 && host->h_addr_list != nullptr &&
            host->h_addr_list[0] != nullptr)
            result = FormatDottedAddress(reinterpret_cast<const BYTE*>(host->h_addr_list[0]));
    }
    winsock::WSACleanup();
    return result;
}
