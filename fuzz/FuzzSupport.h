// What several fuzz targets share: a scratch folder for the files a parser must read from disk, whole
// file reads and writes, and a headless Qt for the targets that draw or load forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// A folder of this process (ends with '/'), made on first use under /dev/shm when it exists, so that
// files cost no disk, and removed at exit. The program folder and the registry file are in it too.
const std::string& ScratchFolder();

void WriteBytes(const std::string& path, std::string_view bytes);
inline void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
}
// The whole file; "" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// Qt on its offscreen platform: called from LLVMFuzzerInitialize, before anything touches Qt.
void UseHeadlessQt();

// Stops the run with a message when a property the target checks does not hold.
[[noreturn]] void Fail(const char* what);

} // namespace fuzz
