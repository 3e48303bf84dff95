// The screens in their single and four-screen layouts, the two video standards, the overlay colour and
// the clock: what the main window's construction and first showing lay out.
#include "client/main.h"

#include "client/SetupIni.h"

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

TMenuItem* TFrmMain::CameraMenuItem(int camera) const {
    TMenuItem* const items[] = {MenuItemCam1, MenuItemCam2, MenuItemCam3, MenuItemCam4};
    return items[camera & 3];
}

void TFrmMain::PrepareScreens() {
    for (TImage* screen : VidScreen)
        screen->Picture()->Assign(ImageEmpty->Picture());
    HideScreenMarks();
}

void TFrmMain::HideScreenMarks() {
    TLabel* const marks[] = {LabelS1, LabelA1, LabelA2, LabelA3,  LabelA4, LabelM1, LabelM2,
                             LabelM3, LabelM4, lbRed,   lbYellow, lbLeft,  lbGreen};
    for (TLabel* mark : marks)
        mark->Hide();
}

void TFrmMain::HideScreens() {
    for (int camera = 0; camera < 4; ++camera) {
        VidScreen[static_cast<std::size_t>(camera)]->Hide();
        ScreenPanel(camera)->Hide();
    }
}

void TFrmMain::ShowSingleCamera(int camera) {
    if (camera < 0 || camera > 3) return;
    HideScreens();
    CameraMenuItem(camera)->SetChecked(true);
    ScreenCount = 1;
    if (CameraCovert[static_cast<std::size_t>(camera)] != 0) return;

    const bool ntsc = IsNtsc(VideoStandard);
    PanelScreen->SetBounds(22, 24, 691, ntsc ? 473 : 569);
    TImage* screen = VidScreen[static_cast<std::size_t>(camera)];
    if (LastWidth == 352)
        screen->SetBounds(-8, -6, 704, ntsc ? 480 : 576);
    else
        screen->SetBounds(-16, -6, 720, ntsc ? 480 : 576);
    screen->Show();
    TPanel* panel = ScreenPanel(camera);
    panel->SetBounds(1, 1, 689, ntsc ? 471 : 567);
    panel->Show();

    HideScreenMarks();
    if (camera == 0) LabelS1->SetLeft(492);
    MarkLabelA(camera)->SetLeft(524);
    MarkLabelM(camera)->SetLeft(556);
}

void TFrmMain::ShowCameraLayout(int count) {
    HideScreens();
    HideScreenMarks();
    if (count != 4) {
        ShowSingleCamera(0);
        return;
    }
    MenuItemQuad->SetChecked(true);
    ScreenCount = 4;
    const bool ntsc = IsNtsc(VideoStandard);
    PanelScreen->SetBounds(22, 24, 691, ntsc ? 473 : 569);
    const int height = ntsc ? 235 : 283;
    const int lowerTop = ntsc ? 237 : 285;
    const TPoint corners[] = {Point(1, 1), Point(346, 1), Point(1, lowerTop), Point(346, lowerTop)};
    for (int camera = 0; camera < 4; ++camera) {
        TImage* screen = VidScreen[static_cast<std::size_t>(camera)];
        if (LastWidth == 352)
            screen->SetBounds(-4, -3, 352, ntsc ? 240 : 288);
        else
            screen->SetBounds(-8, -3, 360, ntsc ? 240 : 288);
        screen->Show();
        // A covert camera keeps its panel hidden in this layout as in the single one.
        if (CameraCovert[static_cast<std::size_t>(camera)] != 0) continue;
        TPanel* panel = ScreenPanel(camera);
        panel->SetBounds(corners[camera].X, corners[camera].Y, 344, height);
        panel->Show();
        if (camera == 0) LabelS1->SetLeft(187);
        MarkLabelA(camera)->SetLeft(219);
        MarkLabelM(camera)->SetLeft(251);
    }
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
    ShowCameraLayout(4);
}

void TFrmMain::ApplyVideoStandard(int standard) {
    const bool ntsc = IsNtsc(standard);
    MMTimerPlayback->SetInterval(ntsc ? 33 : 40);
    MMTimerReverse->SetInterval(ntsc ? 33 : 40);
    TImgFrame* background = ntsc ? ImgFrame3 : ImgFrame1;
    SetClientWidth(background->Width());
    SetClientHeight(background->Height());
    ImgFrame1->SetVisible(!ntsc);
    ImgFrame3->SetVisible(ntsc);

    // The bar under the screens moves down by the taller picture of the second standard.
    const int shift = ntsc ? 0 : 94;
    const std::pair<TControl*, int> tops[] = {
        {LabelSearchTime, 510}, {Label2, 510},         {Label3, 510},       {lbState, 510},
        {Label1, 556},          {BtnSearch, 551},      {SliderSearch, 551}, {BtnLoglist, 543},
        {BtnOpenMap, 548},      {SliderVolume, 599},   {ImgFrame4, 600},    {ImgFrame5, 584},
        {ImgHideBtn, 568},      {BtnRecStart, 577},    {BtnRecStop, 577},   {BtnFirst, 583},
        {BtnPrev, 583},         {BtnFastReverse, 583}, {BtnReverse, 583},   {BtnPlay, 583},
        {BtnPause, 583},        {BtnStop, 583},        {BtnFastPlay, 583},  {BtnNext, 583},
        {BtnLast, 583},         {BtnCamera1, 583},     {BtnCamera2, 583},   {BtnCamera3, 583},
        {BtnCamera4, 583},      {BtnQuad, 583},        {BtnBack5, 583},     {ImgAniState, 510},
    };
    for (const auto& [control, top] : tops)
        control->SetTop(top + shift);

    if (ScreenCount == 1 && SelectedCamera >= 0 && SelectedCamera <= 3)
        ShowCamera(SelectedCamera);
    else
        MenuItemQuadClick(this);
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
        button->SetEnabled(on);
    TimerVolume->SetEnabled(on);
}
