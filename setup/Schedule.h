// The schedule window: the recording schedule switch and the way to its editors.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSchedule : public TForm {
public:
    explicit TfrmSchedule(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* rbtOn = nullptr;
    TRadioButton* rbtOff = nullptr;
    TButton* btnTime_Table = nullptr;
    TButton* btnHoliday = nullptr;
    TButton* btnPrev = nullptr;
    // Below the client area: the bytes of the last saved time table, for tracing.
    TListBox* ListBox1 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TfrmSchedule* frmSchedule;
