// The main window's keyboard shortcuts, pressed as a person would: each key reaches its transport,
// layout, mode or volume action, modifiers choose among the actions, and keys outside the table pass
// on. The map launcher's checks of the provider and the script settings.
#include "tests/client/LoginRig.h"

#include "client/PlaybackClock.h"

#include "controls/BmButton.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "playback/HtmlMap.h"

#include "platform/audio/Mixer.h"
#include "platform/core/Registry.h"
#include "platform/vcl/WinUser.h"

#include <filesystem>

namespace client_tests {
namespace {

class Keys : public LoginRig {
protected:
    void SetUp() override {
        mixer_testing::SetMixerCard("harbek_no_such_card");
        LoginRig::SetUp();
    }
    void TearDown() override {
        LoginRig::TearDown();
        mixer_testing::SetMixerCard("");
        FrmHtmlMap = nullptr;
    }
    void Press(WORD key, TShiftState shift = TShiftState()) {
        form_testing::PressKey(FrmMain, key, shift);
        form_testing::ProcessEvents();
    }
    // What FormShortCut says of a key without running it twice: handled or not.
    bool Handled(WORD key) {
        TWMKey message;
        message.CharCode = key;
        bool handled = false;
        FrmMain->FormShortCut(message, handled);
        return handled;
    }
};

TEST_F(Keys, NumbersChooseTheCameraLayout) {
    struct Case {
        WORD key;
        int selected;
        int screens;
    };
    const Case cases[] = {{'2', 1, 1}, {'5', 4, 4}, {'4', 3, 1}, {'1', 0, 1}, {'3', 2, 1}, {'5', 4, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.key));
        Press(c.key);
        EXPECT_EQ(FrmMain->GetSelectedCamera(), c.selected);
        EXPECT_EQ(FrmMain->GetScreenCount(), c.screens);
    }
}

TEST_F(Keys, EnterAndEscapeSwitchFullAndSkinMode) {
    Press(VK_RETURN);
    EXPECT_EQ(FrmMain->FullMode, 1);
    Press(VK_ESCAPE);
    EXPECT_EQ(FrmMain->FullMode, 0);
}

TEST_F(Keys, HomeAndEndMoveToTheEndsWithoutAFile) {
    FrmMain->SliderSearch->SetKnobPos(500);
    Press(VK_END);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    Press(VK_HOME);
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
}

TEST_F(Keys, ArrowsAndModifiersChooseTheTransport) {
    struct Case {
        const char* what;
        WORD key;
        TShiftState shift;
        int stateBefore;
        int keyAfter;
        BYTE forwardAfter;
    };
    const Case cases[] = {
        {"right plays", VK_RIGHT, TShiftState(), kPlayStopped, kKeyFirst, 1},
        {"left reverses", VK_LEFT, TShiftState(), kPlayStopped, kKeyFirst, 0},
        {"shift right steps on", VK_RIGHT, TShiftState{ssShift}, kPlayStopped, kKeyNext, 1},
        {"shift left steps back", VK_LEFT, TShiftState{ssShift}, kPlayStopped, kKeyPrev, 0},
        {"ctrl right plays fast", VK_RIGHT, TShiftState{ssCtrl}, kPlayForward, kKeyFastPlay, 1},
        {"ctrl shift right is ctrl right", VK_RIGHT, TShiftState{ssCtrl, ssShift}, kPlayForward, kKeyFastPlay,
         1},
        {"ctrl left reverses fast", VK_LEFT, TShiftState{ssCtrl}, kPlayReverse, kKeyFastReverse, 0},
        {"ctrl shift left is ctrl left", VK_LEFT, TShiftState{ssCtrl, ssShift}, kPlayReverse, kKeyFastReverse,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A file seems open, but the play list is empty: each action starts and stops at the file choice.
        FrmMain->Activities.Begin(TActivity::LocalPlayback);
        FrmMain->PlayState = c.stateBefore;
        FrmMain->LastTransportKey = kKeyFirst;
        FrmMain->PlayForward = c.forwardAfter ? 0 : 1;
        FrmMain->PlaySpeed = 1;
        Press(c.key, c.shift);
        EXPECT_EQ(FrmMain->LastTransportKey, c.keyAfter);
        EXPECT_EQ(FrmMain->PlayForward, c.forwardAfter);
        EXPECT_EQ(FrmMain->ShortcutsEnabled, 1);
    }
    FrmMain->Activities.End(TActivity::LocalPlayback);
}

TEST_F(Keys, DuringARemoteSearchTheKeysDriveTheRecordersStream) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
    FrmMain->Activities.Begin(TActivity::RemoteSearch);
    FrmMain->Activities.RemotePlayState = 0;
    Press(VK_SPACE);
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 1);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PAUSE, 2000));
    Press(VK_RIGHT);
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 0);
    ASSERT_TRUE(sim.Log().WaitForCommand(NETCMD_PLAY, 2000));
    Press(VK_RIGHT, TShiftState{ssShift});
    EXPECT_EQ(FrmMain->Activities.RemotePlayState, 2);
    // Shift+Left jumps back five seconds; before the first picture it waits for one.
    FrmMain->Activities.RemotePlayState = 0;
    FrmMain->AvShow.lastShownTime = 0;
    FrmMain->AvShow.awaitingFirstPicture = false;
    Press(VK_LEFT, TShiftState{ssShift});
    EXPECT_TRUE(FrmMain->AvShow.awaitingFirstPicture);
    EXPECT_FALSE(FrmMain->Enabled());
    FrmMain->SetEnabled(true);
    FrmMain->Activities.End(TActivity::RemoteSearch);
}

TEST_F(Keys, ArrowsUpAndDownStepTheVolumeWhileNotLoggedIn) {
    struct Case {
        float before;
        WORD key;
        float after;
        int speakerFrame;
    };
    const Case cases[] = {{50, VK_UP, 51, 0},     {99.5F, VK_UP, 100, 0}, {100, VK_UP, 100, 0},
                          {50, VK_DOWN, 49, 0},   {0.5F, VK_DOWN, 0, 1},  {0, VK_DOWN, 0, 1},
                          {37.5F, VK_DOWN, 36, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.before << (c.key == VK_UP ? " up" : " down"));
        FrmMain->SetVolume(c.before);
        Press(c.key);
        EXPECT_NEAR(FrmMain->GetVolume(), c.after, 0.001);
        EXPECT_EQ(FrmMain->ImgFrame4->CurrentFrame(), c.speakerFrame);
    }
    FrmMain->LoggedIn = 1;
    FrmMain->SetVolume(50);
    EXPECT_FALSE(Handled(VK_UP));
    EXPECT_FALSE(Handled(VK_DOWN));
    EXPECT_NEAR(FrmMain->GetVolume(), 50, 0.001);
    FrmMain->LoggedIn = 0;
}

TEST_F(Keys, OnlyTheTableIsHandledAndNotWhileAKeyIsBeingHandled) {
    struct Case {
        WORD key;
        bool handled;
    };
    const Case cases[] = {{VK_F1, false},  {'A', false},   {'6', false},     {'0', false}, {VK_TAB, false},
                          {VK_HOME, true}, {VK_END, true}, {VK_SPACE, true}, {'1', true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(Handled(c.key), c.handled);
        EXPECT_EQ(FrmMain->ShortcutsEnabled, 1);
    }
    FrmMain->ShortcutsEnabled = 0;
    FrmMain->SliderSearch->SetKnobPos(500);
    EXPECT_FALSE(Handled(VK_END));
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 500);
    FrmMain->ShortcutsEnabled = 1;
}

class MapLauncher : public Keys {
protected:
    void SetUp() override {
        Keys::SetUp();
        // A program folder with resources of its own but no map page: the real page would ask a tile
        // server for its map.
        std::filesystem::create_directories(HomeFile("resources"));
        Application->CreateForm(FrmHtmlMap);
    }
    static void SetZone(const char* zone, int value) {
        TRegistry registry;
        registry.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(registry.OpenKey(
            std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\") + zone,
            true));
        registry.WriteInteger("1400", value);
        registry.CloseKey();
    }
};

TEST_F(MapLauncher, TheMapOpensOnlyWhenReachableAndScriptsMayRun) {
    struct Case {
        const char* what;
        bool reachable;
        int zone3;
        int zone1;
        bool opens;
        std::vector<TSeenBox> boxes;
    };
    const Case cases[] = {
        {"no connection", false, 0, 0, false, {Box(50297, 50298)}},
        {"scripts allowed", true, 0, 0, true, {}},
        {"intranet restricted", true, 0, 3, false, {Box(50299, 50300)}},
        {"internet restricted", true, 1, 0, false, {Box(50299, 50300)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetZone("3", c.zone3);
        SetZone("1", c.zone1);
        int probes = 0;
        FrmMain->MapSiteProbe = [&] {
            ++probes;
            return c.reachable;
        };
        seen_.clear();
        FrmHtmlMap->Hide();
        FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
        EXPECT_EQ(probes, 1);
        EXPECT_EQ(FrmMain->IsMapReachable(), c.opens ? 1 : 0);
        EXPECT_EQ(FrmHtmlMap->Visible(), c.opens);
        EXPECT_EQ(Boxes(), c.boxes);
    }
}

TEST_F(MapLauncher, ZonesThatCannotBeReadCountAsAllowed) {
    EXPECT_FALSE(FrmMain->IsScriptingRestricted());
    EXPECT_EQ(FrmMain->ScriptingRestricted, 0);
    SetZone("1", 3);
    EXPECT_TRUE(FrmMain->IsScriptingRestricted());
    EXPECT_EQ(FrmMain->ScriptingRestricted, 1);
}

} // namespace
} // namespace client_tests
