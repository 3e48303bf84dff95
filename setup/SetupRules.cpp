#include "setup/SetupRules.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <vector>

std::string ConfigAddressText(const std::string& value) {
    const std::int64_t number = StrToInt64(value);
    if (number < INT32_MIN || number > static_cast<std::int64_t>(UINT32_MAX))
        throw EConvertError(Format("'%s' is not a valid integer value", value.c_str()));
    // Decimal octets, as the defaults beside them are shown: hexadecimal pairs read as a wrong address.
    const auto v = static_cast<std::uint32_t>(number);
    return Format("%u.%u.%u.%u", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, v >> 24);
}

bool TitleKeyAllowed(char key) {
    const auto c = static_cast<unsigned char>(key);
    if (c < 0x80 && std::isalnum(c)) return true;
    return key == '.' || key == '-' || key == '_' || key == ' ' || key == '\r' || key == '\b';
}

bool FolderKeyRefused(char key) {
    switch (key) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return false;
    }
}

std::string FolderKeyMessage() {
    // untranslated: long-standing fixed text
    return "The string it will not be able to use with folder name\n" + std::string(18, ' ') +
           "(\\, /, :, *, ?, \", <, >, |)";
}

DWORD PackAddressParts(BYTE part0, BYTE part1, BYTE part2, BYTE part3) {
    return (static_cast<DWORD>(part0) << 24) | (static_cast<DWORD>(part1) << 16) |
           (static_cast<DWORD>(part2) << 8) | static_cast<DWORD>(part3);
}

bool ReplaceColonsInFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (f == nullptr) return false;
    std::vector<char> bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    bool ok = std::ferror(f) == 0;
    if (ok && !bytes.empty()) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != ':') continue;
            if (std::fseek(f, static_cast<long>(i), SEEK_SET) != 0 || std::fputc('=', f) == EOF) {
                ok = false;
                break;
            }
        }
    }
    if (std::fclose(f) != 0) ok = false;
    return ok;
}
