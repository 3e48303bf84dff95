#include "platform/core/Registry.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"

#include <cstdlib>
#include <limits>
#include <vector>

namespace {

const char* const kStringTag = "sz:";
const char* const kIntegerTag = "dword:";

const char* RootName(HKEY root) {
    if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_USERS) return "HKEY_USERS";
    if (root == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
    return nullptr;
}

// Escapes what an INI line would lose or misread: "%", line breaks and other controls, blanks at either
// end, and in names also "=" and the characters that start a comment or a section.
std::string Escape(const std::string& text, bool isName) {
    if (isName && text.empty()) return "@";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool edge = i == 0 || i + 1 == text.size();
        bool escape = c == '%' || c < 0x20 || c == 0x7F || (edge && (c == ' ' || c == '\t'));
        if (isName) escape = escape || c == '=' || (i == 0 && (c == ';' || c == '[' || c == '@'));
        if (escape)
            out += Format("%%%02X", c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A "%" not followed by two hexadecimal digits stands for itself.
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexDigit(text[i + 1]);
            const int lo = HexDigit(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Splits a key path at "\", dropping empty parts.
std::vector<std::string> SplitKey(const std::string& key) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) parts.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

[[noreturn]] void ThrowSetFailed(const std::string& name) {
    throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
}

} // namespace

std::string RegistryFilePath() {
    const char* overridden = std::getenv("HARBEK_REGISTRY");
    if (overridden != nullptr && overridden[0] != '\0') return overridden;
    return ConfigFolder() + "registry.ini";
}

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS) {}

TRegistry::TRegistry(DWORD access)
    : store_(std::make_unique<IniStore>(RegistryFilePath())), access_(access) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY rootKey) {
    CloseKey();
    rootKey_ = rootKey;
}

bool TRegistry::SectionFor(const std::string& key, std::string& path, std::string& section) const {
    const char* root = RootName(rootKey_);
    if (root == nullptr) return false;
    const bool absolute = !key.empty() && key[0] == '\\';
    std::string joined;
    if (!absolute && open_ && !currentPath_.empty())
        joined = currentPath_ + "\\" + key;
    else
        joined = key;
    path.clear();
    for (const std::string& part : SplitKey(joined)) {
        if (!path.empty()) path += '\\';
        path += part;
    }
    section = path.empty() ? std::string(root) : std::string(root) + "\\" + path;
    try {
        CheckIniSection(section);
    } catch (const EIniFileException&) {
        return false;
    }
    return true;
}

bool TRegistry::SectionExists(const std::string& section) {
    const char* root = RootName(rootKey_);
    if (root != nullptr && SameText(section, root)) return true;
    return store_->Read([&](const IniDocument& doc) {
        for (const std::string& name : doc.SectionNames())
            if (SameText(name, section) || StartsText(section + "\\", name)) return true;
        return false;
    });
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string path;
    std::string section;
    if (!SectionFor(key, path, section)) return false;
    if (!SectionExists(section)) {
        if (!canCreate) return false;
        try {
            ForceDirectories(ExtractFilePath(store_->Path()));
            store_->Edit([&](IniDocument& doc) { return doc.AddSection(section); });
        } catch (const Exception&) {
            return false;
        }
    }
    open_ = true;
    openAccess_ = access_;
    currentPath_ = path;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    const DWORD saved = access_;
    access_ = KEY_READ;
    const bool ok = OpenKey(key, false);
    access_ = saved;
    return ok;
}

void TRegistry::CloseKey() {
    open_ = false;
    openAccess_ = 0;
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
    std::string path;
    std::string section;
    if (!SectionFor(key, path, section))
        throw ERegistryException(Format("Failed to create key %s", key.c_str()));
    if (SectionExists(section)) return true;
    try {
        ForceDirectories(ExtractFilePath(store_->Path()));
        store_->Edit([&](IniDocument& doc) { return doc.AddSection(section); });
    } catch (const Exception&) {
        throw ERegistryException(Format("Failed to create key %s", key.c_str()));
    }
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path;
    std::string section;
    if (!SectionFor(key, path, section) || path.empty() || !SectionExists(section)) return false;
    try {
        store_->Edit([&](IniDocument& doc) {
            bool changed = false;
            for (const std::string& name : doc.SectionNames())
                if (SameText(name, section) || StartsText(section + "\\", name))
                    changed = doc.EraseSection(name) || changed;
            return changed;
        });
    } catch (const Exception&) {
        return false;
    }
    return true;
}

bool TRegistry::KeyExists(const std::string& key) {
    std::string path;
    std::string section;
    return SectionFor(key, path, section) && SectionExists(section);
}

void TRegistry::GetKeyNames(TStrings* strings) {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    std::string path;
    std::string section;
    if (open_ && SectionFor(std::string(), path, section)) {
        const std::string prefix = section + "\\";
        const auto names = store_->Read([](const IniDocument& doc) { return doc.SectionNames(); });
        for (const std::string& name : names) {
            if (!StartsText(prefix, name)) continue;
            const std::string rest = name.substr(prefix.size());
            const std::vector<std::string> parts = SplitKey(rest);
            if (!parts.empty() && strings->IndexOf(parts[0]) < 0) strings->Add(parts[0]);
        }
    }
    strings->EndUpdate();
}

bool TRegistry::HasSubKeys() {
    TStringList names;
    GetKeyNames(&names);
    return names.Count() > 0;
}

void TRegistry::GetValueNames(TStrings* strings) {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    std::string path;
    std::string section;
    if (open_ && SectionFor(std::string(), path, section)) {
        const auto entries = store_->Read([&](const IniDocument& doc) { return doc.Entries(section); });
        for (const auto& entry : entries)
            strings->Add(entry.first == "@" ? std::string() : Unescape(entry.first));
    }
    strings->EndUpdate();
}

bool TRegistry::ReadData(const std::string& name, TRegDataType& type, std::string& payload) {
    std::string path;
    std::string section;
    if (!open_ || !SectionFor(std::string(), path, section)) return false;
    const auto data =
        store_->Read([&](const IniDocument& doc) { return doc.Value(section, Escape(name, true)); });
    if (!data) return false;
    if (StartsText(kStringTag, *data)) {
        type = rdString;
        payload = Unescape(data->substr(std::string(kStringTag).size()));
    } else if (StartsText(kIntegerTag, *data)) {
        type = rdInteger;
        payload = data->substr(std::string(kIntegerTag).size());
    } else {
        type = rdUnknown;
        payload = *data;
    }
    return true;
}

bool TRegistry::ValueExists(const std::string& name) {
    TRegDataType type = rdUnknown;
    std::string payload;
    return ReadData(name, type, payload);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    TRegDataType type = rdUnknown;
    std::string payload;
    return ReadData(name, type, payload) ? type : rdUnknown;
}

std::string TRegistry::ReadString(const std::string& name) {
    TRegDataType type = rdUnknown;
    std::string payload;
    if (!ReadData(name, type, payload)) return std::string();
    if (type != rdString) throw ERegistryException(Format("Invalid data type for '%s'", name.c_str()));
    return payload;
}

int TRegistry::ReadInteger(const std::string& name) {
    TRegDataType type = rdUnknown;
    std::string payload;
    if (!ReadData(name, type, payload))
        throw ERegistryException(Format("Failed to get data for '%s'", name.c_str()));
    std::int64_t value = 0;
    bool valid = type == rdInteger;
    if (valid) {
        // A 32-bit value, written signed or unsigned, decimal or hexadecimal.
        try {
            value = StrToInt64(Trim(payload));
        } catch (const EConvertError&) {
            valid = false;
        }
        valid = valid && value >= std::numeric_limits<std::int32_t>::min() &&
                value <= std::numeric_limits<std::uint32_t>::max();
    }
    if (!valid) throw ERegistryException(Format("Invalid data type for '%s'", name.c_str()));
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

bool TRegistry::ReadBool(const std::string& name) {
    return ReadInteger(name) != 0;
}

void TRegistry::WriteData(const std::string& name, const std::string& data) {
    std::string path;
    std::string section;
    if (!open_ || (openAccess_ & KEY_SET_VALUE) == 0 || !SectionFor(std::string(), path, section))
        ThrowSetFailed(name);
    try {
        ForceDirectories(ExtractFilePath(store_->Path()));
        store_->Edit([&](IniDocument& doc) { return doc.SetValue(section, Escape(name, true), data); });
    } catch (const Exception&) {
        ThrowSetFailed(name);
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    WriteData(name, kStringTag + Escape(value, false));
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    WriteData(name, kIntegerTag + IntToStr(value));
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::DeleteValue(const std::string& name) {
    std::string path;
    std::string section;
    if (!open_ || (openAccess_ & KEY_SET_VALUE) == 0 || !SectionFor(std::string(), path, section))
        return false;
    bool deleted = false;
    try {
        store_->Edit([&](IniDocument& doc) {
            deleted = doc.DeleteKey(section, Escape(name, true));
            return deleted;
        });
    } catch (const Exception&) {
        return false;
    }
    return deleted;
}
