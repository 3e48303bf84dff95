// The main window's mode tabs and remote-record buttons against the simulated recorder: what each tab
// tells the recorder, the look it leaves, and its refusals.
#include "tests/recdb/SearchRig.h"

#include "client/Wait.h"
#include "net/WSocket.h"

namespace search_tests {
namespace {

using client_tests::ReplyResult;
using client_tests::SilentReply;
using client_tests::TSeenBox;

class SearchModes : public SearchRig {
protected:
    recsim::RecSim& Sim(recsim::RecSimOptions o = client_tests::QuickSimOptions()) { return LoggedIn(o); }

    // The tab panel's frame and the tabs' looks: active 0, inactive 3.
    static void ExpectTabs(int panel, int local, int live, int search) {
        EXPECT_EQ(FrmMain->ImgFrame2->CurrentFrame(), panel);
        EXPECT_EQ(FrmMain->btnLocal_m->CurrentFrame(), local);
        EXPECT_EQ(FrmMain->btnLive_m->CurrentFrame(), live);
        EXPECT_EQ(FrmMain->btnSer_m->CurrentFrame(), search);
    }
};

TEST_F(SearchModes, LocalWhileLocalOnlyRefreshesTheLook) {
    recsim::RecSim& sim = Sim();
    const std::size_t before = Commands(sim).size();
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    ExpectTabs(0, 0, 3, 3);
    EXPECT_TRUE(FrmMain->BtnDisconnect->Visible());
    EXPECT_FALSE(FrmMain->BtnConnect->Visible());
    EXPECT_TRUE(FrmMain->BtnAbout->Visible());
    EXPECT_FALSE(FrmMain->BtnSer->Visible());
    EXPECT_TRUE(Idle());
}

TEST_F(SearchModes, LiveTabAsksStatusTwiceAndTheSetupFile) {
    recsim::RecSim& sim = Sim();
    testing_support::WriteFileBytes(HomeFile("config.ini"), "[config]\n");
    const std::size_t before = Commands(sim).size();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    EXPECT_EQ(CommandsFrom(sim, before),
              (std::vector<DWORD>{NETCMD_STATUS, NETCMD_STATUS, NETCMD_FILE_REQUEST}));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_FILE_REQUEST)->packet.Arg0(), static_cast<DWORD>(QELFILE_CONFIG));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLive);
    ExpectTabs(1, 3, 0, 3);
    EXPECT_TRUE(FrmMain->BtnLive->Visible());
    EXPECT_TRUE(FrmMain->BtnSetup->Visible());
    EXPECT_TRUE(FrmMain->BtnRemote_rec->Visible());
    EXPECT_FALSE(FrmMain->BtnConnect->Visible());
    EXPECT_FALSE(FrmMain->BtnDisconnect->Visible());
    EXPECT_TRUE(DebugHas("SUCCESS:105"));
    EXPECT_TRUE(Idle());
    // The live tab again does nothing.
    const std::size_t again = Commands(sim).size();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    EXPECT_TRUE(CommandsFrom(sim, again).empty());
}

TEST_F(SearchModes, LocalFromLiveViewStopsItOnlyWhenConfirmed) {
    recsim::RecSim& sim = Sim();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FrmMain->LiveActive());
    std::size_t before = Commands(sim).size();
    AnswerBoxes(mrNo);
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    EXPECT_TRUE(FrmMain->LiveActive());
    EXPECT_EQ(FrmMain->CurrentMode, kModeLive);
    EXPECT_TRUE(Idle());
    AnswerBoxes(mrYes);
    before = Commands(sim).size();
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_LIVE_STOP}));
    EXPECT_FALSE(FrmMain->LiveActive());
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    ExpectTabs(0, 0, 3, 3);
    EXPECT_TRUE(Idle());
}

TEST_F(SearchModes, SearchTabAsksOnlyWhenLiveViewRuns) {
    recsim::RecSim& sim = Sim();
    const TSeenBox question{FrmMain->LoadLangString(59853),
                            FrmMain->LoadLangString(50485) + "\n" + FrmMain->LoadLangString(50484)};
    // Live view off: nothing to stop, nothing asked.
    std::size_t before = Commands(sim).size();
    AnswerBoxes(mrNo);
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_STATUS, NETCMD_MODE, NETCMD_STATUS}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeSearch);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Idle());

    // Live view on, answered No: nothing sent after the status, live view goes on.
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    ASSERT_TRUE(FrmMain->LiveActive());
    before = Commands(sim).size();
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_STATUS}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLive);
    EXPECT_TRUE(FrmMain->LiveActive());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{question}));
    EXPECT_TRUE(Idle());
}

TEST_F(SearchModes, SearchTabFromLiveViewStopsItAndTellsTheRecorder) {
    recsim::RecSim& sim = Sim();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->BtnLiveClick(FrmMain->BtnLive);
    const std::size_t before = Commands(sim).size();
    EnterSearchMode();
    EXPECT_EQ(CommandsFrom(sim, before),
              (std::vector<DWORD>{NETCMD_STATUS, NETCMD_LIVE_STOP, NETCMD_MODE, NETCMD_STATUS}));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_MODE)->packet.Arg0(), 2u);
    EXPECT_EQ(FrmMain->CurrentMode, kModeSearch);
    EXPECT_FALSE(FrmMain->LiveActive());
    ExpectTabs(2, 3, 3, 0);
    EXPECT_TRUE(FrmMain->BtnSer->Visible());
    EXPECT_TRUE(FrmMain->BtnBackup->Visible());
    EXPECT_FALSE(FrmMain->BtnLive->Visible());
    EXPECT_TRUE(DebugHas("SUCCESS:108"));
    EXPECT_TRUE(Idle());

    // Back to local with no search running: one 108 with mode 1.
    const std::size_t back = Commands(sim).size();
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_EQ(CommandsFrom(sim, back), (std::vector<DWORD>{NETCMD_MODE}));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_MODE)->packet.Arg0(), 1u);
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(Idle());
}

TEST_F(SearchModes, LocalFromARunningSearchStopsItFirst) {
    recsim::RecSim& sim = Sim();
    EnterSearchMode();
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->Activities.QueueAvFrames = 1;
    FrmMain->AVDataCliSocket->Pause();
    const std::size_t before = Commands(sim).size();
    AnswerBoxes(mrYes);
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_SEARCH_STOP, NETCMD_MODE}));
    EXPECT_FALSE(FrmMain->RemoteSearchActive());
    EXPECT_EQ(FrmMain->Activities.QueueAvFrames, 0);
    EXPECT_FALSE(FrmMain->AVDataCliSocket->Paused());
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(Idle());
}

struct RefusalCase {
    const char* name;
    DWORD command; // whose reply is changed
    std::optional<DWORD> result;
    bool silent;
    DWORD status; // of the 109 replies
    int expectedMode;
    const char* debugLine;   // nullptr: none expected
    int boxCaption, boxText; // 0: no box
};

TEST_F(SearchModes, SearchTabEndings) {
    const RefusalCase cases[] = {
        {"108 refused", NETCMD_MODE, 2u, false, 1, kModeLocal, "FAILED:108", 0, 0},
        {"108 silent", NETCMD_MODE, std::nullopt, true, 1, kModeLocal, "TIME OUT:108", 0, 0},
        {"status silent", NETCMD_STATUS, std::nullopt, true, 1, kModeLocal, "TIME OUT:109", 0, 0},
        {"status refused", NETCMD_STATUS, 2u, false, 1, kModeLocal, "FAILED:109", 0, 0},
        {"recorder busy", NETCMD_SYSINFO, std::nullopt, false, 3, kModeLocal, "SUCCESS:109", 59859, 59868},
        {"recorder status 5", NETCMD_SYSINFO, std::nullopt, false, 5, kModeLocal, "SUCCESS:109", 59860,
         59868},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = client_tests::QuickSimOptions();
        o.status = c.status;
        recsim::RecSim& sim = Sim(o);
        if (c.silent) sim.SetReplyFault(c.command, SilentReply());
        if (c.result) sim.SetReplyFault(c.command, ReplyResult(*c.result));
        std::unique_ptr<testing_support::FakeTick> tick;
        if (c.silent) tick = std::make_unique<testing_support::FakeTick>(1000, 500);
        AnswerBoxes(mrYes);
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
        tick.reset();
        EXPECT_EQ(FrmMain->CurrentMode, c.expectedMode);
        EXPECT_TRUE(DebugHas(c.debugLine));
        if (c.boxCaption != 0) EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(c.boxCaption, c.boxText)}));
        if (c.expectedMode == kModeLocal) EXPECT_EQ(FrmMain->ImgFrame2->CurrentFrame(), 0);
        EXPECT_TRUE(Idle());
        FrmMain->AVDataCliSocket->Close();
        FrmMain->CliSocket->Close();
        PumpReal([] { return false; }, 50);
        FrmMain->CurrentMode = kModeLocal;
    }
}

TEST_F(SearchModes, LiveTabFileRequestResults) {
    struct Case {
        bool silent;
        DWORD result;
        int mode;
        const char* debugLine;
    };
    // The simulated recorder sends the file whatever its reply says, and a complete file counts as an
    // answer: only a reply of 3 with the file can be told apart here.
    const Case cases[] = {{false, 3u, kModeLive, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        recsim::RecSim& sim = Sim();
        sim.SetReplyFault(NETCMD_FILE_REQUEST, c.silent ? SilentReply() : ReplyResult(c.result));
        std::unique_ptr<testing_support::FakeTick> tick;
        if (c.silent) tick = std::make_unique<testing_support::FakeTick>(1000, 500);
        FrmMain->btnLive_mClick(FrmMain->btnLive_m);
        tick.reset();
        EXPECT_EQ(FrmMain->CurrentMode, c.mode);
        if (c.debugLine != nullptr) EXPECT_TRUE(DebugHas(c.debugLine));
        EXPECT_TRUE(Idle());
        FrmMain->AVDataCliSocket->Close();
        FrmMain->CliSocket->Close();
        PumpReal([] { return false; }, 50);
        FrmMain->CurrentMode = kModeLocal;
        FrmMain->lbDebug->Items()->Clear();
    }
}

TEST_F(SearchModes, TabsWithoutTheirConnections) {
    recsim::RecSimOptions o = client_tests::QuickSimOptions();
    o.faults.noAvPort = true;
    recsim::RecSim& sim = Sim(o);
    ASSERT_TRUE(LinkUp());
    const std::size_t before = Commands(sim).size();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    // The command link is up (its lamp is on): the missing connection is the pictures'.
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59849, 60703), Box(59849, 60703)}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
}

TEST_F(SearchModes, TabsRefuseWhileThePlayedStreamIsCopied) {
    recsim::RecSim& sim = Sim();
    FrmMain->StreamCopying = 1;
    const std::size_t before = Commands(sim).size();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->btnSer_mClick(FrmMain->btnSer_m);
    FrmMain->CurrentMode = kModeLive;
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    EXPECT_EQ(Boxes(), std::vector<TSeenBox>(3, Box(50991, 50393)));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLive);
    // The way back to local of the rest of the client still refreshes the look.
    FrmMain->CurrentMode = kModeLocal;
    FrmMain->btnLocal_mClick(FrmMain->btnLocal_m);
    EXPECT_EQ(FrmMain->ImgFrame2->CurrentFrame(), 0);
    EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(SearchModes, RemoteRecordingOnAndOff) {
    recsim::RecSim& sim = Sim();
    FrmMain->btnLive_mClick(FrmMain->btnLive_m);
    FrmMain->BtnRemote_recClick(FrmMain->BtnRemote_rec);
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_REMOTE_RECORD)->packet.Arg0(), 1u);
    EXPECT_TRUE(DebugHas("SUCCESS:118"));
    EXPECT_TRUE(FrmMain->BtnRemote_stop->Visible());
    EXPECT_FALSE(FrmMain->BtnRemote_rec->Visible());
    ASSERT_TRUE(PumpReal([] { return FrmMain->RemoteRecording == 1; }));
    // Pressed again while recording: nothing.
    std::size_t before = Commands(sim).size();
    FrmMain->BtnRemote_recClick(FrmMain->BtnRemote_rec);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    // Switching off asks first.
    AnswerBoxes(mrNo);
    FrmMain->BtnRemote_stopClick(FrmMain->BtnRemote_stop);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    AnswerBoxes(mrYes);
    FrmMain->BtnRemote_stopClick(FrmMain->BtnRemote_stop);
    EXPECT_EQ(CommandsFrom(sim, before), (std::vector<DWORD>{NETCMD_REMOTE_RECORD}));
    EXPECT_EQ(sim.Log().LastCommand(NETCMD_REMOTE_RECORD)->packet.Arg0(), 0u);
    EXPECT_TRUE(FrmMain->BtnRemote_rec->Visible());
}

TEST_F(SearchModes, OnlyAnAdministratorSwitchesRemoteRecordingOff) {
    recsim::RecSimOptions o = client_tests::QuickSimOptions();
    o.userPassword = "9";
    recsim::RecSim& sim = StartSim(o);
    LogIn(sim, "9", 2);
    ASSERT_TRUE(PumpReal([] { return FrmMain->LoggedIn == 1; }));
    seen_.clear();
    const std::size_t before = Commands(sim).size();
    FrmMain->BtnRemote_stopClick(FrmMain->BtnRemote_stop);
    EXPECT_TRUE(CommandsFrom(sim, before).empty());
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59843, 59882)}));
}

TEST_F(SearchModes, RemoteRecordButtonsWithoutLinkReturnToLocal) {
    FrmMain->CurrentMode = kModeLive;
    FrmMain->BtnRemote_recClick(FrmMain->BtnRemote_rec);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59843, 59869)}));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    FrmMain->BtnRemote_stopClick(FrmMain->BtnRemote_stop);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(FrmMain->ImgFrame2->CurrentFrame(), 0);
}

TEST_F(SearchModes, LostLinkReturnsToTheLocalLook) {
    recsim::RecSim& sim = Sim();
    EnterSearchMode();
    ASSERT_EQ(FrmMain->ImgFrame2->CurrentFrame(), 2);
    sim.CloseCommandConnection();
    ASSERT_TRUE(PumpReal([] { return FrmMain->BtnConnect->Visible(); }));
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    ExpectTabs(0, 0, 3, 3);
    EXPECT_FALSE(FrmMain->BtnSer->Visible());
    EXPECT_FALSE(FrmMain->BtnDisconnect->Visible());
}

} // namespace
} // namespace search_tests
