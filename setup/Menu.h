// The setup menu: the hub from which the recorder's setup pages are opened.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmMenu : public TForm {
public:
    explicit TfrmMenu(TComponent* owner);

    TButton* btnDevice = nullptr;
    TButton* btnRecord = nullptr;
    TButton* btnSystem = nullptr;
    TButton* btnLoglist = nullptr;
    TButton* btnInfo = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    // Below the client area, out of the user's reach.
    TButton* btnSave = nullptr;
    TButton* btnNetwork = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmMenu* frmMenu;
