// One block of a socket's send queue: bytes are written at the end and consumed from the front. A fully
// consumed block starts again at its beginning; a partly consumed one is never compacted.
#pragma once

#include <memory>

class TBuffer {
public:
    // A size of 0 or less means 1514 bytes.
    explicit TBuffer(int size);
    TBuffer(const TBuffer&) = delete;
    TBuffer& operator=(const TBuffer&) = delete;

    // Copies as much as fits; returns the count (0 when the block is full).
    int Write(const void* data, int len);
    // Copies out at most len unread bytes; returns the count (0 when empty).
    int Read(void* data, int len);
    // The first unread byte and, in len, how many follow; nullptr and 0 when empty.
    const char* Peek(int& len) const;
    // Consumes at most len unread bytes without copying; returns the count.
    int Remove(int len);
    int GetBufUsed() const { return FWrCount - FRdCount; }
    // Keeps the unread bytes; a size below the bytes written is refused (false).
    bool SetBufSize(int size);

    int BufSize() const { return FBufSize; }
    int WrCount() const { return FWrCount; }
    int RdCount() const { return FRdCount; }

private:
    void Consumed(int len);

    std::unique_ptr<char[]> Buf;
    int FBufSize = 0;
    int FWrCount = 0;
    int FRdCount = 0;
};
