// The recorded-file reader: one recorded file with its frame index, the play list, and the reader
// thread with its two frame rings. The main window owns one for the whole run.
#pragma once

#include "formats/QelAvFile.h"
#include "formats/QelAvFrame.h"
#include "playback/QelFileWindow.h"

#include "platform/core/Streams.h"
#include "platform/core/Threads.h"
#include "platform/core/Types.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
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
// The Temporary/ copy of an index is named by the recording's 14 digits and ".fdx".
inline constexpr std::size_t kIndexCopyNameLength = 18;
// Index files are read in pieces of this size.
inline constexpr int kIndexReadPiece = 512;
// Speeds go up to 8; anything larger only makes the skip loop longer.
inline constexpr int kMaxSkipFactor = 64;
// Where the reader waits for a wake-up before it looks at `running` again.
inline constexpr DWORD kReaderWakeTimeoutMs = 50;
// How far a still picture looks, each way from its position, for the other cameras' pictures.
inline constexpr int kStillSearchFrames = 256;

// One frame read ahead: copies of its header and info block, the values the frame clock uses, and its
// payloads. The consumer frees the payloads it has used (reset) before it moves the read index on.
// A cache line of its own: the reader fills one slot while the consumer frees the one before.
struct alignas(64) QelFrameRecord {
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
    // Which recording the frame is of (CQelVideoFile::GetFileKey).
    std::size_t fileKey = 0;
    // Atomic: in database chaining the reader may mark a record the consumer already holds.
    std::atomic<BYTE> lastOfFile{0};
    std::atomic<BYTE> timeJump{0};
    QelPayload payload1;
    QelPayload payload2;
};

// Write index, read index and count of one ring. Only `count` is changed by both threads. Each word
// has a cache line of its own, so that one thread's writes do not take the other's reads away.
struct QelRingHead {
    alignas(64) int writeIndex = 0;
    alignas(64) int readIndex = 0;
    alignas(64) std::atomic<int> count{0};
};

// What the search windows and the main window's camera choice say about the files and frames to play.
// The reader thread asks for it when it starts and when it chains through the disk database.
struct QelSearchFilter {
    int searchMode = 1;     // 1 all, 2 event, 3 back
    int searchChannel = -1; // -1 all, else 1..4
    int selectedCamera = 4; // 0..3, 4 all four
};
using QelSearchFilterSource = std::function<QelSearchFilter()>;

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

    // --- The file and its frame index ---

    // Opens a recording and loads name + ".fdx". Returns whether the index loaded; the file stays open
    // without one. A file that cannot be opened raises EFOpenError.
    bool Open(const std::string& name);
    // Closes the recording and frees its frame index; always 0.
    int Close();
    bool IsOpen() const { return stream != nullptr; }
    // The named index, or its copy in Temporary/ when it is missing or empty.
    bool LoadIndex(const std::string& name);
    // Position of the first entry equal to `value`; 0 when none matches or the file cannot be read.
    // For the open recording's own time index that disagrees with its frame index, the frames' times.
    int FindInIndexFile(const std::string& name, DWORD value);
    int GetIndexCount() const { return indexCount; }
    int GetIndexPos() const { return indexPos; }
    // Counts above the loaded entries are held at what was loaded.
    void SetIndexCount(int n);
    void SetIndexPos(int n) { indexPos = n; }
    DWORD GetFileSize() const { return fileSize; }
    DWORD GetFileOffset() const { return fileOffset; }
    // Tells the recordings apart: the same for every opening of one file.
    std::size_t GetFileKey() const { return fileKey; }

    // --- The current frame ---

    bool ReadFrameHeaders();
    // Start code, payload-1 limit, and both padded payloads inside the frame limit and the file.
    bool IsFrameValid();
    // Reads `length` bytes into `buffer`; false for a length below 1, one that runs past the end of the
    // file or past the largest frame, or a short read.
    bool ReadPayload(BYTE* buffer, int length);
    DWORD GetFrameTime() const;
    DWORD GetFrameAttr() const;
    DWORD GetFrameChannel() const;
    BYTE GetFrameKind() const { return frameInfo[0]; }
    DWORD GetPayloadLen1() const { return payloadLen1; }
    DWORD GetPayloadLen2() const { return payloadLen2; }
    const std::array<BYTE, kFrmHdrSize>& GetFrameHeader() const { return frameHeader; }
    const std::array<BYTE, kQelFrameInfoSize>& GetFrameInfo() const { return frameInfo; }
    int GetStepSign() const { return stepSign; }

    // --- Positioning ---

    bool SeekFirstFrame();
    bool SeekLastFrame();
    bool SeekIndex(int n);
    bool StepNext();
    bool StepPrev();
    bool StepNextSkipping(int skip);
    bool StepPrevSkipping(int skip);
    bool NextIndexEntry();
    bool PrevIndexEntry();
    bool SeekToIndexEntry();
    // The last start code from the end of a file without index.
    bool ScanBackForFrame();

    // --- Reader thread and rings ---

    // Ends a running reader, then starts a new one from the current frame. `third` is kept only.
    void StartReader(int skip, int forward, int third);
    // Ends the reader thread if one runs, closes its event and empties both rings. False when the thread
    // has not ended within the limit (a read the disk does not answer): it then ends by itself, and this
    // object must be left to it.
    bool StopReader(DWORD limitMs = INFINITE);
    bool IsReaderRunning() const { return running.load() != 0; }
    // The consumer's wake-up: the reader reads only after one.
    void WakeReader();
    int GetStartParam() const { return startParam; }
    int GetSkipFactor() const { return skipFactor; }
    int GetDirection() const { return direction; }

    // Frees the payloads held in the ring and zeroes the head.
    void ClearRing(QelRingHead& head, std::vector<QelFrameRecord>& records);
    bool IsRingHalfFull(const QelRingHead& head) const { return head.count.load() >= ringCapacity / 2; }
    // The oldest queued record, or nullptr when the ring is empty.
    QelFrameRecord* OldestRecord(QelRingHead& head, std::vector<QelFrameRecord>& records);
    // Frees the oldest record's payloads and hands its slot back to the reader.
    void ReleaseOldest(QelRingHead& head, std::vector<QelFrameRecord>& records);

    // With the reader stopped: each camera's last picture up to index position `pos` (or, for a camera
    // with none before it, its first after it), within a second of its time, into frames[channel - 1];
    // which were found. The file is left at `pos`.
    std::array<bool, 4> FramesAround(int pos, std::array<QelFrameRecord, 4>& frames);

    QelRingHead& VideoHead() { return videoHead; }
    QelRingHead& AudioHead() { return audioHead; }
    std::vector<QelFrameRecord>& VideoRing() { return videoRing; }
    std::vector<QelFrameRecord>& AudioRing() { return audioRing; }

    // --- Play list and database chaining ---

    void SetListItem(const std::string& name, int index);
    // Makes `index` the current position and returns its entry ("" outside the list).
    std::string GetListItem(int index);
    void ClearList();
    int GetListPos() const { return listPos; }
    void SetListPos(int n) { listPos = n; }
    int GetListEnd() const { return listEnd; }
    void SetListEnd(int n) { listEnd = n; }
    int GetListStart() const { return listStart; }
    void SetListStart(int n) { listStart = n; }
    // `dbFolder` holds pyrdb, `avFolder` the recordings; both end in a separator.
    void SetDbChaining(int mode, const std::string& dbFolder, const std::string& avFolder, int seq);
    int GetChainMode() const { return chainMode; }
    int GetChainSeq() const { return chainSeq; }
    // Leaves the next (or, backwards, previous) recording's full name in entry 1, "" when there is none.
    void FindNextFileInDb();
    // The play list, its bounds and its chaining, of a reader left to a thread that did not end.
    void TakePlayListFrom(const CQelVideoFile& other);
    // The main window tells the reader where its search mode, channel and camera come from; without a
    // source every file and channel plays.
    void SetSearchFilterSource(QelSearchFilterSource source) { searchFilterSource = std::move(source); }

private:
    void ResetFrameState();
    // Reads a whole index file of at most kQelFileMaxFrames entries; false when it cannot.
    static bool ReadIndexEntries(const std::string& path, std::vector<DWORD>& entries);
    // The frame index of recording `name` as Open takes it: checked against the recording.
    bool LoadCheckedIndex(const std::string& name);
    // The time of the frame at index position `pos`, read without moving the current frame.
    bool FrameTimeAt(int pos, DWORD& time);
    // `count` bytes at readPos, never past fileSize; false when they are not all there.
    bool ReadBytes(BYTE* out, int count);
    // `length` payload bytes at readPos as ReadPayload reads them, lent out of the file window.
    QelPayload LendPayload(int length);
    bool StepSkipping(bool forward, int skip);
    QelSearchFilter SearchFilter() const;

    static DWORD ReaderThreadProc(LPVOID parameter);
    void ReaderLoop();
    // The current frame into a record, its payloads lent; false when they cannot be read.
    bool FillRecord(QelFrameRecord& record, bool video);
    // Copies the current frame into the next slot of a ring, not yet counted; false when its payloads
    // cannot be read.
    bool QueueFrame(QelRingHead& head, std::vector<QelFrameRecord>& records, bool video);
    // The next (forward) or previous file at the end of the current one.
    enum class ChainResult { Stop, Opened, Positioned };
    ChainResult ChainToNextFile(bool forward);
    // Raises a ring's count by the slots queued since the last raise.
    static void Publish(QelRingHead& head, int& queued);
    void StopAtEnd(int lastVideoSlot, int& queuedVideo, int& queuedAudio);

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
    // Atomic: a reader left to a thread that did not end still moves them while its list is taken over.
    std::atomic<int> listPos{0};
    std::atomic<int> listEnd{0};
    std::atomic<int> listStart{0};
    std::vector<std::string> playList;
    int framesPerRound = kDefaultFramesPerSecond * kDefaultReadSeconds;
    int ringCapacity = 4 * kDefaultFramesPerSecond * kDefaultReadSeconds;
    int fileBufSize = kDefaultFileBufSize;
    int repeat = 0;
    HANDLE threadHandle = nullptr;
    HANDLE wakeEvent = nullptr;
    std::atomic<int> running{0};
    // Before the rings, which may hold payloads lent from it.
    CQelFileWindow window;
    std::vector<QelFrameRecord> videoRing;
    std::vector<QelFrameRecord> audioRing;
    QelRingHead videoHead;
    QelRingHead audioHead;
    std::array<BYTE, kFrmHdrSize> frameHeader{};
    std::array<BYTE, kQelFrameInfoSize> frameInfo{};
    // Where the next read starts.
    std::int64_t readPos = 0;
    // The block the backward search for a start code read last.
    std::vector<BYTE> scanBlock;
    std::int64_t scanStart = 0;
    std::int64_t scanFill = 0;
    int chainMode = 0;
    std::string avRoot;
    std::string dbRoot;
    std::atomic<int> chainSeq{0};
    DWORD lastAudioTime = 0;
    std::string openName;
    std::size_t fileKey = 0;

    // Kept from run to run: the time of the frame stepped on before, and the flags waiting for the next
    // record taken (a dropped frame passes them on, so no end of file goes unseen).
    bool previousTimeSet = false;
    DWORD previousFrameTime = 0;
    BYTE pendingLastOfFile = 0;
    BYTE pendingTimeJump = 0;
    QelSearchFilterSource searchFilterSource;

    static CRITICAL_SECTION threadCreation;
};
