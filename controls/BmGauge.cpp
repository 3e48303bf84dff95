#include "controls/BmGauge.h"

#include "controls/SkinControls.h"

#include "platform/vcl/FormReader.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Bmgauge {

TBmGauge::TBmGauge(TComponent* owner) : TGraphicControl(owner), bitmap_(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 60, 30);
}

TBmGauge::~TBmGauge() = default;

void TBmGauge::SetBitmap(const TBitmap* value) {
    bitmap_->Assign(value);
    FitSize();
}

void TBmGauge::SetCurrentLevel(int value) {
    if (value > maximumLevel_) return;
    currentLevel_ = value;
    Paint();
}

void TBmGauge::SetMaximumLevel(int value) {
    maximumLevel_ = value;
    Paint();
}

void TBmGauge::SetDirection(TDirection value) {
    direction_ = value;
    if (bitmap_->Empty())
        Paint();
    else
        FitSize();
}

void TBmGauge::FitSize() {
    if (bitmap_->Empty()) return;
    if (direction_ == Bmframe::_Horizontal)
        SetBounds(Left(), Top(), bitmap_->Width(), bitmap_->Height() / 2);
    else
        SetBounds(Left(), Top(), bitmap_->Width() / 2, bitmap_->Height());
}

int TBmGauge::LevelLength(long long level, long long maximum, int length) {
    if (maximum <= 0 || length <= 0) return 0;
    return static_cast<int>(std::clamp<long long>(level * length / maximum, 0, length));
}

void TBmGauge::Paint() {
    TCanvas* canvas = Canvas();
    const int w = Width(), h = Height();
    const bool empty = bitmap_->Empty();
    if (empty) {
        canvas->Brush()->SetColor(clGray);
        canvas->FillRect(Rect(0, 0, w, h));
    } else {
        canvas->Draw(0, 0, bitmap_.get());
    }
    TRect dest, source;
    if (direction_ == Bmframe::_Vertical) {
        const int l = LevelLength(currentLevel_, maximumLevel_, h);
        dest = Rect(0, h - l, w, h);
        source = Rect(w, h - l, bitmap_->Width(), bitmap_->Height());
    } else {
        const int l = LevelLength(currentLevel_, maximumLevel_, w);
        dest = Rect(0, 0, l, h);
        source = Rect(0, h, l, bitmap_->Height());
    }
    if (dest.Width() <= 0 || dest.Height() <= 0) return;
    if (empty) {
        canvas->Brush()->SetColor(clAqua);
        canvas->FillRect(dest);
        return;
    }
    canvas->SetCopyMode(cmSrcCopy);
    canvas->CopyRect(dest, bitmap_->Canvas(), source);
}

bool TBmGauge::ReadProperty(TPropertyReader& r) {
    if (r.Is("Bitmap.FileName")) {
        TBitmap loaded;
        Bmframe::ReadBitmapFile(r, loaded);
        SetBitmap(&loaded);
    } else if (r.Is("Bitmap.Data")) {
        r.Fail("bitmaps are given by file name (Bitmap.FileName), not as data");
    } else if (r.Is("CurrentLevel")) {
        SetCurrentLevel(r.Integer());
    } else if (r.Is("MaximumLevel")) {
        SetMaximumLevel(r.Integer());
    } else if (r.Is("Direction")) {
        SetDirection(Bmframe::ReadDirection(r));
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}

} // namespace Bmgauge
