// Copying the played stream: when it may start, the copy of what was played read back frame by frame,
// files cut at their limits and named by their first frame as UTC, the move to the user's folder, and a
// cancelled or failing move.
#include "tests/playback/EngineRig.h"

#include "controls/BmButton.h"
#include "formats/ByteOrder.h"
#include "formats/QelAvFile.h"
#include "formats/QelFrameIndex.h"
#include "playback/Qelvidfile.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FormTesting.h"

#include <filesystem>
#include <set>

namespace engine_tests {
namespace {

namespace fs = std::filesystem;
using client_tests::TSeenBox;
using recmaker::FrameSpec;

constexpr DWORD kStart = 1199178000; // 2008-01-01 09:00:00

class StreamCopy : public EngineRig {
protected:
    // Every recorded file below `folder`, by name.
    static std::vector<std::string> Recordings(const std::string& folder) {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(folder, ec))
            if (e.is_regular_file() && !e.path().has_extension()) out.push_back(e.path().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::vector<QelRecordedFrame> ReadAll(const std::string& path) {
        std::vector<QelRecordedFrame> frames;
        QelAvFileReader reader(path);
        QelRecordedFrame f;
        while (reader.Next(f))
            frames.push_back(f);
        return frames;
    }
    // A ring record as the reader makes one, from a hand-made frame.
    static void FillRecord(QelFrameRecord& r, const FrameSpec& f, DWORD number) {
        std::vector<DWORD> offsets;
        const std::string bytes = recmaker::Encode({f}, 9, offsets);
        std::copy_n(reinterpret_cast<const BYTE*>(bytes.data()), kFrmHdrSize, r.header.begin());
        PutU32(r.header.data() + 4, f.time);
        std::copy_n(reinterpret_cast<const BYTE*>(bytes.data()) + kFrmHdrSize, kQelFrameInfoSize,
                    r.info.begin());
        r.time = f.time;
        r.channel = f.channel;
        r.payloadLen1 = f.len1;
        r.payloadLen2 = 0;
        const auto p1 = recmaker::Payload(9, number, f.len1);
        r.payload1 = std::make_unique<BYTE[]>(Pad32(f.len1));
        std::copy(p1.begin(), p1.end(), r.payload1.get());
        r.payload2.reset();
    }
};

TEST_F(StreamCopy, StartsOnlyDuringForwardPlayAtNormalSpeed) {
    MakeList({OneCamera(kStart, 10)});
    struct Case {
        const char* name;
        std::function<void()> reach;
        bool starts;
    };
    const Case cases[] = {
        {"opened", [] {}, false},
        {"playing", [] { FrmMain->BtnPlayClick(FrmMain->BtnPlay); }, true},
        {"fast", [] { FrmMain->BtnFastPlayClick(FrmMain->BtnFastPlay); }, false},
        {"reverse", [] { FrmMain->BtnReverseClick(FrmMain->BtnReverse); }, false},
        {"paused", [] { FrmMain->BtnPauseClick(FrmMain->BtnPause); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen_.clear();
        c.reach();
        FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
        EXPECT_EQ(FrmMain->StreamCopying, c.starts ? 1 : 0);
        if (c.starts) {
            EXPECT_TRUE(Boxes().empty());
            EXPECT_TRUE(FrmMain->BtnRecStop->Visible());
            EXPECT_FALSE(FrmMain->BtnRecStart->Visible());
            form_testing::ScopedFolderAnswer cancel("");
            FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
            EXPECT_EQ(FrmMain->StreamCopying, 0);
        } else {
            EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(50991, 50394)}));
        }
    }
}

TEST_F(StreamCopy, WhatIsPlayedIsCopiedAndMovedToTheChosenFolder) {
    // Two files with sound at the start of each second.
    MakeList({recmaker::Stream(kStart, 2, 30, 1, true), recmaker::Stream(kStart + 2, 2, 30, 1, true)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    Ticks(10);
    FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
    ASSERT_EQ(FrmMain->StreamCopying, 1);
    const std::size_t from = shown.size();
    testing_support::TempDir target;
    form_testing::ScopedFolderAnswer answer(target.Path().string());
    // The end of the list ends the copy, which asks for the folder, then playback rests at the end.
    ASSERT_LT(TicksUntilPaused(1000), 1000);
    EXPECT_EQ(FrmMain->StreamCopying, 0);
    EXPECT_EQ(FrmMain->PlayState, kPlayStopped);
    EXPECT_EQ(answer.Asked().size(), 1u);
    EXPECT_TRUE(FrmMain->BtnRecStart->Visible());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Recordings(HomeFile("Backup")).empty());

    const std::vector<std::string> files = Recordings(target.Path().string());
    ASSERT_EQ(files.size(), 1u);
    // Named by its first frame's time: 2008-01-01 09:00:00 plus the seconds already played.
    const std::vector<QelRecordedFrame> copied = ReadAll(files[0]);
    ASSERT_FALSE(copied.empty());
    const DWORD first = copied.front().header.frameTime;
    EXPECT_EQ(fs::path(files[0]).filename().string(),
              "200801010900" + std::string(first == kStart ? "00" : "01"));
    EXPECT_EQ(fs::path(files[0]).parent_path().filename().string(), "2008010109");
    // Every picture shown from the start of the copy, in the order shown, with its own bytes.
    std::vector<std::pair<DWORD, DWORD>> pictures;
    std::size_t sounds = 0;
    for (const QelRecordedFrame& f : copied) {
        const auto p1 = f.frame.Payload1();
        ASSERT_GE(p1.size(), 8u);
        if (f.frame.info.IsVideo())
            pictures.emplace_back(recmaker::TagOf(p1.data()), recmaker::NumberOf(p1.data()));
        else
            ++sounds;
        EXPECT_EQ(f.header.fileStartTime, first);
    }
    std::vector<std::pair<DWORD, DWORD>> expected;
    for (std::size_t i = from; i < shown.size(); ++i)
        expected.emplace_back(shown[i].tag, shown[i].number);
    EXPECT_EQ(pictures, expected);
    EXPECT_GE(sounds, 2u);
    // The index files describe the same frames.
    const std::vector<DWORD> offsets = ReadQelIndexFile(files[0] + ".fdx");
    const std::vector<DWORD> times = ReadQelIndexFile(files[0] + ".tdx");
    ASSERT_EQ(offsets.size(), copied.size());
    ASSERT_EQ(times.size(), copied.size());
    for (std::size_t i = 0; i < copied.size(); ++i) {
        EXPECT_EQ(offsets[i], copied[i].offset);
        EXPECT_EQ(times[i], copied[i].frame.info.frameTime);
    }
}

TEST_F(StreamCopy, ACancelledFolderChoiceKeepsTheCopyAndPlaysOn) {
    MakeList({OneCamera(kStart, 10)});
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
    Ticks(40);
    form_testing::ScopedFolderAnswer cancel("");
    FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
    EXPECT_EQ(cancel.Asked().size(), 1u);
    EXPECT_EQ(cancel.Asked()[0].Caption, FrmMain->LoadLangString(59827));
    EXPECT_EQ(FrmMain->StreamCopying, 0);
    EXPECT_EQ(FrmMain->PlayState, kPlayForward);
    EXPECT_TRUE(FrmMain->MMTimerPlayback->Enabled());
    EXPECT_TRUE(FrmMain->Enabled());
    EXPECT_EQ(Recordings(HomeFile("Backup")).size(), 1u);
    // A stop without a copy does nothing.
    FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
    EXPECT_EQ(cancel.Asked().size(), 1u);
}

TEST_F(StreamCopy, TheFrameAfterTheLimitStartsAFileOfItsOwnTime) {
    FrmMain->ProgramFolder = Home();
    FrmMain->LastTransportKey = kKeyPlay;
    FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
    ASSERT_EQ(FrmMain->StreamCopying, 1);
    // 7200 frames up to 09:59:59, the next one at 10:00:00: another hour folder.
    const DWORD end = kStart + 3600;
    QelFrameRecord r;
    for (DWORD n = 0; n <= kQelFileMaxFrames; ++n) {
        const DWORD t = n < kQelFileMaxFrames ? end - 1 - (kQelFileMaxFrames - 1 - n) / 30 : end;
        FillRecord(r, FrameSpec{0, 1, t, n % 30 + 1, 64, 0, 0, QELSTD_NTSC}, n);
        FrmMain->WriteStreamCopyFrame(r);
    }
    ASSERT_TRUE(FrmMain->StreamCopyWriter);
    FrmMain->StreamCopyWriter->Finish(false);
    const std::vector<std::string> files = Recordings(HomeFile("Backup"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(fs::path(files[0]).parent_path().filename().string(), "2008010109");
    EXPECT_EQ(fs::path(files[1]).parent_path().filename().string(), "2008010110");
    EXPECT_EQ(fs::path(files[1]).filename().string(), "20080101100000");
    EXPECT_EQ(ReadAll(files[0]).size(), kQelFileMaxFrames);
    EXPECT_EQ(ReadQelIndexFile(files[0] + ".fdx").size(), kQelFileMaxFrames);
    const std::vector<QelRecordedFrame> second = ReadAll(files[1]);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(recmaker::NumberOf(second[0].frame.Payload1().data()), kQelFileMaxFrames);
    FrmMain->StreamCopyWriter.reset();
    FrmMain->StreamCopying = 0;
}

TEST_F(StreamCopy, NamesTakeTheFrameTimeAsUtc) {
    FrmMain->ProgramFolder = Home();
    FrmMain->LastTransportKey = kKeyPlay;
    FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
    QelFrameRecord r;
    FillRecord(r, FrameSpec{0, 2, 97445, 1, 100, 0, 0, QELSTD_NTSC}, 0); // 1970-01-02 03:04:05
    FrmMain->WriteStreamCopyFrame(r);
    FrmMain->StreamCopyWriter->Finish(false);
    EXPECT_TRUE(FileExists(HomeFile("Backup/1970010203/19700102030405")));
    EXPECT_TRUE(FileExists(HomeFile("Backup/1970010203/19700102030405.mdx")));
    EXPECT_EQ(ReadQelIndexFile(HomeFile("Backup/1970010203/19700102030405.mdx")),
              (std::vector<DWORD>{QelMarksWord(0, 0, 2)}));
    FrmMain->StreamCopyWriter.reset();
    FrmMain->StreamCopying = 0;
}

// The folder chosen at the end of a copy: the copies' own folder, a folder inside it (which would take
// itself in), or a folder elsewhere that already holds a file of the same name, kept or replaced as the
// user answers.
TEST_F(StreamCopy, TheChosenFolderInsideBackupOrHoldingTheSameNames) {
    const std::string backup = HomeFile("Backup");
    const std::string copy = "2008010109/20080101090000";
    testing_support::TempDir elsewhere;
    const struct Row {
        const char* name;
        std::string target;
        bool sameNameThere;
        int answer;          // to the question before replacing
        bool refused;        // 50395: the copies stay in Backup
        bool asked;          // the replace question came
        std::string landsIn; // where the copy is afterwards
        const char* oldKept; // the same-named file's content afterwards, when there was one
    } rows[] = {
        {"Backup itself", backup, false, mrYes, false, false, backup, nullptr},
        {"its hour folder", backup + "/2008010109", false, mrYes, true, false, backup, nullptr},
        {"below its hour folder", backup + "/2008010109/older", false, mrYes, true, false, backup, nullptr},
        {"elsewhere", elsewhere.File("a"), false, mrYes, false, false, elsewhere.File("a"), nullptr},
        {"same name, kept", elsewhere.File("b"), true, mrNo, false, true, backup, "old"},
        {"same name, replaced", elsewhere.File("c"), true, mrYes, false, true, elsewhere.File("c"), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(backup);
        seen_.clear();
        ForceDirectories(backup + "/2008010109/older");
        ForceDirectories(row.target);
        if (row.sameNameThere) {
            ForceDirectories(row.target + "/2008010109");
            testing_support::WriteFileBytes(row.target + "/" + copy, "old");
        }
        MakeList({OneCamera(kStart, 10)});
        FrmMain->BtnPlayClick(FrmMain->BtnPlay);
        FrmMain->BtnRecStartClick(FrmMain->BtnRecStart);
        Ticks(20);
        whileBoxUp = [&row](TForm& box) {
            if (box.Caption() == FrmMain->LoadLangString(50396) && row.asked) box.SetModalResult(row.answer);
        };
        form_testing::ScopedFolderAnswer answer(row.target);
        FrmMain->BtnRecStopClick(FrmMain->BtnRecStop);
        whileBoxUp = nullptr;
        FrmMain->BtnPauseClick(FrmMain->BtnPause);
        std::vector<TSeenBox> expected;
        if (row.asked) {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].caption, FrmMain->LoadLangString(50396));
            EXPECT_NE(Boxes()[0].text.find(copy), std::string::npos) << Boxes()[0].text;
        } else if (row.refused) {
            EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Box(50396, 50395)}));
        } else {
            EXPECT_TRUE(Boxes().empty());
        }
        // Nothing ever lands inside itself, and every frame is in exactly one copy.
        EXPECT_FALSE(fs::exists(backup + "/2008010109/2008010109"));
        EXPECT_FALSE(fs::exists(backup + "/2008010109/older/2008010109"));
        const std::vector<std::string> inBackup = Recordings(backup);
        EXPECT_EQ(inBackup.size(), row.landsIn == backup ? 1u : 0u);
        ASSERT_TRUE(fs::exists(row.landsIn + "/" + copy));
        EXPECT_GT(ReadAll(row.landsIn + "/" + copy).size(), 0u);
        EXPECT_TRUE(fs::exists(row.landsIn + "/" + copy + ".tdx"));
        // A kept recording keeps its own index files; the copy's stay with the copy.
        EXPECT_EQ(fs::exists(row.target + "/" + copy + ".tdx"), row.landsIn == row.target);
        if (row.sameNameThere) {
            EXPECT_EQ(testing_support::ReadFileBytes(row.target + "/" + copy) == "old",
                      row.oldKept != nullptr);
        }
        EXPECT_TRUE(FrmMain->Enabled());
    }
}

TEST_F(StreamCopy, MovingJoinsFoldersAndFailsOnWhatIsNotThere) {
    testing_support::TempDir from, to;
    ForceDirectories(from.File("2008010109"));
    testing_support::WriteFileBytes(from.File("2008010109/20080101090000"), "a");
    ForceDirectories(to.File("2008010109"));
    testing_support::WriteFileBytes(to.File("2008010109/20080101095000"), "b");
    EXPECT_EQ(FrmMain->MoveFiles(from.Str() + "*.*", to.Str()), 0);
    EXPECT_EQ(testing_support::ReadFileBytes(to.File("2008010109/20080101090000")), "a");
    EXPECT_EQ(testing_support::ReadFileBytes(to.File("2008010109/20080101095000")), "b");
    EXPECT_FALSE(fs::exists(from.File("2008010109")));
    EXPECT_NE(FrmMain->MoveFiles(from.File("gone") + "/*.*", to.Str()), 0);
    EXPECT_NE(FrmMain->MoveFiles(from.Str() + "*.*", to.File("gone")), 0);
    // Onto itself: nothing to do.
    EXPECT_EQ(FrmMain->MoveFiles(to.Str() + "*.*", to.Str()), 0);
    EXPECT_TRUE(fs::exists(to.File("2008010109/20080101090000")));
}

} // namespace
} // namespace engine_tests
