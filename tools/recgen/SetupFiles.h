// The setup files a recorder serves when nothing else was uploaded: config.ini, schedule.dat,
// holiday.ini and info.ini.
#pragma once

#include <string>

namespace recgen {

struct RecorderIdentity {
    std::string title = "HARBEK SIM";
    std::string version = "SIM 1.0.0";
    std::string address = "127.0.0.1";
    int cameras = 4;
    std::string systemId = "HARBEK-SIM-000123";
};

std::string DefaultConfigIni(const RecorderIdentity& id);
// 196 bytes: a 4-byte header (first byte 2), then Monday..Sunday and holiday rows of 24 hourly modes.
std::string DefaultScheduleDat();
std::string DefaultHolidayIni();
std::string DefaultInfoIni(const RecorderIdentity& id);

} // namespace recgen
