// Connect, Listen, Accept and Dup: property rules, refusals, multicast, adoption of accepted handles,
// the connect deadline and the close forced by a lost connection.
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

using namespace nettest;
using Lines = std::vector<std::string>;

TEST(Properties, OnlyAClosedSocketTakesANewTarget) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    s->SetAddr("  example.org ");
    EXPECT_EQ(s->Addr(), "example.org");
    s->SetLocalAddr("");
    EXPECT_EQ(s->LocalAddr(), "0.0.0.0");
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    const std::string port = s->Port();
    struct Case {
        std::function<void()> Call;
        std::string Error;
    };
    const Case cases[] = {
        {[&] { s->SetAddr("127.0.0.1"); }, ""},
        {[&] { s->SetAddr("10.0.0.1"); }, "Cannot change Addr if not closed"},
        {[&] { s->SetPort(port); }, ""},
        {[&] { s->SetPort("1"); }, "Cannot change Port if not closed"},
        {[&] { s->SetProto("tcp"); }, ""},
        {[&] { s->SetProto("udp"); }, "Cannot change Proto if not closed"},
        {[&] { s->SetLocalPort("0"); }, "Cannot change LocalPort if not closed"},
        {[&] { s->SetLocalAddr("0.0.0.0"); }, "Cannot change LocalAddr if not closed"},
        {[&] { s->Connect(); }, "Connect: Socket already in use"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Raised(c.Call), c.Error);
    EXPECT_EQ(s->Addr(), "127.0.0.1");
    EXPECT_EQ(s->State(), wsConnected);
    netpeer::Close(peer);
}

TEST(Properties, SendFlags) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    EXPECT_EQ(s->SendFlags(), wsSendNormal);
    s->SetSendFlags(wsSendUrgent);
    EXPECT_EQ(s->SendFlags(), wsSendUrgent);
    EXPECT_EQ(Raised([&] { s->SetSendFlags(static_cast<TSocketSendFlags>(7)); }), "Invalid SendFlags");
}

TEST(Connect, ChecksPortThenAddressThenProtocol) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    EXPECT_EQ(Raised([&] { s->Connect(); }), "Connect: No Port Specified");
    s->SetPort("5000");
    EXPECT_EQ(Raised([&] { s->Connect(); }), "Connect: No IP Address Specified");
    s->SetAddr("127.0.0.1");
    s->SetProto("");
    EXPECT_EQ(Raised([&] { s->Connect(); }), "Connect: No Protocol Specified");
    EXPECT_EQ(s->State(), wsClosed);
}

TEST(Connect, ResolutionFailuresAreReportedAndLeaveTheSocketClosed) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const int before = netpeer::OpenDescriptors();
    s->SetAddr("127.0.0.1");
    s->SetPort("70000");
    EXPECT_EQ(Raised([&] { s->Connect(); }), "connect: WSocketResolvePort: Invalid Port.");
    s->SetPort("5000");
    s->SetAddr("300.1.1.1");
    EXPECT_NE(
        Raised([&] { s->Connect(); }).rfind("connect: WSocketResolveHost: Cannot convert host address", 0),
        std::string::npos);
    EXPECT_EQ(s->State(), wsClosed);
    EXPECT_EQ(s->HSocket(), winsock::INVALID_SOCKET);
    EXPECT_EQ(netpeer::OpenDescriptors(), before);
}

TEST(Connect, DeadlineReportsTimeout) {
    testing_support::FakeTick tick(5000, 0);
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port, 0);
    int fillers[64];
    const int filled = netpeer::FillBacklog(port, fillers, 64);
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    Target(s, port);
    s->Connect();
    PumpFor(300);
    if (s->State() != wsConnecting) {
        for (int i = 0; i < filled; ++i)
            netpeer::Close(fillers[i]);
        netpeer::Close(listener);
        GTEST_SKIP() << "the system completed the connect despite the full queue";
    }
    tick.Advance(21000);
    ASSERT_TRUE(PumpUntil([&] { return s->State() == wsClosed; }));
    EXPECT_EQ(log.Lines, (Lines{"Closed>Opened", "Opened>Connecting", "Connecting>Connected",
                                "connected(10060)", "Connected>Closed", "closed(0)"}));
    for (int i = 0; i < filled; ++i)
        netpeer::Close(fillers[i]);
    netpeer::Close(listener);
}

TEST(Listen, RefusalsGoThroughTheErrorReport) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.WatchErrors(s);
    s->Listen();
    s->SetPort("0");
    s->Listen();
    EXPECT_EQ(log.Lines, (Lines{"error(10022)", "error(10022)"})) << "port, then address";
    EXPECT_EQ(Raised([&] {
                  s->OnError = nullptr;
                  s->Listen();
              }),
              "Error 10022 in function listen: address not assigned\r\nInvalid argument");
}

TEST(Listen, BindFailureLeavesNoHandleBehind) {
    std::uint16_t port = 0;
    const int taken = netpeer::Listen(port);
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const int before = netpeer::OpenDescriptors();
    Target(s, port);
    EXPECT_EQ(Raised([&] { s->Listen(); }), "Error 10048 in function Bind\r\nAddress already in use");
    EXPECT_EQ(s->State(), wsClosed);
    EXPECT_EQ(netpeer::OpenDescriptors(), before);
    netpeer::Close(taken);
}

// The main window's multicast receiver: no data handler, listened again at every group announcement.
TEST(Listen, MulticastJoinsReceivesAndListensAgainWithoutLeaking) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    std::vector<std::string> datagrams;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        char buffer[256];
        TSockAddrIn from{};
        int fromLen = sizeof from;
        const int n = s->ReceiveFrom(buffer, sizeof buffer, from, fromLen);
        if (n > 0) datagrams.emplace_back(buffer, static_cast<std::size_t>(n));
    });
    const std::uint16_t port = netpeer::FreeUdpPort();
    s->SetProto("udp");
    s->SetAddr("0.0.0.0");
    s->SetMultiCast(true);
    s->SetReuseAddr(true);
    s->SetMultiCastAddrStr("239.255.77.1 : " + std::to_string(port));
    s->SetPort(std::to_string(port));
    const std::string error = Raised([&] { s->Listen(); });
    if (error.find("IP_ADD_MEMBERSHIP") != std::string::npos) GTEST_SKIP() << "no multicast here: " << error;
    ASSERT_EQ(error, "");
    EXPECT_EQ(log.Lines, (Lines{"Closed>Bound", "Bound>Listening", "Listening>Connected", "connected(0)"}));
    EXPECT_EQ(s->SelectEvent(), 43);
    const int rcvbuf = 0x100000;
    EXPECT_EQ(winsock::setsockopt(s->HSocket(), winsock::SOL_SOCKET, winsock::SO_RCVBUF,
                                  reinterpret_cast<const char*>(&rcvbuf), sizeof rcvbuf),
              0);
    if (!netpeer::SendMulticast("239.255.77.1", port, "frame-1"))
        GTEST_SKIP() << "cannot send multicast here";
    ASSERT_TRUE(PumpUntil([&] { return !datagrams.empty(); }));
    EXPECT_EQ(datagrams.front(), "frame-1");

    const int before = netpeer::OpenDescriptors();
    const TSocket old = s->HSocket();
    s->Listen();
    EXPECT_NE(s->HSocket(), old);
    EXPECT_EQ(netpeer::OpenDescriptors(), before) << "the old handle went with the new Listen";
    EXPECT_EQ(s->State(), wsConnected);
    EXPECT_EQ(Raised([&] { s->SetPort("1"); }), "Cannot change Port if not closed");
    ASSERT_TRUE(netpeer::SendMulticast("239.255.77.1", port, "frame-2"));
    ASSERT_TRUE(PumpUntil([&] { return datagrams.size() == 2; }));
    EXPECT_EQ(datagrams.back(), "frame-2");
}

TEST(Accept, OnlyOnAListeningSocket) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    EXPECT_EQ(Raised([&] { s->Accept(); }),
              "Error 10022 in function not a listening socket\r\nInvalid argument");
    log.WatchErrors(s);
    EXPECT_EQ(s->Accept(), winsock::INVALID_SOCKET);
    EXPECT_EQ(log.Lines, (Lines{"error(10022)"}));
}

TEST(Accept, AcceptAndDupAdoptsTheConnection) {
    TSocketSet sockets;
    TWSocket* server = sockets.Make();
    TWSocket* client = sockets.Make();
    TEventLog clientLog;
    clientLog.Watch(client);
    std::string got;
    CollectData(client, got);
    server->OnSessionAvailable = TSessionAvailable([&](TObject*, WORD) { client->Dup(server->Accept()); });
    server->SetAddr("127.0.0.1");
    server->SetPort("0");
    server->Listen();
    ASSERT_EQ(server->State(), wsListening);
    const auto port = static_cast<std::uint16_t>(std::stoi(server->GetXPort()));
    const int peer = netpeer::Connect(port);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "first"));
    ASSERT_TRUE(PumpUntil([&] { return got == "first"; }));
    EXPECT_EQ(clientLog.Lines.front(), "Closed>Connected");
    EXPECT_FALSE(clientLog.Has("connected(0)")) << "an adopted connection is connected without the event";
    EXPECT_EQ(client->SelectEvent(), 51);
    EXPECT_EQ(client->LastAcceptedSocket(), winsock::INVALID_SOCKET);
    EXPECT_EQ(server->LastAcceptedSocket(), client->HSocket());
    EXPECT_EQ(client->SendStr("reply"), 5);
    EXPECT_EQ(netpeer::Receive(peer, 5), "reply");
    netpeer::Close(peer);
}

TEST(Accept, DupIntoAnOpenSocketClosesTheOldHandleFirst) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    TEventLog log;
    const int oldPeer = OpenConnection(s);
    ASSERT_GE(oldPeer, 0);
    log.Watch(s);

    TWSocket* server = sockets.Make();
    server->SetAddr("127.0.0.1");
    server->SetPort("0");
    server->Listen();
    TSocket accepted = winsock::INVALID_SOCKET;
    server->OnSessionAvailable = TSessionAvailable([&](TObject*, WORD) { accepted = server->Accept(); });
    const int newPeer = netpeer::Connect(static_cast<std::uint16_t>(std::stoi(server->GetXPort())));
    ASSERT_TRUE(PumpUntil([&] { return accepted != winsock::INVALID_SOCKET; }));
    s->Dup(accepted);
    EXPECT_EQ(log.Lines, (Lines{"Connected>Closed", "Closed>Connected"}));
    EXPECT_TRUE(netpeer::SeesClose(oldPeer));
    EXPECT_EQ(Raised([&] { s->Dup(winsock::INVALID_SOCKET); }),
              "Error 10022 in function Dup\r\nInvalid argument");
    netpeer::Close(oldPeer);
    netpeer::Close(newPeer);
}

// A lost connection met by an error report closes the socket at once; a paused socket must hear its
// next connection all the same.
TEST(ForcedClose, NotConnectedClosesAndClearsPause) {
    TSocketSet sockets;
    TEventLog log;
    TWSocket* s = sockets.Make();
    log.Watch(s);
    log.WatchErrors(s);
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    Target(s, port);
    s->Connect();
    const int peer = netpeer::Accept(listener);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("sent(0)"); }));
    s->Pause();
    netpeer::Reset(peer);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    log.Lines.clear();
    EXPECT_EQ(s->GetPeerAddr(), "error");
    EXPECT_EQ(log.Lines, (Lines{"closed(10057)", "Connected>Closed", "error(10057)"}));
    EXPECT_FALSE(s->Paused());
    EXPECT_EQ(s->SelectEvent(), 0);
    EXPECT_EQ(s->Port(), std::to_string(port)) << "the target stays assigned";
    s->Close();
    EXPECT_EQ(log.Lines.size(), 3u) << "a later Close does nothing";

    s->Connect();
    const int peer2 = netpeer::Accept(listener);
    ASSERT_TRUE(PumpUntil([&] { return log.Has("connected(0)"); }));
    netpeer::Close(peer2);
    netpeer::Close(listener);
}

} // namespace
