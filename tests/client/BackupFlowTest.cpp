// Backups through the client's windows against the simulated recorder: a span chosen, its size asked,
// BACKUP START, and the files the stream saver wrote read back and compared frame by frame with the
// recordings the recorder streamed; the gauge, a link lost half-way, a folder that is not there and a
// disk that fills up.
#include "tests/client/LoginRig.h"
#include "tests/client/SavedFrames.h"

#include "controls/BmGauge.h"
#include "formats/NetPacket.h"
#include "formats/QelAvFile.h"
#include "formats/QelNames.h"
#include "playback/Backup.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Menu.h"
#include "tools/recgen/StoreGenerator.h"

#include "platform/core/SysTime.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>

namespace {

using client_tests::LoginRig;
using client_tests::TSeenBox;
namespace fs = std::filesystem;

// Recordings of 90 seconds at 9, 13 and 17 o'clock on 30 and 31 December 2007, four cameras, two
// pictures a second each; the 13 o'clock ones carry events.
struct BackupStore {
    testing_support::TempDir dir;
    std::vector<recgen::StoreRecording> recordings;
    BackupStore() {
        recgen::StoreOptions s;
        s.year = 2007;
        s.month = 12;
        s.day = 30;
        s.days = 2;
        s.hours = {9, 13, 17};
        s.secondsPerRecording = 90;
        s.stream.framesPerSecond = 2;
        s.stream.cameras = 4;
        recordings = recgen::GenerateStore(dir.Path().string(), s, recgen::RecorderIdentity{});
    }
    std::string Path() const { return dir.Path().string(); }
};

const BackupStore& Store() {
    static BackupStore store;
    return store;
}

DWORD Utc(int y, int mo, int d, int h, int mi, int s = 0) {
    return static_cast<DWORD>(UtcToUnix(y, mo, d, h, mi, s));
}

using client_tests::ReadAll;

// The recorder's own frames of the recordings from `seq` on, from `from` to `to`.
std::vector<QelAvFrame> StoredFrames(DWORD seq, DWORD from, DWORD to) {
    std::vector<QelAvFrame> out;
    for (const auto& r : Store().recordings) {
        if (r.seq < seq) continue;
        for (auto& f : ReadAll(Store().Path() + "/avfiles/" + r.fileName))
            if (f.frame.info.frameTime >= from && f.frame.info.frameTime <= to) out.push_back(f.frame);
    }
    return out;
}

// Every recorded file under a folder, in name order.
std::vector<std::string> RecordedFiles(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension().empty()) out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

class BackupFlow : public LoginRig {
protected:
    void SetUp() override {
        LoginRig::SetUp();
        Application->CreateForm(frmMenu);
        Application->CreateForm(frmCalendar);
        Application->CreateForm(frmHourTable);
        Application->CreateForm(frmMinTable);
        Application->CreateForm(frmDownload);
        Application->CreateForm(FrmSerDevice);
        Application->CreateForm(frmSearch);
        Application->CreateForm(frmBackup);
        target_ = std::make_unique<testing_support::TempDir>();
    }
    void TearDown() override {
        if (FrmMain != nullptr) FrmMain->Activities.End(TActivity::Backup);
        LoginRig::TearDown();
        frmMenu = nullptr;
        frmCalendar = nullptr;
        frmHourTable = nullptr;
        frmMinTable = nullptr;
        FrmSerDevice = nullptr;
        frmSearch = nullptr;
        frmBackup = nullptr;
    }

    recsim::RecSim& LoggedInWithStore(recsim::RecSimOptions o = client_tests::QuickSimOptions()) {
        o.store = Store().Path();
        o.recordAvFrames = true;
        recsim::RecSim& sim = StartSim(o);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        // The search tab with the hard disk's database downloaded, as the medium chooser leaves it.
        FrmMain->CurrentMode = kModeSearch;
        FrmMain->SearchSource = 1;
        EXPECT_TRUE(FrmMain->RequestDbFile(QELDISK_HDD));
        FrmMain->SetEnabled(true);
        FrmWait->Close();
        seen_.clear();
        return sim;
    }

    // Start and end marked in the minute table, the size asked and answered, the folder chosen.
    void ChooseSpan(recsim::RecSim& sim, const std::string& start, const std::string& end, int type = 0) {
        ASSERT_TRUE(frmBackup->SetStartTime(start));
        ASSERT_TRUE(frmBackup->SetEndTime(end));
        frmBackup->SetReturnForm(3);
        const std::size_t before = sim.Log().Commands(NETCMD_BACKUP_SIZE).size();
        frmBackup->RequestBackupSize(type);
        ASSERT_TRUE(PumpReal([&] { return frmBackup->Visible() && frmBackup->Enabled(); }));
        EXPECT_EQ(sim.Log().Commands(NETCMD_BACKUP_SIZE).size(), before + 1);
        form_testing::ScopedFolderAnswer folder(target_->Path().string());
        frmBackup->btnBrowseClick(frmBackup->btnBrowse);
        EXPECT_EQ(frmBackup->GetBackupPath(), target_->Path().string());
    }

    // BACKUP START, then pumped until saving is over; the gauge levels seen on the way.
    std::vector<int> RunBackup() {
        std::vector<int> levels;
        frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
        EXPECT_TRUE(PumpReal(
            [&] {
                if (frmDownload->Visible()) levels.push_back(frmDownload->ProgressTransfer->CurrentLevel());
                return !FrmMain->StreamSaving();
            },
            30000));
        return levels;
    }

    std::unique_ptr<testing_support::TempDir> target_;
};

TEST_F(BackupFlow, SpanIsSavedFrameByFrameAsTheRecorderSentIt) {
    recsim::RecSim& sim = LoggedInWithStore();
    ChooseSpan(sim, "200712301300", "200712301301");
    EXPECT_EQ(frmBackup->lbStartTime->Caption(), "2007/12/30  13:00:00");
    EXPECT_EQ(frmMinTable->lbEndTime->Caption(), "2007/12/30  13:01:00");
    EXPECT_TRUE(frmMinTable->lbEndTime->Visible());
    const std::vector<int> levels = RunBackup();

    // The request: from the span's start, ALL, the first recording's seq, flagged as a backup.
    const auto request = sim.Log().LastCommand(NETCMD_SEARCH);
    ASSERT_TRUE(request.has_value());
    EXPECT_TRUE(request->packet.BackupFlag());
    EXPECT_EQ(request->packet.Arg0(), Utc(2007, 12, 30, 13, 0));
    const recgen::StoreRecording* first = nullptr;
    for (const auto& r : Store().recordings)
        if (r.startTime <= Utc(2007, 12, 30, 13, 0) + 60 && r.endTime >= Utc(2007, 12, 30, 13, 0)) first = &r;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(request->packet.Result(), first->seq);

    const DWORD end = Utc(2007, 12, 30, 13, 1);
    const std::vector<QelAvFrame> expected = StoredFrames(first->seq, Utc(2007, 12, 30, 13, 0), end);
    ASSERT_FALSE(expected.empty());
    const std::string path = target_->Path().string() + "/2007123013/20071230130000";
    EXPECT_EQ(RecordedFiles(target_->Path().string()), std::vector<std::string>{path});
    const auto saved = ReadAll(path);
    ASSERT_EQ(saved.size(), expected.size());
    const auto sent = sim.SentAvFrames();
    ASSERT_GE(sent.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(saved[i].frame.payload, expected[i].payload);
        EXPECT_EQ(saved[i].frame.info.raw, expected[i].info.raw);
        EXPECT_EQ(saved[i].frame.info.frameTime, sent[i].frameTime);
        EXPECT_EQ(saved[i].frame.info.channel, sent[i].channel);
        EXPECT_EQ(saved[i].frame.info.subSecond, sent[i].subSecond);
        EXPECT_EQ(saved[i].header.fileStartTime, Utc(2007, 12, 30, 13, 0));
    }
    const auto offsets = ReadQelIndexFile(path + ".fdx");
    const auto times = ReadQelIndexFile(path + ".tdx");
    ASSERT_EQ(offsets.size(), saved.size());
    ASSERT_EQ(times.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(offsets[i], saved[i].offset);
        EXPECT_EQ(times[i], saved[i].frame.info.frameTime);
    }
    // The finished backup is padded to 2 MiB with filler the readers stop at.
    EXPECT_GE(fs::file_size(path), kQelBackupPadBytes);

    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    EXPECT_FALSE(levels.empty());
    EXPECT_GT(levels.back(), 0);
    EXPECT_FALSE(frmDownload->Visible());
    EXPECT_EQ(frmDownload->ProgressTransfer->CurrentLevel(), 0);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 51001)}));
    EXPECT_TRUE(frmBackup->Visible());
    EXPECT_TRUE(PumpReal([&] { return sim.Log().Commands(NETCMD_SEARCH_STOP).size() >= 1; }));
}

TEST_F(BackupFlow, TheLinkLostHalfWayKeepsWholeFramesUnderTheirIndex) {
    recsim::RecSimOptions o = client_tests::QuickSimOptions();
    o.faults.closeAvAfterFrames = 150;
    recsim::RecSim& sim = LoggedInWithStore(o);
    FrmMain->HeartbeatArmed = 1;
    ChooseSpan(sim, "200712301300", "200712301310");
    RunBackup();
    EXPECT_TRUE(PumpReal([&] { return !LinkUp(); }));
    const auto files = RecordedFiles(target_->Path().string());
    ASSERT_EQ(files.size(), 1u);
    const auto saved = ReadAll(files[0]);
    EXPECT_GT(saved.size(), 0u);
    EXPECT_LE(saved.size(), 150u);
    EXPECT_EQ(ReadQelIndexFile(files[0] + ".fdx").size(), saved.size());
    // Nothing padded, nothing called complete.
    EXPECT_LT(fs::file_size(files[0]), kQelBackupPadBytes);
    for (const auto& box : Boxes())
        EXPECT_NE(box, Box(51000, 51001));
    EXPECT_FALSE(frmDownload->Visible());
}

TEST_F(BackupFlow, AFolderThatIsGoneIsRefusedBeforeAnythingIsAsked) {
    recsim::RecSim& sim = LoggedInWithStore();
    ChooseSpan(sim, "200712301300", "200712301301");
    target_.reset();
    const std::size_t searches = sim.Log().Commands(NETCMD_SEARCH).size();
    frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, FrmMain->LoadLangString(51000));
    EXPECT_NE(Boxes()[0].text.find(FrmMain->LoadLangString(59883)), std::string::npos);
    EXPECT_FALSE(FrmMain->StreamSaving());
    EXPECT_FALSE(frmDownload->Visible());
    form_testing::ProcessEvents();
    EXPECT_EQ(sim.Log().Commands(NETCMD_SEARCH).size(), searches);
}

TEST_F(BackupFlow, AFullDiskEndsTheBackupWithABoxAndWholeFrames) {
    recsim::RecSim& sim = LoggedInWithStore();
    ChooseSpan(sim, "200712301300", "200712301301");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RunBackup();
    setrlimit(RLIMIT_FSIZE, &old);
    // The language's own words first, then the file and the system's reason.
    const auto files = RecordedFiles(target_->Path().string());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{
                           {FrmMain->LoadLangString(59849), FrmMain->LoadLangString(60111) + "\n" + files[0] +
                                                                "\n" + std::strerror(EFBIG)}}));
    const auto saved = ReadAll(files[0]);
    EXPECT_GT(saved.size(), 0u);
    EXPECT_EQ(ReadQelIndexFile(files[0] + ".fdx").size(), saved.size());
    EXPECT_TRUE(PumpReal([&] { return sim.Log().Commands(NETCMD_SEARCH_STOP).size() >= 1; }));
    EXPECT_FALSE(frmDownload->Visible());
}

TEST_F(BackupFlow, ABackupSizeThatNeverComesGivesTheWindowBack) {
    recsim::RecSim& sim = LoggedInWithStore();
    sim.SetReplyFault(NETCMD_BACKUP_SIZE, client_tests::SilentReply());
    ASSERT_TRUE(frmBackup->SetStartTime("200712301300"));
    ASSERT_TRUE(frmBackup->SetEndTime("200712301301"));
    FrmMain->lbDebug->Items()->Clear();
    {
        testing_support::FakeTick tick(1000, 25);
        frmBackup->RequestBackupSize(0);
    }
    EXPECT_EQ(sim.Log().Commands(NETCMD_BACKUP_SIZE).size(), 1u);
    EXPECT_TRUE(frmBackup->Visible());
    EXPECT_TRUE(frmBackup->Enabled());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_EQ(frmBackup->GetBackupSize(), 0u);
    EXPECT_EQ(FrmMain->lbDebug->Items()->Strings(0), "TIME OUT:125");
    // BACKUP START then says there is nothing to save.
    frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 50999)}));
}

TEST_F(BackupFlow, AnEmptySpanStartsNothing) {
    recsim::RecSim& sim = LoggedInWithStore();
    // 30 December, 11 o'clock: nothing was recorded.
    ChooseSpan(sim, "200712301100", "200712301110");
    EXPECT_EQ(frmBackup->GetBackupSize(), 0u);
    frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 50999)}));
    EXPECT_FALSE(FrmMain->StreamSaving());
    EXPECT_EQ(sim.Log().Commands(NETCMD_SEARCH).size(), 0u);
}

// The recorder was asked for more than the span now ends at: the saver itself ends the backup at the
// first frame past the chosen end and stops the stream.
TEST_F(BackupFlow, TheSaverEndsTheSpanWhenTheRecorderStreamsOn) {
    recsim::RecSim& sim = LoggedInWithStore();
    ChooseSpan(sim, "200712301300", "200712301310");
    ASSERT_TRUE(frmBackup->SetEndTime("200712301301"));
    RunBackup();
    const auto files = RecordedFiles(target_->Path().string());
    ASSERT_EQ(files.size(), 1u);
    const auto saved = ReadAll(files[0]);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.back().frame.info.frameTime, Utc(2007, 12, 30, 13, 1));
    EXPECT_EQ(saved.size(), StoredFrames(1, Utc(2007, 12, 30, 13, 0), Utc(2007, 12, 30, 13, 1)).size());
    // The recorder had more to send: it was the saver that stopped.
    EXPECT_GT(sim.SentAvFrames().size(), saved.size());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 51001)}));
    EXPECT_TRUE(PumpReal([&] { return sim.Log().Commands(NETCMD_SEARCH_STOP).size() >= 1; }));
}

// EVENT chosen in the type box: the size is asked again for events only, and only the recording with
// events is saved.
TEST_F(BackupFlow, EventTypeSavesOnlyTheRecordingWithEvents) {
    recsim::RecSim& sim = LoggedInWithStore();
    ChooseSpan(sim, "200712300900", "200712301710");
    frmBackup->cmbType->SetItemIndex(1);
    frmBackup->cmbTypeChange(frmBackup->cmbType);
    ASSERT_TRUE(PumpReal([&] { return frmBackup->Enabled(); }));
    const auto asked = sim.Log().LastCommand(NETCMD_BACKUP_SIZE);
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(asked->packet.Arg2(), 1u);
    EXPECT_EQ(frmBackup->GetBackupType(), 1);
    RunBackup();
    const recgen::StoreRecording* events = nullptr;
    for (const auto& r : Store().recordings)
        if (r.HasEvent() && events == nullptr) events = &r;
    ASSERT_NE(events, nullptr);
    const auto request = sim.Log().LastCommand(NETCMD_SEARCH);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->packet.Arg2(), 1u);
    EXPECT_EQ(request->packet.Result(), events->seq);
    EXPECT_EQ(request->packet.Arg0(), events->startTime);
    const auto files = RecordedFiles(target_->Path().string());
    ASSERT_EQ(files.size(), 1u);
    const auto saved = ReadAll(files[0]);
    const auto expected = StoredFrames(events->seq, events->startTime, events->endTime);
    ASSERT_EQ(saved.size(), expected.size());
    for (std::size_t i = 0; i < saved.size(); ++i)
        ASSERT_EQ(saved[i].frame.payload, expected[i].payload) << i;
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 51001)}));
}

// Two recordings of 3,700 frames each: the backup's first file closes at its 7200th frame and the rest
// goes into a second file named by its own first frame.
TEST_F(BackupFlow, AFileRollsOverAtItsFrameLimit) {
    testing_support::TempDir store;
    recgen::StoreOptions s;
    s.year = 2008;
    s.month = 3;
    s.day = 1;
    s.days = 1;
    s.hours = {9, 13};
    s.secondsPerRecording = 100;
    s.stream.framesPerSecond = 9;
    s.stream.cameras = 4;
    s.stream.quality = 20;
    const auto recordings = recgen::GenerateStore(store.Path().string(), s, recgen::RecorderIdentity{});
    ASSERT_EQ(recordings.size(), 2u);
    recsim::RecSimOptions o = client_tests::QuickSimOptions();
    o.store = store.Path().string();
    recsim::RecSim& sim = StartSim(o);
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    FrmMain->CurrentMode = kModeSearch;
    ASSERT_TRUE(FrmMain->RequestDbFile(QELDISK_HDD));
    FrmMain->SetEnabled(true);
    FrmWait->Close();
    seen_.clear();
    ChooseSpan(sim, "200803010900", "200803011310");
    frmBackup->btnBackupStartClick(frmBackup->btnBackupStart);
    ASSERT_TRUE(PumpReal([&] { return !FrmMain->StreamSaving(); }, 240000));

    std::vector<QelAvFrame> expected;
    for (const auto& r : recordings)
        for (auto& f : ReadAll(store.Path().string() + "/avfiles/" + r.fileName))
            expected.push_back(f.frame);
    ASSERT_GT(expected.size(), kQelFileMaxFrames);
    const auto files = RecordedFiles(target_->Path().string());
    ASSERT_EQ(files.size(), 2u);
    const DWORD secondStart = expected[kQelFileMaxFrames].info.frameTime;
    EXPECT_EQ(files[0], QelRecordingPath(target_->Path().string(), recordings[0].startTime));
    EXPECT_EQ(files[1], QelRecordingPath(target_->Path().string(), secondStart));
    const auto first = ReadAll(files[0]);
    const auto second = ReadAll(files[1]);
    ASSERT_EQ(first.size(), kQelFileMaxFrames);
    ASSERT_EQ(first.size() + second.size(), expected.size());
    EXPECT_EQ(ReadQelIndexFile(files[0] + ".tdx").size(), kQelFileMaxFrames);
    EXPECT_EQ(ReadQelIndexFile(files[1] + ".tdx").size(), second.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QelRecordedFrame& got = i < first.size() ? first[i] : second[i - first.size()];
        ASSERT_EQ(got.frame.payload, expected[i].payload) << i;
        ASSERT_EQ(got.frame.info.raw, expected[i].info.raw) << i;
    }
    EXPECT_EQ(second.front().header.fileStartTime, secondStart);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(51000, 51001)}));
}

} // namespace
