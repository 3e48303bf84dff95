// The Winsock stand-in's calls outside the notifications: options, address texts, lookups, errors.
#include "platform/win/Winsock.h"

#include "tests/platform/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace winsock;

class WinsockCalls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WSAStartup(0x0101, &data_), 0); }
    void TearDown() override { WSACleanup(); }
    WSAData data_{};
};

TEST_F(WinsockCalls, StartupIsCountedAndReportsVersionOneOne) {
    EXPECT_EQ(data_.wVersion, 0x0101);
    WSAData second{};
    EXPECT_EQ(WSAStartup(0x0202, &second), 0);
    EXPECT_EQ(WSACleanup(), 0);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_NE(s, INVALID_SOCKET) << "one start-up is still held";
    closesocket(s);
    EXPECT_EQ(WSAStartup(0x0000, &second), WSAVERNOTSUPPORTED);
    EXPECT_EQ(WSAStartup(0x0101, nullptr), WSAEFAULT);
}

TEST(WinsockStartup, CallsBeforeStartupFail) {
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(gethostbyname("localhost"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
}

TEST_F(WinsockCalls, LastErrorIsPerThreadAndSharedWithTheSystemError) {
    WSASetLastError(WSAECONNREFUSED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(WSAECONNREFUSED));
    int seen = -1;
    std::thread other([&] { seen = WSAGetLastError(); });
    other.join();
    EXPECT_EQ(seen, 0);
}

struct AddressCase {
    const char* Text;
    winsock::u_long Expected; // host order
};

TEST_F(WinsockCalls, InetAddrForms) {
    const AddressCase cases[] = {
        {"10.0.0.1", 0x0A000001u},        {"239.1.2.3 : 5000", 0xEF010203u},
        {"255.255.255.255", 0xFFFFFFFFu}, {"127.1", 0x7F000001u},
        {"1.2.3", 0x01020003u},           {"0x7f.0.0.1", 0x7F000001u},
        {"010.0.0.1", 0x08000001u},       {"3232235777", 0xC0A80101u},
        {"256.1.1.1", INADDR_NONE},       {"1.2.3.4.5", INADDR_NONE},
        {"1.2.3.4x", INADDR_NONE},        {"", INADDR_NONE},
        {"host.example", INADDR_NONE},    {"1..2.3", INADDR_NONE},
        {"08.1.1.1", INADDR_NONE},        {"4294967296", INADDR_NONE},
        {"1.2.65536", INADDR_NONE},       {" 1.2.3.4", INADDR_NONE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ntohl(inet_addr(c.Text)), c.Expected) << c.Text;
    EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);
}

TEST_F(WinsockCalls, InetNtoaRoundTrip) {
    in_addr a{};
    a.s_addr = inet_addr("192.168.100.254");
    EXPECT_STREQ(inet_ntoa(a), "192.168.100.254");
    EXPECT_EQ(htons(0x1234), ntohs(0x1234));
    EXPECT_EQ(ntohl(htonl(0x01020304u)), 0x01020304u);
    const u_short net = htons(0x1234);
    unsigned char bytes[2];
    std::memcpy(bytes, &net, 2);
    EXPECT_EQ(bytes[0], 0x12) << "network order is big-endian";
}

TEST_F(WinsockCalls, OptionsRoundTripAndReportBadArguments) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(s, INVALID_SOCKET);
    const DWORD on = 0xFFFFFFFFu;
    int value = 0;
    int length = sizeof value;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on), 0);
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(length, 4);
    ASSERT_EQ(setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on), 0);
    ASSERT_EQ(getsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(value, 1);
    const int size = 32768;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size), 0);
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(value, size) << "the size asked for reads back";
    const linger abort{1, 0};
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort), 0);
    linger back{};
    length = sizeof back;
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&back), &length), 0);
    EXPECT_EQ(back.l_onoff, 1);
    EXPECT_EQ(back.l_linger, 0);
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(value, SOCK_STREAM);

    struct Bad {
        int Level;
        int Option;
        int Length;
        int Error;
    };
    const Bad bad[] = {
        {SOL_SOCKET, 0x7777, 4, WSAENOPROTOOPT},       {1234, SO_REUSEADDR, 4, WSAEINVAL},
        {SOL_SOCKET, SO_LINGER, 2, WSAEFAULT},         {SOL_SOCKET, SO_RCVBUF, 2, WSAEFAULT},
        {IPPROTO_IP, IP_ADD_MEMBERSHIP, 4, WSAEFAULT},
    };
    for (const auto& b : bad) {
        EXPECT_EQ(setsockopt(s, b.Level, b.Option, reinterpret_cast<const char*>(&on), b.Length),
                  SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), b.Error) << b.Level << "/" << b.Option;
    }
    length = 2;
    EXPECT_EQ(getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&value), &length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    closesocket(s);
}

TEST_F(WinsockCalls, IoctlsAndControlCodes) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    tcp_keepalive values{1, 30000, 1000};
    DWORD returned = 99;
    EXPECT_EQ(
        WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr), 0);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, 8, nullptr, 0, &returned, nullptr, nullptr),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    DWORD one = 1;
    EXPECT_EQ(WSAIoctl(s, SIO_RCVALL, &one, sizeof one, nullptr, 0, &returned, nullptr, nullptr),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEOPNOTSUPP);

    winsock::u_long arg = 1;
    EXPECT_EQ(ioctlsocket(s, FIONBIO, &arg), 0);
    wintest::NoteWindow window;
    ASSERT_EQ(WSAAsyncSelect(s, window.Handle, wintest::kSocketMessage, FD_READ), 0);
    arg = 0;
    EXPECT_EQ(ioctlsocket(s, FIONBIO, &arg), SOCKET_ERROR) << "a registered socket cannot block";
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(ioctlsocket(s, FIONREAD, nullptr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    EXPECT_EQ(ioctlsocket(s, 0x12345, &arg), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(WSAAsyncSelect(s, reinterpret_cast<HWND>(0x42), wintest::kSocketMessage, FD_READ),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    closesocket(s);
}

TEST_F(WinsockCalls, AddressArgumentsAreChecked) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&sa), 8), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    sa.sin_family = 23;
    EXPECT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
    sockaddr_in name{};
    int length = sizeof name;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&name), &length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL) << "an unbound socket has no name";
    sa.sin_family = AF_INET;
    ASSERT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa), 0);
    length = 8;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&name), &length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    length = sizeof name;
    ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&name), &length), 0);
    EXPECT_NE(name.sin_port, 0);
    EXPECT_EQ(getpeername(s, reinterpret_cast<sockaddr*>(&name), &length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTCONN);
    EXPECT_EQ(recv(s, nullptr, 10, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    EXPECT_EQ(send(s, "x", -1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(socket(AF_INET, 9, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAESOCKTNOSUPPORT);
    EXPECT_EQ(socket(23, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
    closesocket(s);
}

TEST_F(WinsockCalls, LocalHostNameMapsToInterfaceAddresses) {
    char name[256];
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    EXPECT_EQ(gethostname(name, 1), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    hostent* host = gethostbyname(name);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->h_addrtype, AF_INET);
    EXPECT_EQ(host->h_length, 4);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    bool sawLoopback = false;
    for (char** a = host->h_addr_list; *a != nullptr; ++a) {
        in_addr address{};
        std::memcpy(&address.s_addr, *a, 4);
        const bool loopback = (ntohl(address.s_addr) >> 24) == 127;
        EXPECT_FALSE(sawLoopback && !loopback) << "non-loopback addresses come first";
        sawLoopback = sawLoopback || loopback;
    }
}

TEST_F(WinsockCalls, ServiceAndProtocolTables) {
    servent* http = getservbyname("http", "tcp");
    ASSERT_NE(http, nullptr);
    EXPECT_EQ(ntohs(static_cast<u_short>(http->s_port)), 80);
    protoent* udp = getprotobyname("udp");
    ASSERT_NE(udp, nullptr);
    EXPECT_EQ(udp->p_proto, 17);
    EXPECT_EQ(getservbyname("no-such-service-here", "tcp"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANO_DATA);
    EXPECT_EQ(getprotobyname("no-such-protocol"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANO_DATA);
    hostent* loop = gethostbyname("127.0.0.1");
    ASSERT_NE(loop, nullptr);
    in_addr first{};
    std::memcpy(&first.s_addr, loop->h_addr_list[0], 4);
    EXPECT_STREQ(inet_ntoa(first), "127.0.0.1");
    EXPECT_EQ(gethostbyname("name.that.does.not.exist.invalid"), nullptr);
    const int error = WSAGetLastError();
    EXPECT_TRUE(error == WSAHOST_NOT_FOUND || error == WSATRY_AGAIN || error == WSANO_DATA) << error;
}

class AsyncLookup : public WinsockCalls {
protected:
    struct Reply {
        WPARAM Task = 0;
        LPARAM LParam = 0;
    };
    std::vector<Reply> replies_;
    HWND window_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_USER + 2) replies_.push_back(Reply{m.WParam, m.LParam});
    });
    ~AsyncLookup() override { DeallocateHWnd(window_); }
};

TEST_F(AsyncLookup, NameLookupFillsTheBufferAndPostsItsReply) {
    alignas(8) char buffer[MAXGETHOSTSTRUCT];
    HANDLE task = WSAAsyncGetHostByName(window_, WM_USER + 2, "127.0.0.1", buffer, sizeof buffer);
    ASSERT_NE(task, nullptr);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !replies_.empty(); }, 4000));
    EXPECT_EQ(replies_[0].Task, reinterpret_cast<WPARAM>(task));
    EXPECT_EQ(WSAGETASYNCERROR(replies_[0].LParam), 0);
    EXPECT_GT(WSAGETASYNCBUFLEN(replies_[0].LParam), sizeof(hostent));
    auto* host = reinterpret_cast<hostent*>(buffer);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    EXPECT_EQ(std::memcmp(host->h_addr_list[0], "\x7f\x00\x00\x01", 4), 0);
    EXPECT_EQ(WSACancelAsyncRequest(task), SOCKET_ERROR) << "a finished lookup cannot be cancelled";
    EXPECT_EQ(WSAGetLastError(), WSAEALREADY) << "the handle was ours: the lookup is over, not unknown";
}

TEST_F(AsyncLookup, SmallBufferGivesNoBuffersWithTheSizeNeeded) {
    alignas(8) char buffer[40];
    HANDLE task = WSAAsyncGetHostByName(window_, WM_USER + 2, "127.0.0.1", buffer, sizeof buffer);
    ASSERT_NE(task, nullptr);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !replies_.empty(); }, 4000));
    EXPECT_EQ(WSAGETASYNCERROR(replies_[0].LParam), WSAENOBUFS);
    EXPECT_GT(WSAGETASYNCBUFLEN(replies_[0].LParam), sizeof buffer);
}

TEST_F(AsyncLookup, CancelledLookupNeverReplies) {
    alignas(8) char buffer[MAXGETHOSTSTRUCT];
    int cancelled = 0;
    for (int i = 0; i < 5; ++i) {
        HANDLE task = WSAAsyncGetHostByName(window_, WM_USER + 2, "127.0.0.1", buffer, sizeof buffer);
        ASSERT_NE(task, nullptr);
        if (WSACancelAsyncRequest(task) == 0) ++cancelled;
    }
    wintest::PumpFor(300);
    EXPECT_EQ(replies_.size(), static_cast<std::size_t>(5 - cancelled)) << cancelled << " cancelled";
    EXPECT_EQ(WSACancelAsyncRequest(reinterpret_cast<HANDLE>(0x7FFFFFF)), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(WSAAsyncGetHostByName(window_, WM_USER + 2, nullptr, buffer, sizeof buffer), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

} // namespace
