// The camera page: title, picture, covert and sequence of each camera.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmCamera : public TForm {
public:
    explicit TfrmCamera(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TComboBox* cmbCam = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TEdit* edtTitle = nullptr;
    TGroupBox* GroupBox5 = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TScrollBar* scbBri = nullptr;
    TGroupBox* GroupBox6 = nullptr;
    TScrollBar* scbCon = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TRadioButton* rbtCovertOn = nullptr;
    TRadioButton* rbtCovertOff = nullptr;
    TGroupBox* GroupBox7 = nullptr;
    TComboBox* cmbSeq = nullptr;
    TButton* btnPrev = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmCamera* frmCamera;
