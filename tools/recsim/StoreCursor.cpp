#include "tools/recsim/StoreCursor.h"

#include "platform/core/Exceptions.h"

namespace recsim {

StoreCursor::StoreCursor(std::string storeFolder, std::vector<recgen::StoreRecording> recordings)
    : avfiles_(std::move(storeFolder) + "/avfiles"), recordings_(std::move(recordings)),
      current_(recordings_.size()) {}

bool StoreCursor::Seek(DWORD time, bool eventOnly, DWORD fromSeq) {
    reader_.reset();
    from_ = time;
    eventOnly_ = eventOnly;
    for (current_ = 0; current_ < recordings_.size(); ++current_) {
        const auto& r = recordings_[current_];
        if (r.seq >= fromSeq && r.endTime >= time && (!eventOnly || r.HasEvent())) break;
    }
    return current_ < recordings_.size();
}

bool StoreCursor::OpenCurrent() {
    while (current_ < recordings_.size()) {
        const auto& r = recordings_[current_];
        if (!eventOnly_ || r.HasEvent()) {
            try {
                reader_ = std::make_unique<QelAvFileReader>(avfiles_ + "/" + r.fileName);
                return true;
            } catch (const Exception&) {
            }
        }
        ++current_;
    }
    return false;
}

bool StoreCursor::Next(QelAvFrame& frame) {
    while (current_ < recordings_.size()) {
        if (!reader_ && !OpenCurrent()) return false;
        QelRecordedFrame rec;
        bool got = false;
        try {
            got = reader_->Next(rec);
        } catch (const Exception&) {
            got = false; // a damaged recording ends where it breaks
        }
        if (!got) {
            reader_.reset();
            ++current_;
            continue;
        }
        if (rec.frame.info.frameTime < from_) continue;
        frame = std::move(rec.frame);
        return true;
    }
    return false;
}

} // namespace recsim
