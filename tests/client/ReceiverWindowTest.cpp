// What the recorder's replies, device events and device messages change on the main window.
#include "tests/client/LoginRig.h"

#include "client/formupdatestat.h"
#include "playback/download.h"

#include "platform/core/FileUtils.h"
#include "tests/support/TestSupport.h"

#include <algorithm>

namespace client_tests {
namespace {

class ReceiverWindow : public LoginRig {
protected:
    recsim::RecSim& LoggedIn(recsim::RecSimOptions options = QuickSimOptions()) {
        recsim::RecSim& sim = StartSim(options);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        seen_.clear();
        FrmMain->lbDebug->Items()->Clear();
        return sim;
    }
    // Sends the packet and pumps until the main window has taken it.
    void Deliver(recsim::RecSim& sim, const NetMsgPacket& packet) {
        const DWORD marker = ++markers_;
        sim.SendPacket(packet);
        sim.SendPacket(MakeReply(NETCMD_MODE, 1000 + marker));
        ASSERT_TRUE(PumpReal(
            [&] { return FrmMain->Replies().Value(NETCMD_MODE) == static_cast<int>(1000 + marker); }));
    }
    bool DebugHas(const std::string& line) const {
        const auto lines = DebugLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    DWORD markers_ = 0;
};

TEST_F(ReceiverWindow, DiskErrorBoxIsShownOnceAndClosedByTheRecorder) {
    recsim::RecSim& sim = LoggedIn();
    int boxesUp = 0;
    TModalResult closedWith = mrNone;
    whileBoxUp = [&](TForm& box) {
        ++boxesUp;
        // While it is up: a second error shows nothing new, the "cleared" event closes it.
        sim.SendDeviceEvent(DEVEVENT_DISK_ERROR, 2);
        sim.SendDeviceEvent(DEVEVENT_DISK_ERROR, 0);
        PumpReal([&] { return box.ModalResult() != mrNone; });
        closedWith = box.ModalResult();
    };
    Deliver(sim, MakeDeviceEvent(DEVEVENT_DISK_ERROR, 1));
    EXPECT_EQ(boxesUp, 1);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{"Disk_Error", "          EDISK_001HDD          "}}));
    EXPECT_EQ(closedWith, mrOk);
    EXPECT_EQ(FrmMain->DiskErrorBox, nullptr);
    whileBoxUp = nullptr;
    seen_.clear();
    Deliver(sim, MakeDeviceEvent(DEVEVENT_DISK_ERROR, 2));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{"Disk_Error", "          EDISK_001CF          "}}));
}

TEST_F(ReceiverWindow, BackupSizesInKilobytes) {
    recsim::RecSim& sim = LoggedIn();
    const std::pair<DWORD, DWORD> cases[] = {
        {100, 1}, {0, 0}, {1024, 1}, {2047, 1}, {2048, 2}, {0xFFFFFFFFu, 4194303}, {0x80000000u, 2097152}};
    for (const auto& [bytes, kb] : cases) {
        Deliver(sim, MakeReply(NETCMD_BACKUP_SIZE, 1, bytes));
        EXPECT_EQ(FrmMain->BackupSizeBytes, bytes);
        EXPECT_EQ(FrmMain->BackupSizeKB, kb) << bytes;
    }
}

TEST_F(ReceiverWindow, RecordStatesShowTheirLabelAndRemoteRecordButtons) {
    recsim::RecSim& sim = LoggedIn();
    FrmMain->CurrentMode = kModeLive;
    Deliver(sim, MakeReply(NETCMD_STATUS, 1, 1, RECSTATE_RECORDING));
    EXPECT_TRUE(FrmMain->BtnRemote_stop->Visible());
    EXPECT_FALSE(FrmMain->BtnRemote_rec->Visible());
    EXPECT_EQ(FrmMain->RemoteRecording, 1);
    EXPECT_EQ(FrmMain->Label2->Caption(), "REC");
    EXPECT_EQ(FrmMain->Label2->Font()->Color(), static_cast<TColor>(0x0000FF));
    EXPECT_TRUE(DebugHas("C_R_REC"));
    EXPECT_EQ(FrmMain->RecorderStatus, 1);
    EXPECT_EQ(FrmMain->RecordState, 2);

    Deliver(sim, MakeDeviceEvent(DEVEVENT_RECORD_STATE, RECSTATE_OFF));
    EXPECT_TRUE(FrmMain->BtnRemote_rec->Visible());
    EXPECT_FALSE(FrmMain->BtnRemote_stop->Visible());
    EXPECT_EQ(FrmMain->RemoteRecording, 0);
    EXPECT_EQ(FrmMain->Label2->Font()->Color(), static_cast<TColor>(0xFFFFFF));
    EXPECT_TRUE(DebugHas("N_R_OFF"));

    Deliver(sim, MakeDeviceEvent(DEVEVENT_RECORD_STATE, RECSTATE_SCHEDULED));
    EXPECT_EQ(FrmMain->Label2->Font()->Color(), static_cast<TColor>(0x008000));
    // An event of another kind leaves the record state alone.
    Deliver(sim, MakeDeviceEvent(DEVEVENT_BACKUP, 1));
    EXPECT_EQ(FrmMain->RecordState, 1);
}

TEST_F(ReceiverWindow, RecorderEndingRemoteWorkFallsBackToLocal) {
    recsim::RecSim& sim = LoggedIn();
    FrmMain->CurrentMode = kModeSearch;
    Deliver(sim, MakeReply(NETCMD_STATUS, 1, 3, 0));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_EQ(FrmMain->ForcedLocal, 1);
    EXPECT_TRUE(Boxes().empty());

    FrmMain->CurrentMode = kModeLive;
    Deliver(sim, MakeDeviceEvent(DEVEVENT_REMOTE_WORK, 1));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59878, 59868)}));
    FrmMain->btnLive_m->SetEnabled(false);
    Deliver(sim, MakeDeviceEvent(DEVEVENT_REMOTE_WORK, 3));
    EXPECT_TRUE(FrmMain->btnLive_m->Enabled());
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_TRUE(LinkUp());
}

TEST_F(ReceiverWindow, StrayRepliesAndUnknownTypesChangeNothing) {
    recsim::RecSim& sim = LoggedIn();
    const int sysinfo = FrmMain->SysInfoResult;
    NetMsgPacket odd = MakeReply(NETCMD_SYSINFO, 7);
    odd.bytes[0] = 99;
    for (const NetMsgPacket& p :
         {MakeReply(126, 1), MakeReply(NETCMD_REPLY, 1), MakeReply(NETCMD_RECORDER_117, 1), odd})
        Deliver(sim, p);
    for (DWORD c : {126u, 100u, 117u})
        EXPECT_EQ(FrmMain->Replies().Endings(c), 0u) << c;
    EXPECT_EQ(FrmMain->SysInfoResult, sysinfo);
    EXPECT_TRUE(LinkUp());
}

TEST_F(ReceiverWindow, UpgradeProgressNeverDividesByZero) {
    recsim::RecSim& sim = LoggedIn();
    struct Case {
        DWORD done, total;
        int level;
    };
    const Case cases[] = {{1, 4, 25}, {4, 4, 100}, {0x7FFFFFFF, 0xFFFFFFFF, 49}, {3, 0, 49}, {9, 3, 100}};
    for (const Case& c : cases) {
        Deliver(sim, MakeQelMsg(MSG_FM_UPGRADE_PROGRESS, 0, 0, {c.done, c.total}));
        EXPECT_TRUE(FrmUpdateStatus->Visible());
        EXPECT_EQ(FrmUpdateStatus->ProgressUpdate->CurrentLevel(), c.level) << c.done << "/" << c.total;
    }
}

TEST_F(ReceiverWindow, FinishedUpgradeIsNoLostLink) {
    recsim::RecSim& sim = LoggedIn();
    Deliver(sim, MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 1));
    form_testing::ProcessEvents();
    sim.CloseCommandConnection();
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    form_testing::ProcessEvents();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Idle());
}

TEST_F(ReceiverWindow, MulticastGroupIsJoinedOnceAtATime) {
    recsim::RecSim& sim = LoggedIn();
    const DWORD group = MulticastGroupParam(239, 255, 1, 7);
    sim.SendMulticastGroup(group, 0);
    sim.SendMulticastGroup(group, 46000);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->McastPort == 46000; }));
    form_testing::ProcessEvents();
    EXPECT_EQ(FrmMain->McastGroup, group);
    // A datagram socket that listens reports itself connected.
    EXPECT_EQ(FrmMain->SocketMcast->State(), wsConnected);
    EXPECT_EQ(FrmMain->SocketMcast->MultiCastAddrStr(), "239.255.1.7 : 46000");
    EXPECT_EQ(FrmMain->SocketMcast->Port(), "46000");
    sim.SendMulticastGroup(group, 46002);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->SocketMcast->Port() == "46002"; }));
    // A datagram socket that listens reports itself connected.
    EXPECT_EQ(FrmMain->SocketMcast->State(), wsConnected);
}

TEST_F(ReceiverWindow, DatabaseDownloadDrivesTheGaugeAndHidesItAtTheEnd) {
    testing_support::TempDir store;
    std::string db(50000, '\0');
    for (std::size_t i = 0; i < db.size(); ++i)
        db[i] = static_cast<char>(i % 251);
    testing_support::WriteFileBytes(store.File("qeldbfile_cf.db"), db);
    recsim::RecSimOptions o = QuickSimOptions();
    o.store = store.Path().string();
    o.faults.splitAt = {4000, 20000, 40000};
    o.faults.splitGapMs = 5;
    recsim::RecSim& sim = LoggedIn(o);
    Application->CreateForm(frmDownload);
    std::vector<int> levels;
    // Taken when it happens: a loaded machine can show and hide the window within one look.
    bool shown = false;
    const TNotifyEvent formShow = frmDownload->OnShow;
    frmDownload->OnShow = [&shown, formShow](TObject* sender) {
        shown = true;
        if (formShow) formShow(sender);
    };
    FrmMain->FileReceived = 0;
    ASSERT_EQ(
        FrmMain->SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_DATABASE, kDatabaseLimitMs, QELDISK_CF), 1);
    ASSERT_TRUE(PumpReal([&] {
        if (frmDownload->Visible()) levels.push_back(frmDownload->ProgressTransfer->CurrentLevel());
        return FrmMain->FileReceived == 1;
    }));
    EXPECT_TRUE(testing_support::ReadFileBytes(HomeFile("qeldbfile_cf.db")) == db);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    EXPECT_FALSE(frmDownload->Visible());
    EXPECT_EQ(frmDownload->ProgressTransfer->CurrentLevel(), 0);
    (void)sim;
}

TEST_F(ReceiverWindow, DatabaseRequestWaitsForTheFileItself) {
    testing_support::TempDir store;
    const std::string db(9000, 'd');
    testing_support::WriteFileBytes(store.File("qeldbfile_hdd.db"), db);
    recsim::RecSimOptions o = QuickSimOptions();
    o.store = store.Path().string();
    // The file leaves a while after the reply.
    o.faults.waitFileAck = true;
    o.faults.splitAt = {200};
    o.faults.splitGapMs = 300;
    LoggedIn(o);
    ASSERT_TRUE(FrmMain->RequestDbFile(QELDISK_HDD));
    EXPECT_EQ(testing_support::ReadFileBytes(HomeFile("qeldbfile_hdd.db")), db);
}

TEST_F(ReceiverWindow, DatabaseThatNeverComesFailsAfterFiveMinutesOfTicks) {
    recsim::RecSim& sim = LoggedIn();
    sim.SetReplyFault(NETCMD_FILE_REQUEST, SilentReply());
    testing_support::FakeTick tick(1000, 500);
    const DWORD start = tick.Now();
    EXPECT_FALSE(FrmMain->RequestDbFile(QELDISK_SD));
    EXPECT_GT(TickDistance(start, tick.Now()), kDatabaseLimitMs);
    EXPECT_TRUE(DebugHas("TIME OUT:105"));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_FILE_REQUEST)->packet.Arg1(), static_cast<DWORD>(QELDISK_SD));
    EXPECT_TRUE(LinkUp());
}

TEST_F(ReceiverWindow, DatabaseTheRecorderDoesNotHaveFailsAtOnce) {
    recsim::RecSim& sim = LoggedIn();
    // Small steps: on a loaded machine the wait reads the clock many times before the reply comes.
    testing_support::FakeTick tick(1000, 10);
    const DWORD start = tick.Now();
    // The simulator keeps no card database: it answers 4 and sends nothing.
    EXPECT_FALSE(FrmMain->RequestDbFile(QELDISK_SD));
    EXPECT_LT(TickDistance(start, tick.Now()), kReplyLimitMs);
    EXPECT_TRUE(DebugHas("FAILED:105"));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_FILE_REQUEST)->packet.Arg1(), static_cast<DWORD>(QELDISK_SD));
    EXPECT_TRUE(LinkUp());
}

TEST_F(ReceiverWindow, CameraCountIsForgottenBeforeItIsAskedAgain) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.cameras = 1;
    recsim::RecSim& sim = LoggedIn(o);
    EXPECT_EQ(FrmMain->MaxCamera, 1);
    sim.SetReplyFault(NETCMD_CAMERA_INFO, SilentReply());
    FrmMain->RequestMaxCamera();
    EXPECT_EQ(FrmMain->MaxCamera, 0);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_CAMERA_INFO, 2000, 2));
}

} // namespace
} // namespace client_tests
