#include "SimHarness.h"

#include "tests/support/TestSupport.h"
#include "tools/recgen/SetupFiles.h"
#include "tools/recgen/StoreGenerator.h"

#include <filesystem>

using namespace recsim_test;

namespace {

std::string Text(const std::vector<BYTE>& b) {
    return std::string(b.begin(), b.end());
}

// Requests a file and reads its reply, acknowledgement, announcement and bytes, as the client does.
struct Download {
    std::optional<NetMsgPacket> reply;
    std::optional<NetMsgPacket> announcement;
    std::string bytes;
};

Download Fetch(TestConnection& cmd, DWORD kind, DWORD disk = 0, int timeoutMs = 3000) {
    Download d;
    d.reply = Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, kind, disk), timeoutMs);
    if (!d.reply || d.reply->Result() != 1) return d;
    cmd.Send(MakeFileAck());
    d.announcement = cmd.ReadPacket(timeoutMs);
    if (!d.announcement || d.announcement->Command() != NETCMD_FILE) return d;
    const auto data = cmd.Read(d.announcement->Arg0(), timeoutMs);
    if (data) d.bytes = Text(*data);
    return d;
}

TEST(RecSimFiles, ServesEveryKind) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    recgen::RecorderIdentity id;
    struct Case {
        DWORD kind, disk;
        DWORD result;
        std::string content;
    };
    const Case cases[] = {
        {QELFILE_CONFIG, 0, 1, recgen::DefaultConfigIni(id)},
        {QELFILE_SCHEDULE, 0, 1, recgen::DefaultScheduleDat()},
        {QELFILE_HOLIDAY, 0, 1, recgen::DefaultHolidayIni()},
        {QELFILE_INFO, 0, 1, recgen::DefaultInfoIni(id)},
        // Without a store there is no database and no log.
        {QELFILE_DATABASE, QELDISK_HDD, 4, ""},
        {QELFILE_LOGLIST, 0, 4, ""},
        {QELFILE_DATABASE, 3, 2, ""},
        {2, 0, 2, ""},
        {QELFILE_FIRMWARE, 0, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const Download d = Fetch(cmd, c.kind, c.disk);
        ASSERT_TRUE(d.reply);
        EXPECT_EQ(d.reply->Result(), c.result);
        if (c.result != 1) continue;
        ASSERT_TRUE(d.announcement);
        EXPECT_EQ(d.announcement->Arg0(), c.content.size());
        EXPECT_EQ(d.announcement->Arg1(), c.kind);
        EXPECT_EQ(d.bytes, c.content);
    }
    EXPECT_EQ(recgen::DefaultScheduleDat().size(), 196u);
    // The acknowledgements were logged as the client sent them.
    for (const auto& p : sim->Log().Commands(NETCMD_REPLY)) {
        EXPECT_EQ(p.packet.Arg0(), NETCMD_FILE);
        EXPECT_EQ(p.packet.Result(), 1u);
    }
}

TEST(RecSimFiles, ServesTheStoreDatabases) {
    testing_support::TempDir store;
    recgen::StoreOptions s;
    s.days = 2;
    s.hours = {12};
    s.secondsPerRecording = 2;
    s.stream.framesPerSecond = 1;
    recgen::GenerateStore(store.Path().string(), s, recgen::RecorderIdentity{});
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.Path().string();
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    struct Case {
        DWORD kind, disk;
        const char* file;
    };
    const Case cases[] = {{QELFILE_DATABASE, QELDISK_HDD, "qeldbfile_hdd.db"},
                          {QELFILE_DATABASE, QELDISK_CF, "qeldbfile_cf.db"},
                          {QELFILE_DATABASE, QELDISK_SD, "qeldbfile_sd.db"},
                          {QELFILE_LOGLIST, 0, "loglist.db"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Download d = Fetch(cmd, c.kind, c.disk);
        ASSERT_TRUE(d.announcement);
        EXPECT_EQ(d.announcement->Arg1(), c.kind);
        EXPECT_EQ(d.announcement->Arg2(), c.kind == QELFILE_DATABASE ? c.disk : 0u);
        EXPECT_EQ(d.bytes, testing_support::ReadFileBytes(store.File(c.file)));
        EXPECT_GT(d.bytes.size(), 1024u);
    }
}

TEST(RecSimFiles, DownloadSplitAtEveryBoundary) {
    recsim::RecSimOptions o = QuickOptions();
    o.faults.coalesceFile = true;
    o.faults.splitGapMs = 1;
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    const std::string holiday = recgen::DefaultHolidayIni();
    const std::size_t unit = 2 * kNetMsgPacketSize + holiday.size();
    for (std::size_t cut = 1; cut < unit; ++cut) {
        recsim::SimFaults f = sim->Faults();
        f.splitAt = {cut};
        sim->SetFaults(f);
        cmd.Send(MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_HOLIDAY));
        const auto reply = cmd.ReadPacket();
        ASSERT_TRUE(reply) << cut;
        EXPECT_EQ(reply->RetCommand(), NETCMD_FILE_REQUEST);
        const auto ann = cmd.ReadPacket();
        ASSERT_TRUE(ann) << cut;
        ASSERT_EQ(ann->Arg0(), holiday.size());
        const auto data = cmd.Read(holiday.size());
        ASSERT_TRUE(data) << cut;
        EXPECT_EQ(Text(*data), holiday) << cut;
    }
    // Every piece boundary was a separate send: two at a time never reach the client joined early.
    recsim::SimFaults f = sim->Faults();
    f.splitAt = {20};
    f.splitGapMs = 300;
    sim->SetFaults(f);
    cmd.Send(MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_HOLIDAY));
    EXPECT_EQ(cmd.ReadSome(4096, 2000).size(), 20u);
    EXPECT_TRUE(cmd.Read(unit - 20));
}

TEST(RecSimFiles, FileFaults) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    const std::string info = sim->ServedFile(QELFILE_INFO).value();

    // Announced larger than sent: the bytes end short of the announcement.
    recsim::SimFaults f;
    f.announceExtra = 100;
    sim->SetFaults(f);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO)));
    auto ann = cmd.ReadPacket();
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Arg0(), info.size() + 100);
    EXPECT_EQ(Text(*cmd.Read(info.size())), info);
    EXPECT_TRUE(cmd.ReadSome(4096, 200).empty());

    // Size 0.
    f = {};
    f.announceZero = true;
    sim->SetFaults(f);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO)));
    ann = cmd.ReadPacket();
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Arg0(), 0u);
    EXPECT_TRUE(cmd.ReadSome(4096, 200).empty());

    // The file before its reply.
    f = {};
    f.fileBeforeReply = true;
    sim->SetFaults(f);
    cmd.Send(MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO));
    ann = cmd.ReadPacket();
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Command(), NETCMD_FILE);
    EXPECT_EQ(Text(*cmd.Read(info.size())), info);
    auto reply = cmd.ReadPacket();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->RetCommand(), NETCMD_FILE_REQUEST);

    // Held until the acknowledgement.
    f = {};
    f.waitFileAck = true;
    sim->SetFaults(f);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO)));
    EXPECT_TRUE(cmd.ReadSome(4096, 200).empty());
    cmd.Send(MakeFileAck());
    ann = cmd.ReadPacket();
    ASSERT_TRUE(ann);
    EXPECT_EQ(Text(*cmd.Read(info.size())), info);

    // A reply result other than 1 still comes with the file.
    f = {};
    f.replies[NETCMD_FILE_REQUEST].result = 3;
    sim->SetFaults(f);
    reply = Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Result(), 3u);
    EXPECT_TRUE(cmd.ReadPacket());
    EXPECT_TRUE(cmd.Read(info.size()));

    // Closed in the middle of the file.
    f = {};
    f.closeMidFile = 10;
    sim->SetFaults(f);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_INFO)));
    ASSERT_TRUE(cmd.ReadPacket());
    EXPECT_EQ(cmd.Read(10)->size(), 10u);
    EXPECT_TRUE(cmd.WaitClosed());
}

// A file sent slowly arrives piece by piece, each piece its own send, so the client can be caught in
// the middle of it; held, the file and its reply wait for their release.
TEST(RecSimFiles, SlowAndHeldFiles) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    const std::string config = sim->ServedFile(QELFILE_CONFIG).value();
    ASSERT_GT(config.size(), 100u);
    recsim::SimFaults f;
    f.slowFilePiece = 40;
    f.slowFileGapMs = 80;
    sim->SetFaults(f);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_CONFIG)));
    const auto ann = cmd.ReadPacket();
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Arg0(), config.size());
    std::string bytes;
    std::vector<std::size_t> pieces;
    while (bytes.size() < config.size()) {
        const std::vector<BYTE> piece = cmd.ReadSome(4096, 2000);
        ASSERT_FALSE(piece.empty()) << bytes.size();
        pieces.push_back(piece.size());
        bytes += Text(piece);
    }
    EXPECT_EQ(bytes, config);
    // Whole pieces of 40 and the rest.
    const std::size_t whole = config.size() / 40;
    ASSERT_EQ(pieces.size(), whole + (config.size() % 40 != 0 ? 1 : 0));
    for (std::size_t k = 0; k < whole; ++k)
        EXPECT_EQ(pieces[k], 40u) << k;

    // Held: nothing of the reply or the file, while the next request is answered; then both in order.
    f = {};
    f.holdReplies = {NETCMD_FILE_REQUEST};
    sim->SetFaults(f);
    cmd.Send(MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_CONFIG));
    const auto status = cmd.ReadPacket(200);
    EXPECT_FALSE(status);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0)));
    EXPECT_EQ(sim->HeldReplies(NETCMD_FILE_REQUEST), 2u) << "the reply and the file";
    EXPECT_EQ(sim->ReleaseReplies(0), 2u);
    const auto reply = cmd.ReadPacket();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->RetCommand(), NETCMD_FILE_REQUEST);
    const auto held = cmd.ReadPacket();
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Command(), NETCMD_FILE);
    EXPECT_EQ(Text(*cmd.Read(config.size())), config);
}

TEST(RecSimFiles, UploadsAreStoredAndServedBack) {
    testing_support::TempDir store;
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.Path().string();
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    struct Case {
        DWORD kind;
        std::string bytes;
        const char* file;
    };
    std::string schedule = recgen::DefaultScheduleDat();
    schedule[4 + 24 * 2 + 7] = 5;
    const Case cases[] = {
        {QELFILE_CONFIG, "[config]\r\n1_1_1=3\r\n27_1_1=UPLOADED\r\n", "config.ini"},
        {QELFILE_SCHEDULE, schedule, "schedule.dat"},
        {QELFILE_HOLIDAY, "[holiday]\r\n54_12_5=1\r\n", "holiday.ini"},
        {QELFILE_HOLIDAY, "", "holiday.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // The announcement and the bytes in one send, the next request right behind them.
        NetMsgPacket ann = MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(c.bytes.size()), c.kind);
        std::string wire(ann.bytes.begin(), ann.bytes.end());
        wire += c.bytes;
        const NetMsgPacket hb = MakeNetCommand(NETCMD_HEARTBEAT, 0);
        wire.append(hb.bytes.begin(), hb.bytes.end());
        cmd.Send(wire);
        const auto up = cmd.ReadPacket();
        ASSERT_TRUE(up);
        EXPECT_EQ(up->RetCommand(), NETCMD_FILE);
        EXPECT_EQ(up->Result(), 1u);
        const auto beat = cmd.ReadPacket();
        ASSERT_TRUE(beat);
        EXPECT_EQ(beat->RetCommand(), NETCMD_HEARTBEAT);
        ASSERT_TRUE(sim->Log().LastUpload(c.kind));
        EXPECT_EQ(sim->Log().LastUpload(c.kind)->bytes, c.bytes);
        EXPECT_EQ(testing_support::ReadFileBytes(store.File(c.file)), c.bytes);
        const Download d = Fetch(cmd, c.kind);
        EXPECT_EQ(d.bytes, c.bytes);
    }
}

TEST(RecSimFiles, RefusedOrUnansweredSetupUploadsAreNotKept) {
    testing_support::TempDir store;
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.Path().string();
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    const std::string served = *sim->ServedFile(QELFILE_HOLIDAY);
    // Turned away first, so the store has no file until an upload is kept.
    const struct {
        recsim::ReplyFault fault;
        bool kept;
    } cases[] = {{Silent(), false}, {WithResult(0), false}, {WithResult(2), true}, {{}, true}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        sim->SetReplyFault(NETCMD_FILE, c.fault);
        const std::string bytes = "[holiday]\r\n54_3_" + std::to_string(++n) + "=1\r\n";
        cmd.Send(MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(bytes.size()), QELFILE_HOLIDAY));
        cmd.Send(bytes);
        // Answered in order: the heartbeat's reply comes after the upload was handled.
        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
        ASSERT_TRUE(sim->Log().LastUpload(QELFILE_HOLIDAY));
        EXPECT_EQ(sim->Log().LastUpload(QELFILE_HOLIDAY)->bytes, bytes) << "received and logged all the same";
        EXPECT_EQ(*sim->ServedFile(QELFILE_HOLIDAY), c.kept ? bytes : served);
        EXPECT_EQ(std::filesystem::exists(store.File("holiday.ini")), c.kept);
        if (c.kept) {
            EXPECT_EQ(testing_support::ReadFileBytes(store.File("holiday.ini")), bytes);
        }
    }
}

TEST(RecSimFiles, LargeUploadInSmallPieces) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    std::string image(300000, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 31 + i / 4096);
    cmd.Send(MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(image.size()), QELFILE_FIRMWARE));
    for (std::size_t at = 0; at < image.size(); at += 4096)
        cmd.Send(image.substr(at, 4096));
    const auto reply = cmd.ReadPacket();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->RetCommand(), NETCMD_FILE);
    EXPECT_EQ(sim->Firmware().value_or(""), image);
}

TEST(RecSimFiles, OversizedUploadIsRefusedByClosing) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    cmd.Send(MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(recsim::kMaxUploadBytes + 1), QELFILE_CONFIG));
    EXPECT_TRUE(cmd.WaitClosed());
}

TEST(RecSimFirmware, UpgradeReportsProgressAndCloses) {
    struct Case {
        const char* name;
        int steps;
        bool totalZero;
    };
    const Case cases[] = {{"five steps", 5, false}, {"total 0", 3, true}, {"no progress", 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickOptions();
        o.firmwareSteps = c.steps;
        o.faults.firmwareTotalZero = c.totalZero;
        SimHarness sim(o);
        TestConnection cmd, av;
        ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
        const std::string image(8192, '\x7E');
        cmd.Send(MakeNetCommand(NETCMD_FILE, static_cast<DWORD>(image.size()), QELFILE_FIRMWARE));
        cmd.Send(image);
        const auto up = cmd.ReadPacket();
        ASSERT_TRUE(up);
        EXPECT_EQ(up->RetCommand(), NETCMD_FILE);
        cmd.Send(MakeQelMsg(MSG_FM_NETWORK_SYSTEM_UPGRADE, 0, 0));
        const auto running = cmd.ReadPacket();
        ASSERT_TRUE(running);
        EXPECT_EQ(running->Type(), QELMSG);
        EXPECT_EQ(running->MsgId(), MSG_REPLY);
        EXPECT_EQ(running->MsgRet(), MSG_FM_NETWORK_SYSTEM_UPGRADE);
        EXPECT_EQ(running->ErrCode(), 0u);
        for (int k = 1; k <= c.steps; ++k) {
            const auto progress = cmd.ReadPacket();
            ASSERT_TRUE(progress);
            EXPECT_EQ(progress->MsgId(), MSG_FM_UPGRADE_PROGRESS);
            EXPECT_EQ(progress->Param(1), static_cast<DWORD>(k));
            EXPECT_EQ(progress->Param(2), c.totalZero ? 0u : static_cast<DWORD>(c.steps));
        }
        const auto done = cmd.ReadPacket();
        ASSERT_TRUE(done);
        EXPECT_EQ(done->MsgRet(), MSG_FM_NETWORK_SYSTEM_UPGRADE);
        EXPECT_EQ(done->ErrCode(), 1u);
        EXPECT_TRUE(cmd.WaitClosed());
        EXPECT_TRUE(av.WaitClosed());
        const auto msg = sim->Log().Packets().back();
        EXPECT_EQ(msg.packet.Type(), QELMSG);
        EXPECT_EQ(msg.problem, "");
        EXPECT_EQ(sim->Firmware().value_or(""), image);
    }
}

TEST(RecSimFirmware, UpgradeWithoutAnImageIsRefused) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    cmd.Send(MakeQelMsg(MSG_FM_NETWORK_SYSTEM_UPGRADE, 0, 0));
    const auto r = cmd.ReadPacket();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->MsgRet(), MSG_FM_NETWORK_SYSTEM_UPGRADE);
    EXPECT_EQ(r->ErrCode(), 2u);
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
}

} // namespace
