// Settings files as the recorder sends them (config.ini, holiday.ini) and as the client keeps them
// (setup.ini): any bytes, NUL, lone CR and long lines included. The text must come back byte for byte
// when nothing is edited; every read the setup pages make must work; and each edit must change only
// the lines it is about, so a write and its undo leave the file as it was.
#include "fuzz/FuzzSupport.h"
#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniDocument.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"
#include "setup/ConfigAccess.h"
#include "setup/HolidayFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        const std::size_t n = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(0, n));
        text.remove_prefix(n);
    }
    return lines;
}

// `after` is `before` with `added` inserted as whole lines, the line before them given a line ending
// when it had none.
bool OnlyInserted(std::string_view before, std::string_view after, std::string_view added) {
    for (std::size_t at = after.find(added); at != std::string_view::npos; at = after.find(added, at + 1)) {
        std::string rest(after.substr(0, at));
        rest += after.substr(at + added.size());
        if (rest == before) return true;
        // The last line got the file's line ending so that new lines could follow it.
        const std::string_view tail = std::string_view(rest).substr(std::min(before.size(), rest.size()));
        if (at + added.size() == after.size() && rest.compare(0, before.size(), before) == 0 &&
            (tail == "\n" || tail == "\r\n"))
            return true;
    }
    return false;
}

// Names compare without ASCII case.
std::string UnusedName(std::string_view text, std::string name) {
    const std::string lower = LowerCase(text);
    while (lower.find(LowerCase(name)) != std::string::npos)
        name += "_";
    return name;
}

bool ValidName(const std::string& name, bool section) {
    try {
        section ? CheckIniSection(name) : CheckIniKey(name);
        return true;
    } catch (const EIniFileException&) {
        return false;
    }
}

void ReadAsThePagesDo(const std::string& path) {
    const TConfigAccess access = LoadConfigAccess(path, kConfigSection);
    TIniFile& ini = *access.Ini;
    (void)access.ConfigValue("name");
    for (int i = 0; i < access.Sections->Count() && i < 8; ++i) {
        const std::string section = access.Sections->Strings(i);
        if (!ini.SectionExists(section) && ini.ValueExists(section, "x"))
            fuzz::Fail("key in an empty section");
        TStringList keys;
        ini.ReadSection(section, &keys);
        for (int k = 0; k < keys.Count() && k < 8; ++k) {
            const std::string key = keys.Strings(k);
            if (!ini.ValueExists(section, key)) fuzz::Fail("a listed key does not exist");
            (void)ini.ReadString(section, key, "");
            (void)ini.ReadInteger(section, key, -1);
            (void)ini.ReadFloat(section, key, 0.5);
            (void)ini.ReadBool(section, key, true);
        }
    }
    TStringList keys;
    TStringList values;
    ini.ReadSection("holiday", &keys);
    ini.ReadSectionValues("holiday", &values);
    if (keys.Count() != values.Count()) fuzz::Fail("keys and lines of a section differ");
    for (int month = 1; month <= 12; ++month)
        for (const auto& [day, state] : HolidayMarks(*access.Sections, keys, values, 2024, month))
            if (day < 1 || day > DaysInMonth(2024, month)) fuzz::Fail("holiday outside its month");
}

void EditAndUndo(const std::string& path, const std::string& original) {
    TIniFile ini(path);
    TStringList sections;
    ini.ReadSections(&sections);
    std::string section = "config";
    for (int i = 0; i < sections.Count(); ++i)
        if (ValidName(sections.Strings(i), true)) {
            section = sections.Strings(i);
            break;
        }
    TStringList keys;
    ini.ReadSection(section, &keys);

    // A key of its own: one line in, one line out. Its name is in no other line, because a delete
    // takes the key out of every occurrence of the section.
    const std::string key = UnusedName(original, "FuzzKey");
    {
        ini.WriteString(section, key, "1");
        const std::string added = fuzz::ReadBytes(path);
        if (ini.ReadString(section, key, "") != "1") fuzz::Fail("a written key did not read back");
        const std::string eol = IniDocument::Parse(original).LineEnding();
        const std::string line = key + "=1" + eol;
        const bool sectionAdded = !IniDocument::Parse(original).HasSection(section);
        if (!OnlyInserted(original, added, sectionAdded ? "[" + section + "]" + eol + line : line))
            fuzz::Fail("adding a key changed other bytes");
        ini.DeleteKey(section, key);
        const std::string removed = fuzz::ReadBytes(path);
        if (!sectionAdded && !OnlyInserted(removed, added, line))
            fuzz::Fail("deleting a key changed other bytes");
    }

    // An existing key rewritten: only its own line changes.
    for (int k = 0; k < keys.Count(); ++k) {
        const std::string existing = keys.Strings(k);
        if (!ValidName(existing, false)) continue;
        const std::string before = fuzz::ReadBytes(path);
        const std::string value = ini.ReadString(section, existing, "");
        if (value.find_first_of("\r\n") != std::string::npos) break;
        ini.WriteString(section, existing, value + "x");
        const std::string after = fuzz::ReadBytes(path);
        if (ini.ReadString(section, existing, "") != value + "x")
            fuzz::Fail("a rewritten key did not read back");
        const auto a = Lines(before);
        const auto b = Lines(after);
        std::size_t changed = 0;
        if (a.size() != b.size()) fuzz::Fail("rewriting a key changed the line count");
        for (std::size_t i = 0; i < a.size(); ++i)
            changed += a[i] != b[i];
        if (changed != 1) fuzz::Fail("rewriting a key changed other lines");
        break;
    }

    // A new section at the end, then erased.
    const std::string before = fuzz::ReadBytes(path);
    const std::string newSection = UnusedName(before, "FuzzSection");
    {
        ini.WriteString(newSection, "k", "v");
        const std::string eol = IniDocument::Parse(before).LineEnding();
        const std::string after = fuzz::ReadBytes(path);
        const std::string added = "[" + newSection + "]" + eol + "k=v" + eol;
        if (!OnlyInserted(before, after, added)) fuzz::Fail("a new section changed bytes");
        ini.EraseSection(newSection);
        if (!OnlyInserted(fuzz::ReadBytes(path), after, added))
            fuzz::Fail("erasing a section changed other bytes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (IniDocument::Parse(bytes).Serialize() != bytes) fuzz::Fail("the text did not come back as it was");

    static const std::string path = fuzz::ScratchFolder() + "config.ini";
    fuzz::WriteBytes(path, bytes);
    ReadAsThePagesDo(path);
    EditAndUndo(path, bytes);
    return 0;
}
