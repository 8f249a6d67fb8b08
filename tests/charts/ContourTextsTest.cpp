// The statistics line, the date-time and position texts and the sub-set window's caption.
#include "charts/ContourTexts.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(ContourTexts, CaptionBelowOneDayShowsOnlyTheClock) {
    EXPECT_EQ(Sub_Set_Caption(5 * 3600 + 7 * 60 + 9.25), "Sub Set --- Deployment Duration: 05:07:09.25");
    EXPECT_EQ(Sub_Set_Caption(0), "Sub Set --- Deployment Duration: 00:00:00.00");
    EXPECT_EQ(Sub_Set_Caption(86399.99), "Sub Set --- Deployment Duration: 23:59:59.99");
}

TEST(ContourTexts, CaptionOfOneWholeDaySaysDay) {
    EXPECT_EQ(Sub_Set_Caption(86400), "Sub Set --- Deployment Duration: 1 day 00:00:00.00");
    EXPECT_EQ(Sub_Set_Caption(86400 + 3723.45), "Sub Set --- Deployment Duration: 1 day 01:02:03.45");
    EXPECT_EQ(Sub_Set_Caption(2 * 86400 - 0.01), "Sub Set --- Deployment Duration: 1 day 23:59:59.99");
}

TEST(ContourTexts, CaptionOfTwoDaysOrMoreSaysDays) {
    EXPECT_EQ(Sub_Set_Caption(2 * 86400), "Sub Set --- Deployment Duration: 2 days 00:00:00.00");
    EXPECT_EQ(Sub_Set_Caption(12 * 86400 + 36000 + 60.5),
              "Sub Set --- Deployment Duration: 12 days 10:01:00.50");
}

TEST(ContourTexts, SecondsNeverReadSixty) {
    // 59.996 s rounds to the next minute rather than to "60.00".
    EXPECT_EQ(Deployment_Duration_Text(59.996), "00:01:00.00");
    EXPECT_EQ(Deployment_Duration_Text(86399.996), "1 day 00:00:00.00");
}

TEST(ContourTexts, DateTimeDropsTheYearEighty) {
    const uint8_t t[7] = {17, 5, 24, 11, 50, 13, 40};
    EXPECT_EQ(Ensemble_Date_Time_Text(t), "17/05/24, 11:50:13.40");
    const uint8_t noYear[7] = {80, 12, 1, 0, 0, 5, 7};
    EXPECT_EQ(Ensemble_Date_Time_Text(noYear), "12/01, 00:00:05.07");
    const uint8_t y2000[7] = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Ensemble_Date_Time_Text(y2000), "00/01/02, 03:04:05.06");
}

TEST(ContourTexts, PositionsFromBinaryAnglesWithDegreeSigns) {
    // A quarter of the full scale is 45 degrees; 2^30 is 90 degrees.
    EXPECT_EQ(Position_Text(1 << 30, -(1 << 29)), "90.0000\xB0, -45.0000\xB0");
    EXPECT_EQ(Position_Text(0, 0), "0.0000\xB0, 0.0000\xB0");
    // 48.0805 degrees north: 48.0805 / 180 * 2^31.
    EXPECT_EQ(Position_Text(573622709, -1467972100), "48.0805\xB0, -123.0440\xB0");
}

TEST(ContourTexts, StatisticsLineWithPlusMinusSignButNotForDirections) {
    ChartScale scale;
    scale.DataMean = -12;
    scale.DataStdDev = 345;
    EXPECT_EQ(Contour_Statistics_Line(scale, false), "Avg = -12 \xB1"
                                                     "345");
    EXPECT_EQ(Contour_Statistics_Line(scale, true), "");
}

} // namespace
} // namespace mvx
