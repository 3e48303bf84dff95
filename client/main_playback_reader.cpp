// The reader as the main window holds it: stopped within a limit, and the pictures the screens show
// when the transport stands or steps.
#include "client/main.h"

#include "playback/Qelvidfile.h"

#include "platform/core/Debug.h"

#include <algorithm>

namespace {

// A reader ends within one of its wake-ups; one that takes this long is held by a read of its disk.
constexpr DWORD kReaderStopLimitMs = 2000;

} // namespace

void TFrmMain::StopVideoReader() {
    if (VideoReader->StopReader(kReaderStopLimitMs)) return;
    // Its thread waits on a disk that does not answer, and will use the reader once the read returns:
    // the reader is left to it, and playback goes on with a new one that knows the play list.
    DebugTrace("TFrmMain::StopVideoReader", "the reader does not end; a new one takes its play list");
    auto fresh = std::make_unique<CQelVideoFile>();
    fresh->TakePlayListFrom(*VideoReader);
    RetiredReaders.push_back(VideoReader);
    VideoReader = fresh.release();
}

void TFrmMain::ReleaseReaders() {
    // A reader whose thread still waits on its disk is not freed under it; the process's end takes it.
    RetiredReaders.push_back(VideoReader);
    VideoReader = nullptr;
    for (CQelVideoFile* reader : RetiredReaders)
        if (reader != nullptr && reader->StopReader(kReaderStopLimitMs)) delete reader;
    RetiredReaders.clear();
}

void TFrmMain::ForgetScreenFrames() {
    ScreenFrames.fill(TScreenFrame{});
}

void TFrmMain::ShowStillFrames() {
    std::array<QelFrameRecord, 4> frames;
    const std::array<bool, 4> found = VideoReader->FramesAround(CurrentIndexPos, frames);
    for (std::size_t k = 0; k < 4; ++k) {
        QelFrameRecord& r = frames[k];
        if (!found[k]) {
            // A camera with no picture at this moment shows none rather than one of another time.
            const int screen = static_cast<int>(k);
            EmptyScreen(screen);
            CameraLabel(screen)->SetCaption("");
            MarkLabelA(screen)->Hide();
            MarkLabelM(screen)->Hide();
            ScreenFrames[k] = {};
            continue;
        }
        ShowVideoRecord(r);
        ShowFrameOverlay(std::span<const BYTE>(r.payload2.get(), r.payload2 ? r.payloadLen2 : 0), r.channel);
        r.payload2.reset();
        ScreenIdleCountdown[k] = 5;
        ScreenFrames[k] = {r.fileKey, static_cast<int>(r.indexPos)};
    }
}

void TFrmMain::StepFrame(bool forward) {
    // The records already on their screens change nothing: one more turn goes past them, and past the
    // end of a file into the next.
    for (int turn = 0; turn < 2; ++turn) {
        stepShown_ = false;
        forward ? ShowNextFrame(true) : ShowPrevFrame(true);
        if (stepShown_) return;
    }
}
