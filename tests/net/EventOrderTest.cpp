// The order of a socket's events over loopback: connect, refusal, remote close and reset, local close,
// pause and resume, and closing or releasing from inside handlers.
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace nettest;
using Lines = std::vector<std::string>;

std::vector<std::string> From(const Lines& lines, int index) {
    return index < 0 ? Lines{} : Lines(lines.begin() + index, lines.end());
}

TEST(EventOrder, SuccessfulConnect) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    Target(s, port);
    s->Connect();
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connecting"}));
    EXPECT_EQ(s->State(), wsConnecting);
    EXPECT_EQ(s->SelectEvent(), 59);
    const int peer = netpeer::Accept(listener);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connecting", "Connecting>Connected", "connected(0)",
                                "sent(0)"}));
    EXPECT_EQ(s->GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(s->GetPeerPort(), std::to_string(port));
    netpeer::Close(peer);
    netpeer::Close(listener);
}

TEST(EventOrder, RefusedConnectPassesThroughConnectedThenCloses) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    Target(s, netpeer::ClosedPort());
    s->Connect();
    ASSERT_TRUE(PumpUntil([&] { return log.Has("closed(0)"); }));
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connecting", "Connecting>Connected",
                                "connected(10061)", "Connected>Closed", "closed(0)"}));
    // Every close forgets the target: the caller sets it again.
    EXPECT_EQ(s->Proto(), "tcp");
    EXPECT_EQ(s->HSocket(), winsock::INVALID_SOCKET);
    try {
        s->Connect();
        ADD_FAILURE() << "connect without a port";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message, "Connect: No Port Specified");
    }
}

// Remote close with data still waiting: everything is offered, then the close.
class RemoteClose : public ::testing::TestWithParam<bool> {};

TEST_P(RemoteClose, DeliversTheRestThenClosed) {
    const bool noLoop = GetParam();
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    if (noLoop) s->SetComponentOptions(TWSocketOptions{wsoNoReceiveLoop});
    std::string got;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[1000];
        const int n = s->Receive(buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
        log.Add("data(" + std::to_string(n) + ")");
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    const std::string payload(5000, 'z');
    ASSERT_TRUE(netpeer::SendAll(peer, payload));
    netpeer::Close(peer);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(got, payload);
    const Lines tail = From(log.Lines, log.IndexOf("closed(0)") - 1);
    EXPECT_EQ(tail, (Lines{"data(0)", "closed(0)", "Connected>Closed"}))
        << "the handler runs once more at the close, then the close, then the state";
    EXPECT_EQ(log.Count("closed(0)"), 1u);
    EXPECT_EQ(log.IndexOf("closed(0)"), static_cast<int>(log.Lines.size()) - 2);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutReceiveLoop, RemoteClose, ::testing::Bool());

TEST(EventOrder, RemoteResetReports10054) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    netpeer::Reset(peer);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(From(log.Lines, log.IndexOf("sent(0)") + 1), (Lines{"closed(10054)", "Connected>Closed"}));
}

TEST(EventOrder, LocalCloseThenTheTargetMustBeSetAgain) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    log.Lines.clear();
    s->Close();
    EXPECT_EQ(log.Lines, (Lines{"Connected>Closed", "closed(0)"}));
    EXPECT_TRUE(netpeer::SeesClose(peer));
    s->Close();
    EXPECT_EQ(log.Lines.size(), 2u) << "closing a closed socket does nothing";
    EXPECT_EQ(s->Addr(), "127.0.0.1") << "the text stays, only as not assigned";
    log.WatchErrors(s);
    s->Connect();
    ASSERT_EQ(log.Lines.size(), 3u) << "Connect: No Port Specified goes to OnError";
    EXPECT_EQ(log.Lines.back().rfind("error(", 0), 0u);
    EXPECT_EQ(s->State(), wsClosed);
    netpeer::Close(peer);
}

TEST(EventOrder, PauseDropsNotificationsAndResumeAnnouncesWaitingData) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::string got;
    CollectData(s, got);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    s->Pause();
    EXPECT_TRUE(s->Paused());
    ASSERT_TRUE(netpeer::SendAll(peer, "while paused"));
    PumpFor(200);
    EXPECT_EQ(got, "");
    s->Resume();
    ASSERT_TRUE(PumpUntil([&] { return got == "while paused"; }));
    netpeer::Close(peer);
}

TEST(EventOrder, PeerCloseDuringPauseIsReportedAfterResume) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    std::string got;
    CollectData(s, got);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    s->Pause();
    ASSERT_TRUE(netpeer::SendAll(peer, "last"));
    netpeer::Close(peer);
    PumpFor(200);
    EXPECT_FALSE(log.Has("closed(0)"));
    EXPECT_EQ(s->State(), wsConnected);
    s->Resume();
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(got, "last");
    EXPECT_EQ(log.Count("closed(0)"), 1u);
}

// The A/V connection's pattern: one read per notification, paused from inside its own handler.
TEST(EventOrder, PauseFromInsideTheDataHandlerAndResumeLater) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    s->SetComponentOptions(TWSocketOptions{wsoNoReceiveLoop});
    std::string got;
    int calls = 0;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++calls;
        char buffer[100];
        const int n = s->Receive(buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
        if (calls == 2) s->Pause();
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    std::string payload;
    for (int i = 0; i < 1000; ++i)
        payload += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(netpeer::SendAll(peer, payload));
    ASSERT_TRUE(PumpUntil([&] { return calls >= 2; }));
    PumpFor(200);
    EXPECT_EQ(calls, 2) << "nothing while paused";
    EXPECT_EQ(got, payload.substr(0, 200));
    s->Resume();
    ASSERT_TRUE(PumpUntil([&] { return got.size() == payload.size(); }));
    EXPECT_EQ(got, payload);
    netpeer::Close(peer);
}

TEST(EventOrder, NotificationsOfAnEarlierHandleAreDropped) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    int dataCalls = 0;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        ++dataCalls;
        char buffer[64];
        s->Receive(buffer, sizeof buffer);
    });
    const int peer1 = OpenConnection(s);
    ASSERT_GE(peer1, 0);
    const TSocket old = s->HSocket();
    ASSERT_TRUE(netpeer::SendAll(peer1, "old data"));
    netpeer::Close(peer1);
    PumpFor(0);
    s->Close();
    const int peer2 = OpenConnection(s);
    ASSERT_GE(peer2, 0);
    EXPECT_NE(s->HSocket(), old);
    // Whatever the old handle left queued, or a notification forged for it, finds no listener.
    PostMessage(s->Handle(), WM_SOCKET_EVENT, static_cast<WPARAM>(old),
                winsock::WSAMAKESELECTREPLY(winsock::FD_READ, 0));
    PostMessage(s->Handle(), WM_SOCKET_EVENT, static_cast<WPARAM>(old),
                winsock::WSAMAKESELECTREPLY(winsock::FD_CLOSE, 0));
    const int before = dataCalls;
    PumpFor(200);
    EXPECT_EQ(dataCalls, before);
    EXPECT_EQ(s->State(), wsConnected);
    EXPECT_EQ(log.Count("closed(0)"), 1u) << "only the local close of the first connection";
    netpeer::Close(peer2);
}

TEST(EventOrder, ExceptionInSessionConnectedAbortsTheSocket) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    s->OnSessionConnected = TSessionConnected([&](TObject*, WORD e) {
        log.Add("connected(" + std::to_string(e) + ")");
        throw Exception("handler failed");
    });
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    Target(s, port);
    s->Connect();
    const int peer = netpeer::Accept(listener);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(From(log.Lines, log.IndexOf("connected(0)")),
              (Lines{"connected(0)", "Connected>Closed", "closed(0)"}));
    netpeer::Close(peer);
    netpeer::Close(listener);
}

TEST(EventOrder, BackgroundExceptionHandlerMayKeepTheConnection) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::string seen;
    s->OnBgException = TBgExceptionEvent([&](TObject*, const std::exception& e, bool& canClose) {
        seen = e.what();
        canClose = false;
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    PostMessage(s->Handle(), WM_SOCKET_RAISE_TEST, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, "Test exception in WSocket");
    EXPECT_EQ(s->State(), wsConnected);
    netpeer::Close(peer);
}

TEST(EventOrder, CloseFromInsideOnDataAvailable) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[4];
        log.Add("data(" + std::to_string(s->Receive(buffer, sizeof buffer)) + ")");
        s->Close();
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    log.Lines.clear();
    // More than one read's worth, then the peer's close: neither may reach the closed socket.
    ASSERT_TRUE(netpeer::SendAll(peer, "0123456789"));
    netpeer::Close(peer);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    PumpFor(200);
    EXPECT_EQ(log.Lines, (Lines{"data(4)", "Connected>Closed", "closed(0)"}));
}

TEST(EventOrder, CloseFromInsideTheLastDataOfARemoteClose) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[64];
        const int n = s->Receive(buffer, sizeof buffer);
        log.Add("data(" + std::to_string(n) + ")");
        if (n == 0) s->Close();
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    log.Lines.clear();
    netpeer::Close(peer);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    PumpFor(100);
    EXPECT_EQ(log.Lines, (Lines{"data(0)", "Connected>Closed", "closed(0)"})) << "one close event, not two";
}

TEST(EventOrder, CloseDelayedRunsAfterTheHandler) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    TSocketState stateAfterCall = wsInvalidState;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[64];
        s->Receive(buffer, sizeof buffer);
        s->CloseDelayed();
        stateAfterCall = s->State();
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "bye"));
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(stateAfterCall, wsConnected);
    netpeer::Close(peer);
}

class TTrackedSocket : public TWSocket {
public:
    using TWSocket::TWSocket;
    ~TTrackedSocket() override {
        if (Destroyed != nullptr) *Destroyed = true;
    }
    bool* Destroyed = nullptr;
};

TEST(EventOrder, ReleaseFromInsideAHandlerDestroysLaterWithoutCloseEvent) {
    TSocketSet sockets;
    TEventLog log;
    auto* s = sockets.Make<TTrackedSocket>();
    bool destroyed = false;
    s->Destroyed = &destroyed;
    log.Watch(s);
    bool aliveAfterRelease = false;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[64];
        s->Receive(buffer, sizeof buffer);
        s->Release();
        aliveAfterRelease = !destroyed && s->State() == wsConnected;
    });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "x"));
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    sockets.Forget(s);
    EXPECT_TRUE(aliveAfterRelease);
    EXPECT_FALSE(log.Has("closed(0)"));
    EXPECT_TRUE(netpeer::SeesClose(peer));
    netpeer::Close(peer);
}

TEST(EventOrder, DestroyingAConnectedSocketFiresNoSessionClosed) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    sockets.Forget(s);
    s->Free();
    EXPECT_FALSE(log.Has("closed(0)"));
    EXPECT_TRUE(netpeer::SeesClose(peer));
    netpeer::Close(peer);
}

} // namespace
