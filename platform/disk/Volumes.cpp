#include "platform/disk/Volumes.h"

#include "platform/disk/VolumeTools.h"

#include <blkid.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace volumes {

namespace {

std::mutex sourceLock;
VolumeSource hooked;

// udev writes a label's unusual bytes as \xNN.
std::string DecodeUdevText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && std::isxdigit(text[i + 2]) &&
            std::isxdigit(text[i + 3])) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// A desktop user may not read the device itself; udev has probed it already and keeps what it found.
bool ProbeFromUdev(const std::string& device, BlockVolume& volume) {
    struct stat st {};
    if (stat(device.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return false;
    std::istringstream lines(detail::ReadWhole("/run/udev/data/b" + std::to_string(major(st.st_rdev)) + ":" +
                                               std::to_string(minor(st.st_rdev))));
    std::string line, label, labelEnc;
    while (std::getline(lines, line)) {
        if (line.rfind("E:ID_FS_TYPE=", 0) == 0) volume.type = line.substr(13);
        if (line.rfind("E:ID_FS_LABEL=", 0) == 0) label = line.substr(14);
        if (line.rfind("E:ID_FS_LABEL_ENC=", 0) == 0) labelEnc = DecodeUdevText(line.substr(18));
    }
    volume.label = labelEnc.empty() ? label : labelEnc;
    return !volume.type.empty();
}

std::string SysBlockPath(const std::string& name) {
    char resolved[PATH_MAX];
    const std::string link = "/sys/class/block/" + name;
    return realpath(link.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

bool IsRemovableDisk(const std::string& disk) {
    const std::string flag = detail::ReadWhole("/sys/class/block/" + disk + "/removable");
    return !flag.empty() && flag[0] == '1';
}

// A device below a USB, FireWire, PC card or memory card controller can be plugged in and out at any time.
bool IsOnHotplugBus(const std::string& disk) {
    std::string folder = SysBlockPath(disk);
    static const char* const buses[] = {"usb", "ieee1394", "pcmcia", "mmc", "sdio", "ccw"};
    while (folder.size() > std::string("/sys/devices").size() && folder.rfind("/sys/devices/", 0) == 0) {
        char resolved[PATH_MAX];
        if (realpath((folder + "/subsystem").c_str(), resolved) != nullptr) {
            const std::string subsystem = std::string(resolved).substr(std::string(resolved).rfind('/') + 1);
            for (const char* bus : buses)
                if (subsystem == bus) return true;
        }
        folder = folder.substr(0, folder.rfind('/'));
    }
    return false;
}

// Long enough for xdg-open without a desktop to try every program it knows (2 s on a loaded machine).
constexpr int kDesktopAnswerMs = 5000;

void OpenWithDesktop(const std::string& folder, const std::function<bool()>& whileWaiting) {
    const std::string program = FindProgram("xdg-open");
    if (program.empty())
        throw EVolumeError(TVolumeFault::kNoOpener, folder, "",
                           "Cannot show " + folder + ": xdg-open is not installed");
    std::vector<std::string> args{program, folder};
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        throw EVolumeError(TVolumeFault::kNoOpener, folder, "",
                           "Cannot show " + folder + ": xdg-open did not start");
    // xdg-open hands the folder over and ends at once, failing when nothing on this computer can show a
    // folder; one that runs on is the file manager itself, whose exit is collected aside so no zombie
    // stays.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDesktopAnswerMs);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == 0) {
            // The caller no longer waits: the exit is collected aside, as for a file manager.
            if (whileWaiting && !whileWaiting()) break;
            usleep(20 * 1000);
            continue;
        }
        if (ended < 0) {
            if (errno == EINTR) continue;
            return; // collected elsewhere: nothing to tell
        }
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
        const std::string how = WIFEXITED(status)
                                    ? "ended with status " + std::to_string(WEXITSTATUS(status))
                                    : "was stopped by signal " + std::to_string(WTERMSIG(status));
        throw EVolumeError(TVolumeFault::kNothingShows, folder, "",
                           "Cannot show " + folder + ": xdg-open found no program to show it (" + how +
                               "); open the folder in a file manager yourself");
    }
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

namespace detail {

VolumeSource CurrentSource() {
    std::lock_guard<std::mutex> guard(sourceLock);
    return hooked;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ProbeWithBlkid(const std::string& device, BlockVolume& volume) {
    blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
    if (probe == nullptr) return false;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    bool found = false;
    if (blkid_do_safeprobe(probe) == 0) {
        const char* value = nullptr;
        std::size_t length = 0;
        if (blkid_probe_lookup_value(probe, "TYPE", &value, &length) == 0 && value != nullptr) {
            volume.type = value;
            found = true;
        }
        if (blkid_probe_lookup_value(probe, "LABEL", &value, &length) == 0 && value != nullptr)
            volume.label = value;
    }
    blkid_free_probe(probe);
    return found;
}

std::string KernelNameOfNumber(dev_t number) {
    char resolved[PATH_MAX];
    const std::string link =
        "/sys/dev/block/" + std::to_string(major(number)) + ":" + std::to_string(minor(number));
    if (realpath(link.c_str(), resolved) == nullptr) return "";
    const std::string path = resolved;
    return path.substr(path.rfind('/') + 1);
}

std::string KernelName(const std::string& device) {
    struct stat st {};
    if (device.rfind("/dev/", 0) != 0 || stat(device.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return "";
    return KernelNameOfNumber(st.st_rdev);
}

std::string DiskOfName(const std::string& name) {
    const std::string folder = SysBlockPath(name);
    if (folder.empty()) return name;
    // A partition's folder lies inside its disk's.
    if (access((folder + "/partition").c_str(), F_OK) == 0) {
        const std::string parent = folder.substr(0, folder.rfind('/'));
        return parent.substr(parent.rfind('/') + 1);
    }
    return name;
}

void AddDisksUnder(const std::string& name, std::set<std::string>& disks, int depth) {
    if (name.empty() || depth > 8) return;
    const std::string disk = DiskOfName(name);
    disks.insert(disk);
    // A device-mapper or RAID device names the devices under it as its slaves.
    for (const std::string& holderOf : {name, disk}) {
        const std::string folder = SysBlockPath(holderOf);
        if (folder.empty()) continue;
        std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir((folder + "/slaves").c_str()), closedir);
        if (!dir) continue;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string slave = entry->d_name;
            if (slave != "." && slave != "..") AddDisksUnder(slave, disks, depth + 1);
        }
    }
}

} // namespace detail

std::string FindProgram(const std::string& name) {
    const char* path = getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

int RunProgram(const std::vector<std::string>& args, std::string& output) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw EVolumeError("Cannot start " + args[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (started != 0) {
        close(pipeFds[0]);
        throw EVolumeError("Cannot start " + args[0]);
    }
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0 && output.size() < 65536) output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SetVolumeSource(VolumeSource source) {
    detail::ForgetHookedMounts();
    std::lock_guard<std::mutex> guard(sourceLock);
    hooked = std::move(source);
}

void ResetVolumeSource() {
    SetVolumeSource(VolumeSource{});
}

std::vector<BlockVolume> ProbeBlockVolumes() {
    std::vector<BlockVolume> volumes;
    std::istringstream lines(detail::ReadWhole("/proc/partitions"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        unsigned major = 0, minor = 0;
        unsigned long long blocks = 0;
        std::string name;
        if (!(fields >> major >> minor >> blocks >> name) || name.find('/') != std::string::npos) continue;
        BlockVolume volume;
        volume.device = "/dev/" + name;
        if (!detail::ProbeWithBlkid(volume.device, volume) && !ProbeFromUdev(volume.device, volume)) continue;
        volume.disk = detail::DiskOfName(name);
        volume.removable = IsRemovableDisk(volume.disk);
        volume.hotplug = volume.removable || IsOnHotplugBus(volume.disk);
        volumes.push_back(volume);
    }
    return volumes;
}

std::vector<BlockVolume> ListBlockVolumes() {
    const VolumeSource source = detail::CurrentSource();
    std::vector<BlockVolume> volumes = source.listVolumes ? source.listVolumes() : ProbeBlockVolumes();
    std::stable_sort(volumes.begin(), volumes.end(),
                     [](const BlockVolume& a, const BlockVolume& b) { return a.device < b.device; });
    return volumes;
}

std::vector<MountEntry> ReadMountTable() {
    const VolumeSource source = detail::CurrentSource();
    if (source.mountTable) return source.mountTable();
    return ParseMountTable(detail::ReadWhole("/proc/self/mounts"));
}

void OpenFolder(const std::string& folder, const std::function<bool()>& whileWaiting) {
    const VolumeSource source = detail::CurrentSource();
    if (source.openFolder)
        source.openFolder(folder);
    else
        OpenWithDesktop(folder, whileWaiting);
}

int DriveTypeOf(const std::string& root) {
    struct stat st {};
    if (root.empty() || stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kDriveNoRoot;
    MountEntry mount;
    if (!MountOfPath(root, mount)) return kDriveUnknown;
    static const char* const remote[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p"};
    static const char* const optical[] = {"iso9660", "udf"};
    static const char* const memory[] = {"tmpfs", "ramfs"};
    for (const char* type : remote)
        if (mount.type == type) return kDriveRemote;
    for (const char* type : optical)
        if (mount.type == type) return kDriveCdRom;
    for (const char* type : memory)
        if (mount.type == type) return kDriveRamDisk;
    BlockVolume volume;
    if (!VolumeOfMount(mount, volume)) return kDriveFixed;
    return volume.removable ? kDriveRemovable : kDriveFixed;
}

} // namespace volumes
