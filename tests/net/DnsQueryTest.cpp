// The DNS query component against local peers on loopback: the query on the wire, replies over UDP and
// TCP, replies that are not ours, and TCP length prefixes that announce more than the buffer holds.
#include "net/DnsQuery.h"
#include "tests/net/DnsMessage.h"
#include "tests/net/NetTestSupport.h"
#include "tests/net/ScriptedPeer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace nettest;
using dnstest::kResponseFlags;
using dnstest::MXReply;
using dnstest::TMessage;

struct TQueryRun {
    std::vector<int> Done;
    std::unique_ptr<TDnsQuery> Query = std::make_unique<TDnsQuery>(nullptr);

    TQueryRun() {
        Query->OnRequestDone = TDnsRequestDoneEvent([this](TObject*, WORD e) { Done.push_back(e); });
    }
    void Aim(std::uint16_t port, const std::string& proto = "udp") {
        Query->SetAddr("127.0.0.1");
        Query->SetPort(std::to_string(port));
        Query->SetProto(proto);
    }
    bool WaitDone(std::size_t count = 1) {
        return PumpUntil([&] { return Done.size() >= count; });
    }
};

struct TUdpPeer {
    std::uint16_t Port = 0;
    int Fd = netpeer::UdpSocket(Port);
    std::uint16_t From = 0;
    ~TUdpPeer() { netpeer::Close(Fd); }
    std::string Take(int timeoutMs = 3000) { return netpeer::ReceiveUdp(Fd, From, timeoutMs); }
    void Answer(const std::string& bytes) { ASSERT_TRUE(netpeer::SendUdp(Fd, From, bytes)); }
};

std::string MXQuery(int id) {
    TMessage q;
    q.Header(id, 0x0100, 1, 0).Name("example.com").U16(15).U16(1);
    return q.Bytes();
}

TEST(DnsQueryComponent, UdpQueryAndReply) {
    TUdpPeer peer;
    TQueryRun run;
    run.Aim(peer.Port);
    const int id = run.Query->MXLookup("example.com");
    EXPECT_EQ(id, 1);
    ASSERT_EQ(peer.Take(), MXQuery(id));
    const TMessage reply = MXReply(id);
    peer.Answer(reply.Bytes());
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{0}));
    EXPECT_EQ(run.Query->ResponseLen(), reply.Size());
    EXPECT_EQ(run.Query->ResponseID(), id);
    EXPECT_EQ(run.Query->QuestionName(), "example.com");
    ASSERT_EQ(run.Query->MXRecordCount(), 2);
    EXPECT_EQ(run.Query->MXExchange(0), "mail.example.com");
    EXPECT_EQ(run.Query->MXPreference(1), 20);
    EXPECT_EQ(run.Query->AnswerName(1), "example.com");
    EXPECT_EQ(run.Query->AnswerTTL(1), 7200u);
    // Outside the arrays: empty or 0.
    EXPECT_EQ(run.Query->MXExchange(-1), "");
    EXPECT_EQ(run.Query->MXExchange(50), "");
    EXPECT_EQ(run.Query->AnswerName(50), "");
    EXPECT_EQ(run.Query->AnswerTag(50), 0);
    EXPECT_EQ(run.Query->Hostname(10), "");
    EXPECT_EQ(run.Query->Address(50).s_addr, 0u);

    // The next query has the next id.
    const int second = run.Query->ALookup("host.example");
    EXPECT_EQ(second, id + 1);
    TMessage a;
    a.Header(second, 0x0100, 1, 0).Name("host.example").U16(1).U16(1);
    EXPECT_EQ(peer.Take(), a.Bytes());
}

TEST(DnsQueryComponent, PTRLookupAsksForTheReversedName) {
    TUdpPeer peer;
    TQueryRun run;
    run.Aim(peer.Port);
    const int id = run.Query->PTRLookup("192.0.2.1");
    TMessage expected;
    expected.Header(id, 0x0100, 1, 0).Name("1.2.0.192.in-addr.arpa").U16(12).U16(1);
    ASSERT_EQ(peer.Take(), expected.Bytes());
    TMessage reply;
    reply.Header(id, kResponseFlags, 1, 1).Name("1.2.0.192.in-addr.arpa").U16(12).U16(1);
    reply.Ptr(12).Fixed(12, 14).Name("host.example");
    peer.Answer(reply.Bytes());
    ASSERT_TRUE(run.WaitDone());
    ASSERT_EQ(run.Query->PTRRecordCount(), 1);
    EXPECT_EQ(run.Query->Hostname(0), "host.example");
    EXPECT_EQ(run.Query->AnswerTag(0), 0);
}

// Datagrams that are not the answer to the last query raise no event; the answer still comes through.
TEST(DnsQueryComponent, RepliesThatAreNotOursAreIgnored) {
    TUdpPeer peer;
    TQueryRun run;
    run.Aim(peer.Port);
    const int id = run.Query->MXLookup("example.com");
    ASSERT_FALSE(peer.Take().empty());
    peer.Answer(MXReply(id + 7).Bytes()); // a late reply to another query
    TMessage notAReply;
    notAReply.Header(id, 0x0100, 0, 0);
    peer.Answer(notAReply.Bytes());
    peer.Answer(std::string(11, '\x80'));
    PumpFor(100);
    EXPECT_TRUE(run.Done.empty());
    EXPECT_EQ(run.Query->ResponseLen(), -1);
    peer.Answer(MXReply(id).Bytes());
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{0}));
    EXPECT_EQ(run.Query->ResponseID(), id);
}

TEST(DnsQueryComponent, DatagramLongerThanTheBufferIsReported) {
    TUdpPeer peer;
    TQueryRun run;
    run.Aim(peer.Port);
    const int id = run.Query->MXLookup("example.com");
    ASSERT_FALSE(peer.Take().empty());
    TMessage big = MXReply(id);
    big.Raw(std::string(600, '\0'));
    peer.Answer(big.Bytes());
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{10040}));
    EXPECT_EQ(run.Query->ResponseLen(), -1);
}

TEST(DnsQueryComponent, NamesThatCannotBeQueriedSendNothing) {
    TUdpPeer peer;
    TQueryRun run;
    run.Aim(peer.Port);
    for (const std::string& name : {std::string(64, 'x') + ".example", std::string("a..b"),
                                    std::string(130, 'a') + "." + std::string(130, 'b')}) {
        try {
            run.Query->ALookup(name);
            ADD_FAILURE() << name;
        } catch (const ESocketException& e) {
            EXPECT_EQ(e.Message, "TDnsQuery: cannot query the name '" + name + "'");
        }
    }
    EXPECT_EQ(run.Query->QueryID(), 0);
    EXPECT_EQ(peer.Take(100), "");
}

TEST(DnsQueryComponent, ProtocolSetting) {
    TDnsQuery q(nullptr);
    EXPECT_EQ(q.Proto(), "udp");
    EXPECT_EQ(q.Port(), "53");
    q.SetProto("TCP");
    EXPECT_EQ(q.Proto(), "TCP") << "kept as given";
    q.SetProto("Udp");
    try {
        q.SetProto("sctp");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "TDnsQuery accept only TCP or UDP protocol");
    }
    EXPECT_EQ(q.Proto(), "Udp");
    q.SetMultiThreaded(true);
    EXPECT_TRUE(q.MultiThreaded());
}

std::string Prefix(int length) {
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)};
}

// Over TCP, in pieces, with the protocol named in capitals: both sides use the length prefix.
TEST(DnsQueryComponent, TcpReplyInPieces) {
    netpeer::ScriptedPeer peer;
    TQueryRun run;
    run.Aim(peer.Port(), "TCP");
    const int id = run.Query->MXLookup("example.com");
    const std::string reply = MXReply(id).Bytes();
    const std::string framed = Prefix(static_cast<int>(reply.size())) + reply;
    peer.Read(2 + 29).Send(framed.substr(0, 1)).Pause(50).Send(framed.substr(1, 10)).Pause(50);
    peer.Send(framed.substr(11)).ExpectClose();
    peer.Start();
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{0}));
    EXPECT_EQ(run.Query->MXExchange(1), "mx2.example.com");
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }));
    EXPECT_EQ(peer.Reads(), (std::vector<std::string>{Prefix(29) + MXQuery(id)}));
    EXPECT_TRUE(peer.SawClose()) << "a reply with answers ends the connection";
}

// A length prefix above the buffer is refused and the connection dropped, whatever follows it.
TEST(DnsQueryComponent, TcpPrefixAboveTheBufferIsRefused) {
    netpeer::ScriptedPeer peer;
    TQueryRun run;
    run.Aim(peer.Port(), "tcp");
    run.Query->MXLookup("example.com");
    peer.Read(2 + 29).Send(Prefix(4000) + std::string(1000, 'z')).ExpectClose();
    peer.Start();
    ASSERT_TRUE(run.WaitDone());
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }));
    EXPECT_EQ(run.Done, (std::vector<int>{10040}));
    EXPECT_TRUE(peer.SawClose());
    EXPECT_EQ(run.Query->ResponseLen(), -1);
    PumpFor(50);
    EXPECT_EQ(run.Done.size(), 1u);
}

TEST(DnsQueryComponent, TcpPrefixOfExactlyTheBufferIsRead) {
    netpeer::ScriptedPeer peer;
    TQueryRun run;
    run.Aim(peer.Port(), "tcp");
    const int id = run.Query->MXLookup("example.com");
    TMessage reply = MXReply(id);
    reply.Raw(std::string(static_cast<std::size_t>(kDnsBufferSize - reply.Size()), '\0'));
    peer.Read(2 + 29).Send(Prefix(kDnsBufferSize) + reply.Bytes()).ExpectClose();
    peer.Start();
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{0}));
    EXPECT_EQ(run.Query->ResponseLen(), kDnsBufferSize);
    EXPECT_EQ(run.Query->MXRecordCount(), 2);
}

TEST(DnsQueryComponent, TcpConnectionRefusedEndsTheQuery) {
    TQueryRun run;
    run.Aim(netpeer::ClosedPort(), "tcp");
    run.Query->ALookup("host.example");
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Done, (std::vector<int>{10061}));
}

} // namespace
