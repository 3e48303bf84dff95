// Mounting a volume read-only, and unmounting only what this program mounted. A recorder's disk is
// evidence: nothing here ever mounts it writable.
#include "platform/disk/Volumes.h"

#include "platform/core/StrUtils.h"
#include "platform/disk/VolumeTools.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <mutex>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volumes {

namespace {

enum class MountKind { kHooked, kUdisks, kKernel };

struct OwnMount {
    std::string device;
    std::string mountPoint;
    MountKind kind = MountKind::kKernel;
};

std::mutex ownLock;
std::vector<OwnMount> ownMounts;

constexpr const char* kMountBase = "/media/harbek";

std::string Trimmed(std::string output) {
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

std::string MountWithUdisks(const std::string& program, const std::string& device) {
    std::string output;
    const int status = RunProgram(
        {program, "mount", "--no-user-interaction", "--options", "ro", "--block-device", device}, output);
    if (status != 0) {
        const std::string said = Trimmed(output);
        throw EVolumeError(TVolumeFault::kMountFailed, device, said, "Cannot mount " + device + ": " + said);
    }
    const std::string point = MountPointOf(device);
    if (point.empty())
        throw EVolumeError(TVolumeFault::kMountFailed, device, "",
                           "Cannot mount " + device + ": it did not appear in the mount table");
    return point;
}

void UnmountWithUdisks(const std::string& device) {
    const std::string program = FindProgram("udisksctl");
    if (program.empty()) throw EVolumeError("Cannot unmount " + device + ": udisksctl is not installed");
    std::string output;
    if (RunProgram({program, "unmount", "--no-user-interaction", "--block-device", device}, output) != 0)
        throw EVolumeError("Cannot unmount " + device + ": " + Trimmed(output));
}

bool IsEmptyFolder(const std::string& folder) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get()))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) return false;
    return true;
}

bool IsMountPoint(const std::string& folder) {
    for (const MountEntry& entry : ReadMountTable())
        if (entry.mountPoint == folder) return true;
    return false;
}

std::string MountWithKernel(const std::string& device) {
    BlockVolume probed;
    if (!detail::ProbeWithBlkid(device, probed))
        throw EVolumeError(TVolumeFault::kNoFileSystem, device, "",
                           "Cannot mount " + device + ": no file system was found on it");
    const std::string name = detail::KernelName(device);
    if (name.empty())
        throw EVolumeError(TVolumeFault::kMountFailed, device, "",
                           "Cannot mount " + device + ": it is not a block device");
    mkdir("/media", 0755);
    mkdir(kMountBase, 0755);
    const std::string point = std::string(kMountBase) + "/" + name;
    if (mkdir(point.c_str(), 0755) != 0) {
        const int error = errno;
        // A folder left behind by an earlier run serves again when nothing lies in or on it.
        if (error != EEXIST || !IsEmptyFolder(point) || IsMountPoint(point))
            throw EVolumeError(TVolumeFault::kMountFailed, device,
                               error == EEXIST ? "" : std::strerror(error),
                               Format("Cannot mount %s on %s: %s", device.c_str(), point.c_str(),
                                      error == EEXIST ? "the folder is in use" : std::strerror(error)));
    }
    // An ext3 or ext4 journal is not replayed either: that would write to the disk.
    const bool journaled = probed.type == "ext3" || probed.type == "ext4";
    if (mount(device.c_str(), point.c_str(), probed.type.c_str(),
              MS_RDONLY | MS_NOSUID | MS_NODEV | MS_NOEXEC, journaled ? "noload" : nullptr) != 0) {
        const int error = errno;
        rmdir(point.c_str());
        throw EVolumeError(TVolumeFault::kMountFailed, device, std::strerror(error),
                           Format("Cannot mount %s: %s", device.c_str(), std::strerror(error)));
    }
    return point;
}

void UnmountWithKernel(const std::string& device, const std::string& point) {
    // Not detached lazily: a volume still in use stays mounted and the caller hears why.
    if (umount2(point.c_str(), 0) != 0)
        throw EVolumeError(Format("Cannot unmount %s: %s", device.c_str(), std::strerror(errno)));
}

bool StillMountedThere(const OwnMount& mine) {
    for (const MountEntry& entry : ReadMountTable())
        if (entry.mountPoint == mine.mountPoint && detail::SameDevice(entry.device, mine.device)) return true;
    return false;
}

void Remember(const std::string& device, const std::string& point, MountKind kind) {
    std::lock_guard<std::mutex> guard(ownLock);
    ownMounts.push_back({device, point, kind});
}

} // namespace

void detail::ForgetHookedMounts() {
    std::lock_guard<std::mutex> guard(ownLock);
    std::erase_if(ownMounts, [](const OwnMount& m) { return m.kind == MountKind::kHooked; });
}

std::string MountVolume(const std::string& device) {
    const VolumeSource source = detail::CurrentSource();
    if (device.empty()) throw EVolumeError("Cannot mount a volume without a device");
    if (source.mount) {
        const std::string point = source.mount(device);
        if (point.empty())
            throw EVolumeError(TVolumeFault::kMountFailed, device, "", "Cannot mount " + device);
        Remember(device, point, MountKind::kHooked);
        return point;
    }
    const bool root = geteuid() == 0;
    const std::string udisks = FindProgram("udisksctl");
    if (!udisks.empty()) {
        try {
            const std::string point = MountWithUdisks(udisks, device);
            Remember(device, point, MountKind::kUdisks);
            return point;
        } catch (const EVolumeError&) {
            // Its service may not run here; root mounts the volume itself.
            if (!root) throw;
        }
    } else if (!root) {
        throw EVolumeError(
            TVolumeFault::kNoMountTool, device, "",
            "Cannot mount " + device +
                ": udisksctl is not installed and this program does not run as root; mount the "
                "volume read-only yourself");
    }
    const std::string point = MountWithKernel(device);
    Remember(device, point, MountKind::kKernel);
    return point;
}

void UnmountVolume(const std::string& device) {
    OwnMount mine;
    {
        std::lock_guard<std::mutex> guard(ownLock);
        const auto it = std::find_if(ownMounts.begin(), ownMounts.end(),
                                     [&](const OwnMount& m) { return detail::SameDevice(m.device, device); });
        if (it == ownMounts.end())
            throw EVolumeError("Cannot unmount " + device + ": this program did not mount it");
        mine = *it;
    }
    // Unmounted or mounted again by someone else since: theirs now, not this program's.
    if (StillMountedThere(mine)) {
        switch (mine.kind) {
        case MountKind::kHooked:
            if (const VolumeSource source = detail::CurrentSource(); source.unmount)
                source.unmount(mine.device, mine.mountPoint);
            break;
        case MountKind::kUdisks:
            UnmountWithUdisks(mine.device);
            break;
        case MountKind::kKernel:
            UnmountWithKernel(mine.device, mine.mountPoint);
            break;
        }
    }
    if (mine.kind == MountKind::kKernel) rmdir(mine.mountPoint.c_str());
    std::lock_guard<std::mutex> guard(ownLock);
    std::erase_if(ownMounts, [&](const OwnMount& m) {
        return m.device == mine.device && m.mountPoint == mine.mountPoint;
    });
}

std::vector<std::string> UnmountOwnVolumes() {
    std::vector<std::string> errors;
    for (const std::string& device : OwnMounts()) {
        try {
            UnmountVolume(device);
        } catch (const Exception& e) {
            errors.push_back(e.Message);
        }
    }
    return errors;
}

std::vector<std::string> OwnMounts() {
    std::lock_guard<std::mutex> guard(ownLock);
    std::vector<std::string> devices;
    for (const OwnMount& m : ownMounts)
        devices.push_back(m.device);
    return devices;
}

} // namespace volumes
