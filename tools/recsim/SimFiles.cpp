#include "tools/recsim/SimFiles.h"

#include "formats/NetPacket.h"
#include "platform/core/StrUtils.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace recsim {

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(part, path, ec);
    return !ec;
}

SimFiles::SimFiles(std::string storeFolder, const recgen::RecorderIdentity& identity)
    : store_(std::move(storeFolder)) {
    files_["config.ini"] = recgen::DefaultConfigIni(identity);
    files_["schedule.dat"] = recgen::DefaultScheduleDat();
    files_["holiday.ini"] = recgen::DefaultHolidayIni();
    files_["info.ini"] = recgen::DefaultInfoIni(identity);
    if (store_.empty()) return;
    for (const char* name : {"config.ini", "schedule.dat", "holiday.ini", "info.ini", "qeldbfile_hdd.db",
                             "qeldbfile_cf.db", "qeldbfile_sd.db", "loglist.db"}) {
        if (auto bytes = ReadWhole(store_ + "/" + name)) files_[name] = std::move(*bytes);
    }
}

std::optional<std::string> SimFiles::Get(DWORD kind, DWORD disk) const {
    const std::string name = QelFileName(kind, disk);
    if (name.empty()) return std::nullopt;
    std::lock_guard lock(mutex_);
    // Databases are read when asked, so a store regenerated behind the simulator is served fresh.
    if (kind == QELFILE_DATABASE || kind == QELFILE_LOGLIST) {
        if (!store_.empty())
            if (auto bytes = ReadWhole(store_ + "/" + name)) return bytes;
    }
    const auto it = files_.find(name);
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

void SimFiles::Put(DWORD kind, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    if (kind == QELFILE_FIRMWARE) {
        firmware_ = bytes;
        return;
    }
    const std::string name = QelFileName(kind, 0);
    if (name.empty() || kind == QELFILE_DATABASE || kind == QELFILE_LOGLIST) return;
    files_[name] = bytes;
    if (!store_.empty()) WriteWhole(store_ + "/" + name, bytes);
}

std::optional<std::string> SimFiles::Firmware() const {
    std::lock_guard lock(mutex_);
    return firmware_;
}

} // namespace recsim
