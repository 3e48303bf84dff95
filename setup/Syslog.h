// The client log side panel beside the main window.
#pragma once

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSysLog : public TForm {
public:
    explicit TfrmSysLog(TComponent* owner);

    TImgFrame* ImgFrame1 = nullptr;
    TBmButton* BtnClose = nullptr;
    TListBox* lbLog = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmSysLog* frmSysLog;
