#include "charts/AxisSteps.h"

#include "common/Rounding.h"

#include <cstdint>

namespace mvx {

double Get_Ensemble_Step(double r) {
    if (r <= 10) return 1;
    if (r < 20) return 2;
    // From 20 on, every upper bound is inclusive: 1-2-5 steps, a tenth of the bound's decade or less.
    static constexpr double kBounds[] = {50,      100,     200,      500,      1000,    2000,   5000,
                                         10000,   20000,   50000,    100000,   200000,  500000, 1000000,
                                         2000000, 5000000, 10000000, 20000000, 50000000};
    static constexpr double kSteps[] = {5,      10,     20,      50,      100,    200,   500,
                                        1000,   2000,   5000,    10000,   20000,  50000, 100000,
                                        200000, 500000, 1000000, 2000000, 5000000};
    for (size_t i = 0; i < sizeof kBounds / sizeof kBounds[0]; ++i)
        if (r <= kBounds[i]) return kSteps[i];
    return 10000000;
}

double Get_Range_Step(double r, bool& fractional) {
    if (r <= 0.5) {
        fractional = true;
        return 0.2;
    }
    if (r <= 1) {
        fractional = true;
        return 0.5;
    }
    static constexpr double kBounds[] = {2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
    static constexpr double kSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000};
    for (size_t i = 0; i < sizeof kBounds / sizeof kBounds[0]; ++i)
        if (r <= kBounds[i]) return kSteps[i];
    return 1;
}

void Get_Time_Step(double& span, std::string& unitText, int32_t& unitCount, int32_t& step) {
    const double s = span;
    const int64_t n = RoundToInt64(s, INT64_MIN / 2, INT64_MAX / 2);
    int64_t unit = 0;
    if (s <= 120) {
        unit = 1;
        unitText = " sec";
    } else if (s <= 10800) {
        unit = 60;
        unitText = " min";
    } else if (s <= 1209600) {
        unit = 3600;
        unitText = " hr";
    } else {
        unit = 86400;
        unitText = " dy";
    }
    const int64_t c = n / unit;
    if (unit == 1) {
        step = c < 6 ? 1 : c < 11 ? 2 : c <= 30 ? 5 : c <= 60 ? 10 : 15;
    } else if (unit == 60) {
        // A span of exactly three hours (180 minutes) already takes hour steps.
        step = c < 6 ? 1 : c < 11 ? 2 : c < 31 ? 5 : c <= 60 ? 10 : c < 180 ? 30 : 60;
    } else if (unit == 3600) {
        step = c < 7 ? 1 : c < 13 ? 2 : c < 49 ? 6 : c <= 96 ? 12 : c <= 192 ? 24 : 48;
    } else {
        step = c < 31 ? 5 : c < 61 ? 10 : c <= 120 ? 20 : c <= 240 ? 40 : 80;
    }
    unitCount = static_cast<int32_t>(c > INT32_MAX ? INT32_MAX : c < INT32_MIN ? INT32_MIN : c);
    span = static_cast<double>(unit);
}

} // namespace mvx
