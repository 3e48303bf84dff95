// The one road by which the client's work with a recorder ends. The disconnect and power buttons, a
// command or A/V connection that closes, a heartbeat that gets no answer, the recorder's end of remote
// work and its busy status, and a connect while a connection is still up all take it; it stops what
// the record says runs, always in the same order.
#include "client/main.h"

#include "client/formupdatestat.h"

#include "controls/BmButton.h"
#include "net/WSocket.h"
#include "playback/Qelvidfile.h"

#include "client/LinkWait.h"
#include "platform/core/Debug.h"

namespace {

constexpr DWORD kModeArgLocal = 1;

// The buttons give the recorder time to answer the stop commands and to close its side.
DWORD SettleMs(TWayOut way) {
    switch (way) {
    case TWayOut::Disconnect:
        return 4000;
    case TWayOut::PowerOff:
        return 5000;
    default:
        return 0;
    }
}

// These buttons keep the wait window up until they are done themselves.
bool CallerOwnsWaitWindow(TWayOut way) {
    return way == TWayOut::Disconnect || way == TWayOut::PowerOff;
}

} // namespace

bool TFrmMain::EndActivities(TWayOut way) {
    if (Activities.Ending()) return true;
    // The recorder's end of remote work and its busy status end the live and search tabs' work only.
    if (WayEndsRemoteTabsOnly(way) && CurrentMode == kModeLocal) return true;
    CActivities::TEnding ending(Activities);
    DebugTrace("TFrmMain::EndActivities", WayOutName(way));
    const bool searchTab = CurrentMode == kModeSearch;
    // No heartbeat goes out, and none is missed, while the link is being ended.
    if (WayClosesLink(way)) DisarmHeartbeat();

    // 1. Stop commands, while the link lives. The recorder streams one thing at a time: live pictures
    // (113) or a searched or backed-up recording (115).
    const bool linkUp = !WayLosesLink(way) && CliSocket->State() == wsConnected;
    const bool live = LiveActive();
    const bool recording = RemoteSearchActive() || StreamSaving();
    Activities.End(TActivity::LiveView);
    Activities.End(TActivity::RemoteSearch);
    Activities.End(TActivity::SearchDownload);
    AvShow.awaitingFirstPicture = false;
    if (AVDataCliSocket->Paused()) AVDataCliSocket->Resume();
    const bool sendsModeCommand = way == TWayOut::RemoteWorkEnded && searchTab;
    if (linkUp && (live || recording || sendsModeCommand)) {
        ShowWait();
        SetEnabled(false);
        if (live) ModeCommand(NETCMD_LIVE_STOP, 0);
        if (recording) ModeCommand(NETCMD_SEARCH_STOP, 0);
        // Leaving the search tab tells the recorder so, as the LOCAL tab does.
        if (sendsModeCommand) ModeCommand(NETCMD_MODE, kModeArgLocal);
    }
    // Without a link there is nothing to wait for.
    const bool settles = way == TWayOut::Disconnect || (way == TWayOut::PowerOff && linkUp);
    // It ends early when the recorder has closed its side meanwhile.
    if (settles && PumpFor(TActivity::Link, Activities, SettleMs(way)) == TWaitEnd::Terminated) return false;

    // 2. Sockets. A nested closing event finds this road under way and leaves the rest to it.
    if (WayClosesLink(way)) CloseLinkSockets();

    // 3. Sound.
    PlaybackSound(false);

    // 4. Clocks, and the local playback they drive.
    if (!WayEndsRemoteTabsOnly(way)) EndLocalPlayback();

    // 5. Queues and saved files: the frames held for the search went with it; what was saved gets its
    // index files.
    if (StreamSaving()) CloseBackupFiles(0);

    // 6. Child windows (the setup pass's among them, and the upgrade's progress), then the panels: the
    // local transport. An installing upgrade is the recorder's, not the tabs' work.
    if (UpgradeRunning() && !WayEndsRemoteTabsOnly(way)) {
        Activities.End(TActivity::Upgrade);
        if (FrmUpdateStatus != nullptr) FrmUpdateStatus->Close();
    }
    Activities.End(TActivity::SetupPass);
    // Leaving the program ends the desktop's opening too.
    if (way == TWayOut::PowerOff) Activities.End(TActivity::LocalTask);
    CloseChildForms();

    // 7. The local tab, with its empty screens and the buttons of a local client; no text of the ended
    // stream stays over them.
    CurrentMode = kModeLocal;
    ShowLocalMode();
    ClearOverlayTexts();
    if (!CallerOwnsWaitWindow(way)) CloseWait();
    return true;
}

void TFrmMain::EndLocalPlayback() {
    StopPlaybackClocks();
    StopVideoReader();
    VideoReader->Close();
    Activities.End(TActivity::LocalPlayback);
    PlayState = kPlayStopped;
    PlayPaused = 1;
}

bool TFrmMain::LinkOpen() const {
    return Activities.Running(TActivity::Link) || CliSocket->State() == wsConnected;
}

void TFrmMain::EndLocalWork() {
    PlaybackSound(false);
    EndLocalPlayback();
    CloseChildForms();
    ClearOverlayTexts();
}
