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

// Four cells (one 64-byte run, two 256-bit registers a and b) at a time. Each 128-bit half of a register
// is one cell: words [east-north, rows 2-3, rows 4-5, long-cross]. The rounding is the conversion's own,
// in the default rounding mode (halves to even); the conversion to 16 bits saturates at -32768 and
// 32767, and the maximum with -32767 completes the limit.
[[gnu::target("avx2")]] void RotateCellsAvx2(int16_t* cells, int32_t count, double sinT, double cosT) {
    const __m256d s = _mm256_set1_pd(sinT), c = _mm256_set1_pd(cosT);
    const __m128i bad = _mm_set1_epi16(kBadValue), least = _mm_set1_epi16(-32767), zero = _mm_setzero_si128();
    const __m128i badPair = _mm_set1_epi32(static_cast<int32_t>(kBadPair));
    // Long 0..3 then cross 0..3 as 16-bit values into long-cross pairs 0..3.
    const __m128i interleave = _mm_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
    // The pairs of cells 0, 2, 1, 3 into words 0..3, and back into word 3 of each cell.
    const __m256i gather = _mm256_setr_epi32(0, 1, 4, 5, 0, 1, 4, 5);
    const __m256i toA = _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, 2),
                  toB = _mm256_setr_epi32(1, 1, 1, 1, 1, 1, 1, 3);
    int32_t n = 0;
    for (; n + 4 <= count; n += 4) {
        auto* p = reinterpret_cast<__m256i*>(cells + static_cast<ptrdiff_t>(n) * kCellRows);
        const __m256i a = _mm256_loadu_si256(p), b = _mm256_loadu_si256(p + 1);
        const __m256i mixed = _mm256_blend_epi32(a, _mm256_shuffle_epi32(b, 0x00), 0x22);
        const __m128i pairs = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(mixed, gather));
        const __m256d u = _mm256_cvtepi32_pd(_mm_srai_epi32(_mm_slli_epi32(pairs, 16), 16));
        const __m256d v = _mm256_cvtepi32_pd(_mm_srai_epi32(pairs, 16));
        const __m256d along = _mm256_add_pd(_mm256_mul_pd(u, s), _mm256_mul_pd(v, c));
        const __m256d across = _mm256_sub_pd(_mm256_mul_pd(u, c), _mm256_mul_pd(v, s));
        __m128i result = _mm_packs_epi32(_mm256_cvtpd_epi32(along), _mm256_cvtpd_epi32(across));
        result = _mm_shuffle_epi8(_mm_max_epi16(result, least), interleave);
        const __m128i good = _mm_cmpeq_epi32(_mm_cmpeq_epi16(pairs, bad), zero);
        const __m256i wide = _mm256_castsi128_si256(_mm_blendv_epi8(badPair, result, good));
        _mm256_storeu_si256(p, _mm256_blend_epi32(a, _mm256_permutevar8x32_epi32(wide, toA), 0x88));
        _mm256_storeu_si256(p + 1, _mm256_blend_epi32(b, _mm256_permutevar8x32_epi32(wide, toB), 0x88));
    }
    RotateCellsPortable(cells + static_cast<ptrdiff_t>(n) * kCellRows, count - n, sinT, cosT);
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
