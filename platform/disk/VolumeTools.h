// What the volume layer's own files share: the replaced source, the probes, sysfs names and running a
// helper program. Not for use outside platform/disk.
#pragma once

#include "platform/disk/Volumes.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace volumes::detail {

VolumeSource CurrentSource();
// A replaced source's mounts are forgotten when the source changes.
void ForgetHookedMounts();

std::string ReadWhole(const std::string& path);
// The file-system type and label libblkid finds on the device; false when it finds none or cannot read.
bool ProbeWithBlkid(const std::string& device, BlockVolume& volume);

// Links such as /dev/disk/by-label/x resolved to the device they name.
std::string CanonicalDevice(const std::string& device);
bool SameDevice(const std::string& a, const std::string& b);

// The kernel's name of a block device ("sdb2" for /dev/sdb2 or a link to it); empty when it has none.
std::string KernelName(const std::string& device);
std::string KernelNameOfNumber(dev_t number);
// The whole disk a kernel block device lies on; the name itself for a whole disk.
std::string DiskOfName(const std::string& name);
// Its disk and every disk under it through device-mapper or RAID, added to `disks`.
void AddDisksUnder(const std::string& name, std::set<std::string>& disks, int depth = 0);

} // namespace volumes::detail
