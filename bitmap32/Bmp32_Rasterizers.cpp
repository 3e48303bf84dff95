#include "bitmap32/Bmp32_Rasterizers.h"

#include <bit>

namespace Bmp32_Rasterizers {

const TRasterizerClass* DefaultRasterizerClass = &TRegularRasterizer::ClassRef;

TCombineInfo CombineInfo(const TBitmap32* Src) {
    TCombineInfo info;
    info.SrcAlpha = static_cast<int>(Src->MasterAlpha());
    info.DrawMode = Src->DrawMode();
    info.CombineMode = Src->CombineMode();
    info.CombineCallBack = Src->OnPixelCombine;
    info.TransparentColor = Src->OuterColor();
    if (info.DrawMode == dmCustom && !info.CombineCallBack) info.DrawMode = dmOpaque;
    return info;
}

// ---- TRasterizer ----

void TRasterizer::SetSampler(TCustomSampler* Value) {
    if (FSampler == Value) return;
    FSampler = Value;
    Changed();
}

void TRasterizer::Rasterize(TBitmap32* Dst) {
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    Rasterize(Dst, Dst->BoundsRect());
}

void TRasterizer::Rasterize(TBitmap32* Dst, const TRect& DstRect) {
    Rasterize(Dst, DstRect, TCombineInfo{});
}

void TRasterizer::Rasterize(TBitmap32* Dst, const TRect& DstRect, const TBitmap32* Src) {
    if (!Src) throw EBitmapException("Source bitmap is nil");
    Rasterize(Dst, DstRect, CombineInfo(Src));
}

void TRasterizer::Rasterize(TBitmap32* Dst, const TRect& DstRect, const TCombineInfo& CombineInfo) {
    FTransparentColor = CombineInfo.TransparentColor;
    Rasterize(Dst, DstRect, CombineInfo.SrcAlpha, CombineInfo.DrawMode, CombineInfo.CombineMode,
              CombineInfo.CombineCallBack);
}

void TRasterizer::Rasterize(TBitmap32* Dst, const TRect& DstRect, int SrcAlpha, TDrawMode DstDrawMode,
                            TCombineMode CombineMode, const TPixelCombineEvent& CombineCallBack) {
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    FSrcAlpha = SrcAlpha;
    FBlendMemEx = Bmp32_Blend::BLEND_MEM_EX[CombineMode == cmMerge ? cmMerge : cmBlend];
    FCombineCallBack = CombineCallBack;
    switch (DstDrawMode) {
    case dmOpaque:
        FAssignColor = &TRasterizer::AssignColorOpaque;
        break;
    case dmCustom:
        FAssignColor = CombineCallBack ? &TRasterizer::AssignColorCustom : &TRasterizer::AssignColorBlend;
        break;
    case dmTransparent:
        FAssignColor = &TRasterizer::AssignColorTransparent;
        break;
    default:
        FAssignColor = &TRasterizer::AssignColorBlend;
        break;
    }

    const int updateCount = Dst->UpdateCount();
    if (!FSampler) return;
    FSampler->PrepareSampling();
    auto restore = [&] {
        while (Dst->UpdateCount() > updateCount)
            Dst->EndUpdate();
        FSampler->FinalizeSampling();
    };
    try {
        TRect r;
        IntersectRect(r, DstRect, Dst->BoundsRect());
        if (FSampler->HasBounds()) IntersectRect(r, r, FSampler->GetSampleBounds());
        DoRasterize(Dst, r);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TRasterizer::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TRasterizer*>(Dest)) {
        dst->SetSampler(FSampler);
        return;
    }
    TThreadPersistent::AssignTo(Dest);
}

void TRasterizer::AssignColorOpaque(TColor32& Dst, TColor32 Src) {
    Dst = Src;
}

void TRasterizer::AssignColorBlend(TColor32& Dst, TColor32 Src) {
    FBlendMemEx(Src, Dst, static_cast<TColor32>(FSrcAlpha));
    EMMS();
}

void TRasterizer::AssignColorCustom(TColor32& Dst, TColor32 Src) {
    FCombineCallBack(Src, Dst, static_cast<TColor32>(FSrcAlpha));
}

void TRasterizer::AssignColorTransparent(TColor32& Dst, TColor32 Src) {
    if (Src != FTransparentColor) Dst = Src;
}

// ---- TRegularRasterizer ----

const TRasterizerClassOf<TRegularRasterizer> TRegularRasterizer::ClassRef{"TRegularRasterizer"};

void TRegularRasterizer::AssignTo(TPersistent* Dest) const {
    TRasterizer::AssignTo(Dest);
    if (auto* dst = dynamic_cast<TRegularRasterizer*>(Dest)) dst->SetUpdateRowCount(FUpdateRowCount);
}

void TRegularRasterizer::DoRasterize(TBitmap32* Dst, const TRect& DstRect) {
    if (IsRectEmpty(DstRect)) return;
    int n = 0;
    TCustomSampler* const sampler = FSampler;
    const bool opaque = Opaque();
    for (int j = DstRect.Top; j < DstRect.Bottom; ++j) {
        TColor32* p = Dst->GetPixelPtr(DstRect.Left, j);
        if (opaque)
            for (int i = DstRect.Left; i < DstRect.Right; ++i, ++p)
                *p = sampler->GetSampleInt(i, j);
        else
            for (int i = DstRect.Left; i < DstRect.Right; ++i, ++p)
                AssignColor(*p, sampler->GetSampleInt(i, j));
        // Each report covers exactly the rows written since the last one.
        if (++n == FUpdateRowCount) {
            Report(Dst, TRect{DstRect.Left, j + 1 - n, DstRect.Right, j + 1});
            n = 0;
        }
    }
    if (n > 0) Report(Dst, TRect{DstRect.Left, DstRect.Bottom - n, DstRect.Right, DstRect.Bottom});
}

// ---- TSwizzlingRasterizer ----

const TRasterizerClassOf<TSwizzlingRasterizer> TSwizzlingRasterizer::ClassRef{"TSwizzlingRasterizer"};

void TSwizzlingRasterizer::SetBlockSize(int Value) {
    if (FBlockSize == Value) return;
    FBlockSize = Value;
    Changed();
}

void TSwizzlingRasterizer::AssignTo(TPersistent* Dest) const {
    TRasterizer::AssignTo(Dest);
    if (auto* dst = dynamic_cast<TSwizzlingRasterizer*>(Dest)) dst->SetBlockSize(FBlockSize);
}

namespace {

// Trailing zero bits, 0 for 0: the level of the Z-order block that a coordinate starts.
int Level(int V) {
    return V > 0 ? std::countr_zero(static_cast<unsigned>(V)) : 0;
}

// The next cell of W x H after P in Z-order.
TPoint NextZ(const TPoint& P, int W, int H) {
    TPoint n{P.X + 1, P.Y + 1};
    const int a = Level(n.X), b = Level(n.Y);
    if (a <= b)
        n.Y -= 1 << a;
    else
        n.X -= 1 << (b + 1);
    if (n.Y >= H) n = NextZ(TPoint{P.X, P.Y + (1 << b)}, W, H);
    if (n.X >= W) n = NextZ(TPoint{P.X + (1 << a), P.Y}, W, H);
    return n;
}

} // namespace

void TSwizzlingRasterizer::DoRasterize(TBitmap32* Dst, const TRect& DstRect) {
    const int w = DstRect.Right - DstRect.Left;
    const int h = DstRect.Bottom - DstRect.Top;
    if (w <= 0 || h <= 0) return;
    const int blockShift = FBlockSize < 0 ? 0 : (FBlockSize > 30 ? 30 : FBlockSize);
    const int step = 1 << blockShift;
    TPoint q{DstRect.Left + step, DstRect.Top + step};
    TPoint c{-1, 0};
    const long long count = static_cast<long long>(w) * h;
    for (long long k = 0; k < count; ++k) {
        c = NextZ(c, w, h);
        const int x = DstRect.Left + c.X, y = DstRect.Top + c.Y;
        AssignColor(*Dst->GetPixelPtr(x, y), FSampler->GetSampleInt(x, y));
        if (!(x < q.X && y < q.Y)) {
            Report(Dst, TRect{q.X - step, q.Y - step, q.X, q.Y});
            q = TPoint{x + step, y + step};
        }
    }
    Report(Dst, TRect{q.X - step, q.Y - step, q.X, q.Y});
}

} // namespace Bmp32_Rasterizers
