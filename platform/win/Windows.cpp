// Window classes, the window table and the window calls.
#include "platform/win/Application.h"
#include "platform/win/WindowTable.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"

#include <cstring>
#include <map>
#include <stdexcept>
#include <unistd.h>

using msgloop::WindowRec;

namespace {

constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorInvalidParameter = 87;
constexpr const char* kUtilWindowClass = "HarbekUtilWindow";

struct ClassRec {
    WNDCLASS Class;
    std::string Name;
    int Windows = 0;
};

std::mutex gTableMutex;
// Handles count up from here in steps of 4 and are never handed out twice.
std::uintptr_t gNextHandle = 0x10000;

std::map<std::string, ClassRec>& Classes() {
    static auto* classes = new std::map<std::string, ClassRec>;
    return *classes;
}

std::map<std::uintptr_t, std::shared_ptr<WindowRec>>& Windows() {
    static auto* windows = new std::map<std::uintptr_t, std::shared_ptr<WindowRec>>;
    return *windows;
}

std::string ClassKey(LPCSTR name) {
    return name != nullptr ? LowerCase(name) : std::string();
}

LRESULT CallWindow(const std::shared_ptr<WindowRec>& rec, UINT message, WPARAM wParam, LPARAM lParam) {
    if (rec->Method) {
        // A copy, so that the method may deallocate its own window while it runs.
        auto method = rec->Method;
        TMessage m{message, wParam, lParam, 0};
        method(m);
        return m.Result;
    }
    if (rec->Proc != nullptr) return rec->Proc(rec->Handle, message, wParam, lParam);
    return DefWindowProc(rec->Handle, message, wParam, lParam);
}

LRESULT CallGuarded(const std::shared_ptr<WindowRec>& rec, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return CallWindow(rec, message, wParam, lParam);
    } catch (const std::exception& e) {
        try {
            CurrentApplication().HandleException(e);
        } catch (...) {
        }
    } catch (...) {
        try {
            CurrentApplication().HandleUnknownException();
        } catch (...) {
        }
    }
    return 0;
}

void ForgetWindow(const std::shared_ptr<WindowRec>& rec) {
    {
        std::lock_guard lock(gTableMutex);
        Windows().erase(reinterpret_cast<std::uintptr_t>(rec->Handle));
        auto cls = Classes().find(ClassKey(rec->ClassName.c_str()));
        if (cls != Classes().end() && cls->second.Windows > 0) --cls->second.Windows;
    }
    rec->Owner->RemoveWindow(rec->Handle);
}

bool ExtraIndexValid(const WindowRec& rec, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= rec.Extra.size();
}

// The window's word at `index` (GWL_USERDATA or an offset into its extra bytes), replaced by
// *replacement when one is given; 0, with the error set, for an unknown window or a word outside them.
template <class T>
T WindowWord(HWND window, int index, const T* replacement) {
    auto rec = msgloop::FindWindowRec(window);
    if (!rec) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::lock_guard lock(gTableMutex);
    if (index == GWLP_USERDATA) {
        const T previous = static_cast<T>(rec->UserData);
        if (replacement) rec->UserData = *replacement;
        return previous;
    }
    if (!ExtraIndexValid(*rec, index, sizeof(T))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    T previous = 0;
    std::memcpy(&previous, rec->Extra.data() + index, sizeof previous);
    if (replacement) std::memcpy(rec->Extra.data() + index, replacement, sizeof(T));
    return previous;
}

void EnsureUtilClass() {
    WNDCLASS cls;
    if (GetClassInfo(MainInstance(), kUtilWindowClass, &cls)) return;
    cls = WNDCLASS{};
    cls.lpfnWndProc = &DefWindowProc;
    cls.hInstance = MainInstance();
    cls.lpszClassName = kUtilWindowClass;
    RegisterClass(&cls);
}

} // namespace

namespace msgloop {

std::shared_ptr<WindowRec> FindWindowRec(HWND window) {
    std::lock_guard lock(gTableMutex);
    auto it = Windows().find(reinterpret_cast<std::uintptr_t>(window));
    return it == Windows().end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> OwnerQueueOf(HWND window) {
    auto rec = FindWindowRec(window);
    return rec ? rec->Owner : nullptr;
}

MSG MakeMsg(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

bool PostTagged(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::uintptr_t socketTag) {
    auto rec = FindWindowRec(window);
    if (!rec) return false;
    return rec->Owner->Post(MakeMsg(window, message, wParam, lParam), socketTag);
}

LRESULT GuardedCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto rec = FindWindowRec(window);
    if (!rec) return 0;
    return CallGuarded(rec, message, wParam, lParam);
}

} // namespace msgloop

HINSTANCE MainInstance() {
    static int anchor = 0;
    return reinterpret_cast<HINSTANCE>(&anchor);
}

ATOM RegisterClass(const WNDCLASS* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        *windowClass->lpszClassName == '\0' || windowClass->cbWndExtra < 0 || windowClass->cbWndExtra > 40) {
        SetLastError(kErrorInvalidParameter);
        return 0;
    }
    std::lock_guard lock(gTableMutex);
    const std::string key = ClassKey(windowClass->lpszClassName);
    if (Classes().count(key) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ClassRec rec;
    rec.Class = *windowClass;
    rec.Name = windowClass->lpszClassName;
    rec.Class.lpszClassName = nullptr;
    rec.Class.lpszMenuName = nullptr;
    Classes()[key] = rec;
    // Atoms of registered classes live in 0xC000..0xFFFF.
    static WORD nextAtom = 0xC000;
    const ATOM atom = nextAtom;
    nextAtom = nextAtom == 0xFFFF ? 0xC000 : static_cast<WORD>(nextAtom + 1);
    return atom;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* windowClass) {
    std::lock_guard lock(gTableMutex);
    auto it = Classes().find(ClassKey(className));
    if (className == nullptr || it == Classes().end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (windowClass != nullptr) {
        *windowClass = it->second.Class;
        windowClass->lpszClassName = it->second.Name.c_str();
    }
    return TRUE;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
    std::lock_guard lock(gTableMutex);
    auto it = Classes().find(ClassKey(className));
    if (className == nullptr || it == Classes().end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (it->second.Windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    Classes().erase(it);
    return TRUE;
}

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HANDLE menu, HINSTANCE instance, LPVOID param) {
    auto owner = msgloop::CurrentQueue();
    auto rec = std::make_shared<WindowRec>();
    {
        std::lock_guard lock(gTableMutex);
        auto cls = Classes().find(ClassKey(className));
        if (className == nullptr || cls == Classes().end()) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        rec->ClassName = cls->second.Name;
        rec->Proc = cls->second.Class.lpfnWndProc;
        rec->Extra.assign(
            std::max<std::size_t>(static_cast<std::size_t>(cls->second.Class.cbWndExtra), sizeof(LONG_PTR)),
            0);
        rec->Instance = instance;
        rec->Owner = owner;
        rec->Handle = reinterpret_cast<HWND>(gNextHandle);
        gNextHandle += 4;
        Windows()[reinterpret_cast<std::uintptr_t>(rec->Handle)] = rec;
        ++cls->second.Windows;
    }
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    const LPARAM csParam = reinterpret_cast<LPARAM>(&cs);
    if (CallGuarded(rec, WM_NCCREATE, 0, csParam) == FALSE || CallGuarded(rec, WM_CREATE, 0, csParam) == -1) {
        ForgetWindow(rec);
        return nullptr;
    }
    return rec->Handle;
}

BOOL DestroyWindow(HWND window) {
    auto rec = msgloop::FindWindowRec(window);
    if (!rec) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (rec->Owner->ThreadId() != GetCurrentThreadId()) {
        SetLastError(kErrorAccessDenied);
        return FALSE;
    }
    if (rec->Destroying) return TRUE;
    rec->Destroying = true;
    CallGuarded(rec, WM_DESTROY, 0, 0);
    CallGuarded(rec, WM_NCDESTROY, 0, 0);
    ForgetWindow(rec);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return msgloop::FindWindowRec(window) ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    auto rec = msgloop::FindWindowRec(window);
    if (!rec) return 0;
    if (processId != nullptr) *processId = static_cast<DWORD>(::getpid());
    return rec->Owner->ThreadId();
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
    return WindowWord<LONG_PTR>(window, index, nullptr);
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
    return WindowWord(window, index, &value);
}

LONG GetWindowLong(HWND window, int index) {
    return WindowWord<LONG>(window, index, nullptr);
}

LONG SetWindowLong(HWND window, int index, LONG value) {
    return WindowWord(window, index, &value);
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    default:
        return 0;
    }
}

HWND AllocateHWnd(std::function<void(TMessage&)> method) {
    EnsureUtilClass();
    HWND window = CreateWindowEx(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, MainInstance(), nullptr);
    if (window == nullptr) return nullptr;
    if (auto rec = msgloop::FindWindowRec(window)) rec->Method = std::move(method);
    return window;
}

void DeallocateHWnd(HWND window) {
    auto rec = msgloop::FindWindowRec(window);
    if (!rec) return;
    // Not the method any more: the object that owns it is usually being destroyed.
    rec->Method = nullptr;
    rec->Proc = &DefWindowProc;
    DestroyWindow(window);
}
