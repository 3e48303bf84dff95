// Logical palettes: their table, behind a checked handle like every drawing object.
#include "platform/vcl/Palette.h"

#include "platform/vcl/DcInternal.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

struct TGdiPalette : HGDIOBJ__ {
    TGdiPalette() : HGDIOBJ__(OBJ_PAL) {}
    std::vector<PALETTEENTRY> Entries;
};

} // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries < 1 ||
        palette->palNumEntries > std::size(palette->palPalEntry))
        return nullptr;
    auto* p = new TGdiPalette;
    p->Entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    vcl_internal::RegisterObject(p);
    return p;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    if (!vcl_internal::IsLiveObject(palette) || palette->Type != OBJ_PAL) return 0;
    const auto& table = static_cast<const TGdiPalette*>(palette)->Entries;
    if (!entries) return static_cast<UINT>(table.size());
    if (start >= table.size()) return 0;
    const UINT copied = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
    std::copy_n(table.begin() + start, copied, entries);
    return copied;
}
