#include "analysis/Trend.h"
#include "analysis/TrendText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mvx;

namespace {

constexpr double M = kMissing;

TEST(Smooth, OnePass) {
    const struct {
        std::vector<double> In, Out;
    } cases[] = {
        {{1, 2, 3}, {1.25, 2, 2.75}},
        {{M, M, M}, {M, M, M}},
        {{}, {}},
        {{5}, {5}},
        // Fill seeded from the last value down: 3, then 0.1 x 1 + 0.9 x 3 = 2.8; the gap takes the fill
        // value as it runs forwards (0.1 x 3 + 0.9 x 2.8 = 2.82 after the step onto element 2).
        {{1, M, 3}, {(2 * 1 + 1 + 2.8) / 4, (2 * 2.8 + 1 + 3) / 4, (3 * 3 + 2.8) / 4}},
        {{M, 4, 4}, {(2 * 4 + 4 + 4) / 4, 4, 4}},
    };
    for (const auto& c : cases) {
        std::vector<double> data = c.In;
        Smooth(data);
        ASSERT_EQ(data.size(), c.Out.size());
        for (size_t i = 0; i < data.size(); ++i) EXPECT_DOUBLE_EQ(data[i], c.Out[i]) << i;
    }
}

// One candle of one row and the given groups, samples per group as given.
Candles OneCandle(const std::vector<std::vector<int16_t>>& groups, const std::vector<int32_t>& codes) {
    Candles c;
    const int n = static_cast<int>(groups[0].size());
    c.Resize(1, 1, static_cast<int>(groups.size()), n);
    for (size_t g = 0; g < groups.size(); ++g) {
        c.GroupCodes[g] = codes[g];
        c.CandleUnits[g] = codes[g] == 600 ? "deg" : "mm/s";
        c.CandleLabels[g] = "Bin ";
        for (int i = 0; i < n; ++i) c.CandleSamples[c.SampleIndex(int(g), 0, 0, i)] = groups[g][size_t(i)];
        c.CandleStats[c.StatIndex(CandleLast, 0, 0, int(g))] = n - 1;
        c.CandleStats[c.StatIndex(CandleCountField, 0, 0, int(g))] = n;
    }
    return c;
}

TEST(Trend, PassesWidthAndResiduals) {
    const struct {
        int Passes;
        std::vector<int16_t> Samples;
        int Width, Count;
        double Largest, Smallest;
    } cases[] = {
        {0, {10, 20, kNoSample, 40}, 1, 3, 0, 0}, // unsmoothed: no residual
        {1, {1, 2, 3}, 3, 3, 0.25, -0.25},        // about 1.25, 2, 2.75
        {2, {kNoSample, kNoSample}, 5, 0, 0, 0},  // no valid sample: nothing to sum
        {-3, {7}, 1, 1, 0, 0},                    // passes below 0 count as 0
    };
    EnsembleSet empty;
    for (const auto& c : cases) {
        Candles candles = OneCandle({c.Samples}, {100});
        candles.TrendPasses = c.Passes;
        const TrendSeries t = Compute_Trend(candles, empty);
        EXPECT_TRUE(t.Valid);
        EXPECT_EQ(t.Width, c.Width);
        EXPECT_EQ(t.Count, c.Count);
        EXPECT_DOUBLE_EQ(t.Largest, c.Largest);
        EXPECT_DOUBLE_EQ(t.Smallest, c.Smallest);
        EXPECT_EQ(Show_Stat_Text(candles, 0, 1, 0).Header[0], "Triangular Width " + std::to_string(c.Width));
    }
}

TEST(Trend, DirectionFollowsTheSmoothedComponentsAndWrapsResiduals) {
    // Water bin 0 over three ensembles: east 0, north 100 (0 degrees) then east -1, north 100 (359.4).
    EnsembleSet set;
    Allocate_Ensemble_Set(set, 3);
    const int16_t east[3] = {0, -1, 0};
    for (int i = 0; i < 3; ++i) {
        set.VelData(0, 0, i) = east[i];
        set.VelData(1, 0, i) = 100;
    }
    Candles candles = OneCandle({{0, 3594, 0}}, {600});
    TrendSeries t = Compute_Trend(candles, set);
    EXPECT_TRUE(t.Direction);
    ASSERT_EQ(t.Residual.size(), 3u);
    EXPECT_NEAR(t.Residual[1], -0.27, 0.01); // 3594 about 3594.27
    candles.TrendPasses = 1;
    t = Compute_Trend(candles, set);
    ASSERT_EQ(t.Trend.size(), 3u);
    // East smoothed to -0.25 at the first sample: the trend is 359.86 degrees and the raw 0 lies 1.43
    // tenths above it, not a full turn below.
    EXPECT_NEAR(t.Trend[0], 3598.57, 0.01);
    EXPECT_NEAR(t.Residual[0], 1.43, 0.01);
    EXPECT_NEAR(t.Residual[1], -3.14, 0.01);
}

TEST(Trend, DirectionGroupsReadTheirOwnComponents) {
    // Every source due east (east 100, north 0) over three ensembles except the one the code names,
    // which points due north: only a trend from the right array has no residual.
    const struct {
        int32_t Code;
        SlotArray<int16_t> EnsembleSet::*Source;
    } cases[] = {{600, &EnsembleSet::VelData},
                 {60000, &EnsembleSet::BTVelData},
                 {600000, &EnsembleSet::RefVelData},
                 {6000000, &EnsembleSet::NavData}};
    for (const auto& c : cases) {
        EnsembleSet set;
        Allocate_Ensemble_Set(set, 3);
        for (auto* a : {&set.VelData, &set.BTVelData, &set.RefVelData, &set.NavData})
            for (int i = 0; i < 3; ++i) {
                (*a)(0, 0, i) = a == &(set.*c.Source) ? 0 : 100;
                (*a)(1, 0, i) = a == &(set.*c.Source) ? 100 : 0;
            }
        Candles candles = OneCandle({{0, 0, 0}}, {c.Code});
        const TrendSeries t = Compute_Trend(candles, set);
        EXPECT_TRUE(t.Direction) << c.Code;
        EXPECT_EQ(t.Count, 3) << c.Code;
        EXPECT_DOUBLE_EQ(t.Largest, 0) << c.Code;
        EXPECT_DOUBLE_EQ(t.Smallest, 0) << c.Code;
    }
}

TEST(Trend, PickedLineAndCandleAreHeldToTheTable) {
    Candles candles = OneCandle({{1, 2}, {3, 4}}, {100, 200});
    candles.TrendGroup = 9;
    candles.TrendRow = -4;
    candles.SelectedCandle = 5;
    const TrendSeries t = Compute_Trend(candles, EnsembleSet{});
    EXPECT_EQ(t.Group, 1);
    EXPECT_EQ(t.Row, 0);
    EXPECT_EQ(t.Candle, 0);
    // Displayed line 0 is the last group; a line beyond the table changes nothing.
    EXPECT_TRUE(Pick_Table_Line(candles, 1));
    EXPECT_EQ(candles.TrendGroup, 0);
    EXPECT_FALSE(Pick_Table_Line(candles, 2));
    EXPECT_EQ(candles.TrendGroup, 0);
    Candles none;
    EXPECT_FALSE(Compute_Trend(none, EnsembleSet{}).Valid);
    EXPECT_FALSE(Pick_Table_Line(none, 0));
}

TEST(Trend, CandleEntries) {
    const struct {
        const char* Answer;
        std::optional<int32_t> Candle;
    } cases[] = {{"", std::nullopt}, {"x", std::nullopt}, {"0", 0},   {"-7", 0},
                 {"3", 2},           {"99", 4},           {"2.5", 2}, {"3.5", 2}};
    for (const auto& c : cases) EXPECT_EQ(Candle_Entry(c.Answer, 5), c.Candle) << c.Answer;
}

TEST(TrendText, StatisticsTable) {
    Candles candles = OneCandle({{1, 2, 3}, {900, 900, 900}}, {100, 600});
    candles.IntervalSeconds = 3725.5;
    candles.CandleStats[candles.StatIndex(CandleBin, 0, 0, 0)] = 4;
    candles.CandleStats[candles.StatIndex(CandleMean, 0, 0, 1)] = 905;
    candles.CandleStats[candles.StatIndex(CandleStdDev, 0, 0, 1)] = 14;
    candles.CandleStats[candles.StatIndex(CandleMax, 0, 0, 1)] = 1234;
    candles.TrendGroup = 1;
    const StatText text = Show_Stat_Text(candles, 100, 30, 1);
    ASSERT_EQ(text.Header.size(), 8u);
    EXPECT_EQ(text.Header[1], "First Ensemble       100");
    EXPECT_EQ(text.Header[2], "Last Ensemble        102");
    EXPECT_EQ(text.Header[3], "Interval 0001:02:05.50");
    EXPECT_EQ(text.CandleLabel, "  1");
    ASSERT_EQ(text.Table.size(), 2u);
    // The direction group comes first, in degrees; bins counted from the top (30 - 0).
    EXPECT_EQ(text.Table[0].Text, "  Bin    30         90 \xB1 1   123     0    deg        3");
    EXPECT_EQ(text.Table[1].Text, "  Bin    26          0 \xB1 0     0     0   mm/s        3");
    EXPECT_EQ(text.PickedLine, 0);
}

} // namespace
