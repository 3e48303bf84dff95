// The text form of a form definition, as a tree: nested objects with their properties.
//
//   object FrmLog: TFrmLog
//     Caption = 'Connect'#13#10'now'
//     Font.Style = [fsBold]
//     object lbIPAddress: TListBox
//       Items.Strings = (
//         '10.0.0.1:5000')
//     end
//   end
//
// Values: integers (decimal or $hex), floats, strings (quoted parts, '' for a quote, #n for a
// character code, joined by '+' across lines), identifiers, sets [a, b], lists ( ... ), binary data
// { hex } and collections < item ... end >. Strings hold UTF-8. Parsing is strict: anything else, or
// input past the size and nesting limits, raises EFormDefinitionError naming the file and the line.
#pragma once

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class EFormDefinitionError : public EReadError {
public:
    EFormDefinitionError(std::string fileName, int line, std::string property, const std::string& message);
    std::string FileName;
    int Line = 0;
    std::string Property;
};

struct TDfmProperty;

struct TDfmValue {
    enum Kind { Integer, Float, String, Ident, Set, List, Binary, Collection };
    Kind kind = Integer;
    std::int64_t integer = 0;
    double number = 0.0;
    std::string text;             // String, Ident; raw bytes for Binary
    std::vector<TDfmValue> items; // Set (identifiers) and List elements
    // Collection items: each is a list of properties.
    std::vector<std::vector<TDfmProperty>> collection;
    int line = 0;

    // Line numbers take no part in comparisons.
    bool operator==(const TDfmValue& other) const;
};

struct TDfmProperty {
    std::string name;
    TDfmValue value;
    int line = 0;
    bool operator==(const TDfmProperty& other) const { return name == other.name && value == other.value; }
};

struct TDfmObject {
    std::string name; // may be empty
    std::string className;
    bool inherited = false; // "inherited" instead of "object"
    int line = 0;
    std::vector<TDfmProperty> properties;
    std::vector<TDfmObject> children;
    bool operator==(const TDfmObject& other) const;
};

inline constexpr std::size_t MaxFormDefinitionSize = 16u << 20;
inline constexpr int MaxFormDefinitionDepth = 64;

TDfmObject ParseFormDefinition(std::string_view text, const std::string& fileName);
// Reads and parses a file; a missing or unreadable file raises EFOpenError.
TDfmObject LoadFormDefinition(const std::string& fileName);
// The text form of a tree; parsing it gives the same tree back (lines aside).
std::string WriteFormDefinition(const TDfmObject& root);
std::string QuoteFormString(std::string_view utf8);
