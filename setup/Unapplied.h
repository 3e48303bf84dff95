// Setup edits that have not reached the recorder. APPLY keeps the pass's configuration (config.ini as
// received and as edited) in a folder of its own per recorder before it sends, and forgets it once the
// recorder has applied it; CANCEL forgets it too. A later setup pass with that recorder, even after the
// link was lost and the received files deleted, replays the kept edits on what the recorder then holds,
// so the user sees them again and the next APPLY sends them.
#pragma once

#include <string>

namespace setup_unapplied {

// "host:port" of the recorder a pass is for, as the user reached it.
std::string RecorderId(const std::string& host, const std::string& port);

// "<folder>Unapplied/<host>_<port>/" for the recorder "host:port"; characters a folder name should not
// carry become "_".
std::string KeptFolder(const std::string& folder, const std::string& recorder);

// Copies temp_config.ini and config.ini of the folder into the recorder's kept folder; false when they
// could not be copied.
bool Keep(const std::string& folder, const std::string& recorder);
bool Has(const std::string& folder, const std::string& recorder);
// Sets, changes and deletes in section "config" of the folder's config.ini what the kept edit changed
// against the kept received file; every other byte stays. False when nothing was kept or the file
// cannot be written.
bool Replay(const std::string& folder, const std::string& recorder);
void Forget(const std::string& folder, const std::string& recorder);

} // namespace setup_unapplied
