// TImgFrame: a graphic control that shows one frame of a strip held in a picture (bitmap, JPEG or
// icon). The picture comes first and counts as one frame; TotalFrames then sets the real count, so a
// definition must give the picture before TotalFrames. Frame changes are drawn at once.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

namespace Imgframe {

enum DIRECTION : unsigned char { VERTICAL, HORIZONTAL };

class TImgFrame : public TGraphicControl {
public:
    explicit TImgFrame(TComponent* owner);
    ~TImgFrame() override;

    // A fresh empty picture, 40 x 40, no frames.
    void Initialize();
    TPicture* Picture() const { return picture_.get(); }
    // nullptr leaves an empty picture; a picture holding a graphic is one frame.
    virtual void SetPicture(const TPicture* value);
    int CurrentFrame() const { return currentFrame_; }
    // 0..TotalFrames-1 only; drawn at once when it changes.
    void SetCurrentFrame(int value);
    int TotalFrames() const { return totalFrames_; }
    // At least 1; shows frame 0.
    virtual void SetTotalFrames(int value);
    DIRECTION Direction() const { return direction_; }
    void SetDirection(DIRECTION value);
    void FitSize();

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;
    void BoundsChanged() override;
    int currentFrame_ = 0;
    int totalFrames_ = 0;

private:
    void UpdateOpaquePaint();
    std::unique_ptr<TPicture> picture_;
    DIRECTION direction_ = VERTICAL;
};

} // namespace Imgframe

using Imgframe::TImgFrame;
