// The client's side of the command connection, without any window: the send path and its waits, the
// packet senders, send-and-wait, and the receiver loop that turns the recorder's bytes into packets and
// files. The main window derives from it (so these are its members) and adds what windows show; tests
// derive from it to drive a simulated recorder directly.
#pragma once

#include "client/Activities.h"
#include "client/LinkWait.h"
#include "client/ReplyBook.h"
#include "formats/CommandReceiver.h"
#include "formats/NetPacket.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class TObject;
class TWSocket;

inline constexpr DWORD kSendLimitMs = 5000;
inline constexpr DWORD kReplyLimitMs = 5000;
inline constexpr DWORD kDatabaseLimitMs = 300000;
// A file other than a recorder database comes whole within this time of its announcement, or not at all.
inline constexpr DWORD kFileLimitMs = 10000;

// The four argument words of a command packet by name; which is which differs between callers, the
// places on the wire never do.
struct TNetCommandArgs {
    DWORD arg0 = 0;   // offset 12
    DWORD arg1 = 0;   // offset 24
    DWORD arg2 = 0;   // offset 28
    DWORD word20 = 0; // offset 20 (the result word of a reply)
};

class CCommandLink {
public:
    CCommandLink() = default;
    virtual ~CCommandLink() = default;
    CCommandLink(const CCommandLink&) = delete;
    CCommandLink& operator=(const CCommandLink&) = delete;

    // What runs: the waits below serve the link and end when it ends (TActivity::Link).
    CActivities Activities;

    // ---- Send path ----
    // Bytes handed to the socket and not yet reported sent.
    int PendingSendBytes = 0;
    // Sends raw bytes and waits, pumping, until the socket has sent them, at most 5 s; the wait serves
    // the link, or the work named, and ends with it (the bytes stay queued). Returns what the socket's
    // Send returned; -1 at once when the connection is not up.
    int SocketSend(const void* buffer, int length, TActivity serves = TActivity::Link);
    void CliSocketSendData(TObject* sender, int count);
    void CliSocketDataSent(TObject* sender, WORD error);

    // ---- Packet senders: a zeroed packet, filled, sent with SocketSend ----
    void SendNetPacketCommand(DWORD command, DWORD arg0);
    void SendNetPacketCommand2(DWORD command, DWORD arg0, DWORD arg1);
    int SendNetPacketCommand3(DWORD command, const TNetCommandArgs& args);
    // As SendNetPacketCommand3, with the backup flag.
    int SendNetPacketBackupCommand(DWORD command, const TNetCommandArgs& args);
    void SendNetQelMsg(DWORD msgid, DWORD param1, DWORD param2, DWORD param3, DWORD param4, DWORD param5,
                       const std::string& text);
    void SendNetPacketPassword(const std::string& password);
    // Announces an upload of `data` as file `kind` (0 firmware) and sends its bytes; no other packet goes
    // out between the announcement and the last byte. The wait for the bytes serves `serves`. Returns
    // what the last send returned.
    int SendFileUpload(DWORD kind, const std::string& data, TActivity serves = TActivity::Link);

    // ---- Waiting for replies ----
    // 0 = no reply yet; else the value of the last reply (its result; 1 for 119, 122 and a finished file).
    int ReplySlot = 0;
    // Sends the command (two arguments when arg1 is not 0) and pumps until a reply naming it arrives with
    // a value other than 0 (1; the value is then in ReplySlot) or the limit passes (0). The application
    // ending returns 0 and leaves the heartbeat timer off; every other return switches it on.
    // The wait serves the link, or the activity named (and ends with it, see LastWaitEnd).
    int SendCommandAndWait(DWORD command, DWORD arg0, DWORD timeoutMs, DWORD arg1 = 0,
                           TActivity serves = TActivity::Link);
    // How the last SendCommandAndWait ended: Ended when the activity it served ended (the caller then
    // stops quietly), TimedOut when no reply came in time or over a connection that is not up.
    TWaitEnd LastWaitEnd() const { return lastWaitEnd_; }
    const CReplyBook& Replies() const { return replies_; }
    // Uploads are numbered in the order of their announcements (104) on this link, and the recorder
    // answers them in that order: the nth reply to 104 is the nth upload's, however late it comes.
    // The number of the last upload announced.
    std::uint64_t LastUpload() const { return uploadsAnnounced_; }
    // The result of the reply to that upload once it has come. No later upload is announced while one
    // waits for its reply, so the last reply to 104 is that one's.
    std::optional<int> UploadReply(std::uint64_t upload) const;
    // Uploads announced on this link whose replies have not come.
    std::uint64_t UploadRepliesDue() const;
    // Those replies are given up: the next reply to 104 is taken for the next upload.
    void ForgetDueUploadReplies();

    // ---- Reply state for the windows that poll ----
    int SysInfoResult = 0;
    int SysInfoArg0 = 0;
    int SysInfoArg1 = 0;
    int GetSysInfoResult() const { return SysInfoResult; }
    BYTE UploadAccepted = 0;
    int ApplyResult = 0;
    int LoginOption = 0;
    int HeartbeatMisses = 0;
    // A requested file is complete under its name; cleared by the requester before asking.
    BYTE FileReceived = 0;
    // The last file announced could not be stored (its bytes were still read past), and why in the
    // system's words (empty when it named no file).
    BYTE FileReceiveFailed = 0;
    std::string FileStoreFailure;

    // ---- Receiving ----
    CCommandReceiver Receiver;
    // What the next read asks for: the rest of a file being received, at most 4096.
    int CmdReadSize = CCommandReceiver::kReadSize;
    // One read from the socket into the receiver's queue, then every complete unit in order.
    void ReceiveCommandData(TWSocket* socket, TObject* sender);
    // The part of acting on a reply that needs no window: slot, reply fields, the file request's
    // acknowledgement.
    void NoteReply(const NetMsgPacket& reply);
    // A new connection or the end of one: nothing queued, no file half-received, no packet held back.
    void ResetLink();
    // Gives up the file being received, which did not come whole in time: the recorder announced more
    // than it sent, and what it sends next is read as packets again instead of as the file's bytes.
    // FileAbandoned says which file; false when none was being received.
    bool AbandonFile();

protected:
    // The command connection.
    virtual TWSocket* CommandSocket() const = 0;
    virtual void SetHeartbeatTimer(bool enabled) = 0;
    // Log-in level of the password packet: 1 administrator, 2 user.
    virtual int PasswordLevel() = 0;
    // Acts on one packet (file announcements have already switched the receiver to file mode).
    virtual void ExecuteMsgCommands(TObject* sender, const NetMsgPacket& packet) = 0;
    virtual void FileProgress(const TReceivedUnit&) {}
    virtual void FileFinished(const TReceivedUnit&) {}
    virtual void FileAbandoned(const TReceivedUnit&) {}

private:
    TWaitEnd lastWaitEnd_ = TWaitEnd::Done;
    int SendPacket(const NetMsgPacket& packet);
    int SendNow(const void* buffer, int length);
    void WaitSent(TActivity serves = TActivity::Link);
    bool ConnectionUp() const;
    void NoteFileDone(const TReceivedUnit& unit);
    // The file being received is past its time (kFileLimitMs, a database kDatabaseLimitMs) and is given up.
    void AbandonOverdueFile();

    CReplyBook replies_;
    // Bytes handed to the socket and bytes it reported sent, since the link was reset.
    std::int64_t queuedBytes_ = 0;
    std::int64_t sentBytes_ = 0;
    // An upload is under way: its raw bytes still due, and the packets held back until they are out.
    std::int64_t uploadDue_ = 0;
    std::uint64_t uploadsAnnounced_ = 0;
    std::deque<NetMsgPacket> held_;
    // When the file being received was announced.
    DWORD fileAnnouncedAt_ = 0;
};
