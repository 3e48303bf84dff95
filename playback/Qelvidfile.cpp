#include "playback/Qelvidfile.h"

#include "formats/ByteOrder.h"
#include "platform/core/AppPaths.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/Registry.h"
#include "playback/FrameIndexScan.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

CRITICAL_SECTION CQelVideoFile::threadCreation;

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

// Size of a file that can be opened, or -1.
std::int64_t IndexFileSize(const std::string& path) {
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        return file.Size();
    } catch (const Exception&) {
        return -1;
    }
}

// The copy of an index that the play-list window builds under Temporary/, by the recording's name.
std::string TemporaryIndexPath(const std::string& indexName) {
    const std::size_t keep = std::min(indexName.size(), kIndexCopyNameLength);
    return ProgramFolder() + "Temporary/" + indexName.substr(indexName.size() - keep);
}

} // namespace

CQelVideoFile::CQelVideoFile() {
    static const bool sectionReady = [] {
        InitializeCriticalSection(&threadCreation);
        return true;
    }();
    (void)sectionReady;
    ResetFrameState();
    LoadRegistrySettings();
    ringCapacity = 4 * framesPerRound;
    playList.assign(kPlayListSize, std::string());
    videoRing = std::vector<QelFrameRecord>(static_cast<std::size_t>(ringCapacity));
    audioRing = std::vector<QelFrameRecord>(static_cast<std::size_t>(ringCapacity));
    window.SetBufferSize(static_cast<std::size_t>(fileBufSize));
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

// --- The file and its frame index ---

bool CQelVideoFile::Open(const std::string& name) {
    Close();
    ResetFrameState();
    stream = std::make_unique<TFileStream>(name, fmOpenRead | fmShareDenyWrite);
    // Recordings end at 0x3C00000 bytes; a larger file is read no further than a 32-bit offset reaches.
    const std::int64_t size = stream->Size();
    fileSize = static_cast<DWORD>(std::min<std::int64_t>(size, std::numeric_limits<DWORD>::max()));
    readPos = 0;
    window.Forget();
    scanFill = 0;
    openName = name;
    fileKey = std::hash<std::string>{}(name);
    return LoadCheckedIndex(name);
}

bool CQelVideoFile::LoadCheckedIndex(const std::string& name) {
    const std::string beside = name + ".fdx";
    if (LoadIndex(beside) && FrameOffsetsFit(name, index)) return true;
    // An index that disagrees with its recording (damaged, cut short, another recording's) is passed
    // over as a missing one is: the copy built under Temporary/, else the frames found in the file.
    const bool besideThere = IndexFileSize(beside) > 0;
    const std::string copy = TemporaryIndexPath(beside);
    if (!besideThere && !FileExists(copy)) return false;
    std::vector<DWORD> entries;
    if (!besideThere || !ReadIndexEntries(copy, entries) || !FrameOffsetsFit(name, entries)) {
        try {
            entries = ScanFrameOffsets(name);
        } catch (const Exception&) {
            entries.clear();
        }
    }
    index = std::move(entries);
    indexCount = static_cast<int>(index.size());
    return indexCount > 0;
}

int CQelVideoFile::Close() {
    stream.reset();
    index.clear();
    indexCount = 0;
    indexPos = 0;
    return 0;
}

bool CQelVideoFile::ReadIndexEntries(const std::string& path, std::vector<DWORD>& entries) {
    entries.clear();
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        const std::int64_t size = file.Size();
        // One recording has at most 7200 frames; a longer index belongs to no recording.
        if (size < 0 || size / 4 > static_cast<std::int64_t>(kQelFileMaxFrames)) return false;
        const std::size_t count = static_cast<std::size_t>(size / 4);
        std::vector<BYTE> bytes(count * 4);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const int piece = static_cast<int>(std::min<std::size_t>(kIndexReadPiece, bytes.size() - done));
            const int got = file.Read(bytes.data() + done, piece);
            if (got != piece) return false;
            done += static_cast<std::size_t>(got);
        }
        entries.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            entries[i] = GetU32(bytes.data() + 4 * i);
        return true;
    } catch (const Exception&) {
        entries.clear();
        return false;
    }
}

bool CQelVideoFile::LoadIndex(const std::string& name) {
    indexCount = 0;
    index.clear();
    std::string path = name;
    if (IndexFileSize(name) <= 0) {
        // The play-list window builds missing indexes under Temporary/ by the recording's name.
        path = TemporaryIndexPath(name);
        if (!FileExists(path)) return false;
    }
    std::vector<DWORD> entries;
    if (!ReadIndexEntries(path, entries)) return false;
    index = std::move(entries);
    indexCount = static_cast<int>(index.size());
    return true;
}

int CQelVideoFile::FindInIndexFile(const std::string& name, DWORD value) {
    std::vector<DWORD> entries;
    const bool read = ReadIndexEntries(name, entries);
    // The open recording's time index is believed only while it has an entry for every frame: one cut
    // short or damaged would start playback at the wrong minute, so the frames' own times are searched.
    const bool ours = stream && indexCount > 0 && name == openName + ".tdx";
    if (!ours || (read && static_cast<int>(entries.size()) == indexCount)) {
        const auto found = std::find(entries.begin(), entries.end(), value);
        return found == entries.end() ? 0 : static_cast<int>(found - entries.begin());
    }
    // Frame times only grow through a recording.
    int low = 0;
    int high = indexCount;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        DWORD time = 0;
        if (!FrameTimeAt(mid, time)) return 0;
        if (time < value)
            low = mid + 1;
        else
            high = mid;
    }
    DWORD time = 0;
    return low < indexCount && FrameTimeAt(low, time) && time == value ? low : 0;
}

bool CQelVideoFile::FrameTimeAt(int pos, DWORD& time) {
    if (!stream || pos < 0 || pos >= indexCount) return false;
    const std::int64_t at = index[static_cast<std::size_t>(pos)];
    BYTE head[kFrmHdrSize];
    if (at + static_cast<std::int64_t>(kFrmHdrSize) > fileSize ||
        !window.Read(*stream, fileSize, at, head, sizeof head) || GetU32(head) != kFrmHdrStartCode)
        return false;
    time = GetU32(head + 4);
    return true;
}

void CQelVideoFile::SetIndexCount(int n) {
    // The steps index the loaded entries by this count.
    indexCount = std::clamp(n, 0, static_cast<int>(index.size()));
}

// --- The current frame ---

bool CQelVideoFile::ReadBytes(BYTE* out, int count) {
    if (!stream || count < 0 ||
        static_cast<std::uint64_t>(readPos) + static_cast<std::uint64_t>(count) > fileSize)
        return false;
    if (!window.Read(*stream, fileSize, readPos, out, static_cast<std::size_t>(count))) return false;
    readPos += count;
    return true;
}

QelPayload CQelVideoFile::LendPayload(int length) {
    if (!stream || length < 1 || static_cast<DWORD>(length) > kQelAvMaxFrameSize ||
        static_cast<std::uint64_t>(readPos) + static_cast<std::uint64_t>(length) > fileSize)
        return nullptr;
    QelPayload payload = window.Lend(*stream, fileSize, readPos, static_cast<std::size_t>(length));
    if (payload) readPos += length;
    return payload;
}

bool CQelVideoFile::ReadFrameHeaders() {
    if (!ReadBytes(frameHeader.data(), static_cast<int>(kFrmHdrSize))) return false;
    if (!ReadBytes(frameInfo.data(), static_cast<int>(kQelFrameInfoSize))) return false;
    payloadLen1 = GetU32(frameInfo.data() + 8);
    payloadLen2 = GetU32(frameInfo.data() + 12);
    return true;
}

bool CQelVideoFile::IsFrameValid() {
    if (!stream || GetU32(frameHeader.data()) != kFrmHdrStartCode || payloadLen1 >= kQelMaxPayload1)
        return false;
    // Both payloads must fit in a frame and in what is left of the file before anything is allocated.
    const std::uint64_t padded = Pad32(payloadLen1) + Pad32(payloadLen2);
    if (padded + kQelFrameInfoSize > kQelAvMaxFrameSize) return false;
    return static_cast<std::uint64_t>(readPos) + padded <= fileSize;
}

bool CQelVideoFile::ReadPayload(BYTE* buffer, int length) {
    if (!stream || buffer == nullptr || length < 1 || static_cast<DWORD>(length) > kQelAvMaxFrameSize)
        return false;
    return ReadBytes(buffer, length);
}

DWORD CQelVideoFile::GetFrameTime() const {
    return GetU32(frameHeader.data() + 4);
}

DWORD CQelVideoFile::GetFrameAttr() const {
    return GetU32(frameInfo.data() + 56);
}

DWORD CQelVideoFile::GetFrameChannel() const {
    return GetU32(frameInfo.data() + 32);
}

// --- Positioning ---

bool CQelVideoFile::SeekFirstFrame() {
    indexPos = 0;
    fileOffset = 0;
    stepSign = 1;
    skipCountdown = {1, 1, 1, 1};
    if (!stream) return false;
    readPos = 0;
    if (!ReadFrameHeaders() || !IsFrameValid()) return false;
    skipSecond = GetFrameTime();
    return true;
}

bool CQelVideoFile::SeekLastFrame() {
    if (!stream) return false;
    if (indexCount > 0) {
        indexPos = indexCount - 1;
        if (!SeekToIndexEntry()) return false;
        if (!ReadFrameHeaders() || !IsFrameValid()) return false;
        stepSign = 1;
        return true;
    }
    readPos = fileSize;
    // A start code inside a picture is no frame: look further back until a frame checks out, with a
    // length word that matches its payloads.
    while (ScanBackForFrame()) {
        if (ReadFrameHeaders() && IsFrameValid() &&
            GetU32(frameHeader.data() + 8) == kQelFrameInfoSize + Pad32(payloadLen1) + Pad32(payloadLen2)) {
            stepSign = 1;
            return true;
        }
        readPos = fileOffset;
    }
    return false;
}

bool CQelVideoFile::SeekIndex(int n) {
    if (indexCount <= 0) return false;
    indexPos = std::clamp(n, 0, indexCount - 1);
    if (!SeekToIndexEntry()) return false;
    return ReadFrameHeaders() && IsFrameValid();
}

bool CQelVideoFile::StepNext() {
    if (!NextIndexEntry()) return false;
    stepSign = 1;
    return ReadFrameHeaders() && IsFrameValid();
}

bool CQelVideoFile::StepPrev() {
    if (!PrevIndexEntry()) return false;
    stepSign = -1;
    return ReadFrameHeaders() && IsFrameValid();
}

bool CQelVideoFile::NextIndexEntry() {
    if (indexCount == 0 || indexPos >= indexCount) return false;
    indexPos = std::clamp(indexPos + 1, 0, indexCount - 1);
    return SeekToIndexEntry();
}

bool CQelVideoFile::PrevIndexEntry() {
    if (indexCount == 0 || indexPos >= indexCount) return false;
    indexPos = std::clamp(indexPos - 1, 0, indexCount - 1);
    return SeekToIndexEntry();
}

bool CQelVideoFile::SeekToIndexEntry() {
    if (!stream || indexPos < 0 || indexPos >= indexCount) return false;
    fileOffset = index[static_cast<std::size_t>(indexPos)];
    readPos = fileOffset;
    return true;
}

bool CQelVideoFile::ScanBackForFrame() {
    // Words are tested from the current position towards the start, a block at a time. The block stays
    // read from one call to the next: a search that goes on from a start code that was no frame reads
    // nothing again, so a file full of start codes costs one pass, not a block per start code.
    if (!stream) return false;
    constexpr std::int64_t kBlock = 4096;
    for (std::int64_t at = std::min<std::int64_t>(readPos, fileSize) - 4; at >= 0; at -= 4) {
        if (at < scanStart || at + 4 > scanStart + scanFill) {
            Sleep(0);
            const std::int64_t end = at + 4;
            const std::int64_t start = std::max<std::int64_t>(end - kBlock, end % 4);
            const int length = static_cast<int>(end - start);
            scanBlock.resize(static_cast<std::size_t>(kBlock));
            scanFill = 0;
            if (stream->Seek(start, soBeginning) != start || stream->Read(scanBlock.data(), length) != length)
                return false;
            scanStart = start;
            scanFill = length;
        }
        if (GetU32(scanBlock.data() + (at - scanStart)) != kFrmHdrStartCode) continue;
        fileOffset = static_cast<DWORD>(at);
        readPos = fileOffset;
        return true;
    }
    return false;
}

bool CQelVideoFile::StepNextSkipping(int skip) {
    return StepSkipping(true, skip);
}

bool CQelVideoFile::StepPrevSkipping(int skip) {
    return StepSkipping(false, skip);
}

bool CQelVideoFile::StepSkipping(bool forward, int skip) {
    skip = std::clamp(skip, 1, kMaxSkipFactor);
    for (;;) {
        if (!(forward ? StepNext() : StepPrev())) return false;
        if (GetFrameKind() != 0) return true; // sound is never skipped
        const DWORD channel = GetFrameChannel();
        const DWORD time = GetFrameTime();
        if (indexPos < 0 || static_cast<std::int32_t>(time) < 0 || channel < 1 || channel > 4) return false;
        if (time != skipSecond) {
            skipSecond = time;
            skipCountdown = {0, 0, 0, 0};
        }
        int& countdown = skipCountdown[channel - 1];
        if (--countdown < 1) {
            countdown = skip;
            return true;
        }
    }
}

std::array<bool, 4> CQelVideoFile::FramesAround(int pos, std::array<QelFrameRecord, 4>& frames) {
    std::array<bool, 4> found{};
    if (!SeekIndex(pos)) return found;
    pos = indexPos;
    const std::int64_t second = GetFrameTime();
    // Back from the position first (what playing up to it shows), then forward from it for the cameras
    // that have no picture yet: the pictures of one moment.
    for (const int step : {-1, 1}) {
        int p = step < 0 ? pos : pos + 1;
        for (int n = 0; n < kStillSearchFrames && p >= 0 && p < indexCount; ++n, p += step) {
            // A broken frame is passed over.
            if (!SeekIndex(p)) continue;
            if (std::llabs(static_cast<std::int64_t>(GetFrameTime()) - second) > 1) break;
            const DWORD channel = GetFrameChannel();
            if (GetFrameKind() != 0 || channel < 1 || channel > 4 || found[channel - 1]) continue;
            found[channel - 1] = FillRecord(frames[channel - 1], true);
            if (std::all_of(found.begin(), found.end(), [](bool f) { return f; })) break;
        }
    }
    SeekIndex(pos);
    return found;
}
