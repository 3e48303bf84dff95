// Receive throughput of TWSocket over loopback, into a handler that consumes everything, against a
// plain blocking recv loop on the same amount of data. Each iteration measures both; the counter
// "ratio" is the socket component's throughput over the blocking loop's (1.0 = as fast).
#include "net/WSocket.h"

#include "platform/win/Application.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace benchpeer {
int Listen(std::uint16_t& port);
int Accept(int listener);
int ConnectBlocking(std::uint16_t port);
void Close(int fd);
std::thread StartSender(int fd, std::size_t total);
std::size_t BlockingReceive(int fd, std::size_t total, std::size_t bufferSize);
} // namespace benchpeer

namespace {

constexpr std::size_t kTotal = 64u << 20;
constexpr int kReadSize = 65536;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds to receive kTotal bytes through a TWSocket, or a negative value on failure.
double SocketComponentRun() {
    std::uint16_t port = 0;
    const int listener = benchpeer::Listen(port);
    auto* socket = TCustomWSocket::Create<TWSocket>(nullptr);
    std::size_t received = 0;
    std::vector<char> buffer(kReadSize);
    socket->OnDataAvailable = TDataAvailable([&](TObject*, WORD) {
        int n;
        while ((n = socket->Receive(buffer.data(), kReadSize)) > 0)
            received += static_cast<std::size_t>(n);
    });
    socket->SetAddr("127.0.0.1");
    socket->SetPort(std::to_string(port));
    socket->Connect();
    const int peer = benchpeer::Accept(listener);
    const auto connectLimit = Clock::now() + std::chrono::seconds(5);
    while (socket->State() != wsConnected && Clock::now() < connectLimit)
        CurrentApplication().ProcessMessages();
    double seconds = -1;
    if (peer >= 0 && socket->State() == wsConnected) {
        const auto start = Clock::now();
        std::thread sender = benchpeer::StartSender(peer, kTotal);
        const auto limit = start + std::chrono::seconds(60);
        while (received < kTotal && Clock::now() < limit)
            CurrentApplication().HandleMessage();
        if (received == kTotal) seconds = SecondsSince(start);
        sender.join();
    }
    socket->Free();
    benchpeer::Close(peer);
    benchpeer::Close(listener);
    return seconds;
}

double BlockingRun() {
    std::uint16_t port = 0;
    const int listener = benchpeer::Listen(port);
    const int client = benchpeer::ConnectBlocking(port);
    const int peer = benchpeer::Accept(listener);
    const auto start = Clock::now();
    std::thread sender = benchpeer::StartSender(peer, kTotal);
    const std::size_t got = benchpeer::BlockingReceive(client, kTotal, kReadSize);
    const double seconds = SecondsSince(start);
    sender.join();
    benchpeer::Close(peer);
    benchpeer::Close(client);
    benchpeer::Close(listener);
    return got == kTotal ? seconds : -1;
}

void BM_ReceiveThroughputRatio(benchmark::State& state) {
    double componentSeconds = 0;
    double blockingSeconds = 0;
    for (auto _ : state) {
        const double c = SocketComponentRun();
        const double b = BlockingRun();
        if (c < 0 || b < 0) {
            state.SkipWithError("transfer failed");
            return;
        }
        componentSeconds += c;
        blockingSeconds += b;
    }
    const double mb = static_cast<double>(kTotal) / (1 << 20) * static_cast<double>(state.iterations());
    state.counters["twsocket_MBps"] = mb / componentSeconds;
    state.counters["recv_MBps"] = mb / blockingSeconds;
    state.counters["ratio"] = blockingSeconds / componentSeconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(kTotal) * 2 * state.iterations());
}
BENCHMARK(BM_ReceiveThroughputRatio)->Unit(benchmark::kMillisecond)->Iterations(8)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
