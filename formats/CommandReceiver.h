// What arrives on the command connection, cut into units in arrival order: 112-byte packets, and after a
// file announcement (command 104) exactly the announced number of raw file bytes, stored in the
// program folder under the kind's name. Input is one byte queue: a read adds to its back, and units are
// taken from its front one at a time, each removed before it is acted on, so a handler that pumps
// messages (and so reads again) can never see newer bytes before older ones.
#pragma once

#include "formats/NetPacket.h"

#include <cstdint>
#include <string>
#include <vector>

struct TReceivedUnit {
    enum TKind {
        Packet,       // `packet` holds it; a file announcement has already switched to file mode
        FileProgress, // file bytes were taken; more are due
        FileDone,     // the last byte of the file was taken (or it was empty)
    };
    TKind Kind = Packet;
    NetMsgPacket packet;
    // Files: what the announcement said and how far it got.
    DWORD FileKind = 0;
    DWORD Disk = 0;
    std::uint64_t Size = 0;
    std::uint64_t Received = 0;
    bool Gauge = false;  // a recorder database: the download gauge follows it
    bool Stored = false; // FileDone: the file is complete under its final name
    std::string Path;    // final path; empty when the kind names no file
    std::string Failure; // FileDone without Stored: why, in the system's words
};

class CCommandReceiver {
public:
    static constexpr int kReadSize = 4096;

    CCommandReceiver() = default;
    ~CCommandReceiver();
    CCommandReceiver(const CCommandReceiver&) = delete;
    CCommandReceiver& operator=(const CCommandReceiver&) = delete;

    // Where received files go (ends with '/').
    void SetFolder(const std::string& folder) { folder_ = folder; }
    const std::string& Folder() const { return folder_; }

    void Append(const BYTE* data, std::size_t length);
    // Takes the next complete unit off the front; false when none is complete yet.
    bool Next(TReceivedUnit& unit);
    // The connection is gone or a new one starts: forgets queued bytes, closes and deletes a partial file.
    void Reset();
    // Gives up the file being received (it will not come whole in time): its partial file is deleted and
    // the bytes from here on are read as packets again. `unit` says what was announced and how much
    // came; false when no file was being received.
    bool AbandonFile(TReceivedUnit& unit);

    // Bytes the next read should ask for: the rest of the file being received, at most 4096.
    int ReadSize() const;
    // 0 packets, 1 file.
    int ReceiveMode() const { return fileMode_ ? 1 : 0; }
    std::uint64_t RecvFileSize() const { return fileSize_; }
    std::uint64_t RecvFileReceived() const { return fileReceived_; }
    bool ShowDownloadGauge() const { return fileMode_ && gauge_; }
    std::size_t Queued() const { return queue_.size() - head_; }

    // The name a file is written under until its last byte is in.
    static std::string PartialName(const std::string& path) { return path + ".part"; }

private:
    void BeginFile(const NetMsgPacket& announcement);
    void WriteFileBytes(const BYTE* data, std::size_t length);
    void FinishFile(TReceivedUnit& unit);
    void FillFileUnit(TReceivedUnit& unit, TReceivedUnit::TKind kind) const;
    void DropPartialFile();
    // The file in progress dropped and its state cleared.
    void EndFile();
    void Consume(std::size_t n);

    std::string folder_;
    std::vector<BYTE> queue_;
    std::size_t head_ = 0;

    bool fileMode_ = false;
    bool emptyFileDue_ = false; // a size-0 announcement completes with the next unit
    std::uint64_t fileSize_ = 0;
    std::uint64_t fileReceived_ = 0;
    DWORD fileKind_ = 0;
    DWORD disk_ = 0;
    bool gauge_ = false;
    bool writeFailed_ = false;
    std::string failure_; // why the file cannot be stored, once it is known
    std::string path_;
    int fd_ = -1;
};
