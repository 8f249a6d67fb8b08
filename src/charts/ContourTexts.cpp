#include "charts/ContourTexts.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

namespace mvx {

namespace {

constexpr char kPlusMinus[] = "\xB1";
constexpr char kDegree[] = "\xB0";

} // namespace

std::string Contour_Statistics_Line(const ChartScale& scale, bool direction) {
    if (direction) return "";
    return "Avg = " + FormatNumber(scale.DataMean, "0") + " " + kPlusMinus +
           FormatNumber(scale.DataStdDev, "0");
}

std::string Ensemble_Date_Time_Text(const uint8_t time[7]) {
    return Ensemble_Date_Text(time) + ", " + Ensemble_Time_Text(time);
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
    std::string text;
    if (days >= 2)
        text = FormatNumber(static_cast<double>(days), "0") + " days ";
    else if (days == 1)
        text = "1 day ";
    return text + Duration_Clock_Text(inDay);
}

std::string Sub_Set_Caption(double setDuration) {
    return "Sub Set --- Deployment Duration: " + Deployment_Duration_Text(setDuration);
}

} // namespace mvx
