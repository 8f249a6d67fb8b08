#include "charts/AxisSteps.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(AxisSteps, EnsembleStepBoundaries) {
    const double cases[][2] = {{10, 1}, {10.5, 2}, {20, 5}, {50, 5}, {51, 10}, {5001, 1000}};
    for (const auto& c : cases) EXPECT_EQ(Get_Ensemble_Step(c[0]), c[1]) << c[0];
}

TEST(AxisSteps, RangeStepBoundariesAndFractionalFlag) {
    const struct {
        double Span, Step;
        bool Fractional;
    } cases[] = {{0.5, 0.2, true}, {0.51, 0.5, true}, {2, 1, false}, {2.5, 2, false}, {6000, 1, false}};
    for (const auto& c : cases) {
        bool fractional = false;
        EXPECT_EQ(Get_Range_Step(c.Span, fractional), c.Step) << c.Span;
        EXPECT_EQ(fractional, c.Fractional) << c.Span;
    }
    bool fractional = true; // whole-metre steps leave the caller's flag alone
    Get_Range_Step(3, fractional);
    EXPECT_TRUE(fractional);
}

TEST(AxisSteps, TimeStepUnitsCountsAndSteps) {
    const struct {
        double Span;
        const char* Text;
        double Unit;
        int32_t Count, Step;
    } cases[] = {{30.5, " sec", 1, 30, 5}, // 30.5 s rounds to 30
                 {120, " sec", 1, 120, 15},      {121, " min", 60, 2, 1},
                 {10799, " min", 60, 179, 30},   {10800, " min", 60, 180, 60},
                 {10801, " hr", 3600, 3, 1},     {1209600, " hr", 3600, 336, 48},
                 {1209601, " dy", 86400, 14, 5}, {86400.0 * 365, " dy", 86400, 365, 80}};
    for (const auto& c : cases) {
        double span = c.Span;
        std::string text;
        int32_t count = -1, step = -1;
        Get_Time_Step(span, text, count, step);
        EXPECT_EQ(text, c.Text) << c.Span;
        EXPECT_EQ(span, c.Unit) << c.Span;
        EXPECT_EQ(count, c.Count) << c.Span;
        EXPECT_EQ(step, c.Step) << c.Span;
    }
}

} // namespace
} // namespace mvx
