// The vector merge lines eight pixels at a time; the same lane arithmetic as the four-pixel form (see
// Bmp32_BlendMergeVector.cpp), which finishes the tails.
#include "bitmap32/Bmp32_BlendSets.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BMP32_VECTOR 1
#endif

namespace Bmp32_Blend::PackedVector {

#ifdef BMP32_VECTOR

#define BMP32_AVX2 __attribute__((target("avx2")))

namespace {

BMP32_AVX2 inline __m256i Product8(__m256i a, __m256i b) {
    __m256i t = _mm256_add_epi32(_mm256_mullo_epi16(a, b), _mm256_set1_epi32(128));
    return _mm256_srli_epi32(_mm256_add_epi32(t, _mm256_srli_epi32(t, 8)), 8);
}

BMP32_AVX2 inline __m256i Select8(__m256i mask, __m256i a, __m256i b) {
    return _mm256_blendv_epi8(b, a, mask);
}

BMP32_AVX2 inline __m256i MergeChannel8(__m256i f, __m256i b, int shift, __m256i fa, __m256i ba, __m256 raf) {
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i fc = _mm256_and_si256(_mm256_srli_epi32(f, shift), byte);
    const __m256i bc = _mm256_and_si256(_mm256_srli_epi32(b, shift), byte);
    const __m256i pb = Product8(ba, bc);
    const __m256i diff = _mm256_sub_epi32(fc, pb);
    const __m256i s = Product8(fa, _mm256_abs_epi32(diff));
    const __m256i v = _mm256_add_epi32(pb, _mm256_sign_epi32(s, _mm256_or_si256(diff, _mm256_set1_epi32(1))));
    const __m256 q = _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_mullo_epi16(v, _mm256_set1_epi32(255))), raf);
    return _mm256_slli_epi32(_mm256_and_si256(_mm256_cvtps_epi32(q), byte), shift);
}

BMP32_AVX2 inline __m256i Spread8Lo(__m256i w) {
    __m256i w16 = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
    return _mm256_unpacklo_epi32(w16, w16);
}

BMP32_AVX2 inline __m256i Spread8Hi(__m256i w) {
    __m256i w16 = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
    return _mm256_unpackhi_epi32(w16, w16);
}

BMP32_AVX2 inline __m256i Lerp16x8(__m256i x, __m256i y, __m256i w) {
    __m256i t = _mm256_mullo_epi16(_mm256_sub_epi16(x, y), w);
    t = _mm256_add_epi16(_mm256_add_epi16(t, _mm256_slli_epi16(y, 8)), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(t, 8);
}

BMP32_AVX2 inline __m256i PackedBlend8(__m256i f, __m256i b, __m256i fa) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i lo = Lerp16x8(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(b, zero), Spread8Lo(fa));
    __m256i hi = Lerp16x8(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(b, zero), Spread8Hi(fa));
    return _mm256_packus_epi16(lo, hi);
}

BMP32_AVX2 inline __m256i Scale16x8(__m256i x, __m256i w) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(x, w), _mm256_set1_epi16(128)), 8);
}

BMP32_AVX2 inline __m256i PlainBlend8(__m256i f, __m256i b, __m256i fa) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ifa = _mm256_sub_epi32(_mm256_set1_epi32(255), fa);
    __m256i lo = _mm256_add_epi16(Scale16x8(_mm256_unpacklo_epi8(f, zero), Spread8Lo(fa)),
                                  Scale16x8(_mm256_unpacklo_epi8(b, zero), Spread8Lo(ifa)));
    __m256i hi = _mm256_add_epi16(Scale16x8(_mm256_unpackhi_epi8(f, zero), Spread8Hi(fa)),
                                  Scale16x8(_mm256_unpackhi_epi8(b, zero), Spread8Hi(ifa)));
    return Select8(_mm256_cmpeq_epi32(fa, _mm256_set1_epi32(255)), f, _mm256_packus_epi16(lo, hi));
}

template <bool Ex>
BMP32_AVX2 void MergeLines8(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    const bool packedBlend = BlendReg == PackedScalarBlendSet.BlendReg;
    const bool plainBlend = BlendReg == PlainBlendSet.BlendReg;
    const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi32(255);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i master = _mm256_set1_epi32(static_cast<int>(M > 255 ? 255 : M));
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i fa = _mm256_srli_epi32(f, 24);
        if (Ex) {
            fa = Product8(master, fa);
            f = _mm256_or_si256(_mm256_andnot_si256(alpha, f), _mm256_slli_epi32(fa, 24));
        }
        const __m256i f0 = _mm256_cmpeq_epi32(fa, zero);
        if (_mm256_movemask_epi8(f0) == -1) continue;
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        const __m256i ba = _mm256_srli_epi32(b, 24);
        const __m256i b255 = _mm256_andnot_si256(f0, _mm256_cmpeq_epi32(ba, full));
        const __m256i takeF = _mm256_or_si256(_mm256_cmpeq_epi32(fa, full), _mm256_cmpeq_epi32(ba, zero));
        const bool anyB255 = _mm256_movemask_epi8(b255) != 0;
        __m256i r;
        if (!anyB255 && _mm256_movemask_epi8(_mm256_or_si256(f0, takeF)) == -1) {
            r = Select8(f0, b, f);
        } else {
            if (anyB255 && !packedBlend && !plainBlend) {
                if (Ex)
                    MergeLineEx_Common(Src + i, Dst + i, 8, M);
                else
                    MergeLine_Common(Src + i, Dst + i, 8);
                continue;
            }
            const __m256i ra = _mm256_sub_epi32(_mm256_add_epi32(fa, ba), Product8(ba, fa));
            const __m256 raf = _mm256_cvtepi32_ps(ra);
            r = _mm256_or_si256(_mm256_slli_epi32(ra, 24), MergeChannel8(f, b, 16, fa, ba, raf));
            r = _mm256_or_si256(r, MergeChannel8(f, b, 8, fa, ba, raf));
            r = _mm256_or_si256(r, MergeChannel8(f, b, 0, fa, ba, raf));
            r = Select8(takeF, f, r);
            if (anyB255) {
                const __m256i blended = packedBlend ? PackedBlend8(f, b, fa) : PlainBlend8(f, b, fa);
                r = Select8(b255, _mm256_or_si256(blended, alpha), r);
            }
            r = Select8(f0, b, r);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), r);
    }
    if (Ex)
        MergeLineEx_SSE2(Src + i, Dst + i, Count - i, M);
    else
        MergeLine_SSE2(Src + i, Dst + i, Count - i);
}

} // namespace

BMP32_AVX2 void MergeLine_AVX2(const TColor32* Src, TColor32* Dst, int Count) {
    MergeLines8<false>(Src, Dst, Count, 255);
}

BMP32_AVX2 void MergeLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    MergeLines8<true>(Src, Dst, Count, M);
}

#else

void MergeLine_AVX2(const TColor32* Src, TColor32* Dst, int Count) {
    MergeLine_Common(Src, Dst, Count);
}
void MergeLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    MergeLineEx_Common(Src, Dst, Count, M);
}

#endif

} // namespace Bmp32_Blend::PackedVector
