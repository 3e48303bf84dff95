// The power button's shut-down and the removal of the working folder.
#include "tests/client/ClientWindowsSupport.h"

#include "client/LinkWait.h"
#include "formats/SetupIni.h"

#include "platform/core/FileUtils.h"
#include "platform/core/IniFiles.h"

#include "tests/support/Display.h"

#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace client_tests {
namespace {

namespace fs = std::filesystem;
using testing_support::FakeTick;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

class MainShutdown : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
    }
};

void MakeReadOnly(const std::string& path) {
    ::chmod(path.c_str(), 0444);
}

TEST_F(MainShutdown, PowerOffRemovesTheWorkingFilesSavesTheSettingsAndCloses) {
    fs::create_directories(Home() + "Temporary/sub");
    WriteFileBytes(Home() + "Temporary/sub/a.fdx", "1234");
    WriteFileBytes(Home() + "Temporary/locked.fdx", "1234");
    MakeReadOnly(Home() + "Temporary/locked.fdx");
    WriteFileBytes(HomeFile("temp.ini"), "a:1\n");
    FrmMain->VideoStandard = kVideoStandardNtsc;
    FrmMain->OverlayColor = kOverlayYellow;
    FrmMain->LastLatitude = 48.137154;
    FrmMain->HeartbeatArmed = 1;

    // The five-second pause runs on the tick source, here in fast steps.
    FakeTick tick(1000, 100);
    form_testing::ScopedMessageAnswer answer(mrOk);
    FrmMain->BtnPowerClick(FrmMain->BtnPower);

    EXPECT_TRUE(answer.Asked().empty());
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(fs::exists(Home() + "Temporary"));
    EXPECT_FALSE(fs::exists(HomeFile("temp.ini")));
    TIniFile ini(HomeFile("setup.ini"));
    EXPECT_EQ(ini.ReadString("setup", "standard", ""), "NTSC");
    EXPECT_EQ(ini.ReadString("setup", "color", ""), "Yellow");
    EXPECT_EQ(ini.ReadString("setup", "latitude", ""), "48.137154");
    EXPECT_EQ(ini.ReadString("setup", "longitude", ""), "127.128686");
    // Closing the link was the program's own doing.
    EXPECT_EQ(FrmMain->HeartbeatArmed, 0);
    EXPECT_EQ(FrmMain->DisconnectRequested, 1);
    EXPECT_EQ(FrmMain->PlaybackStopped, 1);
    EXPECT_EQ(FrmMain->AudioLibrary, nullptr);
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_EQ(FrmMain->Label2->Caption(), "");
    EXPECT_FALSE(FrmMain->MMTimerPlayback->Enabled());
}

TEST_F(MainShutdown, TheCloseButtonDoesTheSame) {
    fs::create_directories(Home() + "Temporary");
    FakeTick tick(1000, 100);
    FrmMain->BtnCloseClick(FrmMain->BtnClose);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(fs::exists(Home() + "Temporary"));
}

TEST_F(MainShutdown, PowerWhileThePlaybackIsCopiedIsRefused) {
    fs::create_directories(Home() + "Temporary");
    WriteFileBytes(HomeFile("temp.ini"), "a=1\n");
    FrmMain->StreamCopying = 1;
    form_testing::ScopedMessageAnswer answer(mrOk);
    FrmMain->BtnPowerClick(FrmMain->BtnPower);
    ASSERT_EQ(answer.Asked().size(), 1u);
    EXPECT_EQ(answer.Asked()[0].Text, FrmMain->LoadLangString(50393));
    EXPECT_EQ(answer.Asked()[0].Caption, FrmMain->LoadLangString(50991));
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(fs::exists(Home() + "Temporary"));
    EXPECT_TRUE(fs::exists(HomeFile("temp.ini")));
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(MainShutdown, WithoutARecorderItClosesAtOnceWithoutTheWaitWindow) {
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    bool waitShown = false;
    FrmWait->OnShow = TNotifyEvent([&](TObject*) { waitShown = true; });
    FrmMain->BtnPowerClick(FrmMain->BtnPower);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(waitShown);
    EXPECT_LT(TickDistance(start, tick.Now()), 1000u);
}

TEST_F(MainShutdown, DeleteFolderTreeRemovesEverythingButNeverFollowsLinks) {
    TempDir outside;
    WriteFileBytes(outside.File("precious.txt"), "keep");
    fs::create_directories(outside.Path() / "deep");
    WriteFileBytes(outside.File("deep/also.txt"), "keep");

    // A folder with a read-only file, a sub-folder and a link leading out.
    const std::string tree = Home() + "Temporary";
    fs::create_directories(tree + "/sub/subsub");
    WriteFileBytes(tree + "/sub/subsub/f.tdx", "1");
    WriteFileBytes(tree + "/ro.fdx", "1");
    MakeReadOnly(tree + "/ro.fdx");
    fs::create_directory_symlink(outside.Path(), tree + "/sub/link");
    FrmMain->DeleteFolderTree(tree + "/");
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::exists(outside.File("precious.txt")));
    EXPECT_TRUE(fs::exists(outside.File("deep/also.txt")));

    // The folder itself a link: the link goes, what it points at stays.
    fs::create_directory_symlink(outside.Path(), tree);
    FrmMain->DeleteFolderTree(tree);
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(outside.File("precious.txt")));

    // A missing folder: nothing happens; a file of that name is not a folder and stays.
    FrmMain->DeleteFolderTree(Home() + "Missing\\");
    WriteFileBytes(tree, "a file, not a folder");
    FrmMain->DeleteFolderTree(tree);
    EXPECT_TRUE(fs::exists(tree));
}

TEST_F(MainShutdown, TheWorkingFolderIsWrittenTheSystemsWay) {
    fs::create_directories(Home() + "Temporary/x");
    FrmMain->DeleteFolderTree(Home() + "Temporary\\");
    EXPECT_FALSE(fs::exists(Home() + "Temporary"));
}

// The map button's check waits on a name server that never answers, and the user quits: inside the
// check's wait, or once it has given up and said so. The check's thread is still in its look-up, and
// the program ends all the same, at once.
TEST(QuitInMapCheck, TheProgramEndsWhileTheLookUpHangs) {
    const std::string program =
        std::string(std::getenv("HARBEK_BINARY")) + "/tests/client/client_quit_in_map_check";
    const struct {
        const char* when;
        std::vector<std::string> said;
    } cases[] = {
        {"inside", {"look-up held: tiles.unanswered.test", "check over", "loop over"}},
        {"after",
         {"look-up held: tiles.unanswered.test", "box: No internet connection. The map cannot be shown.",
          "check over", "loop over"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        TempDir home;
        std::string output;
        const int status = testing_support::RunProgram(
            {program, c.when},
            {"HARBEK_HOME=" + home.Str(), "HARBEK_REGISTRY=" + home.File("registry.ini"),
             "HARBEK_LANGID=1033", "HARBEK_MAP_TILES=http://tiles.unanswered.test/{z}/{x}/{y}.png",
             "http_proxy=", "https_proxy=", "all_proxy=", "no_proxy="},
            &output, std::chrono::seconds(30));
        EXPECT_EQ(status, 0) << output;
        std::vector<std::string> said;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("look-up held", 0) == 0 || line.rfind("box: ", 0) == 0 ||
                line.find(" over") != std::string::npos)
                said.push_back(line);
        EXPECT_EQ(said, c.said) << output;
    }
}

} // namespace
} // namespace client_tests
