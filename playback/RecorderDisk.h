// The recorder disk on this computer: its two volumes found by label and mounted read-only when they are
// not, the class of a volume, and stepping between the hour folders of its recording tree. Plain
// functions over the platform's volume list, so the main window only applies their results. A volume on a
// disk that holds this computer's own file systems is never mounted or shown.
#pragma once

#include "platform/disk/Volumes.h"

#include <optional>
#include <string>
#include <vector>

// Classes beside the drive types 0..6.
inline constexpr int kQelRecordingVolume = 30;
inline constexpr int kQelDatabaseVolume = 31;
inline constexpr const char* kQelRecordingLabel = "avfiles";
inline constexpr const char* kQelDatabaseLabel = "infofiles";

// The drive type of the mount holding `root`; 30 or 31 when that mount is the volume labelled exactly
// "avfiles" or "infofiles".
int ClassifyVolumeRoot(const std::string& root);

// A volume that could not be mounted, for the caller to tell in the user's language.
struct TDiskFailure {
    volumes::TVolumeFault fault = volumes::TVolumeFault::kOther;
    std::string device;
    std::string label;
    std::string detail; // the system's own words; may be empty
};

struct QelVolumes {
    std::string databaseRoot;         // with its trailing '/'; empty when not found
    std::string recordingRoot;        // with its trailing '/'; empty when not found
    std::vector<TDiskFailure> errors; // the volumes that could not be mounted
};

// Every volume labelled "infofiles" or "avfiles", mounted first when it is not (the last device in name
// order wins). Mount failures are collected, never thrown.
QelVolumes FindQelVolumes();

// Is an EXT2 volume (type compared ignoring case) mounted that carries one of the recorder's labels or
// lies on a removable or hot-plugged device; `root` := its mount point with '/'.
bool DtIsQelMounted(std::string& root);

// Mounts such EXT2 volumes not yet mounted until one shows; `root` := its mount point with '/'. Failures
// are collected in `errors`.
bool DtFindAndMountExt2Drive(std::string& root, std::vector<TDiskFailure>& errors);

// The sub-folder of `folder` after (forward) or before `current` in text order, or the first one;
// ".", ".." and "lost+found" never count. Throws EInOutError when the folder cannot be listed.
std::optional<std::string> AdjacentFolder(const std::string& folder, const std::string& current, bool first,
                                          bool forward);
