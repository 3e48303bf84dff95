// The main window's debug buttons, kept out of the visible layout: a config.ini upload without the
// setup pass, the multicast group joined again with a smaller buffer, the upload and log windows, the
// play state in the client log, the heartbeat on and off; and the A/V server socket's accept.
#include "client/LinkNumbers.h"
#include "client/main.h"

#include "net/WSocket.h"
#include "setup/Syslog.h"
#include "setup/Upload.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/WinUser.h"

namespace {

void Trace(const char* method, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + method).c_str(), message);
}

constexpr DWORD kDebugMulticastBuffer = 512000;
constexpr DWORD kDebugMulticastPauseMs = 2000;
constexpr int kDebugWindowLeft = 300;
constexpr int kDebugWindowTop = 500;
constexpr std::size_t kTitleChars = 999;

TForm* FormCaptioned(const std::string& caption) {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Caption() == caption) return Screen->Forms(i);
    return nullptr;
}

} // namespace

void TFrmMain::Button1Click(TObject*) {
    if (CliSocket->State() != wsConnected) return;
    // The recorder's file as this program keeps it, where every received file is stored.
    const std::string path = ProgramFolder + "config.ini";
    std::string bytes;
    if (!ReadFileBytes(path, kMaxSetupFileBytes, bytes)) {
        Trace("Button1Click", Format("cannot read %s", path.c_str()));
        return;
    }
    SendFileUpload(QELFILE_CONFIG, bytes);
}

void TFrmMain::Button2Click(TObject*) {
    JoinMulticastGroup(McastGroup, McastPort, kDebugMulticastBuffer, kDebugMulticastPauseMs);
}

void TFrmMain::Button3Click(TObject*) {
    if (frmUpload != nullptr) frmUpload->Show();
}

void TFrmMain::Button5Click(TObject*) {
    DisplayConnectionStatus(IntToStr(PlayState));
}

void TFrmMain::Button6Click(TObject* sender) {
    if (frmSysLog == nullptr) return;
    if (frmSysLog->WindowState() == wsMinimized)
        frmSysLog->SetWindowState(wsNormal);
    else
        BtnLoglistClick(sender);
}

void TFrmMain::Button7Click(TObject*) {
    // Only this program's own windows are moved or closed, and never the main window itself: it ends
    // through the power button, which saves the settings and releases a recorder disk.
    TForm* const log = FormCaptioned("Harbek Log");
    auto* const foreground = dynamic_cast<TForm*>(FindControl(GetForegroundWindow()));
    for (TForm* form : {log, foreground})
        if (form != nullptr)
            SetWindowPos(form->Handle(), HWND_TOPMOST, kDebugWindowLeft, kDebugWindowTop, 0, 0, SWP_NOSIZE);
    if (foreground == nullptr || foreground == this) return;
    PostMessage(foreground->Handle(), WM_CLOSE, 0, 0);
    Trace("Button7Click", foreground->Caption().substr(0, kTitleChars));
}

void TFrmMain::Button11Click(TObject*) {
    TimerHeartBeat->SetEnabled(true);
    HeartbeatArmed = 1;
}

void TFrmMain::Button12Click(TObject*) {
    TimerHeartBeat->SetEnabled(false);
    HeartbeatArmed = 0;
}

void TFrmMain::SocketAVDataServerSessionAvailable(TObject*, WORD error) {
    if (error != 0) return;
    try {
        const TSocket accepted = SocketAVDataServer->Accept();
        if (accepted != winsock::INVALID_SOCKET) SocketSClient->Dup(accepted);
    } catch (const ESocketException& e) {
        Trace("SocketAVDataServerSessionAvailable", e.Message);
    }
}
