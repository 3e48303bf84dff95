// Options of the simulated recorder: what it reports, how it streams and which faults it injects.
#pragma once

#include "platform/core/Types.h"
#include "tools/recgen/SynthStream.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace recsim {

// What happens to the reply of one command. The command still takes effect, except the upload of a
// setup file answered with silence or result 0, which the recorder does not keep.
struct ReplyFault {
    int delayMs = 0;             // hold the reply (and everything queued after it) this long
    bool silent = false;         // never reply
    std::optional<DWORD> result; // reply with this result instead
};

enum class AcceptMode {
    Normal,
    Refuse, // accept and close at once
    Ignore, // accept and never read or answer
};

struct SimFaults {
    std::map<DWORD, ReplyFault> replies; // by command (and 525 for the upgrade messages)
    // The replies to these commands (a file request's file with its reply) wait until they are released
    // (RecSim::ReleaseReplies); what the recorder says meanwhile goes out past them.
    std::set<DWORD> holdReplies;
    // Every unit sent on the command connection (a reply, a file with its announcement) is cut at these
    // byte offsets into separate sends, `splitGapMs` apart.
    std::vector<std::size_t> splitAt;
    int splitGapMs = 20;
    bool coalesceFile = false; // the file reply, announcement and bytes in one send
    // Every file sent leaves in pieces of `slowFilePiece` bytes, `slowFileGapMs` apart; 0 = at once.
    std::size_t slowFilePiece = 0;
    int slowFileGapMs = 0;
    bool fileBeforeReply = false;            // announcement and bytes before the reply
    bool waitFileAck = false;                // hold the file until the client acknowledges the reply
    DWORD announceExtra = 0;                 // announce this many bytes more than are sent
    bool announceZero = false;               // announce every file with size 0 and send no bytes
    std::optional<std::size_t> closeMidFile; // close the command connection after this many file bytes
    std::optional<DWORD> closeOnCommand;     // close the command connection instead of answering
    std::optional<DWORD> closeAvOnCommand;   // close the A/V connection when this command arrives
    std::optional<std::uint64_t> closeAvAfterFrames;
    DWORD oversizedFrameEvery = 0; // every Nth frame goes out announcing 0x20001 bytes (and sending them)
    DWORD zeroSizeFrameEvery = 0;  // every Nth frame is preceded by a header of size 0
    DWORD garbageEvery = 0;        // every Nth frame is preceded by garbage bytes
    std::size_t garbageBytes = 37;
    DWORD badHeaderEvery = 0;     // every Nth frame goes out with a non-zero reserved header word
    DWORD truncatedJpegEvery = 0; // every Nth video frame carries only the first half of its picture
    DWORD badSideDataEvery = 0;   // every Nth video frame has a side-data block reaching past payload 2
    // A/V sends are cut into pieces of these sizes in turn, each its own segment, `avWriteGapUs` apart.
    std::vector<std::size_t> avWriteSizes;
    int avWriteGapUs = 0;
    AcceptMode commandAccept = AcceptMode::Normal;
    bool noAvPort = false;          // leave the A/V port closed
    bool firmwareTotalZero = false; // progress messages report a total of 0
    // A pause (123) holds the stream only after this many more frames, as a recorder's buffers would.
    std::uint64_t framesAfterPause = 0;
    // A started stream (live, search or backup) stalls after this many frames: it stays started and
    // sends nothing more, so the recorder is caught in the middle of it.
    std::optional<std::uint64_t> holdStreamAfterFrames;
    // The recorder drops the whole client (both connections) after this many frames of a stream.
    std::optional<std::uint64_t> dropLinkAfterFrames;
    // The recorder hangs: what the client sends is neither read nor answered, nothing leaves on either
    // connection, and both stay open.
    bool mute = false;
    // The recorder stops reading the command connection: what the client sends piles up in both ends'
    // socket buffers until the client's sends wait, while replies, events and a close still go out.
    bool stopReading = false;
    // Reading stops once this command has come (what came in the same read with it is still taken in).
    std::optional<DWORD> stopReadingOn;
};

struct RecSimOptions {
    int port = 5000;   // command port; the A/V port is the next one; 0 = pick a free pair
    std::string store; // recording store folder; empty = none
    int cameras = 4;
    BYTE standard = 1;   // 1 NTSC, 2 PAL
    bool large = false;  // 704-pixel pictures
    int liveFps = 0;     // live frames per second per camera; 0 = the standard's full rate
    DWORD liveStart = 0; // time of the first live frame (seconds since 1970); 0 = the recorder's clock
    int quality = 60;
    // The side data of the live stream and of a store generated for the recorder.
    recgen::SideDataPattern sideData = recgen::SideDataPattern::Gps;
    bool realtime = true; // pace live and searched streams by their frame times
    std::string adminPassword = "1234";
    std::string userPassword = "";
    bool checkPassword = true;
    DWORD sysinfoResult =
        3; // 2 = an older recorder (no backup spans, no remote transport); 1 = password-only log-in
    DWORD heartbeat = 1;      // arg0 of the 101 reply
    DWORD removableMedia = 1; // arg1 of the 101 reply: CF/SD present
    DWORD loginArg0 = 1;      // the 119 reply
    DWORD loginArg1 = 1;
    DWORD status = 1;            // arg0 of the 109 reply
    DWORD recordState = 0;       // arg1 of the 109 reply
    bool replyPausePlay = false; // answer 123 and 124
    int firmwareSteps = 5;
    int firmwareStepMs = 200;
    int firmwareCloseMs = 1000;  // close after the upgrade finished
    std::string multicast;       // "a.b.c.d:port", announced after the log-in
    int unsolicitedEverySec = 0; // cycle through unsolicited packets
    std::string logFile;         // one line per received packet
    bool recordAvFrames = false; // keep what every sent A/V frame was (tests)
    bool quiet = false;
    bool control = false; // the program reads commands from standard input (RecSimHelp lists them)
    // The receive buffer of the command port's connections in bytes (the system doubles it); 0 leaves the
    // system's own, which grows as it is read. A small one bounds what a client can send unread.
    int commandReceiveBuffer = 0;
    SimFaults faults;
};

// Parses the command line (without the program name). Raises EInvalidArgument for unknown options and
// bad values. `help` is set for --help.
RecSimOptions ParseRecSimArgs(const std::vector<std::string>& args, bool& help);
std::string RecSimHelp();

} // namespace recsim
