// The minute table: the last step of the search drill-down, one row of 60 minute cells per camera
// channel for the hour chosen in the hour table.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <array>

class TfrmMinTable : public TForm {
public:
    static constexpr int Channels = 4;
    static constexpr int Minutes = 60;

    explicit TfrmMinTable(TComponent* owner);

    TImgFrame* ifmMin = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* lbDateTime = nullptr;
    TLabel* lbSTime = nullptr;
    TLabel* lbStartTime = nullptr;
    TLabel* lbETime = nullptr;
    TLabel* lbEndTime = nullptr;
    TButton* btnBackup2 = nullptr;
    TButton* btnOk2 = nullptr;
    TButton* btnBack2 = nullptr;
    TButton* btnBackup = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnBack = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* SetStartTime = nullptr;
    TMenuItem* SetEndTime = nullptr;

    // ifm<channel + 1>_<minute + 1>: channel 0 to 3, minute 0 to 59.
    TImgFrame* Cell(int channel, int minute) const {
        return cells_.at(static_cast<std::size_t>(channel * Minutes + minute));
    }

private:
    static const TFormBindings& Bindings();

    std::array<TImgFrame*, Channels * Minutes> cells_{};
};

extern TfrmMinTable* frmMinTable;
