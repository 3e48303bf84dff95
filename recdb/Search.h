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

    // SearchMode: 0 not chosen, 1 all, 2 event, 3 back.
    int GetSearchMode() const { return searchMode_; }
    void SetSearchMode(int mode) { searchMode_ = mode; }
    // -1 all channels, 1 channel 1.
    int GetSearchChannel() const { return searchChannel_; }

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void btnAllClick(TObject* sender);
    void btnEventClick(TObject* sender);
    void btnChannelClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    void Choose(int mode, int channel);

    int searchMode_ = 0;
    int localDbMode_ = 0;
    int searchSource_ = 0;
    int searchChannel_ = -1;
};

extern TFormVar<TfrmSearch> frmSearch;
