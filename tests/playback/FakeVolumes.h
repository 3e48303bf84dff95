// A stand-in for the computer's block devices and mount table: volumes with labels, some mounted on
// test folders, and a mount call that mounts a device on a folder chosen beforehand or fails.
#pragma once

#include "platform/disk/Volumes.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeVolumes {
public:
    FakeVolumes() : state_(std::make_shared<State>()) {
        std::shared_ptr<State> state = state_;
        volumes::VolumeSource source;
        source.listVolumes = [state] { return state->devices; };
        source.mountTable = [state] { return state->mounts; };
        source.mount = [state](const std::string& device) {
            state->mountCalls.push_back(device);
            auto target = state->mountTargets.find(device);
            if (target == state->mountTargets.end())
                throw EVolumeError("Cannot mount " + device + ": refused");
            state->mounts.push_back({device, target->second, "ext2"});
            return target->second;
        };
        source.openFolder = [state](const std::string& folder) {
            if (state->shown == nullptr) throw EVolumeError("Cannot show " + folder);
            state->shown->push_back(folder);
        };
        volumes::SetVolumeSource(source);
    }
    ~FakeVolumes() { volumes::ResetVolumeSource(); }
    FakeVolumes(const FakeVolumes&) = delete;
    FakeVolumes& operator=(const FakeVolumes&) = delete;

    // A device; mounted on `mountPoint` unless it is empty.
    void Add(const std::string& device, const std::string& type, const std::string& label,
             const std::string& mountPoint = "", bool removable = false) {
        state_->devices.push_back({device, type, label, removable});
        if (!mountPoint.empty()) state_->mounts.push_back({device, mountPoint, type});
    }
    // The next mount of the device succeeds on that folder (without it, mounting fails).
    void MountsOn(const std::string& device, const std::string& mountPoint) {
        state_->mountTargets[device] = mountPoint;
    }
    void AddMount(const std::string& device, const std::string& mountPoint, const std::string& type) {
        state_->mounts.push_back({device, mountPoint, type});
    }
    // Folders the file manager was asked to show go here (without it, showing fails).
    void ShowsFolders(std::vector<std::string>& shown) { state_->shown = &shown; }
    const std::vector<std::string>& MountCalls() const { return state_->mountCalls; }

private:
    struct State {
        std::vector<volumes::BlockVolume> devices;
        std::vector<volumes::MountEntry> mounts;
        std::map<std::string, std::string> mountTargets;
        std::vector<std::string> mountCalls;
        std::vector<std::string>* shown = nullptr;
    };
    std::shared_ptr<State> state_;
};
