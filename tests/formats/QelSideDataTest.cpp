#include "formats/QelSideData.h"
#include "formats/ByteOrder.h"
#include "formats/FormatError.h"

#include "tests/formats/HexBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QelGpsFix ExampleFix() {
    QelGpsFix f;
    f.latDegrees = 37;
    f.latMinutes = 33;
    f.latSeconds = 12;
    f.latThousandths = 500;
    f.west = true;
    f.lonDegrees = 122;
    f.lonMinutes = 4;
    f.lonSeconds = 59;
    f.lonThousandths = 996;
    f.speed = 88;
    f.mph = true;
    return f;
}

std::vector<QelSideBlock> Walk(const std::vector<BYTE>& bytes) {
    QelFrameSideData walker(bytes.data(), bytes.size());
    std::vector<QelSideBlock> out;
    QelSideBlock b;
    while (walker.Next(b))
        out.push_back(b);
    return out;
}

TEST(QelSideData, GpsBlockBytes) {
    const std::vector<BYTE> bytes = QelSideDataBuilder().AddGps(ExampleFix()).Bytes();
    const auto expected = HexBytes("78 56 34 12 02 00 00 00 30 00 00 00 00 00 00 00 00 00 00 00 "
                                   "00 00 00 00 00 00 00 00 00 25 21 0c f4 01 00 00 01 7a 04 3b e4 03 00 00 "
                                   "00 00 00 00 00 00 00 00 58 00 00 01 | 00 00 00 00");
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 60u);
}

TEST(QelSideData, BuiltBlocksWalkBackInOrder) {
    const std::vector<BYTE> bytes = QelSideDataBuilder()
                                        .AddLamps(kQelLampRed | kQelLampGreen)
                                        .AddGps(ExampleFix())
                                        .AddTacho({72, 2400})
                                        .AddTyped(9, std::vector<BYTE>{1, 2, 3, 4, 5})
                                        .SetText("CAMERA-2")
                                        .Bytes();
    ASSERT_EQ(bytes.size(), 28u + 60u + 32u + 32u + 4u + 8u);
    const auto blocks = Walk(bytes);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0].kind, QELSIDE_LAMPS);
    EXPECT_EQ(blocks[0].lamps, 9u);
    EXPECT_EQ(blocks[1].kind, QELSIDE_GPS);
    EXPECT_EQ(blocks[1].gps, ExampleFix());
    EXPECT_EQ(blocks[2].kind, QELSIDE_TACHO);
    EXPECT_EQ(blocks[2].tacho, (QelTacho{72, 2400}));
    EXPECT_EQ(blocks[3].kind, 9);
    EXPECT_EQ(blocks[3].data.size(), 5u);
    EXPECT_EQ(blocks[4].kind, QELSIDE_TEXT);
    EXPECT_EQ(blocks[4].Text(), "CAMERA-2");
}

TEST(QelSideData, TextOnlyAndNulPaddedTitles) {
    std::vector<BYTE> bytes = HexBytes("00 00 00 01");
    for (char c : std::string("CAM_2\0\0\0", 8))
        bytes.push_back(static_cast<BYTE>(c));
    const auto blocks = Walk(bytes);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].Text(), "CAM_2");
    EXPECT_EQ(blocks[0].data.size(), 8u);
}

TEST(QelSideData, EndsAtUnknownCodesAndShortTails) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        std::size_t blocks;
    };
    const std::vector<BYTE> lamps = QelSideDataBuilder().AddLamps(1).Bytes();
    auto with = [&](std::vector<BYTE> tail) {
        std::vector<BYTE> b = lamps;
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    const Case cases[] = {
        {"empty", {}, 0},
        {"unknown first word", HexBytes("01 02 03 04 05 06"), 0},
        {"three bytes", HexBytes("78 56 34"), 0},
        {"lamps then zeros", with({0, 0, 0, 0, 0, 0, 0, 0}), 1},
        {"lamps then three bytes", with({0x78, 0x56, 0x34}), 1},
        {"bare text code", HexBytes("00 00 00 01"), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Walk(c.bytes).size(), c.blocks);
    }
}

TEST(QelSideData, RefusesBlocksThatReadPastThePayload) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> gps = QelSideDataBuilder().AddGps(ExampleFix()).Bytes();
    auto withLength = [](std::vector<BYTE> b, DWORD length) {
        PutU32(b.data() + 8, length);
        return b;
    };
    const Case cases[] = {
        {"typed head cut short", std::vector<BYTE>(gps.begin(), gps.begin() + 19)},
        {"length below 12", withLength(gps, 11)},
        {"length 0", withLength(gps, 0)},
        {"data past the end", withLength(gps, 48 + 40 - 20 + 1)},
        {"huge length", withLength(gps, 0xFFFFFFFF)},
        {"gps too short for its fields", withLength(gps, 12 + 35)},
        {"tacho too short", withLength(QelSideDataBuilder().AddTacho({1, 2}).Bytes(), 19)},
        {"lamps too short", withLength(QelSideDataBuilder().AddLamps(1).Bytes(), 15)},
        {"gps data cut", std::vector<BYTE>(gps.begin(), gps.begin() + 55)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(Walk(c.bytes), EQelFormatError);
    }
    // The trailer is never read: a block whose trailer is missing still gives its data.
    EXPECT_EQ(Walk(std::vector<BYTE>(gps.begin(), gps.begin() + 56)).size(), 1u);
}

TEST(QelSideData, EveryTruncationEndsOrRefusesWithoutReadingPast) {
    const std::vector<BYTE> full =
        QelSideDataBuilder().AddLamps(3).AddGps(ExampleFix()).AddTacho({5, 6}).SetText("TITLE").Bytes();
    for (std::size_t n = 0; n <= full.size(); ++n) {
        // An exact-size copy so that a read past the end shows under the address sanitizer.
        std::vector<BYTE> cut(full.begin(), full.begin() + n);
        try {
            Walk(cut);
        } catch (const EQelFormatError&) {
        }
    }
    EXPECT_EQ(Walk(full).size(), 4u);
}

TEST(QelSideData, TextBlockAfterTypedBlocksTakesOnlyWhatIsLeft) {
    const std::vector<BYTE> bytes = QelSideDataBuilder().AddTacho({1, 2}).SetText("AB").Bytes();
    const auto blocks = Walk(bytes);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].data.size(), 2u);
    EXPECT_EQ(blocks[1].Text(), "AB");
}

} // namespace
