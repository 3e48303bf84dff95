// The client's own settings file, setup.ini: video standard, overlay colour and the last GPS position,
// in section "setup" of the program folder's file.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

class TIniFile;

inline constexpr int kVideoStandardNtsc = 1;
inline constexpr int kVideoStandardPal = 2;
// Overlay colours as the class library's colour values, $00BBGGRR.
using TSetupColor = std::int32_t;
inline constexpr TSetupColor kOverlayRed = 0x0000FF;
inline constexpr TSetupColor kOverlayYellow = 0x00FFFF;
inline constexpr TSetupColor kOverlayBlue = 0xFF0000;
inline constexpr double kDefaultLatitude = 37.411339;
inline constexpr double kDefaultLongitude = 127.128686;

struct TSetupSettings {
    int VideoStandard = kVideoStandardPal;
    TSetupColor OverlayColor = kOverlayBlue;
    double Latitude = kDefaultLatitude;
    double Longitude = kDefaultLongitude;
};

// Section and key names match exactly (case counts); unknown values fall back as the file's readers
// always did ("NTSC" or PAL, "Red", "Yellow" or blue). A position that is not a number keeps what
// `settings` held and the other keys still load.
void ReadSetupSettings(const TIniFile& ini, TSetupSettings& settings);
// standard, color, latitude, longitude in this order; every other line of the file stays.
void WriteSetupSettings(TIniFile& ini, const TSetupSettings& settings);

// Numbers are written with '.' whatever the locale; both '.' and ',' are read.
std::string FormatCoordinate(double value);
bool ParseCoordinate(std::string_view text, double& value);
