// The backup window: a span of the recorder's recordings, ALL or EVENT, saved into a folder on this
// computer.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmBackup : public TForm {
public:
    explicit TfrmBackup(TComponent* owner);

    TLabel* lbSTime = nullptr;
    TLabel* lbStartTime = nullptr;
    TLabel* lbETime = nullptr;
    TLabel* lbEndTime = nullptr;
    TLabel* lbType = nullptr;
    TLabel* lbBackupLocation = nullptr;
    TLabel* lbBackup = nullptr;
    TLabel* lbSize = nullptr;
    TLabel* lbFree = nullptr;
    TLabel* lbFreeSize = nullptr;
    TComboBox* cmbType = nullptr;
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnBackupStart = nullptr;
    TButton* btnCancel = nullptr;
    TListBox* lbPath = nullptr;
    TTimer* TimerSD = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmBackup* frmBackup;
