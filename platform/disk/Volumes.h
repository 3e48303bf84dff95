// Volumes of the block devices on this computer: which exist (by file-system type and label), where they
// are mounted, and mounting one. Tests replace the whole source with SetVolumeSource, so they need no
// disk and no privileges.
#pragma once

#include "platform/core/Exceptions.h"

#include <functional>
#include <string>
#include <vector>

HARBEK_DECLARE_EXCEPTION(EVolumeError, Exception);

namespace volumes {

struct BlockVolume {
    std::string device; // "/dev/sdb2"
    std::string type;   // file-system type as the prober names it: "ext2", "vfat"; empty when unknown
    std::string label;  // volume label; empty when none
    bool removable = false;
};

struct MountEntry {
    std::string device;
    std::string mountPoint; // no trailing '/' except for "/" itself
    std::string type;
};

// Drive types as the callers know them.
enum DriveType {
    kDriveUnknown = 0,
    kDriveNoRoot = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

struct VolumeSource {
    std::function<std::vector<BlockVolume>()> listVolumes;
    std::function<std::vector<MountEntry>()> mountTable;
    // Mounts the device and returns its mount point; throws EVolumeError when it cannot.
    std::function<std::string(const std::string& device)> mount;
    // Shows the folder in the desktop's file manager; throws EVolumeError when it cannot.
    std::function<void(const std::string& folder)> openFolder;
};

// Replaces every call below until ResetVolumeSource; a missing function keeps the real one.
void SetVolumeSource(VolumeSource source);
void ResetVolumeSource();

// Every block device carrying a recognised file system, sorted by device name.
std::vector<BlockVolume> ListBlockVolumes();
std::vector<MountEntry> ReadMountTable();
// The text of /proc/self/mounts; octal escapes (\040 for a blank) decoded, malformed lines skipped.
std::vector<MountEntry> ParseMountTable(const std::string& text);
// Where the device is mounted (the first entry); empty when it is not.
std::string MountPointOf(const std::string& device);
// Mounts the device (udisksctl, no password prompt) and returns the mount point; EVolumeError with the
// reason otherwise.
std::string MountVolume(const std::string& device);

// Shows the folder in the desktop's file manager (xdg-open, not waited for); EVolumeError when there is
// none to start.
void OpenFolder(const std::string& folder);

// The mount entry holding the path: the longest mount point that is a prefix of it; false when none.
bool MountOfPath(const std::string& path, MountEntry& entry);
// The block volume behind a mount entry; false when the mount is not of a listed device.
bool VolumeOfMount(const MountEntry& entry, BlockVolume& volume);
// The drive type of the mount holding the root; kDriveNoRoot when the root is no folder.
int DriveTypeOf(const std::string& root);

} // namespace volumes
