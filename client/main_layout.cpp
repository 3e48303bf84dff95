// The screens in their single and four-screen layouts, the two video standards, the playback buttons and
// the clock. The rectangles come from ComputeScreenLayout; this file puts them on the controls.
#include "client/main.h"

#include "formats/SetupIni.h"

#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "controls/MMTimer.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

namespace {

bool IsNtsc(int standard) {
    return standard == kVideoStandardNtsc;
}

void PlaceControl(TControl* control, const LayoutBox& box) {
    control->SetBounds(box.Left, box.Top, box.Width, box.Height);
}

} // namespace

TPanel* TFrmMain::ScreenPanel(int camera) const {
    TPanel* const panels[] = {Panel1, Panel2, Panel3, Panel4};
    return panels[camera & 3];
}

TLabel* TFrmMain::MarkLabelA(int camera) const {
    TLabel* const labels[] = {LabelA1, LabelA2, LabelA3, LabelA4};
    return labels[camera & 3];
}

TLabel* TFrmMain::MarkLabelM(int camera) const {
    TLabel* const labels[] = {LabelM1, LabelM2, LabelM3, LabelM4};
    return labels[camera & 3];
}

TLabel* TFrmMain::CameraLabel(int camera) const {
    TLabel* const labels[] = {LabelCamera1, LabelCamera2, LabelCamera3, LabelCamera4};
    return labels[camera & 3];
}

TLabel* TFrmMain::GpsLabel(int camera) const {
    TLabel* const labels[] = {LabelGPSdata1, LabelGPSdata2, LabelGPSdata3, LabelGPSdata4};
    return labels[camera & 3];
}

TLabel* TFrmMain::TachoLabel(int camera) const {
    TLabel* const labels[] = {LabelTACHOdata1, LabelTACHOdata2, LabelTACHOdata3, LabelTACHOdata4};
    return labels[camera & 3];
}

TLabel* TFrmMain::FullTimeLabel(int camera) const {
    TLabel* const labels[] = {LabelFullSearchTime1, LabelFullSearchTime2, LabelFullSearchTime3,
                              LabelFullSearchTime4};
    return labels[camera & 3];
}

TMenuItem* TFrmMain::CameraMenuItem(int camera) const {
    TMenuItem* const items[] = {MenuItemCam1, MenuItemCam2, MenuItemCam3, MenuItemCam4};
    return items[camera & 3];
}

void TFrmMain::PrepareScreens() {
    EmptyScreens();
    HideScreenMarks();
}

void TFrmMain::HideScreenMarks() {
    TLabel* const marks[] = {LabelS1, LabelA1, LabelA2, LabelA3,  LabelA4, LabelM1, LabelM2,
                             LabelM3, LabelM4, lbRed,   lbYellow, lbLeft,  lbGreen};
    for (TLabel* mark : marks)
        mark->Hide();
}

void TFrmMain::ClearOverlayTexts() {
    for (int k = 0; k < 4; ++k) {
        GpsLabel(k)->SetCaption("");
        TachoLabel(k)->SetCaption("");
    }
}

ScreenLayoutInput TFrmMain::LayoutInput() const {
    ScreenLayoutInput in;
    in.videoStandard = VideoStandard;
    in.screenCount = ScreenCount;
    in.camera = SelectedCamera >= 0 && SelectedCamera <= 3 ? SelectedCamera : 0;
    in.fullMode = FullMode != 0;
    in.lastWidth = LastWidth;
    in.displayWidth = Screen->Width();
    in.displayHeight = Screen->Height();
    for (int k = 0; k < 4; ++k)
        in.covert[k] = CameraCovert[static_cast<std::size_t>(k)] != 0;
    return in;
}

void TFrmMain::ApplyLayout(const ScreenLayout& l) {
    if (l.window) {
        SetTop(0);
        SetLeft(0);
        SetClientWidth(l.window->Width);
        SetClientHeight(l.window->Height);
    }
    if (l.panelScreen) PlaceControl(PanelScreen, *l.panelScreen);
    TPanel* const quarters[] = {Panel5, Panel6, Panel7, Panel8};
    for (int k = 0; k < 4; ++k) {
        if (l.quarters[k]) PlaceControl(quarters[k], *l.quarters[k]);
        TPanel* panel = ScreenPanel(k);
        TImage* screen = VidScreen[static_cast<std::size_t>(k)];
        if (l.panels[k]) PlaceControl(panel, *l.panels[k]);
        if (l.screens[k]) PlaceControl(screen, *l.screens[k]);
        panel->SetVisible(l.panelVisible[k]);
        screen->SetVisible(l.screenVisible[k]);
    }
    if (l.hideMarks) HideScreenMarks();
    if (l.markS1Left >= 0) LabelS1->SetLeft(l.markS1Left);
    for (int k = 0; k < 4; ++k) {
        if (l.markALeft[k] >= 0) MarkLabelA(k)->SetLeft(l.markALeft[k]);
        if (l.markMLeft[k] >= 0) MarkLabelM(k)->SetLeft(l.markMLeft[k]);
        TLabel* time = FullTimeLabel(k);
        if (l.timeLabelHidden[k]) time->Hide();
        if (l.timeLabelShown[k]) {
            time->SetLeft(l.timeLabelShown[k]->X);
            time->SetTop(l.timeLabelShown[k]->Y);
            time->Show();
            time->BringToFront();
        }
    }
    if (l.checkQuad) MenuItemQuad->SetChecked(true);
    if (l.checkCamera >= 0) CameraMenuItem(l.checkCamera)->SetChecked(true);
}

void TFrmMain::ShowSingleCamera(int camera) {
    if (camera < 0 || camera > 3) return;
    ScreenCount = 1;
    ScreenLayoutInput in = LayoutInput();
    in.screenCount = 1;
    in.camera = camera;
    in.fullMode = false;
    ApplyLayout(ComputeScreenLayout(in));
}

void TFrmMain::ShowCameraLayout(int count) {
    if (count != 4) {
        ShowSingleCamera(0);
        return;
    }
    ScreenCount = 4;
    ScreenLayoutInput in = LayoutInput();
    in.fullMode = false;
    ApplyLayout(ComputeScreenLayout(in));
}

void TFrmMain::ShowCamera(int camera) {
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
    SelectedCamera = camera;
    ScreenCount = 1;
    TLabel* title = CameraLabel(camera);
    title->SetCaption(CameraTitles[static_cast<std::size_t>(camera)]);
    title->Show();
    // The GPS text follows to the corner of this camera's screen.
    if (GpsCorner >= 0) {
        switch (camera) {
        case 0:
            MenuItemGPSTLClick(this);
            break;
        case 1:
            MenuItemGPSTRClick(this);
            break;
        case 2:
            MenuItemGPSBLClick(this);
            break;
        default:
            MenuItemGPSBRClick(this);
            break;
        }
    }
    if (MenuItemTACHOON->Checked()) MenuItemTACHOONClick(this);
    if (FullMode != 0)
        ShowFullModeLayout();
    else
        ShowSingleCamera(camera);
}

void TFrmMain::MenuItemCam1Click(TObject*) {
    ShowCamera(0);
}

void TFrmMain::MenuItemCam2Click(TObject*) {
    ShowCamera(1);
}

void TFrmMain::MenuItemCam3Click(TObject*) {
    ShowCamera(2);
}

void TFrmMain::MenuItemCam4Click(TObject*) {
    ShowCamera(3);
}

void TFrmMain::MenuItemQuadClick(TObject*) {
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
    ScreenCount = 4;
    SelectedCamera = 4;
    for (int camera = 0; camera < 4; ++camera) {
        TLabel* title = CameraLabel(camera);
        title->SetCaption(CameraTitles[static_cast<std::size_t>(camera)]);
        title->Show();
    }
    if (GpsCorner >= 0) MenuItemGPSONClick(this);
    if (MenuItemTACHOON->Checked()) MenuItemTACHOONClick(this);
    if (FullMode != 0)
        ShowFullModeLayout();
    else
        ShowCameraLayout(4);
}

void TFrmMain::ShowSelectedCamera() {
    if (SelectedCamera >= 0 && SelectedCamera <= 3) ShowSingleCamera(SelectedCamera);
}

void TFrmMain::ApplyVideoStandard(int standard) {
    const bool ntsc = IsNtsc(standard);
    // The screens are laid out by the client's standard: it must be the one the window is sized for, or
    // a recording of the other standard draws its pictures over the transport bar.
    VideoStandard = ntsc ? kVideoStandardNtsc : kVideoStandardPal;
    MMTimerPlayback->SetInterval(ntsc ? 33 : 40);
    MMTimerReverse->SetInterval(ntsc ? 33 : 40);
    TImgFrame* background = ntsc ? ImgFrame3 : ImgFrame1;
    SetClientWidth(background->Width());
    SetClientHeight(background->Height());
    ImgFrame1->SetVisible(!ntsc);
    ImgFrame3->SetVisible(ntsc);
    for (const ControlTop& top : ControlTops())
        if (auto* control = dynamic_cast<TControl*>(FindComponent(top.name)))
            control->SetTop(ntsc ? top.ntsc : top.pal);

    if (ScreenCount == 1 && SelectedCamera >= 0 && SelectedCamera <= 3)
        ShowCamera(SelectedCamera);
    else
        MenuItemQuadClick(this);
}

void TFrmMain::ShowPlaybackControls(bool local) {
    TControl* const localOnly[] = {BtnFirst,    BtnPrev, BtnFastReverse, BtnReverse,
                                   BtnFastPlay, BtnLast, Label1};
    for (TControl* control : localOnly)
        control->SetVisible(local);
    TBmButton* const transport[] = {BtnPlay, BtnPause, BtnStop, BtnNext};
    const std::array<int, 4> lefts = PlaybackButtonLefts(local);
    for (int i = 0; i < 4; ++i) {
        EnableSkinButton(transport[i], !local);
        transport[i]->SetLeft(lefts[static_cast<std::size_t>(i)]);
    }
    BtnBack5->SetVisible(!local);
    ImgHideBtn->SetVisible(!local);
}

void TFrmMain::ShowClock() {
    const SYSTEMTIME now = GetLocalTime();
    const std::string date = Format("%d  %02d  %02d", now.wYear, now.wMonth, now.wDay);
    if (LabelYearMonth->Caption() != date) LabelYearMonth->SetCaption(date);
    LabelTime->SetCaption(Format("%02d : %02d : %02d", now.wHour, now.wMinute, now.wSecond));
}

void TFrmMain::TimerClockTimer(TObject*) {
    ShowClock();
}

void TFrmMain::SetControlsEnabled(bool on) {
    SliderSearch->SetEnable(on);
    SliderVolume->SetEnable(on);
    TBmButton* const buttons[] = {BtnSearch, BtnFirst,    BtnLast,        BtnPrev,  BtnNext, BtnReverse,
                                  BtnPlay,   BtnFastPlay, BtnFastReverse, BtnPause, BtnStop};
    for (TBmButton* button : buttons)
        EnableSkinButton(button, on);
    TimerVolume->SetEnabled(on);
}

void TFrmMain::EnableSkinButton(TBmButton* button, bool on) {
    constexpr int kDisabledLook = 3;
    button->SetEnabled(on);
    // Hover and press looks cap at the strip's last frame, so the disabled look stays under the pointer.
    if (button->TotalFrames() == kDisabledLook + 1) button->SetCurrentFrame(on ? 0 : kDisabledLook);
}
