#include "formats/NetPacket.h"

#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <algorithm>

DWORD NetMsgPacket::Word(std::size_t offset) const {
    if (offset > kNetMsgPacketSize - 4) throw EQelFormatError(Format("packet word at %zu", offset));
    return GetU32(bytes.data() + offset);
}

void NetMsgPacket::SetWord(std::size_t offset, DWORD value) {
    if (offset > kNetMsgPacketSize - 4) throw EQelFormatError(Format("packet word at %zu", offset));
    PutU32(bytes.data() + offset, value);
}

WORD NetMsgPacket::Type() const {
    return GetU16(bytes.data());
}
WORD NetMsgPacket::Version() const {
    return GetU16(bytes.data() + 2);
}

std::string NetMsgPacket::Password() const {
    const BYTE* p = bytes.data() + kPasswordOffset;
    const std::size_t n = std::find(p, p + kPasswordMax, 0) - p;
    return std::string(reinterpret_cast<const char*>(p), n);
}

void NetMsgPacket::SetPassword(std::string_view text) {
    BYTE* p = bytes.data() + kPasswordOffset;
    std::fill(p, p + kPasswordMax, 0);
    std::copy_n(text.begin(), std::min(text.size(), kPasswordMax), p);
}

DWORD NetMsgPacket::Param(int n) const {
    if (n < 1 || n > 5) throw EQelFormatError(Format("device message param %d", n));
    return Word(52 + 4 * (n - 1));
}

void NetMsgPacket::SetParam(int n, DWORD value) {
    if (n < 1 || n > 5) throw EQelFormatError(Format("device message param %d", n));
    SetWord(52 + 4 * (n - 1), value);
}

std::string NetMsgPacket::MsgText() const {
    const BYTE* p = bytes.data() + kQelMsgTextOffset;
    const std::size_t n = std::find(p, p + kQelMsgTextMax, 0) - p;
    return std::string(reinterpret_cast<const char*>(p), n);
}

void NetMsgPacket::SetMsgText(std::string_view text) {
    BYTE* p = bytes.data() + kQelMsgTextOffset;
    std::fill(p, p + kQelMsgTextMax, 0);
    std::copy_n(text.begin(), std::min(text.size(), kQelMsgTextMax), p);
}

NetMsgPacket NetMsgPacket::FromBytes(const BYTE* data, std::size_t length) {
    if (data == nullptr || length < kNetMsgPacketSize)
        throw EQelFormatError(Format("packet of %zu bytes", data ? length : 0));
    NetMsgPacket pkt;
    std::copy_n(data, kNetMsgPacketSize, pkt.bytes.begin());
    return pkt;
}

int InitQelMsg(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0) {
    PutU16(pkt.bytes.data(), type);
    PutU16(pkt.bytes.data() + 2, 1);
    pkt.SetWord(4, kNetMsgMagic);
    pkt.SetWord(8, command);
    pkt.SetWord(12, arg0);
    return 0;
}

int InitQelMsg2(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0, DWORD arg1) {
    InitQelMsg(pkt, type, command, arg0);
    pkt.SetWord(24, arg1);
    return 0;
}

int InitQelMsgEx(NetMsgPacket& pkt, WORD type, DWORD command, DWORD arg0, DWORD arg1, DWORD arg2,
                 DWORD result) {
    InitQelMsg2(pkt, type, command, arg0, arg1);
    pkt.SetWord(28, arg2);
    pkt.SetWord(20, result);
    return 0;
}

NetMsgPacket MakeNetCommand(DWORD command, DWORD arg0, DWORD arg1, DWORD arg2, DWORD word20) {
    NetMsgPacket pkt;
    InitQelMsgEx(pkt, NETMSG, command, arg0, arg1, arg2, word20);
    return pkt;
}

NetMsgPacket MakeBackupRequest(DWORD arg0, DWORD arg1, DWORD arg2, DWORD word20) {
    NetMsgPacket pkt = MakeNetCommand(NETCMD_SEARCH, arg0, arg1, arg2, word20);
    pkt.SetBackupFlag();
    return pkt;
}

NetMsgPacket MakePasswordPacket(DWORD level, std::string_view password) {
    NetMsgPacket pkt;
    InitQelMsg(pkt, NETMSG, NETCMD_PASSWORD, level);
    pkt.SetPassword(password);
    return pkt;
}

NetMsgPacket MakeReply(DWORD retcommand, DWORD result, DWORD arg0, DWORD arg1, DWORD arg2) {
    NetMsgPacket pkt;
    InitQelMsgEx(pkt, NETMSG, NETCMD_REPLY, arg0, arg1, arg2, result);
    pkt.SetRetCommand(retcommand);
    return pkt;
}

NetMsgPacket MakeFileAck() {
    NetMsgPacket pkt;
    InitQelMsg(pkt, NETMSG, NETCMD_REPLY, NETCMD_FILE);
    pkt.SetResult(1);
    return pkt;
}

NetMsgPacket MakeFileAnnouncement(DWORD size, DWORD kind, DWORD disk) {
    return MakeNetCommand(NETCMD_FILE, size, kind, disk);
}

NetMsgPacket MakeDeviceEvent(DWORD kind, DWORD detail) {
    NetMsgPacket pkt;
    InitQelMsg2(pkt, NETMSG, NETCMD_DEVICE_EVENT, kind, detail);
    return pkt;
}

NetMsgPacket MakeQelMsg(DWORD msgid, DWORD ret, DWORD errcode, const std::array<DWORD, 5>& params,
                        std::string_view text) {
    NetMsgPacket pkt;
    InitQelMsg(pkt, QELMSG, 0, 0);
    pkt.SetWord(32, kQelMsgWord32);
    pkt.SetWord(36, kQelMsgWord36);
    pkt.SetWord(40, msgid);
    pkt.SetWord(44, ret);
    pkt.SetWord(48, errcode);
    for (int i = 0; i < 5; ++i)
        pkt.SetParam(i + 1, params[i]);
    pkt.SetMsgText(text);
    return pkt;
}

NetMsgPacket DecodeNetPacket(const BYTE* data, std::size_t length) {
    NetMsgPacket pkt = NetMsgPacket::FromBytes(data, length);
    if (pkt.Type() != NETMSG && pkt.Type() != QELMSG)
        throw EQelFormatError(Format("packet type %u", unsigned(pkt.Type())));
    if (pkt.Version() != 1) throw EQelFormatError(Format("packet word at 2 is %u", unsigned(pkt.Version())));
    if (pkt.Magic() != kNetMsgMagic)
        throw EQelFormatError(Format("packet magic 0x%08X", unsigned(pkt.Magic())));
    return pkt;
}

namespace {

// First non-zero byte in [from, to) outside the allowed ranges, or -1.
int FirstNonZero(const NetMsgPacket& pkt, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (pkt.bytes[i] != 0) return static_cast<int>(i);
    return -1;
}

} // namespace

std::string NetPacketPaddingProblem(const NetMsgPacket& pkt) {
    int bad = -1;
    if (pkt.Type() == QELMSG) {
        bad = FirstNonZero(pkt, 8, 32);
        if (bad < 0 && pkt.Word(32) != kQelMsgWord32) bad = 32;
        if (bad < 0 && pkt.Word(36) != kQelMsgWord36) bad = 36;
        if (bad < 0) {
            // The text must be zero after its end.
            const BYTE* text = pkt.bytes.data() + kQelMsgTextOffset;
            const std::size_t n = std::find(text, text + kQelMsgTextMax, 0) - text;
            bad = FirstNonZero(pkt, kQelMsgTextOffset + n, kNetMsgPacketSize);
        }
    } else {
        const DWORD cmd = pkt.Command();
        if (cmd == NETCMD_PASSWORD) {
            bad = FirstNonZero(pkt, 32, kPasswordOffset);
            if (bad < 0) {
                const std::size_t n = pkt.Password().size();
                bad = FirstNonZero(pkt, kPasswordOffset + n, kNetMsgPacketSize);
            }
        } else if (cmd == NETCMD_SEARCH) {
            bad = FirstNonZero(pkt, 32, kBackupFlagOffset);
            if (bad < 0 && pkt.Word(kBackupFlagOffset) > 1) bad = kBackupFlagOffset;
            if (bad < 0) bad = FirstNonZero(pkt, kBackupFlagOffset + 4, kNetMsgPacketSize);
        } else {
            bad = FirstNonZero(pkt, 32, kNetMsgPacketSize);
        }
    }
    return bad < 0 ? std::string() : Format("non-zero byte at %d", bad);
}

std::string QelFileName(DWORD kind, DWORD disk) {
    switch (kind) {
    case QELFILE_CONFIG:
        return "config.ini";
    case QELFILE_SCHEDULE:
        return "schedule.dat";
    case QELFILE_DATABASE:
        switch (disk) {
        case QELDISK_HDD:
            return "qeldbfile_hdd.db";
        case QELDISK_CF:
            return "qeldbfile_cf.db";
        case QELDISK_SD:
            return "qeldbfile_sd.db";
        default:
            return {};
        }
    case QELFILE_LOGLIST:
        return "loglist.db";
    case QELFILE_HOLIDAY:
        return "holiday.ini";
    case QELFILE_INFO:
        return "info.ini";
    default:
        return {};
    }
}

std::string RecordStateLogText(bool fromEvent, DWORD state) {
    static const char* const names[] = {"OFF", "SCH", "REC", "ENT"};
    if (state > 3) return {};
    return std::string(fromEvent ? "N_R_" : "C_R_") + names[state];
}

DWORD MulticastGroupParam(BYTE a, BYTE b, BYTE c, BYTE d) {
    return (DWORD{a} << 24) | (DWORD{b} << 16) | (DWORD{c} << 8) | DWORD{d};
}

std::string MulticastGroupText(DWORD param) {
    return Format("%u.%u.%u.%u", unsigned(param >> 24), unsigned((param >> 16) & 0xFF),
                  unsigned((param >> 8) & 0xFF), unsigned(param & 0xFF));
}
