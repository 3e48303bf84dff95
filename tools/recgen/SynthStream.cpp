#include "tools/recgen/SynthStream.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <cmath>

namespace recgen {

DWORD SynthEventState(const SynthStreamOptions& options, int channel, DWORD time) {
    for (const auto& [from, to] : options.events) {
        if (time < from || time >= to) continue;
        // Each camera cycles through none, alarm, motion, both in 5-second steps, offset by its number.
        return ((time - from) / 5 + static_cast<DWORD>(channel)) % 4;
    }
    return 0;
}

QelGpsFix SynthGpsFix(DWORD time, DWORD tick) {
    // A loop of about 2 km around a point near 37.55 N, 126.98 E, one lap every 10 minutes.
    const double angle = 2 * M_PI * ((time % 600) + tick / 30.0) / 600.0;
    const double lat = 37.55 + 0.009 * std::sin(angle);
    const double lon = 126.98 + 0.011 * std::cos(angle);
    auto split = [](double deg, BYTE& d, BYTE& m, BYTE& s, WORD& ms) {
        const long long total = std::llround(deg * 3600000.0);
        ms = static_cast<WORD>(total % 1000);
        s = static_cast<BYTE>((total / 1000) % 60);
        m = static_cast<BYTE>((total / 60000) % 60);
        d = static_cast<BYTE>(total / 3600000);
    };
    QelGpsFix fix;
    split(lat, fix.latDegrees, fix.latMinutes, fix.latSeconds, fix.latThousandths);
    split(lon, fix.lonDegrees, fix.lonMinutes, fix.lonSeconds, fix.lonThousandths);
    fix.speed = static_cast<WORD>(40 + 30 * (1 + std::sin(angle * 3)) / 2);
    return fix;
}

std::optional<SideDataPattern> SideDataPatternNamed(const std::string& name) {
    const std::string n = LowerCase(name);
    if (n == "none") return SideDataPattern::None;
    if (n == "gps") return SideDataPattern::Gps;
    if (n == "tacho") return SideDataPattern::Tacho;
    if (n == "mixed") return SideDataPattern::Mixed;
    return std::nullopt;
}

std::vector<BYTE> SynthSideData(SideDataPattern pattern, int channel, DWORD time, DWORD tick) {
    if (pattern == SideDataPattern::None) return {};
    QelSideDataBuilder b;
    // Lamps turn over every 3 seconds: red, yellow, green, with the left turn blinking.
    static const DWORD kLampCycle[] = {kQelLampRed, kQelLampYellow, kQelLampGreen};
    b.AddLamps(kLampCycle[(time / 3) % 3] | ((time % 2) ? kQelLampLeftTurn : 0));
    const bool gps =
        pattern == SideDataPattern::Gps || (pattern == SideDataPattern::Mixed && channel % 2 == 1);
    if (gps) {
        b.AddGps(SynthGpsFix(time, tick));
    } else {
        const DWORD speed = 30 + (time % 60);
        b.AddTacho({speed, 800 + speed * 35});
    }
    b.SetText(Format("CAMERA %d", channel));
    return b.Bytes();
}

namespace {

void Dimensions(const SynthStreamOptions& o, int& width, int& height) {
    width = o.large ? 704 : 352;
    height = o.standard == QELSTD_PAL ? (o.large ? 576 : 288) : (o.large ? 480 : 240);
}

} // namespace

SynthStream::SynthStream(const SynthStreamOptions& options, DWORD startTime)
    : options_(options), time_(startTime) {
    if (options_.cameras != 1 && options_.cameras != 4)
        throw EInvalidArgument(Format("%d cameras", options_.cameras));
    const int full = options_.standard == QELSTD_PAL ? 25 : 30;
    rate_ = options_.framesPerSecond > 0 && options_.framesPerSecond < full ? options_.framesPerSecond : full;
    int w, h;
    Dimensions(options_, w, h);
    for (int c = 1; c <= options_.cameras; ++c)
        cameras_.push_back(std::make_unique<SynthCamera>(c, w, h, options_.quality));
}

void SynthStream::Seek(DWORD time) {
    time_ = time;
    tick_ = 0;
    camera_ = 0;
    audioDue_ = true;
}

QelAvFrame SynthStream::Next() {
    QelFrameInfo info;
    info.standard = options_.standard;
    info.frameTime = time_;
    if (audioDue_ && options_.audio) {
        audioDue_ = false;
        info.kind = 1;
        info.channel = 1;
        info.subSecond = 0;
        return QelAvFrame::Make(info, audio_.Next(kG726BytesPerSecond));
    }
    audioDue_ = false;
    const int channel = camera_ + 1;
    SynthCamera& cam = *cameras_[camera_];
    info.kind = 0;
    info.channel = static_cast<DWORD>(channel);
    info.width = static_cast<DWORD>(cam.Width());
    info.height = static_cast<DWORD>(cam.Height());
    info.eventState = SynthEventState(options_, channel, time_);
    info.subSecond = static_cast<DWORD>(tick_);
    const std::vector<BYTE> jpeg = cam.Picture(time_, frameCount_);
    const std::vector<BYTE> side =
        SynthSideData(options_.sideData, channel, time_, static_cast<DWORD>(tick_));
    QelAvFrame frame = QelAvFrame::Make(info, jpeg, side);
    ++frameCount_;
    if (++camera_ == options_.cameras) {
        camera_ = 0;
        if (++tick_ == rate_) {
            tick_ = 0;
            ++time_;
            audioDue_ = true;
        }
    }
    return frame;
}

} // namespace recgen
