#include "setup/Syslog.h"

#include "client/main.h"

#include "platform/vcl/WinUser.h"

TfrmSysLog* frmSysLog = nullptr;

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

void TfrmSysLog::FormShow(TObject*) {
    SetClientWidth(ImgFrame1->Width());
    SetClientHeight(ImgFrame1->Height());
    if (FrmMain == nullptr) return;
    // Beside the main window's video area.
    SetTop(FrmMain->Top() + 28);
    SetLeft(FrmMain->Left() + 697);
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
