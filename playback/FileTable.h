// The CF/SD file table: the recordings of a card database, eight rows to a page.
#pragma once

#include "controls/BmButton.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

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

    void ClearRows();
    void SetRowCount(int n);
    // Rows 1 to 8; any other row is ignored.
    void SetRow(int row, const std::string& caption, int seq);
    void RefreshPageLabel();
    // The page's rows from the chosen card's database; empty on any failure.
    void LoadPage();
    // The number of the card's recordings under the search mode, the first page, and the window shown;
    // false (nothing shown) when the database cannot be read.
    bool ShowFiles();
    // Asks the recorder to play the recording of the row (0 to 7) whose caption is given.
    void PlayRow(const std::string& caption, int row);
    int GetPage() const { return page; }
    int GetPageCount() const { return pageCount; }
    int GetRowSeq(int row) const { return row >= 0 && row < 8 ? rowSeq[static_cast<std::size_t>(row)] : 0; }
    TButton* RowButton(int row) const; // 0 to 7

    void FormShow(TObject* sender);
    void BmButton1Click(TObject* sender);
    void BmButton2Click(TObject* sender);
    void btn1Click(TObject* sender);
    void btn2Click(TObject* sender);
    void btn3Click(TObject* sender);
    void btn4Click(TObject* sender);
    void btn5Click(TObject* sender);
    void btn6Click(TObject* sender);
    void btn7Click(TObject* sender);
    void btn8Click(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    void RowClick(int row);

    int pageCount = 0;
    int page = 1;
    std::array<int, 8> rowSeq{};
};

// The start time written in a row caption (year at characters 20 to 23 ... second at 37 and 38), as
// seconds since 1970 taken as UTC; none when the caption does not carry a valid time there.
std::optional<std::int64_t> RowStartTime(const std::string& caption);

extern TFormVar<TFrmFileTable> FrmFileTable;
