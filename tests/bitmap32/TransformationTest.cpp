#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

namespace {

void ExpectMatrixNear(const TFloatMatrix& got, const TFloatMatrix& want, float tol, const std::string& what) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(got[i][j], want[i][j], tol) << what << " [" << i << "," << j << "]";
}

TFloatMatrix M(float a, float b, float c, float d, float e, float f, float g, float h, float i) {
    return TFloatMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

TEST(TransformMatrix, DeterminantTable) {
    struct {
        const char* what;
        TFloatMatrix m;
        float det;
    } const cases[] = {
        {"identity", IdentityMatrix, 1},
        {"scale 2,3", M(2, 0, 0, 0, 3, 0, 0, 0, 1), 6},
        {"translation does not count", M(1, 0, 0, 0, 1, 0, 50, -7, 1), 1},
        {"general", M(2, -3, 1, 2, 0, -1, 1, 4, 5), 49},
        {"singular rows", M(1, 2, 3, 2, 4, 6, 0, 0, 1), 0},
        {"mirror", M(-1, 0, 0, 0, 1, 0, 0, 0, 1), -1},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(Determinant(c.m), c.det) << c.what;
}

TEST(TransformMatrix, AdjointIsTheTransposedCofactors) {
    TFloatMatrix m = M(2, -3, 1, 2, 0, -1, 1, 4, 5);
    Adjoint(m);
    // Cofactor C[i][j] lands at [j][i].
    ExpectMatrixNear(m, M(4, 19, 3, -11, 9, 4, 8, -11, 6), 0, "adjugate");
}

TEST(TransformMatrix, InverseTimesMatrixIsIdentity) {
    const TFloatMatrix cases[] = {
        M(2, 0, 0, 0, 3, 0, 0, 0, 1),
        M(2, -3, 1, 2, 0, -1, 1, 4, 5),
        M(0.5f, 0.25f, 0, -0.25f, 0.5f, 0, 10, 20, 1),
        M(1, 0, 0.001f, 0, 1, 0.002f, 3, 4, 1),
    };
    for (const auto& m : cases) {
        TFloatMatrix inv = m;
        Invert(inv);
        ExpectMatrixNear(Mult(m, inv), IdentityMatrix, 1e-5f, "inv then m");
        ExpectMatrixNear(Mult(inv, m), IdentityMatrix, 1e-5f, "m then inv");
    }
}

TEST(TransformMatrix, SingularAndBrokenMatricesInvertToIdentity) {
    const float nan = std::nanf("");
    const float inf = INFINITY;
    struct {
        const char* what;
        TFloatMatrix m;
    } const cases[] = {
        {"zero scale", M(0, 0, 0, 0, 1, 0, 0, 0, 1)},
        {"all zero", TFloatMatrix{}},
        {"rows dependent", M(1, 2, 3, 2, 4, 6, 0, 0, 1)},
        {"determinant just below the limit", M(0.003f, 0, 0, 0, 0.003f, 0, 0, 0, 1)},
        {"NaN entry", M(nan, 0, 0, 0, 1, 0, 0, 0, 1)},
        {"infinite entry", M(inf, 0, 0, 0, 1, 0, 0, 0, 1)},
    };
    for (const auto& c : cases) {
        TFloatMatrix m = c.m;
        Invert(m);
        ExpectMatrixNear(m, IdentityMatrix, 0, c.what);
    }
    // Just above the limit still inverts.
    TFloatMatrix m = M(0.004f, 0, 0, 0, 0.004f, 0, 0, 0, 1);
    Invert(m);
    EXPECT_NEAR(m[0][0], 250, 1e-2);
}

TEST(TransformMatrix, MultAppliesTheSecondFirst) {
    const TFloatMatrix translate = M(1, 0, 0, 0, 1, 0, 10, 0, 1);
    const TFloatMatrix scale = M(2, 0, 0, 0, 2, 0, 0, 0, 1);
    // Mult(scale, translate): translate, then scale: (1, 1) -> (11, 1) -> (22, 2).
    TVector3f v = VectorTransform(Mult(scale, translate), {1, 1, 1});
    EXPECT_FLOAT_EQ(v[0], 22);
    EXPECT_FLOAT_EQ(v[1], 2);
    v = VectorTransform(Mult(translate, scale), {1, 1, 1});
    EXPECT_FLOAT_EQ(v[0], 12);
    EXPECT_FLOAT_EQ(v[1], 2);
    ExpectMatrixNear(Mult(M(2, -3, 1, 2, 0, -1, 1, 4, 5), M(1, 2, 0, 0, 1, 3, 4, 0, 1)),
                     M(6, -3, -1, 5, 12, 14, 9, -8, 9), 0, "general product");
}

TEST(TransformMatrix, FixedAndFloatCopies) {
    const TFloatMatrix m = M(1.5f, -0.25f, 0, 1.0f / 3, 2, 0, -100.5f, 7, 1);
    const TFixedMatrix f = FixedMatrix(m);
    EXPECT_EQ(f[0][0], 98304);
    EXPECT_EQ(f[0][1], -16384);
    EXPECT_EQ(f[1][0], 21845);
    EXPECT_EQ(f[2][0], -100 * 65536 - 32768);
    EXPECT_EQ(f[2][2], 65536);
    ExpectMatrixNear(FloatMatrix(f), m, 1.0f / 65536, "round trip");
    // Out-of-range values saturate rather than wrap.
    EXPECT_EQ(FixedMatrix(M(1e9f, 0, 0, 0, -1e9f, 0, 0, 0, 1))[0][0], INT32_MAX);
    EXPECT_EQ(FixedMatrix(M(1e9f, 0, 0, 0, -1e9f, 0, 0, 0, 1))[1][1], INT32_MIN);
}

TEST(AffineTransformation, CompositionsMapKnownPoints) {
    struct {
        const char* what;
        std::function<void(TAffineTransformation&)> build;
        TFloatPoint in, out;
    } const cases[] = {
        {"fresh is identity", [](auto&) {}, {3, 4}, {3, 4}},
        {"rotate 90 about origin", [](auto& t) { t.Rotate(0, 0, 90); }, {1, 0}, {0, -1}},
        {"rotate 90 about (5,5)", [](auto& t) { t.Rotate(5, 5, 90); }, {6, 5}, {5, 4}},
        {"rotate 180", [](auto& t) { t.Rotate(0, 0, 180); }, {2, 3}, {-2, -3}},
        {"translate", [](auto& t) { t.Translate(10, -2); }, {1, 1}, {11, -1}},
        {"scale", [](auto& t) { t.Scale(2, 0.5f); }, {3, 4}, {6, 2}},
        {"skew", [](auto& t) { t.Skew(0.5f, 0.25f); }, {4, 2}, {5, 3}},
        {"translate then scale", [](auto& t) { t.Translate(1, 0), t.Scale(2, 2); }, {1, 1}, {4, 2}},
        {"scale then translate", [](auto& t) { t.Scale(2, 2), t.Translate(1, 0); }, {1, 1}, {3, 2}},
        {"clear forgets", [](auto& t) { t.Scale(5, 5), t.Clear(); }, {1, 2}, {1, 2}},
    };
    for (const auto& c : cases) {
        TAffineTransformation t;
        c.build(t);
        const TFloatPoint p = t.Transform(c.in);
        EXPECT_NEAR(p.X, c.out.X, 1e-5) << c.what;
        EXPECT_NEAR(p.Y, c.out.Y, 1e-5) << c.what;
        // The fixed form agrees to a unit or two.
        const TFixedPoint fp = t.Transform(FixedPoint(c.in));
        EXPECT_NEAR(fp.X, c.out.X * 65536, 2) << c.what;
        EXPECT_NEAR(fp.Y, c.out.Y * 65536, 2) << c.what;
    }
}

TEST(AffineTransformation, ReverseUndoesForward) {
    const std::function<void(TAffineTransformation&)> builds[] = {
        [](auto& t) { t.Rotate(0, 0, 30); },
        [](auto& t) { t.Rotate(17, -3, 123.5f), t.Translate(4.25f, 9); },
        [](auto& t) { t.Scale(3, 0.5f), t.Skew(0.2f, -0.1f), t.Translate(-40, 12); },
        [](auto& t) { t.Scale(-1, 1); },
    };
    const TFloatPoint points[] = {{0, 0}, {1, 0}, {-13.5f, 7.25f}, {100, -250}, {0.001f, 999}};
    for (std::size_t b = 0; b < std::size(builds); ++b) {
        TAffineTransformation t;
        builds[b](t);
        for (const auto& p : points) {
            const TFloatPoint back = t.ReverseTransform(t.Transform(p));
            EXPECT_NEAR(back.X, p.X, 1e-3 * (1 + std::fabs(p.X))) << b;
            EXPECT_NEAR(back.Y, p.Y, 1e-3 * (1 + std::fabs(p.Y))) << b;
            const TFixedPoint fp = FixedPoint(p);
            const TFixedPoint fback = t.ReverseTransform(t.Transform(fp));
            // Fixed matrices round each entry: the error grows with the distance from the origin.
            const double tol = 64 + (std::fabs(p.X) + std::fabs(p.Y)) * 4;
            EXPECT_NEAR(fback.X, fp.X, tol) << b;
            EXPECT_NEAR(fback.Y, fp.Y, tol) << b;
        }
    }
}

TEST(AffineTransformation, ZeroScaleReversesAsIdentity) {
    TAffineTransformation t;
    t.Scale(0, 2);
    EXPECT_EQ(t.ReverseTransform(TPoint{7, -3}), (TPoint{7, -3}));
    const TFloatPoint f = t.ReverseTransform(TFloatPoint{2.5f, 1});
    EXPECT_FLOAT_EQ(f.X, 2.5f);
    EXPECT_FLOAT_EQ(f.Y, 1);
    EXPECT_EQ(t.ReverseTransform(FixedPoint(3, 4)), FixedPoint(3, 4));
}

TEST(AffineTransformation, EveryChangeInvalidatesAndEntryPointsPrepare) {
    TAffineTransformation t;
    int changes = 0;
    t.OnChange = [&](TObject*) { ++changes; };
    EXPECT_FALSE(t.TransformValid());
    t.Transform(TPoint{0, 0});
    EXPECT_TRUE(t.TransformValid());
    t.Translate(5, 0);
    EXPECT_FALSE(t.TransformValid());
    EXPECT_EQ(t.Transform(TPoint{1, 1}), (TPoint{6, 1}));
    t.SetSrcRect(FloatRect(0, 0, 4, 4));
    EXPECT_FALSE(t.TransformValid());
    t.Rotate(1, 1, 45);
    EXPECT_EQ(changes, 5); // Translate 1, SetSrcRect 1, Rotate with a centre 3 (two translations)
}

TEST(AffineTransformation, BoundsOfRotatedRectangles) {
    struct {
        const char* what;
        std::function<void(TAffineTransformation&)> build;
        TFloatRect src;
        TRect want;
    } const cases[] = {
        // The pixels at integer positions from the smallest to the largest mapped coordinate.
        {"identity includes the far edge", [](auto&) {}, {0, 0, 10, 5}, {0, 0, 11, 6}},
        {"mirror keeps the column the near edge lands on",
         [](auto& t) { t.Scale(-1, 1), t.Translate(10, 0); },
         {0, 0, 10, 5},
         {0, 0, 11, 6}},
        {"fractions", [](auto&) {}, {0.5f, 1.5f, 9.5f, 2.5f}, {0, 1, 10, 3}},
        {"rotate 90 about origin",
         [](auto& t) { t.Rotate(0, 0, 90); },
         {0.2f, 0.2f, 10.2f, 5.2f},
         {0, -11, 6, 0}},
        {"rotate 45 about centre", [](auto& t) { t.Rotate(5, 5, 45); }, {0, 0, 10, 10}, {-3, -3, 13, 13}},
        {"scale and translate",
         [](auto& t) { t.Scale(2, 3), t.Translate(1, 1); },
         {1, 1, 3, 2},
         {3, 4, 8, 8}},
        {"huge coordinates saturate",
         [](auto& t) { t.Scale(1e12f, 1); },
         {-1, 0, 1, 1},
         {INT32_MIN, 0, INT32_MAX, 2}},
    };
    for (const auto& c : cases) {
        TAffineTransformation t;
        c.build(t);
        t.SetSrcRect(c.src);
        EXPECT_EQ(t.GetTransformedBounds(), c.want) << c.what;
    }
}

TEST(ProjectiveTransformation, CornersAndRoundTrips) {
    struct {
        const char* what;
        TFloatRect src;
        float x[4], y[4];
    } const cases[] = {
        {"unit square identity", {0, 0, 1, 1}, {0, 1, 1, 0}, {0, 0, 1, 1}},
        {"parallelogram", {0, 0, 10, 10}, {5, 25, 35, 15}, {0, 0, 20, 20}},
        {"trapezoid", {0, 0, 100, 50}, {20, 80, 100, 0}, {0, 0, 50, 50}},
        {"general quad, offset source", {10, 20, 110, 70}, {3, 90, 120, -5}, {7, -4, 60, 80}},
    };
    for (const auto& c : cases) {
        TProjectiveTransformation t;
        t.SetSrcRect(c.src);
        t.SetX0(c.x[0]), t.SetX1(c.x[1]), t.SetX2(c.x[2]), t.SetX3(c.x[3]);
        t.SetY0(c.y[0]), t.SetY1(c.y[1]), t.SetY2(c.y[2]), t.SetY3(c.y[3]);
        const TFloatPoint corners[4] = {{c.src.Left, c.src.Top},
                                        {c.src.Right, c.src.Top},
                                        {c.src.Right, c.src.Bottom},
                                        {c.src.Left, c.src.Bottom}};
        for (int k = 0; k < 4; ++k) {
            const TFloatPoint d = t.Transform(corners[k]);
            EXPECT_NEAR(d.X, c.x[k], 1e-3) << c.what << " corner " << k;
            EXPECT_NEAR(d.Y, c.y[k], 1e-3) << c.what << " corner " << k;
            const TFloatPoint back = t.ReverseTransform(d);
            EXPECT_NEAR(back.X, corners[k].X, 1e-2) << c.what << " back " << k;
            EXPECT_NEAR(back.Y, corners[k].Y, 1e-2) << c.what << " back " << k;
        }
        const TFloatPoint mid{(c.src.Left + c.src.Right) / 3, (c.src.Top + c.src.Bottom) / 2};
        const TFixedPoint fback = t.ReverseTransform(t.Transform(FixedPoint(mid)));
        EXPECT_NEAR(fback.X / 65536.0, mid.X, 0.05) << c.what;
        EXPECT_NEAR(fback.Y / 65536.0, mid.Y, 0.05) << c.what;
    }
}

TEST(ProjectiveTransformation, DegenerateQuadrilateralAndZeroDivisor) {
    TProjectiveTransformation t;
    t.SetSrcRect(FloatRect(0, 0, 10, 10));
    // Three corners on one line (k = 0): the forward matrix is all zeros and its inverse the identity.
    t.SetX0(0), t.SetX1(10), t.SetX2(20), t.SetX3(30);
    t.SetY0(0), t.SetY1(10), t.SetY2(20), t.SetY3(30);
    TFloatPoint out{-77, -77};
    t.PrepareTransform();
    t.TransformFloat(4, 5, out.X, out.Y);
    EXPECT_EQ(out, (TFloatPoint{-77, -77})) << "a zero divisor leaves the outputs";
    TFixed fx = 123, fy = 456;
    t.TransformFixed(Fixed(4), Fixed(5), fx, fy);
    EXPECT_EQ(fx, 123);
    EXPECT_EQ(fy, 456);
    EXPECT_EQ(t.ReverseTransform(TPoint{4, 5}), (TPoint{4, 5}));
    EXPECT_EQ(t.GetTransformedBounds(), (TRect{0, 0, 31, 31}));
}

TEST(ProjectiveTransformation, EmptySourceGivesNoNaN) {
    TProjectiveTransformation t;
    t.SetX1(10), t.SetX2(10), t.SetY2(10), t.SetY3(10);
    // SrcRect left at zero size: the scale is infinite, the inverse falls back to the identity.
    const TFloatPoint r = t.ReverseTransform(TFloatPoint{3, 4});
    EXPECT_FALSE(std::isnan(r.X));
    EXPECT_FALSE(std::isnan(r.Y));
}

TEST(Transformations, KindsWithoutAForwardMappingNameThemselves) {
    std::unique_ptr<TTransformation> kinds[] = {
        std::make_unique<TTwirlTransformation>(), std::make_unique<TBloatTransformation>(),
        std::make_unique<TDisturbanceTransformation>(), std::make_unique<TFishEyeTransformation>()};
    const char* names[] = {"TTwirlTransformation", "TBloatTransformation", "TDisturbanceTransformation",
                           "TFishEyeTransformation"};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        kinds[i]->SetSrcRect(FloatRect(0, 0, 20, 10));
        try {
            kinds[i]->Transform(TFloatPoint{1, 1});
            ADD_FAILURE() << names[i] << " mapped forward";
        } catch (const ETransformNotImplemented& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Forward transformation is not implemented in ") + names[i] + ".");
        }
        EXPECT_THROW(kinds[i]->Transform(TPoint{1, 1}), ETransformNotImplemented);
        EXPECT_NO_THROW(kinds[i]->ReverseTransform(TPoint{1, 1}));
    }
    TTransformation base;
    try {
        base.ReverseTransform(TFixedPoint{0, 0});
        ADD_FAILURE() << "the base mapped";
    } catch (const ETransformNotImplemented& e) {
        EXPECT_EQ(std::string(e.what()), "Reverse transformation is not implemented in TTransformation.");
    }
}

TEST(Transformations, FishEyeKeepsCentreAndOutside) {
    TFishEyeTransformation t;
    t.SetSrcRect(FloatRect(0, 0, 40, 20));
    struct {
        const char* what;
        TFloatPoint in;
        bool moved;
    } const cases[] = {
        {"exact centre", {20, 10}, false},
        {"on the minimum radius", {20, 20}, false},
        {"beyond it", {0, 0}, false},
        {"inside", {24, 12}, true},
    };
    for (const auto& c : cases) {
        const TFloatPoint r = t.ReverseTransform(c.in);
        if (c.moved) {
            EXPECT_NE(r, c.in) << c.what;
            // Magnification: the source point lies nearer the centre than the destination point.
            EXPECT_LT(std::hypot(r.X - 20, r.Y - 10), std::hypot(c.in.X - 20, c.in.Y - 10)) << c.what;
        } else {
            EXPECT_EQ(r, c.in) << c.what;
        }
    }
}

TEST(Transformations, TwirlBloatDisturbanceMappingsAndBounds) {
    TTwirlTransformation twirl;
    twirl.SetSrcRect(FloatRect(0, 0, 20, 20));
    twirl.SetTwirl(0);
    EXPECT_NEAR(twirl.ReverseTransform(TFloatPoint{3, 17}).X, 3, 1e-4);
    twirl.SetTwirl(0.1f);
    // The centre stays; a point keeps its distance from the centre.
    const TFloatPoint c = twirl.ReverseTransform(TFloatPoint{10, 10});
    EXPECT_NEAR(c.X, 10, 1e-4);
    const TFloatPoint p = twirl.ReverseTransform(TFloatPoint{15, 10});
    EXPECT_NEAR(std::hypot(p.X - 10, p.Y - 10), 5, 1e-4);
    EXPECT_GT(p.Y, 10.5f);
    EXPECT_EQ(twirl.GetTransformedBounds(), (TRect{-6, -6, 26, 26}));

    TBloatTransformation bloat;
    bloat.SetSrcRect(FloatRect(0, 0, 10, 10));
    // Edges of the source stay where they are (sine 0).
    const TFloatPoint e = bloat.ReverseTransform(TFloatPoint{0, 5});
    EXPECT_NEAR(e.X, 0, 1e-4);
    EXPECT_NEAR(e.Y, 5, 1e-4);
    EXPECT_EQ(bloat.GetTransformedBounds(), (TRect{0, 0, 10, 10}));

    TDisturbanceTransformation dist;
    dist.SetDisturbance(4);
    dist.SetSrcRect(FloatRect(0, 0, 10, 10));
    for (int i = 0; i < 200; ++i) {
        const TFloatPoint d = dist.ReverseTransform(TFloatPoint{5, 5});
        ASSERT_LE(std::fabs(d.X - 5), 2.0f);
        ASSERT_LE(std::fabs(d.Y - 5), 2.0f);
    }
    EXPECT_EQ(dist.GetTransformedBounds(), (TRect{-2, -2, 12, 12}));
}

TEST(Transformations, TransformPointsKeepsShape) {
    TAffineTransformation t;
    t.Translate(1, 2);
    EXPECT_TRUE(TransformPoints({}, &t).empty());
    EXPECT_FALSE(t.TransformValid()) << "an empty input prepares nothing";
    const TArrayOfArrayOfFixedPoint in = {{FixedPoint(0, 0), FixedPoint(3, 4)}, {}, {FixedPoint(-1, -1)}};
    const TArrayOfArrayOfFixedPoint out = TransformPoints(in, &t);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], (TArrayOfFixedPoint{FixedPoint(1, 2), FixedPoint(4, 6)}));
    EXPECT_TRUE(out[1].empty());
    EXPECT_EQ(out[2], (TArrayOfFixedPoint{FixedPoint(0, 1)}));
    EXPECT_THROW(TransformPoints(in, nullptr), ETransformError);
}

} // namespace
