// The local-search chooser: how to play a recorder disk attached to this computer, by its folders
// of recordings or by its calendar.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmLocalSearch : public TForm {
public:
    explicit TfrmLocalSearch(TComponent* owner);

    TButton* btnFile = nullptr;
    TButton* btnCalendar = nullptr;
    TButton* btnCancel = nullptr;

    void FormShow(TObject* sender);
    void btnFileClick(TObject* sender);
    void btnCalendarClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmLocalSearch> frmLocalSearch;
