// The recorder's log list: the entries of the recorder's own log, newest first, which the user may
// save as a text file.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmLoglist : public TForm {
public:
    explicit TfrmLoglist(TComponent* owner);

    TLabel* Label1 = nullptr;
    TListBox* lbLogList = nullptr;
    TButton* btnSaveAs = nullptr;
    TButton* btnExit = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TTimer* TimerDialogPosition = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmLoglist* frmLoglist;
