// Full mode: the screens fill the display; skin mode puts the window and its layout back.
#include "client/main.h"

#include "controls/imgframe.h"
#include "playback/FileList.h"
#include "setup/Syslog.h"

void TFrmMain::ShowFullModeLayout() {
    ScreenLayoutInput in = LayoutInput();
    in.fullMode = true;
    ApplyLayout(ComputeScreenLayout(in));
}

void TFrmMain::MenuItemFullModeClick(TObject*) {
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
    if (FullMode != 0) return;
    if (SysLogShown != 0 && frmSysLog != nullptr) frmSysLog->Hide();
    if (FileListShown != 0 && frmFileList != nullptr) frmFileList->Hide();
    SavedTop = Top();
    SavedLeft = Left();
    FullMode = 1;
    MenuItemFullMode->SetChecked(true);
    MenuItemSkinMode->SetChecked(false);
    ShowFullModeLayout();
    // The screens cover the whole window now: over the skin's own windowed controls (tabs, buttons,
    // sliders), which would otherwise float over the video.
    PanelScreen->BringToFront();
}

void TFrmMain::MenuItemSkinModeClick(TObject*) {
    if (FullMode == 0) return;
    FullMode = 0;
    MenuItemSkinMode->SetChecked(true);
    MenuItemFullMode->SetChecked(false);
    SetTop(SavedTop);
    SetLeft(SavedLeft);
    TImgFrame* background = VideoStandard == 2 ? ImgFrame1 : ImgFrame3;
    SetClientWidth(background->Width());
    SetClientHeight(background->Height());
    PanelScreen->SetColor(0xFFFFFF);
    PanelScreen->SendToBack();
    for (TPanel* quarter : {Panel5, Panel6, Panel7, Panel8})
        quarter->SetBounds(0, 0, 0, 0);
    for (int k = 0; k < 4; ++k)
        FullTimeLabel(k)->Hide();
    if (ScreenCount == 1 && SelectedCamera >= 0 && SelectedCamera <= 3)
        ShowCamera(SelectedCamera);
    else
        MenuItemQuadClick(this);
    if (SysLogShown != 0 && frmSysLog != nullptr) frmSysLog->Show();
    if (FileListShown != 0 && frmFileList != nullptr) frmFileList->Show();
}
