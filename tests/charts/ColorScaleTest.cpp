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
    ChartScale scale;
    return Resolve_Scale(ScaleStatistics{}, rule, scale);
}

TEST(ScaleStatistics, ValidValuesOnlySampleDeviationAndRounding) {
    const std::vector<int32_t> v{2, 4, kNoData, 4, 4, 5, 5, 7, 9};
    const ScaleStatistics s = Compute_Scale_Statistics(v);
    EXPECT_EQ(s.Count, 8);
    EXPECT_DOUBLE_EQ(s.Mean, 5.0);
    EXPECT_NEAR(s.StdDev, std::sqrt(32.0 / 7.0), 1e-12); // squared deviations 32 over n - 1
    EXPECT_EQ(s.Min, 2);
    EXPECT_EQ(Compute_Scale_Statistics(std::vector<int32_t>{kNoData, 42}).StdDev, 0); // one value

    ChartScale scale;
    Resolve_Scale(Compute_Scale_Statistics(std::vector<int32_t>{1, 2}), ScaleRule{}, scale);
    EXPECT_EQ(scale.DataMean, 2); // 1.5 to even
    Resolve_Scale(Compute_Scale_Statistics(std::vector<int32_t>{2, 3}), ScaleRule{}, scale);
    EXPECT_EQ(scale.DataMean, 2); // 2.5 to even
    EXPECT_EQ(scale.DataStdDev, 1);
}

TEST(ResolveScale, ModesAndClamping) {
    const ScaleStatistics s = Compute_Scale_Statistics(std::vector<int32_t>{2, 4, 4, 4, 5, 5, 7, 9});
    const double sd = std::sqrt(32.0 / 7.0);
    ScaleRule rule;
    ChartScale scale;
    rule.ScaleMode = 0;
    rule.UserScale = {-100, 300};
    ColorScaleRange r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(r.Min, -100);
    EXPECT_EQ(r.Max, 300);
    rule.ScaleMode = 1;
    r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(r.Min, 2);
    for (int mode = 2; mode <= 4; ++mode) {
        rule.ScaleMode = mode;
        r = Resolve_Scale(s, rule, scale);
        EXPECT_NEAR(r.Min, 5 - (mode - 1) * sd, 1e-12) << mode;
        EXPECT_NEAR(r.Max, 5 + (mode - 1) * sd, 1e-12) << mode;
    }
    EXPECT_EQ(scale.ScaleMin, -1); // 5 - 6.41
    EXPECT_EQ(scale.ScaleMax, 11); // 5 + 6.41
    rule.LowLimit = 0;
    rule.HighLimit = 10;
    r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(r.Min, 0);
    EXPECT_EQ(r.Max, 10);
    EXPECT_EQ(scale.DataMax, 9);
}

TEST(ResolveScale, EmptyRangePaintsEveryCellBad) {
    ChartScale scale;
    ColorScaleRange r =
        Resolve_Scale(Compute_Scale_Statistics(std::vector<int32_t>{7, 7, 7}), ScaleRule{}, scale);
    EXPECT_FALSE(r.Valid); // constant data
    EXPECT_EQ(scale.ScaleMin, 0);
    EXPECT_EQ(scale.ScaleMax, 0);
    EXPECT_EQ(scale.DataMin, 7);
    for (int32_t v : {7, 0, 1000, kNoData}) EXPECT_EQ(Value_To_Color_Index(v, r), BadDataColor) << v;
    EXPECT_FALSE(UserScale(300, -100).Valid); // a pair the wrong way round
    r = Resolve_Scale(Compute_Scale_Statistics(std::vector<int32_t>{kNoData}), ScaleRule{}, scale);
    EXPECT_FALSE(r.Valid); // nothing valid: the starting extremes cross
}

TEST(ValueToColorIndex, WorkedCases) {
    const ColorScaleRange r99 = UserScale(0, 99);
    const ColorScaleRange r198 = UserScale(0, 198); // odd values land on halves
    const ColorScaleRange dir = UserScale(0, 360, true);
    const struct {
        const ColorScaleRange* Range;
        int32_t Value, Index;
    } cases[] = {{&r99, 0, 0},
                 {&r99, 99, 99},
                 {&r99, 100, AboveScaleColor},
                 {&r99, -1, BelowScaleColor},
                 {&r99, kNoData, BadDataColor},
                 {&r198, 1, 0}, // halves to even: 0.5, 1.5, 2.5
                 {&r198, 3, 2},
                 {&r198, 5, 2},
                 {&r198, -1, 0},                // -0.5 rounds to 0: still on the scale
                 {&r198, 199, AboveScaleColor}, // 99.5 rounds to 100
                 {&dir, 0, 400},
                 {&dir, 360, 539},
                 {&dir, -1, 400},
                 {&dir, -2, BelowScaleColor},   // 399.61, 399.23
                 {&dir, 362, AboveScaleColor}}; // 539.77
    for (const auto& c : cases) EXPECT_EQ(Value_To_Color_Index(c.Value, *c.Range), c.Index) << c.Value;
}

TEST(ValueToColorIndex, UsesTheUnroundedRange) {
    // Mean 10, deviation 4.3, one deviation each way: 5.7 .. 14.3 (rounded 6 .. 14 would differ).
    ScaleStatistics s;
    s.Count = 10;
    s.Mean = 10;
    s.StdDev = 4.3;
    ScaleRule rule;
    rule.ScaleMode = 2;
    ChartScale scale;
    const ColorScaleRange r = Resolve_Scale(s, rule, scale);
    EXPECT_EQ(scale.ScaleMin, 6);
    EXPECT_EQ(scale.ScaleMax, 14);
    EXPECT_EQ(Value_To_Color_Index(12, r), 73); // 6.3 * 99 / 8.6 = 72.52; 6..14 would give 74
    EXPECT_EQ(Value_To_Color_Index(6, r), 3);   // 0.3 * 99 / 8.6 = 3.45; 6..14 would give 0
}

TEST(ValueToColorIndex, BulkConversionMatchesOneByOne) {
    // Many cells over few distinct values, as charted arrays are.
    for (bool direction : {false, true}) {
        const ColorScaleRange r = direction ? UserScale(0, 360, true) : UserScale(-7, 191);
        std::vector<int32_t> values, expected;
        for (int rep = 0; rep < 20; ++rep)
            for (int32_t v = -20; v <= 400; ++v) values.push_back(rep % 3 == 0 && v % 5 == 0 ? kNoData : v);
        for (int32_t v : values) expected.push_back(Value_To_Color_Index(v, r));
        Values_To_Color_Indexes(values, r);
        EXPECT_EQ(values, expected) << (direction ? "direction" : "value");
    }
}

} // namespace
} // namespace mvx
