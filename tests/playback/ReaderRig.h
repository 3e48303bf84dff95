// A consumer of the reader's rings as the frame clock is one: it wakes the reader, takes every record
// out of both rings in order, checks what it can of each and keeps a summary.
#pragma once

#include "playback/Qelvidfile.h"
#include "tests/playback/RecordingMaker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace readerrig {

struct Taken {
    bool video = true;
    DWORD tag = 0;    // the hand-made file's tag (payload 1 stamp)
    DWORD number = 0; // the frame's number in its file
    DWORD time = 0;
    DWORD channel = 0;
    DWORD indexPos = 0;
    DWORD indexCount = 0;
    BYTE lastOfFile = 0;
    BYTE timeJump = 0;
    std::vector<BYTE> payload1; // unpadded
};

inline Taken Take(const QelFrameRecord& record, bool video) {
    Taken t;
    t.video = video;
    t.time = record.time;
    t.channel = record.channel;
    t.indexPos = record.indexPos;
    t.indexCount = record.indexCount;
    t.lastOfFile = record.lastOfFile.load();
    t.timeJump = record.timeJump.load();
    if (record.payload1 && record.payloadLen1 >= 8) {
        t.tag = recmaker::TagOf(record.payload1.get());
        t.number = recmaker::NumberOf(record.payload1.get());
    }
    if (record.payload1) t.payload1.assign(record.payload1.get(), record.payload1.get() + record.payloadLen1);
    EXPECT_EQ(record.payload2 != nullptr, record.payloadLen2 != 0);
    EXPECT_EQ(GetU32(record.header.data()), kFrmHdrStartCode);
    EXPECT_EQ(GetU32(record.header.data() + 4), record.time);
    EXPECT_EQ(GetU32(record.info.data() + 32), record.channel);
    return t;
}

// Takes whatever the rings hold now.
inline void TakeQueued(CQelVideoFile& reader, std::vector<Taken>& video, std::vector<Taken>& audio) {
    while (QelFrameRecord* record = reader.OldestRecord(reader.VideoHead(), reader.VideoRing())) {
        video.push_back(Take(*record, true));
        reader.ReleaseOldest(reader.VideoHead(), reader.VideoRing());
    }
    while (QelFrameRecord* record = reader.OldestRecord(reader.AudioHead(), reader.AudioRing())) {
        audio.push_back(Take(*record, false));
        reader.ReleaseOldest(reader.AudioHead(), reader.AudioRing());
    }
}

// Wakes and drains until the reader has stopped by itself and both rings are empty. A reader that never
// stops fails the test after `wakeUps` wake-ups instead of hanging it.
inline void DrainToTheEnd(CQelVideoFile& reader, std::vector<Taken>& video, std::vector<Taken>& audio,
                          int wakeUps = 20000) {
    for (int i = 0; i < wakeUps; ++i) {
        const bool stopped = !reader.IsReaderRunning();
        TakeQueued(reader, video, audio);
        if (stopped) return;
        reader.WakeReader();
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    ADD_FAILURE() << "the reader did not stop";
}

// Waits until a ring's count reaches `count` or a generous while has passed; returns the count seen.
inline int WaitForCount(const QelRingHead& head, int count) {
    for (int i = 0; i < 5000 && head.count.load() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return head.count.load();
}

} // namespace readerrig
