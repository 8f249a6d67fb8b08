// Both forms of the rotation's inner loop are the same source. They compute in doubles exactly as the
// plain formula reads (two products, then their sum or difference, then the rounding), so every form
// gives the same values.
#include "analysis/CellRotation.h"

#include "model/EnsembleSet.h"

#include <algorithm>

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
inline int16_t Limited(double v) {
    constexpr double kRound = 6755399441055744.0;
    return static_cast<int16_t>(std::clamp(static_cast<int32_t>((v + kRound) - kRound), -32767, 32767));
}

// Without branches, so that it becomes vector code: a bad east or north value selects the bad marker.
[[gnu::always_inline]] inline void Rotate(const RotationRows& rows, int32_t count, double sinT, double cosT) {
    const int16_t* __restrict east = rows.East;
    const int16_t* __restrict north = rows.North;
    int16_t* __restrict along = rows.Long;
    int16_t* __restrict across = rows.Cross;
    for (int32_t n = 0; n < count; ++n) {
        const int32_t u = east[n], v = north[n];
        const bool good = (u != kBadValue) & (v != kBadValue);
        const int16_t l = Limited(u * sinT + v * cosT), c = Limited(u * cosT - v * sinT);
        along[n] = good ? l : static_cast<int16_t>(kBadValue);
        across[n] = good ? c : static_cast<int16_t>(kBadValue);
    }
}

} // namespace

void RotateCellsPortable(const RotationRows& rows, int32_t count, double sinT, double cosT) {
    Rotate(rows, count, sinT, cosT);
}

#if defined(__x86_64__)

[[gnu::target("avx2")]] void RotateCellsAvx2(const RotationRows& rows, int32_t count, double sinT,
                                             double cosT) {
    Rotate(rows, count, sinT, cosT);
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
