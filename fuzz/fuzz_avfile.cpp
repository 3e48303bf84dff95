// A recorded file with its frame indexes, through every reader of recorded files: the frame-by-frame
// reader, the index files, the frame-offset scan and its written index, and the playback reader's steps,
// backward search and reader thread.
//
// Input: u16 length + ".fdx" bytes, u16 length + ".tdx" bytes, one option byte, the recording.
#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "formats/QelAvFile.h"
#include "formats/QelFrameIndex.h"
#include "fuzz/FuzzSupport.h"
#include "platform/core/Exceptions.h"
#include "playback/FrameIndexScan.h"
#include "playback/Qelvidfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

class Cut {
public:
    Cut(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
    std::string_view Prefixed() {
        std::size_t n = 0;
        if (rest_.size() >= 2) {
            n = static_cast<std::uint8_t>(rest_[0]) | (static_cast<std::uint8_t>(rest_[1]) << 8);
            rest_.remove_prefix(2);
        } else {
            rest_ = {};
        }
        return Take(n);
    }
    std::uint8_t Byte() { return rest_.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
    std::string_view Rest() { return Take(rest_.size()); }

private:
    std::string_view Take(std::size_t n) {
        n = std::min(n, rest_.size());
        const std::string_view piece = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return piece;
    }
    std::string_view rest_;
};

void CheckIndexFile(const std::string& path, std::size_t bytes) {
    try {
        if (ReadQelIndexFile(path).size() != bytes / 4) fuzz::Fail("index entries");
        if (bytes / 4 > kQelFileMaxFrames) fuzz::Fail("an overlong index was read");
    } catch (const EQelFormatError&) {
        if (bytes / 4 <= kQelFileMaxFrames) fuzz::Fail("an index within the limit was refused");
    }
}

void ReadFrames(const std::string& path, std::size_t fileSize, const std::vector<DWORD>& seeks) {
    try {
        QelAvFileReader reader(path);
        QelRecordedFrame frame;
        std::uint64_t next = 0;
        while (reader.Next(frame)) {
            if (frame.offset != next) fuzz::Fail("frames are not back to back");
            next = frame.offset + kFrmHdrSize + frame.header.length;
            if (next > fileSize) fuzz::Fail("a frame runs past the end of the file");
            if (frame.frame.Payload1().size() != frame.frame.info.payloadLen1) fuzz::Fail("payload 1");
            if (frame.frame.Payload2().size() != frame.frame.info.payloadLen2) fuzz::Fail("payload 2");
        }
    } catch (const EQelFormatError&) {
    }
    for (std::size_t i = 0; i < seeks.size() && i < 16; ++i) {
        try {
            QelAvFileReader reader(path);
            reader.Seek(seeks[i]);
            QelRecordedFrame frame;
            (void)reader.Next(frame);
        } catch (const EQelFormatError&) {
        } catch (const EReadError&) {
        }
    }
}

void ScanOffsets(const std::string& path, const std::string& recording) {
    const std::vector<DWORD> offsets = ScanFrameOffsets(path);
    if (offsets.size() > kQelFileMaxFrames) fuzz::Fail("scan longer than a recording");
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (i > 0 && offsets[i] <= offsets[i - 1]) fuzz::Fail("scan offsets not rising");
        if (offsets[i] + kFrmHdrSize > recording.size()) fuzz::Fail("scan offset past the end");
        if (GetU32(reinterpret_cast<const BYTE*>(recording.data()) + offsets[i]) != kFrmHdrStartCode)
            fuzz::Fail("scan offset without a start code");
    }
    const std::string written = path + ".scan";
    WriteFrameOffsets(written, offsets);
    if (ReadQelIndexFile(written) != offsets) fuzz::Fail("scanned index round trip");
}

// What the reader thread does with a frame it queues.
void ReadPayloads(CQelVideoFile& file) {
    const std::size_t pad1 = Pad32(file.GetPayloadLen1());
    const std::size_t pad2 = Pad32(file.GetPayloadLen2());
    std::vector<BYTE> buffer(std::max(pad1, pad2) + 1);
    if (pad1 > 0) (void)file.ReadPayload(buffer.data(), static_cast<int>(pad1));
    if (pad2 > 0) (void)file.ReadPayload(buffer.data(), static_cast<int>(pad2));
}

void Step(CQelVideoFile& file, bool forward, int skip) {
    const int count = file.GetIndexCount();
    if (forward ? !file.SeekFirstFrame() : !file.SeekLastFrame()) return;
    ReadPayloads(file);
    for (int i = 0; i <= count; ++i) {
        if (file.GetIndexPos() < 0 || file.GetIndexPos() >= std::max(count, 1)) fuzz::Fail("index position");
        if (forward ? file.StepNextSkipping(skip) : file.StepPrevSkipping(skip)) ReadPayloads(file);
    }
}

void RunReaderThread(CQelVideoFile& file, int skip, bool forward) {
    if (forward ? !file.SeekFirstFrame() : !file.SeekLastFrame()) return;
    file.StartReader(skip, forward ? 1 : 0, 0);
    while (file.IsReaderRunning()) {
        file.WakeReader();
        while (QelFrameRecord* r = file.OldestRecord(file.VideoHead(), file.VideoRing())) {
            if (r->payloadLen1 > 0 && !r->payload1) fuzz::Fail("video record without its picture");
            file.ReleaseOldest(file.VideoHead(), file.VideoRing());
        }
        while (file.OldestRecord(file.AudioHead(), file.AudioRing()) != nullptr)
            file.ReleaseOldest(file.AudioHead(), file.AudioRing());
    }
    file.StopReader();
}

void Play(const std::string& path, std::size_t fdxBytes, bool indexBeside, std::uint8_t options) {
    static CQelVideoFile file;
    bool indexed = false;
    try {
        indexed = file.Open(path);
    } catch (const EFOpenError&) {
        fuzz::Fail("the recording did not open");
    }
    // An empty index counts as missing, and no copy was made; any other is used only where it fits the
    // recording, else the frames are found in the recording itself, which may hold none.
    if (indexBeside && fdxBytes == 0 && indexed) fuzz::Fail("an empty index loaded");
    if (indexed != (file.GetIndexCount() > 0)) fuzz::Fail("index load");
    const int skip = 1 + (options >> 4);
    Step(file, true, skip);
    Step(file, false, skip);
    (void)file.FindInIndexFile(path + ".tdx", file.GetFrameTime());
    if (options & 4) RunReaderThread(file, skip, (options & 8) != 0);
    file.Close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Cut cut(data, size);
    const std::string_view fdx = cut.Prefixed();
    const std::string_view tdx = cut.Prefixed();
    const std::uint8_t options = cut.Byte();
    const std::string recording(cut.Rest());

    static const std::string folder = fuzz::ScratchFolder();
    static const std::string temporary = folder + "Temporary/";
    const std::string path = folder + "20080102071400";
    // Without an index beside it, the playback reader looks for the copy it builds in Temporary/.
    const bool indexBeside = (options & 1) == 0;
    const std::string fdxPath = indexBeside ? path + ".fdx" : temporary + "20080102071400.fdx";
    std::remove((path + ".fdx").c_str());
    std::remove((temporary + "20080102071400.fdx").c_str());
    if (!indexBeside) std::filesystem::create_directories(temporary);
    fuzz::WriteBytes(path, recording);
    fuzz::WriteBytes(fdxPath, fdx);
    fuzz::WriteBytes(path + ".tdx", tdx);

    CheckIndexFile(fdxPath, fdx.size());
    CheckIndexFile(path + ".tdx", tdx.size());
    std::vector<DWORD> seeks;
    try {
        seeks = ReadQelIndexFile(fdxPath);
    } catch (const EQelFormatError&) {
    }
    ReadFrames(path, recording.size(), seeks);
    ScanOffsets(path, recording);
    Play(path, fdx.size(), indexBeside, options);
    return 0;
}
