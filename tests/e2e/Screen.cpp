#include "tests/e2e/Screen.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace e2e {

namespace {

int Luma(Rgb p) {
    return (p.r * 299 + p.g * 587 + p.b * 114) / 1000;
}

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// The next token of a PPM header (comments skipped).
std::string Token(const std::string& bytes, std::size_t& pos) {
    for (;;) {
        while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos])))
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '#') {
            while (pos < bytes.size() && bytes[pos] != '\n')
                ++pos;
            continue;
        }
        break;
    }
    const std::size_t start = pos;
    while (pos < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[pos])))
        ++pos;
    return bytes.substr(start, pos - start);
}

} // namespace

bool Tint::Matches(Rgb p) const {
    const int hi = std::max({p.r, p.g, p.b});
    switch (kind) {
    case Red:
        return p.r > 150 && p.g < 110 && p.b < 110;
    case Green:
        return p.g > 120 && p.r < 110 && p.b < 110;
    case Blue:
        return p.b > 150 && p.r < 110 && p.g < 110;
    case Yellow:
        return p.r > 150 && p.g > 150 && p.b < 110;
    case Dark:
        return hi < 40;
    }
    return false;
}

Box Clip(Box box, int width, int height) {
    const int x0 = std::clamp(box.x, 0, width), y0 = std::clamp(box.y, 0, height);
    const int x1 = std::clamp(box.Right(), 0, width), y1 = std::clamp(box.Bottom(), 0, height);
    return Box{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

Shot Shot::FromPpm(const std::string& bytes) {
    std::size_t pos = 0;
    if (Token(bytes, pos) != "P6") throw std::runtime_error("not a binary PPM picture");
    const int w = std::atoi(Token(bytes, pos).c_str());
    const int h = std::atoi(Token(bytes, pos).c_str());
    const int maxval = std::atoi(Token(bytes, pos).c_str());
    ++pos; // the one blank after the header
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384 || maxval != 255)
        throw std::runtime_error("unexpected PPM header");
    const std::size_t need = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3;
    if (pos > bytes.size() || bytes.size() - pos < need) throw std::runtime_error("PPM picture cut short");
    Shot shot;
    shot.width_ = w;
    shot.height_ = h;
    shot.pixels_.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + pos);
    for (Rgb& px : shot.pixels_) {
        px = Rgb{p[0], p[1], p[2]};
        p += 3;
    }
    return shot;
}

Rgb Shot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{};
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

int Shot::Count(Box box, Tint tint) const {
    box = Clip(box, width_, height_);
    int n = 0;
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x)
            n += tint.Matches(At(x, y)) ? 1 : 0;
    return n;
}

double Shot::Share(Box box, Tint tint) const {
    box = Clip(box, width_, height_);
    if (box.Empty()) return 0;
    return static_cast<double>(Count(box, tint)) / (static_cast<double>(box.w) * box.h);
}

double Shot::Changed(const Shot& other, Box box) const {
    box = Clip(Clip(box, width_, height_), other.width_, other.height_);
    if (box.Empty()) return 0;
    int n = 0;
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x)
            n += Near(At(x, y), other.At(x, y), 24) ? 0 : 1;
    return static_cast<double>(n) / (static_cast<double>(box.w) * box.h);
}

std::vector<Box> Shot::Groups(Box box, Tint tint, int gap, int minPixels) const {
    box = Clip(box, width_, height_);
    std::vector<int> label(static_cast<std::size_t>(box.w) * static_cast<std::size_t>(std::max(box.h, 0)),
                           -1);
    const auto index = [&](int x, int y) {
        return static_cast<std::size_t>(y - box.y) * static_cast<std::size_t>(box.w) +
               static_cast<std::size_t>(x - box.x);
    };
    struct Group {
        Box bounds;
        int pixels;
    };
    std::vector<Group> groups;
    std::vector<std::pair<int, int>> stack;
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x) {
            if (label[index(x, y)] >= 0 || !tint.Matches(At(x, y))) continue;
            const int id = static_cast<int>(groups.size());
            Group g{Box{x, y, 1, 1}, 0};
            int x0 = x, y0 = y, x1 = x, y1 = y;
            stack.assign(1, {x, y});
            label[index(x, y)] = id;
            while (!stack.empty()) {
                const auto [cx, cy] = stack.back();
                stack.pop_back();
                ++g.pixels;
                x0 = std::min(x0, cx);
                y0 = std::min(y0, cy);
                x1 = std::max(x1, cx);
                y1 = std::max(y1, cy);
                for (int dy = -gap - 1; dy <= gap + 1; ++dy)
                    for (int dx = -gap - 1; dx <= gap + 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < box.x || ny < box.y || nx >= box.Right() || ny >= box.Bottom()) continue;
                        if (label[index(nx, ny)] >= 0 || !tint.Matches(At(nx, ny))) continue;
                        label[index(nx, ny)] = id;
                        stack.emplace_back(nx, ny);
                    }
            }
            g.bounds = Box{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
            groups.push_back(g);
        }
    std::sort(groups.begin(), groups.end(),
              [](const Group& a, const Group& b) { return a.pixels > b.pixels; });
    std::vector<Box> out;
    for (const Group& g : groups)
        if (g.pixels >= minPixels) out.push_back(g.bounds);
    return out;
}

int Shot::Ink(Box box) const {
    box = Clip(box, width_, height_);
    if (box.Empty()) return 0;
    int histogram[256] = {};
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x)
            ++histogram[Luma(At(x, y))];
    const int background =
        static_cast<int>(std::max_element(std::begin(histogram), std::end(histogram)) - histogram);
    int n = 0;
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x)
            n += std::abs(Luma(At(x, y)) - background) > 50 ? 1 : 0;
    return n;
}

std::vector<Box> Shot::EmptyGlyphBoxes(Box box) const {
    box = Clip(box, width_, height_);
    constexpr int kMinWidth = 5, kMaxWidth = 14, kMinHeight = 8, kMaxHeight = 24;
    // The outline stands out from the background (its sides fainter than its top where they fall
    // between pixels, spilling a little into the next column); inside, the background goes on.
    constexpr int kEdge = 25, kPlain = 12;
    const auto luma = [&](int x, int y) { return Luma(At(x, y)); };
    std::vector<Box> found;
    for (int y = box.y + 1; y + kMinHeight < box.Bottom(); ++y)
        for (int x = box.x + 1; x + kMinWidth < box.Right(); ++x) {
            const int background = luma(x - 1, y + 1);
            const auto edge = [&](int px, int py) { return std::abs(luma(px, py) - background) >= kEdge; };
            const auto plain = [&](int px, int py) { return std::abs(luma(px, py) - background) <= kPlain; };
            // A top left corner, nothing drawn left of or above it.
            if (!edge(x, y) || edge(x - 1, y) || edge(x, y - 1)) continue;
            int w = 1;
            while (x + w < box.Right() && w <= kMaxWidth && edge(x + w, y))
                ++w;
            int h = 1;
            while (y + h < box.Bottom() && h <= kMaxHeight && edge(x, y + h))
                ++h;
            if (w < kMinWidth || w > kMaxWidth || h < kMinHeight || h > kMaxHeight) continue;
            // Upright: letters' empty boxes are taller than wide; squares are left to real glyphs.
            if (h * 10 < w * 13) continue;
            bool outline = true;
            for (int k = 0; k < h && outline; ++k)
                outline = edge(x + w - 1, y + k);
            for (int k = 0; k < w && outline; ++k)
                outline = edge(x + k, y + h - 1);
            if (!outline) continue;
            bool empty = true;
            for (int iy = y + 2; iy < y + h - 2 && empty; ++iy)
                for (int ix = x + 2; ix < x + w - 2 && empty; ++ix)
                    empty = plain(ix, iy);
            // Beyond the outline the background goes on: not the frame of something bigger.
            const bool alone = !edge(x + w, y + h / 2) && !edge(x + w / 2, y + h);
            if (empty && alone) found.push_back(Box{x, y, w, h});
        }
    return found;
}

} // namespace e2e
