#include "setup/Syslog.h"

#include "client/main.h"

#include "platform/vcl/WinUser.h"

#include <algorithm>

TFormVar<TfrmSysLog> frmSysLog;

TfrmSysLog::TfrmSysLog(TComponent* owner) : TForm(owner) {
    LoadDefinition("Syslog", Bindings());
}

const TFormBindings& TfrmSysLog::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("ImgFrame1", &TfrmSysLog::ImgFrame1)
            .AddField("BtnClose", &TfrmSysLog::BtnClose)
            .AddField("lbLog", &TfrmSysLog::lbLog)
            .AddMethod("FormShow", &TfrmSysLog::FormShow)
            .AddMethod("ImgFrame1MouseDown", &TfrmSysLog::ImgFrame1MouseDown)
            .AddMethod("BtnCloseClick", &TfrmSysLog::BtnCloseClick);
    return bindings;
}

TPoint LogPanelPlace(const TRect& main, int width, int height, const TRect& workArea) {
    constexpr int kBelowTop = 28;
    int left = main.Right;
    if (left + width > workArea.Right) {
        left = main.Left - width;
        if (left < workArea.Left) {
            const int overRight = main.Right - (workArea.Right - width);
            const int overLeft = workArea.Left + width - main.Left;
            left = overRight < overLeft ? workArea.Right - width : workArea.Left;
        }
    }
    const int top = std::max(workArea.Top, std::min(main.Top + kBelowTop, workArea.Bottom - height));
    return Point(left, top);
}

void TfrmSysLog::FormShow(TObject*) {
    SetClientWidth(ImgFrame1->Width());
    SetClientHeight(ImgFrame1->Height());
    if (FrmMain == nullptr) return;
    // Beside the main window, or where it covers the least of it.
    const TRect main = Rect(FrmMain->Left(), FrmMain->Top(), FrmMain->Left() + FrmMain->Width(),
                            FrmMain->Top() + FrmMain->Height());
    const TPoint at = LogPanelPlace(main, Width(), Height(), Screen->WorkAreaRect());
    SetLeft(at.X);
    SetTop(at.Y);
}

void TfrmSysLog::ImgFrame1MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

void TfrmSysLog::BtnCloseClick(TObject*) {
    Close();
    if (FrmMain != nullptr) FrmMain->SysLogShown = 0;
}
