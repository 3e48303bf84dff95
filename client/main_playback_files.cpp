// How a recording gets into local playback and how First and Last move to the start or end of a file and
// across files of the play list.
#include "client/main.h"

#include "controls/BmButton.h"
#include "net/WSocket.h"
#include "playback/FileList.h"
#include "playback/Qelvidfile.h"
#include "playback/RecorderDisk.h"
#include "recdb/Search.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"
#include "platform/disk/Volumes.h"
#include "platform/vcl/Dialogs.h"

#include <algorithm>

namespace {

// The play-list panel follows the position while it lies inside the panel's list.
void SelectInPanel(int position) {
    if (frmFileList == nullptr || position < 0) return;
    if (position < frmFileList->lbFileList->Items()->Count()) frmFileList->lbFileList->SetItemIndex(position);
}

} // namespace

void TFrmMain::OpenPlaybackFile(const std::string& name) {
    TLabel* const texts[] = {lbState,
                             LabelSearchTime,
                             LabelFullSearchTime1,
                             LabelFullSearchTime2,
                             LabelFullSearchTime3,
                             LabelFullSearchTime4};
    for (TLabel* text : texts)
        text->SetCaption("");
    HideScreenMarks();
    // The reader must not read the old file while the new one is opened.
    StopPlaybackClocks();
    StopVideoReader();
    if (PlayState != kPlayStopped) {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        LastTransportKey = kKeyPause;
    }
    bool indexed = false;
    bool opened = false;
    try {
        indexed = VideoReader->Open(name);
        opened = true;
    } catch (const Exception&) {
        Activities.End(TActivity::LocalPlayback);
        CurrentIndexPos = 0;
        CurrentIndexCount = 1;
        VideoReader->Close();
        ShowMessageBox(LoadLangString(59866), LoadLangString(59886), 0);
    }
    // Not one frame in it (its index and a scan found none): the user is told, not left before black
    // screens, and the transport has nothing to play.
    if (opened && !indexed && !VideoReader->SeekFirstFrame()) {
        Activities.End(TActivity::LocalPlayback);
        ShowMessageBox(LoadLangString(60601) + "\n" + name, LoadLangString(59886), 0);
    }
    if (indexed && VideoReader->SeekFirstFrame()) {
        for (int k = 0; k < 4; ++k) {
            CameraLabel(k)->SetCaption("");
            EmptyScreen(k);
        }
        ForgetScreenFrames();
        // The readings of the recording before do not belong over this one's blank screens.
        ClearOverlayTexts();
        Sleep(0);
        const DWORD t = VideoReader->GetFrameTime();
        ClockSecond = static_cast<int>(t);
        ShowPositionTexts(t);
        FileStandard = VideoReader->GetFrameInfo()[1];
        if (FullMode == 0) {
            ApplyVideoStandard(FileStandard);
            if (LocalDbMode == 1 && frmSearch != nullptr) {
                const int channel = frmSearch->GetSearchChannel();
                if (channel >= 1 && channel <= 4)
                    ShowCamera(channel - 1);
                else
                    MenuItemQuadClick(this);
            }
        }
        SaveSetupIni();
        CurrentIndexPos = VideoReader->GetIndexPos();
        CurrentIndexCount = VideoReader->GetIndexCount();
        ClockFrameSlot = static_cast<int>(VideoReader->GetFrameAttr());
        PlayForward = 1;
        Activities.Begin(TActivity::LocalPlayback);
        // The local look leaves these four disabled (a link's transport is the recorder's): an open file
        // gives them back.
        for (TBmButton* button : {BtnPlay, BtnPause, BtnStop, BtnNext})
            EnableSkinButton(button, true);
        SliderSearch->SetKnobPos(KnobOfIndex(CurrentIndexPos, CurrentIndexCount));
        // The time shown is the first frame's: so are the pictures.
        ShowStillFrames();
    }
    const bool hasIndex = VideoReader->GetIndexCount() != 0;
    // The knob moves only while the slider takes input.
    if (!hasIndex) SliderSearch->SetKnobPos(0);
    SliderSearch->SetEnable(hasIndex);
    BtnOpenMap->SetVisible(true);
}

void TFrmMain::ResetScreens() {
    ClearSearchTimeLabels();
    for (int k = 0; k < 4; ++k)
        CameraLabel(k)->SetCaption("");
    ClearOverlayTexts();
    HideScreenMarks();
    ForgetScreenFrames();
    Activities.End(TActivity::LocalPlayback);
    FileListShown = 0;
    SliderSearch->SetKnobPos(0);
    SliderSearch->SetEnable(false);
    VideoReader->ClearList();
    if (frmFileList != nullptr) {
        frmFileList->lbFileList->Items()->Clear();
        frmFileList->Hide();
    }
    EmptyScreens();
}

namespace {

// Playback was running before First or Last and goes on after it.
bool WasRunning(const TFrmMain& m) {
    switch (m.LastTransportKey) {
    case kKeyFastReverse:
    case kKeyReverse:
    case kKeyPlay:
    case kKeyFastPlay:
        return true;
    case kKeyFirst:
    case kKeyLast:
        return m.PlayPaused == 0;
    default:
        return false;
    }
}

} // namespace

void TFrmMain::BtnLastClick(TObject*) {
    if (TransportRefused()) return;
    if (!PlaybackFileOpen()) {
        SliderSearch->SetKnobPos(1000);
        return;
    }
    const bool running = WasRunning(*this);
    StopPlaybackClocks();
    ShowPlaySpeed();
    ClockFrameSlot = 1;
    StopVideoReader();
    const bool nextFile = (LastTransportKey == kKeyLast && PlayPaused != 0) || PlayState == kPlayForward ||
                          PlayState == kPlayFastForward;
    if (nextFile && CurrentIndexPos + 1 == CurrentIndexCount && LocalDbMode == 1) {
        if (!FindNextFileInDb(true)) return;
    } else if (nextFile && CurrentIndexPos + 1 == CurrentIndexCount) {
        PlayListPos += 1;
        if (PlayListPos >= VideoReader->GetListEnd()) {
            PlayListPos = std::max(VideoReader->GetListEnd() - 1, 0);
            if (WalkToAdjacentFolder(true)) {
                ShowFolderEdge(false);
                return;
            }
            // Already at the last frame of the last file: playback rests there.
            PlayState = kPlayStopped;
            PlayPaused = 1;
            LastTransportKey = kKeyLast;
            SliderSearch->SetKnobPos(1000);
            return;
        }
        SelectInPanel(PlayListPos);
    }
    // The reader may have read ahead into a later file: the file on screen is opened again.
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        return;
    }
    if (VideoReader->SeekLastFrame()) {
        CurrentIndexPos = VideoReader->GetIndexPos();
        CurrentIndexCount = VideoReader->GetIndexCount();
        const DWORD t = VideoReader->GetFrameTime();
        ShowPositionTexts(t);
        SliderSearch->SetKnobPos(1000);
        ClockSecond = static_cast<int>(t);
        ClockStartSecond = ClockSecond;
    }
    if (running) {
        VideoReader->StartReader(PlaySpeed, PlayForward, SelectedCamera);
        VideoReader->WakeReader();
        if (!WaitForRings()) return;
        PlaybackSound(PlayForward != 0 && PlaySpeed == 1);
        (PlayForward != 0 ? MMTimerPlayback : MMTimerReverse)->SetEnabled(true);
    } else {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        ShowStillFrames();
    }
    ShowPlaySpeed();
    LastTransportKey = kKeyLast;
    SliderSearch->SetKnobPos(1000);
}

void TFrmMain::BtnFirstClick(TObject*) {
    if (TransportRefused()) return;
    if (!PlaybackFileOpen()) {
        SliderSearch->SetKnobPos(0);
        return;
    }
    const bool running = WasRunning(*this);
    StopPlaybackClocks();
    ShowPlaySpeed();
    ClockFrameSlot = 1;
    StopVideoReader();
    const bool previousFile = (LastTransportKey == kKeyFirst && PlayPaused != 0) ||
                              PlayState == kPlayReverse || PlayState == kPlayFastReverse;
    if (previousFile && CurrentIndexPos == 0 && LocalDbMode == 1) {
        if (!FindNextFileInDb(false)) return;
    } else if (previousFile && CurrentIndexPos == 0) {
        PlayListPos -= 1;
        if (PlayListPos < std::max(VideoReader->GetListStart(), 0)) {
            PlayListPos = std::max(VideoReader->GetListStart(), 0);
            if (WalkToAdjacentFolder(false)) {
                ShowFolderEdge(true);
                return;
            }
            PlayState = kPlayStopped;
            PlayPaused = 1;
            LastTransportKey = kKeyFirst;
            SliderSearch->SetKnobPos(0);
            return;
        }
        SelectInPanel(PlayListPos);
    }
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        return;
    }
    if (VideoReader->SeekFirstFrame()) {
        CurrentIndexPos = VideoReader->GetIndexPos();
        CurrentIndexCount = VideoReader->GetIndexCount();
        const DWORD t = VideoReader->GetFrameTime();
        ShowPositionTexts(t);
        SliderSearch->SetKnobPos(0);
        ClockSecond = static_cast<int>(t);
        ClockStartSecond = ClockSecond;
    }
    if (running) {
        VideoReader->StartReader(PlaySpeed, PlayForward, SelectedCamera);
        VideoReader->WakeReader();
        if (!WaitForRings()) return;
        PlaybackSound(PlayForward != 0 && PlaySpeed == 1);
        (PlayForward != 0 ? MMTimerPlayback : MMTimerReverse)->SetEnabled(true);
    } else {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        ShowStillFrames();
    }
    ShowPlaySpeed();
    LastTransportKey = kKeyFirst;
    SliderSearch->SetKnobPos(0);
}

void TFrmMain::LoadFolderPlayList(const std::string& folder, bool fromStart) {
    const bool found = !folder.empty() && frmFileList != nullptr &&
                       frmFileList->LoadFolder(folder + "/", "????????????????");
    // Ended meanwhile: whoever ended it has told the user; the folder's files are not missing.
    if (!found && frmFileList != nullptr && frmFileList->ScanEnded()) {
        SetEnabled(true);
        return;
    }
    if (found && frmFileList->GetFileCount() > 0) {
        FileListCount = frmFileList->GetFileCount();
        VideoReader->SetListStart(0);
        VideoReader->SetListEnd(FileListCount);
        if (FullMode == 0) {
            frmFileList->Show();
            FileListShown = 1;
        }
        PlayListPos = PlayForward != 0 ? 0 : FileListCount - 1;
        frmFileList->lbFileList->SetItemIndex(PlayListPos);
        if (PlayListPos >= 0 && PlayListPos < FileListCount) {
            SetEnabled(true);
            VideoReader->SetDbChaining(0, DiskDbRoot, DiskAvRoot, 0);
            OpenPlaybackFile(VideoReader->GetListItem(PlayListPos));
        }
    } else if (FolderWalkMode == 0) {
        // Walking on to the next folder of a recorder disk needs the disk's folder tree, which a plain
        // folder does not have: it plays only its own files.
        ShowMessageBox(LoadLangString(59841), LoadLangString(59849), 0);
    } else if (FindAdjacentFolder(DiskAvRoot, false, fromStart)) {
        // Each step moves the current folder on, so a run of empty folders ends at the tree's edge.
        LoadFolderPlayList(DiskAvRoot + CurrentFolder, fromStart);
    } else {
        PauseTransport();
    }
    SetEnabled(true);
}

void TFrmMain::ShowFolderEdge(bool first) {
    if (!PlaybackFileOpen()) return;
    if (first ? VideoReader->SeekFirstFrame() : VideoReader->SeekLastFrame()) {
        CurrentIndexPos = VideoReader->GetIndexPos();
        CurrentIndexCount = VideoReader->GetIndexCount();
        const DWORD t = VideoReader->GetFrameTime();
        ShowPositionTexts(t);
        ClockSecond = static_cast<int>(t);
        ClockStartSecond = ClockSecond;
    }
    ShowStillFrames();
    PlayState = kPlayStopped;
    PlayPaused = 1;
    LastTransportKey = first ? kKeyFirst : kKeyLast;
    SliderSearch->SetKnobPos(first ? 0 : 1000);
}

void TFrmMain::OpenLocalPlayback() {
    if (CliSocket->State() == wsConnected) return;
    // Backups are what is played here.
    if (LocalPlaybackFolder.empty()) LocalPlaybackFolder = ChooserStartFolder(TChooser::Backup);
    TimerDialogPosition->SetEnabled(true);
    std::string folder = LocalPlaybackFolder;
    if (!SelectDirectory(LoadLangString(59827), "", folder)) {
        SetEnabled(true);
        return;
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    LocalPlaybackFolder = folder;
    BtnStopClick(this);
    PlayForward = 1;
    // The volume holding the folder stands for the drive it was chosen on.
    volumes::MountEntry mount;
    std::string root = volumes::MountOfPath(folder, mount) ? mount.mountPoint : folder;
    if (root.empty() || root.back() != '/') root += '/';
    DiskAvRoot = root;
    CurrentFolder.assign(1, '0'); // not = "0": GCC 12 warns of a false overlap there
    FolderWalkMode = 0;
    const int drive = ClassifyDrive(root);
    if (drive == kQelRecordingVolume || drive == volumes::kDriveRemovable) {
        FolderWalkMode = 1;
        if (folder + "/" == root || folder == root) {
            if (FindAdjacentFolder(root, true, true)) folder = root + CurrentFolder;
        } else {
            CurrentFolder = folder.substr(root.size());
        }
    } else if (drive == volumes::kDriveUnknown) {
        folder.clear();
    }
    if (frmFileList != nullptr) frmFileList->lbFileList->Items()->Clear();
    VideoReader->ClearList();
    LastTransportKey = kKeyFirst;
    LoadFolderPlayList(folder, true);
}
