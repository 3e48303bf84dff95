// A recorder disk as a real EXT2 disk image: made by mke2fs from a generated store, its two partitions
// attached through loop devices, found by label through libblkid, mounted read-only by the client's own
// code, searched by calendar and played through the buttons a user presses, then unmounted; the image
// holds the same bytes afterwards. It needs root and loop devices and says why it skips without them;
// it runs in a mount namespace of its own, so that even a crash leaves no mount and no loop device.
#include "tests/playback/DiskSearchRig.h"

#include "tools/recgen/DiskImage.h"
#include "tools/recgen/StoreGenerator.h"

#include "platform/disk/Volumes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/loop.h>
#include <sched.h>
#include <set>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace engine_tests {
namespace {

namespace fs = std::filesystem;

// A loop device over part of an image file, detached when it goes (and by the kernel when this process
// ends first, as it is set to clear itself once nothing holds it).
class LoopDevice {
public:
    LoopDevice(const std::string& image, const recgen::DiskPartition& part) {
        const int control = open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        const int backing = open(image.c_str(), O_RDWR | O_CLOEXEC);
        for (int attempt = 0; attempt < 32 && fd_ < 0 && control >= 0 && backing >= 0; ++attempt) {
            const int number = ioctl(control, LOOP_CTL_GET_FREE);
            if (number < 0) break;
            const std::string path = "/dev/loop" + std::to_string(number);
            const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0) continue;
            loop_config config{};
            config.fd = static_cast<__u32>(backing);
            config.info.lo_offset = part.offset;
            config.info.lo_sizelimit = part.size;
            config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
            if (ioctl(fd, LOOP_CONFIGURE, &config) == 0) {
                fd_ = fd;
                path_ = path;
                break;
            }
            error_ = std::strerror(errno);
            close(fd); // another process took it meanwhile, or the kernel refuses
        }
        if (fd_ < 0 && error_.empty()) error_ = std::strerror(errno);
        if (backing >= 0) close(backing);
        if (control >= 0) close(control);
    }
    ~LoopDevice() { Detach(); }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    bool Attached() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }
    void Detach() {
        if (fd_ < 0) return;
        ioctl(fd_, LOOP_CLR_FD, 0);
        close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    std::string path_;
    std::string error_;
};

struct KernelMount {
    std::string device, point, options;
};

std::vector<KernelMount> KernelMounts() {
    std::vector<KernelMount> mounts;
    std::istringstream lines(testing_support::ReadFileBytes("/proc/self/mounts"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        KernelMount m;
        std::string type;
        if (fields >> m.device >> m.point >> type >> m.options) mounts.push_back(m);
    }
    return mounts;
}

class RecorderDiskImage : public DiskSearchRig {
public:
    // Mounts made here stay in this process's own namespace and vanish with it.
    static void SetUpTestSuite() {
        if (geteuid() != 0) return;
        privateMounts_ =
            unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "attaching loop devices and mounting needs root";
        if (access("/dev/loop-control", R_OK | W_OK) != 0)
            GTEST_SKIP() << "no loop devices here: /dev/loop-control: " << std::strerror(errno);
        DiskSearchRig::SetUp();
    }
    void TearDown() override {
        // Whatever failed above, nothing stays mounted or attached.
        if (FrmMain != nullptr) FrmMain->ReleaseRecorderDisk();
        volumes::UnmountOwnVolumes();
        loops_.clear();
        volumes::ResetVolumeSource();
        DiskSearchRig::TearDown();
    }

    // Only this test's devices are seen, so that runs beside it on the same computer are never touched.
    void SeeOnlyOwnDevices() {
        std::set<std::string> own;
        for (const auto& loop : loops_)
            own.insert(loop->Path());
        volumes::VolumeSource source;
        source.listVolumes = [own] {
            std::vector<volumes::BlockVolume> seen;
            for (const volumes::BlockVolume& volume : volumes::ProbeBlockVolumes())
                if (own.count(volume.device) != 0) seen.push_back(volume);
            return seen;
        };
        volumes::SetVolumeSource(source);
    }

    static inline bool privateMounts_ = false;
    std::vector<std::unique_ptr<LoopDevice>> loops_;
};

TEST_F(RecorderDiskImage, FoundMountedReadOnlySearchedPlayedAndLetGo) {
    RecordProperty("private_mount_namespace", privateMounts_ ? "yes" : "no");
    testing_support::TempDir work;
    recgen::StoreOptions options;
    options.days = 1;
    options.hours = {8, 17};
    options.secondsPerRecording = 130;
    options.stream.framesPerSecond = 1;
    recgen::GenerateStore(work.File("store"), options, recgen::RecorderIdentity{});
    const std::string image = work.File("disk.img");
    recgen::DiskImageLayout layout;
    try {
        layout = recgen::WriteRecorderDiskImage(work.File("store"), image);
    } catch (const Exception& e) {
        GTEST_SKIP() << e.Message;
    }
    const std::string before = testing_support::ReadFileBytes(image);

    for (const recgen::DiskPartition& part : {layout.database, layout.recordings}) {
        loops_.push_back(std::make_unique<LoopDevice>(image, part));
        if (!loops_.back()->Attached())
            GTEST_SKIP() << "no loop device could be attached: " << loops_.back()->Error();
    }
    SeeOnlyOwnDevices();
    // libblkid reads the labels off the attached partitions.
    std::map<std::string, std::string> labels;
    for (const volumes::BlockVolume& volume : volumes::ListBlockVolumes()) {
        EXPECT_EQ(volume.type, "ext2");
        labels[volume.device] = volume.label;
    }
    EXPECT_EQ(labels, (std::map<std::string, std::string>{{loops_[0]->Path(), "infofiles"},
                                                          {loops_[1]->Path(), "avfiles"}}));

    // RECORDER DISK search: both volumes mounted read-only by the client.
    form_testing::Click(FrmMain->BtnSearch);
    ASSERT_TRUE(frmLocalSearch->Visible());
    ASSERT_TRUE(frmLocalSearch->btnCalendar->Enabled()) << ::testing::PrintToString(FrmMain->DiskMountErrors);
    std::string dbRoot, avRoot;
    FrmMain->GetDiskRoots(dbRoot, avRoot);
    std::map<std::string, std::string> mountedOn;
    for (const KernelMount& m : KernelMounts())
        for (const auto& loop : loops_)
            if (m.device == loop->Path()) {
                mountedOn[m.device] = m.point + "/";
                EXPECT_EQ(m.options.rfind("ro,", 0), 0u) << m.device << " " << m.options;
            }
    EXPECT_EQ(mountedOn,
              (std::map<std::string, std::string>{{loops_[0]->Path(), dbRoot}, {loops_[1]->Path(), avRoot}}));
    EXPECT_EQ(volumes::OwnMounts().size(), 2u);
    EXPECT_FALSE(std::ofstream(avRoot + "written-by-the-test"));

    // Calendar, hour, minute, play: the first hour of 1 January 2008, four cameras.
    form_testing::Click(frmLocalSearch->btnCalendar);
    form_testing::Click(frmSearch->btnAll);
    ASSERT_TRUE(frmCalendar->Visible());
    EXPECT_EQ(FrmMain->GetCalendarMonth(), "200801");
    form_testing::Click(frmCalendar->DayBox(TfrmCalendar::FirstWeekday(2008, 1)));
    form_testing::Click(frmCalendar->btnOk);
    ASSERT_TRUE(frmHourTable->Visible());
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_EQ(frmHourTable->Cell(channel, 8)->CurrentFrame(), 1) << channel;
    form_testing::Click(frmHourTable->Cell(0, 8));
    form_testing::Click(frmHourTable->btnOk);
    ASSERT_TRUE(frmMinTable->Visible());
    form_testing::Click(frmMinTable->Cell(0, 0));
    form_testing::Click(frmMinTable->btnOk);
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_TRUE(Boxes().empty());
    Ticks(150); // five seconds at 30 ticks a second, one picture a second from each camera
    std::set<DWORD> channels;
    for (const Shown& s : shown) {
        channels.insert(s.channel);
        EXPECT_GE(s.time, 1199174400u); // 2008-01-01 08:00:00
        EXPECT_LT(s.time, 1199174400u + 130);
    }
    EXPECT_EQ(channels, (std::set<DWORD>{1, 2, 3, 4}));
    EXPECT_GE(shown.size(), 16u);

    // Let go: unmounted, the mount folders gone, the devices detached, the image as it was.
    FrmMain->BtnPauseClick(FrmMain->BtnPause);
    FrmMain->ReleaseRecorderDisk();
    EXPECT_TRUE(volumes::OwnMounts().empty());
    for (const KernelMount& m : KernelMounts())
        for (const auto& loop : loops_)
            EXPECT_NE(m.device, loop->Path()) << "still mounted on " << m.point;
    EXPECT_FALSE(fs::exists(dbRoot));
    EXPECT_FALSE(fs::exists(avRoot));
    loops_.clear();
    const std::string after = testing_support::ReadFileBytes(image);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before) << "the disk image changed";
}

} // namespace
} // namespace engine_tests
