#include "client/FrameOverlay.h"

#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <charconv>

namespace {

// Reads back a number written by Format; the text is always plain C-locale digits.
double ReadBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int Hundredths(WORD thousandths) {
    return std::min((thousandths + 5) / 10, 99);
}

double Degrees(BYTE degrees, BYTE minutes, BYTE seconds, WORD thousandths, bool negative) {
    const double s = ReadBack(Format("%d.%03d", seconds, thousandths));
    double value = degrees + (minutes + s / 60.0) / 60.0;
    if (negative) value = -value;
    return value;
}

} // namespace

int ParseFrameSideData(QelFrameSideData& walker, QelSideBlock& block, bool* malformed) {
    if (malformed) *malformed = false;
    try {
        if (!walker.Next(block)) return QELSIDE_END;
    } catch (const EQelFormatError&) {
        if (malformed) *malformed = true;
        return QELSIDE_END;
    }
    return block.kind;
}

GpsReading ReadGpsFix(const QelGpsFix& f) {
    GpsReading r;
    r.latitudeText =
        Format("%.6f", Degrees(f.latDegrees, f.latMinutes, f.latSeconds, f.latThousandths, f.south));
    r.longitudeText =
        Format("%.6f", Degrees(f.lonDegrees, f.lonMinutes, f.lonSeconds, f.lonThousandths, f.west));
    r.latitude = ReadBack(r.latitudeText);
    r.longitude = ReadBack(r.longitudeText);
    r.text = Format("%03d`%02d'%02d.%02d\"%s\n%03d`%02d'%02d.%02d\"%s\n%d%s", f.latDegrees, f.latMinutes,
                    f.latSeconds, Hundredths(f.latThousandths), f.south ? "S" : "N", f.lonDegrees,
                    f.lonMinutes, f.lonSeconds, Hundredths(f.lonThousandths), f.west ? "W" : "E", f.speed,
                    f.mph ? "MPH" : "KM/H");
    return r;
}

std::string TachoText(const QelTacho& tacho) {
    return Format("%u KM/H\n%u RPM", static_cast<unsigned>(tacho.speed),
                  static_cast<unsigned>(tacho.engineRpm));
}

std::string CameraTitleFromText(std::span<const BYTE> text) {
    std::size_t n = 0;
    while (n < text.size() && n < kCameraTitleMax && text[n] != 0)
        ++n;
    // A cut inside a multi-byte character drops that character's first bytes too.
    if (n < text.size() && n == kCameraTitleMax) {
        std::size_t lead = n;
        while (lead > 0 && (text[lead - 1] & 0xC0) == 0x80)
            --lead;
        if (lead > 0 && (text[lead - 1] & 0xC0) == 0xC0) {
            const BYTE b = text[lead - 1];
            const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
            if (lead - 1 + length > n) n = lead - 1;
        }
    }
    return std::string(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

FrameOverlayUpdate ReadFrameOverlay(std::span<const BYTE> payload2, DWORD channel, double& lastLatitude,
                                    double& lastLongitude, bool mapPageLoaded) {
    FrameOverlayUpdate u;
    if (payload2.empty()) {
        u.gpsText.emplace();
        u.tachoText.emplace();
        return u;
    }
    std::string title;
    QelFrameSideData walker(payload2);
    QelSideBlock block;
    for (;;) {
        const int kind = ParseFrameSideData(walker, block, &u.malformed);
        if (kind == QELSIDE_END) break;
        switch (kind) {
        case QELSIDE_TEXT:
            title = CameraTitleFromText(block.data);
            break;
        case QELSIDE_LAMPS:
            u.lamps = block.lamps;
            break;
        case QELSIDE_GPS: {
            const GpsReading gps = ReadGpsFix(block.gps);
            if (gps.latitude != lastLatitude || gps.longitude != lastLongitude) {
                lastLatitude = gps.latitude;
                lastLongitude = gps.longitude;
                if (mapPageLoaded) {
                    u.moveMap = true;
                    u.mapLatitude = gps.latitudeText;
                    u.mapLongitude = gps.longitudeText;
                }
            }
            u.gpsText = gps.text;
            u.tachoText.emplace();
            break;
        }
        case QELSIDE_TACHO:
            u.tachoText = TachoText(block.tacho);
            u.gpsText.emplace();
            break;
        default:
            break;
        }
    }
    if (channel >= 1 && channel <= 4) {
        u.titleChannel = static_cast<int>(channel);
        u.title = title;
    }
    return u;
}

int OverlayScreenOn(int screenCount, int selectedCamera) {
    if (screenCount == 4) return 0;
    return selectedCamera >= 0 && selectedCamera <= 3 ? selectedCamera : -1;
}
