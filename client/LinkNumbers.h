// Arithmetic on sizes and counts that come from the recorder: 64-bit, so no 32-bit value from outside
// can overflow it, and no division by a total of 0.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// No recorder takes a setup file anywhere near this; a larger one is not ours.
inline constexpr std::size_t kMaxSetupFileBytes = 16 * 1024 * 1024;

// done * 100 / total, at most 100; nothing when the total is 0.
inline std::optional<int> ProgressPercent(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return std::nullopt;
    const std::uint64_t percent = done >= total ? 100 : done * 100 / total;
    return static_cast<int>(percent);
}

// A backup size in bytes as kilobytes: truncated, but at least 1 for any size above 0.
inline std::uint32_t BackupKilobytes(std::uint32_t bytes) {
    const std::uint32_t kb = bytes / 1024;
    return kb == 0 && bytes != 0 ? 1 : kb;
}
