#include "client/LocalAddress.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

TEST(LocalAddress, FourBytesInOrderAsDecimals) {
    const std::pair<std::array<BYTE, 4>, const char*> cases[] = {
        {{192, 168, 1, 20}, "192.168.1.20"},
        {{10, 0, 0, 1}, "10.0.0.1"},
        {{0, 0, 0, 0}, "0.0.0.0"},
        {{255, 255, 255, 255}, "255.255.255.255"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatDottedAddress(bytes.data()), text);
}

TEST(LocalAddress, TheLocalHostsFirstAddressOrNothing) {
    const std::string address = FindLocalAddress();
    if (address.empty()) GTEST_SKIP() << "no IPv4 address on this host";
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(address, parts, std::regex(R"((\d+)\.(\d+)\.(\d+)\.(\d+))"))) << address;
    for (int i = 1; i <= 4; ++i)
        EXPECT_LE(std::stoi(parts[i].str()), 255);
    // Asking twice gives the same answer: the socket library was stopped and started cleanly.
    EXPECT_EQ(FindLocalAddress(), address);
}

} // namespace
