// The system page: the recorder's title and its summer-time rule.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSystem : public TForm {
public:
    explicit TfrmSystem(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* edtTitle = nullptr;
    TLabel* Label6 = nullptr;
    TRadioButton* rbtOn = nullptr;
    TRadioButton* rbtOff = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* cmbStart_m = nullptr;
    TComboBox* cmbStart_w = nullptr;
    TComboBox* cmbStart_d = nullptr;
    TLabel* Label3 = nullptr;
    TComboBox* cmbEnd_m = nullptr;
    TComboBox* cmbEnd_w = nullptr;
    TComboBox* cmbEnd_d = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmSystem* frmSystem;
