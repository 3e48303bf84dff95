// Small containers of the library: a pointer-keyed hash map, a growable rectangle list and a list of
// class references found by name.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"

#include <string>
#include <vector>

namespace Bmp32_Containers {

using PPointer = void**;

struct TPointerBucketItem {
    void* Item = nullptr;
    void* Data = nullptr;
};

struct TPointerBucket {
    int Count = 0;
    std::vector<TPointerBucketItem> Items; // its size is the bucket's capacity
};

// 256 buckets chosen by bits 8..15 of the pointer; entries keep their insertion order in a bucket.
class TPointerMap {
public:
    TPointerMap() = default;
    virtual ~TPointerMap() = default;
    TPointerMap(const TPointerMap&) = delete;
    TPointerMap& operator=(const TPointerMap&) = delete;

    // The Data slot of Item's entry, created (holding NewData) when absent. The slot stays valid until
    // an entry is added to or removed from the same bucket.
    PPointer Add(void* NewItem);
    PPointer Add(void* NewItem, void* NewData);
    PPointer Add(void* NewItem, bool& IsNew);
    PPointer Add(void* NewItem, void* NewData, bool& IsNew);
    // The removed entry's Data, or nullptr when absent.
    void* Remove(void* Item);
    void Clear();
    bool Contains(void* Item) const;
    bool Find(void* Item, PPointer& Data);
    // Raise EListError "Item not found ($0...)" for an absent Item.
    void* GetData(void* Item) const;
    void SetData(void* Item, void* NewData);
    int Count() const { return FCount; }

    static int BucketOf(const void* Item) {
        return static_cast<int>((reinterpret_cast<UINT_PTR>(Item) >> 8) & 0xFF);
    }

protected:
    // Returns the entry's Data. While the map is being cleared (count 0) it only answers the Data, so
    // that descendants can free what the entry holds.
    virtual void* Delete(int BucketIndex, int ItemIndex);
    bool Exists(void* Item, int& BucketIndex, int& ItemIndex) const;

private:
    friend class TPointerMapIterator;
    TPointerBucket FBuckets[256];
    int FCount = 0;
};

// Walks every bucket, each from its last entry to its first.
class TPointerMapIterator {
public:
    explicit TPointerMapIterator(TPointerMap* SrcPointerMap) : FSrcPointerMap(SrcPointerMap) {}
    bool Next();
    void* Item() const { return FItem; }
    void* Data() const { return FData; }

private:
    TPointerMap* FSrcPointerMap;
    void* FItem = nullptr;
    void* FData = nullptr;
    int FCurBucketIndex = -1;
    int FCurItemIndex = -1;
};

// Rectangles in a block of Capacity entries; indexes outside 0..Count-1 raise EListError.
class TRectList {
public:
    TRectList() = default;
    virtual ~TRectList() = default;

    int Add(const TRect& Rect);
    void Insert(int Index, const TRect& Rect);
    void Delete(int Index);
    int Remove(const TRect& Rect);
    int IndexOf(const TRect& Rect) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // nullptr for an index outside 0..Count-1.
    TRect* Items(int Index);
    const TRect* Items(int Index) const;
    // Count 0, capacity 10.
    void Clear();

    int Count() const { return FCount; }
    // Larger: zero-filled rectangles (capacity grown to exactly the count when needed); smaller:
    // removed from the end. A negative count is taken as 0.
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(FList.size()); }
    // Exactly that many entries; a capacity below the count drops the entries past it.
    void SetCapacity(int NewCapacity);
    TRect* List() { return FList.data(); }

protected:
    // Capacity + capacity/4 above 128, + 32 above 8, + 8 otherwise.
    virtual void Grow();

private:
    void CheckIndex(int Index, int Limit) const;
    std::vector<TRect> FList;
    int FCount = 0;
};

// A class reference: the class's name, and whatever its registry needs to create instances.
class TMetaClass {
public:
    explicit constexpr TMetaClass(const char* Name) : FName(Name) {}
    virtual ~TMetaClass() = default;
    const char* ClassName() const { return FName; }

private:
    const char* FName;
};
using TClass = const TMetaClass*;

class TClassList {
public:
    int Add(TClass AClass);
    void Insert(int Index, TClass AClass);
    int Remove(TClass AClass);
    TClass Extract(TClass AClass);
    int IndexOf(TClass AClass) const;
    TClass First() const;
    TClass Last() const;
    TClass Items(int Index) const;
    void SetItems(int Index, TClass AClass);
    int Count() const { return static_cast<int>(FList.size()); }
    // The first class whose name equals Name byte for byte; nullptr when none does.
    TClass Find(const std::string& AClassName) const;
    // Appends every class name in list order.
    void GetClassNames(TStrings* Strings) const;

private:
    void CheckIndex(int Index, int Limit) const;
    std::vector<TClass> FList;
};

} // namespace Bmp32_Containers

using namespace Bmp32_Containers;
