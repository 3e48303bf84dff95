// The debug logger and the way sockets log through it.
#include "net/VeskLogger.h"
#include "platform/core/FileUtils.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using testing_support::DebugCapture;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

TEST(VeskLogger, StampedLinesInTheFile) {
    TempDir dir;
    TVeskLogger logger(nullptr);
    logger.SetLogFileName(dir.File("net.log"));
    logger.SetLogOptions(TLogOptions{loDestFile, loAddStamp});
    logger.DoDebugLog(nullptr, loWsockInfo, "first");
    logger.DoDebugLog(nullptr, loWsockInfo, "second");
    logger.CloseLogFile();
    const std::string text = ReadFileBytes(dir.File("net.log"));
    EXPECT_TRUE(std::regex_match(
        text, std::regex(R"(\d\d:\d\d:\d\d:\d\d\d first\r\n\d\d:\d\d:\d\d:\d\d\d second\r\n)")))
        << text;
}

TEST(VeskLogger, AppendKeepsAndOverwriteEmpties) {
    TempDir dir;
    const std::string path = dir.File("keep.log");
    for (const auto& [option, expected] : {std::pair{lfoAppend, std::string("old\r\nnew\r\n")},
                                           std::pair{lfoOverwrite, std::string("new\r\n")}}) {
        WriteFileBytes(path, "old\r\n");
        TVeskLogger logger(nullptr);
        logger.SetLogFileOption(option);
        logger.SetLogFileName(path);
        logger.SetLogOptions(TLogOptions{loDestFile});
        logger.DoDebugLog(nullptr, loWsockErr, "new");
        logger.CloseLogFile();
        EXPECT_EQ(ReadFileBytes(path), expected);
    }
}

TEST(VeskLogger, RenameInLetterCaseKeepsTheFileAnotherPathReopens) {
    TempDir dir;
    TVeskLogger logger(nullptr);
    logger.SetLogOptions(TLogOptions{loDestFile});
    logger.SetLogFileName(dir.File("case.log"));
    logger.DoDebugLog(nullptr, loWsockInfo, "a");
    logger.SetLogFileName(dir.File("CASE.log"));
    EXPECT_TRUE(logger.LogFileOpen());
    logger.DoDebugLog(nullptr, loWsockInfo, "b");
    logger.SetLogFileName(dir.File("other.log"));
    EXPECT_FALSE(logger.LogFileOpen());
    logger.DoDebugLog(nullptr, loWsockInfo, "c");
    logger.CloseLogFile();
    EXPECT_EQ(ReadFileBytes(dir.File("case.log")), "a\r\nb\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("other.log")), "c\r\n");
}

TEST(VeskLogger, DestinationsInOrderAndNoneMeansNothing) {
    TempDir dir;
    DebugCapture debug;
    TVeskLogger logger(nullptr);
    logger.SetLogFileName(dir.File("none.log"));
    std::vector<std::string> events;
    logger.SetOnVeskLogEvent(TVeskLogEvent([&](TObject*, TLogOption option, const std::string& line) {
        events.push_back(std::to_string(option) + ":" + line);
    }));
    logger.DoDebugLog(nullptr, loWsockDump, "silent");
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(debug.Contains("silent"));
    EXPECT_FALSE(FileExists(dir.File("none.log")));
    logger.SetLogOptions(TLogOptions{loDestEvent, loDestOutDebug});
    logger.DoDebugLog(nullptr, loWsockDump, "loud");
    EXPECT_EQ(events, (std::vector<std::string>{std::to_string(loWsockDump) + ":loud"}));
    EXPECT_TRUE(debug.Contains("loud"));
}

TEST(VeskLogger, EmptyFileNameRaisesButNotThroughASocket) {
    DebugCapture debug;
    TVeskLogger logger(nullptr);
    logger.SetLogOptions(TLogOptions{loDestFile, loWsockInfo});
    try {
        logger.DoDebugLog(nullptr, loWsockInfo, "x");
        ADD_FAILURE();
    } catch (const ELoggerException& e) {
        EXPECT_EQ(e.Message, "File name empty");
    }
    // A broken logger must not abort the connection being logged: reported once, then quiet.
    nettest::TSocketSet sockets;
    TWSocket* s = sockets.Make();
    s->SetVeskLogger(&logger);
    const int peer = nettest::OpenConnection(s);
    ASSERT_GE(peer, 0);
    EXPECT_EQ(s->State(), wsConnected);
    s->Shutdown(1);
    std::size_t reports = 0;
    for (const auto& line : debug.Lines())
        reports += line.find("logger failed: File name empty") != std::string::npos ? 1 : 0;
    EXPECT_EQ(reports, 1u);
    netpeer::Close(peer);
}

TEST(VeskLogger, SocketsLogThroughItAndForgetItWhenItGoes) {
    nettest::TSocketSet sockets;
    TWSocket* s = sockets.Make();
    auto* logger = new TVeskLogger(nullptr);
    std::vector<std::string> lines;
    logger->SetLogOptions(TLogOptions{loDestEvent, loWsockInfo});
    logger->SetOnVeskLogEvent(TVeskLogEvent([&](TObject* sender, TLogOption, const std::string& line) {
        if (sender == s) lines.push_back(line);
    }));
    s->SetVeskLogger(logger);
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    nettest::Target(s, port);
    s->Connect();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "TWSocket will connect to 127.0.0.1:" + std::to_string(port));
    delete logger;
    EXPECT_EQ(s->VeskLogger(), nullptr);
    s->Close();
    netpeer::Close(listener);
}

} // namespace
