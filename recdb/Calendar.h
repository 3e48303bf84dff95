// The calendar window: the first step of the search drill-down, one month of day cells marked by
// what the recorder holds on each day. The schedule editor borrows it to mark holidays.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "recdb/QelDbTypes.h"

#include <array>
#include <string>

class TfrmCalendar : public TForm {
public:
    // Day cells 1 to 38, seven to a row; index 0 of the cell tables is the title and the
    // no-selection image.
    static constexpr int DayCells = 38;

    explicit TfrmCalendar(TComponent* owner);

    TPaintBox* PaintBox39 = nullptr;
    TImgFrame* IMFPrevious = nullptr;
    TImgFrame* IMFNext = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TPanel* Panel1 = nullptr;
    TImgFrame* ImgFrame39 = nullptr;
    TLabel* lbSTime = nullptr;
    TLabel* lbStartTime = nullptr;
    TLabel* lbETime = nullptr;
    TLabel* lbEndTime = nullptr;
    TButton* btnBackup = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnLive = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* SetStartTime = nullptr;
    TMenuItem* SetEndTime = nullptr;

    // PaintBox<n> and ImgFrame<n> of day cell n; cell 0 is PaintBox39 and ImgFrame39.
    TPaintBox* DayBox(int cell) const { return dayBoxes_.at(static_cast<std::size_t>(cell)); }
    TImgFrame* SelectionImage(int cell) const { return selectionImages_.at(static_cast<std::size_t>(cell)); }

    // ---- Filled from outside ----
    void SetHolidayMode(BYTE flag) { holidayMode_ = flag; }
    void SetMonth(int year, int month);
    void ClearDayMarks();
    void SetDayMark(DayMarkState state, int day);
    void ShowCalendar();
    void HideCalendar() { Hide(); }
    std::string GetSelectedDate() const { return selectedDate_; }
    static int DaysInMonth(int year, int month);
    static bool IsLeapYear(int year);
    // Cell 1..7 of day 1 (Sunday 1) in every time zone; 8 for a month outside 1..12.
    static int FirstWeekday(int year, int month);
    static TColor MarkColor(int state);

    // What a cell shows: its day text ("" none) and colour.
    const std::string& DayText(int cell) const { return dayTexts_.at(static_cast<std::size_t>(cell)); }
    TColor CellColor(int cell) const { return cellColors_.at(static_cast<std::size_t>(cell)); }
    int SelectedCell() const { return selectedCell_; }
    int ShownYear() const { return shownYear_; }
    int ShownMonth() const { return shownMonth_; }
    int HolidayMonth() const { return holidayMonth_; }

    // ---- Handlers ----
    void FormShow(TObject* sender);
    void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Panel1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PaintBox39Paint(TObject* sender);
    void IMFPreviousClick(TObject* sender);
    void IMFNextClick(TObject* sender);
    void IMFPreviousMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void IMFPreviousMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void IMFNextMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void IMFNextMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void btnLiveClick(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnBackupClick(TObject* sender);
    void SetStartTimeClick(TObject* sender);
    void SetEndTimeClick(TObject* sender);
    // One handler per cell, all alike.
    void DayCellClick(int cell);
    void ShowDayHours(const std::string& dateKey);
    void QueryMonth(const std::string& sql);

private:
    static const TFormBindings& Bindings();
    void DrawTitle(int year, int month);
    void PaintDayCell(int cell);
    void StepMonth(bool next);
    void CellMouseDown(int cell, TMouseButton button);
    void PopupBackupMenu();

    std::array<TPaintBox*, DayCells + 1> dayBoxes_{};
    std::array<TImgFrame*, DayCells + 1> selectionImages_{};
    std::array<std::string, DayCells + 1> dayTexts_{};
    std::array<TColor, DayCells + 1> cellColors_{};
    int firstCell_ = 1;
    int daysInMonth_ = 31;
    int shownYear_ = 0;
    int shownMonth_ = 0;
    int holidayMonth_ = 1;
    int selectedCell_ = 0;
    int backupDay_ = 0;
    std::string selectedDate_;
    BYTE holidayMode_ = 0;
    bool rightButton_ = false;
    int searchSource_ = 0;
    int localDbMode_ = 0;
    std::string dbRoot_;
    std::string avRoot_;
};

extern TFormVar<TfrmCalendar> frmCalendar;
