// The client's pumped waits caught by every event that can reach them while they pump, against the
// simulated recorder, as one table: the rows are the waits (the recorder holds the reply the wait is for,
// sends its file slowly, is slow to accept or stops reading what is sent; a stand-in for the desktop's
// opener is slow to answer), the columns the events, each cell one run with its outcome
// written out: the boxes in their order, the windows that show, what runs, and that the waiting handler,
// once the reply comes after all, starts nothing of the ended work. After each cell the client logs in
// again and live view brings pictures within five seconds.
//
// The rows, the columns and each cell's outcome are in WaitTableRows.cpp. Every send's own wait is a row
// through the upgrade's image and the apply's config.ini, each larger than the sockets' buffers can hold
// (the setup file against a recorder whose receive buffer is small). No row yet: the recorder's events
// inside Play's wait for the reader's rings, which fill within milliseconds (WaitEndsTest ends that wait
// through the way out itself). FailedConnect below has a connect the recorder refuses at once; the
// table's unanswered connect has one that never completes.
#include "tests/client/WaitTable.h"

#include "client/LinkNumbers.h"
#include "client/formupdatestat.h"
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/LocalSearch.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"
#include "setup/Record2.h"
#include "setup/Syslog.h"
#include "setup/Upload.h"
#include "tests/playback/FakeVolumes.h"
#include "tests/tools/recsim/TestClient.h"

#include "platform/core/StrUtils.h"

#include "platform/vcl/FormTesting.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace client_tests {
namespace {

using testing_support::FakeTick;
using namespace wait_table;

// The rows whose sends must wait take a recorder with this receive buffer: their files then need only
// pass the client's send buffer, not both ends' largest buffers together (tens of megabytes, more than a
// setup file may be).
constexpr int kSmallReceiveBuffer = 64 * 1024;

// More than the client's send buffer and that receive buffer hold: once the recorder stops reading, a
// send of this many bytes must wait for it.
std::size_t UnreadSendBytes() {
    return recsim_test::LargestSendBuffer() + 2 * kSmallReceiveBuffer + (1u << 20);
}

// The recorder's event 4 and its unasked status travel on the command connection behind the database's
// last bytes: read apart from them, they find the search's 109 already asked, and its reply ends it.
bool ComesBehindTheFile(const WaitCell& c) {
    return c.row == TWaitRow::DatabaseDownload &&
           (c.event == TEvent::RemoteWorkEnded || c.event == TEvent::RecorderBusy);
}

std::string CellName(const ::testing::TestParamInfo<WaitCell>& info) {
    std::string name = std::string(RowName(info.param.row)) + "_" + EventName(info.param.event);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

// A recorder disk mounted at /media/rec, shown through a stand-in for xdg-open on the PATH that is slow
// to answer: it waits until let, then finds nothing to show the folder with.
class SlowOpener {
public:
    SlowOpener() : path_("PATH", (bin_.Str() + ":" + std::getenv("PATH")).c_str()) {
        // Let or not, it gives up after ten seconds: no stand-in outlives the table for long.
        testing_support::WriteFileBytes(
            bin_.File("xdg-open"),
            "#!/bin/sh\necho \"$1\" >>" + bin_.File("asked") + "\ni=0\nwhile [ ! -e " + bin_.File("go") +
                " ] && [ $i -lt 500 ]; do /bin/sleep 0.02; i=$((i+1)); done\nexit 3\n");
        std::filesystem::permissions(bin_.File("xdg-open"), std::filesystem::perms::owner_all);
        volumes_.Add("/dev/sdb2", "ext2", "avfiles", "/media/rec");
    }
    ~SlowOpener() { Let(); }
    SlowOpener(const SlowOpener&) = delete;
    SlowOpener& operator=(const SlowOpener&) = delete;

    void Let() const { testing_support::WriteFileBytes(bin_.File("go"), ""); }
    // The folders it was asked to show, a line each.
    std::string Asked() const {
        const std::string asked = bin_.File("asked");
        return std::filesystem::exists(asked) ? testing_support::ReadFileBytes(asked) : std::string();
    }

private:
    testing_support::TempDir bin_;
    testing_support::ScopedEnv path_;
    FakeVolumes volumes_{FakeVolumes::kDesktopOpener};
};

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
        case TWaitRow::SearchCameras:
            // A recorder that says 4 has the search ask its cameras once it has the database.
            if (row == TWaitRow::SearchCameras) sim.SetStatus(4, false);
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
        case TWaitRow::LocalSearchStop:
        case TWaitRow::BackFive:
            ASSERT_NO_FATAL_FAILURE(StartRemoteSearch(sim));
            break;
        case TWaitRow::LiveTabStatus:
        case TWaitRow::LiveTabConfig:
        case TWaitRow::SearchTabMode:
        case TWaitRow::SearchTabStatus:
        case TWaitRow::SearchTabLast:
            break;
        case TWaitRow::LocalMode:
        case TWaitRow::LiveTabLast:
            FrmMain->btnSer_mClick(FrmMain->btnSer_m);
            ASSERT_EQ(FrmMain->CurrentMode, kModeSearch);
            break;
        case TWaitRow::Heartbeat:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
            ASSERT_NE(FrmMain->HeartbeatArmed, 0);
            break;
        case TWaitRow::LogInSysinfo:
        case TWaitRow::LogInOption:
        case TWaitRow::LogInStatus:
        case TWaitRow::LogInPassword:
        case TWaitRow::LogInCameras:
        case TWaitRow::Connect:
        case TWaitRow::AvConnect: {
            Disconnect();
            ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
            port_ = std::to_string(sim.CommandPort());
            break;
        }
        case TWaitRow::SetupDownload:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            break;
        case TWaitRow::SliderSettle:
            ASSERT_NO_FATAL_FAILURE(StartLocalPlayback(true));
            FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 0);
            ASSERT_NE(FrmMain->SliderDragging, 0);
            FrmMain->SliderSearch->SetVal(500);
            break;
        case TWaitRow::FolderScan: {
            Disconnect();
            ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
            // Enough recordings for the scan to pump between them.
            std::filesystem::create_directories(HomeFile("plays"));
            for (int i = 0; i < 20; ++i)
                recmaker::Write(HomeFile("plays/2008010109" + std::to_string(100000 + i)),
                                recmaker::Stream(1199178000 + 60 * i, 4, 30, 1, false), 1);
            folderAnswer_ = std::make_unique<form_testing::ScopedFolderAnswer>(HomeFile("plays"));
            break;
        }
        case TWaitRow::MapCheck: {
            // The check hangs until the test lets it answer: the map cannot be reached.
            auto answer = mapAnswer_;
            FrmMain->MapSiteProbe = [answer] {
                while (!answer->load())
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                return false;
            };
            break;
        }
        case TWaitRow::UploadConnect:
        case TWaitRow::UploadPause: {
            Disconnect();
            ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
            std::filesystem::create_directories(HomeFile("upload"));
            testing_support::WriteFileBytes(HomeFile("upload/config.ini"), "[config]\r\n27_1_1=FLEET\r\n");
            FrmMain->Button3Click(FrmMain->Button3);
            ASSERT_TRUE(frmUpload->Visible());
            frmUpload->edtPath->SetText(HomeFile("upload"));
            other_ = &StartSim();
            const std::string other = "127.0.0.1:" + std::to_string(other_->CommandPort());
            const std::string ours = "127.0.0.1:" + std::to_string(sim.CommandPort());
            // The row's recorder is the first one for the connect, the last one for the pause.
            TStrings* to = frmUpload->lbDestAddress->Items();
            to->Clear();
            to->Add(row == TWaitRow::UploadConnect ? ours : other);
            to->Add(row == TWaitRow::UploadConnect ? other : ours);
            break;
        }
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
        case TWaitRow::LocalLiveStop:
        case TWaitRow::PowerPause:
            ASSERT_NO_FATAL_FAILURE(StartLive());
            break;
        case TWaitRow::RemoteRecord:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            ASSERT_TRUE(FrmMain->BtnRemote_rec->Visible());
            break;
        case TWaitRow::LiveTabFile: {
            recsim::SimFaults f = sim.Faults();
            f.slowFilePiece = 32;
            f.slowFileGapMs = 100;
            sim.SetFaults(f);
            break;
        }
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
        case TWaitRow::LogSettle:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            break;
        case TWaitRow::UpgradeSend: {
            // Once the recorder stops reading at the image's announcement, a send must wait for it.
            testing_support::WriteFileBytes(HomeFile("fw.bin"), std::string(UnreadSendBytes(), 'F'));
            firmware_ = std::make_unique<form_testing::ScopedFileAnswer>(HomeFile("fw.bin"));
            recsim::SimFaults f = sim.Faults();
            f.stopReadingOn = NETCMD_FILE;
            sim.SetFaults(f);
            break;
        }
        case TWaitRow::ApplySend: {
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
            ASSERT_TRUE(frmMenu->Visible());
            const std::size_t size = UnreadSendBytes();
            ASSERT_LE(size, kMaxSetupFileBytes) << "no setup file is large enough on this machine";
            std::string config = testing_support::ReadFileBytes(setup_pages::SetupFolder() + "config.ini");
            config += "[padding]\r\n";
            while (config.size() < size)
                config += "; " + std::string(100, 'p') + "\r\n";
            testing_support::WriteFileBytes(setup_pages::SetupFolder() + "config.ini", config);
            recsim::SimFaults f = sim.Faults();
            f.stopReadingOn = NETCMD_FILE;
            sim.SetFaults(f);
            break;
        }
        case TWaitRow::DetectOpener:
            opener_ = std::make_unique<SlowOpener>();
            break;
        case TWaitRow::PlayRings:
        case TWaitRow::PlayRingsRecord:
            ASSERT_NO_FATAL_FAILURE(OpenLocalRecording());
            break;
        case TWaitRow::PlayRingsList: {
            ASSERT_NO_FATAL_FAILURE(OpenLocalRecording());
            // A second recording in the play list, its row in the panel's list.
            const recmaker::Made other =
                recmaker::Write(HomeFile("rec1"), recmaker::Stream(1199178040, 5, 30, 4, true), 2);
            FrmMain->VideoReader->SetListItem(other.path, 1);
            FrmMain->VideoReader->SetListEnd(2);
            TStrings* rows = frmFileList->lbFileList->Items();
            rows->Clear();
            rows->Add("rec0");
            rows->Add("rec1");
            frmFileList->lbFileList->SetItemIndex(0);
            break;
        }
        case TWaitRow::ConnectNoAnswer: {
            {
                FakeTick tick(1000, 10);
                FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
            }
            ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
            // A recording of three seconds, playing: its end comes while the connect waits.
            ASSERT_NO_FATAL_FAILURE(StartLocalPlayback(true, 3));
            stalled_ = std::make_unique<StalledListener>();
            port_ = std::to_string(stalled_->Port());
            break;
        }
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
        if (HeldCommand(row) != 0) sim.HoldReplies(HeldCommand(row), true, HeldAfter(row));
        if (const auto av = HeldAccept(row)) sim.HoldAccepts(*av, true);
    }

    // The press that starts the row's wait; pressed again, the conflicting press.
    void Press(TWaitRow row) {
        switch (row) {
        case TWaitRow::DatabaseDownload:
        case TWaitRow::SearchStatus:
        case TWaitRow::SearchCameras:
            FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
            break;
        case TWaitRow::LiveTabStatus:
        case TWaitRow::LiveTabConfig:
        case TWaitRow::LiveTabFile:
        case TWaitRow::LiveTabLast:
            FrmMain->btnLive_mClick(FrmMain->btnLive_m);
            break;
        case TWaitRow::SearchTabMode:
        case TWaitRow::SearchTabStatus:
        case TWaitRow::SearchTabLast:
            FrmMain->btnSer_mClick(FrmMain->btnSer_m);
            break;
        case TWaitRow::LocalLiveStop:
        case TWaitRow::LocalSearchStop:
            // The tab asks first whether to stop the work.
            Answer(mrYes);
            FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
            break;
        case TWaitRow::LocalMode:
            FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
            break;
        case TWaitRow::BackFive:
            FrmMain->BtnBack5Click(FrmMain->BtnBack5);
            break;
        case TWaitRow::TransportStop:
            FrmMain->BtnStopClick(FrmMain->BtnStop);
            break;
        case TWaitRow::LogInSysinfo:
        case TWaitRow::LogInOption:
        case TWaitRow::LogInStatus:
        case TWaitRow::LogInPassword:
        case TWaitRow::LogInCameras:
        case TWaitRow::Connect:
        case TWaitRow::AvConnect:
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
        case TWaitRow::ApplySend:
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
        case TWaitRow::LogSettle:
            frmMenu->btnLoglistClick(frmMenu->btnLoglist);
            break;
        case TWaitRow::UpgradeDelay:
        case TWaitRow::UpgradeCheck:
        case TWaitRow::UpgradeStatus:
        case TWaitRow::UpgradeSend:
            FrmMain->BtnUpgradeClick(FrmMain->BtnUpgrade);
            break;
        case TWaitRow::DetectOpener:
            FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
            break;
        case TWaitRow::PlayRings:
        case TWaitRow::PlayRingsList:
        case TWaitRow::PlayRingsRecord:
            FrmMain->BtnPlayClick(FrmMain->BtnPlay);
            break;
        case TWaitRow::ConnectNoAnswer:
            LogIn("127.0.0.1", port_, "1234", 1);
            break;
        case TWaitRow::RemoteRecord:
            FrmMain->BtnRemote_recClick(FrmMain->BtnRemote_rec);
            break;
        case TWaitRow::DisconnectPause:
            FrmMain->BtnDisconnectClick(FrmMain->BtnDisconnect);
            break;
        case TWaitRow::PowerPause:
            FrmMain->BtnPowerClick(FrmMain->BtnPower);
            break;
        case TWaitRow::UploadConnect:
        case TWaitRow::UploadPause:
            frmUpload->btnOkClick(frmUpload->btnOk);
            break;
        case TWaitRow::MapCheck:
            FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
            break;
        case TWaitRow::FolderScan:
            FrmMain->BtnSearchClick(FrmMain->BtnSearch);
            ASSERT_TRUE(frmLocalSearch->Visible());
            frmLocalSearch->btnFileClick(frmLocalSearch->btnFile);
            break;
        case TWaitRow::SliderSettle:
            FrmMain->SliderSearchMouseUp(FrmMain->SliderSearch, mbLeft, {}, 0, 0);
            break;
        }
    }

    // A press that would start, end or change the row's work while it waits.
    void Conflict(TWaitRow row) {
        // The recorder disk button.
        if (row == TWaitRow::FolderScan || row == TWaitRow::PlayRings)
            FrmMain->BtnSearchClick(FrmMain->BtnSearch);
        else if (row == TWaitRow::SliderSettle)
            FrmMain->SliderSearchMouseDown(FrmMain->SliderSearch, mbLeft, {}, 0, 0);
        else if (row == TWaitRow::PlayRingsList) {
            frmFileList->lbFileList->SetItemIndex(1);
            frmFileList->lbFileListClick(frmFileList->lbFileList);
        } else if (row == TWaitRow::PlayRingsRecord) {
            FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
            FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
        } else if (row == TWaitRow::RecordingOk)
            frmRecord2->btnCancelClick(frmRecord2->btnCancel);
        else if (row == TWaitRow::Heartbeat)
            FrmMain->BtnLiveClick(FrmMain->BtnLive);
        else if (row == TWaitRow::SearchTabMode || row == TWaitRow::SearchTabLast)
            FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
        else if (row == TWaitRow::LogInSysinfo || row == TWaitRow::LogInOption ||
                 row == TWaitRow::LogInStatus || row == TWaitRow::LogInPassword ||
                 row == TWaitRow::LogInCameras || row == TWaitRow::Connect || row == TWaitRow::AvConnect ||
                 row == TWaitRow::ConnectNoAnswer)
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
        // The tab has its reply, and the file is still on its way.
        if (row == TWaitRow::LiveTabFile)
            return [] {
                return FrmMain->Receiver.ReceiveMode() == 1 && FrmMain->lbDebug->Items()->Count() > 0 &&
                       FrmMain->lbDebug->Items()->Strings(FrmMain->lbDebug->Items()->Count() - 1) ==
                           "SUCCESS:105";
            };
        // The log's file has come, and its list is not filled yet.
        if (row == TWaitRow::LogSettle)
            return [&sim, from] {
                const auto packets = sim.Log().Packets();
                for (std::size_t i = from; i < packets.size(); ++i)
                    if (packets[i].packet.Command() == NETCMD_FILE_REQUEST &&
                        packets[i].packet.Arg0() == QELFILE_LOGLIST)
                        return FrmMain->FileReceived != 0 && !frmLoglist->Visible();
                return false;
            };
        // The recorder can hold the whole image before the client has ended its send and armed the
        // heartbeat again for the delay.
        if (row == TWaitRow::UpgradeDelay)
            return [&sim] { return sim.Firmware().has_value() && FrmMain->HeartbeatArmed != 0; };
        // A send of the file waits: the recorder reads nothing more, and bytes are still to go.
        if (const auto serves = SendServes(row))
            return [&sim, serves] {
                return sim.Faults().stopReading && FrmMain->PendingSendBytes > 0 &&
                       FrmMain->Activities.RefusesPresses() && FrmMain->Activities.Running(*serves);
            };
        if (row == TWaitRow::DetectOpener || row == TWaitRow::MapCheck)
            return [] { return FrmMain->Activities.Waited(TActivity::LocalTask); };
        if (row == TWaitRow::PlayRings || row == TWaitRow::PlayRingsList || row == TWaitRow::PlayRingsRecord)
            return [] { return FrmMain->Activities.Waited(TActivity::LocalPlayback); };
        // The connect pends, and the recording that played when it began has come to its end meanwhile.
        if (row == TWaitRow::ConnectNoAnswer) {
            auto playedInside = std::make_shared<bool>(false);
            return [playedInside] {
                if (FrmMain->CliSocket->State() != wsConnecting) return false;
                if (FrmMain->PlayState == kPlayForward) *playedInside = true;
                return *playedInside && FrmMain->PlayState == kPlayStopped;
            };
        }
        // The connect pends: the recorder has let its first packet go unanswered.
        if (row == TWaitRow::FolderScan) return [] { return frmFileList->lbFileList->Items()->Count() > 0; };
        // The release has locked the window for its moment.
        if (row == TWaitRow::SliderSettle)
            return [] { return FrmMain->SliderDragging != 0 && !FrmMain->Enabled(); };
        if (row == TWaitRow::UploadPause) {
            const std::size_t uploads = sim.Log().Uploads().size();
            return [&sim, uploads] { return sim.Log().Uploads().size() > uploads; };
        }
        if (row == TWaitRow::Connect || row == TWaitRow::UploadConnect)
            return [] { return FrmMain->CliSocket->State() == wsConnecting; };
        if (row == TWaitRow::AvConnect)
            return [] { return FrmMain->AVDataCliSocket->State() == wsConnecting; };
        // The way out's own pause, once live view's stop has its answer: seen on two turns running, so
        // that the stop's wait has returned and the pause pumps.
        if (row == TWaitRow::DisconnectPause || row == TWaitRow::PowerPause) {
            const std::uint64_t stops = FrmMain->Replies().Endings(NETCMD_LIVE_STOP);
            return [stops, turns = std::make_shared<int>(0)] {
                const bool pausing = FrmMain->Activities.Ending() &&
                                     FrmMain->Activities.Waited(TActivity::Link) &&
                                     FrmMain->Replies().Endings(NETCMD_LIVE_STOP) > stops;
                *turns = pausing ? *turns + 1 : 0;
                return *turns >= 2;
            };
        }
        ADD_FAILURE() << RowName(row) << ": no moment to catch its wait in";
        return [] { return true; };
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

    static void ReadAgain(recsim::RecSim& sim) {
        recsim::SimFaults f = sim.Faults();
        f.stopReading = false;
        f.stopReadingOn.reset();
        sim.SetFaults(f);
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

    // Lets the map's check answer; shared with the check's thread, which may outlive the test.
    std::shared_ptr<std::atomic<bool>> mapAnswer_ = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<form_testing::ScopedFolderAnswer> folderAnswer_;
    std::unique_ptr<SlowOpener> opener_;
    // The upload's other recorder.
    recsim::RecSim* other_ = nullptr;
    std::unique_ptr<form_testing::ScopedFileAnswer> firmware_;
    // An address that never answers, and the time that passes for a connect to it.
    std::unique_ptr<StalledListener> stalled_;
    std::unique_ptr<FakeTick> limitPassed_;
    std::string port_;
    bool fired_ = false;
    std::size_t afterEvent_ = 0;
    std::size_t requestsBefore_ = 0, requestsAfter_ = 0;
    std::size_t boxesBefore_ = 0;
    bool heartbeatTimerAtFire_ = false;
    bool sentOnAfterItsWork_ = false;
};

TEST_P(EveryWait, EndsWithItsWorkAndTheNextLogInWorks) {
    const WaitCell& c = GetParam();
    const bool sends = c.row == TWaitRow::ApplySend || c.row == TWaitRow::UpgradeSend;
    recsim::RecSim& sim = Recorder(sends ? kSmallReceiveBuffer : 0);
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    ASSERT_NO_FATAL_FAILURE(Prepare(c.row, sim));
    seen_.clear();
    const std::size_t from = sim.Log().Packets().size();
    const std::size_t uploadsFrom = sim.Log().Uploads().size();
    WhenReady(Waiting(c.row, sim, from), [&] {
        Fire(c, sim);
        // The recorder accepts after all; or, never answered, the connect's limit passes.
        if (const auto av = HeldAccept(c.row)) sim.HoldAccepts(*av, false);
        if (NeverAnswered(c.row)) limitPassed_ = std::make_unique<FakeTick>(1000, 10);
        if (const auto serves = SendServes(c.row)) {
            // Where the work goes on (a refused press, an event it outlives), the recorder reads again and
            // the file goes on. Where it ended, the recorder reads nothing until the press has returned,
            // and the send's wait must pump no more.
            if (c.event == TEvent::ConflictingPress ||
                std::count(c.running.begin(), c.running.end(), *serves) == 1)
                ReadAgain(sim);
            else
                WhenReady(
                    [serves] {
                        return !FrmMain->Activities.Running(*serves) && !FrmMain->Activities.Ending();
                    },
                    // A turn later: the turn that ended the work may still run inside the wait.
                    [this] {
                        form_testing::RunLater([this] {
                            sentOnAfterItsWork_ =
                                FrmMain->PendingSendBytes > 0 && FrmMain->Activities.RefusesPresses();
                        });
                    });
        }
        // The map's check and the opener answer once the link's end, if any, has been told.
        const bool loss = c.event == TEvent::CommandLinkLost || c.event == TEvent::AvLinkLost ||
                          c.event == TEvent::HeartbeatLost;
        if (c.row == TWaitRow::MapCheck) {
            auto answer = mapAnswer_;
            WhenReady([this, loss] { return !loss || !LinkUp(); }, [answer] { answer->store(true); });
        }
        if (c.row == TWaitRow::DetectOpener) {
            const SlowOpener* opener = opener_.get();
            WhenReady([this, loss] { return !loss || !LinkUp(); }, [opener] { opener->Let(); });
        }
        // The reply the wait was for comes after all, while the link lives.
        if (HeldCommand(c.row) == 0 || c.event == TEvent::CommandLinkLost || c.event == TEvent::AvLinkLost ||
            c.event == TEvent::HeartbeatLost)
            return;
        // A busy recorder answers once the client has read its status, never in the same read: a status 1
        // held from before would otherwise take the busy one's place.
        if (c.event == TEvent::RecorderBusy)
            WhenReady([] { return FrmMain->RecorderStatus == 2; }, [&sim] { sim.ReleaseReplies(0); });
        else
            sim.ReleaseReplies(0);
    });
    Press(c.row);
    limitPassed_.reset();
    ASSERT_TRUE(fired_) << "the event never came while the wait pumped";
    if (SendServes(c.row)) ReadAgain(sim);
    EXPECT_FALSE(sentOnAfterItsWork_) << "the send's wait pumped on after its work had ended";
    if (StopsHeartbeat(c.row)) {
        EXPECT_FALSE(heartbeatTimerAtFire_) << "a heartbeat could be lost inside the wait";
    }
    // What is still on its way in either direction arrives and is handled.
    ASSERT_TRUE(Settled(sim, other_));

    if (EndsProgram(c)) {
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
                        : text == kNothingShowsDisk
                            ? TSeenBox{FrmMain->LoadLangString(caption),
                                       Format(FrmMain->LoadLangString(60102).c_str(), kDiskFolder)}
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
    if ((c.row == TWaitRow::PlayRings || c.row == TWaitRow::PlayRingsList ||
         c.row == TWaitRow::PlayRingsRecord) &&
        !EndsProgram(c)) {
        // The refused press left the playback as Play started it: the first recording, not copied.
        EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
        EXPECT_TRUE(FrmMain->VideoReader->IsReaderRunning());
        EXPECT_EQ(FrmMain->PlayState, kPlayForward);
        EXPECT_EQ(FrmMain->PlayListPos, 0);
        EXPECT_EQ(FrmMain->StreamCopying, 0);
        if (c.row == TWaitRow::PlayRingsList) {
            EXPECT_EQ(frmFileList->lbFileList->ItemIndex(), 0);
        }
    }
    if (c.row == TWaitRow::ConnectNoAnswer && !EndsProgram(c)) {
        // The end of the recording was taken inside the wait: paused at its end, the clock and sound off.
        EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
        EXPECT_EQ(FrmMain->LastTransportKey, kKeyPause);
        EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
        EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    }
    if (opener_) {
        // Asked once: a second press was refused, not run beside the first.
        EXPECT_EQ(opener_->Asked(), std::string(kDiskFolder) + "\n");
        opener_.reset();
    }
    if (other_ != nullptr && !EndsProgram(c)) {
        // Each recorder got the file once.
        EXPECT_TRUE(other_->Log().WaitForUpload(QELFILE_CONFIG, 2000));
        EXPECT_EQ(other_->Log().Uploads().size(), 1u);
    }
    if (c.event == TEvent::ConflictingPress) {
        // Refused: the recorder heard nothing of the second press.
        EXPECT_EQ(requestsAfter_, requestsBefore_);
    } else if (!EndsProgram(c)) {
        // The ended work's caller stopped quietly: nothing of what it would have gone on to ask.
        for (DWORD next : ComesBehindTheFile(c) ? std::vector<DWORD>{} : Continuation(c.row)) {
            const auto after = CommandsAfterEvent(sim);
            // The end of remote work on the search look tells the recorder the local mode itself, once.
            const long wayOut = c.event == TEvent::RemoteWorkEnded && next == NETCMD_MODE ? 1 : 0;
            EXPECT_EQ(std::count(after.begin(), after.end(), next), wayOut) << next;
        }
        if (c.windows == kMainOnly && c.mode == kModeLocal) ExpectTheLocalLook();
    }

    // Back in: live pictures within five seconds.
    sim.ClearFaults();
    sim.SetStatus(1, false);
    if (EndsProgram(c)) RestartProgram();
    if (FrmMain->CliSocket->State() == wsConnected) Disconnect();
    ASSERT_TRUE(sim.WaitForCommandConnection(false, 3000));
    whileBoxUp = nullptr;
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    seen_.clear();
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
}

INSTANTIATE_TEST_SUITE_P(Table, EveryWait, ::testing::ValuesIn(WaitCells()), CellName);

// A connect that reaches no recorder (here refused at once) leaves the local playback that runs as it
// was: the client's work changes only once a recorder is there, which ends it and shows its cameras.
class FailedConnect : public SessionRig {};

TEST_F(FailedConnect, LeavesLocalPlaybackPlayingUntilARecorderIsThere) {
    recsim::RecSim& gone = StartSim();
    const int port = gone.CommandPort();
    gone.Stop();
    ASSERT_NO_FATAL_FAILURE(StartLocalPlayback(true));
    seen_.clear();
    LogIn("127.0.0.1", std::to_string(port), "1234", 1);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59824, 59877)}));
    EXPECT_FALSE(LinkUp());
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::Link));
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_TRUE(FrmMain->Activities.Running(TActivity::LocalPlayback));
    EXPECT_TRUE(FrmMain->Activities.Running(TActivity::Sound));
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_TRUE(FrmMain->VideoReader->IsReaderRunning());
    EXPECT_GE(ScreensInUse(), 1);
    EXPECT_TRUE(Idle());

    recsim::RecSim& sim = Recorder();
    seen_.clear();
    ASSERT_NO_FATAL_FAILURE(LogInTo(sim));
    EXPECT_TRUE(FrmMain->Activities.Running(TActivity::Link));
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::LocalPlayback));
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    ASSERT_NO_FATAL_FAILURE(StartLive());
    EXPECT_TRUE(PumpReal(PicturesOnEveryScreen, 5000));
}

} // namespace
} // namespace client_tests
