// TImgAnimation: a TImgFrame stepped from StartFrame to StopFrame by a message-loop timer.
#pragma once

#include "controls/imgframe.h"

#include "platform/vcl/ExtCtrls.h"

namespace Imganimation {

class TImgAnimation : public Imgframe::TImgFrame {
public:
    explicit TImgAnimation(TComponent* owner);
    ~TImgAnimation() override;

    // Both 0..TotalFrames-1 only.
    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int value);
    int StopFrame() const { return stopFrame_; }
    void SetStopFrame(int value);
    // Read when play starts.
    int Interval() const { return interval_; }
    void SetInterval(int value) { interval_ = value; }
    bool Repeated() const { return repeated_; }
    void SetRepeated(bool value) { repeated_ = value; }
    bool Play() const { return play_; }
    void SetPlay(bool value);
    int Step() const { return step_; }
    TTimer* Timer() const { return timer_.get(); }

    void SetPicture(const TPicture* value) override;
    // A changed count runs the whole strip: StartFrame 0, StopFrame the last frame.
    void SetTotalFrames(int value) override;

    void OnTimer(TObject* sender);

    bool ReadProperty(TPropertyReader& reader) override;

    // Fired when a run that does not repeat ends; Play still reads true inside it.
    TNotifyEvent OnStopFrame;

private:
    int startFrame_ = 0;
    int stopFrame_ = 0;
    int interval_ = 100;
    bool repeated_ = false;
    bool play_ = false;
    std::unique_ptr<TTimer> timer_;
    int step_ = 1;
};

} // namespace Imganimation

using Imganimation::TImgAnimation;
