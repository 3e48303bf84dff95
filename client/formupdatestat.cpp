#include "client/formupdatestat.h"

#include "client/Placement.h"

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "controls/imgframe.h"

#include "platform/vcl/WinUser.h"

TFormVar<TFrmUpdateStatus> FrmUpdateStatus;

TFrmUpdateStatus::TFrmUpdateStatus(TComponent* owner) : TForm(owner) {
    LoadDefinition("formupdatestat", Bindings());
}

const TFormBindings& TFrmUpdateStatus::Bindings() {
    static const TFormBindings b =
        TFormBindings()
            .AddField("ImgBackground", &TFrmUpdateStatus::ImgBackground)
            .AddField("ImgFrame1", &TFrmUpdateStatus::ImgFrame1)
            .AddField("ImgFrame2", &TFrmUpdateStatus::ImgFrame2)
            .AddField("ProgressTransfer", &TFrmUpdateStatus::ProgressTransfer)
            .AddField("ProgressUpdate", &TFrmUpdateStatus::ProgressUpdate)
            .AddField("BtnClose", &TFrmUpdateStatus::BtnClose)
            .AddMethod("FormShow", &TFrmUpdateStatus::FormShow)
            .AddMethod("BtnCloseClick", &TFrmUpdateStatus::BtnCloseClick)
            .AddMethod("ImgBackgroundMouseDown", &TFrmUpdateStatus::ImgBackgroundMouseDown);
    return b;
}

void TFrmUpdateStatus::ResetProgress() {
    ProgressTransfer->SetCurrentLevel(0);
    ProgressUpdate->SetCurrentLevel(0);
}

void TFrmUpdateStatus::FormShow(TObject*) {
    SetClientWidth(ImgBackground->Width());
    SetClientHeight(ImgBackground->Height());
    PlaceOnMainWindow(this, Width(), Height());
}

void TFrmUpdateStatus::BtnCloseClick(TObject*) {
    Close();
}

void TFrmUpdateStatus::ImgBackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}
