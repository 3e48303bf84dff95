// The alarm page: the alarm input type of each camera.
#pragma once

#include "setup/ConfigAccess.h"

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

    // 0..3.
    int CurrentIndex = 0;
    // The shown camera was loaded as NORMAL CLOSE: a leave writes its key only when the user changed it.
    bool ShownClose = false;
    TConfigAccess Config;

    // The camera list, then camera 1.
    void Prepare();
    // Camera 1..4 from config.ini as it is now (the menu re-reads it); a stored value that is not a
    // number raises EConvertError.
    void LoadCamera(int camera);
    void SaveCamera(int index);

    void FormShow(TObject* sender);
    void cmbCamChange(TObject* sender);
    void btnPrevClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmAlarm> frmAlarm;
