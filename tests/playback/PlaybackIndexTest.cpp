// Recordings whose index files disagree with them, a file with no frame at all, and a folder holding more
// recordings than the play list: what plays from the folder and what the user is told.
#include "tests/playback/EngineRig.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"

#include <filesystem>
#include <functional>

namespace engine_tests {
namespace {

namespace fs = std::filesystem;
using client_tests::TSeenBox;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00
constexpr const char* kName = "20080101090000";

class DamagedIndex : public EngineRig {
protected:
    std::string Folder() const { return HomeFile("2008010109"); }
    std::string Recording() const { return Folder() + "/" + kName; }
    // The entries of the index built under Temporary/; none when there is no such file.
    std::optional<std::size_t> CopyEntries() const {
        const std::string copy = HomeFile("Temporary/") + kName + ".fdx";
        if (!fs::exists(copy)) return std::nullopt;
        return fs::file_size(copy) / 4;
    }
};

struct DamageCase {
    const char* what;
    std::function<void(const recmaker::Made&)> damage;
    std::size_t played;              // frames shown by playing the folder through
    std::optional<std::size_t> copy; // entries of the index rebuilt under Temporary/
    int secondTwoAt;                 // where the time index puts 09:00:01; -1: not asked
    bool cannotPlay;                 // the user is told the file holds no frame
};

std::vector<DWORD> Repeated(const std::vector<DWORD>& entries, int times) {
    std::vector<DWORD> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

TEST_F(DamagedIndex, WhatPlaysAndWhatTheUserIsTold) {
    // Two seconds of one camera: 60 frames, the first shown when the folder opens, 59 by playing.
    const DamageCase cases[] = {
        {"random .fdx",
         [](const recmaker::Made& m) {
             std::vector<DWORD> noise;
             for (DWORD i = 0; i < 60; ++i)
                 noise.push_back(i * 2654435761u % 50000);
             recmaker::WriteIndex(m.path + ".fdx", noise);
         },
         59, 60, -1, false},
        {".fdx past the end",
         [](const recmaker::Made& m) {
             recmaker::WriteIndex(m.path + ".fdx", std::vector<DWORD>(60, 0xFFFFFFF0));
         },
         59, 60, -1, false},
        {".fdx longer than any recording",
         [](const recmaker::Made& m) { recmaker::WriteIndex(m.path + ".fdx", Repeated(m.offsets, 180)); }, 59,
         60, -1, false},
        {".fdx cut short",
         [](const recmaker::Made& m) {
             recmaker::WriteIndex(m.path + ".fdx", {m.offsets.begin(), m.offsets.begin() + 30});
         },
         59, 60, -1, false},
        {".tdx cut short",
         [](const recmaker::Made& m) {
             std::vector<DWORD> times;
             for (std::size_t i = 0; i < 10; ++i)
                 times.push_back(m.frames[i].time);
             recmaker::WriteIndex(m.path + ".tdx", times);
         },
         59, std::nullopt, 30, false},
        {"garbage .mdx",
         [](const recmaker::Made& m) {
             testing_support::WriteFileBytes(m.path + ".mdx", std::string(999, '\xA7'));
         },
         59, std::nullopt, 30, false},
        {"a recording of random bytes",
         [](const recmaker::Made& m) {
             std::string noise(50000, '\0');
             for (std::size_t i = 0; i < noise.size(); ++i)
                 noise[i] = static_cast<char>(i * 2654435761u >> 13);
             testing_support::WriteFileBytes(m.path, noise);
             for (const char* ext : {".fdx", ".tdx", ".mdx"})
                 fs::remove(m.path + ext);
         },
         0, 0, -1, true},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Folder());
        fs::remove_all(HomeFile("Temporary"));
        ForceDirectories(Folder());
        c.damage(recmaker::Write(Recording(), OneCamera(kStart, 2), 1));
        seen_.clear();
        FrmMain->LoadFolderPlayList(Folder(), true);
        EXPECT_EQ(CopyEntries(), c.copy);
        const std::vector<TSeenBox> told = {
            {FrmMain->LoadLangString(59886), FrmMain->LoadLangString(60601) + "\n" + Folder() + "/" + kName}};
        EXPECT_EQ(Boxes(), c.cannotPlay ? told : std::vector<TSeenBox>{});
        EXPECT_EQ(FrmMain->PlaybackFileOpen(), !c.cannotPlay);
        if (c.secondTwoAt >= 0) {
            EXPECT_EQ(FrmMain->VideoReader->FindInIndexFile(Recording() + ".tdx", kStart + 1), c.secondTwoAt);
        }
        shown.clear();
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        TicksUntilPaused(200);
        EXPECT_EQ(shown.size(), c.played);
        EXPECT_EQ(Boxes().size(), c.cannotPlay ? 1u : 0u);
    }
}

TEST_F(DamagedIndex, AFolderLargerThanThePlayListListsWhatItHoldsAndTellsTheRest) {
    ForceDirectories(Folder());
    // One more recording than the play list holds, a frame each.
    std::vector<std::string> names;
    for (int i = 0; i <= kPlayListSize; ++i) {
        names.push_back(Format("2008010109%04d", i));
        recmaker::Write(Folder() + "/" + names.back(), recmaker::Stream(kStart + i, 1, 1, 1, false), 1);
    }
    FrmMain->LoadFolderPlayList(Folder(), true);
    EXPECT_EQ(FrmMain->FileListCount, 2000);
    EXPECT_EQ(frmFileList->lbFileList->Items()->Count(), 2000);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{
                           {FrmMain->LoadLangString(59886),
                            Format(FrmMain->LoadLangString(60602).c_str(), 2000, 1, "20080101092000")}}));
    // The last listed recording opens and plays.
    seen_.clear();
    frmFileList->lbFileList->SetItemIndex(1999);
    frmFileList->lbFileListClick(frmFileList->lbFileList);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FrmMain->PlayListPos, 1999);
    EXPECT_TRUE(FrmMain->PlaybackFileOpen());
    EXPECT_EQ(FrmMain->LabelSearchTime->Caption(), "Tue Jan 01 09:33:19 2008\n");
}

} // namespace
} // namespace engine_tests
