// A recorder disk attached to this computer: the detect button, the recorder-disk search button, the
// class of a drive, the walk between the hour folders of its recording tree, and letting the disk go.
#include "client/main.h"

#include "client/LinkWait.h"

#include "playback/FileList.h"
#include "playback/LocalSearch.h"
#include "playback/Qelvidfile.h"
#include "playback/RecorderDisk.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
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

// What went wrong with a volume, in the user's language; the system's own words, when it gave any, on the
// next line.
std::string FailureText(const TFrmMain& main, const TDiskFailure& failure) {
    using volumes::TVolumeFault;
    if (failure.fault == TVolumeFault::kOnSystemDisk)
        return Format(main.LoadLangString(60103).c_str(), failure.device.c_str(), failure.label.c_str());
    const int id = failure.fault == TVolumeFault::kNoMountTool    ? 60105
                   : failure.fault == TVolumeFault::kNoFileSystem ? 60106
                                                                  : 60104;
    const std::string text = Format(main.LoadLangString(id).c_str(), failure.device.c_str());
    return failure.detail.empty() ? text : text + "\n" + failure.detail;
}

std::vector<std::string> FailureTexts(const TFrmMain& main, const std::vector<TDiskFailure>& failures) {
    std::vector<std::string> texts;
    for (const TDiskFailure& failure : failures)
        texts.push_back(FailureText(main, failure));
    return texts;
}

} // namespace

void TFrmMain::BtnDetectUsbClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    Trace("BtnDetectUsbClick", "Entering");
    Sleep(100);
    std::string root;
    std::vector<TDiskFailure> failures;
    if (!DtIsQelMounted(root)) {
        Trace("BtnDetectUsbClick", "Qel Not Yet Mounted");
        // The kernel reads EXT2 itself: there is no driver to install before mounting.
        DtFindAndMountExt2Drive(root, failures);
    }
    std::vector<std::string> errors = FailureTexts(*this, failures);
    Activities.Begin(TActivity::LocalTask);
    try {
        // xdg-open may take seconds to try every program it knows: the window keeps drawing meanwhile,
        // a second press is refused, and the power button ends the wait.
        if (!root.empty())
            volumes::OpenFolder(
                root, [this] { return PumpFor(TActivity::LocalTask, Activities, 0) == TWaitEnd::TimedOut; });
    } catch (const EVolumeError& e) {
        Trace("BtnDetectUsbClick", e.Message);
        const int id = e.Fault == volumes::TVolumeFault::kNoOpener ? 60101 : 60102;
        errors.push_back(Format(LoadLangString(id).c_str(), root.c_str()));
    }
    const bool ended = !Activities.Running(TActivity::LocalTask);
    Activities.End(TActivity::LocalTask);
    if (ended) return;
    if (!errors.empty())
        ShowMessageBox(Lines(errors), LoadLangString(59886), 0);
    else if (root.empty())
        ShowMessageBox(LoadLangString(60100), LoadLangString(50486), 0);
    Trace("BtnDetectUsbClick", "Leaving");
}

void TFrmMain::ReleaseRecorderDisk() {
    // Files open on the disk would keep it busy.
    StopVideoReader();
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
    DiskMountErrors = FailureTexts(*this, found.errors);
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
    if (Activities.RefusesPresses()) return;
    if (RefusedWhileStreamCopy()) return;
    BtnRecStart->Hide();
    BtnRecStop->Hide();
    SetEnabled(false);
    FolderWalkMode = 0;
    PauseTransport();
    StopVideoReader();
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
