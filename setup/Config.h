// A test window of an IPv4 address and a port; the main window fills in the local address.
#pragma once

#include "controls/BmButton.h"
#include "controls/IPEdit.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmConfig : public TForm {
public:
    explicit TfrmConfig(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TBmButton* BtnClose = nullptr;
    // The client's local address, filled in by the main window at start-up.
    jIPEdit* ebIPAD = nullptr;
    TBmButton* Button1 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* ebPort = nullptr;
    TEdit* Edit2 = nullptr;
    TBmButton* BtnCancel = nullptr;

    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);
    void BtnCloseClick(TObject* sender);
    void BtnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmConfig> frmConfig;
