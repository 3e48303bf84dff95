// The search options window: what to search for (all recordings, events, events of one channel)
// before the calendar is filled, or one step back.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSearch : public TForm {
public:
    explicit TfrmSearch(TComponent* owner);

    TButton* btnAll = nullptr;
    TButton* btnEvent = nullptr;
    TButton* btnChannel = nullptr;
    TButton* btnCancel = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmSearch* frmSearch;
