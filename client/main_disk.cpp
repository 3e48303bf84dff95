// A recorder disk attached to this computer: the detect button, the recorder-disk search button, the
// class of a drive, the walk between the hour folders of its recording tree, and letting the disk go.
#include "client/main.h"

#include "playback/FileList.h"
#include "playback/LocalSearch.h"
#include "playback/Qelvidfile.h"
#include "playback/RecorderDisk.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"
#include "platform/disk/Volumes.h"

namespace {

void Trace(const char* where, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + where).c_str(), message);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

const char* const TFrmMain::kNoRecorderDisk =
    // untranslated: table text to come
    "No recorder disk was found. Attach the recorder's disk to this computer and try again.";

void TFrmMain::BtnDetectUsbClick(TObject*) {
    Trace("BtnDetectUsbClick", "Entering");
    Sleep(100);
    std::string root;
    std::vector<std::string> errors;
    if (!DtIsQelMounted(root)) {
        Trace("BtnDetectUsbClick", "Qel Not Yet Mounted");
        // The kernel reads EXT2 itself: there is no driver to install before mounting.
        DtFindAndMountExt2Drive(root, errors);
    }
    try {
        // xdg-open may take seconds to try every program it knows: the window keeps drawing meanwhile.
        if (!root.empty()) volumes::OpenFolder(root, [] { Application->ProcessMessages(); });
    } catch (const Exception& e) {
        errors.push_back(e.Message);
    }
    if (!errors.empty())
        ShowMessageBox(Lines(errors), LoadLangString(59886), 0);
    else if (root.empty())
        ShowMessageBox(kNoRecorderDisk, LoadLangString(50486), 0);
    Trace("BtnDetectUsbClick", "Leaving");
}

void TFrmMain::ReleaseRecorderDisk() {
    // Files open on the disk would keep it busy.
    VideoReader->StopReader();
    VideoReader->Close();
    for (const std::string& error : volumes::UnmountOwnVolumes())
        Trace("ReleaseRecorderDisk", error);
}

int TFrmMain::ClassifyDrive(const std::string& root) {
    return ClassifyVolumeRoot(root);
}

void TFrmMain::FindQelVolumes(std::string& dbRoot, std::string& avRoot) {
    const QelVolumes found = ::FindQelVolumes();
    if (!found.databaseRoot.empty()) dbRoot = found.databaseRoot;
    if (!found.recordingRoot.empty()) avRoot = found.recordingRoot;
    DiskMountErrors = found.errors;
}

bool TFrmMain::FindAdjacentFolder(const std::string& folder, bool first, bool forward) {
    try {
        const std::optional<std::string> next = AdjacentFolder(folder, CurrentFolder, first, forward);
        if (!next) return false;
        CurrentFolder = *next;
        return true;
    } catch (const Exception& e) {
        Trace("FindAdjacentFolder", e.Message);
        // A tree that cannot be read must not be walked again on every end of file.
        FolderWalkMode = 0;
        return false;
    }
}

bool TFrmMain::WalkToAdjacentFolder(bool forward) {
    if (FolderWalkMode == 0 || !FindAdjacentFolder(DiskAvRoot, false, forward)) return false;
    const BYTE saved = PlayForward;
    PlayForward = forward ? 1 : 0;
    LoadFolderPlayList(DiskAvRoot + CurrentFolder, forward);
    PlayForward = saved;
    return PlaybackFileOpen();
}

void TFrmMain::BtnSearchClick(TObject*) {
    if (RefusedWhileStreamCopy()) return;
    BtnRecStart->Hide();
    BtnRecStop->Hide();
    SetEnabled(false);
    FolderWalkMode = 0;
    BtnPauseClick(this);
    VideoReader->StopReader();
    VideoReader->Close();
    std::string dbRoot, avRoot;
    FindQelVolumes(dbRoot, avRoot);
    if (frmLocalSearch != nullptr)
        frmLocalSearch->btnCalendar->SetEnabled(!dbRoot.empty() && !avRoot.empty());
    DiskAvRoot = avRoot;
    DiskDbRoot = dbRoot;
    SearchSource = 0;
    ResetScreens();
    // A recorder disk that is attached but would not mount is told; FILE still plays any folder.
    if (!DiskMountErrors.empty()) ShowMessageBox(Lines(DiskMountErrors), LoadLangString(59849), 0);
    if (frmLocalSearch != nullptr)
        frmLocalSearch->Show();
    else
        SetEnabled(true);
}
