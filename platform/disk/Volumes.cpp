#include "platform/disk/Volumes.h"

#include <blkid.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
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

VolumeSource Current() {
    std::lock_guard<std::mutex> guard(sourceLock);
    return hooked;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    std::istringstream lines(ReadWhole("/run/udev/data/b" + std::to_string(major(st.st_rdev)) + ":" +
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

bool IsRemovable(const std::string& name) {
    char resolved[PATH_MAX];
    const std::string link = "/sys/class/block/" + name;
    if (realpath(link.c_str(), resolved) == nullptr) return false;
    std::string folder = resolved;
    // A partition's flag lives with its disk.
    if (access((folder + "/partition").c_str(), F_OK) == 0) folder = folder.substr(0, folder.rfind('/'));
    const std::string flag = ReadWhole(folder + "/removable");
    return !flag.empty() && flag[0] == '1';
}

std::vector<BlockVolume> ProbeAllVolumes() {
    std::vector<BlockVolume> volumes;
    std::istringstream lines(ReadWhole("/proc/partitions"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        unsigned major = 0, minor = 0;
        unsigned long long blocks = 0;
        std::string name;
        if (!(fields >> major >> minor >> blocks >> name) || name.find('/') != std::string::npos) continue;
        BlockVolume volume;
        volume.device = "/dev/" + name;
        if (!ProbeWithBlkid(volume.device, volume) && !ProbeFromUdev(volume.device, volume)) continue;
        volume.removable = IsRemovable(name);
        volumes.push_back(volume);
    }
    return volumes;
}

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

// Runs the program without a shell; its output (both streams) comes back in `output`.
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

std::string MountWithUdisks(const std::string& device) {
    const std::string program = FindProgram("udisksctl");
    if (program.empty())
        throw EVolumeError("Cannot mount " + device + ": udisksctl is not installed; mount it as root");
    std::string output;
    const int status = RunProgram({program, "mount", "--no-user-interaction", "-b", device}, output);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    if (status != 0) throw EVolumeError("Cannot mount " + device + ": " + output);
    const std::string point = MountPointOf(device);
    if (point.empty())
        throw EVolumeError("Cannot mount " + device + ": it did not appear in the mount table");
    return point;
}

void OpenWithDesktop(const std::string& folder) {
    const std::string program = FindProgram("xdg-open");
    if (program.empty()) throw EVolumeError("Cannot show " + folder + ": xdg-open is not installed");
    std::vector<std::string> args{program, folder};
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        throw EVolumeError("Cannot show " + folder + ": xdg-open did not start");
    // The file manager may run for long; its exit is collected aside so no zombie stays.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

void SetVolumeSource(VolumeSource source) {
    std::lock_guard<std::mutex> guard(sourceLock);
    hooked = std::move(source);
}

void ResetVolumeSource() {
    SetVolumeSource(VolumeSource{});
}

std::vector<BlockVolume> ListBlockVolumes() {
    const VolumeSource source = Current();
    std::vector<BlockVolume> volumes = source.listVolumes ? source.listVolumes() : ProbeAllVolumes();
    std::stable_sort(volumes.begin(), volumes.end(),
                     [](const BlockVolume& a, const BlockVolume& b) { return a.device < b.device; });
    return volumes;
}

std::vector<MountEntry> ReadMountTable() {
    const VolumeSource source = Current();
    if (source.mountTable) return source.mountTable();
    return ParseMountTable(ReadWhole("/proc/self/mounts"));
}

std::string MountVolume(const std::string& device) {
    const VolumeSource source = Current();
    if (device.empty()) throw EVolumeError("Cannot mount a volume without a device");
    const std::string point = source.mount ? source.mount(device) : MountWithUdisks(device);
    if (point.empty()) throw EVolumeError("Cannot mount " + device);
    return point;
}

void OpenFolder(const std::string& folder) {
    const VolumeSource source = Current();
    if (source.openFolder)
        source.openFolder(folder);
    else
        OpenWithDesktop(folder);
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
