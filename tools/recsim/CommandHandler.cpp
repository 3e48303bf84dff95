#include "tools/recsim/CommandHandler.h"

#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <algorithm>

namespace recsim {

namespace {

std::vector<BYTE> Bytes(const NetMsgPacket& p) {
    return {p.bytes.begin(), p.bytes.end()};
}

bool ParseGroup(const std::string& text, DWORD& group, DWORD& port) {
    unsigned a, b, c, d, p;
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u:%u%c", &a, &b, &c, &d, &p, &tail) != 5) return false;
    if (a > 255 || b > 255 || c > 255 || d > 255 || p > 65535) return false;
    group = MulticastGroupParam(static_cast<BYTE>(a), static_cast<BYTE>(b), static_cast<BYTE>(c),
                                static_cast<BYTE>(d));
    port = p;
    return true;
}

} // namespace

bool UploadTurnedAway(const SimFaults& f, DWORD kind) {
    if (kind != QELFILE_CONFIG && kind != QELFILE_SCHEDULE && kind != QELFILE_HOLIDAY) return false;
    const auto it = f.replies.find(NETCMD_FILE);
    return it != f.replies.end() && (it->second.silent || it->second.result == DWORD{0});
}

CommandHandler::CommandHandler(const RecSimOptions& options, std::function<SimFaults()> faults,
                               Outbox& outbox, SimFiles& files, PacketLog& log, StreamControl& streams,
                               std::vector<recgen::StoreRecording> recordings)
    : options_(options), faults_(std::move(faults)), outbox_(outbox), files_(files), log_(log),
      streams_(streams), recordings_(std::move(recordings)), recordState_(options.recordState),
      status_(options.status) {}

void CommandHandler::Reset() {
    pending_.clear();
    firmwareSchedule_.clear();
    uploadRemaining_ = 0;
    upload_.clear();
    heldFile_.clear();
    loggedIn_ = false;
    std::lock_guard lock(heldMutex_);
    heldReplies_.clear();
}

void CommandHandler::Answer(const SimFaults& f, DWORD command, std::vector<BYTE> unit, int delayMs,
                            const std::vector<std::size_t>& splitAt, int gapMs) {
    if (f.holdReplies.count(command) != 0) {
        std::lock_guard lock(heldMutex_);
        const auto pass = passesLeft_.find(command);
        const bool passes = pass != passesLeft_.end() && pass->second > 0;
        if (passes) --pass->second;
        // Asked again under the lock: a release that came meanwhile must not leave this one behind.
        if (!passes && faults_().holdReplies.count(command) != 0) {
            heldReplies_.push_back({command, std::move(unit), splitAt, gapMs});
            return;
        }
    }
    outbox_.Send(std::move(unit), delayMs, splitAt, gapMs);
}

std::size_t CommandHandler::ReleaseReplies(DWORD command, std::size_t most) {
    std::lock_guard lock(heldMutex_);
    std::size_t released = 0;
    std::vector<HeldReply> kept;
    for (HeldReply& held : heldReplies_) {
        if ((command != 0 && held.command != command) || released == most) {
            kept.push_back(std::move(held));
            continue;
        }
        outbox_.Send(std::move(held.unit), 0, held.splitAt, held.gapMs);
        ++released;
    }
    heldReplies_ = std::move(kept);
    return released;
}

void CommandHandler::PassBeforeHold(DWORD command, std::size_t replies) {
    std::lock_guard lock(heldMutex_);
    passesLeft_[command] = replies;
}

std::size_t CommandHandler::HeldReplies(DWORD command) const {
    std::lock_guard lock(heldMutex_);
    return static_cast<std::size_t>(
        std::count_if(heldReplies_.begin(), heldReplies_.end(),
                      [&](const auto& h) { return command == 0 || h.command == command; }));
}

std::vector<std::size_t> CommandHandler::FileCuts(const SimFaults& f, std::size_t size) const {
    if (f.slowFilePiece == 0) return f.splitAt;
    // The announcement first, then the bytes piece by piece.
    std::vector<std::size_t> cuts;
    for (std::size_t at = kNetMsgPacketSize; at < size; at += f.slowFilePiece)
        cuts.push_back(at);
    return cuts;
}

void CommandHandler::SendUnit(const std::vector<BYTE>& unit, int delayMs) {
    const SimFaults f = faults_();
    outbox_.Send(unit, delayMs, f.splitAt, f.splitGapMs);
}

void CommandHandler::SendPacket(const NetMsgPacket& packet, int delayMs) {
    SendUnit(Bytes(packet), delayMs);
}

void CommandHandler::Input(const BYTE* data, std::size_t length) {
    pending_.insert(pending_.end(), data, data + length);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
        if (uploadRemaining_ > 0) {
            const std::size_t n = std::min(uploadRemaining_, pending_.size() - pos);
            upload_.append(reinterpret_cast<const char*>(pending_.data() + pos), n);
            pos += n;
            uploadRemaining_ -= n;
            if (uploadRemaining_ == 0) FinishUpload();
            continue;
        }
        if (pending_.size() - pos < kNetMsgPacketSize) break;
        HandlePacket(pending_.data() + pos);
        pos += kNetMsgPacketSize;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
}

void CommandHandler::HandlePacket(const BYTE* bytes) {
    NetMsgPacket p;
    try {
        p = DecodeNetPacket(bytes, kNetMsgPacketSize);
    } catch (const EQelFormatError& e) {
        // Logged as received; nothing in it can be trusted enough to answer.
        log_.AddPacket(NetMsgPacket::FromBytes(bytes, kNetMsgPacketSize), e.Message);
        return;
    }
    log_.AddPacket(p, NetPacketPaddingProblem(p));
    const SimFaults f = faults_();
    if (p.Type() == QELMSG) {
        HandleMessage(p, f);
        return;
    }
    if (f.closeAvOnCommand && *f.closeAvOnCommand == p.Command()) streams_.CloseAv();
    if (f.closeOnCommand && *f.closeOnCommand == p.Command()) {
        outbox_.Close();
        return;
    }
    HandleCommand(p, f);
}

void CommandHandler::Reply(const SimFaults& f, DWORD command, DWORD result, DWORD arg0, DWORD arg1,
                           DWORD arg2) {
    int delay = 0;
    if (const auto it = f.replies.find(command); it != f.replies.end()) {
        if (it->second.silent) return;
        if (it->second.result) result = *it->second.result;
        delay = it->second.delayMs;
    }
    Answer(f, command, Bytes(MakeReply(command, result, arg0, arg1, arg2)), delay, f.splitAt, f.splitGapMs);
}

void CommandHandler::HandleCommand(const NetMsgPacket& p, const SimFaults& f) {
    const DWORD cmd = p.Command();
    switch (cmd) {
    case NETCMD_REPLY:
        // The client's acknowledgement of a file reply.
        if (p.Arg0() == NETCMD_FILE && !heldFile_.empty()) {
            const std::vector<std::size_t> cuts = FileCuts(f, heldFile_.size());
            outbox_.Send(std::move(heldFile_), 0, cuts,
                         f.slowFilePiece != 0 ? f.slowFileGapMs : f.splitGapMs);
            heldFile_.clear();
        }
        return;
    case NETCMD_SYSINFO:
        Reply(f, cmd, options_.sysinfoResult, options_.heartbeat, options_.removableMedia);
        return;
    case NETCMD_PASSWORD: {
        const std::string password = p.Password();
        bool ok = !options_.checkPassword;
        if (p.Arg0() == 1)
            ok = ok || password == options_.adminPassword;
        else if (p.Arg0() == 2)
            ok = ok || password == options_.userPassword;
        loggedIn_ = ok;
        Reply(f, cmd, ok ? 1 : 0);
        DWORD group, port;
        if (ok && !options_.multicast.empty() && ParseGroup(options_.multicast, group, port))
            SendPacket(MakeQelMsg(MSG_REPLY, MSG_MULTICAST_GROUP, 1, {group, port}));
        return;
    }
    case NETCMD_FILE:
        if (p.Arg0() > kMaxUploadBytes) {
            log_.AddUpload(p.Arg1(), {});
            outbox_.Close();
            return;
        }
        uploadKind_ = p.Arg1();
        uploadRemaining_ = p.Arg0();
        upload_.clear();
        upload_.reserve(uploadRemaining_);
        if (uploadRemaining_ == 0) FinishUpload();
        return;
    case NETCMD_FILE_REQUEST:
        SendFile(f, p.Arg0(), p.Arg1());
        return;
    case NETCMD_CAMERA_INFO:
        Reply(f, cmd, 1, options_.standard, static_cast<DWORD>(options_.cameras));
        return;
    case NETCMD_STATUS:
        Reply(f, cmd, 1, status_, recordState_);
        return;
    case NETCMD_LIVE_START:
        streams_.StartLive();
        Reply(f, cmd, 1);
        return;
    case NETCMD_LIVE_STOP:
    case NETCMD_SEARCH_STOP:
        streams_.StopStream();
        Reply(f, cmd, 1);
        return;
    case NETCMD_SEARCH:
        if (p.BackupFlag())
            streams_.StartBackup(p.Arg0(), lastBackupEnd_, p.Arg2(), p.Result());
        else
            streams_.StartSearch(p.Arg0());
        Reply(f, cmd, 1);
        return;
    case NETCMD_REMOTE_RECORD:
        recordState_ = p.Arg0() ? RECSTATE_RECORDING : RECSTATE_OFF;
        Reply(f, cmd, 1);
        SendPacket(MakeDeviceEvent(DEVEVENT_RECORD_STATE, recordState_));
        return;
    case NETCMD_LOGIN_OPTION:
        Reply(f, cmd, 1, options_.loginArg0, options_.loginArg1);
        return;
    case NETCMD_MODE:
    case NETCMD_APPLY:
    case NETCMD_HEARTBEAT:
        Reply(f, cmd, 1);
        return;
    case NETCMD_PAUSE:
    case NETCMD_PLAY:
        if (cmd == NETCMD_PAUSE)
            streams_.Pause();
        else
            streams_.Play();
        if (options_.replyPausePlay || f.replies.count(cmd)) Reply(f, cmd, 1);
        return;
    case NETCMD_BACKUP_SIZE: {
        lastBackupEnd_ = p.Arg1();
        const std::uint64_t bytes = BackupBytes(p.Arg0(), p.Arg1(), p.Arg2());
        Reply(f, cmd, 1, static_cast<DWORD>(std::min<std::uint64_t>(bytes, 0xFFFFFFFF)));
        return;
    }
    default:
        Reply(f, cmd, 2);
        return;
    }
}

void CommandHandler::HandleMessage(const NetMsgPacket& p, const SimFaults& f) {
    if (p.MsgId() != MSG_FM_NETWORK_SYSTEM_UPGRADE) return;
    if (!files_.Firmware()) {
        SendPacket(MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 2));
        return;
    }
    RunFirmware(f);
}

void CommandHandler::RunFirmware(const SimFaults& f) {
    int delay = 0;
    if (const auto it = f.replies.find(MSG_FM_NETWORK_SYSTEM_UPGRADE); it != f.replies.end()) {
        if (it->second.silent) return;
        delay = it->second.delayMs;
    }
    SendPacket(MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 0), delay);
    const DWORD total = f.firmwareTotalZero ? 0 : static_cast<DWORD>(options_.firmwareSteps);
    auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay);
    const auto step = std::chrono::milliseconds(options_.firmwareStepMs);
    for (int k = 1; k <= options_.firmwareSteps; ++k) {
        due += step;
        firmwareSchedule_.push_back(
            {due, MakeQelMsg(MSG_FM_UPGRADE_PROGRESS, 0, 0, {static_cast<DWORD>(k), total}), false});
    }
    due += step;
    firmwareSchedule_.push_back({due, MakeQelMsg(MSG_REPLY, MSG_FM_NETWORK_SYSTEM_UPGRADE, 1), false});
    // The recorder restarts.
    firmwareSchedule_.push_back({due + std::chrono::milliseconds(options_.firmwareCloseMs), {}, true});
}

void CommandHandler::Tick() {
    const auto now = std::chrono::steady_clock::now();
    std::size_t sent = 0;
    while (sent < firmwareSchedule_.size() && firmwareSchedule_[sent].due <= now) {
        const Scheduled& item = firmwareSchedule_[sent++];
        if (item.close)
            outbox_.Close();
        else
            SendPacket(item.packet);
    }
    firmwareSchedule_.erase(firmwareSchedule_.begin(),
                            firmwareSchedule_.begin() + static_cast<std::ptrdiff_t>(sent));
}

void CommandHandler::FinishUpload() {
    log_.AddUpload(uploadKind_, upload_);
    const SimFaults f = faults_();
    if (!UploadTurnedAway(f, uploadKind_)) files_.Put(uploadKind_, upload_);
    Reply(f, NETCMD_FILE, 1);
    upload_.clear();
    upload_.shrink_to_fit();
}

void CommandHandler::SendFile(const SimFaults& f, DWORD kind, DWORD disk) {
    const std::optional<std::string> content = files_.Get(kind, disk);
    if (QelFileName(kind, disk).empty()) {
        Reply(f, NETCMD_FILE_REQUEST, 2);
        return;
    }
    if (!content) {
        Reply(f, NETCMD_FILE_REQUEST, 4);
        return;
    }
    // The reply and its fault.
    ReplyFault rf;
    if (const auto it = f.replies.find(NETCMD_FILE_REQUEST); it != f.replies.end()) rf = it->second;
    std::vector<BYTE> reply;
    if (!rf.silent) reply = Bytes(MakeReply(NETCMD_FILE_REQUEST, rf.result.value_or(1)));

    std::vector<BYTE> file;
    const std::size_t size = f.announceZero ? 0 : content->size();
    const NetMsgPacket announce =
        MakeFileAnnouncement(static_cast<DWORD>(size + (f.announceZero ? 0 : f.announceExtra)), kind,
                             kind == QELFILE_DATABASE ? disk : 0);
    file = Bytes(announce);
    std::size_t dataBytes = size;
    if (f.closeMidFile) dataBytes = std::min(dataBytes, *f.closeMidFile);
    file.insert(file.end(), content->begin(), content->begin() + static_cast<std::ptrdiff_t>(dataBytes));

    const int fileGap = f.slowFilePiece != 0 ? f.slowFileGapMs : f.splitGapMs;
    if (f.coalesceFile) {
        std::vector<BYTE> unit = f.fileBeforeReply ? file : reply;
        const std::vector<BYTE>& second = f.fileBeforeReply ? reply : file;
        unit.insert(unit.end(), second.begin(), second.end());
        Answer(f, NETCMD_FILE_REQUEST, unit, rf.delayMs, f.splitAt, f.splitGapMs);
    } else if (f.fileBeforeReply) {
        Answer(f, NETCMD_FILE_REQUEST, file, 0, FileCuts(f, file.size()), fileGap);
        if (!reply.empty()) Answer(f, NETCMD_FILE_REQUEST, reply, rf.delayMs, f.splitAt, f.splitGapMs);
    } else {
        if (!reply.empty()) Answer(f, NETCMD_FILE_REQUEST, reply, rf.delayMs, f.splitAt, f.splitGapMs);
        if (f.waitFileAck && !reply.empty()) {
            heldFile_ = std::move(file);
            if (f.closeMidFile) heldFile_.clear();
        } else {
            Answer(f, NETCMD_FILE_REQUEST, file, 0, FileCuts(f, file.size()), fileGap);
        }
    }
    if (f.closeMidFile) outbox_.Close();
}

std::uint64_t CommandHandler::BackupBytes(DWORD start, DWORD end, DWORD type) const {
    std::uint64_t total = 0;
    for (const auto& r : recordings_) {
        if (r.startTime > end || r.endTime < start) continue;
        if (type == 1 && !r.HasEvent()) continue;
        total += r.bytes;
    }
    if (recordings_.empty() && end >= start) {
        // Synthesised: about 8 KB a picture.
        const std::uint64_t rate = options_.standard == 2 ? 25 : 30;
        total = (std::uint64_t{end} - start + 1) * rate * static_cast<std::uint64_t>(options_.cameras) * 8192;
    }
    return total;
}

} // namespace recsim
