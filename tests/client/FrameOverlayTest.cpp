#include "client/FrameOverlay.h"
#include "formats/ByteOrder.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

// The main window's stored position and map state.
struct Overlay {
    double LastLatitude = 0;
    double LastLongitude = 0;
    bool MapPageLoaded = false;
    FrameOverlayUpdate Apply(std::span<const BYTE> p2, DWORD channel) {
        return ReadFrameOverlay(p2, channel, LastLatitude, LastLongitude, MapPageLoaded);
    }
};

QelGpsFix Fix(BYTE d, BYTE m, BYTE s, WORD ms, bool south = false) {
    QelGpsFix f;
    f.latDegrees = d;
    f.latMinutes = m;
    f.latSeconds = s;
    f.latThousandths = ms;
    f.south = south;
    f.lonDegrees = 126;
    f.lonMinutes = 58;
    f.lonSeconds = 48;
    f.lonThousandths = 0;
    f.speed = 62;
    return f;
}

TEST(FrameOverlay, GpsDegreesAndText) {
    const GpsReading r = ReadGpsFix(Fix(37, 33, 12, 500));
    EXPECT_EQ(r.latitudeText, "37.553472");
    EXPECT_DOUBLE_EQ(r.latitude, 37.553472);
    EXPECT_EQ(r.longitudeText, "126.980000");
    EXPECT_EQ(r.text, "037`33'12.50\"N\n126`58'48.00\"E\n62KM/H");

    struct Case {
        WORD thousandths;
        const char* hundredths;
    };
    const Case cases[] = {{996, "99"}, {994, "99"}, {984, "98"},  {4, "00"},
                          {5, "01"},   {0, "00"},   {65535, "99"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.thousandths);
        const std::string text = ReadGpsFix(Fix(1, 2, 3, c.thousandths)).text;
        EXPECT_EQ(text.substr(0, 15), std::string("001`02'03.") + c.hundredths + "\"N\n");
    }

    QelGpsFix sw = Fix(33, 52, 4, 0, true);
    sw.west = true;
    sw.lonDegrees = 151;
    sw.lonMinutes = 12;
    sw.lonSeconds = 36;
    sw.mph = true;
    sw.speed = 0;
    const GpsReading s = ReadGpsFix(sw);
    EXPECT_EQ(s.latitudeText, "-33.867778");
    EXPECT_EQ(s.longitudeText, "-151.210000");
    EXPECT_EQ(s.text, "033`52'04.00\"S\n151`12'36.00\"W\n0MPH");
}

TEST(FrameOverlay, NumbersDoNotFollowTheLocale) {
    // A decimal comma in the process's locale must not reach the map's texts.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "es_ES.UTF-8", "es_ES.utf8"})
        if (!comma && std::setlocale(LC_NUMERIC, name)) comma = std::localeconv()->decimal_point[0] == ',';
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma installed";
    const GpsReading r = ReadGpsFix(Fix(37, 33, 12, 500));
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(r.latitudeText, "37.553472");
    EXPECT_DOUBLE_EQ(r.latitude, 37.553472);
}

TEST(FrameOverlay, TitlesFromTextBlocks) {
    struct Case {
        const char* name;
        std::string text;
        DWORD channel;
        int titleChannel;
        std::string title;
    };
    const Case cases[] = {
        {"five characters on 2", "FRONT", 2, 2, "FRONT"},
        {"twenty characters", "ABCDEFGHIJKLMNOPQRST", 1, 1, "ABCDEFGHIJK"},
        {"exactly eleven", "ABCDEFGHIJK", 3, 3, "ABCDEFGHIJK"},
        {"stops at NUL", std::string("REAR\0JUNK", 9), 4, 4, "REAR"},
        {"empty", "", 1, 1, ""},
        {"channel 0 sets none", "X", 0, 0, ""},
        {"channel 5 sets none", "X", 5, 0, ""},
        // "Ä" is two bytes: the eleventh byte would cut it.
        {"no half character", "ABCDEFGHIJ\xC3\x84", 1, 1, "ABCDEFGHIJ"},
        {"whole character at the end", "ABCDEFGHI\xC3\x84Z", 1, 1, "ABCDEFGHI\xC3\x84"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Overlay o;
        const FrameOverlayUpdate u = o.Apply(QelSideDataBuilder().SetText(c.text).Bytes(), c.channel);
        EXPECT_EQ(u.titleChannel, c.titleChannel);
        EXPECT_EQ(u.title, c.title);
        EXPECT_FALSE(u.gpsText);
        EXPECT_FALSE(u.tachoText);
        EXPECT_FALSE(u.malformed);
    }
}

TEST(FrameOverlay, LampsGpsAndTacho) {
    Overlay o;
    auto u = o.Apply(QelSideDataBuilder()
                         .AddLamps(kQelLampRed | kQelLampGreen)
                         .AddGps(Fix(37, 33, 12, 500))
                         .AddTacho({88, 2400})
                         .SetText("CAM")
                         .Bytes(),
                     3);
    EXPECT_EQ(u.lamps, kQelLampRed | kQelLampGreen);
    EXPECT_EQ(u.gpsText.value_or("-").substr(0, 14), "037`33'12.50\"N");
    EXPECT_EQ(u.tachoText, "88 KM/H\n2400 RPM");
    EXPECT_EQ(u.title, "CAM");

    u = o.Apply(QelSideDataBuilder().AddTacho({1, 2}).AddGps(Fix(37, 33, 12, 500)).Bytes(), 3);
    EXPECT_EQ(u.tachoText, "1 KM/H\n2 RPM");
    EXPECT_EQ(u.gpsText.value_or("-").substr(0, 14), "037`33'12.50\"N");
    EXPECT_FALSE(u.lamps);
    // Side data without a text block empties the title.
    EXPECT_EQ(u.titleChannel, 3);
    EXPECT_EQ(u.title, "");

    // Unknown kinds are stepped over.
    const BYTE odd[6] = {1, 2, 3, 4, 5, 6};
    u = o.Apply(QelSideDataBuilder().AddTyped(9, odd).AddLamps(kQelLampLeftTurn).Bytes(), 1);
    EXPECT_EQ(u.lamps, kQelLampLeftTurn);
    EXPECT_FALSE(u.malformed);
}

// Four cameras take turns, GPS on the odd ones and tacho on the even ones: the texts drawn after each
// frame keep both readings instead of blanking one every other frame.
TEST(FrameOverlay, CamerasTakingTurnsKeepBothTexts) {
    Overlay o;
    std::string gpsLabel, tachoLabel;
    for (int frame = 0; frame < 12; ++frame) {
        const DWORD channel = static_cast<DWORD>(frame % 4 + 1);
        QelSideDataBuilder side;
        side.AddLamps(kQelLampRed);
        if (channel % 2 == 1)
            side.AddGps(Fix(37, 33, static_cast<BYTE>(frame), 0));
        else
            side.AddTacho({static_cast<DWORD>(40 + frame), 2000});
        const FrameOverlayUpdate u = o.Apply(side.SetText("CAM").Bytes(), channel);
        if (u.gpsText) gpsLabel = *u.gpsText;
        if (u.tachoText) tachoLabel = *u.tachoText;
        SCOPED_TRACE(frame);
        EXPECT_EQ(gpsLabel.substr(0, 7), "037`33'");
        if (frame >= 1) EXPECT_EQ(tachoLabel.substr(0, 2), std::to_string(40 + frame - (frame % 2 == 0)));
    }
}

TEST(FrameOverlay, NoSideDataEmptiesGpsAndTachoOnly) {
    Overlay o;
    const FrameOverlayUpdate u = o.Apply({}, 2);
    EXPECT_EQ(u.gpsText, "");
    EXPECT_EQ(u.tachoText, "");
    EXPECT_EQ(u.titleChannel, 0);
    EXPECT_FALSE(u.lamps);
}

TEST(FrameOverlay, MalformedBlocksEndTheWalk) {
    const std::vector<BYTE> lamps = QelSideDataBuilder().AddLamps(kQelLampYellow).Bytes();
    auto typed = [](DWORD kind, DWORD length, std::size_t dataBytes) {
        std::vector<BYTE> b(20 + dataBytes, 0);
        PutU32(b.data(), kQelSideTypedCode);
        PutU32(b.data() + 4, kind);
        PutU32(b.data() + 8, length);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<BYTE> block;
    };
    const Case cases[] = {
        {"length 0", typed(1, 0, 8)},
        {"length 5", typed(2, 5, 40)},
        {"length past the payload", typed(1, 12 + 1000, 8)},
        {"length 0xFFFFFFFF", typed(1, 0xFFFFFFFF, 8)},
        {"GPS of 8 data bytes", typed(2, 12 + 8, 8)},
        {"tacho of 4 data bytes", typed(3, 12 + 4, 4)},
        {"lamps of 0 data bytes", typed(1, 12, 0)},
        {"head cut short", std::vector<BYTE>(lamps.begin(), lamps.begin() + 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> p2 = lamps;
        p2.insert(p2.end(), c.block.begin(), c.block.end());
        const std::vector<BYTE> title = QelSideDataBuilder().SetText("AFTER").Bytes();
        p2.insert(p2.end(), title.begin(), title.end());
        Overlay o;
        const FrameOverlayUpdate u = o.Apply(p2, 1);
        // What came before the bad block holds; nothing after it is read.
        EXPECT_EQ(u.lamps, kQelLampYellow);
        EXPECT_TRUE(u.malformed);
        EXPECT_EQ(u.title, "");
        EXPECT_FALSE(u.gpsText || u.tachoText);
    }
    // An unknown block code ends the side data without being a fault.
    std::vector<BYTE> p2 = lamps;
    p2.insert(p2.end(), {0xEF, 0xBE, 0xAD, 0xDE, 1, 2, 3});
    const FrameOverlayUpdate u = Overlay().Apply(p2, 1);
    EXPECT_EQ(u.lamps, kQelLampYellow);
    EXPECT_FALSE(u.malformed);
}

TEST(FrameOverlay, MapFollowsOnlyNewPositionsAfterThePageLoaded) {
    Overlay o;
    const auto at = [](WORD ms) { return QelSideDataBuilder().AddGps(Fix(37, 33, 12, ms)).Bytes(); };
    // Before the page has loaded the position is kept but the map is not called.
    FrameOverlayUpdate u = o.Apply(at(500), 1);
    EXPECT_FALSE(u.moveMap);
    EXPECT_DOUBLE_EQ(o.LastLatitude, 37.553472);
    o.MapPageLoaded = true;
    EXPECT_FALSE(o.Apply(at(500), 1).moveMap) << "same fix";
    u = o.Apply(at(900), 3);
    EXPECT_TRUE(u.moveMap);
    EXPECT_EQ(u.mapLatitude, "37.553583");
    EXPECT_EQ(u.mapLongitude, "126.980000");
    EXPECT_FALSE(o.Apply(at(900), 3).moveMap);
    // 12.100 and 12.101 seconds are the same position to six decimals: no move.
    EXPECT_TRUE(o.Apply(at(100), 3).moveMap);
    EXPECT_FALSE(o.Apply(at(101), 3).moveMap);
}

TEST(FrameOverlay, ScreenOfTheOnItems) {
    struct Case {
        int count, selected, screen;
    };
    const Case cases[] = {{4, 4, 0}, {4, 2, 0}, {1, 0, 0}, {1, 3, 3}, {1, 4, -1}, {1, -1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(OverlayScreenOn(c.count, c.selected), c.screen) << c.count << "/" << c.selected;
}

} // namespace
