// Both forms of the rotation's inner loop. They compute in doubles exactly as the plain formula reads
// (two products, then their sum or difference, then the rounding), so every form gives the same values.
#include "analysis/CellRotation.h"

#include "model/EnsembleSet.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// A product and a sum fused into one rounding would change values: none here, whatever the target.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace mvx {

namespace {

// Rounded to the nearest whole number, halves to even, and limited to +-32767. Adding and taking away
// 1.5 x 2^52 leaves the nearest whole number in the default rounding mode (halves to even) without a
// library call; |v| stays below 46341, so the whole number fits and limiting it after the rounding gives
// what limiting before would. Limiting whole numbers keeps floating-point comparisons, which may trap,
// out of the loop, so that the compiler can make vector code of it.
inline int32_t Limited(double v) {
    constexpr double kRound = 6755399441055744.0;
    return std::clamp(static_cast<int32_t>((v + kRound) - kRound), -32767, 32767);
}

// Bins first .. first + count - 1, without branches so that it becomes vector code: a bad east or north
// value selects the bad marker through a mask.
[[gnu::always_inline]] inline void RotateRun(const RotationRows& rows, int32_t first, int32_t count,
                                             double sinT, double cosT) {
    const int16_t* __restrict east = rows.East + first;
    const int16_t* __restrict north = rows.North + first;
    int16_t* __restrict along = rows.Long + first;
    int16_t* __restrict across = rows.Cross + first;
    for (int32_t n = 0; n < count; ++n) {
        const int32_t u = east[n], v = north[n];
        const int32_t good = -static_cast<int32_t>((u != kBadValue) & (v != kBadValue));
        const int32_t l = Limited(u * sinT + v * cosT), c = Limited(u * cosT - v * sinT);
        along[n] = static_cast<int16_t>((l & good) | (kBadValue & ~good));
        across[n] = static_cast<int16_t>((c & good) | (kBadValue & ~good));
    }
}

} // namespace

void RotateCellsPortable(const RotationRows& rows, int32_t count, double sinT, double cosT) {
    RotateRun(rows, 0, count, sinT, cosT);
}

#if defined(__x86_64__)

// Eight 16-bit values as two sets of four doubles.
[[gnu::target("avx2")]] inline void Doubles(__m128i words, __m256d& low, __m256d& high) {
    const __m256i wide = _mm256_cvtepi16_epi32(words);
    low = _mm256_cvtepi32_pd(_mm256_castsi256_si128(wide));
    high = _mm256_cvtepi32_pd(_mm256_extracti128_si256(wide, 1));
}

// Eight bins at a time: each run's east and north become two sets of four doubles. The rounding is the
// conversion's own, in the default rounding mode (halves to even); the packing to 16 bits saturates at
// -32768 and 32767, and the maximum with -32767 completes the limit. The last run ends at the last bin
// and may go over bins of the run before: they come out the same, as the output rows depend on the input
// rows alone.
[[gnu::target("avx2")]] void RotateCellsAvx2(const RotationRows& rows, int32_t count, double sinT,
                                             double cosT) {
    if (count < 8) return RotateRun(rows, 0, count, sinT, cosT);
    const __m256d s = _mm256_set1_pd(sinT), c = _mm256_set1_pd(cosT);
    const __m128i bad = _mm_set1_epi16(kBadValue), least = _mm_set1_epi16(-32767);
    for (int32_t n = 0; n < count; n += 8) {
        const int32_t first = std::min(n, count - 8);
        const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows.East + first));
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows.North + first));
        __m256d u0, u1, v0, v1;
        Doubles(u, u0, u1);
        Doubles(v, v0, v1);
        const __m128i along0 = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_mul_pd(u0, s), _mm256_mul_pd(v0, c)));
        const __m128i along1 = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_mul_pd(u1, s), _mm256_mul_pd(v1, c)));
        const __m128i across0 = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_mul_pd(u0, c), _mm256_mul_pd(v0, s)));
        const __m128i across1 = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_mul_pd(u1, c), _mm256_mul_pd(v1, s)));
        const __m128i badMask = _mm_or_si128(_mm_cmpeq_epi16(u, bad), _mm_cmpeq_epi16(v, bad));
        const __m128i along = _mm_max_epi16(_mm_packs_epi32(along0, along1), least);
        const __m128i across = _mm_max_epi16(_mm_packs_epi32(across0, across1), least);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rows.Long + first), _mm_blendv_epi8(along, bad, badMask));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rows.Cross + first),
                         _mm_blendv_epi8(across, bad, badMask));
    }
}

bool HasAvx2() {
    return __builtin_cpu_supports("avx2");
}

#else

void RotateCellsAvx2(const RotationRows& rows, int32_t count, double sinT, double cosT) {
    RotateCellsPortable(rows, count, sinT, cosT);
}

bool HasAvx2() {
    return false;
}

#endif

CellRotation FastestCellRotation() {
    return HasAvx2() ? RotateCellsAvx2 : RotateCellsPortable;
}

} // namespace mvx
