#include "platform/PixelFill.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define CLIPNAB_X86_FILL 1
#endif

namespace clipnab {

namespace {

#if defined(CLIPNAB_X86_FILL)

// Both fills store one unaligned vector at the start, aligned vectors after it and one
// unaligned vector ending at the last pixel; rows shorter than a vector are set one by one.

void fillSse2(QRgb *p, qsizetype n, QRgb c)
{
    constexpr qsizetype kLanes = 4;
    if (n < kLanes) {
        std::fill(p, p + n, c);
        return;
    }
    const __m128i v = _mm_set1_epi32(static_cast<int>(c));
    QRgb *const end = p + n;
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
    p = reinterpret_cast<QRgb *>((reinterpret_cast<std::uintptr_t>(p) + 16) & ~std::uintptr_t{15});
    for (; end - p >= 4 * kLanes; p += 4 * kLanes) {
        _mm_store_si128(reinterpret_cast<__m128i *>(p), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(p + kLanes), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(p + 2 * kLanes), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(p + 3 * kLanes), v);
    }
    for (; end - p >= kLanes; p += kLanes)
        _mm_store_si128(reinterpret_cast<__m128i *>(p), v);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(end - kLanes), v);
}

__attribute__((target("avx2"))) void fillAvx2(QRgb *p, qsizetype n, QRgb c)
{
    constexpr qsizetype kLanes = 8;
    if (n < kLanes) {
        fillSse2(p, n, c);
        return;
    }
    const __m256i v = _mm256_set1_epi32(static_cast<int>(c));
    QRgb *const end = p + n;
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v);
    p = reinterpret_cast<QRgb *>((reinterpret_cast<std::uintptr_t>(p) + 32) & ~std::uintptr_t{31});
    for (; end - p >= 4 * kLanes; p += 4 * kLanes) {
        _mm256_store_si256(reinterpret_cast<__m256i *>(p), v);
        _mm256_store_si256(reinterpret_cast<__m256i *>(p + kLanes), v);
        _mm256_store_si256(reinterpret_cast<__m256i *>(p + 2 * kLanes), v);
        _mm256_store_si256(reinterpret_cast<__m256i *>(p + 3 * kLanes), v);
    }
    for (; end - p >= kLanes; p += kLanes)
        _mm256_store_si256(reinterpret_cast<__m256i *>(p), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(end - kLanes), v);
}

#else

void fillPortable(QRgb *p, qsizetype n, QRgb c)
{
    std::fill(p, p + n, c);
}

#endif

} // namespace

PixelFill widestPixelFill()
{
#if defined(CLIPNAB_X86_FILL)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? &fillAvx2 : &fillSse2;
#else
    return &fillPortable;
#endif
}

} // namespace clipnab
