// Making and destroying sockets: the derived layers take part in both, and nothing outlives the socket.
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace nettest;

// A layer of its own on top of the published socket, as later components add one.
class TLayeredSocket : public TWSocket {
public:
    explicit TLayeredSocket(TComponent* owner, std::vector<std::string>* calls)
        : TWSocket(owner), Calls(calls) {}
    std::vector<std::string>* Calls;

protected:
    void AssignDefaultValue() override {
        TWSocket::AssignDefaultValue();
        if (Calls != nullptr) Calls->push_back("AssignDefaultValue");
    }
    void InternalClose(bool bShut, WORD error) override {
        if (Calls != nullptr)
            Calls->push_back(ComponentState().Contains(csDestroying) ? "InternalClose(destroying)"
                                                                     : "InternalClose");
        TWSocket::InternalClose(bShut, error);
    }
};

TEST(Lifecycle, CreateReachesTheDerivedDefaults) {
    std::vector<std::string> calls;
    auto* s = TCustomWSocket::Create<TLayeredSocket>(nullptr, &calls);
    EXPECT_EQ(calls, (std::vector<std::string>{"AssignDefaultValue"}));
    EXPECT_EQ(s->State(), wsClosed);
    EXPECT_EQ(s->Proto(), "tcp");
    s->Free();
}

TEST(Lifecycle, FreeClosesThroughTheDerivedLayersBeforeDestruction) {
    std::vector<std::string> calls;
    auto* s = TCustomWSocket::Create<TLayeredSocket>(nullptr, &calls);
    TEventLog log;
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    calls.clear();
    s->Free();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "InternalClose(destroying)");
    EXPECT_FALSE(log.Has("closed(0)"));
    EXPECT_TRUE(netpeer::SeesClose(peer));
    netpeer::Close(peer);
}

TEST(Lifecycle, OwnedSocketsCloseWithTheirOwner) {
    auto* owner = new TComponent(nullptr);
    TEventLog log;
    auto* s = TCustomWSocket::Create<TWSocket>(owner);
    log.Watch(s);
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    delete owner;
    EXPECT_FALSE(log.Has("closed(0)"));
    EXPECT_TRUE(netpeer::SeesClose(peer));
    EXPECT_EQ(WSocketInstanceCount(), 0);
    netpeer::Close(peer);
}

TEST(Lifecycle, TheLastSocketUnloadsTheLibraryAndMessagesToItVanish) {
    ASSERT_EQ(WSocketInstanceCount(), 0);
    auto* s = TCustomWSocket::Create<TWSocket>(nullptr);
    const HWND window = s->Handle();
    s->SetAddr("127.0.0.1");
    s->SetPort("1");
    s->Connect();
    EXPECT_TRUE(WSocketLibraryLoaded());
    s->Free();
    EXPECT_FALSE(WSocketLibraryLoaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessage(window, WM_SOCKET_CLOSE_LATER, 0, 0));
    PumpFor(50);
}

TEST(Lifecycle, MessagePumpAndThreadDetach) {
    TSocketSet sockets;
    TWSocket* s = sockets.Make();
    const HWND window = s->Handle();
    s->SetMultiThreaded(true);
    bool closed = false;
    s->OnSessionClosed = TSessionClosed([&](TObject*, WORD) { closed = true; });
    const int peer = OpenConnection(s);
    ASSERT_GE(peer, 0);
    s->CloseDelayed();
    s->MessagePump();
    EXPECT_TRUE(closed) << "the component's own pump dispatches its messages";
    try {
        s->ThreadAttach();
        ADD_FAILURE();
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message, "Cannot attach when not detached");
    }
    s->ThreadDetach();
    EXPECT_EQ(s->Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    s->ThreadAttach();
    EXPECT_NE(s->Handle(), nullptr);
    netpeer::Close(peer);
}

} // namespace
