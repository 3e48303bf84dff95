// TImgAnimation: a TImgFrame stepped from StartFrame to StopFrame by a message-loop timer.
#pragma once

#include "controls/FrameRun.h"
#include "controls/imgframe.h"

namespace Imganimation {

// StartFrame and StopFrame take 0..TotalFrames-1 only.
class TImgAnimation : public controls_internal::TStripAnimation<Imgframe::TImgFrame> {
public:
    using TStripAnimation::TStripAnimation;

    void SetPicture(const TPicture* value) override;
    // A changed count runs the whole strip: StartFrame 0, StopFrame the last frame.
    void SetTotalFrames(int value) override;

protected:
    bool TakesFrame(int value) const override;
};

} // namespace Imganimation

using Imganimation::TImgAnimation;
