#include "client/FrameOverlay.h"
#include "formats/ByteOrder.h"
#include "tools/recgen/SynthStream.h"

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
    // The later reading wins; the GPS block still moves the stored position.
    EXPECT_EQ(u.gpsText, "");
    EXPECT_EQ(u.tachoText, "88 KM/H\n2400 RPM");
    EXPECT_DOUBLE_EQ(o.LastLatitude, 37.553472);
    EXPECT_EQ(u.title, "CAM");

    u = o.Apply(QelSideDataBuilder().AddTacho({1, 2}).AddGps(Fix(37, 33, 12, 500)).Bytes(), 3);
    EXPECT_EQ(u.tachoText, "");
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

// What the GPS and tacho labels hold after each frame of a run: the later reading wins, a reading that
// stops coming goes, a frame without either reading leaves both, one without side data empties both.
TEST(FrameOverlay, TheLaterReadingWins) {
    const std::string gpsA = "037`33'12.50\"N\n126`58'48.00\"E\n62KM/H";
    const std::string gpsB = "037`33'13.00\"N\n126`58'48.00\"E\n62KM/H";
    struct Step {
        const char* name;
        std::vector<BYTE> side;
        std::string gps, tacho;
    };
    const std::string none;
    const Step steps[] = {
        {"GPS", QelSideDataBuilder().AddLamps(kQelLampRed).AddGps(Fix(37, 33, 12, 500)).Bytes(), gpsA, ""},
        {"tacho", QelSideDataBuilder().AddTacho({50, 2550}).SetText("CAM 2").Bytes(), none,
         "50 KM/H\n2550 RPM"},
        {"title only", QelSideDataBuilder().SetText("CAM 3").Bytes(), none, "50 KM/H\n2550 RPM"},
        {"GPS, then tacho", QelSideDataBuilder().AddGps(Fix(37, 33, 13, 0)).AddTacho({61, 3000}).Bytes(),
         none, "61 KM/H\n3000 RPM"},
        {"tacho, then GPS", QelSideDataBuilder().AddTacho({62, 3100}).AddGps(Fix(37, 33, 13, 0)).Bytes(),
         gpsB, ""},
        {"lamps only", QelSideDataBuilder().AddLamps(kQelLampYellow).Bytes(), gpsB, ""},
        {"no side data", {}, none, ""},
        {"GPS again", QelSideDataBuilder().AddGps(Fix(37, 33, 12, 500)).Bytes(), gpsA, ""},
    };
    Overlay o;
    std::string gpsLabel = "of before", tachoLabel = "of before";
    DWORD channel = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const FrameOverlayUpdate u = o.Apply(step.side, channel % 4 + 1);
        ++channel;
        if (u.gpsText) gpsLabel = *u.gpsText;
        if (u.tachoText) tachoLabel = *u.tachoText;
        EXPECT_EQ(gpsLabel, step.gps);
        EXPECT_EQ(tachoLabel, step.tacho);
    }
}

// A vehicle's cameras all carry its one reading: in the four-screen layout, where the frames of the
// four cameras take turns, the text never blinks out and the other label never gets one.
TEST(FrameOverlay, VehicleReadingsHoldOnEveryFrame) {
    for (const auto pattern : {recgen::SideDataPattern::Gps, recgen::SideDataPattern::Tacho}) {
        const bool gps = pattern == recgen::SideDataPattern::Gps;
        SCOPED_TRACE(gps ? "GPS" : "tacho");
        Overlay o;
        std::string gpsLabel, tachoLabel;
        for (DWORD time = 1000; time < 1003; ++time)
            for (DWORD tick = 0; tick < 30; ++tick)
                for (int channel = 1; channel <= 4; ++channel) {
                    const FrameOverlayUpdate u = o.Apply(recgen::SynthSideData(pattern, channel, time, tick),
                                                         static_cast<DWORD>(channel));
                    if (u.gpsText) gpsLabel = *u.gpsText;
                    if (u.tachoText) tachoLabel = *u.tachoText;
                    ASSERT_EQ(gpsLabel.empty(), !gps) << time << "." << tick << " camera " << channel;
                    ASSERT_EQ(tachoLabel.empty(), gps) << time << "." << tick << " camera " << channel;
                }
        // The last moment, 1002 s: 30 + 1002 % 60 km/h.
        if (gps)
            EXPECT_EQ(gpsLabel.substr(0, 4), "037`");
        else
            EXPECT_EQ(tachoLabel, "72 KM/H\n3320 RPM");
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
