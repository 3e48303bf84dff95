// The recording page with its form: config.ini into the controls, the rate rules as the user meets them,
// OK writing back only what changed and sending holiday.ini and schedule.dat to the simulated recorder,
// and CANCEL.
#include "tests/setup/RecordRig.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FormTesting.h"

#include <functional>
#include <optional>

namespace setup_test {
namespace {

class RecordPageTest : public RecordRig {
protected:
    TfrmRecord2* Page() const { return frmRecord2; }
    RecordGroupSettings& Group(int g) { return Page()->Groups[static_cast<std::size_t>(g)]; }
    static int Count(TComboBox* list) { return list->Items()->Count(); }
    static std::string First(TComboBox* list) { return Count(list) > 0 ? list->Items()->Strings(0) : ""; }
    static std::string Last(TComboBox* list) {
        return Count(list) > 0 ? list->Items()->Strings(Count(list) - 1) : "";
    }
    // Shows a channel tab of the shown group as a click on it would.
    void ShowChannel(int group, int channel) {
        TPageControl* tabs = std::array{Page()->PageControl2, Page()->PageControl3, Page()->PageControl4,
                                        Page()->PageControl5, Page()->PageControl6}[group];
        tabs->SetActivePageIndex(channel);
        Page()->PageControl2Change(tabs);
    }
    void ShowGroup(int group) {
        Page()->PageControl1->SetActivePageIndex(group);
        Page()->PageControl1Change(Page()->PageControl1);
    }
};

struct DefaultsCase {
    const char* name;
    int frameRate;
    const char* resolution;
    int eventEntries; // 0 IPS .. the channel's bound
};

class RecordDefaultsTest : public RecordPageTest, public ::testing::WithParamInterface<DefaultsCase> {};

TEST_P(RecordDefaultsTest, AnEmptySectionShowsEveryDefault) {
    const DefaultsCase& c = GetParam();
    StoreSetupFiles("[config]\r\n");
    OpenPage(4, c.frameRate);
    TfrmRecord2* p = Page();
    EXPECT_EQ(p->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(Shown(p->cmbCur_group), "1 GROUP");
    EXPECT_TRUE(p->rbt720->Checked());
    EXPECT_EQ(p->rbt720->Caption(), c.resolution);
    EXPECT_TRUE(p->rbt720_e->Checked());
    EXPECT_TRUE(p->rbtHigh->Checked());
    EXPECT_TRUE(p->rbtSuper_e->Checked());
    EXPECT_EQ(Shown(p->cmbImage), "3 IPS");
    EXPECT_EQ(Shown(p->cmbImage_e), "5 IPS");
    EXPECT_EQ(Shown(p->cmbImage_cf), "3 IPS");
    EXPECT_EQ(Shown(p->cmbImage_e_cf), "3 IPS");
    EXPECT_EQ(Count(p->cmbImage_e), c.eventEntries);
    EXPECT_EQ(First(p->cmbImage), "1 IPS");
    EXPECT_EQ(Last(p->cmbImage), Last(p->cmbImage_e));
    EXPECT_EQ(Last(p->cmbImage_e_cf), "6 IPS");
    EXPECT_TRUE(p->rbtRecordOn->Checked());
    EXPECT_TRUE(p->rbtNetworkOff->Checked());
    EXPECT_TRUE(p->rbtRecordOff_e->Checked());
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
    EXPECT_EQ(Shown(p->cmbDuration_e), "60 SEC");
    EXPECT_EQ(Shown(p->cmbPre_rec_e), "0 SEC");
    EXPECT_TRUE(p->rbtOverOn->Checked());
    EXPECT_TRUE(p->rbtHdd->Checked());
    EXPECT_TRUE(p->rbtBackupOff->Checked());
    EXPECT_EQ(p->btnSchedule->Caption(), "OFF");
    EXPECT_FALSE(p->cmbImage_cf->Enabled());
    EXPECT_TRUE(p->cmbImage->Enabled());
    EXPECT_EQ(p->Groups[0], RecordGroupSettings{});
}

INSTANTIATE_TEST_SUITE_P(Standards, RecordDefaultsTest,
                         ::testing::Values(DefaultsCase{"ntsc", 30, "720x240", 16},
                                           DefaultsCase{"pal", 25, "720x288", 11}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordPageTest, KeysReachTheTableAndTheControls) {
    StoreSetupFiles("[config]\r\n1_1_1=2\r\n8_2_1=7\r\n12_2_1=0\r\n55_3_2=99\r\n13_2_3=4\r\n6_2_1=0\r\n"
                    "5_1_1=1\r\n2_1_1=0\r\n60_1_1=2\r\n42_2_1=1\r\n41_2_1=0\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    EXPECT_EQ(p->PageControl1->ActivePageIndex(), 1);
    EXPECT_EQ(Shown(p->cmbCur_group), "2 GROUP");
    EXPECT_TRUE(p->rbtHigh->Checked()) << "a quality of 7 keeps the default";
    EXPECT_TRUE(p->rbtLow_e->Checked());
    EXPECT_EQ(Shown(p->cmbPre_rec_e), "4 SEC");
    // Each resolution as stored: showing a group never changes it, whatever the radios showed before.
    EXPECT_TRUE(p->rbt320->Checked());
    EXPECT_TRUE(p->rbt720_e->Checked());
    EXPECT_EQ(Group(1).EventResolution, 1);
    EXPECT_EQ(p->rbt320->Caption(), "320x240");
    EXPECT_EQ(p->btnSchedule->Caption(), "ON");
    EXPECT_TRUE(p->rbtOverOff->Checked());
    EXPECT_TRUE(p->rbtBackupEvent->Checked());
    EXPECT_TRUE(p->rbtRecordOff->Checked());
    EXPECT_TRUE(p->rbtNetworkOn->Checked());
    // A group not shown keeps what was read, out of range or not.
    EXPECT_EQ(Group(2).ManualHddRate[1], 99);
}

TEST_F(RecordPageTest, OneCameraShowsOneChannelAndNoMotion) {
    StoreSetupFiles("[config]\r\n");
    OpenPage(1, 30);
    TfrmRecord2* p = Page();
    for (TPageControl* tabs :
         {p->PageControl2, p->PageControl3, p->PageControl4, p->PageControl5, p->PageControl6}) {
        EXPECT_TRUE(tabs->Pages(0)->TabVisible());
        for (int c = 1; c < 4; ++c)
            EXPECT_FALSE(tabs->Pages(c)->TabVisible());
    }
    EXPECT_FALSE(p->rbtMotionOn_e->Enabled());
    EXPECT_FALSE(p->rbtMotionOff_e->Enabled());
    EXPECT_EQ(Count(p->cmbImage_e), 31);
    EXPECT_EQ(Last(p->cmbImage), "30 IPS");
    EXPECT_EQ(Count(p->cmbImage_e_cf), 16);
    // A four-camera recorder afterwards gets its tabs back.
    OpenPage(4, 30);
    EXPECT_TRUE(p->PageControl4->Pages(3)->TabVisible());
    EXPECT_TRUE(p->rbtMotionOn_e->Enabled());
}

TEST_F(RecordPageTest, OtherChannelsLockTheGroupSettings) {
    StoreSetupFiles("[config]\r\n9_1_1=1\r\n38_1_1=1\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    EXPECT_TRUE(p->rbtVoiceOn->Checked());
    EXPECT_TRUE(p->rbtVoiceOn_e->Checked());
    ShowChannel(0, 1);
    EXPECT_EQ(p->ShownChannel, 1);
    EXPECT_TRUE(p->rbtVoiceOff->Checked());
    EXPECT_TRUE(p->rbtVoiceOff_e->Checked());
    for (TControl* c : std::initializer_list<TControl*>{p->rbt320, p->rbt720, p->cmbPre_rec_e, p->rbtVoiceOn,
                                                        p->rbtVoiceOff, p->rbtVoiceOn_e, p->rbtVoiceOff_e})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_EQ(Group(0).ManualVoice, 1) << "showing OFF does not change the group";
    ShowChannel(0, 0);
    EXPECT_TRUE(p->rbtVoiceOn->Enabled());
    EXPECT_TRUE(p->rbtVoiceOn->Checked());
}

TEST_F(RecordPageTest, ChoosingACurrentGroupShowsItsFirstChannel) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    ShowChannel(0, 2);
    Pick(Page()->cmbCur_group, 2);
    EXPECT_EQ(Page()->CurrentGroup, 2);
    EXPECT_EQ(Page()->ShownGroup, 2);
    EXPECT_EQ(Page()->ShownChannel, 0);
    EXPECT_EQ(Page()->PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(Page()->PageControl4->ActivePageIndex(), 0);
}

TEST_F(RecordPageTest, ManualRateZeroOnlyWithoutEventRate) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    Pick(p->cmbImage_e, 0);
    EXPECT_EQ(Group(0).EventHddRate[0], 0);
    EXPECT_FALSE(p->rbtNetworkOn_e->Enabled());
    EXPECT_TRUE(p->rbtNetworkOff_e->Checked());
    ASSERT_EQ(First(p->cmbImage), "0 IPS") << "without an event rate the manual list starts at 0";
    Pick(p->cmbImage, 0);
    EXPECT_EQ(Group(0).ManualHddRate[0], 0);
    EXPECT_EQ(Group(0).ManualRecord[0], 0);
    EXPECT_EQ(Group(0).ManualNetwork[0], 0);
    EXPECT_TRUE(p->rbtRecordOff->Checked());
    EXPECT_FALSE(p->rbtRecordOn->Enabled());
    EXPECT_FALSE(p->rbtNetworkOn->Enabled());
    // An event rate again needs a manual one: 1 IPS, RECORD on; without a trigger EVENT RECORD stays off.
    Pick(p->cmbImage_e, 3);
    EXPECT_EQ(Group(0).ManualHddRate[0], 1);
    EXPECT_EQ(Group(0).ManualRecord[0], 1);
    EXPECT_TRUE(p->rbtRecordOn->Checked());
    EXPECT_TRUE(p->rbtRecordOn->Enabled());
    EXPECT_EQ(Shown(p->cmbImage), "1 IPS");
    EXPECT_EQ(Group(0).EventRecord[0], 0);
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
    EXPECT_TRUE(p->rbtNetworkOn_e->Enabled());
}

TEST_F(RecordPageTest, EventRecordFollowsAHandPickedRateWhileMotionIsOn) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    ClickRadio(p->rbtMotionOn_e);
    EXPECT_EQ(Group(0).Motion[0], 1);
    EXPECT_TRUE(p->rbtM_AlarmOutOn_e->Enabled());
    Pick(p->cmbImage_e, 7);
    EXPECT_EQ(Group(0).EventHddRate[0], 7);
    EXPECT_EQ(Group(0).EventRecord[0], 1);
    EXPECT_TRUE(p->rbtRecordOn_e->Checked());
    EXPECT_EQ(p->EventRateChosen, 0);
    Pick(p->cmbImage_e, 0);
    EXPECT_EQ(Group(0).EventRecord[0], 0);
    EXPECT_EQ(Group(0).EventNetwork[0], 0);
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
    EXPECT_FALSE(p->rbtNetworkOn_e->Enabled());
    // Motion off with alarm input off: EVENT RECORD off and locked.
    Pick(p->cmbImage_e, 4);
    EXPECT_EQ(Group(0).EventRecord[0], 1);
    ClickRadio(p->rbtMotionOff_e);
    EXPECT_EQ(Group(0).EventRecord[0], 0);
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
    EXPECT_FALSE(p->rbtM_AlarmOutOn_e->Enabled());
}

struct TriggerCase {
    const char* name;
    TRadioButton* TfrmRecord2::*on;
    TRadioButton* TfrmRecord2::*off;
    TRadioButton* TfrmRecord2::*otherOn; // the other trigger's radios
    TRadioButton* TfrmRecord2::*otherOff;
    TRadioButton* TfrmRecord2::*alarmOut;
    std::array<BYTE, 4> RecordGroupSettings::*flag;
};

class RecordTriggerTest : public RecordPageTest, public ::testing::WithParamInterface<TriggerCase> {};

TEST_P(RecordTriggerTest, EventRecordNeedsATrigger) {
    const TriggerCase& t = GetParam();
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    ClickRadio(p->*t.on);
    EXPECT_EQ((Group(0).*t.flag)[0], 1);
    EXPECT_TRUE((p->*t.alarmOut)->Enabled());
    EXPECT_TRUE(p->rbtRecordOn_e->Enabled()) << "the event list holds a rate";
    Pick(p->cmbImage_e, 6);
    EXPECT_EQ(Group(0).EventRecord[0], 1);
    // While the other trigger is on, EVENT RECORD stays; the last trigger off turns it off.
    ClickRadio(p->*t.otherOn);
    ClickRadio(p->*t.off);
    EXPECT_EQ((Group(0).*t.flag)[0], 0);
    EXPECT_EQ(Group(0).EventRecord[0], 1);
    EXPECT_FALSE((p->*t.alarmOut)->Enabled());
    ClickRadio(p->*t.otherOff);
    EXPECT_EQ(Group(0).EventRecord[0], 0);
    EXPECT_TRUE(p->rbtRecordOff_e->Checked());
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
    // Without a trigger a hand-picked rate leaves EVENT RECORD off.
    Pick(p->cmbImage_e, 2);
    EXPECT_EQ(Group(0).EventRecord[0], 0);
    EXPECT_FALSE(p->rbtRecordOn_e->Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, RecordTriggerTest,
    ::testing::Values(TriggerCase{"motion", &TfrmRecord2::rbtMotionOn_e, &TfrmRecord2::rbtMotionOff_e,
                                  &TfrmRecord2::rbtAlarmInOn_e, &TfrmRecord2::rbtAlarmInOff_e,
                                  &TfrmRecord2::rbtM_AlarmOutOn_e, &RecordGroupSettings::Motion},
                      TriggerCase{"alarm_in", &TfrmRecord2::rbtAlarmInOn_e, &TfrmRecord2::rbtAlarmInOff_e,
                                  &TfrmRecord2::rbtMotionOn_e, &TfrmRecord2::rbtMotionOff_e,
                                  &TfrmRecord2::rbtAlarmOutOn_e, &RecordGroupSettings::AlarmIn}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordPageTest, ManualRecordAndNetworkAreNeverBothOff) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    ClickRadio(p->rbtRecordOff);
    EXPECT_EQ(Group(0).ManualRecord[0], 0);
    EXPECT_EQ(Group(0).ManualNetwork[0], 1);
    EXPECT_TRUE(p->rbtNetworkOn->Checked());
    ClickRadio(p->rbtNetworkOff);
    EXPECT_EQ(Group(0).ManualNetwork[0], 0);
    EXPECT_EQ(Group(0).ManualRecord[0], 1);
    EXPECT_TRUE(p->rbtRecordOn->Checked());
    // The keyboard as well as the mouse: Space on the focused radio changes the table.
    form_testing::PressKey(p->rbtRecordOff, VK_SPACE, TShiftState(), " ");
    EXPECT_TRUE(p->rbtRecordOff->Checked());
    EXPECT_EQ(Group(0).ManualRecord[0], 0);
    EXPECT_EQ(Group(0).ManualNetwork[0], 1);
    EXPECT_TRUE(p->rbtNetworkOn->Checked());
}

// Space on a focused radio is a click: the table, and so what OK writes, follows it.
TEST_F(RecordPageTest, KeyboardChoicesReachTheTable) {
    const struct {
        const char* name;
        TRadioButton* TfrmRecord2::*radio;
        std::function<int(const RecordGroupSettings&)> flag;
    } cases[] = {
        {"network", &TfrmRecord2::rbtNetworkOn, [](const auto& g) { return g.ManualNetwork[0]; }},
        {"voice", &TfrmRecord2::rbtVoiceOn, [](const auto& g) { return g.ManualVoice; }},
        {"event_voice", &TfrmRecord2::rbtVoiceOn_e, [](const auto& g) { return g.EventVoice; }},
        {"motion", &TfrmRecord2::rbtMotionOn_e, [](const auto& g) { return g.Motion[0]; }},
        {"alarm_in", &TfrmRecord2::rbtAlarmInOn_e, [](const auto& g) { return g.AlarmIn[0]; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreSetupFiles("[config]\r\n");
        OpenPage();
        TRadioButton* radio = Page()->*c.radio;
        ASSERT_TRUE(radio->Enabled());
        EXPECT_EQ(c.flag(Group(0)), 0);
        form_testing::PressKey(radio, VK_SPACE, TShiftState(), " ");
        EXPECT_TRUE(radio->Checked());
        EXPECT_EQ(c.flag(Group(0)), 1);
        Page()->btnOkClick(Page()->btnOk);
        OpenPage();
        EXPECT_EQ(c.flag(Group(0)), 1) << "written at OK";
        EXPECT_TRUE((Page()->*c.radio)->Checked());
    }
}

TEST_F(RecordPageTest, ResolutionsMoveTogether) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    p->rbt320->SetChecked(true);
    EXPECT_EQ(Group(0).Resolution, 0);
    EXPECT_EQ(Group(0).EventResolution, 0);
    EXPECT_TRUE(p->rbt320_e->Checked());
    p->rbt720_e->SetChecked(true);
    EXPECT_EQ(Group(0).Resolution, 1);
    EXPECT_TRUE(p->rbt720->Checked());
    EXPECT_FALSE(p->rbt720_e->Enabled());
}

TEST_F(RecordPageTest, CardRatesFollowTheSameRules) {
    StoreSetupFiles("[config]\r\n57_1_1=1\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    EXPECT_TRUE(p->rbtCf->Checked());
    EXPECT_TRUE(p->cmbImage_e_cf->Enabled());
    EXPECT_EQ(Last(p->cmbImage_e_cf), "6 IPS");
    Pick(p->cmbImage_e_cf, 0);
    ASSERT_EQ(First(p->cmbImage_cf), "0 IPS");
    Pick(p->cmbImage_cf, 0);
    EXPECT_EQ(Group(0).ManualCfRate[0], 0);
    EXPECT_EQ(Group(0).ManualRecord[0], 0);
    EXPECT_FALSE(p->rbtRecordOn->Enabled());
    Pick(p->cmbImage_e_cf, 2);
    EXPECT_EQ(Group(0).EventCfRate[0], 2);
    EXPECT_EQ(Group(0).ManualCfRate[0], 1);
    EXPECT_EQ(Group(0).ManualRecord[0], 1);
    EXPECT_EQ(Shown(p->cmbImage_cf), "1 IPS");
    EXPECT_EQ(Group(0).EventHddRate[0], 5) << "the hard-disk rates stay";
}

TEST_F(RecordPageTest, TheBudgetMovesBetweenChannels) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    Pick(p->cmbImage_e, 15);
    EXPECT_EQ(p->RemainingHddRate, 0);
    EXPECT_EQ(Last(p->cmbImage_e), "15 IPS");
    ShowChannel(0, 1);
    EXPECT_EQ(Last(p->cmbImage_e), "5 IPS") << "30 - 15 - 5 - 5 left with the channel's own 5";
    EXPECT_EQ(Shown(p->cmbImage_e), "5 IPS");
    Pick(p->cmbImage_e, 0);
    ShowChannel(0, 0);
    EXPECT_EQ(Last(p->cmbImage_e), "17 IPS") << "channel 2 still holds its manual 3";
}

// Lists without entries offer no rate: the stored rates stay as the recorder sent them.
TEST_F(RecordPageTest, EmptyRateListsLeaveTheRatesAlone) {
    const struct {
        const char* name;
        int cameras;
        const char* keys;
    } cases[] = {{"unknown_cameras", 0, "55_1_1=4\r\n"},
                 {"two_cameras", 2, "56_1_1=9\r\n"},
                 {"budget_overdrawn", 4, "56_1_2=20\r\n56_1_3=20\r\n70_1_2=9\r\n70_1_3=9\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string config = std::string("[config]\r\n27_1_1=BUS 7\r\n") + c.keys;
        StoreSetupFiles(config);
        OpenPage(c.cameras, 30);
        EXPECT_EQ(Page()->cmbImage_e->Items()->Count(), 0);
        Page()->btnOkClick(Page()->btnOk);
        EXPECT_EQ(Read("config.ini"), config);
    }
}

TEST_F(RecordPageTest, StorageSwitchLocksAutoBackupOnTheCard) {
    StoreSetupFiles("[config]\r\n60_1_1=2\r\n");
    OpenPage();
    TfrmRecord2* p = Page();
    EXPECT_EQ(p->AutoBackup, 2u);
    form_testing::Click(p->rbtCf);
    EXPECT_EQ(p->Storage, 1);
    EXPECT_EQ(p->AutoBackup, 0u);
    EXPECT_TRUE(p->rbtBackupOff->Checked());
    EXPECT_FALSE(p->rbtBackupEvent->Enabled());
    EXPECT_TRUE(p->cmbImage_cf->Enabled());
    EXPECT_FALSE(p->cmbImage->Enabled());
    form_testing::Click(p->rbtHdd);
    EXPECT_EQ(p->Storage, 0);
    EXPECT_TRUE(p->rbtBackupEvent->Enabled());
    EXPECT_EQ(p->AutoBackup, 0u);
    EXPECT_TRUE(p->cmbImage->Enabled());
    EXPECT_FALSE(p->cmbImage_e_cf->Enabled());
}

// ---- OK and CANCEL ----

TEST_F(RecordPageTest, OkWithoutAConnectionWritesTheKeysAndSaysSo) {
    StoreSetupFiles("[config]\r\n1_1_1=1\r\n27_1_1=BUS 7\r\n55_1_1=3\r\n99_9_9=kept\r\n");
    Write("temp_holiday.ini", RecorderHolidays());
    Write("temp_schedule.dat", RecorderSchedule());
    OpenPage();
    TfrmRecord2* p = Page();
    form_testing::Click(p->rbtLow);
    Pick(p->cmbCur_group, 4);
    Pick(p->cmbPre_rec_e, 3);
    p->btnOkClick(p->btnOk);
    // Only what the user changed: the recorder's "55_1_1=3", at the default, stays as it was.
    EXPECT_EQ(Read("config.ini"),
              "[config]\r\n1_1_1=5\r\n27_1_1=BUS 7\r\n55_1_1=3\r\n99_9_9=kept\r\n8_1_1=0\r\n13_5_1=3\r\n");
    EXPECT_TRUE(FileExists(Folder("temp_holiday.ini"))) << "CANCEL can still drop what was not sent";
    EXPECT_TRUE(FileExists(Folder("temp_schedule.dat")));
    EXPECT_EQ(Boxes(), (std::vector<client_tests::TSeenBox>{Box(59872, 59869)}));
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->IsModified(), 0u);
}

TEST_F(RecordPageTest, NothingEditedLeavesTheRecordersFileAsItWas) {
    // Rates no list offers, a value that is no number, keys at their defaults, resolutions that differ,
    // a pre-record under channel 3, CF storage with auto backup: looking at every channel changes none.
    const std::string config = "[config]\r\n1_1_1=3\r\n27_1_1=BUS 7\r\n55_3_1=10\r\n8_3_1=1\r\n15_3_1=1\r\n"
                               "43_3_1=1\r\n2_1_1=0\r\n16_2_4=1\r\n43_2_4=0\r\n13_4_1=2\r\n60_1_1=1\r\n"
                               "99_1_1=x\r\n56_3_1=40\r\n55_3_2=99\r\n70_3_3=some value\r\n41_3_4=1\r\n"
                               "6_2_1=0\r\n13_2_3=4\r\n57_1_1=1\r\n69_1_2=4\r\n";
    StoreSetupFiles(config);
    OpenPage();
    for (int group : {2, 1, 0, 3}) {
        ShowGroup(group);
        for (int channel : {1, 2, 3, 0})
            ShowChannel(group, channel);
    }
    Page()->btnOkClick(Page()->btnOk);
    EXPECT_EQ(Read("config.ini"), config);
}

// What the page shows at OK is what OK writes, and only what the user changed.
TEST_F(RecordPageTest, OkWritesWhatThePageShowed) {
    const struct {
        const char* name;
        const char* config;
        std::function<void()> edit;
        std::vector<std::pair<std::string, std::optional<std::string>>> keys;
    } cases[] = {
        // A rate picked by hand on a channel without a trigger switches no other channel's EVENT RECORD on.
        {"event_pick_stays_on_its_channel",
         "[config]\r\n15_1_2=1\r\n",
         [this] {
             Pick(Page()->cmbImage_e, 3);
             ShowChannel(0, 1);
         },
         {{"56_1_1", "3"}, {"43_1_2", std::nullopt}}},
        // A group has one pre-record: the stale one under channel 3 goes with the new value.
        {"pre_record_replaces_stale_keys",
         "[config]\r\n13_2_3=4\r\n13_2_4=1\r\n",
         [this] {
             ShowGroup(1);
             Pick(Page()->cmbPre_rec_e, 2);
         },
         {{"13_2_1", "2"}, {"13_2_3", std::nullopt}, {"13_2_4", std::nullopt}}},
        // The card: the RECORD radios show the table, which OK writes; auto backup goes off.
        {"storage_switch_shows_what_it_saves",
         "[config]\r\n60_1_1=1\r\n15_1_1=1\r\n43_1_1=1\r\n",
         [this] {
             form_testing::Click(Page()->rbtCf);
             EXPECT_TRUE(Page()->rbtRecordOn_e->Checked());
             EXPECT_TRUE(Page()->rbtRecordOn->Checked());
         },
         {{"57_1_1", "1"}, {"60_1_1", std::nullopt}, {"43_1_1", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreSetupFiles(c.config);
        OpenPage();
        c.edit();
        Page()->btnOkClick(Page()->btnOk);
        frmMenu->LoadConfigIni();
        for (const auto& [key, value] : c.keys)
            EXPECT_EQ(frmMenu->Config().ConfigValue(key), value) << key;
        // Opened again, the page shows what was written.
        const RecordPageSettings written = Page()->PageSettings();
        OpenPage();
        EXPECT_EQ(Page()->PageSettings(), written);
    }
}

TEST_F(RecordPageTest, OkSendsHolidaysThenScheduleToTheRecorder) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    StoreSetupFiles(RecorderConfig());
    const std::string holidays = "[holiday]\r\n54_2_29=1\r\n54_12_31=1\r\n";
    std::string schedule = RecorderSchedule();
    schedule[4 + 24 * 7 + 5] = 4;
    Write("holiday.ini", holidays);
    Write("schedule.dat", schedule);
    OpenPage();
    frmMenu->Hide();
    Page()->btnOkClick(Page()->btnOk);
    ASSERT_TRUE(PumpReal([&] { return sim.Log().Uploads().size() >= 2; }));
    const auto uploads = sim.Log().Uploads();
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].kind, 6u);
    EXPECT_EQ(uploads[1].kind, 3u);
    EXPECT_EQ(sim.ServedFile(6), holidays);
    EXPECT_EQ(sim.ServedFile(3), schedule);
    EXPECT_EQ(Page()->IsModified(), 3u);
    EXPECT_FALSE(Page()->Visible());
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_EQ(Page()->cmbCur_group->Items()->Count(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordPageTest, ASecondOkDuringTheWaitSendsNothingMore) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    sim.SetReplyFault(104, recsim::ReplyFault{.delayMs = 300});
    StoreSetupFiles(RecorderConfig());
    OpenPage();
    // The user presses OK again while the first press waits for the recorder.
    int pressed = 0;
    const TNotifyEvent waitShown = FrmWait->OnShow;
    FrmWait->OnShow = TNotifyEvent([&](TObject* sender) {
        waitShown(sender);
        if (pressed++ == 0) form_testing::RunLater([] { frmRecord2->btnOkClick(frmRecord2->btnOk); });
    });
    Page()->btnOkClick(Page()->btnOk);
    FrmWait->OnShow = waitShown;
    EXPECT_GE(pressed, 1);
    ASSERT_TRUE(PumpReal([&] { return sim.Log().Uploads().size() >= 2; }));
    PumpReal([] { return false; }, 400);
    const auto uploads = sim.Log().Uploads();
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].kind, 6u);
    EXPECT_EQ(uploads[1].kind, 3u);
    EXPECT_EQ(Page()->IsModified(), 3u);
}

// CANCEL while OK waits for the recorder's answer to the holidays is refused, as a second OK is: the OK
// sends both files and closes the page, and nothing is restored under the upload.
TEST_F(RecordPageTest, CancelDuringTheOkWaitIsRefusedAndTheOkGoesOn) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    sim.SetReplyFault(104, recsim::ReplyFault{.delayMs = 300});
    StoreSetupFiles(RecorderConfig());
    const std::string oldHolidays = "[holiday]\r\n54_1_1=1\r\n";
    const std::string oldSchedule = RecorderSchedule();
    Write("temp_holiday.ini", oldHolidays);
    Write("temp_schedule.dat", oldSchedule);
    Write("holiday.ini", "[holiday]\r\n54_2_29=1\r\n");
    std::string edited = oldSchedule;
    edited[4 + 24 * 7 + 5] = 4;
    Write("schedule.dat", edited);
    OpenPage();
    int pressed = 0;
    const TNotifyEvent waitShown = FrmWait->OnShow;
    FrmWait->OnShow = TNotifyEvent([&](TObject* sender) {
        waitShown(sender);
        if (pressed++ == 0) form_testing::RunLater([] { frmRecord2->btnCancelClick(frmRecord2->btnCancel); });
    });
    Page()->btnOkClick(Page()->btnOk);
    FrmWait->OnShow = waitShown;
    EXPECT_EQ(pressed, 1);
    // Time for a schedule upload to show if one were sent.
    PumpReal([] { return false; }, 600);
    const auto uploads = sim.Log().Uploads();
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].kind, 6u);
    EXPECT_EQ(uploads[1].kind, 3u);
    EXPECT_EQ(Read("holiday.ini"), "[holiday]\r\n54_2_29=1\r\n");
    EXPECT_EQ(Read("schedule.dat"), edited);
    EXPECT_FALSE(FileExists(Folder("temp_holiday.ini")));
    EXPECT_FALSE(FileExists(Folder("temp_schedule.dat")));
    EXPECT_EQ(Page()->IsModified(), 3u);
    EXPECT_FALSE(Page()->Visible());
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_TRUE(Boxes().empty());
}

// A link lost while OK waits: the link's own box, and none after it over the page its closing closed.
TEST_F(RecordPageTest, ALinkLostDuringTheOkWaitShowsOneBox) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    recsim::SimFaults f = sim.Faults();
    f.closeOnCommand = 104;
    sim.SetFaults(f);
    StoreSetupFiles(RecorderConfig());
    OpenPage();
    Page()->btnOkClick(Page()->btnOk);
    form_testing::ProcessEvents();
    EXPECT_EQ(Boxes(), (std::vector<client_tests::TSeenBox>{Box(59878, 59879)}));
    EXPECT_TRUE(sim.Log().Uploads().empty());
    EXPECT_FALSE(Page()->Visible());
    EXPECT_FALSE(frmMenu->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(RecordPageTest, AMissingHolidayFileStillSendsTheSchedule) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    StoreSetupFiles(RecorderConfig());
    DeleteFile(Folder("holiday.ini"));
    OpenPage();
    Page()->btnOkClick(Page()->btnOk);
    ASSERT_TRUE(PumpReal([&] { return !sim.Log().Uploads().empty(); }));
    const auto uploads = sim.Log().Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].kind, 3u);
    EXPECT_EQ(Page()->IsModified(), 3u);
}

struct SilentCase {
    const char* name;
    recsim::ReplyFault fault;
    int boxTextId; // above the line saying the edits are kept
};

class RecordSilentRecorderTest : public RecordPageTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(RecordSilentRecorderTest, NoReplyStopsBeforeTheScheduleWithoutHanging) {
    recsim::RecSim& sim = StartSim();
    LogIn(sim);
    ASSERT_TRUE(LinkUp());
    sim.SetReplyFault(104, GetParam().fault);
    StoreSetupFiles(RecorderConfig());
    OpenPage();
    testing_support::FakeTick tick(1000, 5);
    Page()->btnOkClick(Page()->btnOk);
    ASSERT_TRUE(PumpReal([&] { return !sim.Log().Uploads().empty(); }));
    PumpReal([] { return false; }, 200);
    const auto uploads = sim.Log().Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].kind, 6u);
    EXPECT_EQ(Page()->IsModified(), 0u) << "no false success";
    const std::string box =
        FrmMain->LoadLangString(GetParam().boxTextId) + "\n" + FrmMain->LoadLangString(60113);
    EXPECT_EQ(Boxes(), (std::vector<client_tests::TSeenBox>{{FrmMain->LoadLangString(59872), box}}));
    EXPECT_TRUE(Page()->Visible());
    EXPECT_FALSE(FrmWait->Visible());
    EXPECT_FALSE(frmMenu->Visible());
    // A second OK sends them again.
    sim.ClearFaults();
    Page()->btnOkClick(Page()->btnOk);
    EXPECT_EQ(sim.Log().Uploads().size(), 3u);
    EXPECT_EQ(Page()->IsModified(), 3u);
    EXPECT_FALSE(Page()->Visible());
}

INSTANTIATE_TEST_SUITE_P(Replies, RecordSilentRecorderTest,
                         ::testing::Values(SilentCase{"silent", client_tests::SilentReply(), 60115},
                                           SilentCase{"refused", client_tests::ReplyResult(0), 60114}),
                         [](const auto& info) { return std::string(info.param.name); });

// The whole pass: the setup button's download, RECORD on the menu, the page's OK or CANCEL, APPLY.
TEST_F(RecordPageTest, TheSetupPassCarriesThePagesWordToTheRecorder) {
    const struct {
        const char* name;
        bool ok;
        DWORD word;
        bool keyWritten;
    } cases[] = {{"ok", true, 7, true}, {"cancel", false, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSim& sim = StartSim();
        LogIn(sim);
        ASSERT_TRUE(LinkUp());
        FrmMain->BtnSetupClick(FrmMain->BtnSetup);
        ASSERT_TRUE(frmMenu->Visible());
        frmMenu->btnRecordClick(frmMenu->btnRecord);
        form_testing::ProcessEvents();
        ASSERT_TRUE(Page()->Visible());
        EXPECT_EQ(Page()->MaxFrameRate, 30);
        EXPECT_EQ(Page()->CameraCount, 4);
        Pick(Page()->cmbImage_e, 7);
        if (c.ok)
            Page()->btnOkClick(Page()->btnOk);
        else
            Page()->btnCancelClick(Page()->btnCancel);
        ASSERT_TRUE(frmMenu->Visible());
        whileBoxUp = [](TForm& box) { box.SetModalResult(mrYes); };
        frmMenu->btnOkClick(frmMenu->btnOk);
        whileBoxUp = nullptr;
        ASSERT_TRUE(sim.Log().LastCommand(121).has_value());
        EXPECT_EQ(sim.Log().LastCommand(121)->packet.Arg0(), c.word);
        const std::string applied = sim.ServedFile(1).value_or("");
        EXPECT_EQ(applied.find("56_1_1=7") != std::string::npos, c.keyWritten) << applied;
        EXPECT_EQ(sim.Log().Uploads().size(), c.ok ? 3u : 1u);
        FrmMain->CliSocket->Close();
        form_testing::ProcessEvents();
        DeleteFile(Folder("config.ini"));
    }
}

TEST_F(RecordPageTest, CancelPutsBackTheFilesTheScheduleWindowCopied) {
    StoreSetupFiles("[config]\r\n55_1_1=9\r\n");
    Write("temp_schedule.dat", RecorderSchedule());
    Write("temp_holiday.ini", RecorderHolidays());
    Write("schedule.dat", std::string(196, '\x05'));
    Write("holiday.ini", "[holiday]\r\n");
    OpenPage();
    Page()->Modified = 3;
    Pick(Page()->cmbImage, 0);
    Page()->btnCancelClick(Page()->btnCancel);
    EXPECT_EQ(Read("schedule.dat"), RecorderSchedule());
    EXPECT_EQ(Read("holiday.ini"), RecorderHolidays());
    EXPECT_FALSE(FileExists(Folder("temp_schedule.dat")));
    EXPECT_FALSE(FileExists(Folder("temp_holiday.ini")));
    EXPECT_EQ(Read("config.ini"), "[config]\r\n55_1_1=9\r\n");
    EXPECT_EQ(Page()->IsModified(), 3u) << "what an earlier OK sent is on the recorder all the same";
    EXPECT_FALSE(Page()->Visible());
    EXPECT_TRUE(frmMenu->Visible());
}

TEST_F(RecordPageTest, CancelWithoutCopiesLeavesTheFiles) {
    StoreSetupFiles("[config]\r\n");
    OpenPage();
    Page()->btnCancelClick(Page()->btnCancel);
    EXPECT_EQ(Read("schedule.dat"), RecorderSchedule());
    EXPECT_EQ(Read("holiday.ini"), RecorderHolidays());
}

TEST_F(RecordPageTest, PictureFilledFromTheRecordersFile) {
    StoreSetupFiles(RecorderConfig() + "55_1_2=7\r\n15_1_1=1\r\n43_1_1=1\r\n");
    OpenPage();
    const std::string png = Picture("record_page_filled");
    form_testing::SaveFormSnapshot(Page(), png);
    EXPECT_GT(testing_support::ReadFileBytes(png).size(), 1000u);
    EXPECT_EQ(Shown(Page()->cmbImage_e), "5 IPS");
    EXPECT_TRUE(Page()->rbtMotionOn_e->Checked());
}

} // namespace
} // namespace setup_test
