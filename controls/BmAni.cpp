#include "controls/BmAni.h"

#include "controls/SkinControls.h"

#include "controls/FrameRun.h"

#include "platform/vcl/FormReader.h"

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Bmani {

TBmAnimation::TBmAnimation(TComponent* owner) : TBmFrame(owner), timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->OnTimer = TNotifyEvent(this, &TBmAnimation::OnTimer);
}

TBmAnimation::~TBmAnimation() {
    timer_->SetEnabled(false);
}

void TBmAnimation::SetPlay(bool value) {
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

void TBmAnimation::OnTimer(TObject*) {
    if (controls_internal::AdvanceRun(currentFrame_, step_, startFrame_, stopFrame_, repeated_)) {
        timer_->SetEnabled(false);
        OnStopFrame(this);
        play_ = false;
    }
    Paint();
}

bool TBmAnimation::ReadProperty(TPropertyReader& r) {
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
        return TBmFrame::ReadProperty(r);
    }
    return true;
}

} // namespace Bmani
