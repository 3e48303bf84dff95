// The recorder disk's volumes by label through the replaced device list, and the walk between the hour
// folders of a recording tree.
#include "playback/RecorderDisk.h"
#include "platform/core/Exceptions.h"
#include "tests/playback/FakeVolumes.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using testing_support::TempDir;

namespace fs = std::filesystem;

struct DetectRow {
    const char* name;
    // devices: label, mounted (else mounting works only when `mountable`)
    std::vector<std::tuple<std::string, bool, bool>> devices;
    bool database;
    bool recording;
    std::size_t errors;
};

TEST(RecorderDiskDetect, VolumesByLabel) {
    const DetectRow rows[] = {
        {"no disk", {}, false, false, 0},
        {"recordings only", {{"avfiles", true, false}}, false, true, 0},
        {"both mounted", {{"avfiles", true, false}, {"infofiles", true, false}}, true, true, 0},
        {"wrong labels",
         {{"AVFILES", true, false}, {"infofiles2", true, false}, {"", true, false}},
         false,
         false,
         0},
        {"one not mounted, mountable", {{"avfiles", true, false}, {"infofiles", false, true}}, true, true, 0},
        {"mount fails", {{"avfiles", false, false}, {"infofiles", true, false}}, true, false, 1},
    };
    for (const DetectRow& row : rows) {
        TempDir dir;
        FakeVolumes fake;
        int n = 0;
        for (const auto& [label, mounted, mountable] : row.devices) {
            const std::string device = "/dev/sdb" + std::to_string(++n);
            const std::string point = dir.File("vol" + std::to_string(n));
            fs::create_directories(point);
            fake.Add(device, "ext2", label, mounted ? point : "");
            if (mountable) fake.MountsOn(device, point);
        }
        const QelVolumes found = FindQelVolumes();
        EXPECT_EQ(!found.databaseRoot.empty(), row.database) << row.name;
        EXPECT_EQ(!found.recordingRoot.empty(), row.recording) << row.name;
        EXPECT_EQ(found.errors.size(), row.errors) << row.name;
        if (!found.databaseRoot.empty()) {
            EXPECT_EQ(found.databaseRoot.back(), '/') << row.name;
        }
        if (!found.recordingRoot.empty()) {
            EXPECT_EQ(found.recordingRoot.back(), '/') << row.name;
        }
    }
}

TEST(RecorderDiskDetect, MountedOnTheFolderItWasMountedOn) {
    TempDir dir;
    FakeVolumes fake;
    fake.Add("/dev/sdb1", "ext2", "infofiles");
    fake.Add("/dev/sdb2", "ext2", "avfiles", dir.File("av"));
    fake.MountsOn("/dev/sdb1", dir.File("info"));
    const QelVolumes found = FindQelVolumes();
    EXPECT_EQ(found.databaseRoot, dir.File("info") + "/");
    EXPECT_EQ(found.recordingRoot, dir.File("av") + "/");
    ASSERT_EQ(fake.MountCalls().size(), 1u); // the mounted one is not mounted again
    EXPECT_EQ(fake.MountCalls()[0], "/dev/sdb1");
    // A second scan finds it mounted.
    FindQelVolumes();
    EXPECT_EQ(fake.MountCalls().size(), 1u);
}

TEST(RecorderDiskDetect, TheLastDeviceWins) {
    FakeVolumes fake;
    fake.Add("/dev/sdc2", "ext2", "avfiles", "/media/c");
    fake.Add("/dev/sdb2", "ext2", "avfiles", "/media/b");
    EXPECT_EQ(FindQelVolumes().recordingRoot, "/media/c/");
}

TEST(RecorderDiskDetect, Ext2ComparedIgnoringCase) {
    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", "/");
    fake.Add("/dev/sdb1", "vfat", "STICK", "", FakeVolumes::kRemovable);
    fake.Add("/dev/sdc2", "EXT2", "avfiles");
    std::vector<TDiskFailure> errors;
    std::string root = "unchanged";
    EXPECT_FALSE(DtIsQelMounted(root));
    EXPECT_FALSE(DtFindAndMountExt2Drive(root, errors));
    EXPECT_EQ(root, "unchanged");
    ASSERT_EQ(errors.size(), 1u); // the vfat stick is never tried
    EXPECT_EQ(fake.MountCalls(), std::vector<std::string>{"/dev/sdc2"});
    fake.MountsOn("/dev/sdc2", "/media/rec");
    errors.clear();
    EXPECT_TRUE(DtFindAndMountExt2Drive(root, errors));
    EXPECT_EQ(root, "/media/rec/");
    EXPECT_TRUE(errors.empty());
    root.clear();
    EXPECT_TRUE(DtIsQelMounted(root));
    EXPECT_EQ(root, "/media/rec/");
}

// Which EXT2 volumes the detect button and the search touch: the recorder's labels anywhere, unlabelled
// ones only on plugged devices, and nothing on a disk that holds the system's own file systems.
TEST(RecorderDiskDetect, OnlyRecorderOrPluggedVolumesOffTheSystemDisks) {
    const struct Row {
        const char* name;
        const char* device;
        const char* label;
        FakeVolumes::Attachment attachment;
        const char* mountedOn; // empty: not mounted
        bool detected;         // the detect button mounts or shows it
        bool refused;          // a box line says why it was left alone
    } rows[] = {
        {"recorder disk, fixed", "/dev/sdb2", "avfiles", FakeVolumes::kFixed, "", true, false},
        {"plugged stick", "/dev/sdc1", "", FakeVolumes::kHotplug, "", true, false},
        {"card reader", "/dev/sdd1", "", FakeVolumes::kRemovable, "", true, false},
        {"internal data disk", "/dev/sde1", "", FakeVolumes::kFixed, "", false, false},
        {"system disk, labelled", "/dev/sda2", "avfiles", FakeVolumes::kFixed, "", false, true},
        {"system disk on USB", "/dev/sda3", "", FakeVolumes::kHotplug, "", false, false},
        {"mounted /boot", "/dev/sda4", "", FakeVolumes::kHotplug, "/boot", false, false},
        {"mounted by the user", "/dev/sdf1", "", FakeVolumes::kHotplug, "/media/u/stick", true, false},
    };
    for (const Row& row : rows) {
        FakeVolumes fake;
        fake.Add("/dev/sda1", "ext4", "", "/");
        fake.Add(row.device, "ext2", row.label, row.mountedOn, row.attachment);
        fake.MountsOn(row.device, "/media/harbek/x");
        std::string root;
        std::vector<TDiskFailure> errors;
        const bool shown = DtIsQelMounted(root) || DtFindAndMountExt2Drive(root, errors);
        EXPECT_EQ(shown, row.detected) << row.name;
        EXPECT_EQ(errors.size(), row.refused ? 1u : 0u) << row.name;
        if (row.refused && !errors.empty()) {
            EXPECT_EQ(errors[0].fault, volumes::TVolumeFault::kOnSystemDisk) << row.name;
            EXPECT_EQ(errors[0].device, row.device);
        }
        EXPECT_EQ(fake.MountCalls().size(), row.detected && *row.mountedOn == 0 ? 1u : 0u) << row.name;
        // The search mounts by label, never on a system disk.
        const QelVolumes found = FindQelVolumes();
        const bool searchMounts = std::string(row.label) == "avfiles" && !row.refused;
        EXPECT_EQ(!found.recordingRoot.empty(), searchMounts) << row.name;
        EXPECT_EQ(found.errors.size(), row.refused ? 1u : 0u) << row.name;
    }
}

TEST(RecorderDiskClassify, ClassesOfRoots) {
    TempDir dir;
    for (const char* name : {"av", "info", "other", "stick"})
        fs::create_directories(dir.Path() / name / "2008010112");
    FakeVolumes fake;
    fake.Add("/dev/sdb1", "ext2", "infofiles", dir.File("info"));
    fake.Add("/dev/sdb2", "ext2", "avfiles", dir.File("av"));
    fake.Add("/dev/sdb3", "ext2", "AVFILES", dir.File("other"));
    fake.Add("/dev/sdc1", "vfat", "", dir.File("stick"), FakeVolumes::kRemovable);
    const struct {
        std::string root;
        int cls;
    } rows[] = {
        {dir.File("av") + "/", kQelRecordingVolume},
        {dir.File("av/2008010112"), kQelRecordingVolume},
        {dir.File("info"), kQelDatabaseVolume},
        {dir.File("other"), 3},
        {dir.File("stick"), 2},
        {dir.File("gone"), 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ClassifyVolumeRoot(row.root), row.cls) << row.root;
}

class RecorderDiskWalk : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"2008010111", "2008010113", "2008010115", "lost+found"})
            fs::create_directories(dir_.Path() / name);
        std::ofstream(dir_.File("2008010114")) << "a file, not a folder";
    }
    TempDir dir_;
};

TEST_F(RecorderDiskWalk, NextPreviousAndFirst) {
    const struct {
        const char* current;
        bool first;
        bool forward;
        std::optional<std::string> expected;
    } rows[] = {
        {"2008010112", false, true, "2008010113"},
        {"2008010112", false, false, "2008010111"},
        {"2008010112", true, true, "2008010111"},
        {"2008010112", true, false, "2008010111"},
        {"2008010113", false, true, "2008010115"},
        {"2008010113", false, false, "2008010111"},
        {"2008010115", false, true, std::nullopt},  // end of the tree
        {"2008010111", false, false, std::nullopt}, // start of the tree
        {"0", false, true, "2008010111"},
        {"2008010114", false, true, "2008010115"}, // the file between is no folder
    };
    for (const auto& row : rows)
        EXPECT_EQ(AdjacentFolder(dir_.Str(), row.current, row.first, row.forward), row.expected)
            << row.current << " first " << row.first << " forward " << row.forward;
}

TEST_F(RecorderDiskWalk, EmptyTreeAndUnreadableFolder) {
    TempDir empty;
    fs::create_directories(empty.Path() / "lost+found");
    EXPECT_EQ(AdjacentFolder(empty.Str(), "0", true, true), std::nullopt);
    EXPECT_THROW(AdjacentFolder(dir_.File("missing"), "0", true, true), EInOutError);
    EXPECT_THROW(AdjacentFolder(dir_.File("2008010114"), "0", true, true), EInOutError);
}

} // namespace
