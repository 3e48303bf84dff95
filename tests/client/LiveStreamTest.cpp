// The live stream against the simulated recorder: thousands of frames with faults mixed in, scripted
// write sizes, the queue of the step-wise playback with its paused socket, and the JPEG path.
#include "LiveRig.h"

#include "tools/recgen/SynthCamera.h"

using namespace live_test;

namespace {

// What the client must have seen of what was sent: every frame but the lost ones, in order, each good
// picture drawn.
std::vector<ArrivedFrame> ExpectedArrivals(const std::vector<recsim::SentAvFrame>& sent) {
    std::vector<ArrivedFrame> out;
    for (const auto& s : sent) {
        if (s.fault == recsim::AvFrameFault::Oversized || s.fault == recsim::AvFrameFault::BadHeader)
            continue;
        const bool video = s.kind == 0;
        out.push_back({s.kind, s.channel, s.frameTime, s.subSecond,
                       video && s.fault != recsim::AvFrameFault::TruncatedJpeg,
                       video && s.fault == recsim::AvFrameFault::BadSideData});
    }
    return out;
}

std::size_t CountFault(const std::vector<recsim::SentAvFrame>& sent, recsim::AvFrameFault fault) {
    return static_cast<std::size_t>(
        std::count_if(sent.begin(), sent.end(), [&](const auto& s) { return s.fault == fault; }));
}

// Stops the stream and waits until everything sent has arrived.
std::vector<recsim::SentAvFrame> Drain(LiveRig& rig, int ms) {
    EXPECT_TRUE(recsim_test::Request(rig.cmd, MakeNetCommand(NETCMD_LIVE_STOP, 0)));
    EXPECT_TRUE(PumpUntil([&] { return rig.sim->StreamMode() == recsim::AvStreamer::Mode::Idle; }, 5000));
    const auto sent = rig.sim->SentAvFrames();
    const std::size_t want = ExpectedArrivals(sent).size();
    EXPECT_TRUE(PumpUntil([&] { return rig.arrived.size() >= want; }, ms))
        << rig.arrived.size() << " of " << want;
    return sent;
}

TEST(LiveStream, TenThousandFramesWithFaultsMixedIn) {
    recsim::RecSimOptions o = QuickSim();
    o.recordAvFrames = true;
    o.faults.garbageEvery = 97;
    o.faults.garbageBytes = 37;
    o.faults.zeroSizeFrameEvery = 89;
    o.faults.oversizedFrameEvery = 211;
    o.faults.badHeaderEvery = 53;
    o.faults.truncatedJpegEvery = 61;
    o.faults.badSideDataEvery = 13;
    LiveRig rig(o);
    ASSERT_NO_FATAL_FAILURE(rig.StartLive());
    ASSERT_TRUE(PumpUntil([&] { return rig.sim->AvFramesSent() >= 10000; }, 240000))
        << rig.sim->AvFramesSent() << " frames sent";
    const auto sent = Drain(rig, 30000);
    ASSERT_GE(sent.size(), 10000u);

    const std::vector<ArrivedFrame> expected = ExpectedArrivals(sent);
    ASSERT_EQ(rig.arrived.size(), expected.size());
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < expected.size() && mismatches < 5; ++i)
        if (!(rig.arrived[i] == expected[i])) {
            ++mismatches;
            ADD_FAILURE() << "frame " << i << ": channel " << rig.arrived[i].channel << " time "
                          << rig.arrived[i].frameTime << "." << rig.arrived[i].subSecond << " drawn "
                          << rig.arrived[i].drawn << ", expected channel " << expected[i].channel << " time "
                          << expected[i].frameTime << "." << expected[i].subSecond << " drawn "
                          << expected[i].drawn;
        }
    // Every fault happened, and was met as it should be.
    const std::size_t truncated = CountFault(sent, recsim::AvFrameFault::TruncatedJpeg);
    EXPECT_GT(truncated, 100u);
    EXPECT_EQ(static_cast<std::size_t>(rig.pictureErrors), truncated);
    EXPECT_EQ(rig.receiver.Stats().oversized, CountFault(sent, recsim::AvFrameFault::Oversized));
    EXPECT_GT(rig.receiver.Stats().oversized, 30u);
    EXPECT_GT(CountFault(sent, recsim::AvFrameFault::BadHeader), 100u);
    EXPECT_GT(CountFault(sent, recsim::AvFrameFault::BadSideData), 500u);
    EXPECT_GT(rig.receiver.Stats().bytesSkipped, 0u);
    EXPECT_EQ(rig.receiver.Stats().misfit, 0u);
    EXPECT_EQ(rig.waitsClosed, 1);
    EXPECT_TRUE(rig.receiver.BetweenFrames());
    for (TImage* screen : rig.screens)
        EXPECT_EQ(screen->Picture()->Width(), 352);
    EXPECT_EQ(rig.closedEvents, 0);
}

TEST(LiveStream, ScriptedWriteSizesReassembleExactly) {
    recsim::RecSimOptions o = QuickSim();
    o.recordAvFrames = true;
    o.faults.avWriteSizes = {1, 7, 20, 12, 10, 54, 333, 4096};
    o.faults.avWriteGapUs = 100;
    o.faults.garbageEvery = 7;
    o.faults.garbageBytes = 45;
    LiveRig rig(o);
    ASSERT_NO_FATAL_FAILURE(rig.StartLive());
    ASSERT_TRUE(PumpUntil([&] { return rig.sim->AvFramesSent() >= 120; }, 60000));
    const auto sent = Drain(rig, 30000);
    EXPECT_EQ(rig.arrived, ExpectedArrivals(sent));
    EXPECT_GT(rig.receiver.Stats().shortReads, 0u);
    EXPECT_EQ(rig.receiver.Stats().bytesSkipped, 45u * (sent.size() / 7));
}

TEST(LiveStream, QueuedFramesPauseTheSocketUntilResumed) {
    LiveRig rig(QuickSim());
    rig.switches.queue = true;
    ASSERT_NO_FATAL_FAILURE(rig.StartLive());
    for (std::size_t n = 1; n <= 4; ++n) {
        ASSERT_TRUE(PumpUntil([&] { return rig.queue.Size() >= n; }, 5000)) << n;
        EXPECT_TRUE(rig.av->Paused());
        // Paused: nothing more comes, though the recorder has sent more.
        PumpUntil([] { return false; }, 150);
        EXPECT_EQ(rig.queue.Size(), n);
        // The data already waiting is announced again after Resume.
        rig.av->Resume();
    }
    EXPECT_TRUE(rig.arrived.empty());
    for (TImage* screen : rig.screens)
        EXPECT_TRUE(screen->Picture()->Graphic() == nullptr || screen->Picture()->Graphic()->Empty());
    // The nodes hold whole pictures.
    while (auto node = rig.queue.PopFront()) {
        if (node->Info().kind != 0) continue;
        TJPEGImage picture;
        EXPECT_NO_THROW(picture.LoadFromMemory(node->data.data(), node->data.size()));
        EXPECT_EQ(picture.Width(), 352);
    }
}

TEST(LiveStream, PeerClosingWhilePausedStillDeliversWhatWasSent) {
    recsim::RecSimOptions o = QuickSim();
    o.faults.closeAvAfterFrames = 3;
    LiveRig rig(o);
    rig.switches.queue = true;
    ASSERT_NO_FATAL_FAILURE(rig.StartLive());
    ASSERT_TRUE(PumpUntil([&] { return rig.queue.Size() >= 1; }, 5000));
    ASSERT_TRUE(rig.sim->WaitForAvConnection(false, 5000));
    // One frame for every Resume, then the close.
    for (int i = 0; i < 10 && rig.closedEvents == 0; ++i) {
        rig.av->Resume();
        PumpUntil([&] { return rig.av->Paused() || rig.closedEvents > 0; }, 1000);
    }
    EXPECT_EQ(rig.queue.Size(), 3u);
    EXPECT_EQ(rig.closedEvents, 1);
    EXPECT_EQ(rig.av->State(), wsClosed);
}

TEST(LiveStream, JpegPicturesIntoAScreen) {
    recgen::SynthCamera camera(2, 704, 480);
    const std::vector<BYTE> picture = camera.Picture(1199188800, 1);
    LiveRig rig(QuickSim());
    TImage& screen = *rig.screens[0];
    TJPEGImage jpeg;
    ASSERT_TRUE(ShowJpegPicture(jpeg, screen, picture.data(), picture.size()));
    EXPECT_EQ(screen.Picture()->Width(), 704);
    EXPECT_EQ(screen.Picture()->Height(), 480);
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    };
    const Case bad[] = {
        {"cut in half", {picture.begin(), picture.begin() + static_cast<std::ptrdiff_t>(picture.size() / 2)}},
        {"header only", {picture.begin(), picture.begin() + 20}},
        {"garbage", std::vector<BYTE>(5000, 0x5A)},
        {"nothing", {}},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ShowJpegPicture(jpeg, screen, c.bytes.data(), c.bytes.size()));
        // The screen keeps the last good picture.
        EXPECT_EQ(screen.Picture()->Width(), 704);
    }
    // And the next good one still shows.
    recgen::SynthCamera small(3, 352, 240);
    const std::vector<BYTE> next = small.Picture(1199188801, 2);
    EXPECT_TRUE(ShowJpegPicture(jpeg, screen, next.data(), next.size()));
    EXPECT_EQ(screen.Picture()->Width(), 352);

    // A screen of half the picture's width or less gets it decoded at half its size; the scale follows
    // each screen, also when frames for screens of both sizes alternate.
    struct Scaled {
        int screenWidth;
        DWORD pictureWidth;
        int decodedWidth;
    };
    const Scaled scaled[] = {{360, 704, 352}, {720, 704, 704}, {352, 704, 352},  {704, 704, 704},
                             {360, 0, 704},   {400, 704, 704}, {1950, 704, 704}, {360, 704, 352}};
    for (const auto& c : scaled) {
        SCOPED_TRACE(c.screenWidth);
        screen.SetBounds(-8, -3, c.screenWidth, c.screenWidth * 2 / 3);
        ASSERT_TRUE(ShowJpegPicture(jpeg, screen, picture.data(), picture.size(), c.pictureWidth));
        EXPECT_EQ(screen.Picture()->Width(), c.decodedWidth);
    }
}

} // namespace
