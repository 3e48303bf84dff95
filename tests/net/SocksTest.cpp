// Proxy negotiation against a scripted SOCKS server on loopback: SOCKS 5 with and without user code,
// SOCKS 4 and 4A, refusals, replies in pieces, a server that closes midway, and the settings' rules.
#include "tests/net/NetTestSupport.h"
#include "tests/net/ScriptedPeer.h"

#include <gtest/gtest.h>

namespace {

using namespace nettest;
using netpeer::ScriptedPeer;
using Lines = std::vector<std::string>;

std::string B(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes)
        out.push_back(static_cast<char>(b));
    return out;
}

const std::string kGreetingNone = B({5, 1, 0});
const std::string kGreetingUser = B({5, 1, 2});
// CONNECT dest.example:8080, always by name.
const std::string kConnectRequest = B({5, 1, 0, 3, 12}) + "dest.example" + B({0x1F, 0x90});
// Granted, bound to 10.0.0.5:1234.
const std::string kGranted = B({5, 0, 0, 1, 10, 0, 0, 5, 0x04, 0xD2});

// A socket with a record of what the application hears.
struct TSocksClient {
    Lines Log;
    std::string Data;
    std::string SendOnConnect;
    // Answers every piece of data with "<piece>".
    bool Echo = false;
    TSocketSet Sockets;
    TWSocket* S = nullptr;

    TSocksClient() {
        S = Sockets.Make();
        S->OnSessionConnected = TSessionConnected([this](TObject*, WORD e) {
            Log.push_back("connected(" + std::to_string(e) + ")");
            if (e == 0 && !SendOnConnect.empty()) S->SendStr(SendOnConnect);
        });
        S->OnSessionClosed =
            TSessionClosed([this](TObject*, WORD e) { Log.push_back("closed(" + std::to_string(e) + ")"); });
        S->OnSocksConnected = TSessionConnected(
            [this](TObject*, WORD e) { Log.push_back("socks-connected(" + std::to_string(e) + ")"); });
        S->OnSocksError = TSocksErrorEvent([this](TObject*, int code, const std::string& msg) {
            Log.push_back("error(" + std::to_string(code) + " " + msg + ")");
        });
        S->OnSocksAuthState = TSocksAuthStateEvent(
            [this](TObject*, TSocksAuthState st) { Log.push_back("auth(" + std::to_string(st) + ")"); });
        S->OnDataAvailable = TDataAvailable([this](TObject*, WORD) {
            char buffer[256];
            const int n = S->Receive(buffer, sizeof buffer);
            if (n > 0) {
                Data.append(buffer, static_cast<std::size_t>(n));
                Log.push_back("data");
                if (Echo) S->SendStr("<" + std::string(buffer, static_cast<std::size_t>(n)) + ">");
            }
        });
    }

    void Aim(const ScriptedPeer& peer, const std::string& level = "5",
             const std::string& addr = "dest.example", const std::string& port = "8080") {
        S->SetAddr(addr);
        S->SetPort(port);
        S->SetSocksServer("127.0.0.1");
        S->SetSocksPort(std::to_string(peer.Port()));
        S->SetSocksLevel(level);
    }

    bool Has(const std::string& line) const { return std::find(Log.begin(), Log.end(), line) != Log.end(); }
    bool Closed() const { return S->State() == wsClosed && !Log.empty(); }
};

TEST(Socks, Socks5WithoutAuthenticationDeliversTheBytesAfterTheReplyFirst) {
    ScriptedPeer peer;
    // The server waits for the client's answer to "hello": nothing else would bring it out.
    peer.Read(3)
        .Send(B({5, 0}))
        .Read(kConnectRequest.size())
        .Send(kGranted + "hello")
        .Read(4)
        .Read(7)
        .Close();
    TSocksClient c;
    c.SendOnConnect = "ping";
    c.Echo = true;
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    EXPECT_EQ(c.S->SocksState(), socksNegociateMethods);
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(peer.Reads(), (Lines{kGreetingNone, kConnectRequest, "ping", "<hello>"}));
    EXPECT_EQ(c.Log, (Lines{"socks-connected(0)", "connected(0)", "data", "closed(0)"}));
    EXPECT_EQ(c.Data, "hello");
    EXPECT_EQ(c.S->SocksBoundAddr(), "10.0.0.5");
    EXPECT_EQ(c.S->SocksBoundPort(), "1234");
}

TEST(Socks, Socks5ReplyInPiecesIsAssembledBeforeItIsJudged) {
    ScriptedPeer peer;
    peer.Read(3)
        .Send(B({5}))
        .Pause(60)
        .Send(B({0}))
        .Read(kConnectRequest.size())
        .Send(kGranted.substr(0, 1))
        .Pause(60)
        .Send(kGranted.substr(1, 3))
        .Pause(60)
        .Send(kGranted.substr(4, 2))
        .Pause(60)
        .Send(kGranted.substr(6) + "first")
        .Pause(60)
        .Send("second")
        .Close();
    TSocksClient c;
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(peer.Reads(), (Lines{kGreetingNone, kConnectRequest}));
    EXPECT_EQ(c.Log.front(), "socks-connected(0)");
    EXPECT_EQ(c.Log[1], "connected(0)");
    EXPECT_EQ(c.Data, "firstsecond");
}

TEST(Socks, Socks5WithUsercodeAuthentication) {
    ScriptedPeer peer;
    const std::string auth = B({1, 5}) + "alice" + B({6}) + "secret";
    peer.Read(3).Send(B({5, 2})).Read(auth.size()).Send(B({1, 0})).Read(kConnectRequest.size());
    peer.Send(kGranted).Read(4).Close();
    TSocksClient c;
    c.SendOnConnect = "ping";
    c.S->SetSocksAuthentication(socksAuthenticateUsercode);
    c.S->SetSocksUsercode("alice");
    c.S->SetSocksPassword("secret");
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(peer.Reads(), (Lines{kGreetingUser, auth, kConnectRequest, "ping"}));
    EXPECT_EQ(c.Log, (Lines{"socks-connected(0)", "auth(0)", "auth(1)", "connected(0)", "closed(0)"}))
        << "start, success, then the connection";
}

TEST(Socks, MethodNoneAfterUsercodeWasOfferedSkipsTheAuthentication) {
    ScriptedPeer peer;
    peer.Read(3).Send(B({5, 0})).Read(kConnectRequest.size()).Send(kGranted).ExpectClose();
    TSocksClient c;
    c.S->SetSocksAuthentication(socksAuthenticateUsercode);
    c.S->SetSocksUsercode("alice");
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connected(0)"); }));
    EXPECT_EQ(c.Log, (Lines{"socks-connected(0)", "auth(3)", "connected(0)"}));
    EXPECT_EQ(c.S->SocksState(), socksData);
    c.S->Close();
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }));
    EXPECT_EQ(peer.Reads(), (Lines{kGreetingUser, kConnectRequest}));
    EXPECT_TRUE(peer.SawClose());
}

// Usercode and password of the longest size the one-byte lengths allow travel whole.
TEST(Socks, LongestUsercodeAndPasswordTravelWhole) {
    const std::string user(255, 'u');
    const std::string pass(255, 'p');
    const std::string auth = B({1, 255}) + user + B({255}) + pass;
    ScriptedPeer peer;
    peer.Read(3).Send(B({5, 2})).Read(auth.size()).Send(B({1, 0})).Read(kConnectRequest.size());
    peer.Send(kGranted).ExpectClose();
    TSocksClient c;
    c.S->SetSocksAuthentication(socksAuthenticateUsercode);
    c.S->SetSocksUsercode(user);
    c.S->SetSocksPassword(pass);
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connected(0)"); }));
    c.S->Close();
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }));
    ASSERT_EQ(peer.Reads().size(), 3u);
    EXPECT_EQ(peer.Reads()[1], auth);
}

// Refusals: each ends in OnSocksError, OnSessionConnected with the same code, then the close.
struct TRefusal {
    const char* Name;
    std::string Level;
    TSocksAuthentication Auth;
    std::vector<std::string> Script; // what the server sends, one reply per request of the client
    int Code;
    std::string Msg;
};

void PrintTo(const TRefusal& value, std::ostream* os) {
    *os << value.Name;
}

class SocksRefusal : public ::testing::TestWithParam<TRefusal> {};

TEST_P(SocksRefusal, ReportsThenCloses) {
    const TRefusal& r = GetParam();
    ScriptedPeer peer;
    // Each request is read before its reply goes out; the sizes are those of the requests the client
    // sends in this order.
    std::vector<std::size_t> requests;
    if (r.Level == "5") {
        requests.push_back(3);
        if (r.Auth == socksAuthenticateUsercode) requests.push_back(3 + 5 + 6);
        requests.push_back(5 + 9 + 2); // CONNECT 192.0.2.7:80 by name
    } else {
        requests.push_back(8 + 4 + 1);
    }
    for (std::size_t i = 0; i < r.Script.size(); ++i)
        peer.Read(requests.at(i)).Send(r.Script[i]);
    peer.ExpectClose();
    TSocksClient c;
    c.S->SetSocksAuthentication(r.Auth);
    c.S->SetSocksUsercode(r.Level == "5" ? "alice" : "user");
    c.S->SetSocksPassword("secret");
    c.Aim(peer, r.Level, "192.0.2.7", "80");
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Closed() && peer.Finished(); }));
    const std::string code = std::to_string(r.Code);
    const std::string error = "error(" + code + " " + r.Msg + ")";
    ASSERT_TRUE(c.Has(error)) << ::testing::PrintToString(c.Log);
    const auto at = std::find(c.Log.begin(), c.Log.end(), error);
    EXPECT_EQ(Lines(at, c.Log.end()), (Lines{error, "connected(" + code + ")", "closed(" + code + ")"}));
    EXPECT_FALSE(c.Has("connected(0)"));
    EXPECT_TRUE(peer.SawClose());
    EXPECT_EQ(c.S->SocksState(), socksData);
    EXPECT_EQ(c.S->SocksServer(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, SocksRefusal,
    ::testing::Values(
        TRefusal{"MethodVersion", "5", socksNoAuthentication, {B({4, 0})}, 20002, "socks version error"},
        TRefusal{"NoAcceptableMethod",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0xFF})},
                 20003,
                 "authentification method not acceptable"},
        TRefusal{"UsercodeNotOffered",
                 "5",
                 socksNoAuthentication,
                 {B({5, 2})},
                 20003,
                 "authentification method not acceptable"},
        TRefusal{"AuthRefused",
                 "5",
                 socksAuthenticateUsercode,
                 {B({5, 2}), B({1, 1})},
                 20015,
                 "socks authentication failed"},
        TRefusal{"AuthVersion",
                 "5",
                 socksAuthenticateUsercode,
                 {B({5, 2}), B({5, 0})},
                 20002,
                 "socks version error"},
        TRefusal{"AuthTooMuch",
                 "5",
                 socksAuthenticateUsercode,
                 {B({5, 2}), B({1, 0, 0})},
                 20001,
                 "too much data availaible"},
        TRefusal{"ReplyVersion",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({4, 0, 0, 1})},
                 20002,
                 "socks version error"},
        TRefusal{"GeneralFailure",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 1})},
                 20004,
                 "general SOCKS server failure"},
        TRefusal{"Ruleset",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 2})},
                 20005,
                 "connection not allowed by ruleset"},
        TRefusal{"NetUnreachable",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 3})},
                 20006,
                 "network unreachable"},
        TRefusal{
            "HostUnreachable", "5", socksNoAuthentication, {B({5, 0}), B({5, 4})}, 20007, "host unreachable"},
        TRefusal{"Refused5", "5", socksNoAuthentication, {B({5, 0}), B({5, 5})}, 20008, "connection refused"},
        TRefusal{"Ttl", "5", socksNoAuthentication, {B({5, 0}), B({5, 6})}, 20009, "time to live expired"},
        TRefusal{
            "Command", "5", socksNoAuthentication, {B({5, 0}), B({5, 7})}, 20010, "command not supported"},
        TRefusal{"AddrType",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 8})},
                 20011,
                 "address type not supported"},
        TRefusal{
            "Unassigned", "5", socksNoAuthentication, {B({5, 0}), B({5, 9})}, 20012, "unassigned error #9"},
        TRefusal{"BoundIpv6",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 0, 0, 4, 0})},
                 20011,
                 "address type not supported"},
        // A bound name of 200 bytes could never fit the reply area: refused at once, not waited for.
        TRefusal{"ReplyTooLong",
                 "5",
                 socksNoAuthentication,
                 {B({5, 0}), B({5, 0, 0, 3, 200}) + "abc"},
                 20011,
                 "socks reply too long"},
        TRefusal{"Rejected4",
                 "4",
                 socksNoAuthentication,
                 {B({0, 91, 0, 0, 0, 0, 0, 0})},
                 20016,
                 "request rejected or failed"},
        TRefusal{"Refused4",
                 "4",
                 socksNoAuthentication,
                 {B({0, 92, 0, 0, 0, 0, 0, 0})},
                 20008,
                 "connection refused"},
        TRefusal{"Ident4",
                 "4",
                 socksNoAuthentication,
                 {B({0, 93, 0, 0, 0, 0, 0, 0})},
                 20015,
                 "authentification failed"},
        TRefusal{"Unassigned4",
                 "4",
                 socksNoAuthentication,
                 {B({0, 94, 0, 0, 0, 0, 0, 0})},
                 20012,
                 "unassigned error #94"},
        TRefusal{"Version4",
                 "4",
                 socksNoAuthentication,
                 {B({4, 90, 0, 0, 0, 0, 0, 0})},
                 20002,
                 "socks version error"}),
    [](const ::testing::TestParamInfo<TRefusal>& info) { return std::string(info.param.Name); });

TEST(Socks, Socks4AskForTheResolvedAddressWithTheUserId) {
    ScriptedPeer peer;
    const std::string request = B({4, 1, 0, 80, 192, 0, 2, 7}) + "bob" + B({0});
    peer.Read(request.size()).Send(B({0, 90, 0, 0, 0, 0, 0, 0}) + "data4").Read(4).Close();
    TSocksClient c;
    c.SendOnConnect = "ping";
    c.S->SetSocksUsercode("bob");
    c.Aim(peer, "4", "192.0.2.7", "80");
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(peer.Reads(), (Lines{request, "ping"}));
    EXPECT_EQ(c.Data, "data4");
    EXPECT_EQ(c.Log.front(), "socks-connected(0)");
    EXPECT_EQ(c.Log[1], "connected(0)");
}

TEST(Socks, Socks4ASendsTheNameForTheServerToResolve) {
    ScriptedPeer peer;
    const std::string request = B({4, 1, 0x1F, 0x90, 0, 0, 0, 1}) + "bob" + B({0}) + "dest.example" + B({0});
    peer.Read(request.size()).Send(B({0, 90, 1, 2, 3, 4, 5, 6})).ExpectClose();
    TSocksClient c;
    c.S->SetSocksUsercode("bob");
    c.Aim(peer, "4a");
    EXPECT_EQ(c.S->SocksLevel(), "4A");
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connected(0)"); }));
    c.S->Close();
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }));
    EXPECT_EQ(peer.Reads(), (Lines{request}));
}

// Line mode sees neither the proxy's replies nor a line split by them.
TEST(Socks, LineModeStartsAfterTheNegotiation) {
    ScriptedPeer peer;
    peer.Read(3).Send(B({5, 0})).Read(kConnectRequest.size()).Send(kGranted + "one\r\ntw").Pause(60);
    peer.Send("o\r\n").Close();
    TSocksClient c;
    Lines lines;
    c.S->SetLineMode(true);
    c.S->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        std::string line = c.S->ReceiveStr();
        if (!line.empty()) lines.push_back(line);
    });
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(lines, (Lines{"one\r\n", "two\r\n"}));
}

// The server goes away at each step of the negotiation: the close is reported, never a connection.
struct TMidwayClose {
    const char* Name;
    TSocksAuthentication Auth;
    // Each step reads one request of the client, then sends its bytes (none: nothing).
    std::vector<std::pair<std::size_t, std::string>> Steps;
    bool Reset;
    Lines Expected;
};

void PrintTo(const TMidwayClose& value, std::ostream* os) {
    *os << value.Name;
}

class SocksMidwayClose : public ::testing::TestWithParam<TMidwayClose> {};

TEST_P(SocksMidwayClose, ReportsTheCloseOnly) {
    const TMidwayClose& m = GetParam();
    ScriptedPeer peer;
    for (const auto& [request, reply] : m.Steps) {
        peer.Read(request);
        if (!reply.empty()) peer.Send(reply);
    }
    if (m.Reset)
        peer.Reset();
    else
        peer.Close();
    TSocksClient c;
    c.S->SetSocksAuthentication(m.Auth);
    c.S->SetSocksUsercode("alice");
    c.S->SetSocksPassword("secret");
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.S->State() == wsClosed && peer.Finished(); }));
    EXPECT_EQ(c.Log, m.Expected);
    EXPECT_EQ(c.S->SocksState(), socksData);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SocksMidwayClose,
    ::testing::Values(
        TMidwayClose{
            "AfterGreeting", socksNoAuthentication, {{3, ""}}, false, {"socks-connected(0)", "closed(0)"}},
        TMidwayClose{"DuringAuthentication",
                     socksAuthenticateUsercode,
                     {{3, B({5, 2})}, {14, ""}},
                     false,
                     {"socks-connected(0)", "auth(0)", "auth(2)", "closed(0)"}},
        TMidwayClose{"HalfAReply",
                     socksNoAuthentication,
                     {{3, B({5, 0})}, {kConnectRequest.size(), B({5, 0, 0})}},
                     false,
                     {"socks-connected(0)", "closed(0)"}},
        TMidwayClose{"ResetDuringConnect",
                     socksNoAuthentication,
                     {{3, B({5, 0})}, {kConnectRequest.size(), ""}},
                     true,
                     {"socks-connected(0)", "closed(10054)"}}),
    [](const ::testing::TestParamInfo<TMidwayClose>& info) { return std::string(info.param.Name); });

TEST(Socks, RefusedProxyConnectionIsReportedLikeAnyRefusedConnect) {
    TSocksClient c;
    c.S->SetAddr("dest.example");
    c.S->SetPort("8080");
    c.S->SetSocksServer("127.0.0.1");
    c.S->SetSocksPort(std::to_string(netpeer::ClosedPort()));
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(c.Log, (Lines{"socks-connected(10061)", "connected(10061)", "closed(0)"}));
}

TEST(Socks, WithoutAServerNothingChanges) {
    ScriptedPeer peer;
    peer.Send("direct").Read(4).Close();
    TSocksClient c;
    c.SendOnConnect = "ping";
    c.S->SetSocksServer("  ");
    c.S->SetSocksUsercode("alice");
    c.S->SetSocksAuthentication(socksAuthenticateUsercode);
    Target(c.S, peer.Port());
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("closed(0)"); }));
    EXPECT_EQ(peer.Reads(), (Lines{"ping"}));
    EXPECT_EQ(c.Data, "direct");
    EXPECT_EQ(c.Log.front(), "connected(0)") << "no proxy events";
}

TEST(Socks, EveryCloseForgetsServerPortAndLevel) {
    ScriptedPeer peer;
    peer.Read(13).Send(B({0, 90, 0, 0, 0, 0, 0, 0})).ExpectClose();
    TSocksClient c;
    c.S->SetSocksUsercode("user");
    c.S->SetSocksPassword("pw");
    c.S->SetSocksAuthentication(socksAuthenticateUsercode);
    c.Aim(peer, "4", "192.0.2.7", "80");
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connected(0)"); }));
    c.S->Close();
    EXPECT_EQ(c.S->SocksServer(), "");
    EXPECT_EQ(c.S->SocksPort(), "");
    EXPECT_EQ(c.S->SocksLevel(), "5");
    EXPECT_EQ(c.S->SocksUsercode(), "user") << "the credentials stay";
    EXPECT_EQ(c.S->SocksPassword(), "pw");
    EXPECT_EQ(c.S->SocksAuthentication(), socksAuthenticateUsercode);
}

// Misuse goes through RaiseException: an exception, or OnError when assigned.
TEST(Socks, SettingsAreRefusedUnlessClosed) {
    ScriptedPeer peer;
    peer.Read(3).ExpectClose();
    TSocksClient c;
    c.Aim(peer);
    peer.Start();
    c.S->Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("socks-connected(0)"); }));
    EXPECT_EQ(Raised([&] { c.S->SetSocksLevel("4"); }), "Can't change socks level if not closed");
    EXPECT_EQ(Raised([&] { c.S->SetSocksPort("1080"); }), "Can't change socks port if not closed");
    EXPECT_EQ(Raised([&] { c.S->SetSocksServer("10.0.0.1"); }), "Can't change socks server if not closed");
    EXPECT_EQ(c.S->SocksLevel(), "5");
    EXPECT_EQ(c.S->SocksServer(), "127.0.0.1");
    c.S->Close();
}

TEST(Socks, LevelsAndProtocolsThatCannotBeUsed) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const std::string levelMsg = "Invalid socks level. Must be 4, 4A or 5.";
    for (const char* bad : {"6", "", "4b", "5 ", "socks5"})
        EXPECT_EQ(Raised([&] { s->SetSocksLevel(bad); }), levelMsg) << bad;
    EXPECT_EQ(s->SocksLevel(), "5");
    for (const char* good : {"4", "4A", "4a", "5"}) {
        s->SetSocksLevel(good);
        EXPECT_EQ(s->SocksLevel(), std::string(good) == "4a" ? "4A" : good);
    }
    s->SetSocksServer(" 127.0.0.1 ");
    EXPECT_EQ(s->SocksServer(), "127.0.0.1");
    s->SetSocksPort("1080");
    s->SetAddr("127.0.0.1");
    s->SetPort("9");
    EXPECT_EQ(Raised([&] { s->Listen(); }), "Listening is not supported thru socks server");
    s->SetProto("udp");
    EXPECT_EQ(Raised([&] { s->Connect(); }), "tcp is the only protocol supported thru socks server");
    EXPECT_EQ(s->State(), wsClosed);
    s->SetProto("6");
    s->SetSocksPort("");
    EXPECT_EQ(Raised([&] { s->Connect(); }), "connect: WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(s->State(), wsClosed);
}

// Fields longer than their one-byte lengths are refused before anything is sent.
struct TTooLong {
    const char* Name;
    std::string Level;
    TSocksAuthentication Auth;
    std::size_t User, Pass, Addr;
    std::string Msg; // empty: accepted
};

void PrintTo(const TTooLong& value, std::ostream* os) {
    *os << value.Name;
}

class SocksTooLong : public ::testing::TestWithParam<TTooLong> {};

TEST_P(SocksTooLong, RefusedAtConnect) {
    const TTooLong& t = GetParam();
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    TEventLog log;
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    s->SetSocksAuthentication(t.Auth);
    s->SetSocksUsercode(std::string(t.User, 'u'));
    s->SetSocksPassword(std::string(t.Pass, 'p'));
    s->SetSocksLevel(t.Level);
    s->SetSocksServer("127.0.0.1");
    s->SetSocksPort(std::to_string(port));
    s->SetAddr(t.Level == "4" ? std::string("192.0.2.7") : std::string(t.Addr, 'a'));
    s->SetPort("80");
    const std::string refusal = Raised([&] { s->Connect(); });
    EXPECT_EQ(refusal, t.Msg);
    EXPECT_EQ(s->State(), t.Msg.empty() ? wsConnecting : wsClosed);
    EXPECT_EQ(s->HSocket() != winsock::INVALID_SOCKET, t.Msg.empty());
    if (!t.Msg.empty()) {
        // With OnError the same refusal goes there, and still nothing connects.
        s->OnError = TNotifyEvent([&](TObject*) { log.Add("error"); });
        s->Connect();
        EXPECT_TRUE(log.Has("error"));
        EXPECT_EQ(s->State(), wsClosed);
    }
    netpeer::Close(listener);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SocksTooLong,
    ::testing::Values(TTooLong{"Fits5", "5", socksAuthenticateUsercode, 255, 255, 255, ""},
                      TTooLong{"User5", "5", socksAuthenticateUsercode, 256, 1, 10,
                               "Socks usercode too long: 256 bytes, at most 255"},
                      TTooLong{"Pass5", "5", socksAuthenticateUsercode, 1, 300, 10,
                               "Socks password too long: 300 bytes, at most 255"},
                      TTooLong{"UnusedCredentials5", "5", socksNoAuthentication, 1000, 1000, 10, ""},
                      TTooLong{"Addr5", "5", socksNoAuthentication, 1, 1, 256,
                               "Socks destination too long: 256 bytes, at most 255"},
                      TTooLong{"User4", "4", socksNoAuthentication, 256, 1, 0,
                               "Socks usercode too long: 256 bytes, at most 255"},
                      TTooLong{"UnusedPassword4", "4", socksNoAuthentication, 255, 1000, 0, ""},
                      TTooLong{"Addr4A", "4A", socksNoAuthentication, 1, 1, 256,
                               "Socks destination too long: 256 bytes, at most 255"}),
    [](const ::testing::TestParamInfo<TTooLong>& info) { return std::string(info.param.Name); });

} // namespace
