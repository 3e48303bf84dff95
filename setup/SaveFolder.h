// The folder a copy of the recorder's configuration is saved into.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSaveFolder : public TForm {
public:
    explicit TfrmSaveFolder(TComponent* owner);

    TLabel* Label1 = nullptr;
    // Read-only: the destination changes by Browse and Create Folder only.
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnCreateFolder = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    // Below the client area: the paths chosen, for tracing.
    TListBox* ListBox1 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmSaveFolder* frmSaveFolder;
