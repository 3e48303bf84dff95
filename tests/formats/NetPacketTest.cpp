#include "formats/NetPacket.h"
#include "formats/FormatError.h"

#include "tests/formats/HexBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<BYTE> Bytes(const NetMsgPacket& p) {
    return {p.bytes.begin(), p.bytes.end()};
}

// 112 bytes: the given head, zeros, and the given bytes at their offsets.
std::vector<BYTE> Expected(std::string_view head,
                           std::vector<std::pair<std::size_t, std::string_view>> at = {}) {
    std::vector<BYTE> out(kNetMsgPacketSize, 0);
    const auto h = HexBytes(head);
    std::copy(h.begin(), h.end(), out.begin());
    for (const auto& [offset, hex] : at) {
        const auto b = HexBytes(hex);
        std::copy(b.begin(), b.end(), out.begin() + offset);
    }
    return out;
}

TEST(NetPacket, GoldenBytesOfBuiltPackets) {
    struct Case {
        const char* name;
        NetMsgPacket packet;
        std::vector<BYTE> bytes;
    };
    const Case cases[] = {
        {"101 system information", MakeNetCommand(NETCMD_SYSINFO, 3),
         Expected("10 00 01 00 ab ef cd ab 65 00 00 00 03 00 00 00")},
        {"105 acknowledgement", MakeFileAck(),
         Expected("10 00 01 00 ab ef cd ab 64 00 00 00 68 00 00 00 00 00 00 00 01 00 00 00")},
        {"114 backup request", MakeBackupRequest(1199188800, 0, 1, 17),
         Expected("10 00 01 00 ab ef cd ab 72 00 00 00 40 2b 7a 47 00 00 00 00 11 00 00 00 00 00 00 00 01 00 "
                  "00 00",
                  {{52, "01 00 00 00"}})},
        {"125 backup size", MakeNetCommand(NETCMD_BACKUP_SIZE, 10, 20, 1, 0),
         Expected("10 00 01 00 ab ef cd ab 7d 00 00 00 0a 00 00 00 00 00 00 00 00 00 00 00 14 00 00 00 01 00 "
                  "00 00")},
        {"525 upgrade message", MakeQelMsg(MSG_FM_NETWORK_SYSTEM_UPGRADE, 0, 0),
         Expected("11 00 01 00 ab ef cd ab", {{32, "00 07 00 00 00 01 00 00 0d 02 00 00"}})},
        {"multicast reply",
         MakeQelMsg(MSG_REPLY, MSG_MULTICAST_GROUP, 1, {MulticastGroupParam(239, 1, 2, 3), 6000}),
         Expected(
             "11 00 01 00 ab ef cd ab",
             {{32, "00 07 00 00 00 01 00 00 01 00 00 00 14 02 00 00 01 00 00 00 03 02 01 ef 70 17 00 00"}})},
        {"device event", MakeDeviceEvent(DEVEVENT_BACKUP, kBackupStreamEnd),
         Expected("10 00 01 00 ab ef cd ab f4 01 00 00 05 00 00 00 00 00 00 00 00 00 00 00 02 00 00 00")},
        {"file announcement", MakeFileAnnouncement(10000, QELFILE_DATABASE, QELDISK_SD),
         Expected("10 00 01 00 ab ef cd ab 68 00 00 00 10 27 00 00 00 00 00 00 00 00 00 00 04 00 00 00 02 00 "
                  "00 00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Bytes(c.packet), c.bytes);
        EXPECT_EQ(NetPacketPaddingProblem(c.packet), "");
    }
}

TEST(NetPacket, PasswordFieldIsCutAtTenBytesWithoutTerminator) {
    struct Case {
        std::string password;
        std::string field; // bytes 72..81 as text, zero-padded
    };
    const Case cases[] = {
        {"", std::string(10, '\0')},
        {"123456789", std::string("123456789") + '\0'},
        {"0123456789", "0123456789"},
        {"0123456789X", "0123456789"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        const NetMsgPacket p = MakePasswordPacket(2, c.password);
        EXPECT_EQ(std::string(p.bytes.begin() + 72, p.bytes.begin() + 82), c.field);
        EXPECT_EQ(p.Command(), NETCMD_PASSWORD);
        EXPECT_EQ(p.Arg0(), 2u);
        EXPECT_EQ(p.Password(), c.password.substr(0, 10));
        for (std::size_t i = 32; i < kNetMsgPacketSize; ++i) {
            if (i < 72 || i > 81) {
                ASSERT_EQ(p.bytes[i], 0) << i;
            }
        }
        EXPECT_EQ(NetPacketPaddingProblem(p), "");
    }
}

TEST(NetPacket, DeviceMessageTextIsCutAtFortyAndZeroWithoutText) {
    EXPECT_EQ(MakeQelMsg(MSG_REPLY, 525, 0).MsgText(), "");
    const std::string long_text(45, 'x');
    const NetMsgPacket p = MakeQelMsg(MSG_REPLY, 525, 0, {}, long_text);
    EXPECT_EQ(p.MsgText(), std::string(40, 'x'));
    EXPECT_EQ(p.bytes[111], 'x');
}

TEST(NetPacket, BuildersSetOnlyTheirWords) {
    NetMsgPacket p;
    p.bytes.fill(0xEE);
    EXPECT_EQ(InitQelMsg(p, NETMSG, NETCMD_STATUS, 0), 0);
    EXPECT_EQ(p.Type(), NETMSG);
    EXPECT_EQ(p.Version(), 1);
    EXPECT_EQ(p.Magic(), kNetMsgMagic);
    EXPECT_EQ(p.Command(), NETCMD_STATUS);
    EXPECT_EQ(p.Arg0(), 0u);
    EXPECT_EQ(p.RetCommand(), 0xEEEEEEEEu);
    EXPECT_EQ(InitQelMsg2(p, NETMSG, 107, 0, 7), 0);
    EXPECT_EQ(p.Arg1(), 7u);
    EXPECT_EQ(p.Arg2(), 0xEEEEEEEEu);
    EXPECT_EQ(InitQelMsgEx(p, NETMSG, 114, 1, 2, 3, 4), 0);
    EXPECT_EQ(p.Arg2(), 3u);
    EXPECT_EQ(p.Result(), 4u);
    EXPECT_EQ(p.bytes[111], 0xEE);
    // With arg1 0 the one- and two-argument builders give the same bytes.
    NetMsgPacket a, b;
    InitQelMsg(a, NETMSG, 122, 0);
    InitQelMsg2(b, NETMSG, 122, 0, 0);
    EXPECT_EQ(a.bytes, b.bytes);
}

TEST(NetPacket, DecodeRefusesMalformedHeads) {
    const NetMsgPacket good = MakeReply(NETCMD_STATUS, 1, 1, 2);
    struct Case {
        const char* name;
        std::size_t offset;
        BYTE value;
    };
    const Case cases[] = {
        {"type 0", 0, 0},         {"type 18", 0, 18}, {"type high byte", 1, 1}, {"word at 2", 2, 2},
        {"word at 2 zero", 2, 0}, {"magic", 4, 0xAC}, {"magic top", 7, 0},
    };
    EXPECT_EQ(DecodeNetPacket(good.bytes.data(), good.bytes.size()).bytes, good.bytes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NetMsgPacket bad = good;
        bad.bytes[c.offset] = c.value;
        EXPECT_THROW(DecodeNetPacket(bad.bytes.data(), bad.bytes.size()), EQelFormatError);
    }
    EXPECT_THROW(DecodeNetPacket(good.bytes.data(), 111), EQelFormatError);
    EXPECT_THROW(DecodeNetPacket(nullptr, 112), EQelFormatError);
}

TEST(NetPacket, PaddingProblemsNameTheOffset) {
    struct Case {
        const char* name;
        NetMsgPacket packet;
        std::size_t offset;
        BYTE value;
        std::string problem;
    };
    const Case cases[] = {
        {"command body", MakeNetCommand(NETCMD_STATUS, 0), 40, 1, "non-zero byte at 40"},
        {"after password", MakePasswordPacket(1, "abc"), 76, 'x', "non-zero byte at 76"},
        {"before password", MakePasswordPacket(1, "abc"), 71, 1, "non-zero byte at 71"},
        {"backup flag 2", MakeNetCommand(NETCMD_SEARCH, 0), 52, 2, "non-zero byte at 52"},
        {"search tail", MakeNetCommand(NETCMD_SEARCH, 0), 60, 1, "non-zero byte at 60"},
        {"message header", MakeQelMsg(525, 0, 0), 12, 1, "non-zero byte at 12"},
        {"message constant", MakeQelMsg(525, 0, 0), 33, 8, "non-zero byte at 32"},
        {"after message text", MakeQelMsg(525, 0, 0, {}, "ab"), 80, 1, "non-zero byte at 80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NetMsgPacket p = c.packet;
        p.bytes[c.offset] = c.value;
        EXPECT_EQ(NetPacketPaddingProblem(p), c.problem);
    }
}

TEST(NetPacket, NamesOfKindsStatesAndGroups) {
    const std::pair<std::pair<DWORD, DWORD>, const char*> files[] = {
        {{1, 0}, "config.ini"},
        {{3, 0}, "schedule.dat"},
        {{4, 0}, "qeldbfile_hdd.db"},
        {{4, 1}, "qeldbfile_cf.db"},
        {{4, 2}, "qeldbfile_sd.db"},
        {{4, 3}, ""},
        {{5, 0}, "loglist.db"},
        {{6, 0}, "holiday.ini"},
        {{7, 0}, "info.ini"},
        {{0, 0}, ""},
        {{2, 0}, ""},
        {{8, 0}, ""},
    };
    for (const auto& [key, name] : files)
        EXPECT_EQ(QelFileName(key.first, key.second), name);
    EXPECT_EQ(RecordStateLogText(false, 0), "C_R_OFF");
    EXPECT_EQ(RecordStateLogText(false, 3), "C_R_ENT");
    EXPECT_EQ(RecordStateLogText(true, 2), "N_R_REC");
    EXPECT_EQ(RecordStateLogText(true, 4), "");
    EXPECT_EQ(MulticastGroupParam(239, 1, 2, 3), 0xEF010203u);
    EXPECT_EQ(MulticastGroupText(0xEF010203u), "239.1.2.3");
}

TEST(NetPacket, AccessorsRefuseOffsetsOutsideThePacket) {
    NetMsgPacket p;
    EXPECT_THROW(p.Word(109), EQelFormatError);
    EXPECT_THROW(p.SetWord(200, 1), EQelFormatError);
    EXPECT_THROW(p.Param(0), EQelFormatError);
    EXPECT_THROW(p.Param(6), EQelFormatError);
    EXPECT_NO_THROW(p.Word(108));
}

} // namespace
