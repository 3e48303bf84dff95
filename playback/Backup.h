// The backup window: a span of the recorder's recordings, ALL or EVENT, saved into a folder on this
// computer.
//
// The search windows drive it: SetStartTime and SetEndTime with the marked span, SetReturnForm with
// themselves (1 calendar, 2 hour table, 3 minute table), then RequestBackupSize with the type; the
// recorder's answer comes back through SetBackupSize, which shows the window.
#pragma once

#include "platform/core/Types.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TfrmBackup : public TForm {
public:
    explicit TfrmBackup(TComponent* owner);

    TLabel* lbSTime = nullptr;
    TLabel* lbStartTime = nullptr;
    TLabel* lbETime = nullptr;
    TLabel* lbEndTime = nullptr;
    TLabel* lbType = nullptr;
    TLabel* lbBackupLocation = nullptr;
    TLabel* lbBackup = nullptr;
    TLabel* lbSize = nullptr;
    TLabel* lbFree = nullptr;
    TLabel* lbFreeSize = nullptr;
    TComboBox* cmbType = nullptr;
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnBackupStart = nullptr;
    TButton* btnCancel = nullptr;
    TListBox* lbPath = nullptr;
    TTimer* TimerSD = nullptr;

    // yyyymmdd, yyyymmddhh or yyyymmddhhmi; a missing hour or minute counts as 00. False (nothing
    // changed) for any other text.
    bool SetStartTime(const std::string& text);
    bool SetEndTime(const std::string& text);
    DWORD GetStartTime() const { return startTime_; }
    DWORD GetEndTime() const { return endTime_; }
    void ClearSelection();
    void SetReturnForm(int form) { returnForm_ = form; }
    int GetReturnForm() const { return returnForm_; }
    // Asks the recorder how much the span holds: 0 all recordings, 1 events only.
    void RequestBackupSize(int type);
    // The recorder's answer, in kilobytes.
    void SetBackupSize(DWORD kilobytes);
    DWORD GetBackupSize() const { return backupSize_; }
    // A size request waits for its answer; one that comes after the wait ended shows nothing.
    bool AwaitsSize() const;
    int GetBackupType() const { return backupType_; }
    // The destination folder, no separator at its end.
    std::string GetBackupPath() const { return backupPath_; }
    void CloseBrowseDialog();

    void FormShow(TObject* sender);
    void cmbTypeChange(TObject* sender);
    void btnBrowseClick(TObject* sender);
    void TimerSDTimer(TObject* sender);
    void btnCancelClick(TObject* sender);
    void btnBackupStartClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    void ShowFreeSpace();
    void SetPath(const std::string& folder);
    bool StartBackup();
    int Box(const std::string& text, int captionId);

    DWORD startTime_ = 0;
    DWORD endTime_ = 0;
    std::string startText_;
    std::string endText_;
    int backupType_ = 0;
    std::string backupPath_;
    int returnForm_ = 0;
    DWORD backupSize_ = 0; // kilobytes
    bool awaitingSize_ = false;
    int sizeTab_ = 0;           // the main window's tab the request was sent from
    std::int64_t freeSize_ = 0; // kilobytes
    HWND browseWindow_ = nullptr;
};

extern TFormVar<TfrmBackup> frmBackup;
