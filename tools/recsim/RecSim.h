// The simulated recorder: a TCP peer on 127.0.0.1 with the command port P and the A/V port P + 1, one
// client at a time. Runs as a program (main.cpp) or inside a test:
//
//     recsim::RecSimOptions o;
//     o.port = 0;                       // any free pair
//     recsim::RecSim sim(o);
//     sim.Start();
//     connect to sim.CommandPort() ...
//     sim.SetReplyFault(109, {.silent = true});
//     sim.Log().WaitForCommand(102, 2000);
//     sim.Stop();
#pragma once

#include "tools/recsim/AvStreamer.h"
#include "tools/recsim/CommandHandler.h"
#include "tools/recsim/Outbox.h"
#include "tools/recsim/PacketLog.h"
#include "tools/recsim/SimFiles.h"
#include "tools/recsim/SimOptions.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace recsim {

class RecSim : private StreamControl {
public:
    explicit RecSim(RecSimOptions options);
    ~RecSim() override;
    RecSim(const RecSim&) = delete;
    RecSim& operator=(const RecSim&) = delete;

    // Binds both ports and starts serving. Raises EOSError when the ports cannot be had.
    void Start();
    void Stop();
    int CommandPort() const { return commandPort_; }
    int AvPort() const { return commandPort_ + 1; }

    PacketLog& Log() { return log_; }
    const RecSimOptions& Options() const { return options_; }
    std::size_t RecordingCount() const { return recordings_.size(); }

    SimFaults Faults() const;
    void SetFaults(const SimFaults& faults);
    void SetReplyFault(DWORD command, const ReplyFault& fault);
    void ClearFaults();
    // From now on the replies to `command` are held (SimFaults::holdReplies), or no longer; with
    // `passFirst`, that many of them still go out before the hold begins (a caller's second 109).
    void HoldReplies(DWORD command, bool hold, std::size_t passFirst = 0);
    // Sends the replies held for `command` (0: every held reply) and stops holding them. Returns how many
    // went out.
    std::size_t ReleaseReplies(DWORD command);
    // Sends the oldest reply held for `command`, late; the hold goes on for the others and those to come.
    // False when none is held.
    bool ReleaseFirstReply(DWORD command) { return handler_->ReleaseReplies(command, 1) == 1; }
    std::size_t HeldReplies(DWORD command) const { return handler_->HeldReplies(command); }

    // Unsolicited sends on the command connection.
    void SendPacket(const NetMsgPacket& packet, int delayMs = 0);
    void SendRaw(const std::vector<BYTE>& bytes, int delayMs = 0);
    void SendDeviceEvent(DWORD kind, DWORD detail);
    void SendMulticastGroup(DWORD group, DWORD port);

    // A connection from the recorder to a port of the client on 127.0.0.1 (its A/V server socket); true
    // once it is made. It stays open until the next call or Stop.
    bool ConnectBack(int port);

    // A recorder slow to accept: connections to the command port (or the A/V port) get no answer to
    // their first packet, so the caller's connect pends, until released; then they are accepted as usual.
    void HoldAccepts(bool av, bool hold);

    void CloseCommandConnection();
    void CloseAvConnection() { streamer_->CloseConnection(); }
    // Both connections closed at once, as a recorder that drops the client.
    void DropLink();
    // The recorder ends the client's remote work: its stream stops, then device event 4 with `detail`
    // (1 or 2) goes out.
    void EndRemoteWork(DWORD detail);
    // The status the reply to 109 reports from now on; 2 and 3 (busy) stop the stream. `report` sends it
    // at once in a 109 reply nobody asked for.
    void SetStatus(DWORD status, bool report);
    DWORD Status() const { return handler_->Status(); }
    // Hangs the recorder (SimFaults::mute) or lets it go on.
    void SetMute(bool mute);
    // Stops reading the command connection (SimFaults::stopReading) or reads it again.
    void SetStopReading(bool stop);
    bool CommandConnected() const { return commandFd_ >= 0; }
    bool AvConnected() const { return streamer_->Connected(); }
    bool WaitForAvConnection(bool connected, int timeoutMs) const;
    bool WaitForCommandConnection(bool connected, int timeoutMs) const;
    std::uint64_t AvFramesSent() const { return streamer_->FramesSent(); }
    AvStreamer::Mode StreamMode() const { return streamer_->CurrentMode(); }
    // With RecSimOptions::recordAvFrames: every A/V frame sent so far and what was done to it.
    std::vector<SentAvFrame> SentAvFrames() const { return streamer_->SentFrames(); }

    // What a file request of this kind would get now (uploads included).
    std::optional<std::string> ServedFile(DWORD kind, DWORD disk = 0) const {
        return files_->Get(kind, disk);
    }
    std::optional<std::string> Firmware() const { return files_->Firmware(); }
    // What the recorder holds of a setup file (kinds 1, 3, 6), as if it had been uploaded.
    void SetServedFile(DWORD kind, const std::string& bytes) { files_->Put(kind, bytes); }

private:
    void StartLive() override { streamer_->StartLive(); }
    void StartSearch(DWORD time) override { streamer_->StartSearch(time); }
    void StartBackup(DWORD s, DWORD e, DWORD t, DWORD q) override { streamer_->StartBackup(s, e, t, q); }
    void StopStream() override { streamer_->StopStream(); }
    void Pause() override { streamer_->Pause(); }
    void Play() override { streamer_->Play(); }
    void CloseAv() override { streamer_->CloseConnection(); }

    void Run();
    void AcceptCommand();
    void AcceptAv();
    void DropCommand();
    void Unsolicited();

    RecSimOptions options_;
    std::vector<recgen::StoreRecording> recordings_;
    mutable std::mutex faultsMutex_;
    SimFaults faults_;
    PacketLog log_;
    Outbox outbox_;
    std::unique_ptr<SimFiles> files_;
    std::unique_ptr<AvStreamer> streamer_;
    std::unique_ptr<CommandHandler> handler_;

    // The accepts held, and the connection of the recorder's own that fills each held port's queue.
    std::mutex acceptMutex_;
    std::atomic<bool> acceptHeld_[2] = {false, false};
    int acceptFiller_[2] = {-1, -1};

    int commandListen_ = -1;
    int avListen_ = -1;
    std::atomic<int> commandFd_{-1};
    int commandPort_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> closeCommand_{false};
    std::thread thread_;
    std::size_t unsolicitedStep_ = 0;
    std::FILE* logText_ = nullptr;
    int backFd_ = -1;
};

} // namespace recsim
