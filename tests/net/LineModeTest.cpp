// Line mode and blocking line reads over loopback.
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace nettest;
using Lines = std::vector<std::string>;

// A line socket whose handler reads each offered line whole.
struct LineSocket {
    explicit LineSocket(TSocketSet& sockets) : S(sockets.Make()) {
        S->SetLineMode(true);
        S->OnDataAvailable = TDataAvailable([this](TObject*, WORD) {
            // Way out for a loop that would never end, so the test fails instead of hanging.
            if (++Calls > 5000) Ignore = false;
            if (Ignore) return;
            const int n = S->RcvdCount();
            std::string line(static_cast<std::size_t>(std::max(n, 0)), '\0');
            const int got = S->Receive(line.data(), n);
            if (got > 0) Got.push_back(line.substr(0, static_cast<std::size_t>(got)));
        });
    }
    TWSocket* S;
    Lines Got;
    int Calls = 0;
    bool Ignore = false;
};

TEST(LineMode, OneEventPerLineAndTheRestIsHeld) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "ab\r\ncd"));
    ASSERT_TRUE(PumpUntil([&] { return ls.S->HeldCount() == 2; }));
    PumpFor(50);
    EXPECT_EQ(ls.Got, (Lines{"ab\r\n"}));
    ASSERT_TRUE(netpeer::SendAll(peer, "\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return ls.Got.size() == 2; }));
    EXPECT_EQ(ls.Got.back(), "cd\r\n");
    netpeer::Close(peer);
}

TEST(LineMode, DelimiterSplitAcrossReadsIsFound) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "abc\r"));
    ASSERT_TRUE(PumpUntil([&] { return ls.S->HeldCount() == 4; }));
    ASSERT_TRUE(netpeer::SendAll(peer, "\ndef\r\nxy"));
    ASSERT_TRUE(PumpUntil([&] { return ls.Got.size() == 2; }));
    EXPECT_EQ(ls.Got, (Lines{"abc\r\n", "def\r\n"}));
    EXPECT_EQ(ls.S->HeldCount(), 2);
    netpeer::Close(peer);
}

TEST(LineMode, LineLimitDropsAnOverlongLine) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    ls.S->SetLineLimit(10);
    std::vector<int> exceeded;
    ls.S->OnLineLimitExceeded =
        TLineLimitEvent([&](TObject*, int count, bool&) { exceeded.push_back(count); });
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "0123456789A"));
    ASSERT_TRUE(PumpUntil([&] { return !exceeded.empty(); }));
    EXPECT_EQ(exceeded, (std::vector<int>{11}));
    EXPECT_EQ(ls.S->HeldCount(), 0) << "the bytes are dropped";
    ASSERT_TRUE(netpeer::SendAll(peer, "ok\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return ls.Got.size() == 1; }));
    EXPECT_EQ(ls.Got[0], "ok\r\n");
    netpeer::Close(peer);
}

TEST(LineMode, AHandlerThatReadsNothingDoesNotHangAndLosesNothing) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    ls.Ignore = true;
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "l1\r\nl2\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return ls.Calls > 0 && ls.S->HeldCount() == 8; }));
    PumpFor(100);
    EXPECT_LT(ls.Calls, 10) << "an unread line is offered again only when something changes";
    EXPECT_TRUE(ls.Got.empty());
    // Switching line mode off hands the held bytes out as plain data, through a posted message.
    std::string plain;
    CollectData(ls.S, plain);
    ls.S->SetLineMode(false);
    EXPECT_EQ(plain, "");
    ASSERT_TRUE(PumpUntil([&] { return plain == "l1\r\nl2\r\n"; }));
    EXPECT_EQ(ls.S->HeldCount(), 0);
    netpeer::Close(peer);
}

TEST(LineMode, SessionCloseDeliversTheUnterminatedRest) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "full\r\npartial"));
    netpeer::Close(peer);
    ASSERT_TRUE(PumpUntil([&] { return ls.S->State() == wsClosed; }));
    EXPECT_EQ(ls.Got, (Lines{"full\r\n", "partial"}));
}

TEST(LineMode, SendLine) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    EXPECT_EQ(s->SendLine(""), 0);
    EXPECT_EQ(s->SendLine("abc"), 5);
    EXPECT_EQ(netpeer::Receive(peer, 5), "abc\r\n");
    netpeer::Close(peer);
}

struct EditCase {
    std::string Input;
    std::string Line;
};

TEST(LineMode, LineEditingOfBackspaceAndTab) {
    const EditCase cases[] = {
        {"ab\bc\r\n", "ac\r\n"},
        {"abc\tx\r\n", "abc     x\r\n"},
        {"\tx\r\n", "        x\r\n"},
        {"\b\bq\r\n", "q\r\n"},
        {"abcdefgh\tZ\r\n", "abcdefgh        Z\r\n"},
    };
    for (const auto& c : cases) {
        TSocketSet sockets;
        LineSocket ls(sockets);
        ls.S->SetLineEdit(true);
        const int peer = OpenConnection(ls.S);
        ASSERT_GE(peer, 0);
        ASSERT_TRUE(netpeer::SendAll(peer, c.Input));
        ASSERT_TRUE(PumpUntil([&] { return !ls.Got.empty(); })) << c.Input;
        EXPECT_EQ(ls.Got[0], c.Line);
        netpeer::Close(peer);
    }
}

TEST(LineMode, EchoSendsReceivedBytesBack) {
    TSocketSet sockets;
    LineSocket ls(sockets);
    ls.S->SetLineEcho(true);
    const int peer = OpenConnection(ls.S);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "echo\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return ls.Got.size() == 1; }));
    EXPECT_EQ(netpeer::Receive(peer, 6), "echo\r\n");
    netpeer::Close(peer);
}

TEST(ReadLine, ReturnsOneLineAtATime) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    int userCalls = 0;
    s->OnDataAvailable = TDataAvailable([&](TObject*, WORD) { ++userCalls; });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "first\r\nsecond\r\n"));
    std::string line;
    s->ReadLine(5, line);
    EXPECT_EQ(line, "first\r\n");
    s->ReadLine(5, line);
    EXPECT_EQ(line, "second\r\n") << "the second line of the same read is not lost";
    EXPECT_FALSE(s->LineMode()) << "the caller's mode comes back";
    EXPECT_EQ(userCalls, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "plain"));
    ASSERT_TRUE(PumpUntil([&] { return userCalls > 0; })) << "and the caller's handler";
    netpeer::Close(peer);
}

TEST(ReadLine, TimeOutReturnsWhatArrived) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    ASSERT_TRUE(netpeer::SendAll(peer, "no end"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    testing_support::FakeTick tick(1000, 2);
    std::string line;
    s->ReadLine(-250, line);
    EXPECT_GE(tick.Now(), 1250u);
    EXPECT_EQ(line, "no end");
    EXPECT_EQ(s->HeldCount(), 0);
    netpeer::Close(peer);
}

TEST(ReadLine, RefusedWhenNotConnected) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    std::string line = "stale";
    try {
        s->ReadLine(1, line);
        ADD_FAILURE();
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message, "ReadLine failed: not connected");
    }
    EXPECT_EQ(line, "");
}

} // namespace
