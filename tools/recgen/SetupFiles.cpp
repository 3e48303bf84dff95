#include "tools/recgen/SetupFiles.h"

#include "platform/core/StrUtils.h"

#include <cstdint>
#include <cstdio>

namespace recgen {

namespace {

std::string StoredAddress(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4 || a > 255 || b > 255 || c > 255 ||
        d > 255)
        return "0";
    return std::to_string(a | (b << 8) | (c << 16) | (static_cast<std::uint32_t>(d) << 24));
}

} // namespace

std::string DefaultConfigIni(const RecorderIdentity& id) {
    std::string s = "[config]\r\n";
    auto key = [&](const char* k, const std::string& v) { s += std::string(k) + "=" + v + "\r\n"; };
    key("1_1_1", "1");
    key("27_1_1", id.title);
    // Addresses as the recorder stores them: a 32-bit number whose lowest byte is the first octet.
    key("29_1_1", StoredAddress(id.address));
    key("30_1_1", StoredAddress("255.255.255.0"));
    key("31_1_1", StoredAddress("127.0.0.1"));
    key("40_1_1", "5000");
    key("45_1_1", "1");
    key("52_1_1", "6000");
    for (int c = 1; c <= id.cameras; ++c)
        s += Format("34_1_%d=CAMERA %d\r\n", c, c);
    return s;
}

std::string DefaultScheduleDat() {
    std::string s(196, '\0');
    s[0] = 2;
    for (int row = 0; row < 8; ++row)
        for (int hour = 0; hour < 24; ++hour)
            // Office hours record continuously (mode 1), nights on events (mode 2), holidays off.
            s[4 + 24 * row + hour] = static_cast<char>(row == 7 ? 0 : (hour >= 8 && hour < 18 ? 1 : 2));
    return s;
}

std::string DefaultHolidayIni() {
    return "[holiday]\r\n54_1_1=1\r\n54_5_5=1\r\n54_12_25=1\r\n";
}

std::string DefaultInfoIni(const RecorderIdentity& id) {
    return "[sysinfo]\r\nversion=" + id.version + "\r\nsystitle=" + id.title +
           "\r\nsysapp=recsim\r\ncurrentmedia=hdd\r\nfree=931G\r\nipaddr=" + id.address +
           "\r\nmacaddr=02:00:00:00:00:01\r\nmicom=1.00\r\n";
}

} // namespace recgen
