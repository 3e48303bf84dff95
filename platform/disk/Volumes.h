// Volumes of the block devices on this computer: which exist (by file-system type and label), which disks
// carry the system's own file systems, where volumes are mounted, and mounting one read-only. Tests
// replace the whole source with SetVolumeSource, so they need no disk and no privileges.
#pragma once

#include "platform/core/Exceptions.h"

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace volumes {

// Why a volume was not mounted or a folder not shown, for the caller to say in the user's language. The
// message of the error says the same in English, for traces.
enum class TVolumeFault {
    kOther,        // nothing a user can act on
    kMountFailed,  // the system refused; the detail holds its own words, when it gave any
    kNoMountTool,  // neither udisks nor root to mount with
    kNoFileSystem, // nothing on the device to mount
    kOnSystemDisk, // the volume lies on a disk of this computer's own, never mounted
    kNoOpener,     // xdg-open is not installed or does not start
    kNothingShows, // xdg-open found no program to show the folder
};

} // namespace volumes

class EVolumeError : public Exception {
public:
    using Exception::Exception;
    EVolumeError(volumes::TVolumeFault fault, std::string subject, std::string detail,
                 const std::string& message)
        : Exception(message), Fault(fault), Subject(std::move(subject)), Detail(std::move(detail)) {}

    volumes::TVolumeFault Fault = volumes::TVolumeFault::kOther;
    std::string Subject; // the device or folder
    std::string Detail;  // the system's own words (a tool's output, the C library's text); may be empty
};

namespace volumes {

struct BlockVolume {
    std::string device; // "/dev/sdb2"
    std::string type;   // file-system type as the prober names it: "ext2", "vfat"; empty when unknown
    std::string label;  // volume label; empty when none
    bool removable = false;
    // Removable, or on a bus whose devices come and go while the computer runs (USB, FireWire, PC card,
    // memory card).
    bool hotplug = false;
    // The whole disk the volume lies on as the kernel names it ("sdb" for /dev/sdb2; a whole-disk device
    // names itself).
    std::string disk;
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
    // Mounts the device read-only and returns its mount point; throws EVolumeError when it cannot.
    std::function<std::string(const std::string& device)> mount;
    // Unmounts what `mount` mounted; throws EVolumeError when it cannot.
    std::function<void(const std::string& device, const std::string& mountPoint)> unmount;
    // Shows the folder in the desktop's file manager; throws EVolumeError when it cannot.
    std::function<void(const std::string& folder)> openFolder;
};

// Replaces every call below until ResetVolumeSource; a missing function keeps the real one.
void SetVolumeSource(VolumeSource source);
void ResetVolumeSource();

// Every block device carrying a recognised file system, sorted by device name.
std::vector<BlockVolume> ListBlockVolumes();
// What ListBlockVolumes lists unless the source is replaced: the kernel's block devices as libblkid (or,
// for a device this user may not read, udev) sees them.
std::vector<BlockVolume> ProbeBlockVolumes();
std::vector<MountEntry> ReadMountTable();
// The text of /proc/self/mounts; octal escapes (\040 for a blank) decoded, malformed lines skipped.
std::vector<MountEntry> ParseMountTable(const std::string& text);
// Where the device is mounted (the first entry); empty when it is not.
std::string MountPointOf(const std::string& device);
// Is the mount point one of the system's own: the root, a top folder of the hierarchy (/home, /opt,
// /srv, ...) or a place in /boot, /efi, /usr or /var?
bool IsSystemMountPoint(const std::string& mountPoint);
// The disks (as in BlockVolume::disk) that hold a file system mounted on a system mount point or swap in
// use, directly or under device-mapper or RAID.
std::set<std::string> SystemDisks();

// Mounts the device read-only and returns the mount point: through udisks (no password prompt) when it
// is installed, else, running as root, with mount(2) on a folder of its own under /media/harbek.
// EVolumeError with the reason otherwise (kMountFailed, kNoMountTool, kNoFileSystem). The mount is remembered
// as this program's own.
std::string MountVolume(const std::string& device);
// Unmounts a volume this program mounted; EVolumeError for any other, or when it is busy. A volume that
// is no longer mounted where it was mounted is forgotten and left alone.
void UnmountVolume(const std::string& device);
// Unmounts every volume this program mounted; the failures, one line each.
std::vector<std::string> UnmountOwnVolumes();
// Devices this program mounted and has not unmounted.
std::vector<std::string> OwnMounts();

// Shows the folder in the desktop's file manager through xdg-open, waiting only for it to hand the folder
// over; EVolumeError (kNoOpener, kNothingShows) when xdg-open is missing or finds nothing to show the
// folder with. `whileWaiting` runs every few milliseconds of that wait, so a window can keep answering;
// when it returns false the wait ends there, without an error.
void OpenFolder(const std::string& folder, const std::function<bool()>& whileWaiting = {});

// The program's path in PATH; empty when it is not installed.
std::string FindProgram(const std::string& name);
// Runs the program (args[0] a path) without a shell and waits; its output (both streams, the first
// 64 KiB) comes back in `output`. Its exit status, -1 when it did not exit; EVolumeError when it cannot
// start.
int RunProgram(const std::vector<std::string>& args, std::string& output);

// The mount entry holding the path: the longest mount point that is a prefix of it; false when none.
bool MountOfPath(const std::string& path, MountEntry& entry);
// The block volume behind a mount entry; false when the mount is not of a listed device.
bool VolumeOfMount(const MountEntry& entry, BlockVolume& volume);
// The drive type of the mount holding the root; kDriveNoRoot when the root is no folder.
int DriveTypeOf(const std::string& root);

} // namespace volumes
