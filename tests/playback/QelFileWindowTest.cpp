// The reader's file window: bytes read and lent match the file wherever the window stands, and bytes
// lent stay as they were while the window moves on over the file, in both directions, also when more
// is held than the window keeps blocks for, and with a buffer too small for a window.
#include "playback/QelFileWindow.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::TempDir;

// The byte at offset i of the test file.
BYTE At(std::int64_t i) {
    return static_cast<BYTE>((i * 131) ^ (i >> 9));
}

bool Matches(const BYTE* bytes, std::int64_t pos, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k)
        if (bytes[k] != At(pos + static_cast<std::int64_t>(k))) return false;
    return true;
}

struct Held {
    QelPayload payload;
    std::int64_t pos;
    std::size_t count;
};

class FileWindow : public ::testing::TestWithParam<int> {
protected:
    static constexpr std::int64_t kSize = 6 << 20;
    void SetUp() override {
        std::string bytes(static_cast<std::size_t>(kSize), '\0');
        for (std::int64_t i = 0; i < kSize; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<char>(At(i));
        testing_support::WriteFileBytes(dir_.File("rec"), bytes);
        stream_ = std::make_unique<TFileStream>(dir_.File("rec"), fmOpenRead | fmShareDenyWrite);
        window_.SetBufferSize(static_cast<std::size_t>(GetParam()));
    }
    // Reads and checks `count` bytes at `pos`.
    void ExpectRead(std::int64_t pos, std::size_t count) {
        std::vector<BYTE> out(count);
        ASSERT_TRUE(window_.Read(*stream_, kSize, pos, out.data(), count)) << pos;
        ASSERT_TRUE(Matches(out.data(), pos, count)) << pos;
    }
    Held Lend(std::int64_t pos, std::size_t count) {
        Held h{window_.Lend(*stream_, kSize, pos, count), pos, count};
        EXPECT_NE(h.payload, nullptr) << pos;
        return h;
    }

    TempDir dir_;
    std::unique_ptr<TFileStream> stream_;
    // Each test frees what it lent before the window goes.
    CQelFileWindow window_;
};

TEST_P(FileWindow, LentBytesStayWhileTheWindowMovesOn) {
    std::vector<Held> held;
    // Forwards in frame-sized steps, one payload kept every 150 000 bytes: more blocks' worth than are
    // kept, so the last ones are read into buffers of their own.
    for (std::int64_t pos = 0; pos + 40000 <= kSize; pos += 40000) {
        ExpectRead(pos, 32);
        Held h = Lend(pos + 96, 30000);
        ASSERT_TRUE(Matches(h.payload.get(), h.pos, h.count));
        if (pos % 160000 == 0) held.push_back(std::move(h));
    }
    // Backwards, as reverse playback steps, with jumps across the file.
    for (std::int64_t pos = kSize - 131104; pos >= 0; pos -= 90001)
        ExpectRead(pos, 96);
    for (std::int64_t pos : {std::int64_t{0}, kSize - 1, kSize / 2, std::int64_t{1}})
        ExpectRead(pos, 1);
    // The very end of the file, read and lent.
    ExpectRead(kSize - 100, 100);
    held.push_back(Lend(kSize - 100, 100));
    for (const Held& h : held)
        EXPECT_TRUE(Matches(h.payload.get(), h.pos, h.count)) << h.pos;
    // Freed, the blocks serve again.
    held.clear();
    for (std::int64_t pos = kSize - 200000; pos >= 0; pos -= 250000) {
        Held h = Lend(pos, 60000);
        EXPECT_TRUE(Matches(h.payload.get(), h.pos, h.count)) << h.pos;
    }
}

TEST_P(FileWindow, BytesPastTheFileAreNotLent) {
    std::vector<BYTE> out(64);
    EXPECT_FALSE(window_.Read(*stream_, kSize + 64, kSize, out.data(), out.size()));
    EXPECT_EQ(window_.Lend(*stream_, kSize + 64, kSize - 32, 64), nullptr);
    ExpectRead(kSize - 32, 32);
}

// Too small for a window (every read straight from the file), just large enough, the default, larger.
INSTANTIATE_TEST_SUITE_P(BufferSizes, FileWindow, ::testing::Values(4096, 0x40040, 0x80000, 0x2000000));

} // namespace
