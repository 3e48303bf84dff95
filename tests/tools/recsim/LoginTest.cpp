#include "SimHarness.h"
#include "tests/support/TestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace recsim_test;

namespace {

TEST(RecSimLogin, FullLoginAnswersEveryStepAsConfigured) {
    recsim::RecSimOptions o = QuickOptions();
    o.cameras = 1;
    o.standard = 2;
    o.status = 1;
    o.recordState = 2;
    o.heartbeat = 0;
    o.removableMedia = 0;
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());

    const auto sys = Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3));
    ASSERT_TRUE(sys);
    EXPECT_EQ(sys->Result(), 3u);
    EXPECT_EQ(sys->Arg0(), 0u);
    EXPECT_EQ(sys->Arg1(), 0u);
    TestConnection av(sim->AvPort());
    EXPECT_TRUE(sim->WaitForAvConnection(true, 2000));
    const auto opt = Request(cmd, MakeNetCommand(NETCMD_LOGIN_OPTION, 0));
    ASSERT_TRUE(opt);
    EXPECT_EQ(opt->Arg0(), 1u);
    EXPECT_EQ(opt->Arg1(), 1u);
    const auto cam = Request(cmd, MakeNetCommand(NETCMD_CAMERA_INFO, 0));
    ASSERT_TRUE(cam);
    EXPECT_EQ(cam->Result(), 1u);
    EXPECT_EQ(cam->Arg0(), 2u);
    EXPECT_EQ(cam->Arg1(), 1u);
    const auto status = Request(cmd, MakeNetCommand(NETCMD_STATUS, 0));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Arg0(), 1u);
    EXPECT_EQ(status->Arg1(), 2u);
    const auto pw = Request(cmd, MakePasswordPacket(1, "1234"));
    ASSERT_TRUE(pw);
    EXPECT_EQ(pw->Result(), 1u);

    const auto packets = sim->Log().Packets();
    ASSERT_EQ(packets.size(), 5u);
    const DWORD order[] = {101, 119, 107, 109, 102};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(packets[i].packet.Command(), order[i]);
        EXPECT_EQ(packets[i].problem, "");
    }
    EXPECT_EQ(packets[4].packet.Password(), "1234");
    EXPECT_EQ(packets[4].packet.Arg0(), 1u);
}

TEST(RecSimLogin, PasswordOnlyLogin) {
    recsim::RecSimOptions o = QuickOptions();
    o.sysinfoResult = 1;
    o.userPassword = "guest";
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    const auto sys = Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3));
    ASSERT_TRUE(sys);
    EXPECT_EQ(sys->Result(), 1u);
    const auto pw = Request(cmd, MakePasswordPacket(2, "guest"));
    ASSERT_TRUE(pw);
    EXPECT_EQ(pw->Result(), 1u);
    EXPECT_FALSE(sim->AvConnected());
}

TEST(RecSimLogin, PasswordsAreCheckedByLevel) {
    struct Case {
        DWORD level;
        const char* password;
        DWORD result;
    };
    const Case cases[] = {
        {1, "admin12345", 1}, {1, "admin1234", 0},   {1, "", 0}, {2, "guest", 1}, {2, "admin12345", 0},
        {3, "guest", 0},      {1, "admin12345X", 1}, // cut to ten bytes on the wire
    };
    recsim::RecSimOptions o = QuickOptions();
    o.adminPassword = "admin12345";
    o.userPassword = "guest";
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.password) + " level " + std::to_string(c.level));
        const auto r = Request(cmd, MakePasswordPacket(c.level, c.password));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Result(), c.result);
    }
    o.checkPassword = false;
    SimHarness open(o);
    TestConnection cmd2(open->CommandPort());
    EXPECT_EQ(Request(cmd2, MakePasswordPacket(1, "anything"))->Result(), 1u);
}

TEST(RecSimLogin, LoginOptionAndStatusFromOptions) {
    recsim::RecSimOptions o = QuickOptions();
    o.loginArg0 = 1;
    o.loginArg1 = 2;
    o.status = 3;
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_LOGIN_OPTION, 0))->Arg1(), 2u);
    EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0))->Arg0(), 3u);
}

TEST(RecSimLogin, MulticastGroupAnnouncedAfterAcceptedPassword) {
    recsim::RecSimOptions o = QuickOptions();
    o.multicast = "239.1.2.3:6000";
    SimHarness sim(o);
    TestConnection cmd(sim->CommandPort());
    std::vector<NetMsgPacket> others;
    ASSERT_TRUE(Request(cmd, MakePasswordPacket(1, "wrong"), 3000, &others));
    const auto late = cmd.ReadPacket(200);
    EXPECT_FALSE(late);
    ASSERT_TRUE(Request(cmd, MakePasswordPacket(1, "1234"), 3000, &others));
    const auto group = cmd.ReadPacket(2000);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->Type(), QELMSG);
    EXPECT_EQ(group->MsgId(), MSG_REPLY);
    EXPECT_EQ(group->MsgRet(), MSG_MULTICAST_GROUP);
    EXPECT_EQ(group->ErrCode(), 1u);
    EXPECT_EQ(group->Param(1), 0xEF010203u);
    EXPECT_EQ(group->Param(2), 6000u);
}

TEST(RecSimLogin, MalformedPacketsAreLoggedAndNotAnswered) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    struct Case {
        const char* name;
        std::size_t offset;
        BYTE value;
        bool answered;
        const char* problem;
    };
    const Case cases[] = {
        {"bad magic", 5, 0, false, "packet magic 0xABCD00AB"},
        {"unknown type", 0, 3, false, "packet type 3"},
        {"word at 2", 2, 9, false, "packet word at 2 is 9"},
        {"dirty body", 90, 1, true, "non-zero byte at 90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim->Log().Clear();
        NetMsgPacket p = MakeNetCommand(NETCMD_STATUS, 0);
        p.bytes[c.offset] = c.value;
        cmd.Send(p);
        const auto reply = cmd.ReadPacket(300);
        EXPECT_EQ(reply.has_value(), c.answered);
        ASSERT_TRUE(sim->Log().WaitFor([](const auto& all) { return !all.empty(); }, 2000));
        EXPECT_EQ(sim->Log().Packets()[0].problem, c.problem);
    }
    // The stream stays in step: a good packet after them is answered.
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
}

TEST(RecSimLogin, PacketsSplitAndJoinedByTheClientAreCutRight) {
    SimHarness sim;
    TestConnection cmd(sim->CommandPort());
    std::vector<BYTE> stream;
    for (DWORD c : {122u, 108u, 121u}) {
        const NetMsgPacket p = MakeNetCommand(c, 1);
        stream.insert(stream.end(), p.bytes.begin(), p.bytes.end());
    }
    // One byte, then the rest of three packets in uneven pieces.
    cmd.Send(std::vector<BYTE>(stream.begin(), stream.begin() + 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cmd.Send(std::vector<BYTE>(stream.begin() + 1, stream.begin() + 200));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cmd.Send(std::vector<BYTE>(stream.begin() + 200, stream.end()));
    for (DWORD c : {122u, 108u, 121u}) {
        const auto r = cmd.ReadPacket();
        ASSERT_TRUE(r);
        EXPECT_EQ(r->RetCommand(), c);
    }
}

TEST(RecSimLogin, AcceptModesAndOneClientAtATime) {
    SimHarness sim;
    TestConnection first(sim->CommandPort());
    ASSERT_TRUE(sim->WaitForCommandConnection(true, 2000));
    TestConnection second(sim->CommandPort());
    EXPECT_TRUE(second.WaitClosed(2000));
    EXPECT_TRUE(Request(first, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
    first.Close();
    ASSERT_TRUE(sim->WaitForCommandConnection(false, 2000));
    TestConnection third(sim->CommandPort());
    EXPECT_TRUE(Request(third, MakeNetCommand(NETCMD_HEARTBEAT, 0)));

    recsim::RecSimOptions o = QuickOptions();
    o.faults.commandAccept = recsim::AcceptMode::Refuse;
    SimHarness refusing(o);
    TestConnection refused(refusing->CommandPort());
    EXPECT_TRUE(refused.WaitClosed(2000));

    o.faults.commandAccept = recsim::AcceptMode::Ignore;
    SimHarness ignoring(o);
    TestConnection ignored(ignoring->CommandPort());
    EXPECT_FALSE(Request(ignored, MakeNetCommand(NETCMD_SYSINFO, 3), 300));

    o.faults = {};
    o.faults.noAvPort = true;
    SimHarness noAv(o);
    TestConnection av;
    EXPECT_THROW(av.Connect(noAv->AvPort()), std::runtime_error);
}

// The connection is made within `ms`; false while it still pends.
bool MadeWithin(int fd, int ms) {
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, ms) != 1) return false;
    int error = -1;
    socklen_t len = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
    return error == 0;
}

TEST(RecSimLogin, HeldAcceptsLeaveTheConnectPendingUntilReleased) {
    for (bool av : {false, true}) {
        SCOPED_TRACE(av ? "A/V port" : "command port");
        SimHarness sim;
        sim->HoldAccepts(av, true);
        const int fd = testing_support::StartLoopbackConnect(av ? sim->AvPort() : sim->CommandPort());
        EXPECT_FALSE(MadeWithin(fd, 600));
        EXPECT_FALSE(av ? sim->AvConnected() : sim->CommandConnected());
        sim->HoldAccepts(av, false);
        // The caller's next try gets through.
        EXPECT_TRUE(MadeWithin(fd, 8000));
        EXPECT_TRUE(av ? sim->WaitForAvConnection(true, 2000) : sim->WaitForCommandConnection(true, 2000));
        ::close(fd);
        // Held and released again, the port takes a connection at once.
        sim->HoldAccepts(av, true);
        sim->HoldAccepts(av, false);
        ASSERT_TRUE(av ? sim->WaitForAvConnection(false, 2000) : sim->WaitForCommandConnection(false, 2000));
        const int again = testing_support::StartLoopbackConnect(av ? sim->AvPort() : sim->CommandPort());
        EXPECT_TRUE(MadeWithin(again, 2000));
        ::close(again);
    }
}

} // namespace
