// Setup edits that have not reached the recorder. APPLY keeps the pass's configuration (config.ini as
// received and as edited) in a folder of its own per recorder before it sends, with the recording page's
// modified word (the schedule files the recorder already took in that pass), and forgets it once the
// recorder has applied it; CANCEL forgets it too. A later setup pass with that recorder, even after the
// link was lost and the received files deleted, replays the kept edits on what the recorder then holds
// and takes the word back, so the user sees the edits again and the next APPLY sends them and tells the
// recorder to apply the schedule files too.
#pragma once

#include "platform/core/Types.h"

#include <optional>
#include <string>

namespace setup_unapplied {

// "host:port" of the recorder a pass is for, as the user reached it.
std::string RecorderId(const std::string& host, const std::string& port);

// "<folder>Unapplied/<host>_<port>/" for the recorder "host:port"; characters a folder name should not
// carry become "_".
std::string KeptFolder(const std::string& folder, const std::string& recorder);

// Copies temp_config.ini and config.ini of the folder into the recorder's kept folder and notes the
// modified word; false when they could not be kept.
bool Keep(const std::string& folder, const std::string& recorder, DWORD modified);
bool Has(const std::string& folder, const std::string& recorder);

// What a replay brought back of the kept pass.
struct TReplayed {
    int edits = 0;      // keys that pass set, changed or deleted
    DWORD modified = 0; // its modified word (bits 1 and 2 only)
    bool Any() const { return edits > 0 || modified != 0; }
};
// Sets, changes and deletes in section "config" of the folder's config.ini what the kept edit changed
// against the kept received file; every other byte stays. Nothing when nothing was kept or the file
// cannot be written.
std::optional<TReplayed> Replay(const std::string& folder, const std::string& recorder);
void Forget(const std::string& folder, const std::string& recorder);

} // namespace setup_unapplied
