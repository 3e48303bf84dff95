#include "recdb/MinTable.h"

#include "client/LanguageDll.h"
#include "client/Wait.h"
#include "client/main.h"
#include "playback/Backup.h"
#include "playback/Qelvidfile.h"
#include "recdb/Calendar.h"
#include "recdb/FormCells.h"
#include "recdb/HourTable.h"
#include "recdb/KeyTime.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SearchDb.h"
#include "recdb/SearchWindowLayout.h"

TFormVar<TfrmMinTable> frmMinTable;

TfrmMinTable::TfrmMinTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("MinTable", Bindings());
    for (int channel = 0; channel < Channels; ++channel)
        for (int minute = 0; minute < Minutes; ++minute) {
            TImgFrame* cell = RequireComponent<TImgFrame>(this, Format("ifm%d_%d", channel + 1, minute + 1));
            cells_[static_cast<std::size_t>(channel * Minutes + minute)] = cell;
            // The 240 cells share one handler.
            cell->OnMouseDown =
                TMouseEvent([this, channel, minute](TObject*, TMouseButton button, TShiftState, int, int) {
                    rightButton_ = button == mbRight;
                    MinuteCellClick(channel, minute);
                });
        }
}

const TFormBindings& TfrmMinTable::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("ifmMin", &TfrmMinTable::ifmMin)
            .AddField("Label1", &TfrmMinTable::Label1)
            .AddField("Label2", &TfrmMinTable::Label2)
            .AddField("Label3", &TfrmMinTable::Label3)
            .AddField("Label4", &TfrmMinTable::Label4)
            .AddField("lbDateTime", &TfrmMinTable::lbDateTime)
            .AddField("lbSTime", &TfrmMinTable::lbSTime)
            .AddField("lbStartTime", &TfrmMinTable::lbStartTime)
            .AddField("lbETime", &TfrmMinTable::lbETime)
            .AddField("lbEndTime", &TfrmMinTable::lbEndTime)
            .AddField("btnBackup2", &TfrmMinTable::btnBackup2)
            .AddField("btnOk2", &TfrmMinTable::btnOk2)
            .AddField("btnBack2", &TfrmMinTable::btnBack2)
            .AddField("btnBackup", &TfrmMinTable::btnBackup)
            .AddField("btnOk", &TfrmMinTable::btnOk)
            .AddField("btnBack", &TfrmMinTable::btnBack)
            .AddField("PopupMenu1", &TfrmMinTable::PopupMenu1)
            .AddField("SetStartTime", &TfrmMinTable::SetStartTime)
            .AddField("SetEndTime", &TfrmMinTable::SetEndTime)
            .AddMethod("FormShow", &TfrmMinTable::FormShow)
            .AddMethod("FormMouseDown", &TfrmMinTable::FormMouseDown)
            .AddMethod("ifmMinMouseDown", &TfrmMinTable::ifmMinMouseDown)
            .AddMethod("btnOk2Click", &TfrmMinTable::btnOk2Click)
            .AddMethod("btnBackClick", &TfrmMinTable::btnBackClick)
            .AddMethod("btnBackup2Click", &TfrmMinTable::btnBackup2Click)
            .AddMethod("SetStartTimeClick", &TfrmMinTable::SetStartTimeClick)
            .AddMethod("SetEndTimeClick", &TfrmMinTable::SetEndTimeClick);
    return bindings;
}

void TfrmMinTable::SetCellState(int state, int channel, int minute) {
    if (channel < 0 || channel >= Channels || minute < 0 || minute >= Minutes) return;
    TImgFrame* cell = Cell(channel, minute);
    if (state >= cell->CurrentFrame()) cell->SetCurrentFrame(state);
}

void TfrmMinTable::ClearCells() {
    for (TImgFrame* cell : cells_)
        cell->SetCurrentFrame(0);
}

void TfrmMinTable::MarkColumn(int minute, int delta) {
    const int channels = TableCameraCount() == 4 ? 4 : 1;
    for (int channel = 0; channel < channels; ++channel) {
        TImgFrame* cell = Cell(channel, minute);
        cell->SetCurrentFrame(cell->CurrentFrame() + delta);
    }
}

void TfrmMinTable::MinuteCellClick(int channel, int minute) {
    if (channel < 0 || channel >= Channels || minute < 0 || minute >= Minutes) return;
    // A right click in a remote search is the backup span's, and selects nothing.
    if (rightButton_ && searchSource_ == 1) {
        if (selectedMinute_ < Minutes) {
            backupMinute_ = selectedMinute_;
            PopupBackupMenu();
        }
        return;
    }
    const std::string hourKey = frmHourTable != nullptr ? frmHourTable->GetSelectedHour() : std::string();
    if (Cell(channel, minute)->CurrentFrame() == 0) return;
    selectedMinuteKey_ = hourKey + TwoDigits(minute);
    if (selectedMinute_ < Minutes) MarkColumn(selectedMinute_, -3);
    MarkColumn(minute, 3);
    selectedMinute_ = minute;
    lbDateTime->SetCaption(KeyDateText(selectedMinuteKey_));
}

void TfrmMinTable::FormMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    rightButton_ = button == mbRight;
    if (selectedMinute_ < Minutes) MinuteCellClick(0, selectedMinute_);
}

void TfrmMinTable::ifmMinMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    FormMouseDown(sender, button, shift, x, y);
}

void TfrmMinTable::btnOk2Click(TObject*) {
    // A play that failed leaves the window up: the remote transport must not take its place.
    if (selectedMinute_ < Minutes && !selectedMinuteKey_.empty() && !PlayFromMinute(selectedMinuteKey_))
        return;
    if (searchSource_ == 1 && FrmMain != nullptr) {
        FrmMain->TimerPlayState->SetEnabled(true);
        if (FrmMain->GetSysInfoResult() >= 3) FrmMain->ShowPlaybackControls(false);
    }
}

bool TfrmMinTable::PlayFromMinute(const std::string& minuteKey) {
    try {
        const std::optional<std::int64_t> t = KeyToUtcSeconds(minuteKey);
        if (!t || minuteKey.size() != 12) throw EConvertError("'" + minuteKey + "' is not a valid minute");
        sqlite_db db;
        OpenSearchDb(db, SearchDbPath(searchSource_, FrmMain != nullptr ? FrmMain->ProgramFolder : "",
                                      localDbMode_, dbRoot_));
        const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
        const std::optional<::PlayStart> start = PlayStartOf(db.query(QelDbSql::PlayFromMinute(mode, *t)));
        // Nothing covers the minute: the user is told, nothing is played.
        if (!start) {
            if (FrmMain != nullptr)
                FrmMain->ShowMessageBoxEx(
                    Format(FrmMain->LoadLangString(60122).c_str(), KeyDateText(minuteKey).c_str()),
                    FrmMain->LoadLangString(59925), 0, Width(), Height(), Left(), Top());
            return false;
        }
        playStart_ = start->start;
        playSeq_ = start->seq;
        db.close();
        Hide();
        if (FrmMain != nullptr) {
            FrmMain->Show();
            FrmMain->SetEnabled(true);
        }
        if (frmCalendar != nullptr) frmCalendar->SetEnabled(true);
        if (frmHourTable != nullptr) frmHourTable->SetEnabled(true);
        SetEnabled(true);
        if (FrmMain == nullptr) return true;
        if (searchSource_ == 0) {
            if (localDbMode_ == 1) PlayLocally(start->fileName, static_cast<DWORD>(*t));
            return true;
        }
        TNetCommandArgs args;
        args.arg0 = static_cast<DWORD>(playStart_);
        args.word20 = static_cast<DWORD>(playSeq_);
        args.arg2 = static_cast<DWORD>(mode - 1);
        args.arg1 = 0;
        // The first searched picture ends the wait.
        FrmMain->ExpectFirstPicture();
        FrmMain->SendNetPacketCommand3(NETCMD_SEARCH, args);
        FrmMain->Activities.Begin(TActivity::RemoteSearch);
        SetEnabled(false);
        if (FrmWait != nullptr) FrmWait->Show();
        FrmMain->EnableSkinButton(FrmMain->BtnBack5, true);
        return true;
    } catch (const Exception& e) {
        Application->ShowException(e);
        return false;
    }
}

void TfrmMinTable::PlayLocally(const std::string& fileName, DWORD minuteTime) {
    CQelVideoFile* reader = FrmMain->VideoReader;
    if (reader == nullptr) return;
    // Entry 0 holds the seq: the reader chains on through the disk database from it.
    reader->SetListItem(std::to_string(playSeq_), 0);
    reader->SetListEnd(3);
    reader->SetListStart(-1);
    reader->SetDbChaining(1, dbRoot_, avRoot_, static_cast<int>(playSeq_));
    const std::string path = avRoot_ + fileName;
    FrmMain->OpenPlaybackFile(path);
    FrmMain->CurrentIndexPos = reader->FindInIndexFile(path + ".tdx", minuteTime);
    FrmMain->PlayListPos = 0;
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    FrmMain->BtnRecStop->SetVisible(true);
    FrmMain->BtnRecStart->SetVisible(true);
    // The two lie on one place: the copy can only start when START is the one pressed.
    FrmMain->BtnRecStart->BringToFront();
}

void TfrmMinTable::btnBackClick(TObject*) {
    SetClientWidth(10);
    SetClientHeight(10);
    ClearCells();
    ResetSelectedMinute();
    if (frmHourTable != nullptr) {
        frmHourTable->SetEnabled(true);
        frmHourTable->Show();
    }
    selectedMinute_ = Minutes;
    Close();
}

void TfrmMinTable::FormShow(TObject*) {
    ReplaceSkinBackground(ifmMin, 510, 57);
    FitTableToCameras(this, Label2, std::span(cells_).subspan(Minutes, Minutes), 633,
                      {btnOk2, btnBack2, btnBackup2});
    PlaceTableWindow(this);
    rightButton_ = false;
    dbRoot_.clear();
    avRoot_.clear();
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    for (TControl* control :
         std::initializer_list<TControl*>{btnOk2, btnBack2, btnOk, btnBack, lbSTime, lbETime, btnBackup})
        control->Font()->SetName(Font()->Name());
    SetCaption(FrmMain->LoadLangString(59925));
    for (TButton* ok : {btnOk2, btnOk})
        ok->SetCaption(FrmMain->LoadLangString(59981));
    for (TButton* back : {btnBack2, btnBack})
        back->SetCaption(FrmMain->LoadLangString(59978));
    SetBackupSpanCaptions(lbSTime, lbETime, btnBackup, SetStartTime, SetEndTime);
    EnableBackupButtons({btnBackup, btnBackup2});
    // The main window waits while a minute is chosen.
    FrmMain->SetEnabled(false);
    ReadSearchSource(localDbMode_, searchSource_, dbRoot_, avRoot_);
}

// ---- Backup span ----

void TfrmMinTable::PopupBackupMenu() {
    ::PopupBackupMenu(PopupMenu1);
}

std::string TfrmMinTable::BackupKey() const {
    const std::string base = frmHourTable != nullptr ? frmHourTable->GetSelectedHour() : std::string();
    return base + TwoDigits(backupMinute_);
}

void TfrmMinTable::SetStartTimeClick(TObject*) {
    if (frmBackup != nullptr) frmBackup->SetStartTime(BackupKey());
}

void TfrmMinTable::SetEndTimeClick(TObject*) {
    if (frmBackup != nullptr) frmBackup->SetEndTime(NextKey(BackupKey()));
}

void TfrmMinTable::btnBackup2Click(TObject*) {
    StartBackupFrom(this, 3);
}
