// schedule.dat as the recorder sends it: the modes read from any bytes, the file loaded as the editor
// loads it, and a save that must write the 192 mode bytes and nothing else.
#include "fuzz/FuzzSupport.h"
#include "setup/ScheduleFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ScheduleModes parsed{};
    bool parsedOk = true;
    try {
        parsed = ParseScheduleModes(bytes);
    } catch (const EScheduleFileError&) {
        parsedOk = false;
    }
    for (const auto& row : parsed)
        for (int mode : row)
            if (mode < 0 || mode > kMaxRecordMode) fuzz::Fail("mode outside 0..5");

    static const std::string path = fuzz::ScratchFolder() + "schedule.dat";
    fuzz::WriteBytes(path, bytes);
    ScheduleModes modes{};
    std::string error;
    const ScheduleLoad load = LoadScheduleFile(path, modes, error);
    if ((load == ScheduleLoad::Loaded) != parsedOk || (load == ScheduleLoad::Refused) == error.empty())
        fuzz::Fail("load and parse disagree");
    if (load != ScheduleLoad::Loaded) return 0;
    if (modes != parsed) fuzz::Fail("loaded modes differ from parsed ones");
    if (size <= 1) return 0;

    // Step every mode once and save: the header stays, and the modes read back as saved.
    for (auto& row : modes)
        for (int& mode : row)
            mode = StepModeUp(mode);
    if (!SaveScheduleModes(path, modes)) fuzz::Fail("save");
    const std::string saved = fuzz::ReadBytes(path);
    if (saved.size() != bytes.size() ||
        saved.compare(0, kScheduleHeaderSize, bytes, 0, kScheduleHeaderSize) != 0)
        fuzz::Fail("the save touched bytes outside the modes");
    if (ParseScheduleModes(saved) != modes) fuzz::Fail("saved modes did not read back");
    return 0;
}
