// The backup, download and play-list windows with the main window up: span texts and the grid
// windows' labels, the backup buttons by search source, the download window's close, the play list
// built from a folder with and without frame indexes, and pictures of the windows.
#include "tests/client/ClientWindowsSupport.h"

#include "formats/QelAvFile.h"
#include "formats/QelFrameIndex.h"
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/FrameIndexScan.h"
#include "playback/LocalSearch.h"
#include "playback/Qelvidfile.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Menu.h"

#include "platform/vcl/FormTesting.h"

#include <filesystem>

namespace {

using client_tests::ClientWindows;
namespace fs = std::filesystem;

class BackupWindows : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
        Application->CreateForm(frmMenu);
        Application->CreateForm(frmCalendar);
        Application->CreateForm(frmHourTable);
        Application->CreateForm(frmMinTable);
        Application->CreateForm(frmDownload);
        Application->CreateForm(frmBackup);
        Application->CreateForm(frmFileList);
        Application->CreateForm(frmLocalSearch);
        boxes_ = std::make_unique<form_testing::ScopedModalAnswer>([this](TForm& form) {
            if (auto* box = dynamic_cast<TMessageForm*>(&form)) boxes.push_back(box->MessageText());
            return mrOk;
        });
    }
    void TearDown() override {
        boxes_.reset();
        ClientWindows::TearDown();
        frmMenu = nullptr;
        frmCalendar = nullptr;
        frmHourTable = nullptr;
        frmMinTable = nullptr;
        frmDownload = nullptr;
        frmBackup = nullptr;
        frmFileList = nullptr;
        frmLocalSearch = nullptr;
    }
    std::string Text(int id) const { return FrmMain->LoadLangString(id); }

    std::vector<std::string> boxes;
    std::unique_ptr<form_testing::ScopedModalAnswer> boxes_;
};

TEST_F(BackupWindows, SpanTextsBecomeTimesAndLabels) {
    struct Case {
        const char* text;
        bool ok;
        const char* label;
        int y, mo, d, h, mi;
    };
    const Case cases[] = {
        {"200710011230", true, "2007/10/01  12:30:00", 2007, 10, 1, 12, 30},
        {"20071001", true, "2007/10/01  00:00:00", 2007, 10, 1, 0, 0},
        {"2007100123", true, "2007/10/01  23:00:00", 2007, 10, 1, 23, 0},
        {"200802291259", true, "2008/02/29  12:59:00", 2008, 2, 29, 12, 59},
        {"200702291259", false, "", 0, 0, 0, 0, 0},
        {"200713011200", false, "", 0, 0, 0, 0, 0},
        {"200710012460", false, "", 0, 0, 0, 0, 0},
        {"2007100", false, "", 0, 0, 0, 0, 0},
        {"20071001123", false, "", 0, 0, 0, 0, 0},
        {"2007x0011230", false, "", 0, 0, 0, 0, 0},
        {"", false, "", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        frmBackup->ClearSelection();
        EXPECT_EQ(frmBackup->SetStartTime(c.text), c.ok);
        EXPECT_EQ(frmBackup->SetEndTime(c.text), c.ok);
        if (!c.ok) {
            EXPECT_EQ(frmBackup->GetStartTime(), 0u);
            EXPECT_FALSE(frmHourTable->lbStartTime->Visible());
            continue;
        }
        const DWORD t = static_cast<DWORD>(UtcToUnix(c.y, c.mo, c.d, c.h, c.mi, 0));
        EXPECT_EQ(frmBackup->GetStartTime(), t);
        EXPECT_EQ(frmBackup->GetEndTime(), t);
        EXPECT_EQ(frmBackup->lbStartTime->Caption(), c.label);
        for (TLabel* label : {frmCalendar->lbStartTime, frmHourTable->lbStartTime, frmMinTable->lbEndTime}) {
            EXPECT_EQ(label->Caption(), c.label);
            EXPECT_TRUE(label->Visible());
        }
        EXPECT_TRUE(frmMinTable->lbSTime->Visible());
        EXPECT_TRUE(frmCalendar->lbETime->Visible());
    }
}

TEST_F(BackupWindows, ClearSelectionHidesTheSpanAndShowsBackupButtonsForTheRecorderOnly) {
    struct Case {
        int source;
        int cameras;     // the setup menu's
        int mainCameras; // the main window's, from the recorder's last answer
        bool backup;
        bool backup2;
    };
    // After APPLY the menu's count is 0 until a page asks again: the recorder's answer still counts.
    for (const Case c : {Case{1, 4, 4, true, false}, Case{1, 1, 1, true, true}, Case{0, 1, 1, false, false},
                         Case{1, 0, 1, true, true}, Case{1, 0, 4, true, false}}) {
        FrmMain->SearchSource = c.source;
        frmMenu->MaxCamera = c.cameras;
        FrmMain->MaxCamera = c.mainCameras;
        ASSERT_TRUE(frmBackup->SetStartTime("200801011200"));
        ASSERT_TRUE(frmBackup->SetEndTime("200801011300"));
        frmBackup->ClearSelection();
        EXPECT_EQ(frmBackup->GetStartTime(), 0u);
        EXPECT_EQ(frmBackup->GetEndTime(), 0u);
        for (TLabel* label :
             {frmCalendar->lbSTime, frmHourTable->lbStartTime, frmMinTable->lbETime, frmMinTable->lbEndTime})
            EXPECT_FALSE(label->Visible());
        EXPECT_EQ(frmCalendar->btnBackup->Visible(), c.backup);
        EXPECT_EQ(frmHourTable->btnBackup->Visible(), c.backup);
        EXPECT_EQ(frmMinTable->btnBackup->Visible(), c.backup);
        EXPECT_EQ(frmHourTable->btnBackup2->Visible(), c.backup2);
        EXPECT_EQ(frmMinTable->btnBackup2->Visible(), c.backup2);
    }
}

TEST_F(BackupWindows, SizesShowInWholeMegabytes) {
    struct Case {
        DWORD kb;
        const char* shown;
    };
    for (const Case c :
         {Case{0, "0M"}, Case{1, "1M"}, Case{1024, "1M"}, Case{1025, "2M"}, Case{2097152, "2048M"}}) {
        frmBackup->SetBackupSize(c.kb);
        EXPECT_EQ(frmBackup->lbSize->Caption(), c.shown);
        EXPECT_EQ(frmBackup->GetBackupSize(), c.kb);
        EXPECT_TRUE(frmBackup->Enabled());
    }
}

TEST_F(BackupWindows, DownloadCloseEndsOnlyARunningBackup) {
    frmDownload->SetMode(0);
    frmDownload->Show();
    FrmMain->Activities.Begin(TActivity::Backup);
    frmDownload->BtnCloseClick(frmDownload->BtnClose);
    EXPECT_FALSE(frmDownload->Visible());
    EXPECT_TRUE(FrmMain->StreamSaving());

    frmDownload->SetMode(1);
    frmDownload->Show();
    frmDownload->ProgressTransfer->SetCurrentLevel(40);
    frmDownload->BtnCloseClick(frmDownload->BtnClose);
    EXPECT_FALSE(frmDownload->Visible());
    EXPECT_FALSE(FrmMain->StreamSaving());
    EXPECT_EQ(frmDownload->ProgressTransfer->CurrentLevel(), 0);
    // The backup window comes back for the next span; nothing claims the backup complete.
    EXPECT_TRUE(frmBackup->Visible());
    EXPECT_TRUE(boxes.empty());
}

// Writes a recording of `frames` frames named `name` into `folder`.
void WriteRecording(const std::string& folder, const std::string& name, int frames) {
    std::string bytes;
    for (int i = 0; i < frames; ++i) {
        QelFrameInfo info;
        info.frameTime = 1000 + static_cast<DWORD>(i);
        const auto frame = EncodeRecordedFrame(QelAvFrame::Make(info, std::vector<BYTE>(50 + i, 1)), 1000);
        bytes.append(frame.begin(), frame.end());
    }
    testing_support::WriteFileBytes(folder + name, bytes);
}

TEST_F(BackupWindows, PlayListListsRecordingsAndBuildsMissingIndexes) {
    testing_support::TempDir folder;
    WriteRecording(folder.Str(), "20080101120000", 3);
    WriteFrameOffsets(folder.Str() + "20080101120000.fdx", ScanFrameOffsets(folder.Str() + "20080101120000"));
    WriteRecording(folder.Str(), "20080101110000", 5);
    WriteRecording(folder.Str(), "2008010110", 2);                        // too short a name
    testing_support::WriteFileBytes(folder.Str() + "20080101100000", ""); // empty
    ASSERT_TRUE(frmFileList->LoadFolder(folder.Str(), std::string(16, '?')));
    EXPECT_EQ(frmFileList->GetFileCount(), 2);
    ASSERT_EQ(frmFileList->lbFileList->Items()->Count(), 2);
    EXPECT_EQ(frmFileList->lbFileList->Items()->Strings(0), "20080101110000");
    EXPECT_EQ(frmFileList->lbFileList->Items()->Strings(1), "20080101120000");
    EXPECT_EQ(FrmMain->VideoReader->GetListItem(0), folder.Str() + "20080101110000");
    EXPECT_EQ(FrmMain->VideoReader->GetListItem(1), folder.Str() + "20080101120000");
    const std::string built = HomeFile("Temporary/20080101110000.fdx");
    EXPECT_EQ(ReadQelIndexFile(built), ScanFrameOffsets(folder.Str() + "20080101110000"));
    EXPECT_EQ(ReadQelIndexFile(built).size(), 5u);
    EXPECT_FALSE(fs::exists(HomeFile("Temporary/20080101120000.fdx")));
    EXPECT_TRUE(boxes.empty());

    // A folder with nothing that matches lists nothing.
    testing_support::TempDir empty;
    EXPECT_FALSE(frmFileList->LoadFolder(empty.Str(), std::string(16, '?')));
    EXPECT_EQ(frmFileList->GetFileCount(), 0);
}

TEST_F(BackupWindows, PlayListStopsWhenTheWorkingFolderCannotBeMade) {
    testing_support::TempDir folder;
    WriteRecording(folder.Str(), "20080101110000", 2);
    fs::remove_all(HomeFile("Temporary"));
    testing_support::WriteFileBytes(HomeFile("Temporary"), "not a folder");
    EXPECT_FALSE(frmFileList->LoadFolder(folder.Str(), std::string(16, '?')));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind(Text(59883), 0), 0u) << boxes[0];
    fs::remove(HomeFile("Temporary"));
}

TEST_F(BackupWindows, AClickOnARecordingThatVanishedKeepsThePlayedRow) {
    testing_support::TempDir folder;
    WriteRecording(folder.Str(), "20080101110000", 2);
    WriteRecording(folder.Str(), "20080101120000", 2);
    ASSERT_TRUE(frmFileList->LoadFolder(folder.Str(), std::string(16, '?')));
    FrmMain->PlayListPos = 0;
    fs::remove(folder.Str() + "20080101120000");
    frmFileList->lbFileList->SetItemIndex(1);
    frmFileList->lbFileListClick(frmFileList->lbFileList);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], Text(59880) + "\n" + folder.Str() + "20080101120000");
    EXPECT_EQ(frmFileList->lbFileList->ItemIndex(), 0);
}

TEST_F(BackupWindows, LocalSearchCancelLeavesNoReaderAndNoFile) {
    testing_support::TempDir folder;
    WriteRecording(folder.Str(), "20080101110000", 40);
    WriteFrameOffsets(folder.Str() + "20080101110000.fdx", ScanFrameOffsets(folder.Str() + "20080101110000"));
    ASSERT_TRUE(FrmMain->VideoReader->Open(folder.Str() + "20080101110000"));
    FrmMain->VideoReader->StartReader(1, 1, 4);
    FrmMain->SetEnabled(false);
    frmLocalSearch->Show();
    EXPECT_EQ(frmLocalSearch->btnFile->Caption(), Text(50988));
    frmLocalSearch->btnCancelClick(frmLocalSearch->btnCancel);
    EXPECT_FALSE(FrmMain->VideoReader->IsReaderRunning());
    EXPECT_FALSE(FrmMain->VideoReader->IsOpen());
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_FALSE(frmLocalSearch->Visible());
}

TEST_F(BackupWindows, LocalSearchChoosesFilesOrTheCalendar) {
    frmMenu->MaxCamera = 1;
    FrmMain->SetLocalDbMode(1);
    frmLocalSearch->Show();
    {
        form_testing::ScopedFolderAnswer cancel("");
        frmLocalSearch->btnFileClick(frmLocalSearch->btnFile);
        EXPECT_EQ(cancel.Asked().size(), 1u);
    }
    EXPECT_EQ(FrmMain->GetLocalDbMode(), 0);
    EXPECT_FALSE(frmLocalSearch->Visible());
    EXPECT_TRUE(FrmMain->Enabled());

    frmLocalSearch->Show();
    frmLocalSearch->btnCalendarClick(frmLocalSearch->btnCalendar);
    EXPECT_EQ(FrmMain->GetLocalDbMode(), 1);
    EXPECT_EQ(frmMenu->MaxCamera, 4);
    EXPECT_FALSE(frmLocalSearch->Visible());
    // No recorder disk: the calendar query finds no database and gives the main window back.
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(BackupWindows, TypeStartsAsTheSearchOptionsChose) {
    struct Case {
        int mode;
        int item;
    };
    Application->CreateForm(frmSearch);
    for (const Case c : {Case{2, 1}, Case{1, 0}, Case{3, 0}}) {
        frmSearch->SetSearchMode(c.mode);
        const std::unique_ptr<TfrmBackup> window(new TfrmBackup(nullptr));
        EXPECT_EQ(window->cmbType->ItemIndex(), c.item) << c.mode;
    }
}

TEST_F(BackupWindows, Pictures) {
    FrmMain->SearchSource = 1;
    ASSERT_TRUE(frmBackup->SetStartTime("200801011200"));
    ASSERT_TRUE(frmBackup->SetEndTime("200801011300"));
    frmBackup->SetBackupSize(123456);
    frmBackup->Show();
    EXPECT_EQ(frmBackup->edtPath->Text(), FrmMain->ProgramFolder);
    form_testing::SaveFormSnapshot(frmBackup, SnapshotPath("backup_window"));
    frmDownload->ProgressTransfer->SetMaximumLevel(100);
    frmDownload->ProgressTransfer->SetCurrentLevel(60);
    frmDownload->Show();
    form_testing::SaveFormSnapshot(frmDownload, SnapshotPath("download_window"));
    testing_support::TempDir folder;
    WriteRecording(folder.Str(), "20080101110000", 2);
    WriteRecording(folder.Str(), "20080101120000", 2);
    ASSERT_TRUE(frmFileList->LoadFolder(folder.Str(), std::string(16, '?')));
    frmFileList->Show();
    form_testing::SaveFormSnapshot(frmFileList, SnapshotPath("play_list_window"));
    EXPECT_TRUE(fs::exists(SnapshotPath("play_list_window")));
}

} // namespace
