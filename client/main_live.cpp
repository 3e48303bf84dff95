// Live view: starting and stopping it, the camera buttons, the stream's activity picture and the labels
// the small timers refresh.
#include "client/main.h"

#include "client/LinkWait.h"
#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "net/WSocket.h"
#include "playback/Print.h"
#include "setup/Camera.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"

namespace {

// Between the camera-count and the live-start command the recorder gets a moment.
constexpr DWORD kLiveStepPauseMs = 100;

} // namespace

bool TFrmMain::LiveCommand(DWORD command) {
    const int tab = CurrentMode;
    const int replied = SendCommandAndWait(command, 0, kReplyLimitMs);
    // A busy status in the reply to the button's own 109 is its answer, told by the button.
    if (command == NETCMD_STATUS ? LastWaitEnd() == TWaitEnd::Ended : WorkEndedMeanwhile(tab)) return false;
    if (replied == 0) {
        CloseWait();
        SetEnabled(true);
        CurrentMode = kModeLocal;
        btnLocal_mClick(this);
        AddDebugLine("TIME OUT:", command);
        return false;
    }
    if (ReplySlot == 2) {
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", command);
        return false;
    }
    if (ReplySlot == 1) AddDebugLine("SUCCESS:", command);
    return true;
}

void TFrmMain::ExpectFirstPicture() {
    AvShow.awaitingFirstPicture = true;
    firstPictureAskedAt_ = GetTickCount();
    AvShow.lastShownTime = 0;
    AvShow.lastShownStamp = 0;
    shortReadLines_ = 0;
}

void TFrmMain::BtnLiveClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59857), 0);
        CurrentMode = kModeLocal;
        btnLocal_mClick(this);
        return;
    }
    SetEnabled(false);
    ShowWait();
    if (!LiveCommand(NETCMD_STATUS)) return;
    if (RecorderStatus >= 2 && RecorderStatus <= 5) {
        static constexpr int kRefusals[] = {59862, 59859, 59861, 59860};
        CloseWait();
        ShowMessageBox(LoadLangString(59868), LoadLangString(kRefusals[RecorderStatus - 2]), 0);
        SetEnabled(true);
        return;
    }
    if (RecorderStatus != 1) {
        CloseWait();
        SetEnabled(true);
        return;
    }
    MaxCamera = 0;
    if (!LiveCommand(NETCMD_CAMERA_INFO)) return;
    Sleep(kLiveStepPauseMs);
    ExpectFirstPicture();
    if (!LiveCommand(NETCMD_LIVE_START)) {
        AvShow.awaitingFirstPicture = false;
        return;
    }
    BtnLive->Hide();
    BtnDislive->SetVisible(true);
    Activities.Begin(TActivity::LiveView);
    RefreshCameraTitles();
    CloseWait();
    ImgAniState->Show();
    SetEnabled(true);
}

void TFrmMain::BlankLiveView() {
    TLabel* const hidden[] = {LabelCamera1, LabelCamera2, LabelCamera3, LabelCamera4, LabelA1, LabelA2,
                              LabelA3,      LabelA4,      LabelM1,      LabelM2,      LabelM3, LabelM4,
                              lbRed,        lbYellow,     lbLeft,       lbGreen};
    for (TLabel* label : hidden)
        label->Hide();
    lbState->SetCaption("");
    ClearSearchTimeLabels();
    ClearOverlayTexts();
    for (std::string& title : CameraTitles)
        title.clear();
    EmptyScreens();
    ImgAniState->SetPlay(false);
    ImgAniState->Hide();
}

void TFrmMain::BtnDisliveClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    ShowWait();
    SetEnabled(false);
    Activities.End(TActivity::LiveView);
    AvShow.awaitingFirstPicture = false;
    const int tab = CurrentMode;
    const int replied = SendCommandAndWait(NETCMD_LIVE_STOP, 0, kReplyLimitMs);
    if (WorkEndedMeanwhile(tab)) return;
    if (replied == 0) {
        CurrentMode = kModeLocal;
        btnLocal_mClick(this);
        AddDebugLine("TIME OUT:", NETCMD_LIVE_STOP);
    } else if (ReplySlot == 1) {
        AddDebugLine("SUCCESS:", NETCMD_LIVE_STOP);
    } else if (ReplySlot == 2) {
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", NETCMD_LIVE_STOP);
    }
    // The buttons of the tab shown: a stop without an answer has shown the local tab, whose DISCONNECT
    // stays where LIVE ON would be.
    if (CurrentMode == kModeLive) {
        BtnDislive->Hide();
        BtnLive->SetVisible(true);
    }
    BlankLiveView();
    CloseWait();
    SetEnabled(true);
}

void TFrmMain::RefreshCameraTitles() {
    // The recorder's config.ini says what each camera is called and which are covert; the camera page's
    // table reads it.
    const std::array<BYTE, 4> covertBefore = CameraCovert;
    if (frmCamera != nullptr) {
        try {
            frmCamera->ReloadAllCameras();
        } catch (const EConvertError& e) {
            // A camera key the page cannot read ends the reading there; what was read counts.
            DebugTrace("TFrmMain::RefreshCameraTitles", e.what());
        }
        for (std::size_t k = 0; k < CameraTitles.size(); ++k) {
            CameraTitles[k] = frmCamera->CameraTable[k].title;
            CameraCovert[k] = frmCamera->CameraTable[k].covert;
        }
    }
    // A camera that became covert leaves the layout, one that is no longer covert comes back.
    if (CameraCovert != covertBefore) {
        if (ScreenCount == 1)
            ShowSelectedCamera();
        else
            MenuItemQuadClick(this);
    }
    for (int camera = 0; camera < 4; ++camera) {
        TLabel* title = CameraLabel(camera);
        title->SetCaption(CameraTitles[static_cast<std::size_t>(camera)]);
        title->Show();
    }
}

void TFrmMain::BtnCamera1Click(TObject* sender) {
    MenuItemCam1Click(sender);
}

void TFrmMain::BtnCamera2Click(TObject* sender) {
    MenuItemCam2Click(sender);
}

void TFrmMain::BtnCamera3Click(TObject* sender) {
    MenuItemCam3Click(sender);
}

void TFrmMain::BtnCamera4Click(TObject* sender) {
    MenuItemCam4Click(sender);
}

void TFrmMain::BtnQuadClick(TObject* sender) {
    MenuItemQuadClick(sender);
}

bool TFrmMain::ShowScreenPicture(int screen, const BYTE* data, std::size_t length, DWORD time, int width,
                                 int standard) {
    const std::size_t k = static_cast<std::size_t>(screen & 3);
    if (ShowJpegFrame(data, length, JpegImage, VidScreen[k]) == 0) return false;
    TScreenPicture& shown = ScreenPictures[k];
    FrameTimeToText(time, shown.timeText);
    shown.width = width;
    shown.standard = standard;
    return true;
}

void TFrmMain::EmptyScreen(int screen) {
    const std::size_t k = static_cast<std::size_t>(screen & 3);
    VidScreen[k]->Picture()->Assign(ImageEmpty->Picture());
    ScreenPictures[k] = {};
}

void TFrmMain::EmptyScreens() {
    for (int k = 0; k < 4; ++k)
        EmptyScreen(k);
}

void TFrmMain::PrintCamera(int camera) {
    if (frmPrint == nullptr) return;
    const std::size_t k = static_cast<std::size_t>(camera);
    // The time and size of the frame on that screen: the last stream received may be another source's.
    const TScreenPicture& shown = ScreenPictures[k];
    frmPrint->Show();
    frmPrint->ShowFrame(VidScreen[k], camera + 1, shown.width,
                        shown.standard != 0 ? shown.standard : VideoStandard, shown.timeText,
                        CameraTitles[k]);
}

void TFrmMain::MenuItemPrintCam1Click(TObject*) {
    PrintCamera(0);
}

void TFrmMain::MenuItemPrintCam2Click(TObject*) {
    PrintCamera(1);
}

void TFrmMain::MenuItemPrintCam3Click(TObject*) {
    PrintCamera(2);
}

void TFrmMain::MenuItemPrintCam4Click(TObject*) {
    PrintCamera(3);
}

void TFrmMain::TimerPlayStateTimer(TObject*) {
    if (!BtnLive->Visible()) return;
    for (int camera = 0; camera < 4; ++camera)
        CameraLabel(camera)->SetCaption("");
}

void TFrmMain::TimerAVDataTimer(TObject*) {
    const DWORD now = AvShow.lastDisplayedTime;
    Label6->SetCaption(Format("%u", now));
    Label5->SetCaption(Format("%u", previousDisplayedTime_));
    // A stream that shows nothing new stops its activity picture; the next frame starts it again.
    if (now == previousDisplayedTime_) ImgAniState->SetPlay(false);
    previousDisplayedTime_ = now;
    // A recorder that sends no picture after a start or five seconds back must not leave the window
    // locked.
    if (AvShow.awaitingFirstPicture && TickDistance(firstPictureAskedAt_, GetTickCount()) > kReplyLimitMs) {
        AvShow.awaitingFirstPicture = false;
        CloseWait();
        SetEnabled(true);
    }
}
