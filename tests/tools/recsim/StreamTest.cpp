#include "SimHarness.h"

#include "formats/AvStreamReceiver.h"
#include "formats/FormatError.h"
#include "formats/QelAvFile.h"
#include "formats/QelSideData.h"
#include "tests/support/TestSupport.h"
#include "tools/recgen/StoreGenerator.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <map>
#include <optional>
#include <set>
#include <thread>

using namespace recsim_test;

namespace {

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Decodes a picture fully; false when libjpeg refuses it.
bool DecodeJpeg(std::span<const BYTE> data, int& width, int& height) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<BYTE> row(static_cast<std::size_t>(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&info, &r, 1);
    }
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Reads frames from the A/V connection through the client's receiver until `count` arrived or the time
// is up. `stats`, when given, gets the receiver's counts as they stood when the last frame came, so that
// no fault is counted half.
std::vector<QelAvFrame> ReadFrames(TestConnection& av, std::size_t count, int timeoutMs = 10000,
                                   CAvStreamReceiver::Statistics* stats = nullptr) {
    std::vector<QelAvFrame> frames;
    CAvStreamReceiver receiver;
    receiver.SetSink([&](const CAvReceivedFrame& f) {
        frames.push_back(f.Copy());
        if (stats) *stats = receiver.Stats();
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (frames.size() < count && !av.PeerClosed() && std::chrono::steady_clock::now() < end) {
        const auto bytes = av.ReadSome(65536, 100);
        receiver.Feed(bytes.data(), bytes.size());
    }
    // One read can carry more frames than were asked for.
    if (frames.size() > count) frames.resize(count);
    return frames;
}

bool WaitForIdle(recsim::RecSim& sim) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (sim.StreamMode() != recsim::AvStreamer::Mode::Idle) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(RecSimLive, ThreeHundredFramesDecodeAsJpegWithSideData) {
    struct Case {
        const char* name;
        BYTE standard;
        bool large;
        int width, height;
        recgen::SideDataPattern side;
        int readingKind; // the one reading block every camera's frames carry
    };
    const Case cases[] = {
        {"NTSC small, GPS", 1, false, 352, 240, recgen::SideDataPattern::Gps, QELSIDE_GPS},
        {"PAL large, tacho", 2, true, 704, 576, recgen::SideDataPattern::Tacho, QELSIDE_TACHO}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickOptions();
        o.standard = c.standard;
        o.large = c.large;
        o.sideData = c.side;
        SimHarness sim(o);
        TestConnection cmd, av;
        ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
        const auto live = Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0));
        ASSERT_TRUE(live);
        EXPECT_EQ(live->Result(), 1u);
        const std::vector<QelAvFrame> frames = ReadFrames(av, 300);
        ASSERT_GE(frames.size(), 300u);
        int video = 0, audio = 0, readings = 0, others = 0;
        std::set<DWORD> channels;
        // The vehicle's reading at each moment, as its cameras' frames carry it.
        std::map<std::pair<DWORD, DWORD>, std::set<std::vector<BYTE>>> moments;
        for (std::size_t i = 0; i < 300; ++i) {
            const QelAvFrame& f = frames[i];
            EXPECT_EQ(f.info.standard, c.standard);
            if (!f.info.IsVideo()) {
                ++audio;
                EXPECT_EQ(f.Payload1().size(), 4000u);
                EXPECT_EQ(f.Payload1().size() / 160, 25u);
                continue;
            }
            ++video;
            channels.insert(f.info.channel);
            int w = 0, h = 0;
            ASSERT_TRUE(DecodeJpeg(f.Payload1(), w, h)) << i;
            EXPECT_EQ(w, c.width);
            EXPECT_EQ(h, c.height);
            EXPECT_EQ(f.info.width, static_cast<DWORD>(c.width));
            QelFrameSideData side(f.Payload2());
            QelSideBlock b;
            std::string title;
            while (side.Next(b)) {
                if (b.kind == c.readingKind) {
                    ++readings;
                    moments[{f.info.frameTime, f.info.subSecond}].insert({b.data.begin(), b.data.end()});
                } else if (b.kind == QELSIDE_GPS || b.kind == QELSIDE_TACHO) {
                    ++others;
                }
                if (b.kind == QELSIDE_TEXT) title = b.Text();
            }
            EXPECT_EQ(title, "CAMERA " + std::to_string(f.info.channel));
        }
        EXPECT_GT(audio, 0);
        EXPECT_EQ(video + audio, 300);
        EXPECT_EQ(channels, (std::set<DWORD>{1, 2, 3, 4}));
        EXPECT_EQ(readings, video);
        EXPECT_EQ(others, 0);
        for (const auto& [moment, blocks] : moments)
            EXPECT_EQ(blocks.size(), 1u) << "cameras disagree at " << moment.first << "." << moment.second;

        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_STOP, 0)));
        // Drain what was under way, then nothing more comes.
        while (!av.ReadSome(1 << 20, 300).empty()) {
        }
        const auto sent = sim->AvFramesSent();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(sim->AvFramesSent(), sent);
    }
}

TEST(RecSimLive, GpsMovesAndFrameTimesAdvanceInRealTime) {
    recsim::RecSimOptions o = QuickOptions();
    o.realtime = true;
    o.cameras = 1;
    o.liveFps = 10;
    SimHarness sim(o);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    const auto frames = ReadFrames(av, 25);
    ASSERT_GE(frames.size(), 25u);
    std::set<std::pair<int, int>> positions;
    DWORD first = frames.front().info.frameTime, last = first;
    for (const auto& f : frames) {
        EXPECT_GE(f.info.frameTime, last);
        last = f.info.frameTime;
        QelFrameSideData side(f.Payload2());
        QelSideBlock b;
        while (side.Next(b))
            if (b.kind == QELSIDE_GPS)
                positions.insert({b.gps.latSeconds * 1000 + b.gps.latThousandths,
                                  b.gps.lonSeconds * 1000 + b.gps.lonThousandths});
    }
    // 22 video frames at 10 a second span two seconds or more.
    EXPECT_GE(last - first, 1u);
    EXPECT_GT(positions.size(), 5u);
}

// A live stream set to start at a chosen time: one sound frame, then each camera, second after second.
TEST(RecSimLive, StartsAtTheTimeGiven) {
    recsim::RecSimOptions o = QuickOptions();
    o.liveFps = 1;
    o.liveStart = 1199188800; // 2008-01-01 12:00:00
    SimHarness sim(o);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    const auto frames = ReadFrames(av, 10);
    ASSERT_EQ(frames.size(), 10u);
    constexpr DWORD t = 1199188800;
    const struct {
        bool sound;
        DWORD channel;
        DWORD time;
    } expected[] = {{true, 1, t},      {false, 1, t},    {false, 2, t},     {false, 3, t},
                    {false, 4, t},     {true, 1, t + 1}, {false, 1, t + 1}, {false, 2, t + 1},
                    {false, 3, t + 1}, {false, 4, t + 1}};
    for (std::size_t n = 0; n < frames.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(frames[n].info.kind != 0, expected[n].sound);
        EXPECT_EQ(frames[n].info.channel, expected[n].channel);
        EXPECT_EQ(frames[n].info.frameTime, expected[n].time);
    }
}

// Frames sent once the stream has stalled on a client that does not read; nothing when it never stalls.
std::optional<std::uint64_t> StalledAt(recsim::RecSim& sim) {
    std::uint64_t before = 0, after = 1;
    for (int i = 0; i < 50 && before != after; ++i) {
        before = sim.AvFramesSent();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        after = sim.AvFramesSent();
    }
    if (before != after) return std::nullopt;
    return after;
}

TEST(RecSimLive, ClientThatStopsReadingStallsTheStream) {
    SimHarness sim;
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    // Not reading: the socket buffers fill and the simulator waits.
    const auto stalled = StalledAt(*sim);
    ASSERT_TRUE(stalled.has_value());
    const std::uint64_t after = *stalled;
    // The command side still answers while the A/V side is stalled.
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
    // Reading again lets it go on: more frames arrive than were sent before it stalled.
    const auto frames = ReadFrames(av, after + 20);
    EXPECT_GE(frames.size(), after + 20);
    EXPECT_GT(sim->AvFramesSent(), after);
}

// A client that connects again while the stream is still stuck on its old connection keeps the new one:
// the end of the old connection, seen late, ends only that one.
TEST(RecSimLive, ANewConnectionOutlivesTheStalledOneItReplaces) {
    SimHarness sim;
    TestConnection cmd, old;
    ASSERT_EQ(FullLogin(*sim, cmd, old), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    ASSERT_TRUE(StalledAt(*sim).has_value());
    TestConnection av(sim->AvPort());
    EXPECT_TRUE(old.WaitClosed());
    // Long enough for the stream's wait on the old connection to find it gone.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(sim->WaitForAvConnection(true, 0));
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    EXPECT_GE(ReadFrames(av, 5).size(), 5u);
    EXPECT_FALSE(av.PeerClosed());
}

TEST(RecSimLive, PauseAndPlayHoldTheStream) {
    recsim::RecSimOptions o = QuickOptions();
    o.replyPausePlay = true;
    SimHarness sim(o);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_SEARCH, 1199188800)));
    EXPECT_GE(ReadFrames(av, 10).size(), 10u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_PAUSE, 0)));
    while (!av.ReadSome(1 << 20, 300).empty()) {
    }
    const auto held = sim->AvFramesSent();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(sim->AvFramesSent(), held);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_PLAY, 0)));
    const auto frames = ReadFrames(av, 10);
    ASSERT_GE(frames.size(), 10u);
    EXPECT_GE(frames.back().info.frameTime, 1199188800u);
}

TEST(RecSimLive, AvFaultsStillLeaveFramesToFind) {
    struct Case {
        const char* name;
        recsim::SimFaults faults;
        std::uint64_t skipped; // bytes skipped per faulty frame
        bool oversized;        // the faulty frame is dropped after its info block
    };
    recsim::SimFaults garbage, zero, oversized;
    garbage.garbageEvery = 3;
    garbage.garbageBytes = 64;
    zero.zeroSizeFrameEvery = 2;
    oversized.oversizedFrameEvery = 4;
    // An oversized frame's header and info block are read; the rest of its body is passed over.
    const Case cases[] = {{"garbage", garbage, 64, false},
                          {"zero size", zero, 32, false},
                          {"oversized", oversized, 0x20020 - 64, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickOptions();
        o.cameras = 1;
        o.faults = c.faults;
        SimHarness sim(o);
        TestConnection cmd, av;
        ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
        CAvStreamReceiver::Statistics stats;
        const auto frames = ReadFrames(av, 40, 10000, &stats);
        ASSERT_GE(frames.size(), 40u);
        EXPECT_GT(stats.bytesSkipped, 0u);
        EXPECT_EQ(stats.bytesSkipped % c.skipped, 0u);
        if (c.oversized) {
            EXPECT_GT(stats.oversized, 0u);
            EXPECT_EQ(stats.bytesSkipped, stats.oversized * c.skipped);
        } else {
            EXPECT_EQ(stats.oversized, 0u);
        }
        EXPECT_EQ(stats.misfit, 0u);
        for (const auto& f : frames)
            if (f.info.IsVideo()) {
                int w, h;
                EXPECT_TRUE(DecodeJpeg(f.Payload1(), w, h));
            }
    }
}

TEST(RecSimLive, FramesSpoiltOnTheWayAreRecordedAsSo) {
    recsim::RecSimOptions o = QuickOptions();
    o.recordAvFrames = true;
    o.faults.badHeaderEvery = 5;
    o.faults.truncatedJpegEvery = 7;
    o.faults.badSideDataEvery = 3;
    o.faults.avWriteSizes = {1, 7, 20, 12, 10, 54, 3000};
    SimHarness sim(o);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    const auto frames = ReadFrames(av, 60);
    ASSERT_GE(frames.size(), 60u);
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_STOP, 0)));
    // Idle once the stream thread is past its last frame and has recorded it.
    for (int i = 0; i < 200 && sim->StreamMode() != recsim::AvStreamer::Mode::Idle; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto sent = sim->SentAvFrames();
    std::size_t next = 0, bad = 0, truncated = 0, side = 0;
    for (const auto& s : sent) {
        if (next == 60) break;
        if (s.fault == recsim::AvFrameFault::BadHeader) {
            ++bad;
            continue; // never arrives
        }
        const QelAvFrame& f = frames[next++];
        ASSERT_EQ(f.info.frameTime, s.frameTime);
        ASSERT_EQ(f.info.subSecond, s.subSecond);
        ASSERT_EQ(f.info.channel, s.channel);
        if (!f.info.IsVideo()) continue;
        int w, h;
        const bool cut = s.fault == recsim::AvFrameFault::TruncatedJpeg;
        truncated += cut;
        // A cut picture lacks its end marker (libjpeg's memory source would make one up).
        const auto pic = f.Payload1();
        const bool ended = pic.size() >= 2 && pic[pic.size() - 2] == 0xFF && pic.back() == 0xD9;
        EXPECT_EQ(ended, !cut) << next;
        if (!cut) {
            EXPECT_TRUE(DecodeJpeg(pic, w, h)) << next;
        }
        QelFrameSideData walker(f.Payload2());
        QelSideBlock b;
        const bool spoilt = s.fault == recsim::AvFrameFault::BadSideData;
        side += spoilt;
        bool threw = false;
        try {
            while (walker.Next(b)) {
            }
        } catch (const EQelFormatError&) {
            threw = true;
        }
        EXPECT_EQ(threw, spoilt) << next;
    }
    EXPECT_EQ(next, 60u);
    EXPECT_GT(bad, 5u);
    EXPECT_GT(truncated, 2u);
    EXPECT_GT(side, 2u);
}

TEST(RecSimLive, ClosingTheAvConnection) {
    struct Case {
        const char* name;
        recsim::SimFaults faults;
        std::size_t framesFirst;
    };
    recsim::SimFaults onCommand, afterFrames;
    onCommand.closeAvOnCommand = NETCMD_LIVE_START;
    afterFrames.closeAvAfterFrames = 3;
    const Case cases[] = {{"on 112", onCommand, 0}, {"after three frames", afterFrames, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickOptions();
        o.faults = c.faults;
        SimHarness sim(o);
        TestConnection cmd, av;
        ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
        const auto frames = ReadFrames(av, 1000, 10000); // ends at the close
        EXPECT_EQ(frames.size(), c.framesFirst);
        EXPECT_TRUE(av.WaitClosed(100));
        EXPECT_TRUE(sim->WaitForAvConnection(false, 2000));
        // The command connection stays.
        EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
    }
    SimHarness sim;
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    sim->CloseAvConnection();
    EXPECT_TRUE(av.WaitClosed());
    // A new A/V connection is taken.
    av.Connect(sim->AvPort());
    EXPECT_TRUE(sim->WaitForAvConnection(true, 2000));
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
    EXPECT_GE(ReadFrames(av, 5).size(), 5u);
}

// The ways a recorder ends the client's work, each at the point the test chooses: a stream that stalls
// half-way, a drop after some frames or at once, a hang, the end of remote work and a busy status.
TEST(RecSimLive, TheRecorderEndsTheClientsWorkWhereTheTestChooses) {
    enum class End { HoldAfterFive, DropAfterFive, DropNow, Mute, EndRemoteWork, Busy, PauseLagsThree };
    struct Case {
        const char* name;
        End end;
    };
    const Case cases[] = {{"stream stalls after five frames", End::HoldAfterFive},
                          {"link dropped after five frames", End::DropAfterFive},
                          {"link dropped now", End::DropNow},
                          {"recorder hangs", End::Mute},
                          {"remote work ended", End::EndRemoteWork},
                          {"recorder busy", End::Busy},
                          {"pause three frames late", End::PauseLagsThree}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recsim::RecSimOptions o = QuickOptions();
        if (c.end == End::HoldAfterFive) o.faults.holdStreamAfterFrames = 5;
        if (c.end == End::DropAfterFive) o.faults.dropLinkAfterFrames = 5;
        if (c.end == End::PauseLagsThree) {
            // One burst a second (four pictures and a sound frame): the pause falls between two.
            o.realtime = true;
            o.liveFps = 1;
            o.faults.framesAfterPause = 3;
        }
        SimHarness sim(o);
        TestConnection cmd, av;
        ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
        ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
        switch (c.end) {
        case End::HoldAfterFive:
            EXPECT_EQ(ReadFrames(av, 100, 1000).size(), 5u);
            EXPECT_EQ(sim->StreamMode(), recsim::AvStreamer::Mode::Live);
            EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_HEARTBEAT, 0)));
            // A new stream is held after its own five frames.
            ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0)));
            EXPECT_EQ(ReadFrames(av, 100, 1000).size(), 5u);
            break;
        case End::DropAfterFive:
            EXPECT_EQ(ReadFrames(av, 100, 3000).size(), 5u);
            EXPECT_TRUE(av.WaitClosed());
            EXPECT_TRUE(cmd.WaitClosed());
            break;
        case End::DropNow:
            ASSERT_GE(ReadFrames(av, 3).size(), 3u);
            sim->DropLink();
            EXPECT_TRUE(cmd.WaitClosed());
            EXPECT_TRUE(av.WaitClosed());
            EXPECT_TRUE(sim->WaitForCommandConnection(false, 2000));
            break;
        case End::Mute: {
            ASSERT_GE(ReadFrames(av, 3).size(), 3u);
            sim->SetMute(true);
            while (!av.ReadSome(1 << 20, 300).empty()) {
            }
            const std::uint64_t held = sim->AvFramesSent();
            cmd.Send(MakeNetCommand(NETCMD_HEARTBEAT, 0));
            EXPECT_FALSE(cmd.ReadPacket(300));
            EXPECT_EQ(sim->AvFramesSent(), held);
            EXPECT_TRUE(sim->Log().Commands(NETCMD_HEARTBEAT).empty());
            EXPECT_TRUE(cmd.Open());
            // Let go, it takes up what it was sent meanwhile and streams on.
            sim->SetMute(false);
            const auto late = cmd.ReadPacket();
            ASSERT_TRUE(late);
            EXPECT_EQ(late->RetCommand(), NETCMD_HEARTBEAT);
            EXPECT_GE(ReadFrames(av, 3).size(), 3u);
            break;
        }
        case End::EndRemoteWork: {
            ASSERT_GE(ReadFrames(av, 3).size(), 3u);
            sim->EndRemoteWork(2);
            const auto event = cmd.ReadPacket();
            ASSERT_TRUE(event);
            EXPECT_EQ(event->Command(), NETCMD_DEVICE_EVENT);
            EXPECT_EQ(event->Arg0(), DEVEVENT_REMOTE_WORK);
            EXPECT_EQ(event->Arg1(), 2u);
            EXPECT_TRUE(WaitForIdle(*sim));
            EXPECT_TRUE(cmd.Open());
            break;
        }
        case End::Busy:
            ASSERT_GE(ReadFrames(av, 3).size(), 3u);
            sim->SetStatus(3, true);
            // The status comes as a 109 reply nobody asked for, and every later 109 says the same.
            for (int ask = 0; ask < 2; ++ask) {
                const auto status =
                    ask == 0 ? cmd.ReadPacket() : Request(cmd, MakeNetCommand(NETCMD_STATUS, 0));
                ASSERT_TRUE(status);
                EXPECT_EQ(status->RetCommand(), NETCMD_STATUS);
                EXPECT_EQ(status->Arg0(), 3u);
            }
            EXPECT_TRUE(WaitForIdle(*sim));
            sim->SetStatus(1, false);
            EXPECT_EQ(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0))->Arg0(), 1u);
            EXPECT_TRUE(cmd.ReadSome(112, 200).empty());
            break;
        case End::PauseLagsThree:
            ASSERT_EQ(ReadFrames(av, 5).size(), 5u);
            // Between two bursts.
            while (!av.ReadSome(1 << 20, 300).empty()) {
            }
            cmd.Send(MakeNetCommand(NETCMD_PAUSE, 0));
            EXPECT_EQ(ReadFrames(av, 100, 2500).size(), 3u);
            break;
        }
    }
}

// A store of two days with one 10-second recording at 10:00 and one with events at 14:00.
struct SmallStore {
    testing_support::TempDir dir;
    std::vector<recgen::StoreRecording> recordings;
    SmallStore() {
        recgen::StoreOptions s;
        s.year = 2008;
        s.month = 1;
        s.day = 1;
        s.days = 2;
        s.hours = {10, 14};
        s.secondsPerRecording = 10;
        s.stream.framesPerSecond = 1;
        s.stream.cameras = 4;
        recordings = recgen::GenerateStore(dir.Path().string(), s, recgen::RecorderIdentity{});
    }
};

std::vector<std::vector<BYTE>> StoredFrames(const std::string& path) {
    QelAvFileReader reader(path);
    QelRecordedFrame rec;
    std::vector<std::vector<BYTE>> out;
    while (reader.Next(rec))
        out.push_back(rec.frame.Encode());
    return out;
}

TEST(RecSimStore, SearchStreamsTheRecordingAtTheTime) {
    SmallStore store;
    ASSERT_EQ(store.recordings.size(), 4u);
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.dir.Path().string();
    SimHarness sim(o);
    EXPECT_EQ(sim->RecordingCount(), 4u);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    const auto& second = store.recordings[1]; // 2008-01-01 14:00
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_SEARCH, second.startTime + 5)));
    const auto stored = StoredFrames(store.dir.File("avfiles/" + second.fileName));
    std::size_t from = 0;
    while (from < stored.size() &&
           QelAvFrame::Decode(stored[from].data(), stored[from].size()).info.frameTime < second.startTime + 5)
        ++from;
    const std::size_t n = stored.size() - from;
    // Past the end of a recording the next one follows.
    const auto frames = ReadFrames(av, n + 1);
    ASSERT_GE(frames.size(), n + 1);
    for (std::size_t i = 0; i < n; ++i)
        EXPECT_EQ(frames[i].Encode(), stored[from + i]) << i;
    EXPECT_EQ(frames[n].info.frameTime, store.recordings[2].startTime);

    // After the last recording there is nothing to stream.
    ASSERT_TRUE(Request(cmd, MakeNetCommand(NETCMD_SEARCH, store.recordings.back().endTime + 1000)));
    while (!av.ReadSome(1 << 20, 300).empty()) {
    }
    const auto sent = sim->AvFramesSent();
    EXPECT_TRUE(av.ReadSome(4096, 300).empty());
    EXPECT_EQ(sim->AvFramesSent(), sent);
    EXPECT_EQ(sim->StreamMode(), recsim::AvStreamer::Mode::Idle);
}

TEST(RecSimStore, BackupStreamsTheSpanAndEndsWithTheEvent) {
    SmallStore store;
    ASSERT_EQ(store.recordings.size(), 4u);
    for (std::size_t r = 0; r < 4; ++r)
        EXPECT_EQ(store.recordings[r].HasEvent(), r % 2 == 1) << r;
    recsim::RecSimOptions o = QuickOptions();
    o.store = store.dir.Path().string();
    SimHarness sim(o);
    TestConnection cmd, av;
    ASSERT_EQ(FullLogin(*sim, cmd, av), 1u);
    struct Case {
        const char* name;
        DWORD type;
        std::vector<std::size_t> recordings;
    };
    // Day one 10:00 to day two 10:00; EVENT keeps only the 14:00 recordings.
    const Case cases[] = {{"all", 0, {0, 1, 2}}, {"event", 1, {1}}};
    const DWORD start = store.recordings[0].startTime, end = store.recordings[2].endTime;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint64_t bytes = 0;
        std::vector<std::vector<BYTE>> expected;
        for (std::size_t r : c.recordings) {
            bytes += store.recordings[r].bytes;
            const auto f = StoredFrames(store.dir.File("avfiles/" + store.recordings[r].fileName));
            expected.insert(expected.end(), f.begin(), f.end());
        }
        const auto size = Request(cmd, MakeNetCommand(NETCMD_BACKUP_SIZE, start, end, c.type, 0));
        ASSERT_TRUE(size);
        EXPECT_EQ(size->Arg0(), bytes);
        cmd.Send(MakeBackupRequest(start, 0, c.type, store.recordings[c.recordings[0]].seq));
        const auto frames = ReadFrames(av, expected.size());
        ASSERT_EQ(frames.size(), expected.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(frames[i].Encode(), expected[i]) << i;
        // The reply to 114, then the end of the backup stream.
        std::optional<NetMsgPacket> event;
        for (int i = 0; i < 3 && !event; ++i) {
            const auto p = cmd.ReadPacket();
            ASSERT_TRUE(p);
            if (p->Command() == NETCMD_DEVICE_EVENT) event = p;
        }
        ASSERT_TRUE(event);
        EXPECT_EQ(event->Arg0(), DEVEVENT_BACKUP);
        EXPECT_EQ(event->Arg1(), kBackupStreamEnd);
        EXPECT_TRUE(av.ReadSome(4096, 200).empty());
        const auto logged = sim->Log().LastCommand(NETCMD_SEARCH);
        ASSERT_TRUE(logged);
        EXPECT_TRUE(logged->packet.BackupFlag());
        EXPECT_EQ(logged->problem, "");
    }
}

} // namespace
