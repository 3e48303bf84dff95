// Vector forms of the packed line routines. Each lane computes ((x - y)*w + y*256 + 128) >> 8 in 16 bits
// with wrap-around, which is exactly P(x, y, w) because the true value never leaves 0..65535; the
// special cases (skip at weight 0, copy at alpha 255) match the scalar routines pixel for pixel.
#include "bitmap32/Bmp32_BlendSets.h"

#include "bitmap32/Bmp32_System.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BMP32_VECTOR 1
#endif

namespace Bmp32_Blend::PackedVector {

#ifdef BMP32_VECTOR

namespace {

// Per-pixel weights (one per 32-bit lane, 0..256) spread over the four 16-bit channel lanes of the
// low and high two pixels.
inline void SpreadWeights(__m128i w32, __m128i& lo, __m128i& hi) {
    __m128i w16 = _mm_or_si128(w32, _mm_slli_epi32(w32, 16));
    lo = _mm_unpacklo_epi32(w16, w16);
    hi = _mm_unpackhi_epi32(w16, w16);
}

inline __m128i Lerp16(__m128i x, __m128i y, __m128i w) {
    __m128i t = _mm_mullo_epi16(_mm_sub_epi16(x, y), w);
    t = _mm_add_epi16(t, _mm_slli_epi16(y, 8));
    t = _mm_add_epi16(t, _mm_set1_epi16(128));
    return _mm_srli_epi16(t, 8);
}

// P for four pixels with their own weights.
inline __m128i Lerp4(__m128i s, __m128i d, __m128i w32) {
    const __m128i zero = _mm_setzero_si128();
    __m128i wlo, whi;
    SpreadWeights(w32, wlo, whi);
    __m128i lo = Lerp16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), wlo);
    __m128i hi = Lerp16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), whi);
    return _mm_packus_epi16(lo, hi);
}

inline __m128i Select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

} // namespace

bool HasSSE2() {
    return Bmp32_System::HasSSE2();
}
bool HasAVX2() {
    return Bmp32_System::HasAVX2();
}

void BlendLine_SSE2(const TColor32* Src, TColor32* Dst, int Count) {
    const __m128i opaque = _mm_set1_epi32(0xFF);
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i a = _mm_srli_epi32(s, 24);
        __m128i isOpaque = _mm_cmpeq_epi32(a, opaque);
        int opaqueBits = _mm_movemask_epi8(isOpaque);
        if (opaqueBits == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), s);
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128())) == 0xFFFF) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        // Weight 0 gives y itself, so only alpha 255 needs a separate path.
        __m128i r = Lerp4(s, d, a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), Select(isOpaque, s, r));
    }
    BlendLine_Packed(Src + i, Dst + i, Count - i);
}

void BlendLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    M = PackedWeight(M);
    if (M == 0) return;
    const __m128i m = _mm_set1_epi32(static_cast<int>(M));
    const __m128i one = _mm_set1_epi32(1);
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i a = _mm_srli_epi32(s, 24);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128())) == 0xFFFF) continue;
        // (Fa + 1) * M stays below 65536, so a 16-bit multiply of the low halves is exact; Fa = 0
        // gives M >> 8 = 0, the same as skipping.
        __m128i w = _mm_srli_epi32(_mm_mullo_epi16(_mm_add_epi32(a, one), m), 8);
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), Lerp4(s, d, w));
    }
    BlendLineEx_Packed(Src + i, Dst + i, Count - i, M);
}

void CombineLine_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 W) {
    W = PackedWeight(W);
    if (Count <= 0 || W == 0 || W == 255) {
        CombineLine_Packed(Src, Dst, Count, W);
        return;
    }
    const __m128i w32 = _mm_set1_epi32(static_cast<int>(W));
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), Lerp4(s, d, w32));
    }
    CombineLine_Packed(Src + i, Dst + i, Count - i, W);
}

namespace {

__attribute__((target("avx2"))) inline __m256i Lerp16x(__m256i x, __m256i y, __m256i w) {
    __m256i t = _mm256_mullo_epi16(_mm256_sub_epi16(x, y), w);
    t = _mm256_add_epi16(t, _mm256_slli_epi16(y, 8));
    t = _mm256_add_epi16(t, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(t, 8);
}

// P for eight pixels. Unpacking and packing both work within each 128-bit half, so the pixel order
// comes back unchanged.
__attribute__((target("avx2"))) inline __m256i Lerp8(__m256i s, __m256i d, __m256i w32) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i w16 = _mm256_or_si256(w32, _mm256_slli_epi32(w32, 16));
    __m256i wlo = _mm256_unpacklo_epi32(w16, w16);
    __m256i whi = _mm256_unpackhi_epi32(w16, w16);
    __m256i lo = Lerp16x(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), wlo);
    __m256i hi = Lerp16x(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), whi);
    return _mm256_packus_epi16(lo, hi);
}

} // namespace

__attribute__((target("avx2"))) void BlendLine_AVX2(const TColor32* Src, TColor32* Dst, int Count) {
    const __m256i opaque = _mm256_set1_epi32(0xFF);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i a = _mm256_srli_epi32(s, 24);
        __m256i isOpaque = _mm256_cmpeq_epi32(a, opaque);
        if (_mm256_movemask_epi8(isOpaque) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), s);
            continue;
        }
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)) == -1) continue;
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        __m256i r = Lerp8(s, d, a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), _mm256_blendv_epi8(r, s, isOpaque));
    }
    BlendLine_Packed(Src + i, Dst + i, Count - i);
}

__attribute__((target("avx2"))) void BlendLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count,
                                                      TColor32 M) {
    M = PackedWeight(M);
    if (M == 0) return;
    const __m256i m = _mm256_set1_epi32(static_cast<int>(M));
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i a = _mm256_srli_epi32(s, 24);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)) == -1) continue;
        __m256i w = _mm256_srli_epi32(_mm256_mullo_epi16(_mm256_add_epi32(a, one), m), 8);
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), Lerp8(s, d, w));
    }
    BlendLineEx_Packed(Src + i, Dst + i, Count - i, M);
}

__attribute__((target("avx2"))) void CombineLine_AVX2(const TColor32* Src, TColor32* Dst, int Count,
                                                      TColor32 W) {
    W = PackedWeight(W);
    if (Count <= 0 || W == 0 || W == 255) {
        CombineLine_Packed(Src, Dst, Count, W);
        return;
    }
    const __m256i w32 = _mm256_set1_epi32(static_cast<int>(W));
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), Lerp8(s, d, w32));
    }
    CombineLine_Packed(Src + i, Dst + i, Count - i, W);
}

#else

bool HasSSE2() {
    return false;
}
bool HasAVX2() {
    return false;
}
void BlendLine_SSE2(const TColor32* Src, TColor32* Dst, int Count) {
    BlendLine_Packed(Src, Dst, Count);
}
void BlendLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    BlendLineEx_Packed(Src, Dst, Count, M);
}
void CombineLine_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 W) {
    CombineLine_Packed(Src, Dst, Count, W);
}
void BlendLine_AVX2(const TColor32* Src, TColor32* Dst, int Count) {
    BlendLine_Packed(Src, Dst, Count);
}
void BlendLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    BlendLineEx_Packed(Src, Dst, Count, M);
}
void CombineLine_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 W) {
    CombineLine_Packed(Src, Dst, Count, W);
}

#endif

} // namespace Bmp32_Blend::PackedVector
