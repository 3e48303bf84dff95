#include "client/AvFrameRoute.h"
#include "client/AvFrameQueue.h"

#include <gtest/gtest.h>

namespace {

QelFrameInfo Info(DWORD channel, DWORD event, bool video = true, DWORD time = 1199188800, DWORD stamp = 0) {
    QelFrameInfo i;
    i.kind = video ? 0 : 1;
    i.standard = QELSTD_NTSC;
    i.channel = channel;
    i.eventState = event;
    i.frameTime = time;
    i.subSecond = stamp;
    i.width = 704;
    i.height = 480;
    return i;
}

AvFrameSwitches Live() {
    AvFrameSwitches s;
    s.live = true;
    return s;
}

TEST(AvFrameRoute, EventMarksAndTimeTextsByChannel) {
    struct Case {
        DWORD channel, event;
        int markChannel;
        bool alarm, motion;
        int timeChannel;
    };
    const Case cases[] = {
        {2, 3, 2, true, true, 2},   {2, 0, 2, false, false, 2}, {1, 1, 1, true, false, 1},
        {4, 2, 4, false, true, 4},  {3, 4, 3, false, false, 3}, {3, 0xFFFFFFFF, 3, false, false, 3},
        {0, 3, 0, false, false, 1}, {7, 3, 0, false, false, 4}, {0xFFFFFFFF, 1, 0, false, false, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channel << "/" << c.event);
        AvShowState state;
        const AvFrameRoute r = RouteAvFrame(Info(c.channel, c.event), Live(), state);
        EXPECT_EQ(r.way, AvFrameWay::Show);
        EXPECT_EQ(r.markChannel, c.markChannel);
        EXPECT_EQ(r.showAlarm, c.alarm);
        EXPECT_EQ(r.showMotion, c.motion);
        EXPECT_EQ(r.timeChannel, c.timeChannel);
        EXPECT_TRUE(r.drawPicture);
        EXPECT_EQ(state.lastDisplayedTime, 1199188800u);
    }
}

TEST(AvFrameRoute, TheWayOfAFrame) {
    struct Case {
        const char* name;
        AvFrameSwitches switches;
        AvFrameWay way;
        bool takesStandard;
    };
    AvFrameSwitches queue = Live(), saving = Live(), idle, search;
    queue.queue = true;
    saving.saving = true;
    search.search = true;
    const Case cases[] = {
        {"queue", queue, AvFrameWay::Queue, false},
        {"saving", saving, AvFrameWay::Save, true},
        {"neither live nor search", idle, AvFrameWay::Drop, true},
        {"search", search, AvFrameWay::Show, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AvShowState state;
        state.awaitingFirstPicture = true;
        QelFrameInfo info = Info(1, 1);
        info.standard = QELSTD_NTSC;
        const AvFrameRoute r = RouteAvFrame(info, c.switches, state);
        EXPECT_EQ(r.way, c.way);
        EXPECT_EQ(state.videoStandard, c.takesStandard ? QELSTD_NTSC : QELSTD_PAL);
        EXPECT_EQ(state.lastWidth, c.takesStandard ? 704u : 0u);
        const bool shown = c.way == AvFrameWay::Show;
        EXPECT_EQ(r.drawPicture, shown);
        EXPECT_EQ(r.closeWait, shown);
        EXPECT_EQ(state.awaitingFirstPicture, !shown);
        EXPECT_EQ(state.lastDisplayedTime, shown ? 1199188800u : 0u);
        // Sound after it keeps the picture's size.
        QelFrameInfo sound = Info(1, 1, false);
        sound.width = sound.height = 0;
        RouteAvFrame(sound, c.switches, state);
        EXPECT_EQ(state.lastWidth, c.takesStandard ? 704u : 0u);
        EXPECT_EQ(state.lastHeight, c.takesStandard ? 480u : 0u);
    }
}

TEST(AvFrameRoute, OnlyValidStandardBytesAreKept) {
    AvShowState state;
    const BYTE bytes[] = {1, 0, 3, 255, 2, 7};
    const BYTE kept[] = {1, 1, 1, 1, 2, 2};
    for (std::size_t i = 0; i < std::size(bytes); ++i) {
        QelFrameInfo info = Info(1, 0);
        info.standard = bytes[i];
        RouteAvFrame(info, Live(), state);
        EXPECT_EQ(state.videoStandard, kept[i]) << int(bytes[i]);
    }
}

TEST(AvFrameRoute, OnlyTheFirstPictureAfterAStartEndsTheWait) {
    AvShowState state;
    state.awaitingFirstPicture = true;
    // Audio draws nothing and leaves the wait to the first picture.
    EXPECT_FALSE(RouteAvFrame(Info(1, 0, false), Live(), state).closeWait);
    EXPECT_TRUE(RouteAvFrame(Info(1, 0, true, 100, 1), Live(), state).closeWait);
    // Not newer, equal, older: none of them ends some later wait.
    EXPECT_FALSE(RouteAvFrame(Info(2, 0, true, 100, 1), Live(), state).closeWait);
    EXPECT_FALSE(RouteAvFrame(Info(3, 0, true, 99, 9), Live(), state).closeWait);
    EXPECT_FALSE(RouteAvFrame(Info(4, 0, true, 101, 0), Live(), state).closeWait);
    EXPECT_EQ(state.lastShownTime, 101u);
    // A new start arms it again.
    state.awaitingFirstPicture = true;
    EXPECT_TRUE(RouteAvFrame(Info(1, 0, true, 50, 0), Live(), state).closeWait);
}

TEST(AvFrameRoute, SingleStepPausesAfterOnePicture) {
    AvFrameSwitches s;
    s.search = true;
    s.remotePlayState = 2;
    AvShowState state;
    EXPECT_FALSE(RouteAvFrame(Info(1, 0, false), s, state).singleStepPause);
    EXPECT_TRUE(RouteAvFrame(Info(1, 0, true), s, state).singleStepPause);
    s.remotePlayState = 1;
    EXPECT_FALSE(RouteAvFrame(Info(1, 0, true), s, state).singleStepPause);
}

TEST(AvFrameRoute, FrameTimeText) {
    EXPECT_EQ(FrameTimeToText(1199188800), "Tue Jan 01 12:00:00 2008\n");
    EXPECT_EQ(FrameTimeToText(0), "Thu Jan 01 00:00:00 1970\n");
    EXPECT_EQ(FrameTimeToText(0xFFFFFFFF), "Sun Feb 07 06:28:15 2106\n");
}

TEST(AvFrameQueue, OldestFirstAndPayloadOnly) {
    CAvFrameQueue q;
    EXPECT_EQ(q.PopFront(), nullptr);
    for (DWORD i = 1; i <= 3; ++i) {
        std::vector<BYTE> p1(i * 10, static_cast<BYTE>(i));
        q.Push(Info(i, 0, true, 1000 + i), p1);
        EXPECT_EQ(q.Size(), i);
        EXPECT_EQ(q.Tail()->Info().channel, i);
        EXPECT_EQ(q.Head()->Info().channel, 1u);
    }
    for (DWORD i = 1; i <= 3; ++i) {
        auto node = q.PopFront();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Info().frameTime, 1000 + i);
        EXPECT_EQ(node->data, std::vector<BYTE>(i * 10, static_cast<BYTE>(i)));
        EXPECT_EQ(node->next, nullptr);
    }
    EXPECT_TRUE(q.Empty());
    EXPECT_EQ(q.Tail(), nullptr);
    // Emptied, the queue takes frames again.
    q.Push(Info(2, 0), {});
    EXPECT_EQ(q.Head(), q.Tail());
}

TEST(AvFrameQueue, LongQueueIsFreedWithoutDeepRecursion) {
    CAvFrameQueue q;
    for (int i = 0; i < 200000; ++i)
        q.Push(Info(1, 0), {});
    EXPECT_EQ(q.Size(), 200000u);
    q.Clear();
    EXPECT_TRUE(q.Empty());
    EXPECT_EQ(q.Head(), nullptr);
}

} // namespace
