#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Kernels.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TCustomKernel> Make(const std::string& name) {
    auto* cls = dynamic_cast<const TKernelClass*>(KernelList()->Find(name));
    if (!cls) return nullptr;
    return std::unique_ptr<TCustomKernel>(cls->Create());
}

struct KernelPoint {
    const char* kernel;
    float x;
    double want;
};

// Values worked out from the kernel formulas by hand.
TEST(Kernels, FilterValuesAtChosenPoints) {
    const KernelPoint table[] = {
        {"TBoxKernel", 0.5f, 1},
        {"TBoxKernel", -0.5f, 1},
        {"TBoxKernel", 0.51f, 0},
        {"TBoxKernel", -0.51f, 0},
        {"TLinearKernel", -1, 0},
        {"TLinearKernel", 1, 0},
        {"TLinearKernel", 0.25f, 0.75},
        {"TLinearKernel", -0.25f, 0.75},
        {"TLinearKernel", 0, 1},
        {"TCosineKernel", 0, 1},
        {"TCosineKernel", 0.5f, 0.5},
        {"TCosineKernel", -1, 0},
        {"TSplineKernel", 0, 2.0 / 3.0},
        {"TSplineKernel", 1, 1.0 / 6.0},
        {"TSplineKernel", -1.5f, 0.125 / 6.0},
        {"TSplineKernel", 2, 0},
        {"TMitchellKernel", 0, 16.0 / 18.0},
        {"TMitchellKernel", 1, 1.0 / 18.0},
        {"TMitchellKernel", -2, 0},
        {"TCubicKernel", 0, 1},
        {"TCubicKernel", 1, 0},
        {"TCubicKernel", 0.5f, 0.5625},
        {"TCubicKernel", -1.5f, -0.0625},
        {"TCubicKernel", 2, 0},
        {"THermiteKernel", 0, 1},
        {"THermiteKernel", 0.5f, 0.5625},
        {"THermiteKernel", -0.5f, 0.5625},
        {"THermiteKernel", 1.5f, -0.0625},
        {"THermiteKernel", -1.5f, -0.0625},
        {"THermiteKernel", 2, 0},
        {"TLanczosKernel", 0, 1},
        {"TLanczosKernel", 0.5f, 0.607927},
        {"TLanczosKernel", 3, 0},
        {"TLanczosKernel", -3.5f, 0},
        {"TGaussianKernel", 0, 1},
        {"TGaussianKernel", 0.5f, 0.558850},
        {"TBlackmanKernel", 0, 1},
        {"TBlackmanKernel", 0.5f, 0.568510},
        {"THannKernel", 0.5f, 0.593974},
        {"THammingKernel", -0.5f, 0.597386},
        {"THammingKernel", 3, 0},
        {"TSinshKernel", 0, 1},
        {"TSinshKernel", 0.5f, 0.575592},
        {"TSinshKernel", -0.5f, 0.575592},
    };
    for (const KernelPoint& p : table) {
        auto k = Make(p.kernel);
        ASSERT_TRUE(k) << p.kernel;
        EXPECT_NEAR(k->Filter(p.x), p.want, 2e-6) << p.kernel << " at " << p.x;
    }
    // Sinc's argument is pi * x held as a float, so whole numbers give a tiny remainder, not 0.
    EXPECT_NEAR(Sinc(1), 0, 1e-7);
    EXPECT_EQ(Sinc(0), 1);
}

TEST(Kernels, WidthsRangeChecksAndRegistryOrder) {
    struct Row {
        const char* name;
        float width;
        bool rangeCheck;
    };
    const Row rows[] = {
        {"TBoxKernel", 1, false},    {"TLinearKernel", 1, false},  {"TCosineKernel", 1, false},
        {"TSplineKernel", 2, true},  {"TCubicKernel", 2, true},    {"TMitchellKernel", 2, true},
        {"TLanczosKernel", 3, true}, {"TGaussianKernel", 3, true}, {"TBlackmanKernel", 3, true},
        {"THannKernel", 3, true},    {"THammingKernel", 3, true},  {"TSinshKernel", 3, true},
        {"THermiteKernel", 2, true}};
    ASSERT_NE(KernelList(), nullptr);
    ASSERT_EQ(KernelList()->Count(), 13);
    for (int i = 0; i < 13; ++i) {
        const Row& r = rows[i];
        EXPECT_STREQ(KernelList()->Items(i)->ClassName(), r.name);
        auto k = Make(r.name);
        EXPECT_EQ(k->GetWidth(), r.width) << r.name;
        EXPECT_EQ(k->RangeCheck(), r.rangeCheck) << r.name;
        EXPECT_EQ(k->ClassName(), r.name);
    }
    EXPECT_EQ(KernelList()->Find("TWindowedSincKernel"), nullptr);
    EXPECT_EQ(KernelList()->Find("tboxkernel"), nullptr);

    const char* resamplers[] = {"TNearestResampler", "TLinearResampler", "TDraftResampler",
                                "TKernelResampler"};
    ASSERT_EQ(ResamplerList()->Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(ResamplerList()->Items(i)->ClassName(), resamplers[i]);
}

struct ChangeCounter : TNotifiablePersistent {
    int changes = 0;
    void Changed() override { ++changes; }
};

TEST(Kernels, SettersReportOnlyRealChanges) {
    ChangeCounter observer;
    TCubicKernel cubic;
    cubic.Observer = &observer;
    cubic.SetCoeff(-0.5f);
    EXPECT_EQ(observer.changes, 0);
    cubic.SetCoeff(-0.75f);
    EXPECT_EQ(observer.changes, 1);
    EXPECT_NEAR(cubic.Filter(1.5f), -0.75 * (3.375 - 11.25 + 12 - 4), 1e-6);

    TGaussianKernel gauss;
    gauss.Observer = &observer;
    gauss.SetSigma(2);
    EXPECT_EQ(gauss.Sigma(), 2);
    gauss.SetSigma(0);
    EXPECT_EQ(observer.changes, 3);
    // Once 0, Sigma keeps it.
    gauss.SetSigma(1);
    EXPECT_EQ(gauss.Sigma(), 0);
    EXPECT_EQ(observer.changes, 3);

    TSinshKernel sinsh;
    sinsh.SetCoeff(0);
    sinsh.SetCoeff(0.5f);
    EXPECT_EQ(sinsh.Coeff(), 0);
    sinsh.SetWidth(4);
    EXPECT_EQ(sinsh.GetWidth(), 4);

    TLanczosKernel lanczos;
    lanczos.Observer = &observer;
    lanczos.SetWidth(2);
    EXPECT_EQ(observer.changes, 4);
    EXPECT_EQ(lanczos.Filter(2.5f), 0);
    EXPECT_NEAR(lanczos.Filter(0.5f), 0.63662 * 0.900316, 1e-5);

    THermiteKernel hermite;
    hermite.SetTension(1); // T = 0: the neighbours' slopes vanish
    EXPECT_NEAR(hermite.Filter(0.5f), 0.5, 1e-6);
    EXPECT_EQ(hermite.Filter(1.5f), 0);
}

TEST(Kernels, AssignCopiesPropertiesOfTheSameName) {
    TCubicKernel a, b;
    a.SetCoeff(-1);
    b.Assign(&a);
    EXPECT_EQ(b.Coeff(), -1);

    TLanczosKernel lanczos;
    lanczos.SetWidth(5);
    TSinshKernel sinsh;
    sinsh.Assign(&lanczos); // Width is shared, Coeff is not
    EXPECT_EQ(sinsh.GetWidth(), 5);
    EXPECT_EQ(sinsh.Coeff(), 0.5f);

    TGaussianKernel gauss;
    gauss.SetSigma(2.5f);
    gauss.SetWidth(4);
    TGaussianKernel gauss2;
    gauss2.Assign(&gauss);
    EXPECT_EQ(gauss2.Sigma(), 2.5f);
    EXPECT_EQ(gauss2.GetWidth(), 4);

    TBitmap32 notAKernel;
    EXPECT_THROW(notAKernel.Assign(&a), Exception);
}

TEST(KernelResampler, KernelByNameModesAndTableSize) {
    TBitmap32 bmp;
    bmp.SetResamplerClassName("TKernelResampler");
    auto* r = dynamic_cast<TKernelResampler*>(bmp.Resampler());
    ASSERT_NE(r, nullptr);
    int changes = 0;
    bmp.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(r->KernelClassName(), "TBoxKernel");
    EXPECT_EQ(r->GetWidth(), 1);
    r->SetKernelClassName("TLanczosKernel");
    EXPECT_EQ(r->KernelClassName(), "TLanczosKernel");
    EXPECT_EQ(r->GetWidth(), 3);
    EXPECT_EQ(changes, 1);
    for (const char* ignored : {"TWindowedSincKernel", "", "TLanczosKernel", "tcubickernel"})
        r->SetKernelClassName(ignored);
    EXPECT_EQ(r->KernelClassName(), "TLanczosKernel");
    EXPECT_EQ(changes, 1);
    // The kernel tells its resampler, which tells the bitmap.
    static_cast<TLanczosKernel*>(r->Kernel())->SetWidth(2);
    EXPECT_EQ(changes, 2);
    r->SetKernel(nullptr);
    r->SetKernel(r->Kernel());
    EXPECT_EQ(changes, 2);
    r->SetTableSize(0);
    EXPECT_EQ(r->TableSize(), 2);
    r->SetTableSize(-5);
    EXPECT_EQ(changes, 3);
    r->SetKernelMode(kmTableLinear);
    r->SetKernelMode(kmTableLinear);
    r->SetPixelAccessMode(pamWrap);
    EXPECT_EQ(changes, 5);

    // A bitmap's properties carry the resampler with its kernel and settings.
    TBitmap32 copy;
    bmp.CopyPropertiesTo(&copy);
    auto* c = dynamic_cast<TKernelResampler*>(copy.Resampler());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->KernelClassName(), "TLanczosKernel");
    EXPECT_EQ(c->GetWidth(), 2);
    EXPECT_EQ(c->KernelMode(), kmTableLinear);
    EXPECT_EQ(c->TableSize(), 2);
    EXPECT_EQ(c->PixelAccessMode(), pamWrap);
}

TEST(Resamplers, EveryRegisteredClassMakesAResamplerForItsBitmap) {
    for (const char* name :
         {"TNearestResampler", "TLinearResampler", "TDraftResampler", "TKernelResampler"}) {
        TBitmap32 bmp;
        bmp.SetResamplerClassName(name);
        ASSERT_EQ(bmp.ResamplerClassName(), name);
        auto* r = dynamic_cast<TBitmap32Resampler*>(bmp.Resampler());
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->Bitmap(), &bmp);
        EXPECT_EQ(r->PixelAccessMode(), pamSafe);
        EXPECT_TRUE(r->HasBounds());
    }
}

} // namespace
