// The transport of local playback: play, reverse, pause, stop, the fast speeds and single steps, each
// (re)starting the reader at the frame on screen and switching between the forward and reverse clocks.
// The remote-search branches of the same buttons are in main_playback_remote.cpp.
#include "client/main.h"

#include "client/G726Audio.h"
#include "controls/BmButton.h"
#include "playback/Qelvidfile.h"
#include "recdb/DiskLookups.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Threads.h"

#include <algorithm>

bool TFrmMain::RefusedWhileStreamCopy() {
    if (StreamCopying == 0) return false;
    ShowMessageBox(LoadLangString(50393), LoadLangString(50991), 0);
    return true;
}

bool TFrmMain::TransportRefused() {
    // A click that comes while a wait pumps (the reader filling its rings among them) would start a
    // second frame clock beside the one the waiting handler starts.
    return Activities.RefusesPresses() || RefusedWhileStreamCopy();
}

void TFrmMain::StopPlaybackClocks() {
    MMTimerReverse->SetEnabled(false);
    MMTimerPlayback->SetEnabled(false);
    PlaybackSound(false);
    MMTimerPutItem->SetEnabled(false);
}

void TFrmMain::PlaybackSound(bool on) {
    if (G726Audio == nullptr) return;
    if (on) {
        G726Audio->AudioStart();
        Activities.Begin(TActivity::Sound);
    } else {
        G726Audio->AudioStop();
        Activities.End(TActivity::Sound);
    }
}

void TFrmMain::ShowSpeedInTimeLabels() {
    std::string text = LabelFullSearchTime1->Caption();
    text.replace(0, std::min<std::size_t>(2, text.size()), Label1->Caption());
    for (int k = 0; k < 4; ++k)
        FullTimeLabel(k)->SetCaption(text);
}

void TFrmMain::ShowPlaySpeed() {
    Label1->SetCaption(Format("X%d", PlaySpeed));
    ShowSpeedInTimeLabels();
}

void TFrmMain::ShowPositionTexts(DWORD time) {
    std::string text;
    FrameTimeToText(time, text);
    LabelSearchTime->SetCaption(text);
    for (int k = 0; k < 4; ++k)
        FullTimeLabel(k)->SetCaption(Format("X%d  ", PlaySpeed) + text);
}

bool TFrmMain::ChoosePlaybackFile(std::string& name) {
    name.clear();
    // The reader thread reads the filter while it runs: it gets a copy taken now, with the reader stopped.
    QelSearchFilter filter;
    if (frmSearch != nullptr) {
        filter.searchMode = frmSearch->GetSearchMode();
        filter.searchChannel = frmSearch->GetSearchChannel();
    }
    filter.selectedCamera = SelectedCamera;
    VideoReader->SetSearchFilterSource([filter] { return filter; });
    if (PlayListPos < 0 || PlayListPos >= VideoReader->GetListEnd()) return false;
    if (LocalDbMode == 1) {
        name = GetDbFilePath();
        if (name.empty()) return false;
        VideoReader->SetDbChaining(1, DiskDbRoot, DiskAvRoot, StrToIntDef(DbPlayEntry, 0));
        return true;
    }
    name = VideoReader->GetListItem(PlayListPos);
    return true;
}

bool TFrmMain::OpenChosenFile(const std::string& name, bool hideMarks) {
    // A file gone since it was listed must not leave the transport half switched: the user is told and
    // playback stays paused where it was.
    try {
        if (VideoReader->Open(name) && hideMarks) {
            lbState->SetCaption("");
            HideScreenMarks();
        }
    } catch (const Exception&) {
        PlayState = kPlayStopped;
        PlayPaused = 1;
        ShowMessageBox(LoadLangString(59866), LoadLangString(59886), 0);
        return false;
    }
    return true;
}

void TFrmMain::StartReaderAtCurrent(bool setStartSecond) {
    if (!VideoReader->SeekIndex(CurrentIndexPos)) VideoReader->SeekFirstFrame();
    ClockSecond = static_cast<int>(VideoReader->GetFrameTime());
    if (setStartSecond) ClockStartSecond = ClockSecond;
    VideoReader->StartReader(PlaySpeed, PlayForward, SelectedCamera);
    VideoReader->WakeReader();
}

namespace {

// Play waits no longer for the reader's first frames: a disk that gives nothing for so long does not answer.
constexpr DWORD kRingsLimitMs = 10000;

// The handler ends after the clocks were stopped: nothing runs, so the transport must not claim to play.
void Halted(TFrmMain& m) {
    m.PlayState = kPlayStopped;
    m.PlayPaused = 1;
}

} // namespace

bool TFrmMain::WaitForRings() {
    const TWaitEnd end = PumpUntil(
        TActivity::LocalPlayback, Activities,
        [this] {
            if (VideoReader->IsRingHalfFull(VideoReader->VideoHead()) ||
                VideoReader->IsRingHalfFull(VideoReader->AudioHead()) || !VideoReader->IsReaderRunning())
                return true;
            VideoReader->WakeReader();
            return false;
        },
        kRingsLimitMs);
    if (end == TWaitEnd::TimedOut) {
        // The reader gets nothing from the disk: the transport stops there and says why.
        StopPlaybackClocks();
        StopVideoReader();
        Halted(*this);
        ShowMessageBox(LoadLangString(60600), LoadLangString(59886), 0);
    }
    return end == TWaitEnd::Done;
}

std::string TFrmMain::GetDbFilePath() {
    DbPlayEntry = VideoReader->GetListItem(0);
    return ::GetDbFilePath(DiskDbRoot, DiskAvRoot, DbPlayEntry);
}

bool TFrmMain::FindNextFileInDb(bool next) {
    NextFileRequest request;
    request.dbRoot = DiskDbRoot;
    request.entry0 = DbPlayEntry;
    request.next = next;
    if (frmSearch != nullptr) {
        request.searchMode = frmSearch->GetSearchMode();
        request.searchChannel = frmSearch->GetSearchChannel();
    }
    request.selectedCamera = SelectedCamera;
    request.forwardPlayback = PlayForward != 0;
    const NextFileResult found = ::FindNextFileInDb(request);
    if (found.found) {
        DbPlayEntry = std::to_string(found.seq);
        // Entry 1 is the reader's; entry 0 is only read by this window.
        VideoReader->SetListItem(DbPlayEntry, 0);
        return true;
    }
    if (found.knobPos) SliderSearch->SetKnobPos(*found.knobPos);
    StopStreamCopy();
    PauseTransport();
    return false;
}

void TFrmMain::BtnPlayClick(TObject*) {
    if (TransportRefused()) return;
    PlayTransport();
}

void TFrmMain::PlayTransport() {
    if (RemoteSearchActive()) {
        RemotePlay(true);
        return;
    }
    if (PlayState == kPlayForward || (LastTransportKey == kKeyPlay && PlaySpeed == 1) || !PlaybackFileOpen())
        return;
    StopPlaybackClocks();
    PlaySpeed = 1;
    ShowPlaySpeed();
    PlayForward = 1;
    StopVideoReader();
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) return Halted(*this);
    StartReaderAtCurrent(true);
    // Ended meanwhile (the link's teardown, the recorder disk): nothing is restarted.
    if (!WaitForRings()) return;
    MMTimerPlayback->SetEnabled(true);
    PlaybackSound(true);
    LastTransportKey = kKeyPlay;
    PlayPaused = 0;
    PlayState = kPlayForward;
}

void TFrmMain::BtnReverseClick(TObject*) {
    if (TransportRefused()) return;
    if (PlayState == kPlayReverse || (LastTransportKey == kKeyReverse && PlaySpeed == 1) ||
        !PlaybackFileOpen())
        return;
    StopPlaybackClocks();
    PlaySpeed = 1;
    ShowPlaySpeed();
    ClockFrameSlot = 30;
    PlayForward = 0;
    StopVideoReader();
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) return Halted(*this);
    StartReaderAtCurrent(true);
    if (!WaitForRings()) return;
    MMTimerReverse->SetEnabled(true);
    PlaybackSound(false);
    LastTransportKey = kKeyReverse;
    PlayPaused = 0;
    PlayState = kPlayReverse;
}

void TFrmMain::BtnPauseClick(TObject*) {
    if (TransportRefused()) return;
    PauseTransport();
}

void TFrmMain::PauseTransport() {
    if (RemoteSearchActive()) {
        RemotePause(true);
        return;
    }
    if (PlayState == kPlayStopped || LastTransportKey == kKeyPause || !PlaybackFileOpen()) return;
    PlaySpeed = 1;
    ShowPlaySpeed();
    MMTimerPutItem->SetEnabled(false);
    MMTimerPlayback->SetEnabled(false);
    MMTimerReverse->SetEnabled(false);
    PlaybackSound(false);
    PlayPaused = 1;
    LastTransportKey = kKeyPause;
    PlayState = kPlayStopped;
}

void TFrmMain::BtnStopClick(TObject*) {
    if (TransportRefused()) return;
    if (RemoteSearchActive()) {
        RemoteStopSearch();
        return;
    }
    if (LastTransportKey == kKeyStop || !PlaybackFileOpen()) return;
    StopPlaybackClocks();
    PlaySpeed = 1;
    ShowPlaySpeed();
    ClockFrameSlot = 1;
    StopVideoReader();
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) return Halted(*this);
    if (VideoReader->SeekFirstFrame()) {
        CurrentIndexPos = VideoReader->GetIndexPos();
        CurrentIndexCount = VideoReader->GetIndexCount();
        ShowPositionTexts(VideoReader->GetFrameTime());
        if (CurrentIndexPos == 0) SliderSearch->SetKnobPos(0);
        ShowStillFrames();
    }
    LastTransportKey = kKeyStop;
    PlayPaused = 1;
    PlayState = kPlayStopped;
    if (LocalDbMode == 1) {
        BtnRecStart->Hide();
        BtnRecStop->Hide();
        if (frmMinTable != nullptr) frmMinTable->Show();
    }
}

void TFrmMain::RestartPlayback() {
    StopPlaybackClocks();
    StopVideoReader();
    std::string name;
    if (!ChoosePlaybackFile(name) || !OpenChosenFile(name)) return Halted(*this);
    StartReaderAtCurrent(true);
    if (!WaitForRings()) return;
    if (PlayForward != 0) {
        PlaybackSound(PlaySpeed == 1);
        MMTimerPlayback->SetEnabled(true);
    } else {
        MMTimerReverse->SetEnabled(true);
    }
    ShowPlaySpeed();
}

void TFrmMain::BtnFastPlayClick(TObject*) {
    if (TransportRefused()) return;
    if (FastPlayIdle == 0) return;
    if (PlayState != kPlayForward && PlayState != kPlayFastForward) return;
    PlaySpeed = NextPlaySpeed(PlaySpeed);
    PlayForward = 1;
    PlayState = PlaySpeed == 1 ? kPlayForward : kPlayFastForward;
    FastPlayIdle = 0;
    RestartPlayback();
    FastPlayIdle = 1;
    LastTransportKey = kKeyFastPlay;
}

void TFrmMain::BtnFastReverseClick(TObject*) {
    if (TransportRefused()) return;
    if (FastReverseIdle == 0) return;
    if (PlayState != kPlayReverse && PlayState != kPlayFastReverse) return;
    PlaySpeed = NextPlaySpeed(PlaySpeed);
    PlayForward = 0;
    PlayState = PlaySpeed == 1 ? kPlayReverse : kPlayFastReverse;
    FastReverseIdle = 0;
    RestartPlayback();
    FastReverseIdle = 1;
    LastTransportKey = kKeyFastReverse;
}

bool TFrmMain::StepRestart(bool forward) {
    StopPlaybackClocks();
    const bool running = PlayForward == (forward ? 1 : 0) && PlaySpeed == 1 &&
                         VideoReader->VideoHead().count.load() > 0 && VideoReader->IsReaderRunning();
    if (running) return true;
    PlaySpeed = 1;
    ShowPlaySpeed();
    PlayForward = forward ? 1 : 0;
    StopVideoReader();
    std::string name;
    if (!ChoosePlaybackFile(name)) return true;
    const bool atEdge = forward ? CurrentIndexPos + 1 == CurrentIndexCount : CurrentIndexPos == 0;
    if (!OpenChosenFile(name, atEdge)) return true;
    StartReaderAtCurrent(false);
    // At the edge of the file the first record is the frame on screen again: the step passes over it
    // into the next file.
    return WaitForRings();
}

void TFrmMain::BtnNextClick(TObject*) {
    if (TransportRefused()) return;
    if (RemoteSearchActive()) {
        RemoteStep(true);
        return;
    }
    if (PlaybackFileOpen() && !StepRestart(true)) return;
    PlaySpeed = 1;
    ShowPlaySpeed();
    PlayForward = 1;
    StepFrame(true);
    PlayPaused = 1;
    LastTransportKey = kKeyNext;
    PlayState = kPlayStopped;
}

void TFrmMain::BtnPrevClick(TObject*) {
    if (TransportRefused()) return;
    if (RemoteSearchActive()) return;
    if (PlaybackFileOpen() && !StepRestart(false)) return;
    PlaySpeed = 1;
    ShowPlaySpeed();
    PlayForward = 0;
    StepFrame(false);
    PlayPaused = 1;
    LastTransportKey = kKeyPrev;
    PlayState = kPlayStopped;
}
