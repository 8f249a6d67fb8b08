// The statistics line, the date-time and position texts and the sub-set window's caption.
#include "charts/ContourTexts.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(ContourTexts, CaptionSaysDayForOneWholeDayAndDaysFromTwo) {
    const std::pair<double, const char*> cases[] = {
        {5 * 3600 + 7 * 60 + 9.25, "05:07:09.25"},
        {86399.99, "23:59:59.99"},
        {86400, "1 day 00:00:00.00"},
        {2 * 86400 - 0.01, "1 day 23:59:59.99"},
        {2 * 86400, "2 days 00:00:00.00"},
        {59.996, "00:01:00.00"}, // whole hundredths first: never "60.00" seconds
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(Sub_Set_Caption(seconds), std::string("Sub Set --- Deployment Duration: ") + text)
            << seconds;
}

TEST(ContourTexts, DateTimePositionAndStatistics) {
    const uint8_t t[7] = {17, 5, 24, 11, 50, 13, 40};
    EXPECT_EQ(Ensemble_Date_Time_Text(t), "17/05/24, 11:50:13.40");
    const uint8_t noYear[7] = {80, 12, 1, 0, 0, 5, 7};
    EXPECT_EQ(Ensemble_Date_Time_Text(noYear), "12/01, 00:00:05.07");
    // 2^30 is 90 degrees; 48.0805 degrees is 48.0805 / 180 * 2^31.
    EXPECT_EQ(Position_Text(1 << 30, -(1 << 29)), "90.0000\xB0, -45.0000\xB0");
    EXPECT_EQ(Position_Text(573622709, -1467972100), "48.0805\xB0, -123.0440\xB0");
    ChartScale scale;
    scale.DataMean = -12;
    scale.DataStdDev = 345;
    EXPECT_EQ(Contour_Statistics_Line(scale, false), "Avg = -12 \xB1"
                                                     "345");
    EXPECT_EQ(Contour_Statistics_Line(scale, true), "");
}

} // namespace
} // namespace mvx
