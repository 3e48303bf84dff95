// The choice of video standard before the recording page.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmVidstd : public TForm {
public:
    explicit TfrmVidstd(TComponent* owner);

    TLabel* Label1 = nullptr;
    TButton* btnNTSC = nullptr;
    TButton* btnPAL = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmVidstd* frmVidstd;
