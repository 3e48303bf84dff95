// Integer lines: horizontal and vertical runs, Bresenham lines (plain, blended, exactly clipped) and
// antialiased lines after Wu.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Blend.h"

#include <cstdlib>

namespace Bmp32 {

namespace {

using i128 = __int128;

inline std::int64_t Abs64(std::int64_t v) {
    return v < 0 ? -v : v;
}

// floor(a / b) and ceil(a / b) for b > 0.
inline i128 FloorDiv(i128 a, i128 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
inline i128 CeilDiv(i128 a, i128 b) {
    return -FloorDiv(-a, b);
}

// The Bresenham walk of Line: pixel k (0 <= k <= major) lies k steps along the major axis and
// floor((major/2 + k*minor) / major) steps along the minor axis.
struct Walk {
    std::int64_t X0, Y0;
    int Sx, Sy;
    bool XMajor;
    std::int64_t Major, Minor;

    Walk(int X1, int Y1, int X2, int Y2) : X0(X1), Y0(Y1) {
        const std::int64_t dx = std::int64_t{X2} - X1, dy = std::int64_t{Y2} - Y1;
        Sx = dx < 0 ? -1 : 1;
        Sy = dy < 0 ? -1 : 1;
        XMajor = Abs64(dx) >= Abs64(dy);
        Major = XMajor ? Abs64(dx) : Abs64(dy);
        Minor = XMajor ? Abs64(dy) : Abs64(dx);
    }

    // The k range [lo, hi] whose pixels lie inside the inclusive clip box; false when empty.
    bool ClipRange(const TRect& clip, std::int64_t& lo, std::int64_t& hi) const {
        const std::int64_t M0 = XMajor ? X0 : Y0, m0 = XMajor ? Y0 : X0;
        const int sM = XMajor ? Sx : Sy, sm = XMajor ? Sy : Sx;
        const std::int64_t Mlo = XMajor ? clip.Left : clip.Top, Mhi = (XMajor ? clip.Right : clip.Bottom) - 1;
        const std::int64_t mlo = XMajor ? clip.Top : clip.Left, mhi = (XMajor ? clip.Bottom : clip.Right) - 1;
        if (sM > 0) {
            lo = std::max(lo, Mlo - M0);
            hi = std::min(hi, Mhi - M0);
        } else {
            lo = std::max(lo, M0 - Mhi);
            hi = std::min(hi, M0 - Mlo);
        }
        // Minor steps q(k) = floor((h + k*minor) / major) must stay within [qa, qb].
        const std::int64_t qa = sm > 0 ? mlo - m0 : m0 - mhi;
        const std::int64_t qb = sm > 0 ? mhi - m0 : m0 - mlo;
        if (qa > qb) return false;
        i128 l = lo, u = hi;
        if (Minor == 0) {
            if (0 < qa || 0 > qb) return false;
        } else {
            const i128 h = Major >> 1;
            l = std::max(l, CeilDiv(i128{qa} * Major - h, Minor));
            u = std::min(u, FloorDiv((i128{qb} + 1) * Major - h - 1, Minor));
        }
        if (l > u) return false;
        lo = static_cast<std::int64_t>(l);
        hi = static_cast<std::int64_t>(u);
        return lo <= hi;
    }

    // Calls put(x, y) for the pixels k = lo..hi. A zero-length walk has the one pixel k = 0.
    template <class Put>
    void Run(std::int64_t lo, std::int64_t hi, Put put) const {
        if (lo > hi) return;
        if (Major == 0) {
            put(static_cast<int>(X0), static_cast<int>(Y0));
            return;
        }
        const i128 start = i128{Major >> 1} + i128{lo} * Minor;
        std::int64_t q = static_cast<std::int64_t>(start / Major);
        std::int64_t err = static_cast<std::int64_t>(start % Major);
        std::int64_t M = (XMajor ? X0 : Y0) + lo * (XMajor ? Sx : Sy);
        std::int64_t m = (XMajor ? Y0 : X0) + q * (XMajor ? Sy : Sx);
        const int sM = XMajor ? Sx : Sy, sm = XMajor ? Sy : Sx;
        for (std::int64_t k = lo; k <= hi; ++k) {
            if (XMajor)
                put(static_cast<int>(M), static_cast<int>(m));
            else
                put(static_cast<int>(m), static_cast<int>(M));
            M += sM;
            err += Minor;
            if (err >= Major) {
                m += sm;
                err -= Major;
            }
        }
    }
};

// A stippled run from A1 to A2 (either way) on a row or column, clipped to Lo..Hi-1 along it; Across
// tells whether the row or column itself lies in the clip. The pattern advances over every pixel cut
// off, so it goes on as if the whole run had been drawn. Plot(a) draws one pixel, Report(a1, a2) the
// drawn run's area.
template <class Plot, class Report>
void StippledRun(TBitmap32& b, int A1, int A2, int Lo, int Hi, bool Across, Plot plot, Report report) {
    if (!Across || (A1 < Lo && A2 < Lo) || (A1 >= Hi && A2 >= Hi)) {
        b.AdvanceStippleCounter(static_cast<float>(std::llabs(std::int64_t{A2} - A1) + 1));
        return;
    }
    if (A1 < Lo) {
        b.AdvanceStippleCounter(static_cast<float>(std::int64_t{Lo} - A1));
        A1 = Lo;
    } else if (A1 >= Hi) {
        b.AdvanceStippleCounter(static_cast<float>(std::int64_t{A1} - (Hi - 1)));
        A1 = Hi - 1;
    }
    std::int64_t cut = 0;
    if (A2 < Lo) {
        cut = std::int64_t{Lo} - A2;
        A2 = Lo;
    } else if (A2 >= Hi) {
        cut = std::int64_t{A2} - (Hi - 1);
        A2 = Hi - 1;
    }
    if (A2 >= A1)
        for (int a = A1; a <= A2; ++a)
            plot(a);
    else
        for (int a = A1; a >= A2; --a)
            plot(a);
    report(A1, A2);
    if (cut > 0) b.AdvanceStippleCounter(static_cast<float>(cut));
}

} // namespace

void TBitmap32::HorzLine(int X1, int Y, int X2, TColor32 Value) {
    FillLongword(GetPixelPtr(X1, Y), X2 - X1 + 1, Value);
}

void TBitmap32::HorzLineS(int X1, int Y, int X2, TColor32 Value) {
    if (Y >= FClipRect.Top && Y < FClipRect.Bottom && TestClip(X1, X2, FClipRect.Left, FClipRect.Right)) {
        if (!FMeasuringMode) HorzLine(X1, Y, X2, Value);
        Changed(TRect{X1, Y, X2, Y + 1});
    }
}

void TBitmap32::HorzLineT(int X1, int Y, int X2, TColor32 Value) {
    if (X2 < X1) return;
    TColor32* p = GetPixelPtr(X1, Y);
    const TBlendMem blendMem = BLEND_MEM[FCombineMode];
    for (int i = X1; i <= X2; ++i)
        blendMem(Value, *p++);
    EMMS();
}

void TBitmap32::HorzLineTS(int X1, int Y, int X2, TColor32 Value) {
    if (Y >= FClipRect.Top && Y < FClipRect.Bottom && TestClip(X1, X2, FClipRect.Left, FClipRect.Right)) {
        if (!FMeasuringMode) HorzLineT(X1, Y, X2, Value);
        Changed(TRect{X1, Y, X2, Y + 1});
    }
}

void TBitmap32::VertLine(int X, int Y1, int Y2, TColor32 Value) {
    if (Y2 < Y1) return;
    TColor32* p = GetPixelPtr(X, Y1);
    for (int i = Y1; i <= Y2; ++i, p += FWidth)
        *p = Value;
}

void TBitmap32::VertLineS(int X, int Y1, int Y2, TColor32 Value) {
    if (X >= FClipRect.Left && X < FClipRect.Right && TestClip(Y1, Y2, FClipRect.Top, FClipRect.Bottom)) {
        if (!FMeasuringMode) VertLine(X, Y1, Y2, Value);
        Changed(TRect{X, Y1, X + 1, Y2});
    }
}

void TBitmap32::VertLineT(int X, int Y1, int Y2, TColor32 Value) {
    if (Y2 < Y1) return;
    TColor32* p = GetPixelPtr(X, Y1);
    const TBlendMem blendMem = BLEND_MEM[FCombineMode];
    for (int i = Y1; i <= Y2; ++i, p += FWidth)
        blendMem(Value, *p);
    EMMS();
}

void TBitmap32::VertLineTS(int X, int Y1, int Y2, TColor32 Value) {
    if (X >= FClipRect.Left && X < FClipRect.Right && TestClip(Y1, Y2, FClipRect.Top, FClipRect.Bottom)) {
        if (!FMeasuringMode) VertLineT(X, Y1, Y2, Value);
        Changed(TRect{X, Y1, X + 1, Y2});
    }
}

void TBitmap32::HorzLineTSP(int X1, int Y, int X2) {
    if (FMeasuringMode) {
        Changed(TRect{X1, Y, X2, Y + 1});
        return;
    }
    if (Empty()) return;
    StippledRun(
        *this, X1, X2, FClipRect.Left, FClipRect.Right, Y >= FClipRect.Top && Y < FClipRect.Bottom,
        [&](int x) { SetPixelT(x, Y, GetStippleColor()); },
        [&](int a, int b) {
            Changed(TRect{a, Y, b, Y + 1});
        });
}

void TBitmap32::VertLineTSP(int X, int Y1, int Y2) {
    if (FMeasuringMode) {
        Changed(TRect{X, Y1, X + 1, Y2});
        return;
    }
    if (Empty()) return;
    StippledRun(
        *this, Y1, Y2, FClipRect.Top, FClipRect.Bottom, X >= FClipRect.Left && X < FClipRect.Right,
        [&](int y) { SetPixelT(X, y, GetStippleColor()); },
        [&](int a, int b) {
            Changed(TRect{X, a, X + 1, b});
        });
}

void TBitmap32::Line(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    const Walk walk(X1, Y1, X2, Y2);
    if (X1 == X2 || Y1 == Y2) {
        if (X1 == X2) {
            if (Y2 > Y1)
                VertLine(X1, Y1, Y2 - 1, Value);
            else if (Y2 < Y1)
                VertLine(X1, Y2 + 1, Y1, Value);
        } else if (X2 > X1) {
            HorzLine(X1, Y1, X2 - 1, Value);
        } else {
            HorzLine(X2 + 1, Y1, X1, Value);
        }
    } else {
        walk.Run(0, walk.Major - 1, [this, Value](int x, int y) { SetPixel(x, y, Value); });
    }
    if (L) SetPixel(X2, Y2, Value);
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

void TBitmap32::LineT(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    const Walk walk(X1, Y1, X2, Y2);
    const TBlendMem blendMem = BLEND_MEM[FCombineMode];
    walk.Run(0, walk.Major - 1,
             [this, Value, blendMem](int x, int y) { blendMem(Value, *GetPixelPtr(x, y)); });
    if (L) blendMem(Value, *GetPixelPtr(X2, Y2));
    EMMS();
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

// The clipped lines draw exactly the pixels of the unclipped ones that fall inside ClipRect, and report
// the line's area once.
void TBitmap32::LineS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    if (!FMeasuringMode) {
        const Walk walk(X1, Y1, X2, Y2);
        std::int64_t lo = 0, hi = L ? walk.Major : walk.Major - 1;
        if (walk.ClipRange(FClipRect, lo, hi))
            walk.Run(lo, hi, [this, Value](int x, int y) { SetPixel(x, y, Value); });
    }
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

void TBitmap32::LineTS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    if (!FMeasuringMode) {
        const Walk walk(X1, Y1, X2, Y2);
        std::int64_t lo = 0, hi = L ? walk.Major : walk.Major - 1;
        const TBlendMem blendMem = BLEND_MEM[FCombineMode];
        if (walk.ClipRange(FClipRect, lo, hi))
            walk.Run(lo, hi, [this, Value, blendMem](int x, int y) { blendMem(Value, *GetPixelPtr(x, y)); });
        EMMS();
    }
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

namespace {

// Wu's walk: the major axis steps by one, a 16-bit accumulator carries the minor one; each step gives
// the pixel on the line with weight W xor 255 and its minor-axis neighbour with weight W.
template <class Put>
void WuSteps(int X1, int Y1, int X2, int Y2, std::int64_t First, std::int64_t Last, Put put) {
    const std::int64_t dx = std::int64_t{X2} - X1, dy = std::int64_t{Y2} - Y1;
    const bool yMajor = Abs64(dy) > Abs64(dx);
    const std::int64_t major = yMajor ? Abs64(dy) : Abs64(dx), minor = yMajor ? Abs64(dx) : Abs64(dy);
    const int sM = (yMajor ? dy : dx) < 0 ? -1 : 1, sm = (yMajor ? dx : dy) < 0 ? -1 : 1;
    const std::uint64_t adj = static_cast<std::uint64_t>((minor << 16) / major) & 0xFFFF;
    // The state before step k: the accumulator is k*adj mod 2^16 and every wrap moved the minor axis.
    const std::uint64_t total = adj * static_cast<std::uint64_t>(First - 1);
    std::uint64_t acc = total & 0xFFFF;
    std::int64_t m = (yMajor ? X1 : Y1) + static_cast<std::int64_t>(total >> 16) * sm;
    std::int64_t M = (yMajor ? Y1 : X1) + (First - 1) * sM;
    for (std::int64_t k = First; k <= Last; ++k) {
        acc += adj;
        if (acc > 0xFFFF) {
            acc &= 0xFFFF;
            m += sm;
        }
        M += sM;
        const unsigned w = static_cast<unsigned>(acc >> 8);
        if (yMajor) {
            put(static_cast<int>(m), static_cast<int>(M), w ^ 0xFF);
            put(static_cast<int>(m + sm), static_cast<int>(M), w);
        } else {
            put(static_cast<int>(M), static_cast<int>(m), w ^ 0xFF);
            put(static_cast<int>(M), static_cast<int>(m + sm), w);
        }
    }
}

std::int64_t WuMajor(int X1, int Y1, int X2, int Y2) {
    return std::max(Abs64(std::int64_t{X2} - X1), Abs64(std::int64_t{Y2} - Y1));
}

} // namespace

void TBitmap32::LineA(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    // Straight and diagonal lines fall on whole pixels; a 45-degree step would also overflow the
    // 16-bit accumulator.
    if (X1 == X2 || Y1 == Y2 || std::llabs(std::int64_t{X2} - X1) == std::llabs(std::int64_t{Y2} - Y1)) {
        LineT(X1, Y1, X2, Y2, Value, L);
        return;
    }
    const TBlendMem blendMem = BLEND_MEM[FCombineMode];
    const TBlendMemEx blendMemEx = BLEND_MEM_EX[FCombineMode];
    blendMem(Value, *GetPixelPtr(X1, Y1));
    WuSteps(
        X1, Y1, X2, Y2, 1, WuMajor(X1, Y1, X2, Y2) - 1,
        [this, Value, blendMemEx](int x, int y, unsigned w) { blendMemEx(Value, *GetPixelPtr(x, y), w); });
    if (L) blendMem(Value, *GetPixelPtr(X2, Y2));
    EMMS();
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

void TBitmap32::LineAS(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    if (FMeasuringMode) {
        Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
        return;
    }
    if (IsRectEmpty(FClipRect)) return;
    const std::int64_t adx = std::llabs(std::int64_t{X2} - X1), ady = std::llabs(std::int64_t{Y2} - Y1);
    // Straight and diagonal lines (and single points) fall on whole pixels.
    if (adx == ady || adx == 0 || ady == 0) {
        LineTS(X1, Y1, X2, Y2, Value, L);
        return;
    }
    const TBlendMem blendMem = BLEND_MEM[FCombineMode];
    const TBlendMemEx blendMemEx = BLEND_MEM_EX[FCombineMode];
    if (InClip(X1, Y1)) blendMem(Value, *GetPixelPtr(X1, Y1));
    // Only the steps whose major coordinate lies inside the clip rectangle are walked; the accumulator
    // is advanced over the skipped ones in one go.
    const bool yMajor = ady > adx;
    const std::int64_t major = std::max(adx, ady);
    const std::int64_t start = yMajor ? Y1 : X1;
    const int sM = (yMajor ? Y2 - std::int64_t{Y1} : X2 - std::int64_t{X1}) < 0 ? -1 : 1;
    const std::int64_t lo = yMajor ? FClipRect.Top : FClipRect.Left;
    const std::int64_t hi = (yMajor ? FClipRect.Bottom : FClipRect.Right) - 1;
    std::int64_t first = 1, last = major - 1;
    if (sM > 0) {
        first = std::max(first, lo - start);
        last = std::min(last, hi - start);
    } else {
        first = std::max(first, start - hi);
        last = std::min(last, start - lo);
    }
    if (first <= last)
        WuSteps(X1, Y1, X2, Y2, first, last, [this, Value, blendMemEx](int x, int y, unsigned w) {
            if (InClip(x, y)) blendMemEx(Value, *GetPixelPtr(x, y), w);
        });
    if (L && InClip(X2, Y2)) blendMem(Value, *GetPixelPtr(X2, Y2));
    EMMS();
    Changed(TRect{X1, Y1, X2, Y2}, AREAINFO_LINE);
}

} // namespace Bmp32
