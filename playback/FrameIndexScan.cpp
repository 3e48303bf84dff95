#include "playback/FrameIndexScan.h"

#include "formats/ByteOrder.h"
#include "formats/QelAvFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool MatchFrom(const char* name, const char* mask) {
    for (; *mask != '\0'; ++mask) {
        if (*mask == '*') {
            for (const char* rest = name;; ++rest) {
                if (MatchFrom(rest, mask + 1)) return true;
                if (*rest == '\0') return false;
            }
        }
        if (*mask == '?') {
            if (*name == '\0') {
                // Trailing question marks also match nothing.
                while (*mask == '?')
                    ++mask;
                return *mask == '\0';
            }
            ++name;
            continue;
        }
        if (*name != *mask) return false;
        ++name;
    }
    return *name == '\0';
}

// The length word of a frame header at `at` whose frame lies inside the file; none when there is none.
std::optional<DWORD> FrameLengthAt(std::FILE* f, std::uint64_t size, std::uint64_t at) {
    BYTE head[kFrmHdrSize];
    if (at + kFrmHdrSize > size || at > 0x7FFFFFFFFFFFull ||
        ::fseeko(f, static_cast<off_t>(at), SEEK_SET) != 0 ||
        std::fread(head, 1, sizeof head, f) != sizeof head)
        return std::nullopt;
    const DWORD length = GetU32(head + 8);
    if (GetU32(head) != kFrmHdrStartCode || length < kQelFrameInfoSize || length > kQelAvMaxFrameSize ||
        at + kFrmHdrSize + length > size)
        return std::nullopt;
    return length;
}

} // namespace

bool MatchesFileMask(const std::string& name, const std::string& mask) {
    return MatchFrom(name.c_str(), mask.c_str());
}

std::vector<DWORD> ScanFrameOffsets(const std::string& recordingPath) {
    FilePtr f(std::fopen(recordingPath.c_str(), "rb"));
    if (!f)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", recordingPath.c_str(), std::strerror(errno)));
    std::vector<DWORD> offsets;
    std::uint64_t at = 0;
    BYTE head[kFrmHdrSize];
    while (offsets.size() < kQelFileMaxFrames) {
        if (std::fseek(f.get(), static_cast<long>(at), SEEK_SET) != 0) break;
        const std::size_t got = std::fread(head, 1, sizeof head, f.get());
        if (std::ferror(f.get())) throw EReadError(Format("Cannot read \"%s\"", recordingPath.c_str()));
        if (got < sizeof head) break;
        const DWORD code = GetU32(head);
        if (code == kQelFillerCode) break;
        const DWORD length = GetU32(head + 8);
        if (code != kFrmHdrStartCode || length > kQelAvMaxFrameSize) {
            at += kFrmHdrSize;
            continue;
        }
        // The index names where the frame found starts, so a player seeking to it finds its header.
        if (at > 0xFFFFFFFFull) break;
        offsets.push_back(static_cast<DWORD>(at));
        at += kFrmHdrSize + length;
    }
    return offsets;
}

bool FrameOffsetsFit(const std::string& recordingPath, const std::vector<DWORD>& offsets) {
    if (offsets.empty() || offsets.size() > kQelFileMaxFrames) return false;
    for (std::size_t i = 1; i < offsets.size(); ++i)
        if (std::uint64_t{offsets[i]} < std::uint64_t{offsets[i - 1]} + kFrmHdrSize + kQelFrameInfoSize)
            return false;
    FilePtr f(std::fopen(recordingPath.c_str(), "rb"));
    if (!f || ::fseeko(f.get(), 0, SEEK_END) != 0) return false;
    const off_t end = ::ftello(f.get());
    if (end < 0) return false;
    const auto size = static_cast<std::uint64_t>(end);
    // A broken frame inside is passed over by playback; the last entry must hold one, or the entries are
    // not this recording's.
    const std::optional<DWORD> last = FrameLengthAt(f.get(), size, offsets.back());
    // An index cut short would hide the frames after its last entry.
    return last && !FrameLengthAt(f.get(), size, std::uint64_t{offsets.back()} + kFrmHdrSize + *last);
}

void WriteFrameOffsets(const std::string& indexPath, const std::vector<DWORD>& offsets) {
    FilePtr f(std::fopen(indexPath.c_str(), "wb"));
    if (!f)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", indexPath.c_str(), std::strerror(errno)));
    std::vector<BYTE> bytes(offsets.size() * 4);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        PutU32(bytes.data() + 4 * i, offsets[i]);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw EWriteError(Format("Cannot write \"%s\"", indexPath.c_str()));
    if (std::fclose(f.release()) != 0) throw EWriteError(Format("Cannot write \"%s\"", indexPath.c_str()));
}
