#include "controls/BmFrame.h"

#include "controls/SkinControls.h"

#include "platform/vcl/FormReader.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Bmframe {

TPoint StripFrameSize(int width, int height, int frames, bool horizontal) {
    if (frames == 0) return Point(width, height);
    return horizontal ? Point(width / frames, height) : Point(width, height / frames);
}

void ReadBitmapFile(TPropertyReader& r, TBitmap& bitmap) {
    const std::string file = r.FileName();
    if (file.empty()) {
        bitmap.FreeImage();
        return;
    }
    try {
        bitmap.LoadFromFile(file);
    } catch (const std::exception& e) {
        r.Fail(e.what());
    }
}

TDirection ReadDirection(const TPropertyReader& r) {
    return r.Enum<TDirection>({{"_Vertical", _Vertical}, {"_Horizontal", _Horizontal}});
}

TBmFrame::TBmFrame(TComponent* owner) : TGraphicControl(owner), bitmap_(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 40, 40);
}

TBmFrame::~TBmFrame() = default;

void TBmFrame::SetBitmap(const TBitmap* value) {
    bitmap_->Assign(value);
    FitSize();
}

void TBmFrame::SetCurrentFrame(int value) {
    currentFrame_ = value;
    Paint();
}

void TBmFrame::SetTotalFrames(int value) {
    totalFrames_ = value;
    FitSize();
}

void TBmFrame::SetDirection(TDirection value) {
    direction_ = value;
    FitSize();
}

void TBmFrame::FitSize() {
    if (bitmap_->Empty() || totalFrames_ == 0) return;
    const TPoint size =
        StripFrameSize(bitmap_->Width(), bitmap_->Height(), totalFrames_, direction_ == _Horizontal);
    if (Width() != size.X) SetWidth(size.X);
    if (Height() != size.Y) SetHeight(size.Y);
}

void TBmFrame::Paint() {
    TCanvas* canvas = Canvas();
    if (bitmap_->Empty()) {
        canvas->Brush()->SetColor(clAqua);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    // 64 bits: a wild frame index must not overflow the offset.
    const long long offset =
        -static_cast<long long>(currentFrame_) * (direction_ == _Horizontal ? Width() : Height());
    const int clamped = static_cast<int>(std::clamp<long long>(offset, -0x3FFFFFFF, 0x3FFFFFFF));
    if (direction_ == _Horizontal)
        canvas->Draw(clamped, 0, bitmap_.get());
    else
        canvas->Draw(0, clamped, bitmap_.get());
}

bool TBmFrame::ReadProperty(TPropertyReader& r) {
    if (r.Is("Bitmap.FileName")) {
        TBitmap loaded;
        ReadBitmapFile(r, loaded);
        SetBitmap(&loaded);
    } else if (r.Is("Bitmap.Data")) {
        r.Fail("bitmaps are given by file name (Bitmap.FileName), not as data");
    } else if (r.Is("CurrentFrame")) {
        SetCurrentFrame(r.Integer());
    } else if (r.Is("TotalFrames")) {
        SetTotalFrames(r.Integer());
    } else if (r.Is("Direction")) {
        SetDirection(ReadDirection(r));
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}

} // namespace Bmframe
