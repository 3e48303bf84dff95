// Driving and picturing forms in tests: pictures of a form as PNG files, mouse and keyboard input on
// controls found by name, waits that pump messages, and scoped answers for modal forms and dialogs.
//
// Input reaches the widgets as a person's would (the widget under the point gets it, a pressed button
// keeps it until release, disabled forms and modal loops filter it); a drag queues its moves before
// the press, so a press handler that runs a loop of its own (a window move) sees them.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TestHooks.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace form_testing {

// ---- pictures ----

struct TSnapshot {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels; // $AARRGGBB, top row first
    // $00BBGGRR of a pixel; raises ERangeError outside the picture.
    TColor At(int x, int y) const;
};

// The form as it would appear: its client area, and for bordered forms a plain frame and title bar
// of the form's nominal frame size. The form is painted even when hidden.
TSnapshot TakeSnapshot(TForm* form);
// Writes TakeSnapshot as a PNG file; raises EWriteError when the file cannot be written.
void SaveFormSnapshot(TForm* form, const std::string& pngFile);
// The shown form's client area as the screen holds it once pending paints are done: what the paints
// left there, not painted afresh. Raises EInvalidOperation for a form that is not shown.
TSnapshot TakeScreenPicture(TForm* form);
// Paint events the toolkit has sent the control so far: how often its area was painted on the screen.
int PaintEvents(TControl* control);

// ---- finding controls ----

// The component of that name on the form (any depth of ownership); raises EComponentError.
TControl* FindControlByName(TForm* form, const std::string& name);

// ---- input (points are client coordinates of the control; nullopt-like -1 means the centre) ----

TPoint Centre(TControl* control);
void MouseDown(TControl* control, TMouseButton button, TPoint point, TShiftState shift = TShiftState());
void MouseUp(TControl* control, TMouseButton button, TPoint point, TShiftState shift = TShiftState());
// Moves the mouse to the point (with the buttons given held); enter and leave follow the pointer.
void MouseMove(TControl* control, TPoint point, TShiftState buttons = TShiftState());
void Click(TControl* control);
void Click(TControl* control, TPoint point, TMouseButton button = mbLeft);
void Click(TForm* form, const std::string& controlName);
void DoubleClick(TControl* control);
// Turns the mouse wheel over the point by delta (120 a notch, positive away from the user).
void MouseWheel(TControl* control, TPoint point, int delta, TShiftState shift = TShiftState());
// Press at `from`, moves in `steps` equal steps, release at `to` (both client points of control).
void Drag(TControl* control, TPoint from, TPoint to, int steps = 4);
// One key pressed and released on the control (or on the focused control of the form when control
// is a form). The text is what the key types ("" for keys that type nothing).
void PressKey(TControl* control, WORD virtualKey, TShiftState shift = TShiftState(),
              const std::string& text = "");
// Types the text character by character into the control (it is focused first).
void TypeText(TControl* control, const std::string& text);
// The ways a person pastes into an edit control.
enum class TPasteRoad { CtrlV, ShiftInsert, ContextMenu };
// Puts the text on the clipboard and pastes it into the edit control (focused first) as the road does:
// the keys pressed and released, or the right button's menu opened and its Paste taken.
void PasteText(TControl* edit, TPasteRoad road, const std::string& text);

// ---- the message loop ----

// Handles everything pending, a few rounds.
void ProcessEvents();
// Runs code from the message loop once everything pending now is handled (inside a modal loop, for one).
void RunLater(std::function<void()> code);
// The window manager's close of the form's window (its close button, Alt+F4): the close event the
// toolkit delivers for WM_DELETE_WINDOW.
void RequestWindowClose(TForm* form);
// The end of the desktop session: the quit event the toolkit sends when the session manager ends the
// program.
void EndDesktopSession();
// Pumps messages until the condition holds or the time (real milliseconds) is up; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, int milliseconds);

// ---- answers ----

// Answers every modal form with `answer` while it lives; records the forms' captions.
class ScopedModalAnswer {
public:
    explicit ScopedModalAnswer(TModalHook answer);
    ~ScopedModalAnswer();
    ScopedModalAnswer(const ScopedModalAnswer&) = delete;
    ScopedModalAnswer& operator=(const ScopedModalAnswer&) = delete;
    const std::vector<std::string>& Captions() const { return captions_; }

private:
    TModalHook previous_;
    std::vector<std::string> captions_;
};

struct TAskedBox {
    std::string Caption;
    std::string Text;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    TRect Bounds; // where the box was placed
};

// Answers every message box with `result` while it lives and records what was asked.
class ScopedMessageAnswer {
public:
    explicit ScopedMessageAnswer(int result);
    ~ScopedMessageAnswer();
    ScopedMessageAnswer(const ScopedMessageAnswer&) = delete;
    ScopedMessageAnswer& operator=(const ScopedMessageAnswer&) = delete;
    const std::vector<TAskedBox>& Asked() const { return asked_; }
    void SetResult(int result) { result_ = result; }

private:
    TModalHook previous_;
    std::vector<TAskedBox> asked_;
    int result_;
};

// Answers file dialogs: OK with fileName, or Cancel when fileName is empty.
class ScopedFileAnswer {
public:
    explicit ScopedFileAnswer(std::string fileName);
    ~ScopedFileAnswer();
    ScopedFileAnswer(const ScopedFileAnswer&) = delete;
    ScopedFileAnswer& operator=(const ScopedFileAnswer&) = delete;
    const std::vector<TFileDialogRequest>& Asked() const { return asked_; }

private:
    TFileDialogHook previous_;
    std::vector<TFileDialogRequest> asked_;
    std::string fileName_;
};

class ScopedFolderAnswer {
public:
    explicit ScopedFolderAnswer(std::string folder);
    ~ScopedFolderAnswer();
    ScopedFolderAnswer(const ScopedFolderAnswer&) = delete;
    ScopedFolderAnswer& operator=(const ScopedFolderAnswer&) = delete;
    const std::vector<TFolderDialogRequest>& Asked() const { return asked_; }

private:
    TFolderDialogHook previous_;
    std::vector<TFolderDialogRequest> asked_;
    std::string folder_;
};

// Deletes the application object with all its forms (and the screen object); the next use of
// Application creates fresh ones. Forms owned by something else must be deleted by the test.
void ResetApplication();

} // namespace form_testing
