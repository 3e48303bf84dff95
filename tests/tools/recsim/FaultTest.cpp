#include "SimHarness.h"

#include <thread>

using namespace recsim_test;
using Clock = std::chrono::steady_clock;

namespace {

long long MsSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// The recorder holds `count` replies to the command within two seconds.
bool PumpUntilHeld(recsim::RecSim& sim, DWORD command, std::size_t count) {
    const auto end = Clock::now() + std::chrono::seconds(2);
    while (sim.HeldReplies(command) != count)
        if (Clock::now() > end)
            return false;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
}

TEST(RecSimFaults, EveryCommandIsAnswered) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    struct Case {
        DWORD command;
        DWORD arg0;
        DWORD result;
    };
    const Case cases[] = {{101, 3, 3}, {107, 0, 1}, {108, 1, 1}, {108, 2, 1}, {109, 0, 1}, {112, 0, 1},
                          {113, 0, 1}, {114, 0, 1}, {115, 0, 1}, {118, 1, 1}, {118, 0, 1}, {119, 0, 1},
                          {121, 4, 1}, {122, 0, 1}, {125, 0, 1}, {99, 0, 2},  {126, 0, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const auto r = Request(cmd, MakeNetCommand(c.command, c.arg0));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Result(), c.result);
    }
    // 123 and 124 are not answered unless asked to be.
    cmd.Send(MakeNetCommand(NETCMD_PAUSE, 0));
    cmd.Send(MakeNetCommand(NETCMD_PLAY, 0));
    EXPECT_FALSE(cmd.ReadPacket(200));
}

TEST(RecSimFaults, RemoteRecordingReportsTheNewState) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    for (DWORD on : {1u, 0u}) {
        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_REMOTE_RECORD, on)));
        const auto event = cmd.ReadPacket();
        ASSERT_TRUE(event);
        EXPECT_EQ(event->Command(), NETCMD_DEVICE_EVENT);
        EXPECT_EQ(event->Arg0(), DEVEVENT_RECORD_STATE);
        EXPECT_EQ(event->Arg1(), on ? RECSTATE_RECORDING : RECSTATE_OFF);
        EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0))->Arg1(), on ? 2u : 0u);
    }
}

TEST(RecSimFaults, SilentDelayedAndWrongReplies) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    sim->SetReplyFault(NETCMD_HEARTBEAT, Silent());
    EXPECT_FALSE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0), 300));

    sim->SetReplyFault(NETCMD_STATUS, WithResult(0));
    EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0))->Result(), 0u);

    sim->SetReplyFault(NETCMD_CAMERA_INFO, Delayed(300));
    const auto t = Clock::now();
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_CAMERA_INFO, 0)));
    EXPECT_GE(MsSince(t), 290);
    EXPECT_EQ(sim->Log().Commands(NETCMD_HEARTBEAT).size(), 1u);
}

TEST(RecSimFaults, LateReplyArrivesWhileTheNextRequestWaits) {
    SimHarness sim;
    sim->SetReplyFault(NETCMD_SYSINFO, Delayed(400));
    TestConnection cmd(sim->CommandPort());
    cmd.Send(MakeNetCommand(NETCMD_SYSINFO, 3));
    EXPECT_FALSE(cmd.ReadPacket(100)); // the client gives up on it
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    const auto first = cmd.ReadPacket();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->RetCommand(), NETCMD_SYSINFO);
    const auto second = cmd.ReadPacket();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->RetCommand(), NETCMD_STATUS);
}

TEST(RecSimFaults, HeldReplyWaitsForItsReleaseWhileOthersPass) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    sim->HoldReplies(NETCMD_STATUS, true);
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    EXPECT_FALSE(cmd.ReadPacket(200));
    ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_STATUS, 2000));
    // The recorder answers the rest, and tells what it has to tell, past the held replies.
    const auto camera = Request(cmd, MakeNetCommand(NETCMD_CAMERA_INFO, 0));
    ASSERT_TRUE(camera);
    sim->SendDeviceEvent(DEVEVENT_REMOTE_WORK, 1);
    const auto event = cmd.ReadPacket();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->Command(), NETCMD_DEVICE_EVENT);
    EXPECT_EQ(sim->HeldReplies(NETCMD_STATUS), 2u);
    EXPECT_EQ(sim->HeldReplies(NETCMD_CAMERA_INFO), 0u);
    // Releasing another command sends nothing of these.
    EXPECT_EQ(sim->ReleaseReplies(NETCMD_CAMERA_INFO), 0u);
    EXPECT_FALSE(cmd.ReadPacket(150));
    EXPECT_EQ(sim->ReleaseReplies(NETCMD_STATUS), 2u);
    for (int k = 0; k < 2; ++k) {
        const auto r = cmd.ReadPacket();
        ASSERT_TRUE(r) << k;
        EXPECT_EQ(r->RetCommand(), NETCMD_STATUS);
        EXPECT_EQ(r->Result(), 1u);
    }
    // Released means no longer held: the next one is answered at once.
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0), 1000));
    EXPECT_EQ(sim->HeldReplies(0), 0u);
}

// One late reply: the oldest held goes out alone, and the hold goes on for the rest.
TEST(RecSimFaults, ReleaseTheFirstHeldReplyOnly) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    sim->HoldReplies(NETCMD_MODE, true);
    EXPECT_FALSE(sim->ReleaseFirstReply(NETCMD_MODE)) << "none held yet";
    cmd.Send(MakeNetCommand(NETCMD_MODE, 1));
    cmd.Send(MakeNetCommand(NETCMD_MODE, 2));
    ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_MODE, 2));
    EXPECT_TRUE(sim->ReleaseFirstReply(NETCMD_MODE));
    EXPECT_TRUE(cmd.ReadPacket());
    EXPECT_FALSE(cmd.ReadPacket(200)) << "the second stays held";
    cmd.Send(MakeNetCommand(NETCMD_MODE, 3));
    ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_MODE, 2));
    EXPECT_EQ(sim->ReleaseReplies(NETCMD_MODE), 2u);
}

// A caller that asks the same command twice: the first reply passes, the second waits for its release.
TEST(RecSimFaults, HoldAfterTheFirstReplies) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    sim->HoldReplies(NETCMD_STATUS, true, 1);
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0), 1000));
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_STATUS, 1));
    EXPECT_FALSE(cmd.ReadPacket(200));
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_STATUS, 2));
    EXPECT_EQ(sim->ReleaseReplies(NETCMD_STATUS), 2u);
    for (int k = 0; k < 2; ++k) {
        const auto r = cmd.ReadPacket();
        ASSERT_TRUE(r) << k;
        EXPECT_EQ(r->RetCommand(), NETCMD_STATUS);
    }
    // A later hold without a count holds the very next one.
    sim->HoldReplies(NETCMD_STATUS, true);
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_STATUS, 1));
    EXPECT_FALSE(cmd.ReadPacket(200));
}

TEST(RecSimFaults, HeldRepliesGoWithTheConnection) {
    SimHarness sim;
    sim->HoldReplies(NETCMD_MODE, true);
    {
        TestConnection cmd(sim->CommandPort());
        cmd.Send(MakeNetCommand(NETCMD_MODE, 1));
        ASSERT_TRUE(sim->Log().WaitForCommand(NETCMD_MODE, 2000));
        ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_MODE, 1));
    }
    ASSERT_TRUE(sim->WaitForCommandConnection(false, 2000));
    EXPECT_EQ(sim->HeldReplies(NETCMD_MODE), 0u);
    // A new client does not get the old client's reply on release.
    TestConnection again(sim->CommandPort());
    ASSERT_TRUE(sim->WaitForCommandConnection(true, 2000));
    EXPECT_EQ(sim->ReleaseReplies(0), 0u);
    EXPECT_FALSE(again.ReadPacket(200));
}

TEST(RecSimFaults, RepliesSplitIntoSeparateSends) {
    SimHarness sim;
    recsim::SimFaults f;
    f.splitAt = {20, 50, 500};
    f.splitGapMs = 150;
    sim->SetFaults(f);
    TestConnection cmd(sim->CommandPort());
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    EXPECT_EQ(cmd.ReadSome(4096, 2000).size(), 20u);
    EXPECT_EQ(cmd.ReadSome(4096, 2000).size(), 30u);
    EXPECT_EQ(cmd.ReadSome(4096, 2000).size(), 62u);
}

TEST(RecSimFaults, ClosingTheCommandConnection) {
    recsim::RecSimOptions o = QuickOptions();
    o.faults.closeOnCommand = NETCMD_STATUS;
    SimHarness sim(o);
    TestConnection cmd, av;
    cmd.Connect(sim->CommandPort());
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3)));
    av.Connect(sim->AvPort());
    ASSERT_TRUE(sim->WaitForAvConnection(true, 2000));
    cmd.Send(MakeNetCommand(NETCMD_STATUS, 0));
    EXPECT_TRUE(cmd.WaitClosed());
    // The recorder drops the whole client.
    EXPECT_TRUE(av.WaitClosed());
    // and takes the next one.
    TestConnection again(sim->CommandPort());
    EXPECT_TRUE(Request(again, MakeNetCommand(NETCMD_SYSINFO, 3)));

    sim->ClearFaults();
    sim->CloseCommandConnection();
    EXPECT_TRUE(again.WaitClosed());
}

TEST(RecSimFaults, UnsolicitedPackets) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    ASSERT_TRUE(sim->WaitForCommandConnection(true, 2000));
    sim->SendDeviceEvent(DEVEVENT_DISK_ERROR, 2);
    sim->SendMulticastGroup(0xEF010203, 6000);
    sim->SendPacket(MakeReply(126, 1));
    NetMsgPacket odd = MakeNetCommand(NETCMD_STATUS, 0);
    odd.bytes[0] = 99;
    sim->SendPacket(odd);
    auto p = cmd.ReadPacket();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Command(), NETCMD_DEVICE_EVENT);
    EXPECT_EQ(p->Arg0(), 2u);
    EXPECT_EQ(p->Arg1(), 2u);
    p = cmd.ReadPacket();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->MsgRet(), MSG_MULTICAST_GROUP);
    EXPECT_EQ(p->Param(1), 0xEF010203u);
    p = cmd.ReadPacket();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->RetCommand(), 126u);
    p = cmd.ReadPacket();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Type(), 99);
}

TEST(RecSimFaults, UnsolicitedCycleAfterLogin) {
    recsim::RecSimOptions o = QuickOptions();
    o.unsolicitedEverySec = 1;
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    // Nothing before the log-in.
    EXPECT_FALSE(cmd.ReadPacket(1300));
    ASSERT_EQ(Request(cmd, MakePasswordPacket(1, "1234"))->Result(), 1u);
    const auto p = cmd.ReadPacket(2500);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Command(), NETCMD_DEVICE_EVENT);
}

TEST(RecSimFaults, BackupSizeWithoutAStoreIsAnEstimate) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_BACKUP_SIZE, 100, 109, 0))->Arg0(), 10u * 30 * 4 * 8192);
    EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_BACKUP_SIZE, 100, 99, 0))->Arg0(), 0u);
}

// Told to stop reading, the recorder leaves what the client sends in the sockets' buffers until the
// client's sends wait, while it still sends what it has to say; then it closes, or reads on where it
// stopped.
TEST(RecSimFaults, StopsReadingUntilTold) {
    std::string image(LoopbackBufferCeiling() + (1u << 20), '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7 + i / 65536);
    // A receive buffer of its own bounds what the client's sends take before they wait.
    constexpr int kReceiveBuffer = 64 * 1024;
    for (const bool closes : {true, false}) {
        SCOPED_TRACE(closes ? "closes" : "reads on, a small receive buffer");
        recsim::RecSimOptions o = QuickOptions();
        if (!closes) o.commandReceiveBuffer = kReceiveBuffer;
        SimHarness sim(o);
        TestConnection cmd(sim->CommandPort());
        sim->HoldReplies(NETCMD_CAMERA_INFO, true);
        cmd.Send(MakeNetCommand(NETCMD_CAMERA_INFO, 0));
        ASSERT_TRUE(PumpUntilHeld(*sim, NETCMD_CAMERA_INFO, 1));
        // Stopped at once, or by the upload's announcement.
        recsim::SimFaults f = sim->Faults();
        if (closes)
            f.stopReading = true;
        else
            f.stopReadingOn = NETCMD_FILE;
        sim->SetFaults(f);
        cmd.Send(MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(image.size()), QELFILE_FIRMWARE));
        const std::size_t taken = cmd.SendUntilStalled(image, 500);
        EXPECT_LT(taken, image.size()) << "the recorder went on reading";
        // At most one read of the recorder's came with the announcement.
        if (!closes) EXPECT_LT(taken, LargestSendBuffer() + 2 * kReceiveBuffer + 4096);
        EXPECT_EQ(sim->Log().Commands(NETCMD_FILE).size(), closes ? 0u : 1u);

        // A held reply, an unasked status and event 4 still go out.
        EXPECT_EQ(sim->ReleaseReplies(NETCMD_CAMERA_INFO), 1u);
        sim->SetStatus(2, true);
        sim->EndRemoteWork(1);
        const auto camera = cmd.ReadPacket();
        ASSERT_TRUE(camera);
        EXPECT_EQ(camera->RetCommand(), NETCMD_CAMERA_INFO);
        const auto status = cmd.ReadPacket();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->RetCommand(), NETCMD_STATUS);
        EXPECT_EQ(status->Arg0(), 2u);
        const auto event = cmd.ReadPacket();
        ASSERT_TRUE(event);
        EXPECT_EQ(event->Command(), NETCMD_DEVICE_EVENT);
        EXPECT_EQ(event->Arg0(), DEVEVENT_REMOTE_WORK);

        if (closes) {
            sim->CloseCommandConnection();
            EXPECT_TRUE(cmd.WaitClosed());
            EXPECT_TRUE(sim->WaitForCommandConnection(false, 2000));
            EXPECT_FALSE(sim->Firmware());
        } else {
            sim->SetStopReading(false);
            cmd.Send(image.substr(taken));
            const auto up = cmd.ReadPacket();
            ASSERT_TRUE(up);
            EXPECT_EQ(up->RetCommand(), NETCMD_FILE);
            EXPECT_EQ(up->Result(), 1u);
            EXPECT_TRUE(sim->Firmware() == image) << "the image came in whole and in order";
        }
    }
}

} // namespace
