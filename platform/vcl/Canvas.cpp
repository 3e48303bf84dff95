// The canvas: drawing with a pen, a brush and a font through its device context. Solid one-pixel pens
// and plain fills are drawn pixel-exact as the platform draws them (right and bottom edges excluded,
// a line's last point left out); wider or patterned pens and curves go through the painter.
#include "platform/vcl/DcInternal.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/ImageData.h"

#include <QPolygon>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace vcl_internal;

namespace {

COLORREF Rgb(TColor c) {
    return static_cast<COLORREF>(ColorToRGB(c));
}

// Points of a line from a to b without b, as the platform's line drawing picks them.
void LinePoints(TPoint a, TPoint b, std::vector<QPoint>& out) {
    int x = a.X, y = a.Y;
    const int dx = std::abs(b.X - a.X), dy = std::abs(b.Y - a.Y);
    const int sx = b.X >= a.X ? 1 : -1, sy = b.Y >= a.Y ? 1 : -1;
    if (dx >= dy) {
        int error = dx / 2;
        for (int i = 0; i < dx; ++i) {
            out.emplace_back(x, y);
            x += sx;
            error += dy;
            if (error >= dx) {
                error -= dx;
                y += sy;
            }
        }
    } else {
        int error = dy / 2;
        for (int i = 0; i < dy; ++i) {
            out.emplace_back(x, y);
            y += sy;
            error += dx;
            if (error >= dy) {
                error -= dy;
                x += sx;
            }
        }
    }
}

bool ExactPen(const TPen& pen) {
    return pen.Width() == 1 && (pen.Style() == psSolid || pen.Style() == psInsideFrame) &&
           pen.Mode() == pmCopy;
}

QPainter::CompositionMode PenComposition(TPenMode mode) {
    switch (mode) {
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

QPen ToQPen(const TPen& pen) {
    if (pen.Style() == psClear || pen.Mode() == pmNop) return QPen(Qt::NoPen);
    QColor colour = vcl_qt::ToQColor(pen.Color());
    if (pen.Mode() == pmBlack)
        colour = Qt::black;
    else if (pen.Mode() == pmWhite || pen.Mode() == pmNot)
        colour = Qt::white;
    QPen result(colour);
    result.setWidth(pen.Width() <= 1 ? 0 : pen.Width());
    result.setCapStyle(Qt::FlatCap);
    result.setJoinStyle(Qt::MiterJoin);
    switch (pen.Style()) {
    case psDash:
        result.setStyle(Qt::DashLine);
        break;
    case psDot:
        result.setStyle(Qt::DotLine);
        break;
    case psDashDot:
        result.setStyle(Qt::DashDotLine);
        break;
    case psDashDotDot:
        result.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return result;
}

QBrush ToQBrush(TBrush& brush) {
    if (brush.Style() == bsClear) return QBrush(Qt::NoBrush);
    if (brush.Bitmap() && !brush.Bitmap()->Empty()) return QBrush(vcl_qt::ToQImage(*brush.Bitmap()).copy());
    const QColor colour = vcl_qt::ToQColor(brush.Color());
    switch (brush.Style()) {
    case bsHorizontal:
        return QBrush(colour, Qt::HorPattern);
    case bsVertical:
        return QBrush(colour, Qt::VerPattern);
    case bsFDiagonal:
        return QBrush(colour, Qt::FDiagPattern);
    case bsBDiagonal:
        return QBrush(colour, Qt::BDiagPattern);
    case bsCross:
        return QBrush(colour, Qt::CrossPattern);
    case bsDiagCross:
        return QBrush(colour, Qt::DiagCrossPattern);
    default:
        return QBrush(colour);
    }
}

bool PlainBrush(TBrush& brush) {
    return brush.Style() == bsSolid && !brush.Bitmap();
}

QRect ToQRect(int x1, int y1, int x2, int y2) {
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

HDC TCanvas::Handle() {
    PrepareHandle();
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    dc_ = dc;
}

void TCanvas::CreateHandle() {}

HDC TCanvas::RequireHandle() {
    HDC dc = Handle();
    if (!dc) throw EInvalidOperation("Canvas does not allow drawing");
    return dc;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TRect TCanvas::ClipRect() {
    TRect r;
    HDC dc = Handle();
    if (dc) GetClipBox(dc, &r);
    return r;
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y) {
    Polyline({penPos_, TPoint{x, y}});
    penPos_ = TPoint{x, y};
}

void TCanvas::Polyline(const TPoint* points, int count) {
    if (!points || count < 2) return;
    HDC dc = RequireHandle();
    Changing();
    if (ExactPen(pen_)) {
        std::vector<QPoint> dots;
        for (int i = 1; i < count; ++i)
            LinePoints(points[i - 1], points[i], dots);
        PlotPoints(dc, dots, Rgb(pen_.Color()));
    } else if (TDcPaint p(dc); p) {
        QPolygon polygon;
        for (int i = 0; i < count; ++i)
            polygon << QPoint(points[i].X, points[i].Y);
        p->setCompositionMode(PenComposition(pen_.Mode()));
        p->setPen(ToQPen(pen_));
        p->drawPolyline(polygon);
    }
    penPos_ = points[count - 1];
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    HDC dc = RequireHandle();
    Changing();
    const bool noPen = pen_.Style() == psClear || pen_.Mode() == pmNop;
    if (noPen) {
        // Without a pen the platform fills one pixel less on the right and at the bottom.
        if (brush_.Style() != bsClear) FillRect(TRect{x1, y1, x2 - 1, y2 - 1});
    } else if (ExactPen(pen_) && (PlainBrush(brush_) || brush_.Style() == bsClear)) {
        if (brush_.Style() != bsClear)
            FillSolid(dc, TRect{x1 + 1, y1 + 1, x2 - 1, y2 - 1}, Rgb(brush_.Color()));
        std::vector<QPoint> dots;
        const TPoint corners[5] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}};
        for (int i = 1; i < 5; ++i)
            LinePoints(corners[i - 1], corners[i], dots);
        if (x2 - x1 == 1 || y2 - y1 == 1) dots.emplace_back(x2 - 1, y2 - 1);
        if (x2 > x1 && y2 > y1) PlotPoints(dc, dots, Rgb(pen_.Color()));
    } else if (TDcPaint p(dc); p && x2 > x1 && y2 > y1) {
        p->setCompositionMode(PenComposition(pen_.Mode()));
        p->setPen(ToQPen(pen_));
        p->setBrush(ToQBrush(brush_));
        p->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    }
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    HDC dc = RequireHandle();
    if (brush_.Style() == bsClear) return;
    Changing();
    if (PlainBrush(brush_)) {
        FillSolid(dc, r, Rgb(brush_.Color()));
    } else if (TDcPaint p(dc); p) {
        p->fillRect(ToQRect(r.Left, r.Top, r.Right, r.Bottom), ToQBrush(brush_));
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    HDC dc = RequireHandle();
    Changing();
    HBRUSH brush = CreateSolidBrush(Rgb(brush_.Color()));
    ::FrameRect(dc, &r, brush);
    DeleteObject(brush);
    Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
    if (!points || count < 2) return;
    HDC dc = RequireHandle();
    Changing();
    if (TDcPaint p(dc); p) {
        QPolygon polygon;
        for (int i = 0; i < count; ++i)
            polygon << QPoint(points[i].X, points[i].Y);
        p->setCompositionMode(PenComposition(pen_.Mode()));
        p->setPen(ToQPen(pen_));
        p->setBrush(ToQBrush(brush_));
        p->drawPolygon(polygon, Qt::OddEvenFill);
    }
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    HDC dc = RequireHandle();
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    Changing();
    if (TDcPaint p(dc); p) {
        p->setCompositionMode(PenComposition(pen_.Mode()));
        p->setPen(ToQPen(pen_));
        p->setBrush(ToQBrush(brush_));
        // The pen's outline of this rectangle covers exactly (x1, y1) .. (x2 - 1, y2 - 1).
        p->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    }
    Changed();
}

namespace {

// Selects the canvas font and text colours into a context.
void PrepareText(HDC dc, TFont& font, TBrush& brush) {
    SelectObject(dc, font.Handle());
    SetTextColor(dc, Rgb(font.Color()));
    SetBkColor(dc, Rgb(brush.Color()));
    SetBkMode(dc, brush.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

} // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
    HDC dc = RequireHandle();
    Changing();
    PrepareText(dc, font_, brush_);
    ::ExtTextOut(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    SIZE size;
    GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
    penPos_ = TPoint{x + size.cx, y};
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    HDC dc = RequireHandle();
    Changing();
    PrepareText(dc, font_, brush_);
    const UINT options = ETO_CLIPPED | (brush_.Style() == bsClear ? 0 : ETO_OPAQUE);
    ::ExtTextOut(dc, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size;
    HDC dc = Handle();
    // Measuring needs no surface: a canvas that cannot draw right now measures on a memory context.
    HDC measure = dc ? dc : CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(measure, font_.Handle());
    GetTextExtentPoint32(measure, text.data(), static_cast<int>(text.size()), &size);
    if (dc) {
        if (old && old != font_.Handle()) SelectObject(measure, old);
    } else {
        DeleteDC(measure);
    }
    return size;
}

int TCanvas::TextWidth(const std::string& text) {
    return TextExtent(text).cx;
}
int TCanvas::TextHeight(const std::string& text) {
    return TextExtent(text).cy;
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(TRect{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    RequireHandle();
    Changing();
    graphic->Draw(this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& destRect, TCanvas* source, const TRect& sourceRect) {
    if (!source) return;
    HDC dc = RequireHandle();
    HDC src = source->RequireHandle();
    Changing();
    StretchBlt(dc, destRect.Left, destRect.Top, destRect.Right - destRect.Left,
               destRect.Bottom - destRect.Top, src, sourceRect.Left, sourceRect.Top,
               sourceRect.Right - sourceRect.Left, sourceRect.Bottom - sourceRect.Top, copyMode_);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    HDC dc = Handle();
    if (!dc) return -1;
    const COLORREF c = GetPixel(dc, x, y);
    return c == CLR_INVALID ? -1 : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    HDC dc = RequireHandle();
    Changing();
    SetPixel(dc, x, y, Rgb(color));
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    HDC dc = RequireHandle();
    Changing();
    ::DrawFocusRect(dc, &r);
    Changed();
}

void TCanvas::Refresh() {
    if (dc_) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
}

void TCanvas::Lock() {
    lock_.lock();
    ++lockCount_;
}

void TCanvas::Unlock() {
    --lockCount_;
    lock_.unlock();
}

bool TCanvas::TryLock() {
    if (!lock_.try_lock()) return false;
    ++lockCount_;
    return true;
}
