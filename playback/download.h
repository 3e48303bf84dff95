// The download window: a borderless skinned progress window shown while a file or a backup comes
// from the recorder.
#pragma once

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"

class TfrmDownload : public TForm {
public:
    explicit TfrmDownload(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TImgFrame* ImgFrame2 = nullptr;
    TBmGauge* ProgressTransfer = nullptr;
    TBmButton* BtnClose = nullptr;

    // 1 while a backup runs: closing the window then ends it.
    void SetMode(int mode) { mode_ = mode; }
    int GetMode() const { return mode_; }
    void ResetProgress();

    void FormShow(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void ImgBackgroundMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

private:
    static const TFormBindings& Bindings();

    int mode_ = 0;
};

extern TFormVar<TfrmDownload> frmDownload;
