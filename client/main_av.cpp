// The A/V connection: its bytes cut into frames by the receiver in the reads it asks for, and each frame
// queued for the step-wise playback, dropped, or shown with its marks, time texts and picture. The
// frames' side data is not drawn: live view's titles come from the recorder's config.ini, and GPS,
// tacho and lamps belong to the playback of recordings on this computer.
#include "client/main.h"

#include "client/JpegScreen.h"

#include "controls/ImgAnimation.h"
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"

namespace {

// Short reads are frequent on TCP: the client log shows the first few after each start only.
constexpr int kShortReadLines = 16;

} // namespace

void TFrmMain::AVDataCliSocketDataAvailable(TObject*, WORD) {
    // A handler further up is still taking its read: the read it misses is made when that one ends.
    if (avReading_) {
        avEventMissed_ = true;
        return;
    }
    avReading_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{avReading_};
    do {
        avEventMissed_ = false;
        const int n = AVDataCliSocket->Receive(AvReceiver.ReadBuffer(), AvReadSize);
        if (n <= 0) return;
        if (n < static_cast<int>(kQelAvHeaderSize) && shortReadLines_ < kShortReadLines) {
            ++shortReadLines_;
            DisplayConnectionStatus(Format("%u=%d", static_cast<unsigned>(AvReceiver.Received()), n));
        }
        AvReceiver.Consume(AvReceiver.ReadBuffer(), n);
        AvReadSize = AvReceiver.ReadSize();
    } while (avEventMissed_ && !AVDataCliSocket->Paused() && AVDataCliSocket->State() == wsConnected);
}

void TFrmMain::AvFrameReceived(const CAvReceivedFrame& frame) {
    AvFrameSwitches switches;
    switches.queue = Activities.QueueAvFrames != 0;
    switches.saving = StreamSaving();
    switches.live = LiveActive();
    switches.search = RemoteSearchActive();
    switches.remotePlayState = Activities.RemotePlayState;
    if (VideoStandard == QELSTD_NTSC || VideoStandard == QELSTD_PAL)
        AvShow.videoStandard = static_cast<BYTE>(VideoStandard);
    const AvFrameRoute route = RouteAvFrame(frame.info, switches, AvShow);
    if (route.way == AvFrameWay::Queue) {
        Activities.AvFrameQueue.Push(frame.info, frame.Payload1());
        AVDataCliSocket->Pause();
        return;
    }
    VideoStandard = AvShow.videoStandard;
    LastWidth = static_cast<int>(AvShow.lastWidth);
    if (route.way == AvFrameWay::Save) {
        SaveStreamFrame(frame);
        return;
    }
    if (route.way != AvFrameWay::Show) return;
    if (frame.info.kind != 0 && LiveSound != 0 && G726Audio != nullptr) {
        const auto sound = frame.Payload1();
        Activities.Begin(TActivity::Sound);
        PlayAudioBlocks(sound.data(), sound.size());
    }

    if (route.markChannel != 0) {
        MarkLabelA(route.markChannel - 1)->SetVisible(route.showAlarm);
        MarkLabelM(route.markChannel - 1)->SetVisible(route.showMotion);
    }
    std::string text;
    FrameTimeToText(frame.info.frameTime, text);
    LabelSearchTime->SetCaption(text);
    lbState->SetCaption(LiveActive() ? "LIVE" : "SEARCH"); // untranslated: stream-state words
    for (int k = 0; k < 4; ++k)
        FullTimeLabel(k)->SetCaption("  " + text);
    ChannelTimeTexts[static_cast<std::size_t>(route.timeChannel - 1)] = text;

    if (route.drawPicture) {
        if (route.closeWait) {
            SetEnabled(true);
            CloseWait();
        }
        const auto picture = frame.Payload1();
        ShowScreenPicture(route.timeChannel - 1, picture.data(), picture.size(), frame.info.frameTime,
                          LastWidth, VideoStandard);
        if (route.singleStepPause) {
            Activities.QueueAvFrames = 1;
            AVDataCliSocket->Pause();
        }
    }
    if (!ImgAniState->Play()) ImgAniState->SetPlay(true);
}

int TFrmMain::ShowJpegFrame(const BYTE* data, std::size_t length, TJPEGImage* jpeg, TImage* screen) {
    if (jpeg == nullptr || screen == nullptr) return 0;
    if (ShowJpegPicture(*jpeg, *screen, data, length, static_cast<DWORD>(LastWidth))) return 1;
    ++PictureErrors;
    return 0;
}

void TFrmMain::FrameTimeToText(DWORD time, std::string& text) const {
    text = ::FrameTimeToText(time);
}

void TFrmMain::AVDataCliSocketSessionConnected(TObject*, WORD error) {
    avSessionUp_ = error == 0;
}

void TFrmMain::AVDataCliSocketSessionClosed(TObject*, WORD) {
    // A frame cut off by the close must not take the first bytes of the next connection.
    AvReceiver.Reset();
    AvReadSize = AvReceiver.ReadSize();
    // An attempt that never connected leaves the log-in to go on without pictures.
    if (!avSessionUp_) return;
    avSessionUp_ = false;
    // The whole link ends with its A/V connection. Whether that is a loss is the command connection's
    // closing to tell: a way out under way has closed both itself, and every connect starts afresh.
    AVDataCliSocket->Close();
    if (!Activities.Ending()) linkLostWay_ = TWayOut::AvLinkLost;
    CliSocket->Close();
    linkLostWay_ = TWayOut::CommandLinkLost;
}
