// The recorder's side of the command connection: cuts the client's bytes into packets (and the raw
// bytes of uploads), logs them and answers, with the faults that are switched on.
#pragma once

#include "formats/NetPacket.h"
#include "tools/recgen/RecordingStore.h"
#include "tools/recsim/Outbox.h"
#include "tools/recsim/PacketLog.h"
#include "tools/recsim/SimFiles.h"
#include "tools/recsim/SimOptions.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace recsim {

// What the command side asks of the A/V side.
class StreamControl {
public:
    virtual ~StreamControl() = default;
    virtual void StartLive() = 0;
    virtual void StartSearch(DWORD time) = 0;
    virtual void StartBackup(DWORD start, DWORD end, DWORD type, DWORD seq) = 0;
    virtual void StopStream() = 0;
    virtual void Pause() = 0;
    virtual void Play() = 0;
    virtual void CloseAv() = 0;
};

// An upload larger than this is refused and the connection closed: a recorder has no room for it.
inline constexpr std::size_t kMaxUploadBytes = 64u << 20;

// A setup file (kinds 1, 3, 6) whose upload the faults answer with silence or result 0: the recorder
// does not keep it.
bool UploadTurnedAway(const SimFaults& faults, DWORD kind);

class CommandHandler {
public:
    CommandHandler(const RecSimOptions& options, std::function<SimFaults()> faults, Outbox& outbox,
                   SimFiles& files, PacketLog& log, StreamControl& streams,
                   std::vector<recgen::StoreRecording> recordings);

    // Bytes from the client, in any pieces.
    void Input(const BYTE* data, std::size_t length);
    // The connection closed: forget half-read packets and uploads.
    void Reset();
    bool LoggedIn() const { return loggedIn_; }
    DWORD RecordStateNow() const { return recordState_; }
    // What the reply to 109 reports from now on.
    void SetStatus(DWORD status) { status_ = status; }
    DWORD Status() const { return status_; }

    // Sends what the firmware installation has to say by now; called by the I/O thread in its loop.
    void Tick();

    // The held replies to `command` (0: to every command) go out now, in the order they were held, at
    // most `most` of them. Returns how many.
    std::size_t ReleaseReplies(DWORD command, std::size_t most = SIZE_MAX);
    std::size_t HeldReplies(DWORD command) const;
    // Of the replies to a held command, the next `replies` still go out before the hold takes them.
    void PassBeforeHold(DWORD command, std::size_t replies);

    // Sends a unit with the split faults applied.
    void SendUnit(const std::vector<BYTE>& unit, int delayMs = 0);
    void SendPacket(const NetMsgPacket& packet, int delayMs = 0);

private:
    void HandlePacket(const BYTE* bytes);
    void HandleCommand(const NetMsgPacket& p, const SimFaults& f);
    void HandleMessage(const NetMsgPacket& p, const SimFaults& f);
    void Reply(const SimFaults& f, DWORD command, DWORD result, DWORD arg0 = 0, DWORD arg1 = 0,
               DWORD arg2 = 0);
    void SendFile(const SimFaults& f, DWORD kind, DWORD disk);
    // Queues the unit answering `command`, or holds it when the faults say so.
    void Answer(const SimFaults& f, DWORD command, std::vector<BYTE> unit, int delayMs,
                const std::vector<std::size_t>& splitAt, int gapMs);
    std::vector<std::size_t> FileCuts(const SimFaults& f, std::size_t size) const;
    void FinishUpload();
    void RunFirmware(const SimFaults& f);
    std::uint64_t BackupBytes(DWORD start, DWORD end, DWORD type) const;

    const RecSimOptions& options_;
    std::function<SimFaults()> faults_;
    Outbox& outbox_;
    SimFiles& files_;
    PacketLog& log_;
    StreamControl& streams_;
    std::vector<recgen::StoreRecording> recordings_;

    std::vector<BYTE> pending_;
    std::size_t uploadRemaining_ = 0;
    DWORD uploadKind_ = 0;
    std::string upload_;
    std::vector<BYTE> heldFile_; // waiting for the client's acknowledgement
    // Replies held until released, each as it would have been queued.
    struct HeldReply {
        DWORD command;
        std::vector<BYTE> unit;
        std::vector<std::size_t> splitAt;
        int gapMs;
    };
    mutable std::mutex heldMutex_; // released from the threads that drive the recorder
    std::vector<HeldReply> heldReplies_;
    std::map<DWORD, std::size_t> passesLeft_; // by command, under heldMutex_
    // The installation's messages, each with the time it goes out; a close ends the installation. They
    // go out as their time comes, so what the recorder says meanwhile is not queued behind them.
    struct Scheduled {
        std::chrono::steady_clock::time_point due;
        NetMsgPacket packet;
        bool close = false;
    };
    std::vector<Scheduled> firmwareSchedule_;
    bool loggedIn_ = false;
    // Both are also read and set from the threads that drive the recorder.
    std::atomic<DWORD> recordState_;
    std::atomic<DWORD> status_;
    DWORD lastBackupEnd_ = 0;
};

} // namespace recsim
