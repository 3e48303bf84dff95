// The class library's INI file: every read looks at the file, every write reaches the disk before it
// returns.
//
// Sections and keys compare ignoring ASCII case and the first occurrence wins. An existing key is
// rewritten in place, a new key follows the last key of its section, a new section goes at the end,
// and every other byte of the file stays as it was, line endings included. A missing file reads as
// empty; the first write creates it. Names and values that could not be read back as written (line
// breaks, "=" in a key, "]" in a section) are refused with EIniFileException.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/IniStore.h"

#include <memory>
#include <string>

class TIniFile : public TObject {
public:
    explicit TIniFile(const std::string& fileName);
    ~TIniFile() override;

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    // Decimal or hexadecimal ("$1F", "0x1F"); anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const;
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Integers: 0 is false, any other number true.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // Decimal point always; an empty or malformed value gives the default.
    double ReadFloat(const std::string& section, const std::string& ident, double defaultValue) const;
    void WriteFloat(const std::string& section, const std::string& ident, double value);

    // Key names of the section, in file order.
    void ReadSection(const std::string& section, TStrings* strings) const;
    void ReadSections(TStrings* strings) const;
    // One "key=value" line per key, aligned with ReadSection.
    void ReadSectionValues(const std::string& section, TStrings* strings) const;
    // As the class library: true when the section holds at least one key.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;

    void DeleteKey(const std::string& section, const std::string& ident);
    void EraseSection(const std::string& section);
    // Nothing to do: every write is already on the disk.
    void UpdateFile() {}

private:
    std::string fileName_;
    std::unique_ptr<IniStore> store_;
};

// Raises EIniFileException for names and values that a file could not hold as given. Shared with the
// registry, which keeps its keys in an INI file.
void CheckIniSection(const std::string& section);
void CheckIniKey(const std::string& key);
void CheckIniValue(const std::string& key, const std::string& value);
