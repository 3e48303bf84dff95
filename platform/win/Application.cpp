#include "platform/win/Application.h"

#include "platform/win/MessageQueue.h"

#include "platform/core/Debug.h"
#include "platform/core/Threads.h"

#include <stdexcept>

namespace {

std::atomic<TCustomApplication*> gRegistered{nullptr};

TCustomApplication& DefaultApplication() {
    // Never destroyed: window procedures may still report exceptions while the program ends.
    static auto* app = new TCustomApplication();
    return *app;
}

} // namespace

TCustomApplication::TCustomApplication() = default;

TCustomApplication::~TCustomApplication() {
    TCustomApplication* self = this;
    gRegistered.compare_exchange_strong(self, nullptr);
}

void TCustomApplication::ProcessMessages() {
    auto queue = msgloop::CurrentQueue();
    loopThread_.store(queue->ThreadId());
    queue->Evaluate();
    queue->DispatchPending();
    queue->ProcessQtEvents(false, false);
    if (queue->TakeQuit(nullptr)) Terminate();
}

void TCustomApplication::HandleMessage() {
    if (Terminated()) return;
    auto queue = msgloop::CurrentQueue();
    loopThread_.store(queue->ThreadId());
    queue->Evaluate();
    if (!queue->HasPending()) queue->ProcessQtEvents(true, false);
    ProcessMessages();
}

void TCustomApplication::Run() {
    while (!Terminated())
        HandleMessage();
}

bool TCustomApplication::Terminated() const {
    return terminated_.load();
}

void TCustomApplication::Terminate() {
    terminated_.store(true);
    if (auto queue = msgloop::QueueOfThread(loopThread_.load())) queue->Wake();
}

void TCustomApplication::HandleException(const std::exception& e) {
    DebugTrace("TCustomApplication::HandleException", e.what());
}

void TCustomApplication::HandleUnknownException() {
    HandleException(std::runtime_error("Unknown exception"));
}

TCustomApplication& CurrentApplication() {
    TCustomApplication* app = gRegistered.load();
    return app != nullptr ? *app : DefaultApplication();
}

void SetCurrentApplication(TCustomApplication* app) {
    gRegistered.store(app);
}
