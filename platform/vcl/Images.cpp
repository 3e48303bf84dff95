#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"

#include <algorithm>

// ---- TImage ----

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    picture_->OnChange = nullptr;
}

void TImage::SetPicture(const TPicture* value) {
    picture_->Assign(value);
}

void TImage::PictureChanged() {
    if (TGraphic* graphic = picture_->Graphic())
        if (graphic->Transparent() != transparent_) graphic->SetTransparent(transparent_);
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    UpdateOpaquePaint();
    Invalidate();
}

void TImage::UpdateOpaquePaint() {
    const TGraphic* graphic = picture_->Graphic();
    const TRect r = DestRect();
    const bool covers = graphic && !transparent_ && graphic->Opaque() && r.Left <= 0 && r.Top <= 0 &&
                        r.Right >= ClientWidth() && r.Bottom >= ClientHeight();
    // Drawn from the picture's own pixels at every paint, with no picture of the control's.
    SetPaintSurface(covers ? TPaintSurface::Screen : TPaintSurface::Picture);
}

void TImage::BoundsChanged() {
    TGraphicControl::BoundsChanged();
    UpdateOpaquePaint();
}

TCanvas* TImage::Canvas() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic) {
        TBitmap bitmap(Width(), Height());
        picture_->SetGraphic(&bitmap);
    } else if (!dynamic_cast<TBitmap*>(graphic)) {
        throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    }
    Invalidate();
    return picture_->Bitmap()->Canvas();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    UpdateOpaquePaint();
    Invalidate();
}

void TImage::SetCenter(bool value) {
    center_ = value;
    UpdateOpaquePaint();
    Invalidate();
}

void TImage::SetProportional(bool value) {
    proportional_ = value;
    UpdateOpaquePaint();
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    transparent_ = value;
    PictureChanged();
}

void TImage::SetAutoSize(bool value) {
    autoSize_ = value;
    if (value) PictureChanged();
}

TRect TImage::DestRect() const {
    int w = picture_->Width();
    int h = picture_->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            // The larger side fills the client; the other keeps the picture's proportions.
            const long long scaledW = static_cast<long long>(w) * ch;
            const long long scaledH = static_cast<long long>(h) * cw;
            if (scaledW > scaledH) {
                h = static_cast<int>(scaledH / w);
                w = cw;
            } else {
                w = static_cast<int>(scaledW / h);
                h = ch;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (center_) {
        const int dx = (cw - w) / 2;
        const int dy = (ch - h) / 2;
        r = Rect(dx, dy, dx + w, dy + h);
    }
    return r;
}

void TImage::Paint() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty()) return;
    TCanvas* canvas = TGraphicControl::Canvas();
    const TRect r = DestRect();
    if (r.Width() == graphic->Width() && r.Height() == graphic->Height())
        canvas->Draw(r.Left, r.Top, graphic);
    else
        canvas->StretchDraw(r, graphic);
}

bool TImage::ReadProperty(TPropertyReader& r) {
    if (r.Is("Picture.FileName")) {
        const std::string file = r.FileName();
        if (file.empty())
            picture_->Assign(nullptr);
        else
            picture_->LoadFromFile(file);
    } else if (r.Is("Picture.Data")) {
        r.Fail("pictures are given by file name (Picture.FileName), not as data");
    } else if (r.Is("Stretch")) {
        SetStretch(r.Boolean());
    } else if (r.Is("Center")) {
        SetCenter(r.Boolean());
    } else if (r.Is("Proportional")) {
        SetProportional(r.Boolean());
    } else if (r.Is("Transparent")) {
        SetTransparent(r.Boolean());
    } else if (r.Is("AutoSize")) {
        SetAutoSize(r.Boolean());
    } else if (r.Is("IncrementalDisplay")) {
        r.Boolean();
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}

// ---- TPaintBox ----

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
    TCanvas* canvas = TGraphicControl::Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    OnPaint(this);
}

bool TPaintBox::ReadProperty(TPropertyReader& r) {
    if (r.Is("OnPaint")) {
        OnPaint = r.Event<TNotifyEvent>();
        return true;
    }
    return TGraphicControl::ReadProperty(r);
}
