// The schedule window: the recording schedule switch and the way to its editors, the weekly time table
// (schedule.dat) and the search calendar borrowed as the holiday editor (holiday.ini). Both files are
// edited in place; the first opening of each editor keeps a "temp_" copy for the recording page's CANCEL.
#pragma once

#include "setup/ConfigAccess.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSchedule : public TForm {
public:
    explicit TfrmSchedule(TComponent* owner);

    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* rbtOn = nullptr;
    TRadioButton* rbtOff = nullptr;
    TButton* btnTime_Table = nullptr;
    TButton* btnHoliday = nullptr;
    TButton* btnPrev = nullptr;
    // Below the client area: the bytes of the last saved time table, for tracing.
    TListBox* ListBox1 = nullptr;

    // holiday.ini with its section names, the last section's keys and "key=value" lines; re-read after
    // every change.
    TConfigAccess Holidays;

    void FormShow(TObject* sender);
    void rbtOnClick(TObject* sender);
    void rbtOffClick(TObject* sender);
    void btnPrevClick(TObject* sender);
    void btnTime_TableClick(TObject* sender);
    void btnHolidayClick(TObject* sender);
    // The time table's grid into schedule.dat (only the mode bytes).
    void SaveScheduleDat();
    // The calendar's month steps in holiday mode.
    void LoadHolidays(int year, int month);
    // The calendar's day click in holiday mode: state 0 clears the day, any other marks it.
    void UpdateHoliday(int month, int day, int state);

private:
    void ReadHolidays();
    void MarkHolidays(int year, int month);
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmSchedule> frmSchedule;
