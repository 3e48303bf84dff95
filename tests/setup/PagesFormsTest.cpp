// The setup pages on a program folder's config.ini: what each shows, what it writes back (and deletes)
// and how it meets bad input; the small option windows.
#include "tests/setup/PagesRig.h"

#include "client/formlog.h"
#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Config.h"
#include "setup/CreateFolder.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Menu.h"
#include "setup/Multicast.h"
#include "setup/Network.h"
#include "setup/Record2.h"
#include "setup/SaveFolder.h"
#include "setup/Syslog.h"
#include "setup/System.h"
#include "setup/Vidstd.h"

#include "controls/IPEdit.h"

#include "platform/core/Exceptions.h"
#include "platform/vcl/TestHooks.h"

#include <filesystem>

namespace setup_test {

using client_tests::TSeenBox;

namespace {

// Types one key into the field the way the keyboard does: down, press (which may swallow it), the
// character when it was not swallowed, up.
template <class Page>
void TypeKey(Page* page, TEdit* edit, char c) {
    WORD vk = static_cast<WORD>(c);
    page->edtTitleKeyDown(edit, vk, TShiftState());
    char key = c;
    page->edtTitleKeyPress(edit, key);
    if (key != 0) edit->SetText(edit->Text() + key);
    page->edtTitleKeyUp(edit, vk, TShiftState());
}

} // namespace

using SetupPages = PagesRig;

TEST_F(SetupPages, PagesTakeTheirTextsWhenShown) {
    WriteProgramFile("config.ini", RecorderConfigIni());
    frmMenu->LoadConfigIni();
    const struct {
        TForm* form;
        TControl* control;
        int id;
    } cases[] = {
        {frmMenu, frmMenu, 59931},
        {frmMenu, frmMenu->btnDevice, 59930},
        {frmMenu, frmMenu->btnRecord, 59929},
        {frmMenu, frmMenu->btnSystem, 59928},
        {frmMenu, frmMenu->btnLoglist, 59927},
        {frmMenu, frmMenu->btnInfo, 59926},
        {frmMenu, frmMenu->btnOk, 59974},
        {frmMenu, frmMenu->btnCancel, 59980},
        {frmNetwork, frmNetwork, 59924},
        {frmNetwork, frmNetwork->lb2, 59923},
        {frmNetwork, frmNetwork->btnOk, 59981},
        {frmSystem, frmSystem, 59891},
        {frmSystem, frmSystem->Label6, 59890},
        {frmDevice, frmDevice, 59945},
        {frmDevice, frmDevice->btnCamera, 59944},
        {frmDevice, frmDevice->btnAlarm, 59943},
        {frmDevice, frmDevice->btnPrev, 59978},
        {frmCamera, frmCamera, 59953},
        {frmCamera, frmCamera->GroupBox7, 59946},
        {frmAlarm, frmAlarm, 59966},
        {frmAlarm, frmAlarm->rbtOpen, 59963},
        {frmAlarm, frmAlarm->rbtClose, 59962},
        {frmInfo, frmInfo, 59937},
        {frmInfo, frmInfo->Label9, 59933},
        {frmVidstd, frmVidstd, 59888},
        {frmVidstd, frmVidstd->Label1, 59887},
    };
    for (const auto& c : cases) {
        c.form->Show();
        EXPECT_EQ(c.control->Caption(), FrmMain->LoadLangString(c.id)) << c.control->Name();
        EXPECT_FALSE(c.control->Caption().empty()) << c.control->Name();
        c.form->Hide();
    }
}

// ---- Network and multicast ----

TEST_F(SetupPages, NetworkShowsWhatTheFileHolds) {
    const struct {
        const char* ini;
        const char* dhcp;
        const char* addr;
        const char* sub;
        const char* gate;
        const char* port;
        TColor labels;
    } cases[] = {
        {"[config]\r\n", "OFF", "192.168.0.1", "255.255.255.0", "192.168.0.254", "5000", clWindowText},
        {"[config]\r\n28_1_1=0\r\n29_1_1=0\r\n40_1_1=007001\r\n", "ON", "0.0.0.0", "255.255.255.0",
         "192.168.0.254", "7001", clBtnShadow},
        {"[config]\r\n29_1_1=16820416\r\n30_1_1=16777215\r\n31_1_1=4261456064\r\n", "OFF", "192.168.0.1",
         "255.255.255.0", "192.168.0.254", "5000", clWindowText},
        {"[config]\r\n31_1_1=-33511232\r\n", "OFF", "192.168.0.1", "255.255.255.0", "192.168.0.254", "5000",
         clWindowText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteProgramFile("config.ini", c.ini);
        frmMenu->btnNetworkClick(frmMenu->btnNetwork);
        EXPECT_EQ(frmNetwork->lbDhcp->Caption(), c.dhcp);
        EXPECT_EQ(frmNetwork->lbAddr->Caption(), c.addr);
        EXPECT_EQ(frmNetwork->lbSub->Caption(), c.sub);
        EXPECT_EQ(frmNetwork->lbGate->Caption(), c.gate);
        EXPECT_EQ(frmNetwork->lbPort->Caption(), c.port);
        EXPECT_EQ(frmNetwork->lbAddr->Font()->Color(), c.labels);
        EXPECT_TRUE(frmNetwork->Visible());
        frmNetwork->btnOkClick(frmNetwork->btnOk);
        EXPECT_FALSE(frmNetwork->Visible());
    }
    EXPECT_EQ(ProgramFile("config.ini"), cases[3].ini) << "the page only reads";
}

TEST_F(SetupPages, NetworkRefusesValuesThatAreNoNumbers) {
    const char* bad[] = {"[config]\r\n29_1_1=192.168.0.9\r\n", "[config]\r\n40_1_1=port\r\n",
                         "[config]\r\n29_1_1=99999999999\r\n", "[config]\r\n45_1_1=\r\n"};
    for (const char* ini : bad) {
        WriteProgramFile("config.ini", ini);
        frmMenu->LoadConfigIni();
        EXPECT_THROW(frmNetwork->LoadSettings(), EConvertError) << ini;
    }
    // What was shown before the bad key stays.
    WriteProgramFile("config.ini", "[config]\r\n30_1_1=0\r\n29_1_1=bad\r\n");
    frmMenu->LoadConfigIni();
    EXPECT_THROW(frmNetwork->LoadSettings(), EConvertError);
    EXPECT_EQ(frmNetwork->lbSub->Caption(), "0.0.0.0");
    EXPECT_EQ(frmNetwork->lbAddr->Caption(), "192.168.0.1");
}

TEST_F(SetupPages, SectionsBesideConfigHideNothingAndTakeNoWrites) {
    const std::string ini =
        "[head]\r\n27_1_1=NOT IT\r\n[config]\r\n40_1_1=6000\r\n27_1_1=BUS\r\n55_1_1=10\r\n"
        "[extra]\r\nx=1\r\n";
    WriteProgramFile("config.ini", ini);
    frmMenu->btnNetworkClick(frmMenu->btnNetwork);
    EXPECT_EQ(frmNetwork->lbPort->Caption(), "6000");
    frmMenu->btnRecordClick(frmMenu->btnRecord);
    frmVidstd->btnNTSCClick(frmVidstd->btnNTSC);
    EXPECT_EQ(frmRecord2->Groups[0].ManualHddRate[0], 10);
    frmRecord2->btnOkClick(frmRecord2->btnOk);
    EXPECT_EQ(ProgramFile("config.ini"), ini) << "an OK without edits changes nothing";
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->edtTitle->Text(), "BUS");
    frmSystem->edtTitle->SetText("COACH");
    frmSystem->btnOkClick(frmSystem->btnOk);
    EXPECT_EQ(ProgramFile("config.ini"),
              "[head]\r\n27_1_1=NOT IT\r\n[config]\r\n40_1_1=6000\r\n27_1_1=COACH\r\n"
              "55_1_1=10\r\n[extra]\r\nx=1\r\n");
}

TEST_F(SetupPages, MulticastChoicesGoBackToTheNetworkPageOnly) {
    WriteProgramFile("config.ini", RecorderConfigIni());
    frmMenu->btnNetworkClick(frmMenu->btnNetwork);
    EXPECT_EQ(frmNetwork->MulticastScope, 2);
    EXPECT_EQ(frmNetwork->MulticastBandwidth, 3);
    EXPECT_EQ(frmNetwork->MulticastPort, 6000);
    frmNetwork->btnMulticastClick(frmNetwork->btnMulticast);
    EXPECT_TRUE(frmMulticast->Visible());
    EXPECT_FALSE(frmNetwork->Enabled());
    EXPECT_TRUE(frmMulticast->rdtSite->Checked());
    EXPECT_TRUE(frmMulticast->rdt768->Checked());
    EXPECT_EQ(frmMulticast->edtPort->Text(), "6000");

    // Bad ports are refused and the page stays.
    for (const char* port : {"", "0", "65536", "12ab", "-5"}) {
        frmMulticast->edtPort->SetText(port);
        frmMulticast->btnOkClick(frmMulticast->btnOk);
        EXPECT_TRUE(frmMulticast->Visible()) << port;
        EXPECT_EQ(frmNetwork->MulticastPort, 6000) << port;
    }
    EXPECT_EQ(Boxes().size(), 5u);

    const struct {
        TRadioButton* scope;
        TRadioButton* bandwidth;
        int scopeCode;
        int bandwidthCode;
    } cases[] = {{frmMulticast->rdtLine, frmMulticast->rdtFull, 1, 1},
                 {frmMulticast->rdtOrgan, frmMulticast->rdt384, 3, 2},
                 {frmMulticast->rdtGlobal, frmMulticast->rdt1_5, 4, 4}};
    for (const auto& c : cases) {
        frmNetwork->btnMulticastClick(frmNetwork->btnMulticast);
        c.scope->SetChecked(true);
        c.bandwidth->SetChecked(true);
        frmMulticast->edtPort->SetText("7000");
        frmMulticast->btnOkClick(frmMulticast->btnOk);
        EXPECT_EQ(frmNetwork->MulticastScope, c.scopeCode);
        EXPECT_EQ(frmNetwork->MulticastBandwidth, c.bandwidthCode);
        EXPECT_EQ(frmNetwork->MulticastPort, 7000);
        EXPECT_TRUE(frmNetwork->Enabled());
    }
    EXPECT_EQ(ProgramFile("config.ini"), RecorderConfigIni());
}

// ---- System ----

TEST_F(SetupPages, SystemLoadsTheStoredRule) {
    WriteProgramFile("config.ini", RecorderConfigIni());
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_TRUE(frmSystem->Visible());
    EXPECT_FALSE(FrmMain->Enabled());
    EXPECT_EQ(frmSystem->edtTitle->Text(), "BUS 12");
    EXPECT_TRUE(frmSystem->rbtOn->Checked());
    EXPECT_TRUE(frmSystem->cmbStart_m->Enabled());
    EXPECT_EQ(frmSystem->cmbStart_m->Text(), "4");
    EXPECT_EQ(frmSystem->cmbEnd_m->Text(), "10");
    EXPECT_EQ(frmSystem->cmbStart_w->Text(), "5");
    EXPECT_EQ(frmSystem->cmbStart_d->Text(), "SUN");
    EXPECT_EQ(frmSystem->cmbStart_m->Items()->Count(), 12) << "the lists are filled once per load";
    frmSystem->btnCancelClick(frmSystem->btnCancel);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->cmbStart_m->Items()->Count(), 12);
    EXPECT_EQ(ProgramFile("config.ini"), RecorderConfigIni()) << "CANCEL writes nothing";
}

TEST_F(SetupPages, SystemOkWritesChoicesAndDeletesDefaults) {
    const std::string base = "[config]\r\n1_1_1=1\r\n27_1_1=OLD\r\n62_1_1=1\r\n63_1_1=5\r\n68_1_1=3\r\n";
    WriteProgramFile("config.ini", base);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    // Back to the default rule, summer time off, an empty title: every key goes.
    frmSystem->edtTitle->SetText("");
    frmSystem->rbtOff->SetChecked(true);
    frmSystem->StartMonth = 2;
    frmSystem->EndDay = 0;
    frmSystem->btnOkClick(frmSystem->btnOk);
    EXPECT_EQ(ProgramFile("config.ini"), "[config]\r\n1_1_1=1\r\n");
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(frmSystem->Visible());

    // A rule of its own, written from 1 and read back the same.
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    frmSystem->edtTitle->SetText("depot-3.b");
    frmSystem->rbtOn->SetChecked(true);
    frmSystem->cmbStart_m->SetItemIndex(11);
    frmSystem->cmbStart_mChange(frmSystem->cmbStart_m);
    frmSystem->cmbEnd_w->SetItemIndex(0);
    frmSystem->cmbEnd_wChange(frmSystem->cmbEnd_w);
    frmSystem->cmbEnd_d->SetItemIndex(6);
    frmSystem->cmbEnd_dChange(frmSystem->cmbEnd_d);
    frmSystem->btnOkClick(frmSystem->btnOk);
    EXPECT_EQ(ProgramFile("config.ini"),
              "[config]\r\n1_1_1=1\r\n27_1_1=DEPOT-3.B\r\n62_1_1=1\r\n63_1_1=12\r\n67_1_1=1\r\n68_1_1=7\r\n");
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->cmbStart_m->ItemIndex(), 11);
    EXPECT_EQ(frmSystem->cmbEnd_w->ItemIndex(), 0);
    EXPECT_EQ(frmSystem->cmbEnd_d->ItemIndex(), 6);
    EXPECT_EQ(frmSystem->cmbStart_w->ItemIndex(), 4);
}

TEST_F(SetupPages, SystemTitleLongerThanTheFieldTakesStaysWhole) {
    const std::string base = WithKey(RecorderConfigIni(), "27_1_1", "HARBEK SIM");
    WriteProgramFile("config.ini", base);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->edtTitle->Text(), "HARBEK SIM");
    frmSystem->btnOkClick(frmSystem->btnOk);
    EXPECT_EQ(ProgramFile("config.ini"), base) << "an OK without edits renames nothing";
}

TEST_F(SetupPages, SystemStoredNumbersOutsideTheListsKeepTheDefaults) {
    WriteProgramFile("config.ini", "[config]\r\n63_1_1=13\r\n64_1_1=0\r\n65_1_1=-2\r\n");
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    EXPECT_EQ(frmSystem->cmbStart_m->ItemIndex(), 2);
    EXPECT_EQ(frmSystem->cmbStart_w->ItemIndex(), 4);
    EXPECT_EQ(frmSystem->cmbStart_d->ItemIndex(), 0);
    WriteProgramFile("config.ini", "[config]\r\n62_1_1=yes\r\n");
    frmMenu->LoadConfigIni();
    EXPECT_THROW(frmSystem->LoadSettings(), EConvertError);
}

TEST_F(SetupPages, TitleKeysOutsideTheSetAreRefused) {
    WriteProgramFile("config.ini", "[config]\r\n");
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    TEdit* title = frmSystem->edtTitle;
    const struct {
        const char* before;
        char key;
        const char* after;
        bool box;
    } cases[] = {{"ABC", '#', "ABC", true}, {"ABCDEFGHI", '#', "ABCDEFGHI", true},
                 {"AB", 'c', "ABc", false}, {"AB", '-', "AB-", false},
                 {"AB", '=', "AB", true},   {"AB", '\xc3', "AB", true},
                 {"A", ' ', "A ", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        seen_.clear();
        title->SetText(c.before);
        TypeKey(frmSystem.Get(), title, c.key);
        EXPECT_EQ(title->Text(), c.after);
        EXPECT_EQ(Boxes(), c.box ? std::vector<TSeenBox>{Box(59953, 59829)} : std::vector<TSeenBox>{});
        EXPECT_EQ(frmSystem->TitleFilter.InvalidKey, 0);
    }
    // Real keys through the field's own events.
    title->SetText("");
    seen_.clear();
    form_testing::TypeText(title, "a#b");
    EXPECT_EQ(title->Text(), "ab");
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59953, 59829)}));
    // The field's editing keys edit (what a paste brings is filtered: the camera page's test).
    const struct {
        WORD key;
        const char* typed;
        const char* selected;
        bool box;
    } shortcuts[] = {{'A', "\x01", "ab", false}, {'C', "\x03", "ab", false}};
    for (const auto& c : shortcuts) {
        SCOPED_TRACE(c.key);
        seen_.clear();
        title->SetSelStart(0);
        title->SetSelLength(0);
        if (c.key != 'A') title->SelectAll();
        form_testing::PressKey(title, c.key, TShiftState{ssCtrl}, c.typed);
        EXPECT_EQ(title->SelText(), c.selected);
        EXPECT_EQ(title->Text(), "ab");
        EXPECT_EQ(Boxes(), c.box ? std::vector<TSeenBox>{Box(59953, 59829)} : std::vector<TSeenBox>{});
    }
    // A title that got past the keys (pasted) is refused at OK and nothing is written.
    title->SetText("A=B");
    seen_.clear();
    frmSystem->btnOkClick(frmSystem->btnOk);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59891, 59829)}));
    EXPECT_TRUE(frmSystem->Visible());
    EXPECT_EQ(ProgramFile("config.ini"), "[config]\r\n");
}

// ---- Device, camera and alarm ----

TEST_F(SetupPages, CameraPageLoadsTitlesAndCovertForTheMainWindow) {
    WriteProgramFile("config.ini", "[config]\r\n34_1_3=DOOR\r\n23_1_2=1\r\n");
    FrmMain->CameraTitles = {"A", "B", "C", "D"};
    FrmMain->BtnLive->Hide();
    FrmMain->RefreshCameraTitles();
    EXPECT_EQ(FrmMain->CameraTitles, (std::array<std::string, 4>{"", "", "DOOR", ""}));
    EXPECT_EQ(FrmMain->CameraCovert, (std::array<BYTE, 4>{0, 1, 0, 0}));
}

TEST_F(SetupPages, CameraLeavingACameraWritesItsKeys) {
    const std::string base = RecorderConfigIni();
    WriteProgramFile("config.ini", base);
    frmMenu->MaxCamera = 4;
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    EXPECT_TRUE(frmDevice->Visible());
    EXPECT_FALSE(frmMenu->Visible());
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    EXPECT_TRUE(frmCamera->Visible());
    EXPECT_EQ(frmCamera->edtTitle->Text(), "FRONT");
    EXPECT_EQ(frmCamera->scbBri->Position(), 70);
    EXPECT_EQ(frmCamera->cmbSeq->ItemIndex(), 5);
    EXPECT_TRUE(frmCamera->cmbCam->Enabled());

    // Camera 1 back to every default: its five keys go at the switch.
    frmCamera->edtTitle->SetText("");
    frmCamera->scbBri->SetPosition(50);
    frmCamera->cmbSeq->SetItemIndex(3);
    frmCamera->cmbCam->SetItemIndex(3);
    frmCamera->cmbCamChange(frmCamera->cmbCam);
    std::string expected = WithKey(WithKey(WithKey(base, "34_1_1", std::nullopt), "25_1_1", std::nullopt),
                                   "24_1_1", std::nullopt);
    EXPECT_EQ(ProgramFile("config.ini"), expected);
    EXPECT_TRUE(frmCamera->rbtCovertOn->Checked()) << "camera 4 is covert";

    // Camera 4: shown again, contrast and sequence changed; PREV writes it.
    frmCamera->rbtCovertOff->SetChecked(true);
    frmCamera->scbCon->SetPosition(20);
    frmCamera->cmbSeq->SetItemIndex(0);
    frmCamera->btnPrevClick(frmCamera->btnPrev);
    expected = WithKey(expected, "23_1_4", std::nullopt);
    expected = WithKey(expected, "26_1_4", "20");
    expected = WithKey(expected, "24_1_4", "0");
    EXPECT_EQ(ProgramFile("config.ini"), expected);
    EXPECT_EQ(FrmMain->CameraCovert, (std::array<BYTE, 4>{})) << "the main window waits for the recorder";
    EXPECT_TRUE(frmDevice->Visible());
    EXPECT_FALSE(frmCamera->Visible());
}

TEST_F(SetupPages, RevisitedCamerasShowTheirEditsAndLongTitlesStayWhole) {
    const std::string base = WithKey(RecorderConfigIni(), "34_1_2", "REAR DOOR 2");
    WriteProgramFile("config.ini", base);
    frmMenu->MaxCamera = 4;
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    auto show = [](TComboBox* cameras, int index) {
        cameras->SetItemIndex(index);
        cameras->OnChange(cameras);
    };
    frmCamera->edtTitle->SetText("GATE");
    frmCamera->scbBri->SetPosition(60);
    show(frmCamera->cmbCam, 1);
    EXPECT_EQ(frmCamera->edtTitle->Text(), "REAR DOOR 2") << "a title longer than the field takes is whole";
    show(frmCamera->cmbCam, 0);
    EXPECT_EQ(frmCamera->edtTitle->Text(), "GATE");
    EXPECT_EQ(frmCamera->scbBri->Position(), 60);
    frmCamera->btnPrevClick(frmCamera->btnPrev);
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(WithKey(base, "34_1_1", "GATE"), "25_1_1", "60"))
        << "the untouched long title keeps its line";

    frmDevice->btnAlarmClick(frmDevice->btnAlarm);
    frmAlarm->rbtClose->SetChecked(true);
    show(frmAlarm->cmbCam, 2);
    show(frmAlarm->cmbCam, 0);
    EXPECT_TRUE(frmAlarm->rbtClose->Checked());
    frmAlarm->btnPrevClick(frmAlarm->btnPrev);
    EXPECT_EQ(ProgramFile("config.ini"),
              WithKey(WithKey(WithKey(base, "34_1_1", "GATE"), "25_1_1", "60"), "21_1_1", "1"));
}

TEST_F(SetupPages, OneCameraRecorderLocksTheChoice) {
    WriteProgramFile("config.ini", "[config]\r\n");
    frmMenu->MaxCamera = 1;
    frmMenu->LoadConfigIni();
    frmCamera->InitCameraTable();
    EXPECT_FALSE(frmCamera->cmbCam->Enabled());
    EXPECT_FALSE(frmCamera->cmbSeq->Enabled());
    EXPECT_FALSE(frmCamera->GroupBox7->Enabled());
    frmAlarm->Prepare();
    EXPECT_FALSE(frmAlarm->cmbCam->Enabled());
    frmMenu->MaxCamera = 4;
    frmCamera->InitCameraTable();
    frmAlarm->Prepare();
    EXPECT_TRUE(frmCamera->cmbCam->Enabled());
    EXPECT_TRUE(frmAlarm->cmbCam->Enabled());
}

TEST_F(SetupPages, CameraTitleFilterAndBadNumbers) {
    WriteProgramFile("config.ini", "[config]\r\n");
    frmMenu->LoadConfigIni();
    frmCamera->InitCameraTable();
    TypeKey(frmCamera.Get(), frmCamera->edtTitle, '*');
    EXPECT_EQ(frmCamera->edtTitle->Text(), "");
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59953, 59829)}));
    WriteProgramFile("config.ini", "[config]\r\n25_1_1=bright\r\n");
    frmMenu->LoadConfigIni();
    EXPECT_THROW(frmCamera->InitCameraTable(), EConvertError);
    // Numbers past the controls' ranges are held inside them.
    WriteProgramFile("config.ini", "[config]\r\n25_1_1=250\r\n24_1_1=40\r\n");
    frmMenu->LoadConfigIni();
    frmCamera->InitCameraTable();
    EXPECT_EQ(frmCamera->scbBri->Position(), 100);
    EXPECT_EQ(frmCamera->cmbSeq->ItemIndex(), 3);
}

TEST_F(SetupPages, CameraTitlePastedAnyWayTakesWhatTypingTakes) {
    WriteProgramFile("config.ini", "[config]\r\n");
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    ASSERT_TRUE(frmCamera->Visible());
    TEdit* title = frmCamera->edtTitle;
    using form_testing::TPasteRoad;
    for (const TPasteRoad road : {TPasteRoad::CtrlV, TPasteRoad::ShiftInsert, TPasteRoad::ContextMenu}) {
        SCOPED_TRACE(static_cast<int>(road));
        title->SetText("");
        seen_.clear();
        form_testing::PasteText(title, road, "A#1=");
        EXPECT_EQ(title->Text(), "A1");
        EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(59953, 59829)})) << "told once the paste is in";
        EXPECT_EQ(frmCamera->TitleFilter.InvalidKey, 0);
    }
    frmCamera->btnPrevClick(frmCamera->btnPrev);
    EXPECT_EQ(ProgramFile("config.ini"), "[config]\r\n34_1_1=A1\r\n");
}

TEST_F(SetupPages, AlarmSwitchWritesTheCameraLeft) {
    const std::string base = RecorderConfigIni();
    WriteProgramFile("config.ini", base);
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnAlarmClick(frmDevice->btnAlarm);
    EXPECT_TRUE(frmAlarm->Visible());
    EXPECT_TRUE(frmAlarm->rbtOpen->Checked());
    frmAlarm->rbtClose->SetChecked(true);
    frmAlarm->cmbCam->SetItemIndex(1);
    frmAlarm->cmbCamChange(frmAlarm->cmbCam);
    std::string expected = WithKey(base, "21_1_1", "1");
    EXPECT_EQ(ProgramFile("config.ini"), expected);
    EXPECT_TRUE(frmAlarm->rbtClose->Checked()) << "camera 2 is NORMAL CLOSE in the file";
    frmAlarm->rbtOpen->SetChecked(true);
    frmAlarm->btnPrevClick(frmAlarm->btnPrev);
    EXPECT_EQ(ProgramFile("config.ini"), WithKey(expected, "21_1_2", std::nullopt));
    EXPECT_TRUE(frmDevice->Visible());
    frmDevice->btnPrevClick(frmDevice->btnPrev);
    EXPECT_TRUE(frmMenu->Visible());
}

TEST_F(SetupPages, CancelsNeverLeaveTheUserWithoutAWindow) {
    WriteProgramFile("config.ini", "[config]\r\n");
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    frmDevice->btnAlarmClick(frmDevice->btnAlarm);
    frmAlarm->btnCancelClick(frmAlarm->btnCancel);
    EXPECT_TRUE(frmDevice->Visible());
    frmDevice->btnCancelClick(frmDevice->btnCancel);
    EXPECT_TRUE(frmMenu->Visible());
    EXPECT_FALSE(frmDevice->Visible());
}

// ---- Information ----

TEST_F(SetupPages, InformationShowsTheRecordersFile) {
    frmInfo->Label8->SetCaption("kept");
    WriteProgramFile("info.ini",
                     "[other]\r\nversion=no\r\n[sysinfo]\r\nversion=2.1\r\nsystitle=BUS 12\r\n"
                     "currentmedia=cf\r\nipaddr=10.0.0.7\r\nmacaddr=00:11\r\nmicom=1.3\r\n[tail]\r\nx=1\r\n");
    frmMenu->Show();
    frmMenu->btnInfoClick(frmMenu->btnInfo);
    EXPECT_EQ(frmInfo->Label2->Caption(), "2.1");
    EXPECT_EQ(frmInfo->Label4->Caption(), "BUS 12");
    EXPECT_EQ(frmInfo->Label7->Caption(), "CF");
    EXPECT_EQ(frmInfo->Label8->Caption(), "kept");
    EXPECT_EQ(frmInfo->Label10->Caption(), "10.0.0.7");
    EXPECT_EQ(frmInfo->Label12->Caption(), "00:11");
    EXPECT_EQ(frmInfo->Label14->Caption(), "1.3");
    EXPECT_TRUE(frmInfo->Visible());
    EXPECT_FALSE(frmMenu->Visible());
    frmInfo->btnPrevClick(frmInfo->btnPrev);
    EXPECT_TRUE(frmMenu->Visible());
}

// ---- Small option windows ----

TEST_F(SetupPages, VideoStandardTakesTheGroupFromTheFile) {
    const struct {
        const char* item;
        int group;
    } cases[] = {{"3", 3}, {"5", 5}, {"0", 1}, {"9", 1}, {"x", 1}, {" 2", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(TfrmVidstd::GroupFromItem111(c.item), c.group) << c.item;
    WriteProgramFile("config.ini", "[config]\r\n1_1_1=4\r\n");
    frmVidstd->btnPALClick(frmVidstd->btnPAL);
    EXPECT_EQ(frmVidstd->MaxFrameRate, 25);
    EXPECT_EQ(frmVidstd->CurrentGroup, 4);
    frmVidstd->btnNTSCClick(frmVidstd->btnNTSC);
    EXPECT_EQ(frmVidstd->MaxFrameRate, 30);
}

TEST_F(SetupPages, RecordButtonOpensTheRecordingPageByTheStandard) {
    const struct {
        int standard;
        bool chooser;
        int rate;
    } cases[] = {{1, false, 30}, {2, false, 25}, {0, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.standard);
        WriteProgramFile("config.ini", "[config]\r\n1_1_1=3\r\n");
        frmRecord2->Hide();
        frmVidstd->Hide();
        frmMenu->Show();
        frmMenu->VideoStandard = c.standard;
        frmMenu->btnRecordClick(frmMenu->btnRecord);
        EXPECT_FALSE(frmMenu->Visible());
        EXPECT_EQ(frmVidstd->Visible(), c.chooser);
        EXPECT_EQ(frmRecord2->Visible(), !c.chooser);
        if (!c.chooser) {
            EXPECT_EQ(frmRecord2->MaxFrameRate, c.rate);
            EXPECT_EQ(frmRecord2->InitialGroup, 3);
        }
    }
}

TEST_F(SetupPages, SaveAsConfigCopiesIntoTheRecordersFolder) {
    WriteProgramFile("config.ini", RecorderConfigIni());
    FrmLog->ebIP->SetText("10.1.2.3");
    frmMenu->btnSaveClick(frmMenu->btnSave);
    EXPECT_EQ(frmSaveFolder->GetPath(), HomeFile("10.1.2.3"));
    EXPECT_EQ(frmSaveFolder->edtPath->Text(), HomeFile("10.1.2.3"));
    EXPECT_TRUE(std::filesystem::is_directory(HomeFile("10.1.2.3")));

    // A new folder below it; a refused key never reaches the name.
    frmSaveFolder->btnCreateFolderClick(frmSaveFolder->btnCreateFolder);
    EXPECT_FALSE(frmSaveFolder->Enabled());
    EXPECT_EQ(frmCreateFolder->edtFolder->Text(), "10.1.2.3");
    frmCreateFolder->edtFolder->SetText("week");
    char key = '?';
    frmCreateFolder->edtFolderKeyPress(frmCreateFolder->edtFolder, key);
    EXPECT_EQ(key, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "Invaild letter");
    EXPECT_EQ(Boxes()[0].text, "The string it will not be able to use with folder name\n" +
                                   std::string(18, ' ') + "(\\, /, :, *, ?, \", <, >, |)");
    frmCreateFolder->edtFolder->SetText("");
    form_testing::TypeText(frmCreateFolder->edtFolder, "we|ek");
    EXPECT_EQ(frmCreateFolder->edtFolder->Text(), "week");
    EXPECT_EQ(Boxes().size(), 2u);
    frmCreateFolder->btnOkClick(frmCreateFolder->btnOk);
    EXPECT_EQ(frmSaveFolder->GetPath(), HomeFile("10.1.2.3") + "/week");
    EXPECT_TRUE(frmSaveFolder->Enabled());

    // The same name again fails and the destination stays.
    frmSaveFolder->btnCreateFolderClick(frmSaveFolder->btnCreateFolder);
    frmCreateFolder->edtFolder->SetText("..");
    frmCreateFolder->btnOkClick(frmCreateFolder->btnOk);
    EXPECT_EQ(Boxes().back().text, "Cannot create directory.");
    EXPECT_EQ(frmSaveFolder->GetPath(), HomeFile("10.1.2.3") + "/week");

    frmSaveFolder->btnOkClick(frmSaveFolder->btnOk);
    EXPECT_EQ(ProgramFile("10.1.2.3/week/config.ini"), RecorderConfigIni());
    EXPECT_FALSE(frmSaveFolder->Visible());
}

TEST_F(SetupPages, SaveAsConfigWithoutTheFileStaysOpen) {
    FrmLog->ebIP->SetText("10.1.2.4");
    frmMenu->btnSaveClick(frmMenu->btnSave);
    frmSaveFolder->btnOkClick(frmSaveFolder->btnOk);
    EXPECT_EQ(Boxes().back().text, "Error : Original file search faild");
    EXPECT_TRUE(frmSaveFolder->Visible());
}

TEST_F(SetupPages, AddressTestWindowPacksThePartsHighToLow) {
    frmConfig->ebIPAD->SetText("192.168.0.1");
    frmConfig->Button1Click(frmConfig->Button1);
    EXPECT_EQ(frmConfig->Edit1->Text(), "3232235521");
    frmConfig->ebIPAD->SetText("0.0.0.255");
    frmConfig->Button1Click(frmConfig->Button1);
    EXPECT_EQ(frmConfig->Edit1->Text(), "255");
}

TEST_F(SetupPages, LogPanelSitsBesideTheMainWindowAndClosesItsFlag) {
    // The main window 912 x 722 and a panel of 280 x 599 on work areas of several sizes: right of the
    // window, left of it, or at the work area's edge where it covers less of the window (the left on a
    // tie); 28 below the window's top, inside the work area.
    const struct {
        int workRight, workBottom, mainLeft, mainTop;
        TPoint at;
    } cases[] = {
        {1920, 1040, 100, 50, {1012, 78}}, {1280, 1000, 380, 50, {100, 78}},
        {1400, 1010, 244, 164, {0, 192}},  {1280, 1000, 100, 50, {1000, 78}},
        {1024, 740, 60, 400, {0, 141}},    {1920, 1040, 1000, 500, {720, 441}},
        {1024, 740, 120, -40, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.workRight << "x" << c.workBottom << " at " << c.mainLeft);
        const TPoint at = LogPanelPlace(Rect(c.mainLeft, c.mainTop, c.mainLeft + 912, c.mainTop + 722), 280,
                                        599, Rect(0, 0, c.workRight, c.workBottom));
        EXPECT_EQ(at, c.at);
    }
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
    FrmMain->SetBounds(100, 50, FrmMain->Width(), FrmMain->Height());
    FrmMain->SysLogShown = 1;
    frmSysLog->Show();
    EXPECT_EQ(frmSysLog->Left(), 100 + FrmMain->Width());
    EXPECT_EQ(frmSysLog->Top(), 50 + 28);
    EXPECT_EQ(frmSysLog->ClientWidth(), frmSysLog->ImgFrame1->Width());
    frmSysLog->BtnCloseClick(frmSysLog->BtnClose);
    EXPECT_EQ(FrmMain->SysLogShown, 0);
    EXPECT_FALSE(frmSysLog->Visible());
}

} // namespace setup_test
