// The transport during a remote search: the recorder's own playback is paused, played, stepped and
// stopped by command, frames that arrived while it was paused are shown one by one, and five seconds
// back restarts the search a little earlier.
#include "client/main.h"

#include "client/Wait.h"
#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "formats/NetPacket.h"
#include "net/WSocket.h"
#include "playback/Backup.h"
#include "playback/FileTable.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/Search.h"
#include "recdb/SqliteDb.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"

#include <algorithm>

namespace {

// A remote frame's picture is never longer than this.
constexpr DWORD kMaxRemotePicture = 0x20000;
constexpr int kBackSeconds = 5;
constexpr int kBackWindowSeconds = 60;

} // namespace

void TFrmMain::RemotePlay(bool touchBack5) {
    if (Activities.RemotePlayState != 0) SendNetPacketCommand(NETCMD_PLAY, 0);
    ShowQueuedFrames();
    Activities.RemotePlayState = 0;
    Activities.QueueAvFrames = 0;
    if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
    if (touchBack5) EnableSkinButton(BtnBack5, true);
}

void TFrmMain::RemotePause(bool touchBack5) {
    if (Activities.RemotePlayState == 0) SendNetPacketCommand(NETCMD_PAUSE, 0);
    AVDataCliSocket->Pause();
    Activities.RemotePlayState = 1;
    if (touchBack5) EnableSkinButton(BtnBack5, false);
}

void TFrmMain::RemoteStep(bool touchBack5) {
    if (Activities.RemotePlayState == 0) SendNetPacketCommand(NETCMD_PAUSE, 0);
    if (Activities.AvFrameQueue.Empty()) {
        // The receiver shows the next frame to arrive and then queues again.
        Activities.QueueAvFrames = 0;
        Activities.RemotePlayState = 2;
        if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
    } else {
        ShowQueuedFrame();
        Activities.RemotePlayState = 1;
        if (Activities.AvFrameQueue.Empty()) {
            Activities.QueueAvFrames = 0;
            if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
        }
    }
    if (touchBack5) EnableSkinButton(BtnBack5, false);
}

void TFrmMain::PauseClick(TObject*) {
    if (RemoteSearchActive()) RemotePause(false);
}

void TFrmMain::PlayClick(TObject*) {
    if (RemoteSearchActive()) RemotePlay(false);
}

void TFrmMain::StepClick(TObject*) {
    if (RemoteSearchActive()) RemoteStep(false);
}

void TFrmMain::ShowQueuedFrame() {
    std::unique_ptr<QelAvFrameNode> node = Activities.AvFrameQueue.PopFront();
    if (!node) return;
    const QelFrameInfo info = node->Info();
    if (info.channel >= 1 && info.channel <= 4) {
        const int k = static_cast<int>(info.channel) - 1;
        MarkLabelA(k)->SetVisible(info.eventState == 1 || info.eventState == 3);
        MarkLabelM(k)->SetVisible(info.eventState == 2 || info.eventState == 3);
    }
    std::string text;
    FrameTimeToText(info.frameTime, text);
    LabelSearchTime->SetCaption(text);
    // untranslated: stream-state words
    lbState->SetCaption(LiveActive() ? "LIVE" : RemoteSearchActive() ? "SEARCH" : "");
    AvShow.lastDisplayedTime = info.frameTime;
    const int screen = static_cast<int>(std::clamp<DWORD>(info.channel, 1, 4)) - 1;
    CameraLabel(screen)->SetCaption(text);
    const std::size_t length = std::min<std::size_t>(info.payloadLen1, node->data.size());
    if (info.IsVideo() && info.payloadLen1 <= kMaxRemotePicture) {
        // The last frame seen is where five seconds back counts from.
        AvShow.lastShownTime = info.frameTime;
        AvShow.lastShownStamp = info.subSecond;
        const int standard =
            info.standard == QELSTD_NTSC || info.standard == QELSTD_PAL ? info.standard : VideoStandard;
        ShowScreenPicture(screen, node->data.data(), length, info.frameTime, static_cast<int>(info.width),
                          standard);
        if (!ImgAniState->Play()) ImgAniState->SetPlay(true);
    }
}

void TFrmMain::ShowQueuedFrames() {
    while (!Activities.AvFrameQueue.Empty())
        ShowQueuedFrame();
}

TFrmMain::TModeReply TFrmMain::RemoteStopCommand() {
    const TModeReply reply = ModeCommand(NETCMD_SEARCH_STOP, 0);
    if (reply == TModeReply::TimedOut || reply == TModeReply::Failed) {
        CloseWait();
        SetEnabled(true);
    }
    if (reply == TModeReply::TimedOut) ShowLocalMode();
    return reply;
}

void TFrmMain::RemoteStopSearch() {
    if (CliSocket->State() != wsClosed) {
        // Frames queued before the stop belong to the search that ended.
        Activities.End(TActivity::RemoteSearch);
        ShowWait();
        SetEnabled(false);
        HideScreenMarks();
        if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
        // The way out that ended the search has closed its windows: none opens again.
        if (RemoteStopCommand() == TModeReply::Ended) return;
        AvShow.lastShownTime = 0;
        AvShow.lastShownStamp = 0;
        lbState->SetCaption("");
        // Full mode's time texts too: none of the ended search stays over the blank screens.
        ClearSearchTimeLabels();
        ClearOverlayTexts();
        for (int k = 0; k < 4; ++k) {
            CameraLabel(k)->SetCaption("");
            EmptyScreen(k);
        }
    }
    Activities.End(TActivity::RemoteSearch);
    // Saving ends with the search it saved.
    if (BackupActive()) EndSearchBackup();
    CloseWait();
    ShowPlaybackControls(true);
    if (frmBackup != nullptr) frmBackup->Hide();
    SetEnabled(false);
    TForm* next =
        SearchMedium == QELDISK_HDD ? static_cast<TForm*>(frmMinTable) : static_cast<TForm*>(FrmFileTable);
    if (next != nullptr) {
        next->Show();
        next->SetEnabled(true);
    } else {
        // Without the window to return to, the main window must not stay locked.
        SetEnabled(true);
    }
}

void TFrmMain::BtnBack5Click(TObject*) {
    // A second press inside the first one's 115 would stop and restart the search beneath it.
    if (Activities.RefusesPresses()) return;
    if (!RemoteSearchActive() || Activities.RemotePlayState == 1 || Activities.RemotePlayState == 2) return;
    ShowWait();
    SetEnabled(false);
    // Before the first frame there is nothing to go back from; that frame ends the wait.
    if (AvShow.lastShownTime == 0) {
        ExpectFirstPicture();
        return;
    }
    // No new search after a way out ended this one meanwhile.
    if (RemoteStopCommand() == TModeReply::Ended) return;
    const std::int64_t t = static_cast<std::int64_t>(AvShow.lastShownTime) - kBackSeconds;
    const std::int64_t e = t + kBackWindowSeconds;
    const std::string path = ProgramFolder + QelFileName(QELFILE_DATABASE, static_cast<DWORD>(SearchMedium));
    if (!FileExists(path)) {
        CloseWait();
        ShowMessageBox(LoadLangString(59881), LoadLangString(59849), 0);
        SetEnabled(true);
        return;
    }
    int mode = frmSearch != nullptr ? frmSearch->GetSearchMode() : 1;
    // A mode never chosen would go to the recorder as -1.
    if (mode < 1 || mode > 3) mode = 1;
    std::optional<PlayStart> start;
    try {
        sqlite_db db;
        db.open(path);
        start = PlayStartOf(db.query(QelDbSql::FiveSecondsBack(mode, t, e)));
        db.close();
    } catch (const Exception&) {
        start.reset();
    }
    if (frmCalendar != nullptr) frmCalendar->SetEnabled(true);
    if (frmHourTable != nullptr) frmHourTable->SetEnabled(true);
    if (frmMinTable != nullptr) frmMinTable->SetEnabled(true);
    ShowQueuedFrames();
    if (!start) {
        // No recording covers the earlier time: the search stays stopped and the user may pick again.
        Activities.End(TActivity::RemoteSearch);
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", NETCMD_SEARCH);
        return;
    }
    TNetCommandArgs args;
    args.arg0 = static_cast<DWORD>(start->start);
    args.arg1 = static_cast<DWORD>(SearchMedium);
    args.arg2 = static_cast<DWORD>(mode - 1);
    args.word20 = static_cast<DWORD>(start->seq);
    ExpectFirstPicture();
    SendNetPacketCommand3(NETCMD_SEARCH, args);
}
