// The alarm page: the alarm input type of each camera.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmAlarm : public TForm {
public:
    explicit TfrmAlarm(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TComboBox* cmbCam = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TRadioButton* rbtOpen = nullptr;
    TRadioButton* rbtClose = nullptr;
    TButton* btnPrev = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmAlarm* frmAlarm;
