#include "recdb/Calendar.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/Wait.h"
#include "client/main.h"
#include "playback/Backup.h"
#include "recdb/FormCells.h"
#include "recdb/HourTable.h"
#include "recdb/KeyTime.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SearchDb.h"
#include "recdb/SearchWindowLayout.h"
#include "setup/Schedule.h"

#include <cstdlib>

TFormVar<TfrmCalendar> frmCalendar;

namespace {

constexpr int kClientWidth = 537;
constexpr int kClientHeight = 496;
constexpr TColor kBlack = static_cast<TColor>(0x00000000);
constexpr TColor kMarkOutline = static_cast<TColor>(0x00404040);

// A mark colour as light as the event's yellow does not stand out from the window's face by itself.
bool LightOnFace(TColor color) {
    const int r = static_cast<int>(color & 0xFF), g = static_cast<int>((color >> 8) & 0xFF),
              b = static_cast<int>((color >> 16) & 0xFF);
    return 299 * r + 587 * g + 114 * b > 160 * 1000;
}

// One font for every cell and the title.
void SetCellFont(TFont* font) {
    font->SetName("Microsoft Sans Serif");
    font->SetHeight(26);
    font->SetStyle(TFontStyles());
}

std::string DayText(int day) {
    return day >= 10 ? std::to_string(day) : " " + std::to_string(day);
}

void ShowDatabaseError(const std::exception& e) {
    Application->ShowException(e);
}

} // namespace

TfrmCalendar::TfrmCalendar(TComponent* owner) : TForm(owner) {
    LoadDefinition("Calendar", Bindings());
    dayBoxes_[0] = PaintBox39;
    selectionImages_[0] = ImgFrame39;
    for (int n = 1; n <= DayCells; ++n) {
        dayBoxes_[n] = RequireComponent<TPaintBox>(this, "PaintBox" + IntToStr(n));
        selectionImages_[n] = RequireComponent<TImgFrame>(this, "ImgFrame" + IntToStr(n));
        // The 38 cells share one handler each for painting and clicking.
        dayBoxes_[n]->OnPaint = TNotifyEvent([this, n](TObject*) { PaintDayCell(n); });
        dayBoxes_[n]->OnMouseDown = TMouseEvent(
            [this, n](TObject*, TMouseButton button, TShiftState, int, int) { CellMouseDown(n, button); });
    }
    Panel1->OnMouseDown = TMouseEvent(this, &TfrmCalendar::Panel1MouseDown);
    cellColors_.fill(kBlack);
}

const TFormBindings& TfrmCalendar::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("PaintBox39", &TfrmCalendar::PaintBox39)
            .AddField("IMFPrevious", &TfrmCalendar::IMFPrevious)
            .AddField("IMFNext", &TfrmCalendar::IMFNext)
            .AddField("Label1", &TfrmCalendar::Label1)
            .AddField("Label2", &TfrmCalendar::Label2)
            .AddField("Label3", &TfrmCalendar::Label3)
            .AddField("Label4", &TfrmCalendar::Label4)
            .AddField("Label5", &TfrmCalendar::Label5)
            .AddField("Label6", &TfrmCalendar::Label6)
            .AddField("Label7", &TfrmCalendar::Label7)
            .AddField("Panel1", &TfrmCalendar::Panel1)
            .AddField("ImgFrame39", &TfrmCalendar::ImgFrame39)
            .AddField("lbSTime", &TfrmCalendar::lbSTime)
            .AddField("lbStartTime", &TfrmCalendar::lbStartTime)
            .AddField("lbETime", &TfrmCalendar::lbETime)
            .AddField("lbEndTime", &TfrmCalendar::lbEndTime)
            .AddField("btnBackup", &TfrmCalendar::btnBackup)
            .AddField("btnOk", &TfrmCalendar::btnOk)
            .AddField("btnLive", &TfrmCalendar::btnLive)
            .AddField("PopupMenu1", &TfrmCalendar::PopupMenu1)
            .AddField("SetStartTime", &TfrmCalendar::SetStartTime)
            .AddField("SetEndTime", &TfrmCalendar::SetEndTime)
            .AddMethod("FormShow", &TfrmCalendar::FormShow)
            .AddMethod("FormMouseDown", &TfrmCalendar::FormMouseDown)
            .AddMethod("PaintBox39Paint", &TfrmCalendar::PaintBox39Paint)
            .AddMethod("IMFPreviousClick", &TfrmCalendar::IMFPreviousClick)
            .AddMethod("IMFNextClick", &TfrmCalendar::IMFNextClick)
            .AddMethod("IMFPreviousMouseDown", &TfrmCalendar::IMFPreviousMouseDown)
            .AddMethod("IMFPreviousMouseUp", &TfrmCalendar::IMFPreviousMouseUp)
            .AddMethod("IMFNextMouseDown", &TfrmCalendar::IMFNextMouseDown)
            .AddMethod("IMFNextMouseUp", &TfrmCalendar::IMFNextMouseUp)
            .AddMethod("btnLiveClick", &TfrmCalendar::btnLiveClick)
            .AddMethod("btnOkClick", &TfrmCalendar::btnOkClick)
            .AddMethod("btnBackupClick", &TfrmCalendar::btnBackupClick)
            .AddMethod("SetStartTimeClick", &TfrmCalendar::SetStartTimeClick)
            .AddMethod("SetEndTimeClick", &TfrmCalendar::SetEndTimeClick);
    return bindings;
}

// ---- Dates ----

bool TfrmCalendar::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int TfrmCalendar::DaysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

int TfrmCalendar::FirstWeekday(int year, int month) {
    // Counted on the Gregorian calendar itself: a local-time conversion moves midnight into the day
    // before wherever a zone's rules shift the clock at that hour (Europe/Dublin's winter, Morocco's
    // Ramadan).
    if (month < 1 || month > 12) return 8;
    static constexpr int kMonthShift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const long y = month < 3 ? year - 1L : year;
    const long days = y + y / 4 - y / 100 + y / 400 + kMonthShift[month - 1] + 1;
    return static_cast<int>((days % 7 + 7) % 7) + 1;
}

TColor TfrmCalendar::MarkColor(int state) {
    switch (state) {
    case dmsRecording:
        return static_cast<TColor>(0x000000FF);
    case dmsEvent:
        return static_cast<TColor>(0x0000FFFF);
    default:
        return kBlack;
    }
}

// ---- Drawing ----

void TfrmCalendar::DrawTitle(int, int) {
    PaintBox39->Invalidate();
}

void TfrmCalendar::PaintBox39Paint(TObject*) {
    if (shownMonth_ < 1) return;
    TCanvas* canvas = PaintBox39->Canvas();
    SetCellFont(canvas->Font());
    canvas->Font()->SetStyle(TFontStyles() << fsBold);
    canvas->Font()->SetColor(kBlack);
    canvas->Brush()->SetStyle(bsClear);
    // A one-digit month takes the width of a two-digit one.
    const std::string text =
        std::to_string(shownYear_) + (shownMonth_ < 10 ? " / " : " /") + std::to_string(shownMonth_);
    canvas->TextOut(0, 0, text);
}

void TfrmCalendar::PaintDayCell(int cell) {
    const std::string& text = dayTexts_[static_cast<std::size_t>(cell)];
    if (text.empty()) return;
    TCanvas* canvas = dayBoxes_[static_cast<std::size_t>(cell)]->Canvas();
    const TColor color = cellColors_[static_cast<std::size_t>(cell)];
    SetCellFont(canvas->Font());
    canvas->Brush()->SetStyle(bsClear);
    // The mark keeps its colour; a dark rim around a light one makes the digits readable.
    if (LightOnFace(color)) {
        canvas->Font()->SetColor(kMarkOutline);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx != 0 || dy != 0) canvas->TextOut(10 + dx, 10 + dy, text);
    }
    canvas->Font()->SetColor(color);
    canvas->TextOut(10, 10, text);
}

// ---- Filled from outside ----

void TfrmCalendar::SetMonth(int year, int month) {
    if (month < 1 || month > 12) return;
    shownYear_ = year;
    shownMonth_ = month;
    DrawTitle(year, month);
    daysInMonth_ = DaysInMonth(year, month);
    firstCell_ = FirstWeekday(year, month);
    for (int cell = 1; cell <= DayCells; ++cell) {
        dayTexts_[static_cast<std::size_t>(cell)].clear();
        dayBoxes_[static_cast<std::size_t>(cell)]->SetEnabled(false);
        dayBoxes_[static_cast<std::size_t>(cell)]->Invalidate();
    }
    for (int day = 1; day <= daysInMonth_; ++day) {
        const int cell = firstCell_ + day - 1;
        if (cell > DayCells) break;
        dayTexts_[static_cast<std::size_t>(cell)] = ::DayText(day);
        cellColors_[static_cast<std::size_t>(cell)] = kBlack;
        dayBoxes_[static_cast<std::size_t>(cell)]->SetEnabled(true);
    }
}

void TfrmCalendar::SetDayMark(DayMarkState state, int day) {
    // Callers give month days; anything else has no cell.
    if (day < 1 || day > daysInMonth_) return;
    const int cell = firstCell_ + day - 1;
    if (cell > DayCells) return;
    dayTexts_[static_cast<std::size_t>(cell)] = ::DayText(day);
    cellColors_[static_cast<std::size_t>(cell)] = MarkColor(state);
    dayBoxes_[static_cast<std::size_t>(cell)]->Invalidate();
}

void TfrmCalendar::ClearDayMarks() {
    selectedCell_ = 0;
    for (int day = 1; day <= daysInMonth_; ++day) {
        const int cell = firstCell_ + day - 1;
        if (cell > DayCells) break;
        dayTexts_[static_cast<std::size_t>(cell)] = ::DayText(day);
        cellColors_[static_cast<std::size_t>(cell)] = kBlack;
        dayBoxes_[static_cast<std::size_t>(cell)]->Invalidate();
        selectionImages_[static_cast<std::size_t>(cell)]->Hide();
    }
}

void TfrmCalendar::ShowCalendar() {
    Show();
    BringToFront();
}

// ---- Month stepping ----

void TfrmCalendar::IMFPreviousMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    IMFPrevious->SetCurrentFrame(1);
}

void TfrmCalendar::IMFPreviousMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    IMFPrevious->SetCurrentFrame(0);
}

void TfrmCalendar::IMFNextMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    IMFNext->SetCurrentFrame(1);
}

void TfrmCalendar::IMFNextMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    IMFNext->SetCurrentFrame(0);
}

void TfrmCalendar::StepMonth(bool next) {
    if (holidayMode_ != 0) {
        // The holiday editor keeps to one year.
        const int month = holidayMonth_ + (next ? 1 : -1);
        if (month < 1 || month > 12) return;
        holidayMonth_ = month;
        if (frmSchedule != nullptr) frmSchedule->LoadHolidays(shownYear_, holidayMonth_);
        return;
    }
    const int shown = FrmMain != nullptr ? std::atoi(FrmMain->GetCalendarMonth().c_str()) : 0;
    const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
    QueryMonth(QelDbSql::StepMonth(next, mode, shown));
}

void TfrmCalendar::IMFPreviousClick(TObject*) {
    StepMonth(false);
}

void TfrmCalendar::IMFNextClick(TObject*) {
    StepMonth(true);
}

void TfrmCalendar::QueryMonth(const std::string& sql) {
    try {
        sqlite_db db;
        OpenSearchDb(db, SearchDbPath(searchSource_, FrmMain != nullptr ? FrmMain->ProgramFolder : "",
                                      localDbMode_, dbRoot_));
        const sqlite_result months = db.query(sql);
        if (!months.empty()) ClearDayMarks();
        const std::optional<YearMonth> ym = MonthOf(months);
        if (!ym) return;
        SetMonth(ym->year, ym->month);
        const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
        const sqlite_result days = db.query(QelDbSql::DaysOfMonth(mode, ym->year, ym->month));
        for (const auto& [day, state] : DayMarks(days, daysInMonth_))
            SetDayMark(state, day);
        db.close();
        if (FrmMain != nullptr) FrmMain->SetCalendarMonth(std::to_string(ym->year) + TwoDigits(ym->month));
        ShowCalendar();
    } catch (const Exception& e) {
        ShowDatabaseError(e);
    }
}

// ---- Days ----

void TfrmCalendar::CellMouseDown(int cell, TMouseButton button) {
    rightButton_ = button == mbRight;
    DayCellClick(cell);
}

void TfrmCalendar::FormMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    rightButton_ = button == mbRight;
    if (selectedCell_ != 0) DayCellClick(selectedCell_);
}

void TfrmCalendar::Panel1MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    rightButton_ = button == mbRight;
    if (selectedCell_ != 0) DayCellClick(selectedCell_);
}

void TfrmCalendar::DayCellClick(int cell) {
    if (cell < 1 || cell > DayCells) return;
    const std::size_t n = static_cast<std::size_t>(cell);
    if (holidayMode_ != 0) {
        const int day = std::atoi(dayTexts_[n].c_str());
        if (day < 1) return;
        const DayMarkState state = cellColors_[n] != kBlack ? dmsNone : dmsRecording;
        SetDayMark(state, day);
        if (frmSchedule != nullptr) frmSchedule->UpdateHoliday(shownMonth_, day, state);
        return;
    }
    // A right click in a remote search is the backup span's, and selects nothing.
    if (rightButton_ && searchSource_ == 1) {
        if (selectedCell_ != 0) {
            backupDay_ = std::atoi(dayTexts_[static_cast<std::size_t>(selectedCell_)].c_str());
            PopupBackupMenu();
        }
        return;
    }
    if (cellColors_[n] == kBlack || dayTexts_[n].empty()) return;
    const int day = std::atoi(dayTexts_[n].c_str());
    selectedDate_ = (FrmMain != nullptr ? FrmMain->GetCalendarMonth() : std::string()) + TwoDigits(day);
    selectionImages_[static_cast<std::size_t>(selectedCell_)]->Hide();
    selectionImages_[n]->Show();
    ReplaceSkinBackground(selectionImages_[n], 52, 44);
    selectedCell_ = cell;
}

void TfrmCalendar::btnOkClick(TObject*) {
    if (holidayMode_ == 0 && selectedCell_ != 0) ShowDayHours(selectedDate_);
}

void TfrmCalendar::ShowDayHours(const std::string& dateKey) {
    if (holidayMode_ != 0 || frmHourTable == nullptr) return;
    const std::optional<std::int64_t> valid = KeyToUtcSeconds(dateKey);
    if (!valid) return;
    try {
        sqlite_db db;
        OpenSearchDb(db, SearchDbPath(searchSource_, FrmMain != nullptr ? FrmMain->ProgramFolder : "",
                                      localDbMode_, dbRoot_));
        const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
        const int channel = frmSearch != nullptr ? frmSearch->GetSearchChannel() : -1;
        const int year = std::atoi(dateKey.substr(0, 4).c_str());
        const int month = std::atoi(dateKey.substr(4, 2).c_str());
        const int day = std::atoi(dateKey.substr(6, 2).c_str());
        const sqlite_result hours = db.query(QelDbSql::DayHours(mode, year, month, day));
        for (const CellMark& mark : HourMarks(hours, channel))
            frmHourTable->SetCellState(mark.state, mark.channel, mark.index);
        frmHourTable->lbDateTime->SetCaption(KeyDateText(dateKey));
        Hide();
        frmHourTable->SetEnabled(true);
        frmHourTable->Show();
        SetClientWidth(10);
        SetClientHeight(10);
    } catch (const Exception& e) {
        ShowDatabaseError(e);
    }
}

// ---- Buttons and showing ----

void TfrmCalendar::btnLiveClick(TObject*) {
    if (holidayMode_ != 0) {
        if (frmSchedule != nullptr) {
            frmSchedule->SetEnabled(true);
            frmSchedule->Show();
        }
        btnOk->SetVisible(true);
        ClearDayMarks();
        Close();
        if (FrmMain != nullptr) btnLive->SetCaption(FrmMain->LoadLangString(59986));
        return;
    }
    selectedCell_ = 0;
    ClearDayMarks();
    if (frmBackup != nullptr) frmBackup->ClearSelection();
    Close();
    if (frmSearch != nullptr) frmSearch->Show();
}

// ---- Backup span ----

void TfrmCalendar::PopupBackupMenu() {
    ::PopupBackupMenu(PopupMenu1);
}

void TfrmCalendar::SetStartTimeClick(TObject*) {
    if (frmBackup == nullptr || FrmMain == nullptr) return;
    frmBackup->SetStartTime(FrmMain->GetCalendarMonth() + TwoDigits(backupDay_));
}

void TfrmCalendar::SetEndTimeClick(TObject*) {
    if (frmBackup == nullptr || FrmMain == nullptr) return;
    frmBackup->SetEndTime(NextKey(FrmMain->GetCalendarMonth() + TwoDigits(backupDay_)));
}

void TfrmCalendar::btnBackupClick(TObject*) {
    StartBackupFrom(this, 1);
}

void TfrmCalendar::FormShow(TObject*) {
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    PlaceOnMainWindow(this, Width(), Height());
    holidayMonth_ = shownMonth_ >= 1 ? shownMonth_ : 1;
    dbRoot_.clear();
    avRoot_.clear();
    if (FrmMain != nullptr) {
        ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
        for (TControl* control :
             std::initializer_list<TControl*>{btnOk, btnLive, btnBackup, lbSTime, lbETime})
            control->Font()->SetName(Font()->Name());
        SetCaption(FrmMain->LoadLangString(59975));
        TLabel* const days[] = {Label1, Label2, Label3, Label4, Label5, Label6, Label7};
        for (int k = 0; k < 7; ++k)
            days[k]->SetCaption(FrmMain->LoadLangString(59961 - k));
        btnOk->SetCaption(FrmMain->LoadLangString(59981));
        btnLive->SetCaption(FrmMain->LoadLangString(59978));
        SetBackupSpanCaptions(lbSTime, lbETime, btnBackup, SetStartTime, SetEndTime);
        EnableBackupButtons({btnBackup});
        ReadSearchSource(localDbMode_, searchSource_, dbRoot_, avRoot_);
    }
    Label1->Font()->SetColor(static_cast<TColor>(0x000000FF));
    Label7->Font()->SetColor(static_cast<TColor>(0x00FF0000));
    if (holidayMode_ != 0)
        btnBackup->Hide();
    else
        btnOk->SetVisible(true);
}
