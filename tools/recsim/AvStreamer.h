// The A/V connection of the simulated recorder: one thread that streams live, searched or backup frames
// to the connected client, one frame in memory at a time, so a client that stops reading only stalls it.
#pragma once

#include "tools/recgen/RecordingStore.h"
#include "tools/recgen/SynthStream.h"
#include "tools/recsim/Outbox.h"
#include "tools/recsim/SimOptions.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace recsim {

class StoreCursor;

// What a frame on the A/V connection went out as.
enum class AvFrameFault {
    None,
    Oversized,     // replaced by a frame announcing 0x20001 bytes: lost
    BadHeader,     // its header has a non-zero reserved word: lost
    TruncatedJpeg, // arrives whole, but its picture is cut in half
    BadSideData,   // arrives whole with its picture; a side-data block reaches past payload 2
};

struct SentAvFrame {
    BYTE kind = 0;
    DWORD channel = 0;
    DWORD frameTime = 0;
    DWORD subSecond = 0;
    AvFrameFault fault = AvFrameFault::None;
    bool garbageBefore = false;
    bool zeroHeaderBefore = false;
};

class AvStreamer {
public:
    struct Config {
        recgen::SynthStreamOptions live;
        DWORD liveStart = 0; // 0: the recorder's clock
        bool realtime = true;
        bool recordSent = false;
        std::string store; // empty: searches and backups are synthesised
        std::vector<recgen::StoreRecording> recordings;
    };
    enum class Mode { Idle, Live, Search, Backup };

    AvStreamer(Config config, Outbox& commandOutbox, std::function<SimFaults()> faults);
    ~AvStreamer();
    AvStreamer(const AvStreamer&) = delete;
    AvStreamer& operator=(const AvStreamer&) = delete;

    void Start();
    void Stop();

    // Takes over a new A/V connection, shutting the one before.
    void Adopt(int fd);
    void CloseConnection();
    bool Connected() const { return connected_; }

    void StartLive();
    void StartSearch(DWORD time);
    // Streams the recordings from `seq` on, from `start` to `end` (0 = to the last one), only those with
    // events when `type` is 1; then sends device event 5 with 2 on the command connection.
    void StartBackup(DWORD start, DWORD end, DWORD type, DWORD seq);
    void StopStream();
    void Pause();
    void Play();

    Mode CurrentMode() const { return modeShown_; }
    std::uint64_t FramesSent() const { return framesSent_; }
    std::vector<SentAvFrame> SentFrames() const;

private:
    struct Request {
        Mode mode = Mode::Idle;
        DWORD start = 0, end = 0, type = 0, seq = 0;
    };
    void Run();
    void Apply(const Request& r);
    bool Produce(QelAvFrame& frame, bool& ended);
    bool WaitUntilDue(int fd, const QelAvFrame& frame);
    bool SendAll(int fd, const BYTE* bytes, std::size_t size);
    bool CheckPeer(int fd, int timeoutMs);
    // Closes `fd` if it is still the current connection; a replaced one is the next turn's to close.
    void DropConnection(int fd);
    // With mutex_ held.
    void CloseRetired();
    std::vector<BYTE> WithFaults(const QelAvFrame& frame, const SimFaults& f, SentAvFrame& sent);
    bool SendPieces(int fd, const std::vector<BYTE>& bytes, const SimFaults& f);

    Config config_;
    Outbox& outbox_;
    std::function<SimFaults()> faults_;

    mutable std::mutex mutex_;
    int fd_ = -1;
    // Connections replaced by Adopt: shut at once, closed by the thread that may still be using them, so
    // that their numbers are not handed to a new connection under it.
    std::vector<int> retired_;
    std::optional<Request> pending_;
    bool closeRequested_ = false;
    bool newConnection_ = false;
    std::atomic<bool> paused_{false};
    std::atomic<std::uint64_t> afterPause_{0}; // frames still sent after a pause
    std::atomic<bool> stop_{false};
    std::atomic<bool> connected_{false};
    std::atomic<Mode> modeShown_{Mode::Idle};
    std::atomic<std::uint64_t> framesSent_{0};
    mutable std::mutex sentMutex_;
    std::vector<SentAvFrame> sent_;
    std::thread thread_;

    // Stream thread only.
    Mode mode_ = Mode::Idle;
    std::unique_ptr<recgen::SynthStream> synth_;
    std::unique_ptr<StoreCursor> cursor_;
    DWORD backupEnd_ = 0;
    bool paceSet_ = false;
    std::chrono::steady_clock::time_point paceBase_;
    DWORD paceTime_ = 0;
    std::uint64_t connectionFrames_ = 0;
    std::uint64_t streamFrames_ = 0; // of the stream started last
    std::size_t writePiece_ = 0;     // next entry of SimFaults::avWriteSizes
};

// The recorder's wall clock now, counted as UTC as recorder times are.
DWORD RecorderNow();

} // namespace recsim
