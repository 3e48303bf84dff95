// The minute table: the last step of the search drill-down, one row of 60 minute cells per camera
// channel for the hour chosen in the hour table.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "recdb/QelDbTypes.h"

#include <array>
#include <cstdint>
#include <string>

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

    // Raises the cell's frame to `state`; never lowers it.
    void SetCellState(int state, int channel, int minute);
    void ClearCells();
    void ResetSelectedMinute() { selectedMinuteKey_.clear(); }
    std::string GetSelectedMinute() const { return selectedMinuteKey_; }
    int SelectedMinute() const { return selectedMinute_; }
    std::int64_t PlayStart() const { return playStart_; }
    std::int64_t PlaySeq() const { return playSeq_; }

    void FormShow(TObject* sender);
    void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ifmMinMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void btnOk2Click(TObject* sender);
    void btnBackClick(TObject* sender);
    void btnBackup2Click(TObject* sender);
    void SetStartTimeClick(TObject* sender);
    void SetEndTimeClick(TObject* sender);
    // One handler per cell, all alike.
    void MinuteCellClick(int channel, int minute);
    // False when nothing could be played (the user has been told why).
    bool PlayFromMinute(const std::string& minuteKey);

private:
    static const TFormBindings& Bindings();
    void MarkColumn(int minute, int delta);
    void PopupBackupMenu();
    // A recorder disk on this computer: the file of the minute played from the minute on.
    void PlayLocally(const std::string& fileName, DWORD minuteTime);
    std::string BackupKey() const;

    std::array<TImgFrame*, Channels * Minutes> cells_{};
    int selectedMinute_ = Minutes; // none
    std::string selectedMinuteKey_;
    bool rightButton_ = false;
    int backupMinute_ = 0;
    std::int64_t playStart_ = 0;
    std::int64_t playSeq_ = 0;
    int searchSource_ = 0;
    int localDbMode_ = 0;
    std::string dbRoot_;
    std::string avRoot_;
};

extern TFormVar<TfrmMinTable> frmMinTable;
