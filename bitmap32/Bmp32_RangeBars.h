// Scroll-bar-like controls drawn by the library: TArrowBar (two arrow buttons, a track and a handle,
// with press-and-hold repeat and hot tracking), TRangeBar (a float position inside a range, with a
// visible window, as the scroll bar of a view) and TGaugeBar (an integer position between Min and Max,
// as a track bar). TArrowBarAccess sets the look of one bar, or of two at once.
//
// One timer serves three modes: 1 the first 600 ms of a press, 2 auto-repeat every 100 ms, 3 hot
// tracking (every 150 ms, watching for the cursor leaving the bar).
#pragma once

#include "bitmap32/Bmp32.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdint>

namespace Bmp32_RangeBars {

enum TRBDirection : std::uint8_t { drLeft, drUp, drRight, drDown };
using TRBDirections = TSet<TRBDirection>;
enum TRBZone : std::uint8_t { zNone, zBtnPrev, zTrackPrev, zHandle, zTrackNext, zBtnNext };
enum TRBStyle : std::uint8_t { rbsDefault, rbsMac };
enum TRBBackgnd : std::uint8_t { bgPattern, bgSolid };
using TRBGetSizeEvent = TEvent<TObject*, int&>;
using TRBIncrement = std::uint16_t;

// The timer's modes.
inline constexpr int tmInitialDelay = 1;
inline constexpr int tmRepeat = 2;
inline constexpr int tmHotTrack = 3;

// Per channel (c1 * W + c2 * (255 - W)) >> 8 of two platform colours, system colours resolved first.
// W above 255 raises EAssertionFailed "Assertion failure".
TColor BlendColors(TColor C1, TColor C2, int W);
// Amount added to (or, negative, taken from) red, green and blue, clamped to 0..255.
TColor LightenColor(TColor C, int Amount);

class TArrowBar : public TCustomControl {
public:
    explicit TArrowBar(TComponent* owner);
    ~TArrowBar() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnUserChange;

    TRBBackgnd Backgnd() const { return FBackgnd; }
    void SetBackgnd(TRBBackgnd Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int ButtonSize() const { return FButtonSize; }
    void SetButtonSize(int Value);
    TColor HandleColor() const { return FHandleColor; }
    void SetHandleColor(TColor Value);
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor HighLightColor() const { return FHighLightColor; }
    void SetHighLightColor(TColor Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    bool ShowArrows() const { return FShowArrows; }
    void SetShowArrows(bool Value);
    bool ShowHandleGrip() const { return FShowHandleGrip; }
    void SetShowHandleGrip(bool Value);
    TRBStyle Style() const { return FStyle; }
    void SetStyle(TRBStyle Value);

    // The client area lies inside a one-pixel border with bsSingle.
    TRect ClientRect() const override;
    TPoint ClientOffset() const override;
    int GetBorderSize() const { return FBorderStyle == bsSingle ? 1 : 0; }

    // -- geometry, in client coordinates
    int GetButtonSize() const;
    TRect GetTrackBoundary() const;
    virtual TRect GetHandleRect() const { return TRect{}; }
    TRBZone GetZone(int X, int Y) const;
    TRect GetZoneRect(TRBZone Zone) const;
    virtual bool DrawEnabled() const { return Enabled(); }

    TRBZone DragZone() const { return FDragZone; }
    TRBZone HotZone() const { return FHotZone; }
    int TimerMode() const { return FTimerMode; }
    TTimer* Timer() const { return FTimer; }
    bool ChangeByUser() const { return FGenChange; }

    // One step of the press-and-hold timer (the timer calls it; tests may too).
    virtual void TimerHandler(TObject* Sender);
    // WheelDelta in the platform's units of 120 a notch; true when handled.
    virtual bool DoMouseWheel(TShiftState, int, TPoint) { return false; }
    void MouseLeft();

    bool ReadProperty(TPropertyReader& Reader) override;
    void Dispatch(TMessage& Message) override;

protected:
    virtual void DoChange();
    virtual void DoDrawButton(TBitmap32* Dst, TRect R, TRBDirection Direction, bool Pushed, bool Enabled,
                              bool Hot);
    virtual void DoDrawHandle(TBitmap32* Dst, TRect R, bool Horz, bool Pushed, bool Hot);
    virtual void DoDrawTrack(TBitmap32* Dst, TRect R, TRBDirection Direction, bool Pushed, bool Enabled,
                             bool Hot);
    virtual void AdjustPosition() {}
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void EnabledChanged() override;

    void StartDragTracking();
    void StopDragTracking() { StartHotTracking(); }
    void StartHotTracking();
    void StopHotTracking();
    // The frame of bsSingle: a sunken outer edge on all four sides.
    void DrawNCArea(TBitmap32* Dst);
    // The bar's whole look, client area at ClientOffset().
    void PaintTo(TBitmap32* Dst);
    // The client length along the bar and its thickness across it.
    int ClientLength() const { return FKind == sbHorizontal ? ClientWidth() : ClientHeight(); }
    int ClientThickness() const { return FKind == sbHorizontal ? ClientHeight() : ClientWidth(); }
    int Along(int X, int Y) const { return FKind == sbHorizontal ? X : Y; }
    // A cursor position read for the timer, in client coordinates.
    TPoint CursorInClient() const;
    // Whether the cursor, clamped into the client area, lies over one of two zones.
    bool CursorOverZone(TRBZone A, TRBZone B) const;
    // The track length: the bar's length less both buttons and the border.
    int TrackLength() const;

    bool FGenChange = false;
    TRBZone FDragZone = zNone;
    TRBZone FHotZone = zNone;
    int FTimerMode = 0;
    TPoint FMouseDownPoint;

private:
    TRBBackgnd FBackgnd = bgPattern;
    TBorderStyle FBorderStyle = bsSingle;
    int FButtonSize = 0;
    TColor FHandleColor = clBtnShadow;
    TColor FButtonColor = clBtnFace;
    TColor FHighLightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    TColor FBorderColor = clWindowFrame;
    TScrollBarKind FKind = sbHorizontal;
    bool FShowArrows = true;
    bool FShowHandleGrip = true;
    TRBStyle FStyle = rbsDefault;
    TTimer* FTimer = nullptr;
};

class TCustomRangeBar : public TArrowBar {
public:
    explicit TCustomRangeBar(TComponent* owner);

    float Position() const { return FPosition; }
    void SetPosition(float Value);
    int Range() const { return FRange; }
    void SetRange(int Value) { SetParams(Value, FWindow); }
    int Window() const { return FWindow; }
    void SetWindow(int Value) { SetParams(FRange, Value); }
    // Negative values become 0; keeps the centre when centred and the range exceeds the window.
    void SetParams(int NewRange, int NewWindow);
    TRBIncrement Increment() const { return FIncrement; }
    void SetIncrement(TRBIncrement Value) { FIncrement = Value; }
    bool Centered() const { return FCentered; }
    void SetCentered(bool Value) { FCentered = Value; }
    // Window, or the bar's own length when Window is 0.
    int EffectiveWindow() const { return FEffectiveWindow; }

    bool DrawEnabled() const override;
    TRect GetHandleRect() const override;
    void TimerHandler(TObject* Sender) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool ReadProperty(TPropertyReader& Reader) override;

protected:
    void AdjustPosition() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Resize() override;

private:
    void UpdateEffectiveWindow();

    float FPosBeforeDrag = 0;
    bool FCentered = false;
    int FEffectiveWindow = 0;
    TRBIncrement FIncrement = 8;
    float FPosition = 0;
    int FRange = 0;
    int FWindow = 0;
};

class TRangeBar : public TCustomRangeBar {
public:
    using TCustomRangeBar::TCustomRangeBar;
};

class TCustomGaugeBar : public TArrowBar {
public:
    explicit TCustomGaugeBar(TComponent* owner);

    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int HandleSize() const { return FHandleSize; }
    void SetHandleSize(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value < 1 ? 1 : Value; }
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value < 1 ? 1 : Value; }

    // HandleSize, or the bar's thickness when 0; kept within 0..track length - 1.
    int GetHandleSize() const;
    TRect GetHandleRect() const override;
    void TimerHandler(TObject* Sender) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool ReadProperty(TPropertyReader& Reader) override;

protected:
    void AdjustPosition() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    float FPosBeforeDrag = 0;
    int FHandleSize = 0;
    int FLargeChange = 1;
    int FMax = 100;
    int FMin = 0;
    int FPosition = 0;
    int FSmallChange = 1;
};

class TGaugeBar : public TCustomGaugeBar {
public:
    using TCustomGaugeBar::TCustomGaugeBar;
};

// Writes go to the master bar, then to the second one when there is one; reads come from the master.
class TArrowBarAccess : public TPersistent {
public:
    TArrowBarAccess(TArrowBar* Master = nullptr, TArrowBar* Slave = nullptr)
        : FMaster(Master), FSlave(Slave) {}
    TArrowBar* Master() const { return FMaster; }
    void SetMaster(TArrowBar* Value) { FMaster = Value; }
    TArrowBar* Slave() const { return FSlave; }
    void SetSlave(TArrowBar* Value) { FSlave = Value; }

    TRBBackgnd Backgnd() const { return FMaster->Backgnd(); }
    void SetBackgnd(TRBBackgnd Value) { Both(&TArrowBar::SetBackgnd, Value); }
    int ButtonSize() const { return FMaster->ButtonSize(); }
    void SetButtonSize(int Value) { Both(&TArrowBar::SetButtonSize, Value); }
    TColor Color() const { return FMaster->Color(); }
    void SetColor(TColor Value) { Both(&TArrowBar::SetColor, Value); }
    TColor HandleColor() const { return FMaster->HandleColor(); }
    void SetHandleColor(TColor Value) { Both(&TArrowBar::SetHandleColor, Value); }
    TColor HighLightColor() const { return FMaster->HighLightColor(); }
    void SetHighLightColor(TColor Value) { Both(&TArrowBar::SetHighLightColor, Value); }
    TColor ShadowColor() const { return FMaster->ShadowColor(); }
    void SetShadowColor(TColor Value) { Both(&TArrowBar::SetShadowColor, Value); }
    TColor ButtonColor() const { return FMaster->ButtonColor(); }
    void SetButtonColor(TColor Value) { Both(&TArrowBar::SetButtonColor, Value); }
    TColor BorderColor() const { return FMaster->BorderColor(); }
    void SetBorderColor(TColor Value) { Both(&TArrowBar::SetBorderColor, Value); }
    bool ShowArrows() const { return FMaster->ShowArrows(); }
    void SetShowArrows(bool Value) { Both(&TArrowBar::SetShowArrows, Value); }
    bool ShowHandleGrip() const { return FMaster->ShowHandleGrip(); }
    void SetShowHandleGrip(bool Value) { Both(&TArrowBar::SetShowHandleGrip, Value); }
    TRBStyle Style() const { return FMaster->Style(); }
    void SetStyle(TRBStyle Value) { Both(&TArrowBar::SetStyle, Value); }

private:
    template <class S, class V>
    void Both(S Setter, V Value) {
        (FMaster->*Setter)(Value);
        if (FSlave) (FSlave->*Setter)(Value);
    }

    TArrowBar* FMaster;
    TArrowBar* FSlave;
};

// Makes TRangeBar and TGaugeBar known to the form reader by class name (once).
void RegisterRangeBars();

} // namespace Bmp32_RangeBars

using namespace Bmp32_RangeBars;
