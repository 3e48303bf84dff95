// The firmware upgrade through the main window against the simulated recorder: the image announced and
// sent whole, the installation's progress and end, and every way it can be refused or broken off.
#include "tests/client/LoginRig.h"

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "setup/Syslog.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace client_tests {
namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

class Upgrade : public LoginRig {
protected:
    void SetUp() override {
        LoginRig::SetUp();
        Application->CreateForm(frmSysLog);
    }

    recsim::RecSim& Recorder(recsim::RecSimOptions o = QuickSimOptions()) {
        recsim::RecSim& sim = StartSim(o);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        seen_.clear();
        return sim;
    }

    std::string Image(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Presses the upgrade button with the file dialog answered by `path` ("" cancels it).
    void Press(const std::string& path) {
        form_testing::ScopedFileAnswer files(path);
        FrmMain->BtnUpgradeClick(FrmMain->BtnUpgrade);
        dialogs_ = files.Asked().size();
        if (!files.Asked().empty()) filter_ = files.Asked().front().Filter;
    }

    static std::size_t Count(recsim::RecSim& sim, DWORD type, DWORD number) {
        std::size_t n = 0;
        for (const auto& p : sim.Log().Packets())
            n += p.packet.Type() == type &&
                 (type == NETMSG ? p.packet.Command() == number : p.packet.MsgId() == number);
        return n;
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> out;
        TStrings* lines = frmSysLog->lbLog->Items();
        for (int i = 0; i < lines->Count(); ++i)
            out.push_back(lines->Strings(i));
        return out;
    }

    testing_support::TempDir dir_;
    std::size_t dialogs_ = 0;
    std::string filter_;
};

TEST_F(Upgrade, TheProgressWindowCentresOnTheMainWindowClosesAndDrags) {
    FrmMain->SetBounds(100, 80, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    FrmUpdateStatus->ProgressTransfer->SetCurrentLevel(120);
    FrmUpdateStatus->ProgressUpdate->SetCurrentLevel(40);
    FrmUpdateStatus->Show();
    EXPECT_EQ(FrmUpdateStatus->ClientWidth(), FrmUpdateStatus->ImgBackground->Width());
    EXPECT_EQ(FrmUpdateStatus->ClientHeight(), FrmUpdateStatus->ImgBackground->Height());
    EXPECT_EQ(FrmUpdateStatus->Left(), 100 + (FrmMain->ClientWidth() - FrmUpdateStatus->Width()) / 2);
    EXPECT_EQ(FrmUpdateStatus->Top(), 80 + (FrmMain->ClientHeight() - FrmUpdateStatus->Height()) / 2);
    EXPECT_TRUE(FrmUpdateStatus->Topmost());
    form_testing::ProcessEvents();
    const std::string picture = SnapshotPath("formupdatestat_progress");
    form_testing::SaveFormSnapshot(FrmUpdateStatus, picture);
    EXPECT_GT(std::filesystem::file_size(picture), 1000u);

    // Near the screen's corner it stays inside the work area.
    Screen->SetTestGeometry(Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 740));
    FrmMain->SetBounds(800, 600, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    FrmUpdateStatus->Hide();
    FrmUpdateStatus->Show();
    EXPECT_EQ(FrmUpdateStatus->Left() + FrmUpdateStatus->Width(), 1024);
    EXPECT_EQ(FrmUpdateStatus->Top() + FrmUpdateStatus->Height(), 740);
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));

    FrmUpdateStatus->ResetProgress();
    EXPECT_EQ(FrmUpdateStatus->ProgressTransfer->CurrentLevel(), 0);
    EXPECT_EQ(FrmUpdateStatus->ProgressUpdate->CurrentLevel(), 0);
    // Dragging the background moves the window by the pointer's way.
    const int left = FrmUpdateStatus->Left(), top = FrmUpdateStatus->Top();
    form_testing::Drag(FrmUpdateStatus->ImgBackground, Point(200, 10), Point(150, 30));
    form_testing::ProcessEvents();
    EXPECT_EQ(FrmUpdateStatus->Left(), left - 50);
    EXPECT_EQ(FrmUpdateStatus->Top(), top + 20);
    form_testing::Click(FrmUpdateStatus->BtnClose);
    EXPECT_FALSE(FrmUpdateStatus->Visible());
}

TEST_F(Upgrade, WithoutALinkNothingIsAsked) {
    Press(Image("a.bin", "x"));
    EXPECT_EQ(dialogs_, 0u);
    EXPECT_EQ(Boxes(), std::vector<TSeenBox>{Box(59872, 59869)});
}

TEST_F(Upgrade, ImagesGoOutWholeInBlocksAndTheInstallationEnds) {
    for (std::size_t size :
         {std::size_t{1}, std::size_t{4096}, std::size_t{4097}, std::size_t{8192}, std::size_t{300001}}) {
        SCOPED_TRACE(size);
        recsim::RecSim& sim = Recorder();
        const std::string bytes = Pattern(size);
        const std::string path = Image("fw.BIN", bytes);
        int levelAtEnd = -1;
        bool windowUpAtEnd = true;
        whileBoxUp = [&](TForm&) {
            levelAtEnd = FrmUpdateStatus->ProgressUpdate->CurrentLevel();
            windowUpAtEnd = FrmUpdateStatus->Visible();
        };
        Press(path);
        EXPECT_EQ(dialogs_, 1u);
        EXPECT_EQ(filter_, "System Image|*.BIN;*.TAR");
        EXPECT_EQ(FrmUpdateStatus->ProgressTransfer->MaximumLevel(), static_cast<int>(size));
        EXPECT_EQ(FrmUpdateStatus->ProgressTransfer->CurrentLevel(), static_cast<int>(size));
        ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }, 10000));
        form_testing::ProcessEvents();

        ASSERT_TRUE(sim.Firmware().has_value());
        EXPECT_TRUE(*sim.Firmware() == bytes) << "stored " << sim.Firmware()->size();
        const auto announce = sim.Log().LastCommand(NETCMD_FILE);
        ASSERT_TRUE(announce.has_value());
        EXPECT_EQ(announce->packet.Arg0(), size);
        EXPECT_EQ(announce->packet.Arg1(), 0u);
        EXPECT_EQ(Count(sim, QELMSG, MSG_FM_NETWORK_SYSTEM_UPGRADE), 1u);
        // The request to install comes after the whole image.
        const auto packets = sim.Log().Packets();
        const auto install = std::find_if(packets.begin(), packets.end(), [](const recsim::LoggedPacket& p) {
            return p.packet.Type() == QELMSG;
        });
        ASSERT_NE(install, packets.end());
        EXPECT_GT(install->index, announce->index);

        EXPECT_EQ(Boxes(),
                  (std::vector<TSeenBox>{{FrmMain->LoadLangString(59867), path}, Box(59872, 59873)}));
        EXPECT_EQ(levelAtEnd, 100);
        EXPECT_FALSE(windowUpAtEnd);
        EXPECT_FALSE(FrmUpdateStatus->Visible());
        EXPECT_TRUE(FrmMain->BtnConnect->Visible());
        EXPECT_FALSE(FrmMain->BtnDisconnect->Visible());
        EXPECT_EQ(FrmMain->Label3->Caption(), "");
        EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
        const auto lines = LogLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "fw.BIN"), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), FrmMain->LoadLangString(59834)), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), FrmMain->LoadLangString(59833)), lines.end());
        EXPECT_TRUE(Idle());
        whileBoxUp = nullptr;
        seen_.clear();
    }
}

TEST_F(Upgrade, ProgressMessagesMoveTheInstallGauge) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.firmwareSteps = 4;
    o.firmwareStepMs = 150;
    o.firmwareCloseMs = 300;
    recsim::RecSim& sim = Recorder(o);
    Press(Image("fw.tar", Pattern(5000)));
    std::vector<int> levels;
    bool shown = false;
    PumpReal(
        [&] {
            if (FrmUpdateStatus->Visible()) {
                shown = true;
                const int level = FrmUpdateStatus->ProgressUpdate->CurrentLevel();
                if (levels.empty() || levels.back() != level) levels.push_back(level);
            }
            return !LinkUp();
        },
        10000);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    EXPECT_GE(levels.size(), 3u);
    EXPECT_EQ(FrmUpdateStatus->ProgressUpdate->CurrentLevel(), 100);
    EXPECT_EQ(Count(sim, QELMSG, MSG_FM_NETWORK_SYSTEM_UPGRADE), 1u);
}

TEST_F(Upgrade, NothingIsSentWhenTheUserBacksOut) {
    struct Case {
        const char* what;
        bool chooseFile;
        int confirmAnswer;
    };
    const Case cases[] = {{"dialog cancelled", false, mrOk}, {"confirmation cancelled", true, mrCancel}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recsim::RecSim& sim = Recorder();
        const BYTE armed = FrmMain->HeartbeatArmed;
        whileBoxUp = [&](TForm& box) { box.SetModalResult(c.confirmAnswer); };
        Press(c.chooseFile ? Image("fw.bin", "abc") : std::string());
        whileBoxUp = nullptr;
        form_testing::ProcessEvents();
        EXPECT_EQ(Count(sim, NETMSG, NETCMD_FILE), 0u);
        EXPECT_EQ(Count(sim, QELMSG, MSG_FM_NETWORK_SYSTEM_UPGRADE), 0u);
        EXPECT_FALSE(FrmUpdateStatus->Visible());
        EXPECT_EQ(FrmMain->HeartbeatArmed, armed);
        EXPECT_TRUE(LinkUp());
        seen_.clear();
    }
}

TEST_F(Upgrade, MissingOrEmptyImagesAreRefusedBeforeTheRecorderHears) {
    const std::string missing = dir_.File("none.bin");
    const std::string empty = Image("empty.bin", "");
    const std::string folder = dir_.File("folder.bin");
    std::filesystem::create_directory(folder);
    for (const std::string& path : {missing, empty, folder}) {
        SCOPED_TRACE(path);
        recsim::RecSim& sim = Recorder();
        Press(path);
        form_testing::ProcessEvents();
        const TSeenBox refused{FrmMain->LoadLangString(59872), FrmMain->LoadLangString(59880) + "\n" + path};
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{FrmMain->LoadLangString(59867), path}, refused}));
        EXPECT_EQ(Count(sim, NETMSG, NETCMD_FILE), 0u);
        EXPECT_EQ(Count(sim, QELMSG, MSG_FM_NETWORK_SYSTEM_UPGRADE), 0u);
        EXPECT_FALSE(FrmUpdateStatus->Visible());
        EXPECT_EQ(FrmMain->HeartbeatArmed, 1);
        EXPECT_TRUE(LinkUp());
        seen_.clear();
    }
}

TEST_F(Upgrade, AnUploadTheRecorderRefusesIsNotInstalled) {
    recsim::RecSim& sim = Recorder();
    sim.SetReplyFault(NETCMD_FILE, ReplyResult(2));
    const std::string path = Image("fw.bin", Pattern(6000));
    Press(path);
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{FrmMain->LoadLangString(59867), path}, Box(59872, 59868)}));
    EXPECT_EQ(Count(sim, QELMSG, MSG_FM_NETWORK_SYSTEM_UPGRADE), 0u);
    EXPECT_FALSE(FrmUpdateStatus->Visible());
    EXPECT_FALSE(FrmMain->UpgradeRunning());
    EXPECT_TRUE(LinkUp());
}

TEST_F(Upgrade, AnInstallationTheRecorderRefusesClosesTheProgress) {
    recsim::RecSim& sim = Recorder();
    sim.SetReplyFault(MSG_FM_NETWORK_SYSTEM_UPGRADE, SilentReply());
    const std::string path = Image("fw.bin", Pattern(6000));
    Press(path);
    EXPECT_TRUE(FrmMain->UpgradeRunning());
    EXPECT_TRUE(FrmUpdateStatus->Visible());
    ASSERT_TRUE(sim.Log().WaitForMessage(MSG_FM_NETWORK_SYSTEM_UPGRADE, 2000));
    sim.SendPacket(MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 2));
    ASSERT_TRUE(PumpReal([&] { return Boxes().size() == 2; }));
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes().back(), Box(59872, 59868));
    EXPECT_FALSE(FrmUpdateStatus->Visible());
    EXPECT_FALSE(FrmMain->UpgradeRunning());
    // A second refusal, with no upgrade under way, says nothing.
    sim.SendPacket(MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 3));
    PumpReal([] { return false; }, 200);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(LinkUp());
}

TEST_F(Upgrade, ALinkLostDuringTheTransferIsToldOnce) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.faults.closeOnCommand = NETCMD_FILE;
    recsim::RecSim& sim = Recorder(o);
    const std::string path = Image("fw.bin", Pattern(4 << 20));
    Press(path);
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{FrmMain->LoadLangString(59867), path}, Box(59878, 59879)}));
    EXPECT_FALSE(FrmUpdateStatus->Visible());
    EXPECT_FALSE(FrmMain->UpgradeRunning());
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_FALSE(sim.Firmware().has_value());
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(Upgrade, TheHeartbeatComesBackAsTheLogInLeftIt) {
    struct Case {
        const char* what;
        DWORD sysinfoResult;
        DWORD heartbeat;
        BYTE armedAfter;
    };
    const Case cases[] = {{"full log-in with heartbeat", 2, 1, 1},
                          {"full log-in without heartbeat", 2, 0, 0},
                          {"password only", 1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recsim::RecSimOptions o = QuickSimOptions();
        o.sysinfoResult = c.sysinfoResult;
        o.heartbeat = c.heartbeat;
        recsim::RecSim& sim = Recorder(o);
        sim.SetReplyFault(MSG_FM_NETWORK_SYSTEM_UPGRADE, SilentReply());
        Press(Image("fw.bin", Pattern(9000)));
        EXPECT_EQ(FrmMain->HeartbeatArmed, c.armedAfter);
        EXPECT_EQ(sim.Firmware().value_or(""), Pattern(9000));
        EXPECT_TRUE(FrmMain->UpgradeRunning());
        FrmMain->Activities.End(TActivity::Upgrade);
        FrmUpdateStatus->Hide();
        seen_.clear();
    }
}

// An older recorder (101 result 2) is asked for its status before the upgrade; a newer one is not.
TEST_F(Upgrade, ARecorderInUseRefusesBeforeTheFileIsChosen) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.sysinfoResult = 2;
    o.status = 3;
    recsim::RecSim& sim = Recorder(o);
    ASSERT_EQ(FrmMain->LoginOption, 1);
    const std::size_t before = Commands(sim).size();
    Press(Image("fw.bin", "abc"));
    EXPECT_EQ(dialogs_, 0u);
    EXPECT_EQ(Boxes(), std::vector<TSeenBox>{Box(59859, 59868)});
    const std::vector<DWORD> all = Commands(sim);
    EXPECT_EQ(std::vector<DWORD>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
              (std::vector<DWORD>{NETCMD_SYSINFO, NETCMD_STATUS}));
    const auto lines = DebugLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SUCCESS:109"), lines.end());
}

TEST_F(Upgrade, NoReplyToTheCheckStopsWithATimeOutLine) {
    for (DWORD silent : {DWORD{NETCMD_SYSINFO}, DWORD{NETCMD_STATUS}}) {
        SCOPED_TRACE(silent);
        recsim::RecSimOptions o = QuickSimOptions();
        o.sysinfoResult = 2;
        recsim::RecSim& sim = Recorder(o);
        sim.SetReplyFault(silent, SilentReply());
        testing_support::FakeTick tick(1000, 1000);
        Press(Image("fw.bin", "abc"));
        EXPECT_EQ(dialogs_, 0u);
        const auto lines = DebugLines();
        EXPECT_EQ(lines.back(), "TIME OUT:" + std::to_string(silent));
        EXPECT_FALSE(FrmMain->btnLive_m->Enabled());
        EXPECT_TRUE(FrmMain->Enabled());
        EXPECT_EQ(Count(sim, NETMSG, NETCMD_FILE), 0u);
    }
}

// The recorder's end of remote work and its busy status end what the live tab runs, not the recorder's
// own installation: its progress stays, and its end is told.
TEST_F(Upgrade, AnInstallationOutlivesTheEndOfRemoteWorkAndTheBusyStatus) {
    const struct {
        const char* name;
        std::function<void(recsim::RecSim&)> interrupt;
    } rows[] = {
        {"event 4", [](recsim::RecSim& sim) { sim.SendDeviceEvent(DEVEVENT_REMOTE_WORK, 1); }},
        {"status 2", [](recsim::RecSim& sim) { sim.SetStatus(2, true); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        recsim::RecSim& sim = Recorder();
        sim.SetReplyFault(MSG_FM_NETWORK_SYSTEM_UPGRADE, SilentReply());
        const std::string path = Image("fw.bin", Pattern(6000));
        Press(path);
        ASSERT_TRUE(FrmMain->UpgradeRunning());
        ASSERT_TRUE(sim.Log().WaitForMessage(MSG_FM_NETWORK_SYSTEM_UPGRADE, 2000));
        whileBoxUp = [](TForm& box) { box.SetModalResult(mrYes); };
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        ASSERT_EQ(FrmMain->CurrentMode, kModeLive);
        row.interrupt(sim);
        ASSERT_TRUE(PumpReal([] { return FrmMain->CurrentMode == kModeLocal; }));
        form_testing::ProcessEvents();
        EXPECT_TRUE(FrmMain->UpgradeRunning());
        EXPECT_TRUE(FrmUpdateStatus->Visible());
        seen_.clear();
        sim.SendPacket(MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 1));
        ASSERT_TRUE(PumpReal([&] { return !Boxes().empty(); }));
        form_testing::ProcessEvents();
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59872, 59873)}));
        EXPECT_FALSE(FrmMain->UpgradeRunning());
        whileBoxUp = nullptr;
        seen_.clear();
    }
}

} // namespace
} // namespace client_tests
