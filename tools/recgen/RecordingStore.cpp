#include "tools/recgen/RecordingStore.h"

#include "formats/QelAvFile.h"
#include "formats/QelNames.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace recgen {

namespace {

void Count(StoreRecording& rec, const QelFrameInfo& info) {
    if (!info.IsVideo() || info.channel < 1 || info.channel > 4) return;
    ++rec.counts[info.channel - 1];
    if (info.eventState != 0) ++rec.eventTypes[info.channel - 1];
}

} // namespace

std::vector<StoreRecording> GenerateRecordings(const std::string& folder, const StoreOptions& options) {
    if (options.days < 1 || options.days > 366 || options.secondsPerRecording < 1 ||
        options.secondsPerRecording > 3600)
        throw EInvalidArgument(
            Format("%d days of %d-second recordings", options.days, options.secondsPerRecording));
    const std::string avfiles = folder + "/avfiles";
    fs::create_directories(avfiles);
    std::vector<int> hours = options.hours;
    std::sort(hours.begin(), hours.end());
    hours.erase(std::unique(hours.begin(), hours.end()), hours.end());
    std::vector<StoreRecording> out;
    for (int d = 0; d < options.days; ++d) {
        for (std::size_t h = 0; h < hours.size(); ++h) {
            if (hours[h] < 0 || hours[h] > 23) throw EInvalidArgument(Format("hour %d", hours[h]));
            const DWORD start = static_cast<DWORD>(
                UtcToUnixNormalized(options.year, options.month, options.day + d, hours[h], 0, 0));
            const DWORD end = start + static_cast<DWORD>(options.secondsPerRecording);
            SynthStreamOptions so = options.stream;
            // The middle third of the recording carries events.
            const DWORD third = static_cast<DWORD>(options.secondsPerRecording) / 3;
            if (h == hours.size() / 2) so.events.push_back({start + third, end - third});
            SynthStream stream(so, start);
            StoreRecording rec;
            rec.seq = static_cast<DWORD>(out.size() + 1);
            rec.fileName = QelHourFolderName(start) + "/" + QelRecordingName(start);
            rec.startTime = start;
            QelAvFileWriter writer(avfiles);
            while (stream.Time() < end) {
                const QelAvFrame frame = stream.Next();
                writer.AddFrame(frame);
                Count(rec, frame.info);
                rec.endTime = frame.info.frameTime;
            }
            writer.Finish(false);
            rec.bytes = fs::file_size(avfiles + "/" + rec.fileName);
            out.push_back(rec);
        }
    }
    return out;
}

std::vector<StoreRecording> ScanRecordings(const std::string& folder) {
    std::vector<StoreRecording> out;
    const fs::path avfiles = fs::path(folder) / "avfiles";
    std::error_code ec;
    if (!fs::is_directory(avfiles, ec)) return out;
    std::vector<std::pair<DWORD, fs::path>> files;
    for (const auto& hour : fs::directory_iterator(avfiles, ec)) {
        if (!hour.is_directory()) continue;
        for (const auto& entry : fs::directory_iterator(hour.path(), ec)) {
            DWORD t = 0;
            if (entry.is_regular_file() && TryParseQelRecordingName(entry.path().filename().string(), t))
                files.emplace_back(t, entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& [time, path] : files) {
        StoreRecording rec;
        try {
            const std::vector<DWORD> tdx = ReadQelIndexFile(path.string() + ".tdx");
            const std::vector<DWORD> mdx = ReadQelIndexFile(path.string() + ".mdx");
            if (tdx.empty()) continue;
            rec.startTime = tdx.front();
            rec.endTime = tdx.back();
            for (DWORD m : mdx) {
                const DWORD kind = m >> 16, event = (m >> 8) & 0xFF, channel = m & 0xFF;
                if (kind != 0 || channel < 1 || channel > 4) continue;
                ++rec.counts[channel - 1];
                if (event != 0) ++rec.eventTypes[channel - 1];
            }
        } catch (const Exception&) {
            continue;
        }
        rec.seq = static_cast<DWORD>(out.size() + 1);
        rec.fileName = path.parent_path().filename().string() + "/" + path.filename().string();
        rec.bytes = fs::file_size(path, ec);
        out.push_back(rec);
    }
    return out;
}

} // namespace recgen
