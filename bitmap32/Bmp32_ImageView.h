// TImgView32: an image control that scrolls its scaled bitmap inside the viewport with two range-bar
// scroll bars, keeps a bitmap smaller than the viewport centred, and shows a size grip in the corner
// between the bars. The bars' look is set through ScrollBars.
#pragma once

#include "bitmap32/Bmp32_Image.h"
#include "bitmap32/Bmp32_RangeBars.h"

#include <cstdint>
#include <memory>

namespace Bmp32_ImageView {

enum TScrollBarVisibility : std::uint8_t { svAlways, svHidden, svAuto };
enum TSizeGripStyle : std::uint8_t { sgAuto, sgNone, sgAlways };

// The bar thickness when none is configured: the platform's horizontal scroll-bar height.
inline constexpr int DefaultScrollBarSize = 16;

class TCustomImgView32;

class TIVScrollProperties : public TArrowBarAccess {
public:
    explicit TIVScrollProperties(TCustomImgView32* View);

    // Read from the horizontal bar; written to both.
    int Increment() const;
    void SetIncrement(int Value);
    int Size() const;
    void SetSize(int Value);
    TScrollBarVisibility Visibility() const;
    void SetVisibility(TScrollBarVisibility Value);

private:
    TCustomImgView32* FView;
};

class TCustomImgView32 : public TCustomImage32 {
public:
    TNotifyEvent OnScroll;

    explicit TCustomImgView32(TComponent* AOwner);
    ~TCustomImgView32() override;

    bool Centered() const { return FCentered; }
    void SetCentered(bool Value);
    TIVScrollProperties* ScrollBars() const { return FScrollBars.get(); }
    TSizeGripStyle SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(TSizeGripStyle Value);
    int OverSize() const { return FOverSize; }
    void SetOverSize(int Value);
    TCustomRangeBar* HScroll() const { return FHScroll; }
    TCustomRangeBar* VScroll() const { return FVScroll; }

    // Moves both bars by the given amounts.
    void Scroll(int Dx, int Dy);
    // Centres the viewport on a bitmap point.
    void ScrollToCenter(int X, int Y);
    void Recenter();

    // The configured thickness (or the default), 0 while the bars are hidden.
    int GetScrollBarSize() const;
    bool GetScrollBarsVisible() const;
    bool IsSizeGripVisible() const;
    TRect GetSizeGripRect() const;

    TRect GetViewportRect() override;
    void Paint() override;
    void Loaded() override;
    bool ReadProperty(TPropertyReader& Reader) override;

protected:
    friend class TIVScrollProperties;

    virtual void DoScroll();
    virtual void ScrollHandler(TObject* Sender);
    virtual void UpdateImage();
    virtual void UpdateScrollBars();

    void BitmapResized() override;
    void DoScaleChange() override;
    void DoSetScaleMode(TScaleMode Value) override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    using TCustomImage32::MouseDown;
    using TCustomImage32::MouseMove;

    void AlignAll();
    void DrawSizeGrip(const TRect& R);

private:
    bool FCentered = true;
    std::unique_ptr<TIVScrollProperties> FScrollBars;
    TSizeGripStyle FSizeGrip = sgAuto;
    int FOverSize = 0;
    TCustomRangeBar* FHScroll = nullptr;
    TCustomRangeBar* FVScroll = nullptr;
    bool FScrollLock = false;
    int FScrollBarSize = 0;
    TScrollBarVisibility FScrollBarVisibility = svAlways;
    int FOldSzX = 0;
    int FOldSzY = 0;
};

// The view places and scales its bitmap itself: BitmapAlign and ScaleMode are not among its stored
// properties.
class TImgView32 : public TCustomImgView32 {
public:
    explicit TImgView32(TComponent* AOwner) : TCustomImgView32(AOwner) {}
    bool ReadProperty(TPropertyReader& Reader) override;
};

// Makes TImgView32 known to the form-definition reader (once).
void RegisterImageView();

} // namespace Bmp32_ImageView

using namespace Bmp32_ImageView;
