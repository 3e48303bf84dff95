// The unit's base: dotted-address test, resolvers, error texts and the run-time library binding.
#include "net/WSocket.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using nettest::Raised;
using nettest::TSocketSet;

struct DottedCase {
    const char* Text;
    bool Dotted;
};

TEST(WSocketIsDottedIP, AcceptsFourPartsUpTo255) {
    const std::string fortyDigits(40, '9');
    const DottedCase cases[] = {
        {"10.0.0.1", true},   {"  10.0.0.1 ", true}, {"255.255.255.255", true},
        {"0.0.0.0", true},    {"10.0.0", false},     {"10..0.1", false},
        {".1.2.3", false},    {"1.2.3.", false},     {"1.2.3.4.5", false},
        {"1.2.3.4x", false},  {"1 .2.3.4", false},   {"256.1.1.1", false},
        {"1.2.3.256", false}, {"", false},           {"   ", false},
        {"a.b.c.d", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WSocketIsDottedIP(c.Text), c.Dotted) << '"' << c.Text << '"';
    // A part of 40 digits would overflow a 32-bit accumulator.
    EXPECT_FALSE(WSocketIsDottedIP("1.2.3." + fortyDigits));
    EXPECT_FALSE(WSocketIsDottedIP(fortyDigits + ".1.2.3"));
    EXPECT_FALSE(WSocketIsDottedIP("4294967297.1.2.3")) << "2^32 + 1 must not wrap to 1";
}

struct PortCase {
    std::string Port;
    std::string Proto;
    int Expected; // -1: raises Error
    std::string Error;
};

TEST(WSocketResolvePort, DigitsServicesAndLimits) {
    const std::string invalidPort = "WSocketResolvePort: Invalid Port.";
    const std::string invalidProto = "WSocketResolvePort: Invalid Proto.";
    const PortCase cases[] = {
        {"80", "tcp", 80, ""},
        {"80abc", "tcp", 80, ""},
        {"0", "tcp", 0, ""},
        {"65535", "udp", 65535, ""},
        {"5000 ", "tcp", 5000, ""},
        {"http", "tcp", 80, ""},
        {"70000", "tcp", -1, invalidPort},
        {"65536", "tcp", -1, invalidPort},
        {"99999999999999999999", "tcp", -1, invalidPort},
        {std::string(32, '1'), "tcp", -1, invalidPort},
        {"", "tcp", -1, invalidPort},
        {"80", "", -1, invalidProto},
        {"80", std::string(32, 'p'), -1, invalidProto},
        {"no-such-service", "tcp", -1,
         "WSocketResolvePort: Cannot convert port 'no-such-service', Error #11004"},
    };
    for (const auto& c : cases) {
        if (c.Expected >= 0) {
            EXPECT_EQ(WSocketResolvePort(c.Port, c.Proto), c.Expected) << c.Port;
        } else {
            EXPECT_EQ(Raised([&] { WSocketResolvePort(c.Port, c.Proto); }), c.Error)
                << c.Port << "/" << c.Proto;
        }
    }
}

TEST(WSocketResolveProto, NamesNumbersAndLimits) {
    const std::string invalid = "WSocketResolveProto: Invalid Protocol.";
    EXPECT_EQ(WSocketResolveProto(" UDP "), 17);
    EXPECT_EQ(WSocketResolveProto("6"), 6);
    EXPECT_EQ(WSocketResolveProto("tcp"), 6);
    EXPECT_EQ(WSocketResolveProto("Raw"), 255);
    EXPECT_EQ(WSocketResolveProto("17x"), 17);
    EXPECT_EQ(WSocketResolveProto("icmp"), 1);
    EXPECT_EQ(Raised([] { WSocketResolveProto("256"); }), invalid);
    EXPECT_EQ(Raised([] { WSocketResolveProto("4294967302"); }), invalid) << "must not wrap to 6";
    EXPECT_EQ(Raised([] { WSocketResolveProto(""); }), invalid);
    EXPECT_EQ(Raised([] { WSocketResolveProto(std::string(32, 'x')); }), invalid);
    EXPECT_EQ(Raised([] { WSocketResolveProto("no-such-proto"); }),
              "WSocketResolveProto: Cannot convert protocol 'no-such-proto', Error #11004");
}

TEST(WSocketResolveHost, DottedBroadcastNamesAndBadInput) {
    EXPECT_EQ(WSocketResolveHost("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(WSocketResolveHost(" 127.0.0.1 "), winsock::htonl(0x7F000001u));
    EXPECT_EQ(WSocketResolveHost("localhost"), winsock::htonl(0x7F000001u));
    EXPECT_EQ(Raised([] { WSocketResolveHost(""); }), "WSocketResolveHost: '' Invalid Hostname.");
    const std::string longName(257, 'a');
    EXPECT_EQ(Raised([&] { WSocketResolveHost(longName); }),
              "WSocketResolveHost: '" + longName + "' Invalid Hostname.");
    // Three parts are no dotted address: the name lookup decides, and never as "Invalid IP address".
    const std::string threeParts = Raised([] { WSocketResolveHost("1.2.3"); });
    EXPECT_EQ(threeParts.find("Invalid IP address"), std::string::npos) << threeParts;
}

TEST(WSocketErrorDesc, KnownAndUnknownCodes) {
    const std::pair<int, const char*> cases[] = {
        {0, "No Error"},
        {10035, "Operation would block"},
        {10054, "Connection reset by peer"},
        {10057, "Socket is not connected"},
        {10061, "Connection refused"},
        {10093, "WinSock not initialized"},
        {11004, "No Data"},
        {10090, "Not a WinSock error"},
        {10072, "Not a WinSock error"},
        {-1, "Not a WinSock error"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(WSocketErrorDesc(code), text) << code;
}

TEST(WSocketLibrary, LoadedOnFirstCallAndUnloadedWithTheLastSocket) {
    ASSERT_EQ(WSocketInstanceCount(), 0) << "another test left a socket behind";
    WSocketUnloadWinsock();
    {
        TSocketSet sockets;
        TWSocket* socket = sockets.Make();
        EXPECT_FALSE(WSocketLibraryLoaded()) << "constructing does not load";
        (void)WSocket_htons(1);
        EXPECT_TRUE(WSocketLibraryLoaded());
        // Once loaded, the version stays.
        socket->OnError = TNotifyEvent([](TObject*) {});
        socket->SetReqVerLow(2);
        EXPECT_EQ(socket->ReqVerLow(), 1);
    }
    EXPECT_FALSE(WSocketLibraryLoaded()) << "the last socket unloads";
    EXPECT_EQ(WSocketInstanceCount(), 0);
}

TEST(WSocketLibrary, VersionSetterRaisesOnceLoaded) {
    TSocketSet sockets;
    TWSocket* socket = sockets.Make();
    (void)WSocket_htons(1);
    const std::string message = Raised([&] { socket->SetReqVerHigh(2); });
    EXPECT_NE(message.find("in function SetReqVerHigh: WinSock version can't be changed now"),
              std::string::npos)
        << message;
    EXPECT_EQ(socket->ReqVerHigh(), 1);
}

TEST(WSocketLibrary, RefusedStartUpIsReportedWithItsError) {
    ASSERT_EQ(WSocketInstanceCount(), 0);
    WSocketUnloadWinsock();
    ASSERT_TRUE(WSocketSetReqVerLow(0));
    EXPECT_EQ(Raised([] { WSocketGetProc("socket"); }), "wsock32.dll: WSAStartup error #10092");
    WSocketUnloadWinsock();
    ASSERT_TRUE(WSocketSetReqVerLow(1));
    EXPECT_NE(WSocketGetProc("socket"), nullptr);
    EXPECT_EQ(Raised([] { WSocketGetProc("NoSuchEntry"); }),
              "Procedure NoSuchEntry not found in wsock32.dll Error #127");
    EXPECT_EQ(Raised([] { WSocket2GetProc("NoSuchEntry"); }),
              "Procedure NoSuchEntry not found in ws2_32.dll Error #127");
    EXPECT_NE(WSocket2GetProc("WSAIoctl"), nullptr);
    WSocketUnloadWinsock();
    EXPECT_FALSE(WSocketLibraryLoaded());
}

TEST(WSocketLibrary, InfoAndForcedLoad) {
    ASSERT_EQ(WSocketInstanceCount(), 0);
    winsock::WSAData info{};
    WinsockInfo(info);
    EXPECT_EQ(info.wVersion, 0x0101);
    EXPECT_FALSE(WSocketLibraryLoaded()) << "WinsockInfo unloads when nobody holds the library";
    WSocketForceLoadWinsock();
    WSocketForceLoadWinsock();
    EXPECT_EQ(WSocketInstanceCount(), 1) << "forcing twice holds once";
    EXPECT_TRUE(WSocketLibraryLoaded());
    WSocketCancelForceLoadWinsock();
    EXPECT_FALSE(WSocketLibraryLoaded());
    EXPECT_EQ(WSocketInstanceCount(), 0);
}

TEST(LocalAddresses, HostNameAndAddressList) {
    EXPECT_FALSE(LocalHostName().empty());
    TStrings* list = LocalIPList();
    ASSERT_GT(list->Count(), 0);
    for (int i = 0; i < list->Count(); ++i)
        EXPECT_TRUE(WSocketIsDottedIP(list->Get(i))) << list->Get(i);
    // Interface addresses, not the host file's alias of the host name.
    EXPECT_EQ(list->IndexOf("127.0.1.1"), -1);
}

} // namespace
