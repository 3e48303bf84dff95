// The recorder's log list: downloaded from the simulated recorder, listed newest first, and the ways
// the download ends early.
#include "tests/recdb/SearchRig.h"

#include "client/Wait.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/SqliteDb.h"

#include "platform/core/FileUtils.h"

#include <filesystem>

namespace search_tests {
namespace {

using client_tests::SilentReply;
using client_tests::TSeenBox;

class SearchLoglist : public SearchRig {
protected:
    static std::vector<std::string> ListLines() {
        std::vector<std::string> out;
        TStrings* items = frmLoglist->lbLogList->Items();
        for (int i = 0; i < items->Count(); ++i)
            out.push_back(items->Strings(i));
        return out;
    }
    // The setup menu hands over to the log, inside the setup pass the setup button began.
    void OpenFromMenu() {
        FrmMain->Activities.Begin(TActivity::SetupPass);
        frmMenu->Hide();
        FrmMain->ShowDeviceLog();
    }
};

TEST_F(SearchLoglist, ListsTheRecordersLogNewestFirst) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    OpenFromMenu();
    ASSERT_TRUE(frmLoglist->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_TRUE(DebugHas("SUCCESS:107"));
    EXPECT_TRUE(DebugHas("SUCCESS:105"));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_FILE_REQUEST)->packet.Arg0(), static_cast<DWORD>(QELFILE_LOGLIST));
    // What the file itself holds, read directly.
    sqlite_db db;
    db.open(Store().dir.File("loglist.db"));
    const sqlite_result rows = db.query("SELECT seq, desc, update_time FROM log ORDER BY seq desc");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(ListLines(), LogLines(rows));
    EXPECT_EQ(ListLines().size(), rows.size());
    EXPECT_EQ(ListLines().front().substr(0, 3), "   ");
    EXPECT_NE(ListLines().front().find(rows.front().at("desc")), std::string::npos);

    // EXIT: the downloaded file goes, the menu comes back, the main window takes input again.
    ASSERT_TRUE(FileExists(HomeFile("loglist.db")));
    frmLoglist->btnExitClick(frmLoglist->btnExit);
    EXPECT_FALSE(frmLoglist->Visible());
    EXPECT_FALSE(FileExists(HomeFile("loglist.db")));
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(SearchLoglist, ClosingTheListLeavesTheMenuHidden) {
    LoggedIn(StoreOptions());
    OpenFromMenu();
    ASSERT_TRUE(frmLoglist->Visible());
    frmLoglist->Close();
    EXPECT_FALSE(FileExists(HomeFile("loglist.db")));
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_FALSE(frmMenu->Visible());
}

TEST_F(SearchLoglist, LogThatNeverComesGivesUpAfterTenSeconds) {
    testing_support::TempDir empty;
    LoggedIn(StoreOptions(empty.Str()));
    testing_support::FakeTick tick(1000, 250);
    OpenFromMenu();
    // The recorder answered 4: no line, then the wait for the file.
    EXPECT_FALSE(DebugHas("FAILED:105"));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59856, 59858)}));
    EXPECT_FALSE(frmLoglist->Visible());
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_EQ(FrmMain->FileReceived, 0);
}

TEST_F(SearchLoglist, UnansweredCameraCountReturnsToTheMenu) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    sim.SetReplyFault(NETCMD_CAMERA_INFO, SilentReply());
    testing_support::FakeTick tick(1000, 500);
    const std::size_t before = Commands(sim).size();
    OpenFromMenu();
    EXPECT_TRUE(DebugHas("TIME OUT:107"));
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_CAMERA_INFO}));
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(frmLoglist->Visible());
}

TEST_F(SearchLoglist, DamagedLogSaysWhyAndReturnsToTheMenu) {
    testing_support::TempDir store;
    testing_support::WriteFileBytes(store.File("loglist.db"), std::string(2048, '\x7f'));
    LoggedIn(StoreOptions(store.Str()));
    OpenFromMenu();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, FrmMain->LoadLangString(59856));
    EXPECT_FALSE(frmLoglist->Visible());
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
}

TEST_F(SearchLoglist, WithoutLinkTheLogIsRefused) {
    FrmMain->ShowDeviceLog();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59856, 59869)}));
    EXPECT_FALSE(frmLoglist->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchLoglist, SaveTargets) {
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/Loglist", "/tmp/Loglist.txt"},
        {"/tmp/Loglist.txt", "/tmp/Loglist.txt"},
        {"/tmp/log.csv", "/tmp/log.csv"},
        {"/tmp/a.b/log", "/tmp/a.b/log.txt"},
    };
    for (const auto& [chosen, target] : cases)
        EXPECT_EQ(TfrmLoglist::SaveTarget(chosen), target) << chosen;
}

} // namespace
} // namespace search_tests
