#include "client/AddressBook.h"

#include "net/WSocketLib.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

bool ParseDottedAddress(std::string_view text, TIPv4& address) {
    std::size_t pos = 0;
    for (int group = 0; group < 4; ++group) {
        if (group > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        const std::size_t first = pos;
        int value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos] - '0');
            // Checked while reading, so a long run of digits cannot overflow.
            if (value > 255) return false;
            ++pos;
        }
        if (pos == first) return false;
        address[static_cast<std::size_t>(group)] = static_cast<BYTE>(value);
    }
    return pos == text.size();
}

std::string DottedAddress(const TIPv4& address) {
    return Format("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

bool ResolveIPv4(const std::string& text, std::string& dotted) {
    TIPv4 address{};
    if (ParseDottedAddress(text, address)) {
        dotted = DottedAddress(address);
        return true;
    }
    if (text.empty()) return false;
    const winsock::hostent* host = WSocket_gethostbyname(text.c_str());
    if (host == nullptr || host->h_length < 4 || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr)
        return false;
    std::copy_n(reinterpret_cast<const BYTE*>(host->h_addr_list[0]), 4, address.begin());
    dotted = DottedAddress(address);
    return true;
}

bool ValidPortText(std::string_view text) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65534;
}

std::string AddressBookEntry(const std::string& address, const std::string& port) {
    return address + ":" + port;
}

void SplitAddressBookEntry(const std::string& line, std::string& address, std::string& port, bool& hasPort) {
    const std::size_t colon = line.find(':');
    hasPort = colon != std::string::npos;
    if (!hasPort) {
        address = line;
        return;
    }
    address = line.substr(0, colon);
    port = line.substr(colon + 1);
}

bool AddAddressBookEntry(std::vector<std::string>& lines, const std::string& entry) {
    if (std::find(lines.begin(), lines.end(), entry) != lines.end()) return false;
    lines.insert(lines.begin(), entry);
    return true;
}

std::vector<std::string> ReadAddressBook(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool WriteAddressBook(const std::string& path, const std::vector<std::string>& lines) {
    // Written beside and renamed, so a failed write never leaves half a book.
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const std::string& line : lines)
            out << line << '\n';
        out.flush();
        if (!out) {
            out.close();
            std::remove(partial.c_str());
            return false;
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
