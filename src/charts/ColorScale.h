#pragma once
// The colour scale of a chart: statistics of the charted values, the value range the colours span, and
// the palette index of each value.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mvx {

// Value marking a cell without data.
constexpr int32_t kNoData = -32768;

// Scale state of one chart window, all whole numbers.
struct ChartScale {
    int32_t ScaleMax = 0, ScaleMin = 0; // the range the colours span
    int32_t DataMax = 0, DataMin = 0;   // extremes of the valid values (360 and 0 for directions)
    int32_t DataMean = 0, DataCount = 0, DataStdDev = 0;
};

// Unrounded statistics of the valid values (every value but kNoData).
struct ScaleStatistics {
    int32_t Count = 0;
    double Mean = 0, StdDev = 0;        // both 0 when Count is 1 or less
    double Max = -999999, Min = 999999; // the starting values remain when nothing is valid
};

ScaleStatistics Compute_Scale_Statistics(std::span<const int32_t> values);

// How the scale range is chosen.
struct ScaleRule {
    bool Direction = false; // directions always span 0..360
    int32_t ScaleMode = 1;  // 0 the user's pair, 1 data extremes, 2/3/4 mean -/+ 1/2/3 std dev
    std::array<int32_t, 2> UserScale{0, 0};      // minimum, maximum, for mode 0
    double LowLimit = -32767, HighLimit = 32767; // the data type's own limits
};

// The range the palette spans, unrounded; Valid is false when the minimum is not below the maximum, and
// then every value takes BadDataColor.
struct ColorScaleRange {
    double Min = 0, Max = 0;
    bool Valid = false;
    bool Direction = false;
};

// Chooses the range by the rule, clamps it to the data type's limits and stores the rounded statistics
// (DataMax, DataMin, DataMean, DataCount, DataStdDev) and range (ScaleMax, ScaleMin; both 0 when the
// range is empty) in scale. A scale mode outside 0..4 behaves as mode 1.
ColorScaleRange Resolve_Scale(const ScaleStatistics& stats, const ScaleRule& rule, ChartScale& scale);

// Palette index of one value: 0..99 on the value scale (400..539 for directions), BelowScaleColor below
// the range, AboveScaleColor above it, BadDataColor for kNoData or when the range is not valid.
// The scaled value is rounded halves to even.
int32_t Value_To_Color_Index(int32_t value, const ColorScaleRange& range);

// Replaces every value by its palette index.
void Values_To_Color_Indexes(std::span<int32_t> values, const ColorScaleRange& range);

} // namespace mvx
