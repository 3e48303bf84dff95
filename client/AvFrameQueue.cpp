#include "client/AvFrameQueue.h"

#include <algorithm>

CAvFrameQueue::~CAvFrameQueue() {
    Clear();
}

void CAvFrameQueue::Push(const QelFrameInfo& info, std::span<const BYTE> payload1) {
    auto node = std::make_unique<QelAvFrameNode>();
    const std::size_t n = std::min<std::size_t>(payload1.size(), kQelAvMaxFrameSize);
    node->data.assign(payload1.begin(), payload1.begin() + static_cast<std::ptrdiff_t>(n));
    info.Encode(node->info);
    QelAvFrameNode* raw = node.get();
    if (tail_)
        tail_->next = std::move(node);
    else
        head_ = std::move(node);
    tail_ = raw;
    ++size_;
}

std::unique_ptr<QelAvFrameNode> CAvFrameQueue::PopFront() {
    if (!head_) return nullptr;
    std::unique_ptr<QelAvFrameNode> node = std::move(head_);
    head_ = std::move(node->next);
    if (!head_) tail_ = nullptr;
    --size_;
    return node;
}

void CAvFrameQueue::Clear() {
    // One node at a time: a long chain freed through its own pointers would recurse as deep as it is long.
    while (head_)
        head_ = std::move(head_->next);
    tail_ = nullptr;
    size_ = 0;
}
