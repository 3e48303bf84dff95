// Posting, sending and retrieving messages.
#include "platform/win/Application.h"
#include "platform/win/WindowTable.h"

#include "platform/core/Threads.h"

using msgloop::MakeMsg;

namespace {

constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorInvalidThreadId = 1444;

} // namespace

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr)
        return msgloop::CurrentQueue()->Post(MakeMsg(nullptr, message, wParam, lParam)) ? TRUE : FALSE;
    if (!msgloop::PostTagged(window, message, wParam, lParam, 0)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    auto queue =
        threadId == GetCurrentThreadId() ? msgloop::CurrentQueue() : msgloop::QueueOfThread(threadId);
    if (!queue || !queue->Post(MakeMsg(nullptr, message, wParam, lParam))) {
        SetLastError(kErrorInvalidThreadId);
        return FALSE;
    }
    return TRUE;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto owner = msgloop::OwnerQueueOf(window);
    if (!owner) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (owner->ThreadId() == GetCurrentThreadId())
        return msgloop::GuardedCall(window, message, wParam, lParam);
    auto call = std::make_shared<msgloop::SentCall>();
    call->Window = window;
    call->Message = message;
    call->WParam = wParam;
    call->LParam = lParam;
    if (!owner->Send(call)) return 0;
    std::unique_lock lock(call->Mutex);
    call->Finished.wait(lock, [&] { return call->Done; });
    return call->Result;
}

void PostQuitMessage(int exitCode) {
    msgloop::CurrentQueue()->PostQuit(exitCode);
}

BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr) {
        SetLastError(kErrorInvalidParameter);
        return FALSE;
    }
    auto queue = msgloop::CurrentQueue();
    queue->RunSentCalls();
    queue->Evaluate();
    queue->ProcessQtEvents(false, true);
    return queue->Take(msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) {
        SetLastError(kErrorInvalidParameter);
        return -1;
    }
    if (window != nullptr && window != reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)) &&
        !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    auto queue = msgloop::CurrentQueue();
    for (;;) {
        queue->RunSentCalls();
        queue->Evaluate();
        if (queue->Take(msg, window, filterMin, filterMax, true))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        queue->ProcessQtEvents(true, true);
    }
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;
    return msgloop::GuardedCall(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
