#include "client/CommandLink.h"

#include "client/LinkWait.h"
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

namespace {

void Trace(const char* method, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + method).c_str(), message);
}

// What the trace shows in place of a password.
constexpr const char* kPasswordMask = "******";

} // namespace

// ---- Send path ----

bool CCommandLink::ConnectionUp() const {
    const TWSocket* socket = CommandSocket();
    return socket != nullptr && socket->State() == wsConnected;
}

int CCommandLink::SendNow(const void* buffer, int length) {
    if (!ConnectionUp() || length < 0) {
        // The closed link is reported by its own closing; no error box per packet.
        Trace("SocketSend", "not connected");
        return -1;
    }
    queuedBytes_ += length;
    PendingSendBytes = static_cast<int>(queuedBytes_ - sentBytes_);
    const int result = CommandSocket()->Send(buffer, length);
    if (result < 0) {
        // Nothing more will be reported sent for these bytes.
        sentBytes_ = queuedBytes_;
        PendingSendBytes = 0;
    }
    return result;
}

void CCommandLink::CliSocketSendData(TObject*, int count) {
    sentBytes_ += count;
    PendingSendBytes = static_cast<int>(queuedBytes_ - sentBytes_);
}

void CCommandLink::CliSocketDataSent(TObject*, WORD error) {
    if (error != 0) Trace("CliSocketDataSent", Format("CliSocketDataSent Error:%d", error));
}

void CCommandLink::WaitSent(TActivity serves) {
    const std::int64_t target = queuedBytes_;
    const TWaitEnd end = PumpUntil(
        serves, Activities, [&] { return sentBytes_ >= target || !ConnectionUp(); }, kSendLimitMs);
    if (end == TWaitEnd::TimedOut) Trace("SocketSend", "SocketSend time out");
    if (!ConnectionUp()) {
        sentBytes_ = queuedBytes_;
        PendingSendBytes = 0;
    }
}

int CCommandLink::SocketSend(const void* buffer, int length, TActivity serves) {
    const int result = SendNow(buffer, length);
    if (result < 0) return result;
    if (uploadDue_ > 0) {
        uploadDue_ -= length;
        if (uploadDue_ <= 0) {
            // The last raw byte is queued; what was held back goes out behind it.
            uploadDue_ = 0;
            while (!held_.empty()) {
                const NetMsgPacket packet = held_.front();
                held_.pop_front();
                SendNow(packet.bytes.data(), static_cast<int>(kNetMsgPacketSize));
            }
        }
    }
    WaitSent(serves);
    return result;
}

int CCommandLink::SendPacket(const NetMsgPacket& packet) {
    // Counted in the order they reach the wire, held back or not.
    if (packet.Type() == NETMSG && packet.Command() == NETCMD_FILE) ++uploadsAnnounced_;
    if (uploadDue_ > 0) {
        // Never between an upload's announcement and its bytes.
        held_.push_back(packet);
        return static_cast<int>(kNetMsgPacketSize);
    }
    const int result = SendNow(packet.bytes.data(), static_cast<int>(kNetMsgPacketSize));
    if (result < 0) return result;
    // The client's own 104 announces raw bytes that must follow it directly.
    if (packet.Type() == NETMSG && packet.Command() == NETCMD_FILE) uploadDue_ = packet.Arg0();
    WaitSent();
    return result;
}

// ---- Packet senders ----

void CCommandLink::SendNetPacketCommand(DWORD command, DWORD arg0) {
    Trace("SendNetPacketCommand", Format("Entering SendNetPacketCommand msg:%u arg:%u", command, arg0));
    NetMsgPacket packet;
    InitQelMsg(packet, NETMSG, command, arg0);
    const int sent = SendPacket(packet);
    Trace("SendNetPacketCommand", Format("Leaving SendNetPacketCommand sent:%d", sent));
}

void CCommandLink::SendNetPacketCommand2(DWORD command, DWORD arg0, DWORD arg1) {
    Trace("SendNetPacketCommand2", Format("Entering SendNetPacketCommand msg:%u arg:%u", command, arg0));
    NetMsgPacket packet;
    InitQelMsg2(packet, NETMSG, command, arg0, arg1);
    const int sent = SendPacket(packet);
    Trace("SendNetPacketCommand2", Format("Leaving SendNetPacketCommand sent:%d", sent));
}

int CCommandLink::SendNetPacketCommand3(DWORD command, const TNetCommandArgs& args) {
    Trace("SendNetPacketCommand3", Format("Entering SendNetPacketCommand msg:%u arg:%u", command, args.arg0));
    NetMsgPacket packet;
    InitQelMsgEx(packet, NETMSG, command, args.arg0, args.arg1, args.arg2, args.word20);
    const int sent = SendPacket(packet);
    Trace("SendNetPacketCommand3", Format("Leaving SendNetPacketCommand sent:%d", sent));
    return sent;
}

int CCommandLink::SendNetPacketBackupCommand(DWORD command, const TNetCommandArgs& args) {
    Trace("SendNetPacketBackupCommand",
          Format("Entering SendNetPacketCommand msg:%u arg:%u", command, args.arg0));
    NetMsgPacket packet;
    InitQelMsgEx(packet, NETMSG, command, args.arg0, args.arg1, args.arg2, args.word20);
    packet.SetBackupFlag();
    const int sent = SendPacket(packet);
    Trace("SendNetPacketBackupCommand", Format("Leaving SendNetPacketCommand sent:%d", sent));
    return sent;
}

void CCommandLink::SendNetQelMsg(DWORD msgid, DWORD param1, DWORD param2, DWORD param3, DWORD param4,
                                 DWORD param5, const std::string& text) {
    Trace("SendNetQelMsg", Format("Entering SendNetQelMsg(%u) %u %u %u %u %u %s", msgid, param1, param2,
                                  param3, param4, param5, text.c_str()));
    NetMsgPacket packet;
    InitQelMsg(packet, QELMSG, 0, 0);
    packet.SetWord(32, kQelMsgWord32);
    packet.SetWord(36, kQelMsgWord36);
    packet.SetWord(40, msgid);
    const DWORD params[] = {param1, param2, param3, param4, param5};
    for (int i = 0; i < 5; ++i)
        packet.SetParam(i + 1, params[i]);
    packet.SetMsgText(text);
    const int sent = SendPacket(packet);
    Trace("SendNetQelMsg", Format("Leaving SendNetQelMsg Sent %d bytes", sent));
}

void CCommandLink::SendNetPacketPassword(const std::string& password) {
    Trace("SendNetPacketPassword",
          Format("Entering SendNetPacketPassword(%d) %s", NETCMD_PASSWORD, kPasswordMask));
    NetMsgPacket packet;
    InitQelMsg(packet, NETMSG, NETCMD_PASSWORD, static_cast<DWORD>(PasswordLevel()));
    packet.SetPassword(password);
    const int sent = SendPacket(packet);
    Trace("SendNetPacketPassword", Format("Leaving SendNetPacketPassword Sent %d bytes", sent));
}

int CCommandLink::SendFileUpload(DWORD kind, const std::string& data, TActivity serves) {
    const std::size_t size = data.size();
    if (size > 0x7FFFFFFF) return -1;
    SendNetPacketCommand2(NETCMD_FILE, static_cast<DWORD>(size), kind);
    if (size == 0) return 0;
    // Work that ends meanwhile leaves the rest queued: it goes out behind the announcement all the same.
    return SocketSend(data.data(), static_cast<int>(size), serves);
}

// ---- Waiting for replies ----

int CCommandLink::SendCommandAndWait(DWORD command, DWORD arg0, DWORD timeoutMs, DWORD arg1,
                                     TActivity serves) {
    SetHeartbeatTimer(false);
    ReplySlot = 0;
    const std::uint64_t before = replies_.Endings(command);
    if (arg1 == 0)
        SendNetPacketCommand(command, arg0);
    else
        SendNetPacketCommand2(command, arg0, arg1);
    bool replied = false;
    const TWaitEnd end = PumpUntil(
        serves, Activities,
        [&] {
            replied = replies_.Endings(command) != before;
            // No reply can come over a connection that is gone.
            return replied || !ConnectionUp();
        },
        timeoutMs);
    // No reply over a connection that is not up is no reply in time; Ended is for the activity ending.
    lastWaitEnd_ = !replied && end == TWaitEnd::Done ? TWaitEnd::TimedOut : end;
    if (end == TWaitEnd::Terminated) return 0;
    // The reply may have gone into a file the recorder announced longer than it is.
    if (!replied) AbandonOverdueFile();
    SetHeartbeatTimer(true);
    if (!replied) return 0;
    // Other replies may have come in behind this one; the caller reads its own.
    ReplySlot = replies_.Value(command);
    return 1;
}

std::optional<int> CCommandLink::UploadReply(std::uint64_t upload) const {
    if (upload == 0 || replies_.Count(NETCMD_FILE) < upload) return std::nullopt;
    return replies_.Value(NETCMD_FILE);
}

std::uint64_t CCommandLink::UploadRepliesDue() const {
    const std::uint64_t replies = replies_.Count(NETCMD_FILE);
    return uploadsAnnounced_ > replies ? uploadsAnnounced_ - replies : 0;
}

void CCommandLink::ForgetDueUploadReplies() {
    uploadsAnnounced_ = replies_.Count(NETCMD_FILE);
}

// ---- Receiving ----

void CCommandLink::NoteReply(const NetMsgPacket& reply) {
    const DWORD retcommand = reply.RetCommand();
    const DWORD result = reply.Result();
    switch (retcommand) {
    case NETCMD_SYSINFO:
        SysInfoResult = static_cast<int>(result);
        SysInfoArg0 = static_cast<int>(reply.Arg0());
        SysInfoArg1 = static_cast<int>(reply.Arg1());
        break;
    case NETCMD_FILE:
        UploadAccepted = result != 0;
        break;
    case NETCMD_APPLY:
        ApplyResult = static_cast<int>(result);
        break;
    case NETCMD_LOGIN_OPTION:
        if (reply.Arg0() == 1 && (reply.Arg1() == 1 || reply.Arg1() == 2))
            LoginOption = static_cast<int>(reply.Arg1());
        break;
    case NETCMD_HEARTBEAT:
        HeartbeatMisses = 0;
        break;
    default:
        break;
    }
    if (const std::optional<int> value = ReplySlotValue(retcommand, result)) {
        ReplySlot = *value;
        replies_.Record(retcommand, *value);
    }
    if (retcommand == NETCMD_FILE_REQUEST) {
        // Sending pumps: whatever follows the reply is read (in order) before this returns.
        NetMsgPacket ack;
        InitQelMsg(ack, NETMSG, NETCMD_REPLY, NETCMD_FILE);
        ack.SetResult(1);
        SendPacket(ack);
    }
}

void CCommandLink::ReceiveCommandData(TWSocket* socket, TObject* sender) {
    BYTE buffer[CCommandReceiver::kReadSize];
    const int n = socket->Receive(buffer, Receiver.ReadSize());
    if (n <= 0) return;
    // Bytes past a file's time are the recorder's packets, not that file's.
    AbandonOverdueFile();
    Receiver.Append(buffer, static_cast<std::size_t>(n));
    std::size_t processed = 0;
    TReceivedUnit unit;
    // Nested calls (a handler below pumps) take the following units themselves, in order.
    while (Receiver.Next(unit)) {
        switch (unit.Kind) {
        case TReceivedUnit::Packet:
            processed += kNetMsgPacketSize;
            // A file's time runs from its announcement.
            if (Receiver.ReceiveMode() == 1 && unit.packet.Command() == NETCMD_FILE)
                fileAnnouncedAt_ = GetTickCount();
            ExecuteMsgCommands(sender, unit.packet);
            break;
        case TReceivedUnit::FileProgress:
            FileProgress(unit);
            break;
        case TReceivedUnit::FileDone:
            NoteFileDone(unit);
            break;
        }
    }
    CmdReadSize = Receiver.ReadSize();
    Trace("CliSocketDataAvailable", Format("bytes_received:%d, bytes_processed:%zu", n, processed));
}

void CCommandLink::NoteFileDone(const TReceivedUnit& unit) {
    Trace("CliSocketDataAvailable",
          Format("Finished Receiving File %llu", static_cast<unsigned long long>(unit.Received)));
    if (unit.Stored) {
        FileReceived = 1;
        FileReceiveFailed = 0;
        ReplySlot = 1;
        replies_.Record(NETCMD_FILE_REQUEST, 1);
    } else {
        FileReceiveFailed = 1;
        FileStoreFailure = unit.Failure;
    }
    FileFinished(unit);
}

bool CCommandLink::AbandonFile() {
    TReceivedUnit unit;
    if (!Receiver.AbandonFile(unit)) return false;
    CmdReadSize = Receiver.ReadSize();
    Trace("AbandonFile",
          Format("file kind %u: %llu of %llu bytes came", unit.FileKind,
                 static_cast<unsigned long long>(unit.Received), static_cast<unsigned long long>(unit.Size)));
    FileAbandoned(unit);
    return true;
}

void CCommandLink::AbandonOverdueFile() {
    if (Receiver.ReceiveMode() != 1) return;
    const DWORD limit = Receiver.ShowDownloadGauge() ? kDatabaseLimitMs : kFileLimitMs;
    if (TickDistance(fileAnnouncedAt_, GetTickCount()) > limit) AbandonFile();
}

void CCommandLink::ResetLink() {
    Receiver.Reset();
    CmdReadSize = Receiver.ReadSize();
    ReplySlot = 0;
    queuedBytes_ = sentBytes_ = 0;
    PendingSendBytes = 0;
    uploadDue_ = 0;
    held_.clear();
    // Replies owed on the connection that ended never come on the next.
    ForgetDueUploadReplies();
}
