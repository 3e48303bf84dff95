#include "client/LanguageDll.h"

#include "platform/core/Debug.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/DeviceContext.h"
#include "platform/vcl/FormReader.h"
#include "platform/win/Modules.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace {

[[noreturn]] void Fail(const std::string& fileName, int line, const std::string& message) {
    throw ELanguageTableError(Format("%s:%d: %s", fileName.c_str(), line, message.c_str()));
}

bool ValidUtf8(std::string_view text) {
    static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past the last code point are not UTF-8.
        if (code < kSmallest[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        i += extra + 1;
    }
    return true;
}

std::string Unescape(std::string_view text, const std::string& fileName, int line) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') Fail(fileName, line, "tab inside the text");
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            Fail(fileName, line, "control character in the text");
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 == text.size()) Fail(fileName, line, "lone backslash at the end of the text");
        switch (text[++i]) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            Fail(fileName, line, "unknown escape");
        }
    }
    return out;
}

// The table of a file, or nullptr when it cannot be read or is not a table.
std::shared_ptr<LanguageTable> ReadTableFile(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, kMaxLanguageTableBytes, bytes)) {
        if (FileExists(path))
            DebugTrace("LanguageDll",
                       Format("%s: unreadable, or not a language table of a sensible size", path.c_str()));
        return nullptr;
    }
    try {
        return std::make_shared<LanguageTable>(LanguageTable::Parse(bytes, ExtractFileName(path)));
    } catch (const ELanguageTableError& e) {
        DebugTrace("LanguageDll", e.Message);
        return nullptr;
    }
}

// "<...>/LANGUAGE/dll<letters>.txt"
bool IsLanguageTablePath(const std::string& path) {
    const std::string name = ExtractFileName(path);
    const std::string folder = ExtractFileName(ExcludeTrailingPathDelimiter(ExtractFilePath(path)));
    if (folder != "LANGUAGE" || name.size() < 8 || !StartsText("dll", name) || !EndsText(".txt", name))
        return false;
    for (std::size_t i = 3; i + 4 < name.size(); ++i)
        if (name[i] < 'a' || name[i] > 'z') return false;
    return true;
}

} // namespace

LanguageTable LanguageTable::Parse(std::string_view bytes, const std::string& fileName) {
    if (bytes.size() > kMaxLanguageTableBytes) Fail(fileName, 0, "the table is too large");
    if (!ValidUtf8(bytes)) Fail(fileName, 0, "the table is not UTF-8");
    LanguageTable table;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (Trim(line).empty() || line.front() == '#') continue;

        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0 || tab > 5)
            Fail(fileName, lineNumber, "not '<id><TAB><text>', a comment or a blank line");
        int id = 0;
        for (char c : line.substr(0, tab)) {
            if (c < '0' || c > '9') Fail(fileName, lineNumber, "the id is not a number");
            id = id * 10 + (c - '0');
        }
        if (line[0] == '0' || id < 1 || id > kMaxLanguageStringId)
            Fail(fileName, lineNumber, Format("id %d out of range", id));
        if (!table.strings_.emplace(id, Unescape(line.substr(tab + 1), fileName, lineNumber)).second)
            Fail(fileName, lineNumber, Format("id %d repeats", id));
    }
    return table;
}

std::string LanguageTable::Find(int id) const {
    const auto it = strings_.find(id);
    return it == strings_.end() ? std::string() : it->second;
}

std::string LanguageCodeFor(int languageId) {
    switch (languageId) {
    case 1041:
        return "jpn";
    case 1042:
        return "kor";
    case 3082:
        return "esp";
    default:
        return "eng";
    }
}

int CodePageFor(int languageId) {
    switch (languageId) {
    case 1041:
        return 932;
    case 1042:
        return 949;
    default:
        return 1252;
    }
}

std::string LanguageFontName(int languageId) {
    switch (languageId) {
    case 1041:
        return "MS PGothic";
    case 1042:
        return "\xEA\xB5\xB4\xEB\xA6\xBC"; // the Korean system face, "Gulim"
    case 3082:
        return "Arial";
    default:
        return "MS Sans Serif";
    }
}

BYTE LanguageFontCharset(int languageId) {
    switch (languageId) {
    case 1041:
        return SHIFTJIS_CHARSET;
    case 1042:
        return HANGEUL_CHARSET;
    default:
        return DEFAULT_CHARSET;
    }
}

void ApplyLanguageFont(TFont* font, int languageId) {
    if (font == nullptr) return;
    font->SetName(LanguageFontName(languageId));
    font->SetCharset(LanguageFontCharset(languageId));
}

std::string LanguageTableName(const std::string& code) {
    return "dll" + code + ".txt";
}

std::string LanguageTablePath(const std::string& code) {
    return IncludeTrailingPathDelimiter(FormResourceRoot()) + "LANGUAGE/" + LanguageTableName(code);
}

void RegisterLanguageModules() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterModuleResolver([](const std::string& path) -> std::optional<TBuiltinModule> {
            const std::string native = WinPathToNative(path);
            if (!IsLanguageTablePath(native)) return std::nullopt;
            std::shared_ptr<LanguageTable> table = ReadTableFile(native);
            if (!table) return std::nullopt;
            return TBuiltinModule{native, {}, std::static_pointer_cast<void>(table)};
        });
    });
}

std::shared_ptr<const LanguageTable> LanguageModuleTable(HMODULE module) {
    if (module == nullptr) return nullptr;
    return std::static_pointer_cast<const LanguageTable>(GetModuleData(module));
}
