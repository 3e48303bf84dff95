// Frame indexes built for recordings without one: offsets found by walking the headers, over junk, cut
// frames and backup filler, never more than a file holds; and the search masks of folder scans.
#include "playback/FrameIndexScan.h"

#include "formats/QelAvFile.h"
#include "formats/QelFrameIndex.h"
#include "platform/core/Exceptions.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::TempDir;

std::string Frame(DWORD time, std::size_t picture) {
    QelFrameInfo info;
    info.frameTime = time;
    const auto bytes = EncodeRecordedFrame(QelAvFrame::Make(info, std::vector<BYTE>(picture, 0x5A)), 1000);
    return std::string(bytes.begin(), bytes.end());
}

std::string Filler(int blocks) {
    const auto block = QelFillerBlock();
    std::string out;
    for (int i = 0; i < blocks; ++i)
        out.append(block.begin(), block.end());
    return out;
}

struct ScanCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<DWORD> offsets;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class ScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTest, FindsEveryFrameHeader) {
    TempDir dir;
    std::string bytes;
    for (const auto& p : GetParam().pieces)
        bytes += p;
    testing_support::WriteFileBytes(dir.File("r"), bytes);
    EXPECT_EQ(ScanFrameOffsets(dir.File("r")), GetParam().offsets);
}

// Frames of 100 picture bytes take 32 + 64 + 128 = 224 bytes.
INSTANTIATE_TEST_SUITE_P(
    Files, ScanTest,
    ::testing::Values(
        ScanCase{"Empty", {}, {}},
        ScanCase{"ThreeFrames", {Frame(1, 100), Frame(2, 100), Frame(3, 100)}, {0, 224, 448}},
        // 64 junk bytes between frames are stepped over; the index names the frame found.
        ScanCase{"JunkBetween", {Frame(1, 100), std::string(64, '\x11'), Frame(2, 100)}, {0, 288}},
        // Junk that is not a multiple of 32 hides the next frame from a 32-byte walk.
        ScanCase{"MisalignedJunk", {Frame(1, 100), std::string(5, '\x11'), Frame(2, 100)}, {0}},
        ScanCase{"CutHeader", {Frame(1, 100), Frame(2, 100).substr(0, 20)}, {0}},
        // A frame cut inside its body is listed; readers stop at it.
        ScanCase{"CutBody", {Frame(1, 100), Frame(2, 100).substr(0, 100)}, {0, 224}},
        ScanCase{"BackupFiller", {Frame(1, 100), Frame(2, 100), Filler(100)}, {0, 224}},
        // A header whose length is beyond any frame is junk, not a jump past the end.
        ScanCase{"HugeLength",
                 {Frame(1, 100),
                  std::string("\x78\x56\x34\x12\0\0\0\0\xFF\xFF\xFF\x7F", 12) + std::string(20, '\0'),
                  Frame(2, 100)},
                 {0, 256}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScanLimits, NoMoreEntriesThanAFileHolds) {
    TempDir dir;
    std::string bytes;
    const std::string frame = Frame(1, 1);
    for (DWORD i = 0; i < kQelFileMaxFrames + 50; ++i)
        bytes += frame;
    testing_support::WriteFileBytes(dir.File("long"), bytes);
    const auto offsets = ScanFrameOffsets(dir.File("long"));
    ASSERT_EQ(offsets.size(), kQelFileMaxFrames);
    EXPECT_EQ(offsets.back(), (kQelFileMaxFrames - 1) * frame.size());
}

TEST(ScanLimits, WrittenIndexReadsBack) {
    TempDir dir;
    const std::vector<DWORD> offsets = {0, 224, 0xFFFFFFF0};
    WriteFrameOffsets(dir.File("x.fdx"), offsets);
    EXPECT_EQ(ReadQelIndexFile(dir.File("x.fdx")), offsets);
    EXPECT_THROW(ScanFrameOffsets(dir.File("missing")), EFOpenError);
    EXPECT_THROW(WriteFrameOffsets(dir.File("no/such/folder.fdx"), offsets), EFCreateError);
}

TEST(FileMask, MatchesAsFolderScansDo) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    };
    const std::string sixteen(16, '?');
    const Case cases[] = {
        {"20080101120000", sixteen.c_str(), true},
        {"2008010112000012", sixteen.c_str(), true},
        {"20080101120000.fdx", sixteen.c_str(), false},
        {"", sixteen.c_str(), true},
        {"abc", "*", true},
        {"abc.fdx", "*.fdx", true},
        {"abc.tdx", "*.fdx", false},
        {"a", "??", true},
        {"abc", "??", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"abc", "*c*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

} // namespace
