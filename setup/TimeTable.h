// The weekly time table: a record mode for every hour of the week and of holidays, loaded from
// schedule.dat on every showing and saved by Prev.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

class TfrmTimeTable : public TForm {
public:
    explicit TfrmTimeTable(TComponent* owner);

    TStringGrid* StringGrid = nullptr;
    TLabel* lbHour0 = nullptr;
    TLabel* lbHour3 = nullptr;
    TLabel* lbHour6 = nullptr;
    TLabel* lbHour9 = nullptr;
    TLabel* lbHour12 = nullptr;
    TLabel* lbHour15 = nullptr;
    TLabel* lbHour18 = nullptr;
    TLabel* lbHour21 = nullptr;
    TLabel* lbMon = nullptr;
    TButton* btnMon = nullptr;
    TLabel* lbTue = nullptr;
    TButton* btnTue = nullptr;
    TLabel* lbWed = nullptr;
    TButton* btnWed = nullptr;
    TLabel* lbThu = nullptr;
    TButton* btnThu = nullptr;
    TLabel* lbFri = nullptr;
    TButton* btnFri = nullptr;
    TLabel* lbSat = nullptr;
    TButton* btnSat = nullptr;
    TLabel* lbSun = nullptr;
    TButton* BbtSun = nullptr;
    TLabel* lbHol = nullptr;
    TButton* btnHol = nullptr;
    TButton* Button0 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button6 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button8 = nullptr;
    TButton* Button9 = nullptr;
    TButton* Button10 = nullptr;
    TButton* Button11 = nullptr;
    TButton* Button12 = nullptr;
    TButton* Button13 = nullptr;
    TButton* Button14 = nullptr;
    TButton* Button15 = nullptr;
    TButton* Button16 = nullptr;
    TButton* Button17 = nullptr;
    TButton* Button18 = nullptr;
    TButton* Button19 = nullptr;
    TButton* Button20 = nullptr;
    TButton* Button21 = nullptr;
    TButton* Button22 = nullptr;
    TButton* Button23 = nullptr;
    TButton* btnPrev = nullptr;

    // schedule.dat was of a size the editor does not know: it is shown as fresh and never saved over.
    bool ScheduleRefused = false;

    void FormShow(TObject* sender);
    void btnPrevClick(TObject* sender);
    // btnMon .. btnHol: the row's modes step together from its first cell.
    void RowButtonClick(TObject* sender);
    // Button0 .. Button23: the same down a column from Monday's cell.
    void HourButtonClick(TObject* sender);
    void StringGridMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void StringGridMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void LoadGrid();
    void StepRow(int row);
    void StepColumn(int hour);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmTimeTable> frmTimeTable;
