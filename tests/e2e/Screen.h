// What the screen showed: a picture of the whole display and the pixel questions the roads ask of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool Empty() const { return w <= 0 || h <= 0; }
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
};

// A colour test for one pixel.
struct Tint {
    enum Kind { Red, Green, Blue, Yellow, Dark } kind;
    bool Matches(Rgb p) const;
};

class Shot {
public:
    Shot() = default;
    // A binary PPM (P6, maxval 255); throws on anything else.
    static Shot FromPpm(const std::string& bytes);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;

    // The share (0..1) of the box's pixels of the tint.
    double Share(Box box, Tint tint) const;
    // The number of pixels of the tint in the box.
    int Count(Box box, Tint tint) const;
    // The share of the box's pixels that differ (by more than a little) from the other picture's.
    double Changed(const Shot& other, Box box) const;
    // The bounding boxes of the groups of pixels of the tint in the box (8-connected, with gaps up to
    // `gap` pixels closed), largest first; groups smaller than `minPixels` are left out.
    std::vector<Box> Groups(Box box, Tint tint, int gap = 2, int minPixels = 4) const;
    // The pixels of the box that stand out from its commonest shade: the ink of a text.
    int Ink(Box box) const;
    // Hollow upright rectangles of one colour with a plain inside, the size of a letter: the boxes a
    // font draws for characters it has no glyph for.
    std::vector<Box> EmptyGlyphBoxes(Box box) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

// Box clipped to the picture.
Box Clip(Box box, int width, int height);

} // namespace e2e
