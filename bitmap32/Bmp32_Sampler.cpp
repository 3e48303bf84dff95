#include "bitmap32/Bmp32_Sampler.h"

#include <climits>

namespace Bmp32 {

TColor32 TCustomSampler::GetSampleInt(int X, int Y) {
    return GetSampleFixed(Fixed(X), Fixed(Y));
}

TColor32 TCustomSampler::GetSampleFixed(TFixed X, TFixed Y) {
    FInDefaultFixed = true;
    try {
        TColor32 c = GetSampleFloat(X / 65536.0f, Y / 65536.0f);
        FInDefaultFixed = false;
        return c;
    } catch (...) {
        FInDefaultFixed = false;
        throw;
    }
}

TColor32 TCustomSampler::GetSampleFloat(float X, float Y) {
    if (FInDefaultFixed)
        throw EAbstractSampler(ClassName() + " overrides neither GetSampleFixed nor GetSampleFloat");
    return GetSampleFixed(Fixed(X), Fixed(Y));
}

TRect TCustomSampler::GetSampleBounds() {
    return TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
}

} // namespace Bmp32
