#include "platform/disk/Volumes.h"

#include <climits>
#include <cstdlib>
#include <sstream>

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

// Links such as /dev/disk/by-label/x name the same device as /dev/sdb2.
std::string CanonicalDevice(const std::string& device) {
    char resolved[PATH_MAX];
    if (!device.empty() && device[0] == '/' && realpath(device.c_str(), resolved) != nullptr) return resolved;
    return device;
}

} // namespace

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
    const std::string wanted = CanonicalDevice(device);
    for (const MountEntry& entry : ReadMountTable())
        if (entry.device == device || CanonicalDevice(entry.device) == wanted) return entry.mountPoint;
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
    const std::string wanted = CanonicalDevice(entry.device);
    for (const BlockVolume& v : ListBlockVolumes()) {
        if (v.device == entry.device || CanonicalDevice(v.device) == wanted) {
            volume = v;
            return true;
        }
    }
    return false;
}

} // namespace volumes
