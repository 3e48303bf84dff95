// The reader thread: reads frames ahead into the video and audio rings when the frame clock asks, and
// goes on with the next file at the end of one.
#include "playback/Qelvidfile.h"

#include "formats/ByteOrder.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Sound blocks of a full second or more at the same time as the last one are repeats.
constexpr DWORD kAudioRepeatBytes = 3840;

} // namespace

void CQelVideoFile::StartReader(int skip, int forward, int third) {
    StopReader();
    wakeEvent = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    if (wakeEvent == nullptr) return;
    startParam = third;
    skipFactor = std::clamp(skip, 1, kMaxSkipFactor);
    direction = forward;
    ClearRing(videoHead, videoRing);
    ClearRing(audioHead, audioRing);
    lastAudioTime = 0;
    // Flags of a stopped run belong to frames nobody will see.
    pendingLastOfFile = 0;
    pendingTimeJump = 0;
    running.store(1);
    EnterCriticalSection(&threadCreation);
    // No thread id asked for: the platform would hold the caller until the new thread runs, and
    // nothing reads it.
    threadHandle = CreateThread(nullptr, 0, &CQelVideoFile::ReaderThreadProc, this, 0, nullptr);
    LeaveCriticalSection(&threadCreation);
    if (threadHandle == nullptr) running.store(0);
}

bool CQelVideoFile::StopReader(DWORD limitMs) {
    if (threadHandle != nullptr) {
        // The thread checks `running` at every wake-up, so it ends within one round, unless a read of a
        // disk that does not answer holds it: then nothing it uses is touched here.
        running.store(0);
        if (wakeEvent != nullptr) SetEvent(wakeEvent);
        if (WaitForSingleObject(threadHandle, limitMs) != WAIT_OBJECT_0) return false;
        CloseHandle(threadHandle);
        threadHandle = nullptr;
    }
    if (wakeEvent != nullptr) {
        CloseHandle(wakeEvent);
        wakeEvent = nullptr;
    }
    ClearRing(videoHead, videoRing);
    ClearRing(audioHead, audioRing);
    running.store(0);
    return true;
}

void CQelVideoFile::WakeReader() {
    // The event lives until StopReader, on this same thread, so the handle cannot go while it is set.
    if (wakeEvent != nullptr) SetEvent(wakeEvent);
}

void CQelVideoFile::ClearRing(QelRingHead& head, std::vector<QelFrameRecord>& records) {
    // Every slot, not only the queued ones: a record the consumer left half-freed goes too.
    for (QelFrameRecord& record : records) {
        record.payload1.reset();
        record.payload2.reset();
    }
    head.writeIndex = 0;
    head.readIndex = 0;
    head.count.store(0);
}

QelFrameRecord* CQelVideoFile::OldestRecord(QelRingHead& head, std::vector<QelFrameRecord>& records) {
    if (head.count.load() <= 0 || records.empty()) return nullptr;
    return &records[static_cast<std::size_t>(head.readIndex) % records.size()];
}

void CQelVideoFile::ReleaseOldest(QelRingHead& head, std::vector<QelFrameRecord>& records) {
    if (head.count.load() <= 0 || records.empty()) return;
    QelFrameRecord& record = records[static_cast<std::size_t>(head.readIndex) % records.size()];
    record.payload1.reset();
    record.payload2.reset();
    head.readIndex = static_cast<int>((static_cast<std::size_t>(head.readIndex) + 1) % records.size());
    head.count.fetch_sub(1);
}

DWORD CQelVideoFile::ReaderThreadProc(LPVOID parameter) {
    static_cast<CQelVideoFile*>(parameter)->ReaderLoop();
    return 0;
}

bool CQelVideoFile::FillRecord(QelFrameRecord& record, bool video) {
    const std::size_t pad1 = static_cast<std::size_t>(Pad32(payloadLen1));
    const std::size_t pad2 = static_cast<std::size_t>(Pad32(payloadLen2));
    // Lengths were checked against the frame limit and the file by the step that validated the frame.
    QelPayload payload1 = pad1 > 0 ? LendPayload(static_cast<int>(pad1))
                                   : QelPayload(std::make_unique_for_overwrite<BYTE[]>(1));
    if (!payload1) return false;
    QelPayload payload2;
    if (payloadLen2 != 0) {
        payload2 = LendPayload(static_cast<int>(pad2));
        if (!payload2) return false;
    }
    record.header = frameHeader;
    record.info = frameInfo;
    record.time = GetFrameTime();
    record.payloadLen1 = payloadLen1;
    record.payloadLen2 = payloadLen2;
    record.channel = GetFrameChannel();
    record.subSecond = GetFrameAttr();
    if (video) {
        record.standard = frameInfo[1];
        record.width = GetU32(frameInfo.data() + 40);
        record.height = GetU32(frameInfo.data() + 44);
        record.value = GetU32(frameInfo.data() + 48);
        record.framePeriod = record.standard == QELSTD_PAL ? 40 : 33;
    }
    record.indexPos = static_cast<DWORD>(indexPos);
    record.indexCount = static_cast<DWORD>(indexCount);
    record.fileKey = fileKey;
    record.payload1 = std::move(payload1);
    record.payload2 = std::move(payload2);
    return true;
}

bool CQelVideoFile::QueueFrame(QelRingHead& head, std::vector<QelFrameRecord>& records, bool video) {
    QelFrameRecord& slot = records[static_cast<std::size_t>(head.writeIndex)];
    if (!FillRecord(slot, video)) return false;
    // Ordered for the consumer by the raise of `count` that publishes the slot.
    slot.lastOfFile.store(pendingLastOfFile, std::memory_order_relaxed);
    slot.timeJump.store(pendingTimeJump, std::memory_order_relaxed);
    pendingLastOfFile = 0;
    pendingTimeJump = 0;
    // The consumer sees the slot only once the round raises `count` (Publish).
    head.writeIndex = (head.writeIndex + 1) % static_cast<int>(records.size());
    return true;
}

CQelVideoFile::ChainResult CQelVideoFile::ChainToNextFile(bool forward) {
    int entry = 0;
    if (forward ? listEnd > listPos + 1 : listStart <= listPos - 1) {
        entry = forward ? listPos + 1 : listPos - 1;
        if (chainMode == 1) {
            // A file ended by frames of other channels keeps its end pending for the next record taken,
            // rather than marking one the consumer may already have taken.
            FindNextFileInDb();
            entry = 1;
        }
    } else {
        return ChainResult::Stop;
    }
    const std::string name = GetListItem(entry);
    if (name.empty() || !FileExists(name)) return ChainResult::Stop;
    try {
        if (!Open(name)) return ChainResult::Stop;
    } catch (const Exception&) {
        return ChainResult::Stop;
    }
    // A broken first frame is passed over like any other: the steps go on from it.
    if (forward ? SeekFirstFrame() : SeekLastFrame()) return ChainResult::Positioned;
    return ChainResult::Opened;
}

void CQelVideoFile::Publish(QelRingHead& head, int& queued) {
    // One raise for the slots a round filled: a raise per frame takes the count's cache line from the
    // consumer at every frame.
    if (queued > 0) head.count.fetch_add(queued);
    queued = 0;
}

void CQelVideoFile::StopAtEnd(int lastVideoSlot, int& queuedVideo, int& queuedAudio) {
    // An end that no queued record carries (its frame was dropped or broken) goes on the last picture
    // queued; the consumer sees it unless it has taken that picture already.
    if (pendingLastOfFile != 0 && lastVideoSlot >= 0)
        videoRing[static_cast<std::size_t>(lastVideoSlot)].lastOfFile.store(1);
    // The round's records are counted before the consumer can see the reader stopped.
    Publish(videoHead, queuedVideo);
    Publish(audioHead, queuedAudio);
    running.store(0);
}

void CQelVideoFile::ReaderLoop() {
    const int capacity = static_cast<int>(std::min(videoRing.size(), audioRing.size()));
    // Tuning read again after construction must not outgrow the rings made then.
    const int perRound = std::clamp(framesPerRound, 1, std::max(capacity / 4, 1));
    const bool forward = direction != 0;
    const int skip = skipFactor;
    int channelFilter = SearchFilter().searchChannel;
    if (channelFilter < 1 || channelFilter > 4) channelFilter = -1;
    bool positioned = false;
    int lastVideoSlot = -1;
    if (!previousTimeSet) {
        previousFrameTime = GetFrameTime();
        previousTimeSet = true;
    }
    while (running.load() != 0) {
        if (WaitForSingleObject(wakeEvent, kReaderWakeTimeoutMs) != WAIT_OBJECT_0) continue;
        if (IsRingHalfFull(videoHead) || IsRingHalfFull(audioHead)) continue;
        int queuedVideo = 0;
        int queuedAudio = 0;
        for (int attempt = 0; attempt < perRound + 1 && running.load(std::memory_order_relaxed) != 0;
             ++attempt) {
            if (!positioned) {
                if (!(forward ? StepNextSkipping(skip) : StepPrevSkipping(skip))) {
                    // A broken frame at the end of a file must not hold playback there.
                    const bool atEnd = forward ? indexPos + 1 >= indexCount : indexPos <= 0;
                    if (!atEnd) continue;
                    pendingLastOfFile = 1;
                    const ChainResult next = ChainToNextFile(forward);
                    positioned = next == ChainResult::Positioned;
                    if (next == ChainResult::Stop) StopAtEnd(lastVideoSlot, queuedVideo, queuedAudio);
                    continue;
                }
            }
            positioned = false;
            const bool video = GetFrameKind() == 0;
            const int pos = indexPos;
            const int count = indexCount;
            const DWORD time = GetFrameTime();
            const std::int64_t gap =
                static_cast<std::int64_t>(time) - static_cast<std::int64_t>(previousFrameTime);
            if (std::llabs(gap) > 1) pendingTimeJump = 1;
            previousFrameTime = time;
            const bool lastOfFile = forward ? pos + 1 == count : pos == 0;
            if (lastOfFile) pendingLastOfFile = 1;

            const bool wanted = channelFilter == -1 || GetFrameChannel() == static_cast<DWORD>(channelFilter);
            if (wanted && !video) {
                const auto signedTime = static_cast<std::int32_t>(time);
                const auto lastTime = static_cast<std::int32_t>(lastAudioTime);
                const bool repeated =
                    signedTime < lastTime || (signedTime == lastTime && payloadLen1 >= kAudioRepeatBytes);
                if (!repeated) {
                    const DWORD previousAudio = lastAudioTime;
                    lastAudioTime = time;
                    if (QueueFrame(audioHead, audioRing, false))
                        ++queuedAudio;
                    else
                        lastAudioTime = previousAudio;
                }
            } else if (wanted) {
                const int slot = videoHead.writeIndex;
                if (QueueFrame(videoHead, videoRing, true)) {
                    lastVideoSlot = slot;
                    ++queuedVideo;
                }
            }

            if (lastOfFile) {
                const ChainResult next = ChainToNextFile(forward);
                positioned = next == ChainResult::Positioned;
                if (next == ChainResult::Stop) StopAtEnd(lastVideoSlot, queuedVideo, queuedAudio);
            }
        }
        Publish(videoHead, queuedVideo);
        Publish(audioHead, queuedAudio);
    }
}
