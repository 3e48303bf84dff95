#include "platform/vcl/StreamBytes.h"

#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/vcl/GraphicsErrors.h"

namespace vcl_internal {

void StreamRemainder(TStream* stream, std::unique_ptr<std::uint8_t[]>& storage, const std::uint8_t*& data,
                     std::size_t& size) {
    if (!stream) throw EInvalidGraphic("No stream to read the picture from");
    const std::int64_t position = stream->Position();
    const std::int64_t total = stream->Size();
    const std::int64_t remaining = total > position && position >= 0 ? total - position : 0;
    if (remaining > MaxPictureFileBytes)
        throw EInvalidGraphic(
            Format("A picture of %lld bytes is too large", static_cast<long long>(remaining)));
    if (auto* memory = dynamic_cast<TMemoryStream*>(stream)) {
        data = remaining > 0 ? static_cast<const std::uint8_t*>(memory->Memory()) + position : nullptr;
        size = static_cast<std::size_t>(remaining);
        memory->Seek(remaining, soCurrent);
        return;
    }
    // Not cleared first: every byte is read over.
    storage.reset(remaining > 0 ? new std::uint8_t[static_cast<std::size_t>(remaining)] : nullptr);
    if (remaining > 0) stream->ReadBuffer(storage.get(), remaining);
    data = storage.get();
    size = static_cast<std::size_t>(remaining);
}

} // namespace vcl_internal
