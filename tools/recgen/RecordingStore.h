// A recording store: the recorder disk's "avfiles" tree of recorded files with their index files,
// generated for a span of days, and the list of its recordings as the recorder's databases index them.
#pragma once

#include "platform/core/Types.h"
#include "tools/recgen/SynthStream.h"

#include <array>
#include <string>
#include <vector>

namespace recgen {

struct StoreRecording {
    DWORD seq = 0;
    std::string fileName;              // relative to the "avfiles" folder: hour folder "/" recording name
    DWORD startTime = 0;               // first frame
    DWORD endTime = 0;                 // last frame
    std::array<DWORD, 4> counts{};     // video frames per channel
    std::array<DWORD, 4> eventTypes{}; // frames with an event state per channel
    std::uint64_t bytes = 0;           // size of the recorded file
    bool HasEvent() const { return eventTypes[0] || eventTypes[1] || eventTypes[2] || eventTypes[3]; }
};

struct StoreOptions {
    int year = 2008, month = 1, day = 1; // first day
    int days = 3;
    std::vector<int> hours = {8, 12, 17}; // one recording starts at each of these hours of every day
    int secondsPerRecording = 60;
    SynthStreamOptions stream; // framesPerSecond is per camera; 0 would be the full rate
    StoreOptions() {
        stream.framesPerSecond = 2;
        stream.quality = 40;
    }
};

// Writes `folder`/avfiles/<hour folder>/<recording> with ".fdx", ".tdx", ".mdx" for every recording.
// The recording at the middle hour of each day carries events. Returns the recordings, seq from 1.
std::vector<StoreRecording> GenerateRecordings(const std::string& folder, const StoreOptions& options);

// Lists the recordings under `folder`/avfiles by reading their index files, in time order, seq from 1.
// Recordings without readable ".tdx" and ".mdx" files are left out.
std::vector<StoreRecording> ScanRecordings(const std::string& folder);

} // namespace recgen
