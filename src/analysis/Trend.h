#pragma once
// The trend of one series of a candle and its residuals: the series is smoothed by repeated 1-2-1 passes
// that fill gaps on the way, and what is left about the trend is summed up. Direction series are not
// smoothed themselves: their east and north components are, and the trend is the direction of the pair.
#include "model/Candles.h"
#include "model/EnsembleSet.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mvx {

// The value that marks a missing sample in a work buffer.
inline constexpr double kMissing = -32768.0;

// One smoothing pass in place: each value becomes (previous + 2 x value + next) / 4 of the raw values, the
// ends weighting themselves 3 to 1 with their one neighbour. Missing values are replaced by a running fill
// value (an exponential average, 0.1 new to 0.9 old, seeded from the last value down to the first) and
// come out filled. A series without any valid value is left as it is.
void Smooth(std::span<double> data);

// The trend of the picked table line of the selected candle.
struct TrendSeries {
    bool Valid = false;     // a candle, a table line and at least one sample to show
    bool Direction = false; // a direction group: trend from the smoothed east and north components
    int32_t Width = 1;      // 2 x passes + 1
    int32_t Candle = 0, Group = 0, Row = 0;
    int32_t Minimum = 0, Maximum = 0; // the candle's statistics, raw units
    std::vector<double> Raw;          // the samples, kMissing where there is none
    std::vector<double> Trend;        // kMissing where there is none
    std::vector<double> Residual;     // kMissing where raw or trend is missing
    // Over the residuals that exist; mean and deviation 0 for a count of 1 or less.
    int32_t Count = 0;
    double Largest = 0, Smallest = 0, Mean = 0, StdDev = 0;
};

// Computes the trend of line (TrendGroup, TrendRow) of SelectedCandle, with TrendPasses passes. The
// picked line and candle are first limited to the table (and written back). For a direction group the
// east and north components are read from data over the candle's ensembles (slots = offsets from the
// set's first ensemble). Direction residuals are taken the short way round the circle.
TrendSeries Compute_Trend(Candles& candles, const EnsembleSet& data);

// The candle an input-box answer selects: nothing for an empty answer or one that does not start with a
// number; otherwise round(value - 1) limited to 0..count-1.
std::optional<int32_t> Candle_Entry(const std::string& answer, int32_t count);

} // namespace mvx
