// The part of a recorded file that the reader holds in memory. Frames are read through blocks of the
// file, so that one read brings many small frames. Headers are copied out of a block; the reader thread
// lends payloads to its rings straight out of one, so that a frame's bytes are copied once, by the file
// read. A block is read again only when every payload lent from it has been freed.
#pragma once

#include "platform/core/Streams.h"
#include "platform/core/Types.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct QelWindowBlock;

// Frees a payload: hands it back to the block it was lent from, or deletes a buffer of its own.
struct QelPayloadDeleter {
    QelPayloadDeleter() = default;
    QelPayloadDeleter(std::default_delete<BYTE[]>) {}
    explicit QelPayloadDeleter(QelWindowBlock* from) : block(from) {}
    void operator()(BYTE* payload) const noexcept;

    QelWindowBlock* block = nullptr;
};
using QelPayload = std::unique_ptr<BYTE[], QelPayloadDeleter>;

class CQelFileWindow {
public:
    CQelFileWindow();
    // Every payload lent must have been freed by then.
    ~CQelFileWindow();
    CQelFileWindow(const CQelFileWindow&) = delete;
    CQelFileWindow& operator=(const CQelFileWindow&) = delete;

    // Blocks of at most `bufferSize` bytes. A size that cannot hold two of the largest frames makes no
    // window: every read then goes to the file. Only while nothing is lent.
    void SetBufferSize(std::size_t bufferSize);
    // Another file: nothing read before stands for it. Payloads lent stay valid.
    void Forget() { current_ = nullptr; }

    // `count` bytes from `pos` into `out`; false when they cannot all be read. The caller keeps
    // pos + count within fileSize.
    bool Read(TFileStream& stream, std::int64_t fileSize, std::int64_t pos, BYTE* out, std::size_t count);
    // `count` bytes (at least 1) from `pos`, valid until freed; nullptr when they cannot all be read.
    QelPayload Lend(TFileStream& stream, std::int64_t fileSize, std::int64_t pos, std::size_t count);

private:
    // Makes the current block hold [pos, pos + count); false when no block can.
    bool Hold(TFileStream& stream, std::int64_t fileSize, std::int64_t pos, std::size_t count);
    QelWindowBlock* FreeBlock();

    std::size_t blockSize_ = 0;
    std::vector<std::unique_ptr<QelWindowBlock>> blocks_;
    QelWindowBlock* current_ = nullptr;
};
