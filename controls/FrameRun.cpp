#include "controls/FrameRun.h"

#include "controls/BmFrame.h"
#include "controls/SkinControls.h"
#include "controls/imgframe.h"

#include "platform/vcl/FormReader.h"

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace controls_internal {

template <class Frame>
TStripAnimation<Frame>::TStripAnimation(TComponent* owner)
    : Frame(owner), timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->OnTimer = TNotifyEvent(this, &TStripAnimation::OnTimer);
}

template <class Frame>
TStripAnimation<Frame>::~TStripAnimation() {
    timer_->SetEnabled(false);
}

template <class Frame>
void TStripAnimation<Frame>::SetPlay(bool value) {
    play_ = value;
    if (!value) {
        timer_->SetEnabled(false);
        return;
    }
    step_ = RunStep(startFrame_, stopFrame_);
    this->currentFrame_ = startFrame_;
    this->Paint();
    timer_->SetInterval(interval_ > 0 ? static_cast<unsigned>(interval_) : 0);
    timer_->SetEnabled(true);
}

template <class Frame>
void TStripAnimation<Frame>::OnTimer(TObject*) {
    if (AdvanceRun(this->currentFrame_, step_, startFrame_, stopFrame_, repeated_)) {
        timer_->SetEnabled(false);
        OnStopFrame(this);
        play_ = false;
    }
    this->Paint();
}

template <class Frame>
bool TStripAnimation<Frame>::ReadProperty(TPropertyReader& r) {
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
        return Frame::ReadProperty(r);
    }
    return true;
}

template class TStripAnimation<Bmframe::TBmFrame>;
template class TStripAnimation<Imgframe::TImgFrame>;

} // namespace controls_internal
