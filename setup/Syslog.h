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

    void FormShow(TObject* sender);
    void ImgFrame1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BtnCloseClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TfrmSysLog* frmSysLog;
