// The text of an INI file as lines, with the lookups and edits that settings files need.
//
// Sections and keys compare ignoring ASCII case, and the first occurrence wins. A key line is
// "key=value" with both sides trimmed; blank lines, ";" comments and lines without "=" count for
// nothing but are kept. An edit touches only the lines it must: every other byte stays as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class IniDocument {
public:
    // Splits the bytes into lines; never fails. The line ending of new lines is the file's first one,
    // CR LF when it has none.
    static IniDocument Parse(std::string_view bytes);
    std::string Serialize() const;
    const std::string& LineEnding() const { return eol_; }

    // Section names in file order, each once.
    std::vector<std::string> SectionNames() const;
    bool HasSection(std::string_view section) const;
    // The keys of the section's first occurrence in file order, each once with its first value.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Each returns whether the text changed. The caller has checked the names and the value
    // (no line breaks, no "=" in keys, no "]" in sections).
    // An existing key is rewritten in place; a new key follows the last key line of its section; a
    // new section goes at the end.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Every line of the key, in every occurrence of the section.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Every occurrence of the section with all its lines.
    bool EraseSection(std::string_view section);
    // An empty section at the end, unless it exists.
    bool AddSection(std::string_view section);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string text; // without its line ending
        std::string eol;  // "\r\n", "\n", or empty for a last line without one
        Kind kind = Kind::Other;
        std::string name;  // section or key, trimmed
        std::string value; // trimmed
    };
    static Line Classify(std::string text, std::string eol, bool first);
    // Index of the first header of the section, or -1.
    int FindSection(std::string_view section) const;
    // Rebuilds firstHeader_ after the lines changed.
    void IndexSections();
    // Removes the lines `drop` picks, told whether each is inside an occurrence of the section; returns
    // whether any went.
    bool DropLines(const std::function<bool(const Line&, bool inSection)>& drop, std::string_view section);
    // One past the last line of the section whose header is at header.
    std::size_t SectionEnd(std::size_t header) const;
    void Append(std::string text);
    void InsertAt(std::size_t index, std::string text);

    std::vector<Line> lines_;
    std::string eol_ = "\r\n";
    // Upper-case section name -> line of its first header, so that a reader walking every section of a
    // large file does not search the file once per section.
    std::unordered_map<std::string, std::size_t> firstHeader_;
};
