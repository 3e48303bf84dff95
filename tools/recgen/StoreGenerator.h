// A whole recorder store for the simulated recorder and for local playback: the recordings, the setup
// files and the recorder's databases.
#pragma once

#include "tools/recgen/RecordingStore.h"
#include "tools/recgen/SetupFiles.h"

#include <string>
#include <vector>

namespace recgen {

// `folder`/avfiles/... recordings, `folder`/config.ini, schedule.dat, holiday.ini, info.ini, and the
// databases (qeldbfile_hdd.db, _cf.db, _sd.db, loglist.db, infofiles/pyrdb). Returns the recordings.
std::vector<StoreRecording> GenerateStore(const std::string& folder, const StoreOptions& options,
                                          const RecorderIdentity& identity);

// Writes the four setup files into `folder`.
void WriteSetupFiles(const std::string& folder, const RecorderIdentity& identity);

} // namespace recgen
