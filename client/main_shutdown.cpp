// The power button: the orderly end of the program, and the working folder's removal.
#include "client/main.h"

#include "controls/imgframe.h"
#include "net/WSocket.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Threads.h"
#include "platform/win/Modules.h"

void TFrmMain::BtnPowerClick(TObject*) {
    if (StreamCopying != 0) {
        ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
        return;
    }
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
