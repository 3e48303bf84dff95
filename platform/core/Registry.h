// The class library's registry object, kept in an INI file of the user's configuration folder.
//
// The file: $HARBEK_REGISTRY when set, else ConfigFolder() + "registry.ini". One section per key, named
// by the root and the path ("[HKEY_LOCAL_MACHINE\SOFTWARE\DvrHarbek\Harbek]"); one line per value, its
// data tagged with its kind: "FILEBUFSIZE=dword:524288", "Name=sz:text". Value names and texts that an
// INI line could not hold are written with %XX escapes; the unnamed value is "@". Key paths and value
// names compare ignoring ASCII case.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/IniStore.h"
#include "platform/core/Types.h"

#include <cstdint>
#include <memory>
#include <string>

struct HKEY__;
using HKEY = HKEY__*;
inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000003u));
inline const HKEY HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000005u));

inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr DWORD KEY_NOTIFY = 0x0010;
inline constexpr DWORD KEY_CREATE_LINK = 0x0020;
inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_EXECUTE = 0x20019;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The registry file this process uses now.
std::string RegistryFilePath();

class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(DWORD access);
    ~TRegistry() override;

    HKEY RootKey() const { return rootKey_; }
    // Closes the open key.
    void SetRootKey(HKEY rootKey);
    DWORD Access() const { return access_; }
    void SetAccess(DWORD access) { access_ = access; }
    // The root key while a key is open, nullptr otherwise.
    HKEY CurrentKey() const { return open_ ? rootKey_ : nullptr; }
    std::string CurrentPath() const { return currentPath_; }
    const std::string& FileName() const { return store_->Path(); }

    // A key starting with "\" is taken from the root, any other from the open key (or the root).
    // Returns false when the key does not exist and may not be created, or cannot be.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    // Raises ERegistryException "Failed to create key %s" when it cannot.
    bool CreateKey(const std::string& key);
    // The key with its values and sub-keys; false when there was no such key.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);

    bool ValueExists(const std::string& name);
    TRegDataType GetDataType(const std::string& name);
    bool DeleteValue(const std::string& name);

    // A missing value reads as empty text; a value of another kind raises ERegistryException
    // "Invalid data type for '%s'".
    std::string ReadString(const std::string& name);
    // A missing value raises "Failed to get data for '%s'", one of another kind "Invalid data type for
    // '%s'" (both ERegistryException).
    int ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);
    // Without an open key, on a key opened for reading only, or when the file cannot be written:
    // ERegistryException "Failed to set data for '%s'".
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);

private:
    // The section of a key given relative or absolute; false for a name a section cannot hold.
    bool SectionFor(const std::string& key, std::string& path, std::string& section) const;
    bool SectionExists(const std::string& section);
    void WriteData(const std::string& name, const std::string& data);
    bool ReadData(const std::string& name, TRegDataType& type, std::string& payload);

    std::unique_ptr<IniStore> store_;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    DWORD access_ = KEY_ALL_ACCESS;
    bool open_ = false;
    DWORD openAccess_ = 0;
    std::string currentPath_;
};
