#include "recdb/HourTable.h"

#include "client/LanguageDll.h"
#include "client/main.h"
#include "playback/Backup.h"
#include "recdb/Calendar.h"
#include "recdb/FormCells.h"
#include "recdb/MinTable.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SearchDb.h"
#include "recdb/SearchWindowLayout.h"

#include <cstdlib>

TFormVar<TfrmHourTable> frmHourTable;

TfrmHourTable::TfrmHourTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("HourTable", Bindings());
    for (int channel = 0; channel < Channels; ++channel)
        for (int hour = 0; hour < Hours; ++hour) {
            TImgFrame* cell = RequireComponent<TImgFrame>(this, Format("ifm%d_%d", channel + 1, hour + 1));
            cells_[static_cast<std::size_t>(channel * Hours + hour)] = cell;
            // The 96 cells share one handler.
            cell->OnMouseDown =
                TMouseEvent([this, channel, hour](TObject*, TMouseButton button, TShiftState, int, int) {
                    rightButton_ = button == mbRight;
                    HourCellClick(channel, hour);
                });
        }
}

const TFormBindings& TfrmHourTable::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("ifmHour", &TfrmHourTable::ifmHour)
            .AddField("Label1", &TfrmHourTable::Label1)
            .AddField("Label2", &TfrmHourTable::Label2)
            .AddField("Label3", &TfrmHourTable::Label3)
            .AddField("Label4", &TfrmHourTable::Label4)
            .AddField("lbDateTime", &TfrmHourTable::lbDateTime)
            .AddField("lbSTime", &TfrmHourTable::lbSTime)
            .AddField("lbStartTime", &TfrmHourTable::lbStartTime)
            .AddField("lbETime", &TfrmHourTable::lbETime)
            .AddField("lbEndTime", &TfrmHourTable::lbEndTime)
            .AddField("btnBackup2", &TfrmHourTable::btnBackup2)
            .AddField("btnOk2", &TfrmHourTable::btnOk2)
            .AddField("btnBack2", &TfrmHourTable::btnBack2)
            .AddField("btnBackup", &TfrmHourTable::btnBackup)
            .AddField("btnOk", &TfrmHourTable::btnOk)
            .AddField("btnBack", &TfrmHourTable::btnBack)
            .AddField("PopupMenu1", &TfrmHourTable::PopupMenu1)
            .AddField("SetStartTime", &TfrmHourTable::SetStartTime)
            .AddField("SetEndTime", &TfrmHourTable::SetEndTime)
            .AddMethod("FormShow", &TfrmHourTable::FormShow)
            .AddMethod("FormMouseDown", &TfrmHourTable::FormMouseDown)
            .AddMethod("ifmHourMouseDown", &TfrmHourTable::ifmHourMouseDown)
            .AddMethod("btnOk2Click", &TfrmHourTable::btnOk2Click)
            .AddMethod("btnBackClick", &TfrmHourTable::btnBackClick)
            .AddMethod("btnBackup2Click", &TfrmHourTable::btnBackup2Click)
            .AddMethod("SetStartTimeClick", &TfrmHourTable::SetStartTimeClick)
            .AddMethod("SetEndTimeClick", &TfrmHourTable::SetEndTimeClick);
    return bindings;
}

void TfrmHourTable::SetCellState(int state, int channel, int hour) {
    if (channel < 0 || channel >= Channels || hour < 0 || hour >= Hours) return;
    Cell(channel, hour)->SetCurrentFrame(state);
}

void TfrmHourTable::ClearCells() {
    selectedHour_ = Hours;
    for (TImgFrame* cell : cells_)
        cell->SetCurrentFrame(0);
}

void TfrmHourTable::MarkColumn(int hour, int delta) {
    const int channels = TableCameraCount() == 4 ? 4 : 1;
    for (int channel = 0; channel < channels; ++channel) {
        TImgFrame* cell = Cell(channel, hour);
        // A cell not drawn as selected stays as it is when lowered.
        cell->SetCurrentFrame(cell->CurrentFrame() + delta);
    }
}

void TfrmHourTable::HourCellClick(int channel, int hour) {
    if (channel < 0 || channel >= Channels || hour < 0 || hour >= Hours) return;
    // A right click in a remote search is the backup span's, and selects nothing.
    if (rightButton_ && searchSource_ == 1) {
        if (selectedHour_ < Hours) {
            backupHour_ = selectedHour_;
            PopupBackupMenu();
        }
        return;
    }
    const std::string date = frmCalendar != nullptr ? frmCalendar->GetSelectedDate() : std::string();
    if (Cell(channel, hour)->CurrentFrame() == 0) return;
    selectedHourKey_ = date + TwoDigits(hour);
    if (selectedHour_ < Hours) MarkColumn(selectedHour_, -3);
    MarkColumn(hour, 3);
    selectedHour_ = hour;
    lbDateTime->SetCaption(KeyDateText(selectedHourKey_));
}

void TfrmHourTable::FormMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    rightButton_ = button == mbRight;
    if (selectedHour_ < Hours) HourCellClick(0, selectedHour_);
}

void TfrmHourTable::ifmHourMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    FormMouseDown(sender, button, shift, x, y);
}

void TfrmHourTable::btnOk2Click(TObject*) {
    if (selectedHour_ < Hours) ShowHourMinutes(selectedHourKey_);
}

void TfrmHourTable::ShowHourMinutes(const std::string& hourKey) {
    if (hourKey.size() != 10 || frmMinTable == nullptr) return;
    try {
        sqlite_db db;
        OpenSearchDb(db, SearchDbPath(searchSource_, FrmMain != nullptr ? FrmMain->ProgramFolder : "",
                                      localDbMode_, dbRoot_));
        const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
        const int channel = frmSearch != nullptr ? frmSearch->GetSearchChannel() : -1;
        const sqlite_result rows = db.query(QelDbSql::HourMinutes(
            mode, std::atoi(hourKey.substr(0, 4).c_str()), std::atoi(hourKey.substr(4, 2).c_str()),
            std::atoi(hourKey.substr(6, 2).c_str()), std::atoi(hourKey.substr(8, 2).c_str())));
        for (const MinuteRange& range : MinuteRanges(rows, hourKey, channel))
            for (int minute = range.first; minute <= range.last; ++minute)
                frmMinTable->SetCellState(range.state, range.channel, minute);
        frmMinTable->ResetSelectedMinute();
        frmMinTable->lbDateTime->SetCaption(KeyDateText(hourKey));
        Hide();
        frmMinTable->SetEnabled(true);
        frmMinTable->Show();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
}

void TfrmHourTable::btnBackClick(TObject*) {
    SetClientWidth(10);
    SetClientHeight(10);
    ClearCells();
    if (frmCalendar != nullptr) {
        frmCalendar->SetEnabled(true);
        frmCalendar->Show();
    }
    selectedHour_ = Hours;
    Close();
}

void TfrmHourTable::FormShow(TObject*) {
    ReplaceSkinBackground(ifmHour, 472, 59);
    FitTableToCameras(this, Label2, std::span(cells_).subspan(Hours, Hours), 601,
                      {btnOk2, btnBack2, btnBackup2});
    rightButton_ = false;
    PlaceTableWindow(this);
    dbRoot_.clear();
    avRoot_.clear();
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    for (TControl* control :
         std::initializer_list<TControl*>{btnOk2, btnBack2, btnOk, btnBack, lbSTime, lbETime, btnBackup})
        control->Font()->SetName(Font()->Name());
    SetCaption(FrmMain->LoadLangString(59938));
    for (TButton* ok : {btnOk2, btnOk})
        ok->SetCaption(FrmMain->LoadLangString(59981));
    for (TButton* back : {btnBack2, btnBack})
        back->SetCaption(FrmMain->LoadLangString(59978));
    SetBackupSpanCaptions(lbSTime, lbETime, btnBackup, SetStartTime, SetEndTime);
    EnableBackupButtons({btnBackup, btnBackup2});
    ReadSearchSource(localDbMode_, searchSource_, dbRoot_, avRoot_);
}

// ---- Backup span ----

void TfrmHourTable::PopupBackupMenu() {
    ::PopupBackupMenu(PopupMenu1);
}

std::string TfrmHourTable::BackupKey() const {
    const std::string base = frmCalendar != nullptr ? frmCalendar->GetSelectedDate() : std::string();
    return base + TwoDigits(backupHour_);
}

void TfrmHourTable::SetStartTimeClick(TObject*) {
    if (frmBackup != nullptr) frmBackup->SetStartTime(BackupKey());
}

void TfrmHourTable::SetEndTimeClick(TObject*) {
    if (frmBackup != nullptr) frmBackup->SetEndTime(NextKey(BackupKey()));
}

void TfrmHourTable::btnBackup2Click(TObject*) {
    StartBackupFrom(this, 2);
}
