#include "platform/core/IniFiles.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

namespace {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

void CheckIniSection(const std::string& section) {
    if (HasLineBreak(section) || section.find(']') != std::string::npos || Trim(section) != section)
        throw EIniFileException(Format("Invalid section name \"%s\"", section.c_str()));
}

void CheckIniKey(const std::string& key) {
    if (key.empty() || HasLineBreak(key) || key.find('=') != std::string::npos || Trim(key) != key ||
        key[0] == ';' || key[0] == '[')
        throw EIniFileException(Format("Invalid key name \"%s\"", key.c_str()));
}

void CheckIniValue(const std::string& key, const std::string& value) {
    if (HasLineBreak(value))
        throw EIniFileException(Format("The value of \"%s\" contains a line break", key.c_str()));
}

TIniFile::TIniFile(const std::string& fileName)
    : fileName_(fileName), store_(std::make_unique<IniStore>(fileName)) {}

TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
    return store_->Read(
        [&](const IniDocument& doc) { return doc.Value(section, ident).value_or(defaultValue); });
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    CheckIniSection(section);
    CheckIniKey(ident);
    CheckIniValue(ident, value);
    store_->Edit([&](IniDocument& doc) { return doc.SetValue(section, ident, value); });
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const {
    return StrToIntDef(ReadString(section, ident, std::string()), defaultValue);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

double TIniFile::ReadFloat(const std::string& section, const std::string& ident, double defaultValue) const {
    const std::string text = ReadString(section, ident, std::string());
    if (text.empty()) return defaultValue;
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        return defaultValue;
    }
}

void TIniFile::WriteFloat(const std::string& section, const std::string& ident, double value) {
    WriteString(section, ident, FloatToStr(value));
}

void TIniFile::ReadSection(const std::string& section, TStrings* strings) const {
    if (strings == nullptr) return;
    const auto entries = store_->Read([&](const IniDocument& doc) { return doc.Entries(section); });
    strings->BeginUpdate();
    strings->Clear();
    for (const auto& entry : entries)
        strings->Add(entry.first);
    strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* strings) const {
    if (strings == nullptr) return;
    const auto names = store_->Read([](const IniDocument& doc) { return doc.SectionNames(); });
    strings->BeginUpdate();
    strings->Clear();
    for (const auto& name : names)
        strings->Add(name);
    strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings* strings) const {
    if (strings == nullptr) return;
    const auto entries = store_->Read([&](const IniDocument& doc) { return doc.Entries(section); });
    strings->BeginUpdate();
    strings->Clear();
    for (const auto& entry : entries)
        strings->Add(entry.first + "=" + entry.second);
    strings->EndUpdate();
}

bool TIniFile::SectionExists(const std::string& section) const {
    return store_->Read([&](const IniDocument& doc) { return !doc.Entries(section).empty(); });
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    return store_->Read([&](const IniDocument& doc) { return doc.Value(section, ident).has_value(); });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    store_->Edit([&](IniDocument& doc) { return doc.DeleteKey(section, ident); });
}

void TIniFile::EraseSection(const std::string& section) {
    store_->Edit([&](IniDocument& doc) { return doc.EraseSection(section); });
}
