#include "platform/vcl/FormDefinition.h"

#include "platform/core/StrUtils.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

EFormDefinitionError::EFormDefinitionError(std::string fileName, int line, std::string property,
                                           const std::string& message)
    : EReadError(property.empty()
                     ? Format("%s(%d): %s", fileName.c_str(), line, message.c_str())
                     : Format("%s(%d): %s: %s", fileName.c_str(), line, property.c_str(), message.c_str())),
      FileName(std::move(fileName)), Line(line), Property(std::move(property)) {}

bool TDfmValue::operator==(const TDfmValue& other) const {
    if (kind != other.kind) return false;
    switch (kind) {
    case Integer:
        return integer == other.integer;
    case Float:
        return number == other.number || (std::isnan(number) && std::isnan(other.number));
    case String:
    case Ident:
    case Binary:
        return text == other.text;
    case Set:
    case List:
        return items == other.items;
    case Collection:
        return collection == other.collection;
    }
    return false;
}

bool TDfmObject::operator==(const TDfmObject& other) const {
    return name == other.name && className == other.className && inherited == other.inherited &&
           properties == other.properties && children == other.children;
}

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the UTF-8 sequence at text[i], or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) return 1;
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

class Parser {
public:
    Parser(std::string_view text, const std::string& fileName) : text_(text), file_(fileName) {}

    TDfmObject ParseRoot() {
        SkipBlanks();
        TDfmObject root = ParseObject(0);
        SkipBlanks();
        if (pos_ < text_.size()) Fail("text after the final 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw EFormDefinitionError(file_, line_, "", message);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipBlanks() {
        while (!AtEnd()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else {
                break;
            }
        }
    }

    static bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }

    // An identifier; with dotted, parts joined by '.' (property names such as Font.Name).
    std::string ReadIdent(bool dotted, const char* what) {
        SkipBlanks();
        if (!IdentStart(Peek())) Fail(Format("%s expected", what));
        const std::size_t start = pos_;
        while (!AtEnd() &&
               (IdentChar(text_[pos_]) ||
                (dotted && text_[pos_] == '.' && pos_ + 1 < text_.size() && IdentStart(text_[pos_ + 1]))))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    void Expect(char c) {
        SkipBlanks();
        if (Peek() != c) Fail(Format("'%c' expected", c));
        ++pos_;
    }

    bool PeekKeyword(std::string_view word) {
        SkipBlanks();
        if (text_.size() - pos_ < word.size()) return false;
        if (!SameText(text_.substr(pos_, word.size()), word)) return false;
        return pos_ + word.size() == text_.size() || !IdentChar(text_[pos_ + word.size()]);
    }

    TDfmObject ParseObject(int depth) {
        if (depth >= MaxFormDefinitionDepth) Fail("objects nested too deeply");
        TDfmObject object;
        object.line = line_;
        const std::string keyword = ReadIdent(false, "'object'");
        if (SameText(keyword, "inherited"))
            object.inherited = true;
        else if (!SameText(keyword, "object") && !SameText(keyword, "inline"))
            Fail("'object' expected");
        std::string first = ReadIdent(false, "object name or class");
        SkipBlanks();
        if (Peek() == ':') {
            ++pos_;
            object.name = std::move(first);
            object.className = ReadIdent(false, "class name");
        } else {
            object.className = std::move(first);
        }
        SkipBlanks();
        if (Peek() == '[') { // creation index of inherited objects
            ++pos_;
            ParseNumber();
            Expect(']');
        }
        // Most objects set a few properties: room for them at once, not grown one move at a time.
        object.properties.reserve(8);
        while (true) {
            SkipBlanks();
            if (AtEnd())
                Fail(Format("'end' of %s expected",
                            object.name.empty() ? object.className.c_str() : object.name.c_str()));
            if (PeekKeyword("end")) {
                pos_ += 3;
                break;
            }
            if (PeekKeyword("object") || PeekKeyword("inherited") || PeekKeyword("inline")) {
                object.children.push_back(ParseObject(depth + 1));
                continue;
            }
            object.properties.push_back(ParseProperty(depth));
        }
        return object;
    }

    TDfmProperty ParseProperty(int depth) {
        TDfmProperty property;
        property.line = line_;
        property.name = ReadIdent(true, "property name");
        Expect('=');
        property.value = ParseValue(depth + 1);
        return property;
    }

    TDfmValue ParseValue(int depth) {
        if (depth >= MaxFormDefinitionDepth) Fail("values nested too deeply");
        SkipBlanks();
        TDfmValue value;
        value.line = line_;
        const char c = Peek();
        if (c == '\'' || c == '#') {
            value.kind = TDfmValue::String;
            value.text = ParseString();
        } else if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) {
            value = ParseNumber();
        } else if (IdentStart(c)) {
            value.kind = TDfmValue::Ident;
            value.text = ReadIdent(true, "value");
        } else if (c == '[') {
            ++pos_;
            value.kind = TDfmValue::Set;
            SkipBlanks();
            if (Peek() != ']') {
                while (true) {
                    TDfmValue item;
                    item.line = line_;
                    item.kind = TDfmValue::Ident;
                    item.text = ReadIdent(false, "set element");
                    value.items.push_back(std::move(item));
                    SkipBlanks();
                    if (Peek() == ',') {
                        ++pos_;
                        continue;
                    }
                    break;
                }
            }
            Expect(']');
        } else if (c == '(') {
            ++pos_;
            value.kind = TDfmValue::List;
            while (true) {
                SkipBlanks();
                if (AtEnd()) Fail("')' expected");
                if (Peek() == ')') {
                    ++pos_;
                    break;
                }
                value.items.push_back(ParseValue(depth + 1));
            }
        } else if (c == '{') {
            ++pos_;
            value.kind = TDfmValue::Binary;
            value.text = ParseBinary();
        } else if (c == '<') {
            ++pos_;
            value.kind = TDfmValue::Collection;
            while (true) {
                SkipBlanks();
                if (AtEnd()) Fail("'>' expected");
                if (Peek() == '>') {
                    ++pos_;
                    break;
                }
                if (!PeekKeyword("item")) Fail("'item' expected");
                pos_ += 4;
                std::vector<TDfmProperty> item;
                while (!PeekKeyword("end")) {
                    if (AtEnd()) Fail("'end' of collection item expected");
                    item.push_back(ParseProperty(depth + 1));
                }
                pos_ += 3;
                value.collection.push_back(std::move(item));
            }
        } else if (AtEnd()) {
            Fail("value expected at the end of the text");
        } else {
            Fail(Format("unexpected character '%c'", c));
        }
        return value;
    }

    TDfmValue ParseNumber() {
        SkipBlanks();
        TDfmValue value;
        value.line = line_;
        const std::size_t start = pos_;
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            ++pos_;
        }
        if (Peek() == '$') {
            ++pos_;
            const std::size_t digits = pos_;
            std::uint64_t v = 0;
            while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
                if (pos_ - digits >= 16) Fail("hexadecimal number too long");
                const char h = text_[pos_++];
                v = v * 16 + static_cast<std::uint64_t>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
            }
            if (pos_ == digits) Fail("hexadecimal digits expected");
            value.kind = TDfmValue::Integer;
            // $FFFFFFFF style values keep their bit pattern, as the class library reads colours.
            value.integer = static_cast<std::int64_t>(v);
            if (negative) value.integer = -value.integer;
            return value;
        }
        const std::size_t digits = pos_;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        if (pos_ == digits) Fail("number expected");
        bool isFloat = false;
        if (Peek() == '.' && pos_ + 1 < text_.size() &&
            std::isdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
            isFloat = true;
            ++pos_;
            while (!AtEnd() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
                ++pos_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            std::size_t p = pos_ + 1;
            if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
            if (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p]))) {
                isFloat = true;
                pos_ = p;
                while (!AtEnd() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
                    ++pos_;
            }
        }
        if (IdentChar(Peek())) Fail("malformed number");
        std::string_view literal = text_.substr(start, pos_ - start);
        if (!literal.empty() && literal[0] == '+') literal.remove_prefix(1);
        if (isFloat) {
            value.kind = TDfmValue::Float;
            auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), value.number);
            if (ec != std::errc() || end != literal.data() + literal.size() || !std::isfinite(value.number))
                Fail("malformed or out-of-range number");
        } else {
            value.kind = TDfmValue::Integer;
            auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), value.integer);
            if (ec != std::errc() || end != literal.data() + literal.size()) Fail("integer out of range");
        }
        return value;
    }

    // One or more string pieces joined by '+'.
    std::string ParseString() {
        std::string out;
        std::uint32_t pendingHigh = 0; // a high surrogate waiting for its low half
        while (true) {
            ParseStringPiece(out, pendingHigh);
            // Pieces written back to back continue the string; '+' continues it across blanks.
            const std::size_t save = pos_;
            const int saveLine = line_;
            SkipBlanks();
            if (Peek() == '+') {
                ++pos_;
                SkipBlanks();
                if (Peek() != '\'' && Peek() != '#') Fail("string expected after '+'");
                continue;
            }
            pos_ = save;
            line_ = saveLine;
            break;
        }
        if (pendingHigh) Fail("unpaired surrogate character code");
        return out;
    }

    void ParseStringPiece(std::string& out, std::uint32_t& pendingHigh) {
        bool any = false;
        while (!AtEnd()) {
            const char c = text_[pos_];
            if (c == '\'') {
                if (pendingHigh) Fail("unpaired surrogate character code");
                ++pos_;
                while (true) {
                    if (AtEnd() || text_[pos_] == '\n' || text_[pos_] == '\r') Fail("unterminated string");
                    if (text_[pos_] == '\'') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                            out += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    const std::size_t n = Utf8SequenceLength(text_, pos_);
                    if (n == 0) Fail("string is not valid UTF-8");
                    out.append(text_.substr(pos_, n));
                    pos_ += n;
                }
                any = true;
            } else if (c == '#') {
                ++pos_;
                std::uint32_t code = 0;
                const bool hex = Peek() == '$';
                if (hex) ++pos_;
                const std::size_t digits = pos_;
                while (!AtEnd() && (hex ? std::isxdigit(static_cast<unsigned char>(text_[pos_]))
                                        : std::isdigit(static_cast<unsigned char>(text_[pos_])))) {
                    const char d = text_[pos_++];
                    const std::uint32_t v = d <= '9' ? static_cast<std::uint32_t>(d - '0')
                                                     : static_cast<std::uint32_t>((d | 0x20) - 'a' + 10);
                    code = code * (hex ? 16 : 10) + v;
                    if (code > 0x10FFFF) Fail("character code out of range");
                }
                if (pos_ == digits) Fail("character code expected after '#'");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (pendingHigh) Fail("unpaired surrogate character code");
                    pendingHigh = code;
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    if (!pendingHigh) Fail("unpaired surrogate character code");
                    AppendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (code - 0xDC00));
                    pendingHigh = 0;
                } else {
                    if (pendingHigh) Fail("unpaired surrogate character code");
                    AppendUtf8(out, code);
                }
                any = true;
            } else {
                break;
            }
        }
        if (!any) Fail("string expected");
    }

    std::string ParseBinary() {
        std::string bytes;
        int half = -1;
        while (true) {
            SkipBlanks();
            if (AtEnd()) Fail("'}' expected");
            const char c = text_[pos_];
            if (c == '}') {
                ++pos_;
                break;
            }
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                Fail("hexadecimal digit expected in binary data");
            const int v = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
            ++pos_;
            if (half < 0) {
                half = v;
            } else {
                bytes += static_cast<char>(half * 16 + v);
                half = -1;
            }
        }
        if (half >= 0) Fail("odd number of hexadecimal digits in binary data");
        return bytes;
    }

    std::string_view text_;
    const std::string& file_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

void Indent(std::string& out, int depth) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

std::string FloatText(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof(buffer), v);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    else if (text.find('.') == std::string::npos) { // 1e+20: give it a fraction so it stays a float
        const auto e = text.find('e');
        text.insert(e, ".0");
    }
    return text;
}

void WriteValue(std::string& out, const TDfmValue& value, int depth);

void WriteProperties(std::string& out, const std::vector<TDfmProperty>& properties, int depth) {
    for (const TDfmProperty& p : properties) {
        Indent(out, depth);
        out += p.name;
        out += " = ";
        WriteValue(out, p.value, depth);
        out += '\n';
    }
}

void WriteValue(std::string& out, const TDfmValue& value, int depth) {
    switch (value.kind) {
    case TDfmValue::Integer:
        out += IntToStr(value.integer);
        break;
    case TDfmValue::Float:
        out += FloatText(value.number);
        break;
    case TDfmValue::String:
        out += QuoteFormString(value.text);
        break;
    case TDfmValue::Ident:
        out += value.text;
        break;
    case TDfmValue::Set:
        out += '[';
        for (std::size_t i = 0; i < value.items.size(); ++i) {
            if (i) out += ", ";
            out += value.items[i].text;
        }
        out += ']';
        break;
    case TDfmValue::List:
        out += '(';
        for (const TDfmValue& item : value.items) {
            out += '\n';
            Indent(out, depth + 1);
            WriteValue(out, item, depth + 1);
        }
        out += ')';
        break;
    case TDfmValue::Binary: {
        out += '{';
        static const char hex[] = "0123456789ABCDEF";
        for (std::size_t i = 0; i < value.text.size(); ++i) {
            if (i % 32 == 0) {
                out += '\n';
                Indent(out, depth + 1);
            }
            const auto b = static_cast<unsigned char>(value.text[i]);
            out += hex[b >> 4];
            out += hex[b & 15];
        }
        out += '}';
        break;
    }
    case TDfmValue::Collection:
        out += '<';
        for (const auto& item : value.collection) {
            out += '\n';
            Indent(out, depth + 1);
            out += "item\n";
            WriteProperties(out, item, depth + 2);
            Indent(out, depth + 1);
            out += "end";
        }
        out += '>';
        break;
    }
}

void WriteObject(std::string& out, const TDfmObject& object, int depth) {
    Indent(out, depth);
    out += object.inherited ? "inherited " : "object ";
    if (!object.name.empty()) {
        out += object.name;
        out += ": ";
    }
    out += object.className;
    out += '\n';
    WriteProperties(out, object.properties, depth + 1);
    for (const TDfmObject& child : object.children)
        WriteObject(out, child, depth + 1);
    Indent(out, depth);
    out += "end\n";
}

} // namespace

TDfmObject ParseFormDefinition(std::string_view text, const std::string& fileName) {
    if (text.size() > MaxFormDefinitionSize)
        throw EFormDefinitionError(fileName, 1, "", "file larger than the 16 MiB a form definition may have");
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Parser parser(text, fileName);
    return parser.ParseRoot();
}

TDfmObject LoadFormDefinition(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError(Format("Cannot open file \"%s\".", fileName.c_str()));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw EFOpenError(Format("Cannot read file \"%s\".", fileName.c_str()));
    if (static_cast<std::uint64_t>(size) > MaxFormDefinitionSize)
        throw EFormDefinitionError(fileName, 1, "", "file larger than the 16 MiB a form definition may have");
    in.seekg(0, std::ios::beg);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), size)) throw EFOpenError(Format("Cannot read file \"%s\".", fileName.c_str()));
    return ParseFormDefinition(text, fileName);
}

std::string QuoteFormString(std::string_view utf8) {
    if (utf8.empty()) return "''";
    std::string out;
    bool open = false;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            if (open) {
                out += '\'';
                open = false;
            }
            out += '#';
            out += IntToStr(b);
            continue;
        }
        if (!open) {
            out += '\'';
            open = true;
        }
        out += c;
        if (c == '\'') out += '\'';
    }
    if (open) out += '\'';
    return out;
}

std::string WriteFormDefinition(const TDfmObject& root) {
    std::string out;
    WriteObject(out, root, 0);
    return out;
}
