// The frame clock of local playback: each tick of the forward or reverse timer moves a playback time on
// by the play speed and shows the records of the reader's rings that the time has reached; at the end of
// a file it follows the play list.
#include "client/main.h"

#include "playback/FileList.h"
#include "playback/Qelvidfile.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Threads.h"

#include <algorithm>

namespace {

using Ring = std::vector<QelFrameRecord>;

// Takes the oldest record out unused; a file's end that it carries stays noted for the clock.
void DropOldest(CQelVideoFile& reader, QelRingHead& head, Ring& ring, PlaybackClockState& clock) {
    QelFrameRecord* record = reader.OldestRecord(head, ring);
    if (record == nullptr) return;
    if (clock.endOfFile == 0) clock.endOfFile = record->lastOfFile.load();
    reader.ReleaseOldest(head, ring);
}

int TimeOf(const QelFrameRecord& record) {
    return static_cast<int>(record.time);
}

int ScreenOf(DWORD channel) {
    return static_cast<int>(std::clamp<DWORD>(channel, 1, 4)) - 1;
}

} // namespace

void TFrmMain::MMTimerPlaybackTimer(TObject*) {
    ShowNextFrame(false);
}

void TFrmMain::MMTimerReverseTimer(TObject*) {
    ShowPrevFrame(false);
}

void TFrmMain::MMTimerPutItemTimer(TObject*) {}

void TFrmMain::ShowVideoRecord(QelFrameRecord& record) {
    Sleep(0);
    if (OnPlaybackFrameShown) OnPlaybackFrameShown(record);
    const int screen = ScreenOf(record.channel);
    FileStandard = static_cast<int>(record.standard);
    FrameWidth = static_cast<int>(record.width);
    std::string text;
    FrameTimeToText(record.time, text);
    CameraLabel(screen)->SetCaption(text);
    MarkLabelA(screen)->SetVisible((record.value & 1) != 0);
    MarkLabelM(screen)->SetVisible((record.value & 2) != 0);
    if (record.payload1)
        ShowScreenPicture(screen, record.payload1.get(), record.payloadLen1, record.time, FrameWidth,
                          FileStandard);
    record.payload1.reset();
}

void TFrmMain::ShowSecondLabels(DWORD time) {
    std::string text;
    FrameTimeToText(time, text);
    for (int k = 0; k < 4; ++k)
        FullTimeLabel(k)->SetCaption(Format("X%d  ", PlaySpeed) + text);
    SliderSearch->SetKnobPos(KnobOfIndex(CurrentIndexPos, CurrentIndexCount));
    for (int k = 0; k < 4; ++k) {
        int& countdown = ScreenIdleCountdown[static_cast<std::size_t>(k)];
        if (countdown == 0) continue;
        // A camera that stopped delivering goes blank once, not on every second after.
        if (--countdown == 0) {
            EmptyScreen(k);
            ScreenFrames[static_cast<std::size_t>(k)] = {};
        }
    }
}

namespace {

// A resync waiting at a speed above one starts the clock at this record.
void ResyncAt(TFrmMain& m, PlaybackClockState& c, int second, int slot) {
    if (c.resync != 0 && m.PlaySpeed > 1) {
        m.ClockFrameSlot = slot;
        m.ClockSecond = second;
        c.resync = 0;
    }
}

// The record's second, frame slot and frame rate; the clock's timer ticks at the pace of its standard.
void TakeStamp(const QelFrameRecord& r, TMMTimer* timer, int& second, int& slot, int& fps) {
    second = TimeOf(r);
    slot = static_cast<int>(r.subSecond);
    fps = FramesPerSecondOf(r.standard);
    const unsigned interval = TickIntervalOf(r.standard);
    if (timer->Interval() != interval) timer->SetInterval(interval);
}

using SecondChange = bool (*)(ClockPosition&, int&, int, int);

// After the records of a tick (the last at second v, slot s): a time jump or a change of second moves the
// clock, and the time reached is shown.
void AfterTick(TFrmMain& m, PlaybackClockState& c, SecondChange change, bool step, int v, int s, int fps) {
    if (c.timeJump != 0) m.ClockSecond = v;
    const int latchBefore = c.speedLatch;
    ClockPosition clock{m.ClockSecond, m.ClockFrameSlot};
    if (change(clock, c.speedLatch, fps, m.PlaySpeed)) {
        m.ClockSecond = clock.second;
        m.ClockFrameSlot = clock.slot;
        if (latchBefore == 1 && c.resync != 0) {
            m.ClockFrameSlot = s;
            m.ClockSecond = v;
            c.resync = 0;
        }
    }
    if (step) m.SliderSearch->SetKnobPos(KnobOfIndex(m.CurrentIndexPos, m.CurrentIndexCount));
    std::string text;
    m.FrameTimeToText(static_cast<DWORD>(v), text);
    m.LabelSearchTime->SetCaption(text);
}

// The record's frame is on its screen already.
bool OnScreen(const TFrmMain& m, const QelFrameRecord& r) {
    const TFrmMain::TScreenFrame& shown = m.ScreenFrames[static_cast<std::size_t>(ScreenOf(r.channel))];
    return shown.pos == static_cast<int>(r.indexPos) && shown.file == r.fileKey;
}

// Shows one video record and hands its slot back to the reader.
void ShowAndRelease(TFrmMain& m, QelFrameRecord& record) {
    m.ShowVideoRecord(record);
    // A frame without side data empties the GPS and tacho texts of the frame before it.
    const std::size_t sideBytes = record.payload2 ? record.payloadLen2 : 0;
    m.ShowFrameOverlay(std::span<const BYTE>(record.payload2.get(), sideBytes), record.channel);
    record.payload2.reset();
    const auto screen = static_cast<std::size_t>(ScreenOf(record.channel));
    m.ScreenIdleCountdown[screen] = 5;
    m.ScreenFrames[screen] = {record.fileKey, static_cast<int>(record.indexPos)};
    m.CurrentIndexPos = static_cast<int>(record.indexPos);
    m.CurrentIndexCount = static_cast<int>(record.indexCount);
    ++m.FramesShown;
    m.VideoReader->ReleaseOldest(m.VideoReader->VideoHead(), m.VideoReader->VideoRing());
}

} // namespace

void TFrmMain::ShowNextFrame(bool step) {
    PlaybackClockState& c = ForwardClock;
    if (!c.started) {
        c.started = true;
        c.speedLatch = PlaySpeed;
    }
    CQelVideoFile& reader = *VideoReader;
    reader.WakeReader();

    QelRingHead& ah = reader.AudioHead();
    Ring& ar = reader.AudioRing();
    if (QelFrameRecord* a = reader.OldestRecord(ah, ar)) {
        const int at = TimeOf(*a);
        ResyncAt(*this, c, at, static_cast<int>(a->subSecond));
        c.timeJump = a->timeJump.load();
        if (c.timeJump != 0) ClockSecond = at;
        LabelS1->Show();
        if (at <= ClockStartSecond) {
            DropOldest(reader, ah, ar, c);
        } else if (PlaySpeed == 1) {
            if (step) {
                if (at == ClockSecond) DropOldest(reader, ah, ar, c);
            } else if (at <= ClockSecond) {
                if (StreamCopying != 0) WriteStreamCopyFrame(*a);
                if (c.endOfFile == 0) c.endOfFile = a->lastOfFile.load();
                PlayAudioRecord(ah.readIndex);
            }
        } else {
            while ((a = reader.OldestRecord(ah, ar)) != nullptr && TimeOf(*a) <= ClockSecond &&
                   c.endOfFile == 0)
                DropOldest(reader, ah, ar, c);
        }
    }

    QelRingHead& vh = reader.VideoHead();
    Ring& vr = reader.VideoRing();
    const int pending = vh.count.load();
    if (pending > 0) {
        int v = 0;
        int s = 0;
        int fps = 30;
        // Every record the clock has reached is shown in this tick, not one a tick: four cameras would
        // otherwise play at a quarter of their pace.
        for (int i = 0; i < pending; ++i) {
            QelFrameRecord* r = reader.OldestRecord(vh, vr);
            if (r == nullptr) break;
            TakeStamp(*r, MMTimerPlayback, v, s, fps);
            if (static_cast<int>(r->indexCount) != CurrentIndexCount || v > ClockSecond + 2) c.resync = 1;
            ResyncAt(*this, c, v, s);
            c.timeJump = r->timeJump.load();
            if (step && OnScreen(*this, *r)) {
                // It shows already: the step goes on to the frame after it.
                DropOldest(reader, vh, vr, c);
                if (c.endOfFile != 0) break;
                continue;
            }
            const bool show = step || (s <= ClockFrameSlot && v == ClockSecond) || v < ClockSecond;
            if (!show) break;
            if (c.endOfFile == 0) c.endOfFile = r->lastOfFile.load();
            if (step)
                ClockFrameSlot = s;
            else if (StreamCopying != 0)
                WriteStreamCopyFrame(*r);
            ShowAndRelease(*this, *r);
            stepShown_ = step;
            if (step || c.endOfFile != 0) break;
        }
        ClockFrameSlot += c.speedLatch;
        AfterTick(*this, c, ForwardSecondChange, step, v, s, fps);
        if (ClockFrameSlot < 2) ShowSecondLabels(static_cast<DWORD>(v));
    } else if (!step && ah.count.load() > 0) {
        RunClockWithoutPictures();
    }
    if (c.endOfFile != 0) PlaybackEndOfFile(true);
}

void TFrmMain::ShowPrevFrame(bool step) {
    PlaybackClockState& c = ReverseClock;
    if (!c.started) {
        c.started = true;
        c.speedLatch = PlaySpeed;
    }
    CQelVideoFile& reader = *VideoReader;
    reader.WakeReader();

    // Sound is never played backwards; it only leaves the ring once the clock has passed it.
    QelRingHead& ah = reader.AudioHead();
    Ring& ar = reader.AudioRing();
    if (QelFrameRecord* a = reader.OldestRecord(ah, ar)) {
        const int at = TimeOf(*a);
        ResyncAt(*this, c, at, static_cast<int>(a->subSecond));
        c.timeJump = a->timeJump.load();
        if (c.timeJump != 0) ClockSecond = at;
        if (at >= ClockStartSecond) {
            DropOldest(reader, ah, ar, c);
        } else if (PlaySpeed == 1) {
            if (at >= ClockSecond) DropOldest(reader, ah, ar, c);
        } else {
            while ((a = reader.OldestRecord(ah, ar)) != nullptr && TimeOf(*a) >= ClockSecond &&
                   c.endOfFile == 0)
                DropOldest(reader, ah, ar, c);
        }
    }

    QelRingHead& vh = reader.VideoHead();
    Ring& vr = reader.VideoRing();
    const int pending = vh.count.load();
    if (pending > 0) {
        int v = 0;
        int s = 0;
        int fps = 30;
        for (int i = 0; i < pending; ++i) {
            QelFrameRecord* r = reader.OldestRecord(vh, vr);
            if (r == nullptr) break;
            TakeStamp(*r, MMTimerReverse, v, s, fps);
            if (v < ClockSecond - 2) c.resync = 1;
            ResyncAt(*this, c, v, s);
            c.timeJump = r->timeJump.load();
            if (step && OnScreen(*this, *r)) {
                // It shows already: the step goes on to the frame after it.
                DropOldest(reader, vh, vr, c);
                if (c.endOfFile != 0) break;
                continue;
            }
            const bool show = step || (s >= ClockFrameSlot && v == ClockSecond) || v > ClockSecond;
            if (!show) break;
            if (c.endOfFile == 0) c.endOfFile = r->lastOfFile.load();
            if (step) ClockFrameSlot = s;
            ShowAndRelease(*this, *r);
            stepShown_ = step;
            if (step || c.endOfFile != 0) break;
        }
        ClockFrameSlot -= c.speedLatch;
        AfterTick(*this, c, ReverseSecondChange, step, v, s, fps);
        if (ClockFrameSlot >= fps) ShowSecondLabels(static_cast<DWORD>(v));
    }
    if (c.endOfFile != 0) PlaybackEndOfFile(false);
}

void TFrmMain::RunClockWithoutPictures() {
    // Sound with no pictures: only pictures move the clock, and sound waiting for it would fill its ring
    // and stop the reader for good. The clock goes on at the pace of the last pictures instead. (Going
    // backwards the reader queues no sound after the first, so nothing waits there.)
    PlaybackClockState& c = ForwardClock;
    ClockFrameSlot += c.speedLatch;
    ClockPosition clock{ClockSecond, ClockFrameSlot};
    const int fps = FramesPerSecondOf(static_cast<DWORD>(FileStandard));
    if (!ForwardSecondChange(clock, c.speedLatch, fps, PlaySpeed)) return;
    ClockSecond = clock.second;
    ClockFrameSlot = clock.slot;
    std::string text;
    FrameTimeToText(static_cast<DWORD>(ClockSecond), text);
    LabelSearchTime->SetCaption(text);
    ShowSecondLabels(static_cast<DWORD>(ClockSecond));
}

bool TFrmMain::ReopenAtListEnd(bool forward) {
    // The wait below pumps messages: no tick of this clock may run into the reopening.
    TMMTimer* clock = forward ? MMTimerPlayback : MMTimerReverse;
    const bool running = clock->Enabled();
    clock->SetEnabled(false);
    StopVideoReader();
    CQelVideoFile& reader = *VideoReader;
    PlayListPos = forward ? 0 : std::max(reader.GetListEnd() - 1, 0);
    reader.SetListPos(PlayListPos);
    SliderSearch->SetKnobPos(forward ? 0 : 1000);
    const std::string name = reader.GetListItem(PlayListPos);
    if (name.empty() || !OpenChosenFile(name)) return false;
    if (!(forward ? reader.SeekFirstFrame() : reader.SeekLastFrame())) return false;
    CurrentIndexPos = reader.GetIndexPos();
    CurrentIndexCount = reader.GetIndexCount();
    ClockFrameSlot = static_cast<int>(reader.GetFrameAttr());
    ClockSecond = static_cast<int>(reader.GetFrameTime());
    ClockStartSecond = ClockSecond;
    if (forward) PlayForward = 1;
    reader.StartReader(PlaySpeed, PlayForward, SelectedCamera);
    reader.WakeReader();
    // Ended meanwhile: nothing is restarted, and nothing more is to be done.
    if (!WaitForRings()) return true;
    clock->SetEnabled(running);
    return true;
}

bool TFrmMain::ContinueInAdjacentFolder(bool forward) {
    const int state = PlayState;
    const int key = LastTransportKey;
    const std::string folderBefore = CurrentFolder;
    const bool wasOpen = PlaybackFileOpen();
    // Only the walk's own open counts: the finished folder's file is done.
    Activities.End(TActivity::LocalPlayback);
    if (!WalkToAdjacentFolder(forward) || !PlaybackFileOpen()) {
        if (CurrentFolder == folderBefore && wasOpen) Activities.Begin(TActivity::LocalPlayback);
        return false;
    }
    CQelVideoFile& reader = *VideoReader;
    if (!(forward ? reader.SeekFirstFrame() : reader.SeekLastFrame())) return false;
    // Opening the folder's file stopped the transport; it runs on as it ran, speed included.
    SliderSearch->SetKnobPos(forward ? 0 : 1000);
    CurrentIndexPos = reader.GetIndexPos();
    CurrentIndexCount = reader.GetIndexCount();
    ClockFrameSlot = static_cast<int>(reader.GetFrameAttr());
    PlayForward = forward ? 1 : 0;
    StartReaderAtCurrent(true);
    if (!WaitForRings()) return true;
    (forward ? MMTimerPlayback : MMTimerReverse)->SetEnabled(true);
    PlayState = state;
    LastTransportKey = key;
    PlayPaused = 0;
    return true;
}

void TFrmMain::PlaybackEndOfFile(bool forward) {
    PlaybackClockState& c = forward ? ForwardClock : ReverseClock;
    CQelVideoFile& reader = *VideoReader;
    const int step = forward ? 1 : -1;
    const bool ringsHold = reader.VideoHead().count.load() > 0 || reader.AudioHead().count.load() > 0;
    PlayListPos += step;
    const int first = LocalDbMode == 1 ? -1 : reader.GetListStart();
    const bool outside = forward ? PlayListPos >= reader.GetListEnd() : PlayListPos < first;
    const auto clearTexts = [this] {
        lbState->SetCaption("");
        for (int k = 0; k < 4; ++k)
            CameraLabel(k)->SetCaption("");
        HideScreenMarks();
    };
    // The last records of the list are shown first.
    if (outside && ringsHold) {
        PlayListPos -= step;
        return;
    }
    c.endOfFile = 0;
    if (!forward) c.resync = 1;
    if (LocalDbMode == 1) {
        // The reader has chained through the disk database already; this follows it for the transport.
        PlayListPos -= step;
        if (!FindNextFileInDb(forward)) return;
        clearTexts();
        return;
    }
    if (outside) {
        if (RepeatPlay != 0 && ReopenAtListEnd(forward)) return;
        if (FolderWalkMode != 0 && ContinueInAdjacentFolder(forward)) return;
        PlayListPos = forward ? std::max(reader.GetListEnd() - 1, 0) : std::max(reader.GetListStart(), 0);
        // A copy running into the end is ended first.
        if (StreamCopying != 0) StopStreamCopy();
        SliderSearch->SetKnobPos(forward ? 1000 : 0);
        PauseTransport();
        return;
    }
    // The reader has moved on by itself; once it has stopped, the list may be read again. A file that it
    // could not open ends playback on the file before it.
    if (!reader.IsReaderRunning()) {
        const std::string name = reader.GetListItem(PlayListPos);
        if (name.empty() || !FileExists(name)) {
            PlayListPos -= step;
            ShowMessageBox(LoadLangString(59880) + "\n" + name, LoadLangString(59886), 0);
            SliderSearch->SetKnobPos(forward ? 1000 : 0);
            PauseTransport();
            return;
        }
    }
    if (frmFileList != nullptr && PlayListPos < frmFileList->lbFileList->Items()->Count())
        frmFileList->lbFileList->SetItemIndex(PlayListPos);
    clearTexts();
}
