#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    --rect.Bottom;
    --rect.Right;
    for (int i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline(
            {Point(rect.Left, rect.Bottom), Point(rect.Left, rect.Top), Point(rect.Right, rect.Top)});
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline(
            {Point(rect.Right, rect.Top), Point(rect.Right, rect.Bottom), Point(rect.Left - 1, rect.Bottom)});
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Bottom;
    ++rect.Right;
}

namespace {

TPanelBevel ReadBevel(const TPropertyReader& r) {
    return r.Enum<TPanelBevel>(
        {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}});
}

constexpr int kEdge = 2;

} // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
    UpdatePaintSurface();
}

// Paint covers every pixel with the frames and the colour: nothing to erase or blend.
void TCustomPanel::UpdatePaintSurface() {
    const bool plain =
        Caption().empty() && bevelInner_ == bvNone && bevelOuter_ == bvNone && borderStyle_ == bsNone;
    SetPaintSurface(plain ? TPaintSurface::Screen : TPaintSurface::OpaquePicture);
}

void TCustomPanel::TextChanged() {
    TCustomControl::TextChanged();
    UpdatePaintSurface();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    bevelInner_ = value;
    UpdatePaintSurface();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    bevelOuter_ = value;
    UpdatePaintSurface();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
    bevelWidth_ = std::max(value, 1);
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
    borderWidth_ = std::max(value, 0);
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    // Children sit in the client area, which the frame moves.
    UpdateChildGeometry();
    AlignControls();
    UpdatePaintSurface();
    Invalidate();
}

TRect TCustomPanel::ClientRect() const {
    const int edge = borderStyle_ == bsSingle ? kEdge : 0;
    return Rect(0, 0, std::max(Width() - 2 * edge, 0), std::max(Height() - 2 * edge, 0));
}

TPoint TCustomPanel::ClientOffset() const {
    const int edge = borderStyle_ == bsSingle ? kEdge : 0;
    return Point(edge, edge);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = Rect(0, 0, Width(), Height());
    if (borderStyle_ == bsSingle) {
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, r, cl3DDkShadow, cl3DLight, 1);
    }
    if (bevelOuter_ != bvNone)
        Frame3D(canvas, r, bevelOuter_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelOuter_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    Frame3D(canvas, r, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone)
        Frame3D(canvas, r, bevelInner_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelInner_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    const std::string caption = Caption();
    if (caption.empty()) return;
    HDC dc = canvas->Handle();
    if (!dc) return;
    canvas->Font()->Assign(Font());
    SelectObject(dc, canvas->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Enabled() ? Font()->Color() : clGrayText)));
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    DrawText(dc, caption.c_str(), static_cast<int>(caption.size()), &r, flags);
}

bool TCustomPanel::ReadProperty(TPropertyReader& r) {
    if (r.Is("Alignment")) {
        SetAlignment(ReadAlignmentValue(r));
    } else if (r.Is("BevelInner")) {
        SetBevelInner(ReadBevel(r));
    } else if (r.Is("BevelOuter")) {
        SetBevelOuter(ReadBevel(r));
    } else if (r.Is("BevelWidth")) {
        SetBevelWidth(r.Integer());
    } else if (r.Is("BorderWidth")) {
        SetBorderWidth(r.Integer());
    } else if (r.Is("BorderStyle")) {
        SetBorderStyle(r.Enum<TBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}}));
    } else if (r.Is("FullRepaint") || r.Is("Locked")) {
        r.Boolean();
    } else {
        return TCustomControl::ReadProperty(r);
    }
    return true;
}

// ---- TBevel ----

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    style_ = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = Canvas();
    TColor color1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor color2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    canvas->Pen()->SetWidth(1);
    auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    auto bevelRect = [&](const TRect& r, TColor c1, TColor c2) {
        canvas->Pen()->SetColor(c1);
        canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
        canvas->Pen()->SetColor(c2);
        canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)});
    };
    switch (shape_) {
    case bsBox:
        bevelRect(Rect(0, 0, w - 1, h - 1), color1, color2);
        break;
    case bsFrame:
        bevelRect(Rect(1, 1, w - 1, h - 1), color2, color2);
        bevelRect(Rect(0, 0, w - 2, h - 2), color1, color1);
        break;
    case bsTopLine:
        line(color1, 0, 0, w, 0);
        line(color2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(color1, 0, h - 2, w, h - 2);
        line(color2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(color1, 0, 0, 0, h);
        line(color2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(color1, w - 2, 0, w - 2, h);
        line(color2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

bool TBevel::ReadProperty(TPropertyReader& r) {
    if (r.Is("Shape")) {
        SetShape(r.Enum<TBevelShape>({{"bsBox", bsBox},
                                      {"bsFrame", bsFrame},
                                      {"bsTopLine", bsTopLine},
                                      {"bsBottomLine", bsBottomLine},
                                      {"bsLeftLine", bsLeftLine},
                                      {"bsRightLine", bsRightLine},
                                      {"bsSpacer", bsSpacer}}));
    } else if (r.Is("Style")) {
        SetStyle(r.Enum<TBevelStyle>({{"bsLowered", bsLowered}, {"bsRaised", bsRaised}}));
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}
