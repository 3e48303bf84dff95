#include "tools/skingen/SkinIcons.h"

#include <cmath>
#include <map>
#include <string>

namespace {

SkinShape Triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
    return SkinShape().Polygon({{x0, y0}, {x1, y1}, {x2, y2}});
}

SkinShape Speaker() {
    return SkinShape().Box(2, 6, 5, 10).Polygon({{4.5, 6}, {9, 2.5}, {9, 13.5}, {4.5, 10}});
}

SkinShape Gear() {
    SkinShape gear;
    gear.Ring(8, 8, 2.1, 5.0);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4, c = std::cos(a), s = std::sin(a);
        auto at = [&](double along, double across) {
            return SkinPoint{8 + c * along - s * across, 8 + s * along + c * across};
        };
        gear.Polygon({at(4.2, -1.3), at(7.2, -0.9), at(7.2, 0.9), at(4.2, 1.3)});
    }
    gear.CutDisc(8, 8, 2.1);
    return gear;
}

SkinShape Plug() {
    return SkinShape()
        .Box(4.5, 5, 11.5, 10, 1.2)
        .Box(5.8, 1.5, 7.2, 5)
        .Box(8.8, 1.5, 10.2, 5)
        .Segment(8, 10, 8, 14.5, 1.8);
}

SkinShape CameraWithDigit(int digit) {
    SkinShape frame = SkinShape().Box(1.5, 1.5, 14.5, 14.5, 2.5).CutBox(3, 3, 13, 13, 1.2);
    return frame.Join(DigitShape(digit, 5.5, 4, 10.5, 12, 1.6));
}

using Maker = SkinShape (*)();

const std::map<std::string, Maker, std::less<>>& Makers() {
    static const std::map<std::string, Maker, std::less<>> makers = {
        {"play", [] { return Triangle(4.5, 2.5, 13.5, 8, 4.5, 13.5); }},
        {"reverse", [] { return Triangle(11.5, 2.5, 2.5, 8, 11.5, 13.5); }},
        {"pause", [] { return SkinShape().Box(3.5, 3, 6.8, 13).Box(9.2, 3, 12.5, 13); }},
        {"stop", [] { return SkinShape().Box(3.5, 3.5, 12.5, 12.5, 1); }},
        {"step", [] { return Triangle(3, 3, 9.5, 8, 3, 13).Box(10.5, 3, 13, 13); }},
        {"stepback", [] { return Triangle(13, 3, 6.5, 8, 13, 13).Box(3, 3, 5.5, 13); }},
        {"fast",
         [] {
             return Triangle(1.5, 3, 8, 8, 1.5, 13).Polygon({{8, 3}, {14.5, 8}, {8, 13}});
         }},
        {"fastback",
         [] {
             return Triangle(14.5, 3, 8, 8, 14.5, 13).Polygon({{8, 3}, {1.5, 8}, {8, 13}});
         }},
        {"first",
         [] {
             return SkinShape()
                 .Box(1.5, 3, 3.5, 13)
                 .Polygon({{9, 3}, {3.5, 8}, {9, 13}})
                 .Polygon({{14.5, 3}, {9, 8}, {14.5, 13}});
         }},
        {"last",
         [] {
             return SkinShape()
                 .Box(12.5, 3, 14.5, 13)
                 .Polygon({{7, 3}, {12.5, 8}, {7, 13}})
                 .Polygon({{1.5, 3}, {7, 8}, {1.5, 13}});
         }},
        {"back5",
         [] {
             // A turn to the left around the digit.
             SkinShape s = SkinShape().Ring(8, 8.5, 5.2, 6.6, 300, 345);
             s.Polygon({{1.2, 2.6}, {6.2, 2.4}, {3.2, 6.6}});
             return s.Join(DigitShape(5, 6, 5.5, 10, 11.5, 1.3));
         }},
        {"live",
         [] {
             return SkinShape()
                 .Disc(8, 8, 2.4)
                 .Ring(8, 8, 4.2, 5.4, 330, 30)
                 .Join(
                     SkinShape().Ring(8, 8, 6.4, 7.6, 330, 30).CutBox(0, 0, 16, 3.2).CutBox(0, 12.8, 16, 16))
                 .CutBox(5.4, 0, 10.6, 4.6)
                 .CutBox(5.4, 11.4, 10.6, 16);
         }},
        {"search", [] { return SkinShape().Ring(6.8, 6.8, 3.3, 5.0).Segment(10.2, 10.2, 14, 14, 2.4); }},
        {"setup", [] { return Gear(); }},
        {"connect", [] { return Plug(); }},
        {"disconnect",
         [] { return Plug().CutBox(0, 6.8, 16, 8.2).Join(SkinShape().Segment(2, 14, 14, 2, 1.4)); }},
        {"power", [] { return SkinShape().Ring(8, 8.8, 4.4, 6.0, 325, 35).Segment(8, 1.5, 8, 8, 1.9); }},
        {"close", [] { return SkinShape().Segment(4, 4, 12, 12, 2.0).Segment(12, 4, 4, 12, 2.0); }},
        {"minimise", [] { return SkinShape().Box(4, 10.5, 12, 12.5); }},
        {"record", [] { return SkinShape().Disc(8, 8, 4.8); }},
        {"quad",
         [] {
             return SkinShape()
                 .Box(2, 2, 7.3, 7.3, 0.8)
                 .Box(8.7, 2, 14, 7.3, 0.8)
                 .Box(2, 8.7, 7.3, 14, 0.8)
                 .Box(8.7, 8.7, 14, 14, 0.8);
         }},
        {"cam1", [] { return CameraWithDigit(1); }},
        {"cam2", [] { return CameraWithDigit(2); }},
        {"cam3", [] { return CameraWithDigit(3); }},
        {"cam4", [] { return CameraWithDigit(4); }},
        {"about", [] { return SkinShape().Ring(8, 8, 5.6, 7.0).Disc(8, 4.9, 1.1).Box(7.1, 6.8, 8.9, 11.8); }},
        {"upgrade",
         [] {
             return SkinShape()
                 .Polygon({{8, 1.5}, {13.5, 7}, {10, 7}, {10, 11}, {6, 11}, {6, 7}, {2.5, 7}})
                 .Box(3, 12.5, 13, 14.2);
         }},
        {"usb",
         [] {
             return SkinShape()
                 .Segment(8, 2, 8, 12.5, 1.4)
                 .Polygon({{8, 0.8}, {10, 3.6}, {6, 3.6}})
                 .Disc(8, 13.2, 1.8)
                 .Segment(8, 10, 4, 7.5, 1.2)
                 .Segment(4, 7.5, 4, 5.5, 1.2)
                 .Disc(4, 5, 1.2)
                 .Segment(8, 8.5, 12, 6, 1.2)
                 .Box(11, 3.6, 13, 5.6);
         }},
        {"backup",
         [] {
             return SkinShape()
                 .Polygon({{6, 1.5}, {10, 1.5}, {10, 6}, {12.5, 6}, {8, 10.5}, {3.5, 6}, {6, 6}})
                 .Join(SkinShape().Box(1.5, 9, 14.5, 14.5, 1).CutBox(3, 9, 13, 13));
         }},
        {"print",
         [] {
             return SkinShape()
                 .Box(4.5, 1.5, 11.5, 5.5)
                 .Join(SkinShape().Box(1.5, 6, 14.5, 11.5, 1.2).CutBox(4, 9.5, 12, 16))
                 .Join(SkinShape().Box(4.5, 10.5, 11.5, 14.5).CutBox(5.7, 11.7, 10.3, 16));
         }},
        {"map",
         [] {
             return SkinShape()
                 .Disc(8, 6, 4.4)
                 .Polygon({{4.2, 8.3}, {11.8, 8.3}, {8, 14.8}})
                 .CutDisc(8, 6, 1.8);
         }},
        {"volume",
         [] {
             return Speaker().Join(SkinShape()
                                       .Ring(8, 8, 3.4, 4.6, 180, 360)
                                       .Ring(8, 8, 5.8, 7.0, 180, 360)
                                       .CutBox(0, 0, 9.6, 16));
         }},
        {"mute",
         [] { return Speaker().Segment(10.5, 5.5, 14.5, 10.5, 1.5).Segment(14.5, 5.5, 10.5, 10.5, 1.5); }},
        {"up", [] { return Triangle(8, 4, 13.5, 11.5, 2.5, 11.5); }},
        {"down", [] { return Triangle(2.5, 4.5, 13.5, 4.5, 8, 12); }},
        {"left", [] { return Triangle(4, 8, 11.5, 2.5, 11.5, 13.5); }},
        {"right", [] { return Triangle(12, 8, 4.5, 2.5, 4.5, 13.5); }},
        {"check",
         [] { return SkinShape().Segment(2.5, 8.5, 6.3, 12.2, 2.2).Segment(6.3, 12.2, 13.8, 4, 2.2); }},
        {"add", [] { return SkinShape().Box(7, 2.5, 9, 13.5).Box(2.5, 7, 13.5, 9); }},
        {"remove", [] { return SkinShape().Box(2.5, 7, 13.5, 9); }},
        {"folder",
         [] {
             return SkinShape()
                 .Polygon({{1.5, 3}, {6, 3}, {7.5, 4.8}, {14.5, 4.8}, {14.5, 13.5}, {1.5, 13.5}})
                 .CutBox(1.5, 6, 14.5, 6.9);
         }},
        {"save",
         [] {
             return SkinShape()
                 .Box(2, 2, 14, 14, 1.2)
                 .CutBox(4.5, 2, 11.5, 6.2)
                 .CutBox(4, 9, 12, 14)
                 .Join(SkinShape().Box(9, 2.8, 10.6, 5.4));
         }},
        {"fullscreen",
         [] {
             SkinShape s;
             const double c[4][2] = {{2, 2}, {14, 2}, {2, 14}, {14, 14}};
             for (const auto& p : c) {
                 const double dx = p[0] < 8 ? 4 : -4, dy = p[1] < 8 ? 4 : -4;
                 s.Segment(p[0], p[1], p[0] + dx, p[1], 1.8).Segment(p[0], p[1], p[0], p[1] + dy, 1.8);
             }
             return s;
         }},
    };
    return makers;
}

} // namespace

SkinShape DigitShape(int digit, double x0, double y0, double x1, double y1, double t) {
    // Segments a (top), b (top right), c (bottom right), d (bottom), e (bottom left), f (top left), g
    // (middle).
    static const char* const lit[10] = {"abcdef", "bc",     "abged", "abgcd",   "fgbc",
                                        "afgcd",  "afgedc", "abc",   "abcdefg", "abcdfg"};
    const double ym = (y0 + y1) / 2;
    SkinShape s;
    for (const char* p = lit[digit < 0 || digit > 9 ? 8 : digit]; *p; ++p) {
        switch (*p) {
        case 'a':
            s.Box(x0, y0, x1, y0 + t);
            break;
        case 'b':
            s.Box(x1 - t, y0, x1, ym + t / 2);
            break;
        case 'c':
            s.Box(x1 - t, ym - t / 2, x1, y1);
            break;
        case 'd':
            s.Box(x0, y1 - t, x1, y1);
            break;
        case 'e':
            s.Box(x0, ym - t / 2, x0 + t, y1);
            break;
        case 'f':
            s.Box(x0, y0, x0 + t, ym + t / 2);
            break;
        case 'g':
            s.Box(x0, ym - t / 2, x1, ym + t / 2);
            break;
        }
    }
    if (digit == 1)
        s = SkinShape()
                .Box((x0 + x1) / 2 - t / 2, y0, (x0 + x1) / 2 + t / 2, y1)
                .Box((x0 + x1) / 2 - t * 1.6, y0, (x0 + x1) / 2, y0 + t);
    return s;
}

SkinShape IconShape(std::string_view name) {
    auto it = Makers().find(name);
    return it == Makers().end() ? SkinShape() : it->second();
}

bool IsKnownIcon(std::string_view name) {
    return Makers().find(name) != Makers().end();
}
