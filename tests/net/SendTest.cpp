// The send queue over loopback: block sizes, when OnDataSent fires, misuse reports, a lost connection
// and a large send to a slow reader.
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <thread>

namespace {

using namespace nettest;
using Lines = std::vector<std::string>;

std::string Pattern(std::size_t size) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>((i * 7 + i / 251) % 251);
    return out;
}

TEST(SendPath, BlocksOfBufSizeAndOneDataSentAfterTheLastPiece) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    std::vector<int> pieces;
    s->OnSendData = TSendData([&](TObject*, int n) { pieces.push_back(n); });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    log.Lines.clear();

    const std::string payload = Pattern(5000);
    s->PutDataInSendBuffer(payload.data(), 5000);
    EXPECT_EQ(s->SendQueueBlocks(), 4);
    EXPECT_EQ(s->BufferedByteCount(), 5000);
    EXPECT_EQ(s->Send(nullptr, 0), 0);
    EXPECT_EQ(pieces, (std::vector<int>{1460, 1460, 1460, 620}));
    EXPECT_TRUE(log.Lines.empty()) << "OnDataSent never fires inside Send";
    EXPECT_EQ(s->BufferedByteCount(), 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    PumpFor(100);
    EXPECT_EQ(log.Count("sent(0)"), 1u);
    EXPECT_EQ(netpeer::Receive(peer, 5000), payload);
    netpeer::Close(peer);
}

TEST(SendPath, SendOfNothingGivesDataSentFromTheLoop) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    log.Lines.clear();
    EXPECT_EQ(s->SendStr(""), 0);
    EXPECT_EQ(s->Send("", 0), 0);
    EXPECT_TRUE(log.Lines.empty());
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    netpeer::Close(peer);
}

TEST(SendPath, SendOnAClosedSocket) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    try {
        s->SendStr("x");
        ADD_FAILURE() << "no exception without OnError";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message, "Error 10057 in function Send\r\nSocket is not connected");
    }
    log.WatchErrors(s);
    EXPECT_EQ(s->SendStr("x"), -1);
    EXPECT_EQ(s->LastError(), 10057);
    EXPECT_EQ(log.Lines, (Lines{"error(10057)"}));
    EXPECT_EQ(s->BufferedByteCount(), 0) << "nothing queued";
}

TEST(SendPath, SendWhileConnectingLeavesTheConnectAlone) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    log.WatchErrors(s);
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    Target(s, port);
    s->Connect();
    ASSERT_EQ(s->State(), wsConnecting);
    EXPECT_EQ(s->SendStr("too early"), -1);
    EXPECT_EQ(s->LastError(), 10057);
    EXPECT_EQ(s->State(), wsConnecting);
    const int peer = netpeer::Accept(listener);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connecting", "error(10057)", "Connecting>Connected",
                                "connected(0)", "sent(0)"}));
    EXPECT_EQ(s->SendStr("now"), 3);
    EXPECT_EQ(netpeer::Receive(peer, 3), "now");
    netpeer::Close(peer);
    netpeer::Close(listener);
}

TEST(SendPath, ConnectionLostInsideSendIsNoSuccess) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    log.Lines.clear();
    netpeer::Reset(peer);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // No SIGPIPE, the close is reported after the state change, and the caller learns of the loss.
    EXPECT_EQ(s->SendStr("into the void"), -1);
    EXPECT_EQ(s->LastError(), 10054);
    EXPECT_EQ(log.Lines, (Lines{"Connected>Closed", "closed(10054)"}));
    PumpFor(200);
    EXPECT_EQ(log.Lines.size(), 2u) << "no OnDataSent after the close";
}

TEST(SendPath, MegabytesToASlowReaderArriveExactlyWithOneDataSent) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    long long reported = 0;
    s->OnSendData = TSendData([&](TObject*, int n) { reported += n; });
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    netpeer::SetReceiveBuffer(listener, 16384);
    Target(s, port);
    s->Connect();
    const int peer = netpeer::Accept(listener);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    const int small = 16384;
    winsock::setsockopt(s->HSocket(), winsock::SOL_SOCKET, winsock::SO_SNDBUF,
                        reinterpret_cast<const char*>(&small), sizeof small);
    log.Lines.clear();

    const std::string payload = Pattern(4 * 1024 * 1024 + 17);
    netpeer::SlowReader reader(peer, payload.size(), 32768, 1, 30000);
    EXPECT_EQ(s->Send(payload.data(), static_cast<int>(payload.size())), static_cast<int>(payload.size()));
    EXPECT_GT(s->BufferedByteCount(), 0) << "the platform could not take it all at once";
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }, 30000));
    PumpFor(100);
    EXPECT_EQ(log.Count("sent(0)"), 1u);
    EXPECT_EQ(reported, static_cast<long long>(payload.size()));
    const std::string got = reader.Join();
    ASSERT_EQ(got.size(), payload.size());
    EXPECT_TRUE(got == payload) << "bytes differ";
    netpeer::Close(peer);
    netpeer::Close(listener);
}

// Takes at most `Cap` bytes per send, as a platform whose buffer is nearly full does.
class TShortSender : public TWSocket {
public:
    using TWSocket::TWSocket;
    int Cap = 1;

protected:
    int RealSend(const void* data, int len) override { return TWSocket::RealSend(data, std::min(len, Cap)); }
};

TEST(SendPath, ShortSendsGoOnUntilTheQueueIsEmpty) {
    // A send that takes part of a block promises no FD_WRITE: only one that would block does.
    for (const int cap : {1, 730, 1095, 1459}) {
        SCOPED_TRACE(cap);
        TSocketSet sockets;
        TEventLog log;
        auto* s = sockets.Make<TShortSender>();
        s->Cap = cap;
        log.Watch(s);
        const int peer = OpenConnection(s);
        ASSERT_GE(peer, 0);
        ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
        log.Lines.clear();
        const std::string payload = Pattern(5000);
        EXPECT_EQ(s->Send(payload.data(), 5000), 5000);
        ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); })) << s->BufferedByteCount() << " bytes left";
        PumpFor(50);
        EXPECT_EQ(log.Count("sent(0)"), 1u);
        EXPECT_EQ(netpeer::Receive(peer, 5000), payload);
        netpeer::Close(peer);
    }
}

TEST(SendPath, BlocksLargerThanThePlatformTakesArriveWithOneDataSent) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    s->SetBufSize(1 << 20);
    log.Watch(s);
    std::vector<int> pieces;
    s->OnSendData = TSendData([&](TObject*, int n) { pieces.push_back(n); });
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    netpeer::SetReceiveBuffer(listener, 16384);
    Target(s, port);
    s->Connect();
    const int peer = netpeer::Accept(listener);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    const int small = 16384;
    winsock::setsockopt(s->HSocket(), winsock::SOL_SOCKET, winsock::SO_SNDBUF,
                        reinterpret_cast<const char*>(&small), sizeof small);
    log.Lines.clear();

    const std::string payload = Pattern(3 * (1 << 20) + 5);
    EXPECT_EQ(s->Send(payload.data(), static_cast<int>(payload.size())), static_cast<int>(payload.size()));
    ASSERT_FALSE(pieces.empty());
    ASSERT_LT(pieces.front(), 1 << 20) << "the platform took a whole block at once";
    netpeer::SlowReader reader(peer, payload.size(), 65536, 0, 20000);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }, 20000))
        << s->BufferedByteCount() << " bytes left";
    PumpFor(50);
    EXPECT_EQ(log.Count("sent(0)"), 1u);
    EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), 0LL), static_cast<long long>(payload.size()));
    const std::string got = reader.Join();
    ASSERT_EQ(got.size(), payload.size());
    EXPECT_TRUE(got == payload) << "bytes differ";
    netpeer::Close(peer);
    netpeer::Close(listener);
}

TEST(SendPath, FlushPushesTheQueueOutAndWaitForCloseSeesThePeerGo) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::string got;
    CollectData(s, got);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    const int small = 8192;
    winsock::setsockopt(s->HSocket(), winsock::SOL_SOCKET, winsock::SO_SNDBUF,
                        reinterpret_cast<const char*>(&small), sizeof small);
    const std::string payload = Pattern(1 << 20);
    {
        netpeer::SlowReader reader(peer, payload.size(), 16384, 0, 20000);
        s->Send(payload.data(), static_cast<int>(payload.size()));
        s->Flush();
        EXPECT_TRUE(s->AllSent());
        EXPECT_EQ(s->BufferedByteCount(), 0);
        EXPECT_TRUE(reader.Join() == payload);
    }
    std::thread closer([peer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        netpeer::SendAll(peer, "tail");
        netpeer::Close(peer);
    });
    s->WaitForClose();
    closer.join();
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(got, "tail");
}

TEST(SendPath, SendingFromInsideOnSendDataKeepsTheOrder) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    bool again = true;
    s->OnSendData = TSendData([&](TObject*, int) {
        if (again) {
            again = false;
            s->SendStr("second");
        }
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    EXPECT_EQ(s->SendStr("first-"), 6);
    EXPECT_EQ(netpeer::Receive(peer, 12), "first-second");
    netpeer::Close(peer);
}

TEST(SendPath, UdpConnectIsReadyAtOnceAndSendsDatagrams) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    std::uint16_t port = 0;
    const int peer = netpeer::UdpSocket(port);
    Target(s, port, "udp");
    s->Connect();
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connected", "connected(0)"}));
    EXPECT_EQ(s->SendStr("datagram"), 8);
    EXPECT_EQ(netpeer::Receive(peer, 8), "datagram");
    netpeer::Close(peer);
}

TEST(SendPath, UdpConnectToBroadcastSetsBroadcast) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    s->SetAddr("255.255.255.255");
    s->SetPort("9");
    s->SetProto("udp");
    s->Connect();
    ASSERT_EQ(s->State(), wsConnected);
    int value = 0;
    int len = sizeof value;
    ASSERT_EQ(winsock::getsockopt(s->HSocket(), winsock::SOL_SOCKET, winsock::SO_BROADCAST,
                                  reinterpret_cast<char*>(&value), &len),
              0);
    EXPECT_NE(value, 0);
}

} // namespace
