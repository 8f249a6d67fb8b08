#pragma once
// The series chart's averaging intervals ("candles"): per interval, selected bin and series code, eight
// statistics and the interval's raw samples. The series chart writes them on every redraw; the trend
// window reads them and picks the candle and the table line it plots.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// Field order of one candle's statistics, all rounded to 32-bit integers in the series' raw units.
enum CandleField : int {
    CandleBin = 0,   // bin index of the row (0-based)
    CandleFirst = 1, // first ensemble of the interval, as an offset from the set's first ensemble
    CandleLast = 2,  // last ensemble, same offset
    CandleMean = 3,
    CandleStdDev = 4,
    CandleMax = 5,
    CandleMin = 6,
    CandleCountField = 7, // valid samples; a count of 1 or less gives mean and deviation 0
    CandleFieldCount = 8
};

inline constexpr std::int16_t kNoSample = -32768;

struct Candles {
    int CandleCount = 0;        // intervals of the loaded set
    int StatRowCount = 0;       // table rows per group (a row per selected bin, or one for reference series)
    int StatGroupCount = 0;     // groups (a group per series code)
    int SamplesPerCandle = 0;   // the longest interval's sample count: the sample axis's extent
    double IntervalSeconds = 0; // the interval length the chart averaged over

    // (field, candle, row, group), the field index varying fastest.
    std::vector<std::int32_t> CandleStats;
    // (group, row, candle, sample), the group index varying fastest; kNoSample where there is no value.
    std::vector<std::int16_t> CandleSamples;
    std::vector<std::string> CandleUnits;  // per group; "deg" marks direction
    std::vector<std::string> CandleLabels; // per group: "Bin ", "BT  ", "WM  ", "NAV "
    std::vector<int> GroupCodes;           // per group: the series code it shows

    // Written by the trend window.
    int SelectedCandle = 0;
    int TrendPasses = 0;
    int TrendRow = 0, TrendGroup = 0;

    void Resize(int candles, int rows, int groups, int samplesPerCandle) {
        CandleCount = candles;
        StatRowCount = rows;
        StatGroupCount = groups;
        SamplesPerCandle = samplesPerCandle;
        const auto cells = std::size_t(candles) * std::size_t(rows) * std::size_t(groups);
        CandleStats.assign(cells * CandleFieldCount, 0);
        CandleSamples.assign(cells * std::size_t(samplesPerCandle), kNoSample);
        CandleUnits.assign(std::size_t(groups), {});
        CandleLabels.assign(std::size_t(groups), {});
        GroupCodes.assign(std::size_t(groups), 0);
    }
    bool Holds(int candle, int row, int group) const {
        return candle >= 0 && candle < CandleCount && row >= 0 && row < StatRowCount && group >= 0 &&
               group < StatGroupCount;
    }
    std::size_t StatIndex(int field, int candle, int row, int group) const {
        return std::size_t(field) +
               CandleFieldCount * (std::size_t(candle) +
                                   std::size_t(CandleCount) *
                                       (std::size_t(row) + std::size_t(StatRowCount) * std::size_t(group)));
    }
    std::int32_t Stat(int field, int candle, int row, int group) const {
        return CandleStats[StatIndex(field, candle, row, group)];
    }
    std::size_t SampleIndex(int group, int row, int candle, int sample) const {
        return std::size_t(group) +
               std::size_t(StatGroupCount) *
                   (std::size_t(row) +
                    std::size_t(StatRowCount) *
                        (std::size_t(candle) + std::size_t(CandleCount) * std::size_t(sample)));
    }
    std::int16_t Sample(int group, int row, int candle, int sample) const {
        return CandleSamples[SampleIndex(group, row, candle, sample)];
    }
};

} // namespace mvx
