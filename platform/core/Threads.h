// Threads, events, critical sections, sleeping and the per-thread last-error value.
#pragma once

#include "platform/core/Types.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
inline constexpr DWORD STILL_ACTIVE = 259;

DWORD GetCurrentThreadId();
DWORD GetLastError();
void SetLastError(DWORD error);

// Sleep(0) yields. On a thread that runs an event loop the loop may install an idle waiter, so that
// the polling waits of the system ("pump messages, then sleep 0") wait for the next event instead of
// spinning; the waiter gets the requested milliseconds and returns once it has waited.
void Sleep(DWORD milliseconds);
using IdleWaiter = void (*)(DWORD milliseconds);
void SetThreadIdleWaiter(IdleWaiter waiter);

// Recursive lock with the platform's critical-section calls.
struct CRITICAL_SECTION {
    std::recursive_mutex mutex;
};
void InitializeCriticalSection(CRITICAL_SECTION* cs);
void DeleteCriticalSection(CRITICAL_SECTION* cs);
void EnterCriticalSection(CRITICAL_SECTION* cs);
void LeaveCriticalSection(CRITICAL_SECTION* cs);
BOOL TryEnterCriticalSection(CRITICAL_SECTION* cs);

class TCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    std::recursive_mutex mutex_;
};

// Events and threads are kernel objects behind a HANDLE; CloseHandle releases the caller's reference.
HANDLE CreateEvent(void* security, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Waits on an event or a thread (signalled when it has ended). Real time, not the tick source.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
inline constexpr DWORD CREATE_SUSPENDED = 4;
// Threads cannot be killed from outside: a thread ends by returning from its routine. Callers ask it to
// stop through their own flag or event and then wait on its handle.
HANDLE CreateThread(void* security, std::size_t stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
