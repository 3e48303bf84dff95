// The medium chooser of a remote search: the recorder's hard disk, CF card or SD card.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// The chosen medium; the same number asks the recorder for that medium's database.
enum QelMedium { qmHDD = 0, qmCF = 1, qmSD = 2, qmCancelled = 3 };

class TFrmSerDevice : public TForm {
public:
    explicit TFrmSerDevice(TComponent* owner);

    TButton* btnHDD = nullptr;
    TButton* btnCF = nullptr;
    TButton* btnSD = nullptr;
    TButton* btnCancel = nullptr;

    int GetMedia() const { return media; }
    // The CF and SD choices on or off, by what the connected recorder has.
    void OfferCards(bool present);
    void FormShow(TObject* sender);
    void btnHDDClick(TObject* sender);
    void btnCFClick(TObject* sender);
    void btnSDClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    // Download the medium's database and read it; the search options follow, or the chooser again.
    void Choose(int medium);

    int media = qmHDD;
};

extern TFormVar<TFrmSerDevice> FrmSerDevice;
