// The main window's definition: its controls, where the two video standards put them, the one and four
// screen layouts, and the overlays of played frames with the menu that chooses where they show.
#include "tests/client/ClientWindowsSupport.h"

#include "formats/QelSideData.h"
#include "formats/SetupIni.h"

#include "net/WSocket.h"

#include <set>
#include <vector>

namespace client_tests {
namespace {

using form_testing::FindControlByName;

class MainLayout : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
    }
};

TEST_F(MainLayout, TheWindowIsCreatedHiddenWithEveryNamedControl) {
    EXPECT_FALSE(FrmMain->Visible());
    EXPECT_EQ(FrmMain->BorderStyle(), bsNone);
    const char* const names[] = {"ImgFrame1",
                                 "ImgFrame2",
                                 "ImgFrame3",
                                 "ImgFrame4",
                                 "ImgFrame5",
                                 "ImgHideBtn",
                                 "ImgPoint",
                                 "ImgAniState",
                                 "ImageEmpty",
                                 "BtnPower",
                                 "BtnClose",
                                 "BtnMinimize",
                                 "BtnConnect",
                                 "BtnDisconnect",
                                 "BtnUpgrade",
                                 "BtnDetectUsb",
                                 "BtnAbout",
                                 "BtnLoglist",
                                 "BtnSearch",
                                 "btnLocal_m",
                                 "btnLive_m",
                                 "btnSer_m",
                                 "BtnLive",
                                 "BtnDislive",
                                 "BtnSetup",
                                 "BtnRemote_rec",
                                 "BtnRemote_stop",
                                 "BtnSer",
                                 "BtnDisser",
                                 "BtnBackup",
                                 "BtnBackup_on",
                                 "BtnOpenMap",
                                 "BtnRecStart",
                                 "BtnRecStop",
                                 "BtnFirst",
                                 "BtnPrev",
                                 "BtnFastReverse",
                                 "BtnReverse",
                                 "BtnPlay",
                                 "BtnPause",
                                 "BtnStop",
                                 "BtnFastPlay",
                                 "BtnNext",
                                 "BtnLast",
                                 "BtnBack5",
                                 "BtnCamera1",
                                 "BtnCamera4",
                                 "BtnQuad",
                                 "SliderSearch",
                                 "SliderVolume",
                                 "PanelScreen",
                                 "Panel1",
                                 "Panel8",
                                 "Label1",
                                 "Label2",
                                 "Label3",
                                 "Label5",
                                 "Label6",
                                 "LabelSearchTime",
                                 "LabelFullSearchTime1",
                                 "LabelFullSearchTime4",
                                 "LabelCamera1",
                                 "LabelCamera4",
                                 "LabelGPSdata1",
                                 "LabelGPSdata4",
                                 "LabelTACHOdata1",
                                 "LabelTACHOdata4",
                                 "LabelA1",
                                 "LabelA4",
                                 "LabelM1",
                                 "LabelM4",
                                 "LabelS1",
                                 "lbRed",
                                 "lbYellow",
                                 "lbLeft",
                                 "lbGreen",
                                 "lbState",
                                 "lbDebug",
                                 "LabelYearMonth",
                                 "LabelTime",
                                 "Button1",
                                 "Button2",
                                 "Button7",
                                 "VidScreen_0",
                                 "VidScreen_3"};
    for (const char* name : names)
        EXPECT_NO_THROW(FindControlByName(FrmMain, name)) << name;
    for (TComponent* c :
         {static_cast<TComponent*>(FrmMain->PopupMenu1), static_cast<TComponent*>(FrmMain->OpenDialog1),
          static_cast<TComponent*>(FrmMain->TimerHeartBeat),
          static_cast<TComponent*>(FrmMain->MMTimerPutItem), static_cast<TComponent*>(FrmMain->MenuItemSaved),
          static_cast<TComponent*>(FrmMain->SocketAVDataServer),
          static_cast<TComponent*>(FrmMain->SocketSClient)})
        EXPECT_NE(c, nullptr);
    EXPECT_FALSE(FrmMain->TimerDialogPosition->Enabled());
    EXPECT_EQ(FrmMain->TimerDialogPosition->Interval(), 1u);
    EXPECT_FALSE(FrmMain->Button1->Enabled());
    EXPECT_FALSE(FrmMain->Button2->Enabled());
    EXPECT_EQ(FrmMain->OpenDialog1->Filter(), "System Image|*.BIN;*.TAR");
    EXPECT_FALSE(FrmMain->MenuItemSaved->Visible());
    EXPECT_TRUE(FrmMain->MenuItemSkinMode->Checked());
    // Screens: stretched, numbered by their camera, behind the camera's texts.
    for (int i = 0; i < 4; ++i) {
        TImage* screen = FrmMain->VidScreen[static_cast<std::size_t>(i)];
        EXPECT_TRUE(screen->Stretch());
        EXPECT_EQ(screen->Tag(), i);
        EXPECT_EQ(screen->Parent()->Controls(0), screen);
    }
}

TEST_F(MainLayout, ConstructionShowsCameraOneAloneWithTheReadersTuning) {
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 0);
    EXPECT_TRUE(FrmMain->MenuItemCam1->Checked());
    EXPECT_TRUE(FrmMain->Panel1->Visible());
    EXPECT_FALSE(FrmMain->Panel2->Visible());
    EXPECT_EQ(FrmMain->FramesPerRound, 15);
    EXPECT_EQ(FrmMain->RingCapacity, 60);
    EXPECT_EQ(FrmMain->RepeatPlay, 0);
    EXPECT_EQ(FrmMain->CmdReadSize, 4096);
    EXPECT_EQ(FrmMain->AvReadSize, 32);
    EXPECT_DOUBLE_EQ(FrmMain->LastLatitude, 37.411339);
    EXPECT_DOUBLE_EQ(FrmMain->LastLongitude, 127.128686);
}

struct TopCase {
    const char* name;
    int ntsc;
    int pal;
};

TEST_F(MainLayout, TheBarUnderTheScreensFollowsTheStandard) {
    const TopCase tops[] = {
        {"LabelSearchTime", 510, 604}, {"Label2", 510, 604},       {"Label3", 510, 604},
        {"lbState", 510, 604},         {"Label1", 556, 650},       {"BtnSearch", 551, 645},
        {"SliderSearch", 551, 645},    {"BtnFirst", 583, 677},     {"BtnPlay", 583, 677},
        {"BtnLast", 583, 677},         {"BtnCamera1", 583, 677},   {"BtnCamera4", 583, 677},
        {"BtnQuad", 583, 677},         {"BtnBack5", 583, 677},     {"BtnLoglist", 543, 637},
        {"BtnOpenMap", 548, 642},      {"SliderVolume", 599, 693}, {"ImgFrame4", 600, 694},
        {"ImgFrame5", 584, 678},       {"ImgHideBtn", 568, 662},   {"BtnRecStart", 577, 671},
        {"BtnRecStop", 577, 671},
    };
    for (int standard : {kVideoStandardNtsc, kVideoStandardPal, kVideoStandardNtsc}) {
        SCOPED_TRACE(standard);
        const bool ntsc = standard == kVideoStandardNtsc;
        // A recording of the other standard than the client's: the screens follow the window.
        FrmMain->VideoStandard = ntsc ? kVideoStandardPal : kVideoStandardNtsc;
        FrmMain->ApplyVideoStandard(standard);
        EXPECT_EQ(FrmMain->VideoStandard, standard);
        for (const TopCase& t : tops)
            EXPECT_EQ(FindControlByName(FrmMain, t.name)->Top(), ntsc ? t.ntsc : t.pal) << t.name;
        TImgFrame* face = ntsc ? FrmMain->ImgFrame3 : FrmMain->ImgFrame1;
        EXPECT_EQ(FrmMain->ClientWidth(), face->Width());
        EXPECT_EQ(FrmMain->ClientHeight(), face->Height());
        EXPECT_EQ(FrmMain->ImgFrame1->Visible(), !ntsc);
        EXPECT_EQ(FrmMain->ImgFrame3->Visible(), ntsc);
        EXPECT_EQ(FrmMain->MMTimerReverse->Interval(), ntsc ? 33u : 40u);
        EXPECT_EQ(FrmMain->PanelScreen->BoundsRect(), Rect(22, 24, 22 + 691, 24 + (ntsc ? 473 : 569)));
        for (TImage* screen : FrmMain->VidScreen)
            if (screen->Visible())
                EXPECT_EQ(screen->Height(), ntsc ? (FrmMain->ScreenCount == 1 ? 480 : 240)
                                                 : (FrmMain->ScreenCount == 1 ? 576 : 288));
        // Everything of the bar lies inside the window.
        for (const TopCase& t : tops) {
            TControl* control = FindControlByName(FrmMain, t.name);
            EXPECT_LE(control->Top() + control->Height(), FrmMain->ClientHeight()) << t.name;
            EXPECT_LE(control->Left() + control->Width(), FrmMain->ClientWidth()) << t.name;
        }
    }
}

TEST_F(MainLayout, TheRemotePlaybackPlateSitsInTheButtonsRow) {
    for (int standard : {kVideoStandardNtsc, kVideoStandardPal}) {
        SCOPED_TRACE(standard);
        FrmMain->VideoStandard = standard;
        FrmMain->ApplyVideoStandard(standard);
        FrmMain->ShowPlaybackControls(false);
        const TRect plate = FrmMain->ImgHideBtn->BoundsRect();
        const TRect play = FrmMain->BtnPlay->BoundsRect();
        const form_testing::TSnapshot with = form_testing::TakeSnapshot(FrmMain);
        FrmMain->ImgHideBtn->Hide();
        const form_testing::TSnapshot without = form_testing::TakeSnapshot(FrmMain);
        // Above the buttons the bar shows through; in their row, the plate.
        int above = 0, inRow = 0;
        for (int x = plate.Left; x < plate.Right; ++x) {
            for (int y = plate.Top; y < play.Top - 1; ++y)
                above += with.At(x, y) != without.At(x, y) ? 1 : 0;
            inRow += with.At(x, (play.Top + play.Bottom) / 2) != without.At(x, (play.Top + play.Bottom) / 2);
        }
        EXPECT_EQ(above, 0);
        EXPECT_EQ(inRow, plate.Right - plate.Left);
        EXPECT_GE(plate.Bottom, play.Bottom);
    }
}

TEST_F(MainLayout, TransportButtonsSitAtTheirLocalPlaces) {
    const std::pair<const char*, int> lefts[] = {
        {"BtnPlay", 240}, {"BtnPause", 271}, {"BtnStop", 302}, {"BtnNext", 364}};
    for (const auto& [name, left] : lefts)
        EXPECT_EQ(FindControlByName(FrmMain, name)->Left(), left) << name;
}

TEST_F(MainLayout, SingleAndFourScreenLayoutsInBothStandards) {
    struct Case {
        int standard;
        int lastWidth;
        TRect single;
        TRect quadScreen;
        int panelHeight;
        int lowerTop;
    };
    const Case cases[] = {
        {kVideoStandardNtsc, 352, Rect(-8, -6, 696, 474), Rect(-4, -3, 348, 237), 235, 237},
        {kVideoStandardNtsc, 704, Rect(-16, -6, 704, 474), Rect(-8, -3, 352, 237), 235, 237},
        {kVideoStandardPal, 720, Rect(-16, -6, 704, 570), Rect(-8, -3, 352, 285), 283, 285},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standard * 1000 + c.lastWidth);
        FrmMain->VideoStandard = c.standard;
        FrmMain->LastWidth = c.lastWidth;
        FrmMain->MenuItemCam2Click(FrmMain->MenuItemCam2);
        EXPECT_EQ(FrmMain->GetSelectedCamera(), 1);
        EXPECT_EQ(FrmMain->VidScreen[1]->BoundsRect(), c.single);
        EXPECT_TRUE(FrmMain->Panel2->Visible());
        EXPECT_FALSE(FrmMain->Panel1->Visible());
        EXPECT_EQ(FrmMain->LabelA2->Left(), 524);
        EXPECT_EQ(FrmMain->LabelM2->Left(), 556);

        FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
        EXPECT_EQ(FrmMain->GetScreenCount(), 4);
        EXPECT_EQ(FrmMain->GetSelectedCamera(), 4);
        EXPECT_TRUE(FrmMain->MenuItemQuad->Checked());
        EXPECT_EQ(FrmMain->Panel4->BoundsRect(),
                  Rect(346, c.lowerTop, 346 + 344, c.lowerTop + c.panelHeight));
        EXPECT_EQ(FrmMain->VidScreen[3]->BoundsRect(), c.quadScreen);
        for (TLabel* a : {FrmMain->LabelA1, FrmMain->LabelA2, FrmMain->LabelA3, FrmMain->LabelA4})
            EXPECT_EQ(a->Left(), 219);
        for (TLabel* m : {FrmMain->LabelM1, FrmMain->LabelM2, FrmMain->LabelM3, FrmMain->LabelM4})
            EXPECT_EQ(m->Left(), 251);
        EXPECT_EQ(FrmMain->LabelS1->Left(), 187);
    }
}

TEST_F(MainLayout, ACovertCameraStaysHiddenInTheFourScreenLayout) {
    FrmMain->CameraCovert[2] = 1;
    FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
    EXPECT_TRUE(FrmMain->Panel1->Visible());
    EXPECT_TRUE(FrmMain->Panel2->Visible());
    EXPECT_FALSE(FrmMain->Panel3->Visible());
    EXPECT_TRUE(FrmMain->Panel4->Visible());
    FrmMain->MenuItemCam3Click(FrmMain->MenuItemCam3);
    EXPECT_FALSE(FrmMain->Panel3->Visible());
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
}

TEST_F(MainLayout, LayoutChangesAreRefusedWhileThePlaybackIsCopied) {
    StartMain();
    FrmMain->StreamCopying = 1;
    form_testing::ScopedMessageAnswer answer(mrOk);
    FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
    FrmMain->MenuItemCam4Click(FrmMain->MenuItemCam4);
    EXPECT_EQ(answer.Asked().size(), 2u);
    EXPECT_EQ(FrmMain->GetScreenCount(), 1);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 0);
}

TEST_F(MainLayout, AMouseDownOnAScreenSelectsItsCamera) {
    FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
    FrmMain->VidScreenMouseDown(FrmMain->VidScreen[2], mbLeft, TShiftState(), 5, 5);
    EXPECT_EQ(FrmMain->GetSelectedCamera(), 2);
}

// A played frame's side data goes into the labels of every screen; the menu alone decides which show.
// The GPS and tacho labels lie at one place: with both switched on only one of them holds a text.
TEST_F(MainLayout, PlayedFramesOverlaysAndTheMenu) {
    TLabel* const gps[] = {FrmMain->LabelGPSdata1, FrmMain->LabelGPSdata2, FrmMain->LabelGPSdata3,
                           FrmMain->LabelGPSdata4};
    TLabel* const tacho[] = {FrmMain->LabelTACHOdata1, FrmMain->LabelTACHOdata2, FrmMain->LabelTACHOdata3,
                             FrmMain->LabelTACHOdata4};
    const auto shown = [](TLabel* const(&labels)[4]) {
        std::vector<int> screens;
        for (int k = 0; k < 4; ++k)
            if (labels[k]->Visible()) screens.push_back(k + 1);
        return screens;
    };
    const auto texts = [](TLabel* const(&labels)[4]) {
        std::set<std::string> all;
        for (TLabel* l : labels)
            all.insert(l->Caption());
        return all;
    };
    // As the program starts: the menu says OFF, and nothing shows.
    EXPECT_EQ(FrmMain->GpsCorner, -1);
    EXPECT_TRUE(FrmMain->MenuItemGPSOFF->Checked());
    EXPECT_TRUE(FrmMain->MenuItemTACHOOFF->Checked());
    EXPECT_EQ(shown(gps), std::vector<int>{});
    EXPECT_EQ(shown(tacho), std::vector<int>{});

    FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
    FrmMain->MenuItemGPSONClick(FrmMain->MenuItemGPSON);
    FrmMain->MenuItemTACHOONClick(FrmMain->MenuItemTACHOON);
    EXPECT_EQ(shown(gps), std::vector<int>{1});
    EXPECT_EQ(shown(tacho), std::vector<int>{1});

    QelGpsFix fix;
    fix.latDegrees = 37;
    fix.latMinutes = 33;
    fix.latSeconds = 12;
    fix.latThousandths = 500;
    fix.lonDegrees = 126;
    fix.lonMinutes = 58;
    fix.lonSeconds = 48;
    fix.speed = 62;
    const std::string gpsText = "037`33'12.50\"N\n126`58'48.00\"E\n62KM/H";
    FrmMain->ShowFrameOverlay(
        QelSideDataBuilder().AddLamps(kQelLampRed | kQelLampLeftTurn).AddGps(fix).SetText("REAR").Bytes(), 2);
    EXPECT_EQ(texts(gps), std::set<std::string>{gpsText});
    EXPECT_EQ(texts(tacho), std::set<std::string>{""});
    EXPECT_DOUBLE_EQ(FrmMain->LastLatitude, 37.553472);
    EXPECT_DOUBLE_EQ(FrmMain->LastLongitude, 126.98);
    EXPECT_EQ(FrmMain->CameraTitles[1], "REAR");
    EXPECT_EQ(FrmMain->LabelCamera2->Caption(), "REAR");
    EXPECT_TRUE(FrmMain->LabelCamera2->Visible());
    EXPECT_TRUE(FrmMain->lbRed->Visible());
    EXPECT_TRUE(FrmMain->lbLeft->Visible());
    EXPECT_FALSE(FrmMain->lbYellow->Visible() || FrmMain->lbGreen->Visible());

    FrmMain->ShowFrameOverlay(QelSideDataBuilder().AddTacho({88, 2400}).SetText("DOCK").Bytes(), 3);
    EXPECT_EQ(texts(gps), std::set<std::string>{""});
    EXPECT_EQ(texts(tacho), std::set<std::string>{"88 KM/H\n2400 RPM"});
    EXPECT_TRUE(FrmMain->lbRed->Visible()) << "a frame without a lamps block leaves the lamps";

    // Without side data both texts go; titles stay.
    FrmMain->ShowFrameOverlay({}, 2);
    EXPECT_EQ(texts(gps), std::set<std::string>{""});
    EXPECT_EQ(texts(tacho), std::set<std::string>{""});
    EXPECT_EQ(FrmMain->LabelCamera2->Caption(), "REAR");
    // A mode tab's blank screens take the texts with them.
    FrmMain->ShowFrameOverlay(QelSideDataBuilder().AddGps(fix).Bytes(), 1);
    ASSERT_EQ(texts(gps), std::set<std::string>{gpsText});
    FrmMain->ShowSearchMode();
    EXPECT_EQ(texts(gps), std::set<std::string>{""});
    FrmMain->ShowLocalMode();

    // One camera: its own screen's labels; its corner puts the GPS text there, and the menu says so.
    FrmMain->BtnCamera3Click(FrmMain->BtnCamera3);
    EXPECT_EQ(FrmMain->GpsCorner, 3);
    EXPECT_TRUE(FrmMain->MenuItemGPSON->Checked());
    EXPECT_TRUE(FrmMain->MenuItemGPSBL->Checked());
    EXPECT_FALSE(FrmMain->MenuItemGPSOFF->Checked() || FrmMain->MenuItemGPSTL->Checked());
    EXPECT_EQ(shown(gps), std::vector<int>{3});
    EXPECT_TRUE(FrmMain->LabelTACHOdata3->Visible());
    FrmMain->MenuItemGPSOFFClick(FrmMain->MenuItemGPSOFF);
    EXPECT_TRUE(FrmMain->MenuItemGPSOFF->Checked());
    EXPECT_FALSE(FrmMain->MenuItemGPSON->Checked() || FrmMain->MenuItemGPSBL->Checked());
    FrmMain->MenuItemTACHOOFFClick(FrmMain->MenuItemTACHOOFF);
    EXPECT_EQ(shown(gps), std::vector<int>{});
    EXPECT_EQ(shown(tacho), std::vector<int>{});

    // The colour goes to every overlay text.
    FrmMain->MenuItemCOLORREDClick(FrmMain->MenuItemCOLORRED);
    EXPECT_EQ(FrmMain->OverlayColor, 0x0000FF);
    EXPECT_TRUE(FrmMain->MenuItemCOLORRED->Checked());
    for (TLabel* l :
         {FrmMain->LabelCamera2, FrmMain->LabelGPSdata4, FrmMain->LabelA1, FrmMain->LabelFullSearchTime3})
        EXPECT_EQ(l->Font()->Color(), 0x0000FF) << l->Name();
}

} // namespace
} // namespace client_tests
