// The 112-byte packet of the command connection, its numbers and its builders.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kNetMsgPacketSize = 112;
inline constexpr DWORD kNetMsgMagic = 0xABCDEFAB;

enum NetMsgType : WORD { NETMSG = 16, QELMSG = 17 };

enum NetCommand : DWORD {
    NETCMD_REPLY = 100,
    NETCMD_SYSINFO = 101,
    NETCMD_PASSWORD = 102,
    NETCMD_FILE = 104,
    NETCMD_FILE_REQUEST = 105,
    NETCMD_CAMERA_INFO = 107,
    NETCMD_MODE = 108,
    NETCMD_STATUS = 109,
    NETCMD_LIVE_START = 112,
    NETCMD_LIVE_STOP = 113,
    NETCMD_SEARCH = 114,
    NETCMD_SEARCH_STOP = 115,
    NETCMD_RECORDER_116 = 116,
    NETCMD_RECORDER_117 = 117,
    NETCMD_REMOTE_RECORD = 118,
    NETCMD_LOGIN_OPTION = 119,
    NETCMD_APPLY = 121,
    NETCMD_HEARTBEAT = 122,
    NETCMD_PAUSE = 123,
    NETCMD_PLAY = 124,
    NETCMD_BACKUP_SIZE = 125,
    NETCMD_DEVICE_EVENT = 500,
};

enum QelFileKind : DWORD {
    QELFILE_FIRMWARE = 0,
    QELFILE_CONFIG = 1,
    QELFILE_SCHEDULE = 3,
    QELFILE_DATABASE = 4,
    QELFILE_LOGLIST = 5,
    QELFILE_HOLIDAY = 6,
    QELFILE_INFO = 7,
};

// Disk argument of a database request.
enum QelDisk : DWORD { QELDISK_HDD = 0, QELDISK_CF = 1, QELDISK_SD = 2 };

// arg0 of device event 500.
enum DeviceEventKind : DWORD {
    DEVEVENT_NONE = 0,
    DEVEVENT_NONE_1 = 1,
    DEVEVENT_DISK_ERROR = 2,
    DEVEVENT_RECORD_STATE = 3,
    DEVEVENT_REMOTE_WORK = 4,
    DEVEVENT_BACKUP = 5,
};
inline constexpr DWORD kBackupStreamEnd = 2; // arg1 of DEVEVENT_BACKUP

enum RecordState : DWORD {
    RECSTATE_OFF = 0,
    RECSTATE_SCHEDULED = 1,
    RECSTATE_RECORDING = 2,
    RECSTATE_FOURTH = 3
};

// msgid of a QELMSG.
enum DeviceMessage : DWORD {
    MSG_REPLY = 1,
    MSG_FM_NETWORK_SYSTEM_UPGRADE = 525,
    MSG_FM_UPGRADE_PROGRESS = 527,
    MSG_MULTICAST_GROUP = 532,
};

inline constexpr DWORD kQelMsgWord32 = 0x700;
inline constexpr DWORD kQelMsgWord36 = 0x100;
inline constexpr std::size_t kPasswordOffset = 72;
inline constexpr std::size_t kPasswordMax = 10;
inline constexpr std::size_t kBackupFlagOffset = 52;
inline constexpr std::size_t kQelMsgTextOffset = 72;
inline constexpr std::size_t kQelMsgTextMax = 40;

// A packet as bytes with named little-endian accessors. A new packet is all zero.
struct NetMsgPacket {
    std::array<BYTE, kNetMsgPacketSize> bytes{};

    void Clear() { bytes.fill(0); }
    DWORD Word(std::size_t offset) const;
    void SetWord(std::size_t offset, DWORD value);

    WORD Type() const;
    WORD Version() const;
    DWORD Magic() const { return Word(4); }
    DWORD Command() const { return Word(8); }
    DWORD Arg0() const { return Word(12); }
    DWORD RetCommand() const { return Word(16); }
    DWORD Result() const { return Word(20); } // the fourth argument of requests 114 and 125
    DWORD Arg1() const { return Word(24); }
    DWORD Arg2() const { return Word(28); }
    void SetResult(DWORD v) { SetWord(20, v); }
    void SetRetCommand(DWORD v) { SetWord(16, v); }

    // The password field: up to 10 bytes, not terminated when full.
    std::string Password() const;
    void SetPassword(std::string_view text);
    bool BackupFlag() const { return Word(kBackupFlagOffset) == 1; }
    void SetBackupFlag() { SetWord(kBackupFlagOffset, 1); }

    DWORD MsgId() const { return Word(40); }
    DWORD MsgRet() const { return Word(44); }
    DWORD ErrCode() const { return Word(48); }
    // param 1..5
    DWORD Param(int n) const;
    void SetParam(int n, DWORD value);
    std::string MsgText() const;
    void SetMsgText(std::string_view text);

    // Copies the first 112 bytes; raises EQelFormatError when fewer are given.
    static NetMsgPacket FromBytes(const BYTE* data, std::size_t length);
};

// The system's header builders: they set type, the word 1 at offset 2, the magic and the words named,
// and never clear the packet. They return 0.
int InitQelMsg(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0);
int InitQelMsg2(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0, DWORD arg1);
int InitQelMsgEx(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0, DWORD arg1, DWORD arg2,
                 DWORD result);

// Whole packets, zeroed first.
NetMsgPacket MakeNetCommand(DWORD command, DWORD arg0, DWORD arg1 = 0, DWORD arg2 = 0, DWORD word20 = 0);
// Request 114 with the backup flag at offset 52.
NetMsgPacket MakeBackupRequest(DWORD arg0, DWORD arg1, DWORD arg2, DWORD word20);
NetMsgPacket MakePasswordPacket(DWORD level, std::string_view password);
NetMsgPacket MakeReply(DWORD retcommand, DWORD result, DWORD arg0 = 0, DWORD arg1 = 0, DWORD arg2 = 0);
// The client's acknowledgement of a file-request reply.
NetMsgPacket MakeFileAck();
NetMsgPacket MakeFileAnnouncement(DWORD size, DWORD kind, DWORD disk = 0);
NetMsgPacket MakeDeviceEvent(DWORD kind, DWORD detail);
NetMsgPacket MakeQelMsg(DWORD msgid, DWORD ret, DWORD errcode, const std::array<DWORD, 5>& params = {},
                        std::string_view text = {});

// Parses a packet and checks the words every packet carries: type 16 or 17, the word 1 at offset 2 and
// the magic. Raises EQelFormatError otherwise.
NetMsgPacket DecodeNetPacket(const BYTE* data, std::size_t length);

// The bytes that must be zero in a packet the client sends and are not: empty when the packet is clean.
// Names the first offending offset.
std::string NetPacketPaddingProblem(const NetMsgPacket& pkt);

// The file a kind names ("config.ini", ...; the database by disk); empty for unknown kinds and disks.
std::string QelFileName(DWORD kind, DWORD disk = 0);

// The log texts of record states: "C_R_OFF".. from a status reply, "N_R_OFF".. from event 3; empty
// outside 0..3.
std::string RecordStateLogText(bool fromEvent, DWORD state);

// Multicast group as carried in param 1 (first octet in the most significant byte).
DWORD MulticastGroupParam(BYTE a, BYTE b, BYTE c, BYTE d);
std::string MulticastGroupText(DWORD param);
