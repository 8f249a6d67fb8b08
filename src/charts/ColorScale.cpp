#include "charts/ColorScale.h"

#include "charts/ColorTable.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace mvx {

ScaleStatistics Compute_Scale_Statistics(std::span<const int32_t> values) {
    ScaleStatistics s;
    double sum = 0, sumSquares = 0;
    int64_t n = 0;
    for (int32_t v : values) {
        if (v == kNoData) continue;
        const double d = v;
        ++n;
        sum += d;
        sumSquares += d * d;
        if (d > s.Max) s.Max = d;
        if (d < s.Min) s.Min = d;
    }
    s.Count = static_cast<int32_t>(n < INT32_MAX ? n : INT32_MAX);
    if (n > 1) {
        const double dn = static_cast<double>(n);
        s.Mean = sum / dn;
        const double variance = (sumSquares - sum * sum / dn) / (dn - 1);
        // Cancellation can leave a tiny negative variance for constant data.
        s.StdDev = variance > 0 ? std::sqrt(variance) : 0;
    }
    return s;
}

ColorScaleRange Resolve_Scale(const ScaleStatistics& stats, const ScaleRule& rule, ChartScale& scale) {
    scale.DataCount = stats.Count;
    scale.DataMean = RoundToInt32(stats.Mean);
    scale.DataStdDev = RoundToInt32(stats.StdDev);
    scale.DataMax = RoundToInt32(stats.Max);
    scale.DataMin = RoundToInt32(stats.Min);

    ColorScaleRange range;
    range.Direction = rule.Direction;
    double lo = 0, hi = 0;
    if (rule.Direction) {
        lo = 0;
        hi = 360;
        scale.DataMin = 0;
        scale.DataMax = 360;
    } else {
        switch (rule.ScaleMode) {
        case 0:
            lo = rule.UserScale[0];
            hi = rule.UserScale[1];
            break;
        case 2:
        case 3:
        case 4: {
            const double k = rule.ScaleMode - 1;
            lo = stats.Mean - k * stats.StdDev;
            hi = stats.Mean + k * stats.StdDev;
            break;
        }
        default:
            lo = stats.Min;
            hi = stats.Max;
            break;
        }
    }
    if (lo < rule.LowLimit) lo = rule.LowLimit;
    if (hi > rule.HighLimit) hi = rule.HighLimit;

    if (lo >= hi) {
        scale.ScaleMax = 0;
        scale.ScaleMin = 0;
        return range;
    }
    range.Min = lo;
    range.Max = hi;
    range.Valid = true;
    scale.ScaleMax = RoundToInt32(hi);
    scale.ScaleMin = RoundToInt32(lo);
    return range;
}

int32_t Value_To_Color_Index(int32_t value, const ColorScaleRange& range) {
    if (value == kNoData || !range.Valid) return BadDataColor;
    const double span = range.Max - range.Min;
    if (range.Direction) {
        const double i = RoundHalfEven((value - range.Min) * 139.0 / span + 400.0);
        if (i < kDirectionScaleFirst) return BelowScaleColor;
        if (i > kDirectionScaleLast) return AboveScaleColor;
        return static_cast<int32_t>(i);
    }
    const double i = RoundHalfEven((value - range.Min) * 99.0 / span);
    if (i < kValueScaleFirst) return BelowScaleColor;
    if (i > kValueScaleLast) return AboveScaleColor;
    return static_cast<int32_t>(i);
}

void Values_To_Color_Indexes(std::span<int32_t> values, const ColorScaleRange& range) {
    if (!range.Valid) {
        std::fill(values.begin(), values.end(), BadDataColor);
        return;
    }
    int32_t lo = INT32_MAX, hi = INT32_MIN;
    for (int32_t v : values) {
        if (v == kNoData) continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    // Charted values are 16-bit or bytes: when they repeat, convert each distinct value once and look
    // the rest up, with exactly the same result as one by one.
    const int64_t distinct = int64_t{hi} - lo + 1;
    if (distinct > 0 && distinct <= (int64_t{1} << 20) &&
        distinct * 4 <= static_cast<int64_t>(values.size())) {
        std::vector<int16_t> table(static_cast<size_t>(distinct));
        for (int64_t i = 0; i < distinct; ++i)
            table[static_cast<size_t>(i)] =
                static_cast<int16_t>(Value_To_Color_Index(static_cast<int32_t>(lo + i), range));
        for (int32_t& v : values)
            v = v == kNoData ? BadDataColor : table[static_cast<size_t>(int64_t{v} - lo)];
        return;
    }
    for (int32_t& v : values) v = Value_To_Color_Index(v, range);
}

} // namespace mvx
