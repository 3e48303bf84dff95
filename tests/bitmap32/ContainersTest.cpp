#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

void* Ptr(std::uintptr_t v) {
    return reinterpret_cast<void*>(v);
}

TEST(PointerMap, BucketsAddFindRemoveAndClear) {
    TPointerMap map;
    // 0x1200, 0x5200 and 0xABCD12FF share bucket 0x12; 0xFF00 lands in the last bucket.
    bool isNew = false;
    *map.Add(Ptr(0x1200), isNew) = Ptr(1);
    EXPECT_TRUE(isNew);
    map.Add(Ptr(0x5200), Ptr(2));
    map.Add(Ptr(0xABCD1200), Ptr(3), isNew);
    EXPECT_TRUE(isNew);
    PPointer slot = map.Add(Ptr(0x5200), Ptr(99), isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(*slot, Ptr(2)); // an existing entry keeps its data
    map.Add(Ptr(0xFF00), Ptr(4));
    EXPECT_EQ(map.Count(), 4);
    EXPECT_EQ(TPointerMap::BucketOf(Ptr(0xABCD1234)), 0x12);
    EXPECT_TRUE(map.Contains(Ptr(0xABCD1200)));
    EXPECT_FALSE(map.Contains(Ptr(0x1201)));

    EXPECT_EQ(map.Remove(Ptr(0x5200)), Ptr(2)); // the middle entry of the bucket
    EXPECT_EQ(map.Remove(Ptr(0x5200)), nullptr);
    EXPECT_EQ(map.GetData(Ptr(0x1200)), Ptr(1));
    EXPECT_EQ(map.GetData(Ptr(0xABCD1200)), Ptr(3));
    TPointerMapIterator order(&map);
    std::vector<void*> items;
    while (order.Next())
        items.push_back(order.Item());
    // Buckets in order, each from its last entry back to its first.
    EXPECT_EQ(items, (std::vector<void*>{Ptr(0xABCD1200), Ptr(0x1200), Ptr(0xFF00)}));

    PPointer found = nullptr;
    EXPECT_TRUE(map.Find(Ptr(0xFF00), found));
    *found = Ptr(44);
    EXPECT_EQ(map.GetData(Ptr(0xFF00)), Ptr(44));
    map.SetData(Ptr(0x1200), Ptr(11));
    EXPECT_EQ(map.GetData(Ptr(0x1200)), Ptr(11));
    try {
        map.GetData(Ptr(0x1234));
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Item not found ($01234)");
    }
    EXPECT_THROW(map.SetData(Ptr(0x77), nullptr), EListError);
    map.Clear();
    EXPECT_EQ(map.Count(), 0);
    TPointerMapIterator none(&map);
    EXPECT_FALSE(none.Next());
}

// Delete hands each entry's data to the descendant while clearing, once per entry.
class OwningMap : public TPointerMap {
public:
    std::multiset<void*> freed;

protected:
    void* Delete(int BucketIndex, int ItemIndex) override {
        void* data = TPointerMap::Delete(BucketIndex, ItemIndex);
        freed.insert(data);
        return data;
    }
};

TEST(PointerMap, IteratorVisitsEveryEntryAndClearFreesEachOnce) {
    OwningMap map;
    std::set<void*> added;
    for (std::uintptr_t i = 0; i < 1000; ++i) {
        void* p = Ptr(0x10000 + i * 0x101);
        map.Add(p, p);
        added.insert(p);
    }
    EXPECT_EQ(map.Count(), 1000);
    std::set<void*> seen;
    TPointerMapIterator it(&map);
    while (it.Next()) {
        EXPECT_EQ(it.Item(), it.Data());
        seen.insert(it.Item());
    }
    EXPECT_EQ(seen, added);
    EXPECT_TRUE(
        std::any_of(seen.begin(), seen.end(), [](void* p) { return TPointerMap::BucketOf(p) == 255; }));
    map.Clear();
    EXPECT_EQ(map.freed.size(), 1000u);
    EXPECT_EQ(std::set<void*>(map.freed.begin(), map.freed.end()), added);
}

TEST(RectList, GrowthAndCapacity) {
    struct {
        int from, to;
    } const growth[] = {{0, 8}, {8, 16}, {9, 41}, {128, 160}, {200, 250}};
    for (const auto& g : growth) {
        TRectList list;
        list.SetCapacity(g.from);
        list.SetCount(g.from);
        list.Add(TRect{1, 2, 3, 4});
        EXPECT_EQ(list.Capacity(), g.to) << g.from;
        EXPECT_EQ(list.Count(), g.from + 1);
    }
    TRectList list;
    list.SetCount(3);
    EXPECT_EQ(list.Capacity(), 3);
    EXPECT_EQ(*list.Items(2), TRect{});
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 10);
    list.SetCount(-4);
    EXPECT_EQ(list.Count(), 0);
    list.SetCount(5);
    list.SetCapacity(2);
    EXPECT_EQ(list.Count(), 2);
}

TEST(RectList, EditingAndIndexErrors) {
    TRectList list;
    const TRect a{0, 0, 1, 1}, b{1, 1, 2, 2}, c{2, 2, 3, 3}, d{3, 3, 4, 4};
    EXPECT_EQ(list.Add(a), 0);
    EXPECT_EQ(list.Add(c), 1);
    list.Insert(1, b);
    list.Insert(3, d);
    EXPECT_EQ(list.IndexOf(c), 2);
    list.Exchange(0, 3);
    EXPECT_EQ(*list.Items(0), d);
    list.Move(0, 2);
    EXPECT_EQ((std::vector<TRect>{*list.Items(0), *list.Items(1), *list.Items(2), *list.Items(3)}),
              (std::vector<TRect>{b, c, d, a}));
    EXPECT_EQ(list.Remove(c), 1);
    EXPECT_EQ(list.Remove(c), -1);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(2), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
    EXPECT_THROW(list.Delete(2), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Exchange(0, 5), EListError);
    EXPECT_THROW(list.Insert(4, a), EListError);
    EXPECT_THROW(list.Move(0, 9), EListError);
    EXPECT_EQ(list.Count(), 2);
}

class TOtherClass : public TMetaClass {
public:
    using TMetaClass::TMetaClass;
};

TEST(ClassList, FindIsCaseSensitive) {
    const TOtherClass one("TOne"), two("TTwo");
    TClassList list;
    list.Add(&one);
    list.Add(&two);
    list.Insert(0, &TNearestResampler::ClassRef);
    EXPECT_EQ(list.Find("TNearestResampler"), &TNearestResampler::ClassRef);
    EXPECT_EQ(list.Find("tnearestresampler"), nullptr);
    EXPECT_EQ(list.First(), &TNearestResampler::ClassRef);
    EXPECT_EQ(list.Last(), &two);
    TStringList names;
    names.Add("first");
    list.GetClassNames(&names);
    EXPECT_EQ(names.Text(), "first\r\nTNearestResampler\r\nTOne\r\nTTwo\r\n");
    EXPECT_EQ(list.Extract(&one), &one);
    EXPECT_EQ(list.Extract(&one), nullptr);
    EXPECT_EQ(list.IndexOf(&two), 1);
    EXPECT_THROW(list.Items(2), EListError);
    TClassList empty;
    EXPECT_THROW(empty.First(), EListError);
    ASSERT_NE(ResamplerList(), nullptr);
    EXPECT_EQ(ResamplerList()->Find("TNearestResampler"), &TNearestResampler::ClassRef);
}

} // namespace
