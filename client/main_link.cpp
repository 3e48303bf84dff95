// Connecting and logging in to a recorder, the connection's open and close events, the status line and
// the connect and disconnect buttons.
#include "client/main.h"

#include "client/AddressBook.h"
#include "client/LinkWait.h"
#include "client/Wait.h"
#include "client/formlog.h"

#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "net/WSocket.h"
#include "playback/FileList.h"
#include "playback/HtmlMap.h"
#include "setup/Syslog.h"

#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"

#include <cstdlib>

namespace {

void Trace(const char* method, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + method).c_str(), message);
}

constexpr DWORD kConnectLimitMs = 20000;
constexpr DWORD kDisconnectPumpMs = 4000;
// Between the steps of the log-in the recorder gets a moment.
constexpr DWORD kLoginStepPauseMs = 100;

bool AttemptOver(const TWSocket* socket) {
    return socket->State() == wsClosed || socket->State() == wsInvalidState;
}

} // namespace

// ---- Waits ----

TFrmMain::TConnectEnd TFrmMain::WaitForConnection(TWSocket* socket, bool keepMainDisabled) {
    const TWaitEnd end = PumpUntil(
        TActivity::Link, Activities,
        [&] {
            if (keepMainDisabled) SetEnabled(false);
            // A refused or unreachable address ends the attempt at once, not after the limit.
            return socket->State() == wsConnected || AttemptOver(socket);
        },
        kConnectLimitMs);
    if (end == TWaitEnd::Terminated) return TConnectEnd::Terminated;
    if (end == TWaitEnd::Ended) return TConnectEnd::Ended;
    if (socket->State() == wsConnected) return TConnectEnd::Connected;
    return end == TWaitEnd::TimedOut ? TConnectEnd::TimedOut : TConnectEnd::Failed;
}

void TFrmMain::ShowWait() {
    if (FrmWait != nullptr) FrmWait->Show();
}

void TFrmMain::CloseWait() {
    if (FrmWait != nullptr) FrmWait->Close();
}

void TFrmMain::DisarmHeartbeat() {
    HeartbeatArmed = 0;
    HeartbeatMisses = 0;
    TimerHeartBeat->SetEnabled(false);
}

void TFrmMain::CloseLinkSockets() {
    Activities.End(TActivity::Link);
    AVDataCliSocket->Close();
    CliSocket->Close();
}

// ---- Connect and log in ----

void TFrmMain::BtnConnectClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
    if (FrmLog != nullptr) FrmLog->Show();
    SetEnabled(false);
}

void TFrmMain::ResetConnectionState() {
    // Local playback and its clocks and sound ended on the way here (EndActivities).
    BtnOpenMap->Hide();
    if (FrmHtmlMap != nullptr) FrmHtmlMap->Close();
    ClearOverlayTexts();
    SliderSearch->SetKnobPos(0);
    SetControlsEnabled(false);
    if (frmFileList != nullptr) frmFileList->Close();
    FileListShown = 0;
    PasswordOnlyLogin = 0;
    btnLive_m->SetEnabled(true);
    btnSer_m->SetEnabled(true);
    // Nothing of an earlier recorder carries over to this one.
    LoginOption = 0;
    SysInfoResult = SysInfoArg0 = SysInfoArg1 = 0;
    RecorderStatus = 0;
    DisconnectRequested = 0;
    LoggedIn = 0;
    HeartbeatMisses = 0;
    MaxCamera = 0;
}

void TFrmMain::ConnectToQel(const std::string& address, const std::string& port) {
    if (Activities.RefusesPresses()) return;
    if (!ValidPortText(port)) {
        ShowMessageBox(LoadLangString(59877), LoadLangString(59824), 0);
        return;
    }
    // An earlier connection ends first, and not as a loss. A local playback goes on until this
    // connection is up: a wrong address or a recorder that is off must not cost the user it.
    HeartbeatArmed = 0;
    if (LinkOpen() && !EndActivities(TWayOut::NewConnect)) return;
    ShowWait();
    SetEnabled(false);
    Receiver.SetFolder(ProgramFolder);
    ResetLink();

    CliSocket->SetAddr(address);
    CliSocket->SetProto("tcp");
    CliSocket->SetPort(port);
    Activities.Begin(TActivity::Link);
    CliSocket->Connect();
    switch (WaitForConnection(CliSocket, true)) {
    case TConnectEnd::Connected:
        EndLocalWork();
        break;
    case TConnectEnd::Terminated:
    case TConnectEnd::Ended:
        return;
    case TConnectEnd::TimedOut:
    case TConnectEnd::Failed:
        Trace("ConnectToQel", CliSocket->State() == wsClosed ? "Connect failed" : "Connect time out");
        SetEnabled(true);
        CloseWait();
        CloseLinkSockets();
        ShowMessageBox(LoadLangString(59877), LoadLangString(59824), 0);
        return;
    }

    ResetConnectionState();
    if (SendCommandAndWait(NETCMD_SYSINFO, 3, kReplyLimitMs) == 0) {
        FailLogin("FAILED:", NETCMD_SYSINFO, LastWaitEnd());
        return;
    }
    if (ReplySlot == 1) {
        HeartbeatArmed = 0;
        CloseWait();
        EnableModeTabs(false);
        SetEnabled(true);
        PasswordOnlyLogin = 1;
        SendPasswordAndWait();
        return;
    }
    if (ReplySlot >= 2) {
        HeartbeatArmed = SysInfoArg0 >= 1 ? 1 : 0;
        AVDataCliSocket->SetAddr(address);
        AVDataCliSocket->SetProto("tcp");
        AVDataCliSocket->SetPort(Format("%d", std::atoi(port.c_str()) + 1));
        TConnectEnd av = TConnectEnd::Failed;
        try {
            AVDataCliSocket->Connect();
            av = WaitForConnection(AVDataCliSocket, false);
        } catch (const std::exception& e) {
            Trace("ConnectToQel", e.what());
        }
        if (av == TConnectEnd::Terminated || av == TConnectEnd::Ended) return;
        // The log-in goes on without pictures; the user hears it with the log-in's end.
        if (av != TConnectEnd::Connected) {
            Trace("ConnectToQel", "time out");
            DisplayConnectionStatus(AvLinkMissingText());
        }
    }

    Sleep(kLoginStepPauseMs);
    if (SendCommandAndWait(NETCMD_LOGIN_OPTION, 0, kReplyLimitMs) == 0) {
        FailLogin("FAILED:", NETCMD_LOGIN_OPTION, LastWaitEnd());
        return;
    }
    if (LoginOption == 2) {
        CloseWait();
        EnableModeTabs(false);
        SendPasswordAndWait(true);
        return;
    }
    AddDebugLine("SUCCESS:", NETCMD_LOGIN_OPTION);
    Sleep(kLoginStepPauseMs);
    for (DWORD command : {NETCMD_CAMERA_INFO, NETCMD_STATUS}) {
        if (command == NETCMD_CAMERA_INFO) MaxCamera = 0;
        if (SendCommandAndWait(command, 0, kReplyLimitMs) == 0) {
            FailLogin("TIME OUT:", command, LastWaitEnd());
            return;
        }
        if (ReplySlot == 1) {
            AddDebugLine("SUCCESS:", command);
        } else if (ReplySlot == 2) {
            FailLogin("FAILED:", command);
            return;
        }
    }
    Sleep(kLoginStepPauseMs);
    SendPasswordAndWait();
}

void TFrmMain::SendPasswordAndWait(bool optionTwoBox) {
    PasswordAnswered = 0;
    SendNetPacketPassword(FrmLog != nullptr ? FrmLog->mePassword->Text() : std::string());
    Label3->SetCaption(FrmLog != nullptr ? FrmLog->ebIP->Text() : std::string());
    ClearSearchTimeLabels();
    if (optionTwoBox) ShowMessageBox(LoadLangString(59875), LoadLangString(59874), 0);
    // A recorder that never answers the password must not leave the window locked.
    const TWaitEnd end = PumpUntil(
        TActivity::Link, Activities,
        [&] { return PasswordAnswered != 0 || CliSocket->State() != wsConnected; }, kReplyLimitMs);
    if (end == TWaitEnd::TimedOut) FailLogin("TIME OUT:", NETCMD_PASSWORD, end);
}

void TFrmMain::FailLogin(const char* prefix, DWORD command, TWaitEnd end) {
    if (end == TWaitEnd::Terminated) return;
    // Closing below is this program's own doing: no "link lost".
    DisarmHeartbeat();
    CloseWait();
    EnableModeTabs(false);
    ImgPoint->SetCurrentFrame(0);
    Label2->SetCaption("");
    Label3->SetCaption("");
    CloseLinkSockets();
    SetEnabled(true);
    AddDebugLine(prefix, command);
    // A link that went meanwhile was reported by its own closing; silence is what the user would get
    // from a recorder that never answers.
    if (end == TWaitEnd::TimedOut) ShowMessageBox(LoadLangString(60200), LoadLangString(59884), 0);
}

void TFrmMain::LoginAccepted() {
    if (FrmLog != nullptr) FrmLog->Close();
    DisplayConnectionStatus(LoadLangString(59832));
    LoggedIn = 1;
    ImgPoint->SetCurrentFrame(1);
    // The local look of a logged-in client: disconnect instead of connect.
    CurrentMode = kModeLocal;
    btnLocal_mClick(this);
    if (PasswordOnlyLogin != 0) {
        PasswordOnlyLogin = 0;
        ShowMessageBox(LoadLangString(59871), LoadLangString(59870), 0);
    } else if (SysInfoResult >= 2 && AVDataCliSocket->State() != wsConnected) {
        // The log-in asked for the pictures' connection and the recorder never took it.
        ShowMessageBox(AvLinkMissingText(), LoadLangString(59870), 0);
    }
    if (MaxCamera == 4) {
        ShowCameraLayout(4);
    } else {
        ShowSingleCamera(0);
        SelectedCamera = 0;
    }
    ApplyVideoStandard(VideoStandard);
    SaveSetupIni();
    // The setup download fetches it afresh from this recorder.
    DeleteFile(ProgramFolder + "config.ini");
    CloseWait();
    SetEnabled(true);
}

void TFrmMain::LoginRefused() {
    DisarmHeartbeat();
    CloseLinkSockets();
    if (FrmLog != nullptr) FrmLog->Close();
    ShowMessageBox(LoadLangString(59885), LoadLangString(59884), 0);
    BtnDisconnect->Hide();
    BtnConnect->SetVisible(true);
    CloseWait();
    SetEnabled(true);
}

// ---- Connection events ----

void TFrmMain::CliSocketSessionConnected(TObject*, WORD error) {
    if (error != 0) {
        DisplayConnectionStatus(LoadLangString(59840));
        SetEnabled(true);
        DisarmHeartbeat();
        CloseChildForms();
        if (Activities.Running(TActivity::LocalPlayback)) {
            // No recorder was reached: the local playback goes on, on its own screens and slider.
            BtnDisconnect->Hide();
            BtnConnect->SetVisible(true);
        } else {
            CurrentMode = kModeLocal;
            btnLocal_mClick(this);
            SliderSearch->SetKnobPos(0);
        }
        SetControlsEnabled(true);
        ImgPoint->SetCurrentFrame(0);
        return;
    }
    cmdSessionUp_ = true;
    // No picture, label or play list of the last local playback stays on the new recorder's screens.
    ResetScreens();
    DisplayConnectionStatus(CliSocket->Addr());
}

void TFrmMain::CliSocketSessionClosed(TObject*, WORD) {
    // An attempt that never connected is the connect's own to report; nothing ran on it.
    if (!cmdSessionUp_) return;
    cmdSessionUp_ = false;
    // Lost, not ended by the user (whose ways disarm the heartbeat or set DisconnectRequested first).
    const bool lost = HeartbeatArmed != 0 && DisconnectRequested == 0;
    // Closed inside a way out under way: that road owns the window and tells the user.
    const bool nested = Activities.Ending();
    // A way out of the client's own closed the link and ends the rest itself; otherwise it was lost.
    EndActivities(linkLostWay_);
    ImgPoint->SetCurrentFrame(0);
    Label2->SetCaption("");
    Label3->SetCaption("");
    CloseLinkSockets();
    // No half-received file and no queued bytes carry over to the next connection.
    ResetLink();
    HeartbeatMisses = 0;
    TimerHeartBeat->SetEnabled(false);
    LoggedIn = 0;
    DisplayConnectionStatus(LoadLangString(59839));
    SliderSearch->SetKnobPos(0);
    SetControlsEnabled(true);
    BtnDisconnect->Hide();
    BtnConnect->SetVisible(true);
    HeartbeatArmed = 0;
    if (nested) return;
    CloseWait();
    if (lost) ShowMessageBox(LoadLangString(59879), LoadLangString(59878), 0);
    SetEnabled(true);
}

void TFrmMain::DisplayConnectionStatus(const std::string& text) {
    Trace("DisplayConnectionStatus", text);
    if (frmSysLog == nullptr || frmSysLog->lbLog == nullptr) return;
    TStrings* lines = frmSysLog->lbLog->Items();
    lines->Add(text);
    frmSysLog->lbLog->SetItemIndex(lines->Count() - 1);
}

void TFrmMain::BtnDisconnectClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    DisconnectRequested = 1;
    SetEnabled(false);
    ShowWait();
    SetControlsEnabled(true);
    BtnDisconnect->Hide();
    BtnConnect->SetVisible(true);
    LoggedIn = 0;
    // Live view and a search are stopped, the replies and closing events come in, the link is closed.
    if (!EndActivities(TWayOut::Disconnect)) return;
    ImgPoint->SetCurrentFrame(0);
    Label2->SetCaption("");
    Label3->SetCaption("");
    CloseWait();
    SetEnabled(true);
}

// ---- Requests of the other windows ----

void TFrmMain::RequestMaxCamera() {
    // The camera count of this reply, not of an earlier one.
    MaxCamera = 0;
    SendNetPacketCommand(NETCMD_CAMERA_INFO, 0);
    Sleep(kLoginStepPauseMs);
}

int TFrmMain::PasswordLevel() {
    return FrmLog != nullptr ? FrmLog->GetUserLevel() : 2;
}

// ---- Small helpers ----

std::string TFrmMain::AvLinkMissingText() {
    return Format(LoadLangString(kAvLinkMissing).c_str(), AVDataCliSocket->Port().c_str());
}

void TFrmMain::AddDebugLine(const char* prefix, DWORD command) {
    lbDebug->Items()->Add(Format("%s%u", prefix, command)); // untranslated: the hidden debug list
}

void TFrmMain::EnableModeTabs(bool on) {
    btnLive_m->SetEnabled(on);
    btnSer_m->SetEnabled(on);
}

void TFrmMain::ClearSearchTimeLabels() {
    TLabel* const labels[] = {LabelSearchTime, LabelFullSearchTime1, LabelFullSearchTime2,
                              LabelFullSearchTime3, LabelFullSearchTime4};
    for (TLabel* label : labels)
        label->SetCaption("");
}
