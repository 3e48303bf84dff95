// The link told truly against the simulated recorder: stops without an answer, a file announced longer
// than it is, a picture connection that is never taken and a database the disk cannot hold.
#include "tests/client/SessionRig.h"

#include "setup/Syslog.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

#include <sys/mount.h>
#include <unistd.h>

#include <fstream>

namespace client_tests {
namespace {

using testing_support::FakeTick;

class LinkFaults : public SessionRig {
protected:
    recsim::RecSim& LoggedIn(recsim::RecSimOptions options = QuickSimOptions()) {
        options.store = StorePath();
        recsim::RecSim& sim = StartSim(options);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([] { return FrmMain->LoggedIn == 1; }));
        return sim;
    }
    std::string LastLogLine() const {
        TStrings* log = frmSysLog->lbLog->Items();
        return log->Count() > 0 ? log->Strings(log->Count() - 1) : std::string();
    }
};

TEST_F(LinkFaults, TheSearchTabWhoseLiveStopIsNotAnsweredShowsTheLocalTabWithoutLiveView) {
    recsim::RecSim& sim = Recorder();
    LogInTo(sim);
    StartLive();
    sim.SetReplyFault(NETCMD_LIVE_STOP, SilentReply());
    Answer(mrYes);
    {
        FakeTick tick(1000, 10);
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    }
    ExpectTheLocalLook();
    EXPECT_FALSE(FrmMain->LiveActive());
    EXPECT_EQ(DebugLines().back(), "TIME OUT:113");
}

TEST_F(LinkFaults, AFileAnnouncedLongerThanSentIsNamedAndTheNextTabIsAnsweredAtOnce) {
    recsim::RecSimOptions o = QuickSimOptions();
    o.faults.announceExtra = 5000;
    LoggedIn(o);
    seen_.clear();
    {
        FakeTick tick(1000, 10);
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    }
    const std::string notWhole = "The file config.ini did not come whole from the recorder.";
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{FrmMain->LoadLangString(59857), notWhole}}));
    EXPECT_EQ(LastLogLine(), notWhole);
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_FALSE(FileExists(FrmMain->ProgramFolder + "config.ini.part"));
    // The recorder's next answers are read as answers, not as the file's bytes.
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    EXPECT_EQ(FrmMain->CurrentMode, kModeSearch);
    EXPECT_TRUE(LinkUp());
}

TEST_F(LinkFaults, APictureConnectionNeverTakenIsToldAtLogInAndByTheLiveTab) {
    recsim::RecSim& sim = StartSim();
    sim.HoldAccepts(true, true);
    {
        FakeTick tick(1000, 50);
        LogIn(sim);
        ASSERT_TRUE(PumpReal([] { return FrmMain->LoggedIn == 1; }));
    }
    const std::string missing = Format(
        "The recorder's picture connection (port %d) could not be made. Live view and the search need it; "
        "setup and the recorder's log work without it.",
        sim.AvPort());
    TStrings* log = frmSysLog->lbLog->Items();
    ASSERT_GE(log->Count(), 2);
    EXPECT_EQ(log->Strings(log->Count() - 2), missing);
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    EXPECT_EQ(Boxes(),
              (std::vector<TSeenBox>{{FrmMain->LoadLangString(59870), missing},
                                     {FrmMain->LoadLangString(59849),
                                      "The recorder's picture connection is not open. Disconnect and "
                                      "connect again to watch or search."}}));
    EXPECT_EQ(FrmMain->ImgPoint->CurrentFrame(), 1);
}

// A tmpfs of `kb` kilobytes, filled to its last byte; the test is skipped where it cannot be mounted.
class FullDisk {
public:
    explicit FullDisk(int kb) {
        if (::geteuid() != 0) return;
        if (::mount("tmpfs", dir_.Str().c_str(), "tmpfs", 0, Format("size=%dk", kb).c_str()) != 0) return;
        mounted_ = true;
        std::ofstream fill(dir_.File("fill"), std::ios::binary);
        const std::string block(4096, 'x');
        while (fill.write(block.data(), static_cast<std::streamsize>(block.size())))
            fill.flush();
    }
    ~FullDisk() {
        if (mounted_) ::umount2(dir_.Str().c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    std::string Folder() const { return dir_.Str(); }

private:
    testing_support::TempDir dir_;
    bool mounted_ = false;
};

TEST_F(LinkFaults, ADatabaseTheDiskCannotHoldIsToldWithItsFolderAndTheSystemsReason) {
    recsim::RecSim& sim = LoggedIn();
    const FullDisk disk(256);
    if (!disk.Mounted()) GTEST_SKIP() << "a tmpfs needs root";
    // The received files go to the full folder; the program's own stay where they are.
    FrmMain->Receiver.SetFolder(disk.Folder());
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    ASSERT_EQ(FrmMain->CurrentMode, kModeSearch);
    seen_.clear();
    FrmMain->BtnSerClick(FrmMain->BtnSer);
    FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_FILE_REQUEST, 2000));
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{FrmMain->LoadLangString(59849),
                                               "The recording database could not be stored.\n" +
                                                   disk.Folder().substr(0, disk.Folder().size() - 1) +
                                                   "\nNo space left on device"}}));
    EXPECT_FALSE(FileExists(disk.Folder() + "qeldbfile_hdd.db.part"));
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
}

} // namespace
} // namespace client_tests
