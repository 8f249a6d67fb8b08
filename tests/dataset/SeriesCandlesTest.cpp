// The series chart's candles: interval cutting, statistics on hand-made data, the sample layout the
// trend window reads, and the series codes of the check boxes.
#include "dataset/SeriesCandles.h"

#include "common/Rounding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace mvx;

namespace {

// A set of n slots whose east velocity of bin b at slot e is 10*e + b, and whose bottom-track east is -e.
EnsembleSet MakeSet(int n) {
    EnsembleSet set;
    Allocate_Ensemble_Set(set, n);
    for (int e = 0; e < n; ++e) {
        for (int b = 0; b < 4; ++b) set.VelData(0, b, e) = static_cast<int16_t>(10 * e + b);
        set.BTVelData(0, e) = static_cast<int16_t>(-e);
    }
    return set;
}

SeriesSelection Select(std::vector<int32_t> codes, std::vector<int> bins) {
    return SeriesSelection{std::move(codes), std::move(bins)};
}

} // namespace

TEST(SeriesCandles, CodesOfTheCheckBoxes) {
    struct Case {
        int Box;
        int32_t Code;
    };
    for (const Case& c : {Case{0, 1},
                          {4, 5},
                          {5, 10},
                          {9, 50},
                          {10, 100},
                          {15, 600},
                          {16, 1000},
                          {19, 4000},
                          {20, 10000},
                          {25, 60000},
                          {26, 100000},
                          {31, 600000},
                          {32, 1000000},
                          {33, 2000000},
                          {34, 5000000},
                          {35, 6000000},
                          {36, 0},
                          {-1, 0}})
        EXPECT_EQ(Series_Code(c.Box), c.Code) << "box " << c.Box;
}

TEST(SeriesCandles, IntervalsCutTheSet) {
    struct Case {
        int32_t Ensembles;
        double Duration;
        bool On, All;
        double Interval;
        int32_t Per, Count;
    };
    const Case cases[] = {
        {10, 100, true, false, 40, 4, 2},   // 2.5 intervals round to even
        {10, 100, true, false, 30, 3, 3},   //
        {10, 0, true, false, 30, 10, 1},    // zero duration: one interval of all
        {1, 0, true, false, 30, 1, 1},      // a single ensemble
        {10, 100, true, false, 0.1, 1, 10}, // an interval shorter than an ensemble: one each
        {10, 100, true, false, 1e9, 10, 1}, // longer than the set: all of it
        {10, 100, false, false, 30, 10, 1}, // averaging off: the whole set
        {10, 100, true, true, 30, 10, 1},   // "All": the whole set
        {0, 100, true, false, 30, 0, 0},
    };
    for (const Case& c : cases) {
        const CandleIntervals i = Candle_Intervals(c.Ensembles, c.Duration, c.On, c.All, c.Interval);
        EXPECT_EQ(i.EnsemblesPerInterval, c.Per) << c.Ensembles << " " << c.Interval;
        EXPECT_EQ(i.Count, c.Count) << c.Ensembles << " " << c.Interval;
    }
}

TEST(SeriesCandles, StatisticsOfEachCandle) {
    EnsembleSet set = MakeSet(10);
    set.VelData(0, 2, 1) = kBadValue; // one missing sample in the first candle of bin 2
    Candles c;
    c.SelectedCandle = 7;
    Compute_Series_Candles(c, set, 10, 4, Select({100, 10000}, {0, 2}),
                           Candle_Intervals(10, 100, true, false, 40));
    ASSERT_EQ(c.CandleCount, 2);
    ASSERT_EQ(c.StatRowCount, 2);
    ASSERT_EQ(c.StatGroupCount, 2);
    EXPECT_EQ(c.SamplesPerCandle, 6);
    EXPECT_EQ(c.SelectedCandle, 1);
    ASSERT_EQ(c.CandleLabels.size(), 2u);
    EXPECT_EQ(c.CandleLabels[0], "Bin ");
    EXPECT_EQ(c.CandleLabels[1], "BT  ");
    struct Row {
        int Candle, Row, Group;
        std::array<int32_t, 8> Stats;
    };
    // Bin 0, candle 0: 0, 10, 20, 30 (mean 15, sd sqrt(500/3) = 12.9); candle 1: 40..90 (mean 65, sd 18.7).
    // Bin 2, candle 0 without its sample 12: 2, 22, 32.
    const Row rows[] = {
        {0, 0, 0, {0, 0, 3, 15, 13, 30, 0, 4}},
        {1, 0, 0, {0, 4, 9, 65, 19, 90, 40, 6}},
        {0, 1, 0, {2, 0, 3, 19, 15, 32, 2, 3}},
        {1, 1, 1, {2, 4, 9, -6, 2, -4, -9, 6}},
    };
    for (const Row& r : rows)
        for (int f = 0; f < CandleFieldCount; ++f)
            EXPECT_EQ(c.Stat(f, r.Candle, r.Row, r.Group), r.Stats[static_cast<size_t>(f)])
                << "candle " << r.Candle << " row " << r.Row << " group " << r.Group << " field " << f;
    EXPECT_EQ(c.Sample(0, 1, 0, 1), kNoSample);
    EXPECT_EQ(c.Sample(0, 1, 0, 2), 22);
    EXPECT_EQ(c.Sample(0, 0, 0, 5), kNoSample); // beyond the first candle's four samples
    EXPECT_EQ(c.Sample(1, 0, 1, 5), -9);
}

TEST(SeriesCandles, FewOrNoValidSamples) {
    EnsembleSet set = MakeSet(3);
    for (int e = 0; e < 3; ++e) set.VelData(0, 1, e) = kBadValue;
    set.VelData(0, 0, 0) = set.VelData(0, 0, 2) = kBadValue; // only 10 is left in bin 0
    Candles c;
    // Bin 1 has no sample; bin 7 lies beyond the four cells.
    Compute_Series_Candles(c, set, 3, 4, Select({100}, {0, 1, 7}), Candle_Intervals(3, 0, true, false, 30));
    ASSERT_EQ(c.CandleCount, 1);
    ASSERT_EQ(c.StatRowCount, 3);
    EXPECT_EQ(c.Stat(CandleMean, 0, 0, 0), 10);
    EXPECT_EQ(c.Stat(CandleStdDev, 0, 0, 0), 0);
    EXPECT_EQ(c.Stat(CandleCountField, 0, 0, 0), 1);
    for (int row : {1, 2}) {
        EXPECT_EQ(c.Stat(CandleCountField, 0, row, 0), 0);
        EXPECT_EQ(c.Stat(CandleMax, 0, row, 0), 0);
        EXPECT_EQ(c.Sample(0, row, 0, 0), kNoSample);
    }
}

TEST(SeriesCandles, NothingToAverageLeavesNoCandles) {
    const EnsembleSet set = MakeSet(5);
    Candles c;
    Compute_Series_Candles(c, set, 5, 4, Select({100, 10000}, {0}), Candle_Intervals(5, 5, true, false, 1));
    ASSERT_EQ(c.CandleCount, 5);
    // Per-bin codes without a bin drop out; the reference code keeps one row.
    Compute_Series_Candles(c, set, 5, 4, Select({100, 10000}, {}), Candle_Intervals(5, 5, true, false, 1));
    EXPECT_EQ(c.StatGroupCount, 1);
    EXPECT_EQ(c.StatRowCount, 1);
    Compute_Series_Candles(c, set, 5, 4, Select({}, {0}), Candle_Intervals(5, 5, true, false, 1));
    EXPECT_EQ(c.CandleCount, 0);
    EXPECT_TRUE(c.CandleStats.empty());
    Compute_Series_Candles(c, set, 0, 4, Select({100}, {0}), Candle_Intervals(0, 5, true, false, 1));
    EXPECT_EQ(c.CandleCount, 0);
}

TEST(SeriesCandles, BinChoicesKeepToTheBinsShown) {
    std::array<bool, 256> bins{};
    bins[1] = bins[12] = bins[13] = bins[255] = true;
    Map_Series_Bins(bins, 1, 12);
    std::vector<int> kept;
    for (int b = 0; b < 256; ++b)
        if (bins[static_cast<size_t>(b)]) kept.push_back(b);
    EXPECT_EQ(kept, (std::vector<int>{1, 12}));
}

namespace {

// A random set of 190 ensembles in 200 slots: velocities of bins 0..5 with a tenth missing, directions
// close to either side of north, bytes, reference and navigation values; ensembles 40..59 miss every
// velocity but one at 50.
EnsembleSet RandomSet() {
    EnsembleSet set;
    Allocate_Ensemble_Set(set, 200);
    std::mt19937 rng(7);
    auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto word = [&](int lo, int hi) {
        return static_cast<int16_t>(draw(0, 9) == 0 ? kBadValue : draw(lo, hi));
    };
    for (int e = 0; e < 200; ++e) {
        const bool gap = e >= 40 && e < 60 && e != 50;
        for (int b = 0; b < 6; ++b) {
            for (int row = 0; row < 5; ++row) {
                set.VelData(row, b, e) = gap ? kBadValue : word(-32767, 32767);
                set.IntensityData(row, b, e) = static_cast<uint8_t>(draw(0, 255));
                set.CorrData(row, b, e) = static_cast<uint8_t>(draw(0, 255));
                set.PGoodData(row, b, e) = static_cast<uint8_t>(draw(0, 100));
            }
            set.VelData(5, b, e) = gap ? kBadValue : static_cast<int16_t>((word(-30, 30) + 3600) % 3600);
        }
        for (int row = 0; row < 6; ++row) {
            set.BTVelData(row, e) = word(-3000, 3000);
            set.RefVelData(row, e) = word(-3000, 3000);
            set.NavData(row, e) =
                row == 5 ? static_cast<int16_t>(draw(3590, 3609) % 3600) : word(-3000, 3000);
        }
    }
    return set;
}

} // namespace

// Every statistic and sample against a plain sum over the set's values, for intervals that leave a
// longer or shorter last candle, single-ensemble candles, the whole set, and intervals cut for a larger
// set; bins 5 and 9 lie beyond the five cells.
TEST(SeriesCandles, StatisticsMatchAPlainSum) {
    const EnsembleSet set = RandomSet();
    const int ens = 190, cells = 5;
    const SeriesSelection sel =
        Select({1, 5, 30, 100, 600, 4000, 10000, 60000, 200000, 600000, 6000000}, {0, 3, 5, 9});
    struct Case {
        int32_t SetSize, Per, Count;
    };
    for (const Case& k :
         {Case{ens, 7, 27}, {ens, 30, 6}, {ens, 20, 10}, {ens, 1, 190}, {ens, 190, 1}, {400, 50, 4}}) {
        Candles out;
        Compute_Series_Candles(out, set, ens, cells, sel,
                               Candle_Intervals(k.SetSize, k.SetSize, true, false, k.Per));
        ASSERT_EQ(out.CandleCount, k.Count) << "per " << k.Per;
        ASSERT_EQ(out.StatGroupCount, 11);
        ASSERT_EQ(out.StatRowCount, 4);
        ASSERT_EQ(out.GroupCodes.size(), 11u);
        for (int c = 0; c < out.CandleCount; ++c)
            for (int r = 0; r < 4; ++r)
                for (int g = 0; g < 11; ++g) {
                    const int first = c * k.Per, last = c == k.Count - 1 ? ens - 1 : first + k.Per - 1;
                    const int bin = sel.Bins[static_cast<size_t>(r)];
                    double sum = 0, sumSq = 0;
                    int32_t n = 0, hi = 0, lo = 0;
                    for (int s = 0; s < out.SamplesPerCandle; ++s) {
                        const int e = first + s;
                        const int32_t v =
                            e <= last
                                ? Series_Value(set, out.GroupCodes[static_cast<size_t>(g)], bin, e, cells)
                                : kBadValue;
                        ASSERT_EQ(out.Sample(g, r, c, s), v)
                            << "candle " << c << " row " << r << " group " << g;
                        if (v == kBadValue) continue;
                        hi = n == 0 ? v : std::max(hi, v);
                        lo = n == 0 ? v : std::min(lo, v);
                        sum += v;
                        sumSq += double(v) * v;
                        ++n;
                    }
                    const double mean = n > 0 ? sum / n : 0;
                    const double sd = n > 1 ? std::sqrt(std::max(0.0, (sumSq - sum * sum / n) / (n - 1))) : 0;
                    const std::array<int32_t, 8> want{bin, first, last, RoundToInt32(mean), RoundToInt32(sd),
                                                      hi,  lo,    n};
                    for (int f = 0; f < CandleFieldCount; ++f)
                        ASSERT_EQ(out.Stat(f, c, r, g), want[static_cast<size_t>(f)])
                            << "per " << k.Per << " candle " << c << " row " << r << " group " << g
                            << " field " << f;
                }
    }
}
