// The ways a user or the desktop ends the program, each asked from inside the application's own loop
// as the program runs it, with live view on against the simulated recorder: the power button, the
// window manager's close, the three termination signals and the end of the desktop session, alone, two
// at once, and inside a wait. Every way takes the one orderly end, once.
#include "tests/client/LoginRig.h"

#include "formats/SetupIni.h"

#include "platform/core/IniFiles.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace client_tests {
namespace {

namespace fs = std::filesystem;
using testing_support::FakeTick;
using testing_support::WriteFileBytes;

void Raise(int signal) {
    ::kill(::getpid(), signal);
}

struct Way {
    const char* name;
    std::function<void()> ask;
};

class WaysOut : public LoginRig {
protected:
    // Logged in with live view on, a file in the working folder and a setting only the end saves.
    recsim::RecSim& Live(recsim::RecSimOptions o = QuickSimOptions()) {
        recsim::RecSim& sim = StartSim(o);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
        EXPECT_TRUE(FrmMain->LiveActive());
        fs::create_directories(Home() + "Temporary");
        WriteFileBytes(Home() + "Temporary/20240101120000.fdx", "x");
        FrmMain->VideoStandard = kVideoStandardNtsc;
        return sim;
    }
    // The program's loop, as the program runs it, with `ask` done from inside it; returns at its end.
    static void RunAsking(std::function<void()> ask) {
        // The shut-down's pause runs on the tick source, here in fast steps.
        FakeTick tick(1000, 100);
        form_testing::RunLater(std::move(ask));
        Application->Run();
    }
    void ExpectOrderlyEnd(recsim::RecSim& sim) {
        EXPECT_TRUE(Application->Terminated());
        EXPECT_EQ(sim.Log().Commands(NETCMD_LIVE_STOP).size(), 1u);
        EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
        EXPECT_TRUE(sim.WaitForAvConnection(false, 2000));
        EXPECT_FALSE(fs::exists(Home() + "Temporary"));
        EXPECT_EQ(TIniFile(HomeFile("setup.ini")).ReadString("setup", "standard", ""), "NTSC");
        EXPECT_TRUE(Boxes().empty());
    }
};

TEST_F(WaysOut, EveryWayStopsLiveViewSavesAndCleansUpOnce) {
    const Way ways[] = {
        {"power button", [] { form_testing::Click(FrmMain->BtnPower); }},
        {"window manager's close", [] { form_testing::RequestWindowClose(FrmMain); }},
        {"SIGTERM", [] { Raise(SIGTERM); }},
        {"SIGHUP", [] { Raise(SIGHUP); }},
        {"SIGINT", [] { Raise(SIGINT); }},
        {"end of the desktop session", [] { form_testing::EndDesktopSession(); }},
        {"SIGTERM and SIGINT together",
         [] {
             Raise(SIGTERM);
             Raise(SIGINT);
         }},
        {"a signal, then the window manager's close",
         [] {
             Raise(SIGHUP);
             form_testing::RequestWindowClose(FrmMain);
         }},
        {"the session's end, then the power button",
         [] {
             form_testing::EndDesktopSession();
             form_testing::Click(FrmMain->BtnPower);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        recsim::RecSim& sim = Live();
        RunAsking(way.ask);
        ExpectOrderlyEnd(sim);
        TearDown();
        SetUp();
    }
}

TEST_F(WaysOut, ASignalInsideAWaitEndsTheProgramAndTheWaitStopsQuietly) {
    recsim::RecSim& sim = Live();
    FrmMain->BtnDisliveClick(FrmMain->BtnDislive);
    sim.SetReplyFault(NETCMD_LIVE_START, SilentReply());
    RunAsking([] {
        // Arrives while the live start waits for the recorder's answer.
        form_testing::RunLater([] { Raise(SIGTERM); });
        FrmMain->BtnLiveClick(FrmMain->BtnLive);
    });
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(FrmMain->LiveActive());
    EXPECT_TRUE(sim.WaitForCommandConnection(false, 2000));
    EXPECT_FALSE(fs::exists(Home() + "Temporary"));
    EXPECT_EQ(TIniFile(HomeFile("setup.ini")).ReadString("setup", "standard", ""), "NTSC");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WaysOut, WhileThePlaybackIsCopiedOnlyTheButtonsAndTheWindowManagerAreRefused) {
    struct Case {
        const char* name;
        std::function<void()> ask;
        bool ends;
    };
    const Case cases[] = {
        {"power button", [] { form_testing::Click(FrmMain->BtnPower); }, false},
        {"window manager's close", [] { form_testing::RequestWindowClose(FrmMain); }, false},
        {"SIGTERM", [] { Raise(SIGTERM); }, true},
        {"end of the desktop session", [] { form_testing::EndDesktopSession(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen_.clear();
        fs::create_directories(Home() + "Temporary");
        FrmMain->StreamCopying = 1;
        {
            FakeTick tick(1000, 100);
            form_testing::RunLater(c.ask);
            // A refused way leaves the loop running: the test ends it once the box was answered.
            if (!c.ends) form_testing::RunLater([] { Application->Terminate(); });
            Application->Run();
        }
        const std::vector<TSeenBox> refused{Box(50991, 50393)};
        EXPECT_EQ(Boxes(), c.ends ? std::vector<TSeenBox>{} : refused);
        EXPECT_EQ(FrmMain->StreamCopying, c.ends ? 0 : 1);
        EXPECT_EQ(fs::exists(Home() + "Temporary"), !c.ends);
        EXPECT_EQ(FrmMain->ProgramEnd() == TFrmMain::TProgramEnd::Closing, c.ends);
        TearDown();
        SetUp();
    }
}

} // namespace
} // namespace client_tests
