#include "formats/QelAvFrame.h"
#include "formats/ByteOrder.h"
#include "formats/FormatError.h"

#include "tests/formats/HexBytes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// The video frame of the format notes: channel 2, PAL, 352 x 288, time 2008-01-01 12:00:00, stamp 5,
// a 100-byte picture, no side data.
QelAvFrame ExampleFrame() {
    QelFrameInfo info;
    info.kind = 0;
    info.standard = QELSTD_PAL;
    info.channel = 2;
    info.width = 352;
    info.height = 288;
    info.frameTime = 1199188800;
    info.subSecond = 5;
    std::vector<BYTE> jpeg(100);
    std::iota(jpeg.begin(), jpeg.end(), BYTE{1});
    return QelAvFrame::Make(info, jpeg);
}

TEST(QelAvFrame, EncodesTheExampleFrame) {
    const std::vector<BYTE> bytes = ExampleFrame().Encode();
    ASSERT_EQ(bytes.size(), 32u + 192u);
    const auto header =
        HexBytes("aa aa 00 00 00 00 00 00 00 00 00 00 c0 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 "
                 "00 00 00 00");
    const auto info =
        HexBytes("00 02 00 00 00 00 00 00 64 00 00 00 00 00 00 00 | 00 00 00 00 00 00 00 00 00 00 00 00 "
                 "00 00 00 00 | 02 00 00 00 00 00 00 00 60 01 00 00 20 01 00 00 00 00 00 00 40 2b 7a 47 "
                 "05 00 00 00 00 00 00 00");
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 32), header);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 32, bytes.begin() + 96), info);
    EXPECT_EQ(bytes[96], 1);
    EXPECT_EQ(bytes[195], 100);
    EXPECT_EQ(bytes[196], 0); // padding

    const QelAvFrame back = QelAvFrame::Decode(bytes.data(), bytes.size());
    EXPECT_EQ(back.info.channel, 2u);
    EXPECT_EQ(back.info.standard, QELSTD_PAL);
    EXPECT_EQ(back.info.frameTime, 1199188800u);
    EXPECT_EQ(back.Payload1().size(), 100u);
    EXPECT_TRUE(back.Payload2().empty());
    EXPECT_EQ(back.Encode(), bytes);
}

TEST(QelAvFrame, UnusedInfoBytesSurviveARoundTrip) {
    std::vector<BYTE> bytes = ExampleFrame().Encode();
    for (std::size_t off : {2, 7, 16, 31, 36, 39, 60, 63})
        bytes[32 + off] = static_cast<BYTE>(0xA0 + off);
    EXPECT_EQ(QelAvFrame::Decode(bytes.data(), bytes.size()).Encode(), bytes);
}

TEST(QelAvFrameHeader, DecodeRefusesEveryMalformedHeader) {
    struct Case {
        const char* name;
        std::size_t offset;
        DWORD value;
    };
    const Case cases[] = {
        {"magic", 0, 0xAAAB},
        {"word 1", 4, 1},
        {"word 2", 8, 0x100},
        {"word 5", 20, 1},
        {"word 6", 24, 0x80000000},
        {"word 7", 28, 1},
        {"size 0", 12, 0},
        {"size 0x20001", 12, 0x20001},
        {"size 0x20020", 12, 0x20020},
        {"size below info", 12, 32},
        {"size not of 32", 12, 100},
        {"kind 0", 16, 0},
    };
    BYTE good[32];
    QelAvFrameHeader{0x20000, 7}.Encode(good);
    EXPECT_EQ(QelAvFrameHeader::Decode(good, 32).frameSize, 0x20000u);
    EXPECT_EQ(QelAvFrameHeader::Decode(good, 32).streamKind, 7u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BYTE bad[32];
        std::copy(good, good + 32, bad);
        PutU32(bad + c.offset, c.value);
        EXPECT_FALSE(QelAvFrameHeader::IsValid(bad));
        EXPECT_THROW(QelAvFrameHeader::Decode(bad, 32), EQelFormatError);
    }
    EXPECT_THROW(QelAvFrameHeader::Decode(good, 31), EQelFormatError);
}

TEST(QelAvFrame, DecodeRefusesPayloadsThatDoNotFit) {
    std::vector<BYTE> bytes = ExampleFrame().Encode();
    struct Case {
        const char* name;
        DWORD p1, p2;
    };
    const Case cases[] = {
        {"payload 1 over its padding", 129, 0},
        {"payload 2 with no room", 100, 1},
        {"payload 1 beyond any frame", 0x20001, 0},
        {"payload 2 beyond any frame", 0, 0xFFFFFFFF},
        {"both at the 32-bit limit", 0xFFFFFFFF, 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bad = bytes;
        PutU32(bad.data() + 32 + 8, c.p1);
        PutU32(bad.data() + 32 + 12, c.p2);
        EXPECT_THROW(QelAvFrame::Decode(bad.data(), bad.size()), EQelFormatError);
    }
    // Padding that fits exactly is accepted.
    PutU32(bytes.data() + 32 + 8, 128);
    EXPECT_NO_THROW(QelAvFrame::Decode(bytes.data(), bytes.size()));
    EXPECT_THROW(QelAvFrame::Decode(bytes.data(), bytes.size() - 1), EQelFormatError);
}

TEST(QelAvFrame, MakeRefusesFramesAboveTheLimit) {
    QelFrameInfo info;
    std::vector<BYTE> big(kQelAvMaxFrameSize - 64);
    EXPECT_EQ(QelAvFrame::Make(info, big).FrameSize(), kQelAvMaxFrameSize);
    big.push_back(0);
    EXPECT_THROW(QelAvFrame::Make(info, big), EQelFormatError);
}

} // namespace
