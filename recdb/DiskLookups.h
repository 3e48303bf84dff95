// Lookups in the disk database pyrdb for local playback: the file of the current recording, and the
// recording before or after it under the search mode and channel. Plain functions over the volume roots
// and the play list's entry 0, so that the main window only applies their results.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The disk database file: the database volume root followed directly by "pyrdb".
std::string PyrDbPath(const std::string& dbRoot);

// The recording volume root + file_name of the recording whose seq is `entry0`. Empty when entry0 is not
// an integer, no row matches, the name is empty, or pyrdb is missing or unreadable: nothing to play.
std::string GetDbFilePath(const std::string& dbRoot, const std::string& avRoot, const std::string& entry0);

// Channel index for the filters: the search channel - 1, or the selected camera (0..3, 4 all) when the
// search channel is -1. Anything outside 0..4 counts as 4.
int ChannelIndex(int searchChannel, int selectedCamera);

struct NextFileRequest {
    std::string dbRoot;
    std::string entry0; // play-list entry 0: the current seq as decimal text
    bool next = true;
    int searchMode = 1;
    int searchChannel = -1;
    int selectedCamera = 4;
    bool forwardPlayback = true;
};

struct NextFileResult {
    bool found = false;
    std::int64_t seq = 0;       // found: write back to entry 0 as decimal text
    std::optional<int> knobPos; // not found with search channel -1: 1000 forward, 0 reverse
};

// Nothing found also covers mode 3, a non-integer entry 0 and a missing or unreadable pyrdb: the caller
// stops playback instead of failing on every tick of the frame clock.
NextFileResult FindNextFileInDb(const NextFileRequest& request);
