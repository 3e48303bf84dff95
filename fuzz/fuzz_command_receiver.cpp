// The command connection's byte stream through its receiver: packets, file announcements and the raw
// file bytes behind them. The same bytes go in once as a socket gives them (reads of at most what the
// receiver asks for, cut again at a size the first byte chooses) and once all at once: both must give
// the same packets and the same stored files, and no partial file may outlive its connection.
#include "formats/CommandReceiver.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Describe(const TReceivedUnit& unit) {
    if (unit.Kind == TReceivedUnit::Packet)
        return "packet " + std::string(unit.packet.bytes.begin(), unit.packet.bytes.end());
    std::string text = "file " + std::to_string(unit.FileKind) + " " + std::to_string(unit.Disk) + " " +
                       std::to_string(unit.Size) + " " + unit.Path;
    if (unit.Stored) {
        const std::string bytes = fuzz::ReadBytes(unit.Path);
        if (bytes.size() != unit.Size) fuzz::Fail("a stored file is not of its announced size");
        std::remove(unit.Path.c_str());
        text += " stored " + bytes;
    }
    return text;
}

void Drain(CCommandReceiver& receiver, std::vector<std::string>& units) {
    TReceivedUnit unit;
    while (receiver.Next(unit)) {
        if (unit.Received > unit.Size && unit.Kind != TReceivedUnit::Packet) fuzz::Fail("file past its size");
        if (unit.Kind == TReceivedUnit::FileProgress) {
            if (unit.Received >= unit.Size) fuzz::Fail("progress of a complete file");
            continue;
        }
        if (unit.Kind == TReceivedUnit::FileDone) {
            if (unit.Received != unit.Size) fuzz::Fail("a file done short of its size");
            if (!unit.Path.empty() && fuzz::Exists(CCommandReceiver::PartialName(unit.Path)))
                fuzz::Fail("a partial file outlived its last byte");
        }
        units.push_back(Describe(unit));
    }
}

void CheckReadSize(const CCommandReceiver& receiver) {
    if (receiver.ReadSize() < 1 || receiver.ReadSize() > CCommandReceiver::kReadSize)
        fuzz::Fail("read size outside 1..4096");
}

// Removes what a cut-off file left and checks that nothing partial stays behind.
void Finish(CCommandReceiver& receiver, const std::string& folder) {
    receiver.Reset();
    for (const char* name : {"config.ini", "schedule.dat", "qeldbfile_hdd.db", "qeldbfile_cf.db",
                             "qeldbfile_sd.db", "loglist.db", "holiday.ini", "info.ini"}) {
        if (fuzz::Exists(CCommandReceiver::PartialName(folder + name))) fuzz::Fail("a partial file stayed");
        std::remove((folder + name).c_str());
    }
    if (receiver.Queued() != 0 || receiver.ReceiveMode() != 0) fuzz::Fail("reset kept state");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t piece = 1 + data[0] * 17;
    ++data;
    --size;
    static const std::string folder = fuzz::ScratchFolder();

    std::vector<std::string> asRead;
    CCommandReceiver reads;
    reads.SetFolder(folder);
    for (std::size_t at = 0; at < size;) {
        CheckReadSize(reads);
        const std::size_t n = std::min({static_cast<std::size_t>(reads.ReadSize()), piece, size - at});
        reads.Append(data + at, n);
        at += n;
        Drain(reads, asRead);
    }
    CheckReadSize(reads);
    Finish(reads, folder);

    std::vector<std::string> atOnce;
    CCommandReceiver whole;
    whole.SetFolder(folder);
    whole.Append(data, size);
    Drain(whole, atOnce);
    Finish(whole, folder);

    if (asRead != atOnce) fuzz::Fail("units depend on how the bytes were cut");
    return 0;
}
