#include "setup/Unapplied.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/IniStore.h"

#include <cctype>
#include <optional>
#include <utility>
#include <vector>

namespace setup_unapplied {

namespace {

constexpr const char* kSection = "config";
// The pass's recording page word, beside the kept files.
constexpr const char* kPassFile = "pass.ini";
constexpr const char* kPassSection = "pass";
constexpr const char* kModifiedKey = "modified";
// Bit 1 holiday.ini, bit 2 schedule.dat; anything else in the file is not ours.
constexpr DWORD kModifiedBits = 3;

using TEntries = std::vector<std::pair<std::string, std::string>>;

TEntries ConfigEntries(const std::string& path) {
    IniStore store(path);
    return store.Read([](const IniDocument& doc) { return doc.Entries(kSection); });
}

std::optional<std::string> Find(const TEntries& entries, const std::string& key) {
    for (const auto& [name, value] : entries)
        if (name == key) return value;
    return std::nullopt;
}

DWORD KeptModified(const std::string& kept) {
    IniStore store(kept + kPassFile);
    const std::optional<std::string> text =
        store.Read([](const IniDocument& doc) { return doc.Value(kPassSection, kModifiedKey); });
    if (!text || text->empty() || text->size() > 2) return 0;
    DWORD word = 0;
    for (const char c : *text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        word = word * 10 + static_cast<DWORD>(c - '0');
    }
    return word & kModifiedBits;
}

} // namespace

std::string RecorderId(const std::string& host, const std::string& port) {
    std::string id = host;
    id += ':';
    id += port;
    return id;
}

std::string KeptFolder(const std::string& folder, const std::string& recorder) {
    std::string name = recorder;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    return folder + "Unapplied/" + name + "/";
}

bool Keep(const std::string& folder, const std::string& recorder, DWORD modified) {
    const std::string kept = KeptFolder(folder, recorder);
    if (!ForceDirectories(kept)) return false;
    // Without the received file every kept key counts as an edit, which is what replaying needs then.
    if (FileExists(folder + "temp_config.ini"))
        CopyFile(folder + "temp_config.ini", kept + "temp_config.ini", FALSE);
    else
        DeleteFile(kept + "temp_config.ini");
    try {
        IniStore pass(kept + kPassFile);
        pass.Edit([modified](IniDocument& doc) {
            return doc.SetValue(kPassSection, kModifiedKey, std::to_string(modified & kModifiedBits));
        });
    } catch (const Exception& e) {
        DebugTrace("setup_unapplied::Keep", e.what());
        return false;
    }
    return CopyFile(folder + "config.ini", kept + "config.ini", FALSE) != FALSE;
}

bool Has(const std::string& folder, const std::string& recorder) {
    return FileExists(KeptFolder(folder, recorder) + "config.ini");
}

std::optional<TReplayed> Replay(const std::string& folder, const std::string& recorder) {
    const std::string kept = KeptFolder(folder, recorder);
    if (!FileExists(kept + "config.ini")) return std::nullopt;
    const TEntries received = ConfigEntries(kept + "temp_config.ini");
    const TEntries edited = ConfigEntries(kept + "config.ini");
    // The kept pass's edits: what it set or changed, then what it deleted.
    TEntries sets;
    std::vector<std::string> deletes;
    for (const auto& [key, value] : edited)
        if (Find(received, key) != value) sets.emplace_back(key, value);
    for (const auto& [key, value] : received)
        if (!Find(edited, key)) deletes.push_back(key);
    try {
        IniStore target(folder + "config.ini");
        target.Edit([&](IniDocument& doc) {
            bool changed = false;
            for (const auto& [key, value] : sets)
                changed = doc.SetValue(kSection, key, value) || changed;
            for (const std::string& key : deletes)
                changed = doc.DeleteKey(kSection, key) || changed;
            return changed;
        });
    } catch (const Exception& e) {
        DebugTrace("setup_unapplied::Replay", e.what());
        return std::nullopt;
    }
    return TReplayed{static_cast<int>(sets.size() + deletes.size()), KeptModified(kept)};
}

void Forget(const std::string& folder, const std::string& recorder) {
    const std::string kept = KeptFolder(folder, recorder);
    DeleteFile(kept + "config.ini");
    DeleteFile(kept + "temp_config.ini");
    DeleteFile(kept + kPassFile);
    RemoveDir(kept);
}

} // namespace setup_unapplied
