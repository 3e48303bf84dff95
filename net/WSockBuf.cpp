#include "net/WSockBuf.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kDefaultBlockSize = 1514;
}

TBuffer::TBuffer(int size) {
    SetBufSize(size);
}

bool TBuffer::SetBufSize(int size) {
    if (size <= 0) size = kDefaultBlockSize;
    if (size == FBufSize && Buf) return true;
    if (size < FWrCount) return false;
    auto block = std::make_unique<char[]>(static_cast<std::size_t>(size));
    if (FRdCount != FWrCount && FWrCount > 0)
        std::memcpy(block.get(), Buf.get(), static_cast<std::size_t>(FWrCount));
    if (FRdCount == FWrCount) FRdCount = FWrCount = 0;
    Buf = std::move(block);
    FBufSize = size;
    return true;
}

int TBuffer::Write(const void* data, int len) {
    if (data == nullptr || len <= 0) return 0;
    const int count = std::min(len, FBufSize - FWrCount);
    if (count <= 0) return 0;
    std::memcpy(Buf.get() + FWrCount, data, static_cast<std::size_t>(count));
    FWrCount += count;
    return count;
}

int TBuffer::Read(void* data, int len) {
    if (data == nullptr || len <= 0) return 0;
    const int count = std::min(len, GetBufUsed());
    if (count <= 0) return 0;
    std::memcpy(data, Buf.get() + FRdCount, static_cast<std::size_t>(count));
    Consumed(count);
    return count;
}

const char* TBuffer::Peek(int& len) const {
    len = GetBufUsed();
    return len > 0 ? Buf.get() + FRdCount : nullptr;
}

int TBuffer::Remove(int len) {
    if (len <= 0) return 0;
    const int count = std::min(len, GetBufUsed());
    Consumed(count);
    return count;
}

void TBuffer::Consumed(int len) {
    FRdCount += len;
    if (FRdCount >= FWrCount) FRdCount = FWrCount = 0;
}
