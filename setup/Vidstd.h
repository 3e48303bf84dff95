// The choice of video standard before the recording page.
#pragma once

#include <string>

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmVidstd : public TForm {
public:
    explicit TfrmVidstd(TComponent* owner);

    TLabel* Label1 = nullptr;
    TButton* btnNTSC = nullptr;
    TButton* btnPAL = nullptr;

    // What the recording page was last opened with: frames per second and recording group 1..5.
    int MaxFrameRate = 0;
    int CurrentGroup = 1;

    // The recording group config.ini names ("1_1_1"); 1 when it is not a group number.
    static int GroupFromItem111(const std::string& value);

    void FormShow(TObject* sender);
    void btnNTSCClick(TObject* sender);
    void btnPALClick(TObject* sender);

private:
    void OpenRecordPage(int maxFrameRate);
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmVidstd> frmVidstd;
