// Recorded files made by hand for the reader's tests: frames of chosen kinds, channels, times and
// payload sizes, each payload stamped with its file's tag and its frame number so that a test can tell
// exactly which frame it got; and the three index files beside them.
#pragma once

#include "formats/ByteOrder.h"
#include "formats/QelAvFile.h"
#include "formats/QelFrameIndex.h"

#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

namespace recmaker {

struct FrameSpec {
    BYTE kind = 0;
    DWORD channel = 1;
    DWORD time = 0;
    DWORD subSecond = 0;
    DWORD len1 = 100;
    DWORD len2 = 0;
    DWORD value = 0;
    BYTE standard = QELSTD_NTSC;
};

struct Made {
    std::string path;
    std::vector<DWORD> offsets;
    std::vector<FrameSpec> frames;
};

// Payload 1 starts with the tag and the frame number; payload 2, when there is one, with the frame number.
inline std::vector<BYTE> Payload(DWORD tag, DWORD number, DWORD length) {
    std::vector<BYTE> bytes(length);
    for (DWORD i = 0; i < length; ++i)
        bytes[i] = static_cast<BYTE>(tag * 31 + number * 7 + i);
    if (length >= 8) {
        PutU32(bytes.data(), tag);
        PutU32(bytes.data() + 4, number);
    }
    return bytes;
}

inline DWORD TagOf(const BYTE* payload1) {
    return GetU32(payload1);
}
inline DWORD NumberOf(const BYTE* payload1) {
    return GetU32(payload1 + 4);
}

// The bytes of a whole recording and its offsets.
inline std::string Encode(const std::vector<FrameSpec>& frames, DWORD tag, std::vector<DWORD>& offsets) {
    std::string bytes;
    offsets.clear();
    for (std::size_t n = 0; n < frames.size(); ++n) {
        const FrameSpec& f = frames[n];
        QelFrameInfo info;
        info.kind = f.kind;
        info.standard = f.standard;
        info.channel = f.channel;
        info.width = 352;
        info.height = 240;
        info.eventState = f.value;
        info.frameTime = f.time;
        info.subSecond = f.subSecond;
        const auto p1 = Payload(tag, static_cast<DWORD>(n), f.len1);
        const auto p2 = Payload(tag + 1000, static_cast<DWORD>(n), f.len2);
        const QelAvFrame frame = QelAvFrame::Make(info, p1, p2);
        const auto encoded = EncodeRecordedFrame(frame, frames.front().time);
        offsets.push_back(static_cast<DWORD>(bytes.size()));
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

// Writes `path` and its ".fdx", ".tdx" and ".mdx".
inline Made Write(const std::string& path, const std::vector<FrameSpec>& frames, DWORD tag) {
    Made made{path, {}, frames};
    testing_support::WriteFileBytes(path, Encode(frames, tag, made.offsets));
    QelFrameIndex index;
    for (std::size_t n = 0; n < frames.size(); ++n)
        index.Add(frames[n].time, made.offsets[n],
                  QelMarksWord(frames[n].kind, frames[n].value, frames[n].channel));
    index.Write(path);
    return made;
}

// `seconds` seconds from `start` of `perSecond` pictures on each of `cameras` cameras, and one sound frame
// at the start of every second when `audio`.
inline std::vector<FrameSpec> Stream(DWORD start, int seconds, int perSecond, int cameras, bool audio) {
    std::vector<FrameSpec> frames;
    for (int s = 0; s < seconds; ++s) {
        if (audio) frames.push_back({1, 1, start + s, 0, 160, 0, 0, QELSTD_NTSC});
        for (int k = 0; k < perSecond; ++k)
            for (int c = 1; c <= cameras; ++c)
                frames.push_back({0, static_cast<DWORD>(c), start + s, static_cast<DWORD>(k + 1), 100, 40, 0,
                                  QELSTD_NTSC});
    }
    return frames;
}

// A file of raw index entries.
inline void WriteIndex(const std::string& path, const std::vector<DWORD>& entries,
                       std::size_t extraBytes = 0) {
    std::string bytes(entries.size() * 4 + extraBytes, '\x5A');
    for (std::size_t i = 0; i < entries.size(); ++i)
        PutU32(reinterpret_cast<BYTE*>(bytes.data()) + 4 * i, entries[i]);
    testing_support::WriteFileBytes(path, bytes);
}

} // namespace recmaker
