// The device page: the way to the camera and alarm pages.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmDevice : public TForm {
public:
    explicit TfrmDevice(TComponent* owner);

    TButton* btnCamera = nullptr;
    TButton* btnAlarm = nullptr;
    TButton* btnPrev = nullptr;
    TButton* btnCancel = nullptr;

    void FormShow(TObject* sender);
    void btnCameraClick(TObject* sender);
    void btnAlarmClick(TObject* sender);
    void btnPrevClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmDevice> frmDevice;
