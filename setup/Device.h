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

private:
    static const TFormBindings& Bindings();
};

extern TfrmDevice* frmDevice;
