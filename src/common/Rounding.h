#pragma once
// Every real-to-integer conversion of the program rounds to the nearest integer, halves to even.
#include <cmath>
#include <cstdint>

namespace mvx {

// Nearest integer, halves to even (banker's rounding), as a double.
inline double RoundHalfEven(double v) {
    double r = std::nearbyint(v); // default FE_TONEAREST gives halves to even
    return r;
}

// Rounds and clamps into [lo, hi] so a huge or NaN value can never overflow the target type.
inline int64_t RoundToInt64(double v, int64_t lo, int64_t hi) {
    if (std::isnan(v)) return lo;
    double r = RoundHalfEven(v);
    if (r < static_cast<double>(lo)) return lo;
    if (r > static_cast<double>(hi)) return hi;
    return static_cast<int64_t>(r);
}

inline int32_t RoundToInt32(double v) {
    return static_cast<int32_t>(RoundToInt64(v, INT32_MIN, INT32_MAX));
}
inline int16_t RoundToInt16(double v) {
    return static_cast<int16_t>(RoundToInt64(v, INT16_MIN, INT16_MAX));
}

} // namespace mvx
