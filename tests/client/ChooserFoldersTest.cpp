// Where the folder choosers of backups, stream copies, snapshots and the saved log list start: the folder
// chosen last for their kind, else the user's videos, pictures or documents folder as the desktop names
// it, else home; never the hidden program folder. What was chosen survives the next start in setup.ini.
#include "tests/client/ClientWindowsSupport.h"

#include "playback/Backup.h"
#include "recdb/Loglist.h"

#include "platform/core/IniFiles.h"

#include <filesystem>

namespace client_tests {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

class ChooserFolders : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
    }
    // The desktop's names of the user's folders, as xdg-user-dirs writes them.
    void NameUserFolders(const std::string& videos, const std::string& pictures,
                         const std::string& documents) {
        const std::string config = std::getenv("XDG_CONFIG_HOME");
        fs::create_directories(config);
        WriteFileBytes(config + "/user-dirs.dirs",
                       "# written by xdg-user-dirs-update\nXDG_VIDEOS_DIR=\"$HOME/" + videos +
                           "\"\nXDG_PICTURES_DIR=\"$HOME/" + pictures + "\"\nXDG_DOCUMENTS_DIR=\"$HOME/" +
                           documents + "\"\n");
    }
    std::string UserFolder(const std::string& name) const { return Home() + name; }
};

TEST_F(ChooserFolders, LastChosenElseTheDesktopsFolderElseHome) {
    using K = TFrmMain::TChooser;
    NameUserFolders("Filme", "Bilder", "Dokumente");
    const std::string home = fs::path(Home()).parent_path().string();
    // Named but not made yet: home.
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Backup), home);
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Snapshot), home);
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::LogList), home);
    fs::create_directories(UserFolder("Filme"));
    fs::create_directories(UserFolder("Bilder"));
    fs::create_directories(UserFolder("Dokumente"));
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Backup), UserFolder("Filme"));
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::StreamCopy), UserFolder("Filme"));
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Snapshot), UserFolder("Bilder"));
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::LogList), UserFolder("Dokumente"));

    // Each kind keeps its own; the settings of the file stay.
    TempDir evidence;
    FrmMain->RememberChosenFolder(K::StreamCopy, evidence.Str());
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::StreamCopy), evidence.Path().string());
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Backup), UserFolder("Filme"));
    FrmMain->SaveSetupIni();
    TIniFile ini(HomeFile("setup.ini"));
    EXPECT_EQ(ini.ReadString("folders", "streamcopy", ""), evidence.Path().string());
    EXPECT_EQ(ini.ReadString("setup", "standard", ""), "PAL");

    // A remembered folder that has gone: the desktop's again.
    FrmMain->RememberChosenFolder(K::Snapshot, UserFolder("gone"));
    EXPECT_EQ(FrmMain->ChooserStartFolder(K::Snapshot), UserFolder("Bilder"));
}

TEST_F(ChooserFolders, TheBackupWindowAndTheStreamCopyStartThereAndRememberTheAnswer) {
    NameUserFolders("Videos", "Pictures", "Documents");
    fs::create_directories(UserFolder("Videos"));
    TempDir chosen;

    // The stream copy's chooser, after its stop.
    for (const std::string& expected : {UserFolder("Videos"), chosen.Path().string()}) {
        FrmMain->StreamCopying = 1;
        form_testing::ScopedFolderAnswer answer(chosen.Path().string());
        form_testing::ScopedMessageAnswer boxes(mrOk);
        FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_EQ(answer.Asked()[0].Directory, expected);
    }

    // The backup window's destination before any browsing, and after.
    Application->CreateForm(frmBackup);
    frmBackup->Show();
    EXPECT_EQ(frmBackup->GetBackupPath(), UserFolder("Videos"));
    {
        form_testing::ScopedFolderAnswer answer(chosen.Path().string());
        frmBackup->btnBrowseClick(frmBackup->btnBrowse);
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_EQ(answer.Asked()[0].Directory, UserFolder("Videos"));
    }
    EXPECT_EQ(FrmMain->ChooserStartFolder(TFrmMain::TChooser::Backup), chosen.Path().string());
}

TEST_F(ChooserFolders, TheLogListsSaveAsStartsInTheDocumentsThenWhereItLastSaved) {
    NameUserFolders("Videos", "Pictures", "Documents");
    fs::create_directories(UserFolder("Documents"));
    TempDir chosen;
    Application->CreateForm(frmLoglist);
    const std::string line = "   2008/01/01    09:00:00       POWER ON";
    frmLoglist->lbLogList->Items()->Add(line);
    for (const std::string& expected : {UserFolder("Documents"), chosen.Path().string()}) {
        form_testing::ScopedFileAnswer answer(chosen.File("recorder"));
        frmLoglist->btnSaveAsClick(frmLoglist->btnSaveAs);
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_EQ(answer.Asked()[0].InitialDir, expected);
    }
    EXPECT_NE(testing_support::ReadFileBytes(chosen.File("recorder.txt")).find(line), std::string::npos);
}

} // namespace
} // namespace client_tests
