#include "playback/LocalSearch.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"
#include "playback/Qelvidfile.h"
#include "setup/Menu.h"

TFormVar<TfrmLocalSearch> frmLocalSearch;

TfrmLocalSearch::TfrmLocalSearch(TComponent* owner) : TForm(owner) {
    LoadDefinition("LocalSearch", Bindings());
}

const TFormBindings& TfrmLocalSearch::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("btnFile", &TfrmLocalSearch::btnFile)
            .AddField("btnCalendar", &TfrmLocalSearch::btnCalendar)
            .AddField("btnCancel", &TfrmLocalSearch::btnCancel)
            .AddMethod("FormShow", &TfrmLocalSearch::FormShow)
            .AddMethod("btnFileClick", &TfrmLocalSearch::btnFileClick)
            .AddMethod("btnCalendarClick", &TfrmLocalSearch::btnCalendarClick)
            .AddMethod("btnCancelClick", &TfrmLocalSearch::btnCancelClick);
    return bindings;
}

void TfrmLocalSearch::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(50989));
    btnFile->SetCaption(FrmMain->LoadLangString(50988));
    btnCalendar->SetCaption(FrmMain->LoadLangString(50987));
    btnCancel->SetCaption(FrmMain->LoadLangString(59980));
    for (TButton* button : {btnFile, btnCalendar, btnCancel})
        button->Font()->SetName(Font()->Name());
}

void TfrmLocalSearch::btnFileClick(TObject*) {
    if (FrmMain != nullptr) FrmMain->SetLocalDbMode(0);
    Hide();
    if (FrmMain != nullptr) FrmMain->OpenLocalPlayback();
}

void TfrmLocalSearch::btnCalendarClick(TObject*) {
    if (FrmMain != nullptr) FrmMain->SetLocalDbMode(1);
    // A recorder disk always holds four channels.
    if (frmMenu != nullptr) frmMenu->MaxCamera = 4;
    Hide();
    if (FrmMain != nullptr) FrmMain->QueryPyrDbYears();
}

void TfrmLocalSearch::btnCancelClick(TObject*) {
    if (FrmMain != nullptr) {
        FrmMain->ResetScreens();
        if (FrmMain->VideoReader != nullptr) {
            FrmMain->StopVideoReader();
            FrmMain->VideoReader->Close();
        }
        FrmMain->SetEnabled(true);
    }
    Hide();
}
