// What a skin description says about one bitmap, as read from a .skin file.
#pragma once

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

HARBEK_DECLARE_EXCEPTION(ESkinError, Exception);

// Flags that make up the look of one frame ("record+selected").
enum SkinFlag : unsigned {
    sfHover = 1u << 0,
    sfPressed = 1u << 1,
    sfDisabled = 1u << 2,
    sfOn = 1u << 3,
    sfSelected = 1u << 4,
    sfRecord = 1u << 5,
    sfEvent = 1u << 6,
};

enum class SkinStyle {
    Background,
    Button,
    Tab,
    Flat,
    Lamp,
    Cell,
    Track,
    Pass,
    Knob,
    Gauge,
    Activity,
    Spinner,
    Fill
};

enum class SkinAlign { Left, Centre, Right };

// $00RRGGBB as written in descriptions (#RRGGBB), not the class library's byte order.
using SkinRgb = std::uint32_t;

struct SkinElement {
    enum Kind { Panel, Raised, Screen, TitleBar, Text, Line, Grid, Numbers, IconAt, Fill, LampAt };
    Kind kind = Panel;
    int line = 0;
    std::vector<int> frames; // empty: every frame
    std::vector<int> values; // the numbers of the element, in the order written
    std::string text;        // text, or the icon name
    SkinAlign align = SkinAlign::Centre;
    bool bold = false;
    bool hasColour = false;
    SkinRgb colour = 0;
};

struct SkinBitmap {
    std::string name;
    std::string file;
    int line = 0;
    int width = 0; // one frame
    int height = 0;
    int frames = 1;
    bool vertical = false;
    SkinStyle style = SkinStyle::Background;
    std::vector<unsigned> states; // one per frame
    std::string icon;
    std::string label;
    bool hasAccent = false;
    SkinRgb accent = 0;
    int fontPx = 11;
    bool fontBold = false;
    std::vector<SkinElement> elements;

    int StripWidth() const { return vertical ? width : width * frames; }
    int StripHeight() const { return vertical ? height * frames : height; }
};

// The looks a style gives its frames when the description lists none.
std::vector<unsigned> DefaultStates(SkinStyle style, int frames);
