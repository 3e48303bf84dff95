// The calendar window: the first step of the search drill-down, one month of day cells marked by
// what the recorder holds on each day. The schedule editor borrows it to mark holidays.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <array>

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

private:
    static const TFormBindings& Bindings();

    std::array<TPaintBox*, DayCells + 1> dayBoxes_{};
    std::array<TImgFrame*, DayCells + 1> selectionImages_{};
};

extern TfrmCalendar* frmCalendar;
