// The schedule window, the time table and the holiday calendar: schedule.dat and holiday.ini loaded,
// edited and saved byte for byte, the first copies kept for CANCEL, the mode steps of cells, rows and
// columns, holiday days across leap years and year ends, and the edits reaching the simulated recorder.
#include "tests/setup/RecordRig.h"

#include "setup/ScheduleFile.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysTime.h"
#include "platform/vcl/FormTesting.h"

#include <filesystem>

namespace setup_test {
namespace {

class ScheduleEditorTest : public RecordRig {
protected:
    // The page open with the schedule switched on, then the schedule window.
    void OpenSchedule(const std::string& config = "[config]\r\n5_1_1=1\r\n") {
        StoreSetupFiles(config);
        OpenPage();
        frmRecord2->btnScheduleClick(frmRecord2->btnSchedule);
        form_testing::ProcessEvents();
    }
    void OpenTimeTable() {
        frmSchedule->btnTime_TableClick(frmSchedule->btnTime_Table);
        form_testing::ProcessEvents();
    }
    static std::string Cell(int hour, int row) { return frmTimeTable->StringGrid->Cells(hour, row); }
    static std::string Row(int row) {
        std::string s;
        for (int h = 0; h < kScheduleHours; ++h)
            s += Cell(h, row);
        return s;
    }
    // A click of a mouse button on a cell, after moving onto it.
    static void ClickCell(int hour, int row, TMouseButton button) {
        TStringGrid* grid = frmTimeTable->StringGrid;
        const TRect r = grid->CellRect(hour, row);
        const TPoint at{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        form_testing::MouseMove(grid, at);
        form_testing::MouseDown(grid, button, at);
        form_testing::MouseUp(grid, button, at);
    }
    static TColor DayColor(int year, int month, int day) {
        return frmCalendar->CellColor(TfrmCalendar::FirstWeekday(year, month) + day - 1);
    }
};

TEST_F(ScheduleEditorTest, TheSwitchFollowsThePage) {
    OpenSchedule();
    EXPECT_TRUE(frmSchedule->Visible());
    EXPECT_FALSE(frmRecord2->Visible());
    EXPECT_TRUE(frmSchedule->rbtOn->Checked());
    EXPECT_TRUE(frmSchedule->btnTime_Table->Enabled());
    frmSchedule->rbtOff->SetChecked(true);
    EXPECT_FALSE(frmSchedule->btnHoliday->Enabled());
    EXPECT_EQ(frmRecord2->GetScheduleOn(), 1) << "PREV stores the switch";
    frmSchedule->btnPrevClick(frmSchedule->btnPrev);
    EXPECT_EQ(frmRecord2->GetScheduleOn(), 0);
    EXPECT_EQ(frmRecord2->btnSchedule->Caption(), "OFF");
    EXPECT_TRUE(frmRecord2->Visible());
    EXPECT_FALSE(frmSchedule->Visible());
    frmRecord2->btnScheduleClick(frmRecord2->btnSchedule);
    EXPECT_TRUE(frmSchedule->rbtOff->Checked());
    EXPECT_FALSE(frmSchedule->btnTime_Table->Enabled());
    frmSchedule->rbtOn->SetChecked(true);
    EXPECT_EQ(frmRecord2->GetScheduleOn(), 1);
    EXPECT_EQ(frmRecord2->btnSchedule->Caption(), "ON");
}

TEST_F(ScheduleEditorTest, TimeTableShowsTheFileAndSavesItUnchanged) {
    OpenSchedule();
    OpenTimeTable();
    EXPECT_TRUE(frmTimeTable->Visible());
    EXPECT_EQ(Read("temp_schedule.dat"), RecorderSchedule());
    EXPECT_EQ(Row(0), "22222222111111111122222"
                      "2");
    EXPECT_EQ(Row(6), Row(0));
    EXPECT_EQ(Row(7), std::string(24, ' '));
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    EXPECT_EQ(Read("schedule.dat"), RecorderSchedule());
    EXPECT_EQ(frmSchedule->ListBox1->Items()->Count(), 192);
    EXPECT_TRUE(frmSchedule->Visible());
    EXPECT_FALSE(frmTimeTable->Visible());
}

TEST_F(ScheduleEditorTest, CellsRowsAndColumnsStep) {
    OpenSchedule();
    OpenTimeTable();
    ClickCell(3, 7, mbLeft); // " " -> 5
    EXPECT_EQ(Cell(3, 7), "5");
    ClickCell(3, 7, mbLeft);
    EXPECT_EQ(Cell(3, 7), "4");
    ClickCell(10, 0, mbLeft); // 1 -> " "
    EXPECT_EQ(Cell(10, 0), " ");
    ClickCell(5, 1, mbRight); // 2 -> 3
    EXPECT_EQ(Cell(5, 1), "3");
    for (int i = 0; i < 3; ++i)
        ClickCell(5, 1, mbRight);
    EXPECT_EQ(Cell(5, 1), " ") << "5 steps up to nothing";
    // A row whose first cell is " " becomes all 1; one that starts with 5 is cleared.
    frmTimeTable->RowButtonClick(frmTimeTable->btnHol);
    EXPECT_EQ(Row(7), std::string(24, '1'));
    for (int i = 0; i < 4; ++i)
        frmTimeTable->RowButtonClick(frmTimeTable->btnHol);
    EXPECT_EQ(Row(7), std::string(24, '5'));
    frmTimeTable->RowButtonClick(frmTimeTable->btnHol);
    EXPECT_EQ(Row(7), std::string(24, ' '));
    frmTimeTable->RowButtonClick(frmTimeTable->BbtSun);
    EXPECT_EQ(Row(6), std::string(24, '3'));
    frmTimeTable->HourButtonClick(frmTimeTable->Button23);
    for (int r = 0; r < kScheduleRows; ++r)
        EXPECT_EQ(Cell(23, r), "3") << r;
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    const std::string saved = Read("schedule.dat");
    ASSERT_EQ(saved.size(), kScheduleFileSize);
    EXPECT_EQ(saved.substr(0, 4), RecorderSchedule().substr(0, 4));
    EXPECT_EQ(saved[4 + 24 * 7 + 3], 0);
    EXPECT_EQ(saved[4 + 24 * 6 + 0], 3);
    EXPECT_EQ(saved[4 + 24 * 2 + 23], 3);
    EXPECT_EQ(saved[4 + 10], 0);
}

TEST_F(ScheduleEditorTest, AMissingFileIsCreatedAndFilledByPrev) {
    OpenSchedule();
    DeleteFile(Folder("schedule.dat"));
    OpenTimeTable();
    EXPECT_EQ(Read("schedule.dat"), std::string(1, '\x02'));
    for (int r = 0; r < kScheduleRows; ++r)
        EXPECT_EQ(Row(r), std::string(24, '1'));
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    std::string expected(kScheduleFileSize, '\x01');
    expected.replace(0, 4, std::string("\x02\0\0\0", 4));
    EXPECT_EQ(Read("schedule.dat"), expected);
}

TEST_F(ScheduleEditorTest, AFileOfTheWrongSizeIsRefusedAndKept) {
    for (std::size_t size : {std::size_t{100}, std::size_t{300}}) {
        OpenSchedule();
        const std::string odd(size, '\x03');
        Write("schedule.dat", odd);
        seen_.clear();
        OpenTimeTable();
        ASSERT_EQ(Boxes().size(), 1u) << size;
        EXPECT_EQ(Boxes()[0],
                  (client_tests::TSeenBox{FrmMain->LoadLangString(59889), FrmMain->LoadLangString(60118)}));
        EXPECT_EQ(Row(0), std::string(24, '1'));
        frmTimeTable->RowButtonClick(frmTimeTable->btnMon);
        frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
        EXPECT_EQ(Read("schedule.dat"), odd) << size;
        frmSchedule->btnPrevClick(frmSchedule->btnPrev);
    }
}

TEST_F(ScheduleEditorTest, SecondOpeningKeepsTheFirstCopy) {
    OpenSchedule();
    OpenTimeTable();
    frmTimeTable->RowButtonClick(frmTimeTable->btnMon);
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    ASSERT_NE(Read("schedule.dat"), RecorderSchedule());
    OpenTimeTable();
    EXPECT_EQ(Read("temp_schedule.dat"), RecorderSchedule());
    EXPECT_EQ(Row(0), std::string(24, '3'));
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    // CANCEL on the page puts the recorder's file back.
    frmSchedule->btnPrevClick(frmSchedule->btnPrev);
    frmRecord2->btnCancelClick(frmRecord2->btnCancel);
    EXPECT_EQ(Read("schedule.dat"), RecorderSchedule());
    EXPECT_FALSE(FileExists(Folder("temp_schedule.dat")));
}

TEST_F(ScheduleEditorTest, HolidayCalendarOpensOnThisMonthWithItsDays) {
    const SYSTEMTIME now = GetLocalTime();
    OpenSchedule();
    Write("holiday.ini", "[holiday]\r\n54_" + std::to_string(now.wMonth) + "_1=1\r\n54_" +
                             std::to_string(now.wMonth % 12 + 1) + "_2=1\r\n");
    frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
    EXPECT_TRUE(frmCalendar->Visible());
    EXPECT_FALSE(frmSchedule->Visible());
    EXPECT_FALSE(frmCalendar->btnOk->Visible());
    EXPECT_EQ(frmCalendar->ShownYear(), now.wYear);
    EXPECT_EQ(frmCalendar->ShownMonth(), now.wMonth);
    EXPECT_EQ(DayColor(now.wYear, now.wMonth, 1), TfrmCalendar::MarkColor(1));
    EXPECT_NE(DayColor(now.wYear, now.wMonth, 2), TfrmCalendar::MarkColor(1));
    EXPECT_EQ(Read("temp_holiday.ini"), Read("holiday.ini"));
}

TEST_F(ScheduleEditorTest, HolidayMonthsAcrossLeapYearsAndYearEnds) {
    OpenSchedule();
    Write("holiday.ini", "[holiday]\r\n54_2_29=1\r\n54_12_31=1\r\n54_1_1=1\r\n54_12_5=1\r\n54_1_25=1\r\n");
    frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
    struct Row {
        int year, month, day;
        bool marked;
    };
    const Row rows[] = {{2024, 2, 29, true},  {2024, 2, 28, false}, {2000, 2, 29, true},
                        {2026, 12, 31, true}, {2026, 12, 5, true},  {2026, 12, 30, false},
                        {2027, 1, 1, true},   {2027, 1, 25, true},  {2027, 1, 5, false}};
    for (const Row& r : rows) {
        frmSchedule->LoadHolidays(r.year, r.month);
        EXPECT_EQ(frmCalendar->ShownMonth(), r.month);
        EXPECT_EQ(DayColor(r.year, r.month, r.day) == TfrmCalendar::MarkColor(1), r.marked)
            << r.year << "-" << r.month << "-" << r.day;
    }
    // 2023 has no 29th of February: nothing is marked past the month's end.
    frmSchedule->LoadHolidays(2023, 2);
    for (int day = 1; day <= 28; ++day)
        EXPECT_NE(DayColor(2023, 2, day), TfrmCalendar::MarkColor(1)) << day;
}

TEST_F(ScheduleEditorTest, MarkingAndClearingADayLeavesNoKey) {
    OpenSchedule();
    const std::string original = "[holiday]\r\n54_1_1=1\r\n; kept\r\n54_5_5=1\r\n";
    Write("holiday.ini", original);
    frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
    frmSchedule->UpdateHoliday(2, 29, 1);
    frmSchedule->UpdateHoliday(12, 31, 1);
    EXPECT_EQ(Read("holiday.ini"),
              "[holiday]\r\n54_1_1=1\r\n; kept\r\n54_5_5=1\r\n54_2_29=1\r\n54_12_31=1\r\n");
    frmSchedule->LoadHolidays(2028, 2);
    EXPECT_EQ(DayColor(2028, 2, 29), TfrmCalendar::MarkColor(1)) << "the lists are read again after a change";
    frmSchedule->UpdateHoliday(2, 29, 0);
    frmSchedule->UpdateHoliday(12, 31, 0);
    EXPECT_EQ(Read("holiday.ini"), original);
    // Days no month has are not written.
    frmSchedule->UpdateHoliday(13, 1, 1);
    frmSchedule->UpdateHoliday(2, 0, 1);
    frmSchedule->UpdateHoliday(2, 32, 1);
    EXPECT_EQ(Read("holiday.ini"), original);
    EXPECT_EQ(Read("temp_holiday.ini"), original);
}

TEST_F(ScheduleEditorTest, HolidaysGoIntoTheirOwnSection) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {{nullptr, "[holiday]\r\n54_5_3=1\r\n"},
                 {"[other]\r\n54_5_4=1\r\n[holiday]\r\n54_5_5=1\r\n",
                  "[other]\r\n54_5_4=1\r\n[holiday]\r\n54_5_5=1\r\n54_5_3=1\r\n"}};
    for (const auto& c : cases) {
        OpenSchedule();
        if (c.before)
            Write("holiday.ini", c.before);
        else
            DeleteFile(Folder("holiday.ini"));
        frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
        frmSchedule->UpdateHoliday(5, 3, 1);
        EXPECT_EQ(Read("holiday.ini"), c.after);
        // A section before "holiday" hides none of its days.
        frmSchedule->LoadHolidays(2024, 5);
        EXPECT_EQ(DayColor(2024, 5, 3), TfrmCalendar::MarkColor(1));
        EXPECT_NE(DayColor(2024, 5, 4), TfrmCalendar::MarkColor(1));
        frmCalendar->btnLiveClick(frmCalendar->btnLive);
        frmSchedule->btnPrevClick(frmSchedule->btnPrev);
        frmRecord2->btnCancelClick(frmRecord2->btnCancel);
    }
}

TEST_F(ScheduleEditorTest, ATimeTableThatCannotBeSavedSaysSo) {
    OpenSchedule();
    OpenTimeTable();
    // The file is gone and a folder holds its name: nothing can be written.
    DeleteFile(Folder("schedule.dat"));
    std::filesystem::create_directories(Folder("schedule.dat/x"));
    seen_.clear();
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    EXPECT_EQ(Boxes(), (std::vector<client_tests::TSeenBox>{
                           {FrmMain->LoadLangString(59889), FrmMain->LoadLangString(60117)}}));
    EXPECT_TRUE(frmSchedule->Visible());
}

TEST_F(ScheduleEditorTest, EditsReachTheRecorderOnOk) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    OpenSchedule(RecorderConfig() + "5_1_1=1\r\n");
    OpenTimeTable();
    frmTimeTable->RowButtonClick(frmTimeTable->btnHol);
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
    frmSchedule->UpdateHoliday(2, 29, 1);
    frmSchedule->UpdateHoliday(1, 1, 0);
    frmCalendar->Hide();
    frmSchedule->btnPrevClick(frmSchedule->btnPrev);
    const std::string schedule = Read("schedule.dat");
    const std::string holidays = Read("holiday.ini");
    // Leaving the time table and the calendar sends nothing: the recording page's OK does.
    PumpReal([] { return false; }, 200);
    EXPECT_TRUE(sim.Log().Uploads().empty());
    frmRecord2->btnOkClick(frmRecord2->btnOk);
    ASSERT_TRUE(PumpReal([&] { return sim.Log().Uploads().size() >= 2; }));
    EXPECT_EQ(sim.ServedFile(3), schedule);
    EXPECT_EQ(sim.ServedFile(6), holidays);
    EXPECT_EQ(holidays, "[holiday]\r\n54_5_5=1\r\n54_12_25=1\r\n54_2_29=1\r\n");
    EXPECT_EQ(schedule.substr(4 + 24 * 7), std::string(24, '\x01'));
    EXPECT_FALSE(FileExists(Folder("temp_schedule.dat")));
    EXPECT_FALSE(FileExists(Folder("temp_holiday.ini")));
    EXPECT_EQ(frmRecord2->IsModified(), 3u);
    EXPECT_NE(Read("config.ini").find("5_1_1=1"), std::string::npos);
}

TEST_F(ScheduleEditorTest, PicturesFilledFromTheRecordersFiles) {
    OpenSchedule();
    const std::string schedulePng = Picture("schedule_filled");
    form_testing::SaveFormSnapshot(frmSchedule, schedulePng);
    OpenTimeTable();
    const std::string tablePng = Picture("time_table_filled");
    form_testing::SaveFormSnapshot(frmTimeTable, tablePng);
    EXPECT_GT(testing_support::ReadFileBytes(schedulePng).size(), 500u);
    EXPECT_GT(testing_support::ReadFileBytes(tablePng).size(), 1000u);
    EXPECT_EQ(Cell(9, 0), "1");
    frmTimeTable->btnPrevClick(frmTimeTable->btnPrev);
    Write("holiday.ini", "[holiday]\r\n54_12_24=1\r\n54_12_25=1\r\n54_12_31=1\r\n");
    frmSchedule->btnHolidayClick(frmSchedule->btnHoliday);
    frmSchedule->LoadHolidays(2026, 12);
    const std::string calendarPng = Picture("holiday_calendar_filled");
    form_testing::SaveFormSnapshot(frmCalendar, calendarPng);
    EXPECT_GT(testing_support::ReadFileBytes(calendarPng).size(), 1000u);
    EXPECT_EQ(DayColor(2026, 12, 25), TfrmCalendar::MarkColor(1));
}

} // namespace
} // namespace setup_test
