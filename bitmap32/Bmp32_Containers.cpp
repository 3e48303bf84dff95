#include "bitmap32/Bmp32_Containers.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cstring>

namespace Bmp32_Containers {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EListError(Format("List index out of bounds (%d)", Index));
}

} // namespace

PPointer TPointerMap::Add(void* NewItem) {
    bool isNew;
    return Add(NewItem, nullptr, isNew);
}

PPointer TPointerMap::Add(void* NewItem, void* NewData) {
    bool isNew;
    return Add(NewItem, NewData, isNew);
}

PPointer TPointerMap::Add(void* NewItem, bool& IsNew) {
    return Add(NewItem, nullptr, IsNew);
}

PPointer TPointerMap::Add(void* NewItem, void* NewData, bool& IsNew) {
    int bucketIndex, itemIndex;
    IsNew = !Exists(NewItem, bucketIndex, itemIndex);
    TPointerBucket& bucket = FBuckets[bucketIndex];
    if (IsNew) {
        const int capacity = static_cast<int>(bucket.Items.size());
        if (bucket.Count == capacity) {
            int delta = capacity > 64 ? capacity / 4 : (capacity > 8 ? 16 : 4);
            bucket.Items.resize(static_cast<std::size_t>(capacity + delta));
        }
        itemIndex = bucket.Count;
        bucket.Items[static_cast<std::size_t>(itemIndex)] = TPointerBucketItem{NewItem, NewData};
        ++bucket.Count;
        ++FCount;
    }
    return &bucket.Items[static_cast<std::size_t>(itemIndex)].Data;
}

void* TPointerMap::Delete(int BucketIndex, int ItemIndex) {
    TPointerBucket& bucket = FBuckets[BucketIndex];
    void* data = bucket.Items[static_cast<std::size_t>(ItemIndex)].Data;
    if (FCount == 0) return data;
    if (bucket.Count == 1) {
        bucket.Items.clear();
        bucket.Items.shrink_to_fit();
    } else {
        std::copy(bucket.Items.begin() + ItemIndex + 1, bucket.Items.begin() + bucket.Count,
                  bucket.Items.begin() + ItemIndex);
    }
    --bucket.Count;
    --FCount;
    return data;
}

void* TPointerMap::Remove(void* Item) {
    int bucketIndex, itemIndex;
    if (Exists(Item, bucketIndex, itemIndex)) return Delete(bucketIndex, itemIndex);
    return nullptr;
}

void TPointerMap::Clear() {
    FCount = 0;
    for (int b = 0; b < 256; ++b) {
        TPointerBucket& bucket = FBuckets[b];
        for (int i = bucket.Count - 1; i >= 0; --i)
            Delete(b, i);
        bucket.Count = 0;
        bucket.Items.clear();
        bucket.Items.shrink_to_fit();
    }
}

bool TPointerMap::Contains(void* Item) const {
    int bucketIndex, itemIndex;
    return Exists(Item, bucketIndex, itemIndex);
}

bool TPointerMap::Find(void* Item, PPointer& Data) {
    int bucketIndex, itemIndex;
    if (!Exists(Item, bucketIndex, itemIndex)) return false;
    Data = &FBuckets[bucketIndex].Items[static_cast<std::size_t>(itemIndex)].Data;
    return true;
}

bool TPointerMap::Exists(void* Item, int& BucketIndex, int& ItemIndex) const {
    BucketIndex = BucketOf(Item);
    const TPointerBucket& bucket = FBuckets[BucketIndex];
    for (ItemIndex = 0; ItemIndex < bucket.Count; ++ItemIndex)
        if (bucket.Items[static_cast<std::size_t>(ItemIndex)].Item == Item) return true;
    ItemIndex = -1;
    return false;
}

void* TPointerMap::GetData(void* Item) const {
    int bucketIndex, itemIndex;
    if (!Exists(Item, bucketIndex, itemIndex))
        throw EListError(Format("Item not found ($0%llx)",
                                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(Item))));
    return FBuckets[bucketIndex].Items[static_cast<std::size_t>(itemIndex)].Data;
}

void TPointerMap::SetData(void* Item, void* NewData) {
    int bucketIndex, itemIndex;
    if (!Exists(Item, bucketIndex, itemIndex))
        throw EListError(Format("Item not found ($0%llx)",
                                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(Item))));
    FBuckets[bucketIndex].Items[static_cast<std::size_t>(itemIndex)].Data = NewData;
}

bool TPointerMapIterator::Next() {
    const TPointerBucket* buckets = FSrcPointerMap->FBuckets;
    if (FCurItemIndex > 0) {
        --FCurItemIndex;
    } else {
        FCurItemIndex = -1;
        // Every bucket, the last one included.
        while (FCurItemIndex == -1 && FCurBucketIndex < 255) {
            ++FCurBucketIndex;
            if (buckets[FCurBucketIndex].Count > 0) FCurItemIndex = buckets[FCurBucketIndex].Count - 1;
        }
        if (FCurItemIndex == -1) return false;
    }
    const TPointerBucketItem& entry = buckets[FCurBucketIndex].Items[static_cast<std::size_t>(FCurItemIndex)];
    FItem = entry.Item;
    FData = entry.Data;
    return true;
}

void TRectList::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit) ListIndexError(Index);
}

void TRectList::Grow() {
    const int capacity = Capacity();
    const int delta = capacity > 128 ? capacity / 4 : (capacity > 8 ? 32 : 8);
    SetCapacity(capacity + delta);
}

int TRectList::Add(const TRect& Rect) {
    if (FCount == Capacity()) Grow();
    FList[static_cast<std::size_t>(FCount)] = Rect;
    return FCount++;
}

void TRectList::Insert(int Index, const TRect& Rect) {
    CheckIndex(Index, FCount + 1);
    if (FCount == Capacity()) Grow();
    std::copy_backward(FList.begin() + Index, FList.begin() + FCount, FList.begin() + FCount + 1);
    FList[static_cast<std::size_t>(Index)] = Rect;
    ++FCount;
}

void TRectList::Delete(int Index) {
    CheckIndex(Index, FCount);
    std::copy(FList.begin() + Index + 1, FList.begin() + FCount, FList.begin() + Index);
    --FCount;
}

int TRectList::Remove(const TRect& Rect) {
    int index = IndexOf(Rect);
    if (index >= 0) Delete(index);
    return index;
}

int TRectList::IndexOf(const TRect& Rect) const {
    for (int i = 0; i < FCount; ++i)
        if (FList[static_cast<std::size_t>(i)] == Rect) return i;
    return -1;
}

void TRectList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1, FCount);
    CheckIndex(Index2, FCount);
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
}

void TRectList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex, FCount);
    CheckIndex(NewIndex, FCount);
    TRect item = FList[static_cast<std::size_t>(CurIndex)];
    Delete(CurIndex);
    Insert(NewIndex, item);
}

TRect* TRectList::Items(int Index) {
    return Index >= 0 && Index < FCount ? &FList[static_cast<std::size_t>(Index)] : nullptr;
}

const TRect* TRectList::Items(int Index) const {
    return Index >= 0 && Index < FCount ? &FList[static_cast<std::size_t>(Index)] : nullptr;
}

void TRectList::Clear() {
    FCount = 0;
    SetCapacity(10);
}

void TRectList::SetCount(int NewCount) {
    if (NewCount < 0) NewCount = 0;
    if (NewCount > Capacity()) SetCapacity(NewCount);
    if (NewCount > FCount) std::fill(FList.begin() + FCount, FList.begin() + NewCount, TRect{});
    FCount = NewCount;
}

void TRectList::SetCapacity(int NewCapacity) {
    if (NewCapacity < 0) NewCapacity = 0;
    FList.resize(static_cast<std::size_t>(NewCapacity));
    FList.shrink_to_fit();
    if (FCount > NewCapacity) FCount = NewCapacity;
}

void TClassList::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit) ListIndexError(Index);
}

int TClassList::Add(TClass AClass) {
    FList.push_back(AClass);
    return Count() - 1;
}

void TClassList::Insert(int Index, TClass AClass) {
    CheckIndex(Index, Count() + 1);
    FList.insert(FList.begin() + Index, AClass);
}

int TClassList::Remove(TClass AClass) {
    int index = IndexOf(AClass);
    if (index >= 0) FList.erase(FList.begin() + index);
    return index;
}

TClass TClassList::Extract(TClass AClass) {
    return Remove(AClass) >= 0 ? AClass : nullptr;
}

int TClassList::IndexOf(TClass AClass) const {
    auto it = std::find(FList.begin(), FList.end(), AClass);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

TClass TClassList::First() const {
    return Items(0);
}

TClass TClassList::Last() const {
    return Items(Count() - 1);
}

TClass TClassList::Items(int Index) const {
    CheckIndex(Index, Count());
    return FList[static_cast<std::size_t>(Index)];
}

void TClassList::SetItems(int Index, TClass AClass) {
    CheckIndex(Index, Count());
    FList[static_cast<std::size_t>(Index)] = AClass;
}

TClass TClassList::Find(const std::string& AClassName) const {
    for (TClass c : FList)
        if (c && AClassName == c->ClassName()) return c;
    return nullptr;
}

void TClassList::GetClassNames(TStrings* Strings) const {
    for (TClass c : FList)
        if (c) Strings->Add(c->ClassName());
}

} // namespace Bmp32_Containers
