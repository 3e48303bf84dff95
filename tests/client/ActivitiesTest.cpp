// Every activity of the main window ended by every way the client's work ends, against the simulated
// recorder, as one table: the rows are the activities, the columns the ways out, each cell one run.
// After the way out the recorder has heard the stop commands it should (and nothing once the link is
// gone), nothing of the ended work is left in the record, its queues, files, clocks or sockets, only the
// main window shows, in its local look, and the boxes are the way's own. Then the client logs in again,
// live view brings pictures to every screen within five seconds and a remote search plays.
//
// A user cannot reach every cell by the buttons alone (the main window is disabled while the setup menu
// is up; local playback runs only while no recorder is logged in, so the link's ways find it running
// only when the test starts it so); there the handler is called as the button would call it.
#include "tests/client/SessionRig.h"
#include "tests/playback/RecordingMaker.h"
#include "tests/recdb/SearchRig.h"

#include "client/HarbekWindows.h"
#include "client/formupdatestat.h"
#include "controls/BmButton.h"
#include "playback/Qelvidfile.h"
#include "setup/Syslog.h"
#include "tools/recgen/SynthCamera.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/TestHooks.h"

#include <algorithm>
#include <set>

namespace client_tests {
namespace {

using testing_support::FakeTick;

struct ActivityRow {
    TActivity activity;
    int tab; // where it runs
    // Sent while the link lives, in this order.
    std::vector<DWORD> stops;
    // The recorder's end of remote work and its busy status leave it running.
    bool outlivesRemoteEnd;
};

const ActivityRow kRows[] = {
    {TActivity::LiveView, kModeLive, {NETCMD_LIVE_STOP}, false},
    {TActivity::RemoteSearch, kModeSearch, {NETCMD_SEARCH_STOP}, false},
    {TActivity::SearchBackup, kModeSearch, {NETCMD_SEARCH_STOP}, false},
    {TActivity::Backup, kModeSearch, {NETCMD_SEARCH_STOP}, false},
    {TActivity::SetupPass, kModeLive, {}, false},
    // Installing while the user watches the live tab: the recorder ending the tab's work is not the end
    // of the installation.
    {TActivity::Upgrade, kModeLive, {}, true},
    {TActivity::Sound, kModeLocal, {}, true},
    {TActivity::LocalPlayback, kModeLocal, {}, true},
};

struct WayColumn {
    TWayOut way;
    // The stop commands can still reach the recorder.
    bool linkLives;
    // The command and A/V connections are closed at the end.
    bool closesLink;
    // Only the live and search tabs' work ends.
    bool remoteTabsOnly;
    // The caption and text of the way's box, none when 0.
    int boxCaption, boxText;
};

const WayColumn kColumns[] = {
    {TWayOut::Disconnect, true, true, false, 0, 0},
    {TWayOut::PowerOff, true, true, false, 0, 0},
    {TWayOut::CommandLinkLost, false, true, false, 59878, 59879},
    {TWayOut::AvLinkLost, false, true, false, 59878, 59879},
    {TWayOut::HeartbeatLost, false, true, false, 59878, 59879},
    {TWayOut::RemoteWorkEnded, true, false, true, 59878, 59868},
    {TWayOut::RecorderBusy, true, false, true, 0, 0},
    {TWayOut::NewConnect, true, true, false, 0, 0},
};

struct Cell {
    ActivityRow row;
    WayColumn column;
};

void PrintTo(const Cell& c, std::ostream* out) {
    *out << ActivityName(c.row.activity) << " x " << WayOutName(c.column.way);
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    std::string name =
        std::string(ActivityName(info.param.row.activity)) + "_" + WayOutName(info.param.column.way);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

std::vector<Cell> EveryCell() {
    std::vector<Cell> cells;
    for (const ActivityRow& row : kRows)
        for (const WayColumn& column : kColumns)
            cells.push_back({row, column});
    return cells;
}

bool Ends(const Cell& c) {
    return !(c.column.remoteTabsOnly && c.row.outlivesRemoteEnd);
}

bool IsLocal(TActivity a) {
    return a == TActivity::Sound || a == TActivity::LocalPlayback;
}

// What still runs after the way out: the cell's activity when the way leaves it, with the playback that
// carries its sound.
bool StillRuns(const Cell& c, TActivity a) {
    if (Ends(c)) return false;
    return a == c.row.activity || (c.row.activity == TActivity::Sound && a == TActivity::LocalPlayback);
}

constexpr DWORD kStopCommands[] = {NETCMD_LIVE_STOP, NETCMD_SEARCH_STOP, NETCMD_MODE};

class WayOutRig : public SessionRig {
protected:
    // The backup window of two minutes of the store's one recording, from the calendar of the hard disk.
    void OpenSpanBackup() {
        Answer(mrYes);
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
        FrmMain->BtnSerClick(FrmMain->BtnSer);
        FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
        frmSearch->btnAllClick(frmSearch->btnAll);
        whileBoxUp = nullptr;
        ASSERT_TRUE(frmBackup->SetStartTime("200801010900"));
        ASSERT_TRUE(frmBackup->SetEndTime("200801010902"));
        frmCalendar->btnBackupClick(frmCalendar->btnBackup);
        ASSERT_TRUE(frmBackup->Visible());
    }

    void Start(TActivity activity, recsim::RecSim& sim) {
        switch (activity) {
        case TActivity::LiveView:
            StartLive();
            ASSERT_TRUE(PumpReal(PicturesOnEveryScreen));
            break;
        case TActivity::RemoteSearch:
            StartRemoteSearch(sim);
            FrmMain->BtnPauseClick(FrmMain->BtnPause);
            FrmMain->BtnNextClick(FrmMain->BtnNext);
            // One frame shown, and the stream held again for the next step.
            ASSERT_TRUE(PumpReal([] { return FrmMain->Activities.QueueAvFrames == 1; }));
            ASSERT_TRUE(FrmMain->AVDataCliSocket->Paused());
            ASSERT_EQ(FrmMain->Activities.RemotePlayState, 2);
            break;
        case TActivity::SearchBackup:
            StartRemoteSearch(sim);
            {
                form_testing::ScopedFolderAnswer answer(FrmMain->ProgramFolder);
                FrmMain->BtnBackupClick(FrmMain->BtnBackup);
            }
            ASSERT_TRUE(PumpReal([] { return FrmMain->Saver.FileOpen(); }));
            break;
        case TActivity::Backup: {
            // The recorder is caught half-way through the span.
            recsim::SimFaults f = sim.Faults();
            f.holdStreamAfterFrames = 60;
            sim.SetFaults(f);
            ASSERT_NO_FATAL_FAILURE(OpenSpanBackup());
            ASSERT_GT(frmBackup->GetBackupSize(), 0u);
            form_testing::ScopedFolderAnswer folder(backupFolder_.Str());
            frmBackup->btnBrowseClick(frmBackup->btnBrowse);
            frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
            ASSERT_TRUE(frmDownload->Visible());
            ASSERT_TRUE(
                PumpReal([&] { return sim.AvFramesSent() >= 60 && FrmMain->Saver.FramesInFile() > 0; }));
            break;
        }
        case TActivity::SetupPass:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            break;
        case TActivity::Upgrade: {
            testing_support::WriteFileBytes(HomeFile("fw.bin"), std::string(10000, 'F'));
            form_testing::ScopedFileAnswer file(HomeFile("fw.bin"));
            FrmMain->BtnUpgradeClick(FrmMain->BtnUpgrade);
            // Installing: the recorder reports its progress.
            ASSERT_TRUE(PumpReal([] { return FrmUpdateStatus->ProgressUpdate->CurrentLevel() > 0; }));
            // Meanwhile the user looks at the live tab.
            Answer(mrYes);
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            whileBoxUp = nullptr;
            ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
            break;
        }
        case TActivity::Sound:
        case TActivity::LocalPlayback:
            StartLocalPlayback(activity == TActivity::Sound);
            break;
        }
        ASSERT_TRUE(FrmMain->Activities.Running(activity)) << ActivityName(activity);
    }

    // The way out, from the button, the recorder or the network.
    void TakeWayOut(const Cell& c, recsim::RecSim& sim) {
        const TWayOut way = c.column.way;
        switch (way) {
        case TWayOut::Disconnect: {
            FakeTick tick(1000, 10);
            FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
            break;
        }
        case TWayOut::PowerOff: {
            FakeTick tick(1000, 10);
            FrmMain->BtnPowerClick(FrmMain->BtnPower);
            break;
        }
        case TWayOut::CommandLinkLost:
            sim.CloseCommandConnection();
            ASSERT_TRUE(PumpReal([] { return FrmMain->CliSocket->State() == wsClosed; }));
            break;
        case TWayOut::AvLinkLost: {
            sim.CloseAvConnection();
            const auto closed = [] { return FrmMain->CliSocket->State() == wsClosed; };
            // A connection held for the next step hears of its close when a step reads it.
            for (int step = 0;
                 step < 40 && FrmMain->RemoteSearchActive() && FrmMain->AVDataCliSocket->Paused(); ++step) {
                FrmMain->BtnNextClick(FrmMain->BtnNext);
                PumpReal([&] { return closed() || FrmMain->AVDataCliSocket->Paused(); });
            }
            ASSERT_TRUE(PumpReal(closed));
            break;
        }
        case TWayOut::HeartbeatLost: {
            sim.SetMute(true);
            FakeTick tick(1000, 25);
            for (int second = 0; second < 300 && FrmMain->CliSocket->State() == wsConnected; ++second)
                FrmMain->TimerHeartBeatTimer(FrmMain->TimerHeartBeat);
            ASSERT_EQ(FrmMain->CliSocket->State(), wsClosed);
            // Let go, the recorder reads what the client sent until it closed.
            sim.SetMute(false);
            break;
        }
        case TWayOut::RemoteWorkEnded:
        case TWayOut::RecorderBusy: {
            // Half the rows hear the event's detail 1 or status 2, the others detail 2 or status 3; the
            // client says which in its log last, after the way out.
            const bool second = static_cast<int>(c.row.activity) % 2 == 1;
            TStrings* log = frmSysLog->lbLog->Items();
            const int lines = log->Count();
            if (way == TWayOut::RemoteWorkEnded)
                sim.EndRemoteWork(second ? 2 : 1);
            else
                sim.SetStatus(second ? 3 : 2, true);
            const std::string said = FrmMain->LoadLangString(second ? 59837 : 59838);
            ASSERT_TRUE(PumpReal([&] {
                return log->Count() > lines && log->Strings(log->Count() - 1) == said;
            })) << log->Count()
                << " " << (log->Count() > 0 ? log->Strings(log->Count() - 1) : "");
            break;
        }
        case TWayOut::NewConnect:
            LogInTo(sim);
            break;
        }
    }

    // The stop commands the recorder received since `from`.
    static std::vector<DWORD> StopsSince(recsim::RecSim& sim, std::size_t from) {
        std::vector<DWORD> out;
        const auto packets = sim.Log().Packets();
        for (std::size_t i = from; i < packets.size(); ++i) {
            const DWORD c = packets[i].packet.Command();
            if (packets[i].packet.Type() == NETMSG &&
                std::count(std::begin(kStopCommands), std::end(kStopCommands), c))
                out.push_back(c);
        }
        return out;
    }

    void ExpectNothingLeftOf(const Cell& c) {
        const CActivities& record = FrmMain->Activities;
        for (const ActivityRow& row : kRows)
            EXPECT_EQ(record.Running(row.activity), StillRuns(c, row.activity)) << ActivityName(row.activity);
        EXPECT_EQ(record.QueueAvFrames, 0);
        EXPECT_EQ(record.RemotePlayState, 0);
        EXPECT_TRUE(record.AvFrameQueue.Empty());
        EXPECT_FALSE(FrmMain->AvShow.awaitingFirstPicture);
        EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
        EXPECT_FALSE(FrmMain->Saver.FileOpen());
        // What was saved has its index.
        for (const std::string& file : FrmMain->Saver.Files())
            EXPECT_TRUE(FileExists(file + ".fdx")) << file;
        if (!Ends(c)) return;
        // No text of the ended stream stays over the screens.
        for (TLabel* text :
             {FrmMain->LabelGPSdata1, FrmMain->LabelGPSdata2, FrmMain->LabelGPSdata3, FrmMain->LabelGPSdata4,
              FrmMain->LabelTACHOdata1, FrmMain->LabelTACHOdata2, FrmMain->LabelTACHOdata3,
              FrmMain->LabelTACHOdata4, FrmMain->lbState, FrmMain->LabelSearchTime})
            EXPECT_EQ(text->Caption(), "") << text->Name();
        EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
        EXPECT_FALSE(FrmMain->MMTimerReverse->Enabled());
        EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    }

    testing_support::TempDir backupFolder_;
};

class EveryWayOut : public WayOutRig, public ::testing::WithParamInterface<Cell> {};

TEST_P(EveryWayOut, EndsItsWorkAndTheNextLogInWorks) {
    const Cell& c = GetParam();
    recsim::RecSim& sim = Recorder();
    const bool offline =
        IsLocal(c.row.activity) && (c.column.way == TWayOut::PowerOff || c.column.way == TWayOut::NewConnect);
    if (!offline) ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    ASSERT_NO_FATAL_FAILURE(Start(c.row.activity, sim));
    seen_.clear();
    const std::size_t from = sim.Log().Packets().size();

    ASSERT_NO_FATAL_FAILURE(TakeWayOut(c, sim));

    // The recorder heard the stop commands while the link lived, and nothing once it was gone.
    std::vector<DWORD> stops;
    if (c.column.linkLives && Ends(c) && !offline) {
        stops = c.row.stops;
        if (c.column.way == TWayOut::RemoteWorkEnded && c.row.tab == kModeSearch)
            stops.push_back(NETCMD_MODE);
    }
    if (c.column.closesLink && c.column.way != TWayOut::NewConnect && !offline)
        ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
    ASSERT_TRUE(Settled(sim));
    EXPECT_EQ(StopsSince(sim, from), stops);

    ExpectNothingLeftOf(c);
    // No picture of what ran stays on the screens the new connection is to fill.
    if (c.column.way == TWayOut::NewConnect) EXPECT_EQ(ScreensInUse(), 0);
    if (c.column.way == TWayOut::PowerOff) {
        EXPECT_TRUE(Application->Terminated());
        EXPECT_EQ(FrmMain->CliSocket->State(), wsClosed);
        EXPECT_TRUE(Boxes().empty());
        RestartProgram();
    } else {
        std::vector<TSeenBox> boxes;
        // The box tells of the tab's work ended, also when only the tab was left.
        if (c.column.boxCaption != 0 && (Ends(c) || c.row.tab != kModeLocal))
            boxes.push_back(Box(c.column.boxCaption, c.column.boxText));
        EXPECT_EQ(Boxes(), boxes);
        std::set<std::string> windows{"TFrmMain"};
        if (!Ends(c) && c.row.activity == TActivity::Upgrade) windows.insert("TFrmUpdateStatus");
        EXPECT_EQ(ShowingWindows(), windows);
        ExpectTheLocalLook();
        // The transport is the local one again: STOP opens no window of the remote search.
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        EXPECT_FALSE(frmMinTable->Visible());
        EXPECT_TRUE(FrmMain->Enabled());
        EXPECT_EQ(Boxes(), boxes);
    }

    // The recorder is itself again; work that went on is ended by a disconnect.
    sim.ClearFaults();
    sim.SetStatus(1, false);
    if (FrmMain->CliSocket->State() == wsConnected && !Ends(c)) Disconnect();
    if (FrmMain->CliSocket->State() != wsConnected) {
        ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
        ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    }
    seen_.clear();
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
    ASSERT_NO_FATAL_FAILURE(StartRemoteSearch(sim));
    EXPECT_EQ(FrmMain->lbState->Caption(), "SEARCH");
    // The one question on the way: leaving live view for the search.
    const TSeenBox question{FrmMain->LoadLangString(59853),
                            FrmMain->LoadLangString(50485) + "\n" + FrmMain->LoadLangString(50484)};
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{question}));
}

INSTANTIATE_TEST_SUITE_P(Table, EveryWayOut, ::testing::ValuesIn(EveryCell()), CellName);

// A folder chooser or a save dialog open when the work ends: the way out takes it down with the window
// that opened it, and what the dialog then answers starts nothing.
enum class TDialogUp { FolderChooser, SaveDialog };

struct DialogCell {
    TDialogUp dialog;
    TWayOut way;
    // By hand: the windows that show afterwards, the boxes, the commands the recorder hears after the
    // dialog's answer.
    std::set<std::string> windows;
    std::vector<std::pair<int, int>> boxes;
};

const DialogCell kDialogCells[] = {
    {TDialogUp::FolderChooser, TWayOut::CommandLinkLost, {"TFrmMain"}, {{59878, 59879}}},
    {TDialogUp::FolderChooser, TWayOut::RemoteWorkEnded, {"TFrmMain"}, {{59878, 59868}}},
    {TDialogUp::SaveDialog, TWayOut::CommandLinkLost, {"TFrmMain"}, {{59878, 59879}}},
};

void PrintTo(const DialogCell& c, std::ostream* out) {
    *out << (c.dialog == TDialogUp::FolderChooser ? "folder chooser" : "save dialog") << " x "
         << WayOutName(c.way);
}

class DialogOnTheWayOut : public WayOutRig, public ::testing::WithParamInterface<DialogCell> {};

TEST_P(DialogOnTheWayOut, GoesWithItsWindow) {
    const DialogCell& c = GetParam();
    recsim::RecSim& sim = Recorder();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    TForm* owner = nullptr;
    std::function<void()> open;
    if (c.dialog == TDialogUp::FolderChooser) {
        ASSERT_NO_FATAL_FAILURE(OpenSpanBackup());
        owner = frmBackup;
        open = [] { frmBackup->btnBrowseClick(frmBackup->btnBrowse); };
    } else {
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        ASSERT_TRUE(frmMenu->Visible());
        frmMenu->btnLoglistClick(frmMenu->btnLoglist);
        ASSERT_TRUE(PumpReal([] { return frmLoglist->Visible(); }));
        owner = frmLoglist;
        open = [] { frmLoglist->btnSaveAsClick(frmLoglist->btnSaveAs); };
    }
    seen_.clear();
    const Cell way{kRows[0], *std::find_if(std::begin(kColumns), std::end(kColumns),
                                           [&](const WayColumn& w) { return w.way == c.way; })};
    bool ownerShowedAfter = true;
    const auto answer = [&] {
        TakeWayOut(way, sim);
        ownerShowedAfter = owner->Visible();
    };
    std::size_t from = 0;
    const std::string chosen = HomeFile("chosen");
    const auto folders = SetFolderDialogHook([&](const TFolderDialogRequest&, std::string& folder) {
        answer();
        from = sim.Log().Packets().size();
        folder = chosen;
        return true;
    });
    const auto files = SetFileDialogHook([&](const TFileDialogRequest&, std::string& file) {
        answer();
        from = sim.Log().Packets().size();
        file = chosen + ".txt";
        return true;
    });
    open();
    SetFolderDialogHook(folders);
    SetFileDialogHook(files);
    PumpReal([] { return false; }, 200);

    EXPECT_FALSE(ownerShowedAfter) << "the window of the dialog outlived the way out";
    EXPECT_EQ(ShowingWindows(), c.windows);
    std::vector<TSeenBox> boxes;
    for (const auto& [caption, text] : c.boxes)
        boxes.push_back(Box(caption, text));
    EXPECT_EQ(Boxes(), boxes);
    std::vector<DWORD> after;
    const auto packets = sim.Log().Packets();
    for (std::size_t i = from; i < packets.size(); ++i)
        if (packets[i].packet.Type() == NETMSG) after.push_back(packets[i].packet.Command());
    EXPECT_EQ(after, std::vector<DWORD>{});
    ExpectTheLocalLook();

    // Back in: live pictures within five seconds.
    if (FrmMain->CliSocket->State() != wsConnected) {
        ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
        ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    }
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogOnTheWayOut, ::testing::ValuesIn(kDialogCells));

} // namespace
} // namespace client_tests
