// The client's setup.ini from any bytes, read as the main window reads it at start-up and saved as it
// saves it: every setting read is one the window can hold, a save reads back as it was saved, and the
// file's other sections and keys come through a save unchanged.
#include "formats/SetupIni.h"
#include "fuzz/FuzzSupport.h"

#include "platform/core/Classes.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

bool Known(const TSetupSettings& s) {
    return (s.VideoStandard == kVideoStandardNtsc || s.VideoStandard == kVideoStandardPal) &&
           (s.OverlayColor == kOverlayRed || s.OverlayColor == kOverlayYellow ||
            s.OverlayColor == kOverlayBlue) &&
           std::isfinite(s.Latitude) && std::isfinite(s.Longitude);
}

bool OwnKey(const std::string& key) {
    return key == "standard" || key == "color" || key == "latitude" || key == "longitude";
}

// Every section's lines, except the keys a save writes.
std::map<std::string, std::vector<std::string>> OtherLines(const TIniFile& ini) {
    std::map<std::string, std::vector<std::string>> out;
    TStringList sections;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const std::string section = sections.Strings(i);
        TStringList lines;
        ini.ReadSectionValues(section, &lines);
        std::vector<std::string> kept;
        for (int j = 0; j < lines.Count(); ++j)
            if (section != "setup" || !OwnKey(lines.Names(j))) kept.push_back(lines.Strings(j));
        // A save adds the section when it is missing.
        if (section != "setup" || !kept.empty()) out[section] = kept;
    }
    return out;
}

// The settings file's library finds sections and keys without letter case, the reader only "setup" and
// its four keys as they are spelt: a save goes into the first section and key of that name in any case,
// which the next load reads only when they are spelt so.
bool SavedWhereRead(const TIniFile& ini) {
    TStringList sections;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        if (LowerCase(sections.Strings(i)) != "setup") continue;
        if (sections.Strings(i) != "setup") return false;
        TStringList keys;
        ini.ReadSection("setup", &keys);
        for (int k = 0; k < keys.Count(); ++k)
            if (OwnKey(LowerCase(keys.Strings(k))) && !OwnKey(keys.Strings(k))) return false;
        return true;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::ScratchFolder() + "setup.ini";
    fuzz::WriteBytes(path, data, size);

    TIniFile ini(path);
    TSetupSettings read;
    ReadSetupSettings(ini, read);
    if (!Known(read)) fuzz::Fail("a setting outside what the window holds");
    if (!SavedWhereRead(ini)) return 0;
    const auto before = OtherLines(ini);

    WriteSetupSettings(ini, read);
    TIniFile again(path);
    TSetupSettings back{kVideoStandardNtsc, kOverlayYellow, 0, 0};
    ReadSetupSettings(again, back);
    if (back.VideoStandard != read.VideoStandard || back.OverlayColor != read.OverlayColor)
        fuzz::Fail("a saved standard or colour did not read back");
    if (FormatCoordinate(back.Latitude) != FormatCoordinate(read.Latitude) ||
        FormatCoordinate(back.Longitude) != FormatCoordinate(read.Longitude))
        fuzz::Fail("a saved position did not read back");
    if (OtherLines(again) != before) fuzz::Fail("a save changed other keys or sections");
    return 0;
}
