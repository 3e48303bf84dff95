#include "controls/Slider.h"

#include "controls/SkinControls.h"

#include "controls/BmFrame.h"

#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Slider {

TBitSlider::TBitSlider(TComponent* owner)
    : TCustomControl(owner), bkgnd_(std::make_unique<TBitmap>()), bkgndPass_(std::make_unique<TBitmap>()),
      knob_(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 50, 30);
}

TBitSlider::~TBitSlider() = default;

void TBitSlider::SetBitmapBk(const TBitmap* value) {
    bkgnd_->Assign(value);
    SetBounds(Left(), Top(), bkgnd_->Width(), bkgnd_->Height());
    rangeStart_ = Point(margin_, margin_);
    rangeEnd_ = Point(Width() - margin_, Height() - margin_);
    knobCenter_ = Point(Width() / 2, Height() / 2);
    mousePos_ = Point(0, 0);
    Invalidate();
}

void TBitSlider::SetBitmapBkPass(const TBitmap* value) {
    bkgndPass_->Assign(value);
    Invalidate();
}

void TBitSlider::SetBitmapKnob(const TBitmap* value) {
    knob_->Assign(value);
    const int kw = knob_->Width(), kh = knob_->Height();
    rangeStart_ = Point(margin_ + kw / 2, margin_ + kh / 2);
    rangeEnd_ = Point(Width() - (kw / 2 + margin_), Height() - (kh / 2 + margin_));
    knobCenter_ = Point(Width() / 2, Height() / 2);
    mousePos_ = Point(0, 0);
    Invalidate();
}

void TBitSlider::SetPosRec() {
    if (knob_->Empty()) return;
    const int kw = knob_->Width(), kh = knob_->Height();
    rangeStart_ = Point(margin_ + kw / 2, margin_ + kh / 2);
    rangeEnd_ = Point(Width() - (kw / 2 + margin_), Height() - (kh / 2 + margin_));
    knobCenter_ = Point(Width() / 2, Height() / 2);
}

void TBitSlider::SetDirection(TDirection value) {
    if (value == direction_) return;
    direction_ = value;
    Invalidate();
}

void TBitSlider::SetMargin(int value) {
    if (value == margin_) return;
    const int knob = direction_ == HORIZONTAL ? knob_->Width() : knob_->Height();
    const int axis = direction_ == HORIZONTAL ? Width() : Height();
    if (value < 0 || 2LL * value + knob >= axis) return;
    margin_ = value;
    if (!knob_->Empty()) Invalidate();
}

void TBitSlider::SetKnobPos(int value) {
    if (dragging_ || pageDir_ != 0) return;
    SetVal(value);
}

void TBitSlider::SetVal(int value) {
    if (!enabled_ || value == knobPos_ || value < 0 || value > kMaxValue) return;
    knobPos_ = value;
    Invalidate();
}

void TBitSlider::SetEnable(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Invalidate();
}

void TBitSlider::SetMark(TMarkType type, int value) {
    marks_[type == mtStart ? 0 : 1] = value;
    Invalidate();
}

void TBitSlider::ClearMark(TMarkType type) {
    SetMark(type, -1);
}

void TBitSlider::SetMarkColor(TColor value) {
    markColor_ = value;
    Invalidate();
}

void TBitSlider::SetMarkWidth(int value) {
    markWidth_ = value;
    Invalidate();
}

int TBitSlider::Pos2Value() const {
    const long long p = Along(mousePos_), lo = Along(rangeStart_), hi = Along(rangeEnd_);
    if (p < lo || hi <= lo) return 0;
    if (p > hi) return kMaxValue;
    return static_cast<int>((p - lo) * kMaxValue / (hi - lo));
}

void TBitSlider::GetKnobCenterPos() {
    const long long lo = Along(rangeStart_), hi = Along(rangeEnd_);
    long long c = hi;
    if (knobPos_ < 1)
        c = lo;
    else if (knobPos_ < kMaxValue)
        c = (hi - lo) * knobPos_ / kMaxValue + lo;
    if (direction_ == HORIZONTAL)
        knobCenter_.X = static_cast<int>(c);
    else
        knobCenter_.Y = static_cast<int>(c);
}

void TBitSlider::PageMove() {
    const int v = Pos2Value();
    const BYTE dir = v < knobPos_ ? 1 : v > knobPos_ ? 2 : 0;
    if (dir != pageDir_) {
        pageDir_ = 0;
        return;
    }
    const int clamped = std::clamp(v, 0, kMaxValue);
    SetVal(clamped);
    newPos_ = clamped;
}

void TBitSlider::Paint() {
    DrawBkgnd();
    if (enabled_) DrawKnob();
}

void TBitSlider::DrawBkgnd() {
    TCanvas* canvas = Canvas();
    if (bkgnd_->Empty()) {
        canvas->Pen()->SetStyle(psSolid);
        canvas->Rectangle(0, 0, Width(), Height());
        return;
    }
    if (bkgnd_->Width() != Width()) SetWidth(bkgnd_->Width());
    if (bkgnd_->Height() != Height()) SetHeight(bkgnd_->Height());
    canvas->Draw(0, 0, bkgnd_.get());
    if (!bkgndPass_->Empty()) {
        GetKnobCenterPos();
        // A vertical slider passes from the top down to the knob.
        const TRect r = direction_ == HORIZONTAL ? Rect(0, 0, knobCenter_.X, bkgndPass_->Height())
                                                 : Rect(0, 0, bkgndPass_->Width(), knobCenter_.Y);
        if (r.Width() > 0 && r.Height() > 0) canvas->CopyRect(r, bkgndPass_->Canvas(), r);
    }
    if (marks_[0] >= 0) DrawMark(mtStart, marks_[0]);
    if (marks_[1] >= 0) DrawMark(mtEnd, marks_[1]);
}

void TBitSlider::DrawKnob() {
    if (knob_->Empty()) return;
    SetPosRec();
    GetKnobCenterPos();
    Canvas()->Draw(knobCenter_.X - knob_->Width() / 2, knobCenter_.Y - knob_->Height() / 2, knob_.get());
}

void TBitSlider::DrawMark(TMarkType type, int value) {
    if (knob_->Empty()) return;
    const int kept = knobPos_;
    knobPos_ = value;
    GetKnobCenterPos();
    const int kw2 = knob_->Width() / 2, kh2 = knob_->Height() / 2;
    const TRect box =
        Rect(knobCenter_.X - kw2, knobCenter_.Y - kh2, knobCenter_.X + kw2, knobCenter_.Y + kh2);
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(markColor_);
    canvas->Brush()->SetColor(markColor_);
    TRect bar;
    if (direction_ == HORIZONTAL)
        bar = type == mtStart ? Rect(box.Left, 1, box.Left + markWidth_, Height() - 2)
                              : Rect(box.Right - markWidth_, 1, box.Right, Height() - 2);
    else
        bar = type == mtStart ? Rect(1, box.Top, Width() - 1, box.Top + markWidth_)
                              : Rect(1, box.Bottom - markWidth_, Width() - 1, box.Bottom);
    canvas->Rectangle(bar);
    knobPos_ = kept;
}

void TBitSlider::Dispatch(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        if (bkgnd_->Empty()) Canvas()->FillRect(ClientRect());
        m.Result = 1;
        return;
    }
    if (m.Msg == WM_TIMER) {
        if (m.WParam == kPageTimerId) PageMove();
        return;
    }
    TCustomControl::Dispatch(m);
}

void TBitSlider::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (!enabled_ || button != mbLeft) return;
    GetKnobCenterPos();
    const int cx = knobCenter_.X, cy = knobCenter_.Y;
    const int kw2 = knob_->Width() / 2, kh2 = knob_->Height() / 2;
    mousePos_ = Point(x, y);
    if (x >= cx - kw2 && x <= cx + kw2 && y >= cy - kh2 && y <= cy + kh2) {
        dragging_ = true;
    } else {
        pageDir_ = (direction_ == HORIZONTAL ? cx > x : cy > y) ? 1 : 2;
        PageMove();
    }
    SetMouseCapture(true);
}

void TBitSlider::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    mousePos_ = Point(x, y);
    if (dragging_) SetVal(Pos2Value());
}

void TBitSlider::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    mousePos_ = Point(x, y);
    SetVal(Pos2Value());
    dragging_ = false;
    newPos_ = knobPos_;
    pageDir_ = 0;
    SetMouseCapture(false);
}

bool TBitSlider::ReadProperty(TPropertyReader& r) {
    auto bitmap = [&r](void (TBitSlider::*set)(const TBitmap*), TBitSlider* self) {
        TBitmap loaded;
        Bmframe::ReadBitmapFile(r, loaded);
        (self->*set)(&loaded);
    };
    if (r.Is("BkgndBitmap.FileName")) {
        bitmap(&TBitSlider::SetBitmapBk, this);
    } else if (r.Is("BkgndPassBitmap.FileName")) {
        bitmap(&TBitSlider::SetBitmapBkPass, this);
    } else if (r.Is("KnobBitmap.FileName")) {
        bitmap(&TBitSlider::SetBitmapKnob, this);
    } else if (r.Is("BkgndBitmap.Data") || r.Is("BkgndPassBitmap.Data") || r.Is("KnobBitmap.Data")) {
        r.Fail("bitmaps are given by file name (.FileName), not as data");
    } else if (r.Is("Direction")) {
        SetDirection(r.Enum<TDirection>({{"HORIZONTAL", HORIZONTAL}, {"VERTICAL", VERTICAL}}));
    } else if (r.Is("KnobPos")) {
        SetKnobPos(r.Integer());
    } else if (r.Is("Margin")) {
        SetMargin(r.Integer());
    } else if (r.Is("MarkColor")) {
        SetMarkColor(ReadColorValue(r));
    } else if (r.Is("MarkWidth")) {
        SetMarkWidth(r.Integer());
    } else if (r.Is("NewPos")) {
        SetNewPos(r.Integer());
    } else if (r.Is("Enabled")) {
        SetEnable(r.Boolean());
    } else {
        return TCustomControl::ReadProperty(r);
    }
    return true;
}

} // namespace Slider
