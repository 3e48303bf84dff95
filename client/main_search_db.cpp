// The search start on a downloaded recorder database: whether it holds recordings, then the newest month
// into the calendar. The SQL texts and the reading of their rows come from recdb/.
#include "client/main.h"

#include "controls/BmButton.h"
#include "playback/FileTable.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SqliteDb.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

namespace {

std::string MonthText(const YearMonth& ym) {
    return Format("%d%02d", ym.year, ym.month);
}

enum class TCalendarFill { Filled, NoRows, NoMonth };

// The newest month of the mode with its day marks into the calendar, which is then shown.
TCalendarFill FillCalendar(sqlite_db& db, int mode) {
    const sqlite_result months = db.query(QelDbSql::NewestMonth(mode));
    if (months.empty()) return TCalendarFill::NoRows;
    const std::optional<YearMonth> ym = MonthOf(months);
    if (!ym) return TCalendarFill::NoMonth;
    frmCalendar->SetMonth(ym->year, ym->month);
    const sqlite_result days = db.query(QelDbSql::DaysOfMonth(mode, ym->year, ym->month));
    for (const auto& [day, state] : DayMarks(days, TfrmCalendar::DaysInMonth(ym->year, ym->month)))
        frmCalendar->SetDayMark(state, day);
    db.close();
    FrmMain->SetCalendarMonth(MonthText(*ym));
    frmCalendar->SetHolidayMode(0);
    frmCalendar->ShowCalendar();
    return TCalendarFill::Filled;
}

} // namespace

void TFrmMain::EndSearchWithoutData() {
    CloseWait();
    SetEnabled(true);
    BtnDisser->Hide();
    Activities.End(TActivity::RemoteSearch);
    BtnSer->SetVisible(true);
    ShowMessageBox(LoadLangString(59844), LoadLangString(59849), 0);
}

bool TFrmMain::QueryQelDbYears() {
    const std::string name = QelFileName(QELFILE_DATABASE, static_cast<DWORD>(SearchMedium));
    const std::string path = ProgramFolder + name;
    if (name.empty() || !FileExists(path)) {
        CloseWait();
        ShowMessageBox(LoadLangString(59881), LoadLangString(59849), 0);
        SetEnabled(true);
        return false;
    }
    try {
        sqlite_db db;
        db.open(path);
        const bool hasData = HasRecordings(db.query(QelDbSql::NewestYear()));
        BtnSer->Hide();
        BtnDisser->SetVisible(true);
        if (!hasData) {
            EndSearchWithoutData();
            return false;
        }
        if (frmCalendar != nullptr) frmCalendar->ClearDayMarks();
        if (RecorderStatus != 4) return true;
        if (frmSearch != nullptr) frmSearch->SetSearchMode(0);
        MaxCamera = 0;
        const int tab = CurrentMode;
        const int replied = SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs);
        if (WorkEndedMeanwhile(tab)) return false;
        if (replied == 0) {
            CloseWait();
            SetEnabled(true);
            CurrentMode = kModeLocal;
            ShowLocalMode();
            AddDebugLine("TIME OUT:", NETCMD_CAMERA_INFO);
            return false;
        }
        if (ReplySlot == 2) {
            CloseWait();
            SetEnabled(true);
            AddDebugLine("FAILED:", NETCMD_CAMERA_INFO);
            return false;
        }
        if (ReplySlot == 1) AddDebugLine("SUCCESS:", NETCMD_CAMERA_INFO);
        CloseWait();
        return true;
    } catch (const sqlite_exception& e) {
        // A damaged file ends the search with its reason instead of a disabled window.
        CloseWait();
        BtnDisser->Hide();
        Activities.End(TActivity::RemoteSearch);
        BtnSer->SetVisible(true);
        ShowMessageBox(e.what(), LoadLangString(59849), 0);
        SetEnabled(true);
        return false;
    }
}

void TFrmMain::QueryQelDbCalendar() {
    const std::string name = QelFileName(QELFILE_DATABASE, static_cast<DWORD>(SearchMedium));
    if (name.empty()) return;
    const std::string path = ProgramFolder + name;
    if (!FileExists(path)) {
        CloseWait();
        ShowMessageBox(LoadLangString(59881), LoadLangString(59849), 0);
        SetEnabled(true);
        return;
    }
    const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
    if (mode != smAll && mode != smEvent) return;
    if (SearchMedium != QELDISK_HDD) {
        // A card lists its newest recordings in the file table instead of a calendar.
        if (FrmFileTable != nullptr && FrmFileTable->ShowFiles() && FrmFileTable->GetPageCount() > 0) return;
        if (FrmFileTable != nullptr) FrmFileTable->Hide();
        EndSearchWithoutData();
        return;
    }
    try {
        sqlite_db db;
        db.open(path);
        const TCalendarFill fill = FillCalendar(db, mode);
        if (fill == TCalendarFill::Filled) return;
        db.close();
        EndSearchWithoutData();
        if (fill == TCalendarFill::NoRows && frmSearch != nullptr) frmSearch->Show();
    } catch (const sqlite_exception& e) {
        CloseWait();
        BtnDisser->Hide();
        Activities.End(TActivity::RemoteSearch);
        BtnSer->SetVisible(true);
        ShowMessageBox(e.what(), LoadLangString(59849), 0);
        SetEnabled(true);
    }
}

// ---- The disk database of a recorder disk on this computer ----

void TFrmMain::QueryPyrDbYears() {
    PlaySpeed = 1;
    PlayForward = 1;
    SetEnabled(false);
    ShowWait();
    const std::string path = DiskDbRoot + "pyrdb";
    if (!FileExists(path)) {
        CloseWait();
        SetEnabled(true);
        return;
    }
    try {
        sqlite_db db;
        if (db.try_open(path) == -1) {
            CloseWait();
            SetEnabled(true);
            ShowMessageBox(LoadLangString(50487), LoadLangString(50486), 0);
            return;
        }
        db.open(path);
        if (!HasRecordings(db.query(QelDbSql::NewestYear()))) {
            CloseWait();
            SetEnabled(true);
            ShowMessageBox(LoadLangString(59844), LoadLangString(59849), 0);
            return;
        }
        if (frmCalendar != nullptr) frmCalendar->ClearDayMarks();
        if (frmHourTable != nullptr) frmHourTable->ClearCells();
        if (frmMinTable != nullptr) frmMinTable->ClearCells();
        if (frmSearch != nullptr) {
            frmSearch->SetSearchMode(0);
            frmSearch->Show();
        }
        CloseWait();
    } catch (const sqlite_exception& e) {
        CloseWait();
        SetEnabled(true);
        ShowMessageBox(e.what(), LoadLangString(50486), 0);
    }
}

void TFrmMain::QueryPyrDbCalendar() {
    const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
    try {
        sqlite_db db;
        if (FileExists(DiskDbRoot + "pyrdb")) db.open(DiskDbRoot + "pyrdb");
        const TCalendarFill fill = FillCalendar(db, mode);
        if (fill == TCalendarFill::Filled) return;
        db.close();
        CloseWait();
        SetEnabled(true);
        ShowMessageBox(LoadLangString(59844), LoadLangString(59849), 0);
        if (fill == TCalendarFill::NoRows && frmSearch != nullptr) frmSearch->Show();
    } catch (const sqlite_exception& e) {
        CloseWait();
        SetEnabled(true);
        ShowMessageBox(e.what(), LoadLangString(59849), 0);
    }
}
