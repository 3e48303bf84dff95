// The connect dialog: recorder address and port, password, log-in level and the address book.
#pragma once

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TFrmLog : public TForm {
public:
    explicit TFrmLog(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TImgFrame* ImgListBackground = nullptr;
    TBmButton* BtnClose = nullptr;
    TBmButton* BtnOk = nullptr;
    TBmButton* BtnAdd = nullptr;
    TBmButton* BtnRemove = nullptr;
    TBmButton* BtnCancel = nullptr;
    TLabel* LabelIP = nullptr;
    TLabel* LabelPort = nullptr;
    TLabel* LabelPassword = nullptr;
    TEdit* ebIP = nullptr;
    TEdit* ebPort = nullptr;
    TMaskEdit* mePassword = nullptr;
    TListBox* lbIPAddress = nullptr;
    TRadioButton* rbtAdmin = nullptr;
    TRadioButton* rbtUser = nullptr;
    // Save and reload the address book.
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    int UserLevel = 2; // 1 administrator, 2 user
    std::string ResolvedAddress;

private:
    static const TFormBindings& Bindings();
};

extern TFrmLog* FrmLog;
