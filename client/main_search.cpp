// Remote search in the main window: the search button with the medium chooser, the database request
// with its long wait, the recorder's status check, stopping a search and the recorder's own recording.
#include "client/main.h"

#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "net/WSocket.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"

#include "client/LinkWait.h"
#include "platform/core/FilePaths.h"
#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"
#include "platform/vcl/Dialogs.h"

namespace {

constexpr int kYes = 6;
constexpr DWORD kStopSettleMs = 100;
// The recording database came but could not be stored.
constexpr int kDbNotStored = 60701;

// Text of a refused database request by the recorder's result.
int DbRefusalText(int result) {
    switch (result) {
    case 2:
        return 59848;
    case 3:
        return 59847;
    case 4:
        return 59846;
    default:
        return 59845;
    }
}

} // namespace

void TFrmMain::BtnSerClick(TObject* sender) {
    if (Activities.RefusesPresses()) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59849), 0);
        btnLocal_mClick(sender);
        return;
    }
    if (FrmSerDevice == nullptr) return;
    // A recorder without removable media offers only its disk; the next one with cards offers them.
    FrmSerDevice->OfferCards(SysInfoArg1 != 0);
    SetEnabled(false);
    // A new search saves nothing of the last; what was saved gets its index files.
    if (StreamSaving()) FinishBackupFiles(0);
    SearchSource = 1;
    if (frmCalendar != nullptr) frmCalendar->ClearDayMarks();
    if (frmHourTable != nullptr) frmHourTable->ClearCells();
    if (frmMinTable != nullptr) frmMinTable->ClearCells();
    FrmSerDevice->Show();
}

void TFrmMain::FailDbRequest(int textId, const char* prefix) {
    if (frmDownload != nullptr) {
        frmDownload->Close();
        frmDownload->ProgressTransfer->SetCurrentLevel(0);
    }
    CloseWait();
    // A half-received file must not swallow the packets that follow.
    AbandonFile();
    Activities.End(TActivity::RemoteSearch);
    CurrentMode = kModeSearch;
    SetEnabled(true);
    std::string text = LoadLangString(textId);
    // The file came and could not be kept here: where, and the system's reason.
    if (textId == kDbNotStored)
        text += "\n" + ExcludeTrailingPathDelimiter(Receiver.Folder()) + "\n" + FileStoreFailure;
    ShowMessageBox(text, LoadLangString(59849), 0);
    AddDebugLine(prefix, NETCMD_FILE_REQUEST);
}

bool TFrmMain::RequestDbFile(int medium) {
    // Until the search window opens or the chooser is cancelled; a way out ends it meanwhile.
    Activities.Begin(TActivity::SearchDownload);
    SearchMedium = medium;
    FileReceived = 0;
    FileReceiveFailed = 0;
    // Up to five minutes: the user sees the client wait (and keeps the power button).
    ShowWait();
    const DWORD start = GetTickCount();
    if (SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_DATABASE, kDatabaseLimitMs,
                           static_cast<DWORD>(medium), TActivity::SearchDownload) == 0) {
        if (LastWaitEnd() == TWaitEnd::TimedOut) FailDbRequest(59850, "TIME OUT:");
        return false;
    }
    // The reply may have come with the end of the search tab's work.
    if (!Activities.Running(TActivity::SearchDownload)) return false;
    const int result = ReplySlot;
    if (result == 1) {
        // The reply may come before the file: the file itself is what was asked for.
        const DWORD spent = TickDistance(start, GetTickCount());
        const TWaitEnd end = PumpUntil(
            TActivity::SearchDownload, Activities,
            [&] { return FileReceived != 0 || FileReceiveFailed != 0 || CliSocket->State() != wsConnected; },
            spent < kDatabaseLimitMs ? kDatabaseLimitMs - spent : 0);
        // The road that ended it has told the user and given the local look.
        if (end == TWaitEnd::Ended || end == TWaitEnd::Terminated) return false;
        if (FileReceived == 0) {
            if (end == TWaitEnd::TimedOut)
                FailDbRequest(59850, "TIME OUT:");
            else if (FileReceiveFailed != 0)
                FailDbRequest(kDbNotStored, "FAILED:");
            else
                FailDbRequest(DbRefusalText(0), "FAILED:");
            return false;
        }
        AddDebugLine("SUCCESS:", NETCMD_FILE_REQUEST);
    } else if (result <= 2 || FileReceived == 0) {
        FailDbRequest(result > 2 && FileReceiveFailed != 0 ? kDbNotStored : DbRefusalText(result), "FAILED:");
        return false;
    }
    ShowWait();
    return CheckRecorderStatus();
}

bool TFrmMain::CheckRecorderStatus() {
    const int replied = SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs, 0, TActivity::SearchDownload);
    // A busy status in this very reply takes the way out, which ends the download.
    if (!Activities.Running(TActivity::SearchDownload)) return false;
    if (replied == 0) {
        // The local look, so no chooser over it.
        Activities.End(TActivity::SearchDownload);
        SetEnabled(true);
        CloseWait();
        CurrentMode = kModeLocal;
        ShowLocalMode();
        AddDebugLine("TIME OUT:", NETCMD_STATUS);
        return false;
    }
    if (ReplySlot == 2) {
        SetEnabled(true);
        CloseWait();
        AddDebugLine("FAILED:", NETCMD_STATUS);
        return false;
    }
    const bool passed = ReplySlot == 1;
    if (passed) AddDebugLine("SUCCESS:", NETCMD_STATUS);
    int caption = 0;
    if (RecorderStatus == 2) caption = 59862;
    if (RecorderStatus == 3) caption = 59859;
    if (RecorderStatus == 5) caption = 59860;
    if (caption != 0) {
        ShowMessageBox(LoadLangString(59868), LoadLangString(caption), 0);
        SetEnabled(true);
        return false;
    }
    return passed;
}

void TFrmMain::BtnDisserClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    if (RemoteSearchActive() && CliSocket->State() != wsClosed) {
        Activities.End(TActivity::RemoteSearch);
        ShowWait();
        SetEnabled(false);
        TLabel* const marks[] = {LabelA1, LabelA2, LabelA3, LabelA4,  LabelM1, LabelM2,
                                 LabelM3, LabelM4, lbRed,   lbYellow, lbLeft,  lbGreen};
        for (TLabel* mark : marks)
            mark->Hide();
        const int tab = CurrentMode;
        const int replied = SendCommandAndWait(NETCMD_SEARCH_STOP, 0, kReplyLimitMs);
        if (WorkEndedMeanwhile(tab)) return;
        if (replied == 0) {
            CloseWait();
            SetEnabled(true);
            CurrentMode = kModeLocal;
            ShowLocalMode();
            AddDebugLine("TIME OUT:", NETCMD_SEARCH_STOP);
        } else if (ReplySlot == 2) {
            CloseWait();
            SetEnabled(true);
            AddDebugLine("FAILED:", NETCMD_SEARCH_STOP);
        } else if (ReplySlot == 1) {
            AddDebugLine("SUCCESS:", NETCMD_SEARCH_STOP);
        }
        AvShow.lastShownTime = 0;
        AvShow.lastShownStamp = 0;
        // Frames queued before the stop are of no use now.
        EndRemoteSearchState();
        lbState->SetCaption("");
        ClearSearchTimeLabels();
        ClearOverlayTexts();
        TLabel* const titles[] = {LabelCamera1, LabelCamera2, LabelCamera3, LabelCamera4};
        for (int k = 0; k < 4; ++k) {
            CameraTitles[static_cast<std::size_t>(k)].clear();
            titles[k]->SetCaption("");
        }
        EmptyScreens();
        if (DisconnectRequested == 0) {
            Sleep(kStopSettleMs);
            CloseWait();
        }
    }
    CloseWait();
    DisplayConnectionStatus(LoadLangString(59835));
    SetEnabled(true);
    ShowPlaybackControls(true);
    // A stop without an answer has shown the local tab, whose buttons stay its own.
    if (CurrentMode == kModeLocal) return;
    BtnSer->SetVisible(true);
    BtnDisser->Hide();
}

// ---- Saving the searched stream ----

void TFrmMain::BtnBackupClick(TObject*) {
    if (!RemoteSearchActive() || BackupActive()) return;
    // The user says where the stream goes before anything is written.
    if (SearchBackupFolder.empty()) SearchBackupFolder = ChooserStartFolder(TChooser::Backup);
    std::string folder = SearchBackupFolder;
    TimerDialogPosition->SetEnabled(true);
    if (!SelectDirectory(LoadLangString(59827), "", folder)) return;
    RememberChosenFolder(TChooser::Backup, folder);
    // The search may have ended while the chooser was open.
    if (!RemoteSearchActive() || BackupActive()) return;
    SearchBackupFolder = folder;
    // The searched stream runs until it is stopped: no span of an earlier backup ends it.
    Saver.SetRange(0, 0, {});
    ArmSaver(folder, 0);
    Activities.Begin(TActivity::SearchBackup);
    BtnBackup->Hide();
    BtnBackup_on->SetVisible(true);
}

void TFrmMain::BtnBackup_onClick(TObject*) {
    // Only the saving ends: the recorder goes on playing to the screens.
    if (!RemoteSearchActive() || !BackupActive()) return;
    EndSearchBackup();
}

// ---- The recorder's own recording (live mode) ----

void TFrmMain::BtnRemote_recClick(TObject* sender) {
    if (Activities.RefusesPresses()) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59843), 0);
        btnLocal_mClick(sender);
        return;
    }
    if (RemoteRecording != 0) return;
    switch (ModeCommand(NETCMD_REMOTE_RECORD, 1)) {
    case TModeReply::TimedOut:
        CurrentMode = kModeLocal;
        ShowLocalMode();
        return;
    case TModeReply::Failed:
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    BtnRemote_rec->Hide();
    BtnRemote_stop->SetVisible(true);
}

void TFrmMain::BtnRemote_stopClick(TObject* sender) {
    if (Activities.RefusesPresses()) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59843), 0);
        btnLocal_mClick(sender);
        return;
    }
    if (PasswordLevel() != 1) {
        ShowMessageBox(LoadLangString(59882), LoadLangString(59843), 0);
        return;
    }
    if (ShowMessageBox(LoadLangString(59842), LoadLangString(59843), 4) != kYes || RemoteRecording == 0)
        return;
    switch (ModeCommand(NETCMD_REMOTE_RECORD, 0)) {
    case TModeReply::TimedOut:
        CurrentMode = kModeLocal;
        ShowLocalMode();
        return;
    case TModeReply::Failed:
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    BtnRemote_stop->Hide();
    BtnRemote_rec->SetVisible(true);
}
