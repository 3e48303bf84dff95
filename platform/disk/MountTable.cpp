#include "platform/disk/Volumes.h"

#include "platform/disk/VolumeTools.h"

#include <climits>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

namespace volumes {

namespace {

// The kernel writes blank, tab, newline and backslash in mount fields as three octal digits.
std::string DecodeField(const std::string& field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.size() == 3 && digits.find_first_not_of("01234567") == std::string::npos) {
                const int value = (digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0');
                if (value > 0 && value < 256) {
                    out.push_back(static_cast<char>(value));
                    i += 3;
                    continue;
                }
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

// Links such as /dev/disk/by-label/x name the same device as /dev/sdb2.
std::string detail::CanonicalDevice(const std::string& device) {
    char resolved[PATH_MAX];
    if (!device.empty() && device[0] == '/' && realpath(device.c_str(), resolved) != nullptr) return resolved;
    return device;
}

bool detail::SameDevice(const std::string& a, const std::string& b) {
    return a == b || (!a.empty() && detail::CanonicalDevice(a) == detail::CanonicalDevice(b));
}

std::vector<MountEntry> ParseMountTable(const std::string& text) {
    std::vector<MountEntry> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        mountPoint = DecodeField(mountPoint);
        if (mountPoint.empty() || mountPoint[0] != '/') continue;
        entries.push_back({DecodeField(device), WithoutTrailingSlash(mountPoint), DecodeField(type)});
    }
    return entries;
}

std::string MountPointOf(const std::string& device) {
    if (device.empty()) return "";
    const std::string wanted = detail::CanonicalDevice(device);
    for (const MountEntry& entry : ReadMountTable())
        if (entry.device == device || detail::CanonicalDevice(entry.device) == wanted)
            return entry.mountPoint;
    return "";
}

bool MountOfPath(const std::string& path, MountEntry& found) {
    const std::string wanted = WithoutTrailingSlash(path);
    std::size_t best = 0;
    bool any = false;
    for (const MountEntry& entry : ReadMountTable()) {
        const std::string& point = entry.mountPoint;
        const bool inside = point == "/" ? !wanted.empty() && wanted[0] == '/'
                                         : wanted.compare(0, point.size(), point) == 0 &&
                                               (wanted.size() == point.size() || wanted[point.size()] == '/');
        // The later of two mounts on the same point hides the earlier one.
        if (inside && (!any || point.size() >= best)) {
            found = entry;
            best = point.size();
            any = true;
        }
    }
    return any;
}

bool VolumeOfMount(const MountEntry& entry, BlockVolume& volume) {
    const std::string wanted = detail::CanonicalDevice(entry.device);
    for (const BlockVolume& v : ListBlockVolumes()) {
        if (v.device == entry.device || detail::CanonicalDevice(v.device) == wanted) {
            volume = v;
            return true;
        }
    }
    return false;
}

bool IsSystemMountPoint(const std::string& mountPoint) {
    const std::string point = WithoutTrailingSlash(mountPoint);
    // The root, the tops of the file-system hierarchy and everything below the trees that only the
    // system uses; a disk mounted by hand elsewhere (/mnt/x, ~/rec) is the user's.
    for (const std::string top : {"/", "/home", "/opt", "/srv", "/root", "/tmp", "/nix", "/snap"})
        if (point == top) return true;
    for (const std::string tree : {"/boot", "/efi", "/usr", "/var"})
        if (point == tree || point.rfind(tree + "/", 0) == 0) return true;
    return false;
}

std::set<std::string> SystemDisks() {
    std::set<std::string> disks;
    const std::vector<BlockVolume> listed = ListBlockVolumes();
    const auto add = [&](const std::string& device, const std::string& mountPoint) {
        const std::string canonical = detail::CanonicalDevice(device);
        for (const BlockVolume& volume : listed)
            if (!volume.disk.empty() &&
                (volume.device == device || detail::CanonicalDevice(volume.device) == canonical))
                disks.insert(volume.disk);
        std::string name = detail::KernelName(device);
        // The kernel shows the root file system's device as /dev/root, which need not exist.
        struct stat st {};
        if (name.empty() && device == "/dev/root" && stat(mountPoint.c_str(), &st) == 0)
            name = detail::KernelNameOfNumber(st.st_dev);
        detail::AddDisksUnder(name, disks);
    };
    for (const MountEntry& entry : ReadMountTable())
        if (IsSystemMountPoint(entry.mountPoint)) add(entry.device, entry.mountPoint);
    std::istringstream swaps(detail::ReadWhole("/proc/swaps"));
    std::string line;
    std::getline(swaps, line); // the heading
    while (std::getline(swaps, line)) {
        std::istringstream fields(line);
        std::string device, type;
        if (fields >> device >> type && type == "partition") add(DecodeField(device), "");
    }
    return disks;
}

} // namespace volumes
