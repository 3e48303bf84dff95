// The three index files beside a recorded file: flat little-endian u32 arrays, one entry per frame, no
// header. ".tdx" frame times, ".fdx" frame offsets, ".mdx" marks words.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

// A recorded file holds at most this many frames, so no index is longer.
inline constexpr DWORD kQelFileMaxFrames = 7200;

// (kind & 0xFF) << 16 | (event state & 0xFF) << 8 | channel, a channel outside 1..4 counted as 1.
DWORD QelMarksWord(BYTE kind, DWORD eventState, DWORD channel);

struct QelFrameIndex {
    std::vector<DWORD> times;
    std::vector<DWORD> offsets;
    std::vector<DWORD> marks;

    void Add(DWORD time, DWORD offset, DWORD marksWord);
    std::size_t Count() const { return times.size(); }
    void Clear();
    // Creates `recordingPath` + ".tdx", ".fdx" and ".mdx" anew. Raises EFCreateError or EWriteError.
    void Write(const std::string& recordingPath) const;
};

// Reads one index file. Trailing bytes past a multiple of 4 are ignored. Raises EFOpenError when it
// cannot be opened, EReadError when it cannot be read and EQelFormatError when it holds more than
// kQelFileMaxFrames entries.
std::vector<DWORD> ReadQelIndexFile(const std::string& path);
