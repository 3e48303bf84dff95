#include "setup/ScheduleFile.h"

#include "platform/core/StrUtils.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

ScheduleModes FreshScheduleModes() {
    ScheduleModes modes{};
    for (auto& row : modes)
        row.fill(1);
    return modes;
}

ScheduleModes ParseScheduleModes(std::string_view bytes) {
    if (bytes.size() <= 1) return FreshScheduleModes();
    if (bytes.size() != kScheduleFileSize)
        throw EScheduleFileError(
            Format("schedule.dat holds %zu bytes instead of %zu", bytes.size(), kScheduleFileSize));
    ScheduleModes modes{};
    for (int r = 0; r < kScheduleRows; ++r)
        for (int h = 0; h < kScheduleHours; ++h) {
            const auto v = static_cast<signed char>(bytes[kScheduleHeaderSize + 24 * r + h]);
            modes[r][h] = v >= 0 && v <= kMaxRecordMode ? v : 0;
        }
    return modes;
}

ScheduleLoad LoadScheduleFile(const std::string& path, ScheduleModes& modes, std::string& error) {
    modes = FreshScheduleModes();
    error.clear();
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        FilePtr created(std::fopen(path.c_str(), "wb"));
        if (created) std::fputc(2, created.get());
        return ScheduleLoad::Created;
    }
    // One byte more than a whole file tells an oversized one without reading it all.
    std::string bytes(kScheduleFileSize + 1, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
    try {
        modes = ParseScheduleModes(bytes);
    } catch (const EScheduleFileError& e) {
        error = bytes.size() > kScheduleFileSize
                    ? Format("schedule.dat is larger than %zu bytes", kScheduleFileSize)
                    : e.what();
        return ScheduleLoad::Refused;
    }
    return ScheduleLoad::Loaded;
}

bool SaveScheduleModes(const std::string& path, const ScheduleModes& modes) {
    FilePtr f(std::fopen(path.c_str(), "r+b"));
    if (!f || std::fseek(f.get(), static_cast<long>(kScheduleHeaderSize), SEEK_SET) != 0) return false;
    std::array<unsigned char, kScheduleRows * kScheduleHours> bytes{};
    for (int r = 0; r < kScheduleRows; ++r)
        for (int h = 0; h < kScheduleHours; ++h) {
            const int m = modes[r][h];
            bytes[static_cast<std::size_t>(24 * r + h)] =
                static_cast<unsigned char>(m >= 0 && m <= 5 ? m : 0);
        }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    return std::fclose(f.release()) == 0 && written;
}

std::string ModeText(int mode) {
    return mode >= 1 && mode <= kMaxRecordMode ? std::string(1, static_cast<char>('0' + mode)) : " ";
}

int ModeFromText(const std::string& text) {
    if (text == " ") return 0;
    int v = 0;
    return TryStrToInt(text, v) && v >= 0 && v <= kMaxRecordMode ? v : 0;
}

int StepModeDown(int mode) {
    if (mode <= 0 || mode > kMaxRecordMode) return kMaxRecordMode;
    return mode - 1;
}

int StepModeUp(int mode) {
    if (mode >= kMaxRecordMode || mode < 0) return 0;
    return mode + 1;
}
