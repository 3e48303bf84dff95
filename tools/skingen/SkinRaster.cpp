#include "tools/skingen/SkinRaster.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 4; // per axis, per pixel

double Angle(double dx, double dy) {
    // 0 at the top, growing clockwise, 0..360.
    double a = std::atan2(dx, -dy) * 180.0 / M_PI;
    return a < 0 ? a + 360 : a;
}

std::uint32_t Opaque(SkinRgb c) {
    return 0xFF000000u | (c & 0xFFFFFFu);
}

int Channel(SkinRgb c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

SkinRgb Make(int r, int g, int b) {
    auto clamp = [](int v) { return static_cast<SkinRgb>(std::clamp(v, 0, 255)); };
    return (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

} // namespace

SkinRgb Mix(SkinRgb a, SkinRgb b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return Make(lerp(Channel(a, 16), Channel(b, 16)), lerp(Channel(a, 8), Channel(b, 8)),
                lerp(Channel(a, 0), Channel(b, 0)));
}
SkinRgb Lighter(SkinRgb c, double t) {
    return Mix(c, 0xFFFFFF, t);
}
SkinRgb Darker(SkinRgb c, double t) {
    return Mix(c, 0x000000, t);
}

// ---- shapes ----

bool SkinShape::Part::Contains(double x, double y) const {
    switch (kind) {
    case Polygon: {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const SkinPoint& a = points[i];
            const SkinPoint& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside;
    }
    case Disc:
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r1 * r1;
    case Ring: {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 < r0 * r0 || d2 > r1 * r1) return false;
        if (gapFrom == gapTo) return true;
        const double a = Angle(x - cx, y - cy);
        return gapFrom < gapTo ? !(a >= gapFrom && a <= gapTo) : !(a >= gapFrom || a <= gapTo);
    }
    case Box: {
        if (x < x0 || x > x1 || y < y0 || y > y1) return false;
        const double r = r1;
        if (r <= 0) return true;
        const double qx = x < x0 + r ? x0 + r : (x > x1 - r ? x1 - r : x);
        const double qy = y < y0 + r ? y0 + r : (y > y1 - r ? y1 - r : y);
        return (x - qx) * (x - qx) + (y - qy) * (y - qy) <= r * r;
    }
    case Segment: {
        const double vx = x1 - x0, vy = y1 - y0;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * vx - x, py = y0 + t * vy - y;
        return px * px + py * py <= r1 * r1 / 4;
    }
    }
    return false;
}

SkinShape& SkinShape::Polygon(std::vector<SkinPoint> points) {
    Part p;
    p.kind = Part::Polygon;
    p.points = std::move(points);
    add.push_back(std::move(p));
    return *this;
}
SkinShape& SkinShape::Disc(double cx, double cy, double r) {
    Part p;
    p.kind = Part::Disc;
    p.cx = cx, p.cy = cy, p.r1 = r;
    add.push_back(p);
    return *this;
}
SkinShape& SkinShape::Ring(double cx, double cy, double r0, double r1, double gapFrom, double gapTo) {
    Part p;
    p.kind = Part::Ring;
    p.cx = cx, p.cy = cy, p.r0 = r0, p.r1 = r1, p.gapFrom = gapFrom, p.gapTo = gapTo;
    add.push_back(p);
    return *this;
}
SkinShape& SkinShape::Box(double x0, double y0, double x1, double y1, double radius) {
    Part p;
    p.kind = Part::Box;
    p.x0 = x0, p.y0 = y0, p.x1 = x1, p.y1 = y1, p.r1 = radius;
    add.push_back(p);
    return *this;
}
SkinShape& SkinShape::Segment(double x0, double y0, double x1, double y1, double width) {
    Part p;
    p.kind = Part::Segment;
    p.x0 = x0, p.y0 = y0, p.x1 = x1, p.y1 = y1, p.r1 = width;
    add.push_back(p);
    return *this;
}
SkinShape& SkinShape::CutDisc(double cx, double cy, double r) {
    Disc(cx, cy, r);
    cut.push_back(add.back());
    add.pop_back();
    return *this;
}
SkinShape& SkinShape::CutBox(double x0, double y0, double x1, double y1, double radius) {
    Box(x0, y0, x1, y1, radius);
    cut.push_back(add.back());
    add.pop_back();
    return *this;
}

SkinShape SkinShape::Transformed(double s, double dx, double dy) const {
    auto move = [&](Part p) {
        for (SkinPoint& q : p.points)
            q = {q.x * s + dx, q.y * s + dy};
        p.cx = p.cx * s + dx, p.cy = p.cy * s + dy, p.r0 *= s, p.r1 *= s;
        p.x0 = p.x0 * s + dx, p.y0 = p.y0 * s + dy, p.x1 = p.x1 * s + dx, p.y1 = p.y1 * s + dy;
        return p;
    };
    SkinShape out;
    for (const Part& p : add)
        out.add.push_back(move(p));
    for (const Part& p : cut)
        out.cut.push_back(move(p));
    for (const SkinShape& other : also)
        out.also.push_back(other.Transformed(s, dx, dy));
    return out;
}

SkinShape& SkinShape::Join(SkinShape other) {
    also.push_back(std::move(other));
    return *this;
}

bool SkinShape::Contains(double x, double y) const {
    for (const SkinShape& other : also)
        if (other.Contains(x, y)) return true;
    bool in = false;
    for (const Part& p : add)
        if (p.Contains(x, y)) {
            in = true;
            break;
        }
    if (!in) return false;
    for (const Part& p : cut)
        if (p.Contains(x, y)) return false;
    return true;
}

bool SkinShape::Bounds(double& bx0, double& by0, double& bx1, double& by1) const {
    bool any = false;
    auto grow = [&](double x0, double y0, double x1, double y1) {
        if (!any) {
            bx0 = x0, by0 = y0, bx1 = x1, by1 = y1;
            any = true;
        } else {
            bx0 = std::min(bx0, x0), by0 = std::min(by0, y0), bx1 = std::max(bx1, x1),
            by1 = std::max(by1, y1);
        }
    };
    for (const Part& p : add) {
        switch (p.kind) {
        case Part::Polygon:
            for (const SkinPoint& q : p.points)
                grow(q.x, q.y, q.x, q.y);
            break;
        case Part::Disc:
        case Part::Ring:
            grow(p.cx - p.r1, p.cy - p.r1, p.cx + p.r1, p.cy + p.r1);
            break;
        case Part::Box:
            grow(p.x0, p.y0, p.x1, p.y1);
            break;
        case Part::Segment: {
            const double half = p.r1 / 2;
            grow(std::min(p.x0, p.x1) - half, std::min(p.y0, p.y1) - half, std::max(p.x0, p.x1) + half,
                 std::max(p.y0, p.y1) + half);
        } break;
        }
    }
    for (const SkinShape& other : also) {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (other.Bounds(x0, y0, x1, y1)) grow(x0, y0, x1, y1);
    }
    return any;
}

// ---- raster ----

SkinRaster::SkinRaster(TBitmap& bitmap) : bitmap_(bitmap) {
    bitmap_.SetPixelFormat(pf24bit);
    for (int y = 0; y < bitmap_.Height(); ++y) {
        auto* row = static_cast<std::uint32_t*>(bitmap_.ScanLine(y));
        std::fill(row, row + bitmap_.Width(), 0xFF000000u);
    }
    SetFrame(0, 0, bitmap_.Width(), bitmap_.Height());
}

void SkinRaster::SetFrame(int left, int top, int width, int height) {
    clipX_ = left, clipY_ = top, clipW_ = width, clipH_ = height;
}

std::uint32_t* SkinRaster::Pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= clipW_ || y >= clipH_) return nullptr;
    const int bx = clipX_ + x, by = clipY_ + y;
    if (bx < 0 || by < 0 || bx >= bitmap_.Width() || by >= bitmap_.Height()) return nullptr;
    return static_cast<std::uint32_t*>(bitmap_.ScanLine(by)) + bx;
}

void SkinRaster::Fill(int x, int y, int w, int h, SkinRgb c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, clipW_), y1 = std::min(y + h, clipH_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            if (std::uint32_t* p = Pixel(xx, yy)) *p = Opaque(c);
}

void SkinRaster::Blend(int x, int y, SkinRgb c, double alpha) {
    if (std::uint32_t* p = Pixel(x, y)) *p = Opaque(Mix(*p & 0xFFFFFF, c, std::clamp(alpha, 0.0, 1.0)));
}

void SkinRaster::Ramp(int x, int y, int w, int h, SkinRgb top, SkinRgb bottom) {
    for (int i = 0; i < h; ++i)
        Fill(x, y + i, w, 1, Mix(top, bottom, h > 1 ? double(i) / (h - 1) : 0));
}

void SkinRaster::Bevel(int x, int y, int w, int h, SkinRgb light, SkinRgb dark) {
    if (w <= 0 || h <= 0) return;
    Fill(x, y, w, 1, light);
    Fill(x, y, 1, h, light);
    Fill(x, y + h - 1, w, 1, dark);
    Fill(x + w - 1, y, 1, h, dark);
}

void SkinRaster::Frame(int x, int y, int w, int h, SkinRgb c) {
    Bevel(x, y, w, h, c, c);
}

void SkinRaster::Shape(const SkinShape& shape, SkinRgb top, SkinRgb bottom, double gy0, double gy1,
                       double alpha) {
    double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
    if (!shape.Bounds(bx0, by0, bx1, by1)) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(bx0))),
              y0 = std::max(0, static_cast<int>(std::floor(by0)));
    const int x1 = std::min(clipW_, static_cast<int>(std::ceil(bx1)) + 1);
    const int y1 = std::min(clipH_, static_cast<int>(std::ceil(by1)) + 1);
    for (int y = y0; y < y1; ++y) {
        const double t = gy1 > gy0 ? std::clamp((y + 0.5 - gy0) / (gy1 - gy0), 0.0, 1.0) : 0.0;
        const SkinRgb colour = Mix(top, bottom, t);
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (shape.Contains(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
            if (hits) Blend(x, y, colour, alpha * hits / (kSamples * kSamples));
        }
    }
}

void SkinRaster::PrepareFont(int px, bool bold, SkinRgb colour) {
    TCanvas* canvas = bitmap_.Canvas();
    canvas->Font()->SetName("DejaVu Sans");
    canvas->Font()->SetHeight(-px);
    canvas->Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    // $RRGGBB to the class library's $00BBGGRR.
    canvas->Font()->SetColor(
        static_cast<TColor>(((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF)));
    canvas->Brush()->SetStyle(bsClear);
}

int SkinRaster::TextWidth(const std::string& text, int px, bool bold) {
    PrepareFont(px, bold, 0);
    return bitmap_.Canvas()->TextWidth(text);
}

void SkinRaster::Text(int x, int y, int w, int h, const std::string& text, int px, bool bold, SkinRgb colour,
                      SkinAlign align) {
    if (text.empty() || w <= 0 || h <= 0) return;
    PrepareFont(px, bold, colour);
    TCanvas* canvas = bitmap_.Canvas();
    const SIZE extent = canvas->TextExtent(text);
    int tx = x;
    if (align == SkinAlign::Centre) tx = x + (w - extent.cx) / 2;
    if (align == SkinAlign::Right) tx = x + w - extent.cx;
    const int ty = y + (h - extent.cy) / 2;
    // The box, cut to the frame, in bitmap coordinates.
    const int l = clipX_ + std::max(x, 0), t = clipY_ + std::max(y, 0);
    const int r = clipX_ + std::min(x + w, clipW_), b = clipY_ + std::min(y + h, clipH_);
    if (l >= r || t >= b) return;
    canvas->TextRect(Rect(l, t, r, b), clipX_ + tx, clipY_ + ty, text);
}
