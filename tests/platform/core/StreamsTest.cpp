#include "platform/core/Streams.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/CoreTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

using coretest::MessageOf;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

// Each stream kind behaves the same through the TStream interface.
struct StreamMaker {
    const char* name;
    std::function<std::unique_ptr<TStream>(const TempDir&)> make;
};

std::vector<StreamMaker> Makers() {
    return {
        {"file",
         [](const TempDir& dir) { return std::make_unique<TFileStream>(dir.File("s.bin"), fmCreate); }},
        {"memory", [](const TempDir&) { return std::make_unique<TMemoryStream>(); }},
        {"string", [](const TempDir&) { return std::make_unique<TStringStream>(); }},
    };
}

TEST(Streams, ShortReadsRaiseAndLeaveTheRestReadable) {
    for (const auto& maker : Makers()) {
        SCOPED_TRACE(maker.name);
        TempDir dir;
        auto stream = maker.make(dir);
        stream->WriteBuffer("0123456789", 10);
        stream->SetPosition(6);
        char buf[8] = {};
        EXPECT_EQ(MessageOf([&] { stream->ReadBuffer(buf, 5); }), "Stream read error");
        EXPECT_THROW(stream->ReadBuffer(buf, 1), EReadError); // the failed read took the last bytes
        stream->SetPosition(6);
        EXPECT_EQ(stream->Read(buf, 8), 4);
        EXPECT_EQ(std::string(buf, 4), "6789");
        EXPECT_EQ(stream->Read(buf, 8), 0);
        EXPECT_EQ(stream->Read(buf, -1), 0);
        stream->ReadBuffer(buf, 0); // nothing asked, nothing raised
        EXPECT_THROW(stream->ReadBuffer(buf, -1), EReadError);
    }
}

TEST(Streams, SeekOriginsAndBounds) {
    struct Case {
        std::int64_t offset;
        int origin;
        std::int64_t expected; // -1: refused, the position stays
    };
    const Case cases[] = {
        {7, soFromBeginning, 7}, {2, soFromCurrent, 5},
        {-3, soFromCurrent, 0},  {-4, soFromCurrent, -1},
        {-1, soFromEnd, 9},      {0, soFromEnd, 10},
        {-11, soFromEnd, -1},    {-1, soFromBeginning, -1},
        {5, soFromEnd, 15},      {0, 7, -1},
    };
    for (const auto& maker : Makers()) {
        SCOPED_TRACE(maker.name);
        TempDir dir;
        auto stream = maker.make(dir);
        stream->WriteBuffer("0123456789", 10);
        stream->SetPosition(3);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin);
            stream->SetPosition(3);
            EXPECT_EQ(stream->Seek(c.offset, c.origin), c.expected);
            EXPECT_EQ(stream->Position(), c.expected < 0 ? 3 : c.expected);
        }
        EXPECT_EQ(stream->Seek(std::int64_t{2}, soBeginning), 2);
        EXPECT_EQ(stream->Seek(std::int64_t{-2}, soEnd), 8);
        // Writing past the end fills the gap with zeros.
        stream->Seek(std::int64_t{12}, soBeginning);
        stream->WriteBuffer("x", 1);
        EXPECT_EQ(stream->Size(), 13);
        stream->SetPosition(10);
        char gap[3] = {1, 1, 1};
        stream->ReadBuffer(gap, 3);
        EXPECT_EQ(std::string(gap, 3), std::string("\0\0x", 3));
    }
}

TEST(Streams, SetSizeTruncatesAndMovesThePositionBack) {
    for (const auto& maker : Makers()) {
        SCOPED_TRACE(maker.name);
        TempDir dir;
        auto stream = maker.make(dir);
        stream->WriteBuffer("abcdef", 6);
        stream->SetSize(2);
        EXPECT_EQ(stream->Size(), 2);
        EXPECT_EQ(stream->Position(), 2);
        EXPECT_ANY_THROW(stream->SetSize(-1));
    }
}

TEST(Streams, CopyFromCopiesCountBytesOrEverything) {
    TMemoryStream source;
    source.WriteBuffer("hello world", 11);
    source.SetPosition(6);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(&source, 3), 3);
    EXPECT_EQ(std::string(static_cast<char*>(part.Memory()), 3), "wor");
    TMemoryStream all;
    EXPECT_EQ(all.CopyFrom(&source, 0), 11); // 0: all of it, from the start
    EXPECT_EQ(std::string(static_cast<char*>(all.Memory()), 11), "hello world");
    source.SetPosition(9);
    TMemoryStream tooMuch;
    EXPECT_THROW(tooMuch.CopyFrom(&source, 5), EReadError);
    EXPECT_THROW(tooMuch.CopyFrom(&source, -1), EReadError);
    EXPECT_THROW(tooMuch.CopyFrom(nullptr, 1), EReadError);
}

TEST(Streams, CopyFromLargerThanOneBuffer) {
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    TStringStream source(big);
    TempDir dir;
    {
        TFileStream file(dir.File("big.bin"), fmCreate);
        EXPECT_EQ(file.CopyFrom(&source, 0), static_cast<std::int64_t>(big.size()));
    }
    EXPECT_EQ(ReadFileBytes(dir.File("big.bin")), big);
}

TEST(FileStream, OpenAndCreateFailuresNameTheFile) {
    TempDir dir;
    const std::string missing = dir.File("missing.bin");
    EXPECT_EQ(MessageOf([&] { TFileStream s(missing, fmOpenRead); }),
              "Cannot open file \"" + missing + "\". The system cannot find the file specified.");
    const std::string badFolder = dir.File("nowhere/new.bin");
    EXPECT_EQ(MessageOf([&] { TFileStream s(badFolder, fmCreate); }),
              "Cannot create file \"" + badFolder + "\". The system cannot find the file specified.");
    EXPECT_THROW(TFileStream(dir.Str(), fmOpenRead), EFOpenError); // a folder is not a file
    EXPECT_THROW(TFileStream(dir.Str(), fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
    EXPECT_THROW(TFileStream(missing, fmOpenWrite), EFOpenError);
}

TEST(FileStream, ModesAndShareFlags) {
    TempDir dir;
    const std::string path = dir.File("m.bin");
    WriteFileBytes(path, "abcdef");
    {
        TFileStream s(path, fmOpenRead | fmShareDenyWrite);
        char c = 0;
        s.ReadBuffer(&c, 1);
        EXPECT_EQ(c, 'a');
        EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream s(path, fmOpenWrite | fmShareExclusive);
        s.Seek(std::int64_t{2}, soBeginning);
        s.WriteBuffer("XY", 2);
        char c = 0;
        EXPECT_EQ(s.Read(&c, 1), 0);
    }
    EXPECT_EQ(ReadFileBytes(path), "abXYef");
    {
        TFileStream s(path, fmOpenReadWrite);
        EXPECT_EQ(s.Size(), 6);
        s.Seek(std::int64_t{0}, soEnd);
        s.WriteBuffer("!", 1);
    }
    EXPECT_EQ(ReadFileBytes(path), "abXYef!");
    { TFileStream s(path, fmCreate | fmShareExclusive); } // truncates
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(FileStream, SizesAndPositionsBeyondFourGigabytes) {
    TempDir dir;
    TFileStream s(dir.File("sparse.bin"), fmCreate);
    const std::int64_t big = (std::int64_t{5} << 30) + 3;
    s.SetSize(big); // sparse: no disk space used
    EXPECT_EQ(s.Size(), big);
    EXPECT_EQ(s.Seek(std::int64_t{-1}, soEnd), big - 1);
    s.WriteBuffer("z", 1);
    s.Seek(big - 1, soBeginning);
    char c = 0;
    s.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'z');
}

TEST(MemoryStream, FilesAndStreamsRoundTrip) {
    TempDir dir;
    const std::string bytes("\x00\x01\xFF binary \r\n", 13);
    WriteFileBytes(dir.File("in.bin"), bytes);
    TMemoryStream m;
    m.LoadFromFile(dir.File("in.bin"));
    EXPECT_EQ(m.Size(), 13);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(std::memcmp(m.Memory(), bytes.data(), bytes.size()), 0);
    m.SaveToFile(dir.File("out.bin"));
    EXPECT_EQ(ReadFileBytes(dir.File("out.bin")), bytes);

    TStringStream text;
    m.SaveToStream(&text);
    EXPECT_EQ(text.DataString(), bytes);
    TMemoryStream copy;
    text.SetPosition(5); // LoadFromStream takes the whole source, whatever its position
    copy.LoadFromStream(&text);
    EXPECT_EQ(copy.Size(), 13);

    m.Clear();
    EXPECT_EQ(m.Memory(), nullptr);
    EXPECT_EQ(m.Size(), 0);
    EXPECT_THROW(m.LoadFromFile(dir.File("missing.bin")), EFOpenError);
}

TEST(MemoryStream, ImpossibleSizesRaiseInsteadOfCrashing) {
    TMemoryStream m;
    EXPECT_THROW(m.SetSize(std::numeric_limits<std::int64_t>::max()), EOutOfMemory);
    EXPECT_EQ(m.Size(), 0);
    m.Seek(std::numeric_limits<std::int64_t>::max() - 2, soBeginning);
    EXPECT_THROW(m.Write("abcd", 4), EOutOfMemory);
}

// A source that claims more bytes than it gives.
class LyingStream : public TStream {
public:
    int Read(void* buffer, int count) override {
        const int n = count < 3 ? count : 3;
        std::memset(buffer, 'q', static_cast<std::size_t>(n));
        given_ += n;
        return given_ > 3 ? 0 : n;
    }
    int Write(const void*, int) override { return 0; }
    std::int64_t Seek(std::int64_t, TSeekOrigin origin) override { return origin == soEnd ? 1000 : 0; }

private:
    int given_ = 0;
};

TEST(MemoryStream, ShortSourceLeavesTheStreamEmpty) {
    LyingStream liar;
    TMemoryStream m;
    m.WriteBuffer("old", 3);
    EXPECT_THROW(m.LoadFromStream(&liar), EReadError);
    EXPECT_EQ(m.Size(), 0);
}

TEST(StringStream, ReadAndWriteStrings) {
    TStringStream s("abc");
    EXPECT_EQ(s.ReadString(2), "ab");
    EXPECT_EQ(s.ReadString(10), "c");
    EXPECT_EQ(s.ReadString(1), "");
    s.WriteString("de");
    EXPECT_EQ(s.DataString(), "abcde");
}

} // namespace
