#include "tools/skingen/SkinParser.h"

#include "tools/skingen/SkinIcons.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxFrames = 64;
constexpr int kMaxStripSide = 16384;
constexpr long long kMaxStripPixels = 16LL * 1024 * 1024;
constexpr int kMaxCoordinate = 10000;
constexpr int kMaxCount = 1000;
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;
constexpr std::size_t kMaxTextLength = 200;

struct Token {
    std::string text;
    bool quoted = false;
};

class LineReader {
public:
    LineReader(const std::string& file, int line) : file_(file), line_(line) {}
    [[noreturn]] void Fail(const std::string& what) const {
        throw ESkinError(file_ + ":" + std::to_string(line_) + ": " + what);
    }
    int Line() const { return line_; }

private:
    const std::string& file_;
    int line_;
};

std::vector<Token> Tokenize(std::string_view line, const LineReader& at) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#' &&
                   (tokens.empty() || i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t')) {
            break; // "#RRGGBB" is a colour
        } else if (c == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) at.Fail("text without its closing quote");
            if (end - i - 1 > kMaxTextLength) at.Fail("text longer than 200 characters");
            tokens.push_back({std::string(line.substr(i + 1, end - i - 1)), true});
            i = end + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r' &&
                   line[end] != '"')
                ++end;
            tokens.push_back({std::string(line.substr(i, end - i)), false});
            i = end;
        }
    }
    return tokens;
}

int Number(const Token& token, int lo, int hi, const char* what, const LineReader& at) {
    int value = 0;
    if (token.quoted || !TryStrToInt(token.text, value) ||
        token.text.find_first_of("xX$") != std::string::npos)
        at.Fail(std::string(what) + " '" + token.text + "' is not a whole number");
    if (value < lo || value > hi)
        at.Fail(std::string(what) + " " + token.text + " is outside " + std::to_string(lo) + ".." +
                std::to_string(hi));
    return value;
}

const std::map<std::string, SkinRgb>& NamedColours() {
    static const std::map<std::string, SkinRgb> colours = {
        {"green", 0x4CC46A}, {"red", 0xD9453B},   {"amber", 0xE8A33A}, {"yellow", 0xE8CF4A},
        {"blue", 0x4A7FD9},  {"cyan", 0x4FB3D9},  {"white", 0xE6EAEE}, {"grey", 0x7E868F},
        {"gray", 0x7E868F},  {"black", 0x000000},
    };
    return colours;
}

bool TryColour(const Token& token, SkinRgb& colour) {
    if (token.quoted) return false;
    const std::string word = LowerCase(token.text);
    if (auto it = NamedColours().find(word); it != NamedColours().end()) {
        colour = it->second;
        return true;
    }
    if (word.size() == 7 && word[0] == '#' && std::all_of(word.begin() + 1, word.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        })) {
        colour = static_cast<SkinRgb>(std::stoul(word.substr(1), nullptr, 16));
        return true;
    }
    return false;
}

SkinRgb Colour(const Token& token, const LineReader& at) {
    SkinRgb colour = 0;
    if (!TryColour(token, colour)) at.Fail("'" + token.text + "' is not a colour (a name or #RRGGBB)");
    return colour;
}

bool TryStyle(const std::string& word, SkinStyle& style) {
    static const std::pair<const char*, SkinStyle> styles[] = {
        {"background", SkinStyle::Background},
        {"button", SkinStyle::Button},
        {"tab", SkinStyle::Tab},
        {"flat", SkinStyle::Flat},
        {"lamp", SkinStyle::Lamp},
        {"cell", SkinStyle::Cell},
        {"track", SkinStyle::Track},
        {"pass", SkinStyle::Pass},
        {"knob", SkinStyle::Knob},
        {"gauge", SkinStyle::Gauge},
        {"activity", SkinStyle::Activity},
        {"spinner", SkinStyle::Spinner},
        {"fill", SkinStyle::Fill},
    };
    for (const auto& [name, value] : styles)
        if (word == name) {
            style = value;
            return true;
        }
    return false;
}

unsigned State(const std::string& word, const LineReader& at) {
    static const std::pair<const char*, unsigned> flags[] = {
        {"normal", 0},          {"off", 0},
        {"empty", 0},           {"hover", sfHover},
        {"pressed", sfPressed}, {"disabled", sfDisabled},
        {"on", sfOn},           {"selected", sfSelected},
        {"record", sfRecord},   {"event", sfEvent},
    };
    unsigned state = 0;
    std::size_t start = 0;
    while (start <= word.size()) {
        const std::size_t plus = std::min(word.find('+', start), word.size());
        const std::string part = word.substr(start, plus - start);
        bool found = false;
        for (const auto& [name, flag] : flags)
            if (part == name) {
                state |= flag;
                found = true;
            }
        if (!found)
            at.Fail("'" + part +
                    "' is not a state (normal hover pressed disabled on off selected empty record event)");
        start = plus + 1;
    }
    return state;
}

struct ElementShape {
    const char* name;
    SkinElement::Kind kind;
    int numbers;   // fixed numbers after the name
    int optional;  // further optional numbers
    bool text;     // a quoted text follows the numbers
    bool iconName; // an icon name follows the numbers
};

const ElementShape kElements[] = {
    {"panel", SkinElement::Panel, 4, 0, false, false},
    {"raised", SkinElement::Raised, 4, 0, false, false},
    {"screen", SkinElement::Screen, 4, 0, false, false},
    {"titlebar", SkinElement::TitleBar, 4, 0, true, false},
    {"text", SkinElement::Text, 4, 0, true, false},
    {"line", SkinElement::Line, 4, 0, false, false},
    {"grid", SkinElement::Grid, 6, 0, false, false},
    {"numbers", SkinElement::Numbers, 6, 1, false, false},
    {"iconat", SkinElement::IconAt, 3, 0, false, true},
    {"fill", SkinElement::Fill, 4, 0, false, false},
    {"lampat", SkinElement::LampAt, 3, 0, false, false},
};

std::vector<int> FrameList(const std::string& selection, int frames, const LineReader& at) {
    std::vector<int> list;
    std::size_t start = 1;
    while (start <= selection.size()) {
        const std::size_t comma = std::min(selection.find(',', start), selection.size());
        const Token part{selection.substr(start, comma - start), false};
        list.push_back(Number(part, 0, frames - 1, "frame", at));
        start = comma + 1;
    }
    return list;
}

SkinElement ReadElement(std::vector<Token> tokens, const SkinBitmap& bitmap, const LineReader& at) {
    SkinElement element;
    element.line = at.Line();
    if (!tokens.empty() && !tokens[0].quoted && tokens[0].text.size() > 1 && tokens[0].text[0] == '@') {
        element.frames = FrameList(tokens[0].text, bitmap.frames, at);
        tokens.erase(tokens.begin());
    }
    if (tokens.empty()) at.Fail("a frame selection needs an element after it");
    const std::string name = LowerCase(tokens[0].text);
    const ElementShape* shape = nullptr;
    for (const ElementShape& s : kElements)
        if (name == s.name) shape = &s;
    if (!shape || tokens[0].quoted) at.Fail("unknown key or element '" + tokens[0].text + "'");
    element.kind = shape->kind;
    std::size_t i = 1;
    for (int n = 0; n < shape->numbers; ++n, ++i) {
        if (i >= tokens.size())
            at.Fail(std::string(shape->name) + " needs " + std::to_string(shape->numbers) + " numbers");
        element.values.push_back(Number(tokens[i], -kMaxCoordinate, kMaxCoordinate, "number", at));
    }
    for (int n = 0; n < shape->optional && i < tokens.size() && !tokens[i].quoted; ++n, ++i)
        element.values.push_back(Number(tokens[i], -kMaxCoordinate, kMaxCoordinate, "number", at));
    if (shape->text) {
        if (i >= tokens.size() || !tokens[i].quoted)
            at.Fail(std::string(shape->name) + " needs a quoted text");
        element.text = tokens[i++].text;
    }
    if (shape->iconName) {
        if (i >= tokens.size() || tokens[i].quoted) at.Fail("iconat needs an icon name");
        element.text = LowerCase(tokens[i++].text);
        if (!IsKnownIcon(element.text)) at.Fail("unknown icon '" + element.text + "'");
    }
    // Sizes and counts must be usable.
    const std::vector<int>& v = element.values;
    switch (element.kind) {
    case SkinElement::Grid:
    case SkinElement::Numbers:
        if (v[2] < 1 || v[3] < 1) at.Fail("cell size must be at least 1 x 1");
        if (v[4] < 1 || v[4] > kMaxCount) at.Fail("count must be 1..1000");
        if (element.kind == SkinElement::Grid && (v[5] < 1 || v[5] > kMaxCount))
            at.Fail("rows must be 1..1000");
        break;
    case SkinElement::IconAt:
    case SkinElement::LampAt:
        if (v[2] < 1 || v[2] > kMaxSide) at.Fail("size must be 1..4096");
        break;
    case SkinElement::Line:
        if (v[0] != v[2] && v[1] != v[3]) at.Fail("a line is horizontal or vertical");
        break;
    default:
        if (element.kind != SkinElement::Line && v.size() >= 4 && (v[2] < 0 || v[3] < 0))
            at.Fail("width and height must not be negative");
        break;
    }
    // Trailing words: alignment, bold, colour.
    for (; i < tokens.size(); ++i) {
        const std::string word = LowerCase(tokens[i].text);
        if (element.kind == SkinElement::Text && !tokens[i].quoted &&
            (word == "left" || word == "centre" || word == "center" || word == "right")) {
            element.align = word == "left"    ? SkinAlign::Left
                            : word == "right" ? SkinAlign::Right
                                              : SkinAlign::Centre;
        } else if ((element.kind == SkinElement::Text || element.kind == SkinElement::Numbers ||
                    element.kind == SkinElement::TitleBar) &&
                   !tokens[i].quoted && word == "bold") {
            element.bold = true;
        } else if (SkinRgb c = 0; TryColour(tokens[i], c)) {
            element.hasColour = true;
            element.colour = c;
        } else {
            at.Fail("unexpected '" + tokens[i].text + "' after " + shape->name);
        }
    }
    if (element.kind == SkinElement::Fill && !element.hasColour) at.Fail("fill needs a colour");
    return element;
}

void Finish(SkinBitmap& bitmap, const std::string& file) {
    const LineReader at(file, bitmap.line);
    if (bitmap.width == 0) at.Fail("bitmap '" + bitmap.name + "' has no size");
    if (bitmap.StripWidth() > kMaxStripSide || bitmap.StripHeight() > kMaxStripSide ||
        static_cast<long long>(bitmap.StripWidth()) * bitmap.StripHeight() > kMaxStripPixels)
        at.Fail("bitmap '" + bitmap.name + "' is too large as a strip");
    if (bitmap.states.empty()) bitmap.states = DefaultStates(bitmap.style, bitmap.frames);
}

} // namespace

std::vector<unsigned> DefaultStates(SkinStyle style, int frames) {
    std::vector<unsigned> states;
    switch (style) {
    case SkinStyle::Button:
    case SkinStyle::Tab:
    case SkinStyle::Flat:
        if (frames == 6)
            states = {sfOn, sfOn | sfHover, sfOn | sfPressed, 0, sfHover, sfPressed};
        else
            states = {0, sfHover, sfPressed, sfDisabled};
        break;
    case SkinStyle::Lamp:
        states =
            frames == 1 ? std::vector<unsigned>{sfOn} : std::vector<unsigned>{0, sfOn, sfOn | sfSelected};
        break;
    case SkinStyle::Cell:
        states = {0, sfRecord, sfEvent, sfSelected, sfRecord | sfSelected, sfEvent | sfSelected};
        break;
    case SkinStyle::Gauge:
        states = {0, sfOn};
        break;
    default:
        break;
    }
    states.resize(static_cast<std::size_t>(frames), 0);
    return states;
}

std::vector<SkinBitmap> ParseSkinText(std::string_view text, const std::string& fileName) {
    std::vector<SkinBitmap> bitmaps;
    SkinBitmap* open = nullptr;
    std::vector<std::string> seenKeys;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        const LineReader at(fileName, lineNo);
        if (line.find('\0') != std::string_view::npos) at.Fail("the file is not text");
        std::vector<Token> tokens = Tokenize(line, at);
        if (tokens.empty()) continue;
        const std::string key = tokens[0].quoted ? "" : LowerCase(tokens[0].text);
        auto need = [&](std::size_t min, std::size_t max) {
            if (tokens.size() < min || tokens.size() > max)
                at.Fail("wrong number of values for '" + key + "'");
        };
        if (!open) {
            if (key != "bitmap") at.Fail("expected 'bitmap NAME', found '" + tokens[0].text + "'");
            need(2, 2);
            const std::string& name = tokens[1].text;
            if (tokens[1].quoted || name.empty() || name.size() > 64 ||
                !std::all_of(name.begin(), name.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
                }))
                at.Fail("bitmap name '" + name + "' must be 1..64 of a-z 0-9 _");
            bitmaps.emplace_back();
            open = &bitmaps.back();
            open->name = name;
            open->file = fileName;
            open->line = lineNo;
            seenKeys.clear();
            continue;
        }
        if (key == "end") {
            need(1, 1);
            Finish(*open, fileName);
            open = nullptr;
            continue;
        }
        if (key == "bitmap") at.Fail("'bitmap' inside the block of '" + open->name + "' (missing 'end')");
        static const char* const keys[] = {"size", "frames", "style",  "states",
                                           "icon", "label",  "accent", "font"};
        if (std::find(std::begin(keys), std::end(keys), key) != std::end(keys)) {
            if (!open->elements.empty()) at.Fail("'" + key + "' must come before the elements");
            if (std::find(seenKeys.begin(), seenKeys.end(), key) != seenKeys.end())
                at.Fail("'" + key + "' given twice");
            seenKeys.push_back(key);
        }
        if (key == "size") {
            need(3, 3);
            open->width = Number(tokens[1], 1, kMaxSide, "width", at);
            open->height = Number(tokens[2], 1, kMaxSide, "height", at);
        } else if (key == "frames") {
            need(2, 3);
            if (!open->states.empty()) at.Fail("'frames' must come before 'states'");
            open->frames = Number(tokens[1], 1, kMaxFrames, "frame count", at);
            if (tokens.size() == 3) {
                const std::string o = LowerCase(tokens[2].text);
                if (o != "horizontal" && o != "vertical") at.Fail("orientation is horizontal or vertical");
                open->vertical = o == "vertical";
            }
        } else if (key == "style") {
            need(2, 2);
            if (!TryStyle(LowerCase(tokens[1].text), open->style))
                at.Fail("unknown style '" + tokens[1].text + "'");
        } else if (key == "states") {
            if (tokens.size() - 1 != static_cast<std::size_t>(open->frames))
                at.Fail("states lists " + std::to_string(tokens.size() - 1) + " looks for " +
                        std::to_string(open->frames) + " frames");
            for (std::size_t i = 1; i < tokens.size(); ++i)
                open->states.push_back(State(LowerCase(tokens[i].text), at));
        } else if (key == "icon") {
            need(2, 2);
            open->icon = LowerCase(tokens[1].text);
            if (!IsKnownIcon(open->icon)) at.Fail("unknown icon '" + tokens[1].text + "'");
        } else if (key == "label") {
            need(2, 2);
            if (!tokens[1].quoted) at.Fail("label needs a quoted text");
            open->label = tokens[1].text;
        } else if (key == "accent") {
            need(2, 2);
            open->hasAccent = true;
            open->accent = Colour(tokens[1], at);
        } else if (key == "font") {
            need(2, 3);
            open->fontPx = Number(tokens[1], 6, 72, "font size", at);
            if (tokens.size() == 3) {
                if (LowerCase(tokens[2].text) != "bold") at.Fail("font takes a size and optionally 'bold'");
                open->fontBold = true;
            }
        } else {
            open->elements.push_back(ReadElement(std::move(tokens), *open, at));
        }
    }
    if (open) LineReader(fileName, lineNo).Fail("bitmap '" + open->name + "' has no 'end'");
    return bitmaps;
}

std::vector<SkinBitmap> ParseSkinFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw ESkinError(fileName + ": cannot be read");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxFileSize)
        throw ESkinError(fileName + ": larger than 4 MB, not a skin description");
    in.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), size);
    if (!in) throw ESkinError(fileName + ": cannot be read");
    return ParseSkinText(text, fileName);
}

void CheckUniqueNames(const std::vector<SkinBitmap>& bitmaps) {
    std::map<std::string, const SkinBitmap*> seen;
    for (const SkinBitmap& b : bitmaps) {
        auto [it, added] = seen.emplace(b.name, &b);
        if (!added)
            throw ESkinError(b.file + ":" + std::to_string(b.line) + ": bitmap '" + b.name +
                             "' is already defined at " + it->second->file + ":" +
                             std::to_string(it->second->line));
    }
}
