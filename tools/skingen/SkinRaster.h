// Pixel drawing for skins: plain and graded fills, bevels, anti-aliased shapes and text, clipped to
// the frame being drawn. Colours are $RRGGBB.
#pragma once

#include "tools/skingen/SkinModel.h"

#include "platform/vcl/Graphics.h"

#include <string>
#include <vector>

struct SkinPoint {
    double x = 0;
    double y = 0;
};

// A shape: the union of its `add` parts minus the union of its `cut` parts.
struct SkinShape {
    struct Part {
        enum Kind { Polygon, Disc, Ring, Box, Segment } kind = Box;
        std::vector<SkinPoint> points;         // Polygon
        double cx = 0, cy = 0, r0 = 0, r1 = 0; // Disc (r1), Ring (r0..r1)
        double gapFrom = 0, gapTo = 0;         // Ring: leave out angles (degrees, 0 = up, clockwise)
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0; // Box (corner radius r1), Segment (width r1)
        bool Contains(double x, double y) const;
    };
    std::vector<Part> add;
    std::vector<Part> cut;
    // Further shapes joined to this one, each with its own cuts.
    std::vector<SkinShape> also;

    SkinShape& Polygon(std::vector<SkinPoint> points);
    SkinShape& Disc(double cx, double cy, double r);
    SkinShape& Ring(double cx, double cy, double r0, double r1, double gapFrom = 0, double gapTo = 0);
    SkinShape& Box(double x0, double y0, double x1, double y1, double radius = 0);
    SkinShape& Segment(double x0, double y0, double x1, double y1, double width);
    SkinShape& CutDisc(double cx, double cy, double r);
    SkinShape& CutBox(double x0, double y0, double x1, double y1, double radius = 0);
    SkinShape& Join(SkinShape other);
    // Moves and scales every part: p -> p * scale + (dx, dy).
    SkinShape Transformed(double scale, double dx, double dy) const;
    bool Contains(double x, double y) const;
    bool Bounds(double& x0, double& y0, double& x1, double& y1) const;
};

SkinRgb Mix(SkinRgb a, SkinRgb b, double t); // t = 0 gives a
SkinRgb Lighter(SkinRgb c, double t);
SkinRgb Darker(SkinRgb c, double t);

class SkinRaster {
public:
    // The bitmap must already have its size; it is made opaque black.
    explicit SkinRaster(TBitmap& bitmap);

    // Drawing goes to this frame rectangle of the bitmap; coordinates are relative to its corner.
    void SetFrame(int left, int top, int width, int height);
    int FrameWidth() const { return clipW_; }
    int FrameHeight() const { return clipH_; }

    void Fill(int x, int y, int w, int h, SkinRgb c);
    void Blend(int x, int y, SkinRgb c, double alpha);
    // Vertical colour ramp from top to bottom.
    void Ramp(int x, int y, int w, int h, SkinRgb top, SkinRgb bottom);
    // One pixel rim: top and left in light, bottom and right in dark.
    void Bevel(int x, int y, int w, int h, SkinRgb light, SkinRgb dark);
    void Frame(int x, int y, int w, int h, SkinRgb c);
    // Anti-aliased; the colour runs from top (at y0) to bottom (at y1) when they differ.
    void Shape(const SkinShape& shape, SkinRgb top, SkinRgb bottom, double y0, double y1, double alpha = 1.0);
    void Shape(const SkinShape& shape, SkinRgb c, double alpha = 1.0) { Shape(shape, c, c, 0, 1, alpha); }
    // Text clipped to the box; vertically centred.
    void Text(int x, int y, int w, int h, const std::string& text, int px, bool bold, SkinRgb colour,
              SkinAlign align);
    int TextWidth(const std::string& text, int px, bool bold);

private:
    std::uint32_t* Pixel(int x, int y); // frame coordinates; nullptr outside the frame
    void PrepareFont(int px, bool bold, SkinRgb colour);

    TBitmap& bitmap_;
    int clipX_ = 0, clipY_ = 0, clipW_ = 0, clipH_ = 0;
};
