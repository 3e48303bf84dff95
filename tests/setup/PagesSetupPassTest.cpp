// The setup pass against a simulated recorder: the setup button's download, the menu's CANCEL and
// APPLY, and what the recorder and the program folder hold afterwards.
#include "tests/setup/PagesRig.h"

#include "client/Wait.h"
#include "setup/Camera.h"
#include "setup/Device.h"
#include "setup/Menu.h"
#include "setup/Record2.h"
#include "setup/System.h"

#include "tests/support/TestSupport.h"

#include "platform/core/FileUtils.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

namespace setup_test {

using client_tests::ReplyResult;
using client_tests::SilentReply;
using client_tests::TSeenBox;
using recsim::RecSim;

namespace {

// The commands after the log-in (which ends with the password, 102), without the client's
// acknowledgements of received files (100).
std::vector<DWORD> AfterLogin(const std::vector<DWORD>& all) {
    auto it = std::find(all.begin(), all.end(), DWORD{102});
    std::vector<DWORD> out;
    for (it = it == all.end() ? all.begin() : it + 1; it != all.end(); ++it)
        if (*it != 100) out.push_back(*it);
    return out;
}

// What the client asked for, without its acknowledgements of files: the last file's may reach the
// recorder after its log was cleared.
std::vector<DWORD> Requests(const std::vector<DWORD>& all) {
    std::vector<DWORD> out;
    for (DWORD command : all)
        if (command != 100) out.push_back(command);
    return out;
}

// An edit of the system page, as a user makes it.
void EditTitle(const std::string& title) {
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    frmSystem->edtTitle->SetText(title);
    frmSystem->btnOkClick(frmSystem->btnOk);
}

std::vector<DWORD> FileKindsAsked(RecSim& sim) {
    std::vector<DWORD> kinds;
    for (const auto& p : sim.Log().Commands(105))
        kinds.push_back(p.packet.Arg0());
    return kinds;
}

} // namespace

using SetupDownload = PagesRig;

TEST_F(SetupDownload, FetchesEveryFileKeepsTheCopyAndShowsTheMenu) {
    RecSim& sim = OpenSetupMenu();
    EXPECT_EQ(AfterLogin(Commands(sim)), (std::vector<DWORD>{109, 107, 105, 105, 105, 105}));
    EXPECT_EQ(FileKindsAsked(sim), (std::vector<DWORD>{1, 3, 6, 7}));
    EXPECT_EQ(ProgramFile("config.ini"), RecorderConfigIni());
    EXPECT_EQ(ProgramFile("temp_config.ini"), RecorderConfigIni());
    EXPECT_EQ(ProgramFile("schedule.dat"), *sim.ServedFile(QELFILE_SCHEDULE));
    EXPECT_EQ(ProgramFile("holiday.ini"), *sim.ServedFile(QELFILE_HOLIDAY));
    EXPECT_EQ(ProgramFile("info.ini"), *sim.ServedFile(QELFILE_INFO));
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmMain->Enabled()) << "the menu holds the main window until it ends";
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_EQ(frmMenu->MaxCamera, 4);
    EXPECT_EQ(frmMenu->VideoStandard, 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetupDownload, KeepsAConfigurationAlreadyHereAndAsksForTheOthers) {
    RecSim& sim = StartRecorder();
    LogIn(sim);
    const std::string local = "[config]\r\n27_1_1=LOCAL\r\n";
    WriteProgramFile("config.ini", local);
    WriteProgramFile("temp_config.ini", "stale copy");
    // The schedule window's copies of a pass that never ended are no baseline for this one.
    WriteProgramFile("temp_schedule.dat", "stale schedule");
    WriteProgramFile("temp_holiday.ini", "stale holidays");
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_EQ(FileKindsAsked(sim), (std::vector<DWORD>{3, 6, 7}));
    EXPECT_EQ(ProgramFile("temp_config.ini"), local) << "an old copy is overwritten";
    EXPECT_EQ(ProgramFile("temp_schedule.dat"), "<missing>");
    EXPECT_EQ(ProgramFile("temp_holiday.ini"), "<missing>");
    EXPECT_TRUE(frmMenu->Visible());
}

TEST_F(SetupDownload, RefusesWithoutLinkOrAdministrator) {
    // Not connected.
    WriteProgramFile("holiday.ini", "old");
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59863, 59869)}));
    EXPECT_EQ(ProgramFile("holiday.ini"), "<missing>") << "old files go whatever follows";
    EXPECT_FALSE(frmMenu->Visible());

    // A user, not an administrator: nothing is sent.
    recsim::RecSimOptions o = client_tests::QuickSimOptions();
    o.userPassword = "0000";
    RecSim& userSim = StartRecorder(RecorderConfigIni(), o);
    LogIn(userSim, "0000", 2);
    ASSERT_TRUE(LinkUp());
    const std::size_t sent = userSim.Log().Packets().size();
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_EQ(Boxes().back(), Box(59863, 59882));
    EXPECT_EQ(userSim.Log().Packets().size(), sent);
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(userSim.Log().Commands(105).empty());
}

TEST_F(SetupDownload, RecorderStatusRefusals) {
    const struct {
        DWORD status;
        int caption;
    } cases[] = {{2, 59862}, {3, 59859}, {4, 59861}, {5, 59860}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        recsim::RecSimOptions o = client_tests::QuickSimOptions();
        o.status = c.status;
        RecSim& sim = StartRecorder(RecorderConfigIni(), o);
        LogIn(sim);
        seen_.clear();
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(c.caption, 59868)}));
        EXPECT_TRUE(sim.Log().Commands(105).empty());
        EXPECT_TRUE(Idle());
        EXPECT_FALSE(frmMenu->Visible());
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupDownload, SilentOrFailingRepliesEndThePassCleanly) {
    // A whole file answers its request too, so the file requests' faults keep their files from ending.
    const struct {
        DWORD command;
        recsim::ReplyFault fault;
        std::string line;
    } cases[] = {
        {109, SilentReply(), "TIME OUT:109"}, {107, SilentReply(), "TIME OUT:107"},
        {105, SilentReply(), "TIME OUT:105"}, {109, ReplyResult(2), "FAILED:109"},
        {107, ReplyResult(2), "FAILED:107"},  {105, ReplyResult(2), "FAILED:105"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        RecSim& sim = StartRecorder();
        LogIn(sim);
        sim.SetReplyFault(c.command, c.fault);
        recsim::SimFaults f = sim.Faults();
        f.announceExtra = 10;
        sim.SetFaults(f);
        FrmMain->lbDebug->Items()->Clear();
        {
            testing_support::FakeTick tick(1000, 100);
            FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        }
        const std::vector<std::string> lines = DebugLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end());
        EXPECT_TRUE(Idle());
        EXPECT_FALSE(frmMenu->Visible());
        EXPECT_EQ(ProgramFile("temp_config.ini"), "<missing>");
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupDownload, AResultAboveTwoGoesOn) {
    // A whole file also answers its request, so only the pass going on is certain here, not which
    // of the two answers the debug list saw.
    RecSim& sim = StartRecorder();
    LogIn(sim);
    sim.SetReplyFault(105, ReplyResult(3));
    FrmMain->lbDebug->Items()->Clear();
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    const std::vector<std::string> lines = DebugLines();
    for (const char* line : {"FAILED:105", "TIME OUT:105"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 0) << line;
    EXPECT_EQ(FileKindsAsked(sim), (std::vector<DWORD>{1, 3, 6, 7}));
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_EQ(ProgramFile("temp_config.ini"), RecorderConfigIni());
    EXPECT_EQ(ProgramFile("info.ini"), *sim.ServedFile(QELFILE_INFO));
}

// Files that came but could not be kept are not told as files that did not come: the user hears the
// folder and the system's reason, and nothing half-written stays.
TEST_F(SetupDownload, FilesThatCannotBeStoredAreToldSo) {
    const struct {
        const char* name;
        std::function<void(SmallDisk*)> harm; // the disk as it is when SETUP is pressed
        bool mounted;
        const char* why;
    } cases[] = {
        {"a folder where a file goes",
         [this](SmallDisk*) { std::filesystem::create_directories(HomeFile("info.ini/inside")); }, false,
         "Is a directory"},
        {"a full disk", [](SmallDisk* disk) { disk->Fill(); }, true, "No space left on device"},
        {"a read-only disk", [](SmallDisk* disk) { disk->ReadOnly(true); }, true, "Read-only file system"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecSim& sim = StartRecorder();
        LogIn(sim);
        std::optional<SmallDisk> disk;
        if (c.mounted) {
            disk.emplace(HomeFile(""));
            if (!disk->Mounted()) GTEST_SKIP() << disk->Why();
        }
        seen_.clear();
        c.harm(disk ? &*disk : nullptr);
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{
                               {FrmMain->LoadLangString(59863),
                                FrmMain->LoadLangString(60502) + "\n" + HomeFile("") + "\n" + c.why}}));
        EXPECT_FALSE(frmMenu->Visible());
        EXPECT_TRUE(Idle());
        for (const auto& entry : std::filesystem::directory_iterator(HomeFile("")))
            EXPECT_NE(entry.path().extension(), ".part") << "left half-written: " << entry.path();
        EXPECT_EQ(ProgramFile("temp_config.ini"), "<missing>");
        std::filesystem::remove_all(HomeFile("info.ini"));
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupDownload, TempIniColonsBecomeEquals) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {{"[a]\r\nx:1\r\ny:2:3\r\n", "[a]\r\nx=1\r\ny=2=3\r\n"}, {"", ""}, {"k=v\n", "k=v\n"}};
    for (const auto& c : cases) {
        WriteProgramFile("temp.ini", c.before);
        FrmMain->FixTempIniSeparators();
        EXPECT_EQ(ProgramFile("temp.ini"), c.after);
    }
    DeleteFile(HomeFile("temp.ini"));
    FrmMain->FixTempIniSeparators();
    EXPECT_EQ(ProgramFile("temp.ini"), "<missing>") << "a missing file is not made";
}

// ---- The menu's CANCEL and APPLY ----

using SetupMenu = PagesRig;

TEST_F(SetupMenu, CancelRestoresTheReceivedFileByteForByte) {
    OpenSetupMenu();
    ASSERT_TRUE(frmMenu->Visible());
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    frmSystem->edtTitle->SetText("night bus");
    frmSystem->btnOkClick(frmSystem->btnOk);
    const std::string title = "NIGHT BUS";
    // "66_1_1=10" is the default end month, untouched by the user: it stays as it was.
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(RecorderConfigIni(), "27_1_1", title))
        << "the edit lands in place, every other byte kept";
    EXPECT_TRUE(frmMenu->Visible());
    frmMenu->btnCancelClick(frmMenu->btnCancel);
    EXPECT_EQ(ProgramFile("config.ini"), RecorderConfigIni());
    EXPECT_EQ(ProgramFile("temp_config.ini"), "<missing>");
    EXPECT_FALSE(frmMenu->Visible());
    EXPECT_TRUE(Idle());
}

// A CANCEL that cannot put the recorder's file back says so, and the cancelled edit never passes for the
// recorder's: the next pass fetches the file again, and APPLY sends what the recorder holds.
TEST_F(SetupMenu, CancelThatCannotRestoreSaysSoAndTheEditNeverPassesForTheRecorders) {
    const std::string edited = WithKey(RecorderConfigIni(), "27_1_1", "COACH 7");
    const struct {
        const char* name;
        bool readOnly;
        const char* why;
        std::string left; // config.ini after CANCEL
    } cases[] = {
        {"a full disk", false, "There is not enough space on the disk.", "<missing>"},
        {"a read-only disk", true, "The media is write protected.", edited},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDisk disk(HomeFile(""));
        if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
        RecSim& sim = OpenSetupMenu();
        ASSERT_TRUE(frmMenu->Visible());
        EditTitle("COACH 7");
        c.readOnly ? disk.ReadOnly(true) : disk.Fill();
        seen_.clear();
        frmMenu->btnCancelClick(frmMenu->btnCancel);
        EXPECT_EQ(Boxes(),
                  (std::vector<TSeenBox>{{FrmMain->LoadLangString(59863),
                                          FrmMain->LoadLangString(60500) + "\n" + HomeFile("config.ini") +
                                              "\n" + c.why + "\n" + FrmMain->LoadLangString(60501)}}));
        EXPECT_FALSE(frmMenu->Visible());
        EXPECT_TRUE(Idle());
        EXPECT_EQ(ProgramFile("config.ini"), c.left);
        // A pass on the disk as it is cannot keep the recorder's file: it says so and shows no menu.
        seen_.clear();
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        EXPECT_FALSE(frmMenu->Visible());
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes().front().text.rfind(FrmMain->LoadLangString(60502), 0), 0u) << Boxes().front().text;
        // The disk mended: the recorder's title again, and the recorder gets its own file back.
        c.readOnly ? disk.ReadOnly(false) : disk.Free();
        sim.Log().Clear();
        seen_.clear();
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        ASSERT_TRUE(frmMenu->Visible());
        frmMenu->btnSystemClick(frmMenu->btnSystem);
        EXPECT_EQ(frmSystem->edtTitle->Text(), "BUS 12");
        frmSystem->btnCancelClick(frmSystem->btnCancel);
        AnswerYes();
        frmMenu->btnOkClick(frmMenu->btnOk);
        EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), RecorderConfigIni());
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupMenu, ApplyUploadsTheEditedFileThenAsksTheRecorderToApply) {
    RecSim& sim = OpenSetupMenu();
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    frmSystem->edtTitle->SetText("coach 7");
    frmSystem->btnOkClick(frmSystem->btnOk);
    const std::string edited = ProgramFile("config.ini");
    ASSERT_NE(edited, RecorderConfigIni());
    sim.Log().Clear();
    AnswerYes();
    frmMenu->btnOkClick(frmMenu->btnOk);
    EXPECT_EQ(Boxes().back(), Box(59931, 50484));
    ASSERT_TRUE(sim.Log().LastUpload(QELFILE_CONFIG).has_value());
    EXPECT_EQ(sim.Log().LastUpload(QELFILE_CONFIG)->bytes, edited);
    EXPECT_EQ(sim.Log().Uploads().size(), 1u) << "only the configuration goes";
    EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), edited);
    EXPECT_EQ(Requests(Commands(sim)), (std::vector<DWORD>{104, 121}));
    EXPECT_EQ(sim.Log().LastCommand(121)->packet.Arg0(), 4u);
    EXPECT_EQ(ProgramFile("temp_config.ini"), "<missing>");
    EXPECT_EQ(ProgramFile("holiday.ini"), "<missing>");
    EXPECT_EQ(ProgramFile("schedule.dat"), "<missing>");
    EXPECT_EQ(ProgramFile("config.ini"), edited);
    EXPECT_EQ(frmMenu->MaxCamera, 0);
    EXPECT_FALSE(frmMenu->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SetupMenu, ApplyCarriesTheRecordingPagesWord) {
    const struct {
        DWORD modified;
        DWORD word;
    } cases[] = {{0, 4}, {3, 7}, {4, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modified);
        frmRecord2->Modified = 9;
        RecSim& sim = OpenSetupMenu();
        EXPECT_EQ(frmRecord2->IsModified(), 0u) << "a new pass starts unmodified";
        frmRecord2->Modified = c.modified;
        AnswerYes();
        frmMenu->btnOkClick(frmMenu->btnOk);
        ASSERT_TRUE(sim.Log().LastCommand(121).has_value());
        EXPECT_EQ(sim.Log().LastCommand(121)->packet.Arg0(), c.word);
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupMenu, ApplyRenamesTheCamerasOnlyOnceTheRecorderApplied) {
    const std::array<std::string, 4> before{"OLD 1", "OLD 2", "", ""};
    const std::array<std::string, 4> applied{"GATE", "REAR", "DOOR", "CABIN"};
    const struct {
        std::string extra;
        std::optional<recsim::ReplyFault> apply;
        std::array<std::string, 4> titles;
        std::array<BYTE, 4> covert;
    } cases[] = {{"", std::nullopt, applied, {0, 0, 1, 1}},
                 // A key the camera page cannot read stops the reload after camera 2's title; the
                 // recorder still applies.
                 {"25_1_2=bright\r\n", std::nullopt, applied, {0, 0, 1, 1}},
                 // Not applied: the window keeps the names and the covert cameras the recorder has.
                 {"", ReplyResult(2), before, {0, 0, 0, 1}},
                 {"", SilentReply(), before, {0, 0, 0, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.extra << " " << c.apply.has_value());
        RecSim& sim = OpenSetupMenu(RecorderConfigIni() + c.extra);
        FrmMain->CameraTitles = before;
        FrmMain->CameraCovert = {0, 0, 0, 1};
        FrmMain->BtnLive->Hide();
        // Camera 1 renamed and camera 3 made covert on the page.
        frmMenu->btnDeviceClick(frmMenu->btnDevice);
        frmDevice->btnCameraClick(frmDevice->btnCamera);
        frmCamera->edtTitle->SetText("GATE");
        frmCamera->cmbCam->SetItemIndex(2);
        frmCamera->cmbCamChange(frmCamera->cmbCam);
        frmCamera->rbtCovertOn->SetChecked(true);
        frmCamera->btnPrevClick(frmCamera->btnPrev);
        frmDevice->btnPrevClick(frmDevice->btnPrev);
        EXPECT_EQ(FrmMain->CameraTitles, before) << "editing renames nothing on the main window";
        if (c.apply) sim.SetReplyFault(121, *c.apply);
        AnswerYes();
        {
            testing_support::FakeTick tick(1000, 50);
            frmMenu->btnOkClick(frmMenu->btnOk);
        }
        EXPECT_TRUE(sim.Log().LastCommand(121).has_value());
        EXPECT_EQ(FrmMain->CameraTitles, c.titles);
        EXPECT_EQ(FrmMain->CameraCovert, c.covert);
        if (frmMenu->Visible()) frmMenu->btnCancelClick(frmMenu->btnCancel);
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupMenu, ApplyAnsweredNoSendsNothing) {
    RecSim& sim = OpenSetupMenu();
    sim.Log().Clear();
    whileBoxUp = [](TForm& box) { box.SetModalResult(mrNo); };
    frmMenu->btnOkClick(frmMenu->btnOk);
    EXPECT_TRUE(Requests(Commands(sim)).empty());
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_NE(ProgramFile("temp_config.ini"), "<missing>");
}

TEST_F(SetupMenu, ApplyWithoutLinkTellsAndKeepsEverything) {
    RecSim& sim = OpenSetupMenu();
    sim.CloseCommandConnection();
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    frmMenu->Show();
    seen_.clear();
    AnswerYes();
    frmMenu->btnOkClick(frmMenu->btnOk);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().front(), Box(59872, 59869));
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_EQ(ProgramFile("temp_config.ini"), RecorderConfigIni());
    EXPECT_NE(ProgramFile("schedule.dat"), "<missing>");
}

TEST_F(SetupMenu, ApplyThatDoesNotGetThroughSaysSoAndKeepsTheEdits) {
    const std::string kept = "\n" + FrmMain->LoadLangString(60112);
    const std::string refused = FrmMain->LoadLangString(60114) + kept;
    const std::string silent = FrmMain->LoadLangString(60115) + kept;
    const struct {
        DWORD command;
        recsim::ReplyFault fault;
        std::vector<DWORD> sent;
        bool recorderHasIt;
        bool waitedOut;
        std::string box;
    } cases[] = {
        {104, SilentReply(), {104}, false, true, silent},
        {104, ReplyResult(0), {104}, false, false, refused},
        {121, SilentReply(), {104, 121}, true, true, silent},
        {121, ReplyResult(2), {104, 121}, true, false, refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.box);
        RecSim& sim = OpenSetupMenu();
        const std::string edited = WithKey(RecorderConfigIni(), "27_1_1", "COACH 7");
        EditTitle("COACH 7");
        sim.SetReplyFault(c.command, c.fault);
        sim.Log().Clear();
        seen_.clear();
        AnswerYes();
        {
            testing_support::FakeTick tick(1000, 50);
            frmMenu->btnOkClick(frmMenu->btnOk);
            EXPECT_EQ(tick.Now() - 1000 >= 30000, c.waitedOut) << "a refusal ends the wait at once";
        }
        EXPECT_EQ(Requests(Commands(sim)), c.sent);
        EXPECT_EQ(Boxes().back(), (TSeenBox{FrmMain->LoadLangString(59872), c.box}));
        EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), c.recorderHasIt ? edited : RecorderConfigIni());
        // The pass goes on with both copies, and the next APPLY sends the edits again.
        EXPECT_TRUE(frmMenu->Visible());
        EXPECT_FALSE(FrmMain->Enabled());
        EXPECT_TRUE(FrmMain->Activities.Running(TActivity::SetupPass));
        EXPECT_EQ(ProgramFile("config.ini"), edited);
        EXPECT_EQ(ProgramFile("temp_config.ini"), RecorderConfigIni());
        EXPECT_NE(ProgramFile("schedule.dat"), "<missing>");
        sim.ClearFaults();
        sim.Log().Clear();
        frmMenu->btnOkClick(frmMenu->btnOk);
        EXPECT_EQ(Requests(Commands(sim)), (std::vector<DWORD>{104, 121}));
        EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), edited);
        EXPECT_EQ(ProgramFile("temp_config.ini"), "<missing>");
        EXPECT_FALSE(frmMenu->Visible());
        EXPECT_FALSE(FrmMain->Activities.Running(TActivity::SetupPass));
        EXPECT_TRUE(Idle());
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

namespace {

// Runs `fire` in the loop's turn that first finds `ready` true (for at most 20 s).
void WhenReady(std::function<bool()> ready, std::function<void()> fire,
               std::chrono::steady_clock::time_point until = std::chrono::steady_clock::now() +
                                                             std::chrono::seconds(20)) {
    form_testing::RunLater([ready, fire, until] {
        if (ready())
            fire();
        else if (std::chrono::steady_clock::now() < until)
            WhenReady(ready, fire, until);
    });
}

// Once the recorder holds back `n` replies to uploads, runs `fire` inside the wait.
void WhenHeld(RecSim& sim, std::size_t n, std::function<void()> fire) {
    WhenReady([&sim, n] { return sim.HeldReplies(NETCMD_FILE) >= n; }, std::move(fire));
}

} // namespace

// Each upload takes its own reply. Here one upload's reply is still due when the next upload goes: the
// recorder refuses the next one, and its refusal comes right behind the late acceptance of the first.
TEST_F(SetupMenu, ALateReplyToOneUploadIsNotTakenForTheNext) {
    const struct {
        const char* name;
        std::function<void(RecSim&)> leaveAReplyDue;
    } cases[] = {
        {"the recording page's OK stopped waiting",
         [](RecSim&) {
             frmMenu->btnRecordClick(frmMenu->btnRecord);
             form_testing::ProcessEvents();
             {
                 testing_support::FakeTick tick(1000, 50);
                 frmRecord2->btnOkClick(frmRecord2->btnOk);
             }
             frmRecord2->btnCancelClick(frmRecord2->btnCancel);
         }},
        {"the recorder ended the pass during APPLY",
         [this](RecSim& sim) {
             AnswerYes();
             WhenHeld(sim, 1, [&sim] { sim.EndRemoteWork(1); });
             frmMenu->btnOkClick(frmMenu->btnOk);
             ASSERT_FALSE(FrmMain->Activities.Running(TActivity::SetupPass));
             ASSERT_TRUE(LinkUp());
             FrmMain->btnLive_mClick(FrmMain->btnLive_m);
             FrmMain->BtnSetupClick(FrmMain->BtnSetup);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecSim& sim = StartRecorder();
        LogIn(sim);
        // SETUP is the live tab's, where the recorder's end of remote work ends the pass.
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        sim.HoldReplies(NETCMD_FILE, true);
        c.leaveAReplyDue(sim);
        ASSERT_TRUE(frmMenu->Visible());
        ASSERT_EQ(sim.HeldReplies(NETCMD_FILE), 1u);
        EditTitle("COACH 7");
        sim.SetReplyFault(NETCMD_FILE, ReplyResult(0));
        sim.Log().Clear();
        seen_.clear();
        AnswerYes();
        // The late reply comes alone once APPLY waits; the next upload's own once the client has read it.
        const std::uint64_t replies = FrmMain->Replies().Count(NETCMD_FILE);
        WhenReady([] { return FrmMain->Activities.Waited(TActivity::SetupPass); },
                  [&sim, replies] {
                      sim.ReleaseFirstReply(NETCMD_FILE);
                      WhenReady([replies] { return FrmMain->Replies().Count(NETCMD_FILE) > replies; },
                                [&sim] { sim.ReleaseReplies(NETCMD_FILE); });
                  });
        frmMenu->btnOkClick(frmMenu->btnOk);
        EXPECT_TRUE(sim.Log().Commands(121).empty()) << "applied on the reply to another upload";
        EXPECT_EQ(Boxes().back(),
                  (TSeenBox{FrmMain->LoadLangString(59872),
                            FrmMain->LoadLangString(60114) + "\n" + FrmMain->LoadLangString(60112)}));
        EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), RecorderConfigIni());
        if (frmMenu->Visible()) frmMenu->btnCancelClick(frmMenu->btnCancel);
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupMenu, AfterAFailedApplyTheNextPassFetchesTheRecordersFileAgain) {
    const std::string edited = WithKey(RecorderConfigIni(), "27_1_1", "COACH 7");
    const struct {
        DWORD command;
        recsim::ReplyFault fault;
        std::string recorderHolds;
        const char* title;
    } cases[] = {{121, ReplyResult(2), edited, "COACH 7"},
                 {121, SilentReply(), edited, "COACH 7"},
                 {104, SilentReply(), RecorderConfigIni(), "BUS 12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        RecSim& sim = OpenSetupMenu();
        EditTitle("COACH 7");
        sim.SetReplyFault(c.command, c.fault);
        AnswerYes();
        {
            testing_support::FakeTick tick(1000, 50);
            frmMenu->btnOkClick(frmMenu->btnOk);
        }
        sim.ClearFaults();
        ASSERT_EQ(*sim.ServedFile(QELFILE_CONFIG), c.recorderHolds);
        frmMenu->btnCancelClick(frmMenu->btnCancel);
        EXPECT_EQ(ProgramFile("config.ini"), RecorderConfigIni()) << "CANCEL puts the received file back";
        // The recorder may hold the edited file: the next pass asks for it, and shows what came.
        sim.Log().Clear();
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        ASSERT_TRUE(frmMenu->Visible());
        EXPECT_EQ(FileKindsAsked(sim), (std::vector<DWORD>{1, 3, 6, 7}));
        EXPECT_EQ(ProgramFile("temp_config.ini"), c.recorderHolds);
        frmMenu->btnSystemClick(frmMenu->btnSystem);
        EXPECT_EQ(frmSystem->edtTitle->Text(), c.title);
        frmSystem->btnCancelClick(frmSystem->btnCancel);
        frmMenu->btnCancelClick(frmMenu->btnCancel);
        // Fetched once: a pass after a CANCEL with nothing failed keeps the file here.
        sim.Log().Clear();
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        EXPECT_EQ(FileKindsAsked(sim), (std::vector<DWORD>{3, 6, 7}));
        frmMenu->btnCancelClick(frmMenu->btnCancel);
        whileBoxUp = nullptr;
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
    }
}

TEST_F(SetupMenu, LinkLostDuringApplyKeepsTheWorkingCopy) {
    RecSim& sim = OpenSetupMenu();
    const std::string edited = WithKey(RecorderConfigIni(), "27_1_1", "COACH 7");
    EditTitle("COACH 7");
    // The recording page's OK sends the holidays and the schedule: the apply is to take them too.
    frmMenu->btnRecordClick(frmMenu->btnRecord);
    form_testing::ProcessEvents();
    ASSERT_TRUE(frmRecord2->Visible());
    frmRecord2->btnOkClick(frmRecord2->btnOk);
    ASSERT_EQ(frmRecord2->IsModified(), 3u);
    recsim::SimFaults f = sim.Faults();
    f.closeOnCommand = 104;
    sim.SetFaults(f);
    AnswerYes();
    {
        testing_support::FakeTick tick(1000, 5);
        frmMenu->btnOkClick(frmMenu->btnOk);
    }
    EXPECT_TRUE(sim.Log().Commands(121).empty());
    // One box, the link's own: no "not connected" after it over the page the teardown closed.
    const std::vector<TSeenBox> boxes = Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), Box(59878, 59879));
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), Box(59872, 59869)), 0);
    EXPECT_EQ(ProgramFile("config.ini"), edited) << "the user's working copy";
    EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), RecorderConfigIni());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(frmMenu->Visible());
    EXPECT_TRUE(FrmMain->Enabled());

    // The log-in deletes the working copy; the next pass brings the edits back over what the recorder
    // holds now, says so before the menu shows them, and its APPLY sends them and asks the recorder to
    // apply the schedule files as well.
    sim.ClearFaults();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    EXPECT_EQ(ProgramFile("config.ini"), "<missing>");
    const std::string now = WithKey(RecorderConfigIni(), "2_1_1", "1");
    sim.SetServedFile(QELFILE_CONFIG, now);
    seen_.clear();
    bool menuShownAtBox = true;
    whileBoxUp = [&](TForm& box) {
        menuShownAtBox = frmMenu->Visible();
        box.SetModalResult(mrYes);
    };
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    ASSERT_TRUE(frmMenu->Visible());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(60302, 60300)}));
    EXPECT_FALSE(menuShownAtBox);
    EXPECT_EQ(ProgramFile("temp_config.ini"), now);
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(now, "27_1_1", "COACH 7"));
    EXPECT_EQ(frmRecord2->IsModified(), 3u);
    frmMenu->btnOkClick(frmMenu->btnOk);
    EXPECT_EQ(*sim.ServedFile(QELFILE_CONFIG), WithKey(now, "27_1_1", "COACH 7"));
    ASSERT_TRUE(sim.Log().LastCommand(121).has_value());
    EXPECT_EQ(sim.Log().LastCommand(121)->packet.Arg0(), 7u);
    // Applied: nothing is kept for a later pass, and nothing is announced.
    seen_.clear();
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(frmRecord2->IsModified(), 0u);
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(now, "27_1_1", "COACH 7"));
    frmMenu->btnCancelClick(frmMenu->btnCancel);
}

TEST_F(SetupMenu, ALinkLostWhileTheKeptEditsAreAnnouncedEndsThePassAndKeepsThem) {
    RecSim& sim = OpenSetupMenu();
    EditTitle("COACH 7");
    recsim::SimFaults f = sim.Faults();
    f.closeOnCommand = 104;
    sim.SetFaults(f);
    AnswerYes();
    {
        testing_support::FakeTick tick(1000, 5);
        frmMenu->btnOkClick(frmMenu->btnOk);
    }
    sim.ClearFaults();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    // The recorder goes while the box is up: no menu over a dead link.
    bool dropped = false;
    whileBoxUp = [&](TForm& box) {
        if (!dropped) {
            dropped = true;
            sim.CloseCommandConnection();
            PumpReal([&] { return !LinkUp(); });
        }
        box.SetModalResult(mrOk);
    };
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_FALSE(frmMenu->Visible());
    EXPECT_FALSE(FrmMain->Activities.Running(TActivity::SetupPass));
    EXPECT_TRUE(FrmMain->Enabled());
    // Still kept: the next pass brings them back.
    AnswerYes();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    seen_.clear();
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(60302, 60300)}));
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(RecorderConfigIni(), "27_1_1", "COACH 7"));
    frmMenu->btnCancelClick(frmMenu->btnCancel);
}

TEST_F(SetupMenu, AppliedSettingsAreWhatTheNextPassShowsAfterBothRestart) {
    RecSim& sim = OpenSetupMenu();
    EditTitle("COACH 7");
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    frmSystem->rbtOff->SetChecked(true);
    frmSystem->btnOkClick(frmSystem->btnOk);
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    frmCamera->edtTitle->SetText("GATE");
    frmCamera->btnPrevClick(frmCamera->btnPrev);
    frmDevice->btnPrevClick(frmDevice->btnPrev);
    AnswerYes();
    frmMenu->btnOkClick(frmMenu->btnOk);
    const std::string applied = WithKey(
        WithKey(WithKey(RecorderConfigIni(), "27_1_1", "COACH 7"), "62_1_1", std::nullopt), "34_1_1", "GATE");
    ASSERT_EQ(*sim.ServedFile(QELFILE_CONFIG), applied);

    // The recorder starts again from its store, the client logs in afresh.
    FrmMain->CliSocket->Close();
    form_testing::ProcessEvents();
    sim.Stop();
    recsim::RecSimOptions options = client_tests::QuickSimOptions();
    options.store = store_;
    RecSim& again = StartSim(options);
    LogIn(again);
    FrmMain->BtnSetupClick(FrmMain->BtnSetup);
    ASSERT_TRUE(frmMenu->Visible());
    EXPECT_EQ(ProgramFile("temp_config.ini"), applied);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->edtTitle->Text(), "COACH 7");
    EXPECT_TRUE(frmSystem->rbtOff->Checked());
    frmSystem->btnCancelClick(frmSystem->btnCancel);
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    EXPECT_EQ(frmCamera->edtTitle->Text(), "GATE");
    frmCamera->btnCancelClick(frmCamera->btnCancel);
    frmDevice->btnCancelClick(frmDevice->btnCancel);
    // Nothing edited: the next APPLY sends back what the recorder holds.
    frmMenu->btnOkClick(frmMenu->btnOk);
    EXPECT_EQ(*again.ServedFile(QELFILE_CONFIG), applied);
}

TEST_F(SetupMenu, ReadsItem111) {
    const struct {
        const char* ini;
        const char* item;
    } cases[] = {{"[config]\r\n1_1_1=3\r\n", "3"},
                 {"[config]\r\n2_1_1=3\r\n", "1"},
                 {"", "1"},
                 {"[other]\r\n1_1_1=4\r\n", "1"}};
    for (const auto& c : cases) {
        WriteProgramFile("config.ini", c.ini);
        frmMenu->LoadConfigIni();
        EXPECT_EQ(frmMenu->ReadConfigItem111(), c.item) << c.ini;
        EXPECT_EQ(frmMenu->ConfigItem111, c.item);
    }
}

} // namespace setup_test
