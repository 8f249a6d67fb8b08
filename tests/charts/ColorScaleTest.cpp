#include "charts/ColorScale.h"
#include "charts/ColorTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace mvx {
namespace {

ColorScaleRange UserScale(int32_t lo, int32_t hi, bool direction = false) {
    ScaleRule rule;
    rule.Direction = direction;
    rule.ScaleMode = 0;
    rule.UserScale = {lo, hi};
    if (direction) {
        rule.LowLimit = 0;
        rule.HighLimit = 360;
    }
    ChartScale scale;
    return Resolve_Scale(ScaleStatistics{}, rule, scale);
}

TEST(ScaleStatistics, SkipsMissingValuesAndUsesTheSampleDeviation) {
    const std::vector<int32_t> v{2, 4, kNoData, 4, 4, 5, 5, 7, 9};
    const ScaleStatistics s = Compute_Scale_Statistics(v);
    EXPECT_EQ(s.Count, 8);
    EXPECT_DOUBLE_EQ(s.Mean, 5.0);
    EXPECT_NEAR(s.StdDev, std::sqrt(32.0 / 7.0), 1e-12); // sum of squared deviations 32 over n - 1
    EXPECT_EQ(s.Max, 9);
    EXPECT_EQ(s.Min, 2);
}

TEST(ScaleStatistics, OneValueGivesZeroMeanAndDeviation) {
    const std::vector<int32_t> v{kNoData, 42};
    const ScaleStatistics s = Compute_Scale_Statistics(v);
    EXPECT_EQ(s.Count, 1);
    EXPECT_EQ(s.Mean, 0);
    EXPECT_EQ(s.StdDev, 0);
    EXPECT_EQ(s.Max, 42);
    EXPECT_EQ(s.Min, 42);
}

TEST(ScaleStatistics, RoundedMeanHalvesGoToEven) {
    ChartScale scale;
    ScaleRule rule;
    const std::vector<int32_t> a{1, 2}, b{2, 3};
    Resolve_Scale(Compute_Scale_Statistics(a), rule, scale);
    EXPECT_EQ(scale.DataMean, 2); // 1.5
    Resolve_Scale(Compute_Scale_Statistics(b), rule, scale);
    EXPECT_EQ(scale.DataMean, 2); // 2.5
    EXPECT_EQ(scale.DataCount, 2);
    EXPECT_EQ(scale.DataStdDev, 1); // sqrt(0.5) = 0.71
}

TEST(ResolveScale, ModesPickUserPairExtremesOrDeviations) {
    const std::vector<int32_t> v{2, 4, 4, 4, 5, 5, 7, 9};
    const ScaleStatistics s = Compute_Scale_Statistics(v);
    const double sd = std::sqrt(32.0 / 7.0);
    ScaleRule rule;
    ChartScale scale;

    rule.ScaleMode = 0;
    rule.UserScale = {-100, 300};
    ColorScaleRange r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(r.Min, -100);
    EXPECT_EQ(r.Max, 300);
    EXPECT_EQ(scale.ScaleMin, -100);
    EXPECT_EQ(scale.ScaleMax, 300);

    rule.ScaleMode = 1;
    r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(r.Min, 2);
    EXPECT_EQ(r.Max, 9);

    for (int mode = 2; mode <= 4; ++mode) {
        rule.ScaleMode = mode;
        r = Resolve_Scale(s, rule, scale);
        const int k = mode - 1;
        EXPECT_NEAR(r.Min, 5 - k * sd, 1e-12) << mode;
        EXPECT_NEAR(r.Max, 5 + k * sd, 1e-12) << mode;
    }
    // Mode 4: 5 -/+ 6.41 -> -1.41 .. 11.41, rounded -1 and 11.
    EXPECT_EQ(scale.ScaleMin, -1);
    EXPECT_EQ(scale.ScaleMax, 11);
}

TEST(ResolveScale, ClampsToTheDataTypeLimits) {
    const std::vector<int32_t> v{2, 4, 4, 4, 5, 5, 7, 9};
    ScaleRule rule;
    rule.ScaleMode = 4;
    rule.LowLimit = 0;
    rule.HighLimit = 10;
    ChartScale scale;
    const ColorScaleRange r = Resolve_Scale(Compute_Scale_Statistics(v), rule, scale);
    EXPECT_EQ(r.Min, 0);
    EXPECT_EQ(r.Max, 10);
    EXPECT_EQ(scale.DataMax, 9);
    EXPECT_EQ(scale.DataMin, 2);
}

TEST(ResolveScale, DirectionAlwaysSpansTheCircle) {
    const std::vector<int32_t> v{10, 20, 30};
    ScaleRule rule;
    rule.Direction = true;
    rule.ScaleMode = 0;
    rule.UserScale = {100, 50};
    rule.LowLimit = 0;
    rule.HighLimit = 360;
    ChartScale scale;
    const ColorScaleRange r = Resolve_Scale(Compute_Scale_Statistics(v), rule, scale);
    EXPECT_TRUE(r.Valid);
    EXPECT_EQ(scale.ScaleMin, 0);
    EXPECT_EQ(scale.ScaleMax, 360);
    EXPECT_EQ(scale.DataMin, 0);
    EXPECT_EQ(scale.DataMax, 360);
    EXPECT_EQ(scale.DataMean, 20);
}

TEST(ResolveScale, EmptyRangePaintsEveryCellBad) {
    // Constant data under the data-extremes mode.
    const std::vector<int32_t> constant{7, 7, 7};
    ScaleRule rule;
    ChartScale scale;
    ColorScaleRange r = Resolve_Scale(Compute_Scale_Statistics(constant), rule, scale);
    EXPECT_FALSE(r.Valid);
    EXPECT_EQ(scale.ScaleMin, 0);
    EXPECT_EQ(scale.ScaleMax, 0);
    EXPECT_EQ(scale.DataMin, 7);
    for (int32_t v : {7, 0, 1000, kNoData}) EXPECT_EQ(Value_To_Color_Index(v, r), BadDataColor) << v;

    // A user pair given the wrong way round.
    r = UserScale(300, -100);
    EXPECT_FALSE(r.Valid);
    EXPECT_EQ(Value_To_Color_Index(0, r), BadDataColor);

    // No valid value at all: the extremes keep their starting values and cross.
    const std::vector<int32_t> none{kNoData, kNoData};
    rule.ScaleMode = 1;
    r = Resolve_Scale(Compute_Scale_Statistics(none), rule, scale);
    EXPECT_FALSE(r.Valid);
    EXPECT_EQ(scale.DataCount, 0);
    EXPECT_EQ(scale.DataMax, -999999);
    EXPECT_EQ(scale.DataMin, 999999);
}

TEST(ValueToColorIndex, ScaleZeroTo99) {
    const ColorScaleRange r = UserScale(0, 99);
    EXPECT_EQ(Value_To_Color_Index(50, r), 50);
    EXPECT_EQ(Value_To_Color_Index(0, r), 0);
    EXPECT_EQ(Value_To_Color_Index(99, r), 99);
    EXPECT_EQ(Value_To_Color_Index(100, r), AboveScaleColor);
    EXPECT_EQ(Value_To_Color_Index(-1, r), BelowScaleColor);
    EXPECT_EQ(Value_To_Color_Index(kNoData, r), BadDataColor);
}

TEST(ValueToColorIndex, HalfwayRoundsToEven) {
    const ColorScaleRange r = UserScale(0, 198);              // every odd value lands on a half
    EXPECT_EQ(Value_To_Color_Index(1, r), 0);                 // 0.5
    EXPECT_EQ(Value_To_Color_Index(3, r), 2);                 // 1.5
    EXPECT_EQ(Value_To_Color_Index(5, r), 2);                 // 2.5
    EXPECT_EQ(Value_To_Color_Index(7, r), 4);                 // 3.5
    EXPECT_EQ(Value_To_Color_Index(199, r), AboveScaleColor); // 99.5 -> 100
    EXPECT_EQ(Value_To_Color_Index(-1, r), 0);                // -0.5 -> -0, still on the scale
}

TEST(ValueToColorIndex, DirectionScale) {
    const ColorScaleRange r = UserScale(0, 360, true);
    EXPECT_EQ(Value_To_Color_Index(0, r), 400);
    EXPECT_EQ(Value_To_Color_Index(360, r), 539);
    EXPECT_EQ(Value_To_Color_Index(180, r), 470); // 469.5
    EXPECT_EQ(Value_To_Color_Index(-1, r), 400);  // 399.61
    EXPECT_EQ(Value_To_Color_Index(-2, r), BelowScaleColor);
    EXPECT_EQ(Value_To_Color_Index(361, r), 539);
    EXPECT_EQ(Value_To_Color_Index(362, r), AboveScaleColor); // 539.77
    EXPECT_EQ(Value_To_Color_Index(kNoData, r), BadDataColor);
}

TEST(ValueToColorIndex, UsesTheUnroundedRange) {
    // Mean 10, deviation 4.3, one deviation each way: 5.7 .. 14.3 (rounded 6 .. 14 would differ).
    ScaleStatistics s;
    s.Count = 10;
    s.Mean = 10;
    s.StdDev = 4.3;
    s.Max = 20;
    s.Min = 0;
    ScaleRule rule;
    rule.ScaleMode = 2;
    ChartScale scale;
    const ColorScaleRange r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(scale.ScaleMin, 6);
    EXPECT_EQ(scale.ScaleMax, 14);
    EXPECT_EQ(Value_To_Color_Index(12, r), 73); // 6.3 * 99 / 8.6 = 72.52; with 6..14 it would be 74
    EXPECT_EQ(Value_To_Color_Index(6, r), 3);   // 0.3 * 99 / 8.6 = 3.45; with 6..14 it would be 0
}

TEST(ValueToColorIndex, BulkConversionMatchesOneByOne) {
    const ColorScaleRange r = UserScale(-50, 150);
    std::vector<int32_t> values{-52, -51, 0, 50, 149, 150, 151, kNoData};
    std::vector<int32_t> expected;
    for (int32_t v : values) expected.push_back(Value_To_Color_Index(v, r));
    Values_To_Color_Indexes(values, r);
    EXPECT_EQ(values, expected);
    EXPECT_EQ(expected[0], BelowScaleColor); // -2 * 99 / 200 = -0.99
    EXPECT_EQ(expected[1], 0);               // -0.495 rounds to 0, still on the scale
    EXPECT_EQ(expected[2], 25);              // 50 * 99 / 200 = 24.75
    EXPECT_EQ(expected.back(), BadDataColor);
}

TEST(ValueToColorIndex, BulkConversionOfRepeatingValuesMatchesOneByOne) {
    // Many cells over few distinct values, as charted arrays are: every value, halves included.
    for (bool direction : {false, true}) {
        const ColorScaleRange r = direction ? UserScale(0, 360, true) : UserScale(-7, 191);
        std::vector<int32_t> values;
        for (int rep = 0; rep < 20; ++rep)
            for (int32_t v = -20; v <= 400; ++v) values.push_back(rep % 3 == 0 && v % 5 == 0 ? kNoData : v);
        std::vector<int32_t> expected;
        for (int32_t v : values) expected.push_back(Value_To_Color_Index(v, r));
        Values_To_Color_Indexes(values, r);
        EXPECT_EQ(values, expected) << (direction ? "direction" : "value");
    }
    std::vector<int32_t> constant(100, 3);
    Values_To_Color_Indexes(constant, UserScale(5, 5));
    EXPECT_EQ(constant, std::vector<int32_t>(100, BadDataColor));
}

} // namespace
} // namespace mvx
