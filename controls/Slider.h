// TBitSlider: a skinned slider with a value of 0..1000. A background bitmap (the control takes its
// size), an optional "passed part" bitmap from the start of the track to the knob, and a knob bitmap.
// The user drags the knob or presses on the track; the application sets the value with SetKnobPos,
// which a user holding the slider overrides. Its own Enabled hides the knob and refuses input while
// the window itself stays enabled.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

namespace Slider {

enum TDirection : unsigned char { HORIZONTAL, VERTICAL };
enum TMarkType : unsigned char { mtStart, mtEnd };

inline constexpr int kMaxValue = 1000;
// WM_TIMER id that repeats a page move.
inline constexpr WPARAM kPageTimerId = 1124;

class TBitSlider : public TCustomControl {
public:
    explicit TBitSlider(TComponent* owner);
    ~TBitSlider() override;

    TBitmap* BkgndBitmap() const { return bkgnd_.get(); }
    void SetBitmapBk(const TBitmap* value);
    TBitmap* BkgndPassBitmap() const { return bkgndPass_.get(); }
    void SetBitmapBkPass(const TBitmap* value);
    TBitmap* KnobBitmap() const { return knob_.get(); }
    void SetBitmapKnob(const TBitmap* value);

    // The slider's own enabled state; SetEnabled is the same as SetEnable.
    bool Enabled() const { return enabled_; }
    void SetEnable(bool value);
    void SetEnabled(bool value) override { SetEnable(value); }

    int KnobPos() const { return knobPos_; }
    // Ignored while the user drags or pages.
    void SetKnobPos(int value);
    // Only when enabled, changed and within 0..1000.
    void SetVal(int value);
    int Margin() const { return margin_; }
    // Kept only while the knob and both margins fit the track.
    void SetMargin(int value);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection value);
    int NewPos() const { return newPos_; }
    void SetNewPos(int value) { newPos_ = value; }
    int Mark(TMarkType type) const { return marks_[type == mtStart ? 0 : 1]; }
    void SetMark(TMarkType type, int value);
    void ClearMark(TMarkType type);
    TColor MarkColor() const { return markColor_; }
    void SetMarkColor(TColor value);
    int MarkWidth() const { return markWidth_; }
    void SetMarkWidth(int value);
    TPoint RangeStart() const { return rangeStart_; }
    TPoint RangeEnd() const { return rangeEnd_; }
    TPoint KnobCenter() const { return knobCenter_; }
    TPoint MousePos() const { return mousePos_; }
    bool Dragging() const { return dragging_; }
    BYTE PageDir() const { return pageDir_; }
    HPALETTE GetPalette() const { return nullptr; }

    void SetPosRec();
    // The value at MousePos: 0 before the track, 1000 after it; 0 on a track of no length.
    int Pos2Value() const;
    void GetKnobCenterPos();
    void PageMove();

    void Dispatch(TMessage& message) override;
    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;
    void DrawBkgnd();
    void DrawKnob();
    void DrawMark(TMarkType type, int value);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int Along(TPoint p) const { return direction_ == HORIZONTAL ? p.X : p.Y; }

    std::unique_ptr<TBitmap> bkgnd_;
    std::unique_ptr<TBitmap> bkgndPass_;
    std::unique_ptr<TBitmap> knob_;
    bool enabled_ = true;
    int knobPos_ = 0;
    int margin_ = 0;
    TDirection direction_ = HORIZONTAL;
    int newPos_ = -1;
    int marks_[2] = {-1, -1};
    TColor markColor_ = clBlue;
    int markWidth_ = 2;
    TPoint rangeStart_;
    TPoint rangeEnd_;
    TPoint knobCenter_;
    TPoint mousePos_;
    bool dragging_ = false;
    BYTE pageDir_ = 0;
};

} // namespace Slider

using Slider::TBitSlider;
