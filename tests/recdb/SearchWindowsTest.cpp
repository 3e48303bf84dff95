// The windows of the search drill-down as their definitions build them: hidden at creation, the
// controls and cell grids where they belong, pictures from the generated skins, and shown looking
// right (snapshots under <build>/snapshots).
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/Loglist.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "recdb/SearchDb.h"
#include "tests/recdb/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using window_test::ClientPixel;
using window_test::ControlPlace;
using window_test::ExpectControls;
using window_test::SkinPixel;
using window_test::Snapshot;

class SearchWindowsTest : public window_test::WindowTest {};

struct WindowRow {
    const char* unit;
    std::function<TForm*()> create;
    std::function<TForm*()> global;
    const char* name;
    const char* caption;
    int clientWidth, clientHeight;
};

const WindowRow kWindows[] = {
    {"Calendar",
     [] {
         Application->CreateForm(frmCalendar);
         return frmCalendar.Get();
     },
     [] { return frmCalendar.Get(); }, "frmCalendar", "CALENDAR", 537, 496},
    // The tables are laid out for one channel until their show handler knows the camera count.
    {"HourTable",
     [] {
         Application->CreateForm(frmHourTable);
         return frmHourTable.Get();
     },
     [] { return frmHourTable.Get(); }, "frmHourTable", "HOUR TABLE", 601, 201},
    {"MinTable",
     [] {
         Application->CreateForm(frmMinTable);
         return frmMinTable.Get();
     },
     [] { return frmMinTable.Get(); }, "frmMinTable", "MINUTE TABLE", 633, 201},
    {"Search",
     [] {
         Application->CreateForm(frmSearch);
         return frmSearch.Get();
     },
     [] { return frmSearch.Get(); }, "frmSearch", "SEARCH", 201, 193},
    {"Loglist",
     [] {
         Application->CreateForm(frmLoglist);
         return frmLoglist.Get();
     },
     [] { return frmLoglist.Get(); }, "frmLoglist", "LOG LIST", 481, 473},
};

TEST_F(SearchWindowsTest, EveryWindowIsCreatedHiddenAndCanBeShown) {
    for (const WindowRow& window : kWindows) {
        SCOPED_TRACE(window.unit);
        TForm* form = window.create();
        EXPECT_EQ(window.global(), form);
        EXPECT_EQ(Application->FindComponent(window.name), form);
        EXPECT_FALSE(form->Visible());
        EXPECT_EQ(form->Caption(), window.caption);
        EXPECT_EQ(form->ClientWidth(), window.clientWidth);
        EXPECT_EQ(form->ClientHeight(), window.clientHeight);
        // Single border, no caption buttons: the windows are left through their own buttons.
        EXPECT_EQ(form->BorderStyle(), bsSingle);
        EXPECT_TRUE(form->BorderIcons().Empty());
        EXPECT_EQ(ColorToRGB(form->Color()), ColorToRGB(clBtnFace));

        form->Show();
        EXPECT_TRUE(form->Showing());
        const form_testing::TSnapshot picture = Snapshot(form, window.unit);
        EXPECT_EQ(picture.Width, form->Width());
        EXPECT_EQ(picture.Height, form->Height());
        EXPECT_EQ(ClientPixel(picture, form, 2, window.clientHeight - 2), ColorToRGB(clBtnFace));
        form->Hide();
        EXPECT_FALSE(form->Showing());
    }
}

TEST_F(SearchWindowsTest, CalendarControls) {
    Application->CreateForm(frmCalendar);
    ExpectControls(frmCalendar, {
                                    {"PaintBox39", "TPaintBox", 224, 24, 105, 33, true},
                                    {"IMFPrevious", "TImgFrame", 168, 19, 32, 32, true},
                                    {"IMFNext", "TImgFrame", 336, 19, 32, 32, true},
                                    {"Label1", "TLabel", 32, 80, 41, 16, true},
                                    {"Label2", "TLabel", 104, 80, 41, 16, true},
                                    {"Label3", "TLabel", 176, 80, 41, 16, true},
                                    {"Label4", "TLabel", 248, 80, 41, 16, true},
                                    {"Label5", "TLabel", 320, 80, 41, 16, true},
                                    {"Label6", "TLabel", 392, 80, 41, 16, true},
                                    {"Label7", "TLabel", 464, 80, 41, 16, true},
                                    {"Panel1", "TPanel", 16, 112, 505, 305, true},
                                    {"btnBackup", "TButton", 256, 456, 81, 25, true},
                                    {"btnOk", "TButton", 344, 456, 81, 25, true},
                                    {"btnLive", "TButton", 432, 456, 81, 25, true},
                                });
    // Sunday red, Saturday blue, the weekdays between them black.
    EXPECT_EQ(frmCalendar->Label1->Font()->Color(), clRed);
    EXPECT_EQ(frmCalendar->Label7->Font()->Color(), clBlue);
    EXPECT_EQ(frmCalendar->Label4->Font()->Color(), clWindowText);
    EXPECT_EQ(frmCalendar->Label1->Caption(), "Sun");
    EXPECT_EQ(frmCalendar->Label7->Caption(), "Sat");
    EXPECT_EQ(frmCalendar->btnLive->Caption(), "Prev");
    // The month arrows have a pressed look.
    for (TImgFrame* arrow : {frmCalendar->IMFPrevious, frmCalendar->IMFNext}) {
        EXPECT_EQ(arrow->TotalFrames(), 2);
        EXPECT_EQ(arrow->CurrentFrame(), 0);
    }
    // Span labels wait for the backup dialog; the menu opens only from code.
    for (TLabel* label :
         {frmCalendar->lbSTime, frmCalendar->lbStartTime, frmCalendar->lbETime, frmCalendar->lbEndTime})
        EXPECT_FALSE(label->Visible()) << label->Name();
    EXPECT_EQ(frmCalendar->lbSTime->Top(), 422);
    EXPECT_EQ(frmCalendar->lbStartTime->Top(), 422);
    EXPECT_EQ(frmCalendar->lbETime->Top(), 438);
    EXPECT_EQ(frmCalendar->lbEndTime->Top(), 438);
    EXPECT_FALSE(frmCalendar->PopupMenu1->AutoPopup());
    ASSERT_EQ(frmCalendar->PopupMenu1->Items()->Count(), 2);
    EXPECT_EQ(frmCalendar->PopupMenu1->Items()->Items(0), frmCalendar->SetStartTime);
    EXPECT_EQ(frmCalendar->PopupMenu1->Items()->Items(1), frmCalendar->SetEndTime);
}

TEST_F(SearchWindowsTest, CalendarDayCellsLieInSevenColumns) {
    Application->CreateForm(frmCalendar);
    TPanel* panel = frmCalendar->Panel1;
    EXPECT_EQ(frmCalendar->DayBox(0), frmCalendar->PaintBox39);
    EXPECT_EQ(frmCalendar->SelectionImage(0), frmCalendar->ImgFrame39);
    // The no-selection image lies outside the window and is never seen.
    EXPECT_FALSE(frmCalendar->ImgFrame39->Visible());
    EXPECT_GE(frmCalendar->ImgFrame39->Left(), frmCalendar->ClientWidth());
    for (int n = 1; n <= TfrmCalendar::DayCells; ++n) {
        SCOPED_TRACE(n);
        const int column = (n - 1) % 7, row = (n - 1) / 7;
        TPaintBox* box = frmCalendar->DayBox(n);
        TImgFrame* image = frmCalendar->SelectionImage(n);
        EXPECT_EQ(box->Name(), "PaintBox" + std::to_string(n));
        EXPECT_EQ(image->Name(), "ImgFrame" + std::to_string(n));
        EXPECT_EQ(box->Parent(), panel);
        EXPECT_EQ(image->Parent(), panel);
        EXPECT_EQ(box->BoundsRect(), Rect(16 + 72 * column, 16 + 48 * row, 57 + 72 * column, 49 + 48 * row));
        EXPECT_EQ(image->BoundsRect(),
                  Rect(12 + 72 * column, 16 + 48 * row, 64 + 72 * column, 60 + 48 * row));
        EXPECT_TRUE(box->Visible());
        EXPECT_FALSE(image->Visible());
        EXPECT_EQ(image->TotalFrames(), 1);
        // The selection image lies behind its day cell.
        int boxIndex = -1, imageIndex = -1;
        for (int i = 0; i < panel->ControlCount(); ++i) {
            if (panel->Controls(i) == box) boxIndex = i;
            if (panel->Controls(i) == image) imageIndex = i;
        }
        EXPECT_LT(imageIndex, boxIndex);
        // Every cell fits in the panel.
        EXPECT_LE(image->Left() + image->Width(), panel->Width());
        EXPECT_LE(image->Top() + image->Height(), panel->Height());
    }
    // Row 5 holds cells 36 to 38 only.
    EXPECT_EQ(frmCalendar->DayBox(38)->Top(), 16 + 48 * 5);
    EXPECT_EQ(frmCalendar->DayBox(38)->Left(), 16 + 72 * 2);
}

TEST_F(SearchWindowsTest, CalendarPicturesSitOnTheButtonFace) {
    Application->CreateForm(frmCalendar);
    frmCalendar->Show();
    frmCalendar->IMFNext->SetCurrentFrame(1);
    // A selected day shows its selection image behind the number.
    frmCalendar->SelectionImage(9)->Show();
    // October 2007 as the window will draw it (day 1 in cell 2), some days marked, for the eye.
    const auto dayFont = [](TCanvas* canvas, TColor colour) {
        canvas->Font()->SetName("Microsoft Sans Serif");
        canvas->Font()->SetHeight(26);
        canvas->Font()->SetColor(colour);
        canvas->Brush()->SetStyle(bsClear);
    };
    for (int day = 1; day <= 31; ++day) {
        TPaintBox* box = frmCalendar->DayBox(day + 1);
        box->OnPaint = [box, day, dayFont](TObject*) {
            dayFont(box->Canvas(), day % 7 == 3 ? clRed : day % 7 == 5 ? clYellow : clBlack);
            box->Canvas()->TextOut(10, 10, day < 10 ? " " + std::to_string(day) : std::to_string(day));
        };
    }
    frmCalendar->PaintBox39->OnPaint = [dayFont](TObject*) {
        TCanvas* canvas = frmCalendar->PaintBox39->Canvas();
        dayFont(canvas, clBlack);
        canvas->Font()->SetStyle(TFontStyles{fsBold});
        canvas->TextOut(0, 0, "2007 /10");
    };
    frmCalendar->lbStartTime->SetCaption("2007/10/08  00:00:00");
    frmCalendar->lbEndTime->SetCaption("2007/10/09  00:00:00");
    for (TLabel* label :
         {frmCalendar->lbSTime, frmCalendar->lbStartTime, frmCalendar->lbETime, frmCalendar->lbEndTime})
        label->Show();
    EXPECT_LT(frmCalendar->lbSTime->Left() + frmCalendar->lbSTime->Width(), frmCalendar->lbStartTime->Left());
    EXPECT_LT(frmCalendar->lbETime->Left() + frmCalendar->lbETime->Width(), frmCalendar->lbEndTime->Left());
    EXPECT_LT(frmCalendar->lbEndTime->Left() + frmCalendar->lbEndTime->Width(),
              frmCalendar->btnBackup->Left());
    const form_testing::TSnapshot picture = Snapshot(frmCalendar, "CalendarSelected");
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(ClientPixel(picture, frmCalendar, 168, 19), face);
    EXPECT_EQ(ClientPixel(picture, frmCalendar, 336 + 31, 19 + 31), face);
    EXPECT_EQ(SkinPixel("cal_prev", 0, 0), face);
    // The arrow's middle: frame 0 of the previous arrow, frame 1 of the next one.
    EXPECT_EQ(ClientPixel(picture, frmCalendar, 168 + 14, 19 + 16), SkinPixel("cal_prev", 14, 16));
    EXPECT_EQ(ClientPixel(picture, frmCalendar, 336 + 18, 19 + 16), SkinPixel("cal_next", 32 + 18, 16));
    // Cell 9 is row 1, column 1 of the panel (at 16, 112, inside its one-pixel bevel).
    const TPoint cell9 = Point(16 + 12 + 72, 112 + 16 + 48);
    EXPECT_EQ(ClientPixel(picture, frmCalendar, cell9.X + 26, cell9.Y + 40), SkinPixel("cal_select", 26, 40));
    EXPECT_EQ(ClientPixel(picture, frmCalendar, cell9.X, cell9.Y + 20), SkinPixel("cal_select", 0, 20));
}

// The hour and minute tables: one row of cells a channel.
struct TableRow {
    const char* name;
    std::function<TForm*()> create;
    std::function<TImgFrame*(int, int)> cell;
    const char* cellSkin;
    int cells, firstX, cellWidth;
};

const TableRow kTables[] = {
    {"HourTable",
     [] {
         Application->CreateForm(frmHourTable);
         return frmHourTable.Get();
     },
     [](int c, int k) { return frmHourTable->Cell(c, k); }, "hour_cell", 24, 134, 18},
    {"MinTable",
     [] {
         Application->CreateForm(frmMinTable);
         return frmMinTable.Get();
     },
     [](int c, int k) { return frmMinTable->Cell(c, k); }, "min_cell", 60, 128, 8},
};

TEST_F(SearchWindowsTest, TableCellsLieInOneRowAChannel) {
    for (const TableRow& table : kTables) {
        SCOPED_TRACE(table.name);
        TForm* form = table.create();
        for (int channel = 0; channel < 4; ++channel)
            for (int k = 0; k < table.cells; ++k) {
                SCOPED_TRACE(std::to_string(channel) + "/" + std::to_string(k));
                TImgFrame* cell = table.cell(channel, k);
                EXPECT_EQ(cell->Name(), "ifm" + std::to_string(channel + 1) + "_" + std::to_string(k + 1));
                EXPECT_EQ(cell->Parent(), form);
                const int x = table.firstX + table.cellWidth * k, y = 123 + 40 * channel;
                EXPECT_EQ(cell->BoundsRect(), Rect(x, y, x + table.cellWidth, y + 20));
                EXPECT_EQ(cell->TotalFrames(), 6);
                EXPECT_EQ(cell->Direction(), Imgframe::HORIZONTAL);
                EXPECT_EQ(cell->CurrentFrame(), 0);
                // Channel 2 waits for the four-channel layout.
                EXPECT_EQ(cell->Visible(), channel != 1);
            }
    }
}

TEST_F(SearchWindowsTest, TableControls) {
    // Heading strip, date label and the left edges of BACKUP, OK and Prev.
    struct {
        const TableRow& table;
        const char* heading;
        int headingWidth, headingHeight, dateLeft, buttons[3];
    } const rows[] = {{kTables[0], "ifmHour", 472, 59, 440, {304, 392, 480}},
                      {kTables[1], "ifmMin", 510, 57, 472, {352, 440, 528}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.table.name);
        TForm* form = row.table.create();
        const int* x = row.buttons;
        ExpectControls(form,
                       {
                           {row.heading, "TImgFrame", 114, 59, row.headingWidth, row.headingHeight, true},
                           {"Label1", "TLabel", 16, 120, 96, 26, true},
                           {"Label2", "TLabel", 16, 160, 96, 26, false},
                           {"Label3", "TLabel", 16, 200, 96, 26, true},
                           {"Label4", "TLabel", 16, 240, 96, 26, true},
                           // The one-channel row, then the four-channel row.
                           {"btnBackup2", "TButton", x[0], 160, 81, 25, false},
                           {"btnOk2", "TButton", x[1], 160, 81, 25, true},
                           {"btnBack2", "TButton", x[2], 160, 81, 25, true},
                           {"btnBackup", "TButton", x[0], 280, 81, 25, true},
                           {"btnOk", "TButton", x[1], 280, 81, 25, true},
                           {"btnBack", "TButton", x[2], 280, 81, 25, true},
                       });
        TControl* date = form_testing::FindControlByName(form, "lbDateTime");
        EXPECT_EQ(date->Left(), row.dateLeft);
        EXPECT_EQ(date->Top(), 32);
        EXPECT_EQ(static_cast<TImgFrame*>(form_testing::FindControlByName(form, row.heading))->TotalFrames(),
                  1);
        EXPECT_EQ(form_testing::FindControlByName(form, "Label3")->Caption(), "CH 3");
        for (const char* name : {"lbSTime", "lbStartTime", "lbETime", "lbEndTime"})
            EXPECT_FALSE(form_testing::FindControlByName(form, name)->Visible()) << name;
    }
}

TEST_F(SearchWindowsTest, TablesShowEveryMarkOfTheirCells) {
    for (const TableRow& table : kTables) {
        SCOPED_TRACE(table.name);
        TForm* form = table.create();
        // The four-channel look: what the show handler arranges for a four-camera recorder.
        form->SetClientHeight(321);
        for (int k = 0; k < table.cells; ++k)
            table.cell(1, k)->Show();
        form_testing::FindControlByName(form, "Label2")->Show();
        for (const char* name : {"btnOk2", "btnBack2"})
            form_testing::FindControlByName(form, name)->Hide();
        // Cell k of channel c shows frame (k + c) mod 6: every state, selected or not, in every row.
        for (int channel = 0; channel < 4; ++channel)
            for (int k = 0; k < table.cells; ++k)
                table.cell(channel, k)->SetCurrentFrame((k + channel) % 6);
        // The texts the calendar, the table itself and the backup dialog write at their widest.
        auto* date = static_cast<TLabel*>(form_testing::FindControlByName(form, "lbDateTime"));
        date->SetCaption("2007/10/01  17:05:00");
        auto* startCaption = static_cast<TLabel*>(form_testing::FindControlByName(form, "lbSTime"));
        auto* start = static_cast<TLabel*>(form_testing::FindControlByName(form, "lbStartTime"));
        auto* endCaption = static_cast<TLabel*>(form_testing::FindControlByName(form, "lbETime"));
        auto* end = static_cast<TLabel*>(form_testing::FindControlByName(form, "lbEndTime"));
        start->SetCaption("2007/10/01  17:05:00");
        end->SetCaption("2007/10/01  17:06:00");
        for (TLabel* label : {startCaption, start, endCaption, end})
            label->Show();
        EXPECT_LE(date->Left() + date->Width(), form->ClientWidth() - 8);
        EXPECT_LT(startCaption->Left() + startCaption->Width(), start->Left());
        EXPECT_LT(endCaption->Left() + endCaption->Width(), end->Left());
        EXPECT_LE(start->Left() + start->Width(), date->Left());
        form->Show();
        const form_testing::TSnapshot picture = Snapshot(form, std::string(table.name) + "Marks");
        for (int channel = 0; channel < 4; ++channel)
            for (int k = 0; k < 6; ++k) {
                const int frame = (k + channel) % 6;
                const int x = table.firstX + table.cellWidth * k + table.cellWidth / 2 - 1,
                          y = 123 + 40 * channel + 10;
                EXPECT_EQ(ClientPixel(picture, form, x, y),
                          SkinPixel(table.cellSkin, frame * table.cellWidth + table.cellWidth / 2 - 1, 10))
                    << "channel " << channel << " cell " << k;
            }
        // The heading strip's face is the window's own.
        EXPECT_EQ(ClientPixel(picture, form, 114 + 1, 59 + 1), ColorToRGB(clBtnFace));
    }
}

TEST_F(SearchWindowsTest, SearchAndLogListControls) {
    Application->CreateForm(frmSearch);
    ExpectControls(frmSearch, {
                                  {"btnAll", "TButton", 16, 16, 169, 33, true},
                                  {"btnEvent", "TButton", 16, 56, 169, 33, true},
                                  {"btnChannel", "TButton", 16, 96, 169, 33, true},
                                  {"btnCancel", "TButton", 16, 144, 169, 33, true},
                              });
    EXPECT_EQ(frmSearch->btnChannel->Caption(), "CH SEARCH");
    EXPECT_EQ(frmSearch->btnCancel->Caption(), "Prev");
    EXPECT_TRUE(frmSearch->AlphaBlend());
    EXPECT_EQ(frmSearch->AlphaBlendValue(), 255);

    Application->CreateForm(frmLoglist);
    ExpectControls(frmLoglist, {
                                   {"lbLogList", "TListBox", 16, 36, 449, 384, true},
                                   {"btnSaveAs", "TButton", 296, 432, 81, 25, true},
                                   {"btnExit", "TButton", 384, 432, 81, 25, true},
                               });
    EXPECT_EQ(frmLoglist->Label1->Caption(), "LOG LIST");
    EXPECT_EQ(frmLoglist->lbLogList->Count(), 0);
    EXPECT_FALSE(frmLoglist->TimerDialogPosition->Enabled());
    EXPECT_EQ(frmLoglist->TimerDialogPosition->Interval(), 1u);
}

TEST_F(SearchWindowsTest, ATableWithoutOneOfItsCellsIsRefused) {
    // A copy of the resources whose hour table lacks one cell.
    testing_support::TempDir dir;
    const std::string real = FormResourceRoot();
    std::filesystem::create_directories(dir.Path() / "forms");
    std::filesystem::create_directory_symlink(real + "/skins", dir.Path() / "skins");
    const std::string text = testing_support::ReadFileBytes(real + "/forms/HourTable.dfm");
    const std::string cell = "  object ifm3_7: TImgFrame\n";
    const std::size_t begin = text.find(cell);
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = text.find("  end\n", begin) + 6;
    testing_support::WriteFileBytes(dir.File("forms/HourTable.dfm"),
                                    text.substr(0, begin) + text.substr(end));
    SetFormResourceRoot(dir.Path().string());
    try {
        Application->CreateForm(frmHourTable);
        FAIL() << "the table was built without ifm3_7";
    } catch (const EComponentError& e) {
        EXPECT_NE(std::string(e.what()).find("ifm3_7"), std::string::npos) << e.what();
    }
}

// ---- Behaviour of the windows on their own ----

struct MonthLayout {
    int year, month;
    int firstCell, days;
};

TEST_F(SearchWindowsTest, CalendarLaysOutMonths) {
    Application->CreateForm(frmCalendar);
    const MonthLayout cases[] = {
        {2007, 10, 2, 31}, // 1 October 2007 is a Monday
        {2008, 3, 7, 31},  // a Saturday: day 31 in cell 37
        {2008, 2, 6, 29},  {2100, 2, 2, 28}, {2000, 2, 3, 29}, {2007, 4, 1, 30}, {2007, 12, 7, 31},
    };
    for (const MonthLayout& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(TfrmCalendar::DaysInMonth(c.year, c.month), c.days);
        EXPECT_EQ(TfrmCalendar::FirstWeekday(c.year, c.month), c.firstCell);
        frmCalendar->SetMonth(c.year, c.month);
        for (int cell = 1; cell <= TfrmCalendar::DayCells; ++cell) {
            const int day = cell - c.firstCell + 1;
            const bool used = day >= 1 && day <= c.days;
            EXPECT_EQ(frmCalendar->DayBox(cell)->Enabled(), used) << cell;
            EXPECT_EQ(frmCalendar->DayText(cell), used ? (day < 10 ? " " : "") + std::to_string(day) : "")
                << cell;
        }
    }
    EXPECT_EQ(TfrmCalendar::FirstWeekday(2008, 0), 8);
    EXPECT_EQ(TfrmCalendar::FirstWeekday(2008, 13), 8);
}

// Every month from 2000 to 2037 under its weekday, in zones whose clocks jump at midnight or keep a
// negative summer time; the weekdays come from the standard library's calendar.
TEST_F(SearchWindowsTest, CalendarMonthsInEveryZone) {
    namespace chrono = std::chrono;
    Application->CreateForm(frmCalendar);
    for (const char* zone :
         {"UTC", "Europe/Dublin", "Africa/Casablanca", "Pacific/Apia", "America/Sao_Paulo"}) {
        SCOPED_TRACE(zone);
        testing_support::ScopedEnv tz("TZ", zone);
        ::tzset();
        // The zone's rules must be there, or the table would test UTC five times.
        std::time_t july = 1215000000; // 2008-07-02
        std::tm local{};
        ::localtime_r(&july, &local);
        ASSERT_EQ(local.tm_gmtoff != 0, std::string(zone) != "UTC") << "no time-zone data for " << zone;
        for (int year = 2000; year <= 2037; ++year)
            for (int month = 1; month <= 12; ++month) {
                const chrono::year_month ym{chrono::year{year}, chrono::month{static_cast<unsigned>(month)}};
                const int first =
                    static_cast<int>(chrono::weekday{chrono::sys_days{ym / 1}}.c_encoding()) + 1;
                const int days = static_cast<int>(static_cast<unsigned>((ym / chrono::last).day()));
                frmCalendar->SetMonth(year, month);
                const std::string at = std::to_string(year) + "-" + std::to_string(month);
                ASSERT_EQ(TfrmCalendar::FirstWeekday(year, month), first) << at;
                EXPECT_EQ(frmCalendar->DayText(first), " 1") << at;
                if (first > 1) {
                    EXPECT_FALSE(frmCalendar->DayBox(first - 1)->Enabled()) << at;
                }
                EXPECT_EQ(frmCalendar->DayText(first + days - 1), std::to_string(days)) << at;
                if (first + days <= TfrmCalendar::DayCells) {
                    EXPECT_EQ(frmCalendar->DayText(first + days), "") << at;
                }
            }
    }
    ::tzset();
}

TEST_F(SearchWindowsTest, CalendarDayMarks) {
    Application->CreateForm(frmCalendar);
    frmCalendar->SetMonth(2007, 10);
    const TColor red = static_cast<TColor>(0x000000FF);
    const TColor yellow = static_cast<TColor>(0x0000FFFF);
    frmCalendar->SetDayMark(dmsRecording, 1);
    frmCalendar->SetDayMark(dmsEvent, 31);
    frmCalendar->SetDayMark(dmsEvent, 5);
    frmCalendar->SetDayMark(dmsRecording, 5); // the last mark counts
    frmCalendar->SetDayMark(dmsEvent, 32);    // no such day
    frmCalendar->SetDayMark(dmsEvent, 0);
    frmCalendar->SetDayMark(static_cast<DayMarkState>(7), 9);
    EXPECT_EQ(frmCalendar->CellColor(2), red);
    EXPECT_EQ(frmCalendar->CellColor(32), yellow);
    EXPECT_EQ(frmCalendar->CellColor(6), red);
    EXPECT_EQ(frmCalendar->CellColor(10), clBlack);
    EXPECT_EQ(frmCalendar->CellColor(33), clBlack);
    EXPECT_EQ(frmCalendar->DayText(33), "");
    EXPECT_EQ(frmCalendar->CellColor(1), clBlack);

    // Only a marked day is selected; an unmarked one leaves the selection where it was.
    frmCalendar->DayCellClick(32);
    EXPECT_EQ(frmCalendar->SelectedCell(), 32);
    EXPECT_TRUE(frmCalendar->SelectionImage(32)->Visible());
    frmCalendar->DayCellClick(10);
    frmCalendar->DayCellClick(33);
    EXPECT_EQ(frmCalendar->SelectedCell(), 32);
    frmCalendar->DayCellClick(2);
    EXPECT_EQ(frmCalendar->SelectedCell(), 2);
    EXPECT_FALSE(frmCalendar->SelectionImage(32)->Visible());
    EXPECT_TRUE(frmCalendar->SelectionImage(2)->Visible());

    frmCalendar->ClearDayMarks();
    EXPECT_EQ(frmCalendar->SelectedCell(), 0);
    EXPECT_FALSE(frmCalendar->SelectionImage(2)->Visible());
    for (int cell = 1; cell <= TfrmCalendar::DayCells; ++cell)
        EXPECT_EQ(frmCalendar->CellColor(cell), clBlack) << cell;
    frmCalendar->Show();
    frmCalendar->SetDayMark(dmsEvent, 12);
    frmCalendar->SetDayMark(dmsRecording, 13);
    const form_testing::TSnapshot picture = Snapshot(frmCalendar, "Calendar_marked");
    // The yellow of an event day stands out from the face by a dark rim; the red needs none.
    const auto count = [&](int cell, auto test) {
        const TControl* box = frmCalendar->DayBox(cell);
        const TPoint origin = box->ClientToScreen(Point(0, 0));
        const TPoint form = frmCalendar->ClientToScreen(Point(0, 0));
        int n = 0;
        for (int y = 0; y < box->Height(); ++y)
            for (int x = 0; x < box->Width(); ++x) {
                const TColor c =
                    ClientPixel(picture, frmCalendar, origin.X - form.X + x, origin.Y - form.Y + y);
                n += test(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) ? 1 : 0;
            }
        return n;
    };
    const auto yellowInk = [](int r, int g, int b) { return r > 0xE0 && g > 0xE0 && b < 0x40; };
    const auto redInk = [](int r, int g, int b) { return r > 0xE0 && g < 0x40 && b < 0x40; };
    const auto dark = [](int r, int g, int b) { return r < 0x70 && g < 0x70 && b < 0x70; };
    EXPECT_GT(count(13, yellowInk), 20);
    EXPECT_GT(count(13, dark), 20);
    EXPECT_GT(count(14, redInk), 20);
    EXPECT_EQ(count(14, dark), 0);
}

TEST_F(SearchWindowsTest, CalendarInHolidayModeTogglesDaysAndKeepsToOneYear) {
    Application->CreateForm(frmCalendar);
    frmCalendar->SetHolidayMode(1);
    frmCalendar->SetMonth(2007, 2);
    frmCalendar->Show();
    ASSERT_EQ(frmCalendar->HolidayMonth(), 2);
    const int cell = TfrmCalendar::FirstWeekday(2007, 2) + 13; // 14 February
    frmCalendar->DayCellClick(cell);
    EXPECT_EQ(frmCalendar->CellColor(cell), static_cast<TColor>(0x000000FF));
    EXPECT_EQ(frmCalendar->SelectedCell(), 0);
    frmCalendar->DayCellClick(cell);
    EXPECT_EQ(frmCalendar->CellColor(cell), clBlack);
    EXPECT_FALSE(frmCalendar->btnBackup->Visible());
    for (int k = 0; k < 3; ++k)
        frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    EXPECT_EQ(frmCalendar->HolidayMonth(), 1);
    for (int k = 0; k < 14; ++k)
        frmCalendar->IMFNextClick(frmCalendar->IMFNext);
    EXPECT_EQ(frmCalendar->HolidayMonth(), 12);
    // OK does nothing in holiday mode.
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    EXPECT_TRUE(frmCalendar->Visible());
}

TEST_F(SearchWindowsTest, HourTableSelectsMarkedHoursOnly) {
    Application->CreateForm(frmCalendar);
    Application->CreateForm(frmHourTable);
    frmHourTable->SetCellState(1, 0, 9);
    frmHourTable->SetCellState(2, 0, 13);
    frmHourTable->SetCellState(2, 3, 23);
    frmHourTable->SetCellState(1, 4, 0); // no such channel
    frmHourTable->SetCellState(1, 0, 24);
    EXPECT_EQ(frmHourTable->Cell(0, 9)->CurrentFrame(), 1);
    EXPECT_EQ(frmHourTable->Cell(3, 23)->CurrentFrame(), 2);
    frmHourTable->SetCellState(0, 3, 23); // a plain assignment
    EXPECT_EQ(frmHourTable->Cell(3, 23)->CurrentFrame(), 0);

    frmHourTable->HourCellClick(0, 5);
    EXPECT_EQ(frmHourTable->SelectedHour(), 24);
    frmHourTable->HourCellClick(0, 9);
    EXPECT_EQ(frmHourTable->SelectedHour(), 9);
    EXPECT_EQ(frmHourTable->Cell(0, 9)->CurrentFrame(), 4);
    frmHourTable->HourCellClick(0, 13);
    EXPECT_EQ(frmHourTable->Cell(0, 9)->CurrentFrame(), 1);
    EXPECT_EQ(frmHourTable->Cell(0, 13)->CurrentFrame(), 5);
    // Clicking the selected hour again keeps it drawn as selected.
    frmHourTable->HourCellClick(0, 13);
    EXPECT_EQ(frmHourTable->Cell(0, 13)->CurrentFrame(), 5);
    frmHourTable->ClearCells();
    EXPECT_EQ(frmHourTable->SelectedHour(), 24);
    for (int channel = 0; channel < TfrmHourTable::Channels; ++channel)
        for (int hour = 0; hour < TfrmHourTable::Hours; ++hour)
            EXPECT_EQ(frmHourTable->Cell(channel, hour)->CurrentFrame(), 0);
}

TEST_F(SearchWindowsTest, MinuteCellsOnlyRise) {
    Application->CreateForm(frmMinTable);
    struct Rise {
        int current, state, expected;
    };
    const Rise cases[] = {{2, 1, 2}, {1, 2, 2}, {0, 0, 0}, {4, 2, 4}, {4, 5, 5}, {0, 1, 1}};
    for (const Rise& c : cases) {
        frmMinTable->Cell(0, 5)->SetCurrentFrame(c.current);
        frmMinTable->SetCellState(c.state, 0, 5);
        EXPECT_EQ(frmMinTable->Cell(0, 5)->CurrentFrame(), c.expected) << c.current << " " << c.state;
    }
    frmMinTable->SetCellState(1, 0, 60);
    frmMinTable->SetCellState(1, -1, 0);
    frmMinTable->ClearCells();
    EXPECT_EQ(frmMinTable->Cell(0, 5)->CurrentFrame(), 0);
    // Play needs a chosen minute: OK without one sends nothing and keeps the window.
    frmMinTable->Show();
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    EXPECT_TRUE(frmMinTable->Visible());
}

TEST_F(SearchWindowsTest, SearchOptionsKeepTheChoice) {
    Application->CreateForm(frmSearch);
    EXPECT_EQ(frmSearch->GetSearchMode(), 0);
    EXPECT_EQ(frmSearch->GetSearchChannel(), -1);
    frmSearch->Show();
    frmSearch->btnChannelClick(frmSearch->btnChannel);
    EXPECT_EQ(frmSearch->GetSearchMode(), 2);
    EXPECT_EQ(frmSearch->GetSearchChannel(), 1);
    EXPECT_FALSE(frmSearch->Visible());
    frmSearch->btnAllClick(frmSearch->btnAll);
    EXPECT_EQ(frmSearch->GetSearchMode(), 1);
    EXPECT_EQ(frmSearch->GetSearchChannel(), -1);
    frmSearch->btnEventClick(frmSearch->btnEvent);
    EXPECT_EQ(frmSearch->GetSearchMode(), 2);
    EXPECT_EQ(frmSearch->GetSearchChannel(), -1);
    // A close request only hides: others read the choice until the program ends.
    TCloseAction action = caFree;
    frmSearch->FormClose(frmSearch, action);
    EXPECT_EQ(action, caHide);
}

TEST_F(SearchWindowsTest, KeyTextsAndDatabases) {
    const std::pair<const char*, const char*> keys[] = {
        {"20071001", "2007/10/01  00:00:00"},
        {"2007100117", "2007/10/01  17:00:00"},
        {"200710011705", "2007/10/01  17:05:00"},
        {"2007100", ""},
        {"", ""},
    };
    for (const auto& [key, text] : keys)
        EXPECT_EQ(KeyDateText(key), text) << key;

    const std::pair<const char*, const char*> next[] = {
        {"20071231", "20080101"},
        {"20070228", "20070301"},
        {"20080228", "20080229"},
        {"2007022823", "2007030100"},
        {"2007123123", "2008010100"},
        {"2007100117", "2007100118"},
        {"200712312359", "200801010000"},
        {"200710011759", "200710011800"},
        {"200710011705", "200710011706"},
        {"20071332", ""},
        {"2007", ""},
    };
    for (const auto& [key, text] : next)
        EXPECT_EQ(NextKey(key), text) << key;

    testing_support::TempDir disk;
    testing_support::WriteFileBytes(disk.File("pyrdb"), "x");
    const std::string root = disk.Str() + "/";
    EXPECT_EQ(SearchDbPath(1, "/prog/", 1, root), "/prog/qeldbfile_hdd.db");
    EXPECT_EQ(SearchDbPath(0, "/prog/", 1, root), root + "pyrdb");
    EXPECT_EQ(SearchDbPath(0, "/prog/", 0, root), "");
    EXPECT_EQ(SearchDbPath(0, "/prog/", 1, "/nowhere/"), "");
    // No database: the first query says so.
    sqlite_db db;
    OpenSearchDb(db, "");
    OpenSearchDb(db, "/nowhere/qeldbfile_hdd.db");
    EXPECT_FALSE(db.is_open());
    EXPECT_THROW(db.query("SELECT 1"), sqlite_exception);
}

} // namespace
