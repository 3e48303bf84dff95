// The name of a new folder for the save-folder window.
#pragma once

#include "platform/core/Types.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmCreateFolder : public TForm {
public:
    explicit TfrmCreateFolder(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* edtFolder = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    BYTE InvalidKey = 0;

    void FormShow(TObject* sender);
    void edtFolderKeyPress(TObject* sender, char& key);
    void edtFolderKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmCreateFolder> frmCreateFolder;
