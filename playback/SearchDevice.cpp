#include "playback/SearchDevice.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/Wait.h"
#include "client/main.h"
#include "recdb/Search.h"

TFormVar<TFrmSerDevice> FrmSerDevice;

TFrmSerDevice::TFrmSerDevice(TComponent* owner) : TForm(owner) {
    LoadDefinition("SearchDevice", Bindings());
}

const TFormBindings& TFrmSerDevice::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnHDD", &TFrmSerDevice::btnHDD)
                                              .AddField("btnCF", &TFrmSerDevice::btnCF)
                                              .AddField("btnSD", &TFrmSerDevice::btnSD)
                                              .AddField("btnCancel", &TFrmSerDevice::btnCancel)
                                              .AddMethod("FormShow", &TFrmSerDevice::FormShow)
                                              .AddMethod("btnHDDClick", &TFrmSerDevice::btnHDDClick)
                                              .AddMethod("btnCFClick", &TFrmSerDevice::btnCFClick)
                                              .AddMethod("btnSDClick", &TFrmSerDevice::btnSDClick)
                                              .AddMethod("btnCancelClick", &TFrmSerDevice::btnCancelClick);
    return bindings;
}

void TFrmSerDevice::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(59895));
    btnHDD->SetCaption(FrmMain->LoadLangString(59892));
    btnCancel->SetCaption(FrmMain->LoadLangString(59979));
    for (TButton* button : {btnHDD, btnCF, btnSD, btnCancel})
        button->Font()->SetName(Font()->Name());
}

void TFrmSerDevice::OfferCards(bool present) {
    btnCF->SetEnabled(present);
    btnSD->SetEnabled(present);
}

void TFrmSerDevice::Choose(int medium) {
    // A second choice while the first one's download runs would start another inside its wait.
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    Close();
    media = medium;
    if (FrmMain == nullptr) return;
    const bool fetched = FrmMain->RequestDbFile(medium) && FrmMain->QueryQelDbYears();
    // Ended meanwhile (the link lost, the recorder's end of remote work, a way out): that road has told
    // the user and given the local look; the chooser stays closed.
    if (!FrmMain->Activities.Running(TActivity::SearchDownload)) return;
    if (!fetched) {
        Show();
        return;
    }
    FrmMain->Activities.End(TActivity::SearchDownload);
    // The download is over: the wait window must not cover the choice that follows.
    if (FrmWait != nullptr) FrmWait->Close();
    if (frmSearch != nullptr) frmSearch->Show();
}

void TFrmSerDevice::btnHDDClick(TObject*) {
    Choose(qmHDD);
}
void TFrmSerDevice::btnCFClick(TObject*) {
    Choose(qmCF);
}
void TFrmSerDevice::btnSDClick(TObject*) {
    Choose(qmSD);
}

void TFrmSerDevice::btnCancelClick(TObject*) {
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    media = qmCancelled;
    if (FrmMain != nullptr) {
        if (FrmWait != nullptr) FrmWait->Close();
        FrmMain->BtnDisser->Hide();
        FrmMain->Activities.End(TActivity::RemoteSearch);
        FrmMain->Activities.End(TActivity::SearchDownload);
        FrmMain->BtnSer->SetVisible(true);
        FrmMain->SetEnabled(true);
    }
    Close();
}
