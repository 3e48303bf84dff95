// Platform-internal: reading what is left of a stream for the picture loaders, with a size limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class TStream;

namespace vcl_internal {

// Pictures larger than this are refused before any memory is reserved for them.
inline constexpr std::int64_t MaxPictureFileBytes = std::int64_t(256) << 20;

// The bytes from the stream's position to its end, without a copy when the stream is a memory stream
// (data points into it and `storage` stays empty; otherwise `storage` holds them). Raises EInvalidGraphic
// beyond the limit and EReadError when the stream delivers fewer bytes than it announced.
void StreamRemainder(TStream* stream, std::unique_ptr<std::uint8_t[]>& storage, const std::uint8_t*& data,
                     std::size_t& size);

} // namespace vcl_internal
