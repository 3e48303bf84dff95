// The search start on a downloaded recorder database: whether it holds recordings, then the newest month
// into the calendar. The SQL texts and the reading of their rows come from recdb/.
#include "client/main.h"

#include "controls/BmButton.h"
#include "recdb/Calendar.h"
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

} // namespace

void TFrmMain::EndSearchWithoutData() {
    CloseWait();
    SetEnabled(true);
    BtnDisser->Hide();
    RemoteSearchActive = 0;
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
        if (SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs) == 0) {
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
        RemoteSearchActive = 0;
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
        // The card's file table is not part of this client yet: end the search cleanly.
        CloseWait();
        SetEnabled(true);
        BtnDisser->Hide();
        RemoteSearchActive = 0;
        BtnSer->SetVisible(true);
        return;
    }
    try {
        sqlite_db db;
        db.open(path);
        const sqlite_result months = db.query(QelDbSql::NewestMonth(mode));
        const std::optional<YearMonth> ym = MonthOf(months);
        if (!ym) {
            db.close();
            EndSearchWithoutData();
            if (months.empty() && frmSearch != nullptr) frmSearch->Show();
            return;
        }
        frmCalendar->SetMonth(ym->year, ym->month);
        const sqlite_result days = db.query(QelDbSql::DaysOfMonth(mode, ym->year, ym->month));
        for (const auto& [day, state] : DayMarks(days, TfrmCalendar::DaysInMonth(ym->year, ym->month)))
            frmCalendar->SetDayMark(state, day);
        db.close();
        SetCalendarMonth(MonthText(*ym));
        frmCalendar->SetHolidayMode(0);
        frmCalendar->ShowCalendar();
    } catch (const sqlite_exception& e) {
        CloseWait();
        BtnDisser->Hide();
        RemoteSearchActive = 0;
        BtnSer->SetVisible(true);
        ShowMessageBox(e.what(), LoadLangString(59849), 0);
        SetEnabled(true);
    }
}
