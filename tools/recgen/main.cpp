// Writes a recorder store: recgen --out DIR [--from YYYYMMDD] [--days N] [--hours H,H,...] [--seconds N]
// [--fps N] [--cameras 1|4] [--standard ntsc|pal] [--large] [--side-data KIND] [--disk-image FILE].
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "tools/recgen/DiskImage.h"
#include "tools/recgen/StoreGenerator.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: recgen --out DIR [--from YYYYMMDD] [--days N] [--hours H,H,...] [--seconds N]\n"
    "              [--fps N] [--cameras 1|4] [--standard ntsc|pal] [--large]\n"
    "              [--side-data gps|tacho|mixed|none] [--disk-image FILE]\n"
    "Writes DIR/avfiles (recordings with .fdx, .tdx, .mdx), DIR/infofiles/pyrdb, the\n"
    "recorder databases qeldbfile_hdd.db, _cf.db, _sd.db, loglist.db and the setup files.\n"
    "--side-data: what the vehicle adds to every camera's frames beside lamps and title:\n"
    "gps (default), tacho, mixed (GPS on cameras 1 and 3, tacho on 2 and 4) or none.\n"
    "--disk-image also writes FILE, a recorder's disk with the EXT2 volumes infofiles\n"
    "(partition 1) and avfiles (partition 2) made by mke2fs; it prints their offsets and sizes\n"
    "for losetup --offset/--sizelimit.\n";

int Num(const std::string& option, const std::string& text, int lo, int hi) {
    const int v = StrToInt(text);
    if (v < lo || v > hi)
        throw EInvalidArgument(Format("%s: %d is outside %d..%d", option.c_str(), v, lo, hi));
    return v;
}

} // namespace

int main(int argc, char** argv) {
    recgen::StoreOptions o;
    recgen::RecorderIdentity id;
    std::string out, image;
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            auto value = [&]() -> const std::string& {
                if (i + 1 >= args.size()) throw EInvalidArgument(a + " needs a value");
                return args[++i];
            };
            if (a == "--help" || a == "-h") {
                std::fputs(kUsage, stdout);
                return 0;
            } else if (a == "--out") {
                out = value();
            } else if (a == "--from") {
                const std::string d = value();
                if (d.size() != 8) throw EInvalidArgument("--from: YYYYMMDD");
                o.year = Num(a, d.substr(0, 4), 1970, 2100);
                o.month = Num(a, d.substr(4, 2), 1, 12);
                o.day = Num(a, d.substr(6, 2), 1, 31);
            } else if (a == "--days") {
                o.days = Num(a, value(), 1, 366);
            } else if (a == "--hours") {
                o.hours.clear();
                const std::string list = value();
                for (std::size_t s = 0; s <= list.size();) {
                    const std::size_t c = list.find(',', s);
                    o.hours.push_back(Num(a, list.substr(s, c == std::string::npos ? c : c - s), 0, 23));
                    if (c == std::string::npos) break;
                    s = c + 1;
                }
            } else if (a == "--seconds") {
                o.secondsPerRecording = Num(a, value(), 1, 3600);
            } else if (a == "--fps") {
                o.stream.framesPerSecond = Num(a, value(), 1, 30);
            } else if (a == "--cameras") {
                o.stream.cameras = id.cameras = Num(a, value(), 1, 4);
            } else if (a == "--standard") {
                const std::string s = LowerCase(value());
                if (s != "ntsc" && s != "pal") throw EInvalidArgument("--standard: ntsc or pal");
                o.stream.standard = s == "pal" ? 2 : 1;
            } else if (a == "--large") {
                o.stream.large = true;
            } else if (a == "--side-data") {
                const auto pattern = recgen::SideDataPatternNamed(value());
                if (!pattern) throw EInvalidArgument("--side-data: gps, tacho, mixed or none");
                o.stream.sideData = *pattern;
            } else if (a == "--disk-image") {
                image = value();
            } else {
                throw EInvalidArgument("unknown option " + a);
            }
        }
        if (out.empty()) throw EInvalidArgument("--out is needed");
        const auto recordings = recgen::GenerateStore(out, o, id);
        std::printf("recgen: %zu recordings in %s\n", recordings.size(), out.c_str());
        if (!image.empty()) {
            const recgen::DiskImageLayout layout = recgen::WriteRecorderDiskImage(out, image);
            for (const auto& [label, part] :
                 {std::pair{"infofiles", layout.database}, std::pair{"avfiles", layout.recordings}})
                std::printf("recgen: %s %s --offset %llu --sizelimit %llu\n", image.c_str(), label,
                            static_cast<unsigned long long>(part.offset),
                            static_cast<unsigned long long>(part.size));
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "recgen: %s\n%s", e.what(), kUsage);
        return 2;
    }
    return 0;
}
