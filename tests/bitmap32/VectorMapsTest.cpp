#include "bitmap32/Bmp32_VectorMaps.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr TFixed One = 0x10000;
constexpr TFixed Half = 0x8000;

TFixedPoint FP(TFixed x, TFixed y) {
    return TFixedPoint{x, y};
}

// A 3 x 2 map holding (10 * index, -index) in whole units.
void Fill(TVectorMap& map) {
    map.SetSize(3, 2);
    for (int i = 0; i < 6; ++i)
        map.Vectors()[i] = FP(i * 10 * One, -i * One);
}

TEST(VectorMap, ResizeZeroesAndAnImpossibleSizeRaises) {
    TVectorMap map;
    Fill(map);
    map.SetSize(2, 3);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(map.Vectors()[i], TFixedPoint{});
    const int big = std::numeric_limits<int>::max();
    try {
        map.SetSize(big, big);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Can't allocate VectorMap!");
    }
    EXPECT_EQ(map.Width(), 2);
    EXPECT_EQ(map.BoundsRect(), (TRect{0, 0, 2, 3}));
}

TEST(VectorMap, CheckedAccessOutsideReadsZeroAndWritesNothing) {
    TVectorMap map;
    Fill(map);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        EXPECT_EQ(map.FixedVectorS(x, y), TFixedPoint{}) << x << "," << y;
        map.SetFixedVectorS(x, y, FP(1, 1));
    }
    EXPECT_EQ(map.FixedVectorS(2, 1), FP(50 * One, -5 * One));
    map.SetFloatVectorS(1, 1, TFloatPoint{1.5f, -0.25f});
    EXPECT_EQ(map.FixedVector(1, 1), FP(One + Half, -One / 4));
    EXPECT_EQ(map.FloatVector(1, 1), (TFloatPoint{1.5f, -0.25f}));
}

TEST(VectorMap, InterpolatedReads) {
    TVectorMap map;
    Fill(map);
    struct Case {
        TFixed x, y;
        TFixedPoint expected;
    };
    const Case cases[] = {
        {Fixed(1), Fixed(1), FP(40 * One, -4 * One)},               // a grid point
        {Half, 0, FP(5 * One, -Half)},                              // between (0,0) and (1,0)
        {Half, Half, FP(20 * One, -2 * One)},                       // the middle of four
        {Fixed(2) + Half, Half, FP(35 * One, -(3 * One + Half))},   // last column repeats itself
        {Fixed(2) + Half, Fixed(1) + Half, FP(50 * One, -5 * One)}, // last corner
        {-1, 0, FP(0, 0)},                                          // integer part -1
        {Fixed(3), 0, FP(0, 0)},
        {0, Fixed(2), FP(0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map.FixedVectorX(c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_EQ(map.FloatVectorF(0.5f, 0.5f), (TFloatPoint{20.0f, -2.0f}));
}

TEST(VectorMap, CheckedInterpolatedReadsTreatOutsideAsZero) {
    TVectorMap map;
    Fill(map);
    // Half-way past the last column blends with a zero neighbour.
    EXPECT_EQ(map.FixedVectorXS(Fixed(2) + Half, 0), FP(10 * One, -One));
    EXPECT_EQ(map.FixedVectorXS(-Half, -Half), FP(0, 0)); // a quarter of (0, 0)
    EXPECT_EQ(map.FixedVectorXS(-Half, Half), FP(15 * One / 2, -(3 * One) / 4));
    EXPECT_EQ(map.FixedVectorXS(Fixed(5), Fixed(5)), FP(0, 0));
    EXPECT_EQ(map.FloatVectorFS(1.0f, 0.0f), (TFloatPoint{10.0f, -1.0f}));
}

TEST(VectorMap, InterpolatedWriteAtAGridPointStoresTheVector) {
    TVectorMap map;
    Fill(map);
    map.SetFixedVectorX(Fixed(1), 0, FP(7 * One, 7 * One));
    EXPECT_EQ(map.FixedVector(1, 0), FP(7 * One, 7 * One));
    // The neighbours take no share.
    EXPECT_EQ(map.FixedVector(2, 0), FP(20 * One, -2 * One));
    EXPECT_EQ(map.FixedVector(1, 1), FP(40 * One, -4 * One));
    EXPECT_EQ(map.FixedVector(2, 1), FP(50 * One, -5 * One));
    // And reads back at the same place.
    EXPECT_EQ(map.FixedVectorX(Fixed(1), 0), FP(7 * One, 7 * One));
}

TEST(VectorMap, InterpolatedWriteBetweenPointsMovesEachAQuarter) {
    TVectorMap map;
    map.SetSize(2, 2);
    map.SetFixedVectorX(Half, Half, FP(4 * One, -8 * One));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(map.Vectors()[i], FP(One, -2 * One)) << i;
    map.SetFloatVectorF(0.0f, 0.0f, TFloatPoint{2.0f, 2.0f});
    EXPECT_EQ(map.FloatVector(0, 0), (TFloatPoint{2.0f, 2.0f}));
}

TEST(VectorMap, CheckedInterpolatedWrites) {
    struct Case {
        TFixed x, y;
        std::vector<int> touched; // indices of a 3 x 2 map
    };
    const Case cases[] = {
        {-Half, -Half, {0}},                                         // only (0, 0) lies inside
        {-One - 1, 0, {}},                                           // below -1.0
        {0, -One - 1, {}},          {Fixed(3), 0, {}},               // integer part at the width
        {0, Fixed(2), {}},          {Fixed(2) + Half, Half, {2, 5}}, // the right-hand neighbours fall outside
        {Half, Half, {0, 1, 3, 4}},                                  // all four inside
    };
    for (const Case& c : cases) {
        TVectorMap map;
        map.SetSize(3, 2);
        map.SetFixedVectorXS(c.x, c.y, FP(4 * One, 4 * One));
        std::vector<int> touched;
        for (int i = 0; i < 6; ++i)
            if (map.Vectors()[i] != TFixedPoint{}) touched.push_back(i);
        EXPECT_EQ(touched, c.touched) << c.x << "," << c.y;
    }
    TVectorMap map;
    map.SetSize(3, 2);
    map.SetFixedVectorXS(-Half, -Half, FP(4 * One, 4 * One));
    EXPECT_EQ(map.FixedVector(0, 0), FP(One, One));
}

TEST(VectorMap, MergeAddsReplacesAndClips) {
    TVectorMap src;
    Fill(src);
    struct Case {
        TVectorCombineMode mode;
        int left, top;
        TRect srcRect;
        // The base's 4 x 3 vectors' X in units after the merge; the base starts at 1 everywhere.
        std::vector<int> x;
    };
    const Case cases[] = {
        {vcmAdd, 1, 1, TRect{0, 0, 3, 2}, {1, 1, 1, 1, 1, 1, 11, 21, 1, 31, 41, 51}},
        {vcmReplace, 0, 0, TRect{1, 0, 3, 1}, {10, 20, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        // Clipped on the left and top: the source skips what fell outside.
        {vcmReplace, -1, -1, TRect{0, 0, 3, 2}, {40, 50, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        // A source rectangle past the source is cut to it.
        {vcmReplace, 2, 2, TRect{-5, 1, 9, 9}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 30, 40}},
        {vcmReplace, 4, 0, TRect{0, 0, 3, 2}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        TVectorMap base;
        base.SetSize(4, 3);
        for (int i = 0; i < 12; ++i)
            base.Vectors()[i] = FP(One, One);
        src.SetVectorCombineMode(c.mode);
        base.Merge(c.left, c.top, &src, c.srcRect);
        std::vector<int> x;
        for (int i = 0; i < 12; ++i)
            x.push_back(base.Vectors()[i].X / One);
        EXPECT_EQ(x, c.x) << int(c.mode) << " at " << c.left << "," << c.top;
    }
}

TEST(VectorMap, MergeCustomSeesProgressFromMinusOneToOne) {
    TVectorMap src, base;
    src.SetSize(3, 2);
    base.SetSize(3, 2);
    src.SetVectorCombineMode(vcmCustom);
    std::vector<TFixedPoint> progress;
    src.OnVectorCombine = [&](const TFixedPoint&, const TFixedPoint& p, TFixedPoint& b) {
        progress.push_back(p);
        b = FP(7, 7);
    };
    base.Merge(0, 0, &src, src.BoundsRect());
    ASSERT_EQ(progress.size(), 6u);
    EXPECT_EQ(progress[0], FP(-One, -One));
    EXPECT_EQ(progress[1], FP(0, -One));
    EXPECT_EQ(progress[2], FP(One, -One));
    EXPECT_EQ(progress[5], FP(One, One));
    EXPECT_EQ(base.FixedVector(2, 1), FP(7, 7));
    // One element wide: the progress stays put instead of dividing by zero.
    progress.clear();
    base.Merge(0, 0, &src, TRect{0, 0, 1, 2});
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress[0], FP(-One, -One));
    EXPECT_EQ(progress[1], FP(-One, One));
}

TEST(VectorMap, MergeOfEmptyMapsRaises) {
    TVectorMap full, empty;
    full.SetSize(2, 2);
    try {
        full.Merge(0, 0, &empty, TRect{0, 0, 1, 1});
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Src is empty!");
    }
    try {
        empty.Merge(0, 0, &full, TRect{0, 0, 1, 1});
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Base is empty!");
    }
}

TEST(VectorMap, TrimmedBoundsHoldEveryNonZeroVector) {
    struct Case {
        std::vector<std::pair<int, int>> set; // on a 5 x 4 map
        TRect expected;
    };
    const Case cases[] = {
        {{}, TRect{}},
        {{{2, 1}}, TRect{2, 1, 3, 2}}, // a single vector
        {{{0, 0}}, TRect{0, 0, 1, 1}},
        {{{4, 3}}, TRect{4, 3, 5, 4}},
        {{{3, 0}, {1, 2}}, TRect{1, 0, 4, 3}},
        {{{4, 1}, {0, 3}}, TRect{0, 1, 5, 4}}, // the extreme columns in other rows
        {{{2, 0}, {2, 3}}, TRect{2, 0, 3, 4}}, // one column
    };
    for (const Case& c : cases) {
        TVectorMap map;
        map.SetSize(5, 4);
        for (auto [x, y] : c.set)
            map.SetFixedVector(x, y, FP(0, y == 0 ? -1 : 1));
        EXPECT_EQ(map.GetTrimmedBounds(), c.expected) << c.set.size();
    }
    TVectorMap empty;
    EXPECT_EQ(empty.GetTrimmedBounds(), TRect{});
}

TEST(VectorMap, CombineModeReportsOnlyChanges) {
    TVectorMap map;
    int changes = 0;
    map.OnChange = [&](TObject*) { ++changes; };
    map.SetVectorCombineMode(vcmAdd);
    EXPECT_EQ(changes, 0);
    map.SetVectorCombineMode(vcmReplace);
    EXPECT_EQ(changes, 1);
    Fill(map);
    changes = 0;
    map.Clear();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(map.GetTrimmedBounds(), TRect{});
}

} // namespace
