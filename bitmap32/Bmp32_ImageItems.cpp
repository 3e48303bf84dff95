// TBitmap32Item, TBitmap32Collection and TBitmap32List: bitmaps kept in a list by a component.
#include "bitmap32/Bmp32_Image.h"

#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"

#include <algorithm>

namespace Bmp32_Image {

namespace {
[[noreturn]] void ListIndexError(int Index) {
    throw EListError(Format("List index out of bounds (%d)", Index));
}
} // namespace

TBitmap32Item::TBitmap32Item(TBitmap32Collection* Collection)
    : FCollection(Collection), FBitmap(std::make_unique<TBitmap32>()) {}

TBitmap32Item::~TBitmap32Item() = default;

int TBitmap32Item::Index() const {
    if (!FCollection) return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->FItems[static_cast<std::size_t>(i)].get() == this) return i;
    return -1;
}

void TBitmap32Item::AssignTo(TPersistent* Dest) const {
    if (auto* item = dynamic_cast<TBitmap32Item*>(Dest)) {
        item->FBitmap->Assign(FBitmap.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}

TBitmap32Collection::~TBitmap32Collection() = default;

TBitmap32Item* TBitmap32Collection::Add() {
    FItems.push_back(std::make_unique<TBitmap32Item>(this));
    return FItems.back().get();
}

TBitmap32Item* TBitmap32Collection::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    return FItems.insert(FItems.begin() + Index, std::make_unique<TBitmap32Item>(this))->get();
}

void TBitmap32Collection::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

void TBitmap32Collection::Clear() {
    FItems.clear();
}

TBitmap32Item* TBitmap32Collection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TBitmap32Collection::Assign(const TPersistent* Source) {
    auto* source = dynamic_cast<const TBitmap32Collection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    Clear();
    for (const auto& item : source->FItems)
        Add()->Assign(item.get());
}

TBitmap32List::TBitmap32List(TComponent* AOwner)
    : TComponent(AOwner), FBitmaps(std::make_unique<TBitmap32Collection>(this)) {}

TBitmap32List::~TBitmap32List() = default;

bool TBitmap32List::ReadProperty(TPropertyReader& Reader) {
    if (!Reader.Is("Bitmaps")) return TComponent::ReadProperty(Reader);
    const TDfmValue& value = Reader.Value();
    if (value.kind != TDfmValue::Collection) Reader.Fail("a collection of bitmaps expected");
    FBitmaps->Clear();
    for (const auto& properties : value.collection) {
        TBitmap32* bitmap = FBitmaps->Add()->Bitmap();
        for (const TDfmProperty& property : properties) {
            if (!SameText(property.name, "Bitmap.Data"))
                Reader.Fail("unknown item property '" + property.name + "'");
            if (property.value.kind != TDfmValue::Binary) Reader.Fail("binary data expected");
            TStringStream stream(property.value.text);
            try {
                bitmap->ReadData(&stream);
            } catch (const EReadError& e) {
                Reader.Fail(e.Message);
            }
        }
    }
    return true;
}

} // namespace Bmp32_Image
