// What the main window has under way, one entry per activity, and the ways the client's work ends.
// TFrmMain owns one record; handlers ask it what runs, begin and end activities through it, and every
// way out ends what runs through TFrmMain::EndActivities. Ending an activity forgets its state: the
// remote search's hold on the recorder's playback and the frames queued meanwhile go with it.
#pragma once

#include "client/AvFrameQueue.h"
#include "platform/core/Types.h"

#include <array>
#include <bitset>
#include <cstddef>

enum class TActivity : BYTE {
    LiveView,       // the recorder streams its cameras to the screens (112 until 113)
    RemoteSearch,   // the recorder plays a recording to the screens (114 until 115)
    SearchBackup,   // the searched stream is saved into files (the search tab's Backup button)
    Backup,         // the backup window's span is streamed into files
    SetupPass,      // the setup menu and its pages work on the recorder's setup files
    Upgrade,        // a firmware image goes to the recorder and is installed
    Sound,          // the sound output plays
    LocalPlayback,  // a recording plays from this computer
    Link,           // the connection to a recorder, from the connect to its close: the log-in, replies
    SearchDownload, // the search tab fetches the recorder's database, until the search window opens
    LocalTask,      // work on this computer the window waits for: a folder opened by the desktop or
                    // scanned for recordings, the map's site checked
};
inline constexpr std::size_t kActivityCount = 11;
const char* ActivityName(TActivity activity);

enum class TWayOut : BYTE {
    Disconnect,      // the disconnect button
    PowerOff,        // the power (or close) button
    CommandLinkLost, // the command connection closed by the recorder or the network
    AvLinkLost,      // the A/V connection closed, which ends the whole link
    HeartbeatLost,   // three heartbeats without a reply
    RemoteWorkEnded, // the recorder's device event 4 (1 or 2)
    RecorderBusy,    // the recorder's status 2 or 3 in a reply to 109
    NewConnect,      // a connect while a connection or playback is still up
};
const char* WayOutName(TWayOut way);

// The link is gone before anything could be sent on it.
bool WayLosesLink(TWayOut way);
// The command and A/V connections are closed on this way.
bool WayClosesLink(TWayOut way);
// Only the live and search tabs' work ends on this way: the client's local work and an upgrade go on.
bool WayEndsRemoteTabsOnly(TWayOut way);

class CActivities {
public:
    bool Running(TActivity activity) const { return running_.test(Index(activity)); }
    bool Any() const { return running_.any(); }
    void Begin(TActivity activity) { running_.set(Index(activity)); }
    // Also forgets the activity's own state.
    void End(TActivity activity);

    // ---- Waits that pump messages ----
    // A wait serving the activity pumps now.
    bool Waited(TActivity activity) const { return waits_[Index(activity)] > 0; }
    // While any wait pumps, the presses that would start, end or change work are refused: they would
    // run nested inside the wait. Only the power button goes on; it ends the wait through the way out.
    bool RefusesPresses() const;
    // Counts one wait while it lives (PumpUntil holds one).
    class TWaiting {
    public:
        TWaiting(CActivities& record, TActivity activity) : record_(record), index_(Index(activity)) {
            ++record_.waits_[index_];
        }
        ~TWaiting() { --record_.waits_[index_]; }
        TWaiting(const TWaiting&) = delete;
        TWaiting& operator=(const TWaiting&) = delete;

    private:
        CActivities& record_;
        std::size_t index_;
    };

    // A way out is being taken; nested events (a connection's closing) leave the ending to it.
    bool Ending() const { return ending_; }
    class TEnding {
    public:
        explicit TEnding(CActivities& record) : record_(record) { record_.ending_ = true; }
        ~TEnding() { record_.ending_ = false; }
        TEnding(const TEnding&) = delete;
        TEnding& operator=(const TEnding&) = delete;

    private:
        CActivities& record_;
    };

    // The remote search's hold on the recorder's playback.
    int RemotePlayState = 0; // 0 plays, 1 paused, 2 single step
    BYTE QueueAvFrames = 0;  // complete frames are queued instead of shown
    CAvFrameQueue AvFrameQueue;

private:
    static std::size_t Index(TActivity activity) { return static_cast<std::size_t>(activity); }

    std::bitset<kActivityCount> running_;
    std::array<int, kActivityCount> waits_{};
    bool ending_ = false;
};
