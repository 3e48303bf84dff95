#include "formats/QelFrameIndex.h"

#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "platform/core/StrUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void WriteWords(const std::string& path, const std::vector<DWORD>& words) {
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f) throw EFCreateError(Format("Cannot create file \"%s\". %s", path.c_str(), std::strerror(errno)));
    std::vector<BYTE> bytes(words.size() * 4);
    for (std::size_t i = 0; i < words.size(); ++i)
        PutU32(bytes.data() + 4 * i, words[i]);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw EWriteError(Format("Cannot write \"%s\"", path.c_str()));
    if (std::fclose(f.release()) != 0) throw EWriteError(Format("Cannot write \"%s\"", path.c_str()));
}

} // namespace

DWORD QelMarksWord(BYTE kind, DWORD eventState, DWORD channel) {
    if (channel < 1 || channel > 4) channel = 1;
    return (DWORD{kind} << 16) | ((eventState & 0xFF) << 8) | channel;
}

void QelFrameIndex::Add(DWORD time, DWORD offset, DWORD marksWord) {
    times.push_back(time);
    offsets.push_back(offset);
    marks.push_back(marksWord);
}

void QelFrameIndex::Clear() {
    times.clear();
    offsets.clear();
    marks.clear();
}

void QelFrameIndex::Write(const std::string& recordingPath) const {
    WriteWords(recordingPath + ".tdx", times);
    WriteWords(recordingPath + ".fdx", offsets);
    WriteWords(recordingPath + ".mdx", marks);
}

std::vector<DWORD> ReadQelIndexFile(const std::string& path) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) throw EFOpenError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(errno)));
    // Read at most one entry past the limit: enough to know the file is too long.
    std::vector<BYTE> bytes((kQelFileMaxFrames + 1) * 4);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (std::ferror(f.get())) throw EReadError(Format("Cannot read \"%s\"", path.c_str()));
    const std::size_t count = got / 4;
    if (count > kQelFileMaxFrames)
        throw EQelFormatError(
            Format("index \"%s\" longer than %u entries", path.c_str(), unsigned(kQelFileMaxFrames)));
    std::vector<DWORD> words(count);
    for (std::size_t i = 0; i < count; ++i)
        words[i] = GetU32(bytes.data() + 4 * i);
    return words;
}
