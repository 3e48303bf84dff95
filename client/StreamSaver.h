// The stream saver: frames of a backup stream written into recorded files with their index files, one
// hour folder per file, until the stream leaves the chosen span of recordings.
#pragma once

#include "formats/QelAvFrame.h"
#include "formats/QelFrameIndex.h"
#include "recdb/QelDbResults.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The recordings of a backup span (BackupSpanNode, as the backup window reads them from the
// recorder's database), oldest first; the recordings the stream has passed are taken off the front.
using BackupSpanList = std::deque<BackupSpanNode>;

// Decides, frame by frame, whether the stream is still inside the span. The recorder streams past the
// end of the span, so the end is found from the frame times: the last recording ends at the chosen end
// (or its own), every earlier one when its last second is over.
class CBackupGate {
public:
    // Frames this many after the near second move to the next recording even when the end second itself
    // never came.
    static constexpr int kNearFramesLimit = 43;

    void SetRange(DWORD lowestSeq, DWORD highestSeq, BackupSpanList spans);
    void SetEndTime(DWORD endTime) { endTime_ = endTime; }
    void Clear();
    // True while the frame belongs to the span; false once the backup is over.
    bool Pass(DWORD frameTime);

    bool HasRange() const { return !spans_.empty(); }
    const BackupSpanList& Spans() const { return spans_; }
    DWORD HighestSeq() const { return highestSeq_; }

private:
    void NextRecording();

    DWORD lowestSeq_ = 0;
    DWORD highestSeq_ = 0;
    DWORD endTime_ = 0;
    BackupSpanList spans_;
    bool reached_ = false;
    bool near_ = false;
    int afterNear_ = 0;
};

// What the saver could not do, for the window to tell in the user's language.
struct TSaverFailure {
    enum class Step { None, CreateFolder, CreateFile, Write };
    Step step = Step::None;
    std::string path;
    std::string detail; // the system's own words (the C library's error text); may be empty
};

class CStreamSaver {
public:
    enum class Outcome { Saved, SpanEnded, Failed };
    // Percent of the backup saved, 0..100.
    using Progress = std::function<void(int)>;

    // Saving starts: counters cleared, files go under `folder`, whose own hour folders are made as
    // needed. `endTime` is the chosen end of the span, `sizeKB` what the recorder said it would send.
    void Arm(std::string folder, DWORD endTime, DWORD sizeKB);
    void SetRange(DWORD lowestSeq, DWORD highestSeq, BackupSpanList spans) {
        gate_.SetRange(lowestSeq, highestSeq, std::move(spans));
    }
    // A frame of the stream. After Failed, Error() says why; the file keeps the frames written before.
    Outcome Save(const QelAvFrame& frame);
    // Ends saving: the open file gets its index files and, with `pad`, filler blocks up to 2 MiB. False
    // when the file could not be finished (Error() says why).
    bool Finish(bool pad, const Progress& progress = {});

    bool FileOpen() const { return fd_ >= 0; }
    DWORD FileOffset() const { return offset_; }
    DWORD FileStartTime() const { return fileStart_; }
    std::size_t FramesInFile() const { return index_.Count(); }
    DWORD SavedKB() const { return savedKB_; }
    int Percent() const;
    // Why saving stopped, in English for traces; Failure() says the same for the user's window.
    const std::string& Error() const { return error_; }
    const TSaverFailure& Failure() const { return failure_; }
    // Every recording closed so far, in order.
    const std::vector<std::string>& Files() const { return files_; }
    const CBackupGate& Gate() const { return gate_; }

private:
    bool Open(DWORD time);
    bool Close();
    bool WriteAll(const BYTE* data, std::size_t size);
    void Fail(TSaverFailure::Step step, const std::string& path, const std::string& detail);

    CBackupGate gate_;
    std::string folder_;
    DWORD sizeKB_ = 0;
    DWORD savedKB_ = 0;
    int fd_ = -1;
    std::string path_;
    DWORD fileStart_ = 0;
    DWORD offset_ = 0;
    QelFrameIndex index_;
    std::vector<std::string> files_;
    std::string error_;
    TSaverFailure failure_;
};
