// Vector form of the merge lines, four pixels at a time, equal to the table routine pixel for pixel:
// ProductTable[a][b] = round(a*b/255) is (t + (t >> 8)) >> 8 with t = a*b + 128 (a*b/255 never ends in
// exactly one half), and QuotientTable[ra][v] = round(v*255/ra) ties to even is the single-precision
// quotient converted under the default rounding: v*255 and ra are exact, and a quotient that is not a tie
// lies at least 1/510 from one, far beyond the float's error.
#include "bitmap32/Bmp32_BlendSets.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define BMP32_VECTOR 1
#endif

namespace Bmp32_Blend::PackedVector {

#ifdef BMP32_VECTOR

namespace {

// round(a*b/255) in 32-bit lanes holding bytes.
inline __m128i Product(__m128i a, __m128i b) {
    __m128i t = _mm_add_epi32(_mm_mullo_epi16(a, b), _mm_set1_epi32(128));
    return _mm_srli_epi32(_mm_add_epi32(t, _mm_srli_epi32(t, 8)), 8);
}

inline __m128i Select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// One colour channel of the general case.
inline __m128i MergeChannel(__m128i f, __m128i b, int shift, __m128i fa, __m128i ba, __m128 raf) {
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i fc = _mm_and_si128(_mm_srli_epi32(f, shift), byte);
    const __m128i bc = _mm_and_si128(_mm_srli_epi32(b, shift), byte);
    const __m128i pb = Product(ba, bc);
    const __m128i diff = _mm_sub_epi32(fc, pb);
    const __m128i sign = _mm_srai_epi32(diff, 31);
    const __m128i d = _mm_sub_epi32(_mm_xor_si128(diff, sign), sign);
    const __m128i s = Product(fa, d);
    const __m128i v = _mm_add_epi32(pb, _mm_sub_epi32(_mm_xor_si128(s, sign), sign));
    const __m128 q = _mm_div_ps(_mm_cvtepi32_ps(_mm_mullo_epi16(v, _mm_set1_epi32(255))), raf);
    return _mm_slli_epi32(_mm_and_si128(_mm_cvtps_epi32(q), byte), shift);
}

// The current set's BlendReg for four pixels (whose alpha is neither 0 nor handled elsewhere).
inline __m128i PackedBlend(__m128i f, __m128i b, __m128i fa) {
    const __m128i zero = _mm_setzero_si128();
    __m128i w16 = _mm_or_si128(fa, _mm_slli_epi32(fa, 16));
    __m128i wlo = _mm_unpacklo_epi32(w16, w16), whi = _mm_unpackhi_epi32(w16, w16);
    auto lerp = [](__m128i x, __m128i y, __m128i w) {
        __m128i t = _mm_mullo_epi16(_mm_sub_epi16(x, y), w);
        t = _mm_add_epi16(_mm_add_epi16(t, _mm_slli_epi16(y, 8)), _mm_set1_epi16(128));
        return _mm_srli_epi16(t, 8);
    };
    __m128i lo = lerp(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero), wlo);
    __m128i hi = lerp(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero), whi);
    return _mm_packus_epi16(lo, hi);
}

inline __m128i PlainBlend(__m128i f, __m128i b, __m128i fa) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ifa = _mm_sub_epi32(_mm_set1_epi32(255), fa);
    auto spread = [](__m128i w, __m128i& lo, __m128i& hi) {
        __m128i w16 = _mm_or_si128(w, _mm_slli_epi32(w, 16));
        lo = _mm_unpacklo_epi32(w16, w16);
        hi = _mm_unpackhi_epi32(w16, w16);
    };
    __m128i wlo, whi, ilo, ihi;
    spread(fa, wlo, whi);
    spread(ifa, ilo, ihi);
    const __m128i bias = _mm_set1_epi16(128);
    auto scale = [bias](__m128i x, __m128i w) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(x, w), bias), 8);
    };
    __m128i lo =
        _mm_add_epi16(scale(_mm_unpacklo_epi8(f, zero), wlo), scale(_mm_unpacklo_epi8(b, zero), ilo));
    __m128i hi =
        _mm_add_epi16(scale(_mm_unpackhi_epi8(f, zero), whi), scale(_mm_unpackhi_epi8(b, zero), ihi));
    const __m128i mixed = _mm_packus_epi16(lo, hi);
    return Select(_mm_cmpeq_epi32(fa, _mm_set1_epi32(255)), f, mixed);
}

template <bool Ex>
void MergeLines(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    const bool packedBlend = BlendReg == PackedScalarBlendSet.BlendReg;
    const bool plainBlend = BlendReg == PlainBlendSet.BlendReg;
    const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi32(255), alpha = _mm_set1_epi32(0xFF000000);
    const __m128i master = _mm_set1_epi32(static_cast<int>(M > 255 ? 255 : M));
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i fa = _mm_srli_epi32(f, 24);
        if (Ex) {
            fa = Product(master, fa);
            f = _mm_or_si128(_mm_andnot_si128(alpha, f), _mm_slli_epi32(fa, 24));
        }
        const __m128i f0 = _mm_cmpeq_epi32(fa, zero);
        if (_mm_movemask_epi8(f0) == 0xFFFF) continue;
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        const __m128i ba = _mm_srli_epi32(b, 24);
        const __m128i b255 = _mm_andnot_si128(f0, _mm_cmpeq_epi32(ba, full));
        const __m128i takeF = _mm_or_si128(_mm_cmpeq_epi32(fa, full), _mm_cmpeq_epi32(ba, zero));
        const int special = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(f0, b255), takeF));
        __m128i r;
        if (special == 0xFFFF && _mm_movemask_epi8(b255) == 0) {
            r = Select(f0, b, f);
        } else {
            if (_mm_movemask_epi8(b255) != 0 && !packedBlend && !plainBlend) {
                // Another blend routine: this group one pixel at a time.
                if (Ex)
                    MergeLineEx_Common(Src + i, Dst + i, 4, M);
                else
                    MergeLine_Common(Src + i, Dst + i, 4);
                continue;
            }
            const __m128i ra = _mm_sub_epi32(_mm_add_epi32(fa, ba), Product(ba, fa));
            const __m128 raf = _mm_cvtepi32_ps(ra);
            r = _mm_or_si128(_mm_slli_epi32(ra, 24), MergeChannel(f, b, 16, fa, ba, raf));
            r = _mm_or_si128(r, MergeChannel(f, b, 8, fa, ba, raf));
            r = _mm_or_si128(r, MergeChannel(f, b, 0, fa, ba, raf));
            r = Select(takeF, f, r);
            if (_mm_movemask_epi8(b255) != 0) {
                const __m128i blended = packedBlend ? PackedBlend(f, b, fa) : PlainBlend(f, b, fa);
                r = Select(b255, _mm_or_si128(blended, alpha), r);
            }
            r = Select(f0, b, r);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), r);
    }
    if (Ex)
        MergeLineEx_Common(Src + i, Dst + i, Count - i, M);
    else
        MergeLine_Common(Src + i, Dst + i, Count - i);
}

} // namespace

void MergeLine_SSE2(const TColor32* Src, TColor32* Dst, int Count) {
    MergeLines<false>(Src, Dst, Count, 255);
}

void MergeLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    MergeLines<true>(Src, Dst, Count, M);
}

#else

void MergeLine_SSE2(const TColor32* Src, TColor32* Dst, int Count) {
    MergeLine_Common(Src, Dst, Count);
}
void MergeLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    MergeLineEx_Common(Src, Dst, Count, M);
}

#endif

} // namespace Bmp32_Blend::PackedVector
