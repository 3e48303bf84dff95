// The setup pages' one way into config.ini: the INI file object with the section names, the key names
// of the file's own section and that section's "key=value" lines, as the setup menu loads them. Pages
// hold copies of the four shared objects, so a page keeps a valid view even after the menu re-reads the
// file; a re-read is needed to see writes (the lists are not updated by them).
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/IniFiles.h"

#include <memory>
#include <optional>
#include <string>

struct TConfigAccess {
    std::shared_ptr<TIniFile> Ini;
    std::shared_ptr<TStringList> Sections;
    std::shared_ptr<TStringList> Keys;
    std::shared_ptr<TStringList> Values;

    bool Loaded() const { return Ini && Sections && Keys && Values; }
    // Index of the section of exactly this name (case counts), -1 when there is none.
    int FindSection(const std::string& name) const;
    // The name at that index of the sections list, "" outside it.
    std::string SectionName(int index) const;
    // The value of the key in the lists (exact name), nothing when absent.
    std::optional<std::string> Value(const std::string& key) const;
    // The value when the section "config" exists and the lists hold the key.
    std::optional<std::string> ConfigValue(const std::string& key) const;
    // Writes the value, or deletes the key when the value is the item's default. An empty section name
    // writes nothing.
    void Store(const std::string& section, const std::string& key, const std::string& value,
               bool isDefault) const;
    // A page's item in section "config" (made when the file has none), written only when the user changed
    // it from what the page showed: a line the user did not edit keeps its bytes.
    void StoreEdited(const std::string& key, const std::string& shown, const std::string& value,
                     bool isDefault) const;
};

inline constexpr const char* kConfigSection = "config";

// Reads the file into fresh objects: the section names, and the keys and lines of the section named
// exactly `own` ("config", "holiday", "sysinfo"); a file without it gives the last section's, as a walk
// through the sections leaves them. Other sections never hide the file's own. A missing file gives
// empty lists.
TConfigAccess LoadConfigAccess(const std::string& path, const std::string& own);
