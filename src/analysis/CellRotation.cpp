// Both forms of the rotation's inner loop. They compute in doubles exactly as the plain formula reads
// (two products, then their sum or difference, then the rounding), so every form gives the same values.
#include "analysis/CellRotation.h"

#include "model/EnsembleSet.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// A product and a sum fused into one rounding would change values: none here, whatever the target.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace mvx {

namespace {

// A cell seen as four 32-bit words: word 0 holds east and north, word 3 long and cross track, the first
// row of each pair in the low half. Moving a pair as one word lets the compiler load four cells' pairs
// with a few vector instructions where it would pick 16-bit values one by one.
static_assert(std::endian::native == std::endian::little);
using CellWord [[gnu::may_alias]] = uint32_t;
constexpr int kCellRows = 8, kCellWords = 4, kEastNorth = 0, kLongCross = 3;
constexpr uint32_t kBadPair = 0x80008000u;

// Rounded to the nearest whole number, halves to even, and limited to +-32767. Adding and taking away
// 1.5 x 2^52 leaves the nearest whole number in the default rounding mode (halves to even) without a
// library call; |v| stays below 46341, so the whole number fits and limiting it after the rounding gives
// what limiting before would. Limiting whole numbers keeps floating-point comparisons, which may trap,
// out of the loop, so that the compiler can make vector code of it.
inline uint32_t Limited(double v) {
    constexpr double kRound = 6755399441055744.0;
    return static_cast<uint16_t>(std::clamp(static_cast<int32_t>((v + kRound) - kRound), -32767, 32767));
}

} // namespace

// Without branches: a bad east or north value selects the bad pair through a mask.
void RotateCellsPortable(int16_t* cells, int32_t count, double sinT, double cosT) {
    auto* __restrict words = reinterpret_cast<CellWord*>(cells);
    for (int32_t n = 0; n < count; ++n) {
        CellWord* cell = words + static_cast<ptrdiff_t>(n) * kCellWords;
        const uint32_t pair = cell[kEastNorth];
        const int32_t u = static_cast<int16_t>(pair & 0xFFFFu), v = static_cast<int16_t>(pair >> 16);
        const uint32_t good = -static_cast<uint32_t>((u != kBadValue) & (v != kBadValue));
        const uint32_t along = Limited(u * sinT + v * cosT), across = Limited(u * cosT - v * sinT);
        cell[kLongCross] = ((along | across << 16) & good) | (kBadPair & ~good);
    }
}

void MarkCellsBad(int16_t* cells, int32_t count) {
    auto* words = reinterpret_cast<CellWord*>(cells);
    for (int32_t n = 0; n < count; ++n) words[static_cast<ptrdiff_t>(n) * kCellWords + kLongCross] = kBadPair;
}

#if defined(__x86_64__)

// Eight cells (two 64-byte runs, four 256-bit registers) at a time. Each 128-bit half of a register is
// one cell: words [east-north, rows 2-3, rows 4-5, long-cross]. The pairs of the eight cells are
// gathered into one register, cells 0 2 4 6 in its low half and 1 3 5 7 in its high half, and the
// results go back the same way. The rounding is the conversion's own, in the default rounding mode
// (halves to even); the conversion to 16 bits saturates at -32768 and 32767, and the maximum with -32767
// completes the limit.
[[gnu::target("avx2")]] void RotateCellsAvx2(int16_t* cells, int32_t count, double sinT, double cosT) {
    const __m256d s = _mm256_set1_pd(sinT), c = _mm256_set1_pd(cosT);
    const __m256i bad = _mm256_set1_epi16(kBadValue), least = _mm256_set1_epi16(-32767);
    const __m256i badPair = _mm256_set1_epi32(static_cast<int32_t>(kBadPair)), zero = _mm256_setzero_si256();
    // Long of four cells then cross of the same four, as 16-bit values, into four long-cross pairs.
    const __m256i interleave = _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15, 0, 1, 8,
                                                9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
    if (count < 8) return RotateCellsPortable(cells, count, sinT, cosT);
    for (int32_t n = 0; n < count; n += 8) {
        // The last run ends at the last cell and may go over cells of the run before: they come out the
        // same, as rows 6 and 7 depend on rows 0 and 1 alone.
        const int32_t first = std::min(n, count - 8);
        auto* p = reinterpret_cast<__m256i*>(cells + static_cast<ptrdiff_t>(first) * kCellRows);
        const __m256i r0 = _mm256_loadu_si256(p), r1 = _mm256_loadu_si256(p + 1);
        const __m256i r2 = _mm256_loadu_si256(p + 2), r3 = _mm256_loadu_si256(p + 3);
        const __m256i pairs =
            _mm256_unpacklo_epi64(_mm256_blend_epi32(r0, _mm256_shuffle_epi32(r1, 0x00), 0x22),
                                  _mm256_blend_epi32(r2, _mm256_shuffle_epi32(r3, 0x00), 0x22));
        const __m256i u = _mm256_srai_epi32(_mm256_slli_epi32(pairs, 16), 16),
                      v = _mm256_srai_epi32(pairs, 16);
        const __m256d u0 = _mm256_cvtepi32_pd(_mm256_castsi256_si128(u));
        const __m256d u1 = _mm256_cvtepi32_pd(_mm256_extracti128_si256(u, 1));
        const __m256d v0 = _mm256_cvtepi32_pd(_mm256_castsi256_si128(v));
        const __m256d v1 = _mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1));
        const __m128i along0 = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_mul_pd(u0, s), _mm256_mul_pd(v0, c)));
        const __m128i along1 = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_mul_pd(u1, s), _mm256_mul_pd(v1, c)));
        const __m128i across0 = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_mul_pd(u0, c), _mm256_mul_pd(v0, s)));
        const __m128i across1 = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_mul_pd(u1, c), _mm256_mul_pd(v1, s)));
        __m256i result = _mm256_set_m128i(_mm_packs_epi32(along1, across1), _mm_packs_epi32(along0, across0));
        result = _mm256_shuffle_epi8(_mm256_max_epi16(result, least), interleave);
        const __m256i good = _mm256_cmpeq_epi32(_mm256_cmpeq_epi16(pairs, bad), zero);
        result = _mm256_blendv_epi8(badPair, result, good);
        _mm256_storeu_si256(p, _mm256_blend_epi32(r0, _mm256_shuffle_epi32(result, 0x00), 0x88));
        _mm256_storeu_si256(p + 1, _mm256_blend_epi32(r1, _mm256_shuffle_epi32(result, 0x55), 0x88));
        _mm256_storeu_si256(p + 2, _mm256_blend_epi32(r2, _mm256_shuffle_epi32(result, 0xAA), 0x88));
        _mm256_storeu_si256(p + 3, _mm256_blend_epi32(r3, _mm256_shuffle_epi32(result, 0xFF), 0x88));
    }
}

bool HasAvx2() {
    return __builtin_cpu_supports("avx2");
}

#else

void RotateCellsAvx2(int16_t* cells, int32_t count, double sinT, double cosT) {
    RotateCellsPortable(cells, count, sinT, cosT);
}

bool HasAvx2() {
    return false;
}

#endif

CellRotation FastestCellRotation() {
    return HasAvx2() ? RotateCellsAvx2 : RotateCellsPortable;
}

} // namespace mvx
