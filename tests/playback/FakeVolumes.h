// A stand-in for the computer's block devices and mount table: volumes with labels, some mounted on
// test folders, and a mount call that mounts a device on a folder chosen beforehand or fails. A device's
// disk is its name without the partition number ("sdb" for /dev/sdb2).
#pragma once

#include "platform/disk/Volumes.h"

#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeVolumes {
public:
    // Folders are shown by the stand-in below, or by the desktop's own opener (xdg-open on the PATH).
    enum Opener { kFakeOpener, kDesktopOpener };
    explicit FakeVolumes(Opener opener = kFakeOpener) : state_(std::make_shared<State>()) {
        std::shared_ptr<State> state = state_;
        volumes::VolumeSource source;
        source.listVolumes = [state] { return state->devices; };
        source.mountTable = [state] { return state->mounts; };
        source.mount = [state](const std::string& device) {
            state->mountCalls.push_back(device);
            auto target = state->mountTargets.find(device);
            if (target == state->mountTargets.end())
                throw EVolumeError(volumes::TVolumeFault::kMountFailed, device, "refused",
                                   "Cannot mount " + device + ": refused");
            state->mounts.push_back({device, target->second, "ext2"});
            return target->second;
        };
        source.unmount = [state](const std::string& device, const std::string& mountPoint) {
            state->unmountCalls.push_back(device);
            std::erase_if(state->mounts, [&](const volumes::MountEntry& m) {
                return m.device == device && m.mountPoint == mountPoint;
            });
        };
        if (opener == kFakeOpener)
            source.openFolder = [state](const std::string& folder) {
                if (state->shown == nullptr)
                    throw EVolumeError(volumes::TVolumeFault::kNothingShows, folder, "",
                                       "Cannot show " + folder);
                state->shown->push_back(folder);
            };
        volumes::SetVolumeSource(source);
    }
    ~FakeVolumes() { volumes::ResetVolumeSource(); }
    FakeVolumes(const FakeVolumes&) = delete;
    FakeVolumes& operator=(const FakeVolumes&) = delete;

    enum Attachment { kFixed, kRemovable, kHotplug };
    // A device; mounted on `mountPoint` unless it is empty.
    void Add(const std::string& device, const std::string& type, const std::string& label,
             const std::string& mountPoint = "", Attachment attachment = kFixed) {
        state_->devices.push_back(
            {device, type, label, attachment == kRemovable, attachment != kFixed, DiskOf(device)});
        if (!mountPoint.empty()) state_->mounts.push_back({device, mountPoint, type});
    }
    // The next mount of the device succeeds on that folder (without it, mounting fails).
    void MountsOn(const std::string& device, const std::string& mountPoint) {
        state_->mountTargets[device] = mountPoint;
    }
    void AddMount(const std::string& device, const std::string& mountPoint, const std::string& type) {
        state_->mounts.push_back({device, mountPoint, type});
    }
    // Unmounted behind the program's back.
    void Unmount(const std::string& device) {
        std::erase_if(state_->mounts, [&](const volumes::MountEntry& m) { return m.device == device; });
    }
    // Folders the file manager was asked to show go here (without it, showing fails).
    void ShowsFolders(std::vector<std::string>& shown) { state_->shown = &shown; }
    const std::vector<std::string>& MountCalls() const { return state_->mountCalls; }
    const std::vector<std::string>& UnmountCalls() const { return state_->unmountCalls; }

private:
    static std::string DiskOf(const std::string& device) {
        std::string name = device.substr(device.rfind('/') + 1);
        while (!name.empty() && std::isdigit(static_cast<unsigned char>(name.back())))
            name.pop_back();
        return name;
    }
    struct State {
        std::vector<volumes::BlockVolume> devices;
        std::vector<volumes::MountEntry> mounts;
        std::map<std::string, std::string> mountTargets;
        std::vector<std::string> mountCalls;
        std::vector<std::string> unmountCalls;
        std::vector<std::string>* shown = nullptr;
    };
    std::shared_ptr<State> state_;
};
