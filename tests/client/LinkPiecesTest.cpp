// The window-free pieces of the link: the tick arithmetic of the waits and the heartbeat's pace.
#include "client/Heartbeat.h"
#include "client/LinkWait.h"

#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::FakeTick;

TEST(TickDistance, EitherWayAndAcrossTheWrap) {
    struct Case {
        DWORD from, to, distance;
    };
    const Case cases[] = {
        {1000, 1000, 0},
        {1000, 6001, 5001},
        {6001, 1000, 5001},
        {0xFFFFFF00u, 0x100, 0x200},
        {0x100, 0xFFFFFF00u, 0x200},
        {0, 0x80000000u, 0x80000000u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TickDistance(c.from, c.to), c.distance) << c.from << " " << c.to;
}

TEST(PumpUntil, EndsOnTheConditionOrAfterTheLimitOfTheOneTick) {
    (void)Application->Handle();
    CActivities record;
    record.Begin(TActivity::Link);
    {
        FakeTick tick(1000, 0);
        int turns = 0;
        EXPECT_EQ(PumpUntil(
                      TActivity::Link, record, [&] { return true; }, 0),
                  TWaitEnd::Done);
        EXPECT_EQ(PumpUntil(
                      TActivity::Link, record,
                      [&] {
                          if (++turns >= 3) tick.Advance(turns == 3 ? 300000 : 1);
                          return false;
                      },
                      300000),
                  TWaitEnd::TimedOut)
            << "a limit is passed only when more than it has gone by";
        EXPECT_EQ(turns, 4);
    }
    {
        // 20 s of fake time at 10 ms a reading.
        FakeTick tick(5000, 10);
        const DWORD start = tick.Now();
        EXPECT_EQ(PumpFor(TActivity::Link, record, 20000), TWaitEnd::TimedOut);
        EXPECT_GT(TickDistance(start, tick.Now()), 20000u);
        EXPECT_LT(TickDistance(start, tick.Now()), 25000u);
    }
}

TEST(PumpUntil, EndsWhenItsActivityEndsAndRefusesPressesMeanwhile) {
    (void)Application->Handle();
    FakeTick tick(1000, 0);
    CActivities record;
    // Not running on entry: nothing to wait for, even with the condition holding.
    EXPECT_EQ(PumpUntil(
                  TActivity::SearchDownload, record, [] { return true; }, 5000),
              TWaitEnd::Ended);
    record.Begin(TActivity::SearchDownload);
    record.Begin(TActivity::LocalPlayback);
    int turns = 0;
    bool refusedInside = false, waitedInside = false, otherWaited = true;
    EXPECT_EQ(PumpUntil(
                  TActivity::SearchDownload, record,
                  [&] {
                      refusedInside = record.RefusesPresses();
                      waitedInside = record.Waited(TActivity::SearchDownload);
                      otherWaited = record.Waited(TActivity::LocalPlayback);
                      // Another handler ends the activity; the condition would hold only later.
                      if (++turns == 2) record.End(TActivity::SearchDownload);
                      return turns >= 5;
                  },
                  5000),
              TWaitEnd::Ended);
    EXPECT_EQ(turns, 2);
    EXPECT_TRUE(refusedInside);
    EXPECT_TRUE(waitedInside);
    EXPECT_FALSE(otherWaited);
    EXPECT_FALSE(record.RefusesPresses()) << "the refusal ends with the wait";
    EXPECT_FALSE(record.Waited(TActivity::SearchDownload));
    EXPECT_TRUE(record.Running(TActivity::LocalPlayback));
}

TEST(PumpUntil, StopsWhenTheApplicationEnds) {
    (void)Application->Handle();
    FakeTick tick(1000, 0);
    CActivities record;
    record.Begin(TActivity::Link);
    int turns = 0;
    EXPECT_EQ(PumpUntil(
                  TActivity::Link, record,
                  [&] {
                      if (++turns == 2) Application->Terminate();
                      return false;
                  },
                  5000),
              TWaitEnd::Terminated);
    EXPECT_EQ(PumpFor(TActivity::Link, record, 100), TWaitEnd::Terminated);
    form_testing::ResetApplication();
    EXPECT_FALSE(Application->Terminated());
}

TEST(HeartbeatTicks, ThirtyTicksABeatOnlyWhileArmed) {
    CHeartbeatTicks hb;
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(hb.Due(false));
    // The count kept running while unarmed: the first armed tick beats at once.
    EXPECT_TRUE(hb.Due(true));
    int beats = 0;
    for (int i = 0; i < 300; ++i)
        beats += hb.Due(true) ? 1 : 0;
    EXPECT_EQ(beats, 10);
    for (int i = 0; i < 29; ++i)
        EXPECT_FALSE(hb.Due(true)) << i;
    EXPECT_TRUE(hb.Due(true));
}

} // namespace
