// The listening server against loopback peers: banners, the client limit, client names, clients that
// close in any order, and client-gone messages that arrive after their client was freed.
#include "net/WSocketS.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace nettest;
using Lines = std::vector<std::string>;

const std::string kBanner = "Welcome to Dalmir\r\n";
const std::string kTooBusy = "Sorry, too many clients\r\n";

// A listening server with a record of its client events.
struct TServerRun {
    Lines Log;
    std::vector<TWSocketClient*> Connected;
    std::uint16_t Port = 0;
    std::vector<int> Peers;
    TSocketSet Sockets;
    TWSocketServer* Server = nullptr;

    TServerRun() {
        Server = Sockets.Make<TWSocketServer>();
        Server->SetName("Srv");
        Server->OnClientCreate =
            TWSocketClientCreateEvent([this](TObject*, TWSocketClient*) { Log.push_back("create"); });
        Server->OnClientConnect = TWSocketClientConnectEvent([this](TObject*, TWSocketClient* c, WORD e) {
            Log.push_back("connect " + c->Name() + " " + std::to_string(e));
            Connected.push_back(c);
        });
        Server->OnClientDisconnect = TWSocketClientConnectEvent([this](TObject*, TWSocketClient* c, WORD e) {
            Log.push_back("disconnect " + c->Name() + " " + std::to_string(e));
        });
    }
    ~TServerRun() {
        for (int fd : Peers)
            netpeer::Close(fd);
    }

    void Listen() {
        Server->SetAddr("127.0.0.1");
        Server->SetPort("0");
        Server->Listen();
        Port = static_cast<std::uint16_t>(std::stoi(Server->GetXPort()));
    }
    // Connects one more peer and waits until the server has taken it.
    int Connect() {
        const std::size_t before = Connected.size();
        const int fd = netpeer::Connect(Port);
        Peers.push_back(fd);
        PumpUntil([&] { return Connected.size() > before; });
        return fd;
    }
    std::size_t Count(const std::string& prefix) const {
        return static_cast<std::size_t>(std::count_if(
            Log.begin(), Log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }
};

TEST(Server, ClientLimitSendsTheTooBusyBannerAndCloses) {
    TServerRun run;
    run.Server->SetMaxClients(2);
    run.Listen();
    const int a = run.Connect();
    const int b = run.Connect();
    const int c = run.Connect();
    ASSERT_EQ(run.Connected.size(), 3u) << "OnClientConnect fires for the refused client too";
    EXPECT_EQ(netpeer::Receive(a, kBanner.size()), kBanner);
    EXPECT_EQ(netpeer::Receive(b, kBanner.size()), kBanner);
    EXPECT_EQ(netpeer::Receive(c, kTooBusy.size()), kTooBusy);
    EXPECT_TRUE(netpeer::SeesClose(c));
    ASSERT_TRUE(PumpUntil([&] { return run.Count("disconnect") == 1; }));
    EXPECT_EQ(run.Log, (Lines{"create", "connect SrvClient1 0", "create", "connect SrvClient2 0", "create",
                              "connect SrvClient3 0", "disconnect SrvClient3 0"}));
    EXPECT_EQ(run.Server->ClientCount(), 2);
    // Room again once one leaves.
    netpeer::Close(a);
    run.Peers[0] = -1;
    ASSERT_TRUE(PumpUntil([&] { return run.Server->ClientCount() == 1; }));
    const int d = run.Connect();
    EXPECT_EQ(netpeer::Receive(d, kBanner.size()), kBanner);
    EXPECT_EQ(run.Connected.back()->Name(), "SrvClient4");
}

TEST(Server, BannersAndTheClientList) {
    TServerRun run;
    run.Server->SetBanner("");
    run.Listen();
    const int a = run.Connect();
    EXPECT_EQ(netpeer::Receive(a, 1, 200), "") << "an empty banner sends nothing";
    run.Server->SetBanner("hello there");
    const int b = run.Connect();
    EXPECT_EQ(netpeer::Receive(b, 13), "hello there\r\n");
    ASSERT_EQ(run.Server->ClientCount(), 2);
    EXPECT_EQ(run.Server->Client(0), run.Connected[0]);
    EXPECT_EQ(run.Server->Client(1), run.Connected[1]);
    EXPECT_EQ(run.Server->Client(2), nullptr);
    EXPECT_EQ(run.Server->Client(-1), nullptr);
    EXPECT_TRUE(run.Server->IsClient(run.Connected[1]));
    EXPECT_FALSE(run.Server->IsClient(run.Server));
    EXPECT_EQ(run.Connected[0]->Server(), run.Server);
    EXPECT_EQ(run.Connected[0]->Owner(), run.Server);
}

TEST(Server, PeerAddressStaysReadableAfterTheClose) {
    TServerRun run;
    run.Listen();
    const int a = run.Connect();
    const std::string port = std::to_string(netpeer::LocalPort(a));
    std::string addrAtClose;
    std::string portAtClose;
    run.Server->OnClientDisconnect = TWSocketClientConnectEvent([&](TObject*, TWSocketClient* c, WORD) {
        EXPECT_EQ(c->State(), wsClosed);
        addrAtClose = c->PeerAddr();
        portAtClose = c->PeerPort();
    });
    EXPECT_EQ(run.Connected[0]->PeerAddr(), "127.0.0.1");
    EXPECT_EQ(run.Connected[0]->PeerPort(), port);
    netpeer::Close(a);
    run.Peers[0] = -1;
    ASSERT_TRUE(PumpUntil([&] { return !portAtClose.empty(); }));
    EXPECT_EQ(addrAtClose, "127.0.0.1");
    EXPECT_EQ(portAtClose, port);
    EXPECT_EQ(run.Server->ClientCount(), 0);
}

// Three clients leave one by one, in every order and by every way; each is reported once and freed.
enum class Leave { PeerClose, PeerReset, LocalClose, LocalCloseDelayed };

struct TLeaving {
    const char* Name;
    std::vector<std::pair<int, Leave>> Order;
};

void PrintTo(const TLeaving& value, std::ostream* os) {
    *os << value.Name;
}

class ServerClientsLeave : public ::testing::TestWithParam<TLeaving> {};

TEST_P(ServerClientsLeave, EachIsReportedOnceAndFreed) {
    TServerRun run;
    run.Listen();
    for (int i = 0; i < 3; ++i)
        run.Connect();
    ASSERT_EQ(run.Server->ClientCount(), 3);
    const std::vector<TWSocketClient*> clients = run.Connected;
    std::size_t left = 0;
    for (const auto& [index, how] : GetParam().Order) {
        const auto i = static_cast<std::size_t>(index);
        switch (how) {
        case Leave::PeerClose:
            netpeer::Close(run.Peers[i]);
            run.Peers[i] = -1;
            break;
        case Leave::PeerReset:
            netpeer::Reset(run.Peers[i]);
            run.Peers[i] = -1;
            break;
        case Leave::LocalClose:
            clients[i]->Close();
            break;
        case Leave::LocalCloseDelayed:
            clients[i]->CloseDelayed();
            break;
        }
        ++left;
        ASSERT_TRUE(PumpUntil([&] { return run.Count("disconnect") == left; }));
        const std::string name = "SrvClient" + std::to_string(index + 1);
        EXPECT_EQ(run.Log.back().rfind("disconnect " + name, 0), 0u) << run.Log.back();
        EXPECT_FALSE(run.Server->IsClient(clients[i]));
        EXPECT_EQ(run.Server->ClientCount(), static_cast<int>(3 - left));
    }
    PumpFor(50);
    EXPECT_EQ(run.Count("disconnect"), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ServerClientsLeave,
    ::testing::Values(
        TLeaving{"InOrderByPeers", {{0, Leave::PeerClose}, {1, Leave::PeerClose}, {2, Leave::PeerClose}}},
        TLeaving{"Reversed", {{2, Leave::PeerClose}, {1, Leave::PeerReset}, {0, Leave::LocalClose}}},
        TLeaving{"MiddleFirst",
                 {{1, Leave::LocalCloseDelayed}, {0, Leave::PeerReset}, {2, Leave::LocalClose}}},
        TLeaving{"AllLocal",
                 {{0, Leave::LocalClose}, {2, Leave::LocalCloseDelayed}, {1, Leave::LocalClose}}}),
    [](const ::testing::TestParamInfo<TLeaving>& info) { return std::string(info.param.Name); });

TEST(Server, ResetIsReportedWithItsError) {
    TServerRun run;
    run.Listen();
    const int a = run.Connect();
    netpeer::Reset(a);
    run.Peers[0] = -1;
    ASSERT_TRUE(PumpUntil([&] { return run.Count("disconnect") == 1; }));
    EXPECT_EQ(run.Log.back(), "disconnect SrvClient1 10054");
}

// The message names its client by address only: a client freed before the message is handled is left
// alone, and so is a live client that has not closed.
TEST(Server, LateClientGoneMessagesTouchNothing) {
    TServerRun run;
    run.Listen();
    run.Connect();
    run.Connect();
    TWSocketClient* first = run.Connected[0];
    TWSocketClient* second = run.Connected[1];
    first->Close();
    first->Free(); // before the server has seen its gone message
    EXPECT_EQ(run.Server->ClientCount(), 1);
    PostMessage(run.Server->Handle(), WM_SERVER_CLIENT_GONE, 0, reinterpret_cast<LPARAM>(second));
    PostMessage(run.Server->Handle(), WM_SERVER_CLIENT_GONE, 0, static_cast<LPARAM>(0x1234));
    PumpFor(100);
    EXPECT_EQ(run.Count("disconnect"), 0u);
    ASSERT_EQ(run.Server->ClientCount(), 1);
    EXPECT_EQ(second->State(), wsConnected);
    second->Close();
    ASSERT_TRUE(PumpUntil([&] { return run.Count("disconnect") == 1; }));
    EXPECT_EQ(run.Server->ClientCount(), 0);
}

TEST(Server, DisconnectHandlerMayFreeTheClientItself) {
    TServerRun run;
    run.Server->OnClientDisconnect =
        TWSocketClientConnectEvent([&](TObject*, TWSocketClient* c, WORD) { c->Free(); });
    run.Listen();
    run.Connect();
    run.Connected[0]->Close();
    ASSERT_TRUE(PumpUntil([&] { return run.Server->ClientCount() == 0; }));
    PumpFor(50);
}

// A connect handler that closes or frees its client stops the banner.
class ServerConnectHandler : public ::testing::TestWithParam<bool> {};

TEST_P(ServerConnectHandler, ThatDropsTheClientPreventsTheBanner) {
    const bool free = GetParam();
    TServerRun run;
    run.Server->OnClientConnect = TWSocketClientConnectEvent([&](TObject*, TWSocketClient* c, WORD) {
        run.Connected.push_back(c);
        if (free)
            c->Free();
        else
            c->Close();
    });
    run.Listen();
    const int a = run.Connect();
    EXPECT_EQ(netpeer::Receive(a, 1, 300), "");
    EXPECT_TRUE(netpeer::SeesClose(a));
    ASSERT_TRUE(PumpUntil([&] { return run.Server->ClientCount() == 0; }));
    EXPECT_EQ(run.Count("disconnect"), free ? 0u : 1u) << "a freed client has no close to report";
}

INSTANTIATE_TEST_SUITE_P(CloseOrFree, ServerConnectHandler, ::testing::Bool());

// A server that makes its own client class; the clients go with the server.
class TEchoClient : public TWSocketClient {
public:
    using TWSocketClient::TWSocketClient;

protected:
    bool TriggerDataAvailable(WORD error) override {
        if (SocksNegotiating()) return TWSocketClient::TriggerDataAvailable(error);
        const std::string text = ReceiveStr();
        if (!text.empty()) SendStr("echo:" + text);
        return true;
    }
};

TEST(Server, ClientClassAndClientsFreedWithTheServer) {
    const int before = WSocketInstanceCount();
    std::vector<int> peers;
    {
        TServerRun run;
        run.Server->SetClientClass<TEchoClient>();
        TWSocketClient* created = nullptr;
        run.Server->OnClientCreate =
            TWSocketClientCreateEvent([&](TObject*, TWSocketClient* c) { created = c; });
        run.Listen();
        const int a = run.Connect();
        const int b = run.Connect();
        ASSERT_NE(dynamic_cast<TEchoClient*>(created), nullptr);
        EXPECT_EQ(netpeer::Receive(a, kBanner.size()), kBanner);
        ASSERT_TRUE(netpeer::SendAll(a, "ping"));
        std::string echo;
        ASSERT_TRUE(PumpUntil([&] {
            echo += netpeer::Receive(a, 9, 5);
            return echo.size() >= 9;
        }));
        EXPECT_EQ(echo, "echo:ping");
        EXPECT_EQ(WSocketInstanceCount(), before + 3);
        peers = run.Peers;
        run.Peers.clear();
        (void)b;
    }
    EXPECT_EQ(WSocketInstanceCount(), before) << "the server freed both clients";
    for (int fd : peers) {
        EXPECT_TRUE(netpeer::SeesClose(fd));
        netpeer::Close(fd);
    }
}

// Accept notifications that bring no connection make no client.
class TProbeServer : public TWSocketServer {
public:
    using TWSocketServer::TWSocketServer;
    void Available(WORD error) { TriggerSessionAvailable(error); }
};

TEST(Server, FailedAcceptMakesNoClient) {
    TSocketSet sockets;
    auto* server = sockets.Make<TProbeServer>();
    Lines log;
    server->OnClientCreate =
        TWSocketClientCreateEvent([&](TObject*, TWSocketClient*) { log.push_back("create"); });
    server->OnSessionAvailable =
        TSessionAvailable([&](TObject*, WORD e) { log.push_back("available " + std::to_string(e)); });
    server->OnError =
        TNotifyEvent([&](TObject*) { log.push_back("error " + std::to_string(server->LastError())); });
    server->Available(10053);
    server->Available(0); // not listening: Accept fails
    EXPECT_EQ(log, (Lines{"available 10053", "available 0", "error 10022"}));
    EXPECT_EQ(server->ClientCount(), 0);
}

} // namespace
