// TBmFrame: a graphic control that shows one frame of a strip bitmap (N equal frames side by side or
// stacked). Frame k is the whole strip drawn at (-k * Width, 0) or (0, -k * Height): the offset follows
// the control's size, not the computed frame size. Frame changes are drawn at once.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

namespace Bmframe {

enum TDirection : unsigned char { _Vertical, _Horizontal };

class TBmFrame : public TGraphicControl {
public:
    explicit TBmFrame(TComponent* owner);
    ~TBmFrame() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* value);
    int CurrentFrame() const { return currentFrame_; }
    // No range test: any frame is drawn by its offset.
    void SetCurrentFrame(int value);
    int TotalFrames() const { return totalFrames_; }
    void SetTotalFrames(int value);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection value);
    void FitSize();
    HPALETTE GetPalette() const { return nullptr; }

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;
    int currentFrame_ = 0;

private:
    std::unique_ptr<TBitmap> bitmap_;
    int totalFrames_ = 1;
    TDirection direction_ = _Vertical;
};

// Strip helpers shared by the strip controls.
// The size of one frame of a width x height strip of `frames` frames.
TPoint StripFrameSize(int width, int height, int frames, bool horizontal);
// Reads "Bitmap.FileName" style properties: loads the file into `bitmap`; an empty name empties it.
void ReadBitmapFile(TPropertyReader& reader, TBitmap& bitmap);
// _Vertical / _Horizontal.
TDirection ReadDirection(const TPropertyReader& reader);

} // namespace Bmframe

using Bmframe::TBmFrame;
