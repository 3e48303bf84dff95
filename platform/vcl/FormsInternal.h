// Platform-internal: what the widgets of controls tell the forms, menus and the mouse routing.
#pragma once

#include "platform/core/Types.h"

#include <vector>

class QObject;
class TControl;
class TWinControl;
class TForm;
enum class TFormDrag;

namespace vcl_internal {

// The popup menu of the control or of its nearest parent that has one, opened at a screen point;
// false when there was none.
bool ShowContextMenu(TControl* control, TPoint screenPoint);
// A form's window was asked to close by the window manager.
void FormCloseRequested(TControl* form);
// A form's window was moved or resized from outside (window manager, system move).
void FormGeometryChanged(TControl* form);
void FormActivationChanged(TControl* form, bool active);
void FormWindowStateChanged(TControl* form);
// A control goes away: forget it wherever the forms layer points at it.
void ControlDestroying(TControl* control);
// A windowed control got or lost the focus.
void ControlFocusChanged(TWinControl* control, bool entering);

// The application's main form; nullptr before the first form or without an application object.
TForm* MainFormOrNull();
// Every form, in creation order, and the active one.
std::vector<TForm*>& FormList();
TForm*& ActiveFormRef();
// Screen position of the mouse event handled last (real or made by a test).
TPoint LastMouseScreenPos();
// A form's window follows the mouse (moved, or sized from its bottom-right corner) from the screen
// point `anchor` until the left button is released; it follows where the mouse is now at once.
void BeginFormDrag(TForm* form, TFormDrag kind, TPoint anchor);
void EndFormDrag(TForm* form);
// Whether the left button is down, as the mouse events handled last tell.
bool LeftButtonHeld();

// While it lives, the end of the desktop session and the termination signals post WM_ENDSESSION to
// the target (the main form); nothing when the target is nullptr.
class TEndOfSessionRoutes {
public:
    explicit TEndOfSessionRoutes(HWND target);
    ~TEndOfSessionRoutes();
    TEndOfSessionRoutes(const TEndOfSessionRoutes&) = delete;
    TEndOfSessionRoutes& operator=(const TEndOfSessionRoutes&) = delete;

private:
    QObject* filter_ = nullptr;
};

// The toolkit's own texts (standard buttons, file dialogs) in the language of this id, from the
// toolkit's translations; English (none loaded) for the languages the program has no tables for.
void LoadToolkitTranslations(LANGID language);

// Mouse routing of the whole application: capture, disabled forms, window moves. Installed with the
// QApplication.
void InstallApplicationFilter();

} // namespace vcl_internal
