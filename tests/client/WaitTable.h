// The wait table's rows and columns, and each cell's outcome written out by hand (WaitTableRows.cpp);
// WaitTableTest.cpp runs them against the simulated recorder.
#pragma once

#include "tests/client/SessionRig.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace client_tests::wait_table {

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
    LiveTabFile,      // the live tab's config.ini after its reply, sent slowly (the link)
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
    LogInCameras,     // the log-in's 107 (the link)
    LocalLiveStop,    // the LOCAL tab's 113 from live view (live view)
    LocalSearchStop,  // the LOCAL tab's 115 in a remote search (remote search)
    LocalMode,        // the LOCAL tab's 108 on the search look, no search running (the link)
    SearchTabStatus,  // the search tab's 109 before its 108, still on the local look (the link)
    SearchTabLast,    // the search tab's 109 after its 108, on the search look (the link)
    LiveTabLast,      // the live tab's second 109, after its 108 from the search look (the link)
    BackFive,         // five seconds back's 115 in a remote search (the link)
    SearchCameras,    // the search's 107 after its database, from a recorder that says 4 (the link)
    PowerPause,       // the power button's five seconds after its stop commands (the way out itself)
    Connect,          // the connect, the recorder slow to accept (the link)
    AvConnect,        // the log-in's A/V connect, the recorder slow to accept it (the link)
    LogSettle,        // the log list's second after its file has come (setup pass)
    UploadConnect,    // the upload's connect to the first of two recorders, slow to accept (the link)
    UploadPause,      // the upload's second for the last recorder to take the file (the link)
    MapCheck,         // the map button's check that the map can be reached, on the local look (local task)
    SliderSettle,     // the slider's release, a moment for the stopped reader (local playback)
    FolderScan,       // the FILE button's scan of the chosen folder, logged in nowhere (local task)
    UpgradeSend,      // the image's own sends, more than the sockets hold, the recorder not reading (upgrade)
    DetectOpener,     // the detect button's wait for the desktop's opener of the disk's folder (local task)
    PlayRings,        // Play's wait for the reader to fill its rings (local playback)
    ApplySend,        // the setup menu's OK, config.ini's own sends, the recorder not reading (setup pass)
    ConnectNoAnswer,  // a connect never answered while a local recording plays to its end (the link)
    PlayRingsList,    // Play's wait for the rings, the play list's other row clicked (local playback)
    PlayRingsRecord,  // Play's wait for the rings, REC START and REC STOP pressed (local playback)
};

enum class TEvent {
    CommandLinkLost,
    AvLinkLost,
    HeartbeatLost,   // three heartbeats unanswered; only where the wait leaves the heartbeat running
    RemoteWorkEnded, // event 4, detail 1
    RecorderBusy,    // an unasked status 2
    PowerButton,
    // The row's own button once more; on the recording page CANCEL, on the search tab's 108 and last 109
    // (where the tab itself is already shown) the LOCAL tab, on the heartbeat the live start button.
    ConflictingPress,
};

const char* RowName(TWaitRow r);
const char* EventName(TEvent e);

using TBoxIds = std::vector<std::pair<int, int>>; // caption, text
inline const TBoxIds kLinkLost = {{59878, 59879}};
inline const TBoxIds kRemoteEnded = {{59878, 59868}};
inline const TBoxIds kNone = {};
inline const TBoxIds kBusyAnswer = {{59862, 59868}};
inline const TBoxIds kMapUnreachable = {{50297, 50298}};
inline const TBoxIds kCannotConnect = {{59824, 59877}};
// The upgrade's question whether to send the image, whose text is the image's path.
inline constexpr int kImagePath = -1;
inline const TBoxIds kImageQuestion = {{59867, kImagePath}};
// The detect button's box when the opener found nothing to show the recorder disk's folder with.
inline constexpr int kNothingShowsDisk = -2;
inline const TBoxIds kOpenerFailed = {{59886, kNothingShowsDisk}};
inline constexpr const char* kDiskFolder = "/media/rec/";

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

inline const std::set<std::string> kMainOnly = {"TFrmMain"};

void PrintTo(const WaitCell& c, std::ostream* out);

// Every cell of the table, in order.
const std::vector<WaitCell>& WaitCells();

// The wait sends and waits for its reply: the heartbeat timer is off while it pumps, so no heartbeat
// can be lost inside it.
bool StopsHeartbeat(TWaitRow r);
// The command whose reply the row's wait is for (0: none held).
DWORD HeldCommand(TWaitRow r);
// The replies to that command that still go out before the one the wait is for.
std::size_t HeldAfter(TWaitRow r);
// The program has ended by the cell's end: its power button was pressed.
bool EndsProgram(const WaitCell& c);
// The row's wait is for the recorder to accept a connection: its command port (false) or its A/V port
// (true); nothing when the row's wait is another.
std::optional<bool> HeldAccept(TWaitRow r);
// What the row's caller would send next if it went on after its work had ended, by hand.
std::vector<DWORD> Continuation(TWaitRow r);
// The row's wait is a send's own: the work it serves (nothing when the row's wait is another).
std::optional<TActivity> SendServes(TWaitRow r);
// The row's connect is never answered: its limit passes once the event has come.
bool NeverAnswered(TWaitRow r);

} // namespace client_tests::wait_table
