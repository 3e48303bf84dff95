// Files and packets from the simulated recorder through the receiver loop, including the reads that
// happen inside the handlers' own sends.
#include "LinkHarness.h"

#include "tests/support/TestSupport.h"

#include <filesystem>

namespace {

using namespace linktest;
using testing_support::FakeTick;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

struct TransferCase {
    const char* name;
    recsim::SimFaults faults;
};

recsim::SimFaults Faults(const std::function<void(recsim::SimFaults&)>& set) {
    recsim::SimFaults f;
    set(f);
    return f;
}

TEST(ReceiveLink, FileRequestsEndTheirWaitAndStoreTheWholeFileInEveryArrangement) {
    const TransferCase cases[] = {
        {"reply, then the file", {}},
        {"reply, announcement and bytes in one send", Faults([](auto& f) { f.coalesceFile = true; })},
        {"file first, then the reply, in one send", Faults([](auto& f) {
             f.coalesceFile = true;
             f.fileBeforeReply = true;
         })},
        {"file held until the acknowledgement", Faults([](auto& f) { f.waitFileAck = true; })},
        {"every unit cut inside its first packet", Faults([](auto& f) {
             f.splitAt = {1, 60, 111, 113, 3000};
             f.splitGapMs = 5;
         })},
    };
    for (const TransferCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        recsim::RecSimOptions o = QuickOptions();
        o.faults = c.faults;
        Sim sim(o);
        TestLink link(dir.Str());
        ASSERT_TRUE(sim.Connect(link));
        for (DWORD kind : {QELFILE_CONFIG, QELFILE_INFO}) {
            link.FileReceived = 0;
            ASSERT_EQ(link.SendCommandAndWait(NETCMD_FILE_REQUEST, kind, kReplyLimitMs), 1);
            ASSERT_TRUE(PumpReal([&] { return link.FileReceived == 1; }));
            const std::string name = QelFileName(kind);
            EXPECT_EQ(ReadFileBytes(dir.File(name)), *sim->ServedFile(kind));
            EXPECT_FALSE(std::filesystem::exists(dir.File(name + ".part")));
        }
        // What follows the files is read as packets.
        ASSERT_EQ(link.SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs), 1);
        EXPECT_EQ(link.ReplySlot, 1);
        EXPECT_EQ(link.packets.back().Arg1(), 4u);
        EXPECT_EQ(sim->Log().Commands(NETCMD_REPLY).size(), 2u) << "one acknowledgement per request";
        for (const auto& p : link.packets)
            EXPECT_TRUE(p.Type() == NETMSG || p.Type() == QELMSG) << "file bytes taken for a packet";
    }
}

TEST(ReceiveLink, AFileAnnouncedLongerThanSentIsGivenUpAtItsTimeAndTheRepliesAfterItCountAgain) {
    TempDir dir;
    recsim::RecSimOptions o = QuickOptions();
    o.faults.announceExtra = 300;
    Sim sim(o);
    TestLink link(dir.Str());
    ASSERT_TRUE(sim.Connect(link));
    FakeTick tick(1000, 1);
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_CONFIG, kReplyLimitMs), 1);
    const std::size_t sent = sim->ServedFile(QELFILE_CONFIG)->size();
    // While the file is due, a reply is taken for its bytes: its wait runs out.
    EXPECT_EQ(link.SendCommandAndWait(NETCMD_STATUS, 0, 200), 0);
    ASSERT_TRUE(PumpReal([&] { return link.Receiver.RecvFileReceived() == sent + kNetMsgPacketSize; }));
    EXPECT_TRUE(link.abandoned.empty());
    // Past its time the file is given up at the next bytes: they are the recorder's answer.
    tick.Advance(kFileLimitMs);
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs), 1);
    EXPECT_EQ(link.packets.back().RetCommand(), static_cast<DWORD>(NETCMD_CAMERA_INFO));
    ASSERT_EQ(link.abandoned.size(), 1u);
    EXPECT_EQ(link.abandoned[0].FileKind, QELFILE_CONFIG);
    EXPECT_EQ(link.abandoned[0].Size, sent + 300);
    EXPECT_EQ(link.Receiver.ReceiveMode(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.part")));
    EXPECT_TRUE(link.files.empty());
}

TEST(ReceiveLink, LargeFileCoalescedWithItsReplyKeepsOrderWhileTheAcknowledgementPumps) {
    TempDir store;
    std::string big(60000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 26);
    testing_support::WriteFileBytes(store.File("info.ini"), big);
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.Path().string();
    o.faults.coalesceFile = true;
    Sim sim(o);
    TempDir dir;
    TestLink link(dir.Str());
    ASSERT_TRUE(sim.Connect(link));
    // An unsolicited event queued behind the file must come out after it, not inside it.
    link.onPacket = [&](const NetMsgPacket& p) {
        if (p.Command() == NETCMD_REPLY && p.RetCommand() == NETCMD_FILE_REQUEST)
            sim->SendDeviceEvent(DEVEVENT_RECORD_STATE, 2);
    };
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_INFO, kReplyLimitMs), 1);
    ASSERT_TRUE(PumpReal([&] {
        return link.FileReceived == 1 && !link.packets.empty() &&
               link.packets.back().Command() == NETCMD_DEVICE_EVENT;
    }));
    EXPECT_TRUE(ReadFileBytes(dir.File("info.ini")) == big);
    ASSERT_EQ(link.packets.size(), 3u);
    EXPECT_EQ(link.packets[0].RetCommand(), static_cast<DWORD>(NETCMD_FILE_REQUEST));
    EXPECT_EQ(link.packets[1].Command(), static_cast<DWORD>(NETCMD_FILE));
    EXPECT_EQ(link.packets[2].Arg1(), 2u);
}

TEST(ReceiveLink, LinkLostMidFileThenReconnectStartsInPacketMode) {
    TempDir dir;
    testing_support::WriteFileBytes(dir.File("config.ini"), "old copy");
    recsim::RecSimOptions o = QuickOptions();
    o.faults.closeMidFile = 40;
    Sim sim(o);
    TestLink link(dir.Str());
    ASSERT_TRUE(sim.Connect(link));
    link.SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_CONFIG, kReplyLimitMs);
    ASSERT_TRUE(PumpReal([&] { return link.closed == 1; }));
    EXPECT_EQ(link.Receiver.ReceiveMode(), 0);
    EXPECT_EQ(link.FileReceived, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.part")));
    EXPECT_EQ(ReadFileBytes(dir.File("config.ini")), "old copy");

    sim->ClearFaults();
    ASSERT_TRUE(sim->WaitForCommandConnection(false, 2000));
    ASSERT_TRUE(sim.Connect(link));
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_SYSINFO, 3, kReplyLimitMs), 1);
    EXPECT_EQ(link.SysInfoResult, 3);
}

TEST(ReceiveLink, EmptyAnnouncementCompletesAndTheLinkStaysAlive) {
    TempDir dir;
    recsim::RecSimOptions o = QuickOptions();
    o.faults.announceZero = true;
    Sim sim(o);
    TestLink link(dir.Str());
    ASSERT_TRUE(sim.Connect(link));
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_HOLIDAY, kReplyLimitMs), 1);
    ASSERT_TRUE(PumpReal([&] { return link.FileReceived == 1; }));
    EXPECT_EQ(std::filesystem::file_size(dir.File("holiday.ini")), 0u);
    ASSERT_EQ(link.SendCommandAndWait(NETCMD_HEARTBEAT, 0, kReplyLimitMs), 1);
}

} // namespace
