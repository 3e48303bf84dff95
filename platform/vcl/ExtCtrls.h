// Panels, bevels, images, paint boxes and timers.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

#include <memory>

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // bsSingle: a sunken frame around the client area, as a window edge.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    TRect ClientRect() const override;
    TPoint ClientOffset() const override;
    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;
    void TextChanged() override;

private:
    // A panel of its colour alone is painted on the screen; one with a caption or frames keeps its
    // picture.
    void UpdatePaintSurface();

    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// Draws `width` nested frames: top and left in topColor, bottom and right in bottomColor; rect shrinks.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);
    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* value);
    // The picture's bitmap canvas; an empty picture becomes a bitmap of the control's size. Raises
    // EInvalidOperation when the picture holds another kind of graphic.
    TCanvas* Canvas();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    // Leaves out the graphic's transparent colour (bitmaps) or mask (icons).
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Where the picture is drawn, in client coordinates.
    TRect DestRect() const;

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;
    void BoundsChanged() override;

private:
    void PictureChanged();
    // A picture that covers the whole control with opaque pixels hides its parents and is painted on
    // the screen.
    void UpdateOpaquePaint();

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner);
    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// A timer of the message loop: OnTimer runs on the GUI thread every Interval milliseconds while
// Enabled, Interval is above 0 and OnTimer is assigned.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer;

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;

private:
    void Update();
    void Fire();

    struct Impl;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::unique_ptr<Impl> impl_;
};
