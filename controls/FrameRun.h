// The run of an animation over a range of strip frames, shared by both animation controls.
#pragma once

#include "platform/core/Types.h"
#include "platform/vcl/ExtCtrls.h"

#include <memory>

namespace controls_internal {

// One timer tick: advances `frame` by `step`; at the end of the run a repeated run starts over and
// any other stops on the last frame. Returns true when a non-repeated run has just ended.
inline bool AdvanceRun(int& frame, int step, int startFrame, int stopFrame, bool repeated) {
    frame += step;
    const bool ended = (step > 0 && frame > stopFrame) || (step < 0 && frame < stopFrame);
    if (!ended) return false;
    if (repeated) {
        frame = startFrame;
        return false;
    }
    frame = stopFrame;
    return true;
}

inline int RunStep(int startFrame, int stopFrame) {
    return startFrame < stopFrame ? 1 : -1;
}

// A strip frame control stepped from StartFrame to StopFrame by a message-loop timer. Made for the
// bitmap and the picture strip frames only (FrameRun.cpp).
template <class Frame>
class TStripAnimation : public Frame {
public:
    explicit TStripAnimation(TComponent* owner);
    ~TStripAnimation() override;

    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int value) {
        if (TakesFrame(value)) startFrame_ = value;
    }
    int StopFrame() const { return stopFrame_; }
    void SetStopFrame(int value) {
        if (TakesFrame(value)) stopFrame_ = value;
    }
    // Read when play starts.
    int Interval() const { return interval_; }
    void SetInterval(int value) { interval_ = value; }
    bool Repeated() const { return repeated_; }
    void SetRepeated(bool value) { repeated_ = value; }
    bool Play() const { return play_; }
    void SetPlay(bool value);
    int Step() const { return step_; }
    TTimer* Timer() const { return timer_.get(); }

    // The frame clock's tick.
    void OnTimer(TObject* sender);

    bool ReadProperty(TPropertyReader& reader) override;

    // Fired when a run that does not repeat ends; Play still reads true inside it.
    TNotifyEvent OnStopFrame;

protected:
    // Whether a frame may start or end the run.
    virtual bool TakesFrame(int) const { return true; }

    int startFrame_ = 0;
    int stopFrame_ = 0;

private:
    int interval_ = 100;
    bool repeated_ = false;
    bool play_ = false;
    std::unique_ptr<TTimer> timer_;
    int step_ = 1;
};

} // namespace controls_internal
