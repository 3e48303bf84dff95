// The receive loop, the receive calls, address queries and name lookups.
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace nettest;

// Records what every real receive returned.
class TRecvRecorder : public TWSocket {
public:
    using TWSocket::TWSocket;
    std::vector<int> Results;

protected:
    int DoRecv(void* buffer, int bufferSize, int flags) override {
        const int n = TWSocket::DoRecv(buffer, bufferSize, flags);
        Results.push_back(n);
        return n;
    }
};

int Waiting(TCustomWSocket* s) {
    winsock::u_long n = 0;
    return winsock::ioctlsocket(s->HSocket(), winsock::FIONREAD, &n) == 0 ? static_cast<int>(n) : -1;
}

bool WaitUntilWaiting(TCustomWSocket* s, int bytes) {
    for (int i = 0; i < 300; ++i) {
        if (Waiting(s) >= bytes) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(ReceiveLoop, WithoutHandlerDataIsDroppedInReadsOf1024) {
    TSocketSet sockets;
    auto* s = sockets.Make<TRecvRecorder>();
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, std::string(3000, 'd')));
    ASSERT_TRUE(WaitUntilWaiting(s, 3000));
    ASSERT_TRUE(PumpUntil([&] { return Waiting(s) == 0; }));
    PumpFor(50);
    EXPECT_EQ(s->Results, (std::vector<int>{1024, 1024, 952})) << "one notification drains it all";
    EXPECT_EQ(s->State(), wsConnected);
    netpeer::Close(peer);
}

TEST(ReceiveLoop, UdpWithoutHandlerDrainsEveryDatagram) {
    TSocketSet sockets;
    auto* s = sockets.Make<TRecvRecorder>();
    const std::uint16_t port = netpeer::FreeUdpPort();
    Target(s, port, "udp");
    s->Listen();
    ASSERT_EQ(s->State(), wsConnected);
    std::uint16_t from = 0;
    const int peer = netpeer::UdpSocket(from);
    ASSERT_TRUE(netpeer::SendUdp(peer, port, "one"));
    ASSERT_TRUE(netpeer::SendUdp(peer, port, std::string(2000, 'L')));
    ASSERT_TRUE(netpeer::SendUdp(peer, port, "three"));
    ASSERT_TRUE(PumpUntil([&] { return s->Results.size() >= 3 && Waiting(s) == 0; }));
    EXPECT_EQ(s->Results.front(), 3);
    EXPECT_EQ(s->Results.back(), 5);
    netpeer::Close(peer);
}

TEST(ReceiveLoop, NoReceiveLoopCallsOncePerNotification) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    s->SetComponentOptions(TWSocketOptions{wsoNoReceiveLoop});
    int calls = 0;
    std::string got;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++calls;
        char buffer[10];
        const int n = s->Receive(buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    const std::string payload(100, 'q');
    ASSERT_TRUE(netpeer::SendAll(peer, payload));
    ASSERT_TRUE(PumpUntil([&] { return got.size() == payload.size(); }));
    EXPECT_EQ(calls, 10) << "the rest is announced by a new notification each time";
    netpeer::Close(peer);
}

TEST(ReceiveLoop, HandlerThatReadsEverythingIsNotCalledAgain) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    int calls = 0;
    int lastError = 0;
    std::string got;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++calls;
        char buffer[64];
        for (;;) {
            const int n = s->Receive(buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        lastError = s->LastError();
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, std::string(500, 'r')));
    ASSERT_TRUE(WaitUntilWaiting(s, 500));
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 500; }));
    PumpFor(100);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastError, 10035);
    netpeer::Close(peer);
}

TEST(ReceiveLoop, HandlerThatReadsNothingDoesNotHang) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    bool reading = false;
    int calls = 0;
    std::string got;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++calls;
        // Way out for a loop that never returns to the message loop, so the test fails instead of hanging.
        if (calls > 5000) reading = true;
        if (!reading) return;
        char buffer[256];
        int n;
        while ((n = s->Receive(buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<std::size_t>(n));
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "patience"));
    int mostPerPump = 0;
    for (int i = 0; i < 50; ++i) {
        const int before = calls;
        CurrentApplication().ProcessMessages();
        mostPerPump = std::max(mostPerPump, calls - before);
        Sleep(1);
    }
    EXPECT_LT(mostPerPump, 10) << "each refusal must return to the message loop";
    EXPECT_GE(calls, 2) << "the data is offered again from the message loop";
    EXPECT_EQ(got, "");
    reading = true;
    ASSERT_TRUE(PumpUntil([&] { return got == "patience"; }));
    netpeer::Close(peer);
}

TEST(ReceiveLoop, ExceptionInTheDataHandlerReachesTheDebugOutput) {
    testing_support::DebugCapture debug;
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    s->SetName("CliSocket");
    int calls = 0;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++calls;
        throw Exception("handler broke");
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "x"));
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_TRUE(debug.Contains("CliSocket: exception in OnDataAvailable ignored: handler broke"));
    EXPECT_EQ(s->State(), wsConnected) << "the receive loop does not abort the connection";
    EXPECT_FALSE(log.Has("closed(0)"));
    netpeer::Close(peer);
}

TEST(ReceiveCalls, ReceiveStrAndAddressesOfClosedAndListeningSockets) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    EXPECT_EQ(s->GetPeerAddr(), "error");
    EXPECT_EQ(s->GetPeerPort(), "error");
    EXPECT_EQ(s->GetXAddr(), "error");
    TSockAddrIn name{};
    EXPECT_EQ(s->GetPeerName(name, sizeof name), -1);

    TWSocket* listener = sockets.Make();
    listener->SetAddr("127.0.0.1");
    listener->SetPort("0");
    listener->Listen();
    ASSERT_EQ(listener->State(), wsListening);
    EXPECT_EQ(listener->GetXAddr(), "127.0.0.1");
    EXPECT_NE(listener->GetXPort(), "0");
    EXPECT_EQ(listener->GetPeerAddr(), "error") << "no report on a listening socket";

    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    EXPECT_EQ(s->ReceiveStr(), "");
    EXPECT_EQ(s->LastError(), 10035);
    ASSERT_TRUE(netpeer::SendAll(peer, "str"));
    ASSERT_TRUE(WaitUntilWaiting(s, 3));
    char peek[8];
    EXPECT_EQ(s->PeekData(peek, sizeof peek), 3);
    EXPECT_EQ(s->ReadCount(), 0) << "a peek reads nothing";
    EXPECT_EQ(s->ReceiveStr(), "str");
    EXPECT_EQ(s->ReadCount(), 3);
    netpeer::Close(peer);
}

TEST(NameLookup, DottedAddressIsDoneBeforeReturning) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::vector<int> done;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->DnsLookup(" 127.000.000.001 ");
    EXPECT_EQ(done, (std::vector<int>{0}));
    EXPECT_EQ(s->DnsResult(), "127.0.0.1");
    EXPECT_EQ(s->DnsResultList()->Count(), 1);
}

TEST(NameLookup, LocalhostCompletesThroughTheMessageLoop) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::vector<int> done;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->DnsLookup("localhost");
    EXPECT_TRUE(done.empty());
    ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }, 10000));
    EXPECT_EQ(done, (std::vector<int>{0}));
    EXPECT_EQ(s->DnsResult(), "127.0.0.1");
}

TEST(NameLookup, CancelReports10004Once) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::vector<int> done;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->DnsLookup("localhost");
    s->CancelDnsLookup();
    EXPECT_EQ(done, (std::vector<int>{10004}));
    PumpFor(300);
    EXPECT_EQ(done, (std::vector<int>{10004})) << "a cancelled lookup never answers";
    s->CancelDnsLookup();
    EXPECT_EQ(done.size(), 1u) << "nothing pending, nothing to cancel";
}

TEST(NameLookup, CancelAfterTheAnswerCameReports10004AndDropsTheAnswer) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::vector<int> done;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->DnsLookup("localhost");
    MSG answer{};
    const auto answered = [&] {
        return PeekMessage(&answer, s->Handle(), WM_SOCKET_NAME_RESOLVED, WM_SOCKET_NAME_RESOLVED,
                           PM_NOREMOVE) != 0;
    };
    for (int i = 0; i < 500 && !answered(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(answered()) << "the lookup never finished";
    EXPECT_EQ(Raised([&] { s->CancelDnsLookup(); }), "");
    EXPECT_EQ(done, (std::vector<int>{10004}));
    PumpFor(100);
    EXPECT_EQ(done, (std::vector<int>{10004})) << "the answer that came first is dropped";
    EXPECT_EQ(s->DnsResult(), "");
}

TEST(NameLookup, BadNamesAreRefused) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    try {
        s->DnsLookup("");
        ADD_FAILURE();
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message, "DNS lookup: invalid host name.");
    }
    std::vector<int> done;
    int errors = 0;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->OnError = TNotifyEvent([&](TObject*) { ++errors; });
    // Not an address: looking up 255.255.255.255 instead would be a wrong answer.
    s->ReverseDnsLookup("not-an-address");
    s->ReverseDnsLookupSync("1.2.3.4.5");
    s->DnsLookup("");
    EXPECT_EQ(errors, 3);
    EXPECT_EQ(done, (std::vector<int>{10022, 10022, 10022}));
}

TEST(NameLookup, ReverseLookupOfLoopback) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::vector<int> done;
    s->OnDnsLookupDone = TDnsLookupDone([&](TObject*, WORD e) { done.push_back(e); });
    s->ReverseDnsLookupSync("127.0.0.1");
    ASSERT_EQ(done.size(), 1u);
    if (done[0] != 0) GTEST_SKIP() << "no name for 127.0.0.1 on this host";
    EXPECT_FALSE(s->DnsResult().empty());
    EXPECT_EQ(s->DnsResultList()->Get(0), s->DnsResult());
}

} // namespace
