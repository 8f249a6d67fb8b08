#include "charts/AxisSteps.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(EnsembleStep, Boundaries) {
    EXPECT_EQ(Get_Ensemble_Step(0), 1);
    EXPECT_EQ(Get_Ensemble_Step(10), 1);
    EXPECT_EQ(Get_Ensemble_Step(10.5), 2);
    EXPECT_EQ(Get_Ensemble_Step(19.99), 2);
    EXPECT_EQ(Get_Ensemble_Step(20), 5); // 20 itself is no longer below 20
    EXPECT_EQ(Get_Ensemble_Step(50), 5);
    EXPECT_EQ(Get_Ensemble_Step(51), 10);
    EXPECT_EQ(Get_Ensemble_Step(100), 10);
    EXPECT_EQ(Get_Ensemble_Step(100.5), 20);
    EXPECT_EQ(Get_Ensemble_Step(5000), 500);
    EXPECT_EQ(Get_Ensemble_Step(5001), 1000);
    EXPECT_EQ(Get_Ensemble_Step(50000000), 5000000);
    EXPECT_EQ(Get_Ensemble_Step(50000001), 10000000);
}

TEST(RangeStep, SubMetreStepsAreFractional) {
    bool fractional = false;
    EXPECT_EQ(Get_Range_Step(0.5, fractional), 0.2);
    EXPECT_TRUE(fractional);
    fractional = false;
    EXPECT_EQ(Get_Range_Step(0.51, fractional), 0.5);
    EXPECT_TRUE(fractional);
    fractional = false;
    EXPECT_EQ(Get_Range_Step(1, fractional), 0.5);
    EXPECT_TRUE(fractional);
}

TEST(RangeStep, WholeMetreStepsLeaveTheFlagAlone) {
    bool fractional = false;
    EXPECT_EQ(Get_Range_Step(1.01, fractional), 1);
    EXPECT_EQ(Get_Range_Step(2, fractional), 1);
    EXPECT_EQ(Get_Range_Step(2.5, fractional), 2);
    EXPECT_EQ(Get_Range_Step(10, fractional), 5);
    EXPECT_EQ(Get_Range_Step(5000, fractional), 2000);
    EXPECT_EQ(Get_Range_Step(6000, fractional), 1);
    EXPECT_FALSE(fractional);
    fractional = true;
    EXPECT_EQ(Get_Range_Step(3, fractional), 2);
    EXPECT_TRUE(fractional);
}

struct TimeStep {
    double Unit;
    std::string Text;
    int32_t Count, Step;
};

TimeStep TimeStepOf(double span) {
    int32_t count = -1, step = -1;
    std::string text;
    Get_Time_Step(span, text, count, step);
    return {span, text, count, step};
}

TEST(TimeStep, SecondsUpToTwoMinutes) {
    TimeStep t = TimeStepOf(120);
    EXPECT_EQ(t.Text, " sec");
    EXPECT_EQ(t.Unit, 1);
    EXPECT_EQ(t.Count, 120);
    EXPECT_EQ(t.Step, 15);
    EXPECT_EQ(TimeStepOf(60).Step, 10);
    EXPECT_EQ(TimeStepOf(5).Step, 1);
    EXPECT_EQ(TimeStepOf(6).Step, 2);
    // The span is rounded halves to even before counting: 30.5 s is 30 s, 31 s is not.
    EXPECT_EQ(TimeStepOf(30.5).Step, 5);
    EXPECT_EQ(TimeStepOf(31).Step, 10);
    EXPECT_EQ(TimeStepOf(0).Count, 0);
}

TEST(TimeStep, MinutesUpToThreeHours) {
    TimeStep t = TimeStepOf(121);
    EXPECT_EQ(t.Text, " min");
    EXPECT_EQ(t.Unit, 60);
    EXPECT_EQ(t.Count, 2);
    EXPECT_EQ(t.Step, 1);
    EXPECT_EQ(TimeStepOf(3600).Step, 10);
    EXPECT_EQ(TimeStepOf(3660).Step, 30);
    EXPECT_EQ(TimeStepOf(10799).Step, 30); // 179 whole minutes
    t = TimeStepOf(10800);
    EXPECT_EQ(t.Text, " min");
    EXPECT_EQ(t.Count, 180);
    EXPECT_EQ(t.Step, 60);
}

TEST(TimeStep, HoursUpToTwoWeeksThenDays) {
    TimeStep t = TimeStepOf(10801);
    EXPECT_EQ(t.Text, " hr");
    EXPECT_EQ(t.Unit, 3600);
    EXPECT_EQ(t.Count, 3);
    EXPECT_EQ(t.Step, 1);
    t = TimeStepOf(1209600);
    EXPECT_EQ(t.Text, " hr");
    EXPECT_EQ(t.Count, 336);
    EXPECT_EQ(t.Step, 48);
    EXPECT_EQ(TimeStepOf(86400 * 2).Step, 6); // 48 hours
    EXPECT_EQ(TimeStepOf(86400 * 4).Step, 12);
    t = TimeStepOf(1209601);
    EXPECT_EQ(t.Text, " dy");
    EXPECT_EQ(t.Unit, 86400);
    EXPECT_EQ(t.Count, 14);
    EXPECT_EQ(t.Step, 5);
    EXPECT_EQ(TimeStepOf(86400.0 * 365).Step, 80);
}

} // namespace
} // namespace mvx
