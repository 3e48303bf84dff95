// The frames queued for the step-wise remote playback: oldest first, each with payload 1 and its info
// block. The receiver appends, the transport buttons take them out.
#pragma once

#include "formats/QelAvFrame.h"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

struct QelAvFrameNode {
    std::vector<BYTE> data; // payload 1, at most the largest frame
    BYTE info[kQelFrameInfoSize] = {};
    std::unique_ptr<QelAvFrameNode> next;

    QelFrameInfo Info() const { return QelFrameInfo::Decode(info, kQelFrameInfoSize); }
};

class CAvFrameQueue {
public:
    CAvFrameQueue() = default;
    ~CAvFrameQueue();
    CAvFrameQueue(const CAvFrameQueue&) = delete;
    CAvFrameQueue& operator=(const CAvFrameQueue&) = delete;

    // Copies the info block and payload 1 (never more than the largest frame).
    void Push(const QelFrameInfo& info, std::span<const BYTE> payload1);
    // The oldest node, taken out of the list; nullptr when empty.
    std::unique_ptr<QelAvFrameNode> PopFront();
    const QelAvFrameNode* Head() const { return head_.get(); }
    const QelAvFrameNode* Tail() const { return tail_; }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    void Clear();

private:
    std::unique_ptr<QelAvFrameNode> head_;
    QelAvFrameNode* tail_ = nullptr;
    std::size_t size_ = 0;
};
