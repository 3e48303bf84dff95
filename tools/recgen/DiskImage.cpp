#include "tools/recgen/DiskImage.h"

#include "formats/ByteOrder.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/disk/Volumes.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace recgen {

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kSector = 512;

// Room for the files, their blocks and the file system's own tables, in whole MiB.
std::uint64_t PartitionSize(const fs::path& folder) {
    std::uint64_t bytes = 0;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ec))
        if (entry.is_regular_file(ec)) bytes += entry.file_size(ec) + 4096;
    const std::uint64_t wanted = std::max<std::uint64_t>(8 * kMiB, bytes + bytes / 2 + 4 * kMiB);
    return (wanted + kMiB - 1) / kMiB * kMiB;
}

void PutPartitionEntry(std::array<BYTE, kSector>& mbr, int index, const DiskPartition& partition) {
    BYTE* entry = mbr.data() + 446 + 16 * index;
    entry[4] = 0x83; // Linux
    PutU32(entry + 8, static_cast<DWORD>(partition.offset / kSector));
    PutU32(entry + 12, static_cast<DWORD>(partition.size / kSector));
}

// An ordinary user's PATH often lacks the system folders that hold it.
std::string Mke2fs() {
    for (const std::string& candidate :
         {volumes::FindProgram("mke2fs"), std::string("/usr/sbin/mke2fs"), std::string("/sbin/mke2fs")})
        if (!candidate.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
    throw EInOutError("mke2fs is not installed (Debian package e2fsprogs)");
}

void MakeExt2(const std::string& image, const std::string& label, const fs::path& content,
              const DiskPartition& partition) {
    const std::string mke2fs = Mke2fs();
    std::string output;
    const int status =
        volumes::RunProgram({mke2fs, "-q", "-F", "-t", "ext2", "-m", "0", "-L", label, "-d", content.string(),
                             "-E", Format("offset=%llu", static_cast<unsigned long long>(partition.offset)),
                             image, Format("%lluk", static_cast<unsigned long long>(partition.size / 1024))},
                            output);
    if (status != 0) throw EInOutError("mke2fs " + label + ": " + output);
}

} // namespace

DiskImageLayout WriteRecorderDiskImage(const std::string& storeFolder, const std::string& image) {
    const fs::path store(storeFolder);
    DiskImageLayout layout;
    layout.database = {kMiB, PartitionSize(store / "infofiles")};
    layout.recordings = {layout.database.offset + layout.database.size, PartitionSize(store / "avfiles")};
    std::array<BYTE, kSector> mbr{};
    PutPartitionEntry(mbr, 0, layout.database);
    PutPartitionEntry(mbr, 1, layout.recordings);
    mbr[510] = 0x55;
    mbr[511] = 0xAA;
    {
        std::ofstream out(image, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(mbr.data()), static_cast<std::streamsize>(mbr.size()));
        if (!out) throw EInOutError("Cannot write " + image);
    }
    std::error_code ec;
    fs::resize_file(image, layout.recordings.offset + layout.recordings.size, ec);
    if (ec) throw EInOutError("Cannot size " + image + ": " + ec.message());
    MakeExt2(image, "infofiles", store / "infofiles", layout.database);
    MakeExt2(image, "avfiles", store / "avfiles", layout.recordings);
    return layout;
}

} // namespace recgen
