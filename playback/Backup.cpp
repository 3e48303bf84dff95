#include "playback/Backup.h"

#include "client/LanguageDll.h"
#include "client/LinkWait.h"
#include "client/Placement.h"
#include "client/Wait.h"
#include "client/main.h"
#include "controls/BmGauge.h"
#include "formats/NetPacket.h"
#include "net/WSocket.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SearchWindowLayout.h"
#include "recdb/SqliteDb.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/WinUser.h"

#include <cstring>
#include <unistd.h>

TFormVar<TfrmBackup> frmBackup;

namespace {

struct TSpanEnd {
    DWORD time = 0;
    std::string label; // "2007/10/01  12:30:00"
};

// The digits of a span end as the search windows pass them.
bool ParseSpanEnd(const std::string& text, TSpanEnd& out) {
    if (text.size() != 8 && text.size() != 10 && text.size() != 12) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const std::string hh = text.size() >= 10 ? text.substr(8, 2) : "00";
    const std::string mi = text.size() >= 12 ? text.substr(10, 2) : "00";
    const int year = std::stoi(text.substr(0, 4)), month = std::stoi(text.substr(4, 2));
    const int day = std::stoi(text.substr(6, 2)), hour = std::stoi(hh), minute = std::stoi(mi);
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59)
        return false;
    const std::int64_t t = UtcToUnix(year, month, day, hour, minute, 0);
    if (t < 0 || t > 0xFFFFFFFFLL) return false;
    out.time = static_cast<DWORD>(t);
    out.label =
        text.substr(0, 4) + "/" + text.substr(4, 2) + "/" + text.substr(6, 2) + "  " + hh + ":" + mi + ":00";
    return true;
}

struct TGridLabels {
    TLabel* caption;
    TLabel* time;
};

// The start (or end) labels of the calendar, hour table and minute table that exist.
std::vector<TGridLabels> GridLabels(bool start) {
    std::vector<TGridLabels> out;
    if (frmCalendar != nullptr)
        out.push_back(start ? TGridLabels{frmCalendar->lbSTime, frmCalendar->lbStartTime}
                            : TGridLabels{frmCalendar->lbETime, frmCalendar->lbEndTime});
    if (frmHourTable != nullptr)
        out.push_back(start ? TGridLabels{frmHourTable->lbSTime, frmHourTable->lbStartTime}
                            : TGridLabels{frmHourTable->lbETime, frmHourTable->lbEndTime});
    if (frmMinTable != nullptr)
        out.push_back(start ? TGridLabels{frmMinTable->lbSTime, frmMinTable->lbStartTime}
                            : TGridLabels{frmMinTable->lbETime, frmMinTable->lbEndTime});
    return out;
}

void ShowSecondBackupButtons(bool show) {
    if (frmHourTable != nullptr) frmHourTable->btnBackup2->SetVisible(show);
    if (frmMinTable != nullptr) frmMinTable->btnBackup2->SetVisible(show);
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// Sizes shown as whole megabytes; anything at all shows as at least 1M.
DWORD ShownMegabytes(std::uint64_t kilobytes) {
    return static_cast<DWORD>((kilobytes + 1023) / 1024);
}

} // namespace

TfrmBackup::TfrmBackup(TComponent* owner) : TForm(owner) {
    LoadDefinition("Backup", Bindings());
    // The type starts as the search options window chose, when it has chosen.
    const int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 0;
    if (mode == 1 || mode == 2) cmbType->SetItemIndex(mode == 2 ? 1 : 0);
}

const TFormBindings& TfrmBackup::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("lbSTime", &TfrmBackup::lbSTime)
            .AddField("lbStartTime", &TfrmBackup::lbStartTime)
            .AddField("lbETime", &TfrmBackup::lbETime)
            .AddField("lbEndTime", &TfrmBackup::lbEndTime)
            .AddField("lbType", &TfrmBackup::lbType)
            .AddField("lbBackupLocation", &TfrmBackup::lbBackupLocation)
            .AddField("lbBackup", &TfrmBackup::lbBackup)
            .AddField("lbSize", &TfrmBackup::lbSize)
            .AddField("lbFree", &TfrmBackup::lbFree)
            .AddField("lbFreeSize", &TfrmBackup::lbFreeSize)
            .AddField("cmbType", &TfrmBackup::cmbType)
            .AddField("edtPath", &TfrmBackup::edtPath)
            .AddField("btnBrowse", &TfrmBackup::btnBrowse)
            .AddField("btnBackupStart", &TfrmBackup::btnBackupStart)
            .AddField("btnCancel", &TfrmBackup::btnCancel)
            .AddField("lbPath", &TfrmBackup::lbPath)
            .AddField("TimerSD", &TfrmBackup::TimerSD)
            .AddMethod("FormShow", &TfrmBackup::FormShow)
            .AddMethod("cmbTypeChange", &TfrmBackup::cmbTypeChange)
            .AddMethod("btnBrowseClick", &TfrmBackup::btnBrowseClick)
            .AddMethod("TimerSDTimer", &TfrmBackup::TimerSDTimer)
            .AddMethod("btnCancelClick", &TfrmBackup::btnCancelClick)
            .AddMethod("btnBackupStartClick", &TfrmBackup::btnBackupStartClick);
    return bindings;
}

bool TfrmBackup::SetStartTime(const std::string& text) {
    TSpanEnd end;
    if (!ParseSpanEnd(text, end)) return false;
    startText_ = text;
    startTime_ = end.time;
    lbStartTime->SetCaption(end.label);
    for (const TGridLabels& grid : GridLabels(true)) {
        grid.time->SetCaption(end.label);
        grid.time->SetVisible(true);
        grid.caption->SetVisible(true);
    }
    return true;
}

bool TfrmBackup::SetEndTime(const std::string& text) {
    TSpanEnd end;
    if (!ParseSpanEnd(text, end)) return false;
    endText_ = text;
    endTime_ = end.time;
    lbEndTime->SetCaption(end.label);
    for (const TGridLabels& grid : GridLabels(false)) {
        grid.time->SetCaption(end.label);
        grid.time->SetVisible(true);
        grid.caption->SetVisible(true);
    }
    if (TableCameraCount() != 1) ShowSecondBackupButtons(false);
    return true;
}

void TfrmBackup::ClearSelection() {
    startTime_ = endTime_ = 0;
    startText_.clear();
    endText_.clear();
    lbStartTime->SetCaption("");
    lbEndTime->SetCaption("");
    for (bool start : {true, false})
        for (const TGridLabels& grid : GridLabels(start)) {
            grid.caption->Hide();
            grid.time->Hide();
        }
    const bool remote = FrmMain != nullptr && FrmMain->GetSearchSource() == 1;
    if (frmCalendar != nullptr) frmCalendar->btnBackup->SetVisible(remote);
    if (frmHourTable != nullptr) frmHourTable->btnBackup->SetVisible(remote);
    if (frmMinTable != nullptr) frmMinTable->btnBackup->SetVisible(remote);
    ShowSecondBackupButtons(remote && TableCameraCount() == 1);
}

void TfrmBackup::RequestBackupSize(int type) {
    backupType_ = type == 1 ? 1 : 0;
    cmbType->SetItemIndex(backupType_);
    if (FrmMain == nullptr) return;
    // Without a link no answer would ever come to take the wait window down.
    if (FrmMain->CliSocket->State() != wsConnected) {
        Box(FrmMain->LoadLangString(59869), 51000);
        return;
    }
    if (FrmWait != nullptr) FrmWait->Show();
    SetEnabled(false);
    FrmMain->SendNetPacketCommand3(NETCMD_BACKUP_SIZE, {startTime_, endTime_, static_cast<DWORD>(type), 0});
    // The reply enables this window (SetBackupSize); a recorder that gives none must not leave it locked.
    sizeTab_ = FrmMain->CurrentMode;
    awaitingSize_ = true;
    const TWaitEnd end = PumpUntil(
        TActivity::Link, FrmMain->Activities,
        [this] { return Enabled() || !AwaitsSize() || FrmMain->CliSocket->State() != wsConnected; },
        kReplyLimitMs);
    const bool tabLeft = !AwaitsSize();
    awaitingSize_ = false;
    // Ended, or the tab left: a way out (a lost link, the recorder's busy status) has put the windows
    // back and told the user.
    if (end == TWaitEnd::Terminated || end == TWaitEnd::Ended || tabLeft || Enabled()) return;
    SetEnabled(true);
    // A lost link has put the windows back on its own way out.
    if (FrmMain->CliSocket->State() != wsConnected) return;
    // untranslated: the hidden debug list
    FrmMain->lbDebug->Items()->Add(Format("TIME OUT:%u", unsigned(NETCMD_BACKUP_SIZE)));
    SetBackupSize(0);
    Show();
}

bool TfrmBackup::AwaitsSize() const {
    return awaitingSize_ && FrmMain != nullptr && FrmMain->CurrentMode == sizeTab_;
}

void TfrmBackup::SetBackupSize(DWORD kilobytes) {
    backupSize_ = kilobytes;
    lbSize->SetCaption(Format("%uM", unsigned(ShownMegabytes(kilobytes))));
    SetEnabled(true);
    if (FrmWait != nullptr) FrmWait->Close();
}

void TfrmBackup::CloseBrowseDialog() {
    if (browseWindow_ == nullptr) return;
    PostMessage(browseWindow_, WM_CLOSE, 0, 0);
    browseWindow_ = nullptr;
}

void TfrmBackup::SetPath(const std::string& folder) {
    backupPath_ = WithoutTrailingSlash(folder);
    edtPath->SetText(backupPath_ + "/");
    lbPath->Items()->Clear();
    lbPath->Items()->Add(backupPath_);
}

void TfrmBackup::ShowFreeSpace() {
    const std::string folder = lbPath->Items()->Count() > 0 ? lbPath->Items()->Strings(0) : backupPath_;
    const std::int64_t bytes = DiskFree(folder);
    freeSize_ = bytes < 0 ? 0 : bytes / 1024;
    lbFreeSize->SetCaption(Format("%lldM", static_cast<long long>(freeSize_ / 1024)));
}

int TfrmBackup::Box(const std::string& text, int captionId) {
    if (FrmMain == nullptr) return -1;
    return FrmMain->ShowMessageBoxEx(text, FrmMain->LoadLangString(captionId), 0, Width(), Height(), Left(),
                                     Top());
}

void TfrmBackup::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(50998));
    lbSTime->SetCaption(FrmMain->LoadLangString(50997));
    lbETime->SetCaption(FrmMain->LoadLangString(50996));
    lbType->SetCaption(FrmMain->LoadLangString(50995));
    lbBackupLocation->SetCaption(FrmMain->LoadLangString(50994));
    lbBackup->SetCaption(FrmMain->LoadLangString(50991));
    lbFree->SetCaption(FrmMain->LoadLangString(50990));
    for (TLabel* label : {lbBackup, lbFree}) {
        label->Font()->SetName(Font()->Name());
        label->Font()->SetSize(10);
    }
    btnBackupStart->SetCaption(FrmMain->LoadLangString(50993));
    btnCancel->SetCaption(FrmMain->LoadLangString(50992));
    for (TButton* button : {btnBackupStart, btnCancel})
        button->Font()->SetName(Font()->Name());
    if (backupPath_.empty()) SetPath(FrmMain->ChooserStartFolder(TFrmMain::TChooser::Backup));
    ShowFreeSpace();
}

void TfrmBackup::cmbTypeChange(TObject*) {
    RequestBackupSize(cmbType->ItemIndex());
}

void TfrmBackup::btnBrowseClick(TObject*) {
    TimerSD->SetEnabled(true);
    std::string folder = backupPath_;
    const bool chosen = SelectDirectory(FrmMain != nullptr ? FrmMain->LoadLangString(59827) : "", "", folder);
    TimerSD->SetEnabled(false);
    browseWindow_ = nullptr;
    if (!chosen) return;
    if (FrmMain != nullptr) FrmMain->RememberChosenFolder(TFrmMain::TChooser::Backup, folder);
    SetPath(folder);
    ShowFreeSpace();
}

void TfrmBackup::TimerSDTimer(TObject*) {
    browseWindow_ = GetForegroundWindow();
    if (browseWindow_ != nullptr) SetWindowPos(browseWindow_, HWND_TOPMOST, 400, 300, 0, 0, SWP_NOSIZE);
    TimerSD->SetEnabled(false);
}

void TfrmBackup::btnCancelClick(TObject*) {
    Close();
    TForm* back = nullptr;
    switch (returnForm_) {
    case 1:
        back = frmCalendar;
        break;
    case 2:
        back = frmHourTable;
        break;
    case 3:
        back = frmMinTable;
        break;
    default:
        break;
    }
    if (back != nullptr) back->Show();
}

void TfrmBackup::btnBackupStartClick(TObject*) {
    StartBackup();
}

bool TfrmBackup::StartBackup() {
    if (FrmMain == nullptr) return false;
    if (backupSize_ == 0) {
        Box(FrmMain->LoadLangString(50999), 51000);
        return false;
    }
    // Found out now rather than after the recorder has begun to stream into nothing.
    if (::access(backupPath_.c_str(), W_OK | X_OK) != 0) {
        Box(FrmMain->LoadLangString(59883) + "\n" + backupPath_ + "\n" + std::strerror(errno), 51000);
        return false;
    }
    ShowFreeSpace();
    if (backupSize_ > freeSize_) {
        Box(FrmMain->LoadLangString(50991) + " " + lbSize->Caption() + " > " +
                FrmMain->LoadLangString(50990) + " " + lbFreeSize->Caption(),
            51000);
        return false;
    }
    if (FrmMain->CliSocket->State() != wsConnected) {
        Box(FrmMain->LoadLangString(59869), 51000);
        return false;
    }
    if (frmDownload != nullptr) {
        frmDownload->ProgressTransfer->SetMaximumLevel(100);
        frmDownload->ProgressTransfer->SetCurrentLevel(0);
    }
    const DWORD start = startTime_, end = endTime_;
    SeqRange range;
    BackupSpanList spans;
    std::optional<PlayStart> first;
    try {
        sqlite_db db;
        db.open(FrmMain->ProgramFolder + "qeldbfile_hdd.db");
        range = SeqRangeOf(db.query(QelDbSql::BackupRange(backupType_, start, end)));
        for (const BackupSpanNode& node :
             BackupSpan(db.query(QelDbSql::BackupList(backupType_, range.min, range.max))))
            spans.push_back(node);
        spans.push_back(BackupSpanNode{});
        first = PlayStartOf(db.query(QelDbSql::BackupFirst(backupType_, start, end)));
    } catch (const Exception& e) {
        Box(e.what(), 51000);
        return false;
    }
    // No recording to start from: asking the recorder anyway would stream whatever it finds.
    if (!first || first->start < 0 || first->start > 0xFFFFFFFFLL) {
        Box(FrmMain->LoadLangString(50999), 51000);
        return false;
    }
    FrmMain->SetBackupRange(static_cast<DWORD>(range.min), static_cast<DWORD>(range.max), std::move(spans));
    startTime_ = static_cast<DWORD>(first->start);
    FrmMain->SetBackupMode();
    FrmMain->SendNetPacketBackupCommand(
        NETCMD_SEARCH, {startTime_, 0, static_cast<DWORD>(backupType_), static_cast<DWORD>(first->seq)});
    Hide();
    if (frmDownload != nullptr) {
        frmDownload->SetMode(1);
        frmDownload->Show();
    }
    return true;
}
