// The main window playing hand-made recordings of a play list. The tests tick the frame clocks
// themselves (the timers run but their ticks go nowhere) and follow every frame shown through the main
// window's hook; before each tick the reader gets the time to fill its rings, so that a tick always sees
// what the reader would have read by then.
#pragma once

#include "tests/client/LoginRig.h"
#include "tests/playback/RecordingMaker.h"

#include "playback/FileList.h"
#include "playback/Qelvidfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine_tests {

// A frame as the screens got it: which file (tag), which frame of it, its time and camera.
struct Shown {
    DWORD tag = 0;
    DWORD number = 0;
    DWORD time = 0;
    DWORD channel = 0;
    DWORD indexPos = 0;
};

class EngineRig : public client_tests::LoginRig {
protected:
    void SetUp() override {
        LoginRig::SetUp();
        Application->CreateForm(frmFileList);
        FrmMain->MMTimerPlayback->OnTimer = nullptr;
        FrmMain->MMTimerReverse->OnTimer = nullptr;
        FrmMain->OnPlaybackFrameShown = [this](const QelFrameRecord& r) {
            Shown s{0, 0, r.time, r.channel, r.indexPos};
            if (r.payload1 && r.payloadLen1 >= 8) {
                s.tag = recmaker::TagOf(r.payload1.get());
                s.number = recmaker::NumberOf(r.payload1.get());
            }
            shown.push_back(s);
        };
    }
    void TearDown() override {
        if (FrmMain != nullptr) {
            FrmMain->OnPlaybackFrameShown = nullptr;
            FrmMain->VideoReader->StopReader();
        }
        frmFileList = nullptr;
        LoginRig::TearDown();
    }

    // Files tagged 1, 2, ... in play-list entries 0, 1, ...; the first one opened.
    void MakeList(const std::vector<std::vector<recmaker::FrameSpec>>& files) {
        CQelVideoFile& reader = *FrmMain->VideoReader;
        made.clear();
        for (std::size_t i = 0; i < files.size(); ++i) {
            made.push_back(recmaker::Write(HomeFile("rec" + std::to_string(i)), files[i], DWORD(i + 1)));
            reader.SetListItem(made.back().path, static_cast<int>(i));
        }
        reader.SetListStart(0);
        reader.SetListEnd(static_cast<int>(files.size()));
        FrmMain->PlayListPos = 0;
        FrmMain->LastTransportKey = kKeyFirst;
        FrmMain->OpenPlaybackFile(made.front().path);
        // The still picture of the opening is not part of what plays.
        shown.clear();
    }

    // Gives the reader time to fill a ring to half, or to stop.
    static void Fill() {
        CQelVideoFile& r = *FrmMain->VideoReader;
        PumpReal(
            [&] {
                r.WakeReader();
                return r.IsRingHalfFull(r.VideoHead()) || r.IsRingHalfFull(r.AudioHead()) ||
                       !r.IsReaderRunning();
            },
            5000);
    }
    static void Tick(bool forward = true) {
        Fill();
        forward ? FrmMain->MMTimerPlaybackTimer(FrmMain->MMTimerPlayback)
                : FrmMain->MMTimerReverseTimer(FrmMain->MMTimerReverse);
    }
    static void Ticks(int n, bool forward = true) {
        for (int i = 0; i < n; ++i)
            Tick(forward);
    }
    // Ticks until playback rests (paused by the clock) or `limit` ticks have passed; the ticks made.
    static int TicksUntilPaused(int limit, bool forward = true) {
        for (int i = 0; i < limit; ++i) {
            if (FrmMain->PlayState == kPlayStopped) return i;
            Tick(forward);
        }
        return limit;
    }

    // The numbers shown of one file, in order.
    std::vector<DWORD> NumbersOf(DWORD tag) const {
        std::vector<DWORD> out;
        for (const Shown& s : shown)
            if (s.tag == tag) out.push_back(s.number);
        return out;
    }

    std::vector<recmaker::Made> made;
    std::vector<Shown> shown;
};

// n seconds of one camera at 30 pictures a second (stamps 1..30), no sound.
inline std::vector<recmaker::FrameSpec> OneCamera(DWORD start, int seconds) {
    return recmaker::Stream(start, seconds, 30, 1, false);
}

} // namespace engine_tests
