// The power button: the orderly end of the program, and the working folder's removal.
#include "client/main.h"

#include "client/Wait.h"

#include "bitmap32/Bmp32_System.h"
#include "controls/MMTimer.h"
#include "controls/imgframe.h"
#include "net/WSocket.h"
#include "playback/Qelvidfile.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Threads.h"
#include "platform/win/Modules.h"

namespace {

// Replies to the stop commands and the sockets' closing events come in meanwhile.
constexpr DWORD kShutdownPumpMs = 5000;

DWORD TicksBetween(DWORD from, DWORD to) {
    return from <= to ? to - from : from - to;
}

} // namespace

void TFrmMain::BtnPowerClick(TObject*) {
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
    MMTimerPutItem->SetEnabled(false);
    MMTimerPlayback->SetEnabled(false);
    MMTimerReverse->SetEnabled(false);

    VideoReader->StopReader();
    PlaybackStopped = 1;
    DisconnectRequested = 1;
    // Closing the sockets below is this program's own doing, not a lost link.
    HeartbeatArmed = 0;

    if (FrmWait != nullptr) FrmWait->Show();
    SetEnabled(false);
    DeleteFile(ProgramFolder + "temp.ini");
    SetControlsEnabled(true);

    const DWORD start = Bmp32_System::GetTickCount();
    while (TicksBetween(start, Bmp32_System::GetTickCount()) < kShutdownPumpMs) {
        Application->ProcessMessages();
        if (Application->Terminated()) return;
        Sleep(0);
    }

    if (FrmWait != nullptr) FrmWait->Close();
    ImgPoint->SetCurrentFrame(0);
    Label2->SetCaption("");
    Label3->SetCaption("");
    AVDataCliSocket->Close();
    CliSocket->Close();
    UnloadG726();
    ReleaseRecorderDisk();
    DeleteFolderTree(ProgramFolder + "Temporary/");
    SaveSetupIni();
    Close();
}

void TFrmMain::BtnCloseClick(TObject* sender) {
    BtnPowerClick(sender);
}

void TFrmMain::DeleteFolderTree(const std::string& path) {
    const std::string folder = ExcludeTrailingPathDelimiter(WinPathToNative(path));
    // Only a folder is emptied; a link (to a folder or not) is removed as a link by DeleteTree.
    const int attributes = FileGetAttr(folder);
    if (attributes == -1 || (attributes & faDirectory) == 0) return;
    DeleteTree(folder);
}
