// The borderless window's chrome: its rectangle for everyone's placement, message boxes, dragging by
// the skin, minimising and the placement of dialogs opened over it.
#include "client/main.h"

#include "client/Placement.h"
#include "setup/Syslog.h"

#include "platform/vcl/WinUser.h"

#include <memory>

namespace {

// Ticks the placement timer waits for the dialog it was switched on for.
constexpr int kDialogTimerTicks = 200;

TForm* VisibleFormOfClass(const char* className) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        if (form->ClassName() == className && form->Visible()) return form;
    }
    return nullptr;
}

} // namespace

int TFrmMain::RunMessageBox(const std::string& text, const std::string& caption, int type, int areaLeft,
                            int areaTop, int areaWidth, int areaHeight) {
    TMsgDlgButtons buttons;
    switch (type) {
    case 0:
        buttons = TMsgDlgButtons{mbOK};
        break;
    case 1:
        buttons = TMsgDlgButtons{mbOK, mbCancel};
        break;
    case 4:
        buttons = TMsgDlgButtons{mbYes, mbNo};
        break;
    default:
        return -1;
    }
    std::unique_ptr<TForm> dialog(CreateMessageDialog(text, mtCustom, buttons));
    dialog->SetCaption(caption);
    PlaceOnArea(dialog.get(), areaLeft, areaTop, areaWidth, areaHeight, dialog->Width(), dialog->Height());
    MessageBeep(0);
    return dialog->ShowModal();
}

int TFrmMain::ShowMessageBox(const std::string& text, const std::string& caption, int type) {
    return RunMessageBox(text, caption, type, MainWindowRect.Left, MainWindowRect.Top, ClientWidth(),
                         ClientHeight());
}

int TFrmMain::ShowMessageBoxEx(const std::string& text, const std::string& caption, int type, int width,
                               int height, int left, int top) {
    return RunMessageBox(text, caption, type, left, top, width, height);
}

void TFrmMain::BtnLoglistClick(TObject*) {
    if (frmSysLog == nullptr) return;
    frmSysLog->Show();
    SysLogShown = 1;
}

void TFrmMain::BringSidePanelsToFront() {
    if (SysLogShown != 0)
        if (TForm* log = VisibleFormOfClass("TfrmSysLog")) log->BringToFront();
    if (FileListShown != 0)
        if (TForm* list = VisibleFormOfClass("TfrmFileList")) list->BringToFront();
}

void TFrmMain::DragWindow(TMouseButton button) {
    BringSidePanelsToFront();
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
    StoreMainWindowRect();
    BringSidePanelsToFront();
}

void TFrmMain::ImgFrame1MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    DragWindow(button);
}

void TFrmMain::ImgFrame2MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    DragWindow(button);
}

void TFrmMain::ImgFrame3MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    DragWindow(button);
}

void TFrmMain::ImgHideBtnMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    DragWindow(button);
}

void TFrmMain::ImgFrame1MouseMove(TObject*, TShiftState, int, int) {
    StoreMainWindowRect();
}

void TFrmMain::ImgFrame2MouseMove(TObject*, TShiftState, int, int) {
    StoreMainWindowRect();
}

void TFrmMain::ImgFrame3MouseMove(TObject*, TShiftState, int, int) {
    StoreMainWindowRect();
}

void TFrmMain::ImgHideBtnMouseMove(TObject*, TShiftState, int, int) {
    StoreMainWindowRect();
}

void TFrmMain::BtnMinimizeClick(TObject*) {
    Application->Minimize();
}

void TFrmMain::TimerDialogPositionTimer(TObject*) {
    // Only a dialog of this program may be moved; while the one the timer was switched on for is not
    // up yet, the main window itself is the foreground window and the timer waits for the next tick.
    const HWND window = GetForegroundWindow();
    if (window == nullptr || window == Handle()) {
        if (++dialogTimerTicks_ < kDialogTimerTicks) return;
    } else {
        TRect bounds{};
        if (GetWindowRect(window, &bounds)) {
            const TPoint at =
                CentredPlacement(MainWindowRect.Left, MainWindowRect.Top, ClientWidth(), ClientHeight(),
                                 bounds.Width(), bounds.Height(), Screen->WorkAreaRect());
            SetWindowPos(window, HWND_TOPMOST, at.X, at.Y, 0, 0, SWP_NOSIZE);
        }
    }
    dialogTimerTicks_ = 0;
    TimerDialogPosition->SetEnabled(false);
}
