// The notification contract of the socket stand-in, row by row, against a scripted loopback peer.
#include "platform/win/Winsock.h"

#include "tests/platform/win/LoopbackPeer.h"
#include "tests/platform/win/WinTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using namespace winsock;
using wintest::kSocketMessage;
using wintest::Note;
using wintest::NoteWindow;
using wintest::PumpFor;
using wintest::ThreadCpuSeconds;

constexpr long kConnectMask = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE; // 59
constexpr long kDupMask = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;                 // 51

class SocketEvents : public ::testing::Test {
protected:
    void SetUp() override {
        WSAData data;
        ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    }
    void TearDown() override {
        for (SOCKET s : opened_)
            closesocket(s);
        for (int fd : peers_)
            peer::Close(fd);
        WSACleanup();
    }

    SOCKET NewSocket(int type = SOCK_STREAM) {
        SOCKET s = socket(AF_INET, type, type == SOCK_STREAM ? IPPROTO_TCP : IPPROTO_UDP);
        opened_.push_back(s);
        return s;
    }
    int Keep(int fd) {
        peers_.push_back(fd);
        return fd;
    }
    static sockaddr_in Loopback(std::uint16_t port) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return sa;
    }
    static int Connect(SOCKET s, std::uint16_t port) {
        const sockaddr_in sa = Loopback(port);
        return connect(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    }

    // A registered client connected to a peer socket; the connect's notifications are consumed.
    SOCKET Connected(int& server, long mask = kConnectMask) {
        std::uint16_t port = 0;
        const int listener = Keep(peer::Listen(port));
        SOCKET s = NewSocket();
        EXPECT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, mask), 0);
        EXPECT_EQ(Connect(s, port), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        server = Keep(peer::Accept(listener));
        EXPECT_TRUE(window_.WaitFor(s, FD_WRITE));
        window_.Notes.clear();
        return s;
    }

    NoteWindow window_;
    std::vector<SOCKET> opened_;
    std::vector<int> peers_;
};

TEST_F(SocketEvents, ConnectGivesConnectThenWrite) {
    std::uint16_t port = 0;
    const int listener = Keep(peer::Listen(port));
    SOCKET s = NewSocket();
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, kConnectMask), 0);
    EXPECT_TRUE(window_.Notes.empty()) << "an unconnected stream has nothing to announce";
    ASSERT_EQ(Connect(s, port), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    Keep(peer::Accept(listener));
    ASSERT_TRUE(window_.WaitFor(s, FD_WRITE));
    PumpFor(50);
    const std::vector<Note> expected = {{s, FD_CONNECT, 0}, {s, FD_WRITE, 0}};
    EXPECT_EQ(window_.For(s), expected);
}

TEST_F(SocketEvents, RefusedConnectGivesOnlyConnectWithError) {
    SOCKET s = NewSocket();
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, kConnectMask), 0);
    ASSERT_EQ(Connect(s, peer::ClosedPort()), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_TRUE(window_.WaitFor(s, FD_CONNECT));
    PumpFor(100);
    const std::vector<Note> expected = {{s, FD_CONNECT, WSAECONNREFUSED}};
    EXPECT_EQ(window_.For(s), expected) << "no close, read or write after a failed connect";
}

TEST_F(SocketEvents, OneReadPerReceiveAndPartialReadsAreAnnouncedAgain) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_TRUE(peer::SendAll(server, "abcdef"));
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    ASSERT_TRUE(peer::SendAll(server, "ghi"));
    PumpFor(80);
    EXPECT_EQ(window_.Count(s, FD_READ), 1u) << "without a recv there is no second FD_READ";

    char buffer[64];
    ASSERT_EQ(recv(s, buffer, 2, 0), 2);
    ASSERT_TRUE(window_.WaitFor(s, FD_READ, 2)) << "data left after a partial read is announced again";
    ASSERT_EQ(recv(s, buffer, 2, MSG_PEEK), 2);
    ASSERT_TRUE(window_.WaitFor(s, FD_READ, 3)) << "a peek re-arms too";
    ASSERT_EQ(recv(s, buffer, sizeof buffer, 0), 7);
    EXPECT_EQ(std::string(buffer, 7), "cdefghi");
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    PumpFor(80);
    EXPECT_EQ(window_.Count(s, FD_READ), 3u) << "nothing waits, nothing is announced";
}

TEST_F(SocketEvents, UnreadDataWithReadOutstandingDoesNotSpinTheLoop) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_TRUE(peer::SendAll(server, std::string(1000, 'u')));
    peer::Close(server); // readable and at end of stream: both would keep a level-triggered poll busy
    peers_.pop_back();
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    const double cpu0 = ThreadCpuSeconds();
    PumpFor(500);
    const double share = (ThreadCpuSeconds() - cpu0) / 0.5;
    EXPECT_LT(share, 0.25) << "a socket with nothing armed stays out of the poll set";
    EXPECT_EQ(window_.Count(s, FD_READ), 1u);
    EXPECT_EQ(window_.Count(s, FD_CLOSE), 0u);
}

TEST_F(SocketEvents, PeerCloseWithUnreadDataGivesReadBeforeClose) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_TRUE(peer::SendAll(server, "tail"));
    peer::Close(server);
    peers_.pop_back();
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    PumpFor(80);
    EXPECT_EQ(window_.Count(s, FD_CLOSE), 0u) << "close waits until the data is read";
    char buffer[16];
    ASSERT_EQ(recv(s, buffer, sizeof buffer, 0), 4);
    ASSERT_TRUE(window_.WaitFor(s, FD_CLOSE));
    PumpFor(50);
    const std::vector<Note> expected = {{s, FD_READ, 0}, {s, FD_CLOSE, 0}};
    EXPECT_EQ(window_.For(s), expected);
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 0);
}

TEST_F(SocketEvents, ResetGivesCloseWithConnectionReset) {
    int server = -1;
    SOCKET s = Connected(server);
    peer::Reset(server);
    peers_.pop_back();
    ASSERT_TRUE(window_.WaitFor(s, FD_CLOSE));
    PumpFor(50);
    const std::vector<Note> expected = {{s, FD_CLOSE, WSAECONNRESET}};
    EXPECT_EQ(window_.For(s), expected);
}

TEST_F(SocketEvents, ResetSeenByAReceiveIsReportedByClose) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_TRUE(peer::SendAll(server, "x"));
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    peer::Reset(server);
    peers_.pop_back();
    char buffer[8];
    // The reset may or may not overtake the byte; either way the close carries the reset.
    for (int i = 0; i < 3 && recv(s, buffer, sizeof buffer, 0) != SOCKET_ERROR; ++i) {
    }
    ASSERT_TRUE(window_.WaitFor(s, FD_CLOSE));
    EXPECT_EQ(window_.For(s).back(), (Note{s, FD_CLOSE, WSAECONNRESET}));
}

TEST_F(SocketEvents, WouldBlockSendThenWriteWhenSpaceIsFree) {
    int server = -1;
    SOCKET s = Connected(server);
    const int small = 4096;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&small), sizeof small), 0);
    peer::SetReceiveBuffer(server, 4096);
    ASSERT_EQ(send(s, "hello", 5, 0), 5);
    PumpFor(50);
    EXPECT_EQ(window_.Count(s, FD_WRITE), 0u) << "never after a successful send";

    const std::string chunk(16384, 'z');
    int error = 0;
    for (int i = 0; i < 1000 && error == 0; ++i)
        if (send(s, chunk.data(), static_cast<int>(chunk.size()), 0) == SOCKET_ERROR)
            error = WSAGetLastError();
    ASSERT_EQ(error, WSAEWOULDBLOCK);
    PumpFor(50);
    EXPECT_EQ(window_.Count(s, FD_WRITE), 0u);
    std::size_t drained = 0;
    ASSERT_TRUE(wintest::PumpUntil([&] {
        drained += peer::Drain(server, 5);
        return window_.Count(s, FD_WRITE) > 0;
    }));
    EXPECT_GT(drained, 0u);
    PumpFor(50);
    EXPECT_EQ(window_.Count(s, FD_WRITE), 1u);
}

TEST_F(SocketEvents, MaskZeroSilencesAndRegistrationAnnouncesWaitingData) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, 0, 0), 0);
    ASSERT_TRUE(peer::SendAll(server, "paused"));
    PumpFor(100);
    EXPECT_TRUE(window_.Notes.empty());
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, kDupMask), 0);
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    PumpFor(30);
    const std::vector<Note> expected = {{s, FD_WRITE, 0}, {s, FD_READ, 0}};
    EXPECT_EQ(window_.For(s), expected);
}

TEST_F(SocketEvents, RegistrationAnnouncesAnEarlierPeerClose) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, 0, 0), 0);
    peer::Close(server);
    peers_.pop_back();
    PumpFor(50);
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, FD_READ | FD_CLOSE), 0);
    ASSERT_TRUE(window_.WaitFor(s, FD_CLOSE));
    EXPECT_EQ(window_.Count(s, FD_READ), 0u);
}

TEST_F(SocketEvents, CloseSocketDropsQueuedNotificationsAndNumbersAreNotReused) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_TRUE(peer::SendAll(server, "queued"));
    MSG msg;
    bool queued = false;
    for (int i = 0; i < 200 && !queued; ++i) {
        queued = PeekMessage(&msg, window_.Handle, kSocketMessage, kSocketMessage, PM_NOREMOVE) != FALSE;
        if (!queued) Sleep(1);
    }
    ASSERT_TRUE(queued);
    EXPECT_EQ(msg.wParam, s);
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    ASSERT_EQ(closesocket(s), 0);
    opened_.clear();
    PumpFor(50);
    EXPECT_TRUE(window_.Notes.empty()) << "the queued FD_READ went with the socket";

    EXPECT_EQ(closesocket(s), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    char buffer[4];
    EXPECT_EQ(recv(s, buffer, 4, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    int server2 = -1;
    SOCKET next = Connected(server2);
    EXPECT_NE(next, s);
    ASSERT_TRUE(peer::SendAll(server2, "fresh"));
    ASSERT_TRUE(window_.WaitFor(next, FD_READ));
    for (const Note& n : window_.Notes)
        EXPECT_EQ(n.Socket, next);
}

TEST_F(SocketEvents, SocketNumbersAreNotDescriptors) {
    SOCKET a = NewSocket();
    SOCKET b = NewSocket();
    EXPECT_NE(a, b);
    EXPECT_GE(a, 0x1000u);
    EXPECT_GE(b, 0x1000u);
    EXPECT_EQ(closesocket(3), SOCKET_ERROR) << "a descriptor number is no socket";
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(SocketEvents, SendToAClosedPeerNeverRaisesSigpipe) {
    auto previous = std::signal(SIGPIPE, SIG_DFL);
    int server = -1;
    SOCKET s = Connected(server);
    peer::Close(server);
    peers_.pop_back();
    int error = 0;
    for (int i = 0; i < 200 && error == 0; ++i) {
        if (send(s, "data", 4, 0) == SOCKET_ERROR) error = WSAGetLastError();
        Sleep(1);
    }
    std::signal(SIGPIPE, previous);
    EXPECT_TRUE(error == WSAECONNRESET || error == WSAECONNABORTED) << error;
}

TEST_F(SocketEvents, SendAfterOwnShutdownAnswersShutdown) {
    int server = -1;
    SOCKET s = Connected(server);
    ASSERT_EQ(shutdown(s, SD_SEND), 0);
    EXPECT_EQ(send(s, "x", 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAESHUTDOWN);
}

TEST_F(SocketEvents, AcceptsEveryWaitingConnection) {
    SOCKET listener = NewSocket();
    const sockaddr_in any = Loopback(0);
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(listen(listener, 5), 0);
    ASSERT_EQ(
        WSAAsyncSelect(listener, window_.Handle, kSocketMessage, FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE),
        0);
    sockaddr_in bound{};
    int length = sizeof bound;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length), 0);
    for (int i = 0; i < 3; ++i)
        Keep(peer::Connect(ntohs(bound.sin_port)));

    std::vector<SOCKET> accepted;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(window_.WaitFor(listener, FD_ACCEPT, static_cast<std::size_t>(i + 1))) << i;
        sockaddr_in from{};
        int fromLength = sizeof from;
        SOCKET a = accept(listener, reinterpret_cast<sockaddr*>(&from), &fromLength);
        ASSERT_NE(a, INVALID_SOCKET);
        EXPECT_EQ(fromLength, static_cast<int>(sizeof from));
        EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
        opened_.push_back(a);
        accepted.push_back(a);
    }
    PumpFor(50);
    EXPECT_EQ(window_.Count(listener, FD_ACCEPT), 3u) << "one announcement per waiting connection";
    EXPECT_EQ(accept(listener, nullptr, nullptr), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    char buffer[4];
    EXPECT_EQ(recv(accepted[0], buffer, 4, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK) << "accepted sockets are non-blocking";
    int small = 4;
    EXPECT_EQ(accept(listener, reinterpret_cast<sockaddr*>(buffer), &small), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(SocketEvents, ConnectDeadlineReportsTimeout) {
    // A listener whose queue is full drops further SYNs, so the second connect stays pending.
    std::uint16_t port = 0;
    const int listener = Keep(peer::Listen(port, 0));
    const int filler = Keep(peer::Connect(port));
    ASSERT_GE(filler, 0);
    testing_support::FakeTick tick(5000);
    SOCKET s = NewSocket();
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, kConnectMask), 0);
    ASSERT_EQ(Connect(s, port), SOCKET_ERROR);
    PumpFor(100);
    if (!window_.For(s).empty()) GTEST_SKIP() << "the system completed the connect despite the full queue";
    tick.Advance(kConnectDeadlineMs - 10);
    PumpFor(50);
    EXPECT_TRUE(window_.For(s).empty());
    tick.Advance(20);
    ASSERT_TRUE(window_.WaitFor(s, FD_CONNECT));
    PumpFor(50);
    const std::vector<Note> expected = {{s, FD_CONNECT, WSAETIMEDOUT}};
    EXPECT_EQ(window_.For(s), expected);
    (void)listener;
}

TEST_F(SocketEvents, DatagramsAnnounceWriteAtRegistrationAndEachRead) {
    SOCKET s = NewSocket(SOCK_DGRAM);
    const sockaddr_in any = Loopback(0);
    ASSERT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, kConnectMask), 0);
    ASSERT_TRUE(window_.WaitFor(s, FD_WRITE));
    sockaddr_in bound{};
    int length = sizeof bound;
    ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length), 0);

    std::uint16_t fromPort = 0;
    const int sender = Keep(peer::UdpSocket(fromPort));
    ASSERT_TRUE(peer::SendUdp(sender, INADDR_LOOPBACK, ntohs(bound.sin_port), std::string(40, 'd')));
    ASSERT_TRUE(peer::SendUdp(sender, INADDR_LOOPBACK, ntohs(bound.sin_port), "second"));
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    winsock::u_long waiting = 0;
    ASSERT_EQ(ioctlsocket(s, FIONREAD, &waiting), 0);
    EXPECT_EQ(waiting, 40u) << "FIONREAD gives the next datagram's size";
    char small[10];
    sockaddr_in from{};
    int fromLength = sizeof from;
    EXPECT_EQ(recvfrom(s, small, sizeof small, 0, reinterpret_cast<sockaddr*>(&from), &fromLength),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE) << "an oversized datagram is cut and reported";
    EXPECT_EQ(ntohs(from.sin_port), fromPort);
    ASSERT_TRUE(window_.WaitFor(s, FD_READ, 2));
    char buffer[64];
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 6);
    PumpFor(50);
    EXPECT_EQ(window_.Count(s, FD_READ), 2u);
    EXPECT_EQ(window_.Count(s, FD_CLOSE), 0u);
}

TEST_F(SocketEvents, MulticastJoinReceivesOnLoopback) {
    SOCKET s = NewSocket(SOCK_DGRAM);
    const DWORD on = 0xFFFFFFFFu;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on), 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    ASSERT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    ip_mreq join{};
    join.imr_multiaddr.s_addr = inet_addr("239.255.42.99");
    join.imr_interface.s_addr = INADDR_ANY;
    if (setsockopt(s, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&join), sizeof join) != 0)
        GTEST_SKIP() << "no multicast route on this host (error " << WSAGetLastError() << ")";
    ASSERT_EQ(WSAAsyncSelect(s, window_.Handle, kSocketMessage, FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE),
              0);
    sockaddr_in bound{};
    int length = sizeof bound;
    ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length), 0);
    ASSERT_TRUE(peer::SendMulticast(0xEFFF2A63u, ntohs(bound.sin_port), "group"));
    ASSERT_TRUE(window_.WaitFor(s, FD_READ));
    char buffer[16];
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 5);
}

} // namespace
