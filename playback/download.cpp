#include "playback/download.h"

#include "client/Placement.h"
#include "client/main.h"

#include "platform/vcl/WinUser.h"

TFormVar<TfrmDownload> frmDownload;

TfrmDownload::TfrmDownload(TComponent* owner) : TForm(owner) {
    LoadDefinition("download", Bindings());
}

const TFormBindings& TfrmDownload::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("ImgBackground", &TfrmDownload::ImgBackground)
            .AddField("ImgFrame2", &TfrmDownload::ImgFrame2)
            .AddField("ProgressTransfer", &TfrmDownload::ProgressTransfer)
            .AddField("BtnClose", &TfrmDownload::BtnClose)
            .AddMethod("FormShow", &TfrmDownload::FormShow)
            .AddMethod("BtnCloseClick", &TfrmDownload::BtnCloseClick)
            .AddMethod("ImgBackgroundMouseDown", &TfrmDownload::ImgBackgroundMouseDown);
    return bindings;
}

void TfrmDownload::ResetProgress() {
    ProgressTransfer->SetCurrentLevel(0);
}

void TfrmDownload::FormShow(TObject*) {
    SetClientWidth(ImgBackground->Width());
    SetClientHeight(ImgBackground->Height());
    PlaceOnMainWindow(this, Width(), Height());
}

void TfrmDownload::BtnCloseClick(TObject*) {
    Close();
    // A backup that already ended has nothing left to finish.
    if (mode_ == 1 && FrmMain != nullptr && FrmMain->StreamSaving()) FrmMain->FinishBackupFiles(0);
}

void TfrmDownload::ImgBackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}
