#include "platform/vcl/ImageData.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/GraphicsErrors.h"

#include <cstring>
#include <new>

namespace vcl_internal {

std::shared_ptr<TImageData> TImageData::Create(int width, int height, bool zero) {
    if (width <= 0 || height <= 0 || width > MaxBitmapSide || height > MaxBitmapSide ||
        static_cast<std::int64_t>(width) * height > MaxBitmapPixels)
        throw EOutOfResources(Format("Cannot make a picture of %d x %d pixels", width, height));
    auto data = std::make_shared<TImageData>();
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    data->Pixels.reset(zero ? new (std::nothrow) std::uint32_t[count]()
                            : new (std::nothrow) std::uint32_t[count]);
    if (!data->Pixels)
        throw EOutOfResources(Format("Out of memory for a picture of %d x %d pixels", width, height));
    data->Width = width;
    data->Height = height;
    return data;
}

std::shared_ptr<TImageData> TImageData::Copy() const {
    auto copy = Create(Width, Height, false);
    std::memcpy(copy->Pixels.get(), Pixels.get(), Count() * 4);
    return copy;
}

} // namespace vcl_internal
