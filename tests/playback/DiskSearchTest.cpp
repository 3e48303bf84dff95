// The recorder-disk search button from the scan of the volumes to the local search's choices, the
// search options on the disk database, and playback walking across the hour folders of a recording
// volume at the ends of its tree.
#include "tests/playback/DiskSearchRig.h"
#include "tests/playback/FakeVolumes.h"

#include "playback/RecorderDisk.h"
#include "tools/recgen/StoreGenerator.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

#include <filesystem>
#include <memory>

namespace engine_tests {
namespace {

namespace fs = std::filesystem;
using client_tests::TSeenBox;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00

class RecorderDiskSearch : public DiskSearchRig {
protected:
    // A recorder disk's two volumes generated into `disk`: infofiles with pyrdb, avfiles with the tree.
    static void GenerateDisk(const testing_support::TempDir& disk) {
        recgen::StoreOptions options;
        options.days = 1;
        options.hours = {8, 12};
        options.secondsPerRecording = 2;
        options.stream.framesPerSecond = 2;
        options.stream.cameras = 1;
        recgen::GenerateStore(disk.Path().string(), options, recgen::RecorderIdentity{});
    }

    // Three hour folders of two recordings each on a volume, tagged 1 to 6 in time order.
    std::string MakeTree(const std::string& root) {
        const char* folders[] = {"2008010109", "2008010110", "2008010111"};
        DWORD tag = 1;
        for (int f = 0; f < 3; ++f) {
            ForceDirectories(root + "/" + folders[f]);
            for (int i = 0; i < 2; ++i) {
                const DWORD t = kStart + 3600 * static_cast<DWORD>(f) + 2 * static_cast<DWORD>(i);
                char name[32];
                std::snprintf(name, sizeof name, "20080101%02d00%02d", 9 + f, 2 * i);
                recmaker::Write(root + "/" + folders[f] + "/" + name, OneCamera(t, 2), tag++);
            }
        }
        ForceDirectories(root + "/lost+found");
        return root;
    }

    // The tags of the files shown, each once in the order they came.
    std::vector<DWORD> TagRuns() const {
        std::vector<DWORD> tags;
        for (const Shown& s : shown)
            if (tags.empty() || tags.back() != s.tag) tags.push_back(s.tag);
        return tags;
    }
};

TEST_F(RecorderDiskSearch, TheScanDecidesWhatTheLocalSearchOffers) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, bool>> volumes; // label, mounted (else the mount is refused)
        bool calendar;
        bool box;
    } rows[] = {
        {"no disk", {}, false, false},
        {"recordings only", {{"avfiles", true}}, false, false},
        {"both", {{"infofiles", true}, {"avfiles", true}}, true, false},
        {"wrong labels", {{"INFOFILES", true}, {"avfiles ", true}}, false, false},
        {"database not mounted", {{"infofiles", false}, {"avfiles", true}}, false, true},
    };
    for (const auto& row : rows) {
        testing_support::TempDir disk;
        FakeVolumes fake;
        int n = 0;
        for (const auto& [label, mounted] : row.volumes) {
            const std::string point = disk.File("v" + std::to_string(++n));
            fs::create_directories(point);
            fake.Add("/dev/sdb" + std::to_string(n), "ext2", label, mounted ? point : "");
        }
        seen_.clear();
        FrmMain->FolderWalkMode = 1;
        FrmMain->SearchSource = 1;
        FrmMain->BtnSearchClick(FrmMain->BtnSearch);
        EXPECT_EQ(frmLocalSearch->btnCalendar->Enabled(), row.calendar) << row.name;
        EXPECT_TRUE(frmLocalSearch->Visible()) << row.name;
        EXPECT_FALSE(FrmMain->Enabled()) << row.name;
        EXPECT_EQ(FrmMain->FolderWalkMode, 0) << row.name;
        EXPECT_EQ(FrmMain->GetSearchSource(), 0) << row.name;
        EXPECT_FALSE(FrmMain->BtnRecStart->Visible()) << row.name;
        EXPECT_EQ(Boxes().size(), row.box ? 1u : 0u) << row.name;
        if (row.box && !Boxes().empty()) {
            EXPECT_EQ(Boxes()[0],
                      (TSeenBox{FrmMain->LoadLangString(59849),
                                Format(FrmMain->LoadLangString(60104).c_str(), "/dev/sdb1") + "\nrefused"}));
        }
        std::string db, av;
        FrmMain->GetDiskRoots(db, av);
        if (row.calendar) {
            EXPECT_EQ(db, disk.File("v1") + "/");
            EXPECT_EQ(av, disk.File("v2") + "/");
        }
        frmLocalSearch->btnCancelClick(frmLocalSearch->btnCancel);
        EXPECT_TRUE(FrmMain->Enabled()) << row.name;
    }
}

TEST_F(RecorderDiskSearch, CalendarOfTheDiskDatabaseAfterTheScan) {
    testing_support::TempDir disk;
    GenerateDisk(disk);
    FakeVolumes fake;
    fake.Add("/dev/sdb1", "ext2", "infofiles");
    fake.Add("/dev/sdb2", "ext2", "avfiles", disk.File("avfiles"));
    fake.MountsOn("/dev/sdb1", disk.File("infofiles"));
    FrmMain->BtnSearchClick(FrmMain->BtnSearch);
    ASSERT_TRUE(frmLocalSearch->btnCalendar->Enabled());
    EXPECT_EQ(fake.MountCalls(), std::vector<std::string>{"/dev/sdb1"});
    frmLocalSearch->btnCalendarClick(frmLocalSearch->btnCalendar);
    EXPECT_EQ(FrmMain->GetLocalDbMode(), 1);
    EXPECT_TRUE(frmSearch->Visible());
    EXPECT_TRUE(Boxes().empty());
}

// No recorder connected (the main window's camera count 0, or 1 from a recorder seen before): the
// recorder disk's four cameras fill both tables, through the buttons a user presses, and "Prev" and
// back again never leave a table shrunk.
TEST_F(RecorderDiskSearch, FourCameraTablesWithoutARecorder) {
    testing_support::TempDir disk;
    recgen::StoreOptions options;
    options.days = 1;
    options.hours = {8, 17};           // events at 17
    options.secondsPerRecording = 130; // hh:00 to hh:02
    options.stream.framesPerSecond = 1;
    recgen::GenerateStore(disk.Path().string(), options, recgen::RecorderIdentity{});
    FakeVolumes fake;
    fake.Add("/dev/sdb1", "ext2", "infofiles", disk.File("infofiles"));
    fake.Add("/dev/sdb2", "ext2", "avfiles", disk.File("avfiles"));
    const auto rowsShown = [](TForm* table, auto cell, int column) {
        std::vector<int> frames;
        for (int channel = 0; channel < 4; ++channel) {
            TImgFrame* c = cell(channel, column);
            const bool inside = c->Top() + c->Height() <= table->ClientHeight();
            frames.push_back(c->Visible() && inside ? c->CurrentFrame() : -1);
        }
        return frames;
    };
    for (const int leftOver : {0, 1}) {
        SCOPED_TRACE(leftOver);
        FrmMain->MaxCamera = leftOver;
        form_testing::Click(FrmMain->BtnSearch);
        ASSERT_TRUE(frmLocalSearch->Visible());
        form_testing::Click(frmLocalSearch->btnCalendar);
        ASSERT_TRUE(frmSearch->Visible());
        form_testing::Click(frmSearch->btnAll);
        ASSERT_TRUE(frmCalendar->Visible());
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            form_testing::Click(frmCalendar->DayBox(TfrmCalendar::FirstWeekday(2008, 1)));
            form_testing::Click(frmCalendar->btnOk);
            ASSERT_TRUE(frmHourTable->Visible());
            EXPECT_EQ(frmHourTable->ClientWidth(), 601);
            EXPECT_EQ(frmHourTable->ClientHeight(), 321);
            EXPECT_TRUE(frmHourTable->Label2->Visible());
            const auto hourCell = [](int c, int h) { return frmHourTable->Cell(c, h); };
            EXPECT_EQ(rowsShown(frmHourTable, hourCell, 8), (std::vector<int>{1, 1, 1, 1}));
            EXPECT_EQ(rowsShown(frmHourTable, hourCell, 17), (std::vector<int>{2, 2, 2, 2}));
            EXPECT_EQ(rowsShown(frmHourTable, hourCell, 9), (std::vector<int>{0, 0, 0, 0}));
            // A cell of camera 3 selects the whole hour.
            form_testing::Click(frmHourTable->Cell(2, 8));
            EXPECT_EQ(rowsShown(frmHourTable, hourCell, 8), (std::vector<int>{4, 4, 4, 4}));
            ASSERT_TRUE(frmHourTable->btnOk->Visible());
            form_testing::Click(frmHourTable->btnOk);
            ASSERT_TRUE(frmMinTable->Visible());
            EXPECT_EQ(frmMinTable->ClientWidth(), 633);
            EXPECT_EQ(frmMinTable->ClientHeight(), 321);
            const auto minuteCell = [](int c, int m) { return frmMinTable->Cell(c, m); };
            for (int minute : {0, 1, 2})
                EXPECT_EQ(rowsShown(frmMinTable, minuteCell, minute), (std::vector<int>{1, 1, 1, 1}))
                    << minute;
            EXPECT_EQ(rowsShown(frmMinTable, minuteCell, 3), (std::vector<int>{0, 0, 0, 0}));
            form_testing::Click(frmMinTable->Cell(3, 1));
            EXPECT_EQ(rowsShown(frmMinTable, minuteCell, 1), (std::vector<int>{4, 4, 4, 4}));
            SaveSnapshot(frmMinTable, "disk_minutes_four_cameras");
            // Back to the hour table and the calendar.
            form_testing::Click(frmMinTable->btnBack);
            ASSERT_TRUE(frmHourTable->Visible());
            EXPECT_EQ(frmHourTable->ClientHeight(), 321);
            SaveSnapshot(frmHourTable, "disk_hours_four_cameras");
            form_testing::Click(frmHourTable->btnBack);
            ASSERT_TRUE(frmCalendar->Visible());
        }
        form_testing::Click(frmCalendar->btnLive);
        ASSERT_TRUE(frmSearch->Visible());
        form_testing::Click(frmSearch->btnCancel);
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(RecorderDiskSearch, FileChoiceOnARecordingVolumeWalksItsFolders) {
    testing_support::TempDir disk;
    const std::string root = MakeTree(disk.File("av"));
    FakeVolumes fake;
    fake.Add("/dev/sdb2", "ext2", "avfiles", root);
    FrmMain->BtnSearchClick(FrmMain->BtnSearch);
    {
        form_testing::ScopedFolderAnswer answer(root);
        frmLocalSearch->btnFileClick(frmLocalSearch->btnFile);
    }
    EXPECT_EQ(FrmMain->FolderWalkMode, 1);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010109");
    EXPECT_EQ(FrmMain->FileListCount, 2);
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    // Played to the end of the first folder with the walk held back, then Last walks on.
    FrmMain->FolderWalkMode = 0;
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(1000), 1000);
    EXPECT_EQ(TagRuns(), (std::vector<DWORD>{1, 2}));
    FrmMain->FolderWalkMode = 1;
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010110");
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    // Last twice more at the last frame: the last file of the tree's last folder.
    for (int i = 0; i < 4; ++i)
        FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010111");
    const int positionAtEnd = FrmMain->PlayListPos;
    FrmMain->BtnLastClick(FrmMain->BtnLast); // the tree ends here
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010111");
    EXPECT_EQ(FrmMain->PlayListPos, positionAtEnd);
    EXPECT_EQ(FrmMain->FolderWalkMode, 1);
    // And back: First at the first frame of a folder's first file loads the previous folder.
    for (int i = 0; i < 4; ++i)
        FrmMain->BtnFirstClick(FrmMain->BtnFirst);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010110");
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 0);
    for (int i = 0; i < 8; ++i)
        FrmMain->BtnFirstClick(FrmMain->BtnFirst);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010109");
    EXPECT_EQ(FrmMain->PlayListPos, 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FrmMain->Enabled());
}

TEST_F(RecorderDiskSearch, PlayingOnARecordingVolumeRunsThroughItsFoldersToTheEndOfTheTree) {
    testing_support::TempDir disk;
    const std::string root = MakeTree(disk.File("av"));
    FakeVolumes fake;
    fake.Add("/dev/sdb2", "ext2", "avfiles", root);
    FrmMain->BtnSearchClick(FrmMain->BtnSearch);
    {
        form_testing::ScopedFolderAnswer answer(root);
        frmLocalSearch->btnFileClick(frmLocalSearch->btnFile);
    }
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(3000), 3000);
    EXPECT_EQ(TagRuns(), (std::vector<DWORD>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010111");
    EXPECT_EQ(FrmMain->SliderSearch->KnobPos(), 1000);
    EXPECT_EQ(FrmMain->FolderWalkMode, 1);
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecorderDiskSearch, AFolderOnAFixedDrivePlaysOnlyItsOwnFiles) {
    testing_support::TempDir disk;
    const std::string root = MakeTree(disk.File("plain"));
    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", root);
    form_testing::ScopedFolderAnswer answer(root + "/2008010110");
    FrmMain->OpenLocalPlayback();
    EXPECT_EQ(FrmMain->FolderWalkMode, 0);
    ASSERT_TRUE(FrmMain->PlaybackFileOpen());
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(1000), 1000);
    EXPECT_EQ(TagRuns(), (std::vector<DWORD>{3, 4}));
    for (int i = 0; i < 4; ++i)
        FrmMain->BtnLastClick(FrmMain->BtnLast);
    EXPECT_EQ(FrmMain->PlayListPos, 1);
    EXPECT_EQ(FrmMain->CurrentFolder, "0");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecorderDiskSearch, EmptyFoldersAreSkippedAndAnUnreadableTreeStopsTheWalk) {
    testing_support::TempDir disk;
    const std::string root = disk.File("stick");
    ForceDirectories(root + "/2008010100");
    ForceDirectories(root + "/2008010101");
    FakeVolumes fake;
    fake.Add("/dev/sdc1", "vfat", "STICK", root, FakeVolumes::kRemovable);
    // Only empty folders: the walk reaches the end of the tree and pauses, with no box.
    {
        form_testing::ScopedFolderAnswer answer(root);
        FrmMain->OpenLocalPlayback();
    }
    EXPECT_EQ(FrmMain->FolderWalkMode, 1);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010101");
    EXPECT_FALSE(FrmMain->PlaybackFileOpen());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FrmMain->Enabled());

    // The volume went away under the walk.
    fs::remove_all(root);
    EXPECT_FALSE(FrmMain->FindAdjacentFolder(FrmMain->DiskAvRoot, false, true));
    EXPECT_EQ(FrmMain->FolderWalkMode, 0);
    EXPECT_EQ(FrmMain->CurrentFolder, "2008010101");
}

TEST_F(RecorderDiskSearch, DetectButtonShowsAMountedDiskOrMountsOne) {
    std::vector<std::string> shown;
    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", "/");
    fake.Add("/dev/sdb2", "ext2", "avfiles");
    fake.ShowsFolders(shown);
    // Not mounted and refused: one box naming the device, with the system's own words below.
    FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{
                           {FrmMain->LoadLangString(59886),
                            Format(FrmMain->LoadLangString(60104).c_str(), "/dev/sdb2") + "\nrefused"}}));
    EXPECT_TRUE(shown.empty());
    seen_.clear();
    fake.MountsOn("/dev/sdb2", "/media/rec");
    FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
    FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb); // now mounted: shown without mounting again
    EXPECT_EQ(shown, (std::vector<std::string>{"/media/rec/", "/media/rec/"}));
    EXPECT_EQ(fake.MountCalls().size(), 2u);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecorderDiskSearch, AFolderNothingCanShowIsTold) {
    FakeVolumes fake; // shows no folder
    fake.Add("/dev/sdb2", "ext2", "avfiles", "/media/rec");
    FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
    EXPECT_EQ(Boxes(),
              (std::vector<TSeenBox>{{FrmMain->LoadLangString(59886),
                                      Format(FrmMain->LoadLangString(60102).c_str(), "/media/rec/")}}));
}

TEST_F(RecorderDiskSearch, NoDiskAtAllIsTold) {
    std::vector<std::string> shown;
    FakeVolumes fake;
    fake.Add("/dev/sda1", "ext4", "", "/");
    fake.Add("/dev/sda2", "ext2", "", "", FakeVolumes::kHotplug); // the system's own, never offered
    fake.ShowsFolders(shown);
    FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(fake.MountCalls().empty());
    EXPECT_EQ(Boxes(),
              (std::vector<TSeenBox>{{FrmMain->LoadLangString(50486), FrmMain->LoadLangString(60100)}}));
    EXPECT_TRUE(FrmMain->Enabled());
}

// While xdg-open is given its time, a second press of the button is refused, and the power button's
// road ends the wait without a box; otherwise the wait tells how xdg-open ended.
TEST_F(RecorderDiskSearch, TheDesktopsOpeningRefusesASecondPressAndEndsWithThePowerButton) {
    const struct {
        const char* name;
        bool power;
        std::vector<TSeenBox> boxes;
    } rows[] = {
        {"second press",
         false,
         {{FrmMain->LoadLangString(59886), Format(FrmMain->LoadLangString(60102).c_str(), "/media/rec/")}}},
        {"power", true, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing_support::TempDir bin;
        // Slow to answer, and then finds nothing to show the folder with.
        testing_support::WriteFileBytes(bin.File("xdg-open"), "#!/bin/sh\necho \"$1\" >>" +
                                                                  bin.File("asked") +
                                                                  "\n/bin/sleep 1\nexit 3\n");
        fs::permissions(bin.File("xdg-open"), fs::perms::owner_all);
        testing_support::ScopedEnv path("PATH", bin.Str().c_str());
        // A mounted recorder disk, shown by the real desktop road.
        auto fake = std::make_unique<FakeVolumes>(FakeVolumes::kDesktopOpener);
        fake->Add("/dev/sdb2", "ext2", "avfiles", "/media/rec");
        bool refusedInside = false;
        form_testing::RunLater([&] {
            refusedInside = FrmMain->Activities.RefusesPresses();
            if (row.power)
                FrmMain->EndActivities(TWayOut::PowerOff);
            else
                FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
        });
        FrmMain->BtnDetectUsbClick(FrmMain->BtnDetectUsb);
        fake.reset();
        EXPECT_TRUE(refusedInside);
        // A wait the power button ended leaves xdg-open to write in its own time, slow on a busy machine.
        // The shell makes the file before echo writes the line: wait for the line.
        const auto asked = [&] {
            return FileExists(bin.File("asked")) &&
                   testing_support::ReadFileBytes(bin.File("asked")).find('\n') != std::string::npos;
        };
        for (int i = 0; i < 1000 && !asked(); ++i)
            Sleep(10);
        EXPECT_EQ(testing_support::ReadFileBytes(bin.File("asked")), "/media/rec/\n")
            << "xdg-open was asked once";
        EXPECT_EQ(Boxes(), row.boxes);
        EXPECT_FALSE(FrmMain->Activities.Running(TActivity::LocalTask));
        seen_.clear();
    }
}

} // namespace
} // namespace engine_tests
