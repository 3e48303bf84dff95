// The overlays drawn from the side data of played recordings (the frame clocks hand each shown frame
// here; the live and searched streams draw none): camera titles, the four lamps, the GPS and tacho
// texts, the map's position, and the popup menu that chooses where they show and in which colour.
#include "client/main.h"

#include "client/FrameOverlay.h"
#include "client/SetupIni.h"
#include "playback/HtmlMap.h"

void TFrmMain::ShowFrameOverlay(std::span<const BYTE> payload2, DWORD channel) {
    const FrameOverlayUpdate u =
        ReadFrameOverlay(payload2, channel, LastLatitude, LastLongitude, MapPageLoaded != 0);
    if (u.lamps) {
        lbRed->SetVisible((*u.lamps & kQelLampRed) != 0);
        lbYellow->SetVisible((*u.lamps & kQelLampYellow) != 0);
        lbLeft->SetVisible((*u.lamps & kQelLampLeftTurn) != 0);
        lbGreen->SetVisible((*u.lamps & kQelLampGreen) != 0);
    }
    // Which of them show is the menu's choice; every screen's labels get the texts.
    for (int k = 0; k < 4; ++k) {
        if (u.gpsText) GpsLabel(k)->SetCaption(*u.gpsText);
        if (u.tachoText) TachoLabel(k)->SetCaption(*u.tachoText);
    }
    if (u.titleChannel >= 1 && u.titleChannel <= 4) {
        const int k = u.titleChannel - 1;
        CameraTitles[static_cast<std::size_t>(k)] = u.title;
        CameraLabel(k)->SetCaption(u.title);
        CameraLabel(k)->Show();
    }
    if (u.moveMap && FrmHtmlMap != nullptr) FrmHtmlMap->MoveCenter(u.mapLatitude, u.mapLongitude);
}

void TFrmMain::SetMapPageLoaded() {
    MapPageLoaded = 1;
}

namespace {

// ON and OFF say whether the GPS text shows; the corner items, a radio group of their own, say where
// when the user chose a corner.
void ShowGpsMenuState(TFrmMain& m, TMenuItem* corner) {
    (m.GpsCorner >= 0 ? m.MenuItemGPSON : m.MenuItemGPSOFF)->SetChecked(true);
    for (TMenuItem* item : {m.MenuItemGPSTL, m.MenuItemGPSTR, m.MenuItemGPSBL, m.MenuItemGPSBR})
        item->SetChecked(item == corner);
}

} // namespace

void TFrmMain::ShowGpsLabelOnly(int camera) {
    for (int k = 0; k < 4; ++k)
        if (k != camera) GpsLabel(k)->Hide();
    GpsLabel(camera)->BringToFront();
    GpsLabel(camera)->Show();
}

void TFrmMain::MenuItemGPSOFFClick(TObject*) {
    GpsCorner = -1;
    ShowGpsMenuState(*this, nullptr);
    for (int k = 0; k < 4; ++k)
        GpsLabel(k)->Hide();
}

void TFrmMain::MenuItemGPSONClick(TObject*) {
    GpsCorner = 0;
    ShowGpsMenuState(*this, nullptr);
    const int screen = OverlayScreenOn(ScreenCount, SelectedCamera);
    if (screen >= 0) ShowGpsLabelOnly(screen);
}

void TFrmMain::MenuItemGPSTLClick(TObject*) {
    GpsCorner = 1;
    ShowGpsMenuState(*this, MenuItemGPSTL);
    ShowGpsLabelOnly(0);
}

void TFrmMain::MenuItemGPSTRClick(TObject*) {
    GpsCorner = 2;
    ShowGpsMenuState(*this, MenuItemGPSTR);
    ShowGpsLabelOnly(1);
}

void TFrmMain::MenuItemGPSBLClick(TObject*) {
    GpsCorner = 3;
    ShowGpsMenuState(*this, MenuItemGPSBL);
    ShowGpsLabelOnly(2);
}

void TFrmMain::MenuItemGPSBRClick(TObject*) {
    GpsCorner = 4;
    ShowGpsMenuState(*this, MenuItemGPSBR);
    ShowGpsLabelOnly(3);
}

void TFrmMain::MenuItemTACHOONClick(TObject*) {
    MenuItemTACHOOFF->SetChecked(false);
    MenuItemTACHOON->SetChecked(true);
    if (ScreenCount == 4) {
        for (int k = 1; k < 4; ++k)
            TachoLabel(k)->Hide();
        TachoLabel(0)->BringToFront();
        TachoLabel(0)->Show();
        return;
    }
    const int screen = OverlayScreenOn(ScreenCount, SelectedCamera);
    if (screen < 0) return;
    TachoLabel(screen)->BringToFront();
    TachoLabel(screen)->Show();
}

void TFrmMain::MenuItemTACHOOFFClick(TObject*) {
    MenuItemTACHOON->SetChecked(false);
    MenuItemTACHOOFF->SetChecked(true);
    for (int k = 0; k < 4; ++k)
        TachoLabel(k)->Hide();
}

void TFrmMain::ShowOverlayColor(TMenuItem* item, TColor color) {
    item->SetChecked(true);
    OverlayColor = color;
    ApplyOverlayColor(OverlayColor);
}

void TFrmMain::MenuItemCOLORREDClick(TObject*) {
    ShowOverlayColor(MenuItemCOLORRED, kOverlayRed);
}

void TFrmMain::MenuItemCOLORBLUEClick(TObject*) {
    ShowOverlayColor(MenuItemCOLORBLUE, kOverlayBlue);
}

void TFrmMain::MenuItemCOLORYELLOWClick(TObject*) {
    ShowOverlayColor(MenuItemCOLORYELLOW, kOverlayYellow);
}

void TFrmMain::ApplyOverlayColor(TColor color) {
    TLabel* const labels[] = {LabelCamera1,
                              LabelCamera2,
                              LabelCamera3,
                              LabelCamera4,
                              LabelTACHOdata1,
                              LabelTACHOdata2,
                              LabelTACHOdata3,
                              LabelTACHOdata4,
                              LabelGPSdata1,
                              LabelGPSdata2,
                              LabelGPSdata3,
                              LabelGPSdata4,
                              LabelS1,
                              LabelA1,
                              LabelA2,
                              LabelA3,
                              LabelA4,
                              LabelM1,
                              LabelM2,
                              LabelM3,
                              LabelM4,
                              LabelFullSearchTime1,
                              LabelFullSearchTime2,
                              LabelFullSearchTime3,
                              LabelFullSearchTime4};
    for (TLabel* label : labels)
        label->Font()->SetColor(color);
}
