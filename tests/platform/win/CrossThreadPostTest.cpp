// Posts from other threads against an owner that sleeps in its wait between them.
#include "platform/win/Winsock.h"

#include "tests/platform/win/LoopbackPeer.h"
#include "tests/platform/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace winsock;
using Clock = std::chrono::steady_clock;

constexpr UINT kTick = WM_USER + 5;

// Posts race the owner's drain of its wake-up many thousand times a second. A lost wake-up leaves the
// owner asleep with posts waiting for good; a datagram to a socket of its own is what wakes it then.
TEST(CrossThreadPosts, NoPostIsLeftWaitingWhileTheOwnerSleeps) {
    WSAData data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    std::atomic<long> handled{0};
    bool rescued = false;
    HWND window = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == kTick) handled.fetch_add(1);
        if (m.Msg == wintest::kSocketMessage && WSAGETSELECTEVENT(m.LParam) == FD_READ) rescued = true;
    });
    SOCKET rescue = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(rescue, reinterpret_cast<const sockaddr*>(&bound), sizeof bound), 0);
    int length = sizeof bound;
    ASSERT_EQ(getsockname(rescue, reinterpret_cast<sockaddr*>(&bound), &length), 0);
    ASSERT_EQ(WSAAsyncSelect(rescue, window, wintest::kSocketMessage, FD_READ), 0);
    std::uint16_t senderPort = 0;
    const int sender = peer::UdpSocket(senderPort);
    ASSERT_GE(sender, 0);

    std::atomic<bool> stop{false};
    std::atomic<long> posted{0};
    std::vector<std::thread> posters;
    for (int i = 0; i < 2; ++i)
        posters.emplace_back([&] {
            while (!stop.load()) {
                // A short backlog keeps the owner going to sleep and waking all the time.
                if (posted.load() - handled.load() > 4) {
                    std::this_thread::yield();
                    continue;
                }
                posted.fetch_add(1);
                PostMessage(window, kTick, 0, 0);
            }
        });
    long handledBeforeRescue = 0;
    std::thread watchdog([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        stop = true;
        for (auto& p : posters)
            p.join();
        const auto limit = Clock::now() + std::chrono::seconds(2);
        while (handled.load() != posted.load() && Clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        handledBeforeRescue = handled.load();
        peer::SendUdp(sender, INADDR_LOOPBACK, ntohs(bound.sin_port), "wake");
    });
    TCustomApplication app;
    while (!rescued)
        app.HandleMessage();
    watchdog.join();

    EXPECT_GT(posted.load(), 1000) << "the posters hardly ran";
    EXPECT_EQ(handledBeforeRescue, posted.load()) << "posts were left waiting while the owner slept";
    peer::Close(sender);
    closesocket(rescue);
    DeallocateHWnd(window);
    WSACleanup();
}

} // namespace
