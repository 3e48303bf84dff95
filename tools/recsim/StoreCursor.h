// Reads the frames of the recording store in time order across its recordings, for the searched and
// the backup streams.
#pragma once

#include "formats/QelAvFile.h"
#include "tools/recgen/RecordingStore.h"

#include <memory>
#include <string>
#include <vector>

namespace recsim {

class StoreCursor {
public:
    StoreCursor(std::string storeFolder, std::vector<recgen::StoreRecording> recordings);

    // Positions at the first frame at or after `time` of the first recording (from seq `fromSeq` on,
    // only those with events when `eventOnly`) that ends at or after `time`. False when there is none.
    bool Seek(DWORD time, bool eventOnly = false, DWORD fromSeq = 0);
    // The next frame; false after the last recording. A recording that cannot be read is passed over.
    bool Next(QelAvFrame& frame);

private:
    bool OpenCurrent();

    std::string avfiles_;
    std::vector<recgen::StoreRecording> recordings_;
    std::size_t current_ = 0;
    DWORD from_ = 0;
    bool eventOnly_ = false;
    std::unique_ptr<QelAvFileReader> reader_;
};

} // namespace recsim
