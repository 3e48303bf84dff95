// The window manager's calls on visible windows: virtual-key codes, the keyboard and cursor state,
// mouse capture, window rectangles and placement, the desktop work area and the default beep.
//
// Window handles are those of TWinControl::Handle (forms and windowed controls) and of the dialogs
// while they are open.
#pragma once

#include "platform/core/Types.h"
#include "platform/win/Messages.h"

// Virtual-key codes.
inline constexpr WORD VK_LBUTTON = 0x01;
inline constexpr WORD VK_RBUTTON = 0x02;
inline constexpr WORD VK_MBUTTON = 0x04;
inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_TAB = 0x09;
inline constexpr WORD VK_CLEAR = 0x0C;
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_SHIFT = 0x10;
inline constexpr WORD VK_CONTROL = 0x11;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_PAUSE = 0x13;
inline constexpr WORD VK_CAPITAL = 0x14;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_SPACE = 0x20;
inline constexpr WORD VK_PRIOR = 0x21;
inline constexpr WORD VK_NEXT = 0x22;
inline constexpr WORD VK_END = 0x23;
inline constexpr WORD VK_HOME = 0x24;
inline constexpr WORD VK_LEFT = 0x25;
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_PRINT = 0x2A;
inline constexpr WORD VK_SNAPSHOT = 0x2C;
inline constexpr WORD VK_INSERT = 0x2D;
inline constexpr WORD VK_DELETE = 0x2E;
inline constexpr WORD VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their own codes.
inline constexpr WORD VK_LWIN = 0x5B;
inline constexpr WORD VK_RWIN = 0x5C;
inline constexpr WORD VK_APPS = 0x5D;
inline constexpr WORD VK_NUMPAD0 = 0x60;
inline constexpr WORD VK_NUMPAD9 = 0x69;
inline constexpr WORD VK_MULTIPLY = 0x6A;
inline constexpr WORD VK_ADD = 0x6B;
inline constexpr WORD VK_SEPARATOR = 0x6C;
inline constexpr WORD VK_SUBTRACT = 0x6D;
inline constexpr WORD VK_DECIMAL = 0x6E;
inline constexpr WORD VK_DIVIDE = 0x6F;
inline constexpr WORD VK_F1 = 0x70;
inline constexpr WORD VK_F2 = 0x71;
inline constexpr WORD VK_F3 = 0x72;
inline constexpr WORD VK_F4 = 0x73;
inline constexpr WORD VK_F5 = 0x74;
inline constexpr WORD VK_F6 = 0x75;
inline constexpr WORD VK_F7 = 0x76;
inline constexpr WORD VK_F8 = 0x77;
inline constexpr WORD VK_F9 = 0x78;
inline constexpr WORD VK_F10 = 0x79;
inline constexpr WORD VK_F11 = 0x7A;
inline constexpr WORD VK_F12 = 0x7B;
inline constexpr WORD VK_F24 = 0x87;
inline constexpr WORD VK_NUMLOCK = 0x90;
inline constexpr WORD VK_SCROLL = 0x91;
inline constexpr WORD VK_OEM_1 = 0xBA;
inline constexpr WORD VK_OEM_PLUS = 0xBB;
inline constexpr WORD VK_OEM_COMMA = 0xBC;
inline constexpr WORD VK_OEM_MINUS = 0xBD;
inline constexpr WORD VK_OEM_PERIOD = 0xBE;
inline constexpr WORD VK_OEM_2 = 0xBF;
inline constexpr WORD VK_OEM_3 = 0xC0;
inline constexpr WORD VK_OEM_4 = 0xDB;
inline constexpr WORD VK_OEM_5 = 0xDC;
inline constexpr WORD VK_OEM_6 = 0xDD;
inline constexpr WORD VK_OEM_7 = 0xDE;

// Bit 15 set while the key is down: Shift, Control and Alt from the keyboard (offscreen: from the
// modifiers of the last input event), mouse buttons from the buttons held; other keys read as up.
SHORT GetAsyncKeyState(int virtualKey);
SHORT GetKeyState(int virtualKey);

BOOL GetCursorPos(TPoint* point);
BOOL SetCursorPos(int x, int y);

// Mouse capture by window handle. ReleaseCapture also ends a capture held by a graphic control.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// The active form, or the open dialog.
HWND GetForegroundWindow();
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
// Screen rectangle of a form (frame included) or of a windowed control.
BOOL GetWindowRect(HWND window, TRect* rect);
BOOL GetClientRect(HWND window, TRect* rect);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
// Places a form or control: insertAfter HWND_TOPMOST / HWND_NOTOPMOST switch a form's topmost state.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;
BOOL ShowWindow(HWND window, int command);

inline constexpr UINT SPI_GETWORKAREA = 0x0030;
// SPI_GETWORKAREA fills a TRect with the desktop work area.
BOOL SystemParametersInfo(UINT action, UINT param, void* value, UINT winIni);
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int index);

// Message boxes: buttons, icons and results.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONSTOP = 0x00000010;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = 0x00000030;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
// The desktop's beep; counted for tests (BeepCount).
BOOL MessageBeep(UINT type);
int BeepCount();
