// The CF/SD file table: the recordings of a card database, eight rows to a page.
#pragma once

#include "controls/BmButton.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TFrmFileTable : public TForm {
public:
    explicit TFrmFileTable(TComponent* owner);

    TLabel* lbPage = nullptr;
    TLabel* lbBackup = nullptr;
    TLabel* lbSearch = nullptr;
    TLabel* lbDevice = nullptr;
    TButton* btn1 = nullptr;
    TButton* btn2 = nullptr;
    TButton* btn3 = nullptr;
    TButton* btn4 = nullptr;
    TButton* btn5 = nullptr;
    TButton* btn6 = nullptr;
    TButton* btn7 = nullptr;
    TButton* btn8 = nullptr;
    TButton* btnCancel = nullptr;
    TBmButton* BmButton1 = nullptr;
    TBmButton* BmButton2 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TFrmFileTable* FrmFileTable;
