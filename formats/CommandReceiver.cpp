#include "formats/CommandReceiver.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

CCommandReceiver::~CCommandReceiver() {
    DropPartialFile();
}

void CCommandReceiver::Append(const BYTE* data, std::size_t length) {
    if (length == 0) return;
    // Reclaim what the front has given out before the queue grows.
    if (head_ > 0 && (head_ == queue_.size() || head_ >= 65536)) {
        queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    queue_.insert(queue_.end(), data, data + length);
}

void CCommandReceiver::Consume(std::size_t n) {
    head_ += n;
    if (head_ == queue_.size()) {
        queue_.clear();
        head_ = 0;
    }
}

int CCommandReceiver::ReadSize() const {
    if (!fileMode_) return kReadSize;
    const std::uint64_t rest = fileSize_ - fileReceived_;
    // A file that is complete but not yet reported still leaves the next packet to be read.
    if (rest == 0) return kReadSize;
    return static_cast<int>(std::min<std::uint64_t>(rest, kReadSize));
}

bool CCommandReceiver::Next(TReceivedUnit& unit) {
    if (fileMode_) {
        if (emptyFileDue_) {
            emptyFileDue_ = false;
            FinishFile(unit);
            return true;
        }
        const std::size_t available = Queued();
        if (available == 0) return false;
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(available, fileSize_ - fileReceived_));
        WriteFileBytes(queue_.data() + head_, n);
        Consume(n);
        fileReceived_ += n;
        if (fileReceived_ >= fileSize_)
            FinishFile(unit);
        else
            FillFileUnit(unit, TReceivedUnit::FileProgress);
        return true;
    }
    if (Queued() < kNetMsgPacketSize) return false;
    unit = TReceivedUnit{};
    unit.Kind = TReceivedUnit::Packet;
    std::memcpy(unit.packet.bytes.data(), queue_.data() + head_, kNetMsgPacketSize);
    Consume(kNetMsgPacketSize);
    // The announcement decides how the bytes behind it are read, so it takes effect here, before
    // anyone acts on it.
    if (unit.packet.Type() == NETMSG && unit.packet.Command() == NETCMD_FILE) {
        BeginFile(unit.packet);
        unit.FileKind = fileKind_;
        unit.Disk = disk_;
        unit.Size = fileSize_;
        unit.Gauge = gauge_;
        unit.Path = path_;
    }
    return true;
}

void CCommandReceiver::BeginFile(const NetMsgPacket& announcement) {
    DropPartialFile();
    fileMode_ = true;
    fileSize_ = announcement.Arg0();
    fileReceived_ = 0;
    fileKind_ = announcement.Arg1();
    disk_ = fileKind_ == QELFILE_DATABASE ? announcement.Arg2() : 0;
    gauge_ = fileKind_ == QELFILE_DATABASE;
    writeFailed_ = false;
    failure_.clear();
    const std::string name = QelFileName(fileKind_, disk_);
    path_ = name.empty() ? std::string() : folder_ + name;
    emptyFileDue_ = fileSize_ == 0;
    if (path_.empty()) return;
    const std::string partial = PartialName(path_);
    fd_ = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        writeFailed_ = true;
        failure_ = std::strerror(errno);
        DebugTrace("CCommandReceiver::BeginFile",
                   Format("cannot create %s: %s", partial.c_str(), failure_.c_str()));
    }
}

void CCommandReceiver::WriteFileBytes(const BYTE* data, std::size_t length) {
    if (fd_ < 0 || writeFailed_) return;
    while (length > 0) {
        const ssize_t n = ::write(fd_, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            writeFailed_ = true;
            failure_ = std::strerror(n < 0 ? errno : ENOSPC);
            DebugTrace("CCommandReceiver::WriteFileBytes",
                       Format("cannot write %s: %s", path_.c_str(), failure_.c_str()));
            return;
        }
        data += n;
        length -= static_cast<std::size_t>(n);
    }
}

void CCommandReceiver::FillFileUnit(TReceivedUnit& unit, TReceivedUnit::TKind kind) const {
    unit = TReceivedUnit{};
    unit.Kind = kind;
    unit.FileKind = fileKind_;
    unit.Disk = disk_;
    unit.Size = fileSize_;
    unit.Received = fileReceived_;
    unit.Gauge = gauge_;
    unit.Path = path_;
}

void CCommandReceiver::FinishFile(TReceivedUnit& unit) {
    FillFileUnit(unit, TReceivedUnit::FileDone);
    bool stored = false;
    if (fd_ >= 0) {
        const bool closed = ::close(fd_) == 0;
        if (!closed && failure_.empty()) failure_ = std::strerror(errno);
        fd_ = -1;
        const std::string partial = PartialName(path_);
        if (closed && !writeFailed_ && std::rename(partial.c_str(), path_.c_str()) == 0) {
            stored = true;
        } else {
            if (failure_.empty()) failure_ = std::strerror(errno);
            DebugTrace("CCommandReceiver::FinishFile", Format("%s not stored", path_.c_str()));
            std::remove(partial.c_str());
        }
    }
    unit.Stored = stored;
    if (!stored) unit.Failure = failure_;
    fileMode_ = false;
    emptyFileDue_ = false;
    gauge_ = false;
    fileSize_ = 0;
    fileReceived_ = 0;
    path_.clear();
}

void CCommandReceiver::DropPartialFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        std::remove(PartialName(path_).c_str());
    }
}

bool CCommandReceiver::AbandonFile(TReceivedUnit& unit) {
    if (!fileMode_) return false;
    FillFileUnit(unit, TReceivedUnit::FileDone);
    EndFile();
    return true;
}

void CCommandReceiver::EndFile() {
    DropPartialFile();
    fileMode_ = false;
    emptyFileDue_ = false;
    gauge_ = false;
    writeFailed_ = false;
    failure_.clear();
    fileSize_ = 0;
    fileReceived_ = 0;
    path_.clear();
}

void CCommandReceiver::Reset() {
    EndFile();
    queue_.clear();
    head_ = 0;
    fileKind_ = 0;
    disk_ = 0;
}
