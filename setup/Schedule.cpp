#include "setup/Schedule.h"

#include "recdb/Calendar.h"
#include "setup/HolidayFile.h"
#include "setup/PageSupport.h"
#include "setup/Record2.h"
#include "setup/ScheduleFile.h"
#include "setup/TimeTable.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysTime.h"

using namespace setup_pages;

TFormVar<TfrmSchedule> frmSchedule;

namespace {

// The copy of the file as it was before this setup pass edited it; a later opening keeps the first.
void KeepFirstCopy(const std::string& name) {
    const std::string folder = SetupFolder();
    if (!FileExists(folder + "temp_" + name)) CopyFile(folder + name, folder + "temp_" + name, TRUE);
}

} // namespace

TfrmSchedule::TfrmSchedule(TComponent* owner) : TForm(owner) {
    LoadDefinition("Schedule", Bindings());
}

const TFormBindings& TfrmSchedule::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("GroupBox1", &TfrmSchedule::GroupBox1)
            .AddField("rbtOn", &TfrmSchedule::rbtOn)
            .AddField("rbtOff", &TfrmSchedule::rbtOff)
            .AddField("btnTime_Table", &TfrmSchedule::btnTime_Table)
            .AddField("btnHoliday", &TfrmSchedule::btnHoliday)
            .AddField("btnPrev", &TfrmSchedule::btnPrev)
            .AddField("ListBox1", &TfrmSchedule::ListBox1)
            .AddMethod("FormShow", &TfrmSchedule::FormShow)
            .AddMethod("rbtOnClick", &TfrmSchedule::rbtOnClick)
            .AddMethod("rbtOffClick", &TfrmSchedule::rbtOffClick)
            .AddMethod("btnPrevClick", &TfrmSchedule::btnPrevClick)
            .AddMethod("btnTime_TableClick", &TfrmSchedule::btnTime_TableClick)
            .AddMethod("btnHolidayClick", &TfrmSchedule::btnHolidayClick);
    return bindings;
}

// ---- The schedule switch ----

void TfrmSchedule::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59899);
    SetLangCaption(GroupBox1, 59898);
    SetLangCaption(btnTime_Table, 59897);
    SetLangCaption(btnHoliday, 59896);
    SetLangCaption(btnPrev, 59978);
    const bool on = frmRecord2 != nullptr && frmRecord2->GetScheduleOn() != 0;
    (on ? rbtOn : rbtOff)->SetChecked(true);
    btnTime_Table->SetEnabled(on);
    btnHoliday->SetEnabled(on);
}

void TfrmSchedule::rbtOnClick(TObject*) {
    btnTime_Table->SetEnabled(true);
    btnHoliday->SetEnabled(true);
    if (frmRecord2 != nullptr) frmRecord2->SetScheduleOn(true);
}

void TfrmSchedule::rbtOffClick(TObject*) {
    btnTime_Table->SetEnabled(false);
    btnHoliday->SetEnabled(false);
}

void TfrmSchedule::btnPrevClick(TObject*) {
    if (frmRecord2 != nullptr) {
        frmRecord2->SetScheduleOn(!rbtOff->Checked());
        frmRecord2->SetEnabled(true);
        frmRecord2->Show();
    }
    Close();
}

// ---- The time table ----

void TfrmSchedule::btnTime_TableClick(TObject*) {
    KeepFirstCopy("schedule.dat");
    Hide();
    if (frmTimeTable != nullptr) frmTimeTable->Show();
}

void TfrmSchedule::SaveScheduleDat() {
    if (frmTimeTable == nullptr || frmTimeTable->ScheduleRefused) return;
    ScheduleModes modes{};
    for (int r = 0; r < kScheduleRows; ++r)
        for (int h = 0; h < kScheduleHours; ++h) {
            modes[r][h] = ModeFromText(frmTimeTable->StringGrid->Cells(h, r));
            ListBox1->Items()->Add(std::to_string(modes[r][h]));
        }
    // The grid is lost with the window: the user must know the file did not take it.
    if (!SaveScheduleModes(SetupFolder() + "schedule.dat", modes))
        SetupBoxOver(frmTimeTable, LangText(60117), LangText(59889), 0);
}

// ---- Holidays ----

void TfrmSchedule::ReadHolidays() {
    Holidays = LoadConfigAccess(SetupFolder() + "holiday.ini", "holiday");
}

void TfrmSchedule::MarkHolidays(int year, int month) {
    if (!Holidays.Loaded() || frmCalendar == nullptr) return;
    for (const auto& [day, state] :
         HolidayMarks(*Holidays.Sections, *Holidays.Keys, *Holidays.Values, year, month))
        frmCalendar->SetDayMark(static_cast<DayMarkState>(state), day);
}

void TfrmSchedule::btnHolidayClick(TObject*) {
    if (frmCalendar == nullptr) return;
    KeepFirstCopy("holiday.ini");
    frmCalendar->ClearDayMarks();
    frmCalendar->SetHolidayMode(1);
    const SYSTEMTIME now = GetLocalTime();
    frmCalendar->SetMonth(now.wYear, now.wMonth);
    ReadHolidays();
    MarkHolidays(now.wYear, now.wMonth);
    frmCalendar->btnOk->Hide();
    frmCalendar->btnLive->SetCaption(LangText(59981));
    Hide();
    frmCalendar->Show();
}

void TfrmSchedule::LoadHolidays(int year, int month) {
    if (frmCalendar == nullptr) return;
    frmCalendar->ClearDayMarks();
    frmCalendar->SetHolidayMode(1);
    frmCalendar->SetMonth(year, month);
    MarkHolidays(year, month);
}

void TfrmSchedule::UpdateHoliday(int month, int day, int state) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return;
    if (!Holidays.Loaded()) ReadHolidays();
    // Into the section the recorder reads, whatever other sections the file holds.
    const std::string key = HolidayKey(month, day);
    if (state != 0)
        Holidays.Ini->WriteString("holiday", key, std::to_string(state));
    else
        Holidays.Ini->DeleteKey("holiday", key);
    ReadHolidays();
}
