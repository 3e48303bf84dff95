#include "controls/imgframe.h"

#include "controls/SkinControls.h"

#include "controls/BmFrame.h"

#include "platform/vcl/FormReader.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Imgframe {

TImgFrame::TImgFrame(TComponent* owner) : TGraphicControl(owner) {
    Initialize();
}

TImgFrame::~TImgFrame() = default;

void TImgFrame::Initialize() {
    picture_ = std::make_unique<TPicture>();
    picture_->OnChange = TNotifyEvent([this](TObject*) { UpdateOpaquePaint(); });
    SetBounds(Left(), Top(), 40, 40);
    currentFrame_ = 0;
    totalFrames_ = 0;
    UpdateOpaquePaint();
}

void TImgFrame::SetPicture(const TPicture* value) {
    Initialize();
    if (value) {
        picture_->Assign(value);
        if (picture_->Graphic()) totalFrames_ = 1;
    }
    FitSize();
}

void TImgFrame::SetCurrentFrame(int value) {
    if (value < 0 || value >= totalFrames_) return;
    const bool changed = value != currentFrame_;
    currentFrame_ = value;
    if (changed) Paint();
}

void TImgFrame::SetTotalFrames(int value) {
    if (!picture_ || value < 1) return;
    totalFrames_ = value;
    currentFrame_ = 0;
    FitSize();
}

void TImgFrame::SetDirection(DIRECTION value) {
    direction_ = value;
    FitSize();
}

void TImgFrame::FitSize() {
    if (totalFrames_ == 0) {
        SetBounds(Left(), Top(), 40, 40);
        UpdateOpaquePaint();
        return;
    }
    const TPoint size = Bmframe::StripFrameSize(picture_->Width(), picture_->Height(), totalFrames_,
                                                direction_ == HORIZONTAL);
    if (Width() != size.X) SetWidth(size.X);
    if (Height() != size.Y) SetHeight(size.Y);
    UpdateOpaquePaint();
}

void TImgFrame::BoundsChanged() {
    TGraphicControl::BoundsChanged();
    UpdateOpaquePaint();
}

// A frame of an opaque picture that fills the control, or the empty control's fill, is all it shows:
// it is painted on the screen from the picture's own pixels, and nothing under it is painted.
void TImgFrame::UpdateOpaquePaint() {
    if (!picture_) return;
    const TGraphic* graphic = picture_->Graphic();
    bool covers = totalFrames_ == 0;
    if (!covers && graphic && graphic->Opaque()) {
        const TPoint size = Bmframe::StripFrameSize(picture_->Width(), picture_->Height(), totalFrames_,
                                                    direction_ == HORIZONTAL);
        covers = size.X == Width() && size.Y == Height();
    }
    SetPaintSurface(covers ? TPaintSurface::Screen : TPaintSurface::Picture);
}

void TImgFrame::Paint() {
    TCanvas* canvas = Canvas();
    if (totalFrames_ == 0) {
        canvas->Brush()->SetColor(clAqua);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    if (!picture_->Graphic()) return;
    const long long offset =
        -static_cast<long long>(currentFrame_) * (direction_ == HORIZONTAL ? Width() : Height());
    const int clamped = static_cast<int>(std::max<long long>(offset, -0x3FFFFFFF));
    if (direction_ == HORIZONTAL)
        canvas->Draw(clamped, 0, picture_->Graphic());
    else
        canvas->Draw(0, clamped, picture_->Graphic());
}

bool TImgFrame::ReadProperty(TPropertyReader& r) {
    if (r.Is("Picture.FileName")) {
        const std::string file = r.FileName();
        if (file.empty()) {
            SetPicture(nullptr);
        } else {
            TPicture loaded;
            try {
                loaded.LoadFromFile(file);
            } catch (const std::exception& e) {
                r.Fail(e.what());
            }
            SetPicture(&loaded);
        }
    } else if (r.Is("Picture.Data")) {
        r.Fail("pictures are given by file name (Picture.FileName), not as data");
    } else if (r.Is("CurrentFrame")) {
        SetCurrentFrame(r.Integer());
    } else if (r.Is("TotalFrames")) {
        SetTotalFrames(r.Integer());
    } else if (r.Is("Direction")) {
        SetDirection(r.Enum<DIRECTION>({{"VERTICAL", VERTICAL}, {"HORIZONTAL", HORIZONTAL}}));
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}

} // namespace Imgframe
