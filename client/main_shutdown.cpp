// The end of the program, whichever way asks for it (the power and close buttons, the window manager's
// close, a termination signal, the end of the desktop session), and the working folder's removal.
#include "client/main.h"

#include "controls/imgframe.h"
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Threads.h"
#include "platform/win/Modules.h"

namespace {

const char* EndRequestName(TFrmMain::TEndRequest request) {
    switch (request) {
    case TFrmMain::TEndRequest::PowerButton:
        return "power button";
    case TFrmMain::TEndRequest::WindowClose:
        return "window manager's close";
    case TFrmMain::TEndRequest::Signal:
        return "signal";
    default:
        return "end of the desktop session";
    }
}

} // namespace

void TFrmMain::EndProgram(TEndRequest request) {
    // A second request, also one handled inside a wait of the first, finds the end under way.
    if (programEnd_ != TProgramEnd::NotAsked) return;
    DebugTrace("TFrmMain::EndProgram", EndRequestName(request));
    if (StreamCopying != 0) {
        if (request == TEndRequest::PowerButton || request == TEndRequest::WindowClose) {
            ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
            return;
        }
        // Nobody is there to say where the copy goes: it is closed whole and stays in "Backup/", where
        // the next copy's move takes it along.
        FinishStreamCopyFile();
    }
    programEnd_ = TProgramEnd::ShuttingDown;
    PlaybackStopped = 1;
    DisconnectRequested = 1;
    // Closing the sockets on the way is this program's own doing, not a lost link.
    HeartbeatArmed = 0;
    // Without a recorder there is nothing to wait for.
    const bool linkUp = CliSocket->State() == wsConnected;
    if (linkUp) ShowWait();
    SetEnabled(false);
    DeleteFile(ProgramFolder + "temp.ini");
    SetControlsEnabled(true);

    // Live view and a search are stopped, the replies and closing events come in, the link is closed,
    // the sound and the frame clocks stop.
    if (!EndActivities(TWayOut::PowerOff)) return;

    CloseWait();
    ImgPoint->SetCurrentFrame(0);
    Label2->SetCaption("");
    Label3->SetCaption("");
    UnloadG726();
    ReleaseRecorderDisk();
    DeleteFolderTree(ProgramFolder + "Temporary/");
    SaveSetupIni();
    CloseProgram();
}

void TFrmMain::CloseProgram() {
    programEnd_ = TProgramEnd::Closing;
    Close();
}

void TFrmMain::BtnPowerClick(TObject*) {
    EndProgram(TEndRequest::PowerButton);
}

void TFrmMain::BtnCloseClick(TObject*) {
    EndProgram(TEndRequest::PowerButton);
}

void TFrmMain::FormCloseQuery(TObject*, bool& canClose) {
    if (programEnd_ == TProgramEnd::Closing) return;
    canClose = false;
    EndProgram(TEndRequest::WindowClose);
}

void TFrmMain::DeleteFolderTree(const std::string& path) {
    const std::string folder = ExcludeTrailingPathDelimiter(WinPathToNative(path));
    // Only a folder is emptied; a link (to a folder or not) is removed as a link by DeleteTree.
    const int attributes = FileGetAttr(folder);
    if (attributes == -1 || (attributes & faDirectory) == 0) return;
    DeleteTree(folder);
}
