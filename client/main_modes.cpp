// The three mode tabs: the look of each mode, and the handlers that tell the recorder what the client
// stops and which mode it enters before they switch the look.
#include "client/main.h"

#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "controls/imgframe.h"
#include "net/WSocket.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

namespace {

constexpr int kYes = 6;
constexpr DWORD kModeArgLocal = 1;
constexpr DWORD kModeArgSearch = 2;
// Active and inactive looks of a tab button.
constexpr int kTabActive = 0;
constexpr int kTabInactive = 3;

// A mode change while the played stream is copied would cut the copy short.
bool RefusedWhileCopying(TFrmMain& m) {
    if (m.StreamCopying == 0) return false;
    m.ShowMessageBox(m.LoadLangString(50393), m.LoadLangString(50991), 0);
    return true;
}

void ShowAll(std::initializer_list<TControl*> controls) {
    for (TControl* control : controls)
        control->SetVisible(true);
}

void HideAll(std::initializer_list<TControl*> controls) {
    for (TControl* control : controls)
        control->Hide();
}

} // namespace

bool TFrmMain::WorkEndedMeanwhile(int tab) const {
    return LastWaitEnd() == TWaitEnd::Ended || CurrentMode != tab;
}

TFrmMain::TModeReply TFrmMain::ModeCommand(DWORD command, DWORD arg0) {
    const int tab = CurrentMode;
    const int replied = SendCommandAndWait(command, arg0, kReplyLimitMs);
    if (WorkEndedMeanwhile(tab)) return TModeReply::Ended;
    if (replied == 0) {
        AddDebugLine("TIME OUT:", command);
        return TModeReply::TimedOut;
    }
    if (ReplySlot == 2) {
        AddDebugLine("FAILED:", command);
        return TModeReply::Failed;
    }
    if (ReplySlot == 1) AddDebugLine("SUCCESS:", command);
    return TModeReply::Passed;
}

bool TFrmMain::StatusRefused(bool closeWaitFirst) {
    int caption = 0;
    switch (RecorderStatus) {
    case 2:
        caption = 59862;
        break;
    case 3:
        caption = 59859;
        break;
    case 5:
        caption = 59860;
        break;
    default:
        return false;
    }
    if (closeWaitFirst) CloseWait();
    ShowMessageBox(LoadLangString(59868), LoadLangString(caption), 0);
    CloseWait();
    SetEnabled(true);
    return true;
}

void TFrmMain::EndRemoteSearchState() {
    // A search stopped while frames were queued must not leave the A/V connection paused.
    Activities.End(TActivity::RemoteSearch);
    AvShow.awaitingFirstPicture = false;
    if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
    if (BackupActive()) EndSearchBackup();
}

// ---- Looks ----

namespace {

void CommonLook(TFrmMain& m) {
    m.EmptyScreens();
    TLabel* const titles[] = {m.LabelCamera1, m.LabelCamera2, m.LabelCamera3, m.LabelCamera4};
    for (int k = 0; k < 4; ++k) {
        m.CameraTitles[static_cast<std::size_t>(k)].clear();
        titles[k]->SetCaption("");
    }
    TLabel* const texts[] = {m.lbState,
                             m.LabelSearchTime,
                             m.LabelFullSearchTime1,
                             m.LabelFullSearchTime2,
                             m.LabelFullSearchTime3,
                             m.LabelFullSearchTime4};
    for (TLabel* text : texts)
        text->SetCaption("");
    m.ClearOverlayTexts();
    m.HideScreenMarks();
    m.ImgAniState->SetPlay(false);
    m.ImgAniState->Hide();
    m.AvShow.lastShownTime = 0;
    m.AvShow.lastShownStamp = 0;
}

// The look every mode starts from, with its own panel and tab shown as active.
void ModeLook(TFrmMain& m, int panelFrame, TBmButton* active) {
    CommonLook(m);
    m.ImgFrame2->SetCurrentFrame(panelFrame);
    for (TBmButton* tab : {m.btnLocal_m, m.btnLive_m, m.btnSer_m})
        tab->SetCurrentFrame(tab == active ? kTabActive : kTabInactive);
}

// Of the two buttons of a state, the one for the state as it stands shows.
void ShowOneOf(TBmButton* whenOn, TBmButton* whenOff, bool on) {
    whenOn->SetVisible(on);
    whenOff->SetVisible(!on);
}

} // namespace

int TFrmMain::ShowLocalMode() {
    ModeLook(*this, 0, btnLocal_m);
    ShowAll({BtnAbout, BtnDetectUsb, BtnUpgrade});
    ShowOneOf(BtnDisconnect, BtnConnect, CliSocket->State() == wsConnected);
    HideAll({BtnLive, BtnDislive, BtnSetup, BtnRemote_rec, BtnRemote_stop, BtnSer, BtnDisser, BtnBackup,
             BtnBackup_on});
    CurrentMode = kModeLocal;
    return 1;
}

int TFrmMain::ShowLiveMode() {
    ModeLook(*this, 1, btnLive_m);
    BtnSetup->SetVisible(true);
    ShowOneOf(BtnDislive, BtnLive, LiveActive());
    ShowOneOf(BtnRemote_stop, BtnRemote_rec, RemoteRecording != 0);
    HideAll({BtnConnect, BtnDisconnect, BtnUpgrade, BtnAbout, BtnDetectUsb, BtnSer, BtnDisser, BtnBackup,
             BtnBackup_on});
    CurrentMode = kModeLive;
    return 1;
}

int TFrmMain::ShowSearchMode() {
    ModeLook(*this, 2, btnSer_m);
    BtnBackup->SetVisible(true);
    ShowOneOf(BtnDisser, BtnSer, RemoteSearchActive());
    HideAll({BtnConnect, BtnDisconnect, BtnAbout, BtnUpgrade, BtnDetectUsb, BtnLive, BtnDislive, BtnSetup,
             BtnRemote_rec, BtnRemote_stop, BtnBackup_on});
    CurrentMode = kModeSearch;
    return 1;
}

// ---- Tab handlers ----

bool TFrmMain::LeaveSearchMode(TObject* sender) {
    switch (ModeCommand(NETCMD_MODE, kModeArgLocal)) {
    case TModeReply::TimedOut:
        CloseWait();
        SetEnabled(true);
        return false;
    case TModeReply::Failed:
        CloseWait();
        CurrentMode = kModeLocal;
        btnLocal_mClick(sender);
        SetEnabled(true);
        return false;
    case TModeReply::Ended:
        return false;
    case TModeReply::Passed:
        break;
    }
    return true;
}

void TFrmMain::btnLocal_mClick(TObject* sender) {
    if (CurrentMode == kModeLocal) {
        ShowLocalMode();
        return;
    }
    // A press while a wait pumps would run inside it; the handlers' own ways back set the local mode first.
    if (Activities.RefusesPresses()) return;
    if (RefusedWhileCopying(*this)) return;
    SetEnabled(false);
    const bool searching = RemoteSearchActive() && CurrentMode == kModeSearch;
    if (LiveActive() || searching) {
        if (ForcedLocal == 0 && ShowMessageBox(LoadLangString(59854), LoadLangString(59853), 4) != kYes) {
            SetEnabled(true);
            return;
        }
        ShowWait();
        SetEnabled(false);
    }
    if (LiveActive()) {
        if (ModeCommand(NETCMD_LIVE_STOP, 0) != TModeReply::Passed) {
            CloseWait();
            SetEnabled(true);
            return;
        }
    } else if (searching) {
        if (ModeCommand(NETCMD_SEARCH_STOP, 0) != TModeReply::Passed) {
            CloseWait();
            SetEnabled(true);
            return;
        }
        EndRemoteSearchState();
        ShowPlaybackControls(true);
        if (!LeaveSearchMode(sender)) return;
    } else if (CurrentMode == kModeSearch) {
        if (StreamSaving()) FinishBackupFiles(0);
        if (!LeaveSearchMode(sender)) return;
    }
    ShowLocalMode();
    Activities.End(TActivity::LiveView);
    Activities.End(TActivity::RemoteSearch);
    ForcedLocal = 0;
    CloseWait();
    SetEnabled(true);
}

void TFrmMain::btnLive_mClick(TObject* sender) {
    if (Activities.RefusesPresses()) return;
    if (RefusedWhileCopying(*this)) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59857), 0);
        return;
    }
    if (AVDataCliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(kAvLinkNotOpen), LoadLangString(59849), 0);
        return;
    }
    if (CurrentMode == kModeLive) return;
    ShowWait();
    SetEnabled(false);
    // The setup files are fetched again for this visit.
    DeleteFile(ProgramFolder + "config.ini");

    const auto dropToLocal = [this] {
        CloseWait();
        SetEnabled(true);
        CurrentMode = kModeLocal;
        ShowLocalMode();
    };
    switch (ModeCommand(NETCMD_STATUS, 0)) {
    case TModeReply::TimedOut:
        dropToLocal();
        return;
    case TModeReply::Failed:
        CloseWait();
        SetEnabled(true);
        return;
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    if (StatusRefused(false)) return;

    if (RemoteSearchActive() && CurrentMode == kModeSearch) {
        if (ForcedLocal == 0) {
            CloseWait();
            if (ShowMessageBox(LoadLangString(59852), LoadLangString(59853), 4) != kYes) {
                SetEnabled(true);
                return;
            }
        }
        ShowWait();
        SetEnabled(false);
        if (ModeCommand(NETCMD_SEARCH_STOP, 0) != TModeReply::Passed) {
            CloseWait();
            SetEnabled(true);
            return;
        }
        if (!LeaveSearchMode(sender)) return;
        EndRemoteSearchState();
        ShowPlaybackControls(true);
    } else if (CurrentMode == kModeSearch) {
        if (StreamSaving()) FinishBackupFiles(0);
        if (!LeaveSearchMode(sender)) return;
    }

    ShowWait();
    switch (ModeCommand(NETCMD_STATUS, 0)) {
    case TModeReply::TimedOut:
        dropToLocal();
        return;
    case TModeReply::Failed:
        SetEnabled(true);
        CloseWait();
        return;
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    if (StatusRefused(true)) return;

    FileReceived = 0;
    FileReceiveFailed = 0;
    const int tab = CurrentMode;
    const int replied = SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_CONFIG, kReplyLimitMs);
    if (WorkEndedMeanwhile(tab)) return;
    if (replied == 0) {
        AddDebugLine("TIME OUT:", NETCMD_FILE_REQUEST);
        dropToLocal();
        return;
    }
    if (ReplySlot == 1) {
        AddDebugLine("SUCCESS:", NETCMD_FILE_REQUEST);
        // The file follows its reply. One that does not come whole in time is given up, so the replies
        // behind it are not taken for its bytes, and the user hears which.
        const TWaitEnd end = PumpUntil(
            TActivity::Link, Activities,
            [this] {
                return FileReceived != 0 || FileReceiveFailed != 0 || CliSocket->State() != wsConnected;
            },
            kReplyLimitMs);
        if (end == TWaitEnd::Ended || end == TWaitEnd::Terminated || WorkEndedMeanwhile(tab)) return;
        if (end == TWaitEnd::TimedOut) {
            AbandonFile();
            dropToLocal();
            ShowMessageBox(Format(LoadLangString(kFileNotWhole).c_str(), QelFileName(QELFILE_CONFIG).c_str()),
                           LoadLangString(59857), 0);
            return;
        }
    } else if (ReplySlot <= 2) {
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", NETCMD_FILE_REQUEST);
        return;
    }
    ShowLiveMode();
    ForcedLocal = 0;
    SetEnabled(true);
    CloseWait();
}

void TFrmMain::btnSer_mClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    if (RefusedWhileCopying(*this)) return;
    if (CliSocket->State() != wsConnected || AVDataCliSocket->State() != wsConnected) {
        // The link lamp is on while only the pictures' connection is missing: say which is.
        ShowMessageBox(LoadLangString(CliSocket->State() != wsConnected ? 59869 : kAvLinkNotOpen),
                       LoadLangString(59849), 0);
        return;
    }
    if (CurrentMode == kModeSearch) return;
    const auto dropToLocal = [this] {
        CloseWait();
        SetEnabled(true);
        CurrentMode = kModeLocal;
        ShowLocalMode();
    };
    ShowWait();
    SetEnabled(false);
    switch (ModeCommand(NETCMD_STATUS, 0)) {
    case TModeReply::TimedOut:
        dropToLocal();
        return;
    case TModeReply::Failed:
        CloseWait();
        SetEnabled(true);
        return;
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    if (StatusRefused(false)) return;

    CloseWait();
    // The question is about stopping live view: without it there is nothing to ask.
    if (LiveActive() && ShowMessageBox(LoadLangString(50485) + "\n" + LoadLangString(50484),
                                       LoadLangString(59853), 4) != kYes) {
        CloseWait();
        SetEnabled(true);
        return;
    }
    if (LiveActive()) {
        ShowWait();
        SetEnabled(false);
        const TModeReply stop = ModeCommand(NETCMD_LIVE_STOP, 0);
        if (stop == TModeReply::Ended) return;
        // The local tab shows no live pictures, whatever the recorder made of the stop.
        ImgAniState->SetPlay(false);
        ImgAniState->Hide();
        Activities.End(TActivity::LiveView);
        AvShow.awaitingFirstPicture = false;
        if (stop != TModeReply::Passed) {
            dropToLocal();
            return;
        }
    }

    ShowSearchMode();
    ShowWait();
    switch (ModeCommand(NETCMD_MODE, kModeArgSearch)) {
    case TModeReply::TimedOut:
    case TModeReply::Failed:
        dropToLocal();
        return;
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        if (ReplySlot == 1) {
            Label2->SetCaption("NET"); // untranslated: link-state word
            Label2->Font()->SetColor(static_cast<TColor>(0xFFFFFF));
        }
        break;
    }
    switch (ModeCommand(NETCMD_STATUS, 0)) {
    case TModeReply::TimedOut:
        dropToLocal();
        return;
    case TModeReply::Failed:
        SetEnabled(true);
        CloseWait();
        return;
    case TModeReply::Ended:
        return;
    case TModeReply::Passed:
        break;
    }
    if (StatusRefused(true)) return;
    CurrentMode = kModeSearch;
    ForcedLocal = 0;
    SetEnabled(true);
    CloseWait();
}
