// The snapshot print window: one camera's current picture at full video size with its title and
// time, to be saved as a picture file or printed.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/PrintDialog.h"
#include "platform/vcl/StdCtrls.h"

class TfrmPrint : public TForm {
public:
    explicit TfrmPrint(TComponent* owner);

    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TButton* btnSave = nullptr;
    TButton* btnPrint = nullptr;
    TButton* btnClose = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TTimer* TimerDialogPosition = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmPrint* frmPrint;
