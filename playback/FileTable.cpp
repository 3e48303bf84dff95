#include "playback/FileTable.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"
#include "formats/NetPacket.h"
#include "playback/SearchDevice.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbTypes.h"
#include "recdb/Search.h"
#include "recdb/SqliteDb.h"

#include "platform/core/SysTime.h"

#include <cctype>

TFormVar<TFrmFileTable> FrmFileTable;

namespace {

const char* const kColumns =
    "SELECT event_type1, event_type2, event_type3, event_type4, update_time, start_time, system_id, seq "
    "FROM avfile where start_date IS NOT NULL AND end_date IS NOT NULL ";
const char* const kEventFilter =
    "AND (event_type1 != 0 OR event_type2 != 0 OR event_type3 != 0 OR event_type4 != 0) ";

// The card database of the chosen medium; empty for the hard disk or no choice.
std::string CardDatabase() {
    if (FrmMain == nullptr || FrmSerDevice == nullptr) return "";
    switch (FrmSerDevice->GetMedia()) {
    case qmCF:
        return FrmMain->ProgramFolder + "qeldbfile_cf.db";
    case qmSD:
        return FrmMain->ProgramFolder + "qeldbfile_sd.db";
    default:
        return "";
    }
}

int SearchModeNow() {
    return frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
}

// The rows of the search mode; nothing for any other mode.
std::string FilesQuery(int mode) {
    if (mode == smAll) return std::string(kColumns) + "GROUP BY seq ORDER BY seq DESC";
    if (mode == smEvent) return std::string(kColumns) + kEventFilter + "GROUP BY seq ORDER BY seq DESC";
    return "";
}

// Digits at 1-based characters first..first+count-1 of the text; -1 when any is not a digit.
int DigitsAt(const std::string& text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first - 1; i < first - 1 + count; ++i) {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<std::int64_t> RowStartTime(const std::string& caption) {
    const int year = DigitsAt(caption, 20, 4), month = DigitsAt(caption, 25, 2),
              day = DigitsAt(caption, 28, 2);
    const int hour = DigitsAt(caption, 31, 2), minute = DigitsAt(caption, 34, 2),
              second = DigitsAt(caption, 37, 2);
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return UtcToUnix(year, month, day, hour, minute, second);
}

TFrmFileTable::TFrmFileTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("FileTable", Bindings());
}

const TFormBindings& TFrmFileTable::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("lbPage", &TFrmFileTable::lbPage)
                                              .AddField("lbBackup", &TFrmFileTable::lbBackup)
                                              .AddField("lbSearch", &TFrmFileTable::lbSearch)
                                              .AddField("lbDevice", &TFrmFileTable::lbDevice)
                                              .AddField("btn1", &TFrmFileTable::btn1)
                                              .AddField("btn2", &TFrmFileTable::btn2)
                                              .AddField("btn3", &TFrmFileTable::btn3)
                                              .AddField("btn4", &TFrmFileTable::btn4)
                                              .AddField("btn5", &TFrmFileTable::btn5)
                                              .AddField("btn6", &TFrmFileTable::btn6)
                                              .AddField("btn7", &TFrmFileTable::btn7)
                                              .AddField("btn8", &TFrmFileTable::btn8)
                                              .AddField("btnCancel", &TFrmFileTable::btnCancel)
                                              .AddField("BmButton1", &TFrmFileTable::BmButton1)
                                              .AddField("BmButton2", &TFrmFileTable::BmButton2)
                                              .AddMethod("FormShow", &TFrmFileTable::FormShow)
                                              .AddMethod("BmButton1Click", &TFrmFileTable::BmButton1Click)
                                              .AddMethod("BmButton2Click", &TFrmFileTable::BmButton2Click)
                                              .AddMethod("btn1Click", &TFrmFileTable::btn1Click)
                                              .AddMethod("btn2Click", &TFrmFileTable::btn2Click)
                                              .AddMethod("btn3Click", &TFrmFileTable::btn3Click)
                                              .AddMethod("btn4Click", &TFrmFileTable::btn4Click)
                                              .AddMethod("btn5Click", &TFrmFileTable::btn5Click)
                                              .AddMethod("btn6Click", &TFrmFileTable::btn6Click)
                                              .AddMethod("btn7Click", &TFrmFileTable::btn7Click)
                                              .AddMethod("btn8Click", &TFrmFileTable::btn8Click)
                                              .AddMethod("btnCancelClick", &TFrmFileTable::btnCancelClick);
    return bindings;
}

TButton* TFrmFileTable::RowButton(int row) const {
    TButton* const buttons[] = {btn1, btn2, btn3, btn4, btn5, btn6, btn7, btn8};
    return row >= 0 && row < 8 ? buttons[row] : nullptr;
}

void TFrmFileTable::ClearRows() {
    for (int row = 0; row < 8; ++row) {
        RowButton(row)->SetCaption("");
        RowButton(row)->SetVisible(false);
    }
    rowSeq.fill(0);
}

void TFrmFileTable::SetRowCount(int n) {
    pageCount = n > 0 ? (n + 7) / 8 : 0;
    page = 1;
    RefreshPageLabel();
}

void TFrmFileTable::SetRow(int row, const std::string& caption, int seq) {
    if (row < 1 || row > 8) return;
    RowButton(row - 1)->SetCaption(caption);
    RowButton(row - 1)->SetVisible(true);
    rowSeq[static_cast<std::size_t>(row - 1)] = seq;
}

void TFrmFileTable::RefreshPageLabel() {
    const std::string digits = std::to_string(page);
    lbPage->SetCaption(digits + "/" + std::to_string(pageCount));
    switch (digits.size()) {
    case 2:
        lbPage->SetLeft(352);
        break;
    case 3:
        lbPage->SetLeft(344);
        break;
    case 4:
        lbPage->SetLeft(336);
        break;
    default:
        lbPage->SetLeft(360);
        break;
    }
}

void TFrmFileTable::LoadPage() {
    const int offset = (page - 1) * 8;
    RefreshPageLabel();
    const std::string path = CardDatabase();
    ClearRows();
    const std::string sql = FilesQuery(SearchModeNow());
    if (path.empty() || sql.empty()) return;
    try {
        sqlite_db db;
        db.open(path);
        const std::vector<FileTableRow> rows =
            FileTableRows(db.query(sql + " LIMIT 8 OFFSET " + std::to_string(offset)));
        for (std::size_t k = 0; k < rows.size() && k < 8; ++k)
            SetRow(static_cast<int>(k) + 1, rows[k].caption, rows[k].seq);
    } catch (const Exception&) {
        // A damaged card database leaves the page empty.
        ClearRows();
    }
}

bool TFrmFileTable::ShowFiles() {
    const std::string path = CardDatabase();
    const std::string sql = FilesQuery(SearchModeNow());
    int count = 0;
    try {
        if (path.empty() || sql.empty()) throw Exception("no card database to list");
        sqlite_db db;
        db.open(path);
        count = static_cast<int>(db.query(sql).size());
    } catch (const Exception&) {
        // No rows of an earlier card may stay behind.
        ClearRows();
        return false;
    }
    SetRowCount(count);
    LoadPage();
    Show();
    return true;
}

void TFrmFileTable::BmButton1Click(TObject*) {
    if (page < 2) return;
    page -= 1;
    LoadPage();
}

void TFrmFileTable::BmButton2Click(TObject*) {
    if (pageCount <= page) return;
    page += 1;
    LoadPage();
}

void TFrmFileTable::RowClick(int row) {
    PlayRow(RowButton(row)->Caption(), row);
}
void TFrmFileTable::btn1Click(TObject*) {
    RowClick(0);
}
void TFrmFileTable::btn2Click(TObject*) {
    RowClick(1);
}
void TFrmFileTable::btn3Click(TObject*) {
    RowClick(2);
}
void TFrmFileTable::btn4Click(TObject*) {
    RowClick(3);
}
void TFrmFileTable::btn5Click(TObject*) {
    RowClick(4);
}
void TFrmFileTable::btn6Click(TObject*) {
    RowClick(5);
}
void TFrmFileTable::btn7Click(TObject*) {
    RowClick(6);
}
void TFrmFileTable::btn8Click(TObject*) {
    RowClick(7);
}

void TFrmFileTable::PlayRow(const std::string& caption, int row) {
    const std::optional<std::int64_t> start = RowStartTime(caption);
    // An empty or foreign caption names no recording: nothing goes to the recorder.
    if (!start || row < 0 || row > 7 || FrmMain == nullptr) return;
    TNetCommandArgs args;
    args.arg0 = static_cast<DWORD>(*start);
    args.arg1 = static_cast<DWORD>(FrmSerDevice != nullptr ? FrmSerDevice->GetMedia() : 0);
    args.arg2 = static_cast<DWORD>(SearchModeNow());
    args.word20 = static_cast<DWORD>(rowSeq[static_cast<std::size_t>(row)]);
    FrmMain->SendNetPacketCommand3(NETCMD_SEARCH, args);
    Hide();
    if (FrmMain->GetSysInfoResult() >= 3) FrmMain->ShowPlaybackControls(false);
    FrmMain->EnableSkinButton(FrmMain->BtnBack5, true);
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->SetEnabled(true);
    SetEnabled(true);
}

void TFrmFileTable::btnCancelClick(TObject*) {
    Close();
    if (frmSearch != nullptr) frmSearch->Show();
}

void TFrmFileTable::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(59942));
    lbBackup->SetCaption(FrmMain->LoadLangString(59941));
    lbSearch->SetCaption(FrmMain->LoadLangString(59940));
    lbDevice->SetCaption(FrmMain->LoadLangString(59939));
    btnCancel->SetCaption(FrmMain->LoadLangString(59980));
    btnCancel->Font()->SetName(Font()->Name());
}
