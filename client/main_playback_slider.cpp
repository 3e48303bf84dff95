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
        VideoReader->StopReader();
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
    if (TransportRefused()) return;
    if (PlaybackFileOpen() && SliderSearch->Enabled()) {
        SetEnabled(false);
        CurrentIndexPos = IndexOfKnob(SliderSearch->KnobPos(), CurrentIndexCount);
        // Ended meanwhile: whoever ended the playback has put the screens back.
        if (PumpFor(TActivity::LocalPlayback, Activities, kReleaseSettleMs) != TWaitEnd::TimedOut) {
            SetEnabled(true);
            SliderDragging = 0;
            return;
        }
        if (PlayState != kPlayStopped) {
            RestartPlayback();
        } else {
            std::string name;
            if (ChoosePlaybackFile(name) && OpenChosenFile(name) && VideoReader->SeekIndex(CurrentIndexPos)) {
                ClockSecond = static_cast<int>(VideoReader->GetFrameTime());
                std::string text;
                FrameTimeToText(VideoReader->GetFrameTime(), text);
                LabelSearchTime->SetCaption(text);
            }
        }
    }
    SetEnabled(true);
    SliderDragging = 0;
}

void TFrmMain::IntToText(int value, std::string& text) const {
    text = std::to_string(value);
}
