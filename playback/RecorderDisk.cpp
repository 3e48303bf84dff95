#include "playback/RecorderDisk.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/disk/Volumes.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <set>
#include <sys/stat.h>

namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

bool IsExt2(const std::string& type) {
    return SameText(type, "EXT2");
}

bool HasRecorderLabel(const volumes::BlockVolume& volume) {
    return volume.label == kQelRecordingLabel || volume.label == kQelDatabaseLabel;
}

// The detect button's volumes: EXT2 with one of the recorder's labels, or on a device that can be
// plugged in and out.
bool IsDetectCandidate(const volumes::BlockVolume& volume) {
    return IsExt2(volume.type) && (HasRecorderLabel(volume) || volume.removable || volume.hotplug);
}

// The computer's own disks are never touched, whatever their volumes are called.
bool OnSystemDisk(const volumes::BlockVolume& volume, const std::set<std::string>& systemDisks) {
    return !volume.disk.empty() && systemDisks.count(volume.disk) != 0;
}

TDiskFailure SystemDiskRefusal(const volumes::BlockVolume& volume) {
    return {volumes::TVolumeFault::kOnSystemDisk, volume.device, volume.label, ""};
}

TDiskFailure MountFailure(const volumes::BlockVolume& volume, const Exception& e) {
    const auto* failure = dynamic_cast<const EVolumeError*>(&e);
    if (failure == nullptr)
        return {volumes::TVolumeFault::kMountFailed, volume.device, volume.label, e.Message};
    return {failure->Fault == volumes::TVolumeFault::kOther ? volumes::TVolumeFault::kMountFailed
                                                            : failure->Fault,
            volume.device, volume.label, failure->Detail};
}

} // namespace

int ClassifyVolumeRoot(const std::string& root) {
    const int type = volumes::DriveTypeOf(root);
    if (type == volumes::kDriveNoRoot) return type;
    volumes::MountEntry mount;
    volumes::BlockVolume volume;
    if (!volumes::MountOfPath(root, mount) || !volumes::VolumeOfMount(mount, volume)) return type;
    if (volume.label == kQelRecordingLabel) return kQelRecordingVolume;
    if (volume.label == kQelDatabaseLabel) return kQelDatabaseVolume;
    return type;
}

QelVolumes FindQelVolumes() {
    QelVolumes found;
    const std::set<std::string> systemDisks = volumes::SystemDisks();
    for (const volumes::BlockVolume& volume : volumes::ListBlockVolumes()) {
        std::string* root = volume.label == kQelDatabaseLabel    ? &found.databaseRoot
                            : volume.label == kQelRecordingLabel ? &found.recordingRoot
                                                                 : nullptr;
        if (root == nullptr) continue;
        std::string point = volumes::MountPointOf(volume.device);
        if (point.empty()) {
            if (OnSystemDisk(volume, systemDisks)) {
                found.errors.push_back(SystemDiskRefusal(volume));
                continue;
            }
            try {
                point = volumes::MountVolume(volume.device);
            } catch (const Exception& e) {
                found.errors.push_back(MountFailure(volume, e));
                continue;
            }
        }
        *root = WithSlash(point);
    }
    return found;
}

bool DtIsQelMounted(std::string& root) {
    const std::set<std::string> systemDisks = volumes::SystemDisks();
    for (const volumes::BlockVolume& volume : volumes::ListBlockVolumes()) {
        if (!IsDetectCandidate(volume) || OnSystemDisk(volume, systemDisks)) continue;
        const std::string point = volumes::MountPointOf(volume.device);
        if (point.empty()) continue;
        root = WithSlash(point);
        return true;
    }
    return false;
}

bool DtFindAndMountExt2Drive(std::string& root, std::vector<TDiskFailure>& errors) {
    const std::set<std::string> systemDisks = volumes::SystemDisks();
    for (const volumes::BlockVolume& volume : volumes::ListBlockVolumes()) {
        if (!IsDetectCandidate(volume) || !volumes::MountPointOf(volume.device).empty()) continue;
        if (OnSystemDisk(volume, systemDisks)) {
            if (HasRecorderLabel(volume)) errors.push_back(SystemDiskRefusal(volume));
            continue;
        }
        try {
            root = WithSlash(volumes::MountVolume(volume.device));
            return true;
        } catch (const Exception& e) {
            errors.push_back(MountFailure(volume, e));
        }
    }
    return false;
}

std::optional<std::string> AdjacentFolder(const std::string& folder, const std::string& current, bool first,
                                          bool forward) {
    const std::string base = WithSlash(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(base.c_str()), closedir);
    if (!dir) throw EInOutError(Format("Cannot list %s: %s", base.c_str(), std::strerror(errno)));
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "lost+found") continue;
        struct stat st {};
        if (stat((base + name).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
        bool better = false;
        if (first)
            better = !best || name < *best;
        else if (forward)
            better = name > current && (!best || name < *best);
        else
            better = name < current && (!best || name > *best);
        if (better) best = name;
    }
    return best;
}
