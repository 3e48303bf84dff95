#include "recdb/Search.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"
#include "controls/BmButton.h"
#include "playback/Backup.h"
#include "playback/LocalSearch.h"
#include "playback/SearchDevice.h"

TFormVar<TfrmSearch> frmSearch;

TfrmSearch::TfrmSearch(TComponent* owner) : TForm(owner) {
    LoadDefinition("Search", Bindings());
}

const TFormBindings& TfrmSearch::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnAll", &TfrmSearch::btnAll)
                                              .AddField("btnEvent", &TfrmSearch::btnEvent)
                                              .AddField("btnChannel", &TfrmSearch::btnChannel)
                                              .AddField("btnCancel", &TfrmSearch::btnCancel)
                                              .AddMethod("FormShow", &TfrmSearch::FormShow)
                                              .AddMethod("FormClose", &TfrmSearch::FormClose)
                                              .AddMethod("btnAllClick", &TfrmSearch::btnAllClick)
                                              .AddMethod("btnEventClick", &TfrmSearch::btnEventClick)
                                              .AddMethod("btnChannelClick", &TfrmSearch::btnChannelClick)
                                              .AddMethod("btnCancelClick", &TfrmSearch::btnCancelClick);
    return bindings;
}

void TfrmSearch::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(59895));
    btnAll->SetCaption(FrmMain->LoadLangString(59894));
    btnEvent->SetCaption(FrmMain->LoadLangString(59893));
    btnCancel->SetCaption(FrmMain->LoadLangString(59978));
    for (TButton* button : {btnAll, btnEvent, btnChannel, btnCancel})
        button->Font()->SetName(Font()->Name());
    searchSource_ = FrmMain->GetSearchSource();
    localDbMode_ = FrmMain->GetLocalDbMode();
    // Channel search exists only for a recorder disk on this computer.
    btnChannel->SetEnabled(searchSource_ != 1);
}

void TfrmSearch::FormClose(TObject*, TCloseAction& action) {
    // Other windows read the choice through frmSearch until the program ends.
    action = caHide;
}

void TfrmSearch::Choose(int mode, int channel) {
    Hide();
    searchMode_ = mode;
    searchChannel_ = channel;
    if (FrmMain == nullptr) return;
    const bool fill = searchSource_ == 0 || (searchSource_ == 1 && channel == -1);
    if (fill && frmBackup != nullptr) frmBackup->ClearSelection();
    if (searchSource_ == 0) FrmMain->QueryPyrDbCalendar();
    if (searchSource_ == 1 && channel == -1) FrmMain->QueryQelDbCalendar();
}

void TfrmSearch::btnAllClick(TObject*) {
    Choose(1, -1);
}

void TfrmSearch::btnEventClick(TObject*) {
    Choose(2, -1);
}

void TfrmSearch::btnChannelClick(TObject*) {
    Choose(2, 1);
}

void TfrmSearch::btnCancelClick(TObject*) {
    searchMode_ = 3;
    if (FrmMain != nullptr) {
        FrmMain->BtnDisser->Hide();
        FrmMain->Activities.End(TActivity::RemoteSearch);
        FrmMain->BtnSer->SetVisible(true);
        FrmMain->SetEnabled(true);
    }
    Hide();
    if (searchSource_ == 1 && FrmSerDevice != nullptr) {
        if (FrmMain != nullptr) FrmMain->SetEnabled(false);
        FrmSerDevice->Show();
    } else if (searchSource_ == 0 && localDbMode_ == 1 && frmLocalSearch != nullptr) {
        if (FrmMain != nullptr) FrmMain->SetEnabled(false);
        frmLocalSearch->Show();
    }
}
