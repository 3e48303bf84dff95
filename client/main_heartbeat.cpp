// The heartbeat that keeps the link alive, and what every end of remote work puts back: the child
// windows hidden.
#include "client/main.h"

#include "net/WSocket.h"
#include "playback/Backup.h"
#include "playback/FileTable.h"
#include "playback/LocalSearch.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/Loglist.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Menu.h"
#include "setup/Network.h"
#include "setup/Record2.h"
#include "setup/Schedule.h"
#include "setup/System.h"
#include "setup/TimeTable.h"
#include "setup/Vidstd.h"

void TFrmMain::SetHeartbeatTimer(bool enabled) {
    TimerHeartBeat->SetEnabled(enabled);
}

void TFrmMain::TimerHeartBeatTimer(TObject*) {
    if (!HeartbeatTicks.Due(HeartbeatArmed != 0)) return;
    if (SendCommandAndWait(NETCMD_HEARTBEAT, 0, kReplyLimitMs) != 0) return;
    // The link went meanwhile, or a way out began: its own road tells the user.
    if (LastWaitEnd() == TWaitEnd::Ended || HeartbeatArmed == 0 || Activities.Ending()) return;
    if (!HeartbeatMissed(HeartbeatMisses)) return;
    // Unarmed first: the closing on the way is not reported a second time.
    DisarmHeartbeat();
    EndActivities(TWayOut::HeartbeatLost);
    SetControlsEnabled(true);
    SetEnabled(true);
    ShowMessageBox(LoadLangString(59879), LoadLangString(59878), 0);
}

void TFrmMain::CloseChildForms() {
    // A folder or save dialog of theirs would outlive the windows it belongs to.
    if (frmBackup != nullptr) frmBackup->CloseBrowseDialog();
    if (frmLoglist != nullptr) frmLoglist->CloseSaveDialog();
    TForm* const windows[] = {
        frmAlarm,     frmCalendar,  frmCamera,   frmDevice,    frmDownload, frmHourTable, frmInfo,
        frmLoglist,   frmMenu,      frmMinTable, frmNetwork,   frmRecord2,  frmSchedule,  frmSearch,
        FrmSerDevice, FrmFileTable, frmSystem,   frmTimeTable, frmVidstd,   frmBackup,    frmLocalSearch};
    for (TForm* window : windows)
        if (window != nullptr) window->Hide();
    ShowPlaybackControls(true);
}
