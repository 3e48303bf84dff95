// The hour table: the second step of the search drill-down, one row of 24 hour cells per camera
// channel for the day chosen in the calendar.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "recdb/QelDbTypes.h"

#include <array>
#include <string>

class TfrmHourTable : public TForm {
public:
    static constexpr int Channels = 4;
    static constexpr int Hours = 24;

    explicit TfrmHourTable(TComponent* owner);

    TImgFrame* ifmHour = nullptr;
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

    // ifm<channel + 1>_<hour + 1>: channel 0 to 3, hour 0 to 23.
    TImgFrame* Cell(int channel, int hour) const {
        return cells_.at(static_cast<std::size_t>(channel * Hours + hour));
    }

    // A plain assignment of the cell's frame (0..2 a DayMarkState, +3 drawn as selected).
    void SetCellState(int state, int channel, int hour);
    void ClearCells();
    std::string GetSelectedHour() const { return selectedHourKey_; }
    int SelectedHour() const { return selectedHour_; }
    void HideHourTable() { Hide(); }

    void FormShow(TObject* sender);
    void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ifmHourMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void btnOk2Click(TObject* sender);
    void btnBackClick(TObject* sender);
    void btnBackup2Click(TObject* sender);
    void SetStartTimeClick(TObject* sender);
    void SetEndTimeClick(TObject* sender);
    // One handler per cell, all alike.
    void HourCellClick(int channel, int hour);
    void ShowHourMinutes(const std::string& hourKey);

private:
    static const TFormBindings& Bindings();
    void MarkColumn(int hour, int delta);
    void PopupBackupMenu();
    std::string BackupKey() const;

    std::array<TImgFrame*, Channels * Hours> cells_{};
    int selectedHour_ = Hours; // none
    std::string selectedHourKey_;
    bool rightButton_ = false;
    int backupHour_ = 0;
    int searchSource_ = 0;
    int localDbMode_ = 0;
    std::string dbRoot_;
    std::string avRoot_;
};

extern TFormVar<TfrmHourTable> frmHourTable;
