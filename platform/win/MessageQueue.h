// Internal to the windows layer: the message queue of one thread and its place on Qt's event loop.
//
// Each thread that owns windows (or pumps messages) has one queue: posted messages, calls sent from other
// threads, the quit flag, a wake-up eventfd and an epoll set holding the sockets that have something
// armed. Qt watches the eventfd and the epoll descriptor with two socket notifiers, so a blocking Qt wait
// wakes for posted messages and socket readiness alike; the idle waiter polls the same two descriptors.
#pragma once

#include "platform/win/Messages.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QEventLoop;
class QSocketNotifier;

namespace msgloop {

// A SendMessage from another thread, answered by the owner while it retrieves messages.
struct SentCall {
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    std::mutex Mutex;
    std::condition_variable Finished;
    bool Done = false;
    LRESULT Result = 0;
};

struct QueuedMessage {
    MSG Msg;
    // The socket whose notification this is (0 for anything else), so that closing it can drop it.
    std::uintptr_t SocketTag = 0;
};

// Event bits of Watch and ReadyEntry (the epoll values).
inline constexpr std::uint32_t kWatchIn = 0x001;
inline constexpr std::uint32_t kWatchOut = 0x004;
inline constexpr std::uint32_t kWatchErr = 0x008;
inline constexpr std::uint32_t kWatchHup = 0x010;
inline constexpr std::uint32_t kWatchRdHup = 0x2000;

// Ready entries of one evaluation: the tag given to Watch and the epoll event bits.
struct ReadyEntry {
    std::uint64_t Tag;
    std::uint32_t Events;
};

class ThreadQueue;
// The socket layer's evaluation, run inside every retrieval on the owner thread.
using EvaluateHook = void (*)(ThreadQueue& queue, const ReadyEntry* ready, int count);
void SetEvaluateHook(EvaluateHook hook);

class ThreadQueue {
public:
    ThreadQueue();
    ~ThreadQueue();
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    DWORD ThreadId() const { return threadId_; }
    bool Alive() const { return alive_.load(); }

    // Any thread.
    bool Post(const MSG& msg, std::uintptr_t socketTag = 0);
    bool Send(const std::shared_ptr<SentCall>& call);
    void PostQuit(int exitCode);
    void Wake();
    void RemoveWindow(HWND window);
    // Drops the notifications of a socket: tagged ones, and (window, message, socket) ones.
    void RemoveSocket(std::uintptr_t socket, HWND window, UINT message);
    bool HasPending() const;
    // Adds, changes or removes (events 0) a descriptor of the epoll set.
    bool Watch(int fd, std::uint64_t tag, std::uint32_t events, std::uint32_t previous);
    // A periodic tick while deadlines are pending, so a blocking wait wakes to check them. Idempotent.
    void SetDeadlineTicks(bool on);

    // Owner thread only.
    bool Take(MSG* out, HWND filter, UINT filterMin, UINT filterMax, bool remove);
    bool TakeQuit(int* exitCode);
    void RunSentCalls();
    void Evaluate();
    // Dispatches the posted messages present now (not those posted meanwhile).
    void DispatchPending();
    // Qt's events. While `retrieving`, posted messages are left in the queue for the caller.
    void ProcessQtEvents(bool wait, bool retrieving);
    void IdleWait(DWORD milliseconds);
    // Called when the thread ends.
    void Shutdown();

private:
    void DrainWake();
    bool WakeDispatchAllowed() const;
    void CreateNotifiers();

    const DWORD threadId_;
    std::atomic<bool> alive_{true};
    int wakeFd_ = -1;
    int epollFd_ = -1;
    int timerFd_ = -1;
    mutable std::mutex mutex_;
    std::deque<QueuedMessage> posted_;
    std::deque<std::shared_ptr<SentCall>> sent_;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    std::atomic<bool> wakePending_{false};
    std::atomic<bool> ticking_{false};
    int retrievalLevel_ = -1;
    QEventLoop* loop_ = nullptr;
    QSocketNotifier* wakeNotifier_ = nullptr;
    QSocketNotifier* epollNotifier_ = nullptr;
};

// The calling thread's queue, made on first use (with a QCoreApplication when none exists yet).
std::shared_ptr<ThreadQueue> CurrentQueue();
// The queue of a thread, nullptr when it has none or has ended.
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId);
// Every live queue (closing a socket clears its notifications from all of them).
void ForEachQueue(const std::function<void(ThreadQueue&)>& action);

// A message as posted now: stamped with the current tick.
MSG MakeMsg(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window table access for the queue and the socket layer.
std::shared_ptr<ThreadQueue> OwnerQueueOf(HWND window);
bool PostTagged(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::uintptr_t socketTag);
// Calls the window procedure; an exception goes to the application's handler.
LRESULT GuardedCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace msgloop
