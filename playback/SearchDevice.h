// The medium chooser of a remote search: the recorder's hard disk, CF card or SD card.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TFrmSerDevice : public TForm {
public:
    explicit TFrmSerDevice(TComponent* owner);

    TButton* btnHDD = nullptr;
    TButton* btnCF = nullptr;
    TButton* btnSD = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TFrmSerDevice* FrmSerDevice;
