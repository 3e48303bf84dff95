// Window messages: message numbers, hidden (message-only) windows, window classes and the message queue
// of each thread.
//
// A window belongs to the thread that created it; its messages are dispatched on that thread only.
// PostMessage may be called from any thread and wakes the owner's loop. Handles are unique numbers that
// are never reused, so a message queued for a destroyed window simply vanishes.
//
// Window procedures may throw: DispatchMessage and SendMessage hand the exception to the application's
// HandleException (Application.h), it never unwinds into the caller's event loop.
#pragma once

#include "platform/core/Types.h"

#include <functional>

using ATOM = WORD;
using LONG_PTR = std::intptr_t;

// Message numbers used by the system.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_ENDSESSION = 0x0016;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// System commands (WM_SYSCOMMAND) and hit-test codes used with WM_NCLBUTTONDOWN.
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM HTCAPTION = 2;
inline constexpr WPARAM HTBOTTOMRIGHT = 17;

// Window styles that hidden windows are created with; they have no visible effect here.
inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080u;
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-3));

// GetWindowLong/SetWindowLong indexes besides the class's extra bytes (0, 4, ...).
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GWLP_USERDATA = -21;

// PeekMessage flags.
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// Errors set by the window calls (GetLastError); the general ones (ERROR_ACCESS_DENIED 5,
// ERROR_INVALID_PARAMETER 87) are the core layer's.
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_INVALID_INDEX = 1413;
inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
inline constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
inline constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HANDLE hIcon = nullptr;
    HANDLE hCursor = nullptr;
    HANDLE hbrBackground = nullptr;
    LPCSTR lpszMenuName = nullptr;
    LPCSTR lpszClassName = nullptr;
};
using WNDCLASSA = WNDCLASS;

// Passed in lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCT {
    LPVOID lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HANDLE hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    LPCSTR lpszName = nullptr;
    LPCSTR lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
};

// The class library's message record, as handed to message methods.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(static_cast<DWORD>(WParam)); }
    WORD WParamHi() const { return HIWORD(static_cast<DWORD>(WParam)); }
    WORD LParamLo() const { return LOWORD(static_cast<DWORD>(LParam)); }
    WORD LParamHi() const { return HIWORD(static_cast<DWORD>(LParam)); }
};

// The program's own module instance.
HINSTANCE MainInstance();

ATOM RegisterClass(const WNDCLASS* windowClass);
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* windowClass);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);

// Every window is message-only: position, size, styles, parent and menu are accepted and ignored.
// Sends WM_NCCREATE and WM_CREATE; a FALSE from the first or -1 from the second fails the creation.
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HANDLE menu, HINSTANCE instance, LPVOID param);
// Sends WM_DESTROY and WM_NCDESTROY, then forgets the handle and drops the messages queued for it.
// Only the owner thread may destroy a window (ERROR_ACCESS_DENIED otherwise).
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Index 0, 4, ... address the class's extra bytes; index 0 holds a whole pointer with the Ptr calls,
// whatever the class declared. GWL_USERDATA is an extra pointer-sized word of every window.
LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);
LONG_PTR GetWindowLongPtr(HWND window, int index);
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A hidden window whose messages go to a method (the class library's utility window).
HWND AllocateHWnd(std::function<void(TMessage&)> method);
// Destroys it without calling the method again.
void DeallocateHWnd(HWND window);

// Any thread. A null window posts to the calling thread's own queue. Fails (FALSE,
// ERROR_INVALID_WINDOW_HANDLE) for an unknown or destroyed window.
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Same thread: a direct call. Other thread: queued to the owner and waited for (the owner answers
// while it retrieves messages).
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Retrieval runs one evaluation of the thread's sockets first, so socket notifications are found by
// every kind of wait. A window filter of nullptr takes any message of the thread; min = max = 0 takes
// every number. WM_QUIT comes only when nothing else matches.
BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits for a message. Returns 0 for WM_QUIT, -1 for a bad argument, else non-zero.
BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
