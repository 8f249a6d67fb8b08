#include "charts/ContourTexts.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"

namespace mvx {

namespace {

constexpr char kPlusMinus[] = "\xB1";
constexpr char kDegree[] = "\xB0";

std::string Two(int v) {
    return FormatNumber(v, "00");
}

} // namespace

std::string Contour_Statistics_Line(const ChartScale& scale, bool direction) {
    if (direction) return "";
    return "Avg = " + FormatNumber(scale.DataMean, "0") + " " + kPlusMinus +
           FormatNumber(scale.DataStdDev, "0");
}

std::string Ensemble_Date_Time_Text(const uint8_t time[7]) {
    std::string date = Two(time[1]) + "/" + Two(time[2]);
    if (time[0] != 80) date = Two(time[0]) + "/" + date;
    return date + ", " + Two(time[3]) + ":" + Two(time[4]) + ":" + Two(time[5]) + "." + Two(time[6]);
}

std::string Position_Text(int32_t latitude, int32_t longitude) {
    constexpr double kDegreesPerUnit = 180.0 / 2147483648.0;
    return FormatNumber(latitude * kDegreesPerUnit, "0.0000") + kDegree + ", " +
           FormatNumber(longitude * kDegreesPerUnit, "0.0000") + kDegree;
}

std::string Deployment_Duration_Text(double seconds) {
    // Whole hundredths first, so that 59.999 s never reads as "60.00".
    const int64_t hundredths = RoundToInt64(seconds * 100, 0, INT64_MAX / 4);
    const int64_t days = hundredths / 8640000;
    const int64_t inDay = hundredths % 8640000;
    const int64_t hours = inDay / 360000;
    const int64_t minutes = inDay / 6000 % 60;
    const double rest = static_cast<double>(inDay % 6000) / 100.0;
    std::string text;
    if (days >= 2)
        text = FormatNumber(static_cast<double>(days), "0") + " days ";
    else if (days == 1)
        text = "1 day ";
    return text + FormatNumber(static_cast<double>(hours), "00") + ":" +
           FormatNumber(static_cast<double>(minutes), "00") + ":" + FormatNumber(rest, "00.00");
}

std::string Sub_Set_Caption(double setDuration) {
    return "Sub Set --- Deployment Duration: " + Deployment_Duration_Text(setDuration);
}

} // namespace mvx
