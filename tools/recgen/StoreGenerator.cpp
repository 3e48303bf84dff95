#include "tools/recgen/StoreGenerator.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "tools/recgen/RecorderDatabases.h"

#include <fstream>

namespace recgen {

namespace {

void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw EWriteError(Format("Cannot write \"%s\"", path.c_str()));
}

} // namespace

void WriteSetupFiles(const std::string& folder, const RecorderIdentity& identity) {
    WriteText(folder + "/config.ini", DefaultConfigIni(identity));
    WriteText(folder + "/schedule.dat", DefaultScheduleDat());
    WriteText(folder + "/holiday.ini", DefaultHolidayIni());
    WriteText(folder + "/info.ini", DefaultInfoIni(identity));
}

std::vector<StoreRecording> GenerateStore(const std::string& folder, const StoreOptions& options,
                                          const RecorderIdentity& identity) {
    std::vector<StoreRecording> recordings = GenerateRecordings(folder, options);
    WriteSetupFiles(folder, identity);
    WriteRecorderDatabases(folder, recordings, identity.systemId);
    return recordings;
}

} // namespace recgen
