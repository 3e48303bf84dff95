// The recorded-file reader: one recorded file with its frame index, the play list, and the reader
// thread with its two frame rings. The main window owns one for the whole run.
#pragma once

#include "client/QelAvFile.h"
#include "client/QelAvFrame.h"

#include "platform/core/Streams.h"
#include "platform/core/Threads.h"
#include "platform/core/Types.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where the reader's tuning lives (HKEY_LOCAL_MACHINE).
inline constexpr const char kReaderRegistryKey[] = "SOFTWARE\\DvrHarbek\\Harbek";
inline constexpr int kDefaultFramesPerSecond = 15;
inline constexpr int kDefaultReadSeconds = 1;
inline constexpr int kDefaultFileBufSize = 0x80000;
// Tuning beyond these would make rings or buffers no reader needs; such values keep their defaults.
inline constexpr int kMaxFramesPerRound = 1000;
inline constexpr int kMaxFileBufSize = 64 << 20;
inline constexpr int kPlayListSize = 2000;

// One frame read ahead: copies of its header and info block, the values the frame clock uses, and its
// payloads. The consumer frees the payloads it has used (reset) before it moves the read index on.
struct QelFrameRecord {
    std::array<BYTE, kFrmHdrSize> header{};
    std::array<BYTE, kQelFrameInfoSize> info{};
    DWORD time = 0;
    DWORD payloadLen1 = 0;
    DWORD payloadLen2 = 0;
    DWORD channel = 0;
    DWORD subSecond = 0;
    DWORD standard = 0;
    DWORD width = 0;
    DWORD height = 0;
    DWORD value = 0;
    DWORD framePeriod = 0;
    DWORD indexPos = 0;
    DWORD indexCount = 0;
    BYTE lastOfFile = 0;
    BYTE timeJump = 0;
    std::unique_ptr<BYTE[]> payload1;
    std::unique_ptr<BYTE[]> payload2;
};

// Write index, read index and count of one ring. Only `count` is changed by both threads.
struct QelRingHead {
    int writeIndex = 0;
    int readIndex = 0;
    std::atomic<int> count{0};
};

class CQelVideoFile {
public:
    CQelVideoFile();
    ~CQelVideoFile();
    CQelVideoFile(const CQelVideoFile&) = delete;
    CQelVideoFile& operator=(const CQelVideoFile&) = delete;

    // Reads "1SEC", "READ_SEC", "FILEBUFSIZE" and "REPEAT"; each value that cannot be read keeps its
    // default.
    void LoadRegistrySettings();
    int GetFramesPerRound() const { return framesPerRound; }
    int GetRepeat() const { return repeat; }
    int GetRingCapacity() const { return ringCapacity; }
    int GetFileBufSize() const { return fileBufSize; }

    // Ends the reader thread if one runs, closes its event and empties both rings.
    void StopReader();
    bool IsReaderRunning() const { return running.load() != 0; }
    // Closes the recording and frees its frame index; always 0.
    int Close();
    bool IsOpen() const { return stream != nullptr; }
    int GetIndexCount() const { return indexCount; }
    int GetIndexPos() const { return indexPos; }

    // Frees the payloads held in the ring and zeroes the head.
    void ClearRing(QelRingHead& head, std::vector<QelFrameRecord>& records);
    bool IsRingHalfFull(const QelRingHead& head) const { return head.count.load() >= ringCapacity / 2; }

    QelRingHead& VideoHead() { return videoHead; }
    QelRingHead& AudioHead() { return audioHead; }
    std::vector<QelFrameRecord>& VideoRing() { return videoRing; }
    std::vector<QelFrameRecord>& AudioRing() { return audioRing; }

private:
    void ResetFrameState();

    std::unique_ptr<TFileStream> stream;
    int indexCount = 0;
    int indexPos = 0;
    DWORD fileOffset = 0;
    std::vector<DWORD> index;
    DWORD payloadLen1 = 0;
    DWORD payloadLen2 = 0;
    int startParam = 0;
    int skipFactor = 1;
    int direction = 1;
    DWORD skipSecond = 0;
    DWORD fileSize = 0;
    int stepSign = 1;
    std::array<int, 4> skipCountdown{1, 1, 1, 1};
    int listPos = 0;
    int listEnd = 0;
    int listStart = 0;
    std::vector<std::string> playList;
    int framesPerRound = kDefaultFramesPerSecond * kDefaultReadSeconds;
    int ringCapacity = 4 * kDefaultFramesPerSecond * kDefaultReadSeconds;
    int fileBufSize = kDefaultFileBufSize;
    int repeat = 0;
    HANDLE threadHandle = nullptr;
    DWORD threadId = 0;
    HANDLE wakeEvent = nullptr;
    std::atomic<int> running{0};
    std::vector<QelFrameRecord> videoRing;
    std::vector<QelFrameRecord> audioRing;
    QelRingHead videoHead;
    QelRingHead audioHead;
    std::vector<BYTE> fileBuffer;
    std::array<BYTE, kFrmHdrSize> frameHeader{};
    std::array<BYTE, kQelFrameInfoSize> frameInfo{};
    int chainMode = 0;
    std::string avRoot;
    std::string dbRoot;
    int chainSeq = 0;
    DWORD lastAudioTime = 0;
};
