#include "formats/QelAvFile.h"
#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "formats/QelNames.h"
#include "formats/QelSideData.h"

#include "tests/formats/HexBytes.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

constexpr DWORD kNoon = 1199188800; // 2008-01-01 12:00:00

QelAvFrame Frame(DWORD time, DWORD channel, std::size_t jpegBytes, BYTE kind = 0, DWORD event = 0,
                 bool side = false) {
    QelFrameInfo info;
    info.kind = kind;
    info.standard = QELSTD_PAL;
    info.channel = channel;
    info.width = 352;
    info.height = 288;
    info.eventState = event;
    info.frameTime = time;
    std::vector<BYTE> p1(jpegBytes);
    std::iota(p1.begin(), p1.end(), static_cast<BYTE>(time + channel));
    std::vector<BYTE> p2;
    if (side) p2 = QelSideDataBuilder().AddTacho({time % 120, 900}).SetText("CAM").Bytes();
    return QelAvFrame::Make(info, p1, p2);
}

std::string Str(const std::vector<BYTE>& v) {
    return std::string(v.begin(), v.end());
}

std::vector<DWORD> Words(const std::string& bytes) {
    std::vector<DWORD> out;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
        out.push_back(GetU32(reinterpret_cast<const BYTE*>(bytes.data()) + i));
    return out;
}

TEST(FrmHdr, ExampleHeaderAndRecordLength) {
    const std::vector<BYTE> record = EncodeRecordedFrame(Frame(kNoon, 2, 100), kNoon);
    EXPECT_EQ(record.size(), 224u);
    EXPECT_EQ(std::vector<BYTE>(record.begin(), record.begin() + 32),
              HexBytes("78 56 34 12 40 2b 7a 47 c0 00 00 00 40 2b 7a 47 00 00 00 00 00 00 00 00 00 00 00 00 "
                       "00 00 00 00"));
    const FrmHdr h = FrmHdr::Decode(record.data(), record.size());
    EXPECT_EQ(h.length, 192u);
    EXPECT_EQ(h.fileStartTime, kNoon);
}

TEST(FrmHdr, DecodeRefusesBadStartCodesAndLengths) {
    const std::vector<BYTE> good = EncodeRecordedFrame(Frame(kNoon, 1, 10), kNoon);
    const std::pair<std::size_t, DWORD> cases[] = {
        {0, kQelFillerCode}, {0, 0}, {8, 0}, {8, 63}, {8, 0x20001}, {8, 0xFFFFFFFF},
    };
    for (const auto& [offset, value] : cases) {
        std::vector<BYTE> bad = good;
        PutU32(bad.data() + offset, value);
        EXPECT_THROW(FrmHdr::Decode(bad.data(), bad.size()), EQelFormatError) << offset << " " << value;
    }
    EXPECT_THROW(FrmHdr::Decode(good.data(), 31), EQelFormatError);
}

TEST(QelNames, FoldersAndFilesFromUtcTimes) {
    struct Case {
        DWORD time;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {kNoon, "2008010112", "20080101120000"},
        {0, "1970010100", "19700101000000"},
        {951868799, "2000022923", "20000229235959"},
        {4294967295u, "2106020706", "21060207062815"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QelHourFolderName(c.time), c.folder);
        EXPECT_EQ(QelRecordingName(c.time), c.file);
        DWORD back = 1;
        EXPECT_TRUE(TryParseQelRecordingName(c.file, back));
        EXPECT_EQ(back, c.time);
    }
    EXPECT_EQ(QelRecordingPath("/x/", kNoon), "/x/2008010112/20080101120000");
    for (const char* bad :
         {"2008010112000", "200801011200000", "2008013112000a", "20080230120000", "20081301120000",
          "20080101240000", "19691231235959", "21060207062816", "20080101120000.fdx"}) {
        DWORD t = 0;
        EXPECT_FALSE(TryParseQelRecordingName(bad, t)) << bad;
    }
}

TEST(QelMarks, MarksWordPacksKindEventAndChannel) {
    EXPECT_EQ(QelMarksWord(1, 3, 2), 0x00010302u);
    EXPECT_EQ(QelMarksWord(0, 0, 0), 1u);
    EXPECT_EQ(QelMarksWord(0, 0, 7), 1u);
    EXPECT_EQ(QelMarksWord(0xFF, 0x1FF, 4), 0x00FFFF04u);
}

TEST(QelAvFileWriter, WrittenFileReadsBackByteForByte) {
    TempDir dir;
    std::vector<QelAvFrame> frames;
    for (DWORD i = 0; i < 40; ++i)
        frames.push_back(
            Frame(kNoon + i / 4, 1 + i % 4, 50 + i * 37, i % 10 == 9 ? 1 : 0, i % 4, i % 2 == 0));
    std::string expected;
    std::vector<DWORD> offsets;
    {
        QelAvFileWriter writer(dir.Str());
        for (const auto& f : frames) {
            offsets.push_back(writer.FileOffset());
            writer.AddFrame(f);
            expected += Str(EncodeRecordedFrame(f, kNoon));
        }
        writer.Finish(false);
        ASSERT_EQ(writer.Files().size(), 1u);
        EXPECT_EQ(writer.Files()[0], dir.File("2008010112/20080101120000"));
    }
    const std::string path = dir.File("2008010112/20080101120000");
    EXPECT_EQ(ReadFileBytes(path), expected);

    const std::vector<DWORD> tdx = ReadQelIndexFile(path + ".tdx");
    const std::vector<DWORD> fdx = ReadQelIndexFile(path + ".fdx");
    const std::vector<DWORD> mdx = ReadQelIndexFile(path + ".mdx");
    ASSERT_EQ(tdx.size(), frames.size());
    EXPECT_EQ(fdx, offsets);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(tdx[i], frames[i].info.frameTime);
        EXPECT_EQ(mdx[i],
                  QelMarksWord(frames[i].info.kind, frames[i].info.eventState, frames[i].info.channel));
    }

    QelAvFileReader reader(path);
    QelRecordedFrame rec;
    std::string reread;
    std::size_t n = 0;
    while (reader.Next(rec)) {
        ASSERT_LT(n, frames.size());
        EXPECT_EQ(rec.offset, offsets[n]);
        EXPECT_EQ(rec.header.fileStartTime, kNoon);
        EXPECT_EQ(rec.frame.Encode(), frames[n].Encode());
        reread += Str(EncodeRecordedFrame(rec.frame, rec.header.fileStartTime));
        ++n;
    }
    EXPECT_EQ(n, frames.size());
    EXPECT_EQ(reread, expected);

    // Frames are reached through their ".fdx" offsets.
    reader.Seek(fdx[17]);
    ASSERT_TRUE(reader.Next(rec));
    EXPECT_EQ(rec.frame.Encode(), frames[17].Encode());
}

TEST(QelAvFileWriter, The7200thFrameEndsAFile) {
    TempDir dir;
    QelAvFileWriter writer(dir.Str());
    for (DWORD i = 0; i < kQelFileMaxFrames; ++i)
        writer.AddFrame(Frame(kNoon + i / 30, 1, 8));
    EXPECT_FALSE(writer.FileOpen());
    ASSERT_EQ(writer.Files().size(), 1u);
    EXPECT_EQ(ReadQelIndexFile(writer.Files()[0] + ".fdx").size(), kQelFileMaxFrames);
    writer.AddFrame(Frame(kNoon + 3600, 2, 8));
    EXPECT_TRUE(writer.FileOpen());
    EXPECT_EQ(writer.CurrentPath(), dir.File("2008010113/20080101130000"));
    writer.Finish(false);
    EXPECT_EQ(ReadQelIndexFile(writer.Files()[1] + ".tdx"), std::vector<DWORD>{kNoon + 3600});
}

TEST(QelAvFileWriter, AFileEndsWithTheFrameThatReachesTheSizeLimit) {
    TempDir dir;
    QelAvFileWriter writer(dir.Str());
    // Records of 32 + 0x20000 bytes: the 480th brings the file to exactly 0x3C00000 + 480 * 32.
    const QelAvFrame big = Frame(kNoon, 3, kQelAvMaxFrameSize - 64);
    DWORD frames = 0;
    while (writer.Files().empty()) {
        writer.AddFrame(big);
        ++frames;
        ASSERT_LT(frames, 1000u);
    }
    EXPECT_EQ(frames, 480u);
    EXPECT_GE(fs::file_size(writer.Files()[0]), kQelFileMaxBytes);
    EXPECT_EQ(fs::file_size(writer.Files()[0] + ".fdx"), 480u * 4);
}

TEST(QelAvFileWriter, BackupPaddingFillsTo2MiBAndReadersStopAtTheFiller) {
    TempDir dir;
    QelAvFileWriter writer(dir.Str());
    // Records of 32 + 64 + 160 and 32 + 64 + 99,648 bytes: 100,000 bytes.
    writer.AddFrame(Frame(kNoon, 1, 150));
    writer.AddFrame(Frame(kNoon + 1, 1, 99648));
    ASSERT_EQ(writer.FileOffset(), 100000u);
    writer.Finish(true);
    const std::string path = writer.Files()[0];
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.size(), 100000u + 3901u * 512u);
    const std::vector<BYTE> filler = QelFillerBlock();
    EXPECT_EQ(bytes.substr(100000, 512), Str(filler));
    EXPECT_EQ(bytes.substr(bytes.size() - 512), Str(filler));
    EXPECT_EQ(Str(std::vector<BYTE>(filler.begin(), filler.begin() + 12)),
              Str(HexBytes("01 7f 34 12 00 00 00 00 00 c8 00 00")));
    EXPECT_EQ(ReadQelIndexFile(path + ".fdx"), (std::vector<DWORD>{0, 256}));

    QelAvFileReader reader(path);
    QelRecordedFrame rec;
    int n = 0;
    while (reader.Next(rec))
        ++n;
    EXPECT_EQ(n, 2);
}

TEST(QelAvFileWriter, FinishAfterAClosedFileWritesNothing) {
    TempDir dir;
    QelAvFileWriter writer(dir.Str());
    writer.Finish(true);
    EXPECT_TRUE(writer.Files().empty());
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(QelAvFileWriter, MissingBackupFolderRaises) {
    TempDir dir;
    QelAvFileWriter writer(dir.File("missing/deeper"));
    EXPECT_THROW(writer.AddFrame(Frame(kNoon, 1, 10)), EFCreateError);
}

TEST(QelAvFileReader, RefusesCutAndMalformedFrames) {
    TempDir dir;
    const std::string one = Str(EncodeRecordedFrame(Frame(kNoon, 1, 100), kNoon));
    const std::string two = one + Str(EncodeRecordedFrame(Frame(kNoon + 1, 2, 100), kNoon));
    struct Case {
        const char* name;
        std::string bytes;
        int frames;
        bool raises;
    };
    std::string bigP1 = Str(EncodeRecordedFrame(Frame(kNoon, 1, kQelMaxPayload1), kNoon));
    std::string justBelow = Str(EncodeRecordedFrame(Frame(kNoon, 1, kQelMaxPayload1 - 1), kNoon));
    std::string badInfo = one;
    PutU32(reinterpret_cast<BYTE*>(badInfo.data()) + 32 + 8, 500);
    const Case cases[] = {
        {"empty", "", 0, false},
        {"two frames", two, 2, false},
        {"cut in the second header", two.substr(0, one.size() + 20), 1, true},
        {"cut in the second body", two.substr(0, two.size() - 1), 1, true},
        {"garbage after the first", one + std::string(40, '\x01'), 1, false},
        {"three bytes after the first", one + std::string(3, '\x78'), 1, false},
        {"payload 1 of 112641", bigP1, 0, true},
        {"payload 1 of 112640", justBelow, 1, false},
        {"payload longer than the record", badInfo, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("f");
        WriteFileBytes(path, c.bytes);
        QelAvFileReader reader(path);
        QelRecordedFrame rec;
        int n = 0;
        bool raised = false;
        try {
            while (reader.Next(rec))
                ++n;
        } catch (const EQelFormatError&) {
            raised = true;
        }
        EXPECT_EQ(n, c.frames);
        EXPECT_EQ(raised, c.raises);
    }
    EXPECT_THROW(QelAvFileReader(dir.File("absent")), EFOpenError);
}

TEST(QelFrameIndexFile, TrailingBytesIgnoredAndLengthBounded) {
    TempDir dir;
    WriteFileBytes(dir.File("a.fdx"), std::string("\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00", 10));
    EXPECT_EQ(ReadQelIndexFile(dir.File("a.fdx")), (std::vector<DWORD>{1, 2}));
    WriteFileBytes(dir.File("b.fdx"), "");
    EXPECT_TRUE(ReadQelIndexFile(dir.File("b.fdx")).empty());
    WriteFileBytes(dir.File("c.fdx"), std::string(kQelFileMaxFrames * 4, '\0'));
    EXPECT_EQ(ReadQelIndexFile(dir.File("c.fdx")).size(), kQelFileMaxFrames);
    WriteFileBytes(dir.File("d.fdx"), std::string(kQelFileMaxFrames * 4 + 4, '\0'));
    EXPECT_THROW(ReadQelIndexFile(dir.File("d.fdx")), EQelFormatError);
    EXPECT_THROW(ReadQelIndexFile(dir.File("none.fdx")), EFOpenError);
    EXPECT_EQ(Words(std::string("\x05\x00\x00\x00", 4)), std::vector<DWORD>{5});
}

} // namespace
