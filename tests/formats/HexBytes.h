// Byte vectors from the hex texts of the format examples ("aa aa 00 00 ...").
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

inline std::vector<std::uint8_t> HexBytes(std::string_view text) {
    std::vector<std::uint8_t> out;
    int nibble = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c == ' ' || c == '\n' || c == '|')
            continue;
        else
            throw std::invalid_argument("hex text");
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(nibble * 16 + v));
            nibble = -1;
        }
    }
    if (nibble >= 0) throw std::invalid_argument("odd hex text");
    return out;
}
