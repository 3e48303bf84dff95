#include "setup/TimeTable.h"

#include "setup/PageSupport.h"
#include "setup/Schedule.h"
#include "setup/ScheduleFile.h"

#include "platform/core/Debug.h"

#include <array>

using namespace setup_pages;

TFormVar<TfrmTimeTable> frmTimeTable;

TfrmTimeTable::TfrmTimeTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("TimeTable", Bindings());
}

const TFormBindings& TfrmTimeTable::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("StringGrid", &TfrmTimeTable::StringGrid)
            .AddField("lbHour0", &TfrmTimeTable::lbHour0)
            .AddField("lbHour3", &TfrmTimeTable::lbHour3)
            .AddField("lbHour6", &TfrmTimeTable::lbHour6)
            .AddField("lbHour9", &TfrmTimeTable::lbHour9)
            .AddField("lbHour12", &TfrmTimeTable::lbHour12)
            .AddField("lbHour15", &TfrmTimeTable::lbHour15)
            .AddField("lbHour18", &TfrmTimeTable::lbHour18)
            .AddField("lbHour21", &TfrmTimeTable::lbHour21)
            .AddField("lbMon", &TfrmTimeTable::lbMon)
            .AddField("btnMon", &TfrmTimeTable::btnMon)
            .AddField("lbTue", &TfrmTimeTable::lbTue)
            .AddField("btnTue", &TfrmTimeTable::btnTue)
            .AddField("lbWed", &TfrmTimeTable::lbWed)
            .AddField("btnWed", &TfrmTimeTable::btnWed)
            .AddField("lbThu", &TfrmTimeTable::lbThu)
            .AddField("btnThu", &TfrmTimeTable::btnThu)
            .AddField("lbFri", &TfrmTimeTable::lbFri)
            .AddField("btnFri", &TfrmTimeTable::btnFri)
            .AddField("lbSat", &TfrmTimeTable::lbSat)
            .AddField("btnSat", &TfrmTimeTable::btnSat)
            .AddField("lbSun", &TfrmTimeTable::lbSun)
            .AddField("BbtSun", &TfrmTimeTable::BbtSun)
            .AddField("lbHol", &TfrmTimeTable::lbHol)
            .AddField("btnHol", &TfrmTimeTable::btnHol)
            .AddField("Button0", &TfrmTimeTable::Button0)
            .AddField("Button1", &TfrmTimeTable::Button1)
            .AddField("Button2", &TfrmTimeTable::Button2)
            .AddField("Button3", &TfrmTimeTable::Button3)
            .AddField("Button4", &TfrmTimeTable::Button4)
            .AddField("Button5", &TfrmTimeTable::Button5)
            .AddField("Button6", &TfrmTimeTable::Button6)
            .AddField("Button7", &TfrmTimeTable::Button7)
            .AddField("Button8", &TfrmTimeTable::Button8)
            .AddField("Button9", &TfrmTimeTable::Button9)
            .AddField("Button10", &TfrmTimeTable::Button10)
            .AddField("Button11", &TfrmTimeTable::Button11)
            .AddField("Button12", &TfrmTimeTable::Button12)
            .AddField("Button13", &TfrmTimeTable::Button13)
            .AddField("Button14", &TfrmTimeTable::Button14)
            .AddField("Button15", &TfrmTimeTable::Button15)
            .AddField("Button16", &TfrmTimeTable::Button16)
            .AddField("Button17", &TfrmTimeTable::Button17)
            .AddField("Button18", &TfrmTimeTable::Button18)
            .AddField("Button19", &TfrmTimeTable::Button19)
            .AddField("Button20", &TfrmTimeTable::Button20)
            .AddField("Button21", &TfrmTimeTable::Button21)
            .AddField("Button22", &TfrmTimeTable::Button22)
            .AddField("Button23", &TfrmTimeTable::Button23)
            .AddField("btnPrev", &TfrmTimeTable::btnPrev)
            .AddMethod("FormShow", &TfrmTimeTable::FormShow)
            .AddMethod("btnPrevClick", &TfrmTimeTable::btnPrevClick)
            .AddMethod("RowButtonClick", &TfrmTimeTable::RowButtonClick)
            .AddMethod("HourButtonClick", &TfrmTimeTable::HourButtonClick)
            .AddMethod("StringGridMouseMove", &TfrmTimeTable::StringGridMouseMove)
            .AddMethod("StringGridMouseDown", &TfrmTimeTable::StringGridMouseDown);
    return bindings;
}

// ---- Showing and leaving ----

void TfrmTimeTable::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59889);
    const std::array<std::pair<TLabel*, int>, kScheduleRows> rows{{{lbMon, 59960},
                                                                   {lbTue, 59959},
                                                                   {lbWed, 59958},
                                                                   {lbThu, 59957},
                                                                   {lbFri, 59956},
                                                                   {lbSat, 59955},
                                                                   {lbSun, 59961},
                                                                   {lbHol, 59954}}};
    for (const auto& [label, id] : rows)
        SetLangCaption(label, id);
    SetLangCaption(btnPrev, 59978);
    btnPrev->Font()->SetName(Font()->Name());
    LoadGrid();
}

void TfrmTimeTable::LoadGrid() {
    ScheduleModes modes{};
    std::string error;
    const ScheduleLoad load = LoadScheduleFile(SetupFolder() + "schedule.dat", modes, error);
    for (int r = 0; r < kScheduleRows; ++r)
        for (int h = 0; h < kScheduleHours; ++h)
            StringGrid->SetCells(h, r, ModeText(modes[r][h]));
    ScheduleRefused = load == ScheduleLoad::Refused;
    if (ScheduleRefused) {
        DebugTrace("TfrmTimeTable::LoadGrid", error);
        SetupBoxOver(this, LangText(60118), LangText(59889), 0);
    }
}

void TfrmTimeTable::btnPrevClick(TObject*) {
    if (frmSchedule != nullptr) {
        frmSchedule->SaveScheduleDat();
        frmSchedule->SetEnabled(true);
        frmSchedule->Show();
    }
    Close();
}

// ---- Steps ----

void TfrmTimeTable::StepRow(int row) {
    if (row < 0 || row >= kScheduleRows) return;
    const std::string mode = ModeText(StepModeUp(ModeFromText(StringGrid->Cells(0, row))));
    for (int h = 0; h < kScheduleHours; ++h)
        StringGrid->SetCells(h, row, mode);
}

void TfrmTimeTable::StepColumn(int hour) {
    if (hour < 0 || hour >= kScheduleHours) return;
    const std::string mode = ModeText(StepModeUp(ModeFromText(StringGrid->Cells(hour, 0))));
    for (int r = 0; r < kScheduleRows; ++r)
        StringGrid->SetCells(hour, r, mode);
}

void TfrmTimeTable::RowButtonClick(TObject* sender) {
    const std::array<TButton*, kScheduleRows> rows{btnMon, btnTue, btnWed, btnThu,
                                                   btnFri, btnSat, BbtSun, btnHol};
    for (int r = 0; r < kScheduleRows; ++r)
        if (rows[static_cast<std::size_t>(r)] == sender) StepRow(r);
}

void TfrmTimeTable::HourButtonClick(TObject* sender) {
    const std::array<TButton*, kScheduleHours> hours{
        Button0,  Button1,  Button2,  Button3,  Button4,  Button5,  Button6,  Button7,
        Button8,  Button9,  Button10, Button11, Button12, Button13, Button14, Button15,
        Button16, Button17, Button18, Button19, Button20, Button21, Button22, Button23};
    for (int h = 0; h < kScheduleHours; ++h)
        if (hours[static_cast<std::size_t>(h)] == sender) StepColumn(h);
}

void TfrmTimeTable::StringGridMouseMove(TObject*, TShiftState, int x, int y) {
    int col = -1;
    int row = -1;
    StringGrid->MouseToCell(x, y, col, row);
    if (col < 0 || row < 0) return;
    StringGrid->SetCol(col);
    StringGrid->SetRow(row);
}

void TfrmTimeTable::StringGridMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    const int col = StringGrid->Col();
    const int row = StringGrid->Row();
    if (col < 0 || col >= kScheduleHours || row < 0 || row >= kScheduleRows) return;
    const int mode = ModeFromText(StringGrid->Cells(col, row));
    if (button == mbLeft)
        StringGrid->SetCells(col, row, ModeText(StepModeDown(mode)));
    else if (button == mbRight)
        StringGrid->SetCells(col, row, ModeText(StepModeUp(mode)));
}
