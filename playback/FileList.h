// The play list: a borderless skinned panel beside the main window that lists the recordings of a
// folder played locally.
#pragma once

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmFileList : public TForm {
public:
    explicit TfrmFileList(TComponent* owner);

    TImgFrame* ImgFrame1 = nullptr;
    TBmButton* BtnMinimize = nullptr;
    TBmButton* BtnClose = nullptr;
    TListBox* lbFileList = nullptr;
    TListBox* ListBox2 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmFileList* frmFileList;
