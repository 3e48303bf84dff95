// Sends one configuration file to several recorders of the address book.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmUpload : public TForm {
public:
    explicit TfrmUpload(TComponent* owner);

    TLabel* Label1 = nullptr;
    TListBox* lbIPAddress = nullptr;
    TButton* btnRight = nullptr;
    TButton* btnRightAll = nullptr;
    TButton* btnLeft = nullptr;
    TButton* btnLeftAll = nullptr;
    TLabel* Label2 = nullptr;
    TListBox* lbDestAddress = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnOk = nullptr;
    TButton* BtnCancel = nullptr;
    TListBox* ListBox1 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmUpload* frmUpload;
