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

private:
    static const TFormBindings& Bindings();
};

extern TfrmDownload* frmDownload;
