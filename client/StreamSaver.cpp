#include "client/StreamSaver.h"

#include "formats/QelAvFile.h"
#include "formats/QelNames.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void CBackupGate::SetRange(DWORD lowestSeq, DWORD highestSeq, BackupSpanList spans) {
    lowestSeq_ = lowestSeq;
    highestSeq_ = highestSeq;
    spans_ = std::move(spans);
    // The terminating node of the database's list carries nothing.
    while (!spans_.empty() && spans_.back().seq == 0 && spans_.back().start_time == 0 &&
           spans_.back().end_time == 0)
        spans_.pop_back();
    reached_ = near_ = false;
    afterNear_ = 0;
}

void CBackupGate::Clear() {
    SetRange(0, 0, {});
    endTime_ = 0;
}

void CBackupGate::NextRecording() {
    spans_.pop_front();
    reached_ = near_ = false;
    afterNear_ = 0;
}

bool CBackupGate::Pass(DWORD frameTime) {
    // A stream saved without a span (the searched stream) runs until it is stopped.
    if (spans_.empty()) return true;
    const BackupSpanNode& node = spans_.front();
    if (node.seq == highestSeq_) {
        const DWORD limit = endTime_ != 0 ? std::min(endTime_, node.end_time) : node.end_time;
        if (frameTime == limit) reached_ = true;
        // A frame past the limit ends the span even when no frame fell on the limit itself.
        if ((reached_ && frameTime != limit) || frameTime > limit) {
            reached_ = near_ = false;
            afterNear_ = 0;
            return false;
        }
        return true;
    }
    if (node.seq > highestSeq_) return true;
    const DWORD end = node.end_time;
    if (frameTime == end) reached_ = true;
    if (reached_) {
        if (frameTime != end) NextRecording();
        return true;
    }
    if (frameTime + 1 == end || frameTime == end + 1) {
        near_ = true;
    } else if (near_ && ++afterNear_ > kNearFramesLimit) {
        NextRecording();
    }
    return true;
}

void CStreamSaver::Arm(std::string folder, DWORD endTime, DWORD sizeKB) {
    // A file left open by an earlier save is closed whole; the span just handed over stays.
    if (FileOpen()) Close();
    folder_ = std::move(folder);
    while (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
    gate_.SetEndTime(endTime);
    sizeKB_ = sizeKB;
    savedKB_ = 0;
    offset_ = 0;
    fileStart_ = 0;
    index_.Clear();
    error_.clear();
    failure_ = {};
}

int CStreamSaver::Percent() const {
    if (sizeKB_ == 0) return 0;
    return static_cast<int>(std::min<std::uint64_t>(100, std::uint64_t{savedKB_} * 100 / sizeKB_));
}

void CStreamSaver::Fail(TSaverFailure::Step step, const std::string& path, const std::string& detail) {
    failure_ = {step, path, detail};
    const char* what = step == TSaverFailure::Step::CreateFolder ? "Cannot create folder"
                       : step == TSaverFailure::Step::CreateFile ? "Cannot create file"
                                                                 : "Cannot write";
    error_ = Format("%s \"%s\". %s", what, path.c_str(), detail.c_str());
}

bool CStreamSaver::Open(DWORD time) {
    const std::string hour = folder_ + "/" + QelHourFolderName(time);
    if (::mkdir(hour.c_str(), 0777) != 0 && errno != EEXIST) {
        Fail(TSaverFailure::Step::CreateFolder, hour, std::strerror(errno));
        return false;
    }
    path_ = hour + "/" + QelRecordingName(time);
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Fail(TSaverFailure::Step::CreateFile, path_, std::strerror(errno));
        return false;
    }
    fileStart_ = time;
    offset_ = 0;
    index_.Clear();
    return true;
}

bool CStreamSaver::WriteAll(const BYTE* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // Cut what did not fit, so the file ends after its last whole frame or block.
            if (::ftruncate(fd_, static_cast<off_t>(offset_)) != 0) {
                // Nothing more can be done about it; the index still names whole frames only.
            }
            ::lseek(fd_, static_cast<off_t>(offset_), SEEK_SET);
            Fail(TSaverFailure::Step::Write, path_, std::strerror(error));
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool CStreamSaver::Close() {
    bool ok = ::close(fd_) == 0;
    if (!ok) Fail(TSaverFailure::Step::Write, path_, std::strerror(errno));
    fd_ = -1;
    try {
        index_.Write(path_);
    } catch (const Exception& e) {
        // A half-written index would send a player to wrong offsets; without one it is rebuilt.
        for (const char* ext : {".tdx", ".fdx", ".mdx"})
            ::unlink((path_ + ext).c_str());
        Fail(TSaverFailure::Step::Write, path_ + ".tdx", e.what());
        ok = false;
    }
    files_.push_back(path_);
    index_.Clear();
    fileStart_ = 0;
    offset_ = 0;
    return ok;
}

CStreamSaver::Outcome CStreamSaver::Save(const QelAvFrame& frame) {
    const DWORD time = frame.info.frameTime;
    std::vector<BYTE> record;
    try {
        record = EncodeRecordedFrame(frame, FileOpen() ? fileStart_ : time);
    } catch (const Exception& e) {
        Fail(TSaverFailure::Step::Write, path_, e.what());
        return Outcome::Failed;
    }
    savedKB_ += static_cast<DWORD>(record.size() / 1024);
    if (!gate_.Pass(time)) return Outcome::SpanEnded;
    if (!FileOpen() && !Open(time)) return Outcome::Failed;
    if (!WriteAll(record.data(), record.size())) return Outcome::Failed;
    index_.Add(time, offset_, QelMarksWord(frame.info.kind, frame.info.eventState, frame.info.channel));
    offset_ += static_cast<DWORD>(record.size());
    if (index_.Count() >= kQelFileMaxFrames || offset_ >= kQelFileMaxBytes) {
        if (!Close()) return Outcome::Failed;
    }
    return Outcome::Saved;
}

bool CStreamSaver::Finish(bool pad, const Progress& progress) {
    bool ok = true;
    if (FileOpen()) {
        if (pad) {
            const std::vector<BYTE> filler = QelFillerBlock();
            while (offset_ < kQelBackupPadBytes) {
                // Filler is only padding: a disk too full for it still leaves a whole recording.
                if (!WriteAll(filler.data(), filler.size())) {
                    error_.clear();
                    break;
                }
                offset_ += static_cast<DWORD>(filler.size());
                if (progress && sizeKB_ != 0)
                    progress(static_cast<int>(
                        std::min<std::uint64_t>(100, std::uint64_t{offset_ / 1024} * 100 / sizeKB_)));
            }
        }
        ok = Close();
    }
    savedKB_ = 0;
    fileStart_ = 0;
    offset_ = 0;
    index_.Clear();
    gate_.Clear();
    return ok;
}
