#include "platform/vcl/WinUser.h"

#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/DialogWindows.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <atomic>

namespace {

std::atomic<int> gBeeps{0};

TRect ToRect(const QRect& r) {
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

} // namespace

SHORT GetAsyncKeyState(int virtualKey) {
    vcl_internal::EnsureGuiApplication();
    bool down = false;
    // Offscreen there is no keyboard to ask: the last input event (a test's) stands for it.
    const Qt::KeyboardModifiers mods = vcl_internal::IsOffscreen()
                                           ? vcl_internal::LastInputModifiers()
                                           : QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    switch (virtualKey) {
    case VK_SHIFT:
        down = mods & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = mods & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = mods & Qt::AltModifier;
        break;
    case VK_LBUTTON:
        down = buttons & Qt::LeftButton;
        break;
    case VK_RBUTTON:
        down = buttons & Qt::RightButton;
        break;
    case VK_MBUTTON:
        down = buttons & Qt::MiddleButton;
        break;
    default:
        break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetKeyState(int virtualKey) {
    return GetAsyncKeyState(virtualKey);
}

BOOL GetCursorPos(TPoint* point) {
    if (!point) return FALSE;
    vcl_internal::EnsureGuiApplication();
    if (vcl_internal::IsOffscreen()) {
        // No pointer exists: the last mouse event (a test's) stands for it.
        *point = vcl_internal::LastMouseScreenPos();
        return TRUE;
    }
    const QPoint p = QCursor::pos();
    *point = Point(p.x(), p.y());
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    vcl_internal::EnsureGuiApplication();
    QCursor::setPos(x, y);
    return TRUE;
}

HWND SetCapture(HWND window) {
    HWND previous = GetCapture();
    if (TWinControl* control = FindControl(window)) SetCaptureControl(control);
    return previous;
}

BOOL ReleaseCapture() {
    SetCaptureControl(nullptr);
    return TRUE;
}

HWND GetCapture() {
    TControl* control = GetCaptureControl();
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed && control) windowed = control->Parent();
    return windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
}

HWND GetForegroundWindow() {
    if (HWND dialog = vcl_internal::ActiveDialogHandle()) return dialog;
    TForm* form = vcl_internal::ActiveFormRef();
    return form ? form->Handle() : nullptr;
}

HWND GetActiveWindow() {
    return GetForegroundWindow();
}

BOOL SetForegroundWindow(HWND window) {
    if (auto* form = dynamic_cast<TForm*>(FindControl(window))) {
        form->BringToFront();
        return TRUE;
    }
    if (QWidget* w = vcl_internal::DialogOfHandle(window)) {
        w->raise();
        w->activateWindow();
        return TRUE;
    }
    return FALSE;
}

BOOL GetWindowRect(HWND window, TRect* rect) {
    if (!rect) return FALSE;
    if (TWinControl* control = FindControl(window)) {
        if (dynamic_cast<TForm*>(control)) {
            *rect = control->BoundsRect();
        } else {
            const TPoint origin = control->ClientOrigin();
            *rect = Rect(origin.X, origin.Y, origin.X + control->Width(), origin.Y + control->Height());
        }
        return TRUE;
    }
    if (QWidget* w = vcl_internal::DialogOfHandle(window)) {
        *rect = ToRect(w->frameGeometry());
        return TRUE;
    }
    return FALSE;
}

BOOL GetClientRect(HWND window, TRect* rect) {
    if (!rect) return FALSE;
    if (TWinControl* control = FindControl(window)) {
        *rect = control->ClientRect();
        return TRUE;
    }
    if (QWidget* w = vcl_internal::DialogOfHandle(window)) {
        *rect = Rect(0, 0, w->width(), w->height());
        return TRUE;
    }
    return FALSE;
}

BOOL IsWindowVisible(HWND window) {
    if (TWinControl* control = FindControl(window)) return control->Showing() ? TRUE : FALSE;
    QWidget* w = vcl_internal::DialogOfHandle(window);
    return w && w->isVisible() ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    if (TWinControl* control = FindControl(window)) return control->Enabled() ? TRUE : FALSE;
    return vcl_internal::DialogOfHandle(window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    TWinControl* control = FindControl(window);
    if (!control) return FALSE;
    const bool wasDisabled = !control->Enabled();
    control->SetEnabled(enable != FALSE);
    return wasDisabled ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    TWinControl* control = FindControl(window);
    QWidget* dialog = control ? nullptr : vcl_internal::DialogOfHandle(window);
    if (!control && !dialog) return FALSE;
    if (control) {
        if (auto* form = dynamic_cast<TForm*>(control); form && !(flags & SWP_NOZORDER)) {
            if (insertAfter == HWND_TOPMOST)
                form->SetTopmost(true);
            else if (insertAfter == HWND_NOTOPMOST)
                form->SetTopmost(false);
        }
        const int left = (flags & SWP_NOMOVE) ? control->Left() : x;
        const int top = (flags & SWP_NOMOVE) ? control->Top() : y;
        const int w = (flags & SWP_NOSIZE) ? control->Width() : width;
        const int h = (flags & SWP_NOSIZE) ? control->Height() : height;
        control->SetBounds(left, top, w, h);
        if (flags & SWP_SHOWWINDOW) control->Show();
        if (flags & SWP_HIDEWINDOW) control->Hide();
        return TRUE;
    }
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        // Set on the native window in place: through the widget, a flag change re-creates a shown window
        // and hides it on the way, which ends a modal dialog.
        Qt::WindowFlags windowFlags = dialog->windowFlags();
        windowFlags.setFlag(Qt::WindowStaysOnTopHint, insertAfter == HWND_TOPMOST);
        dialog->overrideWindowFlags(windowFlags);
        if (QWindow* native = dialog->windowHandle()) native->setFlags(windowFlags);
        if (insertAfter == HWND_TOPMOST) dialog->raise();
    }
    if (!(flags & SWP_NOMOVE)) dialog->move(x, y);
    if (!(flags & SWP_NOSIZE)) dialog->resize(width, height);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

BOOL ShowWindow(HWND window, int command) {
    TWinControl* control = FindControl(window);
    if (!control) return FALSE;
    const BOOL wasVisible = control->Visible() ? TRUE : FALSE;
    auto* form = dynamic_cast<TForm*>(control);
    switch (command) {
    case SW_HIDE:
        control->Hide();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (form) form->SetWindowState(wsMinimized);
        control->Show();
        break;
    case SW_SHOWMAXIMIZED:
        if (form) form->SetWindowState(wsMaximized);
        control->Show();
        break;
    case SW_RESTORE:
        if (form) form->SetWindowState(wsNormal);
        control->Show();
        break;
    default:
        control->Show();
        break;
    }
    return wasVisible;
}

BOOL SystemParametersInfo(UINT action, UINT, void* value, UINT) {
    if (action != SPI_GETWORKAREA || !value) return FALSE;
    *static_cast<TRect*>(value) = Screen->WorkAreaRect();
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return Screen->Width();
    case SM_CYSCREEN:
        return Screen->Height();
    default:
        return 0;
    }
}

BOOL MessageBeep(UINT) {
    ++gBeeps;
    if (!vcl_internal::IsOffscreen()) QApplication::beep();
    return TRUE;
}

int BeepCount() {
    return gBeeps.load();
}
