// The position slider of local playback: a press stops the clocks, a drag moves the knob, the release
// goes to the frame the knob stands for and plays on from there when playback was running.
#include "client/main.h"

#include "client/LinkWait.h"
#include "playback/Qelvidfile.h"

#include <algorithm>

namespace {

// The release waits this long before it repositions: the reader has just been stopped by the press.
constexpr DWORD kReleaseSettleMs = 300;

} // namespace

void TFrmMain::SliderSearchClick(TObject*) {}

void TFrmMain::SliderSearchMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    if (StreamCopying != 0 || Activities.RefusesPresses()) return;
    if (PlaybackFileOpen()) {
        MMTimerPutItem->SetEnabled(false);
        MMTimerPlayback->SetEnabled(false);
        MMTimerReverse->SetEnabled(false);
        PlaybackSound(false);
        StopVideoReader();
    }
    SliderDragging = 1;
}

void TFrmMain::SliderSearchMouseMove(TObject*, TShiftState, int x, int) {
    if (StreamCopying != 0 || SliderDragging == 0) return;
    const int width = SliderSearch->Width();
    if (width <= 0) return;
    // Past either end of the track the knob rests at that end.
    SliderSearch->SetVal(std::clamp(x * 1000 / width, 0, 1000));
}

void TFrmMain::SliderSearchMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (RefusedWhileStreamCopy()) return;
    // A wait that began after the press takes no restart nested inside it; the drag still ends, paused at
    // the knob's frame, rather than leave the playback stopped with the knob held.
    const bool inWait = Activities.RefusesPresses();
    if (inWait && SliderDragging == 0) return;
    if (PlaybackFileOpen() && SliderSearch->Enabled()) {
        CurrentIndexPos = IndexOfKnob(SliderSearch->KnobPos(), CurrentIndexCount);
        if (!inWait) {
            SetEnabled(false);
            // Ended meanwhile: whoever ended the playback has put the screens back.
            if (PumpFor(TActivity::LocalPlayback, Activities, kReleaseSettleMs) != TWaitEnd::TimedOut) {
                SetEnabled(true);
                SliderDragging = 0;
                return;
            }
        }
        if (PlayState != kPlayStopped && !inWait) {
            RestartPlayback();
        } else {
            if (PlayState != kPlayStopped) {
                PlayState = kPlayStopped;
                PlayPaused = 1;
                LastTransportKey = kKeyPause;
            }
            std::string name;
            if (ChoosePlaybackFile(name) && OpenChosenFile(name) && VideoReader->SeekIndex(CurrentIndexPos)) {
                ClockSecond = static_cast<int>(VideoReader->GetFrameTime());
                std::string text;
                FrameTimeToText(VideoReader->GetFrameTime(), text);
                LabelSearchTime->SetCaption(text);
                ShowStillFrames();
            }
        }
    }
    if (!inWait) SetEnabled(true);
    SliderDragging = 0;
}

void TFrmMain::IntToText(int value, std::string& text) const {
    text = std::to_string(value);
}
