// The firmware upgrade's progress window: the image transfer and the recorder's installation.
#pragma once

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"

class TFrmUpdateStatus : public TForm {
public:
    explicit TFrmUpdateStatus(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TImgFrame* ImgFrame1 = nullptr;
    TImgFrame* ImgFrame2 = nullptr;
    TBmGauge* ProgressTransfer = nullptr;
    TBmGauge* ProgressUpdate = nullptr;
    TBmButton* BtnClose = nullptr;

    // Both gauges empty.
    void ResetProgress();

    void FormShow(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void ImgBackgroundMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TFrmUpdateStatus> FrmUpdateStatus;
