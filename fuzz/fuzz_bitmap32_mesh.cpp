// A mesh file as it would come from disk: read, written back and read again, and the vectors put
// through the interpolated reads and writes, the trimmed bounds and a merge, so that whatever size the
// header claims is exercised end to end.
#include "bitmap32/Bmp32_VectorMaps.h"
#include "platform/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TStringStream in(std::string(reinterpret_cast<const char*>(data), size));
    TVectorMap map;
    try {
        map.LoadFromStream(&in);
    } catch (const Exception&) {
        return 0;
    }
    // A loaded map holds no more vectors than the input had bytes for.
    if (static_cast<std::size_t>(map.Width()) * map.Height() * 8 + MeshHeaderSize > size) std::abort();

    // After one pass through floats a second pass changes nothing.
    TStringStream first;
    map.SaveToStream(&first);
    TStringStream again(first.DataString());
    TVectorMap reread;
    reread.LoadFromStream(&again);
    TStringStream second;
    reread.SaveToStream(&second);
    if (first.DataString() != second.DataString()) std::abort();

    const TRect trimmed = map.GetTrimmedBounds();
    if (!map.Empty() && !IsRectEmpty(trimmed) &&
        (trimmed.Left < 0 || trimmed.Top < 0 || trimmed.Right > map.Width() || trimmed.Bottom > map.Height()))
        std::abort();
    if (map.Empty()) return 0;
    const TFixedPoint v = map.Vectors()[0];
    map.FixedVectorX(v.X, v.Y);
    map.FixedVectorXS(v.X, v.Y);
    map.SetFixedVectorXS(v.Y, v.X, v);
    TVectorMap base;
    base.SetSize(5, 4);
    map.SetVectorCombineMode(static_cast<TVectorCombineMode>(static_cast<unsigned>(v.X) % 2));
    base.Merge(v.X % 7 - 3, v.Y % 7 - 3, &map, TRect{v.Y % 5, v.X % 5, 9, 9});
    return 0;
}
