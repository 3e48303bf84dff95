// Each cell of the wait table with its outcome written out by hand, and what each row's wait is.
#include "tests/client/WaitTable.h"

namespace client_tests::wait_table {

const char* RowName(TWaitRow r) {
    switch (r) {
    case TWaitRow::DatabaseDownload:
        return "database download";
    case TWaitRow::LiveStatus:
        return "live start";
    case TWaitRow::SearchStop:
        return "search stop";
    case TWaitRow::SetupDownload:
        return "setup download";
    case TWaitRow::Apply:
        return "apply";
    case TWaitRow::BackupSize:
        return "backup size";
    case TWaitRow::RecordingOk:
        return "recording page OK";
    case TWaitRow::LiveStop:
        return "live stop";
    case TWaitRow::SetupFiles:
        return "setup files";
    case TWaitRow::LogList:
        return "log list";
    case TWaitRow::UpgradeDelay:
        return "upgrade delay";
    case TWaitRow::RemoteRecord:
        return "remote record";
    case TWaitRow::DisconnectPause:
        return "disconnect pause";
    case TWaitRow::LiveTabStatus:
        return "live tab status";
    case TWaitRow::LiveTabConfig:
        return "live tab config";
    case TWaitRow::LiveTabFile:
        return "live tab config file";
    case TWaitRow::SearchTabMode:
        return "search tab mode";
    case TWaitRow::SearchStatus:
        return "search status";
    case TWaitRow::TransportStop:
        return "transport stop";
    case TWaitRow::LogListCameras:
        return "log list cameras";
    case TWaitRow::UpgradeCheck:
        return "upgrade check";
    case TWaitRow::UpgradeStatus:
        return "upgrade status";
    case TWaitRow::Heartbeat:
        return "heartbeat";
    case TWaitRow::LogInSysinfo:
        return "log-in sysinfo";
    case TWaitRow::LogInOption:
        return "log-in option";
    case TWaitRow::LogInStatus:
        return "log-in status";
    case TWaitRow::LogInPassword:
        return "log-in password";
    case TWaitRow::LogInCameras:
        return "log-in cameras";
    case TWaitRow::LocalLiveStop:
        return "local tab live stop";
    case TWaitRow::LocalSearchStop:
        return "local tab search stop";
    case TWaitRow::LocalMode:
        return "local tab mode";
    case TWaitRow::SearchTabStatus:
        return "search tab status";
    case TWaitRow::SearchTabLast:
        return "search tab last status";
    case TWaitRow::LiveTabLast:
        return "live tab last status";
    case TWaitRow::BackFive:
        return "five seconds back";
    case TWaitRow::SearchCameras:
        return "search cameras";
    case TWaitRow::PowerPause:
        return "power pause";
    case TWaitRow::Connect:
        return "connect";
    case TWaitRow::AvConnect:
        return "AV connect";
    case TWaitRow::LogSettle:
        return "log list settle";
    case TWaitRow::UploadConnect:
        return "upload connect";
    case TWaitRow::UploadPause:
        return "upload pause";
    case TWaitRow::MapCheck:
        return "map check";
    case TWaitRow::SliderSettle:
        return "slider settle";
    case TWaitRow::FolderScan:
        return "folder scan";
    case TWaitRow::UpgradeSend:
        return "upgrade send";
    case TWaitRow::DetectOpener:
        return "detect opener";
    case TWaitRow::PlayRings:
        return "play rings";
    case TWaitRow::ApplySend:
        return "apply send";
    case TWaitRow::ConnectNoAnswer:
        return "connect no answer";
    case TWaitRow::PlayRingsList:
        return "play rings list";
    case TWaitRow::PlayRingsRecord:
        return "play rings record";
    }
    return "";
}

const char* EventName(TEvent e) {
    switch (e) {
    case TEvent::CommandLinkLost:
        return "command link lost";
    case TEvent::AvLinkLost:
        return "AV link lost";
    case TEvent::HeartbeatLost:
        return "heartbeat lost";
    case TEvent::RemoteWorkEnded:
        return "event 4";
    case TEvent::RecorderBusy:
        return "status 2";
    case TEvent::PowerButton:
        return "power button";
    case TEvent::ConflictingPress:
        return "conflicting press";
    }
    return "";
}

// clang-format off
const std::vector<WaitCell> kCells = {
    {TWaitRow::DatabaseDownload, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::DatabaseDownload, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::DatabaseDownload, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::DatabaseDownload, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::DatabaseDownload, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::DatabaseDownload, TEvent::PowerButton,      kNone,        {},        {}, false},
    // The second press is refused; the first goes on to the search options.
    {TWaitRow::DatabaseDownload, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmSearch"}, {}, true},

    {TWaitRow::LiveStatus, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveStatus, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveStatus, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LiveStatus, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LiveStatus, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LiveStatus, TEvent::ConflictingPress, kNone,        kMainOnly, {TActivity::LiveView}, true},

    {TWaitRow::SearchStop, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchStop, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchStop, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SearchStop, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SearchStop, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SearchStop, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    {TWaitRow::SetupDownload, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SetupDownload, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SetupDownload, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SetupDownload, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SetupDownload, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SetupDownload, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmMenu"}, {TActivity::SetupPass}, true},

    {TWaitRow::Apply, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::Apply, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::Apply, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::Apply, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::Apply, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::Apply, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::Apply, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {QELFILE_CONFIG}},

    {TWaitRow::BackupSize, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::BackupSize, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::BackupSize, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::BackupSize, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::BackupSize, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::BackupSize, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::BackupSize, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmBackup"}, {}, true},

    {TWaitRow::RecordingOk, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::RecordingOk, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::RecordingOk, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::RecordingOk, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::RecordingOk, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::RecordingOk, TEvent::PowerButton,      kNone,        {},        {}, false},
    // CANCEL is refused while the OK waits: the OK's two files reach the recorder and nothing after them.
    {TWaitRow::RecordingOk, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmMenu"}, {TActivity::SetupPass}, true,
     {QELFILE_HOLIDAY, QELFILE_SCHEDULE}},

    {TWaitRow::LiveStop, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveStop, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveStop, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LiveStop, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LiveStop, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LiveStop, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    {TWaitRow::SetupFiles, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SetupFiles, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SetupFiles, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SetupFiles, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SetupFiles, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SetupFiles, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SetupFiles, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmMenu"}, {TActivity::SetupPass}, true},

    {TWaitRow::LogList, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogList, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogList, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LogList, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LogList, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LogList, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmLoglist"}, {TActivity::SetupPass}, true},

    // Started from the local look; the recorder's end of remote work and its busy status leave it alone.
    {TWaitRow::UpgradeDelay, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeDelay, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeDelay, TEvent::HeartbeatLost,    kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeDelay, TEvent::RemoteWorkEnded,  kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeDelay, TEvent::RecorderBusy,     kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeDelay, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::UpgradeDelay, TEvent::ConflictingPress, kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},

    {TWaitRow::RemoteRecord, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::RemoteRecord, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::RemoteRecord, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::RemoteRecord, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::RemoteRecord, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::RemoteRecord, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    // The user's own disconnect is under way: nothing else tells the user anything, and the link closes.
    {TWaitRow::DisconnectPause, TEvent::CommandLinkLost,  kNone, kMainOnly, {}, false},
    {TWaitRow::DisconnectPause, TEvent::AvLinkLost,       kNone, kMainOnly, {}, false},
    {TWaitRow::DisconnectPause, TEvent::HeartbeatLost,    kNone, kMainOnly, {}, false},
    {TWaitRow::DisconnectPause, TEvent::RemoteWorkEnded,  kNone, kMainOnly, {}, false},
    {TWaitRow::DisconnectPause, TEvent::RecorderBusy,     kNone, kMainOnly, {}, false},
    {TWaitRow::DisconnectPause, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::DisconnectPause, TEvent::ConflictingPress, kNone, kMainOnly, {}, false},

    // Still on the local look: the end of remote work finds no tab's work to end, and the tab goes on. The
    // unasked busy status is the 109's answer, and the tab tells it.
    {TWaitRow::LiveTabStatus, TEvent::CommandLinkLost,  kLinkLost,   kMainOnly, {}, false},
    {TWaitRow::LiveTabStatus, TEvent::AvLinkLost,       kLinkLost,   kMainOnly, {}, false},
    {TWaitRow::LiveTabStatus, TEvent::RemoteWorkEnded,  kNone,       kMainOnly, {}, true, {}, kModeLive},
    {TWaitRow::LiveTabStatus, TEvent::RecorderBusy,     kBusyAnswer, kMainOnly, {}, true},
    {TWaitRow::LiveTabStatus, TEvent::PowerButton,      kNone,       {},        {}, false},
    {TWaitRow::LiveTabStatus, TEvent::ConflictingPress, kNone,       kMainOnly, {}, true, {}, kModeLive},

    {TWaitRow::LiveTabConfig, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LiveTabConfig, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LiveTabConfig, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true, {}, kModeLive},
    {TWaitRow::LiveTabConfig, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true, {}, kModeLive},
    {TWaitRow::LiveTabConfig, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LiveTabConfig, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true, {}, kModeLive},

    // Its reply in, the file on its way: the heartbeat runs again. The recorder's event and unasked status
    // would come behind the file's last bytes, after the tab has shown live view: no longer this wait's.
    {TWaitRow::LiveTabFile, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LiveTabFile, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LiveTabFile, TEvent::HeartbeatLost,    kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LiveTabFile, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LiveTabFile, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true, {}, kModeLive},

    {TWaitRow::SearchTabMode, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchTabMode, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchTabMode, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SearchTabMode, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SearchTabMode, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SearchTabMode, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {}, kModeSearch},

    {TWaitRow::SearchStatus, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchStatus, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchStatus, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SearchStatus, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SearchStatus, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SearchStatus, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmSearch"}, {}, true, {}, kModeSearch},

    // The stop goes back to the minute table only when the search was not ended meanwhile.
    {TWaitRow::TransportStop, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::TransportStop, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::TransportStop, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::TransportStop, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::TransportStop, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::TransportStop, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmMinTable"}, {}, true, {}, kModeSearch},

    {TWaitRow::LogListCameras, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogListCameras, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogListCameras, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LogListCameras, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LogListCameras, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LogListCameras, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmLoglist"}, {TActivity::SetupPass}, true, {}, kModeLive},

    // From the local look, as the delay's row: only the link's end stops the upgrade before it begins.
    {TWaitRow::UpgradeCheck, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeCheck, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeCheck, TEvent::RemoteWorkEnded,  kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeCheck, TEvent::RecorderBusy,     kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeCheck, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::UpgradeCheck, TEvent::ConflictingPress, kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},

    // A busy recorder (2) may still take an image; only an installing one (3) refuses it.
    {TWaitRow::UpgradeStatus, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeStatus, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeStatus, TEvent::RemoteWorkEnded,  kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeStatus, TEvent::RecorderBusy,     kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},
    {TWaitRow::UpgradeStatus, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::UpgradeStatus, TEvent::ConflictingPress, kImageQuestion, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true},

    // The conflicting press is the live start button.
    {TWaitRow::Heartbeat, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::Heartbeat, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::Heartbeat, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::Heartbeat, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::Heartbeat, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::Heartbeat, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {}, kModeLive},

    // On the local look the recorder's end of remote work and its busy status leave the log-in alone; the
    // conflicting press is CONNECT. Before its 101 is answered there is no A/V connection to lose, and no
    // heartbeat armed: the link's end is told by no box.
    {TWaitRow::LogInSysinfo, TEvent::CommandLinkLost,  kNone,     kMainOnly, {}, false},
    {TWaitRow::LogInSysinfo, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInSysinfo, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInSysinfo, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LogInSysinfo, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},

    {TWaitRow::LogInOption, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInOption, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInOption, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInOption, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInOption, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LogInOption, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},

    {TWaitRow::LogInStatus, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInStatus, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInStatus, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInStatus, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInStatus, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LogInStatus, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},

    {TWaitRow::LogInPassword, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInPassword, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInPassword, TEvent::HeartbeatLost,    kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInPassword, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInPassword, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInPassword, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LogInPassword, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInCameras, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInCameras, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::LogInCameras, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInCameras, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::LogInCameras, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::LogInCameras, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},

    // The LOCAL tab's own waits: whatever ended the work meanwhile has shown the local look, and the tab
    // sends nothing more; refused, a second LOCAL leaves the first to finish.
    {TWaitRow::LocalLiveStop, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalLiveStop, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalLiveStop, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LocalLiveStop, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LocalLiveStop, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LocalLiveStop, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    {TWaitRow::LocalSearchStop, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalSearchStop, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalSearchStop, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LocalSearchStop, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LocalSearchStop, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LocalSearchStop, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    {TWaitRow::LocalMode, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalMode, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LocalMode, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LocalMode, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LocalMode, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LocalMode, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true},

    // As the live tab's first 109: on the local look nothing ends, and the busy status is the 109's answer.
    {TWaitRow::SearchTabStatus, TEvent::CommandLinkLost,  kLinkLost,   kMainOnly, {}, false},
    {TWaitRow::SearchTabStatus, TEvent::AvLinkLost,       kLinkLost,   kMainOnly, {}, false},
    {TWaitRow::SearchTabStatus, TEvent::RemoteWorkEnded,  kNone,       kMainOnly, {}, true, {}, kModeSearch},
    {TWaitRow::SearchTabStatus, TEvent::RecorderBusy,     kBusyAnswer, kMainOnly, {}, true},
    {TWaitRow::SearchTabStatus, TEvent::PowerButton,      kNone,       {},        {}, false},
    {TWaitRow::SearchTabStatus, TEvent::ConflictingPress, kNone,       kMainOnly, {}, true, {}, kModeSearch},

    // On the search look: the recorder's end of remote work and its busy status end the tab.
    {TWaitRow::SearchTabLast, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchTabLast, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchTabLast, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SearchTabLast, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SearchTabLast, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SearchTabLast, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {}, kModeSearch},

    // The 108 has left the search, but the look is still the search's: the end of remote work ends the tab.
    {TWaitRow::LiveTabLast, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveTabLast, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LiveTabLast, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LiveTabLast, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LiveTabLast, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LiveTabLast, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {}, kModeLive},

    // Refused, the second press leaves the first to play from five seconds back.
    {TWaitRow::BackFive, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::BackFive, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::BackFive, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::BackFive, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::BackFive, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::BackFive, TEvent::ConflictingPress, kNone,        kMainOnly, {TActivity::RemoteSearch}, true, {}, kModeSearch},

    {TWaitRow::SearchCameras, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchCameras, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::SearchCameras, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::SearchCameras, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::SearchCameras, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::SearchCameras, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmSearch"}, {}, true, {}, kModeSearch},

    // The program ends whatever comes: the road under way keeps the window and tells nothing, and a second
    // press adds nothing the recorder hears. The button has disarmed the heartbeat: none can be lost.
    {TWaitRow::PowerPause, TEvent::CommandLinkLost,  kNone, {}, {}, false},
    {TWaitRow::PowerPause, TEvent::AvLinkLost,       kNone, {}, {}, false},
    {TWaitRow::PowerPause, TEvent::RemoteWorkEnded,  kNone, {}, {}, false},
    {TWaitRow::PowerPause, TEvent::RecorderBusy,     kNone, {}, {}, false},
    {TWaitRow::PowerPause, TEvent::ConflictingPress, kNone, {}, {}, false},

    // No connection yet: no link, no A/V link and no heartbeat to lose, nothing to carry the recorder's
    // event or status. Refused, the second CONNECT leaves the first to log in once the recorder accepts.
    {TWaitRow::Connect, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::Connect, TEvent::ConflictingPress, kNone, kMainOnly, {}, true},

    // After the 101: as the log-in's later waits. The A/V connection is not there yet to be lost.
    {TWaitRow::AvConnect, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::AvConnect, TEvent::HeartbeatLost,    kLinkLost, kMainOnly, {}, false},
    {TWaitRow::AvConnect, TEvent::RemoteWorkEnded,  kNone,     kMainOnly, {}, true},
    {TWaitRow::AvConnect, TEvent::RecorderBusy,     kNone,     kMainOnly, {}, true},
    {TWaitRow::AvConnect, TEvent::PowerButton,      kNone,     {},        {}, false},
    {TWaitRow::AvConnect, TEvent::ConflictingPress, kNone,     kMainOnly, {}, true},

    // As the log list's file request; its reply in, the heartbeat runs again and can be lost.
    {TWaitRow::LogSettle, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogSettle, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogSettle, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::LogSettle, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::LogSettle, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::LogSettle, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::LogSettle, TEvent::ConflictingPress, kNone,        {"TFrmMain", "TfrmLoglist"}, {TActivity::SetupPass}, true},

    // Sent from a client logged in nowhere. Before the connection nothing can be lost or heard from the
    // recorder; a second OK is refused, and each recorder gets the file once.
    {TWaitRow::UploadConnect, TEvent::PowerButton,      kNone, {},                      {}, false},
    {TWaitRow::UploadConnect, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmUpload"}, {}, false, {QELFILE_CONFIG}},

    // The file is in. The upload's link has no A/V connection and no heartbeat; its close by the
    // recorder is no loss, and the recorder's event and status leave a client logged in nowhere alone.
    {TWaitRow::UploadPause, TEvent::CommandLinkLost,  kNone, {"TFrmMain", "TfrmUpload"}, {}, false, {QELFILE_CONFIG}},
    {TWaitRow::UploadPause, TEvent::RemoteWorkEnded,  kNone, {"TFrmMain", "TfrmUpload"}, {}, false, {QELFILE_CONFIG}},
    {TWaitRow::UploadPause, TEvent::RecorderBusy,     kNone, {"TFrmMain", "TfrmUpload"}, {}, false, {QELFILE_CONFIG}},
    {TWaitRow::UploadPause, TEvent::PowerButton,      kNone, {},                         {}, false},
    {TWaitRow::UploadPause, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmUpload"}, {}, false, {QELFILE_CONFIG}},

    // The check is the desktop's, not the link's: whatever becomes of the link, it tells its answer (here:
    // the map cannot be reached), once.
    {TWaitRow::MapCheck, TEvent::CommandLinkLost,  {{59878, 59879}, {50297, 50298}}, kMainOnly, {}, false},
    {TWaitRow::MapCheck, TEvent::AvLinkLost,       {{59878, 59879}, {50297, 50298}}, kMainOnly, {}, false},
    {TWaitRow::MapCheck, TEvent::HeartbeatLost,    {{59878, 59879}, {50297, 50298}}, kMainOnly, {}, false},
    {TWaitRow::MapCheck, TEvent::RemoteWorkEnded,  kMapUnreachable, kMainOnly, {}, true},
    {TWaitRow::MapCheck, TEvent::RecorderBusy,     kMapUnreachable, kMainOnly, {}, true},
    {TWaitRow::MapCheck, TEvent::PowerButton,      kNone,           {},        {}, false},
    {TWaitRow::MapCheck, TEvent::ConflictingPress, kMapUnreachable, kMainOnly, {}, true},

    // A local playback while logged in: the link's end ends it, and the release plays nothing on; the
    // recorder's event and status on the local look leave it playing from the knob.
    {TWaitRow::SliderSettle, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::SliderSettle, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::SliderSettle, TEvent::HeartbeatLost,    kLinkLost, kMainOnly, {}, false},
    {TWaitRow::SliderSettle, TEvent::RemoteWorkEnded,  kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},
    {TWaitRow::SliderSettle, TEvent::RecorderBusy,     kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},
    {TWaitRow::SliderSettle, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::SliderSettle, TEvent::ConflictingPress, kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},

    // A folder plays only while no recorder is connected: there is no link, and nothing from a recorder.
    // Refused, the search button leaves the scan to finish and the first file to open.
    {TWaitRow::FolderScan, TEvent::PowerButton,      kNone, {},                          {}, false},
    {TWaitRow::FolderScan, TEvent::ConflictingPress, kNone, {"TFrmMain", "TfrmFileList"}, {TActivity::LocalPlayback}, false},

    // Started from the local look, as the delay's row. The heartbeat is disarmed while the image goes: none
    // can be lost. Refused, a second press leaves the image to go on to the recorder, which installs it.
    {TWaitRow::UpgradeSend, TEvent::CommandLinkLost,  kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeSend, TEvent::AvLinkLost,       kLinkLost, kMainOnly, {}, false},
    {TWaitRow::UpgradeSend, TEvent::RemoteWorkEnded,  kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true, {QELFILE_FIRMWARE}},
    {TWaitRow::UpgradeSend, TEvent::RecorderBusy,     kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true, {QELFILE_FIRMWARE}},
    {TWaitRow::UpgradeSend, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::UpgradeSend, TEvent::ConflictingPress, kNone, {"TFrmMain", "TFrmUpdateStatus"}, {TActivity::Upgrade}, true, {QELFILE_FIRMWARE}},

    // As the map's check: the opener is the desktop's, and it tells its answer (here: nothing could show
    // the folder) whatever became of the link, once.
    {TWaitRow::DetectOpener, TEvent::CommandLinkLost,  {{59878, 59879}, {59886, kNothingShowsDisk}}, kMainOnly, {}, false},
    {TWaitRow::DetectOpener, TEvent::AvLinkLost,       {{59878, 59879}, {59886, kNothingShowsDisk}}, kMainOnly, {}, false},
    {TWaitRow::DetectOpener, TEvent::HeartbeatLost,    {{59878, 59879}, {59886, kNothingShowsDisk}}, kMainOnly, {}, false},
    {TWaitRow::DetectOpener, TEvent::RemoteWorkEnded,  kOpenerFailed, kMainOnly, {}, true},
    {TWaitRow::DetectOpener, TEvent::RecorderBusy,     kOpenerFailed, kMainOnly, {}, true},
    {TWaitRow::DetectOpener, TEvent::PowerButton,      kNone,         {},        {}, false},
    {TWaitRow::DetectOpener, TEvent::ConflictingPress, kOpenerFailed, kMainOnly, {}, true},

    // The rings fill within milliseconds and the wait has no limit: the recorder's events cannot surely
    // come inside it, so only the presses are cells (WaitEndsTest ends it through the way out itself).
    // Refused, the recorder disk button leaves the recording playing as Play started it.
    {TWaitRow::PlayRings, TEvent::PowerButton,      kNone, {},        {}, false},
    {TWaitRow::PlayRings, TEvent::ConflictingPress, kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},

    // As the apply's wait for its reply. The recorder still reads nothing when its event or status ends the
    // pass: the rest of the file stays queued, and the menu's OK stops quietly. Refused, a second OK leaves
    // the file to go and be applied.
    {TWaitRow::ApplySend, TEvent::CommandLinkLost,  kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::ApplySend, TEvent::AvLinkLost,       kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::ApplySend, TEvent::HeartbeatLost,    kLinkLost,    kMainOnly, {}, false},
    {TWaitRow::ApplySend, TEvent::RemoteWorkEnded,  kRemoteEnded, kMainOnly, {}, true},
    {TWaitRow::ApplySend, TEvent::RecorderBusy,     kNone,        kMainOnly, {}, true},
    {TWaitRow::ApplySend, TEvent::PowerButton,      kNone,        {},        {}, false},
    {TWaitRow::ApplySend, TEvent::ConflictingPress, kNone,        kMainOnly, {}, true, {QELFILE_CONFIG}},

    // No recorder answers and none is logged in: nothing of a link can come. The recording ends inside the
    // wait, paused at its end without its sound; refused, a second CONNECT leaves the first to fail.
    {TWaitRow::ConnectNoAnswer, TEvent::PowerButton,      kNone,          {},        {}, false},
    {TWaitRow::ConnectNoAnswer, TEvent::ConflictingPress, kCannotConnect, kMainOnly, {TActivity::LocalPlayback}, false},

    // As Play's wait with the recorder disk button: refused, the other row and the copy buttons leave the
    // recording playing as Play started it.
    {TWaitRow::PlayRingsList,   TEvent::ConflictingPress, kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},
    {TWaitRow::PlayRingsRecord, TEvent::ConflictingPress, kNone, kMainOnly, {TActivity::LocalPlayback, TActivity::Sound}, true},
};
// clang-format on

const std::vector<WaitCell>& WaitCells() {
    return kCells;
}

bool StopsHeartbeat(TWaitRow r) {
    switch (r) {
    case TWaitRow::LiveStatus:
    case TWaitRow::SearchStop:
    case TWaitRow::SetupDownload:
    case TWaitRow::LiveStop:
    case TWaitRow::LogList:
    case TWaitRow::RemoteRecord:
    case TWaitRow::LiveTabStatus:
    case TWaitRow::LiveTabConfig:
    case TWaitRow::SearchTabMode:
    case TWaitRow::SearchStatus:
    case TWaitRow::TransportStop:
    case TWaitRow::LogListCameras:
    case TWaitRow::UpgradeCheck:
    case TWaitRow::UpgradeStatus:
    case TWaitRow::Heartbeat:
    case TWaitRow::LogInSysinfo:
    case TWaitRow::LogInOption:
    case TWaitRow::LogInStatus:
    case TWaitRow::LogInCameras:
    case TWaitRow::LocalLiveStop:
    case TWaitRow::LocalSearchStop:
    case TWaitRow::LocalMode:
    case TWaitRow::SearchTabStatus:
    case TWaitRow::SearchTabLast:
    case TWaitRow::LiveTabLast:
    case TWaitRow::BackFive:
    case TWaitRow::SearchCameras:
        return true;
    default:
        return false;
    }
}

DWORD HeldCommand(TWaitRow r) {
    switch (r) {
    case TWaitRow::DatabaseDownload:
    case TWaitRow::LiveTabFile:
    case TWaitRow::DisconnectPause:
    case TWaitRow::PowerPause:
    case TWaitRow::Connect:
    case TWaitRow::AvConnect:
    case TWaitRow::LogSettle:
    case TWaitRow::UploadConnect:
    case TWaitRow::UploadPause:
    case TWaitRow::MapCheck:
    case TWaitRow::SliderSettle:
    case TWaitRow::FolderScan:
    case TWaitRow::UpgradeSend:
    case TWaitRow::DetectOpener:
    case TWaitRow::PlayRings:
    case TWaitRow::ApplySend:
    case TWaitRow::ConnectNoAnswer:
    case TWaitRow::PlayRingsList:
    case TWaitRow::PlayRingsRecord:
        return 0;
    case TWaitRow::LiveStatus:
        return NETCMD_CAMERA_INFO;
    case TWaitRow::SearchStop:
        return NETCMD_SEARCH_STOP;
    case TWaitRow::SetupDownload:
        return NETCMD_FILE_REQUEST;
    case TWaitRow::Apply:
        return NETCMD_APPLY;
    case TWaitRow::BackupSize:
        return NETCMD_BACKUP_SIZE;
    case TWaitRow::RecordingOk:
        return NETCMD_FILE;
    case TWaitRow::LiveStop:
        return NETCMD_LIVE_STOP;
    case TWaitRow::LogList:
        return NETCMD_FILE_REQUEST;
    case TWaitRow::RemoteRecord:
        return NETCMD_REMOTE_RECORD;
    case TWaitRow::SetupFiles:
    case TWaitRow::UpgradeDelay:
        return 0;
    case TWaitRow::LiveTabStatus:
    case TWaitRow::SearchStatus:
    case TWaitRow::UpgradeStatus:
        return NETCMD_STATUS;
    case TWaitRow::LiveTabConfig:
        return NETCMD_FILE_REQUEST;
    case TWaitRow::SearchTabMode:
        return NETCMD_MODE;
    case TWaitRow::TransportStop:
        return NETCMD_SEARCH_STOP;
    case TWaitRow::LogListCameras:
        return NETCMD_CAMERA_INFO;
    case TWaitRow::UpgradeCheck:
    case TWaitRow::LogInSysinfo:
        return NETCMD_SYSINFO;
    case TWaitRow::LogInOption:
        return NETCMD_LOGIN_OPTION;
    case TWaitRow::LogInStatus:
        return NETCMD_STATUS;
    case TWaitRow::LogInPassword:
        return NETCMD_PASSWORD;
    case TWaitRow::Heartbeat:
        return NETCMD_HEARTBEAT;
    case TWaitRow::LogInCameras:
    case TWaitRow::SearchCameras:
        return NETCMD_CAMERA_INFO;
    case TWaitRow::LocalLiveStop:
        return NETCMD_LIVE_STOP;
    case TWaitRow::LocalSearchStop:
    case TWaitRow::BackFive:
        return NETCMD_SEARCH_STOP;
    case TWaitRow::LocalMode:
        return NETCMD_MODE;
    case TWaitRow::SearchTabStatus:
    case TWaitRow::SearchTabLast:
    case TWaitRow::LiveTabLast:
        return NETCMD_STATUS;
    }
    return 0;
}

bool EndsProgram(const WaitCell& c) {
    return c.event == TEvent::PowerButton || c.row == TWaitRow::PowerPause;
}

std::size_t HeldAfter(TWaitRow r) {
    // Each tab asks the status before its 108 and again after it.
    return r == TWaitRow::SearchTabLast || r == TWaitRow::LiveTabLast ? 1 : 0;
}

std::optional<bool> HeldAccept(TWaitRow r) {
    if (r == TWaitRow::Connect || r == TWaitRow::UploadConnect) return false;
    if (r == TWaitRow::AvConnect) return true;
    return std::nullopt;
}

std::vector<DWORD> Continuation(TWaitRow r) {
    switch (r) {
    case TWaitRow::DatabaseDownload:
        return {NETCMD_STATUS};
    case TWaitRow::LiveStatus:
        return {NETCMD_LIVE_START};
    case TWaitRow::SetupDownload:
    case TWaitRow::SetupFiles:
    case TWaitRow::LogListCameras:
        return {NETCMD_FILE_REQUEST};
    case TWaitRow::SearchTabMode:
        return {NETCMD_STATUS};
    case TWaitRow::LocalSearchStop:
        return {NETCMD_MODE};
    case TWaitRow::LiveTabLast:
        return {NETCMD_FILE_REQUEST};
    case TWaitRow::BackFive:
        return {NETCMD_SEARCH};
    default:
        return {};
    }
}

std::optional<TActivity> SendServes(TWaitRow r) {
    if (r == TWaitRow::UpgradeSend) return TActivity::Upgrade;
    if (r == TWaitRow::ApplySend) return TActivity::SetupPass;
    return std::nullopt;
}

bool NeverAnswered(TWaitRow r) {
    return r == TWaitRow::ConnectNoAnswer;
}

void PrintTo(const WaitCell& c, std::ostream* out) {
    *out << RowName(c.row) << " x " << EventName(c.event);
}

} // namespace client_tests::wait_table
