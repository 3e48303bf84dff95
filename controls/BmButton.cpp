#include "controls/BmButton.h"

#include "controls/SkinControls.h"

#include "platform/vcl/FormReader.h"
#include "platform/vcl/WinUser.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Bmbutton {

namespace {
constexpr unsigned kCheckInterval = 200;
constexpr unsigned kFirstRepeat = 400;
} // namespace

TBmButton::TBmButton(TComponent* owner)
    : TCustomControl(owner), checkTimer_(std::make_unique<TTimer>(nullptr)),
      bitmap_(std::make_unique<TBitmap>()) {
    checkTimer_->SetEnabled(false);
    checkTimer_->SetInterval(kCheckInterval);
    checkTimer_->OnTimer = TNotifyEvent(this, &TBmButton::CheckMouse);
    SetBounds(Left(), Top(), 40, 40);
    SetCursor(crHandPoint);
}

TBmButton::~TBmButton() {
    checkTimer_->SetEnabled(false);
}

void TBmButton::SetBitmap(const TBitmap* value) {
    bitmap_->Assign(value);
    FitSize();
}

void TBmButton::SetDirection(TDirection value) {
    direction_ = value;
    FitSize();
}

void TBmButton::SetTotalFrames(int value) {
    if (value < 1) return;
    totalFrames_ = value;
    FitSize();
}

void TBmButton::SetCurrentFrame(int value) {
    currentFrame_ = value;
    Show(value);
}

void TBmButton::FitSize() {
    if (bitmap_->Empty() || totalFrames_ == 0) return;
    const TPoint size = Bmframe::StripFrameSize(bitmap_->Width(), bitmap_->Height(), totalFrames_,
                                                direction_ == Bmframe::_Horizontal);
    if (Width() != size.X) SetWidth(size.X);
    if (Height() != size.Y) SetHeight(size.Y);
}

int TBmButton::Capped(int offset) const {
    return std::min(currentFrame_ + offset, totalFrames_ - 1);
}

void TBmButton::Show(int frame) {
    shownFrame_ = frame;
    Invalidate();
}

void TBmButton::Click() {
    TCustomControl::Click();
}

void TBmButton::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(m);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(m);
        break;
    default:
        TCustomControl::Dispatch(m);
        break;
    }
}

void TBmButton::CMMouseEnter(TMessage& m) {
    OnMouseEnter(this);
    TCustomControl::Dispatch(m);
    checkTimer_->SetEnabled(true);
    Show(Capped(1));
}

void TBmButton::CMMouseLeave(TMessage& m) {
    checkTimer_->SetEnabled(false);
    OnMouseLeave(this);
    TCustomControl::Dispatch(m);
    Show(currentFrame_);
}

void TBmButton::CheckMouse(TObject*) {
    const TPoint origin = ClientToScreen(Point(0, 0));
    TPoint cursor;
    if (!GetCursorPos(&cursor)) return;
    const bool inside = cursor.X >= origin.X && cursor.X < origin.X + Width() && cursor.Y >= origin.Y &&
                        cursor.Y < origin.Y + Height();
    if (!inside) Perform(CM_MOUSELEAVE, 0, 0);
}

void TBmButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    pressed_ = true;
    clickArmed_ = true;
    Show(Capped(2));
    if (repeated_) {
        FreeRepeatTimer();
        repeatTimer_ = new TTimer(this);
        repeatTimer_->SetInterval(kFirstRepeat);
        repeatTimer_->OnTimer = TNotifyEvent(this, &TBmButton::OnTimer);
        repeatTimer_->SetEnabled(true);
        firstRepeat_ = true;
    }
}

void TBmButton::OnTimer(TObject*) {
    if (firstRepeat_) {
        firstRepeat_ = false;
        if (repeatTimer_)
            repeatTimer_->SetInterval(repeatInterval_ > 0 ? static_cast<unsigned>(repeatInterval_) : 0);
    }
    OnClick(this);
}

void TBmButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    // The left and top edges count as outside.
    const bool inside = x > 0 && x < Width() && y > 0 && y < Height();
    if (!pressed_) {
        if (inside) Show(Capped(1));
        return;
    }
    if (repeatTimer_) {
        if (inside && !repeatTimer_->Enabled()) repeatTimer_->SetEnabled(true);
        if (!inside && repeatTimer_->Enabled()) repeatTimer_->SetEnabled(false);
    }
    if (inside != clickArmed_) {
        clickArmed_ = inside;
        // Back inside while held shows the hover look, not the pressed one.
        Show(Capped(inside ? 1 : 0));
    }
}

void TBmButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    const bool click = clickArmed_;
    pressed_ = false;
    clickArmed_ = false;
    Show(currentFrame_);
    FreeRepeatTimer();
    // Last: the handler may hide the button or open a modal window.
    if (click) OnClick(this);
}

void TBmButton::FreeRepeatTimer() {
    delete repeatTimer_;
    repeatTimer_ = nullptr;
}

void TBmButton::Paint() {
    TCanvas* canvas = Canvas();
    if (bitmap_->Empty()) {
        canvas->Brush()->SetColor(clYellow);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    const long long offset =
        -static_cast<long long>(shownFrame_) * (direction_ == Bmframe::_Horizontal ? Width() : Height());
    const int clamped = static_cast<int>(std::clamp<long long>(offset, -0x3FFFFFFF, 0x3FFFFFFF));
    if (direction_ == Bmframe::_Horizontal)
        canvas->Draw(clamped, 0, bitmap_.get());
    else
        canvas->Draw(0, clamped, bitmap_.get());
}

bool TBmButton::ReadProperty(TPropertyReader& r) {
    if (r.Is("Bitmap.FileName")) {
        TBitmap loaded;
        Bmframe::ReadBitmapFile(r, loaded);
        SetBitmap(&loaded);
    } else if (r.Is("Bitmap.Data")) {
        r.Fail("bitmaps are given by file name (Bitmap.FileName), not as data");
    } else if (r.Is("Direction")) {
        SetDirection(Bmframe::ReadDirection(r));
    } else if (r.Is("TotalFrames")) {
        SetTotalFrames(r.Integer());
    } else if (r.Is("CurrentFrame")) {
        SetCurrentFrame(r.Integer());
    } else if (r.Is("Repeated")) {
        SetRepeated(r.Boolean());
    } else if (r.Is("RepeatInterval")) {
        SetRepeatInterval(r.Integer());
    } else if (r.Is("OnClick")) {
        OnClick = r.Event<TNotifyEvent>();
    } else if (r.Is("OnMouseEnter")) {
        OnMouseEnter = r.Event<TNotifyEvent>();
    } else if (r.Is("OnMouseLeave")) {
        OnMouseLeave = r.Event<TNotifyEvent>();
    } else {
        return TCustomControl::ReadProperty(r);
    }
    return true;
}

} // namespace Bmbutton
