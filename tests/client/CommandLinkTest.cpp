// The send path, the senders and send-and-wait against the simulated recorder.
#include "LinkHarness.h"

#include "platform/vcl/FormTesting.h"
#include "tests/support/TestSupport.h"

#include <algorithm>

namespace {

using namespace linktest;
using testing_support::DebugCapture;
using testing_support::FakeTick;
using testing_support::TempDir;

std::vector<DWORD> CommandsSeen(recsim::RecSim& sim) {
    std::vector<DWORD> out;
    for (const auto& p : sim.Log().Packets())
        out.push_back(p.packet.Type() == QELMSG ? p.packet.MsgId() : p.packet.Command());
    return out;
}

TEST(CommandLink, ReplyEndsTheWaitAndSwitchesTheHeartbeatTimerOn) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_SYSINFO, 3, kReplyLimitMs), 1);
    EXPECT_EQ(link.ReplySlot, 3);
    EXPECT_EQ(link.SysInfoResult, 3);
    EXPECT_EQ(link.SysInfoArg0, 1);
    EXPECT_EQ(link.timerSwitches, (std::vector<bool>{false, true}));
    EXPECT_EQ(link.PendingSendBytes, 0);

    ASSERT_EQ(link.SendCommandAndWait(NETCMD_LOGIN_OPTION, 0, kReplyLimitMs), 1);
    EXPECT_EQ(link.ReplySlot, 1);
    EXPECT_EQ(link.LoginOption, 1);
}

TEST(CommandLink, NoReplyTimesOutOnTheTickWithTheTimerOn) {
    Sim sim;
    sim->SetReplyFault(NETCMD_STATUS, Silent());
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    FakeTick tick(1000, 5);
    const DWORD start = tick.Now();
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs), 0);
    EXPECT_GT(TickDistance(start, tick.Now()), kReplyLimitMs);
    EXPECT_TRUE(link.timerOn);
    EXPECT_EQ(link.ReplySlot, 0);
}

TEST(CommandLink, DatabaseLimitOfFiveMinutesRunsOnTheFakeTick) {
    Sim sim;
    // No store: the recorder has no database to send, and says nothing.
    sim->SetReplyFault(NETCMD_FILE_REQUEST, Silent());
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    FakeTick tick(1000, 250);
    const DWORD start = tick.Now();
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_DATABASE, kDatabaseLimitMs, QELDISK_CF),
              0);
    EXPECT_GT(TickDistance(start, tick.Now()), kDatabaseLimitMs);
}

TEST(CommandLink, ReplyWithResultZeroDoesNotEndTheWait) {
    Sim sim;
    sim->SetReplyFault(NETCMD_MODE, WithResult(0));
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    FakeTick tick(1000, 0);
    bool seen = false;
    link.onPacket = [&](const NetMsgPacket& p) {
        if (p.Command() == NETCMD_REPLY && p.RetCommand() == NETCMD_MODE) {
            seen = true;
            // The refusal is in; only the limit can end the wait now.
            tick.Advance(kReplyLimitMs + 1);
        }
    };
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_MODE, 1, kReplyLimitMs), 0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(link.ReplySlot, 0);
}

TEST(CommandLink, LateReplyToAnEarlierCommandDoesNotEndANewerWait) {
    Sim sim;
    // 108 answers late with 2; 109's reply comes a good while after it.
    sim->SetReplyFault(NETCMD_MODE, Delayed(300, 2));
    sim->SetReplyFault(NETCMD_STATUS, Delayed(700));
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_MODE, 1, 50), 0);
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs), 1);
    // Ended by 109's own reply (1), not by the late 2 of 108 that came in while it waited.
    EXPECT_EQ(link.ReplySlot, 1);
    EXPECT_EQ(link.Replies().Endings(NETCMD_MODE), 1u);
    EXPECT_EQ(link.Replies().Value(NETCMD_MODE), 2);
    ASSERT_GE(link.packets.size(), 2u);
    EXPECT_EQ(link.packets[link.packets.size() - 2].RetCommand(), static_cast<DWORD>(NETCMD_MODE));
}

TEST(CommandLink, NestedWaitsEachGetTheirOwnReply) {
    Sim sim;
    sim->SetReplyFault(NETCMD_MODE, Delayed(300, 2));
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    int innerResult = -1, innerSlot = -1;
    link.onPacket = [&](const NetMsgPacket& p) {
        // A device event arriving during the outer wait starts a wait of its own.
        if (p.Command() == NETCMD_DEVICE_EVENT && innerResult < 0) {
            innerResult = link.SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs);
            innerSlot = link.ReplySlot;
        }
    };
    sim->SendDeviceEvent(DEVEVENT_NONE, 0);
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_MODE, 1, kReplyLimitMs), 1);
    EXPECT_EQ(link.ReplySlot, 2);
    EXPECT_EQ(innerResult, 1);
    EXPECT_EQ(innerSlot, 1);
}

TEST(CommandLink, OneAndTwoArgumentSendersPutTheSameBytesForArg1Zero) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    link.SendNetPacketCommand(NETCMD_MODE, 5);
    link.SendNetPacketCommand2(NETCMD_MODE, 5, 0);
    link.SendNetPacketCommand3(NETCMD_MODE, {.arg0 = 5});
    ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_MODE, 2000, 3));
    const auto sent = sim->Log().Commands(NETCMD_MODE);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].packet.bytes, sent[1].packet.bytes);
    EXPECT_EQ(sent[0].packet.bytes, sent[2].packet.bytes);
    EXPECT_EQ(sent[0].problem, "");
}

TEST(CommandLink, NamedArgumentsLandAtTheirOffsets) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    const TNetCommandArgs args{
        .arg0 = 0x11111111, .arg1 = 0x22222222, .arg2 = 0x33333333, .word20 = 0x44444444};
    EXPECT_EQ(link.SendNetPacketCommand3(NETCMD_SEARCH, args), 112);
    EXPECT_EQ(link.SendNetPacketBackupCommand(NETCMD_SEARCH, args), 112);
    link.SendNetQelMsg(MSG_FM_NETWORK_SYSTEM_UPGRADE, 1, 2, 3, 4, 5, "hello");
    ASSERT_TRUE(sim->Log().WaitFor([](const auto& p) { return p.size() >= 3; }, 2000));
    const auto packets = sim->Log().Packets();
    for (int i = 0; i < 2; ++i) {
        const NetMsgPacket& p = packets[static_cast<std::size_t>(i)].packet;
        EXPECT_EQ(p.Word(12), 0x11111111u);
        EXPECT_EQ(p.Word(24), 0x22222222u);
        EXPECT_EQ(p.Word(28), 0x33333333u);
        EXPECT_EQ(p.Word(20), 0x44444444u);
        EXPECT_EQ(p.Word(52), i == 0 ? 0u : 1u);
    }
    EXPECT_EQ(packets[0].problem, "");
    const NetMsgPacket& m = packets[2].packet;
    EXPECT_EQ(m.Type(), QELMSG);
    EXPECT_EQ(m.Word(32), 0x700u);
    EXPECT_EQ(m.Word(36), 0x100u);
    EXPECT_EQ(m.MsgId(), 525u);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(m.Param(n), static_cast<DWORD>(n));
    EXPECT_EQ(m.MsgText(), "hello");
    EXPECT_EQ(packets[2].problem, "");
}

TEST(CommandLink, PasswordGoesOnTheWireButNeverIntoTheTrace) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    DebugCapture trace;
    link.level = 2;
    link.SendNetPacketPassword("s3cr3t-pass-long");
    ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_PASSWORD, 2000));
    const auto pw = sim->Log().LastCommand(NETCMD_PASSWORD);
    EXPECT_EQ(pw->packet.Arg0(), 2u);
    EXPECT_EQ(pw->packet.Password(), "s3cr3t-pas");
    EXPECT_TRUE(trace.Contains("Entering SendNetPacketPassword(102) ******"));
    EXPECT_TRUE(trace.Contains("Leaving SendNetPacketPassword Sent 112 bytes"));
    for (const std::string& line : trace.Lines())
        EXPECT_EQ(line.find("s3cr3t"), std::string::npos) << line;
}

TEST(CommandLink, SendOnAClosedLinkReturnsAtOnceWithoutAnErrorBox) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    sim->CloseCommandConnection();
    ASSERT_TRUE(PumpReal([&] { return link.closed > 0; }));
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    const NetMsgPacket p = MakeNetCommand(NETCMD_MODE, 1);
    EXPECT_EQ(link.SocketSend(p.bytes.data(), 112), -1);
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_HEARTBEAT, 0, kReplyLimitMs), 0);
    EXPECT_LT(TickDistance(start, tick.Now()), 1000u);
    EXPECT_EQ(link.PendingSendBytes, 0);
    EXPECT_EQ(link.errors, 0);
    EXPECT_TRUE(link.timerOn);
}

TEST(CommandLink, LinkClosingDuringAWaitEndsIt) {
    Sim sim;
    sim->SetFaults([] {
        recsim::SimFaults f;
        f.closeOnCommand = NETCMD_CAMERA_INFO;
        return f;
    }());
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    FakeTick tick(1000, 1);
    const DWORD start = tick.Now();
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs), 0);
    EXPECT_LT(TickDistance(start, tick.Now()), kReplyLimitMs);
    EXPECT_EQ(link.closed, 1);
}

TEST(CommandLink, UploadArrivesWholeWithPacketsSentMeanwhileBehindIt) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    std::string data(8 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 13 + i / 4099);
    bool ran = false;
    form_testing::RunLater([&] {
        link.SendNetPacketCommand(NETCMD_HEARTBEAT, 0);
        ran = true;
    });
    EXPECT_EQ(link.SendFileUpload(QELFILE_CONFIG, data), static_cast<int>(data.size()));
    ASSERT_TRUE(PumpReal([&] { return ran && link.UploadAccepted == 1; }, 20000));
    ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_HEARTBEAT, 5000));
    const auto upload = sim->Log().LastUpload(QELFILE_CONFIG);
    ASSERT_TRUE(upload);
    EXPECT_TRUE(upload->bytes == data) << "the upload's bytes were mixed with a packet";
    EXPECT_EQ(CommandsSeen(*sim), (std::vector<DWORD>{NETCMD_FILE, NETCMD_HEARTBEAT}));
}

TEST(CommandLink, PacketsSentBetweenAnAnnouncementAndItsBytesWaitForTheLastByte) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    const std::string data(5000, 'x');
    link.SendNetPacketCommand2(NETCMD_FILE, static_cast<DWORD>(data.size()), QELFILE_SCHEDULE);
    // The uploader lets messages run before its bytes go: a heartbeat and a request fire then.
    int ran = 0;
    form_testing::RunLater([&] {
        link.SendNetPacketCommand(NETCMD_HEARTBEAT, 0);
        ++ran;
    });
    form_testing::RunLater([&] {
        link.SendNetPacketCommand(NETCMD_STATUS, 0);
        ++ran;
    });
    ASSERT_TRUE(PumpReal([&] { return ran == 2; }));
    link.SocketSend(data.data(), 2000);
    EXPECT_EQ(sim->Log().Commands(NETCMD_HEARTBEAT).size(), 0u);
    link.SocketSend(data.data() + 2000, 3000);
    ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_STATUS, 5000));
    const auto upload = sim->Log().LastUpload(QELFILE_SCHEDULE);
    ASSERT_TRUE(upload);
    EXPECT_TRUE(upload->bytes == data) << "the upload's bytes were mixed with a packet";
    EXPECT_EQ(CommandsSeen(*sim), (std::vector<DWORD>{NETCMD_FILE, NETCMD_HEARTBEAT, NETCMD_STATUS}));
}

TEST(CommandLink, PacketsHeldForAnUploadThatNeverCameAreDroppedWithTheLink) {
    Sim sim;
    TestLink link;
    ASSERT_TRUE(sim.Connect(link));
    link.SendNetPacketCommand2(NETCMD_FILE, 1000, QELFILE_SCHEDULE);
    link.SendNetPacketCommand(NETCMD_HEARTBEAT, 0);
    sim->CloseCommandConnection();
    ASSERT_TRUE(PumpReal([&] { return link.closed == 1; }));
    ASSERT_TRUE(sim->WaitForCommandConnection(false, 2000));
    ASSERT_TRUE(sim.Connect(link));
    // A fresh link sends at once; nothing of the old one comes out.
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs), 1);
    EXPECT_EQ(sim->Log().Commands(NETCMD_HEARTBEAT).size(), 0u);
}

} // namespace
