// The graphic base class: files, change notification and drawing pixels onto a canvas.
#include "platform/core/Streams.h"
#include "platform/vcl/DcInternal.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool transparent) {
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TGraphic::Assign(const TPersistent* source) {
    TPersistent::Assign(source);
}

void TGraphic::Draw(TCanvas* canvas, const TRect& rect) const {
    std::shared_ptr<const vcl_internal::TImageData> data = ImageData();
    HDC dc = canvas->Handle();
    if (!data || !dc) return;
    auto mode = vcl_internal::TDrawAlpha::Opaque;
    COLORREF key = 0;
    if (Transparent()) {
        const TColor colour = DrawTransparentColor();
        if (colour == clNone) {
            mode = vcl_internal::TDrawAlpha::Blend;
        } else {
            mode = vcl_internal::TDrawAlpha::ColourKey;
            key = static_cast<COLORREF>(ColorToRGB(colour));
        }
    }
    vcl_internal::DrawPixels(dc, QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
                             data->Pixels.get(), data->Width, data->Height, mode, key);
}
