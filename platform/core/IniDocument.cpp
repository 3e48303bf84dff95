#include "platform/core/IniDocument.h"

#include "platform/core/StrUtils.h"

#include <unordered_set>

namespace {

const std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

IniDocument::Line IniDocument::Classify(std::string text, std::string eol, bool first) {
    Line line;
    std::string_view view = text;
    if (first && view.substr(0, kUtf8Bom.size()) == kUtf8Bom) view.remove_prefix(kUtf8Bom.size());
    const std::string trimmed = Trim(view);
    if (!trimmed.empty() && trimmed[0] == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string::npos) {
            line.kind = Kind::Section;
            line.name = Trim(std::string_view(trimmed).substr(1, close - 1));
        }
    } else if (!trimmed.empty() && trimmed[0] != ';') {
        const std::size_t eq = trimmed.find('=');
        if (eq != std::string::npos) {
            std::string key = Trim(std::string_view(trimmed).substr(0, eq));
            if (!key.empty()) {
                line.kind = Kind::Key;
                line.name = std::move(key);
                line.value = Trim(std::string_view(trimmed).substr(eq + 1));
            }
        }
    }
    line.text = std::move(text);
    line.eol = std::move(eol);
    return line;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    const std::size_t firstLf = bytes.find('\n');
    if (firstLf != std::string_view::npos)
        doc.eol_ = (firstLf > 0 && bytes[firstLf - 1] == '\r') ? "\r\n" : "\n";
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string eol;
        if (lf != std::string_view::npos) {
            if (end > start && bytes[end - 1] == '\r') {
                --end;
                eol = "\r\n";
            } else {
                eol = "\n";
            }
        }
        doc.lines_.push_back(
            Classify(std::string(bytes.substr(start, end - start)), std::move(eol), doc.lines_.empty()));
        start = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    doc.IndexSections();
    return doc;
}

void IniDocument::IndexSections() {
    firstHeader_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section) firstHeader_.emplace(UpperCase(lines_[i].name), i);
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

int IniDocument::FindSection(std::string_view section) const {
    const auto found = firstHeader_.find(UpperCase(section));
    return found == firstHeader_.end() ? -1 : static_cast<int>(found->second);
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && firstHeader_.at(UpperCase(lines_[i].name)) == i)
            names.push_back(lines_[i].name);
    return names;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) >= 0;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const int header = FindSection(section);
    if (header < 0) return entries;
    const std::size_t end = SectionEnd(static_cast<std::size_t>(header));
    std::unordered_set<std::string> seen;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Key && seen.insert(UpperCase(line.name)).second)
            entries.emplace_back(line.name, line.value);
    }
    return entries;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const int header = FindSection(section);
    if (header < 0) return std::nullopt;
    const std::size_t end = SectionEnd(static_cast<std::size_t>(header));
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key && SameText(lines_[i].name, key)) return lines_[i].value;
    return std::nullopt;
}

void IniDocument::InsertAt(std::size_t index, std::string text) {
    // A last line without a line ending gets one before anything follows it.
    if (index > 0 && index == lines_.size() && lines_.back().eol.empty()) lines_.back().eol = eol_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Classify(std::move(text), eol_, index == 0));
    IndexSections();
}

void IniDocument::Append(std::string text) {
    InsertAt(lines_.size(), std::move(text));
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + std::string(value);
    const int header = FindSection(section);
    if (header < 0) {
        Append("[" + std::string(section) + "]");
        Append(line);
        return true;
    }
    const std::size_t end = SectionEnd(static_cast<std::size_t>(header));
    std::size_t lastKey = static_cast<std::size_t>(header);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
        Line& existing = lines_[i];
        if (existing.kind != Kind::Key) continue;
        lastKey = i;
        if (!SameText(existing.name, key)) continue;
        if (existing.value == value) return false;
        // Keep the line's own spelling of the key and its spacing around "=".
        const std::size_t eq = existing.text.find('=');
        std::size_t valueStart = eq + 1;
        while (!value.empty() && valueStart < existing.text.size() &&
               (existing.text[valueStart] == ' ' || existing.text[valueStart] == '\t'))
            ++valueStart;
        std::string text = existing.text.substr(0, valueStart) + std::string(value);
        existing = Classify(std::move(text), std::move(existing.eol), i == 0);
        return true;
    }
    InsertAt(lastKey + 1, line);
    return true;
}

bool IniDocument::DropLines(const std::function<bool(const Line&, bool inSection)>& drop,
                            std::string_view section) {
    // One pass that closes the gaps as it goes: erasing line by line would move the rest of the file
    // once per dropped line.
    std::size_t kept = 0;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section) inSection = SameText(lines_[i].name, section);
        if (drop(lines_[i], inSection)) continue;
        if (kept != i) lines_[kept] = std::move(lines_[i]);
        ++kept;
    }
    if (kept == lines_.size()) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(kept), lines_.end());
    IndexSections();
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    return DropLines(
        [&](const Line& line, bool inSection) {
            return inSection && line.kind == Kind::Key && SameText(line.name, key);
        },
        section);
}

bool IniDocument::EraseSection(std::string_view section) {
    return DropLines([](const Line&, bool inSection) { return inSection; }, section);
}

bool IniDocument::AddSection(std::string_view section) {
    if (HasSection(section)) return false;
    Append("[" + std::string(section) + "]");
    return true;
}
