#include "tools/recsim/SimOptions.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

namespace recsim {

namespace {

long long Number(const std::string& option, const std::string& text, long long lo, long long hi) {
    long long v = 0;
    try {
        v = StrToInt64(text);
    } catch (const EConvertError&) {
        throw EInvalidArgument(Format("%s: \"%s\" is not a number", option.c_str(), text.c_str()));
    }
    if (v < lo || v > hi)
        throw EInvalidArgument(Format("%s: %lld is outside %lld..%lld", option.c_str(), v, lo, hi));
    return v;
}

// "CMD:N" pairs of the reply faults.
std::pair<DWORD, long long> Pair(const std::string& option, const std::string& text, long long hi) {
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        throw EInvalidArgument(Format("%s: expected COMMAND:VALUE", option.c_str()));
    return {static_cast<DWORD>(Number(option, text.substr(0, colon), 0, 0xFFFF)),
            Number(option, text.substr(colon + 1), 0, hi)};
}

std::vector<std::size_t> SizeList(const std::string& option, const std::string& list) {
    std::vector<std::size_t> sizes;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        sizes.push_back(static_cast<std::size_t>(Number(option, item, 1, 1 << 30)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return sizes;
}

} // namespace

RecSimOptions ParseRecSimArgs(const std::vector<std::string>& args, bool& help) {
    RecSimOptions o;
    help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw EInvalidArgument(Format("%s needs a value", a.c_str()));
            return args[++i];
        };
        auto num = [&](long long lo, long long hi) { return Number(a, value(), lo, hi); };
        SimFaults& f = o.faults;
        if (a == "--help" || a == "-h")
            help = true;
        else if (a == "--port")
            o.port = static_cast<int>(num(0, 65534));
        else if (a == "--store")
            o.store = value();
        else if (a == "--cameras") {
            o.cameras = static_cast<int>(num(1, 4));
            if (o.cameras != 1 && o.cameras != 4) throw EInvalidArgument("--cameras: 1 or 4");
        } else if (a == "--standard") {
            const std::string s = LowerCase(value());
            if (s == "ntsc")
                o.standard = 1;
            else if (s == "pal")
                o.standard = 2;
            else
                throw EInvalidArgument("--standard: ntsc or pal");
        } else if (a == "--large")
            o.large = true;
        else if (a == "--fps")
            o.liveFps = static_cast<int>(num(0, 30));
        else if (a == "--quality")
            o.quality = static_cast<int>(num(10, 90));
        else if (a == "--side-data") {
            const auto pattern = recgen::SideDataPatternNamed(value());
            if (!pattern) throw EInvalidArgument("--side-data: gps, tacho, mixed or none");
            o.sideData = *pattern;
        } else if (a == "--fast")
            o.realtime = false;
        else if (a == "--admin-password")
            o.adminPassword = value();
        else if (a == "--user-password")
            o.userPassword = value();
        else if (a == "--no-password-check")
            o.checkPassword = false;
        else if (a == "--sysinfo")
            o.sysinfoResult = static_cast<DWORD>(num(0, 0xFFFFFFFFLL));
        else if (a == "--heartbeat")
            o.heartbeat = static_cast<DWORD>(num(0, 0xFFFFFFFFLL));
        else if (a == "--removable")
            o.removableMedia = static_cast<DWORD>(num(0, 0xFFFFFFFFLL));
        else if (a == "--login-option") {
            const auto [a0, a1] = Pair(a, value(), 0xFFFFFFFFLL);
            o.loginArg0 = a0;
            o.loginArg1 = static_cast<DWORD>(a1);
        } else if (a == "--status")
            o.status = static_cast<DWORD>(num(0, 0xFFFFFFFFLL));
        else if (a == "--record-state")
            o.recordState = static_cast<DWORD>(num(0, 3));
        else if (a == "--reply-pause-play")
            o.replyPausePlay = true;
        else if (a == "--firmware-steps")
            o.firmwareSteps = static_cast<int>(num(0, 1000));
        else if (a == "--firmware-step-ms")
            o.firmwareStepMs = static_cast<int>(num(0, 60000));
        else if (a == "--firmware-close-ms")
            o.firmwareCloseMs = static_cast<int>(num(0, 600000));
        else if (a == "--multicast")
            o.multicast = value();
        else if (a == "--unsolicited")
            o.unsolicitedEverySec = static_cast<int>(num(0, 3600));
        else if (a == "--log")
            o.logFile = value();
        else if (a == "--quiet")
            o.quiet = true;
        else if (a == "--delay") {
            const auto [cmd, ms] = Pair(a, value(), 600000);
            f.replies[cmd].delayMs = static_cast<int>(ms);
        } else if (a == "--silent")
            f.replies[static_cast<DWORD>(num(0, 0xFFFF))].silent = true;
        else if (a == "--result") {
            const auto [cmd, r] = Pair(a, value(), 0xFFFFFFFFLL);
            f.replies[cmd].result = static_cast<DWORD>(r);
        } else if (a == "--hold")
            f.holdReplies.insert(static_cast<DWORD>(num(0, 0xFFFF)));
        else if (a == "--slow-file") {
            const auto [piece, ms] = Pair(a, value(), 60000);
            if (piece < 1) throw EInvalidArgument("--slow-file: pieces of at least 1 byte");
            f.slowFilePiece = piece;
            f.slowFileGapMs = static_cast<int>(ms);
        } else if (a == "--split")
            f.splitAt = SizeList(a, value());
        else if (a == "--split-gap")
            f.splitGapMs = static_cast<int>(num(0, 10000));
        else if (a == "--coalesce-file")
            f.coalesceFile = true;
        else if (a == "--file-before-reply")
            f.fileBeforeReply = true;
        else if (a == "--wait-file-ack")
            f.waitFileAck = true;
        else if (a == "--announce-extra")
            f.announceExtra = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--announce-zero")
            f.announceZero = true;
        else if (a == "--close-mid-file")
            f.closeMidFile = static_cast<std::size_t>(num(0, 1LL << 40));
        else if (a == "--close-on")
            f.closeOnCommand = static_cast<DWORD>(num(0, 0xFFFF));
        else if (a == "--close-av-on")
            f.closeAvOnCommand = static_cast<DWORD>(num(0, 0xFFFF));
        else if (a == "--close-av-after")
            f.closeAvAfterFrames = static_cast<std::uint64_t>(num(0, 1LL << 40));
        else if (a == "--oversized-every")
            f.oversizedFrameEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--zero-size-every")
            f.zeroSizeFrameEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--garbage-every")
            f.garbageEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--garbage-bytes")
            f.garbageBytes = static_cast<std::size_t>(num(1, 1 << 20));
        else if (a == "--bad-header-every")
            f.badHeaderEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--truncated-jpeg-every")
            f.truncatedJpegEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--bad-side-data-every")
            f.badSideDataEvery = static_cast<DWORD>(num(0, 1 << 30));
        else if (a == "--av-write-sizes")
            f.avWriteSizes = SizeList(a, value());
        else if (a == "--av-write-gap-us")
            f.avWriteGapUs = static_cast<int>(num(0, 1000000));
        else if (a == "--refuse")
            f.commandAccept = AcceptMode::Refuse;
        else if (a == "--ignore")
            f.commandAccept = AcceptMode::Ignore;
        else if (a == "--no-av-port")
            f.noAvPort = true;
        else if (a == "--firmware-total-zero")
            f.firmwareTotalZero = true;
        else if (a == "--frames-after-pause")
            f.framesAfterPause = static_cast<std::uint64_t>(num(0, 1 << 20));
        else if (a == "--hold-after")
            f.holdStreamAfterFrames = static_cast<std::uint64_t>(num(0, 1LL << 40));
        else if (a == "--drop-after")
            f.dropLinkAfterFrames = static_cast<std::uint64_t>(num(0, 1LL << 40));
        else if (a == "--mute")
            f.mute = true;
        else if (a == "--control")
            o.control = true;
        else
            throw EInvalidArgument(Format("unknown option %s (see --help)", a.c_str()));
    }
    return o;
}

std::string RecSimHelp() {
    return R"(usage: recsim [--port P] [--store DIR] [options]

A simulated recorder on 127.0.0.1: commands on port P (default 5000), A/V on P+1.
Port 0 picks a free pair and prints it. Runs until SIGINT or SIGTERM.

Recorder:
  --store DIR              recording store (avfiles/, databases, setup files); generated
                           into DIR when it holds no recordings, into a temporary folder
                           when not given
  --cameras 1|4            camera count (default 4)
  --standard ntsc|pal      video standard (default ntsc: 30 fps, 352 x 240)
  --large                  704-pixel pictures
  --fps N                  live frames per second per camera (default: full rate)
  --quality N              JPEG quality 10..90 (default 60)
  --side-data KIND         what the vehicle adds to every camera's frames beside lamps and
                           title: gps (default), tacho, mixed (GPS on cameras 1 and 3, tacho
                           on 2 and 4) or none; the live stream and a generated store
  --fast                   stream searched recordings and live frames without pacing
  --admin-password TEXT    administrator password (default 1234)
  --user-password TEXT     user password (default empty)
  --no-password-check      accept any password
  --sysinfo N              result of the 101 reply (default 3; 2 = an older recorder:
                           no backup spans, no remote transport; 1 = password-only log-in)
  --heartbeat N            arg0 of the 101 reply (default 1: heartbeat wanted)
  --removable N            arg1 of the 101 reply (default 1: CF/SD present)
  --login-option A0:A1     the 119 reply (default 1:1; 1:2 = password only)
  --status N               recorder status of the 109 reply (default 1)
  --record-state N         record state 0..3 of the 109 reply (default 0)
  --reply-pause-play       answer 123 and 124
  --firmware-steps N       upgrade progress messages (default 5)
  --firmware-step-ms MS    time between them (default 200)
  --firmware-close-ms MS   close this long after the upgrade finished (default 1000)
  --multicast A.B.C.D:PORT announce a multicast group after the log-in
  --unsolicited SECONDS    send an unsolicited packet this often (events, multicast,
                           stray replies, unknown types)
  --log FILE               one line per received packet
  --quiet                  no progress lines
  --control                read commands from standard input, one a line:
                             drop        drop the client (both connections)
                             drop-av     close the A/V connection
                             mute        hang: read, answer and send nothing
                             unmute      answer again
                             event4 N    end the client's remote work (event 4, N 1 or 2)
                             status N    report status N (2 and 3 stop the stream)
                             hold CMD    hold the replies to CMD from now on
                             release CMD send the held replies to CMD (and stop holding)
                             release     send every held reply (and stop holding)
                             release-one CMD  send the oldest held reply to CMD (the hold goes on)

Faults:
  --delay CMD:MS           hold the reply to CMD
  --silent CMD             never answer CMD
  --result CMD:N           answer CMD with result N
  --hold CMD               hold the replies to CMD (a file request's file with them) until
                           released (see --control); other packets go out meanwhile
  --slow-file N:MS         send every file in pieces of N bytes, MS apart
  --split N[,N...]         cut every reply and file at these byte offsets
  --split-gap MS           time between the pieces (default 20)
  --coalesce-file          file reply, announcement and bytes in one send
  --file-before-reply      send the file before its reply
  --wait-file-ack          send the file only after the client's acknowledgement
  --announce-extra N       announce N bytes more than are sent
  --announce-zero          announce files with size 0
  --close-mid-file N       close the command connection after N file bytes
  --close-on CMD           close the command connection instead of answering CMD
  --close-av-on CMD        close the A/V connection when CMD arrives
  --close-av-after N       close the A/V connection after N frames
  --oversized-every N      every Nth frame announces 0x20001 bytes
  --zero-size-every N      a header of size 0 before every Nth frame
  --garbage-every N        garbage bytes before every Nth frame
  --garbage-bytes N        how many (default 37)
  --bad-header-every N     every Nth frame with a non-zero reserved header word
  --truncated-jpeg-every N every Nth video frame with half its picture
  --bad-side-data-every N  every Nth video frame with a side-data block past its end
  --av-write-sizes N[,N..] cut A/V sends into pieces of these sizes in turn
  --av-write-gap-us US     time between the pieces (default 0)
  --refuse                 accept command connections and close them at once
  --ignore                 accept command connections and never answer
  --no-av-port             leave the A/V port closed
  --firmware-total-zero    progress messages with a total of 0
  --frames-after-pause N   a pause holds the stream N frames late
  --hold-after N           every stream stalls after N frames
  --drop-after N           drop the client after N frames of a stream
  --mute                   hang from the start (see --control)
)";
}

} // namespace recsim
