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

bool Keep(const std::string& folder, const std::string& recorder) {
    const std::string kept = KeptFolder(folder, recorder);
    if (!ForceDirectories(kept)) return false;
    // Without the received file every kept key counts as an edit, which is what replaying needs then.
    if (FileExists(folder + "temp_config.ini"))
        CopyFile(folder + "temp_config.ini", kept + "temp_config.ini", FALSE);
    else
        DeleteFile(kept + "temp_config.ini");
    return CopyFile(folder + "config.ini", kept + "config.ini", FALSE) != FALSE;
}

bool Has(const std::string& folder, const std::string& recorder) {
    return FileExists(KeptFolder(folder, recorder) + "config.ini");
}

bool Replay(const std::string& folder, const std::string& recorder) {
    const std::string kept = KeptFolder(folder, recorder);
    if (!FileExists(kept + "config.ini")) return false;
    const TEntries received = ConfigEntries(kept + "temp_config.ini");
    const TEntries edited = ConfigEntries(kept + "config.ini");
    try {
        IniStore target(folder + "config.ini");
        target.Edit([&](IniDocument& doc) {
            bool changed = false;
            for (const auto& [key, value] : edited)
                if (Find(received, key) != value) changed = doc.SetValue(kSection, key, value) || changed;
            for (const auto& [key, value] : received)
                if (!Find(edited, key)) changed = doc.DeleteKey(kSection, key) || changed;
            return changed;
        });
    } catch (const Exception& e) {
        DebugTrace("setup_unapplied::Replay", e.what());
        return false;
    }
    return true;
}

void Forget(const std::string& folder, const std::string& recorder) {
    const std::string kept = KeptFolder(folder, recorder);
    DeleteFile(kept + "config.ini");
    DeleteFile(kept + "temp_config.ini");
    RemoveDir(kept);
}

} // namespace setup_unapplied
