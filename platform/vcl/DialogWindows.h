// Platform-internal: dialogs of the toolkit (file and folder choosers) while they are open. Each gets a
// window handle, so that the window-manager calls can find, place and close it.
#pragma once

#include "platform/core/Types.h"

class QDialog;
class QWidget;

namespace vcl_internal {

// Runs the dialog application-modally with a handle of its own (stored in *handle while it is open) until
// it is answered; a WM_CLOSE sent or posted to the handle cancels it. Returns the answer
// (QDialog::Accepted or Rejected); Rejected when the program ends first.
int ExecDialog(QDialog* dialog, HWND* handle);
// The open dialog behind a handle, or nullptr.
QWidget* DialogOfHandle(HWND handle);
// The newest open dialog's handle, or nullptr.
HWND ActiveDialogHandle();
// The top-level widget is made transient for the main form's window (it then needs no task-bar entry
// of its own); nothing without a main form, or for the main form's own widget.
void MakeTransientForMainForm(QWidget* window);

} // namespace vcl_internal
