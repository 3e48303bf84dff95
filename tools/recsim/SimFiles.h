// The files the simulated recorder serves by kind: taken from the store folder when there, else made
// up; uploads replace them (and are written back into the store).
#pragma once

#include "platform/core/Types.h"
#include "tools/recgen/SetupFiles.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace recsim {

// A store file whole; nothing when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path);
// Through a file beside it and a rename, so a recorder stopped halfway keeps the old file whole; false
// when it could not be written.
bool WriteWhole(const std::string& path, const std::string& bytes);

class SimFiles {
public:
    SimFiles(std::string storeFolder, const recgen::RecorderIdentity& identity);

    // The content served for a file request; nothing when the recorder has no such file.
    std::optional<std::string> Get(DWORD kind, DWORD disk) const;
    // An upload of kind 1, 3 or 6 replaces the file; the firmware image (kind 0) is kept apart.
    void Put(DWORD kind, const std::string& bytes);
    std::optional<std::string> Firmware() const;

private:
    std::string store_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_; // by name
    std::optional<std::string> firmware_;
};

} // namespace recsim
