#include "tools/skingen/AppIcon.h"

#include "tools/skingen/PngWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr std::size_t kMaxFileSize = 1024 * 1024;
constexpr double kMaxCoordinate = 4 * kIconCanvas;
constexpr std::size_t kMaxPoints = 256;
constexpr int kSamples = 8; // per axis, per pixel: the small sizes need the finer edge

struct Where {
    const std::string& file;
    int line;
    [[noreturn]] void Fail(const std::string& what) const {
        throw ESkinError(file + ":" + std::to_string(line) + ": " + what);
    }
};

// "#RRGGBB" or "#RRGGBBAA" as $AARRGGBB.
std::uint32_t Colour(std::string_view text, const Where& at) {
    std::uint32_t value = 0;
    const bool sized = text.size() == 7 || text.size() == 9;
    const auto [end, ec] = sized && text[0] == '#'
                               ? std::from_chars(text.data() + 1, text.data() + text.size(), value, 16)
                               : std::from_chars_result{text.data(), std::errc::invalid_argument};
    if (ec != std::errc() || end != text.data() + text.size())
        at.Fail("'" + std::string(text) + "' is not a colour (#RRGGBB or #RRGGBBAA)");
    return text.size() == 7 ? 0xFF000000u | value : (value >> 8) | (value << 24);
}

double Number(const std::string& text, const Where& at) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        at.Fail("'" + text + "' is not a number");
    if (std::fabs(value) > kMaxCoordinate) at.Fail(text + " is outside -1024..1024");
    return value;
}

SkinShape Shape(const std::string& kind, const std::vector<double>& v, const Where& at) {
    const auto count = [&](std::size_t n, const char* names) {
        if (v.size() != n) at.Fail(kind + " takes " + names);
    };
    if (kind == "box") {
        count(5, "X Y W H RADIUS");
        if (v[2] <= 0 || v[3] <= 0 || v[4] < 0 || v[4] * 2 > std::min(v[2], v[3]))
            at.Fail("a box needs a positive size and a radius of at most half its side");
        return SkinShape().Box(v[0], v[1], v[0] + v[2], v[1] + v[3], v[4]);
    }
    if (kind == "disc") {
        count(3, "CX CY R");
        if (v[2] <= 0) at.Fail("a disc needs a positive radius");
        return SkinShape().Disc(v[0], v[1], v[2]);
    }
    if (kind == "ring") {
        count(4, "CX CY INNER OUTER");
        if (v[2] < 0 || v[3] <= v[2]) at.Fail("a ring's inner radius must be below its outer one");
        return SkinShape().Ring(v[0], v[1], v[2], v[3]);
    }
    if (kind == "segment") {
        count(5, "X0 Y0 X1 Y1 WIDTH");
        if (v[4] <= 0) at.Fail("a segment needs a positive width");
        return SkinShape().Segment(v[0], v[1], v[2], v[3], v[4]);
    }
    if (kind == "polygon") {
        if (v.size() < 6 || v.size() % 2 != 0 || v.size() > 2 * kMaxPoints)
            at.Fail("a polygon takes 3 to 256 points, X Y each");
        std::vector<SkinPoint> points;
        for (std::size_t i = 0; i < v.size(); i += 2)
            points.push_back({v[i], v[i + 1]});
        return SkinShape().Polygon(std::move(points));
    }
    at.Fail("unknown shape '" + kind + "' (box, disc, ring, segment, polygon)");
}

int Channel(std::uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

// An opacity of 0..255 as 0..1, three places are plenty.
double Opacity(std::uint32_t argb) {
    return std::round(((argb >> 24) & 0xFF) / 255.0 * 1000) / 1000;
}

// Shortest text that reads back as the same number.
std::string Num(double v) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return ec == std::errc() ? std::string(text, end) : "0";
}

std::string Hex(std::uint32_t argb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", argb & 0xFFFFFFu);
    return text;
}

// The paint attributes of a layer: a plain colour, or the grade defined as gradient `id`.
std::string Paint(const IconLayer& layer, const std::string& attribute, int id, std::ostringstream& defs) {
    std::string paint;
    if (layer.top == layer.bottom) {
        paint = attribute + "=\"" + Hex(layer.top) + "\"";
        if (Channel(layer.top, 24) != 255)
            paint += " " + attribute + "-opacity=\"" + Num(Opacity(layer.top)) + "\"";
        return paint;
    }
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    layer.shape.Bounds(x0, y0, x1, y1);
    defs << "<linearGradient id=\"g" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" << Num(y0)
         << "\" x2=\"0\" y2=\"" << Num(y1) << "\">";
    for (const auto& [offset, colour] : {std::pair{0, layer.top}, std::pair{1, layer.bottom}})
        defs << "<stop offset=\"" << offset << "\" stop-color=\"" << Hex(colour) << "\" stop-opacity=\""
             << Num(Opacity(colour)) << "\"/>";
    defs << "</linearGradient>\n";
    return attribute + "=\"url(#g" + std::to_string(id) + ")\"";
}

} // namespace

std::vector<IconLayer> ParseIconText(std::string_view text, const std::string& fileName) {
    std::vector<IconLayer> layers;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const Where at{fileName, number};
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) {
            // "#" alone or at the start of the line begins a comment; "#RRGGBB" later on is a colour.
            if (word == "#" || (tokens.empty() && word[0] == '#')) break;
            tokens.push_back(word);
        }
        if (tokens.empty()) continue;
        if (tokens.size() < 2) at.Fail(tokens[0] + " needs a fill and its numbers");
        IconLayer layer;
        layer.kind = tokens[0];
        const std::size_t slash = tokens[1].find('/');
        layer.top = Colour(std::string_view(tokens[1]).substr(0, slash), at);
        layer.bottom = slash == std::string::npos ? layer.top
                                                  : Colour(std::string_view(tokens[1]).substr(slash + 1), at);
        for (std::size_t i = 2; i < tokens.size(); ++i)
            layer.values.push_back(Number(tokens[i], at));
        layer.shape = Shape(layer.kind, layer.values, at);
        layers.push_back(std::move(layer));
    }
    if (layers.empty()) throw ESkinError(fileName + ": no shape is described");
    return layers;
}

std::vector<IconLayer> ParseIconFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw ESkinError(fileName + ": cannot be read");
    std::string text(kMaxFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (static_cast<std::size_t>(in.gcount()) > kMaxFileSize)
        throw ESkinError(fileName + ": larger than 1 MiB");
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseIconText(text, fileName);
}

std::vector<std::uint32_t> PaintIcon(const std::vector<IconLayer>& layers, int size) {
    const double scale = static_cast<double>(size) / kIconCanvas;
    // Premultiplied red, green, blue and alpha, 0..1.
    std::vector<double> acc(static_cast<std::size_t>(size) * size * 4, 0.0);
    for (const IconLayer& layer : layers) {
        const SkinShape shape = layer.shape.Transformed(scale, 0, 0);
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (!shape.Bounds(x0, y0, x1, y1)) continue;
        const int left = std::max(0, static_cast<int>(std::floor(x0)));
        const int right = std::min(size, static_cast<int>(std::ceil(x1)) + 1);
        const int top = std::max(0, static_cast<int>(std::floor(y0)));
        const int bottom = std::min(size, static_cast<int>(std::ceil(y1)) + 1);
        for (int y = top; y < bottom; ++y) {
            const double t = y1 > y0 ? std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
            double c[4];
            for (int k = 0; k < 4; ++k) {
                const int shift = k == 3 ? 24 : 16 - 8 * k;
                c[k] = (Channel(layer.top, shift) +
                        (Channel(layer.bottom, shift) - Channel(layer.top, shift)) * t) /
                       255.0;
            }
            for (int x = left; x < right; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        hits += shape.Contains(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                if (hits == 0) continue;
                const double a = c[3] * hits / (kSamples * kSamples);
                double* p = &acc[(static_cast<std::size_t>(y) * size + x) * 4];
                for (int k = 0; k < 3; ++k)
                    p[k] = c[k] * a + p[k] * (1 - a);
                p[3] = a + p[3] * (1 - a);
            }
        }
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const double* p = &acc[i * 4];
        if (p[3] <= 0) continue;
        const auto byte = [](double v) {
            return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
        };
        pixels[i] = byte(p[3]) << 24 | byte(p[0] / p[3]) << 16 | byte(p[1] / p[3]) << 8 | byte(p[2] / p[3]);
    }
    return pixels;
}

std::string IconSvg(const std::vector<IconLayer>& layers) {
    std::ostringstream defs, body;
    int id = 0;
    for (const IconLayer& l : layers) {
        const std::vector<double>& v = l.values;
        if (l.kind == "box") {
            body << "<rect x=\"" << Num(v[0]) << "\" y=\"" << Num(v[1]) << "\" width=\"" << Num(v[2])
                 << "\" height=\"" << Num(v[3]) << "\" rx=\"" << Num(v[4]) << "\" ";
        } else if (l.kind == "disc") {
            body << "<circle cx=\"" << Num(v[0]) << "\" cy=\"" << Num(v[1]) << "\" r=\"" << Num(v[2])
                 << "\" ";
        } else if (l.kind == "ring") {
            // Two circles, the inner one cut out.
            body << "<path fill-rule=\"evenodd\" d=\"";
            for (const double r : {v[3], v[2]})
                if (r > 0)
                    body << "M" << Num(v[0] - r) << " " << Num(v[1]) << "a" << Num(r) << " " << Num(r)
                         << " 0 1 0 " << Num(2 * r) << " 0a" << Num(r) << " " << Num(r) << " 0 1 0 "
                         << Num(-2 * r) << " 0Z";
            body << "\" ";
        } else if (l.kind == "segment") {
            body << "<line x1=\"" << Num(v[0]) << "\" y1=\"" << Num(v[1]) << "\" x2=\"" << Num(v[2])
                 << "\" y2=\"" << Num(v[3]) << "\" stroke-width=\"" << Num(v[4])
                 << "\" stroke-linecap=\"round\" " << Paint(l, "stroke", ++id, defs) << "/>\n";
            continue;
        } else {
            body << "<polygon points=\"";
            for (std::size_t i = 0; i < v.size(); i += 2)
                body << (i ? " " : "") << Num(v[i]) << "," << Num(v[i + 1]);
            body << "\" ";
        }
        body << Paint(l, "fill", ++id, defs) << "/>\n";
    }
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kIconCanvas << "\" height=\""
        << kIconCanvas << "\" viewBox=\"0 0 " << kIconCanvas << " " << kIconCanvas << "\">\n";
    if (!defs.str().empty()) svg << "<defs>\n" << defs.str() << "</defs>\n";
    svg << body.str() << "</svg>\n";
    return svg.str();
}

void WriteIconTheme(const std::string& description, const std::string& outDir) {
    namespace fs = std::filesystem;
    const std::vector<IconLayer> layers = ParseIconFile(description);
    const std::string name = fs::path(description).stem().string();
    const auto folder = [&](const std::string& size) {
        const fs::path dir = fs::path(outDir) / "hicolor" / size / "apps";
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) throw ESkinError(dir.string() + ": cannot create the folder (" + ec.message() + ")");
        return dir;
    };
    for (const int size : kIconSizes) {
        const std::string label = std::to_string(size) + "x" + std::to_string(size);
        SavePixelsAsPng(size, size, PaintIcon(layers, size).data(), true,
                        (folder(label) / (name + ".png")).string());
    }
    const std::string svgFile = (folder("scalable") / (name + ".svg")).string();
    std::ofstream out(svgFile, std::ios::binary | std::ios::trunc);
    out << IconSvg(layers);
    if (!out) throw ESkinError(svgFile + ": cannot be written");
}
