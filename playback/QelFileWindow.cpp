#include "playback/QelFileWindow.h"

#include "formats/QelAvFile.h"
#include "formats/QelAvFrame.h"

#include <algorithm>
#include <cstring>

namespace {

// A header and the largest frame payload after it.
constexpr std::int64_t kLargestFrame = static_cast<std::int64_t>(kFrmHdrSize + kQelAvMaxFrameSize);
// Two of the largest frames, in whole pages. Blocks grow no larger: the file read then copies into
// memory that stays in the processor's caches, and a block held by one lent payload pins little.
constexpr std::size_t kBlockSize = (2 * kLargestFrame + 4095) / 4096 * 4096;
// Records in flight pin a few blocks; this many only when a fast speed leaves one record per block.
// Past it payloads are read into buffers of their own.
constexpr std::size_t kMaxBlocks = 16;

bool ReadStraight(TFileStream& stream, std::int64_t pos, BYTE* out, std::size_t count) {
    return stream.Seek(pos, soBeginning) == pos &&
           stream.Read(out, static_cast<int>(count)) == static_cast<int>(count);
}

} // namespace

struct QelWindowBlock {
    explicit QelWindowBlock(std::size_t size) : bytes(std::make_unique_for_overwrite<BYTE[]>(size)) {}
    bool Lent() const { return returned.load(std::memory_order_acquire) != lent; }

    std::unique_ptr<BYTE[]> bytes;
    std::int64_t start = 0;
    std::int64_t fill = 0;
    // Counted by the thread that reads; handed back by whichever thread frees, on a line of its own.
    std::uint64_t lent = 0;
    alignas(64) std::atomic<std::uint64_t> returned{0};
};

void QelPayloadDeleter::operator()(BYTE* payload) const noexcept {
    if (block != nullptr)
        // The bytes are no longer read once this is seen: the block may be read into again.
        block->returned.fetch_add(1, std::memory_order_release);
    else
        delete[] payload;
}

CQelFileWindow::CQelFileWindow() = default;
CQelFileWindow::~CQelFileWindow() = default;

void CQelFileWindow::SetBufferSize(std::size_t bufferSize) {
    current_ = nullptr;
    blocks_.clear();
    blockSize_ =
        bufferSize < static_cast<std::size_t>(2 * kLargestFrame) ? 0 : std::min(bufferSize, kBlockSize);
    if (blockSize_ != 0) blocks_.push_back(std::make_unique<QelWindowBlock>(blockSize_));
}

QelWindowBlock* CQelFileWindow::FreeBlock() {
    // The block just read first: its bytes are still in the caches.
    if (current_ != nullptr && !current_->Lent()) return current_;
    for (const auto& block : blocks_)
        if (!block->Lent()) return block.get();
    if (blocks_.size() >= kMaxBlocks) return nullptr;
    blocks_.push_back(std::make_unique<QelWindowBlock>(blockSize_));
    return blocks_.back().get();
}

bool CQelFileWindow::Hold(TFileStream& stream, std::int64_t fileSize, std::int64_t pos, std::size_t count) {
    const std::int64_t end = pos + static_cast<std::int64_t>(count);
    if (current_ != nullptr && pos >= current_->start && end <= current_->start + current_->fill) return true;
    // Half a block at most, so that a block read for it holds the frame around it too.
    if (blockSize_ == 0 || count > blockSize_ / 2) return false;
    const auto size = static_cast<std::int64_t>(blockSize_);
    // Going backwards, the block ends just past the largest frame that can start here.
    std::int64_t start = pos;
    if (current_ != nullptr && pos < current_->start)
        start = std::max<std::int64_t>(0, end + kLargestFrame - size);
    QelWindowBlock* block = FreeBlock();
    current_ = nullptr;
    if (block == nullptr) return false;
    const std::int64_t length = std::min(size, fileSize - start);
    block->fill = 0;
    if (!ReadStraight(stream, start, block->bytes.get(), static_cast<std::size_t>(length))) return false;
    block->start = start;
    block->fill = length;
    current_ = block;
    return true;
}

bool CQelFileWindow::Read(TFileStream& stream, std::int64_t fileSize, std::int64_t pos, BYTE* out,
                          std::size_t count) {
    if (!Hold(stream, fileSize, pos, count)) return ReadStraight(stream, pos, out, count);
    std::memcpy(out, current_->bytes.get() + (pos - current_->start), count);
    return true;
}

QelPayload CQelFileWindow::Lend(TFileStream& stream, std::int64_t fileSize, std::int64_t pos,
                                std::size_t count) {
    if (count > 0 && Hold(stream, fileSize, pos, count)) {
        ++current_->lent;
        return QelPayload(current_->bytes.get() + (pos - current_->start), QelPayloadDeleter(current_));
    }
    QelPayload own(std::make_unique_for_overwrite<BYTE[]>(std::max<std::size_t>(count, 1)));
    if (count > 0 && !ReadStraight(stream, pos, own.get(), count)) return nullptr;
    return own;
}
