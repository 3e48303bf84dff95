#include "client/AddressBook.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

TEST(ParseDottedAddress, FourGroupsOfAtMost255AndNothingElse) {
    struct Case {
        const char* text;
        bool ok;
        TIPv4 address;
    };
    const Case cases[] = {
        {"192.168.0.10", true, {192, 168, 0, 10}},
        {"0.0.0.0", true, {0, 0, 0, 0}},
        {"255.255.255.255", true, {255, 255, 255, 255}},
        {"010.001.000.009", true, {10, 1, 0, 9}},
        {"192.168.0.300", false, {}},
        {"10.0.0.1 ", false, {}},
        {" 10.0.0.1", false, {}},
        {"1.2.3", false, {}},
        {"1.2.3.4.5", false, {}},
        {"1..2.3", false, {}},
        {"1.2.3.", false, {}},
        {".1.2.3", false, {}},
        {"1.2.3.4a", false, {}},
        {"1.2.-3.4", false, {}},
        {"99999999999999999999.1.1.1", false, {}},
        {"", false, {}},
        {"recorder.local", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TIPv4 address{9, 9, 9, 9};
        EXPECT_EQ(ParseDottedAddress(c.text, address), c.ok);
        if (c.ok) {
            EXPECT_EQ(address, c.address);
        }
    }
}

TEST(ResolveIPv4, DottedTextOrAHostName) {
    std::string dotted;
    EXPECT_TRUE(ResolveIPv4("10.1.2.3", dotted));
    EXPECT_EQ(dotted, "10.1.2.3");
    EXPECT_TRUE(ResolveIPv4("localhost", dotted));
    EXPECT_EQ(dotted.rfind("127.", 0), 0u) << dotted;
    dotted = "unchanged";
    EXPECT_FALSE(ResolveIPv4("no-such-recorder.invalid", dotted));
    EXPECT_FALSE(ResolveIPv4("", dotted));
    EXPECT_EQ(dotted, "unchanged");
}

TEST(ValidPortText, DigitsOnlyOneTo65534) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {{"5000", true},   {"1", true},      {"65534", true}, {"65535", false},
                          {"0", false},     {"", false},      {"-1", false},   {"+80", false},
                          {"50 00", false}, {"5000 ", false}, {"abc", false},  {"070000", false},
                          {"00080", true},  {"99999", false}};
    for (const Case& c : cases)
        EXPECT_EQ(ValidPortText(c.text), c.ok) << c.text;
}

TEST(AddressBook, EntriesGoOnTopOnceAndSplitAtTheFirstColon) {
    std::vector<std::string> lines = {"10.0.0.9:5000"};
    EXPECT_TRUE(AddAddressBookEntry(lines, AddressBookEntry("10.1.2.3", "5000")));
    EXPECT_FALSE(AddAddressBookEntry(lines, AddressBookEntry("10.1.2.3", "5000")));
    EXPECT_TRUE(AddAddressBookEntry(lines, AddressBookEntry("10.1.2.3", "6000")));
    EXPECT_EQ(lines, (std::vector<std::string>{"10.1.2.3:6000", "10.1.2.3:5000", "10.0.0.9:5000"}));

    struct Case {
        const char* line;
        const char* address;
        const char* port;
        bool hasPort;
    };
    const Case cases[] = {
        {"10.1.2.3:5000", "10.1.2.3", "5000", true},   {"recorder:7000:x", "recorder", "7000:x", true},
        {"hand-edited", "hand-edited", "keep", false}, {":5000", "", "5000", true},
        {"10.0.0.1:", "10.0.0.1", "", true},
    };
    for (const Case& c : cases) {
        std::string address, port = "keep";
        bool hasPort = false;
        SplitAddressBookEntry(c.line, address, port, hasPort);
        EXPECT_EQ(address, c.address) << c.line;
        EXPECT_EQ(port, c.port) << c.line;
        EXPECT_EQ(hasPort, c.hasPort) << c.line;
    }
}

TEST(AddressBook, FileRoundTripAndForeignLineEnds) {
    TempDir dir;
    const std::string path = dir.File("ipaddress.lst");
    EXPECT_TRUE(ReadAddressBook(path).empty());
    const std::vector<std::string> lines = {"10.1.2.3:5000", "recorder.example:6000", ""};
    ASSERT_TRUE(WriteAddressBook(path, lines));
    EXPECT_EQ(ReadFileBytes(path), "10.1.2.3:5000\nrecorder.example:6000\n\n");
    EXPECT_EQ(ReadAddressBook(path), lines);

    WriteFileBytes(path, "1.1.1.1:5000\r\n2.2.2.2:5002\r\nlast");
    EXPECT_EQ(ReadAddressBook(path), (std::vector<std::string>{"1.1.1.1:5000", "2.2.2.2:5002", "last"}));

    EXPECT_FALSE(WriteAddressBook(dir.File("no-folder/ipaddress.lst"), lines));
}

} // namespace
