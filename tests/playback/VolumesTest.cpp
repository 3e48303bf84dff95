// The volume layer: the mount table as the kernel writes it, mount lookups and drive types through the
// test source, and the real probes where nothing is replaced.
#include "platform/disk/Volumes.h"
#include "tests/playback/FakeVolumes.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(VolumesParse, MountTableLines) {
    const std::string text = "/dev/sdb2 /media/user/avfiles ext2 rw,nosuid 0 0\n"
                             "/dev/sdc1 /media/user/my\\040disk vfat rw 0 0\n"
                             "tmpfs /run tmpfs rw 0 0\n"
                             "broken-line-without-fields\n"
                             "\n"
                             "/dev/sdd1 relative ext4 rw 0 0\n"
                             "/dev/sde1 /mnt/x/ ext4 rw 0 0\n"
                             "/dev/sdf1 /mnt/back\\134slash\\0 ext4 rw 0 0\n";
    const auto entries = volumes::ParseMountTable(text);
    ASSERT_EQ(entries.size(), 5u);
    const struct {
        const char* device;
        const char* point;
        const char* type;
    } expected[] = {
        {"/dev/sdb2", "/media/user/avfiles", "ext2"},
        {"/dev/sdc1", "/media/user/my disk", "vfat"},
        {"tmpfs", "/run", "tmpfs"},
        {"/dev/sde1", "/mnt/x", "ext4"},
        // a cut escape stays as written
        {"/dev/sdf1", "/mnt/back\\slash\\0", "ext4"},
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].device, expected[i].device) << i;
        EXPECT_EQ(entries[i].mountPoint, expected[i].point) << i;
        EXPECT_EQ(entries[i].type, expected[i].type) << i;
    }
}

TEST(VolumesParse, GarbageNeverThrows) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 131 + 7) % 256));
    EXPECT_NO_THROW(volumes::ParseMountTable(garbage));
    EXPECT_TRUE(volumes::ParseMountTable("\\\\\\ \\0 \\\n").empty());
}

TEST(VolumesHook, MountLookups) {
    FakeVolumes fake;
    fake.Add("/dev/sdb2", "ext2", "avfiles", "/media/a");
    fake.Add("/dev/sdb3", "ext2", "infofiles");
    fake.AddMount("/dev/sdb2", "/media/b", "ext2");
    EXPECT_EQ(volumes::MountPointOf("/dev/sdb2"), "/media/a"); // the first entry
    EXPECT_EQ(volumes::MountPointOf("/dev/sdb3"), "");
    EXPECT_EQ(volumes::MountPointOf(""), "");

    volumes::MountEntry entry;
    EXPECT_TRUE(volumes::MountOfPath("/media/a/2008010112", entry));
    EXPECT_EQ(entry.mountPoint, "/media/a");
    EXPECT_FALSE(volumes::MountOfPath("/media/ab", entry)); // a prefix of the name is not the mount
    EXPECT_FALSE(volumes::MountOfPath("relative/path", entry));
}

TEST(VolumesHook, MountSucceedsOrFailsWithReason) {
    FakeVolumes fake;
    fake.Add("/dev/sdb2", "ext2", "avfiles");
    fake.MountsOn("/dev/sdb2", "/media/avfiles");
    EXPECT_EQ(volumes::MountVolume("/dev/sdb2"), "/media/avfiles");
    EXPECT_EQ(volumes::MountPointOf("/dev/sdb2"), "/media/avfiles");
    try {
        volumes::MountVolume("/dev/sdz9");
        FAIL() << "mounting an unknown device succeeded";
    } catch (const EVolumeError& e) {
        EXPECT_NE(e.Message.find("/dev/sdz9"), std::string::npos);
    }
    EXPECT_THROW(volumes::MountVolume(""), EVolumeError);
}

TEST(VolumesHook, DriveTypes) {
    TempDir dir;
    for (const char* name : {"fixed", "stick", "net", "ram", "cd", "plain"})
        std::filesystem::create_directories(dir.Path() / name);
    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", dir.File("fixed"));
    fake.Add("/dev/sdb1", "vfat", "STICK", dir.File("stick"), FakeVolumes::kRemovable);
    fake.AddMount("server:/x", dir.File("net"), "nfs4");
    fake.AddMount("tmpfs", dir.File("ram"), "tmpfs");
    fake.AddMount("/dev/sr0", dir.File("cd"), "iso9660");
    fake.AddMount("overlay", dir.Path().string(), "overlay");
    const struct {
        std::string root;
        int type;
    } rows[] = {
        {dir.File("fixed"), volumes::kDriveFixed},    {dir.File("stick/"), volumes::kDriveRemovable},
        {dir.File("net"), volumes::kDriveRemote},     {dir.File("ram"), volumes::kDriveRamDisk},
        {dir.File("cd"), volumes::kDriveCdRom},       {dir.File("plain"), volumes::kDriveFixed},
        {dir.File("missing"), volumes::kDriveNoRoot}, {"", volumes::kDriveNoRoot},
        {"/proc/version", volumes::kDriveNoRoot},
    };
    for (const auto& row : rows)
        EXPECT_EQ(volumes::DriveTypeOf(row.root), row.type) << row.root;
}

TEST(VolumesHook, DevicesSortedAndResetRestoresTheRealSource) {
    {
        FakeVolumes fake;
        fake.Add("/dev/sdc1", "ext2", "b");
        fake.Add("/dev/sdb1", "ext2", "a");
        const auto list = volumes::ListBlockVolumes();
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].device, "/dev/sdb1");
    }
    // The real table always has the root file system.
    bool root = false;
    for (const auto& entry : volumes::ReadMountTable())
        root = root || entry.mountPoint == "/";
    EXPECT_TRUE(root);
    EXPECT_NO_THROW(volumes::ListBlockVolumes());
}

TEST(VolumesHook, SystemDisksAndMountPoints) {
    const struct {
        const char* point;
        bool system;
    } points[] = {
        {"/", true},
        {"/home", true},
        {"/boot/efi", true},
        {"/var/lib/x", true},
        {"/usr/", true},
        {"/tmp", true},
        {"/media/u/avfiles", false},
        {"/mnt/qav", false},
        {"/home/u/rec", false},
        {"/run/media/u/x", false},
        {"/tmp/harbek-x", false},
        {"/variable", false},
    };
    for (const auto& row : points)
        EXPECT_EQ(volumes::IsSystemMountPoint(row.point), row.system) << row.point;

    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", "/");
    fake.Add("/dev/sda2", "ext2", "avfiles");
    fake.Add("/dev/sdb1", "ext2", "infofiles", "/media/u/infofiles");
    fake.Add("/dev/sdc1", "ext2", "", "/boot");
    fake.Add("/dev/sdd1", "ext4", "", "/home/u/rec", FakeVolumes::kHotplug);
    const std::set<std::string> disks = volumes::SystemDisks();
    EXPECT_TRUE(disks.count("sda"));
    EXPECT_TRUE(disks.count("sdc"));
    EXPECT_FALSE(disks.count("sdb"));
    EXPECT_FALSE(disks.count("sdd"));
}

TEST(VolumesHook, OnlyItsOwnMountsAreUnmounted) {
    FakeVolumes fake;
    fake.Add("/dev/sdb1", "ext2", "infofiles");
    fake.Add("/dev/sdb2", "ext2", "avfiles", "/media/user/avfiles"); // the user's
    fake.Add("/dev/sdc1", "ext2", "avfiles");
    fake.MountsOn("/dev/sdb1", "/media/harbek/sdb1");
    fake.MountsOn("/dev/sdc1", "/media/harbek/sdc1");
    EXPECT_EQ(volumes::MountVolume("/dev/sdb1"), "/media/harbek/sdb1");
    EXPECT_EQ(volumes::MountVolume("/dev/sdc1"), "/media/harbek/sdc1");
    EXPECT_EQ(volumes::OwnMounts(), (std::vector<std::string>{"/dev/sdb1", "/dev/sdc1"}));
    EXPECT_THROW(volumes::UnmountVolume("/dev/sdb2"), EVolumeError);
    EXPECT_EQ(volumes::MountPointOf("/dev/sdb2"), "/media/user/avfiles");
    // Someone unmounted sdc1 and mounted it again elsewhere: it is theirs now and stays.
    fake.Unmount("/dev/sdc1");
    fake.AddMount("/dev/sdc1", "/media/user/other", "ext2");
    EXPECT_TRUE(volumes::UnmountOwnVolumes().empty());
    EXPECT_EQ(fake.UnmountCalls(), std::vector<std::string>{"/dev/sdb1"});
    EXPECT_EQ(volumes::MountPointOf("/dev/sdb1"), "");
    EXPECT_EQ(volumes::MountPointOf("/dev/sdc1"), "/media/user/other");
    EXPECT_TRUE(volumes::OwnMounts().empty());
    EXPECT_THROW(volumes::UnmountVolume("/dev/sdb1"), EVolumeError);
}

TEST(VolumesReal, MountingWithoutAHelperOrDeviceFails) {
    // No device of that name exists: whatever helper the computer has, the mount must fail with a reason
    // that names the device and, for a user who cannot mount without one, the missing helper.
    ScopedEnv path("PATH", "/nonexistent");
    try {
        volumes::MountVolume("/dev/harbek-no-such-device");
        FAIL() << "mount reported success";
    } catch (const EVolumeError& e) {
        EXPECT_NE(e.Message.find("/dev/harbek-no-such-device"), std::string::npos) << e.Message;
        if (geteuid() != 0) {
            EXPECT_NE(e.Message.find("udisksctl"), std::string::npos) << e.Message;
        }
    }
    EXPECT_TRUE(volumes::OwnMounts().empty());
    EXPECT_THROW(volumes::UnmountVolume("/dev/harbek-no-such-device"), EVolumeError);
}

// The detect button shows the disk's folder through xdg-open: a missing one, one that finds nothing to
// show folders with (as on a computer without a desktop) and one stopped are told with what to do; one
// that hands the folder over, or runs on as the file manager, is a success.
TEST(VolumesReal, ShowingAFolderTellsWhyItCouldNot) {
    const struct {
        const char* what;
        const char* script; // "" for no xdg-open at all
        std::string error;  // "" for shown
        volumes::TVolumeFault fault;
    } rows[] = {
        {"not installed", "", "xdg-open is not installed", volumes::TVolumeFault::kNoOpener},
        {"nothing opens folders", "exit 3",
         "ended with status 3); open the folder in a file manager yourself",
         volumes::TVolumeFault::kNothingShows},
        {"stopped", "kill -9 $$", "was stopped by signal 9", volumes::TVolumeFault::kNothingShows},
        {"handed over", "exit 0", "", volumes::TVolumeFault::kOther},
        {"runs on", "exec /bin/sleep 6", "", volumes::TVolumeFault::kOther},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir bin;
        const std::string folder = bin.File("disk") + "/";
        if (*row.script != 0) {
            testing_support::WriteFileBytes(bin.File("xdg-open"), std::string("#!/bin/sh\necho \"$1\" >") +
                                                                      bin.File("asked") + "\n" + row.script +
                                                                      "\n");
            std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
        }
        ScopedEnv path("PATH", bin.Str().c_str());
        std::string error;
        int waits = 0;
        try {
            volumes::OpenFolder(folder, [&waits] {
                ++waits;
                return true;
            });
        } catch (const EVolumeError& e) {
            error = e.Message;
            EXPECT_EQ(e.Fault, row.fault);
            EXPECT_EQ(e.Subject, folder);
        }
        if (row.error.empty()) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind("Cannot show " + folder + ": ", 0), 0u) << error;
            EXPECT_NE(error.find(row.error), std::string::npos) << error;
        }
        if (*row.script != 0) {
            EXPECT_EQ(testing_support::ReadFileBytes(bin.File("asked")), folder + "\n");
        }
        // The caller's window is served all through a wait that runs out.
        if (std::string(row.script).find("sleep") != std::string::npos) EXPECT_GT(waits, 100);
    }
}

} // namespace
