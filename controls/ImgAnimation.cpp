#include "controls/ImgAnimation.h"

#include "controls/SkinControls.h"

#include "controls/FrameRun.h"

#include "platform/vcl/FormReader.h"

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Imganimation {

TImgAnimation::TImgAnimation(TComponent* owner)
    : TImgFrame(owner), timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->OnTimer = TNotifyEvent(this, &TImgAnimation::OnTimer);
}

TImgAnimation::~TImgAnimation() {
    timer_->SetEnabled(false);
}

void TImgAnimation::SetStartFrame(int value) {
    if (value >= 0 && value < totalFrames_) startFrame_ = value;
}

void TImgAnimation::SetStopFrame(int value) {
    if (value >= 0 && value < totalFrames_) stopFrame_ = value;
}

void TImgAnimation::SetPicture(const TPicture* value) {
    TImgFrame::SetPicture(value);
    startFrame_ = 0;
    stopFrame_ = 0;
}

void TImgAnimation::SetTotalFrames(int value) {
    const bool changed = value != totalFrames_;
    TImgFrame::SetTotalFrames(value);
    if (changed) {
        startFrame_ = 0;
        stopFrame_ = totalFrames_ - 1;
    }
}

void TImgAnimation::SetPlay(bool value) {
    play_ = value;
    if (!value) {
        timer_->SetEnabled(false);
        return;
    }
    step_ = controls_internal::RunStep(startFrame_, stopFrame_);
    currentFrame_ = startFrame_;
    Paint();
    timer_->SetInterval(interval_ > 0 ? static_cast<unsigned>(interval_) : 0);
    timer_->SetEnabled(true);
}

void TImgAnimation::OnTimer(TObject*) {
    if (controls_internal::AdvanceRun(currentFrame_, step_, startFrame_, stopFrame_, repeated_)) {
        timer_->SetEnabled(false);
        OnStopFrame(this);
        play_ = false;
    }
    Paint();
}

bool TImgAnimation::ReadProperty(TPropertyReader& r) {
    if (r.Is("StartFrame")) {
        SetStartFrame(r.Integer());
    } else if (r.Is("StopFrame")) {
        SetStopFrame(r.Integer());
    } else if (r.Is("Interval")) {
        SetInterval(r.Integer());
    } else if (r.Is("Repeated")) {
        SetRepeated(r.Boolean());
    } else if (r.Is("Play")) {
        SetPlay(r.Boolean());
    } else if (r.Is("OnStopFrame")) {
        OnStopFrame = r.Event<TNotifyEvent>();
    } else {
        return TImgFrame::ReadProperty(r);
    }
    return true;
}

} // namespace Imganimation
