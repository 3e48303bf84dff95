#include "formats/SetupIni.h"

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"

#include <cmath>
#include <memory>

namespace {

constexpr const char* kSection = "setup";

} // namespace

std::string FormatCoordinate(double value) {
    return FloatToStr(value);
}

bool ParseCoordinate(std::string_view text, double& value) {
    std::string number(text);
    // Files written under a decimal-comma locale hold "37,411339".
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos) {
        if (number.find('.') != std::string::npos || number.find(',', comma + 1) != std::string::npos)
            return false;
        number[comma] = '.';
    }
    try {
        value = StrToFloat(number);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void ReadSetupSettings(const TIniFile& ini, TSetupSettings& settings) {
    auto sections = std::make_unique<TStringList>();
    ini.ReadSections(sections.get());
    for (int i = 0; i < sections->Count(); ++i) {
        if (sections->Strings(i) != kSection) continue;
        auto keys = std::make_unique<TStringList>();
        auto lines = std::make_unique<TStringList>();
        ini.ReadSection(kSection, keys.get());
        ini.ReadSectionValues(kSection, lines.get());
        for (int j = 0; j < keys->Count() && j < lines->Count(); ++j) {
            const std::string key = keys->Strings(j);
            const std::string value = lines->ValueFromIndex(j);
            if (key == "color") {
                if (value == "Red")
                    settings.OverlayColor = kOverlayRed;
                else if (value == "Yellow")
                    settings.OverlayColor = kOverlayYellow;
                else
                    settings.OverlayColor = kOverlayBlue;
            } else if (key == "standard") {
                settings.VideoStandard = value == "NTSC" ? kVideoStandardNtsc : kVideoStandardPal;
            } else if (key == "latitude") {
                ParseCoordinate(value, settings.Latitude);
            } else if (key == "longitude") {
                ParseCoordinate(value, settings.Longitude);
            }
        }
    }
}

void WriteSetupSettings(TIniFile& ini, const TSetupSettings& settings) {
    ini.WriteString(kSection, "standard", settings.VideoStandard == kVideoStandardNtsc ? "NTSC" : "PAL");
    const char* color = "Blue";
    if (settings.OverlayColor == kOverlayRed)
        color = "Red";
    else if (settings.OverlayColor == kOverlayYellow)
        color = "Yellow";
    ini.WriteString(kSection, "color", color);
    ini.WriteString(kSection, "latitude", FormatCoordinate(settings.Latitude));
    ini.WriteString(kSection, "longitude", FormatCoordinate(settings.Longitude));
}
