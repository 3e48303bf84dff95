#include "platform/core/Threads.h"

#include <chrono>
#include <condition_variable>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

thread_local DWORD tLastError = 0;
thread_local IdleWaiter tIdleWaiter = nullptr;

// Base of every object behind a HANDLE. References: one for the creator's handle, one for a running
// thread itself, so a handle may be closed while its thread still runs.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    void AddRef() { refs_.fetch_add(1); }
    void Release() {
        if (refs_.fetch_sub(1) == 1) delete this;
    }
    // Blocks until signalled or the time runs out; consumes the signal of an auto-reset event. A signal
    // already there is taken without the lock, so a waiter that keeps up with its setter never sleeps.
    DWORD Wait(DWORD milliseconds) {
        if (TakeSignal()) return WAIT_OBJECT_0;
        if (milliseconds == 0) return WAIT_TIMEOUT;
        std::unique_lock lock(mutex_);
        waiters_.fetch_add(1);
        auto ready = [this] { return TakeSignal(); };
        bool got = true;
        if (milliseconds == INFINITE)
            cv_.wait(lock, ready);
        else
            got = cv_.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
        waiters_.fetch_sub(1);
        return got ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
    // The flag is raised before the waiters are counted, and a waiter counts itself before it looks at
    // the flag, so one of the two always sees the other: no wake-up is lost when nobody is notified. A
    // flag already up was raised by a setter that does the waking; it is only read, so that a setter
    // called over and over does not take the flag's cache line from the waiter.
    void Signal() {
        if (signalled_.load() || signalled_.exchange(true)) return;
        if (waiters_.load() == 0) return;
        { std::lock_guard lock(mutex_); }
        if (manualReset_)
            cv_.notify_all();
        else
            cv_.notify_one();
    }
    void Reset() { signalled_.store(false); }

protected:
    KernelObject(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

private:
    // Read before it is taken, so that looking at a clear flag writes nothing.
    bool TakeSignal() { return signalled_.load() && (manualReset_ || signalled_.exchange(false)); }

    std::atomic<int> refs_{1};
    std::mutex mutex_;
    std::condition_variable cv_;
    const bool manualReset_;
    std::atomic<bool> signalled_;
    std::atomic<int> waiters_{0};
};

class EventObject final : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled) : KernelObject(manualReset, signalled) {}
};

class ThreadObject final : public KernelObject {
public:
    ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter)
        : KernelObject(true, false), start_(start), parameter_(parameter) {}
    void Launch() {
        std::lock_guard lock(launchMutex_);
        if (launched_) return;
        launched_ = true;
        AddRef();
        std::thread([this] {
            id_ = GetCurrentThreadId();
            idKnown_.store(true);
            exitCode_.store(start_(parameter_));
            Signal();
            Release();
        }).detach();
    }
    DWORD ExitCode() const { return exitCode_.load(); }
    DWORD Id() {
        while (launched_ && !idKnown_.load())
            std::this_thread::yield();
        return id_;
    }

private:
    LPTHREAD_START_ROUTINE start_;
    LPVOID parameter_;
    std::mutex launchMutex_;
    bool launched_ = false;
    std::atomic<DWORD> exitCode_{STILL_ACTIVE};
    std::atomic<bool> idKnown_{false};
    DWORD id_ = 0;
};

KernelObject* FromHandle(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    return static_cast<KernelObject*>(h);
}

} // namespace

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(::syscall(SYS_gettid));
}
DWORD GetLastError() {
    return tLastError;
}
void SetLastError(DWORD error) {
    tLastError = error;
}

void SetThreadIdleWaiter(IdleWaiter waiter) {
    tIdleWaiter = waiter;
}

void Sleep(DWORD milliseconds) {
    if (tIdleWaiter != nullptr) {
        tIdleWaiter(milliseconds);
        return;
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void InitializeCriticalSection(CRITICAL_SECTION*) {}
void DeleteCriticalSection(CRITICAL_SECTION*) {}
void EnterCriticalSection(CRITICAL_SECTION* cs) {
    cs->mutex.lock();
}
void LeaveCriticalSection(CRITICAL_SECTION* cs) {
    cs->mutex.unlock();
}
BOOL TryEnterCriticalSection(CRITICAL_SECTION* cs) {
    return cs->mutex.try_lock() ? TRUE : FALSE;
}

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, const char*) {
    return static_cast<KernelObject*>(new EventObject(manualReset != FALSE, initialState != FALSE));
}

BOOL SetEvent(HANDLE event) {
    auto* e = dynamic_cast<EventObject*>(FromHandle(event));
    if (e == nullptr) return FALSE;
    e->Signal();
    return TRUE;
}

BOOL ResetEvent(HANDLE event) {
    auto* e = dynamic_cast<EventObject*>(FromHandle(event));
    if (e == nullptr) return FALSE;
    e->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    KernelObject* o = FromHandle(object);
    return o == nullptr ? WAIT_FAILED : o->Wait(milliseconds);
}

BOOL CloseHandle(HANDLE object) {
    KernelObject* o = FromHandle(object);
    if (o == nullptr) return FALSE;
    o->Release();
    return TRUE;
}

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    DWORD* threadId) {
    if (start == nullptr) return nullptr;
    auto* t = new ThreadObject(start, parameter);
    if ((flags & CREATE_SUSPENDED) == 0) {
        t->Launch();
        if (threadId != nullptr) *threadId = t->Id();
    } else if (threadId != nullptr) {
        *threadId = 0;
    }
    return static_cast<KernelObject*>(t);
}

DWORD ResumeThread(HANDLE thread) {
    auto* t = dynamic_cast<ThreadObject*>(FromHandle(thread));
    if (t == nullptr) return 0xFFFFFFFFu;
    t->Launch();
    return 1;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode) {
    auto* t = dynamic_cast<ThreadObject*>(FromHandle(thread));
    if (t == nullptr || exitCode == nullptr) return FALSE;
    *exitCode = t->ExitCode();
    return TRUE;
}
