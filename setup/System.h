// The system page: the recorder's title and its summer-time rule.
#pragma once

#include "setup/ConfigAccess.h"
#include "setup/TitleFilter.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <array>
#include <string>

class TfrmSystem : public TForm {
public:
    explicit TfrmSystem(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* edtTitle = nullptr;
    TLabel* Label6 = nullptr;
    TRadioButton* rbtOn = nullptr;
    TRadioButton* rbtOff = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* cmbStart_m = nullptr;
    TComboBox* cmbStart_w = nullptr;
    TComboBox* cmbStart_d = nullptr;
    TLabel* Label3 = nullptr;
    TComboBox* cmbEnd_m = nullptr;
    TComboBox* cmbEnd_w = nullptr;
    TComboBox* cmbEnd_d = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    std::string Title;
    BYTE SummerTime = 0;
    TTitleFilter TitleFilter;
    // Item indexes (from 0) of the six lists.
    int StartMonth = 2;
    int StartWeek = 4;
    int StartDay = 0;
    int EndMonth = 9;
    int EndWeek = 4;
    int EndDay = 0;
    TConfigAccess Config;
    // What the page showed when it loaded: OK writes only the items the user changed.
    struct TShown {
        std::string title;
        BYTE summerTime = 0;
        std::array<int, 6> choices{};
    } Shown;

    // Defaults, the menu's view of config.ini, the lists, then what the file holds. A stored value that
    // is not a number raises EConvertError.
    void LoadSettings();
    // The six list choices, start month first.
    std::array<int, 6> Choices() const;

    void FormShow(TObject* sender);
    void rbtOnClick(TObject* sender);
    void rbtOffClick(TObject* sender);
    void cmbStart_mChange(TObject* sender);
    void cmbStart_wChange(TObject* sender);
    void cmbStart_dChange(TObject* sender);
    void cmbEnd_mChange(TObject* sender);
    void cmbEnd_wChange(TObject* sender);
    void cmbEnd_dChange(TObject* sender);
    void edtTitleKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void edtTitleKeyPress(TObject* sender, char& key);
    void edtTitleKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    void ClearLists();
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmSystem> frmSystem;
