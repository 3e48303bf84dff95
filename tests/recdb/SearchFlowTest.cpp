// A remote search from the main window against the simulated recorder: the database downloaded, the
// calendar, hour and minute tables filled from it, the searched stream started and stopped; and the
// ways such a search ends early.
#include "tests/recdb/SearchRig.h"

#include "client/Wait.h"
#include "playback/Qelvidfile.h"
#include "recdb/KeyTime.h"
#include "recdb/SqliteDb.h"
#include "tests/sqlite2/SchemaImage.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/TestHooks.h"

#include <filesystem>
#include <map>

namespace search_tests {
namespace {

using client_tests::ReplyResult;
using client_tests::SilentReply;
using client_tests::TSeenBox;

// What a direct query of the database file gives for a month: day -> 2 with an event, else 1.
std::vector<std::pair<int, int>> DaysInFile(const std::string& path, int year, int month) {
    sqlite_db db;
    db.open(path);
    std::map<int, int> days;
    for (const auto& row : db.query("SELECT day, event_type FROM daylist WHERE year = " +
                                    std::to_string(year) + " AND month = " + std::to_string(month))) {
        int& state = days[std::stoi(row.at("day"))];
        state = std::max(state, std::stoi(row.at("event_type")) != 0 ? 2 : 1);
    }
    return {days.begin(), days.end()};
}

void SaveSnapshot(TForm* form, const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(client_tests::ClientWindows::SnapshotPath("x")).parent_path().parent_path() /
        "recdb";
    std::filesystem::create_directories(folder);
    form_testing::SaveFormSnapshot(form, (folder / (name + ".png")).string());
}

class SearchFlow : public SearchRig {};

TEST_F(SearchFlow, CalendarHourAndMinuteTablesLeadToTheSearchedStream) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    ChooseHardDisk();
    const std::string db = HomeFile("qeldbfile_hdd.db");
    ASSERT_EQ(testing_support::ReadFileBytes(db), *sim.ServedFile(QELFILE_DATABASE, QELDISK_HDD));
    EXPECT_TRUE(DebugHas("SUCCESS:105"));
    ASSERT_TRUE(frmSearch->Visible());
    EXPECT_FALSE(FrmSerDevice->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_TRUE(FrmMain->BtnDisser->Visible());
    EXPECT_FALSE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(frmSearch->btnChannel->Enabled());

    // The newest month, marked as the file has it.
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200801");
    EXPECT_EQ(frmCalendar->ShownYear(), 2008);
    EXPECT_EQ(CalendarMarks(), DaysInFile(db, 2008, 1));
    EXPECT_EQ(CalendarMarks(), (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));

    // Back across the year end and forward again; nothing lies before December.
    frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200712");
    EXPECT_EQ(CalendarMarks(), DaysInFile(db, 2007, 12));
    EXPECT_EQ(CalendarMarks().size(), 2u);
    frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200712");
    EXPECT_EQ(CalendarMarks(), DaysInFile(db, 2007, 12));
    frmCalendar->IMFNextClick(frmCalendar->IMFNext);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200801");
    EXPECT_EQ(CalendarMarks(), DaysInFile(db, 2008, 1));
    SaveSnapshot(frmCalendar, "calendar_200801");

    // 1 January 2008 is a Tuesday: cell 3.
    ASSERT_EQ(TfrmCalendar::FirstWeekday(2008, 1), 3);
    frmCalendar->DayCellClick(3);
    EXPECT_EQ(frmCalendar->GetSelectedDate(), "20080101");
    EXPECT_TRUE(frmCalendar->SelectionImage(3)->Visible());
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    EXPECT_FALSE(frmCalendar->Visible());
    EXPECT_EQ(frmHourTable->lbDateTime->Caption(), "2008/01/01  00:00:00");
    // Recordings start at 9, 13 and 17; the middle one has events on every camera.
    for (int channel = 0; channel < 4; ++channel)
        for (int hour = 0; hour < 24; ++hour) {
            const int expected = hour == 13 ? 2 : (hour == 9 || hour == 17) ? 1 : 0;
            EXPECT_EQ(frmHourTable->Cell(channel, hour)->CurrentFrame(), expected) << channel << " " << hour;
        }
    SaveSnapshot(frmHourTable, "hourtable_20080101");

    // A four-camera recorder selects the whole column.
    frmHourTable->HourCellClick(2, 9);
    EXPECT_EQ(frmHourTable->GetSelectedHour(), "2008010109");
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_EQ(frmHourTable->Cell(channel, 9)->CurrentFrame(), 4);
    frmHourTable->btnOk2Click(frmHourTable->btnOk);
    ASSERT_TRUE(frmMinTable->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_EQ(frmMinTable->lbDateTime->Caption(), "2008/01/01  09:00:00");
    // A recording of 90 s from 09:00: minutes 0 and 1.
    for (int minute = 0; minute < 60; ++minute)
        EXPECT_EQ(frmMinTable->Cell(0, minute)->CurrentFrame(), minute <= 1 ? 1 : 0) << minute;
    SaveSnapshot(frmMinTable, "mintable_2008010109");

    frmMinTable->MinuteCellClick(0, 1);
    EXPECT_EQ(frmMinTable->GetSelectedMinute(), "200801010901");
    const std::size_t before = Commands(sim).size();
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH, 2000));
    const auto search = sim.Log().LastCommand(NETCMD_SEARCH);
    const DWORD minuteTime = static_cast<DWORD>(*KeyToUtcSeconds("200801010901"));
    EXPECT_EQ(search->packet.Arg0(), minuteTime);
    EXPECT_EQ(search->packet.Arg2(), 0u);
    EXPECT_EQ(search->packet.Arg1(), 0u);
    const auto covering =
        std::find_if(Store().recordings.begin(), Store().recordings.end(),
                     [&](const auto& r) { return r.startTime <= minuteTime && r.endTime >= minuteTime; });
    ASSERT_NE(covering, Store().recordings.end());
    EXPECT_EQ(search->packet.Result(), covering->seq);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_SEARCH}));
    EXPECT_TRUE(FrmMain->RemoteSearchActive());
    EXPECT_FALSE(frmMinTable->Visible());

    // The searched stream reaches the screens and ends the wait.
    ASSERT_TRUE(PumpReal([] { return FrmMain->lbState->Caption() == "SEARCH" && !FrmWait->Visible(); }));
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_NE(FrmMain->LabelSearchTime->Caption(), "");

    // Stop: 115, the screens blank, the search button back.
    FrmMain->BtnDisserClick(FrmMain->BtnDisser);
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_SEARCH_STOP).has_value(), true);
    EXPECT_TRUE(DebugHas("SUCCESS:115"));
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_EQ(FrmMain->lbState->Caption(), "");
    EXPECT_TRUE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisser->Visible());
    EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchFlow, StopThatIsNotAnsweredStillEndsTheSearch) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    EnterSearchMode();
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->BtnDisser->SetVisible(true);
    sim.SetReplyFault(NETCMD_SEARCH_STOP, SilentReply());
    testing_support::FakeTick tick(1000, 500);
    FrmMain->BtnDisserClick(FrmMain->BtnDisser);
    EXPECT_TRUE(DebugHas("TIME OUT:115"));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    // The local tab's own buttons: DISCONNECT where SEARCH would open the medium chooser.
    EXPECT_FALSE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisser->Visible());
    EXPECT_TRUE(FrmMain->BtnDisconnect->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchFlow, StopWithTheLinkClosedSendsNothing) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->CliSocket->Close();
    const std::size_t before = Commands(sim).size();
    FrmMain->BtnDisserClick(FrmMain->BtnDisser);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    // The local tab shows: no search button of its own.
    EXPECT_FALSE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisser->Visible());
    EXPECT_TRUE(Idle());
}

struct DbRequestCase {
    const char* name;
    bool silent;
    std::optional<DWORD> result;
    bool fileFirst;  // the file before the reply
    bool removeCard; // the store has no SD database
    int textId;      // 0: the request succeeds
    const char* debugLine;
};

TEST_F(SearchFlow, DatabaseRequestEndings) {
    const DbRequestCase cases[] = {
        {"no reply", true, std::nullopt, false, true, 59850, "TIME OUT:105"},
        {"refused", false, 2u, false, true, 59848, "FAILED:105"},
        {"no file on the card", false, std::nullopt, false, true, 59846, "FAILED:105"},
        {"result 3 after the file", false, 3u, true, false, 0, nullptr},
        {"result 3 without the file", false, 3u, false, true, 59847, "FAILED:105"},
    };
    testing_support::TempDir noCards;
    for (const char* name : {"qeldbfile_hdd.db", "loglist.db"})
        std::filesystem::copy_file(Store().dir.File(name), noCards.File(name));
    for (const DbRequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = StoreOptions(c.removeCard ? noCards.Str() : Store().Path());
        if (c.silent) o.faults.replies[NETCMD_FILE_REQUEST] = SilentReply();
        if (c.result) o.faults.replies[NETCMD_FILE_REQUEST] = ReplyResult(*c.result);
        o.faults.fileBeforeReply = c.fileFirst;
        recsim::RecSim& sim = LoggedIn(o);
        EnterSearchMode();
        seen_.clear();
        std::unique_ptr<testing_support::FakeTick> tick;
        if (c.silent) tick = std::make_unique<testing_support::FakeTick>(1000, 1000);
        const bool ok = FrmMain->RequestDbFile(c.removeCard ? QELDISK_SD : QELDISK_HDD);
        tick.reset();
        if (c.textId == 0) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(Boxes().empty());
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, c.textId)}));
            EXPECT_TRUE(DebugHas(c.debugLine));
            // The receiver reads packets again, and the link still answers.
            EXPECT_EQ(FrmMain->CurrentMode, kModeSearch);
            EXPECT_TRUE(FrmMain->Enabled());
            sim.ClearFaults();
            EXPECT_EQ(FrmMain->SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs), 1);
            EXPECT_EQ(FrmMain->Receiver.ReceiveMode(), 0);
        }
        FrmWait->Close();
        FrmMain->AVDataCliSocket->Close();
        FrmMain->CliSocket->Close();
        client_tests::LoginRig::PumpReal([] { return false; }, 50);
    }
}

// A database of another layout whose day list is a view over nine copies of the schema table: a query
// that would run for hours.
std::string RunawayDatabase() {
    std::vector<sqlite2_test::SchemaRow> rows;
    for (int i = 0; i < 9; ++i)
        rows.push_back(
            {"table", "f" + std::to_string(i), "3", "CREATE TABLE f" + std::to_string(i) + " (x)"});
    rows.push_back({"view", "daylist", "0",
                    "CREATE VIEW daylist AS SELECT a.name AS year, b.name AS month, c.name AS day, d.name AS "
                    "event_type FROM sqlite_master a, sqlite_master b, sqlite_master c, sqlite_master d, "
                    "sqlite_master e, sqlite_master f, sqlite_master g, sqlite_master h, sqlite_master i"});
    return sqlite2_test::SchemaImage(rows);
}

TEST_F(SearchFlow, DamagedDatabaseEndsTheSearchWithItsReason) {
    const struct {
        const char* what;
        std::string bytes;
        const char* reason; // part of the box's text
    } cases[] = {{"garbage", std::string(4096, 'x'), "not a database"},
                 {"runaway query", RunawayDatabase(), "interrupted"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TempDir store;
        testing_support::WriteFileBytes(store.File("qeldbfile_hdd.db"), c.bytes);
        LoggedIn(StoreOptions(store.Str()));
        ChooseHardDisk();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].caption, FrmMain->LoadLangString(59849));
        EXPECT_NE(Boxes()[0].text.find(c.reason), std::string::npos) << Boxes()[0].text;
        // The chooser is offered again; the main window and its buttons are usable.
        EXPECT_TRUE(FrmSerDevice->Visible());
        EXPECT_FALSE(frmSearch->Visible());
        EXPECT_FALSE(FrmWait->Visible());
        EXPECT_TRUE(FrmMain->BtnSer->Visible());
        EXPECT_FALSE(FrmMain->RemoteSearchActive());
        FrmSerDevice->btnCancel->OnClick(FrmSerDevice->btnCancel);
        EXPECT_TRUE(Idle());
        sims_.back()->DropLink();
        ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    }
}

TEST_F(SearchFlow, EmptyDatabaseSaysThereIsNothingToSearch) {
    testing_support::TempDir store;
    std::filesystem::copy_file(testing_support::FixturePath("sqlite2/qeldbfile_empty.db"),
                               store.File("qeldbfile_hdd.db"));
    LoggedIn(StoreOptions(store.Str()));
    ChooseHardDisk();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, 59844)}));
    EXPECT_TRUE(FrmSerDevice->Visible());
    EXPECT_FALSE(frmCalendar->Visible());
    EXPECT_TRUE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisser->Visible());
}

TEST_F(SearchFlow, SearchButtonWithoutLinkFallsBackToLocal) {
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, 59869)}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());
    EXPECT_FALSE(FrmSerDevice->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchFlow, RecorderWithoutCardsOffersOnlyItsDiskAndTheNextWithCardsOffersThem) {
    recsim::RecSimOptions o = StoreOptions();
    o.removableMedia = 0;
    recsim::RecSim& sim = LoggedIn(o);
    EnterSearchMode();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    EXPECT_TRUE(FrmSerDevice->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_TRUE(FrmSerDevice->btnHDD->Enabled());
    EXPECT_FALSE(FrmSerDevice->btnCF->Enabled());
    EXPECT_FALSE(FrmSerDevice->btnSD->Enabled());
    EXPECT_EQ(FrmMain->GetSearchSource(), 1);

    // The next recorder of the same run has its cards, and they can be searched.
    FrmSerDevice->btnCancel->OnClick(FrmSerDevice->btnCancel);
    sim.DropLink();
    ASSERT_TRUE(PumpReal([&] { return !LinkUp(); }));
    LoggedIn(StoreOptions());
    EnterSearchMode();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    ASSERT_TRUE(FrmSerDevice->Visible());
    EXPECT_TRUE(FrmSerDevice->btnCF->Enabled());
    EXPECT_TRUE(FrmSerDevice->btnSD->Enabled());
}

TEST_F(SearchFlow, PrevInTheSearchOptionsReturnsToTheChooser) {
    LoggedIn(StoreOptions());
    ChooseHardDisk();
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->btnCancelClick(frmSearch->btnCancel);
    EXPECT_EQ(frmSearch->GetSearchMode(), 3);
    EXPECT_FALSE(frmSearch->Visible());
    EXPECT_TRUE(FrmSerDevice->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_TRUE(FrmMain->BtnSer->Visible());
    // Channel search is the recorder disk's: from the recorder it starts nothing.
    frmSearch->btnChannelClick(frmSearch->btnChannel);
    EXPECT_EQ(frmSearch->GetSearchMode(), 2);
    EXPECT_EQ(frmSearch->GetSearchChannel(), 1);
    EXPECT_FALSE(frmCalendar->Visible());
}

TEST_F(SearchFlow, EventSearchMarksOnlyEventDaysAndHours) {
    LoggedIn(StoreOptions());
    ChooseHardDisk();
    frmSearch->btnEventClick(frmSearch->btnEvent);
    ASSERT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(frmSearch->GetSearchChannel(), -1);
    EXPECT_EQ(CalendarMarks(), (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    frmCalendar->DayCellClick(4); // 2 January
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(frmHourTable->Cell(0, hour)->CurrentFrame(), hour == 13 ? 2 : 0) << hour;
    // An unmarked hour cannot be chosen; Prev clears the table and returns.
    frmHourTable->HourCellClick(0, 9);
    EXPECT_EQ(frmHourTable->SelectedHour(), 24);
    frmHourTable->btnBackClick(frmHourTable->btnBack);
    EXPECT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(frmHourTable->Cell(0, 13)->CurrentFrame(), 0);
}

TEST_F(SearchFlow, MinuteWithoutRecordingPlaysNothingAndKeepsTheLocalTransport) {
    recsim::RecSimOptions o = StoreOptions();
    // A recorder whose searched stream gets the remote transport in place of the local one.
    o.sysinfoResult = 3;
    recsim::RecSim& sim = LoggedIn(o);
    ChooseHardDisk();
    frmSearch->btnAllClick(frmSearch->btnAll);
    frmCalendar->DayCellClick(3);
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    frmHourTable->HourCellClick(0, 9);
    frmHourTable->btnOk2Click(frmHourTable->btnOk);
    seen_.clear();
    FrmMain->TimerPlayState->SetEnabled(false);
    ASSERT_TRUE(FrmMain->BtnFirst->Visible());
    // Marked by hand: the database has nothing at 09:30.
    frmMinTable->SetCellState(1, 0, 30);
    frmMinTable->MinuteCellClick(0, 30);
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    EXPECT_FALSE(sim.Log().LastCommand(NETCMD_SEARCH).has_value());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{
                           {FrmMain->LoadLangString(59925),
                            Format(FrmMain->LoadLangString(60122).c_str(), "2008/01/01  09:30:00")}}));
    EXPECT_TRUE(frmMinTable->Visible());
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_FALSE(FrmMain->TimerPlayState->Enabled());
    EXPECT_TRUE(FrmMain->BtnFirst->Visible());
    EXPECT_FALSE(FrmMain->BtnBack5->Visible());

    // 09:01 has its recording: the play starts and the remote transport takes over.
    frmMinTable->MinuteCellClick(0, 1);
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH, 2000));
    EXPECT_TRUE(FrmMain->RemoteSearchActive());
    EXPECT_TRUE(FrmMain->TimerPlayState->Enabled());
    EXPECT_FALSE(FrmMain->BtnFirst->Visible());
    EXPECT_TRUE(FrmMain->BtnBack5->Visible());
}

TEST_F(SearchFlow, RealRecorderDatabaseDrillDown) {
    // A database written by the real SQLite 2 library: November 2007 to January 2008.
    testing_support::TempDir store;
    std::filesystem::copy_file(testing_support::FixturePath("sqlite2/qeldbfile_hdd.db"),
                               store.File("qeldbfile_hdd.db"));
    recsim::RecSim& sim = LoggedIn(StoreOptions(store.Str()));
    ChooseHardDisk();
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    const std::string db = HomeFile("qeldbfile_hdd.db");
    struct Month {
        const char* key;
        std::vector<std::pair<int, int>> marks;
    };
    const Month months[] = {{"200801", {{1, 2}, {2, 2}}},
                            {"200712", {{30, 2}, {31, 2}}},
                            {"200711", {{28, 1}}},
                            {"200711", {{28, 1}}}};
    for (const Month& m : months) {
        SCOPED_TRACE(m.key);
        EXPECT_EQ(FrmMain->GetCalendarMonth(), m.key);
        EXPECT_EQ(CalendarMarks(), m.marks);
        EXPECT_EQ(CalendarMarks(), DaysInFile(db, std::stoi(std::string(m.key).substr(0, 4)),
                                              std::stoi(std::string(m.key).substr(4))));
        frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    }
    frmCalendar->IMFNextClick(frmCalendar->IMFNext);
    frmCalendar->IMFNextClick(frmCalendar->IMFNext);
    ASSERT_EQ(FrmMain->GetCalendarMonth(), "200801");
    frmCalendar->DayCellClick(TfrmCalendar::FirstWeekday(2008, 1));
    SaveSnapshot(frmCalendar, "real_calendar_200801");
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    for (int channel = 0; channel < 4; ++channel) {
        EXPECT_EQ(frmHourTable->Cell(channel, 0)->CurrentFrame(), 1);
        EXPECT_EQ(frmHourTable->Cell(channel, 12)->CurrentFrame(), channel == 3 ? 2 : 1);
        EXPECT_EQ(frmHourTable->Cell(channel, 13)->CurrentFrame(), 1);
        EXPECT_EQ(frmHourTable->Cell(channel, 5)->CurrentFrame(), 0);
    }
    frmHourTable->HourCellClick(0, 12);
    SaveSnapshot(frmHourTable, "real_hourtable_20080101");
    frmHourTable->HourCellClick(0, 0);
    frmHourTable->btnOk2Click(frmHourTable->btnOk);
    ASSERT_TRUE(frmMinTable->Visible());
    // Ten files from 00:02:16 to 00:40:00.
    for (int minute = 0; minute < 60; ++minute)
        EXPECT_EQ(frmMinTable->Cell(3, minute)->CurrentFrame(), minute >= 2 && minute <= 40 ? 1 : 0)
            << minute;
    frmMinTable->MinuteCellClick(1, 2);
    SaveSnapshot(frmMinTable, "real_mintable_2008010100");
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH, 2000));
    // 00:02 is still covered by the recording that began before midnight (seq 108, to 00:02:15): the
    // lowest seq wins and playback starts at the minute itself.
    const auto search = sim.Log().LastCommand(NETCMD_SEARCH);
    EXPECT_EQ(search->packet.Arg0(), static_cast<DWORD>(*KeyToUtcSeconds("200801010002")));
    EXPECT_EQ(search->packet.Result(), 108u);
    FrmMain->BtnDisserClick(FrmMain->BtnDisser);
    EXPECT_TRUE(Idle());
}

class DiskSearch : public SearchFlow {
protected:
    // A recorder disk's database volume on this computer.
    void UseDisk(const std::string& pyrdb) {
        if (!pyrdb.empty()) std::filesystem::copy_file(pyrdb, disk_.File("pyrdb"));
        FrmMain->DiskDbRoot = disk_.Str() + "/";
        FrmMain->SearchSource = 0;
        FrmMain->LocalDbMode = 1;
    }
    std::string Pyrdb() const { return disk_.File("pyrdb"); }
    testing_support::TempDir disk_;
};

TEST_F(DiskSearch, CalendarFromTheDiskDatabase) {
    UseDisk(testing_support::FixturePath("sqlite2/pyrdb_large.db"));
    FrmMain->QueryPyrDbYears();
    ASSERT_TRUE(frmSearch->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_TRUE(frmSearch->btnChannel->Enabled());
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200804");
    EXPECT_EQ(CalendarMarks(), DaysInFile(Pyrdb(), 2008, 4));
    EXPECT_FALSE(CalendarMarks().empty());
    frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200803");
    EXPECT_EQ(CalendarMarks(), DaysInFile(Pyrdb(), 2008, 3));

    // Channel search: events of camera 1 only.
    frmCalendar->btnLiveClick(frmCalendar->btnLive);
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->btnChannelClick(frmSearch->btnChannel);
    ASSERT_TRUE(frmCalendar->Visible());
    const std::vector<std::pair<int, int>> marks = CalendarMarks();
    ASSERT_FALSE(marks.empty());
    for (const auto& [day, state] : marks)
        EXPECT_EQ(state, 2) << day;
    const int day = marks.front().first;
    const std::string month = FrmMain->GetCalendarMonth();
    frmCalendar->DayCellClick(
        TfrmCalendar::FirstWeekday(std::stoi(month.substr(0, 4)), std::stoi(month.substr(4))) + day - 1);
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    bool anyFirst = false;
    for (int hour = 0; hour < 24; ++hour) {
        anyFirst = anyFirst || frmHourTable->Cell(0, hour)->CurrentFrame() != 0;
        for (int channel = 1; channel < 4; ++channel)
            EXPECT_EQ(frmHourTable->Cell(channel, hour)->CurrentFrame(), 0) << channel << " " << hour;
    }
    EXPECT_TRUE(anyFirst);
}

TEST_F(DiskSearch, MissingOrDamagedDiskDatabase) {
    UseDisk("");
    FrmMain->QueryPyrDbYears();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(frmSearch->Visible());
    EXPECT_TRUE(Idle());

    testing_support::WriteFileBytes(Pyrdb(), std::string(3000, 'z'));
    FrmMain->QueryPyrDbYears();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, FrmMain->LoadLangString(50486));
    EXPECT_FALSE(frmSearch->Visible());
    EXPECT_TRUE(Idle());
}

// A disk pulled while the recorder was writing a new day (20 May) into it: the search sees the
// database as it was before that write, and neither file on the disk changes. A journal that cannot
// be played back is a damaged database.
TEST_F(DiskSearch, UnfinishedWriteOnTheDiskIsRolledBackInMemory) {
    namespace fs = std::filesystem;
    const std::string journal = Pyrdb() + "-journal";
    UseDisk(testing_support::FixturePath("sqlite2/hot/hot_append.db"));
    fs::copy_file(testing_support::FixturePath("sqlite2/hot/hot_append.db-journal"), journal);
    const std::string dbBytes = testing_support::ReadFileBytes(Pyrdb());
    const std::string journalBytes = testing_support::ReadFileBytes(journal);
    const auto dbTime = fs::last_write_time(Pyrdb());
    const auto journalTime = fs::last_write_time(journal);

    FrmMain->QueryPyrDbYears();
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    const std::string original = testing_support::FixturePath("sqlite2/pyrdb_large.db");
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200804");
    EXPECT_EQ(CalendarMarks(), DaysInFile(original, 2008, 4));
    frmCalendar->IMFNextClick(frmCalendar->IMFNext);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200804");
    frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200803");
    EXPECT_EQ(CalendarMarks(), DaysInFile(original, 2008, 3));
    EXPECT_TRUE(Boxes().empty());
    frmCalendar->btnLiveClick(frmCalendar->btnLive);
    frmSearch->btnCancelClick(frmSearch->btnCancel);
    EXPECT_TRUE(testing_support::ReadFileBytes(Pyrdb()) == dbBytes) << "the database was written";
    EXPECT_TRUE(testing_support::ReadFileBytes(journal) == journalBytes) << "the journal was written";
    EXPECT_EQ(fs::last_write_time(Pyrdb()), dbTime);
    EXPECT_EQ(fs::last_write_time(journal), journalTime);

    std::string unknown = journalBytes;
    unknown[7] = '\x01'; // no journal format ends its magic so
    testing_support::WriteFileBytes(journal, unknown);
    FrmMain->QueryPyrDbYears();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(50486, 50487)}));
    EXPECT_FALSE(frmSearch->Visible());
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(testing_support::ReadFileBytes(Pyrdb()) == dbBytes);
}

TEST_F(DiskSearch, EmptyDiskDatabase) {
    UseDisk(testing_support::FixturePath("sqlite2/qeldbfile_empty.db"));
    FrmMain->QueryPyrDbYears();
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, 59844)}));
    EXPECT_FALSE(frmSearch->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchFlow, BackupSpansFromTheCalendarAndTables) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    ChooseHardDisk();
    frmSearch->btnAllClick(frmSearch->btnAll);
    frmCalendar->IMFPreviousClick(frmCalendar->IMFPrevious);
    ASSERT_EQ(FrmMain->GetCalendarMonth(), "200712");
    // No span yet: BACKUP says so and keeps the calendar.
    frmCalendar->btnBackupClick(frmCalendar->btnBackup);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 50483)}));
    EXPECT_TRUE(frmCalendar->Visible());

    // 31 December: a right click takes the selected day for the span and selects nothing new.
    const int dec31 = TfrmCalendar::FirstWeekday(2007, 12) + 30;
    frmCalendar->DayCellClick(dec31);
    frmCalendar->DayBox(dec31 - 1)->OnMouseDown(frmCalendar->DayBox(dec31 - 1), mbRight, TShiftState(), 1, 1);
    EXPECT_EQ(frmCalendar->SelectedCell(), dec31);
    frmCalendar->SetStartTimeClick(frmCalendar->SetStartTime);
    frmCalendar->SetEndTimeClick(frmCalendar->SetEndTime);
    EXPECT_EQ(frmBackup->GetStartTime(), static_cast<DWORD>(*KeyToUtcSeconds("20071231")));
    EXPECT_EQ(frmBackup->GetEndTime(), static_cast<DWORD>(*KeyToUtcSeconds("20080101")));

    // The hour table narrows the span to an hour: 23 ends at midnight.
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    frmHourTable->HourCellClick(0, 17);
    frmHourTable->Cell(0, 0)->OnMouseDown(frmHourTable->Cell(0, 0), mbRight, TShiftState(), 1, 1);
    EXPECT_EQ(frmHourTable->SelectedHour(), 17);
    frmHourTable->SetStartTimeClick(frmHourTable->SetStartTime);
    frmHourTable->SetEndTimeClick(frmHourTable->SetEndTime);
    EXPECT_EQ(frmBackup->GetStartTime(), static_cast<DWORD>(*KeyToUtcSeconds("2007123117")));
    EXPECT_EQ(frmBackup->GetEndTime(), static_cast<DWORD>(*KeyToUtcSeconds("2007123118")));

    // BACKUP asks the recorder for the size of the span, all recordings.
    frmHourTable->btnBackup2Click(frmHourTable->btnBackup);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_BACKUP_SIZE, 2000));
    const auto size = sim.Log().LastCommand(NETCMD_BACKUP_SIZE);
    EXPECT_EQ(size->packet.Arg0(), frmBackup->GetStartTime());
    EXPECT_EQ(size->packet.Arg1(), frmBackup->GetEndTime());
    EXPECT_EQ(size->packet.Arg2(), 0u);
    EXPECT_FALSE(frmHourTable->Visible());
    EXPECT_EQ(frmBackup->GetReturnForm(), 2);
}

// What a recorder that answers the log-in with result 2 (an older one) and one that answers 3 offer on the
// way down to a remote playback: the backup span menus and BACKUP buttons, and the transport the playback
// gets. A skin button that cannot act shows its disabled look, frame 3.
struct LogInAnswer {
    DWORD sysinfo;
    bool spans; // span menus and BACKUP buttons, and the remote transport
};

class RecorderGeneration : public SearchRig, public ::testing::WithParamInterface<LogInAnswer> {
protected:
    // The transport as it stands: each of the ten buttons (and Back 5) visible, enabled, base frame.
    static std::string Transport() {
        std::string out;
        for (TBmButton* b : {FrmMain->BtnFirst, FrmMain->BtnPrev, FrmMain->BtnFastReverse,
                             FrmMain->BtnReverse, FrmMain->BtnPlay, FrmMain->BtnPause, FrmMain->BtnStop,
                             FrmMain->BtnFastPlay, FrmMain->BtnNext, FrmMain->BtnLast, FrmMain->BtnBack5})
            out += !b->Visible() ? "-"
                                 : std::string(b->Enabled() ? "E" : "d") + std::to_string(b->CurrentFrame());
        return out + " ";
    }
};

TEST_P(RecorderGeneration, DecidesTheBackupSpansAndTheRemoteTransport) {
    const LogInAnswer answer = GetParam();
    recsim::RecSimOptions o = StoreOptions();
    o.sysinfoResult = answer.sysinfo;
    recsim::RecSim& sim = LoggedIn(o);
    int menus = 0;
    const TPopupMenuHook previous = SetPopupMenuHook([&](TPopupMenu&, TPoint) -> TMenuItem* {
        ++menus;
        return nullptr;
    });
    // Logged in, nothing plays: the transport cannot act and looks so.
    EXPECT_EQ(Transport(), "d3d3d3d3d3d3d3d3d3d3- ");

    ChooseHardDisk();
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(frmCalendar->btnBackup->Enabled(), answer.spans);
    frmCalendar->DayCellClick(TfrmCalendar::FirstWeekday(2008, 1));
    frmCalendar->DayBox(1)->OnMouseDown(frmCalendar->DayBox(1), mbRight, TShiftState(), 1, 1);
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    EXPECT_EQ(frmHourTable->btnBackup->Enabled(), answer.spans);
    EXPECT_EQ(frmHourTable->btnBackup2->Enabled(), answer.spans);
    frmHourTable->HourCellClick(0, 9);
    frmHourTable->Cell(0, 0)->OnMouseDown(frmHourTable->Cell(0, 0), mbRight, TShiftState(), 1, 1);
    frmHourTable->btnOk2Click(frmHourTable->btnOk);
    ASSERT_TRUE(frmMinTable->Visible());
    EXPECT_EQ(frmMinTable->btnBackup->Enabled(), answer.spans);
    EXPECT_EQ(frmMinTable->btnBackup2->Enabled(), answer.spans);
    frmMinTable->MinuteCellClick(0, 1);
    frmMinTable->Cell(0, 0)->OnMouseDown(frmMinTable->Cell(0, 0), mbRight, TShiftState(), 1, 1);
    // The calendar's, the hour table's and the minute table's span menu.
    EXPECT_EQ(menus, answer.spans ? 3 : 0);
    SetPopupMenuHook(previous);

    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_SEARCH, 2000));
    ASSERT_TRUE(PumpReal([] { return FrmMain->lbState->Caption() == "SEARCH" && !FrmWait->Visible(); }));
    // The remote transport: Play, Pause, Stop, Next and Back 5; an older recorder keeps the local one,
    // which cannot act on a remote playback (its keys do).
    EXPECT_EQ(Transport(), answer.spans ? "----E0E0E0-E0-E0 " : "d3d3d3d3d3d3d3d3d3d3- ");
    if (answer.spans) EXPECT_EQ(FrmMain->BtnPlay->Left(), 116);

    FrmMain->BtnDisserClick(FrmMain->BtnDisser);
    EXPECT_EQ(Transport(), "d3d3d3d3d3d3d3d3d3d3- ");
    EXPECT_EQ(FrmMain->BtnPlay->Left(), 240);
    EXPECT_TRUE(Idle());
}

INSTANTIATE_TEST_SUITE_P(SearchFlow, RecorderGeneration,
                         ::testing::Values(LogInAnswer{2, false}, LogInAnswer{3, true}),
                         [](const ::testing::TestParamInfo<LogInAnswer>& info) {
                             return "LogInResult" + std::to_string(info.param.sysinfo);
                         });

TEST_F(SearchFlow, SavingTheSearchedStreamAsksItsFolderAndEndsOnlyTheSaving) {
    recsim::RecSim& sim = LoggedIn(StoreOptions());
    EnterSearchMode();
    testing_support::TempDir chosen;
    // Without a running search the buttons do nothing, and ask nothing.
    {
        form_testing::ScopedFolderAnswer answer(chosen.Str());
        FrmMain->BtnBackupClick(FrmMain->BtnBackup);
        EXPECT_TRUE(answer.Asked().empty());
    }
    EXPECT_FALSE(FrmMain->BackupActive());
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    // The folder chooser cancelled: nothing is saved.
    {
        form_testing::ScopedFolderAnswer cancel("");
        FrmMain->BtnBackupClick(FrmMain->BtnBackup);
        EXPECT_EQ(cancel.Asked().size(), 1u);
    }
    EXPECT_FALSE(FrmMain->StreamSaving());
    EXPECT_TRUE(FrmMain->BtnBackup->Visible());
    for (int press = 0; press < 2; ++press) {
        form_testing::ScopedFolderAnswer answer(chosen.Str());
        FrmMain->BtnBackupClick(FrmMain->BtnBackup);
        // The second press, with the saving on, asks nothing.
        EXPECT_EQ(answer.Asked().size(), press == 0 ? 1u : 0u);
        EXPECT_TRUE(FrmMain->BackupActive());
        EXPECT_TRUE(FrmMain->StreamSaving());
        EXPECT_TRUE(FrmMain->BtnBackup_on->Visible());
        EXPECT_FALSE(FrmMain->BtnBackup->Visible());
    }
    EXPECT_EQ(FrmMain->SearchBackupFolder, chosen.Str());
    const std::size_t stops = sim.Log().Commands(NETCMD_SEARCH_STOP).size();
    FrmMain->BtnBackup_onClick(FrmMain->BtnBackup_on);
    EXPECT_FALSE(FrmMain->BackupActive());
    EXPECT_TRUE(FrmMain->BtnBackup->Visible());
    EXPECT_FALSE(FrmMain->BtnBackup_on->Visible());
    // Only the saving ended: the search goes on, the recorder was told nothing, no backup window shows.
    EXPECT_TRUE(FrmMain->RemoteSearchActive());
    EXPECT_FALSE(PumpReal([&] { return sim.Log().Commands(NETCMD_SEARCH_STOP).size() > stops; }, 500));
    EXPECT_TRUE(frmBackup == nullptr || !frmBackup->Visible());
    FrmMain->BtnBackup_onClick(FrmMain->BtnBackup_on);
    EXPECT_FALSE(FrmMain->BackupActive());
}

TEST_F(DiskSearch, MinutePlaysTheRecordingFromTheDisk) {
    FrmMain->DiskDbRoot = Store().Path() + "/infofiles/";
    FrmMain->DiskAvRoot = Store().Path() + "/avfiles/";
    FrmMain->SearchSource = 0;
    FrmMain->LocalDbMode = 1;
    FrmMain->QueryPyrDbYears();
    ASSERT_TRUE(frmSearch->Visible());
    frmSearch->btnAllClick(frmSearch->btnAll);
    ASSERT_EQ(FrmMain->GetCalendarMonth(), "200801");
    frmCalendar->DayCellClick(TfrmCalendar::FirstWeekday(2008, 1));
    frmCalendar->btnOkClick(frmCalendar->btnOk);
    frmHourTable->HourCellClick(0, 9);
    frmHourTable->btnOk2Click(frmHourTable->btnOk);
    ASSERT_TRUE(frmMinTable->Visible());
    frmMinTable->MinuteCellClick(0, 1);
    frmMinTable->btnOk2Click(frmMinTable->btnOk);
    const DWORD minuteTime = static_cast<DWORD>(*KeyToUtcSeconds("200801010901"));
    const auto covering =
        std::find_if(Store().recordings.begin(), Store().recordings.end(),
                     [&](const auto& r) { return r.startTime <= minuteTime && r.endTime >= minuteTime; });
    ASSERT_NE(covering, Store().recordings.end());
    EXPECT_EQ(frmMinTable->PlaySeq(), covering->seq);
    EXPECT_EQ(FrmMain->VideoReader->GetListItem(0), std::to_string(covering->seq));
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_GT(FrmMain->CurrentIndexPos, 0);
    EXPECT_FALSE(frmMinTable->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_TRUE(FrmMain->BtnRecStart->Visible());
    // Pictures of that minute reach the screens.
    const DWORD before = FrmMain->FramesShown;
    EXPECT_TRUE(PumpReal([&] { return FrmMain->FramesShown > before + 2; }));
    FrmMain->MMTimerPlayback->SetEnabled(false);
    FrmMain->VideoReader->StopReader();
}

} // namespace
} // namespace search_tests
