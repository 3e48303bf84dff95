#include "tests/net/ScriptedPeer.h"

#include "tests/net/NetPeer.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace netpeer {

namespace {

constexpr int kStepTimeoutMs = 3000;

enum class StepKind { Read, Send, Pause, Close, Reset, ExpectClose };

struct Step {
    StepKind Kind;
    std::string Bytes;
    std::size_t Count = 0;
    int Milliseconds = 0;
};

} // namespace

struct ScriptedPeer::State {
    int Listener = -1;
    std::uint16_t Port = 0;
    std::vector<Step> Steps;
    std::thread Thread;
    std::atomic<bool> Finished{false};
    mutable std::mutex Lock;
    std::vector<std::string> Reads;
    bool SawClose = false;

    void Run() {
        int fd = Accept(Listener, kStepTimeoutMs);
        for (const Step& step : Steps) {
            if (fd < 0) break;
            switch (step.Kind) {
            case StepKind::Read: {
                const std::string got = Receive(fd, step.Count, kStepTimeoutMs);
                std::lock_guard guard(Lock);
                Reads.push_back(got);
                break;
            }
            case StepKind::Send:
                SendAll(fd, step.Bytes);
                break;
            case StepKind::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(step.Milliseconds));
                break;
            case StepKind::Close:
                netpeer::Close(fd);
                fd = -1;
                break;
            case StepKind::Reset:
                netpeer::Reset(fd);
                fd = -1;
                break;
            case StepKind::ExpectClose: {
                const bool seen = SeesClose(fd, kStepTimeoutMs);
                std::lock_guard guard(Lock);
                SawClose = seen;
                break;
            }
            }
        }
        netpeer::Close(fd);
        Finished = true;
    }
};

ScriptedPeer::ScriptedPeer() : state_(std::make_unique<State>()) {
    state_->Listener = Listen(state_->Port);
}

ScriptedPeer::~ScriptedPeer() {
    if (state_->Thread.joinable()) state_->Thread.join();
    netpeer::Close(state_->Listener);
}

std::uint16_t ScriptedPeer::Port() const {
    return state_->Port;
}

ScriptedPeer& ScriptedPeer::Read(std::size_t count) {
    state_->Steps.push_back({StepKind::Read, {}, count, 0});
    return *this;
}

ScriptedPeer& ScriptedPeer::Send(const std::string& bytes) {
    state_->Steps.push_back({StepKind::Send, bytes, 0, 0});
    return *this;
}

ScriptedPeer& ScriptedPeer::Pause(int milliseconds) {
    state_->Steps.push_back({StepKind::Pause, {}, 0, milliseconds});
    return *this;
}

ScriptedPeer& ScriptedPeer::Close() {
    state_->Steps.push_back({StepKind::Close, {}, 0, 0});
    return *this;
}

ScriptedPeer& ScriptedPeer::Reset() {
    state_->Steps.push_back({StepKind::Reset, {}, 0, 0});
    return *this;
}

ScriptedPeer& ScriptedPeer::ExpectClose() {
    state_->Steps.push_back({StepKind::ExpectClose, {}, 0, 0});
    return *this;
}

void ScriptedPeer::Start() {
    state_->Thread = std::thread([this] { state_->Run(); });
}

bool ScriptedPeer::Finished() const {
    return state_->Finished;
}

std::vector<std::string> ScriptedPeer::Reads() const {
    std::lock_guard guard(state_->Lock);
    return state_->Reads;
}

bool ScriptedPeer::SawClose() const {
    std::lock_guard guard(state_->Lock);
    return state_->SawClose;
}

} // namespace netpeer
