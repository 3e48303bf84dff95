// The medium chooser and the CF/SD file table with the main window up: choosing a medium against the
// simulated recorder, the table's pages from card databases written by the store generator, and a row
// that asks the recorder to play its recording.
#include "tests/recdb/SearchRig.h"

#include "playback/FileTable.h"
#include "tools/recgen/RecorderDatabases.h"

#include "platform/core/SysTime.h"

namespace disk_tests {
namespace {

using testing_support::WriteFileBytes;

class DiskWindows : public search_tests::SearchRig {
protected:
    void SetUp() override {
        SearchRig::SetUp();
        Application->CreateForm(FrmFileTable);
    }

    // `count` recordings a minute apart from 2008-03-04 05:06:07; every third carries an event.
    static std::vector<recgen::StoreRecording> Recordings(int count) {
        std::vector<recgen::StoreRecording> out;
        for (int i = 0; i < count; ++i) {
            recgen::StoreRecording r;
            r.seq = static_cast<DWORD>(i + 1);
            r.startTime = static_cast<DWORD>(UtcToUnix(2008, 3, 4, 5, 6, 7) + 60 * i);
            r.endTime = r.startTime + 50;
            r.fileName = "2008030405/" + std::to_string(r.seq);
            r.counts = {10, 10, 10, 10};
            if (i % 3 == 0) r.eventTypes = {0, 0, 2, 0};
            out.push_back(r);
        }
        return out;
    }

    void WriteCard(const char* name, int count, const std::string& id = "A1B2C3D4") {
        WriteFileBytes(HomeFile(name), recgen::RecordingsDatabaseImage(Recordings(count), id));
    }

    // Without a link the download fails, the chooser comes back, and the medium is remembered.
    void ChooseOffline(TButton* button) {
        button->OnClick(button);
        seen_.clear();
    }

    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < 8; ++row)
            if (FrmFileTable->RowButton(row)->Visible())
                rows.push_back(FrmFileTable->RowButton(row)->Caption());
        return rows;
    }
};

TEST_F(DiskWindows, ChooserTextsAndAFailedDownloadOffersItAgain) {
    FrmMain->SetEnabled(false);
    FrmSerDevice->Show();
    EXPECT_EQ(FrmSerDevice->Caption(), FrmMain->LoadLangString(59895));
    EXPECT_EQ(FrmSerDevice->btnHDD->Caption(), FrmMain->LoadLangString(59892));
    EXPECT_EQ(FrmSerDevice->btnCancel->Caption(), FrmMain->LoadLangString(59979));
    const struct {
        TButton* button;
        int medium;
    } rows[] = {{FrmSerDevice->btnSD, 2}, {FrmSerDevice->btnCF, 1}, {FrmSerDevice->btnHDD, 0}};
    for (const auto& row : rows) {
        row.button->OnClick(row.button);
        EXPECT_EQ(FrmSerDevice->GetMedia(), row.medium);
        EXPECT_FALSE(Boxes().empty()); // the failed request says so
        EXPECT_TRUE(FrmSerDevice->Visible());
        EXPECT_FALSE(frmSearch->Visible());
        seen_.clear();
    }
    FrmSerDevice->btnCancel->OnClick(FrmSerDevice->btnCancel);
    EXPECT_EQ(FrmSerDevice->GetMedia(), 3);
    EXPECT_FALSE(FrmSerDevice->Visible());
    EXPECT_TRUE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisser->Visible());
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_TRUE(Idle());
}

TEST_F(DiskWindows, CardChoiceDownloadsTheCardDatabase) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    EnterSearchMode();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    FrmSerDevice->btnCF->OnClick(FrmSerDevice->btnCF);
    EXPECT_EQ(FrmSerDevice->GetMedia(), 1);
    EXPECT_EQ(testing_support::ReadFileBytes(HomeFile("qeldbfile_cf.db")),
              *sim.ServedFile(QELFILE_DATABASE, QELDISK_CF));
    EXPECT_TRUE(frmSearch->Visible());
    EXPECT_FALSE(FrmSerDevice->Visible());
    EXPECT_FALSE(FrmWait->Visible());
}

TEST_F(DiskWindows, CardSearchListsTheNewestRecordingsInTheFileTable) {
    LoggedIn(StoreOptions());
    EnterSearchMode();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    FrmSerDevice->btnCF->OnClick(FrmSerDevice->btnCF);
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->btnAllClick(frmSearch->btnAll);
    EXPECT_TRUE(FrmFileTable->Visible());
    EXPECT_FALSE(frmCalendar->Visible());
    EXPECT_GT(FrmFileTable->GetPageCount(), 0);
    EXPECT_FALSE(Rows().empty());
    EXPECT_TRUE(FrmMain->BtnDisser->Visible());
}

TEST_F(DiskWindows, PagesOfTheCardTable) {
    const struct {
        int files;
        int mode;
        std::string label;
        int rowsOnFirstPage;
    } rows[] = {
        {17, 1, "1/3", 8}, {16, 1, "1/2", 8}, {0, 1, "1/0", 0},
        {3, 1, "1/1", 3},  {17, 2, "1/1", 6}, // events on seq 1, 4, 7, 10, 13, 16
        {17, 3, "", 0},                       // back mode lists nothing
    };
    ChooseOffline(FrmSerDevice->btnCF);
    for (const auto& row : rows) {
        WriteCard("qeldbfile_cf.db", row.files);
        frmSearch->SetSearchMode(row.mode);
        const bool shown = FrmFileTable->ShowFiles();
        EXPECT_EQ(shown, !row.label.empty()) << row.files << " mode " << row.mode;
        if (shown) {
            EXPECT_EQ(FrmFileTable->lbPage->Caption(), row.label) << row.files;
        }
        EXPECT_EQ(Rows().size(), static_cast<std::size_t>(row.rowsOnFirstPage)) << row.files;
        FrmFileTable->Hide();
    }
}

TEST_F(DiskWindows, RowCaptionsAndStepsThroughPages) {
    ChooseOffline(FrmSerDevice->btnSD);
    WriteCard("qeldbfile_sd.db", 17);
    frmSearch->SetSearchMode(1);
    ASSERT_TRUE(FrmFileTable->ShowFiles());
    EXPECT_EQ(FrmFileTable->Caption(), FrmMain->LoadLangString(59942));
    EXPECT_EQ(FrmFileTable->lbDevice->Caption(), FrmMain->LoadLangString(59939));
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    // Newest first: seq 17 starts 16 minutes after the first, no event; seq 16 has one.
    EXPECT_EQ(rows[0].substr(0, 2), "  ");
    EXPECT_EQ(rows[0].substr(18, 22), " 2008/03/04 05:22:07  ");
    EXPECT_EQ(rows[0].substr(rows[0].size() - 6), "B2C3D4");
    EXPECT_EQ(rows[1].substr(0, 2), "! ");
    EXPECT_EQ(FrmFileTable->GetRowSeq(0), 17);
    EXPECT_EQ(RowStartTime(rows[0]), UtcToUnix(2008, 3, 4, 5, 22, 7));
    form_testing::SaveFormSnapshot(FrmFileTable, SnapshotPath("file_table_sd"));

    FrmFileTable->BmButton1Click(FrmFileTable->BmButton1); // already on the first page
    EXPECT_EQ(FrmFileTable->GetPage(), 1);
    FrmFileTable->BmButton2Click(FrmFileTable->BmButton2);
    FrmFileTable->BmButton2Click(FrmFileTable->BmButton2);
    EXPECT_EQ(FrmFileTable->lbPage->Caption(), "3/3");
    EXPECT_EQ(Rows().size(), 1u);
    EXPECT_EQ(FrmFileTable->GetRowSeq(0), 1);
    EXPECT_FALSE(FrmFileTable->btn2->Visible());
    FrmFileTable->BmButton2Click(FrmFileTable->BmButton2); // no fourth page
    EXPECT_EQ(FrmFileTable->GetPage(), 3);
    FrmFileTable->BmButton1Click(FrmFileTable->BmButton1);
    EXPECT_EQ(FrmFileTable->GetRowSeq(0), 9);

    // A damaged database empties the page without leaving the handler.
    WriteFileBytes(HomeFile("qeldbfile_sd.db"), std::string(4096, 'x'));
    FrmFileTable->BmButton1Click(FrmFileTable->BmButton1);
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(FrmFileTable->ShowFiles());
}

TEST_F(DiskWindows, PageLabelPositionAndRowSetters) {
    const struct {
        int files;
        int page;
        int left;
    } rows[] = {{8 * 9, 9, 360}, {8 * 10, 10, 352}, {8 * 100, 100, 344}, {8 * 1000, 1000, 336}};
    for (const auto& row : rows) {
        FrmFileTable->SetRowCount(row.files);
        for (int p = 1; p < row.page; ++p)
            FrmFileTable->BmButton2Click(FrmFileTable->BmButton2); // no card chosen: pages stay empty
        EXPECT_EQ(FrmFileTable->GetPage(), row.page);
        EXPECT_EQ(FrmFileTable->lbPage->Left(), row.left) << row.page;
    }
    FrmFileTable->ClearRows();
    for (int row : {0, 9, -1})
        FrmFileTable->SetRow(row, "x", 5);
    EXPECT_TRUE(Rows().empty());
    FrmFileTable->SetRow(8, "last", 42);
    EXPECT_EQ(Rows(), std::vector<std::string>{"last"});
    EXPECT_EQ(FrmFileTable->GetRowSeq(7), 42);
}

TEST_F(DiskWindows, StartTimesCutFromCaptions) {
    const std::string good = "  " + std::string(" 03/04 05:07:00 ") + " 2008/02/29 23:59:58  " + "B2C3D4";
    EXPECT_EQ(RowStartTime(good), UtcToUnix(2008, 2, 29, 23, 59, 58));
    for (const std::string& bad :
         {std::string(""), std::string("short"), good.substr(0, 37), std::string(good).replace(24, 2, "13"),
          std::string(good).replace(27, 2, "30"), std::string(good).replace(19, 4, "19x9")})
        EXPECT_EQ(RowStartTime(bad), std::nullopt) << bad;
}

TEST_F(DiskWindows, ARowAsksTheRecorderToPlayIt) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    EnterSearchMode();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    FrmSerDevice->btnCF->OnClick(FrmSerDevice->btnCF);
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->SetSearchMode(1);
    frmSearch->Hide();
    ASSERT_TRUE(FrmFileTable->ShowFiles());
    FrmMain->SetEnabled(false);
    ASSERT_FALSE(Rows().empty());
    const std::size_t before = sim.Log().Packets().size();
    const int seq = FrmFileTable->GetRowSeq(0);
    const auto start = RowStartTime(Rows()[0]);
    ASSERT_TRUE(start.has_value());
    FrmFileTable->btn1Click(FrmFileTable->btn1);
    // The log is a copy taken at each call: the recorder keeps logging meanwhile.
    ASSERT_TRUE(PumpReal([&] {
        const auto packets = sim.Log().Packets();
        for (std::size_t i = before; i < packets.size(); ++i)
            if (packets[i].packet.Command() == NETCMD_SEARCH) return true;
        return false;
    }));
    const auto packets = sim.Log().Packets();
    for (std::size_t i = before; i < packets.size(); ++i) {
        const auto& p = packets[i].packet;
        if (p.Command() != NETCMD_SEARCH) continue;
        EXPECT_EQ(p.Arg0(), static_cast<DWORD>(*start));
        EXPECT_EQ(p.Arg1(), 1u);
        EXPECT_EQ(p.Arg2(), 1u);
        EXPECT_EQ(p.Result(), static_cast<DWORD>(seq));
    }
    EXPECT_FALSE(FrmFileTable->Visible());
    EXPECT_EQ(FrmFileTable->GetRowSeq(0), seq);
    EXPECT_TRUE(FrmMain->RemoteSearchActive());
    EXPECT_TRUE(FrmMain->BtnBack5->Enabled());
    EXPECT_TRUE(FrmMain->Enabled());

    // An empty row sends nothing.
    const std::size_t after = sim.Log().Packets().size();
    FrmFileTable->PlayRow("", 3);
    PumpReal([] { return false; }, 100);
    EXPECT_EQ(sim.Log().Packets().size(), after);
}

TEST_F(DiskWindows, CancelReturnsToTheSearchOptions) {
    FrmFileTable->Show();
    FrmFileTable->btnCancelClick(FrmFileTable->btnCancel);
    EXPECT_FALSE(FrmFileTable->Visible());
    EXPECT_TRUE(frmSearch->Visible());
}

} // namespace
} // namespace disk_tests
