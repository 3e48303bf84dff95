#include "formats/SetupIni.h"

#include "tests/support/TestSupport.h"

#include "platform/core/IniFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

TSetupSettings ReadFrom(const std::string& path) {
    TIniFile ini(path);
    TSetupSettings settings;
    ReadSetupSettings(ini, settings);
    return settings;
}

TEST(SetupIni, AnEmptyFileGivesTheDefaultsAndTheFirstSaveWritesFiveLines) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "");
    const TSetupSettings settings = ReadFrom(path);
    EXPECT_EQ(settings.VideoStandard, kVideoStandardPal);
    EXPECT_EQ(settings.OverlayColor, kOverlayBlue);
    EXPECT_DOUBLE_EQ(settings.Latitude, 37.411339);
    EXPECT_DOUBLE_EQ(settings.Longitude, 127.128686);

    TIniFile ini(path);
    WriteSetupSettings(ini, settings);
    EXPECT_EQ(ReadFileBytes(path), "[setup]\r\nstandard=PAL\r\ncolor=Blue\r\nlatitude=37.411339\r\n"
                                   "longitude=127.128686\r\n");
}

TEST(SetupIni, ValuesMatchExactly) {
    struct Case {
        const char* standard;
        const char* color;
        int expectedStandard;
        TSetupColor expectedColor;
    };
    const Case cases[] = {
        {"NTSC", "Red", kVideoStandardNtsc, kOverlayRed},
        {"PAL", "Yellow", kVideoStandardPal, kOverlayYellow},
        {"ntsc", "red", kVideoStandardPal, kOverlayBlue},
        {"Ntsc", "YELLOW", kVideoStandardPal, kOverlayBlue},
        {"", "", kVideoStandardPal, kOverlayBlue},
        {"SECAM", "Green", kVideoStandardPal, kOverlayBlue},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.standard) + "/" + c.color);
        const std::string path = dir.File("setup.ini");
        WriteFileBytes(path, std::string("[setup]\nstandard=") + c.standard + "\ncolor=" + c.color + "\n");
        TSetupSettings settings;
        settings.OverlayColor = kOverlayYellow; // what the window held before: every colour text decides
        TIniFile ini(path);
        ReadSetupSettings(ini, settings);
        EXPECT_EQ(settings.VideoStandard, c.expectedStandard);
        EXPECT_EQ(settings.OverlayColor, c.expectedColor);
    }
}

TEST(SetupIni, AStandardReadInLowerCaseIsSavedBackAsPal) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "[setup]\nstandard=ntsc\n");
    TIniFile ini(path);
    TSetupSettings settings;
    ReadSetupSettings(ini, settings);
    WriteSetupSettings(ini, settings);
    EXPECT_EQ(ini.ReadString("setup", "standard", ""), "PAL");
}

TEST(SetupIni, ASectionOfAnotherCaseIsIgnored) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "[Setup]\nstandard=NTSC\ncolor=Red\nlatitude=1.5\n");
    const TSetupSettings settings = ReadFrom(path);
    EXPECT_EQ(settings.VideoStandard, kVideoStandardPal);
    EXPECT_EQ(settings.OverlayColor, kOverlayBlue);
    EXPECT_DOUBLE_EQ(settings.Latitude, kDefaultLatitude);
}

TEST(SetupIni, KeysOfAnotherCaseAreIgnored) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "[setup]\nStandard=NTSC\nLATITUDE=5\n");
    const TSetupSettings settings = ReadFrom(path);
    EXPECT_EQ(settings.VideoStandard, kVideoStandardPal);
    EXPECT_DOUBLE_EQ(settings.Latitude, kDefaultLatitude);
}

TEST(SetupIni, ABadNumberKeepsItsDefaultAndTheOtherKeysStillLoad) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "[setup]\nlatitude=north\nlongitude=-3.25\nstandard=NTSC\ncolor=Yellow\n");
    const TSetupSettings settings = ReadFrom(path);
    EXPECT_DOUBLE_EQ(settings.Latitude, kDefaultLatitude);
    EXPECT_DOUBLE_EQ(settings.Longitude, -3.25);
    EXPECT_EQ(settings.VideoStandard, kVideoStandardNtsc);
    EXPECT_EQ(settings.OverlayColor, kOverlayYellow);
}

TEST(SetupIni, NumbersReadWithPointOrCommaAndAreWrittenWithAPoint) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"37.411339", true, 37.411339},
        {"37,411339", true, 37.411339},
        {"-127.5", true, -127.5},
        {" 12.25 ", true, 12.25},
        {"1,2,3", false, 0},
        {"1.2,3", false, 0},
        {"", false, 0},
        {"nan", false, 0},
        {"12abc", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -1;
        EXPECT_EQ(ParseCoordinate(c.text, value), c.ok);
        if (c.ok) EXPECT_DOUBLE_EQ(value, c.value);
    }
    // A user locale with a decimal comma does not reach the file.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "es_ES.UTF-8");
    EXPECT_EQ(FormatCoordinate(37.411339), "37.411339");
    EXPECT_EQ(FormatCoordinate(-0.5), "-0.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(SetupIni, OtherKeysAndSectionsSurviveASave) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFileBytes(path, "[window]\nleft=10\n[setup]\nnote=keep me\ncolor=Red\n");
    TIniFile ini(path);
    TSetupSettings settings;
    ReadSetupSettings(ini, settings);
    settings.Latitude = -33.868820;
    settings.Longitude = 151.209296;
    WriteSetupSettings(ini, settings);
    EXPECT_EQ(ini.ReadString("window", "left", ""), "10");
    EXPECT_EQ(ini.ReadString("setup", "note", ""), "keep me");
    EXPECT_EQ(ini.ReadString("setup", "color", ""), "Red");

    const TSetupSettings back = ReadFrom(path);
    EXPECT_EQ(back.OverlayColor, kOverlayRed);
    EXPECT_DOUBLE_EQ(back.Latitude, -33.868820);
    EXPECT_DOUBLE_EQ(back.Longitude, 151.209296);
}

} // namespace
