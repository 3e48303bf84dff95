// The name of a new folder for the save-folder window.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmCreateFolder : public TForm {
public:
    explicit TfrmCreateFolder(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* edtFolder = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmCreateFolder* frmCreateFolder;
