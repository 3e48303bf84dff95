#include "tests/formats/LiveStreams.h"

using namespace live_test;

namespace {

// Reads cut to fixed split points of the stream: a header of 20 + 12 bytes, an info block of 10 + 54.
ReadPolicy SplitAt(std::vector<std::size_t> points) {
    return [points](int asked, std::size_t offset) {
        for (std::size_t p : points)
            if (p > offset && p - offset < static_cast<std::size_t>(asked))
                return static_cast<int>(p - offset);
        return asked;
    };
}

TEST(AvStreamReceiver, EveryChunkingGivesTheSameFrames) {
    const std::vector<QelAvFrame> frames = MixedFrames();
    const std::vector<BYTE> stream = Encode(frames);
    // Split points inside the first frames' headers and info blocks.
    const std::size_t second = frames[0].Encode().size();
    struct Case {
        const char* name;
        ReadPolicy policy;
    };
    const Case cases[] = {
        {"whole reads", WholeReads()},
        {"one byte", ByteReads()},
        {"random 1", RandomReads(1)},
        {"random 2", RandomReads(2)},
        {"header 20 + 12", SplitAt({20, second + 20})},
        {"info 10 + 54", SplitAt({32 + 10, second + 32 + 10})},
        {"seven bytes", [](int, std::size_t) { return 7; }},
        {"999 bytes", [](int, std::size_t) { return 999; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StreamReader r;
        r.Deliver(stream, c.policy);
        ExpectSameFrames(r.frames, frames);
        EXPECT_TRUE(r.receiver.BetweenFrames());
        EXPECT_EQ(r.receiver.ReadSize(), 32);
        EXPECT_EQ(r.receiver.Stats().bytesSkipped, 0u);
    }
    // Bytes fed in any pieces, without asking, give the same frames as well.
    StreamReader fed;
    for (std::size_t at = 0; at < stream.size(); at += 5000)
        fed.receiver.Feed(stream.data() + at, std::min<std::size_t>(5000, stream.size() - at));
    ExpectSameFrames(fed.frames, frames);
}

TEST(AvStreamReceiver, EverySplitAroundGarbageAndAnEmptyHeaderGivesTheSameFrames) {
    // Two frames with 32 bytes of garbage and a header of size 0 between them.
    const QelAvFrame first = MakeFrame(2, true, 1, 5, 100), second = MakeFrame(4, false, 1, 6, 100);
    std::vector<BYTE> stream = first.Encode();
    Append(stream, std::vector<BYTE>(32, 0x55));
    Append(stream, Header(0));
    Append(stream, second.Encode());
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        SCOPED_TRACE(split);
        StreamReader asked;
        asked.Deliver(stream, SplitAt({split}));
        StreamReader fed;
        fed.receiver.Feed(stream.data(), split);
        fed.receiver.Feed(stream.data() + split, stream.size() - split);
        for (StreamReader* r : {&asked, &fed}) {
            ExpectSameFrames(r->frames, {first, second});
            EXPECT_EQ(r->receiver.Stats().bytesSkipped, 64u);
            EXPECT_TRUE(r->receiver.BetweenFrames());
        }
    }
    StreamReader bytewise;
    bytewise.Deliver(stream, ByteReads());
    ExpectSameFrames(bytewise.frames, {first, second});
}

TEST(AvStreamReceiver, ReadsNeverCrossTheEndOfAFrame) {
    const QelAvFrame big = MakeFrame(1, true, 1, 0, 40000 - 64);
    ASSERT_EQ(big.FrameSize(), 40000u);
    const QelAvFrame small = MakeFrame(2, true, 1, 1, 100);
    StreamReader r;
    r.Deliver(Encode({big, small}), WholeReads());
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.asked, (std::vector<int>{32, 15360, 15360, 9280, 32, static_cast<int>(small.FrameSize())}));
}

TEST(AvStreamReceiver, HeaderGatheredFromShortReadsAsksForTheRest) {
    const QelAvFrame f = MakeFrame(3, true, 5, 0, 500);
    const std::vector<BYTE> bytes = f.Encode();
    StreamReader r;
    r.Deliver({bytes.begin(), bytes.begin() + 20}, WholeReads());
    EXPECT_EQ(r.receiver.ReadSize(), 12);
    EXPECT_TRUE(r.receiver.BetweenFrames());
    r.Deliver({bytes.begin() + 20, bytes.begin() + 32}, WholeReads());
    EXPECT_FALSE(r.receiver.BetweenFrames());
    EXPECT_EQ(r.receiver.ReadSize(), static_cast<int>(f.FrameSize()));
    // The info block in two reads; the bytes after it start the data.
    r.Deliver({bytes.begin() + 32, bytes.begin() + 42}, WholeReads());
    EXPECT_EQ(r.receiver.ReadSize(), static_cast<int>(f.FrameSize()) - 10);
    r.Deliver({bytes.begin() + 42, bytes.end()}, WholeReads());
    ExpectSameFrames(r.frames, {f});
    EXPECT_EQ(r.receiver.Stats().shortReads, 3u); // 20, 12 and 10 bytes
}

TEST(AvStreamReceiver, FailedReadsChangeNothing) {
    StreamReader r;
    const std::vector<BYTE> bytes = MakeFrame(1, true, 1, 0, 64).Encode();
    r.Deliver({bytes.begin(), bytes.begin() + 40}, WholeReads());
    const int ask = r.receiver.ReadSize();
    const DWORD received = r.receiver.Received();
    for (int n : {0, -1, -10054}) {
        r.receiver.Consume(r.receiver.ReadBuffer(), n);
        EXPECT_EQ(r.receiver.ReadSize(), ask);
        EXPECT_EQ(r.receiver.Received(), received);
    }
    r.Deliver({bytes.begin() + 40, bytes.end()}, WholeReads());
    EXPECT_EQ(r.frames.size(), 1u);
}

TEST(AvStreamReceiver, InvalidHeadersAreSkippedAndTheNextFrameFound) {
    struct Case {
        const char* name;
        std::size_t offset; // word changed in a good header
        DWORD value;
    };
    const Case cases[] = {
        {"magic", 0, 0xAAAB},       {"word 1", 4, 1},    {"word 2", 8, 0x100}, {"size 0", 12, 0},
        {"size 32", 12, 32},        {"size 63", 12, 63}, {"kind 0", 16, 0},    {"word 5", 20, 1},
        {"word 6", 24, 0x80000000}, {"word 7", 28, 7},
    };
    const QelAvFrame good = MakeFrame(2, true, 9, 3, 777);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bad = Header(1024);
        PutU32(bad.data() + c.offset, c.value);
        EXPECT_FALSE(CAvStreamReceiver::IsStreamHeader(bad.data()));
        std::vector<BYTE> stream = bad;
        Append(stream, good.Encode());
        for (const ReadPolicy& policy : {WholeReads(), ByteReads(), RandomReads(3)}) {
            StreamReader r;
            r.Deliver(stream, policy);
            ExpectSameFrames(r.frames, {good});
            EXPECT_EQ(r.receiver.Stats().bytesSkipped, 32u);
        }
    }
    EXPECT_TRUE(CAvStreamReceiver::IsStreamHeader(Header(64).data()));
    EXPECT_TRUE(CAvStreamReceiver::IsStreamHeader(Header(0x20001, 0xFFFFFFFF).data()));
}

TEST(AvStreamReceiver, GarbageOfAnyLengthIsPassedOver) {
    const QelAvFrame a = MakeFrame(1, true, 1, 0, 300), b = MakeFrame(4, false, 1, 1, 160);
    std::vector<std::vector<BYTE>> garbages;
    for (std::size_t n : {1, 5, 12, 20, 31, 32, 33, 37, 64, 96, 100, 1000}) {
        std::vector<BYTE> g(n);
        for (std::size_t i = 0; i < n; ++i)
            g[i] = static_cast<BYTE>(0x5A ^ (i * 7));
        garbages.push_back(g);
    }
    // Pieces of headers: a magic that starts again inside itself, a header cut before its kind.
    garbages.push_back({0xAA});
    garbages.push_back({0xAA, 0xAA, 0xAA});
    garbages.push_back({0xAA, 0xAA, 0x00, 0x00, 0x00});
    std::vector<BYTE> cut = Header(128);
    cut.resize(18);
    garbages.push_back(cut);
    for (const auto& g : garbages) {
        SCOPED_TRACE(g.size());
        std::vector<BYTE> stream = a.Encode();
        Append(stream, g);
        Append(stream, b.Encode());
        for (const ReadPolicy& policy : {WholeReads(), ByteReads(), RandomReads(4), SplitAt({20})}) {
            StreamReader r;
            r.Deliver(stream, policy);
            ExpectSameFrames(r.frames, {a, b});
            EXPECT_EQ(r.receiver.Stats().bytesSkipped, g.size());
        }
    }
}

TEST(AvStreamReceiver, InvalidGatheredHeaderNeverStallsTheStream) {
    // Short reads gather 32 bytes that are not a header; the receiver must go on asking for bytes.
    std::vector<BYTE> stream(32, 0x11);
    const QelAvFrame f = MakeFrame(1, true, 1, 0, 50);
    Append(stream, f.Encode());
    StreamReader r;
    r.Deliver(stream, SplitAt({10, 20, 30}));
    ExpectSameFrames(r.frames, {f});
}

TEST(AvStreamReceiver, OversizedFramesAreDroppedAndTheNextOneFound) {
    struct Case {
        const char* name;
        DWORD announced;
        std::size_t body; // bytes that follow the header
        bool noise;       // the body, info block included, is noise rather than an info block and zeros
    };
    const Case cases[] = {
        {"0x20001 with a filled body", 0x20001, 0x20020, false},
        {"0x20020 with its body", 0x20020, 0x20020, false},
        {"0x20020 with a body of noise", 0x20020, 0x20020, true},
        {"0x20001 with only its info block", 0x20001, 64, false},
        {"0xFFFFFFFF with its info block", 0xFFFFFFFF, 64, false},
    };
    const QelAvFrame before = MakeFrame(1, true, 1, 0, 1000), after = MakeFrame(3, true, 2, 0, 2000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> stream = before.Encode();
        Append(stream, Header(c.announced));
        std::vector<BYTE> body(c.body, c.noise ? 0x11 : 0);
        if (!c.noise) before.info.Encode(body.data());
        Append(stream, body);
        Append(stream, after.Encode());
        for (const ReadPolicy& policy : {WholeReads(), ByteReads(), RandomReads(5)}) {
            StreamReader r;
            r.Deliver(stream, policy);
            ExpectSameFrames(r.frames, {before, after});
            EXPECT_EQ(r.receiver.Stats().oversized, 1u);
        }
    }
}

TEST(AvStreamReceiver, PayloadsLargerThanTheFrameDropItWhole) {
    struct Case {
        const char* name;
        DWORD len1, len2;
    };
    const Case cases[] = {
        {"payload 1 one byte over", 96 + 1, 0},     {"payload 2 over", 32, 65},
        {"payload 1 of 0xFFFFFFFF", 0xFFFFFFFF, 0}, {"payload 2 of 0xFFFFFFE0", 0, 0xFFFFFFE0},
        {"both at 0x20000", 0x20000, 0x20000},      {"payload 1 far past the frame", 1000, 0},
    };
    const QelAvFrame good = MakeFrame(2, true, 3, 0, 90);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QelAvFrame liar = MakeFrame(4, true, 3, 1, 96); // frame of 64 + 96 bytes
        liar.info.payloadLen1 = c.len1;
        liar.info.payloadLen2 = c.len2;
        std::vector<BYTE> stream = liar.Encode();
        Append(stream, good.Encode());
        for (const ReadPolicy& policy : {WholeReads(), ByteReads()}) {
            StreamReader r;
            r.Deliver(stream, policy);
            ExpectSameFrames(r.frames, {good});
            EXPECT_EQ(r.receiver.Stats().misfit, 1u);
            EXPECT_EQ(r.receiver.Stats().frames, 1u);
            EXPECT_TRUE(r.receiver.BetweenFrames());
        }
    }
}

TEST(AvStreamReceiver, FramesOfOnlyTheInfoBlockAndOfOneRead) {
    const QelAvFrame empty = MakeFrame(1, false, 7, 0, 0);
    ASSERT_EQ(empty.FrameSize(), 64u);
    const QelAvFrame one = MakeFrame(2, true, 7, 1, 15360 - 64);
    StreamReader r;
    r.Deliver(Encode({empty, one}), WholeReads());
    ExpectSameFrames(r.frames, {empty, one});
    // Header, info block, header, the whole frame in one read.
    EXPECT_EQ(r.asked, (std::vector<int>{32, 64, 32, 15360}));
}

TEST(AvStreamReceiver, HeaderAtTheStartOfAReadRestartsTheFrame) {
    const QelAvFrame cut = MakeFrame(1, true, 1, 0, 5000), next = MakeFrame(2, true, 1, 1, 300);
    std::vector<BYTE> stream = cut.Encode();
    stream.resize(32 + 64 + 1000);
    const std::size_t restart = stream.size();
    Append(stream, next.Encode());
    StreamReader r;
    r.Deliver(stream, SplitAt({32 + 64, restart}));
    ExpectSameFrames(r.frames, {next});
    EXPECT_EQ(r.receiver.Stats().restarted, 1u);
}

TEST(AvStreamReceiver, ReadsLongerThanAskedIntoItsBufferGiveTheSameFrames) {
    // Inside a frame the buffer is the frame itself: a read past the frame's end lands there and the
    // next frames are taken from it.
    const QelAvFrame big = MakeFrame(1, true, 1, 0, 40000 - 64), small = MakeFrame(2, true, 1, 1, 100);
    const QelAvFrame empty = MakeFrame(3, false, 1, 2, 0), largest = MakeFrame(4, true, 1, 3, 0x20000 - 64);
    const std::vector<QelAvFrame> frames = {big, small, empty, largest, small, big};
    const std::vector<BYTE> stream = Encode(frames);
    for (const std::size_t size :
         {std::size_t{100}, std::size_t{4099}, std::size_t{CAvStreamReceiver::kReadBufferSize}}) {
        SCOPED_TRACE(size);
        StreamReader r;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t n = std::min(size, stream.size() - at);
            std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, r.receiver.ReadBuffer());
            r.receiver.Consume(r.receiver.ReadBuffer(), static_cast<int>(n));
            at += n;
        }
        ExpectSameFrames(r.frames, frames);
        EXPECT_TRUE(r.receiver.BetweenFrames());
        EXPECT_EQ(r.receiver.Stats().bytesSkipped, 0u);
    }
}

TEST(AvStreamReceiver, ResetDropsTheFrameInProgress) {
    const QelAvFrame f = MakeFrame(1, true, 1, 0, 3000);
    const std::vector<BYTE> bytes = f.Encode();
    StreamReader r;
    r.Deliver({bytes.begin(), bytes.begin() + 500}, WholeReads());
    r.receiver.Reset();
    EXPECT_TRUE(r.receiver.BetweenFrames());
    EXPECT_EQ(r.receiver.ReadSize(), 32);
    r.Deliver(bytes, WholeReads());
    ExpectSameFrames(r.frames, {f});
}

} // namespace
