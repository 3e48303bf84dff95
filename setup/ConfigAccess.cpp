#include "setup/ConfigAccess.h"

int TConfigAccess::FindSection(const std::string& name) const {
    if (!Sections) return -1;
    for (int i = 0; i < Sections->Count(); ++i)
        if (Sections->Strings(i) == name) return i;
    return -1;
}

std::string TConfigAccess::SectionName(int index) const {
    if (!Sections || index < 0 || index >= Sections->Count()) return "";
    return Sections->Strings(index);
}

std::optional<std::string> TConfigAccess::Value(const std::string& key) const {
    if (!Keys || !Values) return std::nullopt;
    for (int i = 0; i < Keys->Count(); ++i) {
        if (Keys->Strings(i) != key) continue;
        // A line list shorter than the key list (a file changed between the two reads) has no value.
        if (i >= Values->Count()) return std::nullopt;
        const std::string line = Values->Strings(i);
        const std::size_t eq = line.find('=');
        return eq == std::string::npos ? std::string() : line.substr(eq + 1);
    }
    return std::nullopt;
}

std::optional<std::string> TConfigAccess::ConfigValue(const std::string& key) const {
    if (FindSection("config") < 0) return std::nullopt;
    return Value(key);
}

void TConfigAccess::Store(const std::string& section, const std::string& key, const std::string& value,
                          bool isDefault) const {
    if (!Ini || section.empty()) return;
    if (isDefault)
        Ini->DeleteKey(section, key);
    else
        Ini->WriteString(section, key, value);
}

void TConfigAccess::StoreEdited(const std::string& key, const std::string& shown, const std::string& value,
                                bool isDefault) const {
    if (value != shown) Store(kConfigSection, key, value, isDefault);
}

TConfigAccess LoadConfigAccess(const std::string& path, const std::string& own) {
    TConfigAccess access;
    access.Ini = std::make_shared<TIniFile>(path);
    access.Sections = std::make_shared<TStringList>();
    access.Keys = std::make_shared<TStringList>();
    access.Values = std::make_shared<TStringList>();
    access.Ini->ReadSections(access.Sections.get());
    const int count = access.Sections->Count();
    if (count == 0) return access;
    const int found = access.FindSection(own);
    const std::string section = access.Sections->Strings(found >= 0 ? found : count - 1);
    access.Ini->ReadSection(section, access.Keys.get());
    access.Ini->ReadSectionValues(section, access.Values.get());
    return access;
}
