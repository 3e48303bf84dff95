#include "formats/CommandReceiver.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

std::vector<BYTE> Bytes(const NetMsgPacket& p) {
    return {p.bytes.begin(), p.bytes.end()};
}

std::vector<BYTE> Pattern(std::size_t n, BYTE seed = 7) {
    std::vector<BYTE> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<BYTE>(seed + i * 31 + i / 251);
    return out;
}

void Append(std::vector<BYTE>& to, const std::vector<BYTE>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

std::string Str(const std::vector<BYTE>& b) {
    return {b.begin(), b.end()};
}

// Feeds reads of the given sizes and takes every unit after each read, as the socket handler does.
struct Feeder {
    explicit Feeder(CCommandReceiver& r) : rx(r) {}
    void Feed(const std::vector<BYTE>& stream, const std::vector<std::size_t>& reads) {
        std::size_t pos = 0;
        for (std::size_t n : reads) {
            rx.Append(stream.data() + pos, n);
            pos += n;
            Drain();
        }
        ASSERT_EQ(pos, stream.size());
    }
    void Drain() {
        TReceivedUnit u;
        while (rx.Next(u))
            units.push_back(u);
    }
    std::vector<TReceivedUnit::TKind> Kinds() const {
        std::vector<TReceivedUnit::TKind> k;
        for (const auto& u : units)
            k.push_back(u.Kind);
        return k;
    }
    CCommandReceiver& rx;
    std::vector<TReceivedUnit> units;
};

using K = TReceivedUnit::TKind;

TEST(CommandReceiver, PacketSplitAtEveryOffsetIsJoined) {
    const NetMsgPacket a = MakeReply(NETCMD_STATUS, 1, 1, 2);
    const NetMsgPacket b = MakeReply(NETCMD_HEARTBEAT, 1);
    std::vector<BYTE> stream = Bytes(a);
    Append(stream, Bytes(b));
    for (std::size_t cut = 1; cut < kNetMsgPacketSize; ++cut) {
        SCOPED_TRACE(cut);
        CCommandReceiver rx;
        Feeder f(rx);
        f.Feed(stream, {cut, kNetMsgPacketSize, kNetMsgPacketSize - cut});
        ASSERT_EQ(f.units.size(), 2u);
        EXPECT_EQ(f.units[0].packet.bytes, a.bytes);
        EXPECT_EQ(f.units[1].packet.bytes, b.bytes);
        EXPECT_EQ(rx.Queued(), 0u);
    }
}

TEST(CommandReceiver, TailShorterThanAPacketWaitsForTheRest) {
    CCommandReceiver rx;
    const NetMsgPacket a = MakeReply(NETCMD_MODE, 1);
    rx.Append(a.bytes.data(), 111);
    TReceivedUnit u;
    EXPECT_FALSE(rx.Next(u));
    EXPECT_EQ(rx.Queued(), 111u);
    rx.Append(a.bytes.data() + 111, 1);
    ASSERT_TRUE(rx.Next(u));
    EXPECT_EQ(u.packet.bytes, a.bytes);
}

struct FileCase {
    const char* name;
    std::size_t size;
    std::vector<std::size_t> reads; // how the stream (announcement, bytes, trailing reply) arrives
    std::vector<K> kinds;
};

TEST(CommandReceiver, FileTakesExactlyItsSizeAndThePacketsAfterItFollow) {
    const std::vector<FileCase> cases = {
        {"announcement and first bytes in one read",
         300,
         {112 + 100, 200, 112},
         {K::Packet, K::FileProgress, K::FileDone, K::Packet}},
        {"10000 bytes read 4096, 4096, 1808",
         10000,
         {112, 4096, 4096, 1808, 112},
         {K::Packet, K::FileProgress, K::FileProgress, K::FileDone, K::Packet}},
        {"file and reply in one segment", 500, {112 + 500 + 112}, {K::Packet, K::FileDone, K::Packet}},
        {"reply glued to the last file bytes",
         5000,
         {112 + 4000, 1000 + 112},
         {K::Packet, K::FileProgress, K::FileDone, K::Packet}},
        {"byte by byte across the boundaries", 3, std::vector<std::size_t>(112 + 3 + 112, 1),
         std::vector<K>{}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        CCommandReceiver rx;
        rx.SetFolder(dir.Str());
        const std::vector<BYTE> content = Pattern(c.size);
        const NetMsgPacket reply = MakeReply(NETCMD_STATUS, 1, 1, 0);
        std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(static_cast<DWORD>(c.size), QELFILE_CONFIG));
        Append(stream, content);
        Append(stream, Bytes(reply));
        Feeder f(rx);
        f.Feed(stream, c.reads);
        if (!c.kinds.empty()) {
            EXPECT_EQ(f.Kinds(), c.kinds);
        }
        ASSERT_GE(f.units.size(), 3u);
        EXPECT_EQ(f.units.front().Kind, K::Packet);
        EXPECT_EQ(f.units.front().Size, c.size);
        const TReceivedUnit& done = f.units[f.units.size() - 2];
        EXPECT_EQ(done.Kind, K::FileDone);
        EXPECT_TRUE(done.Stored);
        EXPECT_EQ(done.Received, c.size);
        EXPECT_EQ(f.units.back().packet.bytes, reply.bytes);
        EXPECT_TRUE(ReadFileBytes(dir.File("config.ini")) == Str(content));
        EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.part")));
        EXPECT_EQ(rx.ReceiveMode(), 0);
        EXPECT_EQ(rx.ReadSize(), 4096);
    }
}

TEST(CommandReceiver, ReadsAskForNoMoreThanTheRestOfTheFile) {
    TempDir dir;
    CCommandReceiver rx;
    rx.SetFolder(dir.Str());
    const NetMsgPacket ann = MakeFileAnnouncement(10000, QELFILE_SCHEDULE);
    rx.Append(ann.bytes.data(), ann.bytes.size());
    TReceivedUnit u;
    ASSERT_TRUE(rx.Next(u));
    std::vector<int> asked;
    const std::vector<BYTE> content = Pattern(10000);
    std::size_t pos = 0;
    while (rx.ReceiveMode() == 1) {
        const int n = rx.ReadSize();
        asked.push_back(n);
        rx.Append(content.data() + pos, static_cast<std::size_t>(n));
        pos += static_cast<std::size_t>(n);
        while (rx.Next(u)) {
        }
    }
    EXPECT_EQ(asked, (std::vector<int>{4096, 4096, 1808}));
    EXPECT_EQ(u.Kind, K::FileDone);
    EXPECT_TRUE(ReadFileBytes(dir.File("schedule.dat")) == Str(content));
}

TEST(CommandReceiver, EmptyFileCompletesAtOnce) {
    TempDir dir;
    CCommandReceiver rx;
    rx.SetFolder(dir.Str());
    std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(0, QELFILE_HOLIDAY));
    Append(stream, Bytes(MakeReply(NETCMD_HEARTBEAT, 1)));
    Feeder f(rx);
    f.Feed(stream, {stream.size()});
    EXPECT_EQ(f.Kinds(), (std::vector<K>{K::Packet, K::FileDone, K::Packet}));
    EXPECT_TRUE(f.units[1].Stored);
    EXPECT_TRUE(std::filesystem::exists(dir.File("holiday.ini")));
    EXPECT_EQ(std::filesystem::file_size(dir.File("holiday.ini")), 0u);
    EXPECT_EQ(rx.ReceiveMode(), 0);
    EXPECT_EQ(rx.ReadSize(), 4096);
}

TEST(CommandReceiver, FilesThatNameNothingAreReadPastButNotStored) {
    struct Case {
        const char* name;
        DWORD kind;
        DWORD disk;
        bool gauge;
    };
    const Case cases[] = {
        {"unknown kind", 9, 0, false},
        {"firmware kind from the recorder", QELFILE_FIRMWARE, 0, false},
        {"database of an unknown disk", QELFILE_DATABASE, 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        CCommandReceiver rx;
        rx.SetFolder(dir.Str());
        std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(200, c.kind, c.disk));
        Append(stream, Pattern(200));
        const NetMsgPacket reply = MakeReply(NETCMD_MODE, 1);
        Append(stream, Bytes(reply));
        Feeder f(rx);
        f.Feed(stream, {150, stream.size() - 150});
        ASSERT_EQ(f.Kinds(), (std::vector<K>{K::Packet, K::FileProgress, K::FileDone, K::Packet}));
        EXPECT_EQ(f.units[0].Gauge, c.gauge);
        EXPECT_TRUE(f.units[0].Path.empty());
        EXPECT_FALSE(f.units[2].Stored);
        EXPECT_EQ(f.units[3].packet.bytes, reply.bytes);
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    }
}

TEST(CommandReceiver, DatabaseKindsChooseTheFileByDiskAndShowTheGauge) {
    const std::pair<DWORD, const char*> disks[] = {
        {QELDISK_HDD, "qeldbfile_hdd.db"}, {QELDISK_CF, "qeldbfile_cf.db"}, {QELDISK_SD, "qeldbfile_sd.db"}};
    for (const auto& [disk, name] : disks) {
        TempDir dir;
        CCommandReceiver rx;
        rx.SetFolder(dir.Str());
        std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(5000, QELFILE_DATABASE, disk));
        Append(stream, Pattern(5000));
        Feeder f(rx);
        rx.Append(stream.data(), 122);
        f.Drain();
        EXPECT_TRUE(rx.ShowDownloadGauge());
        rx.Append(stream.data() + 122, stream.size() - 122);
        f.Drain();
        EXPECT_FALSE(rx.ShowDownloadGauge());
        ASSERT_EQ(f.units.back().Kind, K::FileDone);
        EXPECT_TRUE(f.units.back().Gauge);
        EXPECT_EQ(ReadFileBytes(dir.File(name)).size(), 5000u);
    }
}

TEST(CommandReceiver, LinkLostMidFileLeavesNoFileModeAndKeepsTheOldCopy) {
    TempDir dir;
    testing_support::WriteFileBytes(dir.File("config.ini"), "[config]\nold=1\n");
    CCommandReceiver rx;
    rx.SetFolder(dir.Str());
    std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(8000, QELFILE_CONFIG));
    Append(stream, Pattern(3000));
    Feeder f(rx);
    f.Feed(stream, {stream.size()});
    EXPECT_EQ(rx.ReceiveMode(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("config.ini.part")));

    rx.Reset();
    EXPECT_EQ(rx.ReceiveMode(), 0);
    EXPECT_EQ(rx.ReadSize(), 4096);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.part")));
    EXPECT_EQ(ReadFileBytes(dir.File("config.ini")), "[config]\nold=1\n");

    // The next connection's first reply is a packet again, not file bytes.
    const NetMsgPacket sys = MakeReply(NETCMD_SYSINFO, 2, 1, 1);
    f.units.clear();
    f.Feed(Bytes(sys), {kNetMsgPacketSize});
    ASSERT_EQ(f.units.size(), 1u);
    EXPECT_EQ(f.units[0].packet.bytes, sys.bytes);
}

TEST(CommandReceiver, FileThatCannotBeCreatedIsReadPastAndNotReportedStored) {
    TempDir dir;
    CCommandReceiver rx;
    rx.SetFolder(dir.Str() + "missing-folder/");
    std::vector<BYTE> stream = Bytes(MakeFileAnnouncement(700, QELFILE_INFO));
    Append(stream, Pattern(700));
    const NetMsgPacket reply = MakeReply(NETCMD_HEARTBEAT, 1);
    Append(stream, Bytes(reply));
    Feeder f(rx);
    f.Feed(stream, {stream.size()});
    ASSERT_EQ(f.Kinds(), (std::vector<K>{K::Packet, K::FileDone, K::Packet}));
    EXPECT_FALSE(f.units[1].Stored);
    EXPECT_EQ(f.units[1].Failure, "No such file or directory");
    EXPECT_EQ(f.units[2].packet.bytes, reply.bytes);
}

TEST(CommandReceiver, AFileAnnouncedLongerThanSentIsGivenUpAndWhatFollowsIsReadAsPackets) {
    TempDir dir;
    testing_support::WriteFileBytes(dir.File("config.ini"), "[config]\nold=1\n");
    CCommandReceiver rx;
    rx.SetFolder(dir.Str());
    // A file's bytes may look like anything, a reply too: they are the file's while it is due.
    const NetMsgPacket lookalike = MakeReply(NETCMD_LIVE_START, 1);
    std::vector<BYTE> content = Bytes(lookalike);
    Append(content, Pattern(400));
    std::vector<BYTE> whole = Bytes(MakeFileAnnouncement(static_cast<DWORD>(content.size()), QELFILE_INFO));
    Append(whole, content);
    Feeder f(rx);
    f.Feed(whole, {whole.size()});
    EXPECT_EQ(f.Kinds(), (std::vector<K>{K::Packet, K::FileDone}));
    EXPECT_EQ(ReadFileBytes(dir.File("info.ini")), Str(content));

    // Announced 300 bytes longer than sent: the reply behind it goes into the file until it is given up.
    std::vector<BYTE> lying =
        Bytes(MakeFileAnnouncement(static_cast<DWORD>(content.size()) + 300, QELFILE_CONFIG));
    Append(lying, content);
    Append(lying, Bytes(MakeReply(NETCMD_STATUS, 1)));
    f.units.clear();
    f.Feed(lying, {lying.size()});
    EXPECT_EQ(f.Kinds(), (std::vector<K>{K::Packet, K::FileProgress}));
    TReceivedUnit given;
    ASSERT_TRUE(rx.AbandonFile(given));
    EXPECT_EQ(given.FileKind, QELFILE_CONFIG);
    EXPECT_EQ(given.Size, 812u);
    EXPECT_EQ(given.Received, 624u);
    EXPECT_FALSE(given.Stored);
    EXPECT_EQ(rx.ReceiveMode(), 0);
    EXPECT_EQ(rx.ReadSize(), 4096);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.part")));
    EXPECT_EQ(ReadFileBytes(dir.File("config.ini")), "[config]\nold=1\n");
    EXPECT_FALSE(rx.AbandonFile(given));

    const NetMsgPacket next = MakeReply(NETCMD_STATUS, 1);
    f.units.clear();
    f.Feed(Bytes(next), {kNetMsgPacketSize});
    ASSERT_EQ(f.Kinds(), std::vector<K>{K::Packet});
    EXPECT_EQ(f.units[0].packet.bytes, next.bytes);
}

TEST(CommandReceiver, LargeAnnouncedSizesStayUnsigned) {
    TempDir dir;
    CCommandReceiver rx;
    rx.SetFolder(dir.Str());
    const NetMsgPacket ann = MakeFileAnnouncement(0xFFFFFFF0u, QELFILE_DATABASE, QELDISK_HDD);
    rx.Append(ann.bytes.data(), ann.bytes.size());
    TReceivedUnit u;
    ASSERT_TRUE(rx.Next(u));
    EXPECT_EQ(u.Size, 0xFFFFFFF0u);
    EXPECT_EQ(rx.RecvFileSize(), 0xFFFFFFF0u);
    EXPECT_EQ(rx.ReadSize(), 4096);
    rx.Reset();
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

} // namespace
