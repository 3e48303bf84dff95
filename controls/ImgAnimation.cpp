#include "controls/ImgAnimation.h"

#include "controls/SkinControls.h"

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Imganimation {

bool TImgAnimation::TakesFrame(int value) const {
    return value >= 0 && value < totalFrames_;
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

} // namespace Imganimation
