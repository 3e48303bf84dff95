#include "playback/Qelvidfile.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Registry.h"

namespace {

// One registry value, or nothing when the key, the value or its kind is not there.
bool ReadRegistryInteger(TRegistry& registry, const char* name, int& value) {
    try {
        value = registry.ReadInteger(name);
        return true;
    } catch (const ERegistryException&) {
        return false;
    }
}

} // namespace

CQelVideoFile::CQelVideoFile() {
    ResetFrameState();
    LoadRegistrySettings();
    ringCapacity = 4 * framesPerRound;
    playList.assign(kPlayListSize, std::string());
    videoRing.resize(static_cast<std::size_t>(ringCapacity));
    audioRing.resize(static_cast<std::size_t>(ringCapacity));
    fileBuffer.assign(static_cast<std::size_t>(fileBufSize), 0);
}

CQelVideoFile::~CQelVideoFile() {
    // The owner stops the reader first; a thread still running here would outlive its object.
    StopReader();
    Close();
}

void CQelVideoFile::ResetFrameState() {
    stream.reset();
    indexCount = 0;
    indexPos = 0;
    fileOffset = 0;
    index.clear();
    payloadLen1 = 0;
    payloadLen2 = 0;
    skipFactor = 1;
    stepSign = 1;
    skipCountdown = {1, 1, 1, 1};
}

void CQelVideoFile::LoadRegistrySettings() {
    int perSecond = kDefaultFramesPerSecond;
    int readSeconds = kDefaultReadSeconds;
    int bufferSize = kDefaultFileBufSize;
    int repeatValue = 0;
    framesPerRound = perSecond * readSeconds;
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    bool opened = false;
    try {
        opened = registry.OpenKeyReadOnly(kReaderRegistryKey);
    } catch (const Exception&) {
        opened = false;
    }
    if (opened) {
        ReadRegistryInteger(registry, "1SEC", perSecond);
        ReadRegistryInteger(registry, "READ_SEC", readSeconds);
        ReadRegistryInteger(registry, "FILEBUFSIZE", bufferSize);
        ReadRegistryInteger(registry, "REPEAT", repeatValue);
        registry.CloseKey();
    }
    // Zero or negative counts would leave rings without a slot; huge ones allocate for nothing.
    if (perSecond < 1 || perSecond > kMaxFramesPerRound) perSecond = kDefaultFramesPerSecond;
    if (readSeconds < 1 || readSeconds > kMaxFramesPerRound / perSecond) readSeconds = kDefaultReadSeconds;
    if (bufferSize < 1 || bufferSize > kMaxFileBufSize) bufferSize = kDefaultFileBufSize;
    framesPerRound = perSecond * readSeconds;
    fileBufSize = bufferSize;
    repeat = repeatValue;
}

void CQelVideoFile::StopReader() {
    if (threadHandle != nullptr) {
        // The thread checks `running` at every wake-up, so it ends within one round.
        running.store(0);
        if (wakeEvent != nullptr) SetEvent(wakeEvent);
        WaitForSingleObject(threadHandle, INFINITE);
        CloseHandle(threadHandle);
        threadHandle = nullptr;
        threadId = 0;
    }
    if (wakeEvent != nullptr) {
        CloseHandle(wakeEvent);
        wakeEvent = nullptr;
    }
    ClearRing(videoHead, videoRing);
    ClearRing(audioHead, audioRing);
    running.store(0);
}

int CQelVideoFile::Close() {
    stream.reset();
    index.clear();
    indexCount = 0;
    indexPos = 0;
    return 0;
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
