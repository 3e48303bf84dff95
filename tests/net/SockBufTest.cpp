#include "net/WSockBuf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(TBuffer, WriteFillsUpToTheSizeAndAFullBlockTakesNothing) {
    TBuffer b(8);
    EXPECT_EQ(b.Write("abcdef", 6), 6);
    EXPECT_EQ(b.Write("ghijkl", 6), 2);
    EXPECT_EQ(b.Write("x", 1), 0);
    EXPECT_EQ(b.GetBufUsed(), 8);
    EXPECT_EQ(b.Write(nullptr, 3), 0);
    EXPECT_EQ(b.Write("x", -1), 0);
}

TEST(TBuffer, SizeZeroOrLessMeans1514) {
    EXPECT_EQ(TBuffer(0).BufSize(), 1514);
    EXPECT_EQ(TBuffer(-5).BufSize(), 1514);
    EXPECT_EQ(TBuffer(1460).BufSize(), 1460);
}

TEST(TBuffer, PeekOfEmptyBlockAndRemoveBeyondUnread) {
    TBuffer b(16);
    int len = 99;
    EXPECT_EQ(b.Peek(len), nullptr);
    EXPECT_EQ(len, 0);
    b.Write("hello", 5);
    EXPECT_EQ(b.Remove(2), 2);
    const char* p = b.Peek(len);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p, static_cast<std::size_t>(len)), "llo");
    EXPECT_EQ(b.Remove(100), 3) << "only what is unread";
    EXPECT_EQ(b.Remove(1), 0);
    EXPECT_EQ(b.WrCount(), 0) << "a consumed block starts again at its beginning";
    EXPECT_EQ(b.RdCount(), 0);
}

TEST(TBuffer, ReadCopiesAndAPartlyReadBlockIsNotCompacted) {
    TBuffer b(10);
    b.Write("0123456789", 10);
    char out[4] = {};
    EXPECT_EQ(b.Read(out, 4), 4);
    EXPECT_EQ(std::string(out, 4), "0123");
    EXPECT_EQ(b.Write("x", 1), 0) << "the read front is not reused until everything is read";
    char rest[16] = {};
    EXPECT_EQ(b.Read(rest, sizeof rest), 6);
    EXPECT_EQ(std::string(rest, 6), "456789");
    EXPECT_EQ(b.Read(rest, sizeof rest), 0);
    EXPECT_EQ(b.Write("ab", 2), 2);
}

TEST(TBuffer, ResizingKeepsUnreadBytesAndRefusesToCutThem) {
    TBuffer b(8);
    b.Write("abcdef", 6);
    b.Remove(2);
    EXPECT_FALSE(b.SetBufSize(4)) << "below the bytes written";
    EXPECT_TRUE(b.SetBufSize(32));
    int len = 0;
    const char* p = b.Peek(len);
    EXPECT_EQ(std::string(p, static_cast<std::size_t>(len)), "cdef");
    EXPECT_EQ(b.Write("0123456789012345678901234567", 28), 26);
}

} // namespace
