#include "SimHarness.h"

#include "platform/core/Exceptions.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace recsim_test;

namespace {

recsim::RecSimOptions Parse(std::vector<std::string> args, bool* help = nullptr) {
    bool h = false;
    auto o = recsim::ParseRecSimArgs(args, h);
    if (help) *help = h;
    return o;
}

TEST(RecSimOptions, ParsesWhatHelpLists) {
    const auto o = Parse({"--port",
                          "6000",
                          "--store",
                          "/s",
                          "--cameras",
                          "1",
                          "--standard",
                          "PAL",
                          "--large",
                          "--fps",
                          "5",
                          "--fast",
                          "--side-data",
                          "Mixed",
                          "--admin-password",
                          "ab",
                          "--user-password",
                          "cd",
                          "--sysinfo",
                          "1",
                          "--login-option",
                          "1:2",
                          "--status",
                          "3",
                          "--record-state",
                          "2",
                          "--multicast",
                          "239.1.2.3:6000",
                          "--delay",
                          "109:250",
                          "--silent",
                          "122",
                          "--result",
                          "107:2",
                          "--split",
                          "20,50",
                          "--close-on",
                          "115",
                          "--close-av-after",
                          "9",
                          "--garbage-every",
                          "3",
                          "--bad-header-every",
                          "4",
                          "--truncated-jpeg-every",
                          "5",
                          "--bad-side-data-every",
                          "6",
                          "--av-write-sizes",
                          "1,20,12",
                          "--av-write-gap-us",
                          "500",
                          "--refuse",
                          "--no-av-port",
                          "--hold-after",
                          "7",
                          "--drop-after",
                          "8",
                          "--mute",
                          "--frames-after-pause",
                          "6",
                          "--hold",
                          "105",
                          "--hold",
                          "121",
                          "--slow-file",
                          "512:40",
                          "--control"});
    EXPECT_EQ(o.port, 6000);
    EXPECT_EQ(o.store, "/s");
    EXPECT_EQ(o.cameras, 1);
    EXPECT_EQ(o.standard, 2);
    EXPECT_TRUE(o.large);
    EXPECT_EQ(o.liveFps, 5);
    EXPECT_FALSE(o.realtime);
    EXPECT_EQ(o.sideData, recgen::SideDataPattern::Mixed);
    EXPECT_EQ(o.adminPassword, "ab");
    EXPECT_EQ(o.userPassword, "cd");
    EXPECT_EQ(o.sysinfoResult, 1u);
    EXPECT_EQ(o.loginArg1, 2u);
    EXPECT_EQ(o.status, 3u);
    EXPECT_EQ(o.recordState, 2u);
    EXPECT_EQ(o.multicast, "239.1.2.3:6000");
    EXPECT_EQ(o.faults.replies.at(109).delayMs, 250);
    EXPECT_TRUE(o.faults.replies.at(122).silent);
    EXPECT_EQ(o.faults.replies.at(107).result.value(), 2u);
    EXPECT_EQ(o.faults.splitAt, (std::vector<std::size_t>{20, 50}));
    EXPECT_EQ(o.faults.closeOnCommand.value(), 115u);
    EXPECT_EQ(o.faults.closeAvAfterFrames.value(), 9u);
    EXPECT_EQ(o.faults.garbageEvery, 3u);
    EXPECT_EQ(o.faults.badHeaderEvery, 4u);
    EXPECT_EQ(o.faults.truncatedJpegEvery, 5u);
    EXPECT_EQ(o.faults.badSideDataEvery, 6u);
    EXPECT_EQ(o.faults.avWriteSizes, (std::vector<std::size_t>{1, 20, 12}));
    EXPECT_EQ(o.faults.avWriteGapUs, 500);
    EXPECT_EQ(o.faults.commandAccept, recsim::AcceptMode::Refuse);
    EXPECT_TRUE(o.faults.noAvPort);
    EXPECT_EQ(o.faults.holdStreamAfterFrames.value(), 7u);
    EXPECT_EQ(o.faults.dropLinkAfterFrames.value(), 8u);
    EXPECT_TRUE(o.faults.mute);
    EXPECT_EQ(o.faults.framesAfterPause, 6u);
    EXPECT_TRUE(o.control);
    EXPECT_EQ(o.faults.holdReplies, (std::set<DWORD>{105, 121}));
    EXPECT_EQ(o.faults.slowFilePiece, 512u);
    EXPECT_EQ(o.faults.slowFileGapMs, 40);

    const std::string help = recsim::RecSimHelp();
    for (const char* option : {"--port",
                               "--store",
                               "--cameras",
                               "--standard",
                               "--side-data",
                               "--admin-password",
                               "--user-password",
                               "--status",
                               "--record-state",
                               "--delay",
                               "--silent",
                               "--split",
                               "--close-on",
                               "--oversized-every",
                               "--garbage-every",
                               "--no-av-port",
                               "--bad-header-every",
                               "--truncated-jpeg-every",
                               "--bad-side-data-every",
                               "--av-write-sizes",
                               "--hold-after",
                               "--drop-after",
                               "--mute",
                               "--control",
                               "--hold",
                               "--slow-file",
                               "event4",
                               "status",
                               "release",
                               "release-one"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    bool h = false;
    Parse({"--help"}, &h);
    EXPECT_TRUE(h);
    const auto defaults = Parse({});
    EXPECT_EQ(defaults.port, 5000);
    EXPECT_EQ(defaults.cameras, 4);
    EXPECT_TRUE(defaults.realtime);
    EXPECT_EQ(defaults.sideData, recgen::SideDataPattern::Gps);
}

TEST(RecSimOptions, RefusesBadArguments) {
    const std::vector<std::vector<std::string>> cases = {
        {"--port"},
        {"--port", "x"},
        {"--port", "65535"},
        {"--port", "-1"},
        {"--cameras", "2"},
        {"--standard", "secam"},
        {"--side-data", "both"},
        {"--side-data"},
        {"--delay", "109"},
        {"--delay", "a:1"},
        {"--split", "1,,2"},
        {"--split", "0"},
        {"--record-state", "4"},
        {"--whatever"},
        {"--quality", "100"},
        {"--garbage-bytes", "0"},
        {"--av-write-sizes", "0"},
        {"--av-write-sizes", "4,"},
        {"--hold-after", "x"},
        {"--drop-after"},
        {"--hold", "x"},
        {"--hold"},
        {"--slow-file", "512"},
        {"--slow-file", "0:40"},
        {"--slow-file", "512:-1"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        EXPECT_THROW(Parse(args), EInvalidArgument);
    }
}

// The program itself: prints its ports, answers, ends on SIGTERM.
TEST(RecSimProgram, RunsAsAProgramUntilTerminated) {
    const std::string path = RECSIM_PROGRAM;
    testing_support::TempDir store;
    // A folder without recordings is filled with a generated store first; a configuration uploaded to
    // an earlier run stays what the recorder serves.
    const std::string uploaded = "[config]\r\n27_1_1=COACH 7\r\n62_1_1=1\r\n";
    testing_support::WriteFileBytes(store.File("config.ini"), uploaded);
    int out[2], in[2];
    ASSERT_EQ(::pipe(out), 0);
    ASSERT_EQ(::pipe(in), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(in[0], 0);
        ::close(out[0]);
        ::close(in[1]);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::execl(path.c_str(), path.c_str(), "--port", "0", "--store", store.Path().c_str(), "--quiet",
                "--control", nullptr);
        _exit(127);
    }
    ::close(out[1]);
    ::close(in[0]);
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 60000) > 0 && ::read(out[0], &c, 1) == 1)
        line += c;
    int cmdPort = 0, avPort = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "recsim: command port %d, A/V port %d", &cmdPort, &avPort), 2)
        << line;
    EXPECT_EQ(avPort, cmdPort + 1);
    {
        TestConnection cmd(cmdPort);
        const auto r = Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Result(), 3u);
        // Lines on standard input make the recorder act; a line it does not know changes nothing.
        const std::string lines = "whatever 1\nstatus 2\nevent4 1\nhold 107\n";
        ASSERT_EQ(::write(in[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
        const auto status = cmd.ReadPacket();
        ASSERT_TRUE(status);
        EXPECT_EQ(status->RetCommand(), NETCMD_STATUS);
        EXPECT_EQ(status->Arg0(), 2u);
        const auto event = cmd.ReadPacket();
        ASSERT_TRUE(event);
        EXPECT_EQ(event->Arg0(), DEVEVENT_REMOTE_WORK);
        EXPECT_EQ(event->Arg1(), 1u);
        // A held reply comes on its release line.
        cmd.Send(MakeNetCommand(NETCMD_CAMERA_INFO, 0));
        EXPECT_FALSE(cmd.ReadPacket(300));
        const std::string release = "release 107\n";
        ASSERT_EQ(::write(in[1], release.data(), release.size()), static_cast<ssize_t>(release.size()));
        const auto camera = cmd.ReadPacket();
        ASSERT_TRUE(camera);
        EXPECT_EQ(camera->RetCommand(), NETCMD_CAMERA_INFO);
        TestConnection av(avPort);
        const auto file = Request(cmd, MakeNetCommand(NETCMD_FILE_REQUEST, QELFILE_CONFIG));
        ASSERT_TRUE(file);
        cmd.Send(MakeFileAck());
        const auto announcement = cmd.ReadPacket();
        ASSERT_TRUE(announcement);
        EXPECT_EQ(announcement->Arg0(), uploaded.size());
    }
    EXPECT_TRUE(std::filesystem::is_directory(store.Path() / "avfiles"));
    EXPECT_EQ(testing_support::ReadFileBytes(store.File("config.ini")), uploaded);
    EXPECT_TRUE(std::filesystem::exists(store.File("holiday.ini"))) << "missing setup files are made";
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(out[0]);
    ::close(in[1]);

    // Bad options end it at once with status 2.
    const pid_t bad = ::fork();
    if (bad == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::execl(path.c_str(), path.c_str(), "--cameras", "3", nullptr);
        _exit(127);
    }
    ASSERT_EQ(::waitpid(bad, &status, 0), bad);
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
