#include "client/QelAvAssembler.h"

#include "client/ByteOrder.h"
#include "client/FormatError.h"

#include <algorithm>

void QelAvFrameAssembler::Reset() {
    headerFill_ = 0;
    body_.clear();
    bodyNeed_ = 0;
}

void QelAvFrameAssembler::Feed(const BYTE* data, std::size_t length) {
    while (length > 0) {
        if (bodyNeed_ == 0) {
            const std::size_t n = std::min(length, kQelAvHeaderSize - headerFill_);
            std::copy_n(data, n, header_.begin() + headerFill_);
            headerFill_ += n;
            data += n;
            length -= n;
            if (headerFill_ < kQelAvHeaderSize) return;
            headerFill_ = 0;
            if (!QelAvFrameHeader::IsValid(header_.data())) {
                bytesSkipped_ += kQelAvHeaderSize;
                continue;
            }
            bodyNeed_ = GetU32(header_.data() + 12); // checked by IsValid: 64..kQelAvMaxFrameSize
            body_.clear();
            body_.reserve(bodyNeed_);
            continue;
        }
        const std::size_t n = std::min(length, bodyNeed_ - body_.size());
        body_.insert(body_.end(), data, data + n);
        data += n;
        length -= n;
        if (body_.size() < bodyNeed_) return;
        bodyNeed_ = 0;
        QelAvFrame frame;
        try {
            frame = QelAvFrame::DecodeBody(body_.data(), body_.size());
        } catch (const EQelFormatError&) {
            ++framesDropped_;
            continue;
        }
        ++framesDecoded_;
        sink_(frame);
    }
}
