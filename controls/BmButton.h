// TBmButton: the push button of the skinned windows. Its strip holds the looks: the base frame
// (CurrentFrame), +1 hover, +2 pressed, each capped at the strip's last frame. A click is a left
// release after a left press on the button while the pointer is on it; auto-repeat clicks while held.
#pragma once

#include "controls/BmFrame.h"

#include "platform/vcl/ExtCtrls.h"

namespace Bmbutton {

using Bmframe::TDirection;

class TBmButton : public TCustomControl {
public:
    explicit TBmButton(TComponent* owner);
    ~TBmButton() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* value);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection value);
    int TotalFrames() const { return totalFrames_; }
    // At least 1: a count of 0 would leave the looks no frame to cap to.
    void SetTotalFrames(int value);
    int CurrentFrame() const { return currentFrame_; }
    // The base look; no range test. Repainted in the next paint cycle.
    void SetCurrentFrame(int value);
    int ShownFrame() const { return shownFrame_; }
    bool Pressed() const { return pressed_; }
    bool ClickArmed() const { return clickArmed_; }
    bool Repeated() const { return repeated_; }
    void SetRepeated(bool value) { repeated_ = value; }
    int RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(int value) { repeatInterval_ = value; }
    TTimer* CheckTimer() const { return checkTimer_.get(); }
    // Exists only from a left press (with Repeated) to the left release.
    TTimer* RepeatTimer() const { return repeatTimer_; }
    void FitSize();
    HPALETTE GetPalette() const { return nullptr; }

    // The base control's click (its action); the button's own OnClick is not fired.
    void Click() override;
    // CheckTimer's handler: a pointer that left without a leave message still restores the look.
    void CheckMouse(TObject* sender);
    // RepeatTimer's handler.
    void OnTimer(TObject* sender);

    void Dispatch(TMessage& message) override;
    bool ReadProperty(TPropertyReader& reader) override;

    // The button's own events (the base control's of the same names stay unused).
    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    int Capped(int offset) const;
    void Show(int frame);
    void FreeRepeatTimer();

    std::unique_ptr<TTimer> checkTimer_;
    std::unique_ptr<TBitmap> bitmap_;
    TDirection direction_ = Bmframe::_Vertical;
    bool clickArmed_ = false;
    bool pressed_ = false;
    int totalFrames_ = 1;
    int currentFrame_ = 0;
    int shownFrame_ = 0;
    bool repeated_ = false;
    int repeatInterval_ = 100;
    bool firstRepeat_ = false;
    TTimer* repeatTimer_ = nullptr;
};

} // namespace Bmbutton

using Bmbutton::TBmButton;
