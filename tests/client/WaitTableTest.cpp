// The client's pumped waits caught by every event that can reach them while they pump, against the
// simulated recorder, as one table: the rows are the waits (the recorder holds the reply the wait is for,
// or sends its file slowly), the columns the events, each cell one run with its outcome written out:
// the boxes in their order, the windows that show, what runs, and that the waiting handler, once the
// reply comes after all, starts nothing of the ended work. After each cell the client logs in again and
// live view brings pictures within five seconds.
//
// Waits that are no rows yet: connect and A/V connect, the log-in's 107, every send's own wait, the power
// button's pause, the search tab's 109 before and after its 108, the live tab's second 109, the LOCAL tab's
// 113, 115 and 108, the search's 107 after its database, five seconds back's 115, the log list's settle, the
// slider's settle, the detect button's opener, the map check, the play list's folder scan and the upload to
// several recorders. WaitEndsTest has the reader's rings.
#include "tests/client/SessionRig.h"

#include "client/formupdatestat.h"
#include "playback/Backup.h"
#include "setup/Menu.h"
#include "setup/Record2.h"
#include "setup/Syslog.h"

#include "platform/vcl/FormTesting.h"

#include <algorithm>

namespace client_tests {
namespace {

using testing_support::FakeTick;

enum class TWaitRow {
    DatabaseDownload, // the search's database, 105 kind 4, sent slowly (remote search)
    LiveStatus,       // the live button's 107 after 109 (live view)
    SearchStop,       // the search stop's 115 (remote search)
    SetupDownload,    // the setup button's file requests, 105 (setup pass)
    Apply,            // the setup menu's OK, 121 after the upload (setup pass)
    BackupSize,       // the backup window's 125 (backup)
    RecordingOk,      // the recording page's OK, the holiday and schedule uploads, 104 (setup pass)
    LiveStop,         // the live stop button's 113 (live view)
    SetupFiles,       // the setup button's ten seconds for each file, sent slowly (setup pass)
    LogList,          // the setup menu's log list, 105 kind 5 (setup pass)
    UpgradeDelay,     // the moment the recorder gets with the image before it installs (upgrade)
    RemoteRecord,     // the live tab's remote record button, 118 (the live tab)
    DisconnectPause,  // the disconnect's four seconds (the disconnect itself)
    LiveTabStatus,    // the live tab's first 109, still on the local look (the link)
    LiveTabConfig,    // the live tab's config.ini, 105, still on the local look (the link)
    SearchTabMode,    // the search tab's 108, on the search look (the link)
    SearchStatus,     // the search's 109 after its database (remote search)
    TransportStop,    // the transport's STOP in a remote search, 115 (the link)
    LogListCameras,   // the log list's 107 before its file (setup pass)
    UpgradeCheck,     // the upgrade's 101 before the image is chosen (the link)
    UpgradeStatus,    // the upgrade's 109 when the 101 says 2 (the link)
    Heartbeat,        // the heartbeat's 122, on the live look (the link)
    LogInSysinfo,     // the log-in's 101, before the A/V connection (the link)
    LogInOption,      // the log-in's 119 (the link)
    LogInStatus,      // the log-in's 109 after its 107 (the link)
    LogInPassword,    // the log-in's answer to the password, 102 (the link)
};

enum class TEvent {
    CommandLinkLost,
    AvLinkLost,
    HeartbeatLost,   // three heartbeats unanswered; only where the wait leaves the heartbeat running
    RemoteWorkEnded, // event 4, detail 1
    RecorderBusy,    // an unasked status 2
    PowerButton,
    // The row's own button once more; on the recording page CANCEL, on the search tab's 108 (where the tab
    // itself is already shown) the LOCAL tab, on the heartbeat the live start button.
    ConflictingPress,
};

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

using TBoxIds = std::vector<std::pair<int, int>>; // caption, text
const TBoxIds kLinkLost = {{59878, 59879}};
const TBoxIds kRemoteEnded = {{59878, 59868}};
const TBoxIds kNone = {};
const TBoxIds kBusyAnswer = {{59862, 59868}};
// The upgrade's question whether to send the image, whose text is the image's path.
constexpr int kImagePath = -1;
const TBoxIds kImageQuestion = {{59867, kImagePath}};

struct WaitCell {
    TWaitRow row;
    TEvent event;
    // By hand: the boxes from the event on, in order; the windows that show once the wait has ended and its
    // reply has come; the activities that run then; the link is still up.
    TBoxIds boxes;
    std::set<std::string> windows;
    std::vector<TActivity> running;
    bool linkUp;
    // The kinds of the files the recorder received from the press on, in order; not checked when empty.
    std::vector<DWORD> uploads = {};
    // The tab the main window shows at the end; on the local tab with the main window alone, its whole look.
    int mode = kModeLocal;
};

const std::set<std::string> kMainOnly = {"TFrmMain"};

// clang-format off
const WaitCell kCells[] = {
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
};
// clang-format on

// The wait sends and waits for its reply: the heartbeat timer is off while it pumps, so no heartbeat
// can be lost inside it.
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
        return true;
    default:
        return false;
    }
}

// The command whose reply the row's wait is for (0: none held).
DWORD HeldCommand(TWaitRow r) {
    switch (r) {
    case TWaitRow::DatabaseDownload:
    case TWaitRow::DisconnectPause:
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
    }
    return 0;
}

// What the row's caller would send next if it went on after its work had ended, by hand.
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
    default:
        return {};
    }
}

// The recorder's event 4 and its unasked status travel on the command connection behind the database's
// last bytes: read apart from them, they find the search's 109 already asked, and its reply ends it.
bool ComesBehindTheFile(const WaitCell& c) {
    return c.row == TWaitRow::DatabaseDownload &&
           (c.event == TEvent::RemoteWorkEnded || c.event == TEvent::RecorderBusy);
}

void PrintTo(const WaitCell& c, std::ostream* out) {
    *out << RowName(c.row) << " x " << EventName(c.event);
}

std::string CellName(const ::testing::TestParamInfo<WaitCell>& info) {
    std::string name = std::string(RowName(info.param.row)) + "_" + EventName(info.param.event);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class EveryWait : public SessionRig, public ::testing::WithParamInterface<WaitCell> {
protected:
    // Runs `fire` from the message loop, inside whatever wait pumps it, once `ready` holds.
    static void WhenReady(std::function<bool()> ready, std::function<void()> fire) {
        form_testing::RunLater([ready, fire] {
            if (ready())
                fire();
            else
                WhenReady(ready, fire);
        });
    }

    // The row's handler, up to the moment it starts its wait.
    void Prepare(TWaitRow row, recsim::RecSim& sim) {
        switch (row) {
        case TWaitRow::DatabaseDownload:
        case TWaitRow::BackupSize:
        case TWaitRow::SearchStatus:
            Answer(mrYes);
            FrmMain->btnSer_mClick(FrmMain->btnSer_m);
            whileBoxUp = nullptr;
            ASSERT_EQ(FrmMain->CurrentMode, kModeSearch);
            FrmMain->BtnSerClick(FrmMain->BtnSer);
            ASSERT_TRUE(FrmSerDevice->Visible());
            if (row == TWaitRow::BackupSize) {
                FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
                frmSearch->btnAllClick(frmSearch->btnAll);
                ASSERT_TRUE(frmBackup->SetStartTime("200801010900"));
                ASSERT_TRUE(frmBackup->SetEndTime("200801010902"));
            } else if (row == TWaitRow::DatabaseDownload) {
                recsim::SimFaults f = sim.Faults();
                f.slowFilePiece = 256;
                f.slowFileGapMs = 60;
                sim.SetFaults(f);
            }
            break;
        case TWaitRow::LiveStatus:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
            break;
        case TWaitRow::SearchStop:
        case TWaitRow::TransportStop:
            ASSERT_NO_FATAL_FAILURE(StartRemoteSearch(sim));
            break;
        case TWaitRow::LiveTabStatus:
        case TWaitRow::LiveTabConfig:
        case TWaitRow::SearchTabMode:
            break;
        case TWaitRow::Heartbeat:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
            ASSERT_NE(FrmMain->HeartbeatArmed, 0);
            break;
        case TWaitRow::LogInSysinfo:
        case TWaitRow::LogInOption:
        case TWaitRow::LogInStatus:
        case TWaitRow::LogInPassword: {
            FakeTick tick(1000, 10);
            FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
            ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
            port_ = std::to_string(sim.CommandPort());
            break;
        }
        case TWaitRow::SetupDownload:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            break;
        case TWaitRow::Apply:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            break;
        case TWaitRow::RecordingOk:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            frmMenu->btnRecordClick(frmMenu->btnRecord);
            form_testing::ProcessEvents();
            ASSERT_TRUE(frmRecord2->Visible());
            break;
        case TWaitRow::LiveStop:
        case TWaitRow::DisconnectPause:
            ASSERT_NO_FATAL_FAILURE(StartLive());
            break;
        case TWaitRow::RemoteRecord:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            ASSERT_TRUE(FrmMain->BtnRemote_rec->Visible());
            break;
        case TWaitRow::SetupFiles: {
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            recsim::SimFaults f = sim.Faults();
            f.slowFilePiece = 64;
            f.slowFileGapMs = 40;
            sim.SetFaults(f);
            break;
        }
        case TWaitRow::LogList:
        case TWaitRow::LogListCameras:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            break;
        case TWaitRow::UpgradeDelay:
        case TWaitRow::UpgradeCheck:
        case TWaitRow::UpgradeStatus:
            testing_support::WriteFileBytes(HomeFile("fw.bin"), std::string(10000, 'F'));
            firmware_ = std::make_unique<form_testing::ScopedFileAnswer>(HomeFile("fw.bin"));
            if (row == TWaitRow::UpgradeStatus) {
                // A 101 answered 2 makes the upgrade ask the recorder's status.
                recsim::SimFaults f = sim.Faults();
                f.replies[NETCMD_SYSINFO].result = 2;
                sim.SetFaults(f);
            }
            break;
        }
        if (HeldCommand(row) != 0) sim.HoldReplies(HeldCommand(row), true);
    }

    // The press that starts the row's wait; pressed again, the conflicting press.
    void Press(TWaitRow row) {
        switch (row) {
        case TWaitRow::DatabaseDownload:
        case TWaitRow::SearchStatus:
            FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
            break;
        case TWaitRow::LiveTabStatus:
        case TWaitRow::LiveTabConfig:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            break;
        case TWaitRow::SearchTabMode:
            FrmMain->btnSer_mClick(FrmMain->btnSer_m);
            break;
        case TWaitRow::TransportStop:
            FrmMain->BtnStopClick(FrmMain->BtnStop);
            break;
        case TWaitRow::LogInSysinfo:
        case TWaitRow::LogInOption:
        case TWaitRow::LogInStatus:
        case TWaitRow::LogInPassword:
            LogIn("127.0.0.1", port_, "1234", 1);
            break;
        case TWaitRow::Heartbeat:
            // The timer's ticks until one beats; the beat waits inside its tick.
            for (int tick = 0; tick <= kHeartbeatTicks && !fired_; ++tick)
                FrmMain->TimerHeartBeatTimer(FrmMain->TimerHeartBeat);
            break;
        case TWaitRow::BackupSize:
            frmCalendar->btnBackupClick(frmCalendar->btnBackup);
            break;
        case TWaitRow::LiveStatus:
            FrmMain->BtnLiveClick(FrmMain->BtnLive);
            break;
        case TWaitRow::SearchStop:
            FrmMain->BtnDisserClick(FrmMain->BtnDisser);
            break;
        case TWaitRow::SetupDownload:
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            break;
        case TWaitRow::Apply:
            // The menu asks first whether to apply.
            Answer(mrYes);
            frmMenu->btnOkClick(frmMenu->btnOk);
            break;
        case TWaitRow::RecordingOk:
            frmRecord2->btnOkClick(frmRecord2->btnOk);
            break;
        case TWaitRow::LiveStop:
            FrmMain->BtnDisliveClick(FrmMain->BtnDislive);
            break;
        case TWaitRow::SetupFiles:
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            break;
        case TWaitRow::LogList:
        case TWaitRow::LogListCameras:
            frmMenu->btnLoglistClick(frmMenu->btnLoglist);
            break;
        case TWaitRow::UpgradeDelay:
        case TWaitRow::UpgradeCheck:
        case TWaitRow::UpgradeStatus:
            FrmMain->BtnUpgradeClick(FrmMain->BtnUpgrade);
            break;
        case TWaitRow::RemoteRecord:
            FrmMain->BtnRemote_recClick(FrmMain->BtnRemote_rec);
            break;
        case TWaitRow::DisconnectPause:
            FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
            break;
        }
    }

    // A press that would start, end or change the row's work while it waits.
    void Conflict(TWaitRow row) {
        if (row == TWaitRow::RecordingOk)
            frmRecord2->btnCancelClick(frmRecord2->btnCancel);
        else if (row == TWaitRow::Heartbeat)
            FrmMain->BtnLiveClick(FrmMain->BtnLive);
        else if (row == TWaitRow::SearchTabMode)
            FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
        else if (row == TWaitRow::LogInSysinfo || row == TWaitRow::LogInOption ||
                 row == TWaitRow::LogInStatus || row == TWaitRow::LogInPassword)
            FrmMain->BtnConnectClick(FrmMain->BtnConnect);
        else
            Press(row);
    }

    // The wait pumps: its reply is held, its file is on the way, or its pause has begun.
    static std::function<bool()> Waiting(TWaitRow row, recsim::RecSim& sim, std::size_t from) {
        const DWORD held = HeldCommand(row);
        if (held != 0) return [&sim, held] { return sim.HeldReplies(held) > 0; };
        if (row == TWaitRow::DatabaseDownload)
            return [&sim, from] {
                const auto packets = sim.Log().Packets();
                for (std::size_t i = from; i < packets.size(); ++i)
                    if (packets[i].packet.Command() == NETCMD_FILE_REQUEST &&
                        packets[i].packet.Arg0() == QELFILE_DATABASE)
                        return FrmMain->Receiver.ShowDownloadGauge();
                return false;
            };
        // The files' own wait: every file asked (info.ini last), the first still on its way.
        if (row == TWaitRow::SetupFiles)
            return [&sim, from] {
                const auto packets = sim.Log().Packets();
                for (std::size_t i = from; i < packets.size(); ++i)
                    if (packets[i].packet.Command() == NETCMD_FILE_REQUEST &&
                        packets[i].packet.Arg0() == QELFILE_INFO)
                        return FrmMain->Receiver.ReceiveMode() == 1;
                return false;
            };
        if (row == TWaitRow::UpgradeDelay) return [&sim] { return sim.Firmware().has_value(); };
        const auto start = std::chrono::steady_clock::now();
        return [start] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(500); };
    }

    void Fire(const WaitCell& c, recsim::RecSim& sim) {
        boxesBefore_ = seen_.size();
        heartbeatTimerAtFire_ = FrmMain->TimerHeartBeat->Enabled();
        switch (c.event) {
        case TEvent::CommandLinkLost:
            sim.CloseCommandConnection();
            break;
        case TEvent::AvLinkLost:
            sim.CloseAvConnection();
            break;
        case TEvent::HeartbeatLost: {
            sim.SetMute(true);
            FakeTick tick(1000, 25);
            for (int second = 0; second < 300 && FrmMain->CliSocket->State() == wsConnected; ++second)
                FrmMain->TimerHeartBeatTimer(FrmMain->TimerHeartBeat);
            sim.SetMute(false);
            break;
        }
        case TEvent::RemoteWorkEnded:
            sim.EndRemoteWork(1);
            break;
        case TEvent::RecorderBusy:
            sim.SetStatus(2, true);
            break;
        case TEvent::PowerButton: {
            FakeTick tick(1000, 10);
            FrmMain->BtnPowerClick(FrmMain->BtnPower);
            break;
        }
        case TEvent::ConflictingPress:
            requestsBefore_ = Requests(sim);
            Conflict(c.row);
            requestsAfter_ = Requests(sim);
            break;
        }
        fired_ = true;
        afterEvent_ = sim.Log().Packets().size();
    }

    // Requests (type 16, not replies) the recorder received.
    static std::size_t Requests(recsim::RecSim& sim) { return Commands(sim).size(); }

    std::vector<DWORD> CommandsAfterEvent(recsim::RecSim& sim) const {
        std::vector<DWORD> out;
        const auto packets = sim.Log().Packets();
        for (std::size_t i = afterEvent_; i < packets.size(); ++i)
            if (packets[i].packet.Type() == NETMSG) out.push_back(packets[i].packet.Command());
        return out;
    }

    std::unique_ptr<form_testing::ScopedFileAnswer> firmware_;
    std::string port_;
    bool fired_ = false;
    std::size_t afterEvent_ = 0;
    std::size_t requestsBefore_ = 0, requestsAfter_ = 0;
    std::size_t boxesBefore_ = 0;
    bool heartbeatTimerAtFire_ = false;
};

TEST_P(EveryWait, EndsWithItsWorkAndTheNextLogInWorks) {
    const WaitCell& c = GetParam();
    recsim::RecSim& sim = Recorder();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    ASSERT_NO_FATAL_FAILURE(Prepare(c.row, sim));
    seen_.clear();
    const std::size_t from = sim.Log().Packets().size();
    const std::size_t uploadsFrom = sim.Log().Uploads().size();
    WhenReady(Waiting(c.row, sim, from), [&] {
        Fire(c, sim);
        // The reply the wait was for comes after all, while the link lives.
        if (HeldCommand(c.row) != 0 && c.event != TEvent::CommandLinkLost && c.event != TEvent::AvLinkLost &&
            c.event != TEvent::HeartbeatLost)
            sim.ReleaseReplies(0);
    });
    Press(c.row);
    ASSERT_TRUE(fired_) << "the event never came while the wait pumped";
    if (StopsHeartbeat(c.row))
        EXPECT_FALSE(heartbeatTimerAtFire_) << "a heartbeat could be lost inside the wait";
    // Whatever is still under way settles.
    PumpReal([] { return false; }, 1500);

    if (c.event == TEvent::PowerButton) {
        EXPECT_TRUE(Application->Terminated());
    } else {
        EXPECT_EQ(LinkUp(), c.linkUp);
        EXPECT_EQ(ShowingWindows(), c.windows);
        if (c.mode != kModeLocal) {
            EXPECT_EQ(FrmMain->CurrentMode, c.mode);
        }
    }
    std::vector<TSeenBox> boxes;
    for (const auto& [caption, text] : c.boxes)
        boxes.push_back(text == kImagePath ? TSeenBox{FrmMain->LoadLangString(caption), HomeFile("fw.bin")}
                                           : Box(caption, text));
    EXPECT_EQ(std::vector<TSeenBox>(seen_.begin() + static_cast<std::ptrdiff_t>(boxesBefore_), seen_.end()),
              boxes);
    for (TActivity a :
         {TActivity::LiveView, TActivity::RemoteSearch, TActivity::SearchBackup, TActivity::Backup,
          TActivity::SetupPass, TActivity::Upgrade, TActivity::Sound, TActivity::LocalPlayback})
        EXPECT_EQ(FrmMain->Activities.Running(a), std::count(c.running.begin(), c.running.end(), a) == 1)
            << ActivityName(a);
    if (!c.uploads.empty()) {
        std::vector<DWORD> kinds;
        const auto uploads = sim.Log().Uploads();
        for (std::size_t i = uploadsFrom; i < uploads.size(); ++i)
            kinds.push_back(uploads[i].kind);
        EXPECT_EQ(kinds, c.uploads);
    }
    if (c.event == TEvent::ConflictingPress) {
        // Refused: the recorder heard nothing of the second press.
        EXPECT_EQ(requestsAfter_, requestsBefore_);
    } else if (c.event != TEvent::PowerButton) {
        // The ended work's caller stopped quietly: nothing of what it would have gone on to ask.
        for (DWORD next : ComesBehindTheFile(c) ? std::vector<DWORD>{} : Continuation(c.row)) {
            const auto after = CommandsAfterEvent(sim);
            EXPECT_EQ(std::count(after.begin(), after.end(), next), 0) << next;
        }
        if (c.windows == kMainOnly && c.mode == kModeLocal) ExpectTheLocalLook();
    }

    // Back in: live pictures within five seconds.
    sim.ClearFaults();
    sim.SetStatus(1, false);
    if (c.event == TEvent::PowerButton) RestartProgram();
    if (FrmMain->CliSocket->State() == wsConnected) {
        FakeTick tick(1000, 10);
        FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
    }
    ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
    whileBoxUp = nullptr;
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    seen_.clear();
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
}

INSTANTIATE_TEST_SUITE_P(Table, EveryWait, ::testing::ValuesIn(kCells), CellName);

// A connect that does not reach a recorder (refused, or no answer in time) leaves the local playback
// that runs as it was: the client's work changes only once a recorder is there.
class FailedConnect : public SessionRig {};

TEST_F(FailedConnect, LeavesLocalPlaybackPlaying) {
    // A port nobody listens on any more: the connection is refused at once.
    recsim::RecSim& gone = StartSim();
    const int port = gone.CommandPort();
    gone.Stop();
    ASSERT_NO_FATAL_FAILURE(StartLocalPlayback(true));
    seen_.clear();
    LogIn("127.0.0.1", std::to_string(port), "1234", 1);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
    EXPECT_FALSE(LinkUp());
    EXPECT_TRUE(FrmMain->Activities.Running(TActivity::LocalPlayback));
    EXPECT_TRUE(FrmMain->Activities.Running(TActivity::Sound));
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_TRUE(FrmMain->VideoReader->IsReaderRunning());
    EXPECT_GE(ScreensInUse(), 1);
    EXPECT_TRUE(Idle());

    // The recorder that is there resets it, and shows its cameras.
    recsim::RecSim& sim = Recorder();
    seen_.clear();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::LocalPlayback));
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
}

} // namespace
} // namespace client_tests
